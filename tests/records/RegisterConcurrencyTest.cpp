// Two programs printing into one register at the same time: every
// certificate gets its own blank, none is lost, none waits into a failure.

#include "RegisterTestSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <QThread>

#include <future>
#include <thread>

namespace {

constexpr int perWorker = 50;
const char *const workerLocation = "RUD_REGISTER_WORKER_LOCATION";
const char *const workerName = "RUD_REGISTER_WORKER_NAME";

} // namespace

// The child's part: run by the test below as a program of its own (the
// test executable started with this test's filter); not part of a normal run.
TEST(RegisterWorker, DISABLED_RecordsFiftyCertificates)
{
    const QString location = qEnvironmentVariable(workerLocation);
    const QString name = qEnvironmentVariable(workerName);
    ASSERT_FALSE(location.isEmpty());
    auto reg = TRegister::Open(location);
    for (int i = 0; i < perWorker; ++i) {
        TNewCertificate c;
        c.Series = QStringLiteral("АБ");
        c.FullName = QStringLiteral("%1 %2").arg(name).arg(i);
        c.Values.insert(QStringLiteral("edit_1"), c.FullName);
        reg->Record(c);
    }
}

using RegisterConcurrency = RegisterBackendTest;

TEST_P(RegisterConcurrency, TwoProgramsRecordFiftyEachOnDistinctBlanks)
{
    TRegister::Open(Location)->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000200"));
    QProcess workers[2];
    for (int i = 0; i < 2; ++i) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(workerLocation), Location);
        environment.insert(QString::fromLatin1(workerName), QStringLiteral("worker%1").arg(i));
        environment.remove(QStringLiteral("GTEST_FILTER"));
        workers[i].setProcessEnvironment(environment);
        workers[i].setProcessChannelMode(QProcess::MergedChannels);
        workers[i].start(QCoreApplication::applicationFilePath(),
                         {QStringLiteral("--gtest_also_run_disabled_tests"),
                          QStringLiteral("--gtest_filter=RegisterWorker.DISABLED_RecordsFiftyCertificates")});
    }
    for (QProcess &worker : workers) {
        ASSERT_TRUE(worker.waitForFinished(300000));
        const QString output = QString::fromUtf8(worker.readAll());
        EXPECT_EQ(worker.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(worker.exitCode(), 0) << qPrintable(output);
    }

    const QList<TCertificateRecord> records = TRegister::Open(Location)->List();
    ASSERT_EQ(records.size(), 2 * perWorker);
    QSet<QString> blanks, names;
    for (const TCertificateRecord &r : records) {
        blanks.insert(r.Number);
        names.insert(r.FullName);
    }
    EXPECT_EQ(blanks.size(), 2 * perWorker);
    EXPECT_EQ(names.size(), 2 * perWorker);
    // The lowest blanks, none skipped.
    EXPECT_TRUE(blanks.contains(QStringLiteral("000001")));
    EXPECT_TRUE(blanks.contains(QStringLiteral("000100")));
}

TEST_P(RegisterConcurrency, ABlankTakenMeanwhileByAnotherOfficeGivesTheNextOne)
{
    auto reg = TRegister::Open(Location);
    reg->AddBlanks(QStringLiteral("АБ"), QStringLiteral("000001"), QStringLiteral("000010"));
    // The other office has put its certificate on 000001 but not committed
    // yet when this one looks for the lowest free blank.
    std::promise<void> inserted;
    std::thread office([&] {
        TRawConnection other(Location);
        other.Exec(QStringLiteral("BEGIN"));
        other.Exec(QStringLiteral("INSERT INTO certificate (series, number, width, state, full_name, name_folded, "
                                  "printed_at, printer, field_values) VALUES ('АБ', 1, 6, 0, 'Другой', 'другой', "
                                  "'2026-01-01T00:00:00.000Z', '', '{}')"));
        inserted.set_value();
        QThread::msleep(300);
        other.Exec(QStringLiteral("COMMIT"));
    });
    inserted.get_future().wait();
    TNewCertificate c;
    c.Series = QStringLiteral("АБ");
    c.FullName = QStringLiteral("Этот");
    EXPECT_EQ(reg->Record(c).Number, QStringLiteral("000002"));
    office.join();
    EXPECT_EQ(reg->List().size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Sqlite, RegisterConcurrency, ::testing::Values(TBackend::Sqlite), backendName);
INSTANTIATE_TEST_SUITE_P(Pg, RegisterConcurrency, ::testing::Values(TBackend::Postgres), backendName);
