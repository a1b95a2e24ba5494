#include "base/CodePages.h"

#include <QLocale>
#include <unicode/ucnv.h>

#include <atomic>
#include <memory>
#include <vector>

namespace {

std::atomic<int> ansiOverride{0};

// ICU's name of a Windows code page; nullptr for one it lacks.
const char *icuName(int codePage)
{
    switch (codePage) {
    case 874: return "windows-874";
    case 932: return "windows-932";
    case 936: return "windows-936";
    case 949: return "windows-949";
    case 950: return "windows-950";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1252: return "windows-1252";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 437: return "ibm-437";
    case 720: return "ibm-720";
    case 737: return "ibm-737";
    case 775: return "ibm-775";
    case 850: return "ibm-850";
    case 852: return "ibm-852";
    case 855: return "ibm-855";
    case 857: return "ibm-857";
    case 862: return "ibm-862";
    case 866: return "ibm-866";
    case 869: return "ibm-869";
    case 10000: return "x-mac-roman";
    case 10006: return "x-mac-greek";
    case 10007: return "x-mac-cyrillic";
    case 10029: return "x-mac-ce";
    case 10081: return "x-mac-turkish";
    case 20127: return "US-ASCII";
    case 28591: return "ISO-8859-1";
    case 65001: return "UTF-8";
    case 1200: return "UTF-16LE";
    case 1201: return "UTF-16BE";
    default: return nullptr;
    }
}

// The upper half of Windows-1251 (Cyrillic), the code page of certificate
// files: read from this table, a file needs no ICU converter (opening the
// first one maps ICU's data, a good part of a short command's time). The
// lower half is ASCII.
constexpr char16_t cp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

struct TConverterCloser {
    void operator()(UConverter *c) const { ucnv_close(c); }
};
using TConverter = std::unique_ptr<UConverter, TConverterCloser>;

TConverter openConverter(int codePage)
{
    const char *name = icuName(codePage);
    if (!name)
        return nullptr;
    UErrorCode error = U_ZERO_ERROR;
    TConverter converter(ucnv_open(name, &error));
    if (U_FAILURE(error))
        return nullptr;
    ucnv_setFallback(converter.get(), false);
    error = U_ZERO_ERROR;
    ucnv_setSubstChars(converter.get(), "?", 1, &error);
    return converter;
}

// Symbol fonts keep their bytes; Windows shows them in the private area
// U+F000..U+F0FF, and takes either form back.
QByteArray encodeSymbol(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        out += (u < 0x100 || (u >= 0xF000 && u <= 0xF0FF)) ? char(u & 0xFF) : '?';
    }
    return out;
}

} // namespace

bool isCodePageSupported(int codePage)
{
    return codePage == 42 || openConverter(codePage) != nullptr;
}

QByteArray encodeCodePage(const QString &text, int codePage)
{
    if (text.isEmpty())
        return {};
    if (codePage == 42)
        return encodeSymbol(text);
    const TConverter converter = openConverter(codePage);
    if (!converter)
        return text.toLatin1();
    UErrorCode error = U_ZERO_ERROR;
    const int capacity = UCNV_GET_MAX_BYTES_FOR_STRING(text.size(), ucnv_getMaxCharSize(converter.get()));
    QByteArray out(capacity, Qt::Uninitialized);
    const int length = ucnv_fromUChars(converter.get(), out.data(), capacity,
                                       reinterpret_cast<const UChar *>(text.utf16()),
                                       int(text.size()), &error);
    if (U_FAILURE(error))
        return QByteArray(text.size(), '?');
    out.truncate(length);
    return out;
}

// The converter is told to stop at the first character it has no bytes for
// instead of writing the substitute; a converter ICU lacks stands for
// Latin-1, as in encodeCodePage.
bool canEncodeCodePage(const QString &text, int codePage)
{
    if (codePage == 42) {
        for (QChar c : text)
            if (!(c.unicode() < 0x100 || (c.unicode() >= 0xF000 && c.unicode() <= 0xF0FF)))
                return false;
        return true;
    }
    const TConverter converter = openConverter(codePage);
    if (!converter) {
        for (QChar c : text)
            if (c.unicode() >= 0x100)
                return false;
        return true;
    }
    UErrorCode error = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
    if (U_FAILURE(error))
        return false;
    const int capacity = UCNV_GET_MAX_BYTES_FOR_STRING(text.size(), ucnv_getMaxCharSize(converter.get()));
    QByteArray out(capacity + 1, Qt::Uninitialized);
    ucnv_fromUChars(converter.get(), out.data(), int(out.size()), reinterpret_cast<const UChar *>(text.utf16()),
                    int(text.size()), &error);
    return U_SUCCESS(error);
}

