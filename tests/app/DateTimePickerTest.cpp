// The date picker: long date text of the regional settings, its own time of
// day, stepping with the keyboard, the drop-down calendar.

#include "app/DateTimePicker.h"
#include "base/FormatSettings.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QVBoxLayout>
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
    // Letters change nothing.
    QTest::keyClicks(&picker, "ab");
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

namespace {

// The text of each part of the picker's display, by making it current.
QString partText(TDateTimePicker &picker, TDateTimePicker::TPartKind kind)
{
    picker.SetCurrentPart(kind);
    const auto [start, length] = picker.CurrentPartRange();
    return picker.text().mid(start, length);
}

// A window with a line edit before the picker, so that Tab moves into it as
// the operator would.
struct TPickerWindow {
    QWidget Window;
    QLineEdit *Before = new QLineEdit(&Window);
    TDateTimePicker *Picker;
    bool Active = false;
    explicit TPickerWindow(TDateTime value) : Picker(new TDateTimePicker(value, &Window))
    {
        auto *layout = new QVBoxLayout(&Window);
        layout->addWidget(Before);
        layout->addWidget(Picker);
        Window.show();
        Window.activateWindow();
        Active = QTest::qWaitForWindowActive(&Window);
        Before->setFocus();
    }
    // Tab into the picker, then the keys.
    void Type(const QString &keys)
    {
        Before->setFocus();
        QTest::keyClick(Before, Qt::Key_Tab);
        QTest::keyClicks(Picker, keys);
    }
};

} // namespace

// Every format is cut into its day, month and year so that the pieces make
// exactly the text the whole format gives.
TEST(DateTimePicker, PartsOfTheLongDateText)
{
    using K = TDateTimePicker::TPartKind;
    const TDateTime value = EncodeDate(2015, 5, 3) + 0.5;
    {
        TFormatSettingsScope russian(russianFormatSettings());
        TDateTimePicker picker(value);
        EXPECT_EQ(picker.text(), "3 мая 2015 г.");
        EXPECT_EQ(partText(picker, K::Day), "3");
        EXPECT_EQ(partText(picker, K::Month), "мая");
        EXPECT_EQ(partText(picker, K::Year), "2015");
    }
    {
        TFormatSettingsScope english(englishFormatSettings());
        TDateTimePicker picker(value);
        EXPECT_EQ(picker.text(), "Sunday, May 3, 2015");
        EXPECT_EQ(partText(picker, K::Month), "May");
        EXPECT_EQ(partText(picker, K::Day), "3");
    }
    for (const QLocale &locale : {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Kazakh, QLocale::Kazakhstan),
                                  QLocale(QLocale::Japanese, QLocale::Japan), QLocale(QLocale::English, QLocale::UnitedStates)}) {
        TFormatSettings settings = localeFormatSettings(locale);
        for (const QString &format : {settings.LongDateFormat, QStringLiteral("ddddd"), QStringLiteral("dddddd 'and' yy/m/d")}) {
            settings.LongDateFormat = format == QStringLiteral("dddddd 'and' yy/m/d")
                ? localeFormatSettings(locale).LongDateFormat + " 'and' yy/m/d"
                : format;
            TFormatSettingsScope scope(settings);
            TDateTimePicker picker(EncodeDate(2009, 11, 27));
            EXPECT_EQ(picker.text(), FormatDateTime(settings.LongDateFormat, picker.DateTime()))
                << locale.name().toStdString() << " " << settings.LongDateFormat.toStdString();
            EXPECT_EQ(picker.text(), picker.DisplayText());
        }
    }
}

