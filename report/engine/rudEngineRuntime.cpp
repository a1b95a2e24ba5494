// The engine's run side of a report: the order of a run, the saved and
// restored definition, the final error report, script events and progress.

#include "report/engine/rudEngineRuntime.h"

#include "report/engine/rudEngine.h"
#include "report/engine/rudPreviewPages.h"
#include "report/engine/rudProgress.h"
#include "report/model/rudDataSet.h"
#include "report/model/rudRes.h"
#include "report/model/rudReport.h"
#include "report/model/rudView.h"

#include "base/Errors.h"
#include "script/fs_iconst.h"
#include "script/fs_iinterpreter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryFile>

#include <new>

namespace {

QString res(const char *Key)
{
    return rudResources().Get(QString::fromLatin1(Key));
}

// How often a running script lets the windows work.
constexpr qint64 messagesEveryMs = 40;

// Asks the report's preview to close the window it fills (the preview lives
// in the rendering room; a host's own preview object may not offer it).
void closePreviewWindow(QObject *Preview)
{
    if (Preview && Preview->metaObject()->indexOfMethod("ClosePreviewWindow()") >= 0)
        QMetaObject::invokeMethod(Preview, "ClosePreviewWindow");
}

// The scripts of a run poll now and then while they run (a loop may never
// end): the windows get to work, so that the preview's Cancel is seen, and a
// cancelled run stops the script that runs. The hook goes on the report's
// script and on its parent reports' scripts, whose procedures run too. A
// script not made yet (OwnDeferred) is empty: it has no loop to poll in,
// and making it for the hook would undo the deferral.
class TScriptPoll {
public:
    TScriptPoll(TfrxReport *Report, bool OwnDeferred)
    {
        auto sinceMessages = std::make_shared<QElapsedTimer>();
        sinceMessages->start();
        const std::function<void()> hook = [Report, sinceMessages] {
            if (!Report->EngineOptions()->EnableThreadSafe() && sinceMessages->elapsed() >= messagesEveryMs) {
                QCoreApplication::processEvents();
                sinceMessages->restart();
            }
            if (Report->Terminated())
                throw EfsStopped(QString());
        };
        for (TfrxReport *r = OwnDeferred ? Report->ParentReportObject() : Report; r; r = r->ParentReportObject()) {
            FSaved.push_back({r->Script(), r->Script()->OnPoll});
            r->Script()->OnPoll = hook;
        }
    }
    ~TScriptPoll()
    {
        for (auto &[script, hook] : FSaved)
            script->OnPoll = std::move(hook);
    }
    TScriptPoll(const TScriptPoll &) = delete;
    TScriptPoll &operator=(const TScriptPoll &) = delete;

private:
    std::vector<std::pair<TfsScript *, std::function<void()>>> FSaved;
};

} // namespace

TfrxEngineRuntime::TfrxEngineRuntime(TfrxReport *Report) : FReport(Report) {}

TfrxEngineRuntime::~TfrxEngineRuntime() = default;

// The band engine takes the place of the base engine the expressions know.
TfrxCustomEngine *TfrxEngineRuntime::Engine()
{
    if (!FEngine)
        FEngine = std::make_shared<TfrxEngine>(FReport);
    return FEngine.get();
}

TfrxCustomPreviewPages *TfrxEngineRuntime::PreviewPages()
{
    if (!FPreviewPages) {
        FPreviewPages = std::make_shared<TfrxPreviewPages>(FReport);
        FPreviewPages->SetEngine(Engine());
    }
    return FPreviewPages.get();
}

