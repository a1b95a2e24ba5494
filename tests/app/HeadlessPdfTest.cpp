// The command line face through the real program: a saved certificate
// becomes an A5 PDF with each value where its memo lies on the paper; an
// empty field stops it with that field's message. The PDF's background.

#include "designer/rudDesgnInit.h"
#include "PrintTestSupport.h"

#include "app/CertificateFile.h"
#include "report/model/rudGraphic.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudUnits.h"
#include "report/render/rudPdfOutput.h"
#include "report/render/rudRenderInit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

namespace {

QString program() { return qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/Quorvel_A5"); }

// A printed line of text: the box of the first line of a run of words.
struct TLine {
    double Left, Right, Top;
};

// Where the words of Text were printed: every run of consecutive PDF words
// that spells them, as the box of the run's first line (a long text may
// wrap onto a second line of its memo).
QList<TLine> linesOf(const TPdfText &pdf, const QString &text)
{
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QList<TLine> lines;
    for (qsizetype i = 0; i + words.size() <= pdf.Words.size(); ++i) {
        bool match = true;
        for (qsizetype k = 0; k < words.size() && match; ++k)
            match = pdf.Words[i + k].Text == words[k];
        if (!match)
            continue;
        TLine line{pdf.Words[i].Left, pdf.Words[i].Right, pdf.Words[i].Top};
        for (qsizetype k = 1; k < words.size() && std::abs(pdf.Words[i + k].Top - line.Top) < 0.3; ++k)
            line.Right = pdf.Words[i + k].Right;
        lines << line;
    }
    return lines;
}

// Runs the program on a certificate the test saved. The window saved it
// under Russian regional settings, and the program shows and prints the
// hours with the decimal separator of whoever runs it: so it runs under
// Russian ones too, whatever the machine's locale is, and prints "20,5" as
// the test's window does.
int runProgram(const QStringList &arguments, QString *errors, const QString &binary = program())
{
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("ru_RU.UTF-8"));
    run.setProcessEnvironment(environment);
    run.start(binary, arguments);
    EXPECT_TRUE(run.waitForFinished(120000));
    *errors = QString::fromUtf8(run.readAllStandardError());
    return run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1;
}

// Number of pictures in a PDF file, as pdfimages lists them.
int picturesIn(const QString &pdfFile)
{
    QProcess list;
    list.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdfFile});
    EXPECT_TRUE(list.waitForFinished(60000));
    // Two header lines, then one line per picture.
    return int(QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts).size()) - 2;
}

} // namespace

// The PDF is printed onto the blanks: a background scan the template does
// not print stays out of it unless asked for (--with-background), to check
// the alignment on screen.
TEST(HeadlessPdf, ABackgroundNotPrintableIsLeftOutUnlessAsked)
{
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    rudRenderInit();
    {
        TfrxReport scanned;
        scanned.SetServices(rudSharedDesignerServices());
        scanned.LoadFromFile(w.TemplatePath());
        auto *page = qobject_cast<TfrxReportPage *>(scanned.FindObject(QStringLiteral("Page1")));
        ASSERT_NE(page, nullptr);
        QImage scan(40, 40, QImage::Format_RGB32);
        scan.fill(QColor(255, 0, 0));
        page->BackPicture()->SetGraphic(TfrxGraphic::FromImage(scan));
        page->SetBackPicturePrintable(false);
        scanned.SaveToFile(w.TemplatePath());
    }
    fillCertificate(w);
    ASSERT_TRUE(w.FillReport());
    ASSERT_TRUE(w.rudReport1->PrepareReport());
    const QString pdfFile = print.Folder.filePath(QStringLiteral("scan.pdf"));
    rudSaveReportToPdf(w.rudReport1, pdfFile);
    EXPECT_EQ(picturesIn(pdfFile), 0);
    const QList<TPdfWord> words = readPdf(pdfFile).Words;
    EXPECT_TRUE(std::any_of(words.begin(), words.end(), [](const TPdfWord &word) { return word.Text == "Иванов"; }));
    rudSaveReportToPdf(w.rudReport1, pdfFile, TfrxPdfBackground::Always);
    EXPECT_EQ(picturesIn(pdfFile), 1);

    // A printable background is printed, and so is in the PDF.
    ASSERT_TRUE(w.FillReport());
    auto *page = qobject_cast<TfrxReportPage *>(w.rudReport1->FindObject(QStringLiteral("Page1")));
    ASSERT_NE(page, nullptr);
    page->SetBackPicturePrintable(true);
    ASSERT_TRUE(w.rudReport1->PrepareReport());
    rudSaveReportToPdf(w.rudReport1, pdfFile);
    EXPECT_EQ(picturesIn(pdfFile), 1);
}

