// A group printed over the entry window's common values: the rows checked
// as the print command checks one certificate, one report of every ticked
// trainee, one job on numbered blanks, the check after it, and the same
// from the command line.

#include "AppTestSupport.h"
#include "GroupTestSupport.h"
#include "PrintTestSupport.h"
#include "RegisterTestSupport.h"

#include "app/GroupWindow.h"
#include "app/RegisterWindow.h"
#include "app/main.h"
#include "records/Register.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"
#include "report/render/rudPdfOutput.h"
#include "report/render/rudRenderInit.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QStandardItemModel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

void setCell(TfmGroup &g, int Row, int Column, const QString &Text) { g.Table->item(Row, Column)->setText(Text); }

} // namespace

// Failing rows are named with the field's message and nothing prepares
// until they are fixed or unticked; the report then holds one certificate
// per ticked trainee, in order, each named in the page list, its values
// as typed (brackets are no expressions) over the common ones.
TEST(GroupWindow, RowsAreCheckedAndTheTickedOnesMakeOneReport)
{
    rudRenderInit();
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    fillCertificate(w);
    w.N16->trigger();
    TfmGroup &g = *w.GroupWindow();
    EXPECT_EQ(g.SeriesE->text(), "АБ");
    const QString names[] = {QStringLiteral("Сидоров [Сидор] Петрович"), QString(), QStringLiteral("Кузнецов Кузьма"),
                             QStringLiteral("Смирнова Анна"), QString(w.Edit_5->maxLength() + 1, QChar(u'Я'))};
    for (const QString &name : names) {
        g.AddRow();
        setCell(g, g.Table->rowCount() - 1, TfmGroup::cName, name);
    }
    setCell(g, 2, TfmGroup::cGrade1 + 9, QStringLiteral("Отл"));
    setCell(g, 3, TfmGroup::cStart, QStringLiteral("31.02.2015"));
    setCell(g, 3, TfmGroup::cEnd, QStringLiteral("01.06.2015"));
    setCell(g, 0, TfmGroup::cGrade1 + 9, QStringLiteral("Хорошо"));

    EXPECT_FALSE(g.Check());
    const QString problems = g.ProblemsM->toPlainText();
    EXPECT_TRUE(problems.contains(QStringLiteral("Строка 2: Введите ФИО обучающегося!"))) << qPrintable(problems);
    EXPECT_TRUE(problems.contains(QStringLiteral("Строка 3 (Кузнецов Кузьма): оценка «Отл» по предмету 10 не из списка.")))
        << qPrintable(problems);
    EXPECT_TRUE(problems.contains(QStringLiteral("Строка 4: дата «31.02.2015»"))) << qPrintable(problems);
    EXPECT_TRUE(problems.contains(QStringLiteral("Строка 5"))) << qPrintable(problems);
    EXPECT_FALSE(problems.contains(QStringLiteral("Строка 1"))) << qPrintable(problems);
    EXPECT_EQ(w.Edit_5->text(), "Иванов Иван Иванович");

    // Fixed or unticked: the group prepares, the entry window as it was.
    setCell(g, 2, TfmGroup::cGrade1 + 9, QStringLiteral("Удовл."));
    setCell(g, 3, TfmGroup::cStart, QStringLiteral("03.02.2015"));
    for (int row : {1, 4})
        g.Table->item(row, TfmGroup::cPrint)->setCheckState(Qt::Unchecked);
    ASSERT_TRUE(g.Check()) << qPrintable(g.ProblemsM->toPlainText());
    QStringList faults;
    QList<TGroupCertificate> certificates;
    ASSERT_TRUE(prepareGroup(w, g.Ticked(faults), certificates));
    EXPECT_EQ(w.Edit_5->text(), "Иванов Иван Иванович");
    TfrxCustomPreviewPages *pages = w.rudReport1->PreviewPages();
    ASSERT_EQ(pages->Count(), 3);
    ASSERT_EQ(certificates.size(), 3);
    TfrxOutline *outline = pages->Outline();
    outline->LevelRoot();
    ASSERT_EQ(outline->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        QString text;
        int page = -1, top = -1;
        outline->GetItem(i, text, page, top);
        EXPECT_EQ(text, certificates[i].Trainee.FullName);
        EXPECT_EQ(page, i);
        EXPECT_EQ(certificates[i].FirstPage, i);
    }
    EXPECT_EQ(certificates[0].Values.value("edit_5"), "Сидоров [Сидор] Петрович");
    EXPECT_EQ(certificates[0].Values.value("cmb_10"), "1");
    EXPECT_EQ(certificates[1].Values.value("cmb_10"), "2");
    EXPECT_EQ(certificates[2].Values.value("cmb_10"), "5"); // the entry window's own grade
    EXPECT_EQ(certificates[2].Values.value("date1"), "03.02.2015");
    EXPECT_EQ(certificates[2].Values.value("date2"), "01.06.2015");
    EXPECT_EQ(certificates[0].Values.value("date1"), "03.05.2015");
    EXPECT_EQ(certificates[0].Values.value("edit_1"), "Автошкола [филиал]");
}

