#pragma once
// The report root: pages, option records, script text, and the template
// file it is loaded from and saved to.

#include "report/model/rudComponent.h"
#include "report/model/rudDataSetItems.h"
#include "report/model/rudReportOptions.h"
#include "report/model/rudReportRuntime.h"
#include "report/model/rudServices.h"
#include "report/model/rudStyles.h"
#include "report/model/rudVariables.h"

#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

class TIniFile;
class TfrxCustomPreviewPages;
class TfrxNameIndex;
class TfrxXMLSerializer;
class TfrxXMLItem;
class TfrxView;
class TfrxReportComponent;
class TfrxReportPage;

// The root of a report tree. Its direct children are pages.
class TfrxReport : public TfrxComponent {
    Q_OBJECT
    Q_PROPERTY(QString Version READ Version WRITE SetVersion)
    Q_PROPERTY(QString ParentReport READ ParentReport WRITE SetParentReport)
    Q_PROPERTY(TfrxComponent *DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataSetName READ DataSetName WRITE SetDataSetName)
    Q_PROPERTY(bool DotMatrixReport READ DotMatrixReport WRITE SetDotMatrixReport)
    Q_PROPERTY(TfrxEngineOptions *EngineOptions READ EngineOptions WRITE SetEngineOptions)
    Q_PROPERTY(QString IniFile READ IniFile WRITE SetIniFile)
    Q_PROPERTY(bool OldStyleProgress READ OldStyleProgress WRITE SetOldStyleProgress)
    Q_PROPERTY(QObject *Preview READ Preview WRITE SetPreview)
    Q_PROPERTY(TfrxPreviewOptions *PreviewOptions READ PreviewOptions WRITE SetPreviewOptions)
    Q_PROPERTY(TfrxPrintOptions *PrintOptions READ PrintOptions WRITE SetPrintOptions)
    Q_PROPERTY(TfrxReportOptions *ReportOptions READ ReportOptions WRITE SetReportOptions)
    Q_PROPERTY(QString ScriptLanguage READ ScriptLanguage WRITE SetScriptLanguage)
    Q_PROPERTY(QStringList ScriptText READ ScriptText WRITE SetScriptText)
    Q_PROPERTY(bool ShowProgress READ ShowProgress WRITE SetShowProgress)
    Q_PROPERTY(bool StoreInDFM READ StoreInDFM WRITE SetStoreInDFM)
    Q_PROPERTY(QString OnRunDialogs READ OnRunDialogs WRITE SetOnRunDialogs)
    Q_PROPERTY(QString OnStartReport READ OnStartReport WRITE SetOnStartReport)
    Q_PROPERTY(QString OnStopReport READ OnStopReport WRITE SetOnStopReport)
    Q_PROPERTY(QString OnReportPrint READ OnReportPrint WRITE SetOnReportPrint)
public:
    explicit TfrxReport(TfrxComponent *AOwner = nullptr);
    ~TfrxReport() override;
    static TfrxPropDescs PropDescs();

    // Empties the report: no pages, report-level settings back to their
    // cleared values (see the option records' Clear).
    void Clear() override;
    // Loads a template file after clearing the report. Returns whether the
    // file existed; a missing file raises EInOutError only with
    // ExceptionIfNotFound. Load errors are reported by rudCommonErrorHandler.
    bool LoadFromFile(const QString &FileName, bool ExceptionIfNotFound = false);
    void LoadFromStream(QIODevice *Stream) override;
    // Writes the template atomically (saveFileAtomically), so a failed save
    // leaves the old file intact. Raises EInOutError on failure, and when the
    // last load failed and FileName is the file it came from (LoadFailed).
    // FileName() is not changed.
    void SaveToFile(const QString &FileName);
    void SaveToStream(QIODevice *Stream, bool SaveChildren = true, bool SaveDefaultValues = false,
                      bool Streaming = false) override;
    // Ensures the report has a data page: when none exists, a new one named
    // "Data" (a unique name when an object "Data" exists) becomes the first
    // child, and the non-visual components of dialog pages move onto it, at
    // Left 60, 124, 188, ... and Top 20.
    void CheckDataPage();
    // Writes the non-empty collections (Datasets, Variables, Styles) as
    // elements of Item, each entry as an "item" element.
    void WriteNestedProperties(TfrxXMLItem *Item, TfrxComponent *AAncestor) override;
    // Reads a Datasets, Variables or Styles element into its collection.
    bool ReadNestedProperty(TfrxXMLItem *Item) override;
    // A Name attribute on the report root is ignored.
    bool ReadUnpublished(QStringView Name, const QString &Value) override;

