// The fit check before printing: a value too long for its place on the
// blank is named, shrunk to fit on request, or printed cut when forced;
// for one certificate and for a group.

#include "GroupTestSupport.h"
#include "PrintTestSupport.h"
#include "RegisterTestSupport.h"

#include "app/CertificateFile.h"
#include "app/FitCheck.h"
#include "app/FitDialog.h"
#include "app/GroupWindow.h"
#include "records/Register.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudFont.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudUnits.h"
#include "report/render/rudPreviewForm.h"
#include "report/render/rudRenderInit.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
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

// A row of a group list (as writeGroupCsv writes them) for Name.
QString groupRow(const QString &Name)
{
    return QStringLiteral("\"%1\";Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Х;Х;Отлично").arg(Name);
}

// The memo's box on the sheet, millimetres.
struct TMemoBox {
    double Left, Right, Bottom;
};
TMemoBox memoBox(TfmMain &w, const QString &Name)
{
    TfrxMemoView *view = memo(w, Name);
    auto *page = qobject_cast<TfrxReportPage *>(view->Page());
    const double left = page->LeftMargin() + view->AbsLeft() / fr01cm;
    return {left, left + view->Width() / fr01cm, page->TopMargin() + (view->AbsTop() + view->Height()) / fr01cm};
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

    ASSERT_TRUE(w.FillReport());
    const TMemoBox box = memoBox(w, QStringLiteral("Memo5"));
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
    EXPECT_TRUE(std::any_of(cut.begin(), cut.end(), [&](const TPdfWord &word) { return word.Top > box.Bottom; }))
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
        EXPECT_GE(word.Left, box.Left - 0.1) << qPrintable(word.Text);
        EXPECT_LE(word.Right, box.Right + 0.1) << qPrintable(word.Text);
        EXPECT_LE(word.Bottom, box.Bottom + 0.3) << qPrintable(word.Text);
    }
}

// The group window checks every ticked trainee's certificate before its
// preview and lists the values by row; going back shows nothing, "shrink"
// shrinks the name on that trainee's certificate alone, "as is" keeps the
// template's font; what 6 pt does not fit is asked about again.
TEST(FitCheck, TheGroupWindowAsksAndShrinksOnlyThatTraineesCertificate)
{
    rudRenderInit();
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    TRecordingUserInterface &ui = print.Shown.Ui;
    fillCertificate(w);
    w.LoadTemplate();
    const int designed = memo(w, QStringLiteral("Memo5"))->Font()->Size();
    w.N16->trigger();
    TfmGroup &g = *w.GroupWindow();
    for (const QString &name : {QStringLiteral("Орлова Анна"), longName(110), QStringLiteral("Лебедев Олег")}) {
        g.AddRow();
        g.Table->item(g.Table->rowCount() - 1, TfmGroup::cName)->setText(name);
    }

    // Answers the fit dialogs in turn, keeping each one's list and whether
    // it offered to shrink; the name's font size on each page of the preview.
    QStringList asked;
    QList<bool> offered;
    auto previewWith = [&](const QList<int> &Answers) {
        asked.clear();
        offered.clear();
        for (const int answer : Answers)
            ui.DialogAnswers.push_back([&, answer](QObject *dialog) {
                asked << dialog->findChild<QPlainTextEdit *>()->toPlainText();
                const QList<QPushButton *> buttons = dialog->findChildren<QPushButton *>();
                offered << std::any_of(buttons.begin(), buttons.end(), [](QPushButton *b) {
                    return b->text() == QStringLiteral("Уменьшить шрифт") && !b->isHidden();
                });
                return answer;
            });
        QList<int> sizes;
        whenPrepared(
            [&](TfrxPreviewForm &form) {
                TfrxCustomPreviewPages *pages = form.Report()->PreviewPages();
                for (int i = 0; i < pages->Count(); ++i)
                    sizes << qobject_cast<TfrxMemoView *>(pages->GetPage(i)->FindObject(QStringLiteral("Memo5")))
                                 ->Font()
                                 ->Size();
            },
            [&] { g.PreviewB->click(); });
        EXPECT_TRUE(ui.DialogAnswers.empty());
        return sizes;
    };

    const QString row = QStringLiteral("Строка 2 (%1): ФИО обучающегося: «%1»").arg(longName(110));
    EXPECT_EQ(previewWith({TFitDialog::Back}), QList<int>());
    EXPECT_EQ(asked, QStringList{row});
    EXPECT_EQ(previewWith({TFitDialog::Shrink}), (QList<int>{designed, 6, designed}));
    EXPECT_EQ(previewWith({TFitDialog::AsIs}), (QList<int>{designed, designed, designed}));

    g.Table->item(1, TfmGroup::cName)->setText(longName(150));
    const QString left = QStringLiteral("Строка 2 (%1): ФИО обучающегося: «%1»").arg(longName(150));
    EXPECT_EQ(previewWith({TFitDialog::Shrink, TFitDialog::Back}), QList<int>());
    EXPECT_EQ(asked, (QStringList{left, left}));
    EXPECT_EQ(offered, (QList<bool>{true, false}));
    EXPECT_TRUE(ui.Messages.empty()) << ui.MessageTexts().join('\n').toStdString();
}