// The command line: one PDF of the group in the list's order, nothing
// recorded; a list with failing rows names every one and writes nothing.
TEST(HeadlessBatch, ListBecomesOnePdfOrIsRefusedWithEveryFailingRow)
{
    TRegisterFolder folder;
    const QString list = folder.Path(QStringLiteral("group.csv"));
    const QString pdf = folder.Path(QStringLiteral("group.pdf"));
    writeGroupCsv(list, 4);
    TRun run = runQuorvel({QStringLiteral("--batch"), list, QStringLiteral("--vod"), folder.Certificate,
                           QStringLiteral("--pdf"), pdf, QStringLiteral("--db"), folder.Database});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    ASSERT_EQ(cupsTest::PdfInfo(pdf).Pages, 4);
    for (int i = 1; i <= 4; ++i) {
        const QList<TPdfWord> words = cupsTest::PdfWords(pdf, i);
        EXPECT_TRUE(cupsTest::FindWord(words, groupName(i).section(' ', 0, 0)).has_value()) << i;
        EXPECT_TRUE(cupsTest::FindWord(words, groupGrade10(i)).has_value()) << i;
        EXPECT_TRUE(cupsTest::FindWord(words, QStringLiteral("Тверь")).has_value()) << i;
    }
    EXPECT_FALSE(QFile::exists(folder.Database));

    const QString bad = folder.Path(QStringLiteral("bad.csv"));
    const QString badPdf = folder.Path(QStringLiteral("bad.pdf"));
    writeGroupCsv(bad, 2,
                  {QStringLiteral(";Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Х;Х;Отлично"),
                   QStringLiteral("Петров Пётр;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Зачтено;Х;Х;Отл")});
    run = runQuorvel({QStringLiteral("--batch"), bad, QStringLiteral("--vod"), folder.Certificate,
                      QStringLiteral("--pdf"), badPdf});
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("Строка 4"))) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(QStringLiteral("Строка 5"))) << run.Err.toStdString();
    EXPECT_FALSE(run.Err.contains(QStringLiteral("Строка 3"))) << run.Err.toStdString();
    EXPECT_FALSE(QFile::exists(badPdf));

    // Arguments that do not make a group's command.
    for (const QStringList &arguments :
         {QStringList{QStringLiteral("--batch"), list, QStringLiteral("--pdf"), pdf},
          QStringList{QStringLiteral("--batch"), list, QStringLiteral("--vod"), folder.Certificate},
          QStringList{QStringLiteral("--batch"), list, QStringLiteral("--vod"), folder.Certificate,
                      QStringLiteral("--pdf"), pdf, QStringLiteral("--print")}})
        EXPECT_EQ(runQuorvel(arguments).Code, 2) << arguments.join(' ').toStdString();
}

