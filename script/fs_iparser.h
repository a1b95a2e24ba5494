#pragma once
// The tokenizer of the script front end. The grammar decides which token is
// read where; this class only knows how to read each kind of token under the
// language's settings (comments, quotes, hex prefix, identifier characters).

#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

// Reads tokens from a source text. Positions are 1-based character indexes.
class TfsParser {
public:
    TfsParser();

    // Settings, applied by the front end from the grammar's "parser" element.
    QString CommentLine1, CommentLine2;
    QString CommentBlock1Open, CommentBlock1Close, CommentBlock2Open, CommentBlock2Close;
    QChar StringQuotes = QLatin1Char('\'');
    QString HexSequence = QStringLiteral("$");
    QChar SkipChar;           // line continuation; null when none
    bool SkipEOL = true;      // line ends are white space
    bool SkipSpace = true;    // "char" tokens skip white space first
    bool SpecStrChar = false; // backslash escapes in strings
    bool CaseSensitive = false;

    // Restores the default settings and keyword list.
    void Reset();
    // Replaces the identifier character set; an empty set restores the default.
    void ConstructCharset(const QString &chars);
    // Adds the characters 128..255 to the identifier set.
    void SetExtendedCharset(bool on);
    void SetKeywords(const QStringList &keywords);
    bool IsKeyWord(const QString &word) const;

    void SetText(const QString &text);
    const QString &Text() const { return FText; }
    int Position() const { return int(FPos) + 1; }
    void SetPosition(int position) { FPos = position - 1; }
    // Where the last token began (after white space).
    int LastPosition() const { return int(FLastPos) + 1; }
    bool AtEnd() const { return FPos >= FText.size(); }

    // Skips white space and comments.
    void SkipSpaces();
    // An identifier that is not a keyword; empty (position unchanged) otherwise.
    QString GetIdent();
    // Any word of identifier characters, keywords included.
    QString GetWord();
    // One punctuation character; `skipSpaces` false reads it right at the position.
    QString GetChar(bool skipSpaces = true);
    // A number; a hex prefix is rewritten to "$".
    QString GetNumber();
    // A string literal (quoted parts and #codes), returned in single quotes.
    QString GetString();
    // The raw text up to the '>' that closes an already read '<'.
    QString GetFRString();
    // One or more line ends (the end of the text counts as one).
    QString GetEOL();

    // The first fault found while reading tokens that no grammar rule can
    // get round (a block comment that is never closed, a hexadecimal number
    // beyond 64 bits); empty when there is none. Cleared by SetText.
    const QString &LexError() const { return FLexError; }
    int LexErrorPosition() const { return FLexErrorPos; }

    // "line:column" of a position (default: the current one).
    QString GetXYPosition(int position = -1) const;
    // The position of a "line:column" text; 0 when it does not parse.
    int GetPlainPosition(const QString &xy) const;

private:
    QString FText;
    qsizetype FPos = 0;
    qsizetype FLastPos = 0;
    std::vector<qsizetype> FLineStarts;
    bool FIdentChars[128];
    bool FExtended = false;
    QSet<QString> FKeywords;
    QString FLexError;
    int FLexErrorPos = 0;

    bool IsIdentChar(QChar c) const;
    bool IsIdentStart(QChar c) const;
    bool StartsWith(const QString &s) const;
    bool SkipComment();
    void SkipToLineEnd();
    void NoteLexError(const QString &message, qsizetype pos);
    bool ReadQuoted(QString &out);
    bool ReadCharCode(QString &out);
};
