#include "base/DateTime.h"
#include "base/Errors.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(DateTimeTest, EncodeDecodeAndLimits)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(2015, 5, 3), 42127);
    EXPECT_EQ(EncodeDate(1, 1, 1), MinDateTime);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
    EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    int y, m, d, h, n, s, ms;
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ((std::vector<int>{y, m, d, h, n, s, ms}), (std::vector<int>{1899, 12, 29, 6, 0, 0, 0}));
    DecodeDate(EncodeDate(2024, 12, 31) + EncodeTime(23, 59, 59, 999), y, m, d);
    EXPECT_EQ((std::vector<int>{y, m, d}), (std::vector<int>{2024, 12, 31}));
    DecodeDate(-700000, y, m, d);
    EXPECT_EQ(y, 0);
    TDateTime t;
    EXPECT_FALSE(TryEncodeDate(2015, 2, 29, t));
    EXPECT_FALSE(TryEncodeDate(0, 1, 1, t));
    EXPECT_FALSE(TryEncodeDate(10000, 1, 1, t));
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, t));
    EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, t));
    EXPECT_THROW(EncodeDate(2015, 13, 1), EConvertError);
    EXPECT_THROW(EncodeTime(1, 60, 0, 0), EConvertError);
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_EQ(DaysInMonth(2016, 2), 29);
    EXPECT_EQ(DaysInMonth(2015, 2), 28);
    EXPECT_EQ(DayOfWeek(EncodeDate(2015, 5, 3)), 1); // a Sunday
    EXPECT_EQ(DayOfWeek(-1), 6);
}

TEST(DateTimeTest, PicturesAndShortTexts)
{
    const TDateTime v = EncodeDate(2015, 5, 3) + EncodeTime(13, 4, 5, 6);
    EXPECT_EQ(DateToStr(v, ru()), "03.05.2015");
    EXPECT_EQ(DateToStr(v, en()), "5/3/2015");
    EXPECT_EQ(FormatDateTime("dddddd", v, ru()), QString::fromUtf8("3 мая 2015 г."));
    EXPECT_EQ(FormatDateTime("dddd, d mmmm", v, ru()), QString::fromUtf8("воскресенье, 3 мая"));
    EXPECT_EQ(FormatDateTime("hh:mm:ss.zzz", v, ru()), "13:04:05.006");
    EXPECT_EQ(FormatDateTime("h:mm am/pm", v, en()), "1:04 pm");
    EXPECT_EQ(FormatDateTime("c", v, en()), "5/3/2015 1:04:05 PM");
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2015, 5, 3), ru()), "03.05.2015");
    EXPECT_EQ(FormatDateTime("", v, ru()), "03.05.2015 13:04:05");
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy", v, en()), "03.05.2015");
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd 'at' t", v, ru()), "2015.05.03 at 13:04");
    EXPECT_EQ(FormatDateTime("\"mm\" mm", v, ru()), "mm 05");
    EXPECT_EQ(DateTimeToStr(v, ru()), "03.05.2015 13:04:05");
    EXPECT_EQ(TimeToStr(v, ru()), "13:04:05");
}

TEST(DateTimeTest, StrToDateFollowsTheShortDateFormat)
{
    EXPECT_EQ(StrToDate("03.05.2015", ru()), EncodeDate(2015, 5, 3));
    EXPECT_EQ(StrToDate(" 3.5.2015 ", ru()), EncodeDate(2015, 5, 3));
    EXPECT_EQ(StrToDate("5/3/2015", en()), EncodeDate(2015, 5, 3));
    TFormatSettings ymd = ru();
    ymd.ShortDateFormat = "yyyy-mm-dd";
    ymd.DateSeparator = '-';
    EXPECT_EQ(StrToDate("2015-05-03", ymd), EncodeDate(2015, 5, 3));
    const int year = QDate::currentDate().year();
    EXPECT_EQ(StrToDate("03.05", ru()), EncodeDate(year, 5, 3));
    int y, m, d;
    DecodeDate(StrToDate("03.05.15", ru()), y, m, d);
    EXPECT_EQ(y, 2015);
    TDateTime t = 42;
    for (const char *bad : {"05/03/2015", "31.02.2015", "03.05.2015x", "", "abc", "3", "03.05.2015.1",
                            "1 2.05.2015", "00.05.2015"})
        EXPECT_FALSE(TryStrToDate(QString::fromLatin1(bad), t, ru())) << bad;
    EXPECT_EQ(t, 42);
    try {
        StrToDate("05/03/2015", ru());
        FAIL();
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), "'05/03/2015' is not a valid date");
    }
}

TEST(DateTimeTest, StrToTimeAndDateTime)
{
    EXPECT_EQ(StrToTime("6:00", ru()), 0.25);
    EXPECT_EQ(StrToTime("1:30 PM", en()), EncodeTime(13, 30, 0, 0));
    EXPECT_EQ(StrToTime("12:00:01,5", ru()), EncodeTime(12, 0, 1, 5));
    EXPECT_EQ(StrToDateTime("03.05.2015 13:04:05", ru()),
              EncodeDate(2015, 5, 3) + EncodeTime(13, 4, 5, 0));
    EXPECT_EQ(StrToDateTime("13:04", ru()), EncodeTime(13, 4, 0, 0));
    TDateTime t;
    EXPECT_FALSE(TryStrToTime("25:00", t, ru()));
    EXPECT_FALSE(TryStrToTime("13:00 PM", t, en()));
    EXPECT_FALSE(TryStrToDateTime("03.05.2015 13:04x", t, ru()));
    try {
        StrToTime("x", ru());
        FAIL();
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), "'x' is not a valid time");
    }
    try {
        StrToDateTime("x", ru());
        FAIL();
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), "'x' is not a valid date and time");
    }
}

TEST(DateTimeTest, QtConversions)
{
    const QDateTime qt(QDate(2015, 5, 3), QTime(13, 4, 5, 6));
    const TDateTime v = qDateTimeToDateTime(qt);
    EXPECT_EQ(dateTimeToQDateTime(v), qt);
    EXPECT_EQ(dateTimeToQDate(v), QDate(2015, 5, 3));
    EXPECT_EQ(qDateToDateTime(QDate(1899, 12, 30)), 0);
    EXPECT_EQ(qDateTimeToDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_FALSE(dateTimeToQDate(-800000).isValid());
    EXPECT_LT(std::abs(Now() - qDateTimeToDateTime(QDateTime::currentDateTime())), 1.0 / 24);
    EXPECT_EQ(Date(), std::floor(Now()) );
}
