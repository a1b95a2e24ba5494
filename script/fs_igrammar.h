#pragma once
// Language grammars: the registry of grammar texts by language name and the
// compiled form of a grammar document that the front end matches against.

#include "script/fs_xml.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// Kinds of grammar elements.
enum class TfsGrammarKind {
    Char, Keyword, Ident, Number, String, FRString, EOL,
    Sequence, Switch, OptionalSwitch, Loop, OptionalLoop, Optional, Rule
};

// One element of a rule (or a rule definition, kind Sequence).
struct TfsGrammarElement {
    TfsGrammarKind Kind = TfsGrammarKind::Sequence;
    QString Text;     // char/keyword text, loop separator
    QString Node;     // IL element wrapping the output
    QString Add;      // IL leaf emitted after a match
    QString AddText;  // text of that leaf instead of the token
    QString Err;      // error message recorded on failure (resolved)
    bool HasText = false;
    bool Term = false;
    bool NoSkip = false;    // skip="0" on a char
    bool SkipError = false; // skip="1" on a loop
    bool IsUses = false;    // Node is "uses"
    std::vector<const TfsGrammarElement *> Children;
    const TfsGrammarElement *Rule = nullptr; // definition of a rule reference
    QString Name;     // rule name (definitions and references)
};

// A grammar document compiled for matching.
class TfsGrammar {
public:
    // Compiles a grammar text; raises "Invalid language definition" when the
    // text is not a grammar (bad XML, no "program" rule, a reference to a
    // missing rule, an unknown error name).
    explicit TfsGrammar(const QString &text);

    QString Name;
    // Tokenizer settings.
    QString CommentLine1, CommentLine2, CommentBlock1, CommentBlock2;
    QString StringQuotes = QStringLiteral("'"), HexSequence = QStringLiteral("$"), IdentChars, SkipChar;
    bool SpecStrChar = false, DeclareVars = false, SkipEOL = true, CaseSensitive = false;
    QStringList Keywords;
    QHash<QString, QString> Errors;   // "err1" -> text
    const TfsGrammarElement *Program = nullptr;
    // The "types" element (copied into every IL document); may be null.
    std::unique_ptr<TfsXMLItem> Types;

private:
    std::vector<std::unique_ptr<TfsGrammarElement>> FElements;
    QHash<QString, TfsGrammarElement *> FRules;

    TfsGrammarElement *Compile(const TfsXMLItem &item, bool definition);
};

// Adds or replaces the grammar text of a language.
void fsRegisterLanguage(const QString &name, const QString &grammar);
// The same with a text read by Grammar when the language is first used
// (a built-in language's resource: most runs use one language of four).
void fsRegisterLanguage(const QString &name, std::function<QString()> grammar);
// The grammar text of a language; raises "Language '%s' not found".
QString fsGetLanguage(const QString &name);
// The names of the registered languages, except those beginning with "@".
QStringList fsGetLanguageList();
// The compiled grammar of a language (compiled once per registered text).
std::shared_ptr<const TfsGrammar> fsGetGrammar(const QString &name);
// Registers the built-in languages; called by the registry on first use.
void fsRegisterBuiltinLanguages();
