// Prepared pages as a PDF: each page is rebuilt once however small the
// page cache, every word stays where the layout puts it, and the file is
// one the usual tools read, with its fonts embedded as subsets.

#include "RenderTestSupport.h"

#include "report/engine/rudPreviewPages.h"
#include "report/render/rudPdfFont.h"
#include "report/render/rudPdfOutput.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QFontDatabase>
#include <QPainterPath>
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

// What a poppler tool prints for the PDF Bytes (empty when it fails).
QString toolOutput(const QString &Tool, const QByteArray &Bytes, const QStringList &Options = {})
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("out.pdf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(Bytes) != Bytes.size())
        return {};
    file.close();
    QProcess run;
    QStringList arguments = QStringList(Options) << file.fileName();
    if (Tool == QLatin1String("pdftotext"))
        arguments << QStringLiteral("-");
    run.start(QStandardPaths::findExecutable(Tool), arguments);
    if (!run.waitForFinished(60000) || run.exitCode() != 0)
        return {};
    return QString::fromUtf8(run.readAllStandardOutput());
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

TEST(PdfOutput, ToolsReadItsFontsAsSubsetsAndItsText)
{
    for (const char *tool : {"pdfinfo", "pdffonts", "pdftotext"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    rudRenderInit();
    TRenderReport report;
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperSize(11);
    makeMemo(page, 40, 40, 400, 24, QStringLiteral("Свидетельство выдано Ёлкиной"), 12)->SetName(QStringLiteral("A"));
    TfrxMemoView *bold = makeMemo(page, 40, 80, 400, 24, QStringLiteral("ёжик 2026"), 12);
    bold->SetName(QStringLiteral("B"));
    bold->Font()->SetStyle(fsBold);
    ASSERT_TRUE(report.PrepareReport(true)) << report.Errors().join('\n').toStdString();
    const QByteArray pdf = rudPagesToPdf(report.PreviewPages(), {0}, 600, QStringLiteral("test"));
    const QString info = toolOutput(QStringLiteral("pdfinfo"), pdf);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages: +1\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size: +419.528 x 595.276 pts")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("PDF version: +1.4")))) << info.toStdString();
    // Two faces, each a subset (a six-letter tag) of an embedded TrueType
    // font with its ToUnicode map.
    const QStringList fonts = toolOutput(QStringLiteral("pdffonts"), pdf).split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_EQ(fonts.size(), 2) << fonts.join('\n').toStdString();
    for (const QString &line : fonts)
        EXPECT_TRUE(line.contains(QRegularExpression(QStringLiteral(
            "^[A-Z]{6}\\+\\S+ +CID TrueType +Identity-H +yes +yes +yes "))))
            << line.toStdString();
    EXPECT_EQ(toolOutput(QStringLiteral("pdftotext"), pdf).simplified(),
              QStringLiteral("Свидетельство выдано Ёлкиной ёжик 2026"));
    // A subset draws what it holds as the font does, composite glyphs (ё
    // is е and a diaeresis) with their parts; what it does not hold is empty.
    QFont layoutFont(layoutFontFamily());
    layoutFont.setPixelSize(100);
    const QRawFont face = QRawFont::fromFont(layoutFont);
    ASSERT_TRUE(face.isValid());
    const quint32 yo = face.glyphIndexesForString(QStringLiteral("ё")).value(0);
    const quint32 zed = face.glyphIndexesForString(QStringLiteral("Z")).value(0);
    TfrxPdfFont font(face);
    ASSERT_TRUE(font.IsEmbeddable());
    font.Use(yo, U'ё');
    const QRawFont subset(font.SubsetFile(), 100);
    ASSERT_TRUE(subset.isValid());
    const QRectF drawn = subset.pathForGlyph(yo).boundingRect(), expected = face.pathForGlyph(yo).boundingRect();
    EXPECT_NEAR(drawn.top(), expected.top(), 0.5);
    EXPECT_NEAR(drawn.bottom(), expected.bottom(), 0.5);
    EXPECT_NEAR(drawn.width(), expected.width(), 0.5);
    EXPECT_TRUE(subset.pathForGlyph(zed).isEmpty());
    EXPECT_FALSE(face.pathForGlyph(zed).isEmpty());
}

TEST(PdfOutput, TextOfAFaceWithoutTrueTypeOutlinesIsStillWritten)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    rudRenderInit();
    QString family;
    for (const QString &candidate : QFontDatabase::families()) {
        const QRawFont face = QRawFont::fromFont(QFont(candidate));
        if (face.isValid() && face.familyName() == candidate && face.fontTable("glyf").isEmpty() &&
            !face.fontTable("CFF ").isEmpty() && face.supportsCharacter(QChar(u'ж'))) {
            family = candidate;
            break;
        }
    }
    if (family.isEmpty())
        GTEST_SKIP() << "no font with CFF outlines is installed";
    TRenderReport report;
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperSize(11);
    TfrxMemoView *memo = makeMemo(page, 40, 40, 400, 24, QStringLiteral("жирный шрифт"), 12);
    memo->SetName(QStringLiteral("A"));
    memo->Font()->SetName(family);
    ASSERT_TRUE(report.PrepareReport(true)) << report.Errors().join('\n').toStdString();
    const QByteArray pdf = rudPagesToPdf(report.PreviewPages(), {0}, 600, QStringLiteral("test"));
    EXPECT_EQ(toolOutput(QStringLiteral("pdftotext"), pdf).simplified(), QStringLiteral("жирный шрифт")) << family.toStdString();
}
