#include "base/Errors.h"
#include "base/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

const TFormatSettings &ru()
{
    static const TFormatSettings settings = russianFormatSettings();
    return settings;
}

const TFormatSettings &en()
{
    static const TFormatSettings settings = englishFormatSettings();
    return settings;
}

std::string message(const std::function<void()> &f)
{
    try {
        f();
    } catch (const Exception &e) {
        return e.Message().toStdString();
    }
    return "no error";
}

} // namespace

TEST(NumberFormatTest, HoursPictureRoundsTheDecimalText)
{
    EXPECT_EQ(FormatFloat("0.#", 2.25, ru()), "2,3");
    EXPECT_EQ(FormatFloat("0.#", 2.5, ru()), "2,5");
    EXPECT_EQ(FormatFloat("0.#", 2, ru()), "2");
    EXPECT_EQ(FormatFloat("0.#", 0.04, ru()), "0");
    EXPECT_EQ(FormatFloat("#.##", 1e-20, ru()), "");
    EXPECT_EQ(FormatFloat("0.0#", -0.0001, ru()), "-0,0");
    EXPECT_EQ(FormatFloat("0.#", 0.15, ru()), "0,1"); // 0.1499999... as written
    EXPECT_EQ(FormatFloat("0.00", 1.005, en()), "1.00");
    EXPECT_EQ(FormatFloat("0.#", 2.25, en()), "2.3");
}

TEST(NumberFormatTest, PictureSectionsSeparatorsAndExponents)
{
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891, en()), "1,234,567.89");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891, ru()), QString::fromUtf8("1\u00A0234\u00A0567,89"));
    EXPECT_EQ(FormatFloat("0.00E+00", 1234567.891, en()), "1.23E+06");
    EXPECT_EQ(FormatFloat("0.0E-0", 0.00123, en()), "1.2E-3");
    EXPECT_EQ(FormatFloat("0.0;(0.0);'zero'", -1.25, en()), "(1.3)");
    EXPECT_EQ(FormatFloat("0.0;(0.0);'zero'", 0, en()), "zero");
    // An empty section falls back to the positive one, which writes the sign.
    EXPECT_EQ(FormatFloat("0.0;;'zero'", -0.25, en()), "-0.3");
    EXPECT_EQ(FormatFloat("0.0;;", 0, en()), "0.0");
    EXPECT_EQ(FormatFloat("0.0;", -2, en()), "-2.0");
    EXPECT_EQ(FormatFloat("\"$\"#,##0.00", -5, en()), "-$5.00");
    EXPECT_EQ(FormatFloat("00-00", 1234, en()), "12-34");
    EXPECT_EQ(FormatFloat("", 1234567.891, en()), "1234567.891");
    EXPECT_EQ(FormatFloat("0.00", -0.001, en()), "-0.00"); // the classic runtime keeps the sign
    EXPECT_EQ(FormatFloat("0.00", -0.0, en()), "0.00");
    EXPECT_EQ(FormatFloat("0.00", 1e20, en()), "1E20"); // beyond 18 digits: general format
    EXPECT_EQ(FormatFloat("0.00", std::numeric_limits<double>::quiet_NaN(), en()), "Nan");
    EXPECT_EQ(FormatFloat("0.00", -std::numeric_limits<double>::infinity(), en()), "-Inf");
    EXPECT_EQ(FormatFloat("0;1;2;3", 5, en()), "5"); // a fourth section is ignored
}

TEST(NumberFormatTest, FloatToStrIsTheGeneralFormatWith15Digits)
{
    EXPECT_EQ(FloatToStr(41982.6347830324, en()), "41982.6347830324");
    EXPECT_EQ(FloatToStr(41982.6347830324, ru()), "41982,6347830324");
    EXPECT_EQ(FloatToStr(0.1 + 0.2, en()), "0.3");
    EXPECT_EQ(FloatToStr(1e20, en()), "1E20");
    EXPECT_EQ(FloatToStr(1e15, en()), "1E15");
    EXPECT_EQ(FloatToStr(1e14, en()), "100000000000000");
    EXPECT_EQ(FloatToStr(1e-5, en()), "0.00001");
    EXPECT_EQ(FloatToStr(1e-6, en()), "1E-6");
    EXPECT_EQ(FloatToStr(-1.5e-300, en()), "-1.5E-300");
    EXPECT_EQ(FloatToStr(123456789012345678.0, en()), "1.23456789012346E17");
    EXPECT_EQ(FloatToStr(-0.0, en()), "0");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::max(), en()), "1.79769313486232E308");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::denorm_min(), en()), "4.94065645841247E-324");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN(), en()), "Nan");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity(), en()), "+Inf");
    EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity(), en()), "-Inf");
}

