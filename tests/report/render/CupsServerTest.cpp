// The private print server's start script itself: it must serve a build
// folder that the server's filters (run as the lp user) cannot reach, as a
// build tree under a home of mode 700 is.

#include "CupsSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

int runScript(const QString &Command, const QString &Dir)
{
    const QString script = qEnvironmentVariableIsEmpty("RUD_CUPS_SCRIPT") ? QStringLiteral(RUD_DEFAULT_CUPS_SCRIPT)
                                                                          : qEnvironmentVariable("RUD_CUPS_SCRIPT");
    QProcess process;
    process.start(QStringLiteral("bash"), {script, Command, Dir});
    process.waitForFinished(120000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

TEST_F(CupsPrinting, ServerServesAFolderTheLpUserCannotReach)
{
    QTemporaryDir home(QDir(QStringLiteral(RUD_DEFAULT_CUPS_DIR) + QStringLiteral("/..")).absolutePath() +
                       QStringLiteral("/home-XXXXXX"));
    ASSERT_TRUE(home.isValid());
    ASSERT_TRUE(QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString dir = home.filePath(QStringLiteral("cups"));
    ASSERT_EQ(runScript(QStringLiteral("start"), dir), 0);
    if (QFile::exists(dir + QStringLiteral("/unavailable")))
        GTEST_SKIP() << "the second server did not start";

    QFile text(home.filePath(QStringLiteral("page.txt")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Kontrol\n");
    text.close();
    QProcess lp;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CUPS_SERVER"), dir + QStringLiteral("/cups.sock"));
    lp.setProcessEnvironment(environment);
    lp.start(QStringLiteral("lp"), {QStringLiteral("-d"), QStringLiteral("PDF"), text.fileName()});
    ASSERT_TRUE(lp.waitForFinished(30000));
    ASSERT_EQ(lp.exitCode(), 0) << lp.readAllStandardError().constData();

    // The job's PDF holds the word once every filter could read the job.
    QStringList words;
    QElapsedTimer timer;
    timer.start();
    while (words.isEmpty() && timer.elapsed() < 30000) {
        QThread::msleep(200);
        for (const QFileInfo &pdf : QDir(dir + QStringLiteral("/pdf")).entryInfoList({QStringLiteral("*.pdf")}))
            for (const TPdfWord &word : cupsTest::PdfWords(pdf.absoluteFilePath()))
                words << word.Text;
    }
    const QString filesDir = [&] {
        QFile named(dir + QStringLiteral("/server-files"));
        return named.open(QIODevice::ReadOnly) ? QString::fromUtf8(named.readAll()).trimmed() : QString();
    }();
    EXPECT_EQ(runScript(QStringLiteral("stop"), dir), 0);
    EXPECT_EQ(words, QStringList{QStringLiteral("Kontrol")});
    // The folder made for the lp user goes with the server.
    EXPECT_FALSE(filesDir.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(filesDir));
}
