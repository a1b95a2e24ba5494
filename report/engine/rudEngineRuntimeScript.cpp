// The run side's script: its creation, PrepareScript and the functions the
// report answers for scripts and expressions (Get, Set, IIF, the aggregates).

#include "report/engine/rudEngineRuntime.h"

#include "base/NumberFormat.h"
#include "report/engine/rudCustomEngine.h"
#include "report/engine/rudEngineInit.h"
#include "report/engine/rudExpressionCache.h"
#include "report/engine/rudFR2Events.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudNameIndex.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "report/model/rudView.h"
#include "script/fs_iinterpreter.h"

namespace {

const QStringList &aggregateNames()
{
    static const QStringList names{QStringLiteral("SUM"), QStringLiteral("MIN"), QStringLiteral("MAX"),
                                   QStringLiteral("AVG"), QStringLiteral("COUNT")};
    return names;
}

// The band argument of an aggregate: its source text names a band, or it is
// the default 0 (the band of the calling object).
TfrxComponent *aggregateBand(TfrxReport *report, const TfsVariant &arg)
{
    if (!arg.IsString())
        return nullptr;
    const QString name = arg.AsString().trimmed();
    if (name.isEmpty() || name == QLatin1String("0"))
        return nullptr;
    return report->FindObject(name);
}

int aggregateFlags(const TfsVariant &arg)
{
    if (arg.IsString()) {
        int flags = 0;
        return TryStrToInt(arg.AsString().trimmed(), flags) ? flags : 0;
    }
    return arg.IsNumeric() ? arg.ToInt() : 0;
}

// "Get": a value source, an aggregate written as text, the global hook, or
// an "unknown variable" line in the errors (the result is then Null).
TfsVariant reportGet(TfrxReport *report, const QString &name)
{
    TfsVariant value;
    if (report->DoGetValue(name, value))
        return value;
    const int paren = name.indexOf(QLatin1Char('('));
    if (paren >= 0 && aggregateNames().contains(name.left(paren).trimmed().toUpper()))
        return report->Calc(name);
    if (rudFR2Events().OnGetScriptValue)
        return rudFR2Events().OnGetScriptValue(name);
    report->AddError(rudResources().Get(QStringLiteral("clUnknownVar")) + QLatin1Char(' ') + name);
    return TfsVariant::Null();
}

// "IIF": the arguments are source texts; the condition and the chosen branch
// are evaluated in the scope of the running procedure. Errors leave the
// result empty.
TfsVariant reportIIF(TfrxReport *report, TfsCustomVariable &caller)
{
    TfsScript *scope = report->Script()->FProgRunning;
    try {
        const TfsVariant condition = report->Calc(caller.ParamValue(0).ToText(), scope);
        const bool yes = condition.Kind() == TfsVarKind::Bool ? condition.AsBool()
                                                              : fsVarEquals(condition, TfsVariant(true));
        return report->Calc(caller.ParamValue(yes ? 1 : 2).ToText(), scope);
    } catch (const EfsStopped &) {
        throw;
    } catch (const Exception &) {
        // IIF's own rule: an error in either text leaves the result empty.
        return TfsVariant();
    }
}

TfsVariant callReportFunction(TfrxReport *report, const QString &name, TfsCustomVariable &caller)
{
    if (name == QLatin1String("GET"))
        return reportGet(report, caller.ParamValue(0).ToText());
    if (name == QLatin1String("SET")) {
        report->Variables()->SetVariables(caller.ParamValue(0).ToText(), caller.ParamValue(1).ToQVariant());
        return TfsVariant::Null();
    }
    if (name == QLatin1String("IIF"))
        return reportIIF(report, caller);
    TfrxCustomEngine *engine = report->Engine();
    if (name == QLatin1String("COUNT"))
        return engine->GetAggregateValue(name, QString(), aggregateBand(report, caller.ParamValue(0)),
                                         aggregateFlags(caller.ParamValue(1)));
    return engine->GetAggregateValue(name, caller.ParamValue(0).ToText(), aggregateBand(report, caller.ParamValue(1)),
                                     aggregateFlags(caller.ParamValue(2)));
}

} // namespace

TfsScript *TfrxEngineRuntime::Script()
{
    if (!FScript) {
        rudEngineInit();
        auto script = std::make_shared<TfsScript>();
        script->AddRTTI();
        FScript = std::move(script);
    }
    return FScript.get();
}

