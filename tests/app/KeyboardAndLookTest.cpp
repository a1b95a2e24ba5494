// The entry window as the operator meets it on a Linux desktop: where the
// keyboard starts and goes, typing dates, the true Tahoma faces, Qt's own
// dialogs in Russian.

#include "AppTestSupport.h"

#include "app/QtTranslations.h"
#include "base/DateTime.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRawFont>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

// The named control that has the keyboard focus (a picker's inner line edit
// counts as the picker).
QWidget *focusedControl()
{
    for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (qobject_cast<TEdit *>(w) || qobject_cast<TDateTimePicker *>(w) || qobject_cast<QComboBox *>(w)
            || qobject_cast<QPushButton *>(w))
            return w;
    return QApplication::focusWidget();
}

void pressTab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

// The darkness of text drawn black on white: the sum of its coverage.
double ink(const QFont &font, const QString &text)
{
    QImage image(QFontMetrics(font).horizontalAdvance(text) + 10, QFontMetrics(font).height() + 10,
                 QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(5, 5 + QFontMetrics(font).ascent(), text);
    painter.end();
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += (255 - qGray(image.pixel(x, y))) / 255.0;
    return sum;
}

} // namespace

// Typing goes straight into Edit_1; Tab visits only controls the operator
// sees and can use, each once, and comes back to Edit_1 after "Выход".
TEST(KeyboardAndLook, FocusStartsInEdit1AndTabVisitsOnlyVisibleControls)
{
    TShownMainWindow shown;
    ASSERT_TRUE(shown.Active);
    TfmMain &w = *shown.Window;
    EXPECT_EQ(QApplication::focusWidget(), w.Edit_1);
    QTest::keyClicks(QApplication::focusWidget(), "School 1");
    EXPECT_EQ(w.Edit_1->text(), "School 1");

    QStringList visited;
    QWidget *previous = w.Edit_1;
    for (int step = 0; step < 80; ++step) {
        pressTab();
        QWidget *control = focusedControl();
        ASSERT_NE(control, nullptr);
        if (control == w.Edit_1) {
            EXPECT_EQ(previous, w.BitBtn2) << "Выход is the last stop";
            break;
        }
        EXPECT_TRUE(control->isVisible() && control->isEnabled()) << control->objectName().toStdString();
        EXPECT_NE(qobject_cast<QWidget *>(w.FindComponent(control->objectName())), nullptr)
            << "an unnamed stop: " << control->metaObject()->className();
        EXPECT_FALSE(visited.contains(control->objectName())) << control->objectName().toStdString();
        visited << control->objectName();
        previous = control;
    }
    EXPECT_EQ(visited.size(), 38) << visited.join(' ').toStdString();
    EXPECT_FALSE(visited.contains("edt_11")) << "the total takes no focus";
}

// Enter presses the button that has the focus.
TEST(KeyboardAndLook, EnterPressesAFocusedButton)
{
    TShownMainWindow shown;
    ASSERT_TRUE(shown.Active);
    TfmMain &w = *shown.Window;
    w.Edit_5->setText("Иванов");
    w.Button2->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.Button2, Qt::Key_Return);
    EXPECT_EQ(w.Edit_5->text(), "") << "ОЧИСТИТЬ cleared the form";
    w.BitBtn2->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.BitBtn2, Qt::Key_Enter);
    EXPECT_FALSE(w.isVisible()) << "Выход closed the window";
}

// A date goes into a picker of the window by keys alone: Tab into it, type
// the day, month and year, Tab on.
TEST(KeyboardAndLook, DateTypedIntoThePickerByKeysAlone)
{
    TShownMainWindow shown;
    ASSERT_TRUE(shown.Active);
    TfmMain &w = *shown.Window;
    w.Edit_5->setFocus(Qt::MouseFocusReason);
    pressTab();
    ASSERT_EQ(focusedControl(), w.DateTimePicker1);
    QTest::keyClicks(QApplication::focusWidget(), "15.06.2015");
    pressTab();
    ASSERT_EQ(focusedControl(), w.DateTimePicker2);
    QTest::keyClicks(QApplication::focusWidget(), "1.9.2015");
    pressTab();
    EXPECT_EQ(w.DateTimePicker1->Date(), EncodeDate(2015, 6, 15));
    EXPECT_EQ(w.DateTimePicker2->Date(), EncodeDate(2015, 9, 1));
    EXPECT_EQ(w.DateTimePicker1->text(), "15 июня 2015 г.");
    EXPECT_EQ(focusedControl(), w.Edit_6);
}

// Bold controls are drawn with Tahoma's bold face (tahomabd.ttf, its widths)
// in bold strokes, the others with its regular face, not with a stand-in.
TEST(KeyboardAndLook, TahomaRegularAndBoldAreTheRealFaces)
{
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    const QList<QWidget *> boldControls{w.Button1, w.Label4, w.Edit_8, w.Label1, w.cmb_kpp};
    for (QWidget *bold : boldControls) {
        const QRawFont face = QRawFont::fromFont(bold->font());
        EXPECT_EQ(QFontInfo(bold->font()).family(), "Tahoma") << bold->objectName().toStdString();
        EXPECT_TRUE(QFontInfo(bold->font()).bold()) << bold->objectName().toStdString();
        EXPECT_EQ(face.familyName(), "Tahoma") << bold->objectName().toStdString();
        EXPECT_EQ(face.styleName(), "Bold") << bold->objectName().toStdString();
        EXPECT_GE(face.weight(), int(QFont::Bold));
    }
    const QRawFont regular = QRawFont::fromFont(w.Edit_1->font());
    EXPECT_EQ(regular.familyName(), "Tahoma");
    EXPECT_EQ(regular.styleName(), "Regular");

    // Bold is seen in the strokes, not only in the wider spacing: the same
    // text in bold puts clearly more ink on the page, Latin and Cyrillic.
    QFont boldFont = w.Button1->font(), regularFont = boldFont;
    regularFont.setBold(false);
    for (const QString &text : {QStringLiteral("ПЕЧАТЬ ОЧИСТИТЬ Выход"), QStringLiteral("Category C1E: bold")}) {
        const double boldInk = ink(boldFont, text), regularInk = ink(regularFont, text);
        EXPECT_GT(boldInk, regularInk * 1.3) << text.toStdString();
        EXPECT_GT(QFontMetrics(boldFont).horizontalAdvance(text), QFontMetrics(regularFont).horizontalAdvance(text));
    }
}

// Qt's own buttons and dialogs speak Russian under a Russian or an unset
// locale.
TEST(KeyboardAndLook, QtDialogsSpeakRussian)
{
    const QLocale system = QLocale::system();
    if (!isUnsetLocale(system) && system.language() != QLocale::Russian)
        GTEST_SKIP() << "the desktop's locale is " << system.name().toStdString();
    const QLocale previous;
    QTranslator *translator = installQtTranslations();
    ASSERT_NE(translator, nullptr) << "Qt's translations (qt6-translations-l10n) are missing";
    EXPECT_EQ(QLocale().language(), QLocale::Russian);

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove('&'), "Отмена");
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    auto *buttons = dialog.findChild<QDialogButtonBox *>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text().remove('&'), "Отмена");
    EXPECT_EQ(buttons->button(QDialogButtonBox::Save)->text().remove('&'), "Сохранить");

    QCoreApplication::removeTranslator(translator);
    delete translator;
    QLocale::setDefault(previous);
}
