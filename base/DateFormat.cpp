// FormatDateTime pictures and the date and time parsers.

#include "base/DateTime.h"

#include "base/Errors.h"

#include <QTime>

namespace {

// The parts of one date-time value a picture draws from.
struct TDateParts {
    int Year, Month, Day, DayOfWeek, Hour, Minute, Second, MSec;
};

void appendNumber(QString &out, int value, int digits)
{
    const QString text = QString::number(value);
    if (text.size() < digits)
        out += QString(digits - text.size(), QLatin1Char('0'));
    out += text;
}

bool startsWithNoCase(const QString &text, qsizetype at, const char *word)
{
    return QStringView(text).mid(at).startsWith(QLatin1String(word), Qt::CaseInsensitive);
}

// Writes one picture. Letters are case-insensitive; a run of one letter is
// one token. "m" means minutes right after an hour token or inside a time
// format; an unquoted am/pm, a/p or ampm anywhere switches hours to 12.
class TDateWriter {
public:
    TDateWriter(const TDateParts &parts, const TFormatSettings &settings)
        : FParts(parts), FSettings(settings)
    {
    }

    QString write(const QString &picture)
    {
        store(picture, 0, false);
        return FOut;
    }

private:
    static bool hasClock12(const QString &picture)
    {
        const qsizetype n = picture.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QChar c = picture[i];
            if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
                ++i;
                while (i < n && picture[i] != c)
                    ++i;
            } else if ((c == QLatin1Char('a') || c == QLatin1Char('A'))
                       && (startsWithNoCase(picture, i, "a/p") || startsWithNoCase(picture, i, "ampm")
                           || startsWithNoCase(picture, i, "am/pm"))) {
                return true;
            }
        }
        return false;
    }

    // `nesting` stops a format named by a format (ddddd, c, t) from
    // expanding further; `timeFlag` marks a time format, where m is minutes.
    void store(const QString &picture, int nesting, bool timeFlag)
    {
        if (nesting > 1)
            return;
        const bool clock12 = hasClock12(picture);
        QChar lastToken = QLatin1Char(' ');
        const qsizetype n = picture.size();
        qsizetype i = 0;
        while (i < n) {
            const QChar original = picture[i];
            const QChar token = original.toUpper();
            qsizetype count = 1;
            switch (token.unicode()) {
            case '\'':
            case '"': {
                qsizetype j = i + 1;
                while (j < n && picture[j] != original)
                    ++j;
                FOut += QStringView(picture).mid(i + 1, j - i - 1);
                count = j + 1 - i;
                break;
            }
            case 'A':
                if (startsWithNoCase(picture, i, "ampm")) {
                    count = 4;
                    FOut += FParts.Hour < 12 ? FSettings.TimeAMString : FSettings.TimePMString;
                } else if (startsWithNoCase(picture, i, "am/pm")) {
                    count = 5;
                    FOut += QStringView(picture).mid(FParts.Hour < 12 ? i : i + 3, 2);
                } else if (startsWithNoCase(picture, i, "a/p")) {
                    count = 3;
                    FOut += picture[FParts.Hour < 12 ? i : i + 2];
                } else {
                    FOut += original;
                }
                break;
            case '/':
                FOut += FSettings.DateSeparator;
                break;
            case ':':
                FOut += FSettings.TimeSeparator;
                break;
            case ' ': case 'C': case 'D': case 'H': case 'M': case 'N': case 'S': case 'T':
            case 'Y': case 'Z': case 'F': {
                while (i + count < n && picture[i + count].toUpper() == token)
                    ++count;
                token_(token, int(count), picture.mid(i, count), nesting, timeFlag, clock12,
                       lastToken);
                lastToken = token;
                break;
            }
            default:
                FOut += original;
            }
            i += count;
        }
    }

    void token_(QChar token, int count, const QString &run, int nesting, bool timeFlag,
                bool clock12, QChar lastToken)
    {
        const TDateParts &p = FParts;
        const TFormatSettings &s = FSettings;
        switch (token.unicode()) {
        case ' ':
            FOut += run;
            break;
        case 'Y':
            if (count > 2)
                appendNumber(FOut, p.Year, 4);
            else
                appendNumber(FOut, p.Year % 100, 2);
            break;
        case 'M':
            if (lastToken == QLatin1Char('H') || timeFlag) {
                appendNumber(FOut, p.Minute, count == 1 ? 0 : 2);
            } else if (count <= 2) {
                appendNumber(FOut, p.Month, count == 1 ? 0 : 2);
            } else if (p.Month >= 1) {
                FOut += count == 3 ? s.ShortMonthNames[p.Month - 1] : s.LongMonthNames[p.Month - 1];
            }
            break;
        case 'D':
            if (count <= 2)
                appendNumber(FOut, p.Day, count == 1 ? 0 : 2);
            else if (count == 3)
                FOut += s.ShortDayNames[p.DayOfWeek - 1];
            else if (count == 4)
                FOut += s.LongDayNames[p.DayOfWeek - 1];
            else
                store(count == 5 ? s.ShortDateFormat : s.LongDateFormat, nesting + 1, false);
            break;
        case 'H': {
            int hour = p.Hour;
            if (clock12) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            appendNumber(FOut, hour, count == 1 ? 0 : 2);
            break;
        }
        case 'N':
            appendNumber(FOut, p.Minute, count == 1 ? 0 : 2);
            break;
        case 'S':
            appendNumber(FOut, p.Second, count == 1 ? 0 : 2);
            break;
        case 'Z':
            appendNumber(FOut, p.MSec, count == 1 ? 0 : 3);
            break;
        case 'T':
            store(count == 1 ? s.ShortTimeFormat : s.LongTimeFormat, nesting + 1, true);
            break;
        case 'C':
            store(s.ShortDateFormat, nesting + 1, false);
            if (p.Hour != 0 || p.Minute != 0 || p.Second != 0) {
                FOut += QLatin1Char(' ');
                store(s.LongTimeFormat, nesting + 1, true);
            }
            break;
        case 'F':
            store(s.ShortDateFormat, nesting + 1, false);
            FOut += QLatin1Char(' ');
            store(s.LongTimeFormat, nesting + 1, true);
            break;
        default:
            break;
        }
    }

    const TDateParts &FParts;
    const TFormatSettings &FSettings;
    QString FOut;
};