// The definition is saved before the run and loaded back afterwards, so
// nothing a script or the engine changed in the report objects survives
// the run; the prepared pages stay.
bool TfrxEngineRuntime::PrepareReport(bool ClearLastReport)
{
    TfrxReport *const report = FReport;
    if (ClearLastReport)
        PreviewPages()->Clear();
    report->ClearErrors();
    report->SetTerminated(false);
    bool result = false;
    TfrxReportDataSets *const dataSets = report->DataSets();

    for (int i = 0; i < dataSets->Count(); ++i) {
        TfrxDataSetItem *item = dataSets->Items(i);
        if (!item->DataSet())
            report->AddError(res("clDSNotExist").replace(QLatin1String("%s"), item->DataSetName()));
    }

    if (report->Errors().isEmpty()) {
        const bool destroyForms = report->EngineOptions()->DestroyForms();
        QString password;
        int splicingLine = 0;
        QBuffer memory;
        std::unique_ptr<QTemporaryFile> cache;
        QIODevice *saved = nullptr;
        // External data sets are no part of the definition: their entries
        // are reconnected by name after the reload.
        QList<QPair<QString, QPointer<TfrxComponent>>> external;
        if (destroyForms) {
            password = report->ReportOptions()->Password();
            report->ReportOptions()->SetPassword(QString());
            splicingLine = report->PrintOptions()->SplicingLine();
            for (int i = 0; i < dataSets->Count(); ++i)
                external.append({dataSets->Items(i)->DataSetName(), dataSets->Items(i)->DataSet()});
            if (report->EngineOptions()->UseFileCache()) {
                const QString tempDir = report->EngineOptions()->TempDir();
                const QString dir = tempDir.isEmpty() ? QDir::tempPath() : tempDir;
                cache = std::make_unique<QTemporaryFile>(QDir(dir).filePath(QStringLiteral("rudXXXXXX.tmp")));
                if (!cache->open())
                    throw EInOutError(QStringLiteral("Cannot create a temporary file in \"%1\"").arg(dir));
                saved = cache.get();
            } else {
                memory.open(QIODevice::ReadWrite);
                saved = &memory;
            }
            report->SaveToStream(saved, true, false);
        }

        bool engineRan = false;
        try {
            if (report->OnBeginDoc)
                report->OnBeginDoc(report);
            const bool compiled = PrepareScript(nullptr);
            const TScriptPoll poll(report, FScriptDeferred);
            if (compiled) {
                if (report->OnAfterScriptCompile)
                    report->OnAfterScriptCompile(report);
                if (ScriptHasMainBlock())
                    Script()->Execute();
                engineRan = !report->Terminated();
                if (engineRan && Engine()->Run(true, false)) {
                    if (report->OnEndDoc)
                        report->OnEndDoc(report);
                    result = true;
                } else {
                    // Nothing was prepared (a dialog cancelled, the data not
                    // usable, or terminated): a preview window shown for the
                    // pages does not stay open empty.
                    closePreviewWindow(report->Preview());
                }
            }
        } catch (const EfsStopped &e) {
            // A cancelled run (no text) is no error: the pages made so far
            // stay, as when the engine itself is cancelled, and a window
            // still waiting for the first page closes. A time limit passed
            // is an error.
            if (!e.Message().isEmpty())
                report->AddError(e.Message());
            else if (!engineRan)
                closePreviewWindow(report->Preview());
        } catch (const Exception &e) {
            report->AddError(e.Message());
        } catch (const std::bad_alloc &) {
            // Memory ran out (a script's or an expression's huge text or
            // array): the preparation fails with a message, the program goes on.
            report->AddError(QStringLiteral("Out of memory"));
        }

        if (destroyForms) {
            const QStringList kept = report->Errors();
            saved->seek(0);
            report->SetReloading(true);
            try {
                report->LoadFromStream(saved);
            } catch (...) {
                report->SetReloading(false);
                report->ReportOptions()->SetPassword(password);
                report->PrintOptions()->SetSplicingLine(splicingLine);
                report->SetErrors(kept);
                throw;
            }
            report->SetReloading(false);
            report->ReportOptions()->SetPassword(password);
            report->PrintOptions()->SetSplicingLine(splicingLine);
            for (const auto &[name, ds] : std::as_const(external))
                if (TfrxDataSetItem *item = dataSets->Find(name); item && ds && !item->DataSet())
                    item->SetDataSet(ds);
            report->SetErrors(kept);
        }
    }

    if (!report->Errors().isEmpty()) {
        result = false;
        rudCommonErrorHandler(report, res("clErrors") + QLatin1Char('\n') + report->Errors().join(QLatin1Char('\n')));
    }
    return result;
}

