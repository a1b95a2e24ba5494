// Test main for rooms without widgets.

#include <QCoreApplication>
#include "base/FormatSettings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    keepAwayFromMachinePrinters();
    QCoreApplication application(argc, argv);
    // A test that states no locale runs under the US English settings,
    // whatever the machine's locale (an unset one would give Russian ones).
    setFormatSettings(englishFormatSettings());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
