// The rules of the system module's string and array functions.

#include "script/fs_isysfunctions_p.h"

#include "script/fs_iconst.h"

#include "base/TextLimits.h"

#include <QLocale>
#include <QStringView>
#include <algorithm>

int fsSysLength(const TfsVariant &value)
{
    if (value.IsArray())
        return value.ArrayDimCount() == 0 ? 0 : value.ArrayHighBound(0) - value.ArrayLowBound(0) + 1;
    return int(value.ToText().size());
}

QString fsSysCopy(const QString &s, int from, int count)
{
    from = std::max(from, 1);
    if (count <= 0 || from > s.size())
        return QString();
    return s.mid(from - 1, count);
}

int fsSysPos(const QString &substr, const QString &s)
{
    if (substr.isEmpty())
        return 0;
    return int(s.indexOf(substr)) + 1;
}

QString fsSysDelete(const QString &s, int from, int count)
{
    if (from < 1 || from > s.size() || count <= 0)
        return s;
    QString result = s;
    result.remove(from - 1, std::min<qsizetype>(count, s.size() - from + 1));
    return result;
}

QString fsSysInsert(const QString &s, const QString &target, int pos)
{
    const qsizetype at = std::clamp<qsizetype>(qsizetype(pos) - 1, 0, target.size());
    rudCheckTextLength(qint64(s.size()) + target.size());
    QString result = target;
    result.insert(at, s);
    return result;
}

QString fsSysTrim(const QString &s)
{
    qsizetype start = 0, end = s.size();
    while (start < end && s[start].unicode() <= ' ')
        ++start;
    while (end > start && s[end - 1].unicode() <= ' ')
        --end;
    return s.mid(start, end - start);
}

QString fsSysNameCase(const QString &s)
{
    // Character by character over the original text, so that a mapping that
    // changes the length ("ß" to "SS") cannot shift the positions.
    const QLocale locale;
    QString result;
    result.reserve(s.size());
    bool upper = true;
    for (qsizetype i = 0; i < s.size();) {
        const qsizetype n = s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate() ? 2 : 1;
        const QString c = s.mid(i, n);
        result += upper ? locale.toUpper(c) : locale.toLower(c);
        upper = c == QLatin1String(" ");
        i += n;
    }
    return result;
}

int fsSysCompareText(const QString &a, const QString &b)
{
    const QLocale locale;
    return QString::localeAwareCompare(locale.toLower(a), locale.toLower(b));
}

QString fsSysChr(qint64 code)
{
    if (code < 0 || code > 0x10FFFF)
        throw EfsRuntimeError(QStringLiteral("ERangeError"), QStringLiteral("Range check error"));
    if (code <= 0xFFFF)
        return QString(QChar(char16_t(code)));
    const char32_t c = char32_t(code);
    return QString::fromUcs4(&c, 1);
}

int fsSysOrd(const QString &s)
{
    if (s.isEmpty())
        return 0;
    if (s.size() > 1 && s[0].isHighSurrogate() && s[1].isLowSurrogate())
        return int(QChar::surrogateToUcs4(s[0], s[1]));
    return s[0].unicode();
}

TfsVariant fsSysSetLength(const TfsVariant &value, int length)
{
    length = std::max(length, 0);
    if (value.IsString()) {
        rudCheckTextLength(length);
        QString s = value.AsString();
        if (length < s.size())
            s.truncate(length);
        else
            s += QString(length - s.size(), QLatin1Char(' '));
        return s;
    }
    TfsVariant array = value;
    array.RedimArray(0, length - 1);
    return array;
}

QString fsSysExtractFilePath(const QString &fileName)
{
    for (qsizetype i = fileName.size() - 1; i >= 0; --i) {
        const QChar c = fileName[i];
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':'))
            return fileName.left(i + 1);
    }
    return QString();
}

TfsVariant fsSysVarArrayCreate(const TfsVariant &bounds, int elementType)
{
    // At most this many dimensions, as the platform's variant arrays allow.
    constexpr int kMaxDims = 64;
    const auto createError = [] {
        return EfsRuntimeError(QStringLiteral("EVariantArrayCreateError"),
                               QStringLiteral("Error creating variant or safe array"));
    };
    if (!bounds.IsArray() || bounds.ArrayDimCount() != 1)
        throw EfsRuntimeError(QStringLiteral("EVariantInvalidArgError"), QStringLiteral("Invalid argument"));
    const int low = bounds.ArrayLowBound(0), high = bounds.ArrayHighBound(0);
    const qint64 count = qint64(high) - low + 1;
    if (count <= 0 || count % 2 != 0)
        throw EfsRuntimeError(QStringLiteral("EVariantInvalidArgError"), QStringLiteral("Invalid argument"));
    if (count / 2 > kMaxDims)
        throw createError();
    std::vector<std::pair<int, int>> dims;
    for (int i = low; i < high; i += 2) {
        const int from = bounds.GetElement({i}).ToInt(), to = bounds.GetElement({i + 1}).ToInt();
        if (qint64(to) < qint64(from) - 1)
            throw createError();
        dims.emplace_back(from, to);
    }
    const int type = elementType & 4095;
    TfsVariant array = TfsVariant::CreateArray(dims, type);
    // Elements of a typed array start as that type's zero.
    switch (type) {
    case 2: case 3: case 16: case 17: case 18: case 19: array.FillArray(TfsVariant(0)); break;
    case 20: array.FillArray(TfsVariant(qint64(0))); break;
    case 4: case 5: case 6: case 7: array.FillArray(TfsVariant(0.0)); break;
    case 11: array.FillArray(TfsVariant(false)); break;
    case 8: case 256: array.FillArray(TfsVariant(QString())); break;
    default: break;
    }
    return array;
}