void TfrxEngineRuntime::DoNotifyEvent(QObject *Obj, const QString &EventName, bool RunAlways)
{
    if (EventName.isEmpty())
        return;
    if (!RunAlways && !(FEngine && FEngine->FRunning))
        return;
    // The procedure may come from the parent report's script.
    Script()->CallFunction(EventName, {TfsVariant(Obj)}, true);
}

void TfrxEngineRuntime::DoParamEvent(const QString &EventName, QVariantList &Params, bool RunAlways)
{
    if (EventName.isEmpty())
        return;
    if (!RunAlways && !(FEngine && FEngine->FRunning))
        return;
    std::vector<TfsVariant> params;
    for (const QVariant &v : std::as_const(Params))
        params.push_back(TfsVariant::FromQVariant(v));
    Script()->CallFunction1(EventName, params, true);
    for (size_t i = 0; i < params.size() && i < size_t(Params.size()); ++i)
        Params[qsizetype(i)] = params[i].ToQVariant();
}

void TfrxEngineRuntime::InternalOnProgressStart(TfrxProgressType ProgressType)
{
    if (FReport->EngineOptions()->EnableThreadSafe())
        return;
    if (FReport->OnProgressStart)
        FReport->OnProgressStart(FReport, ProgressType, 0);
    // An attached preview shows the pages as they are prepared.
    if (QObject *preview = FReport->Preview(); preview && ProgressType == ptRunning)
        QMetaObject::invokeMethod(preview, "InternalOnProgressStart");
    if ((FReport->OldStyleProgress() || ProgressType != ptRunning) && FReport->ShowProgress()) {
        FProgressWindow = rudNeedService(FReport->Services().ProgressWindow, "progress window")();
        if (FProgressWindow)
            FProgressWindow->Show(QString());
    }
    QCoreApplication::processEvents();
}

void TfrxEngineRuntime::InternalOnProgress(TfrxProgressType ProgressType, int Progress)
{
    if (FReport->EngineOptions()->EnableThreadSafe())
        return;
    if (FReport->OnProgress)
        FReport->OnProgress(FReport, ProgressType, Progress);
    if (QObject *preview = FReport->Preview(); preview && ProgressType == ptRunning)
        QMetaObject::invokeMethod(preview, (FEngine && !FEngine->FFinalPass) ? "SetFirstPassPage" : "InternalOnProgress",
                                  Q_ARG(int, Progress));
    if (FProgressWindow) {
        QString text;
        switch (ProgressType) {
        case ptRunning:
            text = (FEngine && !FEngine->FFinalPass) ? res("clFirstPassPage") : res("clPreparingPage");
            break;
        case ptExporting:
            text = res("clExportingPage");
            break;
        case ptPrinting:
            text = res("clPrintingPage");
            break;
        }
        FProgressWindow->SetMessage(text.replace(QLatin1String("%d"), QString::number(Progress)));
        if (FProgressWindow->Terminated())
            FReport->SetTerminated(true);
    }
    QCoreApplication::processEvents();
}

void TfrxEngineRuntime::InternalOnProgressStop(TfrxProgressType ProgressType)
{
    if (FReport->EngineOptions()->EnableThreadSafe())
        return;
    if (FReport->OnProgressStop)
        FReport->OnProgressStop(FReport, ProgressType, 0);
    if (QObject *preview = FReport->Preview(); preview && ProgressType == ptRunning)
        QMetaObject::invokeMethod(preview, "InternalOnProgressStop");
    FProgressWindow.reset();
    QCoreApplication::processEvents();
}

void TfrxEngineRuntime::SetProgressMessage(const QString &Value, bool IsHint)
{
    (void)IsHint;
    if (FProgressWindow && FEngine && FEngine->FRunning)
        FProgressWindow->SetMessage(Value);
}

void TfrxEngineRuntime::ShowReport(bool)
{
    rudMissingService("preview");
}

void TfrxEngineRuntime::ShowPreparedReport()
{
    rudMissingService("preview");
}

bool TfrxEngineRuntime::Print()
{
    return PreviewPages()->Print();
}

void TfrxEngineRuntime::SelectPrinter()
{
    rudMissingService("printing");
}