    // The per-user settings store named by IniFile (see rudSettingsFileName).
    std::unique_ptr<TIniFile> GetIniFile() const;

    // The data sets the report uses (stored in templates).
    TfrxReportDataSets *DataSets() const { return FDataSets.get(); }
    // The data sets enabled for the current run (never stored).
    TfrxReportDataSets *EnabledDataSets() const { return FEnabledDataSets.get(); }
    TfrxVariables *Variables() const { return FVariables.get(); }
    TfrxStyles *Styles() const { return FStyles.get(); }
    // Set while the engine reloads the report definition after a run: the
    // load then asks for no password.
    bool Reloading() const { return FReloading; }
    void SetReloading(bool Value) { FReloading = Value; }

    // The file of the last LoadFromFile ("" after a failed or skipped load).
    const QString &FileName() const { return FFileName; }
    void SetFileName(const QString &Value) { FFileName = Value; }
    // Errors of the last load, sorted, each text once.
    const QStringList &Errors() const { return FErrors; }
    void AddErrors(const QStringList &List);
    // The serializer reading this report (nested collections use it), or nullptr.
    TfrxXMLSerializer *Serializer() const { return FSerializer; }
    void SetSerializer(TfrxXMLSerializer *Value) { FSerializer = Value; }
    // The index of object names while a load is in progress, else nullptr.
    TfrxNameIndex *NameIndex() const { return FNameIndex.get(); }
    const std::shared_ptr<TfrxNameIndex> &SharedNameIndex() const { return FNameIndex; }
    void SetNameIndex(std::shared_ptr<TfrxNameIndex> Value) { FNameIndex = std::move(Value); }
    // The last load reported errors: the report may hold only part of its
    // file, so SaveToFile refuses to write over that file until the user has
    // chosen to (AcceptLoadErrors).
    bool LoadFailed() const { return FLoadFailed; }
    void AcceptLoadErrors() { FLoadFailed = false; }
    // Keeps the guard after the report's content was replaced in memory
    // (the designer's undo reloads a snapshot of a partly loaded file).
    void MarkLoadFailed() { FLoadFailed = true; }
    // Changed in the designer and not saved; the designer sets it when it
    // closes.
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    // Opens the designer on this report (the designer service): Modal
    // returns when the window closes; nothing happens when a designer is
    // already open on the report.
    void DesignReport(bool Modal = true, bool MDIChild = false);

    // The services this report reaches (rudServices.h); an empty record
    // until the program hands one over. Set it before the report is run: the
    // run side, once made, stays.
    const TfrxServices &Services() const;
    const std::shared_ptr<const TfrxServices> &SharedServices() const { return FServices; }
    void SetServices(std::shared_ptr<const TfrxServices> Value) { FServices = std::move(Value); }
    // The run side, made through the services on first use; EMissingService
    // when the report has none to make it.
    TfrxReportRuntime &Runtime();