// A cursor over a text being parsed: blanks are skipped before every item.
class TScanner {
public:
    explicit TScanner(const QString &text) : FText(text) {}

    bool atEnd() const { return FPos >= FText.size(); }
    qsizetype pos() const { return FPos; }
    void setPos(qsizetype pos) { FPos = pos; }

    void skipBlanks()
    {
        while (FPos < FText.size() && FText[FPos] == QLatin1Char(' '))
            ++FPos;
    }

    // Up to four digits (a number stops once it reaches 1000).
    bool number(int &value, int &length)
    {
        skipBlanks();
        value = 0;
        const qsizetype start = FPos;
        while (FPos < FText.size() && FText[FPos].unicode() >= '0' && FText[FPos].unicode() <= '9'
               && value < 1000) {
            value = value * 10 + (FText[FPos].unicode() - '0');
            ++FPos;
        }
        length = int(FPos - start);
        return length > 0;
    }

    bool character(QChar c)
    {
        skipBlanks();
        if (FPos < FText.size() && FText[FPos] == c) {
            ++FPos;
            return true;
        }
        return false;
    }

    bool word(const QString &w)
    {
        skipBlanks();
        if (w.isEmpty() || !QStringView(FText).mid(FPos).startsWith(w, Qt::CaseInsensitive))
            return false;
        FPos += w.size();
        return true;
    }

private:
    const QString &FText;
    qsizetype FPos = 0;
};

enum class TDateOrder { MDY, DMY, YMD };

// The order of day, month and year: the first of the letters d, m, y of
// the short date format decides.
TDateOrder dateOrder(const QString &format)
{
    for (QChar c : format) {
        switch (c.toUpper().unicode()) {
        case 'Y':
        case 'E': return TDateOrder::YMD;
        case 'M': return TDateOrder::MDY;
        case 'D': return TDateOrder::DMY;
        default: break;
        }
    }
    return TDateOrder::MDY;
}

// n1 sep n2 [sep n3] [sep]: two numbers are day and month of this year;
// a year of at most two digits lies within the century window.
bool scanDate(TScanner &scan, TDateTime &date, const TFormatSettings &s)
{
    int n1, n2, n3, l1, l2, l3;
    if (!scan.number(n1, l1) || !scan.character(s.DateSeparator) || !scan.number(n2, l2))
        return false;
    const TDateOrder order = dateOrder(s.ShortDateFormat);
    int y, m, d;
    if (scan.character(s.DateSeparator)) {
        if (!scan.number(n3, l3))
            return false;
        int yearLength;
        switch (order) {
        case TDateOrder::MDY: y = n3; yearLength = l3; m = n1; d = n2; break;
        case TDateOrder::DMY: y = n3; yearLength = l3; m = n2; d = n1; break;
        default: y = n1; yearLength = l1; m = n2; d = n3; break;
        }
        if (yearLength <= 2)
            y = expandTwoDigitYear(y, s);
    } else {
        y = QDate::currentDate().year();
        if (order == TDateOrder::DMY) {
            d = n1;
            m = n2;
        } else {
            m = n1;
            d = n2;
        }
    }
    scan.character(s.DateSeparator);
    scan.skipBlanks();
    return TryEncodeDate(y, m, d, date);
}