QString decodeCodePage(const QByteArray &bytes, int codePage)
{
    if (bytes.isEmpty())
        return {};
    if (codePage == 42) {
        QString out;
        out.reserve(bytes.size());
        for (char b : bytes) {
            const auto u = char16_t(static_cast<unsigned char>(b));
            out += QChar(u >= 0x20 ? char16_t(0xF000 | u) : u);
        }
        return out;
    }
    if (codePage == 1251) {
        // As the converter's text below: its substitute (0x1A) reads as '?'.
        QString out(bytes.size(), Qt::Uninitialized);
        char16_t *to = reinterpret_cast<char16_t *>(out.data());
        for (const char b : bytes) {
            const auto u = static_cast<unsigned char>(b);
            *to++ = u >= 0x80 ? cp1251High[u - 0x80] : u == 0x1A ? u'?' : char16_t(u);
        }
        return out;
    }
    const TConverter converter = openConverter(codePage);
    if (!converter)
        return QString::fromLatin1(bytes);
    UErrorCode error = U_ZERO_ERROR;
    QString out(bytes.size() * 2 + 2, Qt::Uninitialized);
    const int length = ucnv_toUChars(converter.get(), reinterpret_cast<UChar *>(out.data()),
                                     int(out.size()), bytes.constData(), int(bytes.size()), &error);
    if (U_FAILURE(error))
        return QString(bytes.size(), QLatin1Char('?'));
    out.truncate(length);
    out.replace(QChar(0xFFFD), QLatin1Char('?'));
    out.replace(QChar(0x001A), QLatin1Char('?'));
    return out;
}

// The converter stops at the first sequence that is not text; the offset
// is what it consumed less the bytes it found invalid. The text itself comes
// from decodeCodePage, so both functions give the same characters.
QString decodeCodePageChecked(const QByteArray &bytes, int codePage, qsizetype &badOffset)
{
    badOffset = -1;
    const TConverter converter = codePage == 42 ? nullptr : openConverter(codePage);
    if (converter && !bytes.isEmpty()) {
        UErrorCode error = U_ZERO_ERROR;
        ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
        std::vector<UChar> chunk(4096);
        const char *source = bytes.constData();
        const char *const end = source + bytes.size();
        do {
            error = U_ZERO_ERROR;
            UChar *target = chunk.data();
            ucnv_toUnicode(converter.get(), &target, chunk.data() + chunk.size(), &source, end, nullptr, true,
                           &error);
        } while (error == U_BUFFER_OVERFLOW_ERROR);
        if (U_FAILURE(error)) {
            char invalid[32];
            int8_t length = sizeof invalid;
            UErrorCode ignored = U_ZERO_ERROR;
            ucnv_getInvalidChars(converter.get(), invalid, &length, &ignored);
            badOffset = qMax<qsizetype>(0, (source - bytes.constData()) - (U_SUCCESS(ignored) ? length : 0));
        }
    }
    return decodeCodePage(bytes, codePage);
}

int systemAnsiCodePage()
{
    if (const int forced = ansiOverride.load())
        return forced;
    const QLocale locale = QLocale::system();
    switch (locale.language()) {
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Belarusian:
    case QLocale::Bulgarian:
    case QLocale::Macedonian:
    case QLocale::Kazakh:
        return 1251;
    case QLocale::Serbian:
        return locale.script() == QLocale::LatinScript ? 1250 : 1251;
    case QLocale::Czech:
    case QLocale::Polish:
    case QLocale::Slovak:
    case QLocale::Slovenian:
    case QLocale::Hungarian:
    case QLocale::Croatian:
    case QLocale::Romanian:
        return 1250;
    case QLocale::Greek: return 1253;
    case QLocale::Turkish: return 1254;
    case QLocale::Hebrew: return 1255;
    case QLocale::Arabic:
    case QLocale::Persian: return 1256;
    case QLocale::Lithuanian:
    case QLocale::Latvian:
    case QLocale::Estonian: return 1257;
    case QLocale::Vietnamese: return 1258;
    case QLocale::Thai: return 874;
    case QLocale::Japanese: return 932;
    case QLocale::Korean: return 949;
    case QLocale::Chinese:
        return locale.script() == QLocale::TraditionalChineseScript ? 950 : 936;
    default:
        return 1252;
    }
}

void setSystemAnsiCodePage(int codePage) { ansiOverride.store(codePage); }

int systemOemCodePage()
{
    switch (const int ansi = systemAnsiCodePage()) {
    case 1250: return 852;
    case 1251: return 866;
    case 1253: return 737;
    case 1254: return 857;
    case 1255: return 862;
    case 1256: return 720;
    case 1257: return 775;
    case 1252: return 437;
    default: return ansi; // 874, 1258 and the double-byte pages are their own OEM pages
    }
}

int systemMacCodePage()
{
    switch (systemAnsiCodePage()) {
    case 1251: return 10007;
    case 1250: return 10029;
    case 1253: return 10006;
    case 1254: return 10081;
    default: return 10000;
    }
}

int codePageOfCharset(int charset)
{
    switch (charset) {
    case ANSI_CHARSET: return 1252;
    case DEFAULT_CHARSET: return systemAnsiCodePage();
    case SYMBOL_CHARSET: return 42;
    case MAC_CHARSET: return systemMacCodePage();
    case SHIFTJIS_CHARSET: return 932;
    case HANGEUL_CHARSET: return 949;
    case JOHAB_CHARSET: return 1361;
    case GB2312_CHARSET: return 936;
    case CHINESEBIG5_CHARSET: return 950;
    case GREEK_CHARSET: return 1253;
    case TURKISH_CHARSET: return 1254;
    case VIETNAMESE_CHARSET: return 1258;
    case HEBREW_CHARSET: return 1255;
    case ARABIC_CHARSET: return 1256;
    case BALTIC_CHARSET: return 1257;
    case RUSSIAN_CHARSET: return 1251;
    case THAI_CHARSET: return 874;
    case EASTEUROPE_CHARSET: return 1250;
    case OEM_CHARSET: return systemOemCodePage();
    default: return systemAnsiCodePage();
    }
}
