// The entry window as built: names, places, fonts, limits, item lists,
// menus, initial values, the pictures, and closing with Escape.

#include "AppTestSupport.h"

#include "base/DateTime.h"
#include "base/Errors.h"
#include "report/render/SystemFonts.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

QStringList items(const QComboBox *box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list << box->itemText(i);
    return list;
}

} // namespace

TEST(MainWindow, CaptionPlaceAndRegions)
{
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Свидетельство о профессии водителя (книжка А5 с протоколом)"));
    EXPECT_EQ(w.objectName(), "fmMain");
    EXPECT_EQ(w.pos(), QPoint(0, 0));
    EXPECT_FALSE(w.isMaximized());
    EXPECT_EQ(w.centralWidget()->size(), QSize(1280, 641));
    EXPECT_EQ(w.font().family(), "Tahoma");
    EXPECT_EQ(w.font().pixelSize(), 11);

    EXPECT_EQ(w.ScrollBox1->size(), QSize(1277, 523));
    EXPECT_EQ(w.Panel1->height(), 66);
    EXPECT_EQ(w.Panel2->height(), 52);
    EXPECT_EQ(w.Panel2->geometry().bottom(), 640);
    EXPECT_EQ(w.Panel1->geometry().bottom() + 1, w.Panel2->y());
    EXPECT_EQ(w.Splitter1->x(), 1277);
    // The booklet area opens scrolled as designed.
    EXPECT_EQ(w.ScrollBox1->horizontalScrollBar()->value(), 129);
    EXPECT_EQ(w.ScrollBox1->verticalScrollBar()->value(), 5);
}

