// The printer layer without a print queue: the virtual printer, the list and
// the arithmetic of device figures.

#include "RenderTestSupport.h"
#include "report/render/rudPrinter.h"

#include "report/model/rudPage.h"
#include "report/model/rudPrinterDefaults.h"
#include "report/render/rudRenderRuntime.h"

#include <gtest/gtest.h>

namespace {

// A device that reports fixed figures: the printable-area case of a real
// printer whose unprintable borders are 4.2 mm left and 4.0 mm top.
class TFixedCapsPrinter final : public TfrxCustomPrinter {
public:
    explicit TFixedCapsPrinter(const TfrxDeviceCaps &Caps) : TfrxCustomPrinter("Fixed", "lpt"), FCaps(Caps) {}
    void Init() override
    {
        FInitialized = true;
        ApplyDeviceCaps(FCaps);
    }
    void SetViewParams(int, double, double, TPrinterOrientation) override {}
    void SetPrintParams(int, double, double, TPrinterOrientation, int, int, int) override {}
    void BeginDoc() override {}
    void BeginPage() override {}
    void EndPage() override {}
    void EndDoc() override {}
    void Abort() override {}
    QPainter *Painter() override { return nullptr; }

private:
    TfrxDeviceCaps FCaps;
};

} // namespace

TEST(Printer, VirtualPrinterStandsInWithoutQueues)
{
    TfrxPrinters printers;
    printers.SetPrinters({}, true);
    EXPECT_FALSE(printers.HasPhysicalPrinters());
    ASSERT_EQ(printers.Count(), 1);
    TfrxCustomPrinter *printer = printers.Printer();
    EXPECT_EQ(printer->Name(), "Virtual");
    EXPECT_EQ(printer->DPIX(), 600);
    EXPECT_EQ(printer->DPIY(), 600);
    EXPECT_EQ(printer->DefPaper(), 9);
    EXPECT_EQ(printer->PaperWidth(), 210);
    EXPECT_EQ(printer->PaperHeight(), 297);
    EXPECT_EQ(printer->DefOrientation(), poPortrait);
    // "Custom" and the 66 papers of the table.
    ASSERT_EQ(printer->Papers().size(), 67);
    EXPECT_EQ(printer->Papers()[0].Number, 256);
    EXPECT_EQ(printer->PaperNameToNumber("A5"), 11);
    EXPECT_EQ(printer->Papers()[printer->PaperIndex(9)].Name, "A4");
    EXPECT_EQ(printer->PaperIndex(48), 0); // not in the table
    EXPECT_EQ(printer->BinNameToNumber("Default"), 7);
    EXPECT_EQ(printer->BinIndex(3), 0);
    printer->SetViewParams(11, 148, 210, poLandscape);
    EXPECT_EQ(printer->PaperWidth(), 210);
    EXPECT_EQ(printer->PaperHeight(), 148);
    printer->SetViewParams(256, 100.4, 50.6, poPortrait);
    EXPECT_EQ(printer->PaperWidth(), 100);
    EXPECT_EQ(printer->PaperHeight(), 51);
    // The job operations do nothing and draw nowhere.
    printer->BeginDoc();
    EXPECT_EQ(printer->Painter(), nullptr);
    printer->EndDoc();
}

TEST(Printer, DeviceFiguresRoundToWholeMillimetres)
{
    TfrxDeviceCaps caps;
    caps.DPIX = 600;
    caps.DPIY = 300;
    caps.PhysicalWidth = 210.2;
    caps.PhysicalHeight = 296.8;
    caps.OffsetLeft = 4.2;
    caps.OffsetTop = 4.0;
    caps.PrintableWidth = 201.6;
    caps.PrintableHeight = 288.5;
    TFixedCapsPrinter printer(caps);
    printer.Init();
    EXPECT_TRUE(printer.Initialized());
    EXPECT_EQ(printer.PaperWidth(), 210);
    EXPECT_EQ(printer.PaperHeight(), 297);
    EXPECT_EQ(printer.LeftMargin(), 4);
    EXPECT_EQ(printer.TopMargin(), 4);
    EXPECT_EQ(printer.RightMargin(), 210 - 202 - 4);
    EXPECT_EQ(printer.BottomMargin(), 297 - 288 - 4); // 288.5 rounds to the even 288
    EXPECT_EQ(printer.DPIX(), 600);
    EXPECT_EQ(printer.DPIY(), 300);

    TfrxDeviceCaps broken = caps;
    broken.DPIX = 0;
    TFixedCapsPrinter unusable(broken);
    unusable.Init();
    EXPECT_FALSE(unusable.Initialized());
}

