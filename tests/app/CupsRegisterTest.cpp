// Prints into the register, on the private CUPS queue, from the command
// line and from the preview: what is printed is what is recorded, and
// nothing is printed unrecorded.

#include "AppTestSupport.h"
#include "RegisterTestSupport.h"

#include "app/main.h"
#include "records/Register.h"
#include "report/render/CupsSupport.h"
#include "report/render/rudPreview.h"
#include "report/render/rudPreviewForm.h"
#include "report/render/rudRenderInit.h"
#include "app/RegisterDialogs.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QStringList printArguments(const TRegisterFolder &Folder, const QStringList &More = {})
{
    return QStringList{QStringLiteral("--print"), Folder.Certificate, QStringLiteral("--db"), Folder.Database} + More;
}

} // namespace

TEST_F(CupsPrinting, RegisterRecordsEveryPrintOnTheNextBlank)
{
    TRegisterFolder folder;
    TRegister::Open(folder.Database)->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000009"));

    TRun run = runQuorvel(printArguments(folder));
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(cupsTest::WaitIdle());
    run = runQuorvel(printArguments(folder));
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(cupsTest::WaitIdle());
    EXPECT_EQ(cupsTest::Pdfs().size(), 2);
    QList<TCertificateRecord> records = TRegister::Open(folder.Database)->List();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].Number, "000001");
    EXPECT_EQ(records[1].Number, "000002");
    EXPECT_EQ(records[0].Series, "АБ");
    EXPECT_EQ(records[0].Printer, "PDF");
    EXPECT_EQ(records[0].FullName, "Иванов Иван");
    EXPECT_EQ(records[0].IssueDate, QDate(2015, 9, 1));
    EXPECT_EQ(records[0].Values.value("edit_10"), "17");
    EXPECT_EQ(records[0].Values.value("cmb_kpp"), "-1");
    EXPECT_EQ(records[0].Values.size(), 36);

    // A blank that is taken already: the print fails before any page.
    run = runQuorvel(printArguments(folder, {QStringLiteral("--number"), QStringLiteral("000001")}));
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("не напечатано"))) << run.Err.toStdString();
    // Another series, without stock: printed on the booklet and recorded without a number.
    run = runQuorvel(printArguments(folder, {QStringLiteral("--series"), QStringLiteral("ВГ")}));
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    // A PDF is never recorded.
    run = runQuorvel({QStringLiteral("--pdf"), folder.Certificate, folder.Path(QStringLiteral("a.pdf")),
                      QStringLiteral("--db"), folder.Database});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(cupsTest::WaitIdle());
    const QStringList pdfs = cupsTest::Pdfs();
    ASSERT_EQ(pdfs.size(), 3);
    EXPECT_TRUE(cupsTest::FindWord(cupsTest::PdfWords(pdfs.last()), QStringLiteral("ВГ")).has_value());
    records = TRegister::Open(folder.Database)->List();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[2].Series, "ВГ");
    EXPECT_EQ(records[2].Number, "");
}

TEST_F(CupsPrinting, RegisterThatCannotRecordPrintsNothing)
{
    TRegisterFolder folder;
    const TRun run = runQuorvel({QStringLiteral("--print"), folder.Certificate, QStringLiteral("--db"),
                                 QStringLiteral("postgresql://x@127.0.0.1:1/x")});
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("Свидетельство не напечатано"))) << run.Err.toStdString();
    EXPECT_TRUE(cupsTest::WaitIdle());
    EXPECT_TRUE(cupsTest::Pdfs().isEmpty()) << qPrintable(cupsTest::Pdfs().join(' '));
}

namespace {

// Prints from the preview of the print command; the message of a failure,
// or "" when none.
QString printFromPreview(TfmMain &w)
{
    QString failure;
    const bool printed = whenPrepared(
        [&](TfrxPreviewForm &form) {
            try {
                form.Preview()->Print();
            } catch (const Exception &error) {
                failure = error.Message();
            }
        },
        [&] { w.N7->trigger(); });
    EXPECT_TRUE(printed);
    return failure;
}

} // namespace

