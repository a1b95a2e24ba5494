// The print loop without a print queue, and its arithmetic.

#include "report/model/rudClass.h"
#include "report/render/rudPrintJob.h"
#include "report/render/rudPrinter.h"
#include "report/render/rudRenderInit.h"
#include "report/render/rudTemplatePages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(PrintJob, WithoutPrintersNothingPrintsAndPagesStillLayOut)
{
    rudRenderInit();
    TfrxPrinters &printers = rudPrinters();
    printers.SetPrinters({}, true);
    TRecordingUserInterface ui;
    TfrxReport report;
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
