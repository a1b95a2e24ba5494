#include "base/FormatSettings.h"

#include <QLocale>
#include <memory>

namespace {

std::unique_ptr<TFormatSettings> &current()
{
    static std::unique_ptr<TFormatSettings> settings;
    return settings;
}

void setNames(QString *target, std::initializer_list<const char16_t *> names)
{
    for (const char16_t *name : names)
        *target++ = QString::fromUtf16(name);
}

// Copies a run of one Qt pattern letter as the classic letter, keeping its length.
void appendRun(QString &out, QChar letter, qsizetype length)
{
    out += QString(length, letter);
}

// Maps a Qt date/time pattern to the classic picture letters: M -> m (month),
// m -> n (minutes), H -> h, AP/ap/A/a -> AMPM; the time-zone letter is dropped
// with the space before it; other letters are quoted so that they stay text.
QString classicPattern(const QString &pattern)
{
    QString out;
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('\'')) {
            qsizetype j = i + 1;
            QString text;
            while (j < n) {
                if (pattern[j] == QLatin1Char('\'')) {
                    if (j + 1 < n && pattern[j + 1] == QLatin1Char('\'')) {
                        text += QLatin1Char('\'');
                        j += 2;
                        continue;
                    }
                    break;
                }
                text += pattern[j++];
            }
            i = j + 1;
            if (text.contains(QLatin1Char('\'')))
                out += QLatin1Char('"') + text + QLatin1Char('"');
            else
                out += QLatin1Char('\'') + text + QLatin1Char('\'');
            continue;
        }
        qsizetype run = 1;
        while (i + run < n && pattern[i + run] == c)
            ++run;
        switch (c.unicode()) {
        case 'd': appendRun(out, QLatin1Char('d'), qMin<qsizetype>(run, 4)); break;
        case 'M': appendRun(out, QLatin1Char('m'), qMin<qsizetype>(run, 4)); break;
        case 'y': appendRun(out, QLatin1Char('y'), run <= 2 ? 2 : 4); break;
        case 'h':
        case 'H': appendRun(out, QLatin1Char('h'), qMin<qsizetype>(run, 2)); break;
        case 'm': appendRun(out, QLatin1Char('n'), qMin<qsizetype>(run, 2)); break;
        case 's': appendRun(out, QLatin1Char('s'), qMin<qsizetype>(run, 2)); break;
        case 'z': appendRun(out, QLatin1Char('z'), run >= 3 ? 3 : 1); break;
        case 'A':
        case 'a':
            out += QStringLiteral("AMPM");
            if (i + run < n && (pattern[i + run] == QLatin1Char('P') || pattern[i + run] == QLatin1Char('p')))
                ++run;
            break;
        case 't':
            while (out.endsWith(QLatin1Char(' ')))
                out.chop(1);
            break;
        default:
            if (c.isLetter())
                out += QLatin1Char('\'') + QString(run, c) + QLatin1Char('\'');
            else
                out += QString(run, c);
        }
        i += run;
    }
    return out.trimmed();
}

// The first character of a pattern that is neither a letter nor quoted text.
QChar separatorOf(const QString &pattern, QChar fallback)
{
    bool quoted = false;
    for (QChar c : pattern) {
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && !c.isLetterOrNumber() && !c.isSpace())
            return c;
    }
    return fallback;
}

} // namespace

const TFormatSettings &FormatSettings()
{
    auto &settings = current();
    if (!settings)
        settings = std::make_unique<TFormatSettings>(systemFormatSettings());
    return *settings;
}

void setFormatSettings(const TFormatSettings &settings)
{
    current() = std::make_unique<TFormatSettings>(settings);
}

