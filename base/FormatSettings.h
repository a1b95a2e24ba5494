#pragma once
// Regional settings: the record every number and date text of the system is
// formatted and parsed with. The program reads it from the operating system's
// locale once at start-up (setFormatSettings(systemFormatSettings())); tests
// set a fixed record, usually through TFormatSettingsScope.

#include <QChar>
#include <QString>

// The classic runtime's regional-settings record. Date and time formats use
// the classic picture letters (d m y h n s z, am/pm, quoted text), not Qt's.
struct TFormatSettings {
    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');
    QChar DateSeparator = QLatin1Char('/');
    QChar TimeSeparator = QLatin1Char(':');
    QChar ListSeparator = QLatin1Char(',');
    QString ShortDateFormat = QStringLiteral("M/d/yyyy");
    QString LongDateFormat = QStringLiteral("dddd, MMMM d, yyyy");
    QString ShortTimeFormat = QStringLiteral("h:mm AMPM");
    QString LongTimeFormat = QStringLiteral("h:mm:ss AMPM");
    QString TimeAMString = QStringLiteral("AM");
    QString TimePMString = QStringLiteral("PM");
    QString ShortMonthNames[12];   // January first
    QString LongMonthNames[12];    // January first
    QString ShortDayNames[7];      // Sunday first
    QString LongDayNames[7];       // Sunday first
    QString CurrencyString = QStringLiteral("$");
    int CurrencyFormat = 0;        // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    int NegCurrFormat = 0;         // 0..15, the classic table of negative forms
    int CurrencyDecimals = 2;
    int TwoDigitYearCenturyWindow = 50; // two-digit years: within this many years back
};

// The settings in effect (the system's, computed on first use, until set).
const TFormatSettings &FormatSettings();
// Replaces the settings in effect.
void setFormatSettings(const TFormatSettings &settings);

// True for the C and POSIX locales, which mean "no locale configured".
bool isUnsetLocale(const class QLocale &locale);
// The locale the program lives in: the operating system's, or Russia's when
// the system's is unset (C or POSIX), the program being a Russian one.
class QLocale homeLocale();
// homeLocale() for a system locale given.
class QLocale homeLocale(const class QLocale &system);
// The settings of homeLocale(): the system locale's, Russian ones under C or POSIX.
TFormatSettings systemFormatSettings();
// The settings of a Russian Windows system: comma, no-break space, dd.MM.yyyy.
TFormatSettings russianFormatSettings();
// The settings of a US English Windows system: point, comma, M/d/yyyy.
TFormatSettings englishFormatSettings();
// The settings of a Qt locale, its patterns mapped to the classic letters;
// the C locale gives englishFormatSettings().
TFormatSettings localeFormatSettings(const class QLocale &locale);

// Sets the settings for the lifetime of the scope and restores the previous
// ones when it ends.
class TFormatSettingsScope {
public:
    explicit TFormatSettingsScope(const TFormatSettings &settings);
    ~TFormatSettingsScope();
    TFormatSettingsScope(const TFormatSettingsScope &) = delete;
    TFormatSettingsScope &operator=(const TFormatSettingsScope &) = delete;

private:
    TFormatSettings FPrevious;
};
