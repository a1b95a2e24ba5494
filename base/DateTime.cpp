#include "base/DateTime.h"

#include "base/Errors.h"

#include <cmath>

namespace {

constexpr int DateDelta = 693594; // days from 1 January 0001 to 30 December 1899

const int MonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                              {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// Milliseconds of the time of day, rounded to the nearest one; a value
// half a millisecond before midnight gives 0, like the day it belongs to.
int timeOfDayMSecs(TDateTime value)
{
    double d = value * MSecsPerDay;
    d = d < 0 ? d - 0.5 : d + 0.5;
    const double ms = std::fabs(std::trunc(d));
    return int(std::fmod(ms, MSecsPerDay));
}

} // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month)
{
    if (month < 1 || month > 12)
        return 0;
    return MonthDays[IsLeapYear(year)][month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime &date)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1
        || day > DaysInMonth(year, month))
        return false;
    if (month > 2) {
        month -= 3;
    } else {
        month += 9;
        --year;
    }
    const int c = year / 100;
    const int ya = year - 100 * c;
    date = double((146097 * c) / 4 + (1461 * ya) / 4 + (153 * month + 2) / 5 + day) - 693900;
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime date = 0;
    if (!TryEncodeDate(year, month, day, date))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return date;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime &time)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59
        || msec < 0 || msec > 999)
        return false;
    time = double(hour * 3600000 + minute * 60000 + second * 1000 + msec) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    TDateTime time = 0;
    if (!TryEncodeTime(hour, minute, second, msec, time))
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return time;
}

void DecodeDate(TDateTime date, int &year, int &month, int &day)
{
    if (!(date > -DateDelta) || std::isnan(date)) { // before 1 January 0001
        year = month = day = 0;
        return;
    }
    date += date > 0 ? 1 / (MSecsPerDay * 2) : -1 / (MSecsPerDay * 2);
    date = std::min(date, MaxDateTime);
    long long j = ((long long)std::trunc(date) + 693900) * 4 - 1;
    long long ly = j / 146097;
    j -= 146097 * ly;
    long long ld = j / 4;
    j = (ld * 4 + 3) / 1461;
    ld = (ld * 4 + 7 - 1461 * j) / 4;
    long long lm = (5 * ld - 3) / 153;
    ld = (5 * ld + 2 - 153 * lm) / 5;
    ly = 100 * ly + j;
    if (lm < 10) {
        lm += 3;
    } else {
        lm -= 9;
        ++ly;
    }
    year = int(ly);
    month = int(lm);
    day = int(ld);
}

void DecodeTime(TDateTime time, int &hour, int &minute, int &second, int &msec)
{
    int l = std::isfinite(time) ? timeOfDayMSecs(time) : 0;
    hour = l / 3600000;
    l %= 3600000;
    minute = l / 60000;
    l %= 60000;
    second = l / 1000;
    msec = l % 1000;
}

void CheckDateTimeRange(TDateTime value)
{
    if (!(value > -DateDelta && value < MaxDateTime + 1) || !std::isfinite(value))
        throw EConvertError(QStringLiteral("%1 is not a date from 1 January 0001 to 31 December 9999")
                                .arg(QString::number(value, 'g', 15)));
}

int DayOfWeek(TDateTime date)
{
    CheckDateTimeRange(date);
    int result = 1 + int(((long long)std::trunc(date) - 1) % 7);
    return result <= 0 ? result + 7 : result;
}

QString DateToStr(TDateTime date) { return DateToStr(date, FormatSettings()); }

QString DateToStr(TDateTime date, const TFormatSettings &settings)
{
    return FormatDateTime(settings.ShortDateFormat, date, settings);
}

QString TimeToStr(TDateTime time) { return TimeToStr(time, FormatSettings()); }

QString TimeToStr(TDateTime time, const TFormatSettings &settings)
{
    return FormatDateTime(settings.LongTimeFormat, time, settings);
}

QString DateTimeToStr(TDateTime value) { return DateTimeToStr(value, FormatSettings()); }

QString DateTimeToStr(TDateTime value, const TFormatSettings &settings)
{
    return FormatDateTime(QStringLiteral("c"), value, settings);
}

TDateTime Now() { return qDateTimeToDateTime(QDateTime::currentDateTime()); }

TDateTime Date() { return qDateToDateTime(QDate::currentDate()); }

TDateTime Time()
{
    const QTime t = QTime::currentTime();
    return double(t.msecsSinceStartOfDay()) / MSecsPerDay;
}

QDate dateTimeToQDate(TDateTime value)
{
    int y, m, d;
    DecodeDate(value, y, m, d);
    return y == 0 ? QDate() : QDate(y, m, d);
}

QDateTime dateTimeToQDateTime(TDateTime value)
{
    const QDate date = dateTimeToQDate(value);
    if (!date.isValid())
        return {};
    int h, n, s, ms;
    DecodeTime(value, h, n, s, ms);
    return QDateTime(date, QTime(h, n, s, ms));
}

TDateTime qDateToDateTime(const QDate &date)
{
    TDateTime result = 0;
    if (!date.isValid() || !TryEncodeDate(date.year(), date.month(), date.day(), result))
        return 0;
    return result;
}

TDateTime qDateTimeToDateTime(const QDateTime &value)
{
    const TDateTime date = qDateToDateTime(value.date());
    const double time = double(value.time().msecsSinceStartOfDay()) / MSecsPerDay;
    return date >= 0 ? date + time : date - time;
}
