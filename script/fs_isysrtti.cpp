// The system module's registration and the global module list. The function
// handlers live in fs_isysfunctions*.cpp.

#include "script/fs_isysrtti.h"

#include "script/fs_iinterpreter.h"

#include <algorithm>
#include <vector>

namespace {

// Declarations of one function group, in registration order.
struct TFunctionGroup {
    const char *Category;
    std::vector<const char *> Declarations;
};

const TFunctionGroup kConv{
    "ctConv",
    {"function IntToStr(i: Integer): String", "function FloatToStr(e: Extended): String",
     "function DateToStr(e: Extended): String", "function TimeToStr(e: Extended): String",
     "function DateTimeToStr(e: Extended): String", "function BoolToStr(B: Boolean): string;",
     "function VarToStr(v: Variant): String", "function StrToInt(s: String): Integer",
     "function StrToInt64(s: String): Int64", "function StrToFloat(s: String): Extended",
     "function StrToDate(s: String): Extended", "function StrToTime(s: String): Extended",
     "function StrToDateTime(s: String): Extended", "function StrToBool(const S: string): Boolean;"}};

const TFunctionGroup kFormat{
    "ctFormat",
    {"function Format(Fmt: String; Args: array): String",
     "function FormatFloat(Fmt: String; Value: Extended): String",
     "function FormatDateTime(Fmt: String; DateTime: TDateTime): String",
     "function FormatMaskText(EditMask: string; Value: string): string"}};

const TFunctionGroup kDate{
    "ctDate",
    {"function EncodeDate(Year, Month, Day: Word): TDateTime",
     "procedure DecodeDate(Date: TDateTime; var Year, Month, Day: Word)",
     "function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime",
     "procedure DecodeTime(Time: TDateTime; var Hour, Min, Sec, MSec: Word)", "function Date: TDateTime",
     "function Time: TDateTime", "function Now: TDateTime", "function DayOfWeek(aDate: TDateTime): Integer",
     "function IsLeapYear(Year: Word): Boolean", "function DaysInMonth(nYear, nMonth: Integer): Integer"}};

const TFunctionGroup kString{
    "ctString",
    {"function Length(s: Variant): Integer", "function Copy(s: String; from, count: Integer): String",
     "function Pos(substr, s: String): Integer", "procedure Delete(var s: String; from, count: Integer)",
     "procedure DeleteStr(var s: String; from, count: Integer)",
     "procedure Insert(s: String; var s2: String; pos: Integer)", "function Uppercase(s: String): String",
     "function Lowercase(s: String): String", "function Trim(s: String): String",
     "function NameCase(s: String): String", "function CompareText(s, s1: String): Integer",
     "function Chr(i: Integer): Char", "function Ord(ch: Char): Integer",
     "procedure SetLength(var S: Variant; L: Integer)"}};

const TFunctionGroup kMath{
    "ctMath",
    {"function Round(e: Extended): Integer", "function Trunc(e: Extended): Integer",
     "function Int(e: Extended): Integer", "function Frac(X: Extended): Extended",
     "function Sqrt(e: Extended): Extended", "function Abs(e: Extended): Extended",
     "function Sin(e: Extended): Extended", "function Cos(e: Extended): Extended",
     "function ArcTan(X: Extended): Extended", "function Tan(X: Extended): Extended",
     "function Exp(X: Extended): Extended", "function Ln(X: Extended): Extended", "function Pi: Extended"}};

const TFunctionGroup kOther{
    "ctOther",
    {"procedure Inc(var i: Integer; incr: Integer = 1)", "procedure Dec(var i: Integer; decr: Integer = 1)",
     "procedure RaiseException(Param: String)", "procedure ShowMessage(Msg: Variant)", "procedure Randomize",
     "function Random: Extended", "function ValidInt(cInt: String): Boolean",
     "function ValidFloat(cFlt: String): Boolean", "function ValidDate(cDate: String): Boolean",
     "function ExtractFilePath(const FileName: string): string;",
     "function CreateOleObject(ClassName: String): Variant",
     "function VarArrayCreate(Bounds: Array; Typ: Integer): Variant", "function VarType(V: Variant): Integer"}};

QStringList &categories()
{
    static QStringList list{QStringLiteral("ctConv"),   QStringLiteral("ctFormat"), QStringLiteral("ctDate"),
                            QStringLiteral("ctString"), QStringLiteral("ctMath"),   QStringLiteral("ctOther")};
    return list;
}

} // namespace

