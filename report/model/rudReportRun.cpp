// The report's run-side members: each forwards to the run side its services
// make (rudReportRuntime.h), or to the designer service.

#include "report/model/rudReport.h"
#include "report/model/rudView.h"

#include <QScopedValueRollback>

namespace {
const TfrxServices noServices;
}

const TfrxServices &TfrxReport::Services() const
{
    return FServices ? *FServices : noServices;
}

void rudMissingService(const char *Name)
{
    throw EMissingService(QStringLiteral("The report has no %1 service").arg(QLatin1String(Name)));
}

const TfrxServices &rudServicesOf(const TfrxComponent *Component)
{
    const TfrxReport *report = Component ? Component->Report() : nullptr;
    return report ? report->Services() : noServices;
}

TfrxReportRuntime &TfrxReport::Runtime()
{
    if (!FRuntime)
        FRuntime = rudNeedService(Services().MakeRuntime, "run-side")(this);
    return *FRuntime;
}

void TfrxReport::DesignReport(bool Modal, bool)
{
    rudNeedService(Services().DesignReport, "designer")(this, Modal);
}

TfrxCustomPreviewPages *TfrxReport::PreviewPages() { return Runtime().PreviewPages(); }
void TfrxReport::ShowReport(bool ClearLastReport) { Runtime().ShowReport(ClearLastReport); }
void TfrxReport::ShowPreparedReport() { Runtime().ShowPreparedReport(); }
bool TfrxReport::Print() { return Runtime().Print(); }
void TfrxReport::SelectPrinter() { Runtime().SelectPrinter(); }
TfsScript *TfrxReport::Script() { return Runtime().Script(); }
TfrxExpressionCache *TfrxReport::ExpressionCache() { return Runtime().ExpressionCache(); }
TfrxCustomEngine *TfrxReport::Engine() { return Runtime().Engine(); }
bool TfrxReport::PrepareScript(TfrxReport *ActiveReport) { return Runtime().PrepareScript(ActiveReport); }

bool TfrxReport::DoGetValue(const QString &Expr, TfsVariant &Value) { return Runtime().DoGetValue(Expr, Value); }
void TfrxReport::SetLocalValue(const TfsVariant &Value) { Runtime().SetLocalValue(Value); }
void TfrxReport::SetSelfValue(TfrxView *Value) { Runtime().SetSelfValue(Value); }

bool TfrxReport::PrepareReport(bool ClearLastReport)
{
    const QScopedValueRollback<bool> preparing(FPreparing, true);
    return Runtime().PrepareReport(ClearLastReport);
}

void TfrxReport::SetTerminated(bool Value)
{
    FTerminated = Value;
    if (Value)
        Runtime().TerminateScript();
}

void TfrxReport::DoNotifyEvent(QObject *Obj, const QString &EventName, bool RunAlways)
{
    Runtime().DoNotifyEvent(Obj, EventName, RunAlways);
}

void TfrxReport::DoParamEvent(const QString &EventName, QVariantList &Params, bool RunAlways)
{
    Runtime().DoParamEvent(EventName, Params, RunAlways);
}

void TfrxReport::DoBeforePrint(TfrxReportComponent *Obj)
{
    if (OnBeforePrint)
        OnBeforePrint(Obj);
    if (auto *view = qobject_cast<TfrxView *>(Obj))
        DoNotifyEvent(view, view->OnBeforePrint());
}

void TfrxReport::DoAfterPrint(TfrxReportComponent *Obj)
{
    if (OnAfterPrint)
        OnAfterPrint(Obj);
    if (auto *view = qobject_cast<TfrxView *>(Obj))
        DoNotifyEvent(view, view->OnAfterPrint());
}

void TfrxReport::InternalOnProgressStart(TfrxProgressType ProgressType)
{
    Runtime().InternalOnProgressStart(ProgressType);
}

void TfrxReport::InternalOnProgress(TfrxProgressType ProgressType, int Progress)
{
    Runtime().InternalOnProgress(ProgressType, Progress);
}

void TfrxReport::InternalOnProgressStop(TfrxProgressType ProgressType)
{
    Runtime().InternalOnProgressStop(ProgressType);
}

void TfrxReport::SetProgressMessage(const QString &Value, bool IsHint)
{
    Runtime().SetProgressMessage(Value, IsHint);
}
