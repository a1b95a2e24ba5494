// The system module.

#include "script/fs_isysrtti.h"

#include "base/UserInterface.h"
#include "script/fs_iinterpreter.h"

TfsSysFunctions::TfsSysFunctions(TfsScript *script) : TfsRTTIModule(script)
{
    TfsScript &s = *script;
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

    auto call = [this](QObject *instance, TfsClassVariable *cls, const QString &name, TfsCustomVariable &caller) {
        return CallMethod(instance, cls, name, caller);
    };
    s.AddMethod(QStringLiteral("procedure ShowMessage(Msg: Variant)"), call, QStringLiteral("ctOther"));

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

TfsVariant TfsSysFunctions::CallMethod(QObject *, TfsClassVariable *, const QString &methodName,
                                       TfsCustomVariable &caller)
{
    if (methodName == QLatin1String("SHOWMESSAGE"))
        showMessage(caller.ParamValue(0).ToText());
    return TfsVariant::Null();
}

QStringList fsFunctionCategories()
{
    return {QStringLiteral("ctConv"), QStringLiteral("ctFormat"), QStringLiteral("ctDate"),
            QStringLiteral("ctString"), QStringLiteral("ctMath"), QStringLiteral("ctOther")};
}

std::vector<TfsRTTIModuleFactory> &fsRTTIModules()
{
    static std::vector<TfsRTTIModuleFactory> modules{
        [](TfsScript *script) { return std::make_unique<TfsSysFunctions>(script); }};
    return modules;
}
