// Token readers of the script front end.

#include "script/fs_iparser.h"

#include <algorithm>

TfsParser::TfsParser()
{
    Reset();
}

void TfsParser::Reset()
{
    CommentLine1.clear();
    CommentLine2.clear();
    CommentBlock1Open.clear();
    CommentBlock1Close.clear();
    CommentBlock2Open.clear();
    CommentBlock2Close.clear();
    StringQuotes = QLatin1Char('\'');
    HexSequence = QStringLiteral("$");
    SkipChar = QChar();
    SkipEOL = true;
    SkipSpace = true;
    SpecStrChar = false;
    CaseSensitive = false;
    FKeywords.clear();
    ConstructCharset(QString());
}

void TfsParser::ConstructCharset(const QString &chars)
{
    for (int i = 0; i < 128; ++i)
        FIdentChars[i] = false;
    if (chars.isEmpty()) {
        for (int c = 'A'; c <= 'Z'; ++c)
            FIdentChars[c] = FIdentChars[c + 32] = true;
        for (int c = '0'; c <= '9'; ++c)
            FIdentChars[c] = true;
        FIdentChars[int('_')] = true;
        return;
    }
    for (QChar c : chars)
        if (c.unicode() < 128)
            FIdentChars[c.unicode()] = true;
}

void TfsParser::SetExtendedCharset(bool on)
{
    FExtended = on;
}

void TfsParser::SetKeywords(const QStringList &keywords)
{
    FKeywords.clear();
    for (const QString &k : keywords)
        FKeywords.insert(CaseSensitive ? k : k.toUpper());
}

bool TfsParser::IsKeyWord(const QString &word) const
{
    return FKeywords.contains(CaseSensitive ? word : word.toUpper());
}

bool TfsParser::IsIdentChar(QChar c) const
{
    const char16_t u = c.unicode();
    // Characters from 127 up always belong to identifiers (national letters).
    return u >= 127 ? true : FIdentChars[u];
}

bool TfsParser::IsIdentStart(QChar c) const
{
    const char16_t u = c.unicode();
    if (u >= 127)
        return true;
    return FIdentChars[u] && !(u >= '0' && u <= '9');
}

void TfsParser::SetText(const QString &text)
{
    FLexError.clear();
    FLexErrorPos = 0;
    FText = text;
    FPos = FLastPos = 0;
    FLineStarts.clear();
    FLineStarts.push_back(0);
    for (qsizetype i = 0; i < FText.size(); ++i) {
        const QChar c = FText[i];
        if (c == QLatin1Char('\n'))
            FLineStarts.push_back(i + 1);
        else if (c == QLatin1Char('\r') && (i + 1 >= FText.size() || FText[i + 1] != QLatin1Char('\n')))
            FLineStarts.push_back(i + 1);
    }
}

bool TfsParser::StartsWith(const QString &s) const
{
    if (s.isEmpty() || FPos + s.size() > FText.size())
        return false;
    if (QStringView(FText).mid(FPos, s.size()).compare(s, Qt::CaseInsensitive) != 0)
        return false;
    // A word-like comment starter ("rem") must not be the start of a longer word.
    if (IsIdentChar(s.back()) && FPos + s.size() < FText.size() && IsIdentChar(FText[FPos + s.size()]))
        return false;
    return true;
}

void TfsParser::SkipToLineEnd()
{
    while (FPos < FText.size() && FText[FPos] != QLatin1Char('\r') && FText[FPos] != QLatin1Char('\n'))
        ++FPos;
}

bool TfsParser::SkipComment()
{
    if (!SkipChar.isNull() && FPos < FText.size() && FText[FPos] == SkipChar) {
        // Line continuation: the rest of the line and its line end are skipped.
        qsizetype p = FPos + 1;
        while (p < FText.size() && (FText[p] == QLatin1Char(' ') || FText[p] == QLatin1Char('\t')))
            ++p;
        if (p >= FText.size() || FText[p] == QLatin1Char('\r') || FText[p] == QLatin1Char('\n')) {
            FPos = p;
            if (FPos < FText.size() && FText[FPos] == QLatin1Char('\r'))
                ++FPos;
            if (FPos < FText.size() && FText[FPos] == QLatin1Char('\n'))
                ++FPos;
            return true;
        }
    }
    if (StartsWith(CommentLine1) || StartsWith(CommentLine2)) {
        SkipToLineEnd();
        return true;
    }
    const QString *blocks[2][2] = {{&CommentBlock1Open, &CommentBlock1Close},
                                   {&CommentBlock2Open, &CommentBlock2Close}};
    for (auto &b : blocks) {
        if (StartsWith(*b[0])) {
            const qsizetype end = FText.indexOf(*b[1], FPos + b[0]->size());
            if (end < 0)
                NoteLexError(QStringLiteral("Unterminated comment: \"%1\" is never closed by \"%2\"").arg(*b[0], *b[1]),
                             FPos);
            FPos = end < 0 ? FText.size() : end + b[1]->size();
            return true;
        }
    }
    return false;
}

