// Handlers of the system module's functions: conversion, formatting, date
// and string groups. Every handler is called with the function's name in
// upper case and the calling item, whose parameters hold the arguments
// (already converted to the declared types) and take back var parameters.

#include "script/fs_isysfunctions_p.h"
#include "script/fs_isysrtti.h"

#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/MaskText.h"
#include "base/NumberFormat.h"
#include "script/fs_iconst.h"

#include <QLocale>
#include <QVariantList>

namespace {

TfsVariant arg(const TfsCustomVariable &caller, int index)
{
    return caller.ParamValue(index);
}

QString text(const TfsCustomVariable &caller, int index)
{
    return caller.ParamValue(index).ToText();
}

// A date argument; one outside the calendar's range is a conversion error.
TDateTime dateArg(const TfsCustomVariable &caller, int index)
{
    const TDateTime value = caller.ParamValue(index).ToDouble();
    CheckDateTimeRange(value);
    return value;
}

// The Boolean of a text: "True"/"False" in any case, or a number (0 is False).
bool strToBool(const QString &s)
{
    const QString t = s.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    double d = 0;
    if (TryStrToFloat(t, d))
        return d != 0;
    throw EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(s));
}

// One element of Format's argument array as a printf-style argument. An
// empty or null element is an empty text; other kinds keep their own type,
// and the formatter refuses those that do not fit their directive.
QVariant formatArgument(const QVariant &element)
{
    if (!element.isValid() || element.typeId() == QMetaType::Nullptr)
        return QVariant(QString());
    return element;
}

QVariantList formatArguments(const TfsVariant &args)
{
    QVariantList list;
    if (args.IsArray()) {
        const QVariantList elements = args.ToQVariant().toList();
        for (const QVariant &e : elements)
            list << formatArgument(e);
    } else if (!args.IsEmpty() && !args.IsNull()) {
        list << formatArgument(args.ToQVariant()); // a single value stands for a one-element array
    }
    return list;
}

} // namespace

TfsVariant TfsSysFunctions::CallConv(const QString &name, TfsCustomVariable &caller)
{
    if (name == QLatin1String("INTTOSTR"))
        return IntToStr(arg(caller, 0).ToInt64());
    if (name == QLatin1String("FLOATTOSTR"))
        return FloatToStr(arg(caller, 0).ToDouble());
    if (name == QLatin1String("DATETOSTR"))
        return DateToStr(dateArg(caller, 0));
    if (name == QLatin1String("TIMETOSTR"))
        return TimeToStr(arg(caller, 0).ToDouble());
    if (name == QLatin1String("DATETIMETOSTR"))
        return DateTimeToStr(dateArg(caller, 0));
    if (name == QLatin1String("BOOLTOSTR"))
        return arg(caller, 0).ToBool() ? QStringLiteral("-1") : QStringLiteral("0");
    if (name == QLatin1String("VARTOSTR"))
        return text(caller, 0);
    if (name == QLatin1String("STRTOINT"))
        return StrToInt(text(caller, 0));
    if (name == QLatin1String("STRTOINT64"))
        return StrToInt64(text(caller, 0));
    if (name == QLatin1String("STRTOFLOAT"))
        return StrToFloat(text(caller, 0));
    if (name == QLatin1String("STRTODATE"))
        return StrToDate(text(caller, 0));
    if (name == QLatin1String("STRTOTIME"))
        return StrToTime(text(caller, 0));
    if (name == QLatin1String("STRTODATETIME"))
        return StrToDateTime(text(caller, 0));
    if (name == QLatin1String("STRTOBOOL"))
        return strToBool(text(caller, 0));
    return TfsVariant::Null();
}

TfsVariant TfsSysFunctions::CallFormat(const QString &name, TfsCustomVariable &caller)
{
    if (name == QLatin1String("FORMAT"))
        return Format(text(caller, 0), formatArguments(arg(caller, 1)));
    if (name == QLatin1String("FORMATFLOAT"))
        return FormatFloat(text(caller, 0), arg(caller, 1).ToDouble());
    if (name == QLatin1String("FORMATDATETIME"))
        return FormatDateTime(text(caller, 0), dateArg(caller, 1));
    if (name == QLatin1String("FORMATMASKTEXT"))
        return FormatMaskText(text(caller, 0), text(caller, 1));
    return TfsVariant::Null();
}