    // Setting the version always stores "5.1.1".
    QString Version() const { return QStringLiteral("5.1.1"); }
    void SetVersion(const QString &) {}
    // The file name of the ancestor report (inheritance), relative to this
    // report's file unless absolute. Set while the report loads, it loads
    // that template (ParentReportObject) and puts copies of its objects into
    // this report, marked as ancestors, before the rest of this report's
    // template reads its differences into them. Outside a load only the name
    // changes.
    const QString &ParentReport() const { return FParentReport; }
    void SetParentReport(const QString &Value);
    // The ancestor report loaded for ParentReport, or nullptr: its script
    // is prepared first and is the parent of this report's script, and its
    // objects are what saving writes this report's differences against.
    TfrxReport *ParentReportObject() const { return FParentReportObject.get(); }
    const std::shared_ptr<TfrxReport> &SharedParentReportObject() const { return FParentReportObject; }
    TfrxComponent *DataSet() const { return FDataSet; }
    void SetDataSet(TfrxComponent *Value) { FDataSet = Value; }
    const QString &DataSetName() const { return FDataSetName; }
    void SetDataSetName(const QString &Value) { FDataSetName = Value; }
    bool DotMatrixReport() const { return FDotMatrixReport; }
    void SetDotMatrixReport(bool Value) { FDotMatrixReport = Value; }
    TfrxEngineOptions *EngineOptions() const { return FEngineOptions.get(); }
    void SetEngineOptions(TfrxEngineOptions *Value);
    const QString &IniFile() const { return FIniFile; }
    void SetIniFile(const QString &Value) { FIniFile = Value; }
    bool OldStyleProgress() const { return FOldStyleProgress; }
    void SetOldStyleProgress(bool Value) { FOldStyleProgress = Value; }
    // The preview control the report shows itself in, when the host gave one.
    QObject *Preview() const { return FPreview; }
    void SetPreview(QObject *Value) { FPreview = Value; }
    TfrxPreviewOptions *PreviewOptions() const { return FPreviewOptions.get(); }
    void SetPreviewOptions(TfrxPreviewOptions *Value);
    TfrxPrintOptions *PrintOptions() const { return FPrintOptions.get(); }
    void SetPrintOptions(TfrxPrintOptions *Value);
    TfrxReportOptions *ReportOptions() const { return FReportOptions.get(); }
    void SetReportOptions(TfrxReportOptions *Value);
    const QString &ScriptLanguage() const { return FScriptLanguage; }
    void SetScriptLanguage(const QString &Value) { FScriptLanguage = Value; }
    const QStringList &ScriptText() const { return FScriptText; }
    void SetScriptText(const QStringList &Value) { FScriptText = Value; }
    bool ShowProgress() const { return FShowProgress; }
    void SetShowProgress(bool Value) { FShowProgress = Value; }
    bool StoreInDFM() const { return FStoreInDFM; }
    void SetStoreInDFM(bool Value) { FStoreInDFM = Value; }
    const QString &OnRunDialogs() const { return FOnRunDialogs; }
    void SetOnRunDialogs(const QString &Value) { FOnRunDialogs = Value; }
    const QString &OnStartReport() const { return FOnStartReport; }
    void SetOnStartReport(const QString &Value) { FOnStartReport = Value; }
    const QString &OnStopReport() const { return FOnStopReport; }
    void SetOnStopReport(const QString &Value) { FOnStopReport = Value; }
    const QString &OnReportPrint() const { return FOnReportPrint; }
    void SetOnReportPrint(const QString &Value) { FOnReportPrint = Value; }
    // Names of the system variables ("Date", "Page#", ...).
    const QStringList &SysVariables() const { return FSysVariables; }

    // The prepared pages store, made on first use; it lives as long as the
    // report's run side.
    TfrxCustomPreviewPages *PreviewPages();
    // Prepares the report and shows its pages (the drawing room's run
    // side): the preview opens at once and the preparation starts
    // from a 50 ms timer, or, with OldStyleProgress, runs first and the
    // preview opens only when it succeeded. ClearLastReport discards the
    // pages of an earlier run.
    void ShowReport(bool ClearLastReport = true);
    // Shows the prepared pages in the attached Preview control, or else in a
    // new preview window (modal or not as PreviewOptions say).
    void ShowPreparedReport();
    // Host events: a preview window was created (before it is shown), and a
    // preview window closed.
    std::function<void(QObject *PreviewForm)> OnPreview;
    std::function<void(QObject *PreviewForm)> OnClosePreview;

    // Printing (the drawing room's run side). Print sends
    // the prepared pages to the printer (the store's Print); false when
    // nothing was printed. SelectPrinter makes PrintOptions.Printer current
    // when it names an installed printer (letter case ignored).
    bool Print();
    void SelectPrinter();
    // Host events of printing: before the job, before each page (with the
    // copy number), after the job.
    std::function<void(TfrxReport *Sender)> OnPrintReport;
    std::function<void(TfrxReportPage *Page, int CopyNo)> OnPrintPage;
    std::function<void(TfrxReport *Sender)> OnAfterPrintReport;

