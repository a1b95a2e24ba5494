// The command line's print command against the private CUPS server.

#include "report/render/CupsSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// A complete certificate, as the window writes one.
const char *const certificate = "[Слева]\n"
                                "edit_1=Автошкола\nedit_2=\nedit_3=г. Тверь\nedit_4=АБ\nedit_5=Иванов Иван\n"
                                "edit_6=категории В\nedit_7=водитель\nedit_8=B\nedit_9=Петров П. П.\nedit_10=17\n"
                                "date1=03.05.2015\ndate2=28.07.2015\ndate3=01.09.2015\ndate4=31.08.2015\n"
                                "[Таблица]\n"
                                "edt_1=10\nedt_2=20\nedt_3=3\nedt_4=4\nedt_5=5\nedt_6=6\nedt_7=7\nedt_8=8\nedt_9=9\n"
                                "edt_10=0\nedt_11=72\n";

} // namespace

// A queue that is not there stops the print command with the queues there
// are, and nothing reaches the default queue.
TEST_F(CupsPrinting, HeadlessPrintToAnUnknownQueueIsAnError)
{
    QTemporaryDir dir;
    const QString vod = dir.filePath(QStringLiteral("sample.vod"));
    QFile file(vod);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(certificate);
    file.close();

    QProcess run;
    run.start(qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/Quorvel_A5"),
              {QStringLiteral("--print"), vod, QStringLiteral("--printer"), QStringLiteral("NoSuchQueue")});
    ASSERT_TRUE(run.waitForFinished(120000));
    EXPECT_EQ(run.exitCode(), 1);
    EXPECT_EQ(run.readAllStandardError().trimmed().toStdString(),
              "Printer \"NoSuchQueue\" not found. Available printers: PDF");
    EXPECT_TRUE(cupsTest::WaitIdle());
    EXPECT_TRUE(cupsTest::Pdfs().isEmpty()) << qPrintable(cupsTest::Pdfs().join(' '));
}