// The earliest fault wins: backtracking may read the same text again.
void TfsParser::NoteLexError(const QString &message, qsizetype pos)
{
    const int position = int(pos) + 1;
    if (!FLexError.isEmpty() && FLexErrorPos <= position)
        return;
    FLexError = message;
    FLexErrorPos = position;
}

void TfsParser::SkipSpaces()
{
    for (;;) {
        while (FPos < FText.size()) {
            const char16_t c = FText[FPos].unicode();
            if (c > 32 || (!SkipEOL && (c == '\r' || c == '\n')))
                break;
            ++FPos;
        }
        if (FPos >= FText.size() || !SkipComment())
            return;
    }
}

QString TfsParser::GetWord()
{
    SkipSpaces();
    FLastPos = FPos;
    if (FPos >= FText.size() || !IsIdentStart(FText[FPos]))
        return QString();
    const qsizetype start = FPos;
    while (FPos < FText.size() && IsIdentChar(FText[FPos]))
        ++FPos;
    return FText.mid(start, FPos - start);
}

QString TfsParser::GetIdent()
{
    const qsizetype save = FPos;
    QString word = GetWord();
    if (word.isEmpty() || IsKeyWord(word)) {
        FPos = save;
        return QString();
    }
    return word;
}

QString TfsParser::GetChar(bool skipSpaces)
{
    if (skipSpaces)
        SkipSpaces();
    FLastPos = FPos;
    if (FPos >= FText.size())
        return QString();
    const QChar c = FText[FPos];
    const char16_t u = c.unicode();
    if (u <= 32 || u >= 127 || c.isLetterOrNumber())
        return QString();
    ++FPos;
    return QString(c);
}

QString TfsParser::GetNumber()
{
    SkipSpaces();
    FLastPos = FPos;
    auto isDigit = [&](qsizetype p) { return p < FText.size() && FText[p] >= QLatin1Char('0') && FText[p] <= QLatin1Char('9'); };
    auto isHex = [&](qsizetype p) { return p < FText.size() && isxdigit(FText[p].unicode() < 128 ? FText[p].unicode() : 0); };
    if (!HexSequence.isEmpty() && FPos + HexSequence.size() <= FText.size() &&
        QStringView(FText).mid(FPos, HexSequence.size()).compare(HexSequence, Qt::CaseInsensitive) == 0 &&
        isHex(FPos + HexSequence.size())) {
        qsizetype p = FPos + HexSequence.size();
        const qsizetype start = p;
        while (isHex(p))
            ++p;
        qsizetype significant = start;
        while (significant < p - 1 && FText[significant] == QLatin1Char('0'))
            ++significant;
        if (p - significant > 16)
            NoteLexError(QStringLiteral("Hexadecimal number too large: %1").arg(FText.mid(FPos, p - FPos)), FPos);
        FPos = p;
        return QLatin1Char('$') + FText.mid(start, p - start);
    }
    if (!isDigit(FPos))
        return QString();
    const qsizetype start = FPos;
    qsizetype p = FPos;
    while (isDigit(p))
        ++p;
    if (p < FText.size() && FText[p] == QLatin1Char('.') && isDigit(p + 1)) {
        ++p;
        while (isDigit(p))
            ++p;
    }
    if (p < FText.size() && (FText[p] == QLatin1Char('e') || FText[p] == QLatin1Char('E'))) {
        qsizetype q = p + 1;
        if (q < FText.size() && (FText[q] == QLatin1Char('+') || FText[q] == QLatin1Char('-')))
            ++q;
        if (isDigit(q)) {
            while (isDigit(q))
                ++q;
            p = q;
        }
    }
    FPos = p;
    return FText.mid(start, p - start);
}

bool TfsParser::ReadQuoted(QString &out)
{
    // FPos is at the opening quote.
    qsizetype p = FPos + 1;
    for (;;) {
        if (p >= FText.size())
            return false;
        const QChar c = FText[p];
        if (c == StringQuotes) {
            if (!SpecStrChar && p + 1 < FText.size() && FText[p + 1] == StringQuotes) {
                out += c;
                p += 2;
                continue;
            }
            FPos = p + 1;
            return true;
        }
        if (c.unicode() < 32 && c != QLatin1Char('\t'))
            return false; // strings do not span lines
        if (SpecStrChar && c == QLatin1Char('\\')) {
            if (p + 1 >= FText.size())
                return false;
            const QChar e = FText[p + 1];
            if (e == QLatin1Char('n')) {
                out += QLatin1Char('\n');
                p += 2;
            } else if (e == QLatin1Char('r')) {
                out += QLatin1Char('\r');
                p += 2;
            } else if (e == QLatin1Char('x')) {
                qsizetype q = p + 2;
                uint code = 0;
                int digits = 0;
                while (q < FText.size() && digits < 6 && FText[q].unicode() < 128 && isxdigit(FText[q].unicode())) {
                    code = code * 16 + uint(QString(FText[q]).toUInt(nullptr, 16));
                    ++q;
                    ++digits;
                }
                if (digits == 0 || code > 0x10FFFF)
                    return false;
                const char32_t ch = char32_t(code);
                out += QString::fromUcs4(&ch, 1);
                p = q;
            } else {
                if (e.unicode() < 32 && e != QLatin1Char('\t'))
                    return false;
                out += e;
                p += 2;
            }
            continue;
        }
        out += c;
        ++p;
    }
}

