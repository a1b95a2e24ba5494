#pragma once
// The engine's run side of a report: preparation, the script and its
// expressions, script events and progress. The drawing room derives from it
// to show and print.

#include "report/model/rudReportRuntime.h"
#include "report/model/rudServices.h"
#include "script/fs_ivariant.h"

#include <QPointer>

#include <memory>
#include <optional>
#include <vector>

class TfrxComponent;
class TfrxProgressWindow;
class TfrxView;
class TfsCustomVariable;

// A report's run side without showing or printing (see the file comment);
// those raise EMissingService.
class TfrxEngineRuntime : public TfrxReportRuntime {
public:
    explicit TfrxEngineRuntime(TfrxReport *Report);
    ~TfrxEngineRuntime() override;
    TfrxEngineRuntime(const TfrxEngineRuntime &) = delete;
    TfrxEngineRuntime &operator=(const TfrxEngineRuntime &) = delete;

    TfsScript *Script() override;
    TfrxExpressionCache *ExpressionCache() override;
    TfrxCustomEngine *Engine() override;
    TfrxCustomPreviewPages *PreviewPages() override;
    bool PrepareScript(TfrxReport *ActiveReport) override;
    TfsVariant Calc(const QString &Expr, TfsScript *AScript, TfrxCalcCaller Caller) override;
    bool DoGetValue(const QString &Expr, TfsVariant &Value) override;
    void SetLocalValue(const TfsVariant &Value) override;
    void SetSelfValue(TfrxView *Value) override;

    bool PrepareReport(bool ClearLastReport) override;
    void TerminateScript() override;
    void DoNotifyEvent(QObject *Obj, const QString &EventName, bool RunAlways) override;
    void DoParamEvent(const QString &EventName, QVariantList &Params, bool RunAlways) override;
    void InternalOnProgressStart(TfrxProgressType ProgressType) override;
    void InternalOnProgress(TfrxProgressType ProgressType, int Progress) override;
    void InternalOnProgressStop(TfrxProgressType ProgressType) override;
    void SetProgressMessage(const QString &Value, bool IsHint) override;

    void ShowReport(bool ClearLastReport) override;
    void ShowPreparedReport() override;
    bool Print() override;
    void SelectPrinter() override;

protected:
    TfrxReport *const FReport;

private:
    // Registers the report's objects (Objects), "Report", "Engine",
    // "Outline", "Value", "Self" and the report functions in the script and
    // compiles the report's script text; false (the error added to Active)
    // when it does not compile.
    bool SetUpScript(TfrxReport *Active, std::vector<QPointer<TfrxComponent>> Objects);
    // True when the compiled script has statements in its main block.
    bool ScriptHasMainBlock();

    // An empty script is set up when first asked for (PrepareScript):
    // until then FScriptDeferred holds, with the objects to register and the
    // last "Value" and "Self" the run gave.
    bool FScriptDeferred = false;
    std::vector<QPointer<TfrxComponent>> FDeferredObjects;
    std::optional<TfsVariant> FPendingValue;
    QPointer<TfrxView> FPendingSelf;
    // The cache is declared after the script it points into, so it is freed
    // first. FScriptParent keeps the parent report whose script is the
    // parent of FScript alive as long as FScript points to it (a reload may
    // replace ParentReportObject meanwhile).
    std::shared_ptr<TfrxCustomEngine> FEngine;
    std::shared_ptr<TfrxReport> FScriptParent;
    std::shared_ptr<TfsScript> FScript;
    std::shared_ptr<TfrxExpressionCache> FExpressionCache;
    TfsCustomVariable *FLocalValue = nullptr;
    TfsCustomVariable *FSelfValue = nullptr;
    std::shared_ptr<TfrxProgressWindow> FProgressWindow;
    std::shared_ptr<TfrxCustomPreviewPages> FPreviewPages;
};

// The engine room's services: its run side (no showing or printing), the
// expansion of views and pictures, and the data fields of the report's data
// sets. The drawing room adds its own (rudStandardServices).
TfrxServices rudEngineServices();
