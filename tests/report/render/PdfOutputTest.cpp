// Prepared pages as a PDF: each page is rebuilt once however small the
// page cache, and every word stays where the layout puts it.

#include "RenderTestSupport.h"

#include "report/engine/rudPreviewPages.h"
#include "report/render/rudPdfOutput.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

struct TWordBox {
    QString Text;
    double Box[4];
};

// The words of a PDF (or of saved "pdftotext -bbox" lines) with their
// boxes in points.
QList<TWordBox> wordBoxes(const QString &BboxText)
{
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<TWordBox> words;
    for (auto it = word.globalMatch(BboxText); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(5), {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                                      m.captured(4).toDouble()}});
    }
    return words;
}

} // namespace

TEST(PdfOutput, EveryPageIsRebuiltOnceWhateverTheCache)
{
    rudRenderInit();
    TRenderReport report;
    report.PreviewOptions()->SetPagesInCache(3);
    for (int i = 0; i < 12; ++i) {
        auto *page = new TfrxReportPage(&report);
        page->SetName(QStringLiteral("Page%1").arg(i + 1));
        page->SetPaperSize(i % 2 ? 9 : 11);
        makeMemo(page, 40, 60, 200, 24, QStringLiteral("Страница %1").arg(i + 1), 12)
            ->SetName(QStringLiteral("Memo%1").arg(i + 1));
    }
    ASSERT_TRUE(report.PrepareReport(true)) << report.Errors().join('\n').toStdString();
    auto *pages = dynamic_cast<TfrxPreviewPages *>(report.PreviewPages());
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->Count(), 12);
    QList<int> all;
    for (int i = 0; i < 12; ++i)
        all << i;
    const qint64 before = pages->PagesBuilt();
    int seen = 0;
    const QByteArray pdf =
        rudPagesToPdf(pages, all, 300, QStringLiteral("test"), [&seen](TfrxReportPage *) { ++seen; });
    EXPECT_EQ(pages->PagesBuilt() - before, 12);
    EXPECT_EQ(seen, 12);
    // Each sheet has its own paper: A5 and A4 by turns, to the hundredth of a point.
    EXPECT_EQ(pdf.count("/MediaBox [0 0 419.5276 595.2756]"), 6);
    EXPECT_EQ(pdf.count("/MediaBox [0 0 595.2756 841.8898]"), 6);
}

TEST(PdfOutput, WordsStayWhereTheLayoutPutsThem)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    rudRenderInit();
    // Plain, justified, underlined, bold italic, centred, spaced, clipped
    // (too long and too low for the box) and turned (90 and 45 degrees)
    // text; the expected boxes are those of the drawing that clipped and
    // saved the state around every text, kept as pdftotext printed them,
    // moved up by the 0.2756 pt Qt's writer lost rounding the A5 sheet's
    // height to whole points under content placed from the rounded height.
    const QString data = sourceDir() + QStringLiteral("/tests/report/render/data/");
    TRenderReport report;
    report.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(report.LoadFromFile(data + QStringLiteral("text_places.fr3"), true));
    ASSERT_TRUE(report.PrepareReport(true)) << report.Errors().join('\n').toStdString();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("places.pdf"));
    QFile out(pdf);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(rudPagesToPdf(report.PreviewPages(), {0}, 600, QStringLiteral("test")));
    out.close();
    QProcess run;
    run.start(pdftotext, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(run.waitForFinished(60000));
    const QList<TWordBox> drawn = wordBoxes(QString::fromUtf8(run.readAllStandardOutput()));
    QFile saved(data + QStringLiteral("text_places.bbox"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QList<TWordBox> expected = wordBoxes(QString::fromUtf8(saved.readAll()));
    ASSERT_EQ(expected.size(), 52);
    ASSERT_EQ(drawn.size(), expected.size());
    const double limit = 0.05 / 25.4 * 72; // 0.05 mm in points
    for (qsizetype i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].Text, expected[i].Text) << "word " << i;
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(drawn[i].Box[k], expected[i].Box[k], limit) << expected[i].Text.toStdString();
    }
}