// Whole numbers take a shorter way; it must give the general format's text.
TEST(NumberFormatTest, FloatToStrOfWholeNumbersIsTheGeneralFormat)
{
    std::vector<double> values{0, 1, -1, 2, 10, 96, 100, 1000, 65535, 1e6, 123456789, -987654321,
                               4294967296.0, 999999999999999.0, -999999999999999.0, 1e15 - 1, 1e14, 5e14};
    for (double v = 1; v < 1e15; v = v * 7 + 3)
        values.push_back(v), values.push_back(-v);
    for (double v : values)
        for (const TFormatSettings &settings : {en(), ru()})
            EXPECT_EQ(FloatToStr(v, settings), FloatToStrF(v, ffGeneral, 15, 0, settings)) << v;
}

// Values with few digits take the shortest text; it must give the general
// format's text, also at the edges of the plain notation and for values
// whose shortest text is longer than 15 digits.
TEST(NumberFormatTest, FloatToStrOfShortValuesIsTheGeneralFormat)
{
    std::vector<double> values{0.5, 0.1, 0.3, 94.4882, 0.1 + 0.2, 1e-5, 1.5e-5, 9.99e-6, 0.000123, 1e14 + 0.5,
                               99999999999999.9, 999999999999999.9, 123456789.123456, 2.0 / 3, 1.0 / 3e5,
                               7.0 / 9e-3, 5e-324, 1.7976931348623157e308, 1e15 + 0.5, 12345.678901234567};
    std::uint64_t seed = 12345;
    auto next = [&seed] { return seed = seed * 6364136223846793005ULL + 1442695040888963407ULL; };
    for (int i = 0; i < 20000; ++i) {
        const double digits = double(next() >> 11) / double(1ULL << 53) * 1e6;
        values.push_back(std::round(digits) / std::pow(10.0, int(next() % 24) - 8));
        values.push_back(std::bit_cast<double>(next()));
    }
    for (double v : values)
        for (const TFormatSettings &settings : {en(), ru()})
            for (double x : {v, -v})
                EXPECT_EQ(FloatToStr(x, settings), FloatToStrF(x, ffGeneral, 15, 0, settings)) << x;
}

TEST(NumberFormatTest, FloatToStrFFormats)
{
    EXPECT_EQ(FloatToStrF(1234.5, ffFixed, 15, 2, en()), "1234.50");
    EXPECT_EQ(FloatToStrF(1234.5, ffNumber, 15, 1, ru()), QString::fromUtf8("1\u00A0234,5"));
    EXPECT_EQ(FloatToStrF(12.5, ffExponent, 4, 4, en()), "1.250E+0001");
    EXPECT_EQ(FloatToStrF(5, ffExponent, 15, 0, en()), "5.00000000000000");
    EXPECT_EQ(FloatToStrF(-12.5, ffCurrency, 15, 2, en()), "($12.50)");
    EXPECT_EQ(FloatToStrF(-12.5, ffCurrency, 15, 2, ru()), QString::fromUtf8("-12,50 ₽"));
    EXPECT_EQ(FloatToStrF(-0.001, ffFixed, 15, 2, en()), "0.00");
}

TEST(NumberFormatTest, StrToFloatFollowsTheDecimalSeparator)
{
    EXPECT_EQ(StrToFloat(" 2,5 ", ru()), 2.5);
    EXPECT_EQ(StrToFloat("-1,5e+3", ru()), -1500);
    EXPECT_EQ(StrToFloat(",5", ru()), 0.5);
    EXPECT_EQ(StrToFloat("5,", ru()), 5);
    EXPECT_EQ(StrToFloat("41982.6347830324", en()), 41982.6347830324);
    EXPECT_EQ(StrToFloat("1e-400", en()), 0);
    double v = 7;
    for (const char *bad : {"2.5", "", " ", ",", "e5", "1e", "1e+", "Inf", "NaN", "1 000", "1,2,3",
                            "- 1", "12a", "\t1", "1e400", "$10"}) {
        EXPECT_FALSE(TryStrToFloat(QString::fromLatin1(bad), v, ru())) << bad;
    }
    EXPECT_EQ(v, 7);
    EXPECT_EQ(message([] { StrToFloat(QString::fromUtf8("Ошибка при чтении!"), russianFormatSettings()); }),
              "'Ошибка при чтении!' is not a valid floating point value");
    EXPECT_EQ(message([] { StrToFloat("", russianFormatSettings()); }),
              "'' is not a valid floating point value");
}

