#include "report/render/QtUserInterface.h"
#include "report/render/SystemFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <gtest/gtest.h>

TEST(QtUserInterface, FilterPairsBecomeQtFilters)
{
    EXPECT_EQ(qtFilterList("файл свидетельства о профессии водителя|*.vod"),
              QStringList{"файл свидетельства о профессии водителя (*.vod)"});
    EXPECT_EQ(qtFilterList("Report (*.fr3)|*.fr3|Compressed report (*.fr3)|*.fr3"),
              (QStringList{"Report (*.fr3)", "Compressed report (*.fr3)"}));
    EXPECT_EQ(qtFilterList("Pictures|*.png;*.jpg"), QStringList{"Pictures (*.png *.jpg)"});
    EXPECT_TRUE(qtFilterList("").isEmpty());
}

TEST(QtUserInterface, TypedNameGetsTheSelectedFiltersExtension)
{
    EXPECT_EQ(defaultSuffixFor("файл свидетельства о профессии водителя (*.vod)", "1"), "vod");
    EXPECT_EQ(defaultSuffixFor("Pictures (*.png *.jpg)", "png"), "png");
    EXPECT_EQ(defaultSuffixFor("All files (*.*)", "fr3"), "fr3");
    EXPECT_EQ(defaultSuffixFor("", "fr3"), "fr3");
    EXPECT_EQ(defaultSuffixFor("Report (*.fr3)", ""), "");
}

TEST(SystemFonts, TahomaAndTheMetricTwinsAreAvailable)
{
    registerSystemFonts();
    const QStringList families = QFontDatabase::families();
    EXPECT_TRUE(families.contains("Tahoma"));
    // Times New Roman and Arial resolve to metric-compatible faces.
    EXPECT_EQ(QFontInfo(QFont("Times New Roman")).family(), "Liberation Serif");
    EXPECT_EQ(QFontInfo(QFont("Arial")).family(), "Liberation Sans");
}