// --batch --shrink puts a long name whole on its one line within its memo
// on that trainee's page; the next trainee's name keeps the template's size.
TEST(FitCheck, BatchShrinksALongNameOnItsOwnCertificateOnly)
{
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    fillCertificate(w);
    const QString vod = print.Folder.filePath(QStringLiteral("common.vod"));
    saveCertificate(w, vod);
    const QString list = print.Folder.filePath(QStringLiteral("group.csv"));
    writeGroupCsv(list, 1, {groupRow(longName(110)), groupRow(groupName(3))});
    const QString pdf = print.Folder.filePath(QStringLiteral("group.pdf"));
    const TRun run = runQuorvel({QStringLiteral("--batch"), list, QStringLiteral("--vod"), vod, QStringLiteral("--pdf"),
                                 pdf, QStringLiteral("--shrink")});
    ASSERT_EQ(run.Code, 0) << qPrintable(run.Err);
    ASSERT_EQ(cupsTest::PdfInfo(pdf).Pages, 3);

    w.LoadTemplate();
    const auto [left, right, bottom] = memoBox(w, QStringLiteral("Memo5"));
    const QStringList words = longName(110).split(QLatin1Char(' '));
    QList<TPdfWord> name;
    for (const TPdfWord &word : cupsTest::PdfWords(pdf, 2))
        if (words.contains(word.Text))
            name << word;
    ASSERT_EQ(name.size(), words.size());
    for (const TPdfWord &word : name) {
        EXPECT_NEAR(word.Top, name[0].Top, 0.3) << qPrintable(word.Text);
        EXPECT_GE(word.Left, left - 0.1) << qPrintable(word.Text);
        EXPECT_LE(word.Right, right + 0.1) << qPrintable(word.Text);
        EXPECT_LE(word.Bottom, bottom + 0.3) << qPrintable(word.Text);
    }
    auto height = [&](int Page, const QString &Word) {
        const std::optional<TPdfWord> found = cupsTest::FindWord(cupsTest::PdfWords(pdf, Page), Word);
        EXPECT_TRUE(found.has_value()) << Page << qPrintable(Word);
        return found ? found->Bottom - found->Top : 0.0;
    };
    const double designed = height(1, groupName(1).section(' ', 0, 0));
    EXPECT_NEAR(height(3, groupName(3).section(' ', 0, 0)), designed, 0.05);
    EXPECT_LT(name[0].Bottom - name[0].Top, designed - 0.5);
}

// --batch --print with a name too long for its memo: exit 3 with the row
// and field on stderr, nothing printed or recorded; --shrink still stops
// for a name 6 pt does not fit; --force prints it, every trainee recorded.
TEST_F(CupsPrinting, BatchWithAValueThatWouldBeCutPrintsOnlyWhenForced)
{
    TRegisterFolder folder;
    const QString list = folder.Path(QStringLiteral("group.csv"));
    writeGroupCsv(list, 1, {groupRow(longName()), groupRow(groupName(3))});
    const QStringList command{QStringLiteral("--batch"), list,           QStringLiteral("--vod"), folder.Certificate,
                              QStringLiteral("--print"), QStringLiteral("--db"), folder.Database};
    const QString row = QStringLiteral("Строка 3 (%1): ФИО обучающегося: «%1»").arg(longName());
    for (const QString &more : {QString(), QStringLiteral("--shrink")}) {
        const TRun run = runQuorvel(more.isEmpty() ? command : command + QStringList{more});
        EXPECT_EQ(run.Code, 3) << qPrintable(more);
        EXPECT_TRUE(run.Err.contains(row)) << qPrintable(run.Err);
        EXPECT_TRUE(cupsTest::WaitIdle());
        EXPECT_TRUE(cupsTest::Pdfs().isEmpty()) << qPrintable(more);
        EXPECT_TRUE(!QFile::exists(folder.Database) || TRegister::Open(folder.Database)->List().isEmpty());
    }

    const TRun forced = runQuorvel(command + QStringList{QStringLiteral("--force")});
    ASSERT_EQ(forced.Code, 0) << qPrintable(forced.Err);
    EXPECT_EQ(cupsTest::PdfInfo(PrintedPdf()).Pages, 3);
    const QList<TCertificateRecord> records = TRegister::Open(folder.Database)->List();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[1].FullName, longName());
}