TfrxExpressionCache *TfrxEngineRuntime::ExpressionCache()
{
    if (!FExpressionCache)
        FExpressionCache = std::make_shared<TfrxExpressionCache>(Script());
    return FExpressionCache.get();
}

// The parent report's script has "Value" and "Self" of its own, which its
// procedures see: they follow this report's.
void TfrxEngineRuntime::SetLocalValue(const TfsVariant &Value)
{
    if (FLocalValue)
        FLocalValue->FValue = Value;
    if (FScriptParent)
        FScriptParent->SetLocalValue(Value);
}

void TfrxEngineRuntime::SetSelfValue(TfrxView *Value)
{
    if (FSelfValue)
        FSelfValue->FValue = TfsVariant(static_cast<QObject *>(Value));
    if (FScriptParent)
        FScriptParent->SetSelfValue(Value);
}

// With ActiveReport given this is the parent report of ActiveReport (or its
// parent's, and so on): its objects are registered as the active report's
// objects of the same names, and "Report", "Engine", "Outline" and the
// report's functions are the active report's.
bool TfrxEngineRuntime::PrepareScript(TfrxReport *ActiveReport)
{
    TfrxReport *active = ActiveReport ? ActiveReport : FReport;
    // The parent's script is prepared first; this report's runs inside it.
    FScriptParent = FReport->SharedParentReportObject();
    const bool parentCompiled = !FScriptParent || FScriptParent->PrepareScript(active);
    TfsScript *script = Script();
    TfrxExpressionCache *cache = ExpressionCache();
    cache->Clear();
    cache->SetScriptLanguage(FReport->ScriptLanguage());
    cache->SetCaseSensitive(FReport->CaseSensitive());
    Engine()->FNotifyList.clear();
    FLocalValue = FSelfValue = nullptr;
    script->Clear();
    script->FMainProg = true;
    script->SetParent(FScriptParent ? FScriptParent->Script() : nullptr);

    std::unique_ptr<TfrxNameIndex> activeNames;
    if (active != FReport)
        activeNames = std::make_unique<TfrxNameIndex>(active);
    for (TfrxComponent *object : FReport->AllObjects()) {
        object->BeforeStartReport();
        if (object->IsAncestor() || object->Name().isEmpty())
            continue;
        TfrxComponent *match = activeNames ? activeNames->Find(object->Name()) : nullptr;
        script->AddObject(object->Name(), match ? match : object);
    }

    script->AddObject(QStringLiteral("Report"), active);
    script->ClassOfMeta(active->Engine()->metaObject());
    script->AddObject(QStringLiteral("Engine"), active->Engine());
    TfrxOutline *outline = active->PreviewPages()->Outline();
    script->ClassOfMeta(outline->metaObject());
    script->AddObject(QStringLiteral("Outline"), outline);
    for (const auto &[name, type] : {std::pair{"Value", "Variant"}, std::pair{"Self", "TfrxView"}}) {
        auto variable = std::make_unique<TfsVariable>(QLatin1String(name), fsResolveType(script, QLatin1String(type)),
                                                      QLatin1String(type));
        variable->FValue = TfsVariant::Null();
        script->Add(std::move(variable));
    }
    const TfsCallMethodEvent call = [active](QObject *, TfsClassVariable *, const QString &name,
                                             TfsCustomVariable &caller) {
        return callReportFunction(active, name, caller);
    };
    for (const char *syntax : {"function Get(Name: String): Variant", "procedure Set(Name: String; Value: Variant)",
                               "macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant",
                               "macrofunction SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
                               "macrofunction AVG(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
                               "macrofunction MIN(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
                               "macrofunction MAX(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
                               "macrofunction COUNT(Band: Variant = 0; Flags: Integer = 0): Variant"})
        script->AddMethod(QLatin1String(syntax), call);
    if (rudFR2Events().OnPrepareScript)
        rudFR2Events().OnPrepareScript(FReport);

    FLocalValue = script->FindLocal(QStringLiteral("Value"));
    FSelfValue = script->FindLocal(QStringLiteral("Self"));
    script->SetLines(FReport->ScriptText().join(QStringLiteral("\r\n")));
    const QString &language = FReport->ScriptLanguage();
    script->SetSyntaxType(language.isEmpty() ? QStringLiteral("PascalScript") : language);
    const bool compiled = script->Compile();
    if (!compiled)
        active->AddError(
            Format(rudResources().Get(QStringLiteral("clScrError")), {script->ErrorPos(), script->ErrorMsg()}));
    return parentCompiled && compiled;
}