// With the keyboard alone: Tab into the picker, type the day, and the month
// and year follow, the parts passing on by themselves or by a separator.
TEST(DateTimePicker, TypedDigitsSetDayMonthAndYear)
{
    using K = TDateTimePicker::TPartKind;
    TFormatSettingsScope russian(russianFormatSettings());
    TPickerWindow w(EncodeDate(2020, 1, 31) + 0.25);
    ASSERT_TRUE(w.Active);
    int changes = 0;
    QObject::connect(w.Picker, &TDateTimePicker::Changed, [&] { ++changes; });

    w.Type("15062016");
    EXPECT_EQ(w.Picker->Date(), EncodeDate(2016, 6, 15));
    EXPECT_DOUBLE_EQ(w.Picker->DateTime() - w.Picker->Date(), 0.25) << "the time of day stays";
    EXPECT_EQ(changes, 3) << "one change per part";
    EXPECT_EQ(w.Picker->text(), "15 июня 2016 г.");

    // Short forms end with a separator; "4" is a whole day and 2 a whole month.
    w.Type("1.2.99");
    QTest::keyClick(w.Picker, Qt::Key_Return);
    EXPECT_EQ(w.Picker->Date(), EncodeDate(1999, 2, 1)) << "two-digit years lie in the century window";
    w.Type("4.3.2001"); // the dot after a part that passed on by itself changes nothing
    EXPECT_EQ(w.Picker->Date(), EncodeDate(2001, 3, 4));

    // A day past the month's end is its last day; a month or year that
    // shortens the month does the same.
    w.Type("31");
    EXPECT_EQ(w.Picker->Date(), EncodeDate(2001, 3, 31));
    EXPECT_EQ(w.Picker->CurrentPart(), K::Month);
    QTest::keyClick(w.Picker, Qt::Key_2);
    EXPECT_EQ(w.Picker->Date(), EncodeDate(2001, 2, 28));
    QTest::keyClicks(w.Picker, "2004");
    w.Picker->SetCurrentPart(K::Day);
    QTest::keyClicks(w.Picker, "30");
    EXPECT_EQ(w.Picker->Date(), EncodeDate(2004, 2, 29));

    // Digits that cannot make the part start it again; zero is no day.
    w.Picker->SetCurrentPart(K::Month);
    QTest::keyClicks(w.Picker, "19");
    EXPECT_EQ(w.Picker->Date(), EncodeDate(2004, 9, 29)) << "1 then 9: 19 is no month, 9 is";
    w.Picker->SetCurrentPart(K::Day);
    QTest::keyClicks(w.Picker, "00");
    EXPECT_EQ(w.Picker->Date(), EncodeDate(2004, 9, 29));

    // Typed digits show in their part until they take effect; Escape and
    // Backspace take them back, leaving the picker takes them.
    w.Picker->SetCurrentPart(K::Year);
    QTest::keyClicks(w.Picker, "19");
    EXPECT_EQ(w.Picker->text(), "29 сентября 19 г.");
    EXPECT_EQ(w.Picker->Date(), EncodeDate(2004, 9, 29));
    QTest::keyClick(w.Picker, Qt::Key_Backspace);
    QTest::keyClick(w.Picker, Qt::Key_Escape);
    EXPECT_EQ(w.Picker->text(), "29 сентября 2004 г.");
    QTest::keyClicks(w.Picker, "1987");
    EXPECT_EQ(w.Picker->Date(), EncodeDate(1987, 9, 29));
    QTest::keyClicks(w.Picker, "20");
    QTest::keyClick(w.Picker, Qt::Key_Tab);
    EXPECT_EQ(w.Picker->Date(), EncodeDate(2020, 9, 29));
    EXPECT_FALSE(w.Picker->hasFocus());

    // Left and Right choose the part; the arrows up and down still step days.
    QTest::keyClick(w.Before, Qt::Key_Tab);
    EXPECT_EQ(w.Picker->CurrentPart(), K::Day);
    QTest::keyClick(w.Picker, Qt::Key_Right);
    QTest::keyClick(w.Picker, Qt::Key_Right);
    QTest::keyClick(w.Picker, Qt::Key_Right);
    EXPECT_EQ(w.Picker->CurrentPart(), K::Year);
    QTest::keyClick(w.Picker, Qt::Key_Left);
    QTest::keyClicks(w.Picker, "12");
    EXPECT_EQ(w.Picker->Date(), EncodeDate(2020, 12, 29));
    QTest::keyClick(w.Picker, Qt::Key_Up);
    EXPECT_EQ(w.Picker->Date(), EncodeDate(2020, 12, 30));
    EXPECT_EQ(w.Picker->findChild<QLineEdit *>()->selectedText(), "2020") << "the current part is highlighted";
}

// Clicking a part makes it the one typed into; the English order (month
// first) works the same way.
TEST(DateTimePicker, ClickChoosesThePart)
{
    using K = TDateTimePicker::TPartKind;
    TFormatSettingsScope english(englishFormatSettings());
    TPickerWindow w(EncodeDate(2015, 5, 3));
    ASSERT_TRUE(w.Active);
    w.Type("12252021");
    EXPECT_EQ(w.Picker->Date(), EncodeDate(2021, 12, 25));

    w.Picker->SetCurrentPart(K::Day);
    const auto [start, length] = w.Picker->CurrentPartRange();
    QLineEdit *edit = w.Picker->findChild<QLineEdit *>();
    int x = 0;
    while (x < edit->width() && edit->cursorPositionAt(QPoint(x, edit->height() / 2)) != start + 1)
        ++x;
    ASSERT_LT(x, edit->width());
    w.Picker->SetCurrentPart(K::Year);
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(x, edit->height() / 2));
    EXPECT_EQ(w.Picker->CurrentPart(), K::Day);
    EXPECT_EQ(edit->selectedText(), "25");
    QTest::keyClicks(w.Picker, "7");
    EXPECT_EQ(w.Picker->Date(), EncodeDate(2021, 12, 7));
    EXPECT_EQ(length, 2);
}
