// The tests run on office machines with real printers: they must never see
// them (a machine's printer descriptions are read into caches that outlive
// the test, and a test could print on paper).

#include <QPrinterInfo>
#include <gtest/gtest.h>

TEST(MachinePrinters, TestsSeeNoPrinterOfTheMachine)
{
    const QString server = qEnvironmentVariable("CUPS_SERVER");
    ASSERT_FALSE(server.isEmpty());
    EXPECT_TRUE(server.startsWith(qEnvironmentVariable("RUD_BINARY_DIR"))) << qPrintable(server);
    EXPECT_EQ(QPrinterInfo::availablePrinterNames(), QStringList());
}
