// The report's side of preparation: the order of a run, the saved and
// restored definition, the final error report, script events and progress.

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
#include <QScopedValueRollback>
#include <QTemporaryFile>

#include <new>

namespace {

QString res(const char *Key)
{
    return rudResources().Get(QString::fromLatin1(Key));
}

// How often a running script lets the windows work.
constexpr qint64 messagesEveryMs = 40;

TfrxProgressWindowFactory &progressFactory()
{
    static TfrxProgressWindowFactory factory;
    return factory;
}

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
// script and on its parent reports' scripts, whose procedures run too.
class TScriptPoll {
public:
    explicit TScriptPoll(TfrxReport *Report)
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
        for (TfrxReport *r = Report; r; r = r->ParentReportObject()) {
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

void rudSetProgressWindowFactory(TfrxProgressWindowFactory Factory)
{
    progressFactory() = std::move(Factory);
}

std::unique_ptr<TfrxProgressWindow> rudCreateProgressWindow()
{
    return progressFactory() ? progressFactory()() : nullptr;
}

// The band engine takes the place of the base engine the expressions know.
TfrxCustomEngine *TfrxReport::Engine()
{
    if (!FEngine)
        FEngine = std::make_shared<TfrxEngine>(this);
    return FEngine.get();
}

void TfrxReport::SetTerminated(bool Value)
{
    FTerminated = Value;
    if (Value)
        Script()->Terminate();
}

// The definition is saved before the run and loaded back afterwards, so
// nothing a script or the engine changed in the report objects survives
// the run; the prepared pages stay.
bool TfrxReport::PrepareReport(bool ClearLastReport)
{
    const QScopedValueRollback<bool> preparing(FPreparing, true);
    if (ClearLastReport)
        PreviewPages()->Clear();
    ClearErrors();
    FTerminated = false;
    bool result = false;

    for (int i = 0; i < FDataSets->Count(); ++i) {
        TfrxDataSetItem *item = FDataSets->Items(i);
        if (!item->DataSet())
            AddError(res("clDSNotExist").replace(QLatin1String("%s"), item->DataSetName()));
    }

    if (FErrors.isEmpty()) {
        const bool destroyForms = FEngineOptions->DestroyForms();
        QString password;
        int splicingLine = 0;
        QBuffer memory;
        std::unique_ptr<QTemporaryFile> cache;
        QIODevice *saved = nullptr;
        // External data sets are no part of the definition: their entries
        // are reconnected by name after the reload.
        QList<QPair<QString, QPointer<TfrxComponent>>> dataSets;
        if (destroyForms) {
            password = FReportOptions->Password();
            FReportOptions->SetPassword(QString());
            splicingLine = FPrintOptions->SplicingLine();
            for (int i = 0; i < FDataSets->Count(); ++i)
                dataSets.append({FDataSets->Items(i)->DataSetName(), FDataSets->Items(i)->DataSet()});
            if (FEngineOptions->UseFileCache()) {
                const QString dir = FEngineOptions->TempDir().isEmpty() ? QDir::tempPath() : FEngineOptions->TempDir();
                cache = std::make_unique<QTemporaryFile>(QDir(dir).filePath(QStringLiteral("rudXXXXXX.tmp")));
                if (!cache->open())
                    throw EInOutError(QStringLiteral("Cannot create a temporary file in \"%1\"").arg(dir));
                saved = cache.get();
            } else {
                memory.open(QIODevice::ReadWrite);
                saved = &memory;
            }
            SaveToStream(saved, true, false);
        }

        bool engineRan = false;
        try {
            if (OnBeginDoc)
                OnBeginDoc(this);
            const bool compiled = PrepareScript();
            const TScriptPoll poll(this);
            if (compiled) {
                if (OnAfterScriptCompile)
                    OnAfterScriptCompile(this);
                if (Script()->Statement() && Script()->Statement()->Count() > 0)
                    Script()->Execute();
                engineRan = !FTerminated;
                if (engineRan && Engine()->Run(true, false)) {
                    if (OnEndDoc)
                        OnEndDoc(this);
                    result = true;
                } else {
                    // Nothing was prepared (a dialog cancelled, the data not
                    // usable, or terminated): a preview window shown for the
                    // pages does not stay open empty.
                    closePreviewWindow(FPreview);
                }
            }
        } catch (const EfsStopped &e) {
            // A cancelled run (no text) is no error: the pages made so far
            // stay, as when the engine itself is cancelled, and a window
            // still waiting for the first page closes. A time limit passed
            // is an error.
            if (!e.Message().isEmpty())
                AddError(e.Message());
            else if (!engineRan)
                closePreviewWindow(FPreview);
        } catch (const Exception &e) {
            AddError(e.Message());
        } catch (const std::bad_alloc &) {
            // Memory ran out (a script's or an expression's huge text or
            // array): the preparation fails with a message, the program goes on.
            AddError(QStringLiteral("Out of memory"));
        }

        if (destroyForms) {
            const QStringList kept = FErrors;
            saved->seek(0);
            FReloading = true;
            try {
                LoadFromStream(saved);
            } catch (...) {
                FReloading = false;
                FReportOptions->SetPassword(password);
                FPrintOptions->SetSplicingLine(splicingLine);
                FErrors = kept;
                throw;
            }
            FReloading = false;
            FReportOptions->SetPassword(password);
            FPrintOptions->SetSplicingLine(splicingLine);
            for (const auto &[name, ds] : std::as_const(dataSets))
                if (TfrxDataSetItem *item = FDataSets->Find(name); item && ds && !item->DataSet())
                    item->SetDataSet(ds);
            FErrors = kept;
        }
    }

    if (!FErrors.isEmpty()) {
        result = false;
        rudCommonErrorHandler(this, res("clErrors") + QLatin1Char('\n') + FErrors.join(QLatin1Char('\n')));
    }
    return result;
}

void TfrxReport::DoNotifyEvent(QObject *Obj, const QString &EventName, bool RunAlways)
{
    if (EventName.isEmpty())
        return;
    if (!RunAlways && !(FEngine && FEngine->FRunning))
        return;
    // The procedure may come from the parent report's script.
    Script()->CallFunction(EventName, {TfsVariant(Obj)}, true);
}

void TfrxReport::DoParamEvent(const QString &EventName, QVariantList &Params, bool RunAlways)
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
    if (FEngineOptions->EnableThreadSafe())
        return;
    if (OnProgressStart)
        OnProgressStart(this, ProgressType, 0);
    // An attached preview shows the pages as they are prepared.
    if (FPreview && ProgressType == ptRunning)
        QMetaObject::invokeMethod(FPreview, "InternalOnProgressStart");
    if ((FOldStyleProgress || ProgressType != ptRunning) && FShowProgress) {
        FProgressWindow = rudCreateProgressWindow();
        if (FProgressWindow)
            FProgressWindow->Show(QString());
    }
    QCoreApplication::processEvents();
}

void TfrxReport::InternalOnProgress(TfrxProgressType ProgressType, int Progress)
{
    if (FEngineOptions->EnableThreadSafe())
        return;
    if (OnProgress)
        OnProgress(this, ProgressType, Progress);
    if (FPreview && ProgressType == ptRunning)
        QMetaObject::invokeMethod(FPreview, (FEngine && !FEngine->FFinalPass) ? "SetFirstPassPage" : "InternalOnProgress",
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
            SetTerminated(true);
    }
    QCoreApplication::processEvents();
}

void TfrxReport::InternalOnProgressStop(TfrxProgressType ProgressType)
{
    if (FEngineOptions->EnableThreadSafe())
        return;
    if (OnProgressStop)
        OnProgressStop(this, ProgressType, 0);
    if (FPreview && ProgressType == ptRunning)
        QMetaObject::invokeMethod(FPreview, "InternalOnProgressStop");
    FProgressWindow.reset();
    QCoreApplication::processEvents();
}

void TfrxReport::SetProgressMessage(const QString &Value, bool IsHint)
{
    (void)IsHint;
    if (FProgressWindow && FEngine && FEngine->FRunning)
        FProgressWindow->SetMessage(Value);
}