TEST(MainWindow, ControlsCarryTheirNamesPlacesAndLooks)
{
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    const struct {
        const char *Name;
        QRect Box;
        int FontPixels;
        bool Bold;
    } controls[] = {
        {"Edit_1", {16, 24, 657, 22}, 12, false},   {"Edit_2", {16, 54, 657, 22}, 12, false},
        {"Edit_3", {164, 88, 365, 22}, 12, false},  {"Edit_4", {80, 191, 81, 21}, 11, true},
        {"Edit_5", {16, 237, 657, 24}, 13, false},  {"DateTimePicker1", {48, 275, 297, 21}, 11, false},
        {"DateTimePicker2", {376, 275, 297, 21}, 11, false},
        {"Edit_6", {16, 350, 657, 22}, 12, false},  {"Edit_7", {244, 402, 429, 21}, 11, false},
        {"Edit_8", {244, 429, 101, 21}, 11, true},  {"Edit_10", {328, 456, 110, 21}, 11, false},
        {"DateTimePicker4", {35, 485, 342, 21}, 11, false},
        {"edt_1", {1216, 55, 51, 21}, 11, false},   {"edt_4", {1216, 136, 51, 21}, 11, false},
        {"edt_7", {1216, 295, 51, 21}, 11, false},  {"edt_10", {1216, 458, 51, 21}, 11, false},
        {"edt_11", {1216, 486, 51, 21}, 11, false}, {"cmb_1", {1299, 55, 86, 19}, 9, false},
        {"cmb_2", {1299, 81, 86, 19}, 9, false},    {"cmb_5", {1299, 200, 86, 19}, 9, false},
        {"cmb_10", {1299, 459, 86, 19}, 9, false},  {"cmb_kpp", {721, 307, 224, 19}, 9, true},
        {"Image4", {0, 0, 698, 515}, 11, false},    {"Image1", {698, 0, 697, 515}, 11, false},
        // Panels.
        {"DateTimePicker3", {221, 22, 205, 21}, 11, false},
        {"Edit_9", {597, 22, 205, 21}, 11, false},  {"Button3", {906, 12, 238, 40}, 13, true},
        {"Button1", {787, 6, 154, 40}, 13, true},   {"Button2", {947, 6, 155, 40}, 13, true},
        {"BitBtn2", {1108, 6, 161, 40}, 13, true},
    };
    for (const auto &c : controls) {
        auto *control = qobject_cast<QWidget *>(w.FindComponent(QString::fromLatin1(c.Name)));
        ASSERT_NE(control, nullptr) << c.Name;
        EXPECT_EQ(control->geometry(), c.Box) << c.Name;
        EXPECT_EQ(control->font().family(), "Tahoma") << c.Name;
        EXPECT_EQ(control->font().pixelSize(), c.FontPixels) << c.Name;
        EXPECT_EQ(control->font().bold(), c.Bold) << c.Name;
    }
    EXPECT_EQ(w.Label1->pos(), QPoint(904, 213));
    EXPECT_EQ(w.Label2->pos(), QPoint(833, 260));
    EXPECT_EQ(w.Label3->pos(), QPoint(1138, 289));
    EXPECT_EQ(w.Label4->pos(), QPoint(18, 24));
    EXPECT_EQ(w.Label5->pos(), QPoint(469, 24));
    EXPECT_EQ(w.Label4->text(), QStringLiteral("Дата выдачи свидетельства:"));
    EXPECT_EQ(w.Label5->text(), QStringLiteral("Руководитель ОУ:"));
    EXPECT_EQ(w.Button3->text(), QStringLiteral("Настройка шаблона печати"));
    EXPECT_EQ(w.Button1->text(), QStringLiteral("ПЕЧАТЬ"));
    EXPECT_EQ(w.Button2->text(), QStringLiteral("ОЧИСТИТЬ"));
    EXPECT_EQ(w.BitBtn2->text(), QStringLiteral("Выход"));
    EXPECT_EQ(w.DateTimePicker3->parentWidget(), w.Panel1);
    EXPECT_EQ(w.Button1->parentWidget(), w.Panel2);

    // Alignment and limits.
    EXPECT_TRUE(w.Edit_1->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(w.Edit_4->alignment() & Qt::AlignLeft);
    EXPECT_TRUE(w.Edit_10->alignment() & Qt::AlignLeft);
    EXPECT_TRUE(w.Edit_9->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(w.Edit_4->MaxLength(), 4);
    EXPECT_EQ(w.Edit_1->MaxLength(), 0);
    EXPECT_EQ(w.edt_3->MaxLength(), 5);
    EXPECT_EQ(w.edt_11->MaxLength(), 6);
}

TEST(MainWindow, StartsEmptyWithZeroHoursNoSelectionAndToday)
{
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(w.Component<TEdit>(QStringLiteral("Edit_%1").arg(i))->text(), QString()) << i;
        EXPECT_EQ(w.Component<TEdit>(QStringLiteral("edt_%1").arg(i))->text(), "0") << i;
        auto *grade = w.Component<QComboBox>(QStringLiteral("cmb_%1").arg(i));
        EXPECT_EQ(grade->currentIndex(), -1) << i;
        EXPECT_FALSE(grade->isEditable()) << i;
    }
    EXPECT_EQ(w.edt_11->text(), "0");
    EXPECT_FALSE(w.edt_11->isEnabled());
    EXPECT_EQ(w.cmb_kpp->currentIndex(), -1);
    EXPECT_EQ(w.Label1->text(), QString());
    EXPECT_EQ(w.Label2->text(), QString());
    EXPECT_EQ(w.Label3->text(), QString());

    const QStringList pass{QStringLiteral("Зачтено"), QStringLiteral("Не Зачтено"), QStringLiteral("Х")};
    EXPECT_EQ(items(w.cmb_1), pass);
    EXPECT_EQ(items(w.cmb_9), pass);
    EXPECT_EQ(items(w.cmb_10), (QStringList{QStringLiteral("Отлично"), QStringLiteral("Хорошо"),
                                            QStringLiteral("Удовл."), QStringLiteral("Х"), "-", ""}));
    EXPECT_EQ(items(w.cmb_kpp),
              (QStringList{QStringLiteral("механической"), QStringLiteral("автоматической")}));
    // The Ha of the lists is the Cyrillic letter, not the Latin X.
    EXPECT_EQ(w.cmb_1->itemText(2).at(0).unicode(), 0x0425);
    EXPECT_EQ(w.cmb_10->itemText(3).at(0).unicode(), 0x0425);

    // Four pickers on today's date, with one time of day between them.
    const TDateTime today = Date();
    const TDateTimePicker *pickers[] = {w.DateTimePicker1, w.DateTimePicker2, w.DateTimePicker3,
                                        w.DateTimePicker4};
    for (const TDateTimePicker *picker : pickers) {
        EXPECT_EQ(picker->Date(), today);
        EXPECT_EQ(picker->DateTime(), w.DateTimePicker1->DateTime());
    }
}

TEST(MainWindow, MenusAndTheirInitialState)
{
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    EXPECT_EQ(w.menuBar()->objectName(), "MainMenu1");
    EXPECT_EQ(w.N1->title(), QStringLiteral("Файл"));
    EXPECT_EQ(w.N5->title(), QStringLiteral("Печать"));
    const struct {
        const char *Name;
        const char *Caption;
        bool Enabled;
    } menu[] = {
        {"N10", "Открыть", true},        {"N2", "Сохранить как...", true},
        {"N3", "Сохранить", false},      {"N4", "Выход", true},
        {"N6", "Очистить форму", true},  {"N7", "Печать свидетельства", true},
        {"N11", "Настройка шаблона печати", true},
    };
    for (const auto &item : menu) {
        auto *action = qobject_cast<QAction *>(w.FindComponent(QString::fromLatin1(item.Name)));
        ASSERT_NE(action, nullptr) << item.Name;
        EXPECT_EQ(action->text(), QString::fromUtf8(item.Caption)) << item.Name;
        EXPECT_EQ(action->isEnabled(), item.Enabled) << item.Name;
    }
    EXPECT_TRUE(w.N1->actions().contains(w.N3));
    EXPECT_TRUE(w.N5->actions().contains(w.N7));
    EXPECT_TRUE(w.N5->actions().contains(w.N11));
    EXPECT_EQ(w.N11->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));

    // A disabled menu item cannot be chosen.
    bool chosen = false;
    QObject::connect(w.N3, &QAction::triggered, [&] { chosen = true; });
    w.N3->trigger();
    EXPECT_FALSE(chosen);
}

