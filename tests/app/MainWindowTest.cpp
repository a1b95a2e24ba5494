#include "app/main.h"

#include <gtest/gtest.h>

TEST(MainWindow, CaptionIsTheCertificateTitle)
{
    TfmMain window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Свидетельство о профессии водителя (книжка А5 с протоколом)"));
    EXPECT_EQ(window.objectName(), "fmMain");
}
