#pragma once
// 8-bit and double-byte code pages of the Windows world, converted through
// ICU: the ANSI pages 1250-1258, 874 and the East Asian 932, 936, 949, 950,
// the OEM pages 437, 720, 737, 775, 850, 852, 855, 857, 862, 866, 869, the
// Mac pages 10000 (Roman), 10006, 10007 (Cyrillic), 10029, 10081, plus 42
// (symbol fonts: bytes as U+F0xx), 20127 (ASCII), 28591 (Latin-1), 65001
// (UTF-8), 1200 (UTF-16LE) and 1201 (UTF-16BE). Characters a code page
// lacks become '?'. A code page ICU lacks (1361, Johab) converts as Latin-1.

#include <QByteArray>
#include <QString>

// Text as bytes of a code page.
QByteArray encodeCodePage(const QString &text, int codePage);
// Bytes of a code page as text.
QString decodeCodePage(const QByteArray &bytes, int codePage);
// Bytes of a code page as text, without hiding what is not text: badOffset
// is -1 when every byte sequence decoded, else the offset of the first one
// that did not (a malformed or cut-off UTF-8 or UTF-16 sequence, a byte a
// double-byte page lacks). The text is whole either way, with '?' where
// bytes did not decode. The single-byte pages decode every byte.
QString decodeCodePageChecked(const QByteArray &bytes, int codePage, qsizetype &badOffset);
// True when the code page converts.
bool isCodePageSupported(int codePage);
// True when every character of text has bytes of its own in the code page:
// encodeCodePage puts no substitute '?' in its place.
bool canEncodeCodePage(const QString &text, int codePage);

// The system's ANSI code page: 1251 under a Russian locale, 1252 otherwise,
// unless set for tests.
int systemAnsiCodePage();
// Overrides the system's ANSI code page (0 returns to the locale's).
void setSystemAnsiCodePage(int codePage);
// The OEM code page that goes with the ANSI one: 866 for 1251, 437 for 1252,
// 852 for 1250, 737 for 1253, 857 for 1254, 862 for 1255, 720 for 1256,
// 775 for 1257, 1258 for 1258, 874 for 874; the double-byte pages themselves.
int systemOemCodePage();
// The Mac code page that goes with the ANSI one (10007 for 1251, else 10000).
int systemMacCodePage();

// Font charsets (the byte of the font record).
enum : int {
    ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, MAC_CHARSET = 77,
    SHIFTJIS_CHARSET = 128, HANGEUL_CHARSET = 129, JOHAB_CHARSET = 130, GB2312_CHARSET = 134,
    CHINESEBIG5_CHARSET = 136, GREEK_CHARSET = 161, TURKISH_CHARSET = 162,
    VIETNAMESE_CHARSET = 163, HEBREW_CHARSET = 177, ARABIC_CHARSET = 178,
    BALTIC_CHARSET = 186, RUSSIAN_CHARSET = 204, THAI_CHARSET = 222,
    EASTEUROPE_CHARSET = 238, OEM_CHARSET = 255
};
// The code page of a font charset: the system ANSI page for DEFAULT_CHARSET,
// the Mac page for MAC_CHARSET, the OEM page for OEM_CHARSET, 1252 for
// ANSI_CHARSET, 42 for SYMBOL_CHARSET, the charset's own page otherwise (1251 for RUSSIAN_CHARSET); an unknown charset
// gives the system ANSI page.
int codePageOfCharset(int charset);
