// The printer layer against a real CUPS queue (the private server's "PDF").

#include "CupsSupport.h"

#include "report/render/rudPrinter.h"

#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <QProcess>

TEST_F(CupsPrinting, QueueListsItsPapersWithTheTablesNumbers)
{
    TfrxPrinters &printers = rudPrinters();
    EXPECT_TRUE(printers.HasPhysicalPrinters());
    TfrxCustomPrinter *printer = printers.Printer();
    ASSERT_TRUE(printer->Initialized());
    EXPECT_EQ(printer->Name(), "PDF");
    ASSERT_GE(printer->Papers().size(), 3);
    EXPECT_EQ(printer->Papers().first().Name, "Custom");
    EXPECT_EQ(printer->Papers().first().Number, 256);
    EXPECT_EQ(printer->Bins().first().Name, "Default");
    EXPECT_EQ(printer->Bins().first().Number, 7);
    EXPECT_EQ(printer->PaperNameToNumber("A5"), 11);
    EXPECT_EQ(printer->PaperNameToNumber("A4"), 9);
    EXPECT_EQ(printer->PaperNameToNumber("no such paper"), 256);
    EXPECT_EQ(printer->Papers()[printer->PaperIndex(11)].Name, "A5");
    EXPECT_GT(printer->DPIX(), 0);
    EXPECT_EQ(printer->DPIX(), printer->DPIY());

    printer->SetViewParams(11, 148, 210, poPortrait);
    EXPECT_EQ(printer->PaperWidth(), 148);
    EXPECT_EQ(printer->PaperHeight(), 210);
    printer->SetViewParams(9, 210, 297, poLandscape);
    EXPECT_EQ(printer->PaperWidth(), 297);
    EXPECT_EQ(printer->PaperHeight(), 210);
    EXPECT_EQ(printer->Orientation(), poLandscape);
    printer->SetViewParams(256, 100, 150, poPortrait);
    EXPECT_EQ(printer->PaperWidth(), 100);
    EXPECT_EQ(printer->PaperHeight(), 150);
}

TEST_F(CupsPrinting, SheetIsPrintedAtItsSizeWithTextWhereItWasDrawn)
{
    TfrxCustomPrinter *printer = rudPrinters().Printer();
    printer->SetTitle("sheet test");
    printer->SetPrintParams(11, 148, 210, poPortrait, 7, dmNone, 1);
    printer->BeginDoc();
    printer->BeginPage();
    QPainter *painter = printer->Painter();
    ASSERT_NE(painter, nullptr);
    // 30 mm from the left, 50 mm from the top of the sheet.
    const double dots = printer->DPIX() / 25.4;
    QFont font("Liberation Sans");
    font.setPixelSize(int(5 * dots));
    painter->setFont(font);
    const QPointF at((30 - printer->LeftMargin()) * dots, (50 - printer->TopMargin()) * dots);
    painter->drawText(QRectF(at, QSizeF(80 * dots, 10 * dots)), Qt::AlignLeft | Qt::AlignTop, "Marker");
    printer->EndPage();
    printer->BeginPage();
    painter->drawText(QRectF(at, QSizeF(80 * dots, 10 * dots)), Qt::AlignLeft | Qt::AlignTop, "Second");
    printer->EndPage();
    printer->EndDoc();

    const QString pdf = PrintedPdf();
    const TPdfInfo info = cupsTest::PdfInfo(pdf);
    ASSERT_EQ(info.Pages, 2);
    // The queue's A5 is 421 x 595 points: 148.5 x 209.9 mm.
    EXPECT_NEAR(info.Sizes[0].width(), 148, 0.6);
    EXPECT_NEAR(info.Sizes[0].height(), 210, 0.6);
    const QList<TPdfWord> words = cupsTest::PdfWords(pdf);
    const std::optional<TPdfWord> word = cupsTest::FindWord(words, "Marker");
    ASSERT_TRUE(word);
    EXPECT_NEAR(word->Left, 30, 0.5);
    EXPECT_NEAR(word->Top, 50, 1.0);
    EXPECT_TRUE(cupsTest::FindWord(cupsTest::PdfWords(pdf, 2), "Second").has_value());
}

TEST_F(CupsPrinting, AbortedJobPrintsNothing)
{
    TfrxCustomPrinter *printer = rudPrinters().Printer();
    printer->SetPrintParams(9, 210, 297, poPortrait, 7, dmNone, 1);
    printer->BeginDoc();
    printer->BeginPage();
    printer->Painter()->drawText(QPointF(100, 100), "Never");
    printer->Abort();
    EXPECT_FALSE(printer->Printing());
    EXPECT_TRUE(cupsTest::WaitIdle());
    EXPECT_TRUE(cupsTest::Pdfs().isEmpty());
}

namespace {

// A printing test that skips on its way, registered only in the run that
// the counting test starts (so it never shows in a real run's count).
class TSkipsOnItsWay final : public CupsPrinting {
public:
    void TestBody() override { GTEST_SKIP() << "skipped on its way"; }
};

const bool skipProbeRegistered = [] {
    if (qEnvironmentVariableIsSet("RUD_CUPS_SKIP_PROBE"))
        ::testing::RegisterTest("CupsSkipProbe", "SkipsOnItsWay", nullptr, nullptr, __FILE__, __LINE__,
                                []() -> CupsPrinting * { return new TSkipsOnItsWay; });
    return true;
}();

} // namespace

TEST_F(CupsPrinting, ATestThatSkipsOnItsWayCountsAsSkipped)
{
    // This program again, running only the probe: it passes the server's
    // set-up and then skips.
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("RUD_CUPS_SKIP_PROBE"), QStringLiteral("1"));
    env.insert(QStringLiteral("GTEST_FILTER"), QStringLiteral("CupsSkipProbe.*"));
    probe.setProcessEnvironment(env);
    probe.start(QCoreApplication::applicationFilePath(), {});
    ASSERT_TRUE(probe.waitForFinished(120000));
    const QString output = QString::fromUtf8(probe.readAllStandardOutput());
    EXPECT_TRUE(output.contains(QStringLiteral("Printing tests against the private CUPS server: 0 run, 1 skipped "
                                               "(RUD-PRINTING-SKIPPED: skipped on its way)")))
        // Shown without the mark, which would make CTest call this run skipped.
        << qPrintable(QString(output).replace(QStringLiteral("RUD-PRINTING-SKIPPED"), QStringLiteral("mark")));
}