TEST(NumberFormatTest, StrToIntDecimalAndHexadecimal)
{
    EXPECT_EQ(StrToInt(" 12"), 12);
    EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    int v = 3;
    for (const char *bad : {"12 ", "", "-", "$", "12a", "1.5", "2147483648", "-2147483649",
                            "$100000000", "%101", "&17", "+-1"})
        EXPECT_FALSE(TryStrToInt(QString::fromLatin1(bad), v)) << bad;
    EXPECT_EQ(v, 3);
    EXPECT_EQ(StrToIntDef("x", -1), -1);
    EXPECT_EQ(message([] { StrToInt("12a"); }), "'12a' is not a valid integer value");
    EXPECT_EQ(message([] { StrToInt64("99999999999999999999"); }),
              "'99999999999999999999' is not a valid integer value");
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
}

TEST(NumberFormatTest, RoundSendsHalvesToEven)
{
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.7), -3);
    EXPECT_EQ(RoundHalfEven(0.49999999999999994), 0);
    EXPECT_THROW(RoundHalfEven(1e30), EInvalidOp);
    EXPECT_THROW(RoundHalfEven(std::nan("")), EInvalidOp);
}

TEST(NumberFormatTest, PrintfStyleFormat)
{
    EXPECT_EQ(Format("%8.3f|%-6d|%s|%x|%.3e|%g|%n|%m",
                     {3.14159, 42, "abc", 255, 1234.5, 0.0001, 1234567.5, 12.5}, en()),
              "   3.142|42    |abc|FF|1.23E+003|0.0001|1,234,567.50|$12.50");
    EXPECT_EQ(Format("%2.2f", {1234.5}, ru()), "1234,50");
    EXPECT_EQ(Format("%e", {1234.5}, en()), "1.23450000000000E+003"); // 15 digits by default
    EXPECT_EQ(Format("%g", {0.1}, en()), "0.1");
    EXPECT_EQ(Format("%1:s-%0:s-%s", {"a", "b"}, en()), "b-a-b");
    EXPECT_EQ(Format("%*.*f|%-*d|", {8, 2, 3.14159, 4, 7}, en()), "    3.14|7   |");
    EXPECT_EQ(Format("%.4d|%.4d|%5.1s|100%%", {42, -42, "xyz"}, en()), "0042|-0042|    x|100%");
    EXPECT_EQ(Format("%d", {qlonglong(12345678901)}, en()), "12345678901");
    EXPECT_EQ(Format("%x|%u", {-1, -1}, en()), "FFFFFFFF|4294967295");
    EXPECT_EQ(Format("%s", {QChar(u'Ж')}, en()), QString::fromUtf8("Ж"));
    for (const char *bad : {"%d", "%f", "%", "abc%", "%5", "%-", "%q", "%d %d", "%*d", "%1:"}) {
        EXPECT_EQ(message([bad] { Format(QString::fromLatin1(bad), {QString("x")}, englishFormatSettings()); }),
                  std::string("Format '") + bad + "' invalid or incompatible with argument")
            << bad;
    }
    EXPECT_EQ(message([] { Format("%d", {true}); }), "Format '%d' invalid or incompatible with argument");
    EXPECT_EQ(message([] { Format("%d", {1.5}); }), "Format '%d' invalid or incompatible with argument");
}

TEST(NumberFormatTest, FormatRefusesWidthsBeyondTheTextLimit)
{
    // Widths and precisions asking for more than 2^26 characters fail with
    // a message instead of building gigabytes of padding.
    for (const char *huge : {"%2147483647d", "%.2147483647d", "%100000000s", "%-67108865d", "%.67108865u"}) {
        EXPECT_EQ(message([huge] { Format(QString::fromLatin1(huge), {1}, en()); }),
                  std::string("Format '") + huge + "' asks for a text longer than the 67108864 characters allowed")
            << huge;
    }
    EXPECT_THROW(Format("%*d", {2147483647, 1}, en()), EOutOfMemory);
    EXPECT_THROW(IntToHex(1, 100000000), EOutOfMemory);
    // So does a text that the directives together make too long.
    EXPECT_THROW(Format("%40000000d%40000000d", {1, 2}, en()), EOutOfMemory);
    EXPECT_EQ(Format("%12d|%.12d", {1, 2}, en()), "           1|000000000002");
}

TEST(NumberFormatTest, SettingsScopeRestores)
{
    const TFormatSettings before = FormatSettings();
    {
        TFormatSettingsScope scope(russianFormatSettings());
        EXPECT_EQ(FloatToStr(2.5), "2,5");
        EXPECT_EQ(StrToFloat("2,5"), 2.5);
        {
            TFormatSettingsScope inner(englishFormatSettings());
            EXPECT_EQ(FormatFloat("0.0", 2.5), "2.5");
        }
        EXPECT_EQ(FormatFloat("0.0", 2.5), "2,5");
    }
    EXPECT_EQ(FormatSettings().DecimalSeparator, before.DecimalSeparator);
}
