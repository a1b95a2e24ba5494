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

#include <utility>

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

// True for a script that is the main block alone, "begin end." (a new
// report's script): it declares nothing and runs nothing.
bool isEmptyProgram(const QString &Language, const QStringList &Lines)
{
    if (!Language.isEmpty() && Language != QLatin1String("PascalScript"))
        return false;
    const QString text = Lines.join(u' ').simplified();
    return text.compare(QLatin1String("begin end."), Qt::CaseInsensitive) == 0 ||
           text.compare(QLatin1String("begin end ."), Qt::CaseInsensitive) == 0;
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
    if (FScriptDeferred) {
        FScriptDeferred = false;
        SetUpScript(FReport, std::exchange(FDeferredObjects, {}));
        if (FLocalValue && FPendingValue)
            FLocalValue->FValue = *std::exchange(FPendingValue, std::nullopt);
        if (FSelfValue && FPendingSelf)
            FSelfValue->FValue = TfsVariant(static_cast<QObject *>(std::exchange(FPendingSelf, nullptr).data()));
    }
    return FScript.get();
}

TfrxExpressionCache *TfrxEngineRuntime::ExpressionCache()
{
    // The script first: made now, it sets the cache up.
    TfsScript *script = Script();
    if (!FExpressionCache)
        FExpressionCache = std::make_shared<TfrxExpressionCache>(script);
    return FExpressionCache.get();
}

// The parent report's script has "Value" and "Self" of its own, which its
// procedures see: they follow this report's. A script not made yet gets
// them when it is made.
void TfrxEngineRuntime::SetLocalValue(const TfsVariant &Value)
{
    if (FLocalValue)
        FLocalValue->FValue = Value;
    else if (FScriptDeferred)
        FPendingValue = Value;
    if (FScriptParent)
        FScriptParent->SetLocalValue(Value);
}

void TfrxEngineRuntime::SetSelfValue(TfrxView *Value)
{
    if (FSelfValue)
        FSelfValue->FValue = TfsVariant(static_cast<QObject *>(Value));
    else if (FScriptDeferred)
        FPendingSelf = Value;
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
    FScriptDeferred = false;
    FDeferredObjects.clear();
    FPendingValue.reset();
    FPendingSelf = nullptr;
    const bool parentCompiled = !FScriptParent || FScriptParent->PrepareScript(active);
    std::vector<QPointer<TfrxComponent>> objects;
    for (TfrxComponent *object : FReport->AllObjects()) {
        object->BeforeStartReport();
        if (!object->IsAncestor() && !object->Name().isEmpty())
            objects.emplace_back(object);
    }
    Engine()->FNotifyList.clear();
    FLocalValue = FSelfValue = nullptr;
    // A report of its own whose script is empty gets its script when the run
    // first needs one (an expression, an event): most print templates need
    // none, and making it (the report classes, the functions, the language)
    // is a large part of a short run.
    if (active == FReport && !FScriptParent && !FScript && !rudFR2Events().OnPrepareScript &&
        isEmptyProgram(FReport->ScriptLanguage(), FReport->ScriptText())) {
        FScriptDeferred = true;
        FDeferredObjects = std::move(objects);
        return true;
    }
    return parentCompiled && SetUpScript(active, std::move(objects));
}

bool TfrxEngineRuntime::ScriptHasMainBlock()
{
    return !FScriptDeferred && Script()->Statement() && Script()->Statement()->Count() > 0;
}

void TfrxEngineRuntime::TerminateScript()
{
    // A script not made has nothing running.
    if (!FScriptDeferred)
        Script()->Terminate();
}

bool TfrxEngineRuntime::SetUpScript(TfrxReport *Active, std::vector<QPointer<TfrxComponent>> Objects)
{
    TfsScript *script = Script();
    TfrxExpressionCache *cache = ExpressionCache();
    cache->Clear();
    cache->SetScriptLanguage(FReport->ScriptLanguage());
    cache->SetCaseSensitive(FReport->CaseSensitive());
    script->Clear();
    script->FMainProg = true;
    script->SetParent(FScriptParent ? FScriptParent->Script() : nullptr);

    std::unique_ptr<TfrxNameIndex> activeNames;
    if (Active != FReport)
        activeNames = std::make_unique<TfrxNameIndex>(Active);
    for (const QPointer<TfrxComponent> &object : Objects) {
        if (!object)
            continue;
        TfrxComponent *match = activeNames ? activeNames->Find(object->Name()) : nullptr;
        script->AddObject(object->Name(), match ? match : object.data());
    }

    script->AddObject(QStringLiteral("Report"), Active);
    script->ClassOfMeta(Active->Engine()->metaObject());
    script->AddObject(QStringLiteral("Engine"), Active->Engine());
    TfrxOutline *outline = Active->PreviewPages()->Outline();
    script->ClassOfMeta(outline->metaObject());
    script->AddObject(QStringLiteral("Outline"), outline);
    for (const auto &[name, type] : {std::pair{"Value", "Variant"}, std::pair{"Self", "TfrxView"}}) {
        auto variable = std::make_unique<TfsVariable>(QLatin1String(name), fsResolveType(script, QLatin1String(type)),
                                                      QLatin1String(type));
        variable->FValue = TfsVariant::Null();
        script->Add(std::move(variable));
    }
    const TfsCallMethodEvent call = [Active](QObject *, TfsClassVariable *, const QString &name,
                                             TfsCustomVariable &caller) {
        return callReportFunction(Active, name, caller);
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
        Active->AddError(
            Format(rudResources().Get(QStringLiteral("clScrError")), {script->ErrorPos(), script->ErrorMsg()}));
    return compiled;
}
