#include "base/CodePages.h"
#include "base/TextEncoding.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

TEST(CodePagesTest, RoundTripsAndUnmappableCharacters)
{
    const QString russian = QString::fromUtf8("Свидетельство №1 ёЁ");
    const QByteArray cp1251 = encodeCodePage(russian, 1251);
    EXPECT_EQ(cp1251.size(), russian.size());
    EXPECT_EQ(uchar(cp1251[0]), 0xD1);   // С
    EXPECT_EQ(uchar(cp1251[14]), 0xB9);  // №
    EXPECT_EQ(decodeCodePage(cp1251, 1251), russian);
    EXPECT_EQ(decodeCodePage(encodeCodePage(russian, 866), 866), russian);
    EXPECT_EQ(encodeCodePage(QString::fromUtf8("Ж€"), 1252), QByteArray("?\x80"));
    EXPECT_EQ(decodeCodePage("\x80", 1252), QString::fromUtf8("€"));
    EXPECT_EQ(decodeCodePage("a\xFF", 65001), "a?"); // not UTF-8
    EXPECT_EQ(decodeCodePage(encodeCodePage(QString::fromUtf8("Привет"), 10007), 10007),
              QString::fromUtf8("Привет"));
    EXPECT_EQ(decodeCodePage(encodeCodePage(QString::fromUtf8("日本語"), 932), 932), QString::fromUtf8("日本語"));
    EXPECT_EQ(encodeCodePage(QString::fromUtf8("日本語"), 932).size(), 6);
    EXPECT_EQ(decodeCodePage("\xE9", 10000), QString::fromUtf8("È"));
    EXPECT_EQ(encodeCodePage(QString(QChar(0xF041)), 42), QByteArray("A"));
    EXPECT_EQ(decodeCodePage("A", 42), QString(QChar(0xF041)));
    for (int cp : {1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 874, 932, 936, 949, 950,
                   437, 850, 866, 10000, 10007, 65001, 1200})
        EXPECT_TRUE(isCodePageSupported(cp)) << cp;
    EXPECT_TRUE(encodeCodePage(QString(), 1251).isEmpty());
}

TEST(CodePagesTest, SystemPagesAndCharsets)
{
    setSystemAnsiCodePage(1251);
    EXPECT_EQ(systemAnsiCodePage(), 1251);
    EXPECT_EQ(systemOemCodePage(), 866);
    EXPECT_EQ(systemMacCodePage(), 10007);
    EXPECT_EQ(codePageOfCharset(DEFAULT_CHARSET), 1251);
    EXPECT_EQ(codePageOfCharset(OEM_CHARSET), 866);
    EXPECT_EQ(codePageOfCharset(MAC_CHARSET), 10007);
    setSystemAnsiCodePage(1252);
    EXPECT_EQ(systemOemCodePage(), 437);
    EXPECT_EQ(codePageOfCharset(DEFAULT_CHARSET), 1252);
    setSystemAnsiCodePage(0);
    EXPECT_EQ(codePageOfCharset(RUSSIAN_CHARSET), 1251);
    EXPECT_EQ(codePageOfCharset(ANSI_CHARSET), 1252);
    EXPECT_EQ(codePageOfCharset(EASTEUROPE_CHARSET), 1250);
    EXPECT_EQ(codePageOfCharset(SHIFTJIS_CHARSET), 932);
    EXPECT_EQ(codePageOfCharset(THAI_CHARSET), 874);
    EXPECT_EQ(codePageOfCharset(SYMBOL_CHARSET), 42);
}