// [am/pm] h [sep n [sep s [decimal z]]] [am/pm]
bool scanTime(TScanner &scan, TDateTime &time, const TFormatSettings &s)
{
    int baseHour = -1;
    auto scanHalf = [&] {
        if (scan.word(s.TimeAMString) || scan.word(QStringLiteral("AM")))
            baseHour = 0;
        else if (scan.word(s.TimePMString) || scan.word(QStringLiteral("PM")))
            baseHour = 12;
    };
    scanHalf();
    int hour, minute = 0, second = 0, msec = 0, junk;
    if (!scan.number(hour, junk))
        return false;
    if (scan.character(s.TimeSeparator)) {
        if (!scan.number(minute, junk))
            return false;
        if (scan.character(s.TimeSeparator)) {
            if (!scan.number(second, junk))
                return false;
            if (scan.character(s.DecimalSeparator) && !scan.number(msec, junk))
                return false;
        }
    }
    if (baseHour < 0)
        scanHalf();
    if (baseHour >= 0) {
        if (hour == 0 || hour > 12)
            return false;
        if (hour == 12)
            hour = 0;
        hour += baseHour;
    }
    scan.skipBlanks();
    return TryEncodeTime(hour, minute, second, msec, time);
}

} // namespace

QString FormatDateTime(const QString &picture, TDateTime value)
{
    return FormatDateTime(picture, value, FormatSettings());
}

QString FormatDateTime(const QString &picture, TDateTime value, const TFormatSettings &settings)
{
    TDateParts p;
    DecodeDate(value, p.Year, p.Month, p.Day);
    DecodeTime(value, p.Hour, p.Minute, p.Second, p.MSec);
    p.DayOfWeek = std::isfinite(value) && std::fabs(value) < 1e9 ? DayOfWeek(value) : 1;
    return TDateWriter(p, settings).write(picture.isEmpty() ? QStringLiteral("C") : picture);
}

bool TryStrToDate(const QString &text, TDateTime &date)
{
    return TryStrToDate(text, date, FormatSettings());
}

bool TryStrToDate(const QString &text, TDateTime &date, const TFormatSettings &settings)
{
    TScanner scan(text);
    TDateTime result = 0;
    if (!scanDate(scan, result, settings) || !scan.atEnd())
        return false;
    date = result;
    return true;
}

int expandTwoDigitYear(int year, const TFormatSettings &settings)
{
    const int centuryBase = QDate::currentDate().year() - settings.TwoDigitYearCenturyWindow;
    year += centuryBase / 100 * 100;
    if (settings.TwoDigitYearCenturyWindow > 0 && year < centuryBase)
        year += 100;
    return year;
}

TDateTime StrToDate(const QString &text) { return StrToDate(text, FormatSettings()); }

TDateTime StrToDate(const QString &text, const TFormatSettings &settings)
{
    TDateTime date = 0;
    if (!TryStrToDate(text, date, settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
    return date;
}

bool TryStrToTime(const QString &text, TDateTime &time)
{
    return TryStrToTime(text, time, FormatSettings());
}

bool TryStrToTime(const QString &text, TDateTime &time, const TFormatSettings &settings)
{
    TScanner scan(text);
    TDateTime result = 0;
    if (!scanTime(scan, result, settings) || !scan.atEnd())
        return false;
    time = result;
    return true;
}

TDateTime StrToTime(const QString &text) { return StrToTime(text, FormatSettings()); }

TDateTime StrToTime(const QString &text, const TFormatSettings &settings)
{
    TDateTime time = 0;
    if (!TryStrToTime(text, time, settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(text));
    return time;
}

bool TryStrToDateTime(const QString &text, TDateTime &value)
{
    return TryStrToDateTime(text, value, FormatSettings());
}

// A date with an optional time after it, or a time alone.
bool TryStrToDateTime(const QString &text, TDateTime &value, const TFormatSettings &settings)
{
    TScanner scan(text);
    TDateTime date = 0, time = 0;
    if (scanDate(scan, date, settings) && (scan.atEnd() || (scanTime(scan, time, settings) && scan.atEnd()))) {
        value = date >= 0 ? date + time : date - time;
        return true;
    }
    return TryStrToTime(text, value, settings);
}

TDateTime StrToDateTime(const QString &text) { return StrToDateTime(text, FormatSettings()); }

TDateTime StrToDateTime(const QString &text, const TFormatSettings &settings)
{
    TDateTime value = 0;
    if (!TryStrToDateTime(text, value, settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(text));
    return value;
}