TEST_F(CupsPrinting, RegisterRecordsPrintsFromThePreview)
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
    w.Register().AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000010"));
    auto confirmPrint = [&] { ui.DialogAnswers.push_back([](QObject *) { return 1; }); };

    // The operator takes another free blank than the one proposed.
    confirmPrint();
    answer<TBlankDialog>(ui, [](TBlankDialog &d) {
        EXPECT_EQ(d.NumberE->text(), "000001");
        d.NumberE->setText(QStringLiteral("000003"));
    });
    EXPECT_EQ(printFromPreview(w), "");
    EXPECT_TRUE(cupsTest::WaitIdle());
    EXPECT_EQ(cupsTest::Pdfs().size(), 1);
    QList<TCertificateRecord> records = w.Register().List();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].Number, "000003");
    EXPECT_EQ(records[0].Printer, "PDF");
    EXPECT_EQ(records[0].FullName, "Иванов Иван");

    // Cancel in the blank dialog: nothing printed, nothing recorded, no message.
    confirmPrint();
    answer<TBlankDialog>(ui, nullptr, 0);
    EXPECT_EQ(printFromPreview(w), "");
    EXPECT_TRUE(cupsTest::WaitIdle());
    EXPECT_EQ(cupsTest::Pdfs().size(), 1);
    EXPECT_EQ(w.Register().List().size(), 1);

    // A duplicate of the first, on the next free blank, linked to it.
    w.OpenRecord(records[0], true);
    confirmPrint();
    answer<TBlankDialog>(ui, nullptr);
    EXPECT_EQ(printFromPreview(w), "");
    EXPECT_TRUE(cupsTest::WaitIdle());
    EXPECT_EQ(cupsTest::Pdfs().size(), 2);
    records = w.Register().List();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[1].Number, "000001");
    EXPECT_EQ(records[1].OriginalId, records[0].Id);
    EXPECT_FALSE(w.DuplicateOf().has_value());

    // A job that sends no page (a page range the certificate lacks) gives its blank back.
    ui.DialogAnswers.push_back([](QObject *dialog) {
        dialog->findChild<QRadioButton *>(QStringLiteral("PageNumbersRB"))->setChecked(true);
        dialog->findChild<QLineEdit *>(QStringLiteral("PageNumbersE"))->setText(QStringLiteral("9"));
        qobject_cast<QDialog *>(dialog)->done(QDialog::Accepted);
        return 1;
    });
    answer<TBlankDialog>(ui, nullptr);
    EXPECT_EQ(printFromPreview(w), "");
    EXPECT_TRUE(cupsTest::WaitIdle());
    EXPECT_EQ(cupsTest::Pdfs().size(), 2);
    EXPECT_EQ(w.Register().List().size(), 2);
    EXPECT_EQ(w.Register().NextFree(QStringLiteral("АБ")), "000002");
    EXPECT_TRUE(ui.Messages.empty()) << ui.MessageTexts().join('\n').toStdString();
    EXPECT_EQ(ui.DialogCaptions.count(QStringLiteral("Бланк свидетельства")), 4);
}

// Two programs print at the same time into one register on the private
// PostgreSQL server: every print takes a blank of its own.
TEST_F(CupsPrinting, RegisterOnPostgresGivesTwoProgramsDistinctBlanks)
{
    QFile url(qEnvironmentVariable("RUD_POSTGRES_DIR") + QStringLiteral("/url"));
    if (!url.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "no private PostgreSQL server: " << qPrintable(url.fileName()) << " is missing";
    const QString location = QString::fromUtf8(url.readAll()).trimmed();
    // A series of this run's own: the server's database outlives the test.
    const QString series = QString::number(QDateTime::currentMSecsSinceEpoch() % 9000 + 1000);
    TRegister::Open(location)->AddBlanks(series, QStringLiteral("000001"), QStringLiteral("000020"));
    TRegisterFolder folder;
    const QString program = qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/Quorvel_A5");
    const QString loop = QStringLiteral("for i in 1 2 3; do \"$0\" --print \"$1\" --series \"$2\" --db \"$3\" || exit 1; done");
    QProcess first, second;
    for (QProcess *run : {&first, &second})
        run->start(QStringLiteral("bash"), {QStringLiteral("-c"), loop, program, folder.Certificate, series, location});
    for (QProcess *run : {&first, &second}) {
        ASSERT_TRUE(run->waitForFinished(300000));
        EXPECT_EQ(run->exitCode(), 0) << run->readAllStandardError().toStdString();
    }
    EXPECT_TRUE(cupsTest::WaitIdle());
    EXPECT_EQ(cupsTest::Pdfs().size(), 6);
    QStringList numbers;
    for (const TCertificateRecord &record : TRegister::Open(location)->List())
        if (record.Series == series)
            numbers << record.Number;
    numbers.sort();
    EXPECT_EQ(numbers, (QStringList{"000001", "000002", "000003", "000004", "000005", "000006"}));
}
