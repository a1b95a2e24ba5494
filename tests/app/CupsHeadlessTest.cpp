// The command line's print command against the private CUPS server.

#include "RegisterTestSupport.h"

#include "report/render/CupsSupport.h"

#include <QProcess>

// A queue that is not there stops the print command with the queues there
// are, and nothing reaches the default queue.
TEST_F(CupsPrinting, HeadlessPrintToAnUnknownQueueIsAnError)
{
    TRegisterFolder folder;
    const QString vod = folder.Certificate;

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