    // Host callbacks for the RudCustomData element of templates.
    std::function<void(TfrxXMLItem *)> OnGetCustomData;
    std::function<void(TfrxXMLItem *)> OnSaveCustomData;

    // Expressions and the script (the engine's run side); the objects are
    // created on first use.
    TfsScript *Script();
    TfrxExpressionCache *ExpressionCache();
    TfrxCustomEngine *Engine();
    // Registers the report objects, the script objects and the report's
    // functions with the script and compiles it; a compile error goes to
    // Errors. ActiveReport is the report being run (this one when none).
    bool PrepareScript(TfrxReport *ActiveReport = nullptr);
    // The value of an expression: a value source of DoGetValue, else the
    // expression compiled once and run. AScript: the script whose names the
    // expression sees (the report's when none). For the engine, errors are
    // added to Errors, prefixed with CurObject, and raised; for a script
    // they are raised to the script. (A template only so that the model
    // needs no script header: the callers know TfsVariant. The call goes
    // through TRuntime so that it is checked where Calc is used, not here.)
    template <class TValue = TfsVariant, class TRuntime = TfrxReportRuntime>
    TValue Calc(const QString &Expr, TfsScript *AScript = nullptr, TfrxCalcCaller Caller = TfrxCalcCaller::Engine)
    {
        TRuntime &runtime = Runtime();
        return runtime.Calc(Expr, AScript, Caller);
    }
    // Looks Expr up as a data field, a system variable, through the host
    // events, as a report, global or script variable; false when none answers.
    bool DoGetValue(const QString &Expr, TfsVariant &Value);
    // The script variables "Value" and "Self".
    void SetLocalValue(const TfsVariant &Value);
    void SetSelfValue(TfrxView *Value);
    // Adds Text to Errors (sorted, each text once).
    void AddError(const QString &Text);
    void ClearErrors() { FErrors.clear(); }
    // Replaces Errors (the run side restores them after reloading the definition).
    void SetErrors(const QStringList &Value) { FErrors = Value; }
    // Name of the object being processed; it prefixes expression errors.
    const QString &CurObject() const { return FCurObject; }
    void SetCurObject(const QString &Value) { FCurObject = Value; }
    // Whether expressions differing only in letter case are compiled apart.
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
    // Host events asked for a value by DoGetValue, in this order; an
    // invalid (unset) QVariant means no answer.
    std::function<void(const QString &VarName, QVariant &Value)> OnGetValue;
    std::function<void(TfrxReport *Sender, const QString &VarName, QVariant &Value)> OnNewGetValue;

    // Preparation (the engine's run side).
    // Turns the report into prepared pages; true when no error was recorded.
    // Errors are reported once at the end as EngineOptions.NewSilentMode says.
    bool PrepareReport(bool ClearLastReport = true);
    // True while PrepareReport runs. Scripts may then change the properties
    // of the report's objects but not the tree the engine walks (no Clear,
    // Assign, Parent, Create with an owner or Free of its objects).
    bool Preparing() const { return FPreparing; }
    // Set to stop preparation at its next check; setting it also stops the
    // running script.
    bool Terminated() const { return FTerminated; }
    void SetTerminated(bool Value);
    // Runs the script procedure EventName with Obj as its argument, when the
    // name is not empty and the engine is running (or RunAlways).
    void DoNotifyEvent(QObject *Obj, const QString &EventName, bool RunAlways = false);
    // The same with the caller's arguments, which the procedure may change.
    void DoParamEvent(const QString &EventName, QVariantList &Params, bool RunAlways = false);
    // The host's OnBeforePrint / OnAfterPrint, then the object's own script event.
    void DoBeforePrint(TfrxReportComponent *Obj);
    void DoAfterPrint(TfrxReportComponent *Obj);
    // Progress of preparing, exporting or printing (skipped with EnableThreadSafe).
    void InternalOnProgressStart(TfrxProgressType ProgressType);
    void InternalOnProgress(TfrxProgressType ProgressType, int Progress);
    void InternalOnProgressStop(TfrxProgressType ProgressType);
    // Shows Value in the progress window while it is open.
    void SetProgressMessage(const QString &Value, bool IsHint = false);
    // Host events of preparation (the certificate program sets none).
    std::function<void(TfrxReport *)> OnBeginDoc, OnEndDoc, OnAfterScriptCompile;
    std::function<void(TfrxReportComponent *)> OnBeforePrint, OnAfterPrint;
    std::function<void(TfrxReportPage *)> OnManualBuild;
    std::function<void(TfrxReport *, TfrxProgressType, int)> OnProgressStart, OnProgress, OnProgressStop;

private:
    enum class TCollectionKind { DataSets, Variables, Styles };
    void ReadCollection(TfrxXMLItem *Item, TCollectionKind Kind);
    void LoadParentReport();
    void RemoveAncestors();

