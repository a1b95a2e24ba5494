#include "base/DateTime.h"
#include "base/FormatSettings.h"

#include <QLocale>

#include <gtest/gtest.h>

TEST(FormatSettingsTest, LocalePatternsBecomeClassicLetters)
{
    const TFormatSettings de = localeFormatSettings(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.DecimalSeparator, QLatin1Char(','));
    EXPECT_EQ(de.ThousandSeparator, QLatin1Char('.'));
    EXPECT_EQ(de.DateSeparator, QLatin1Char('.'));
    EXPECT_EQ(de.ShortDateFormat.toLower(), "dd.mm.yy");
    EXPECT_EQ(de.ShortTimeFormat, "hh:nn");
    EXPECT_EQ(de.LongDayNames[0], "Sonntag");
    EXPECT_EQ(DateToStr(EncodeDate(2015, 5, 3), de), "03.05.15");

    const TFormatSettings us = localeFormatSettings(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.DecimalSeparator, QLatin1Char('.'));
    EXPECT_TRUE(us.ShortTimeFormat.contains("AMPM")) << us.ShortTimeFormat.toStdString();
    EXPECT_EQ(FormatDateTime(us.ShortTimeFormat, EncodeTime(13, 4, 0, 0), us), "1:04 PM");

    const TFormatSettings ru = localeFormatSettings(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(ru.ShortDateFormat, "dd.MM.yyyy");
    EXPECT_EQ(ru.ThousandSeparator, QChar(0x00A0));
    EXPECT_EQ(localeFormatSettings(QLocale::c()).ShortDateFormat, "M/d/yyyy");
}

// An unset locale (C, POSIX) means a desktop nobody configured: the program
// is a Russian one and lives by Russian settings there; real locales rule.
TEST(FormatSettingsTest, UnsetLocaleMeansRussian)
{
    EXPECT_TRUE(isUnsetLocale(QLocale::c()));
    EXPECT_TRUE(isUnsetLocale(QLocale(QStringLiteral("C"))));
    EXPECT_FALSE(isUnsetLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
    EXPECT_EQ(homeLocale(QLocale::c()), QLocale(QLocale::Russian, QLocale::Russia));
    for (const QLocale &real : {QLocale(QLocale::English, QLocale::UnitedStates),
                                QLocale(QLocale::Kazakh, QLocale::Kazakhstan),
                                QLocale(QLocale::Russian, QLocale::Russia)})
        EXPECT_EQ(homeLocale(real), real) << real.name().toStdString();

    const TFormatSettings home = localeFormatSettings(homeLocale(QLocale::c()));
    EXPECT_EQ(home.DecimalSeparator, QLatin1Char(','));
    EXPECT_EQ(DateToStr(EncodeDate(2015, 5, 3), home), "03.05.2015");
    EXPECT_EQ(FormatDateTime(home.LongDateFormat, EncodeDate(2015, 5, 3), home), "3 мая 2015 г.");
    if (isUnsetLocale(QLocale::system())) {
        EXPECT_EQ(systemFormatSettings().ShortDateFormat, "dd.MM.yyyy");
    }
}