bool TfsParser::ReadCharCode(QString &out)
{
    // FPos is at '#': a decimal code, or '$' and a hexadecimal one.
    qsizetype p = FPos + 1;
    int base = 10;
    if (p < FText.size() && FText[p] == QLatin1Char('$')) {
        base = 16;
        ++p;
    }
    const qsizetype start = p;
    while (p < FText.size() && FText[p].unicode() < 128 &&
           (base == 10 ? FText[p].isDigit() : bool(isxdigit(FText[p].unicode()))) && p - start < 8)
        ++p;
    if (p == start)
        return false;
    bool ok = false;
    const uint code = FText.mid(start, p - start).toUInt(&ok, base);
    if (!ok || code > 0x10FFFF)
        return false;
    const char32_t ch = char32_t(code);
    out += QString::fromUcs4(&ch, 1);
    FPos = p;
    return true;
}

QString TfsParser::GetString()
{
    SkipSpaces();
    FLastPos = FPos;
    const qsizetype save = FPos;
    QString value;
    bool any = false;
    for (;;) {
        if (FPos < FText.size() && FText[FPos] == StringQuotes) {
            if (!ReadQuoted(value)) {
                FPos = save;
                return QString();
            }
            any = true;
        } else if (FPos < FText.size() && FText[FPos] == QLatin1Char('#') && StringQuotes == QLatin1Char('\'')) {
            if (!ReadCharCode(value)) {
                if (!any) {
                    FPos = save;
                    return QString();
                }
                break;
            }
            any = true;
        } else {
            break;
        }
    }
    if (!any)
        return QString();
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

QString TfsParser::GetFRString()
{
    FLastPos = FPos;
    const qsizetype start = FPos;
    int angle = 1, square = 0;
    QChar quote;
    qsizetype p = FPos;
    for (; p < FText.size(); ++p) {
        const QChar c = FText[p];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            quote = c;
        else if (c == QLatin1Char('<'))
            ++angle;
        else if (c == QLatin1Char('['))
            ++square;
        else if (c == QLatin1Char(']'))
            --square;
        else if (c == QLatin1Char('>') && square <= 0 && --angle == 0)
            break;
    }
    if (p >= FText.size())
        return QString();
    FPos = p;
    return FText.mid(start, p - start);
}

QString TfsParser::GetEOL()
{
    // Spaces and tabs before the line end do not count.
    while (FPos < FText.size() && (FText[FPos] == QLatin1Char(' ') || FText[FPos] == QLatin1Char('\t')))
        ++FPos;
    const bool saved = SkipEOL;
    SkipEOL = false;
    SkipSpaces();
    SkipEOL = saved;
    FLastPos = FPos;
    if (FPos >= FText.size())
        return QStringLiteral("\n");
    bool any = false;
    while (FPos < FText.size()) {
        const char16_t c = FText[FPos].unicode();
        if (c == '\r' || c == '\n') {
            any = true;
            ++FPos;
        } else if (any && c <= 32) {
            ++FPos;
        } else if (any) {
            // Comments between line ends belong to the line end too.
            const qsizetype before = FPos;
            const bool savedEol = SkipEOL;
            SkipEOL = false;
            SkipSpaces();
            SkipEOL = savedEol;
            if (FPos == before)
                break;
        } else {
            break;
        }
    }
    return any ? QStringLiteral("\n") : QString();
}

QString TfsParser::GetXYPosition(int position) const
{
    const qsizetype pos = position < 0 ? FPos : qsizetype(position) - 1;
    const auto it = std::upper_bound(FLineStarts.begin(), FLineStarts.end(), pos);
    const qsizetype line = it - FLineStarts.begin();
    const qsizetype column = pos - FLineStarts[size_t(line - 1)] + 1;
    return QString::number(line) + QLatin1Char(':') + QString::number(column);
}

int TfsParser::GetPlainPosition(const QString &xy) const
{
    const qsizetype colon = xy.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return 0;
    bool ok1 = false, ok2 = false;
    const int line = xy.left(colon).toInt(&ok1);
    const int column = xy.mid(colon + 1).toInt(&ok2);
    if (!ok1 || !ok2 || line < 1 || line > int(FLineStarts.size()) || column < 1)
        return 0;
    return int(FLineStarts[size_t(line - 1)]) + column;
}
