// The print loop against the real queue: the certificate page, copies, the
// scale and split modes, read back from the PDFs the queue writes; an
// unknown queue.

#include "RenderTestSupport.h"
#include "CupsSupport.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudClass.h"
#include "report/render/rudPrintJob.h"
#include "report/render/rudPrinter.h"
#include "report/render/rudRenderInit.h"
#include "support/TestSupport.h"

#include <QProcess>

namespace {

// The certificate template with single words in three memos (left, middle
// and right of the page), printed as designed.
class CupsPrintJob : public CupsPrinting {
protected:
    void SetUp() override
    {
        CupsPrinting::SetUp();
        if (IsSkipped())
            return;
        rudRenderInit();
        FReport.LoadFromFile(sourceDir() + "/resources/shablon.fr3", true);
        FReport.PrintOptions()->SetShowDialog(false);
        FReport.PrintOptions()->SetPrinter("PDF");
        for (TfrxComponent *c : FReport.AllObjects())
            if (auto *memo = qobject_cast<TfrxMemoView *>(c))
                memo->SetText(QString());
        SetWord("Memo5", "Kontrol");
        SetWord("Memo4", "A15");
        SetWord("Memo3", "Gorod");
    }

    void SetWord(const char *Name, const char *Word)
    {
        auto *memo = qobject_cast<TfrxMemoView *>(FReport.FindObject(Name));
        ASSERT_NE(memo, nullptr) << Name;
        memo->SetText(Word);
        FMemos.append({QString::fromLatin1(Name), QString::fromLatin1(Word)});
    }

    TRenderReport FReport;
    // Memo names and their words: printing rebuilds the design objects, so
    // memos are looked up again afterwards.
    QList<QPair<QString, QString>> FMemos;

    TfrxMemoView *Memo(const QString &Name) { return qobject_cast<TfrxMemoView *>(FReport.FindObject(Name)); }
};

} // namespace

TEST_F(CupsPrintJob, CertificatePagePrintsAtItsSizeWithTheMemosInPlace)
{
    TRecordingUserInterface ui;
    ASSERT_TRUE(FReport.PrepareReport());
    ASSERT_EQ(FReport.PreviewPages()->Count(), 1);
    ASSERT_TRUE(FReport.Print());
    EXPECT_TRUE(ui.Messages.empty()) << qPrintable(ui.MessageTexts().join('\n'));
    const QString pdf = PrintedPdf();
    const TPdfInfo info = cupsTest::PdfInfo(pdf);
    ASSERT_EQ(info.Pages, 1);
    EXPECT_NEAR(info.Sizes[0].width(), 148, 0.6);
    EXPECT_NEAR(info.Sizes[0].height(), 210, 0.6);
    const QList<TPdfWord> words = cupsTest::PdfWords(pdf);
    auto *page = qobject_cast<TfrxReportPage *>(FReport.FindObject("Page1"));
    for (const auto &[name, text] : FMemos) {
        TfrxMemoView *memo = Memo(name);
        ASSERT_NE(memo, nullptr) << qPrintable(name);
        const std::optional<TPdfWord> word = cupsTest::FindWord(words, text);
        ASSERT_TRUE(word) << qPrintable(text);
        // The memos are centred: the word's middle lies on the memo's.
        const double memoCentre = page->LeftMargin() + (memo->Left() + memo->Width() / 2) / fr01cm;
        EXPECT_NEAR((word->Left + word->Right) / 2, memoCentre, 0.5) << qPrintable(text);
        // Its baseline lies in the memo's rectangle, no higher than the top.
        const double memoTop = page->TopMargin() + memo->Top() / fr01cm;
        const double memoBottom = memoTop + memo->Height() / fr01cm;
        EXPECT_GT(word->Top, memoTop - 0.5) << qPrintable(text);
        EXPECT_LT(word->Bottom, memoBottom + 0.5) << qPrintable(text);
        std::printf("%s: word %.2f..%.2f x %.2f..%.2f, memo x %.2f y %.2f..%.2f\n", qPrintable(text), word->Left,
                    word->Right, word->Top, word->Bottom, memoCentre, memoTop, memoBottom);
    }
}

TEST_F(CupsPrintJob, CollatedCopiesArePrintedAsPages)
{
    FReport.PrintOptions()->SetCopies(3);
    FReport.PrintOptions()->SetCollate(true);
    QList<int> copies;
    FReport.OnPrintPage = [&](TfrxReportPage *, int CopyNo) { copies << CopyNo; };
    ASSERT_TRUE(FReport.PrepareReport());
    ASSERT_TRUE(FReport.Print());
    EXPECT_EQ(copies, (QList<int>{1, 2, 3}));
    const QString pdf = PrintedPdf();
    EXPECT_EQ(cupsTest::PdfInfo(pdf).Pages, 3);
    for (int page = 1; page <= 3; ++page)
        EXPECT_TRUE(cupsTest::FindWord(cupsTest::PdfWords(pdf, page), "Kontrol").has_value()) << page;
    // The options are the report's again after the job.
    EXPECT_EQ(FReport.PrintOptions()->Copies(), 3);
}

