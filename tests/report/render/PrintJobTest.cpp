// The print loop without a print queue, and its arithmetic.

#include "RenderTestSupport.h"
#include "TemplatePages.h"
#include "report/model/rudClass.h"
#include "report/render/rudPrintJob.h"
#include "report/render/rudPrinter.h"
#include "report/render/rudRenderInit.h"
#include "support/TestSupport.h"

#include "base/Errors.h"

#include <QDialog>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <gtest/gtest.h>

TEST(PrintJob, WithoutPrintersNothingPrintsAndPagesStillLayOut)
{
    rudRenderInit();
    TfrxPrinters &printers = rudPrinters();
    printers.SetPrinters({}, true);
    TRecordingUserInterface ui;
    TRenderReport report;
    auto *page = new TfrxReportPage(&report);
    EXPECT_EQ(page->PaperSize(), 9); // the virtual printer's A4
    report.PrintOptions()->SetShowDialog(false);
    TfrxTemplatePageSource pages(&report);
    EXPECT_FALSE(rudPrintPages(&report, pages));
    EXPECT_EQ(ui.MessageTexts(), QStringList{"No printers installed on your system"});
    EXPECT_EQ(ui.Messages[0].Caption, "Error");
    printers.FillPrinters();
}

TEST(PrintJob, SheetsNeededFollowTheElevenMillimetreRule)
{
    EXPECT_EQ(rudSheetsNeeded(297, 210), 2);   // 87 mm left over
    EXPECT_EQ(rudSheetsNeeded(210, 200), 1);   // 10 mm: rounded
    EXPECT_EQ(rudSheetsNeeded(211, 200), 2);   // 11 mm: one more
    EXPECT_EQ(rudSheetsNeeded(297, 145), 2);   // 7 mm: 2.05 rounded
    EXPECT_EQ(rudSheetsNeeded(100, 210), 1);
    EXPECT_EQ(rudSheetsNeeded(100, 0), 1);
}

