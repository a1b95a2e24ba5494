#include "base/TextCase.h"

QString upperCased(const QString &Text)
{
    const QChar *data = Text.constData();
    const qsizetype n = Text.size();
    qsizetype firstLower = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c >= 0x80)
            return Text.toUpper();
        if (firstLower < 0 && c >= u'a' && c <= u'z')
            firstLower = i;
    }
    if (firstLower < 0)
        return Text;
    QString result = Text;
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    for (qsizetype i = firstLower; i < n; ++i)
        if (out[i] >= u'a' && out[i] <= u'z')
            out[i] = char16_t(out[i] - (u'a' - u'A'));
    return result;
}
