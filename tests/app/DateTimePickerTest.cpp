// The date picker: long date text of the regional settings, its own time of
// day, stepping with the keyboard, the drop-down calendar.

#include "app/DateTimePicker.h"
#include "base/FormatSettings.h"

#include <QCalendarWidget>
#include <QTest>
#include <gtest/gtest.h>

TEST(DateTimePicker, ShowsTheLongDateOfTheRegionalSettings)
{
    TFormatSettingsScope russian(russianFormatSettings());
    TDateTimePicker picker(EncodeDate(2015, 5, 3) + EncodeTime(14, 30, 0, 0));
    EXPECT_EQ(picker.DisplayText(), FormatDateTime(FormatSettings().LongDateFormat, picker.DateTime()));
    EXPECT_EQ(picker.text(), picker.DisplayText());
    EXPECT_TRUE(picker.text().contains(QStringLiteral("2015")));

    TFormatSettingsScope english(englishFormatSettings());
    picker.SetDate(EncodeDate(2016, 12, 31));
    EXPECT_EQ(picker.text(), FormatDateTime(englishFormatSettings().LongDateFormat, picker.DateTime()));
    EXPECT_TRUE(picker.text().contains(QStringLiteral("December")));
}

TEST(DateTimePicker, KeepsItsTimeOfDayAndComparesByDate)
{
    const TDateTime noonish = EncodeTime(12, 34, 56, 0);
    TDateTimePicker a(EncodeDate(2015, 1, 10) + noonish);
    TDateTimePicker b(EncodeDate(2015, 1, 10) + EncodeTime(1, 0, 0, 0));
    int changes = 0;
    QObject::connect(&a, &TDateTimePicker::Changed, [&] { ++changes; });

    a.SetDate(EncodeDate(2020, 2, 29) + 0.9); // a time in the argument is ignored
    EXPECT_DOUBLE_EQ(a.DateTime(), EncodeDate(2020, 2, 29) + noonish);
    EXPECT_EQ(a.Date(), EncodeDate(2020, 2, 29));
    EXPECT_EQ(changes, 1);
    a.SetDate(EncodeDate(2020, 2, 29));
    EXPECT_EQ(changes, 1); // nothing changed, nothing told

    b.SetDate(a.Date());
    EXPECT_EQ(a.Date(), b.Date());
    EXPECT_NE(a.DateTime(), b.DateTime());

    // Days before the epoch keep their time of day too.
    a.SetDate(EncodeDate(1899, 12, 1));
    EXPECT_EQ(a.Date(), EncodeDate(1899, 12, 1));
    a.SetDate(EncodeDate(2001, 1, 1));
    EXPECT_DOUBLE_EQ(a.DateTime(), EncodeDate(2001, 1, 1) + noonish);
}

TEST(DateTimePicker, KeyboardStepsDaysMonthsAndYears)
{
    TDateTimePicker picker(EncodeDate(2015, 1, 31) + 0.25);
    picker.show();
    QTest::keyClick(&picker, Qt::Key_Up);
    EXPECT_EQ(picker.Date(), EncodeDate(2015, 2, 1));
    QTest::keyClick(&picker, Qt::Key_Down);
    QTest::keyClick(&picker, Qt::Key_PageUp);
    EXPECT_EQ(picker.Date(), EncodeDate(2015, 2, 28));
    QTest::keyClick(&picker, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(picker.Date(), EncodeDate(2014, 2, 28));
    EXPECT_DOUBLE_EQ(picker.DateTime() - picker.Date(), 0.25);
    // Typing does not change the date.
    QTest::keyClicks(&picker, "12");
    EXPECT_EQ(picker.Date(), EncodeDate(2014, 2, 28));
    // The last day there is.
    picker.SetDate(EncodeDate(9999, 12, 31));
    QTest::keyClick(&picker, Qt::Key_Up);
    EXPECT_EQ(picker.Date(), EncodeDate(9999, 12, 31));
}

TEST(DateTimePicker, CalendarChoosesADay)
{
    TDateTimePicker picker(EncodeDate(2015, 6, 15) + 0.5);
    picker.show();
    QTest::keyClick(&picker, Qt::Key_F4);
    auto *calendar = picker.findChild<QCalendarWidget *>();
    ASSERT_NE(calendar, nullptr);
    EXPECT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->selectedDate(), QDate(2015, 6, 15));
    emit calendar->clicked(QDate(2015, 6, 20));
    EXPECT_FALSE(calendar->isVisible());
    EXPECT_EQ(picker.Date(), EncodeDate(2015, 6, 20));
    EXPECT_DOUBLE_EQ(picker.DateTime() - picker.Date(), 0.5);
}