// A group of 30 on the private queue: one job, a certificate a page with
// the trainee's values where their memos are, blanks 1..30 in print order;
// two spoiled in the check are voided and printed again on 31 and 32, and
// a check closed without an answer leaves those printed, unconfirmed.
TEST_F(CupsPrinting, GroupPrintsAsOneJobAndReprintsTheSpoiled)
{
    rudRenderInit();
    TRegisterFolder folder;
    TRegisterOverride location(folder.Database);
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    TRecordingUserInterface &ui = shown.Ui;
    w.TemplateFolder = folder.Dir.path();
    ASSERT_TRUE(QFile::copy(QStringLiteral(":/template/shablon.fr3"), w.TemplatePath()));
    w.OpenCertificate(folder.Certificate);
    w.Register().AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000040"));
    const QString list = folder.Path(QStringLiteral("group.csv"));
    writeGroupCsv(list, 30);
    w.N16->trigger();
    TfmGroup &g = *w.GroupWindow();
    g.Import(list);
    ASSERT_EQ(g.Table->rowCount(), 30) << qPrintable(g.ProblemsM->toPlainText());

    auto confirmPrint = [&] { ui.DialogAnswers.push_back([](QObject *) { return 1; }); };
    confirmPrint();
    answer<TGroupCheckDialog>(ui, [](TGroupCheckDialog &d) {
        ASSERT_EQ(d.ListT->rowCount(), 30);
        EXPECT_EQ(d.ListT->item(4, 1)->text(), "АБ 000005");
        for (int row : {4, 9})
            d.ListT->item(row, 0)->setCheckState(Qt::Unchecked);
    });
    confirmPrint();
    answer<TGroupCheckDialog>(ui, nullptr, 0);
    g.PrintB->click();
    EXPECT_TRUE(ui.Messages.empty()) << ui.MessageTexts().join('\n').toStdString();
    EXPECT_TRUE(ui.DialogAnswers.empty());

    EXPECT_TRUE(cupsTest::WaitIdle());
    const QStringList pdfs = cupsTest::Pdfs();
    ASSERT_EQ(pdfs.size(), 2);
    ASSERT_EQ(cupsTest::PdfInfo(pdfs[0]).Pages, 30);
    // The queue's PDF keeps the text of a glyph only where its font is
    // embedded whole, and many glyphs of later pages are not: every page
    // is checked with the words it keeps whole (the trainee's name without
    // its number, the school); the order of the trainees with their own
    // grades is checked in the register and in the PDF of --batch.
    const QString own = folder.Path(QStringLiteral("own.pdf"));
    rudSaveReportToPdf(w.rudReport1, own);
    const QList<TPdfWord> ownWords = cupsTest::PdfWords(own, 1);
    auto height = [&](const QString &Word) {
        const std::optional<TPdfWord> word = cupsTest::FindWord(ownWords, Word);
        EXPECT_TRUE(word.has_value()) << qPrintable(Word);
        return word ? word->Bottom - word->Top : 0.0;
    };
    const double nameHeight = height(groupName(5).section(' ', 0, 0)), schoolHeight = height(QStringLiteral("Автошкола"));
    w.LoadTemplate();
    const QString name = QStringLiteral("Ученик Иван Петрович");
    for (int i = 1; i <= 30; ++i) {
        const QList<TPdfWord> words = cupsTest::PdfWords(pdfs[0], i);
        expectAtMemo(w, words, QStringLiteral("Memo5"), name, nameHeight);
        expectAtMemo(w, words, QStringLiteral("Memo1"), QStringLiteral("Автошкола"), schoolHeight);
    }
    ASSERT_EQ(cupsTest::PdfInfo(pdfs[1]).Pages, 2);
    for (int i = 1; i <= 2; ++i)
        expectAtMemo(w, cupsTest::PdfWords(pdfs[1], i), QStringLiteral("Memo5"), name, nameHeight);

    const QList<TCertificateRecord> records = w.Register().List();
    ASSERT_EQ(records.size(), 32);
    for (int i = 0; i < 32; ++i) {
        if (i < 30) {
            EXPECT_EQ(records[i].FullName, groupName(i + 1));
        }
        EXPECT_EQ(records[i].Number, QStringLiteral("%1").arg(i + 1, 6, 10, QLatin1Char('0')));
        const TRecordState state = i == 4 || i == 9 ? TRecordState::rsSpoiled
                                   : i >= 30        ? TRecordState::rsPrinted
                                                    : TRecordState::rsIssued;
        EXPECT_EQ(records[i].State, state) << i;
    }
    EXPECT_EQ(records[4].VoidReason, "Испорчен при печати");
    EXPECT_EQ(records[30].FullName, groupName(5));
    EXPECT_EQ(records[31].FullName, groupName(10));
    EXPECT_EQ(records[31].Values.value("cmb_10"), QString::number(10 % 3));

    // The register window shows the two left unconfirmed.
    w.N13->trigger();
    TfmRegister &r = *w.RegisterWindow();
    r.StateCB->setCurrentIndex(4);
    r.Refresh();
    EXPECT_EQ(r.Records->rowCount(), 2);
    ASSERT_EQ(r.Stock->rowCount(), 1);
    EXPECT_EQ(r.Stock->item(0, 3)->text(), "2");
}

// A list whose name column the reader does not know: the column is listed
// as unknown, and once mapped by hand the names are read.
TEST(GroupWindow, ImportListsUnknownColumnsAndTakesAHandMapping)
{
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    fillCertificate(w);
    const QString list = print.Folder.filePath(QStringLiteral("list.csv"));
    {
        QFile file(list);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Слушатель,Оценка 10\nОрлова Анна,Хорошо\nЛебедев Олег,Отлично\n");
    }
    w.N16->trigger();
    TfmGroup &g = *w.GroupWindow();
    g.Import(list);
    EXPECT_TRUE(g.ProblemsM->toPlainText().contains(QStringLiteral("Слушатель"))) << qPrintable(g.ProblemsM->toPlainText());
    g.ColumnC->setCurrentIndex(0);
    g.FieldC->setCurrentIndex(g.FieldC->findData(QStringLiteral("fio")));
    g.MapB->click();
    ASSERT_EQ(g.Table->rowCount(), 2);
    EXPECT_EQ(g.Table->item(1, TfmGroup::cName)->text(), "Лебедев Олег");
    EXPECT_EQ(g.Table->item(1, TfmGroup::cGrade1 + 9)->text(), "Отлично");
    EXPECT_FALSE(g.ProblemsM->toPlainText().contains(QStringLiteral("Слушатель"))) << qPrintable(g.ProblemsM->toPlainText());
    EXPECT_TRUE(g.Check()) << qPrintable(g.ProblemsM->toPlainText());
}
