// The "Print" window, answered through the user-interface seam.

#include "RenderTestSupport.h"
#include "report/model/rudReport.h"
#include "report/render/rudPrintDialog.h"
#include "report/render/rudPrinter.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

template <class T> T *control(QObject *Dialog, const char *Name)
{
    T *found = Dialog->findChild<T *>(QString::fromLatin1(Name));
    EXPECT_NE(found, nullptr) << Name;
    return found;
}

int accept(QObject *Dialog)
{
    auto *dialog = qobject_cast<QDialog *>(Dialog);
    dialog->accept();
    return dialog->result();
}

// Two printers without a queue behind them, for the printer choice.
class TwoPrinters {
public:
    TwoPrinters()
    {
        std::vector<std::unique_ptr<TfrxCustomPrinter>> list;
        list.push_back(std::make_unique<TfrxVirtualPrinter>());
        list.push_back(std::make_unique<TfrxVirtualPrinter>());
        rudPrinters().SetPrinters(std::move(list), false);
    }
    ~TwoPrinters() { rudPrinters().FillPrinters(); }
};

} // namespace

TEST(PrintDialog, ShowsTheOptionsWithTheResourceTexts)
{
    TRecordingUserInterface ui;
    TRenderReport report;
    report.PrintOptions()->SetPageNumbers("2-3");
    report.PrintOptions()->SetCopies(4);
    report.PrintOptions()->SetCollate(false);
    report.PrintOptions()->SetReverse(true);
    report.PrintOptions()->SetPrintPages(ppEven);
    report.PrintOptions()->SetDuplex(int(dmHorizontal));
    QStringList groups, seen;
    ui.DialogAnswers.push_back([&](QObject *d) {
        for (QGroupBox *box : d->findChildren<QGroupBox *>())
            groups << box->title();
        EXPECT_TRUE(control<QRadioButton>(d, "PageNumbersRB")->isChecked());
        EXPECT_EQ(control<QLineEdit>(d, "PageNumbersE")->text(), "2-3");
        EXPECT_FALSE(control<QRadioButton>(d, "CurPageRB")->isEnabled()); // no preview page
        EXPECT_EQ(control<QSpinBox>(d, "CopiesE")->value(), 4);
        EXPECT_EQ(control<QSpinBox>(d, "CopiesE")->maximum(), 1000);
        EXPECT_FALSE(control<QCheckBox>(d, "CollateCB")->isChecked());
        EXPECT_FALSE(control<QLabel>(d, "CollateImage")->pixmap().isNull());
        EXPECT_EQ(control<QComboBox>(d, "OrderCB")->currentText(), "Reverse (9-1)");
        EXPECT_EQ(control<QComboBox>(d, "PrintPagesCB")->currentText(), "Even pages");
        EXPECT_EQ(control<QComboBox>(d, "DuplexCB")->currentText(), "Horizontal");
        auto *modes = control<QComboBox>(d, "PrintModeCB");
        for (int i = 0; i < modes->count(); ++i)
            seen << modes->itemText(i);
        EXPECT_FALSE(control<QComboBox>(d, "SheetCB")->isEnabled());
        EXPECT_EQ(control<QComboBox>(d, "SheetCB")->itemText(0), "Default");
        EXPECT_EQ(control<QComboBox>(d, "SheetCB")->findText("Custom"), -1);
        EXPECT_EQ(control<QPushButton>(d, "OkB")->text(), "OK");
        EXPECT_EQ(control<QCheckBox>(d, "FileCB")->text(), "Print to file");
        return 0;
    });
    TfrxPrintDialog dialog(&report, 0);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(ui.DialogCaptions, QStringList{"Print"});
    EXPECT_EQ(groups, (QStringList{"Printer", "Pages", "Copies", "Print mode", "Other"}));
    EXPECT_EQ(seen, (QStringList{"Default", "Split big pages", "Join small pages", "Scale"}));
}

