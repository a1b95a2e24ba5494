// The rules of the entry window as the operator meets them: hours format and
// total on leaving a cell, the conversion error box, the checks before
// printing, clearing, the category mirrors and the typing limits.

#include "AppTestSupport.h"

#include "base/DateTime.h"
#include "base/Errors.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QStringList hours(const TfmMain &w)
{
    QStringList texts;
    for (int i = 1; i <= 11; ++i)
        texts << w.Component<TEdit>(QStringLiteral("edt_%1").arg(i))->text();
    return texts;
}

void fillEverything(TfmMain &w)
{
    w.Edit_1->setText(QStringLiteral("АНО ДПО «Автошкола»"));
    w.Edit_3->setText(QStringLiteral("г. Тверь"));
    w.Edit_4->setText(QStringLiteral("АБ"));
    w.Edit_5->setText(QStringLiteral("Иванов Иван Иванович"));
    w.Edit_6->setText(QStringLiteral("категории \"В\""));
    w.Edit_7->setText(QStringLiteral("водитель"));
    w.Edit_8->setText(QStringLiteral("B"));
    w.Edit_9->setText(QStringLiteral("Петров П. П."));
    w.Edit_10->setText(QStringLiteral("17"));
    w.DateTimePicker1->SetDate(EncodeDate(2015, 3, 2));
    w.DateTimePicker2->SetDate(EncodeDate(2015, 5, 29));
}

} // namespace

TEST(EntryRules, LeavingAnHoursCellNormalisesAllCellsAndTheTotal)
{
    TShownMainWindow shown;
    ASSERT_TRUE(shown.Active);
    TfmMain &w = *shown.Window;
    shown.TypeAndLeave(w.edt_3, QStringLiteral("2,50"));
    EXPECT_EQ(w.edt_3->text(), QStringLiteral("2,5"));
    EXPECT_EQ(w.edt_11->text(), QStringLiteral("2,5"));

    shown.TypeAndLeave(w.edt_1, QStringLiteral("7,0"));
    EXPECT_EQ(w.edt_1->text(), "7");
    EXPECT_EQ(w.edt_11->text(), QStringLiteral("9,5"));

    // An emptied cell becomes 0; a negative value is kept and subtracted.
    shown.TypeAndLeave(w.edt_1, QString());
    EXPECT_EQ(w.edt_1->text(), "0");
    shown.TypeAndLeave(w.edt_10, QStringLiteral("-3"));
    EXPECT_EQ(w.edt_10->text(), "-3");
    EXPECT_EQ(w.edt_11->text(), QStringLiteral("-0,5"));

    // Rounding to one decimal, and a cell set by the program (not typed) is
    // normalised along with the one that was left.
    w.edt_8->setText(QStringLiteral("1,26"));
    shown.TypeAndLeave(w.edt_2, QStringLiteral("1,96"));
    EXPECT_EQ(w.edt_2->text(), "2");
    EXPECT_EQ(w.edt_8->text(), QStringLiteral("1,3"));
    EXPECT_EQ(w.edt_11->text(), QStringLiteral("2,8"));
    EXPECT_TRUE(shown.Ui.Messages.empty());
}