TfsSysFunctions::TfsSysFunctions(TfsScript *script) : TfsRTTIModule(script)
{
    TfsScript &s = *script;
    for (const char *category : {"ctConv", "ctFormat", "ctDate", "ctString", "ctMath", "ctOther"})
        fsRegisterCategory(QLatin1String(category));

    const struct {
        const char *Name;
        TfsVarType Typ;
    } types[] = {
        {"Byte", fvtInt},      {"Word", fvtInt},        {"Integer", fvtInt},  {"Int64", fvtInt64},
        {"Longint", fvtInt},   {"Cardinal", fvtInt},    {"TColor", fvtInt},   {"TAlphaColor", fvtInt},
        {"Boolean", fvtBool},  {"Real", fvtFloat},      {"Single", fvtFloat}, {"Double", fvtFloat},
        {"Extended", fvtFloat}, {"Currency", fvtFloat}, {"TDate", fvtFloat},  {"TTime", fvtFloat},
        {"TDateTime", fvtFloat}, {"Char", fvtChar},     {"String", fvtString}, {"Variant", fvtVariant},
        {"Pointer", fvtVariant}, {"Array", fvtArray},   {"Constructor", fvtConstructor},
    };
    for (const auto &t : types)
        s.AddType(QLatin1String(t.Name), t.Typ);

    s.AddConst(QStringLiteral("True"), QStringLiteral("Boolean"), TfsVariant(true));
    s.AddConst(QStringLiteral("False"), QStringLiteral("Boolean"), TfsVariant(false));
    s.AddConst(QStringLiteral("nil"), QStringLiteral("Variant"), TfsVariant(0));
    s.AddConst(QStringLiteral("Null"), QStringLiteral("Variant"), TfsVariant::Null());

    s.Add(std::make_unique<TfsStringHelper>());
    s.Add(std::make_unique<TfsArrayHelper>());

    s.AddVariable(QStringLiteral("ExceptionClassName"), QStringLiteral("String"), TfsVariant(QString()));
    s.AddVariable(QStringLiteral("ExceptionMessage"), QStringLiteral("String"), TfsVariant(QString()));

    using THandler = TfsVariant (TfsSysFunctions::*)(const QString &, TfsCustomVariable &);
    const std::pair<const TFunctionGroup *, THandler> groups[] = {
        {&kConv, &TfsSysFunctions::CallConv},     {&kFormat, &TfsSysFunctions::CallFormat},
        {&kDate, &TfsSysFunctions::CallDate},     {&kString, &TfsSysFunctions::CallString},
        {&kMath, &TfsSysFunctions::CallMath},     {&kOther, &TfsSysFunctions::CallOther},
    };
    for (const auto &[group, groupHandler] : groups) {
        // A copy: clang 14 does not capture structured bindings.
        const THandler handler = groupHandler;
        auto call = [this, handler](QObject *, TfsClassVariable *, const QString &name, TfsCustomVariable &caller) {
            return (this->*handler)(name, caller);
        };
        for (const char *declaration : group->Declarations)
            s.AddMethod(QLatin1String(declaration), call, QLatin1String(group->Category));
    }

    const struct {
        const char *Name;
        int Value;
    } varTypes[] = {
        {"varEmpty", 0},    {"varNull", 1},     {"varSmallint", 2},  {"varInteger", 3},   {"varSingle", 4},
        {"varDouble", 5},   {"varCurrency", 6}, {"varDate", 7},      {"varOleStr", 8},    {"varDispatch", 9},
        {"varError", 10},   {"varBoolean", 11}, {"varVariant", 12},  {"varUnknown", 13},  {"varShortInt", 16},
        {"varByte", 17},    {"varWord", 18},    {"varLongWord", 19}, {"varInt64", 20},    {"varStrArg", 72},
        {"varString", 256}, {"varAny", 257},    {"varTypeMask", 4095}, {"varArray", 8192}, {"varByRef", 16384},
    };
    for (const auto &v : varTypes)
        s.AddConst(QLatin1String(v.Name), QStringLiteral("Integer"), TfsVariant(v.Value));
}

QStringList fsFunctionCategories()
{
    return categories();
}

void fsRegisterCategory(const QString &category)
{
    if (!category.isEmpty() && !categories().contains(category))
        categories().append(category);
}

// ---------------------------------------------------------------------------
// The global module list

namespace {

constexpr int kUnranked = 1000;

// Rank of a module name in the fixed order; the system module is 0.
int moduleRank(const QString &name)
{
    static const char *const order[] = {"TfsSysFunctions", fsModuleClasses, fsModuleGraphics, fsModuleForms,
                                        fsModuleReport,    fsModuleDialogs, fsModuleIni};
    for (int i = 0; i < int(std::size(order)); ++i)
        if (name == QLatin1String(order[i]))
            return i;
    return kUnranked;
}

// Names of the modules of the list; kept the same length as the list (a
// module pushed into the list directly gets an empty name).
QStringList &moduleNames()
{
    static QStringList names{QStringLiteral("TfsSysFunctions")};
    return names;
}

void syncNames()
{
    QStringList &names = moduleNames();
    while (names.size() < qsizetype(fsRTTIModules().size()))
        names.append(QString());
}

} // namespace

std::vector<TfsRTTIModuleFactory> &fsRTTIModules()
{
    static std::vector<TfsRTTIModuleFactory> modules{
        [](TfsScript *script) { return std::make_unique<TfsSysFunctions>(script); }};
    return modules;
}

void fsRegisterRTTIModule(const QString &name, TfsRTTIModuleFactory factory)
{
    std::vector<TfsRTTIModuleFactory> &modules = fsRTTIModules();
    syncNames();
    QStringList &names = moduleNames();
    if (name.isEmpty() || names.contains(name) || !factory)
        return;
    const int rank = moduleRank(name);
    // A known module goes right before the first known module that ranks
    // after it, else to the end; modules without a rank never move.
    qsizetype at = names.size();
    if (rank != kUnranked) {
        for (qsizetype i = 0; i < names.size(); ++i) {
            const int other = moduleRank(names[i]);
            if (other != kUnranked && other > rank) {
                at = i;
                break;
            }
        }
    }
    modules.insert(modules.begin() + at, std::move(factory));
    names.insert(at, name);
}

QStringList fsRTTIModuleNames()
{
    syncNames();
    return moduleNames();
}