TEST(PrintDialog, OkStoresTheChoices)
{
    TRecordingUserInterface ui;
    TRenderReport report;
    ui.DialogAnswers.push_back([](QObject *d) {
        // Typing page numbers selects "Pages:"; then "Current page" wins.
        auto *edit = control<QLineEdit>(d, "PageNumbersE");
        edit->setText("1,3");
        emit edit->textEdited("1,3");
        EXPECT_TRUE(control<QRadioButton>(d, "PageNumbersRB")->isChecked());
        control<QRadioButton>(d, "CurPageRB")->setChecked(true);
        control<QSpinBox>(d, "CopiesE")->setValue(3);
        control<QComboBox>(d, "PrintPagesCB")->setCurrentIndex(1);
        control<QComboBox>(d, "OrderCB")->setCurrentIndex(1);
        control<QComboBox>(d, "DuplexCB")->setCurrentIndex(1);
        // A non-default mode enables the sheet list and picks A4.
        auto *sheets = control<QComboBox>(d, "SheetCB");
        control<QComboBox>(d, "PrintModeCB")->setCurrentIndex(int(pmScale));
        EXPECT_TRUE(sheets->isEnabled());
        EXPECT_EQ(sheets->currentText(), "A4");
        sheets->setCurrentText("A5");
        return accept(d);
    });
    TfrxPrintDialog dialog(&report, 2);
    ASSERT_TRUE(dialog.Execute());
    const TfrxPrintOptions *o = report.PrintOptions();
    EXPECT_EQ(o->PageNumbers(), "2");
    EXPECT_EQ(o->Copies(), 3);
    EXPECT_EQ(o->PrintPages(), ppOdd);
    EXPECT_TRUE(o->Reverse());
    EXPECT_EQ(o->Duplex(), int(dmVertical));
    EXPECT_EQ(o->PrintMode(), pmScale);
    EXPECT_EQ(o->PrintOnSheet(), 11);
    EXPECT_EQ(o->PrnOutFileName(), "");
}

TEST(PrintDialog, PrintToFileAsksForAPrnFile)
{
    TRecordingUserInterface ui;
    TRenderReport report;
    auto toFile = [](QObject *d) {
        control<QCheckBox>(d, "FileCB")->setChecked(true);
        control<QRadioButton>(d, "AllRB")->setChecked(true);
        return accept(d);
    };
    ui.DialogAnswers.push_back(toFile);
    ui.FileAnswers.push_back(TFileDialogResult{"/tmp/out/job.pdf", 1});
    {
        TfrxPrintDialog dialog(&report, 1);
        ASSERT_TRUE(dialog.Execute());
    }
    ASSERT_EQ(ui.SaveDialogs.size(), 1u);
    EXPECT_EQ(ui.SaveDialogs[0].Title, "Print to file");
    EXPECT_EQ(ui.SaveDialogs[0].Filter, "Printer file (*.prn)|*.prn");
    EXPECT_EQ(report.PrintOptions()->PrnOutFileName(), "/tmp/out/job.prn");
    EXPECT_EQ(report.PrintOptions()->PageNumbers(), "");

    // Cancelling the file dialog cancels printing.
    ui.DialogAnswers.push_back(toFile);
    ui.FileAnswers.push_back(std::nullopt);
    TfrxPrintDialog again(&report, 1);
    EXPECT_FALSE(again.Execute());
}

TEST(PrintDialog, ChosenPrinterIsCurrentAtOnceAndCancelRestoresIt)
{
    TwoPrinters printers;
    TRecordingUserInterface ui;
    TRenderReport report;
    ui.DialogAnswers.push_back([](QObject *d) {
        control<QComboBox>(d, "PrinterCB")->setCurrentIndex(1);
        EXPECT_EQ(rudPrinters().PrinterIndex(), 1);
        return 0;
    });
    {
        TfrxPrintDialog dialog(&report, 0);
        EXPECT_FALSE(dialog.Execute());
    }
    EXPECT_EQ(rudPrinters().PrinterIndex(), 0);

    ui.DialogAnswers.push_back([](QObject *d) {
        control<QComboBox>(d, "PrinterCB")->setCurrentIndex(1);
        return accept(d);
    });
    TfrxPrintDialog dialog(&report, 0);
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(rudPrinters().PrinterIndex(), 1);
}

TEST(PrintDialog, PropertiesDuplexShowsInTheDuplexList)
{
    TRecordingUserInterface ui;
    TRenderReport report;
    ui.DialogAnswers.push_back([&ui](QObject *d) {
        ui.DialogAnswers.push_back([](QObject *p) {
            control<QComboBox>(p, "DuplexCB")->setCurrentIndex(2); // horizontal
            return accept(p);
        });
        control<QPushButton>(d, "PropButton")->click();
        EXPECT_EQ(control<QComboBox>(d, "DuplexCB")->currentText(), "Horizontal");
        return 0;
    });
    TfrxPrintDialog dialog(&report, 0);
    dialog.Execute();
    EXPECT_EQ(ui.DialogCaptions.size(), 2);
    EXPECT_EQ(rudPrinters().Printer()->DialogDuplex(), 3);
    rudPrinters().Printer()->SetDialogDuplex(-1);
}