TEST(EntryRules, AWrongNumberStopsAtItsCellWithTheStandardErrorBox)
{
    TShownMainWindow shown;
    ASSERT_TRUE(shown.Active);
    TfmMain &w = *shown.Window;
    w.edt_1->setText(QStringLiteral("1,50"));
    w.edt_4->setText(QString());
    w.edt_6->setText(QStringLiteral("6,00"));
    w.edt_11->setText(QStringLiteral("42"));
    shown.TypeAndLeave(w.edt_5, QStringLiteral("abc"));

    ASSERT_EQ(shown.Ui.Messages.size(), 1u);
    EXPECT_EQ(shown.Ui.Messages[0].Text, QStringLiteral("'abc' is not a valid floating point value"));
    EXPECT_EQ(shown.Ui.Messages[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(shown.Ui.Messages[0].Buttons, TMsgButtons::Ok);
    EXPECT_EQ(hours(w), (QStringList{QStringLiteral("1,5"), "0", "0", "0", "abc", QStringLiteral("6,00"),
                                     "0", "0", "0", "0", "42"}));

    // The window stays usable; the decimal point of another locale is no number here.
    EXPECT_TRUE(w.isVisible());
    shown.TypeAndLeave(w.edt_5, QStringLiteral("2.5"));
    ASSERT_EQ(shown.Ui.Messages.size(), 2u);
    EXPECT_EQ(shown.Ui.Messages[1].Text, QStringLiteral("'2.5' is not a valid floating point value"));
    shown.TypeAndLeave(w.edt_5, QStringLiteral("2"));
    EXPECT_EQ(shown.Ui.Messages.size(), 2u);
    EXPECT_EQ(w.edt_6->text(), "6");
    EXPECT_EQ(w.edt_11->text(), QStringLiteral("9,5"));
}

TEST(EntryRules, SumAllReadsTheCellsAndWritesNothing)
{
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    w.edt_2->setText(QStringLiteral("3,5"));
    w.edt_9->setText(QStringLiteral("1E1"));
    EXPECT_DOUBLE_EQ(w.SumAll(), 13.5);
    EXPECT_EQ(w.edt_11->text(), "0");
    w.edt_7->setText(QString());
    try {
        w.SumAll();
        ADD_FAILURE() << "an empty cell must not parse";
    } catch (const EConvertError &error) {
        EXPECT_EQ(error.Message(), QStringLiteral("'' is not a valid floating point value"));
    }
    EXPECT_EQ(w.edt_7->text(), QString());
}

TEST(EntryRules, ChecksBeforePrintingRunInOrderAndStopAtTheFirst)
{
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    fillEverything(w);
    EXPECT_TRUE(w.CorrectAll());
    EXPECT_TRUE(shown.Ui.Messages.empty());

    // Emptying the fields one by one, in the order the checks run.
    const struct {
        std::function<void()> Spoil;
        const char *Message;
    } steps[] = {
        {[&] { w.Edit_10->setText(QString()); }, "Введите номер протокола!"},
        {[&] { w.Edit_9->setText(QString()); }, "Введите ФИО руководителя образовательной организации!"},
        {[&] { w.Edit_8->setText(QString()); }, "Введите категорию ТС!"},
        {[&] { w.DateTimePicker2->SetDateTime(w.DateTimePicker1->Date() + 0.75); },
         "Даты начала и окончания обучения совпадают!"},
        {[&] { w.Edit_7->setText(QString()); }, "Введите присвоенную квалификацию!"},
        {[&] { w.Edit_6->setText(QString()); }, "Введите название образовательной программы!"},
        {[&] { w.Edit_5->setText(QString()); }, "Введите ФИО обучающегося!"},
        {[&] { w.Edit_4->setText(QString()); }, "Введите серию свидетельства!"},
        {[&] { w.Edit_3->setText(QString()); }, "Введите наименование населенного пункта!"},
        {[&] { w.Edit_1->setText(QString()); }, "Введите наименование организации!"},
    };
    for (const auto &step : steps) {
        step.Spoil();
        shown.Ui.Messages.clear();
        EXPECT_FALSE(w.CorrectAll()) << step.Message;
        ASSERT_EQ(shown.Ui.Messages.size(), 1u) << step.Message;
        EXPECT_EQ(shown.Ui.Messages[0].Text, QString::fromUtf8(step.Message));
        EXPECT_EQ(shown.Ui.Messages[0].Buttons, TMsgButtons::Ok);
    }
}

TEST(EntryRules, WhatTheChecksLetPass)
{
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    fillEverything(w);
    // Spaces are text; the optional line, hours, grades and the other dates
    // are not checked; an end date before the start passes.
    w.Edit_1->setText(QStringLiteral("   "));
    w.Edit_2->setText(QString());
    w.edt_4->setText(QStringLiteral("abc"));
    w.DateTimePicker2->SetDate(EncodeDate(2014, 1, 1));
    EXPECT_TRUE(w.CorrectAll());
    EXPECT_TRUE(shown.Ui.Messages.empty());
}

TEST(EntryRules, ClearResetsEveryFieldAndAsksNothing)
{
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    fillEverything(w);
    w.Edit_2->setText(QStringLiteral("вторая строка"));
    w.edt_3->setText(QStringLiteral("12"));
    w.edt_11->setText(QStringLiteral("12"));
    w.cmb_4->setCurrentIndex(1);
    w.cmb_10->setCurrentIndex(5);
    w.cmb_kpp->setCurrentIndex(0);
    w.DateTimePicker3->SetDate(EncodeDate(2016, 2, 29));
    w.DateTimePicker4->SetDate(EncodeDate(2016, 3, 1));
    const TDateTime timeOfDay = w.DateTimePicker4->DateTime() - w.DateTimePicker4->Date();

    QTest::mouseClick(w.Button2, Qt::LeftButton);

    EXPECT_TRUE(shown.Ui.Messages.empty());
    const TDateTime today = Date();
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(w.Component<TEdit>(QStringLiteral("edit_%1").arg(i))->text(), QString()) << i;
        EXPECT_EQ(w.Component<TEdit>(QStringLiteral("edt_%1").arg(i))->text(), "0") << i;
        EXPECT_EQ(w.Component<QComboBox>(QStringLiteral("cmb_%1").arg(i))->currentIndex(), -1) << i;
    }
    EXPECT_EQ(w.edt_11->text(), "0");
    EXPECT_EQ(w.cmb_kpp->currentIndex(), -1);
    EXPECT_EQ(w.Label1->text(), QString());
    EXPECT_EQ(w.Label3->text(), QString());
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(w.Component<TDateTimePicker>(QStringLiteral("DateTimePicker%1").arg(i))->Date(), today);
    EXPECT_DOUBLE_EQ(w.DateTimePicker4->DateTime() - w.DateTimePicker4->Date(), timeOfDay);
    EXPECT_FALSE(w.N3->isEnabled());
}

TEST(EntryRules, CategoryIsMirroredOnEveryKeystroke)
{
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    w.Edit_8->setFocus();
    QTest::keyClicks(w.Edit_8, "C");
    EXPECT_EQ(w.Label1->text(), "C");
    QTest::keyClicks(w.Edit_8, "1E");
    for (QLabel *label : {w.Label1, w.Label2, w.Label3}) {
        EXPECT_EQ(label->text(), "C1E");
        EXPECT_GT(label->width(), 10); // sized to its text
    }
    EXPECT_EQ(w.Label1->pos(), QPoint(904, 213));
    w.Edit_8->setText(QStringLiteral("D"));
    EXPECT_EQ(w.Label2->text(), "D");
}

TEST(EntryRules, TypingLimitsAndTheTotalCell)
{
    TShownMainWindow shown;
    ASSERT_TRUE(shown.Active);
    TfmMain &w = *shown.Window;
    w.Edit_4->setFocus();
    QTest::keyClicks(w.Edit_4, "ABCDE");
    EXPECT_EQ(w.Edit_4->text(), "ABCD");

    w.edt_2->setFocus();
    w.edt_2->clear();
    QTest::keyClicks(w.edt_2, "123456");
    EXPECT_EQ(w.edt_2->text(), "12345");

    // What the program writes is never cut short, and the operator may shorten it.
    w.edt_2->setText(QStringLiteral("Ошибка при чтении!"));
    EXPECT_EQ(w.edt_2->text(), QStringLiteral("Ошибка при чтении!"));
    w.edt_2->end(false);
    QTest::keyClick(w.edt_2, Qt::Key_Backspace);
    EXPECT_EQ(w.edt_2->text(), QStringLiteral("Ошибка при чтении"));
    QTest::keyClicks(w.edt_2, "a");
    EXPECT_EQ(w.edt_2->text(), QStringLiteral("Ошибка при чтении"));

    // A total longer than the cell's limit is shown whole.
    w.edt_2->setText(QStringLiteral("99999"));
    w.edt_3->setText(QStringLiteral("99999"));
    shown.TypeAndLeave(w.edt_1, QStringLiteral("1,5"));
    EXPECT_EQ(w.edt_11->text(), QStringLiteral("199999,5"));

    // The total cell takes neither focus nor typing.
    w.edt_11->setFocus();
    EXPECT_FALSE(w.edt_11->hasFocus());
    QTest::keyClicks(w.edt_11, "7");
    EXPECT_EQ(w.edt_11->text(), QStringLiteral("199999,5"));
}

TEST(EntryRules, ClosingFromAWrongCellShowsNothing)
{
    TShownMainWindow shown;
    ASSERT_TRUE(shown.Active);
    TfmMain &w = *shown.Window;
    w.edt_5->setFocus();
    QTest::keyClicks(w.edt_5, "x");
    QTest::keyClick(w.edt_5, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(shown.Ui.Messages.empty());
}

TEST(EntryRules, PrintButtonChoosesTheMenuItem)
{
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    int printed = 0;
    QObject::connect(w.N7, &QAction::triggered, [&] { ++printed; });
    QTest::mouseClick(w.Button1, Qt::LeftButton);
    EXPECT_EQ(printed, 1);
    w.N7->setEnabled(false);
    QTest::mouseClick(w.Button1, Qt::LeftButton);
    EXPECT_EQ(printed, 1);
}