TEST(CodePagesTest, TellsWhetherTextFits)
{
    EXPECT_TRUE(canEncodeCodePage(QString::fromUtf8("Свидетельство №1 ёЁ «»"), 1251));
    EXPECT_TRUE(canEncodeCodePage(QString(), 1251));
    EXPECT_TRUE(canEncodeCodePage("?", 1251)) << "a real question mark is no substitute";
    EXPECT_FALSE(canEncodeCodePage(QString::fromUtf8("Ә"), 1251)) << "no best fit to А";
    EXPECT_FALSE(canEncodeCodePage(QString::fromUtf8("😀"), 1251));
    EXPECT_FALSE(canEncodeCodePage(QString::fromUtf8("Ж"), 1252));
    EXPECT_TRUE(canEncodeCodePage(QString::fromUtf8("Ωμέγα"), 1253));
    EXPECT_TRUE(canEncodeCodePage(QString::fromUtf8("日本語"), 932));
    EXPECT_TRUE(canEncodeCodePage(QString::fromUtf8("😀"), 65001));
    EXPECT_FALSE(canEncodeCodePage(QString(QChar(0xD800)), 65001)) << "a lone surrogate";
}

TEST(CodePagesTest, TextFilesAreFoundByMarkThenUtf8ThenAnsiAndBadBytesAreLocated)
{
    const QString russian = QString::fromUtf8("Иванов");
    const QByteArray utf16le = QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(russian.utf16()), 12);
    EXPECT_EQ(detectTextEncoding(utf16le).Encoding, TTextEncoding::Utf16LE);
    EXPECT_EQ(detectTextEncoding(utf16le).BomSize, 2);
    EXPECT_EQ(detectTextEncoding("\xFE\xFF\x04\x18").Encoding, TTextEncoding::Utf16BE);
    EXPECT_EQ(detectTextEncoding("\xEF\xBB\xBF" "abc").BomSize, 3);
    EXPECT_EQ(detectTextEncoding("abc," + russian.toUtf8()).Encoding, TTextEncoding::Utf8);
    EXPECT_EQ(detectTextEncoding("abc," + encodeCodePage(russian, 1251)).Encoding, TTextEncoding::Ansi);
    EXPECT_EQ(detectTextEncoding("plain ASCII").Encoding, TTextEncoding::Ansi);

    qsizetype bad = 0;
    EXPECT_EQ(decodeCodePageChecked(utf16le.mid(2), 1200, bad), russian);
    EXPECT_EQ(bad, -1);
    EXPECT_EQ(decodeCodePageChecked(encodeCodePage(russian, 1251), 1251, bad), russian);
    EXPECT_EQ(bad, -1) << "a single-byte page decodes every byte";
    EXPECT_EQ(decodeCodePageChecked("ab\xD0\x98" "c\xFF" "d", 65001, bad), QString::fromUtf8("abИc?d"));
    EXPECT_EQ(bad, 5);
    decodeCodePageChecked(QByteArray("a\0b", 3), 1200, bad);
    EXPECT_EQ(bad, 2) << "a UTF-16 text cut in the middle of a character";
    decodeCodePageChecked(QByteArray("\0a\xDC\0", 4), 1201, bad);
    EXPECT_EQ(bad, 2) << "a lone low surrogate";
}

// Windows-1251 is read from a table of its own, not through ICU: every
// byte reads as ICU's converter (set up as the program sets it) reads it.
TEST(CodePagesTest, Cyrillic1251ReadsAsIcuReadsIt)
{
    UErrorCode error = U_ZERO_ERROR;
    UConverter *icu = ucnv_open("windows-1251", &error);
    ASSERT_TRUE(U_SUCCESS(error));
    ucnv_setFallback(icu, false);
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    QString expected(512, Qt::Uninitialized);
    error = U_ZERO_ERROR;
    expected.truncate(ucnv_toUChars(icu, reinterpret_cast<UChar *>(expected.data()), int(expected.size()),
                                    all.constData(), int(all.size()), &error));
    ucnv_close(icu);
    ASSERT_TRUE(U_SUCCESS(error));
    expected.replace(QChar(0xFFFD), QLatin1Char('?')).replace(QChar(0x001A), QLatin1Char('?'));
    const QString read = decodeCodePage(all, 1251);
    ASSERT_EQ(read.size(), 256);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(read[b].unicode(), expected[b].unicode()) << "byte " << b;
}
