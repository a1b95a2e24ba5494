#include "base/TextEncoding.h"

#include <QByteArrayView>

bool isUtf8Text(const char *data, qsizetype length)
{
    qsizetype first = 0;
    while (first < length && static_cast<unsigned char>(data[first]) < 0x80)
        ++first;
    if (first == length)
        return false;
    return QByteArrayView(data + first, length - first).isValidUtf8();
}

TDetectedEncoding detectTextEncoding(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return {TTextEncoding::Utf16LE, 2};
    if (bytes.startsWith("\xFE\xFF"))
        return {TTextEncoding::Utf16BE, 2};
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {TTextEncoding::Utf8, 3};
    if (isUtf8Text(bytes.constData(), bytes.size()))
        return {TTextEncoding::Utf8, 0};
    return {TTextEncoding::Ansi, 0};
}

int codePageOfEncoding(TTextEncoding encoding, int ansiCodePage)
{
    switch (encoding) {
    case TTextEncoding::Utf8: return 65001;
    case TTextEncoding::Utf16LE: return 1200;
    case TTextEncoding::Utf16BE: return 1201;
    case TTextEncoding::Ansi: break;
    }
    return ansiCodePage;
}

QString codePageName(int codePage)
{
    switch (codePage) {
    case 65001: return QStringLiteral("UTF-8");
    case 1200: return QStringLiteral("UTF-16LE");
    case 1201: return QStringLiteral("UTF-16BE");
    default:
        if (codePage >= 1250 && codePage <= 1258)
            return QStringLiteral("Windows-%1").arg(codePage);
        return QStringLiteral("code page %1").arg(codePage);
    }
}