TEST_F(CupsPrintJob, ScaleModeFillsTheSheet)
{
    FReport.PrintOptions()->SetPrintMode(pmScale);
    FReport.PrintOptions()->SetPrintOnSheet(9);
    ASSERT_TRUE(FReport.PrepareReport());
    ASSERT_TRUE(FReport.Print());
    const QString pdf = PrintedPdf();
    const TPdfInfo info = cupsTest::PdfInfo(pdf);
    ASSERT_EQ(info.Pages, 1);
    EXPECT_NEAR(info.Sizes[0].width(), 210, 0.6);
    EXPECT_NEAR(info.Sizes[0].height(), 297, 0.6);
    // A5 to A4 is a factor of about 1.42 both ways: the memo's middle moves
    // with it.
    auto *page = qobject_cast<TfrxReportPage *>(FReport.FindObject("Page1"));
    const auto &[name, text] = FMemos.first();
    TfrxMemoView *memo = Memo(name);
    ASSERT_NE(memo, nullptr);
    const std::optional<TPdfWord> word = cupsTest::FindWord(cupsTest::PdfWords(pdf), text);
    ASSERT_TRUE(word);
    const double sx = rudPrinters().Printer()->PaperWidth() / page->PaperWidth();
    const double memoCentre = (page->LeftMargin() + (memo->Left() + memo->Width() / 2) / fr01cm) * sx;
    EXPECT_NEAR((word->Left + word->Right) / 2, memoCentre, 1.0);
}

TEST_F(CupsPrintJob, SplitModeCoversABigPageWithOverlappingSheets)
{
    // The page made A4: on A5 sheets it needs the sheets turned, one across
    // and pieces down that overlap by the splicing line.
    auto *page = qobject_cast<TfrxReportPage *>(FReport.FindObject("Page1"));
    page->SetPaperSize(9);
    FReport.PrintOptions()->SetPrintMode(pmSplit);
    FReport.PrintOptions()->SetPrintOnSheet(11);
    ASSERT_TRUE(FReport.PrepareReport());
    ASSERT_TRUE(FReport.Print());
    const QString pdf = PrintedPdf();
    const TPdfInfo info = cupsTest::PdfInfo(pdf);
    TfrxCustomPrinter *printer = rudPrinters().Printer();
    // Turned A5 sheets: 210 mm across (one piece for 210 mm), the printable
    // height less the 3 mm overlap down.
    const double sheetDown = printer->PaperHeight() - printer->TopMargin() - printer->BottomMargin();
    const int down = int(std::ceil((297 - sheetDown) / (sheetDown - 3) - 1e-9)) + 1;
    EXPECT_EQ(info.Pages, down);
    // The queue's A5 sheets as they are fed, each piece turned on its sheet
    // (the queue turns a landscape page onto the paper it has): the memo's
    // word runs up the sheet, and the page's top lies at the sheet's left.
    for (const QSizeF &size : info.Sizes) {
        EXPECT_NEAR(size.width(), 148, 0.6);
        EXPECT_NEAR(size.height(), 210, 0.6);
    }
    const std::optional<TPdfWord> word = cupsTest::FindWord(cupsTest::PdfWords(pdf, 1), "Gorod");
    ASSERT_TRUE(word);
    EXPECT_GT(word->Bottom - word->Top, 2 * (word->Right - word->Left));
    // Preparing rebuilt the design objects: the page and memo anew.
    page = qobject_cast<TfrxReportPage *>(FReport.FindObject("Page1"));
    auto *memo = Memo("Memo3");
    ASSERT_NE(memo, nullptr);
    const double memoTop = page->TopMargin() + memo->Top() / fr01cm;
    EXPECT_GT(word->Left, memoTop - 1);
    EXPECT_LT(word->Right, memoTop + memo->Height() / fr01cm + 1);
    // The top memo is on the first piece only.
    for (int piece = 2; piece <= info.Pages; ++piece)
        EXPECT_FALSE(cupsTest::FindWord(cupsTest::PdfWords(pdf, piece), "Gorod").has_value()) << piece;
}

// A queue that is not there is an error naming it and listing the queues
// there are, in the print loop and in the print command alike; nothing
// reaches the default queue.
TEST_F(CupsPrintJob, AnUnknownQueueIsAnErrorAndPrintsNothing)
{
    const QString expected = QStringLiteral("Printer \"NoSuchQueue\" not found. Available printers: PDF");
    TRecordingUserInterface ui;
    FReport.PrintOptions()->SetPrinter("NoSuchQueue");
    ASSERT_TRUE(FReport.PrepareReport());
    EXPECT_FALSE(FReport.Print());
    EXPECT_EQ(ui.MessageTexts(), QStringList{expected});

    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    tool.setProcessEnvironment(env);
    tool.start(qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/rudreport"),
               {QStringLiteral("print"), sourceDir() + QStringLiteral("/resources/shablon.fr3"),
                QStringLiteral("--printer"), QStringLiteral("NoSuchQueue")});
    ASSERT_TRUE(tool.waitForFinished(120000));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_EQ(tool.readAllStandardError().trimmed().toStdString(), ("rudreport: " + expected).toStdString());

    EXPECT_TRUE(cupsTest::WaitIdle());
    EXPECT_TRUE(cupsTest::Pdfs().isEmpty()) << qPrintable(cupsTest::Pdfs().join(' '));
}