TEST(MainWindow, FindComponentIgnoresLetterCase)
{
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    EXPECT_EQ(w.FindComponent("edit_1"), w.Edit_1);
    EXPECT_EQ(w.FindComponent("EDIT_10"), w.Edit_10);
    EXPECT_EQ(w.FindComponent("Edt_11"), w.edt_11);
    EXPECT_EQ(w.FindComponent("datetimepicker3"), w.DateTimePicker3);
    EXPECT_EQ(w.FindComponent("CMB_KPP"), w.cmb_kpp);
    EXPECT_EQ(w.FindComponent("n7"), w.N7);
    EXPECT_EQ(w.FindComponent("Edit_11"), nullptr);
    EXPECT_EQ(w.FindComponent(QString()), nullptr);
    EXPECT_THROW(w.Component<TEdit>("cmb_1"), EGeneralError);
}

TEST(MainWindow, ShowsBothBookletPagesDecodedOnlyWhenShown)
{
    {
        // The print and PDF commands build the window and never show it.
        TRecordingUserInterface ui;
        registerSystemFonts();
        TfmMain hidden;
        EXPECT_TRUE(hidden.Image4->pixmap().isNull());
        EXPECT_TRUE(hidden.Image1->pixmap().isNull());
    }
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    EXPECT_EQ(w.Image4->pixmap().size(), QSize(700, 515));
    EXPECT_EQ(w.Image1->pixmap().size(), QSize(697, 512));
    EXPECT_TRUE(shown.Ui.Messages.empty());
}

TEST(MainWindow, EscapeAndExitCloseWithoutAQuestion)
{
    {
        TShownMainWindow shown;
        ASSERT_TRUE(shown.Active);
        TfmMain &w = *shown.Window;
        w.Edit_5->setFocus();
        QTest::keyClicks(w.Edit_5, "Ivanov");
        QTest::keyClick(w.Edit_5, Qt::Key_Escape);
        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(shown.Ui.Messages.empty());
    }
    {
        TShownMainWindow shown;
        shown.Window->N4->trigger();
        EXPECT_FALSE(shown.Window->isVisible());
    }
    {
        TShownMainWindow shown;
        QTest::mouseClick(shown.Window->BitBtn2, Qt::LeftButton);
        EXPECT_FALSE(shown.Window->isVisible());
        EXPECT_TRUE(shown.Ui.Messages.empty());
    }
}
