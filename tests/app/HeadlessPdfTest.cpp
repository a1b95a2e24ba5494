// The command line face through the real program: a saved certificate
// becomes an A5 PDF with each value where its memo lies on the paper; an
// empty field stops it with that field's message.

#include "PrintTestSupport.h"

#include "app/CertificateFile.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudUnits.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <cmath>

namespace {

QString program() { return qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/Quorvel_A5"); }

struct TWord {
    QString Text;
    double Left, Top, Right, Bottom; // millimetres
};

struct TPdfText {
    double Width = 0, Height = 0; // millimetres
    QList<TWord> Words;
};

constexpr double mmPerPoint = 25.4 / 72;

// The words of page 1 with their boxes, by pdftotext -bbox.
TPdfText readPdf(const QString &file)
{
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    EXPECT_TRUE(run.waitForFinished(60000));
    const QString html = QString::fromUtf8(run.readAllStandardOutput());
    TPdfText pdf;
    const QRegularExpression page(QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)">)re"));
    if (const auto m = page.match(html); m.hasMatch()) {
        pdf.Width = m.captured(1).toDouble() * mmPerPoint;
        pdf.Height = m.captured(2).toDouble() * mmPerPoint;
    }
    const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        pdf.Words.append({m.captured(5), m.captured(1).toDouble() * mmPerPoint, m.captured(2).toDouble() * mmPerPoint,
                          m.captured(3).toDouble() * mmPerPoint, m.captured(4).toDouble() * mmPerPoint});
    }
    return pdf;
}

// Runs the program on a certificate the test saved. The window saved it
// under Russian regional settings, and a certificate file is read back
// under the settings of whoever runs the program (dates and the decimal
// comma of the hours): so the program runs under Russian ones too, whatever
// the machine's locale is (under an English one "20,5" hours would not read).
int runProgram(const QStringList &arguments, QString *errors)
{
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("ru_RU.UTF-8"));
    run.setProcessEnvironment(environment);
    run.start(program(), arguments);
    EXPECT_TRUE(run.waitForFinished(120000));
    *errors = QString::fromUtf8(run.readAllStandardError());
    return run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1;
}

} // namespace

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

    // Where the template (as delivered beside the program) puts the memos.
    TfrxReport layout;
    layout.LoadFromFile(sourceDir() + QStringLiteral("/resources/shablon.fr3"));
    auto *page = qobject_cast<TfrxReportPage *>(layout.FindObject(QStringLiteral("Page1")));
    ASSERT_NE(page, nullptr);
    const struct {
        const char *Memo;
        const char *Value;
    } checks[] = {{"Memo4", "АБ"},   {"Memo6", "03"},         {"Memo7", "мая"},     {"Memo26", "2015"},
                  {"Memo38", "X"},   {"Memo_kval", "водитель"}, {"Memo_prot", "17"}, {"Memo22", "x"}};
    for (const auto &check : checks) {
        auto *memo = qobject_cast<TfrxMemoView *>(layout.FindObject(QString::fromLatin1(check.Memo)));
        ASSERT_NE(memo, nullptr) << check.Memo;
        const double left = page->LeftMargin() + memo->AbsLeft() / fr01cm;
        const double top = page->TopMargin() + (memo->AbsTop() + memo->GapY()) / fr01cm;
        const double right = page->LeftMargin() + (memo->AbsLeft() + memo->Width()) / fr01cm;
        // The word of that text nearest to the memo (a year is printed twice).
        const QString value = QString::fromUtf8(check.Value);
        const TWord *found = nullptr;
        for (const TWord &word : pdf.Words)
            if (word.Text == value && (!found || std::abs(word.Top - top) < std::abs(found->Top - top)))
                found = &word;
        ASSERT_NE(found, nullptr) << check.Memo;
        if (memo->HAlign() == haCenter)
            EXPECT_NEAR((found->Left + found->Right) / 2, (left + right) / 2, 0.5) << check.Memo;
        else
            EXPECT_NEAR(found->Left, left + memo->GapX() / fr01cm, 0.5) << check.Memo;
        EXPECT_NEAR(found->Top, top, 0.5) << check.Memo;
    }
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