TEST(Printer, ListFindsNamesWithoutRegardToCase)
{
    TfrxPrinters printers;
    std::vector<std::unique_ptr<TfrxCustomPrinter>> list;
    list.push_back(std::make_unique<TFixedCapsPrinter>(TfrxDeviceCaps{}));
    list.push_back(std::make_unique<TfrxVirtualPrinter>());
    printers.SetPrinters(std::move(list), true, 1);
    EXPECT_TRUE(printers.HasPhysicalPrinters());
    EXPECT_EQ(printers.PrinterIndex(), 1);
    EXPECT_EQ(printers.IndexOf("fixed"), 0);
    EXPECT_EQ(printers.IndexOf("VIRTUAL"), 1);
    EXPECT_EQ(printers.IndexOf("none"), -1);
    EXPECT_EQ(printers.Printers(), (QStringList{"Fixed", "Virtual"}));
    printers.SetPrinterIndex(5);
    EXPECT_EQ(printers.PrinterIndex(), 1);
}

TEST(Printer, PapersMatchTheTableBySize)
{
    EXPECT_EQ(rudPaperNumberBySize(148.5, 209.9), 11); // A5 as points give it
    EXPECT_EQ(rudPaperNumberBySize(297, 210), 9);      // either way round
    EXPECT_EQ(rudPaperNumberBySize(215.9, 279.4), 1);  // Letter, not its twins 2 and 18
    EXPECT_EQ(rudPaperNumberBySize(100, 100), 0);
    EXPECT_EQ(rudPaperName(11), "A5");
    EXPECT_EQ(rudPaperName(48), "");
    int w = 0, h = 0;
    for (int number = 1; number <= 68; ++number)
        EXPECT_EQ(rudPaperSize(number, w, h), !rudPaperName(number).isEmpty()) << number;
    // Sizes in tenths of a millimetre: Executive is 7.25 x 10.5 inches
    // (184.15 mm, kept as 184.2), the envelope B6 lies on its side.
    const struct {
        int Number, Width, Height;
    } sizes[] = {{7, 1842, 2667}, {11, 1480, 2100}, {35, 1760, 1250}, {39, 3778, 2794}, {68, 3220, 4450}};
    for (const auto &size : sizes) {
        ASSERT_TRUE(rudPaperSize(size.Number, w, h)) << size.Number;
        EXPECT_EQ(w, size.Width) << size.Number;
        EXPECT_EQ(h, size.Height) << size.Number;
    }
    EXPECT_FALSE(rudPaperSize(48, w, h));
    EXPECT_EQ(rudPaperNumberBySize(184.15, 266.7), 7);
    TfrxReportPage executive(nullptr);
    executive.SetPaperSize(7);
    EXPECT_DOUBLE_EQ(executive.PaperWidth(), 184.2);
}

TEST(Printer, NewPagesTakeTheCurrentPrintersDefaultPaper)
{
    // Without any queue (this room's tests see none) the virtual printer's A4.
    TRenderReport report;
    report.SetServices(rudSharedStandardServices());
    auto *page = new TfrxReportPage(&report);
    page->SetDefaults();
    EXPECT_EQ(page->PaperSize(), rudPrinters().Printer()->DefPaper());
    EXPECT_EQ(page->PaperWidth(), rudPrinters().Printer()->DefPaperWidth());
}