namespace {

// A printer whose printable area starts 4.2 mm from the left and 4.0 mm from
// the top of the sheet, at 254 dpi (10 dots per millimetre); its sheets are
// images of the printable area.
TImagePrinter *offsetPrinter()
{
    return new TImagePrinter(QStringLiteral("Offset"), TfrxDeviceCaps{254, 254, 148, 210, 4.2, 4.0, 139.6, 202.0},
                             QSize(1396, 2020));
}

// The first dark pixel's column and row of an image.
QPoint firstInk(const QImage &Image)
{
    int left = Image.width(), top = Image.height();
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            if (qGray(Image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                top = std::min(top, y);
            }
    return QPoint(left, top);
}

} // namespace

TEST(PrintJob, PageIsShiftedByThePrintableAreaOffset)
{
    rudRenderInit();
    auto *printer = offsetPrinter();
    std::vector<std::unique_ptr<TfrxCustomPrinter>> list;
    list.emplace_back(printer);
    rudPrinters().SetPrinters(std::move(list), true);
    EXPECT_EQ(printer->LeftMargin(), 0); // not initialised yet
    TRenderReport report;
    report.PrintOptions()->SetShowDialog(false);
    auto *page = new TfrxReportPage(&report);
    page->SetPaperSize(11);
    page->SetLeftMargin(10);
    page->SetTopMargin(10);
    auto *box = new TfrxMemoView(page);
    box->SetBounds(0, 0, 40, 40);
    box->SetColor(clBlack);
    TfrxTemplatePageSource pages(&report);
    TRecordingUserInterface ui;
    ASSERT_TRUE(rudPrintPages(&report, pages));
    EXPECT_EQ(printer->LeftMargin(), 4);
    EXPECT_EQ(printer->TopMargin(), 4);
    ASSERT_EQ(printer->Sheets.size(), 1);
    // The box's corner lies 10 mm into the paper: 10 - 4 mm into the
    // printable area, 60 dots at 10 dots per millimetre.
    const QPoint ink = firstInk(printer->Sheets.first());
    EXPECT_NEAR(ink.x(), 60, 1);
    EXPECT_NEAR(ink.y(), 60, 1);
    rudPrinters().FillPrinters();
}

TEST(PrintJob, OrderOddEvenCopiesAndTheDialogsCurrentPage)
{
    rudRenderInit();
    auto *printer = offsetPrinter();
    std::vector<std::unique_ptr<TfrxCustomPrinter>> list;
    list.emplace_back(printer);
    rudPrinters().SetPrinters(std::move(list), true);
    TRenderReport report;
    for (int i = 0; i < 5; ++i)
        new TfrxReportPage(&report);
    TfrxTemplatePageSource pages(&report);
    QList<int> printed;
    TfrxPrintHooks hooks;
    hooks.PrintPage = [&](TfrxReportPage *Page, int CopyNo) { printed << pages.IndexOf(Page) + 1 << CopyNo; };
    auto run = [&](const QString &Numbers, TfrxPrintPages Which, bool Reverse, int Copies, bool Collate) {
        printed.clear();
        TfrxPrintOptions *o = report.PrintOptions();
        o->SetShowDialog(false);
        o->SetPageNumbers(Numbers);
        o->SetPrintPages(Which);
        o->SetReverse(Reverse);
        o->SetCopies(Copies);
        o->SetCollate(Collate);
        EXPECT_TRUE(rudPrintPages(&report, pages, hooks));
        return printed;
    };
    // Page and copy number pairs.
    EXPECT_EQ(run("2-", ppAll, false, 1, true), (QList<int>{2, 1, 3, 1, 4, 1, 5, 1}));
    EXPECT_EQ(run("3,1", ppAll, false, 1, true), (QList<int>{3, 1, 1, 1}));
    EXPECT_TRUE(run("5-3", ppAll, false, 1, true).isEmpty());
    EXPECT_TRUE(run("9", ppAll, false, 1, true).isEmpty()); // no such page: nothing, not all
    EXPECT_EQ(run("1-4", ppEven, false, 1, true), (QList<int>{2, 1, 4, 1}));
    EXPECT_EQ(run("", ppOdd, true, 1, true), (QList<int>{5, 1, 3, 1, 1, 1}));
    EXPECT_EQ(run("1,2", ppAll, false, 2, true), (QList<int>{1, 1, 2, 1, 1, 2, 2, 2}));
    EXPECT_EQ(run("1,2", ppAll, false, 2, false), (QList<int>{1, 1, 2, 1}));
    EXPECT_THROW(run("x", ppAll, false, 1, true), EConvertError);
    // The options come back after every job, even a failed one.
    EXPECT_EQ(report.PrintOptions()->PageNumbers(), "x");

    // "Current page" in the window prints the page the preview shows.
    TRecordingUserInterface ui;
    ui.DialogAnswers.push_back([](QObject *d) {
        d->findChild<QRadioButton *>("CurPageRB")->setChecked(true);
        auto *dialog = qobject_cast<QDialog *>(d);
        dialog->accept();
        return dialog->result();
    });
    report.PrintOptions()->SetShowDialog(true);
    report.PrintOptions()->SetPageNumbers("");
    printed.clear();
    EXPECT_TRUE(rudPrintPages(&report, pages, hooks, 2));
    EXPECT_EQ(printed, (QList<int>{2, 1}));
    EXPECT_EQ(report.PrintOptions()->PageNumbers(), ""); // restored
    rudPrinters().FillPrinters();
}

// A host's print event may call the job off after the Print window: nothing
// reaches the printer, no message, and the after-print event does not run.
TEST(PrintJob, BeforePrintMayCallTheJobOff)
{
    rudRenderInit();
    auto *printer = offsetPrinter();
    std::vector<std::unique_ptr<TfrxCustomPrinter>> list;
    list.emplace_back(printer);
    rudPrinters().SetPrinters(std::move(list), true);
    TRenderReport report;
    new TfrxReportPage(&report);
    report.PrintOptions()->SetShowDialog(false);
    TfrxTemplatePageSource pages(&report);
    TRecordingUserInterface ui;
    bool after = false;
    TfrxPrintHooks hooks;
    hooks.BeforePrint = [] { throw EPrintCancelled(); };
    hooks.AfterPrint = [&] { after = true; };
    EXPECT_FALSE(rudPrintPages(&report, pages, hooks));
    EXPECT_TRUE(printer->Sheets.isEmpty());
    EXPECT_FALSE(after);
    EXPECT_TRUE(ui.Messages.empty());
    // Any other failure there still reaches the caller.
    hooks.BeforePrint = [] { throw EInOutError(QStringLiteral("no register")); };
    EXPECT_THROW(rudPrintPages(&report, pages, hooks), EInOutError);
    EXPECT_TRUE(printer->Sheets.isEmpty());
    rudPrinters().FillPrinters();
}