TFormatSettings englishFormatSettings()
{
    TFormatSettings s;
    setNames(s.ShortMonthNames, {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug",
                                 u"Sep", u"Oct", u"Nov", u"Dec"});
    setNames(s.LongMonthNames, {u"January", u"February", u"March", u"April", u"May", u"June",
                                u"July", u"August", u"September", u"October", u"November",
                                u"December"});
    setNames(s.ShortDayNames, {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"});
    setNames(s.LongDayNames, {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday",
                              u"Friday", u"Saturday"});
    return s;
}

TFormatSettings russianFormatSettings()
{
    TFormatSettings s;
    s.DecimalSeparator = QLatin1Char(',');
    s.ThousandSeparator = QChar(0x00A0);
    s.DateSeparator = QLatin1Char('.');
    s.TimeSeparator = QLatin1Char(':');
    s.ListSeparator = QLatin1Char(';');
    s.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    s.LongDateFormat = QString::fromUtf8("d MMMM yyyy 'г.'");
    s.ShortTimeFormat = QStringLiteral("h:mm");
    s.LongTimeFormat = QStringLiteral("h:mm:ss");
    s.TimeAMString.clear();
    s.TimePMString.clear();
    setNames(s.ShortMonthNames, {u"янв", u"фев", u"мар", u"апр", u"май", u"июн", u"июл", u"авг",
                                 u"сен", u"окт", u"ноя", u"дек"});
    setNames(s.LongMonthNames, {u"января", u"февраля", u"марта", u"апреля", u"мая", u"июня",
                                u"июля", u"августа", u"сентября", u"октября", u"ноября",
                                u"декабря"});
    setNames(s.ShortDayNames, {u"Вс", u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб"});
    setNames(s.LongDayNames, {u"воскресенье", u"понедельник", u"вторник", u"среда", u"четверг",
                              u"пятница", u"суббота"});
    s.CurrencyString = QString::fromUtf8("₽");
    s.CurrencyFormat = 3;
    s.NegCurrFormat = 8;
    s.CurrencyDecimals = 2;
    return s;
}

TFormatSettings localeFormatSettings(const QLocale &locale)
{
    if (locale.language() == QLocale::C)
        return englishFormatSettings();
    if (locale.language() == QLocale::Russian)
        return russianFormatSettings();
    TFormatSettings s = englishFormatSettings();
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    if (decimal.size() == 1)
        s.DecimalSeparator = decimal[0];
    if (group.size() == 1)
        s.ThousandSeparator = group[0];
    if (s.ThousandSeparator == QChar(0x202F))
        s.ThousandSeparator = QChar(0x00A0);
    s.ShortDateFormat = classicPattern(locale.dateFormat(QLocale::ShortFormat));
    s.LongDateFormat = classicPattern(locale.dateFormat(QLocale::LongFormat));
    s.ShortTimeFormat = classicPattern(locale.timeFormat(QLocale::ShortFormat));
    s.LongTimeFormat = classicPattern(locale.timeFormat(QLocale::LongFormat));
    s.DateSeparator = separatorOf(s.ShortDateFormat, QLatin1Char('/'));
    s.TimeSeparator = separatorOf(s.LongTimeFormat, QLatin1Char(':'));
    s.ListSeparator = s.DecimalSeparator == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(',');
    s.TimeAMString = locale.amText();
    s.TimePMString = locale.pmText();
    for (int m = 0; m < 12; ++m) {
        s.ShortMonthNames[m] = locale.monthName(m + 1, QLocale::ShortFormat);
        s.LongMonthNames[m] = locale.monthName(m + 1, QLocale::LongFormat);
    }
    for (int d = 0; d < 7; ++d) {
        const int qtDay = d == 0 ? 7 : d; // Qt counts Monday 1 .. Sunday 7
        s.ShortDayNames[d] = locale.dayName(qtDay, QLocale::ShortFormat);
        s.LongDayNames[d] = locale.dayName(qtDay, QLocale::LongFormat);
    }
    s.CurrencyString = locale.currencySymbol();
    s.CurrencyDecimals = 2;
    const QString money = locale.toCurrencyString(1.0, s.CurrencyString, 0);
    const bool after = money.endsWith(s.CurrencyString);
    const bool spaced = money.contains(QLatin1Char(' ')) || money.contains(QChar(0x00A0));
    s.CurrencyFormat = (after ? 1 : 0) + (spaced ? 2 : 0);
    s.NegCurrFormat = after ? (spaced ? 8 : 5) : (spaced ? 9 : 1);
    return s;
}

bool isUnsetLocale(const QLocale &locale)
{
    return locale.language() == QLocale::C;
}

QLocale homeLocale(const QLocale &system)
{
    return isUnsetLocale(system) ? QLocale(QLocale::Russian, QLocale::Russia) : system;
}

QLocale homeLocale()
{
    return homeLocale(QLocale::system());
}

TFormatSettings systemFormatSettings()
{
    return localeFormatSettings(homeLocale());
}

TFormatSettingsScope::TFormatSettingsScope(const TFormatSettings &settings)
    : FPrevious(FormatSettings())
{
    setFormatSettings(settings);
}

TFormatSettingsScope::~TFormatSettingsScope() { setFormatSettings(FPrevious); }