    QString FFileName;
    QStringList FErrors;
    TfrxXMLSerializer *FSerializer = nullptr;
    std::shared_ptr<TfrxNameIndex> FNameIndex;
    bool FLoadFailed = false;
    bool FModified = false;
    QString FParentReport;
    QPointer<TfrxComponent> FDataSet;
    QString FDataSetName;
    bool FDotMatrixReport = false;
    std::unique_ptr<TfrxEngineOptions> FEngineOptions;
    QString FIniFile = QStringLiteral("\\Software\\Dodi Varoras");
    bool FOldStyleProgress = false;
    QPointer<QObject> FPreview;
    std::unique_ptr<TfrxPreviewOptions> FPreviewOptions;
    std::unique_ptr<TfrxPrintOptions> FPrintOptions;
    std::unique_ptr<TfrxReportOptions> FReportOptions;
    QString FScriptLanguage;
    QStringList FScriptText;
    bool FShowProgress = true;
    bool FStoreInDFM = true;
    QString FOnRunDialogs, FOnStartReport, FOnStopReport, FOnReportPrint;
    QStringList FSysVariables;
    std::unique_ptr<TfrxReportDataSets> FDataSets = std::make_unique<TfrxReportDataSets>();
    std::unique_ptr<TfrxReportDataSets> FEnabledDataSets = std::make_unique<TfrxReportDataSets>();
    std::unique_ptr<TfrxVariables> FVariables = std::make_unique<TfrxVariables>();
    std::unique_ptr<TfrxStyles> FStyles = std::make_unique<TfrxStyles>();
    bool FReloading = false;
    std::shared_ptr<TfrxReport> FParentReportObject;

    QString FCurObject;
    bool FCaseSensitive = false;
    bool FTerminated = false;
    bool FPreparing = false;
    std::shared_ptr<const TfrxServices> FServices;
    // Declared last: freed first, while the options it reads still exist.
    std::unique_ptr<TfrxReportRuntime> FRuntime;
};

// Reports Text as EngineOptions.NewSilentMode says: a modal error box
// (simMessageBoxes), nothing (simSilent), or an EGeneralError (simReThrow).
void rudCommonErrorHandler(TfrxReport *Report, const QString &Text);
// The file behind a settings-store name. A name beginning with
// "\Software\" (any case) names a per-user key; it maps to an INI file in
// the user's configuration folder (QStandardPaths::GenericConfigLocation):
// the key's parts below "\Software\" become folders and the last part the
// file name with ".ini" ("\Software\Dodi Varoras" ->
// "<config>/Dodi Varoras.ini", "\Software\A\B" -> "<config>/A/B.ini").
// Parts are split at "\" and "/", empty parts are dropped, the characters
// <>:"|?* and control characters become "_", and a part made only of dots has
// its dots replaced by "_", so the file always lies inside the folder. An empty
// key or an empty name gives "<config>/Software.ini". Any other name is the
// path of the INI file itself.
QString rudSettingsFileName(const QString &IniFile);
// Adds Text to a sorted list that ignores duplicates (case ignored).
void rudAddSortedUnique(QStringList &List, const QString &Text);