TEST(HeadlessPdf, ValuesLandAtTheirMemoPositions)
{
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    fillCertificate(w);
    const QString vod = print.Folder.filePath(QStringLiteral("sample.vod"));
    const QString pdfFile = print.Folder.filePath(QStringLiteral("out.pdf"));
    saveCertificate(w, vod);

    QString errors;
    ASSERT_EQ(runProgram({QStringLiteral("--pdf"), vod, pdfFile}, &errors), 0) << errors.toStdString();
    const TPdfText pdf = readPdf(pdfFile);
    EXPECT_NEAR(pdf.Width, 148, 0.5);
    EXPECT_NEAR(pdf.Height, 210, 0.5);

    // The texts the print command writes into the memos, and where the
    // template (the one delivered beside the program) puts the memos.
    ASSERT_TRUE(w.FillReport());
    EXPECT_EQ(memoText(w, QStringLiteral("Memo6")), "03");
    EXPECT_EQ(memoText(w, QStringLiteral("Memo7")), "мая");
    EXPECT_EQ(memoText(w, QStringLiteral("Memo26")), "2015");
    EXPECT_EQ(memoText(w, QStringLiteral("Memo22")), "x");
    EXPECT_EQ(memoText(w, QStringLiteral("Memo38")), "X");
    auto *page = qobject_cast<TfrxReportPage *>(w.rudReport1->FindObject(QStringLiteral("Page1")));
    ASSERT_NE(page, nullptr);
    int checked = 0;
    for (TfrxComponent *object : page->AllObjects()) {
        auto *memo = qobject_cast<TfrxMemoView *>(object);
        const QString text = memo ? memoText(w, memo->Name()) : QString();
        if (text.trimmed().isEmpty())
            continue;
        const double left = page->LeftMargin() + memo->AbsLeft() / fr01cm;
        const double right = page->LeftMargin() + (memo->AbsLeft() + memo->Width()) / fr01cm;
        const double top = page->TopMargin() + (memo->AbsTop() + memo->GapY()) / fr01cm;
        const bool centred = memo->HAlign() == haCenter;
        const double x = centred ? (left + right) / 2 : left + memo->GapX() / fr01cm;
        // The printed run of the text's words nearest to where the memo puts
        // it (a year, a grade or a category is printed more than once).
        const QList<TLine> lines = linesOf(pdf, text);
        ASSERT_FALSE(lines.isEmpty()) << qPrintable(memo->Name() + ": " + text);
        auto distance = [&](const TLine &line) {
            return std::abs((centred ? (line.Left + line.Right) / 2 : line.Left) - x) + std::abs(line.Top - top);
        };
        const TLine nearest = *std::min_element(lines.begin(), lines.end(), [&](const TLine &a, const TLine &b) {
            return distance(a) < distance(b);
        });
        EXPECT_NEAR(centred ? (nearest.Left + nearest.Right) / 2 : nearest.Left, x, 0.5) << qPrintable(memo->Name());
        EXPECT_NEAR(nearest.Top, top, 0.5) << qPrintable(memo->Name());
        ++checked;
    }
    // All 48 memos but the grade of the last subject, left empty.
    EXPECT_EQ(checked, 47);
}

TEST(HeadlessPdf, AnEmptyFieldStopsWithItsMessage)
{
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    fillCertificate(w);
    w.Edit_5->clear();
    const QString vod = print.Folder.filePath(QStringLiteral("empty.vod"));
    saveCertificate(w, vod);
    QString errors;
    EXPECT_EQ(runProgram({QStringLiteral("--pdf"), vod, print.Folder.filePath(QStringLiteral("x.pdf"))}, &errors), 1);
    EXPECT_EQ(errors.trimmed(), "Введите ФИО обучающегося!");
    EXPECT_FALSE(QFile::exists(print.Folder.filePath(QStringLiteral("x.pdf"))));
    // A file that is not there, and arguments that cannot be read.
    EXPECT_EQ(runProgram({QStringLiteral("--print"), print.Folder.filePath(QStringLiteral("none.vod"))}, &errors), 1);
    EXPECT_TRUE(errors.contains("none.vod"));
    EXPECT_EQ(runProgram({QStringLiteral("--pdf"), vod}, &errors), 2);
    EXPECT_TRUE(errors.startsWith("usage: Quorvel_A5"));
}

// The PDF command is the program's own; the windows and every other command
// are in the windows library beside it, loaded only by a run that needs them.
TEST(HeadlessPdf, OnlyThePdfCommandRunsWithoutTheWindowsLibrary)
{
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    fillCertificate(w);
    const QString vod = print.Folder.filePath(QStringLiteral("alone.vod"));
    saveCertificate(w, vod);
    // The program alone in a folder, with the shipped template beside it.
    const QDir folder(print.Folder.filePath(QStringLiteral("alone")));
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    const QString alone = folder.filePath(QStringLiteral("Quorvel_A5"));
    ASSERT_TRUE(QFile::copy(program(), alone));
    ASSERT_TRUE(QFile::copy(QFileInfo(program()).dir().filePath(QStringLiteral("shablon.fr3")),
                            folder.filePath(QStringLiteral("shablon.fr3"))));
    QString errors;
    const QString pdfFile = print.Folder.filePath(QStringLiteral("alone.pdf"));
    ASSERT_EQ(runProgram({QStringLiteral("--pdf"), vod, pdfFile}, &errors, alone), 0) << errors.toStdString();
    const QList<TPdfWord> words = readPdf(pdfFile).Words;
    EXPECT_TRUE(std::any_of(words.begin(), words.end(), [](const TPdfWord &word) { return word.Text == "Иванов"; }));
    EXPECT_EQ(runProgram({QStringLiteral("--help")}, &errors, alone), 1);
    EXPECT_TRUE(errors.contains("quorvel-a5-windows.so")) << errors.toStdString();
    EXPECT_EQ(runProgram({QStringLiteral("--help")}, &errors), 0) << errors.toStdString();
}
