#include "base/TextCase.h"

namespace {

// Text with the ASCII letters First..Last moved by Shift; Full (the Unicode
// mapping) for text beyond ASCII; Text itself when no letter changes.
template <char16_t First, char16_t Last, int Shift>
QString mapAscii(const QString &Text, QString (QString::*Full)() const &)
{
    const QChar *data = Text.constData();
    const qsizetype n = Text.size();
    qsizetype firstChange = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c >= 0x80)
            return (Text.*Full)();
        if (firstChange < 0 && c >= First && c <= Last)
            firstChange = i;
    }
    if (firstChange < 0)
        return Text;
    QString result = Text;
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    for (qsizetype i = firstChange; i < n; ++i)
        if (out[i] >= First && out[i] <= Last)
            out[i] = char16_t(out[i] + Shift);
    return result;
}

} // namespace

QString upperCased(const QString &Text)
{
    return mapAscii<u'a', u'z', u'A' - u'a'>(Text, &QString::toUpper);
}

QString lowerCased(const QString &Text)
{
    return mapAscii<u'A', u'Z', u'a' - u'A'>(Text, &QString::toLower);
}
