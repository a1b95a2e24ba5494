// Handlers of the system module's mathematical and other functions.

#include "script/fs_isysfunctions_p.h"
#include "script/fs_isysrtti.h"

#include "base/DateTime.h"
#include "base/NumberFormat.h"
#include "base/UserInterface.h"
#include "script/fs_iconst.h"

#include <cmath>
#include <limits>
#include <random>

namespace {

// A floating-point result that is not a number, or infinite from a finite
// argument, is the runtime's floating-point error instead of a silent value.
double checkedFloat(double result, double argument)
{
    if (std::isnan(result) && !std::isnan(argument))
        throw EfsRuntimeError(QStringLiteral("EInvalidOp"), QStringLiteral("Invalid floating point operation"));
    if (std::isinf(result) && std::isfinite(argument)) {
        if (argument == 0)
            throw EfsRuntimeError(QStringLiteral("EZeroDivide"), QStringLiteral("Floating point division by zero"));
        throw EfsRuntimeError(QStringLiteral("EOverflow"), QStringLiteral("Floating point overflow"));
    }
    return result;
}

qint64 truncToInt64(double value)
{
    const double t = std::trunc(value);
    if (!(t >= -9223372036854775808.0 && t < 9223372036854775808.0))
        throw EInvalidOp(QStringLiteral("Invalid floating point operation"));
    return qint64(t);
}

std::mt19937_64 &generator()
{
    static std::mt19937_64 engine;
    return engine;
}

// Adds step to a var parameter; a result beyond the 32-bit range is an error
// rather than a wrapped value.
TfsVariant addChecked(const TfsVariant &value, qint64 step)
{
    const qint64 r = value.ToInt64() + step;
    if (r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max())
        throw EfsRuntimeError(QStringLiteral("EIntOverflow"), QStringLiteral("Integer overflow"));
    return TfsVariant(int(r));
}

} // namespace

TfsVariant TfsSysFunctions::CallMath(const QString &name, TfsCustomVariable &caller)
{
    const double x = name == QLatin1String("PI") ? 0 : caller.ParamValue(0).ToDouble();
    if (name == QLatin1String("ROUND"))
        return TfsVariant::FromInteger(RoundHalfEven(x));
    if (name == QLatin1String("TRUNC"))
        return TfsVariant::FromInteger(truncToInt64(x));
    if (name == QLatin1String("INT"))
        return std::trunc(x);
    if (name == QLatin1String("FRAC"))
        return checkedFloat(x - std::trunc(x), x);
    if (name == QLatin1String("SQRT"))
        return checkedFloat(std::sqrt(x), x);
    if (name == QLatin1String("ABS"))
        return std::fabs(x);
    if (name == QLatin1String("SIN"))
        return checkedFloat(std::sin(x), x);
    if (name == QLatin1String("COS"))
        return checkedFloat(std::cos(x), x);
    if (name == QLatin1String("ARCTAN"))
        return std::atan(x);
    if (name == QLatin1String("TAN"))
        return checkedFloat(std::sin(x) / std::cos(x), x);
    if (name == QLatin1String("EXP"))
        return checkedFloat(std::exp(x), x);
    if (name == QLatin1String("LN"))
        return checkedFloat(std::log(x), x);
    if (name == QLatin1String("PI"))
        return 3.1415926535897932385;
    return TfsVariant::Null();
}

TfsVariant TfsSysFunctions::CallOther(const QString &name, TfsCustomVariable &caller)
{
    if (name == QLatin1String("INC") || name == QLatin1String("DEC")) {
        const qint64 step = caller.ParamValue(1).ToInt64();
        caller.SetParamValue(0, addChecked(caller.ParamValue(0), name == QLatin1String("INC") ? step : -step));
        return TfsVariant::Null();
    }
    if (name == QLatin1String("RAISEEXCEPTION"))
        throw EfsRuntimeError(QStringLiteral("Exception"), caller.ParamValue(0).ToText());
    if (name == QLatin1String("SHOWMESSAGE")) {
        showMessage(caller.ParamValue(0).ToText());
        return TfsVariant::Null();
    }
    if (name == QLatin1String("RANDOMIZE")) {
        generator().seed(std::random_device{}());
        return TfsVariant::Null();
    }
    if (name == QLatin1String("RANDOM"))
        return double(generator()() >> 11) * 0x1.0p-53; // 53 random bits: 0 <= r < 1
    if (name == QLatin1String("VALIDINT")) {
        int i = 0;
        return TryStrToInt(caller.ParamValue(0).ToText(), i);
    }
    if (name == QLatin1String("VALIDFLOAT")) {
        double d = 0;
        return TryStrToFloat(caller.ParamValue(0).ToText(), d);
    }
    if (name == QLatin1String("VALIDDATE")) {
        TDateTime d = 0;
        return TryStrToDate(caller.ParamValue(0).ToText(), d);
    }
    if (name == QLatin1String("EXTRACTFILEPATH"))
        return fsSysExtractFilePath(caller.ParamValue(0).ToText());
    if (name == QLatin1String("CREATEOLEOBJECT"))
        throw EfsRuntimeError(QStringLiteral("EOleSysError"),
                              QStringLiteral("Automation objects are not available on this system"));
    if (name == QLatin1String("VARARRAYCREATE"))
        return fsSysVarArrayCreate(caller.ParamValue(0), caller.ParamValue(1).ToInt());
    if (name == QLatin1String("VARTYPE"))
        return caller.ParamValue(0).VarType();
    return TfsVariant::Null();
}
