// The fit check before printing: a value too long for its place on the
// blank is named, shrunk to fit on request, or printed cut when forced.

#include "PrintTestSupport.h"
#include "RegisterTestSupport.h"

#include "app/CertificateFile.h"
#include "app/FitCheck.h"
#include "report/model/rudFont.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudUnits.h"

#include <QFile>
#include <gtest/gtest.h>
#include <algorithm>

namespace {

// A trainee's name of Length characters, words of a name repeated.
QString longName(int Length = 150)
{
    QString name = QStringLiteral("Константинопольская-Верхнеднепровская");
    while (name.size() < Length)
        name += QStringLiteral(" Александра Владимировна");
    return name.left(Length).trimmed();
}

} // namespace

// An ordinary certificate fits; a long name is named by its field, and the
// font shrinks until it fits on its one line, never below 6 pt: 110
// characters of this name fit at 6 pt, 150 do not.
TEST(FitCheck, ALongNameIsNamedAndShrunkToFit)
{
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    fillCertificate(w);
    ASSERT_TRUE(w.FillReport());
    EXPECT_EQ(fitProblemsText(checkFit(w.rudReport1)), QString());

    w.Edit_5->setMaxLength(1000);
    for (const int length : {110, 150}) {
        w.Edit_5->setText(longName(length));
        ASSERT_TRUE(w.FillReport());
        const QList<TFitProblem> problems = checkFit(w.rudReport1);
        ASSERT_EQ(problems.size(), 1);
        EXPECT_EQ(fitProblemsText(problems), QStringLiteral("ФИО обучающегося: «%1»").arg(longName(length)));
        EXPECT_EQ(shrinkToFit(problems).size(), length == 150 ? 1 : 0) << length;
        EXPECT_EQ(problems[0].Memo->Font()->Size(), 6) << length;
        EXPECT_EQ(checkFit(w.rudReport1).size(), length == 150 ? 1 : 0) << length;
    }
}

// The command line: without --shrink or --force no PDF is written (exit 3,
// the field on stderr); --shrink puts a name that fits at 6 pt whole on one
// line inside its memo, and writes nothing for one that does not; --force
// prints it cut, as it always was.
TEST(FitCheck, ALongNameStopsThePdfUnlessShrunkOrForced)
{
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    fillCertificate(w);
    w.Edit_5->setMaxLength(1000);
    w.Edit_5->setText(longName());
    const QString vod = print.Folder.filePath(QStringLiteral("long.vod"));
    saveCertificate(w, vod);
    const QString pdf = print.Folder.filePath(QStringLiteral("long.pdf"));

    for (const QStringList &more : {QStringList(), QStringList{QStringLiteral("--shrink")}}) {
        const TRun stopped = runQuorvel(QStringList{QStringLiteral("--pdf"), vod, pdf} + more);
        EXPECT_EQ(stopped.Code, 3) << qPrintable(stopped.Err);
        EXPECT_TRUE(stopped.Err.contains(QStringLiteral("ФИО обучающегося: «%1»").arg(longName())))
            << qPrintable(stopped.Err);
        EXPECT_FALSE(QFile::exists(pdf));
    }

    // The memo's box on the paper, millimetres.
    ASSERT_TRUE(w.FillReport());
    auto *page = qobject_cast<TfrxReportPage *>(w.rudReport1->FindObject(QStringLiteral("Page1")));
    ASSERT_NE(page, nullptr);
    TfrxMemoView *name = memo(w, QStringLiteral("Memo5"));
    const double left = page->LeftMargin() + name->AbsLeft() / fr01cm;
    const double right = left + name->Width() / fr01cm;
    const double bottom = page->TopMargin() + (name->AbsTop() + name->Height()) / fr01cm;
    QStringList words = longName().split(QLatin1Char(' '));
    auto printedWords = [&] {
        QList<TPdfWord> found;
        for (const TPdfWord &word : readPdf(pdf).Words)
            if (words.contains(word.Text))
                found << word;
        return found;
    };

    const TRun forced = runQuorvel({QStringLiteral("--pdf"), vod, pdf, QStringLiteral("--force")});
    ASSERT_EQ(forced.Code, 0) << qPrintable(forced.Err);
    const QList<TPdfWord> cut = printedWords();
    ASSERT_FALSE(cut.isEmpty());
    EXPECT_TRUE(std::any_of(cut.begin(), cut.end(), [&](const TPdfWord &word) { return word.Top > bottom; }))
        << "the name wraps below its memo, where the blank cuts it";

    w.Edit_5->setText(longName(110));
    saveCertificate(w, vod);
    words = longName(110).split(QLatin1Char(' '));
    const TRun shrunk = runQuorvel({QStringLiteral("--pdf"), vod, pdf, QStringLiteral("--shrink")});
    ASSERT_EQ(shrunk.Code, 0) << qPrintable(shrunk.Err);
    const QList<TPdfWord> one = printedWords();
    ASSERT_EQ(one.size(), words.size());
    for (const TPdfWord &word : one) {
        EXPECT_NEAR(word.Top, one[0].Top, 0.3) << qPrintable(word.Text);
        EXPECT_GE(word.Left, left - 0.1) << qPrintable(word.Text);
        EXPECT_LE(word.Right, right + 0.1) << qPrintable(word.Text);
        EXPECT_LE(word.Bottom, bottom + 0.3) << qPrintable(word.Text);
    }
}