TfsVariant TfsSysFunctions::CallDate(const QString &name, TfsCustomVariable &caller)
{
    if (name == QLatin1String("ENCODEDATE"))
        return EncodeDate(arg(caller, 0).ToInt(), arg(caller, 1).ToInt(), arg(caller, 2).ToInt());
    if (name == QLatin1String("DECODEDATE")) {
        int year = 0, month = 0, day = 0;
        DecodeDate(dateArg(caller, 0), year, month, day);
        caller.SetParamValue(1, year);
        caller.SetParamValue(2, month);
        caller.SetParamValue(3, day);
        return TfsVariant::Null();
    }
    if (name == QLatin1String("ENCODETIME"))
        return EncodeTime(arg(caller, 0).ToInt(), arg(caller, 1).ToInt(), arg(caller, 2).ToInt(),
                          arg(caller, 3).ToInt());
    if (name == QLatin1String("DECODETIME")) {
        int hour = 0, minute = 0, second = 0, msec = 0;
        DecodeTime(arg(caller, 0).ToDouble(), hour, minute, second, msec);
        caller.SetParamValue(1, hour);
        caller.SetParamValue(2, minute);
        caller.SetParamValue(3, second);
        caller.SetParamValue(4, msec);
        return TfsVariant::Null();
    }
    if (name == QLatin1String("DATE"))
        return Date();
    if (name == QLatin1String("TIME"))
        return Time();
    if (name == QLatin1String("NOW"))
        return Now();
    if (name == QLatin1String("DAYOFWEEK"))
        return DayOfWeek(arg(caller, 0).ToDouble());
    if (name == QLatin1String("ISLEAPYEAR"))
        return IsLeapYear(arg(caller, 0).ToInt());
    if (name == QLatin1String("DAYSINMONTH"))
        return DaysInMonth(arg(caller, 0).ToInt(), arg(caller, 1).ToInt());
    return TfsVariant::Null();
}

TfsVariant TfsSysFunctions::CallString(const QString &name, TfsCustomVariable &caller)
{
    if (name == QLatin1String("LENGTH"))
        return fsSysLength(arg(caller, 0));
    if (name == QLatin1String("COPY"))
        return fsSysCopy(text(caller, 0), arg(caller, 1).ToInt(), arg(caller, 2).ToInt());
    if (name == QLatin1String("POS"))
        return fsSysPos(text(caller, 0), text(caller, 1));
    if (name == QLatin1String("DELETE") || name == QLatin1String("DELETESTR")) {
        caller.SetParamValue(0, fsSysDelete(text(caller, 0), arg(caller, 1).ToInt(), arg(caller, 2).ToInt()));
        return TfsVariant::Null();
    }
    if (name == QLatin1String("INSERT")) {
        caller.SetParamValue(1, fsSysInsert(text(caller, 0), text(caller, 1), arg(caller, 2).ToInt()));
        return TfsVariant::Null();
    }
    if (name == QLatin1String("UPPERCASE"))
        return QLocale().toUpper(text(caller, 0));
    if (name == QLatin1String("LOWERCASE"))
        return QLocale().toLower(text(caller, 0));
    if (name == QLatin1String("TRIM"))
        return fsSysTrim(text(caller, 0));
    if (name == QLatin1String("NAMECASE"))
        return fsSysNameCase(text(caller, 0));
    if (name == QLatin1String("COMPARETEXT"))
        return fsSysCompareText(text(caller, 0), text(caller, 1));
    if (name == QLatin1String("CHR"))
        return fsSysChr(arg(caller, 0).ToInt64());
    if (name == QLatin1String("ORD"))
        return fsSysOrd(text(caller, 0));
    if (name == QLatin1String("SETLENGTH")) {
        caller.SetParamValue(0, fsSysSetLength(arg(caller, 0), arg(caller, 1).ToInt()));
        return TfsVariant::Null();
    }
    return TfsVariant::Null();
}
