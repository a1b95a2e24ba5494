#pragma once
// The run side of a report: preparation, the script and its expressions,
// progress, showing and printing. The preparation engine implements it and
// the drawing room extends it; the report owns one, made through its
// services, and its members of the same names forward to it.

#include <QString>
#include <QVariantList>

class QObject;
class TfrxCustomEngine;
class TfrxCustomPreviewPages;
class TfrxExpressionCache;
class TfrxReport;
class TfrxView;
class TfsScript;
class TfsVariant;

// What a progress report is about.
enum TfrxProgressType { ptRunning, ptExporting, ptPrinting };

// Who asks TfrxReport::Calc for a value: the engine (errors go to the
// report's error list and are raised) or a script calling Report.Calc
// (errors are raised to the script as its own runtime errors).
enum class TfrxCalcCaller { Engine, Script };

// The report's run side (see the file comment); each member does what the
// report's member of the same name promises.
class TfrxReportRuntime {
public:
    virtual ~TfrxReportRuntime() = default;

    virtual TfsScript *Script() = 0;
    virtual TfrxExpressionCache *ExpressionCache() = 0;
    virtual TfrxCustomEngine *Engine() = 0;
    virtual TfrxCustomPreviewPages *PreviewPages() = 0;
    virtual bool PrepareScript(TfrxReport *ActiveReport) = 0;
    virtual TfsVariant Calc(const QString &Expr, TfsScript *AScript, TfrxCalcCaller Caller) = 0;
    virtual bool DoGetValue(const QString &Expr, TfsVariant &Value) = 0;
    virtual void SetLocalValue(const TfsVariant &Value) = 0;
    virtual void SetSelfValue(TfrxView *Value) = 0;

    virtual bool PrepareReport(bool ClearLastReport) = 0;
    // Stops the running script (the report has set Terminated).
    virtual void TerminateScript() = 0;
    virtual void DoNotifyEvent(QObject *Obj, const QString &EventName, bool RunAlways) = 0;
    virtual void DoParamEvent(const QString &EventName, QVariantList &Params, bool RunAlways) = 0;
    virtual void InternalOnProgressStart(TfrxProgressType ProgressType) = 0;
    virtual void InternalOnProgress(TfrxProgressType ProgressType, int Progress) = 0;
    virtual void InternalOnProgressStop(TfrxProgressType ProgressType) = 0;
    virtual void SetProgressMessage(const QString &Value, bool IsHint) = 0;

    virtual void ShowReport(bool ClearLastReport) = 0;
    virtual void ShowPreparedReport() = 0;
    virtual bool Print() = 0;
    virtual void SelectPrinter() = 0;
};
