#pragma once
// Number text in the classic Pascal runtime's rules: IntToStr/StrToInt,
// FloatToStr/StrToFloat, FormatFloat pictures, printf-style Format and the
// Round that sends halves to the even neighbour. Every function that depends
// on regional settings has an overload taking them last; the other form uses
// FormatSettings(). Failures raise EConvertError with the runtime's messages.

#include "base/FormatSettings.h"

#include <QString>
#include <QVariantList>

// Float text formats of FloatToStrF.
enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Decimal text of an integer ("-42").
QString IntToStr(qint64 value);
// Hexadecimal text of an integer, upper case, at least `digits` digits.
QString IntToHex(qint64 value, int digits);

// 32-bit integer of a text: optional leading spaces and sign, decimal digits or
// "$"/"0x" and hexadecimal digits. Raises "'%s' is not a valid integer value".
int StrToInt(const QString &text);
qint64 StrToInt64(const QString &text);
bool TryStrToInt(const QString &text, int &value);
bool TryStrToInt64(const QString &text, qint64 &value);
// StrToInt that answers `fallback` instead of raising.
int StrToIntDef(const QString &text, int fallback);

// General format with 15 significant digits: "41982.6347830324", "1E20",
// "0.00001", "1E-6", "-0.5"; NaN and infinities as "Nan", "+Inf", "-Inf".
QString FloatToStr(double value);
QString FloatToStr(double value, const TFormatSettings &settings);
// The classic FloatToStrF: format, precision (significant digits, 1..15 for
// a double; -1 for the most) and digits (decimals for ffFixed, ffNumber and
// ffCurrency, at least that many exponent digits for ffExponent).
QString FloatToStrF(double value, TFloatFormat format, int precision, int digits);
QString FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                    const TFormatSettings &settings);
// Picture formatting: "#", "0", ".", ",", "E+"/"E-"/"e+"/"e-", quoted text
// '...' and "...", up to three ";" sections (positive; negative; zero).
QString FormatFloat(const QString &picture, double value);
QString FormatFloat(const QString &picture, double value, const TFormatSettings &settings);

// Float of a text: optional leading/trailing spaces and sign, digits with one
// DecimalSeparator, an optional exponent ("E", sign, digits). Raises
// "'%s' is not a valid floating point value".
double StrToFloat(const QString &text);
double StrToFloat(const QString &text, const TFormatSettings &settings);
bool TryStrToFloat(const QString &text, double &value);
bool TryStrToFloat(const QString &text, double &value, const TFormatSettings &settings);
// StrToFloat that answers `fallback` instead of raising.
double StrToFloatDef(const QString &text, double fallback);

// printf-style formatting of the classic runtime: "%" [index ":"] ["-"]
// [width] ["." precision] type, width and precision may be "*"; types d u e f
// g n m p s x (upper or lower case); "%%" is a percent sign. Arguments are
// integers, floats, strings, Booleans or characters in QVariants. A directive
// that does not fit its argument raises
// "Format '%s' invalid or incompatible with argument".
QString Format(const QString &format, const QVariantList &args);
QString Format(const QString &format, const QVariantList &args, const TFormatSettings &settings);

// The classic Round: the nearest integer, halves to the even neighbour
// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Raises EInvalidOp outside the qint64 range.
qint64 RoundHalfEven(double value);
