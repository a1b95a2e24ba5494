#pragma once
// Dates and times of the classic Pascal runtime: TDateTime counts days since
// 30 December 1899, the fraction is the time of day. A negative value is a
// day before that date whose time is the absolute value of the fraction
// (-1.25 is 29 December 1899, 06:00). Text conversions use the regional
// settings (FormatSettings() or the record passed last) and raise
// EConvertError with the runtime's messages.

#include "base/FormatSettings.h"

#include <QDate>
#include <QDateTime>
#include <QString>

using TDateTime = double;

// Milliseconds and days the runtime counts with.
constexpr double MSecsPerDay = 86400000.0;
// Day number of 1 January 0001 in TDateTime terms (the earliest date).
constexpr double MinDateTime = -693593.0;
// 31 December 9999 23:59:59.999.
constexpr double MaxDateTime = 2958465.99999999;

// Raises EConvertError unless value is a date and time from 1 January 0001
// to 31 December 9999 (finite, on a day the calendar routines can name).
void CheckDateTimeRange(TDateTime value);

bool IsLeapYear(int year);
// Days of a month of a year (29 for February of a leap year).
int DaysInMonth(int year, int month);

// Date of year (1..9999), month and day. Raises "Invalid argument to date encode".
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime &date);
// Time of hour (0..23), minute, second, millisecond. Raises
// "Invalid argument to time encode".
TDateTime EncodeTime(int hour, int minute, int second, int msec);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime &time);
void DecodeDate(TDateTime date, int &year, int &month, int &day);
void DecodeTime(TDateTime time, int &hour, int &minute, int &second, int &msec);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime date);

// Picture formatting: d dd ddd dddd ddddd dddddd, m mm mmm mmmm (minutes right
// after an hour), yy yyyy, h hh, n nn, s ss, z zzz, t tt, am/pm a/p ampm, c,
// "/" date and ":" time separator, quoted text "..." '...'. An empty picture
// formats as "c".
QString FormatDateTime(const QString &picture, TDateTime value);
QString FormatDateTime(const QString &picture, TDateTime value, const TFormatSettings &settings);
QString DateToStr(TDateTime date);
QString DateToStr(TDateTime date, const TFormatSettings &settings);
QString TimeToStr(TDateTime time);
QString TimeToStr(TDateTime time, const TFormatSettings &settings);
QString DateTimeToStr(TDateTime value);
QString DateTimeToStr(TDateTime value, const TFormatSettings &settings);

// Date of a text in the order of ShortDateFormat (day, month, year in the
// order the format names them), numbers separated by DateSeparator; a missing
// year is the current one, a two-digit year lies within the century window.
// Raises "'%s' is not a valid date".
TDateTime StrToDate(const QString &text);
TDateTime StrToDate(const QString &text, const TFormatSettings &settings);
bool TryStrToDate(const QString &text, TDateTime &date);
bool TryStrToDate(const QString &text, TDateTime &date, const TFormatSettings &settings);
// Time "h[:n[:s[.z]]]" with an optional am/pm. Raises "'%s' is not a valid time".
TDateTime StrToTime(const QString &text);
TDateTime StrToTime(const QString &text, const TFormatSettings &settings);
bool TryStrToTime(const QString &text, TDateTime &time);
bool TryStrToTime(const QString &text, TDateTime &time, const TFormatSettings &settings);
// A date, optionally followed by a time. Raises "'%s' is not a valid date and time".
TDateTime StrToDateTime(const QString &text);
TDateTime StrToDateTime(const QString &text, const TFormatSettings &settings);
bool TryStrToDateTime(const QString &text, TDateTime &value);
bool TryStrToDateTime(const QString &text, TDateTime &value, const TFormatSettings &settings);

// The local clock: date and time, the date only, the time only.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Conversions with Qt's types (local time, millisecond precision).
QDate dateTimeToQDate(TDateTime value);
QDateTime dateTimeToQDateTime(TDateTime value);
TDateTime qDateToDateTime(const QDate &date);
TDateTime qDateTimeToDateTime(const QDateTime &value);
