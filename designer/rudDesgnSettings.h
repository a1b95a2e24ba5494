#pragma once
// The designer settings component: the defaults the designer gives new
// reports, pages and memos, the commands it forbids, and the host's hooks
// into opening, saving and inserting.

#include "report/model/rudFont.h"
#include "report/model/rudPersistent.h"
#include "report/model/rudPropInfo.h"
#include "report/model/rudUnits.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class TfrxComponent;
class TfrxReport;

namespace rudDesgnEnums {
Q_NAMESPACE

// Designer commands that can be forbidden, bit 0 first.
enum TfrxDesignerRestriction {
    drDontInsertObject = 1 << 0,        // inserting objects
    drDontDeletePage = 1 << 1,          // delete page
    drDontCreatePage = 1 << 2,          // new page, new dialog
    drDontChangePageOptions = 1 << 3,   // page settings
    drDontCreateReport = 1 << 4,        // new report, new item
    drDontLoadReport = 1 << 5,          // open, recent files
    drDontSaveReport = 1 << 6,          // save, save as, the question on closing
    drDontPreviewReport = 1 << 7,       // preview
    drDontEditVariables = 1 << 8,       // variables
    drDontChangeReportOptions = 1 << 9, // report options, styles
    drDontEditReportData = 1 << 10,     // report data
    drDontShowRecentFiles = 1 << 11,
    drDontEditReportScript = 1 << 12,
    drDontEditInternalDatasets = 1 << 13
};
Q_DECLARE_FLAGS(TfrxDesignerRestrictions, TfrxDesignerRestriction)
Q_FLAG_NS(TfrxDesignerRestrictions)

} // namespace rudDesgnEnums

Q_DECLARE_OPERATORS_FOR_FLAGS(rudDesgnEnums::TfrxDesignerRestrictions)

using namespace rudDesgnEnums;

// Settings the designer window reads when it opens: at most one is in use,
// the one Current() answers. Its name is its object name.
class TfrxDesigner : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(QString DefaultScriptLanguage READ DefaultScriptLanguage WRITE SetDefaultScriptLanguage)
    Q_PROPERTY(TFont *DefaultFont READ DefaultFont WRITE SetDefaultFont)
    Q_PROPERTY(double DefaultLeftMargin READ DefaultLeftMargin WRITE SetDefaultLeftMargin)
    Q_PROPERTY(double DefaultRightMargin READ DefaultRightMargin WRITE SetDefaultRightMargin)
    Q_PROPERTY(double DefaultTopMargin READ DefaultTopMargin WRITE SetDefaultTopMargin)
    Q_PROPERTY(double DefaultBottomMargin READ DefaultBottomMargin WRITE SetDefaultBottomMargin)
    Q_PROPERTY(int DefaultPaperSize READ DefaultPaperSize WRITE SetDefaultPaperSize)
    Q_PROPERTY(rudEnums::TPrinterOrientation DefaultOrientation READ DefaultOrientation WRITE SetDefaultOrientation)
    Q_PROPERTY(QString TemplatesExt READ TemplatesExt WRITE SetTemplatesExt)
    Q_PROPERTY(rudDesgnEnums::TfrxDesignerRestrictions Restrictions READ Restrictions WRITE SetRestrictions)
    Q_PROPERTY(bool CloseQuery READ CloseQuery WRITE SetCloseQuery)
    Q_PROPERTY(int GradientStart READ GradientStart WRITE SetGradientStart)
    Q_PROPERTY(int GradientEnd READ GradientEnd WRITE SetGradientEnd)
    Q_PROPERTY(bool RTLLanguage READ RTLLanguage WRITE SetRTLLanguage)
    Q_PROPERTY(bool MemoParentFont READ MemoParentFont WRITE SetMemoParentFont)
    Q_PROPERTY(QString OpenDir READ OpenDir WRITE SetOpenDir)
    Q_PROPERTY(QString SaveDir READ SaveDir WRITE SetSaveDir)
    Q_PROPERTY(QString TemplateDir READ TemplateDir WRITE SetTemplateDir)
    Q_PROPERTY(bool Standalone READ Standalone WRITE SetStandalone)
public:
    // The system colour of window backgrounds, as colours store system colours.
    static constexpr TColor clWindow = int(0xFF000005);
    // The default end colour of the tool areas (red 218, green 214, blue 182).
    static constexpr TColor DefaultGradientEnd = 11982554;

    // Every setting at its default; the new component becomes Current().
    explicit TfrxDesigner(QObject *parent = nullptr);
    ~TfrxDesigner() override;
    static TfrxPropDescs PropDescs();

    // The settings component in use: the most recently created one still
    // alive, or nullptr.
    static TfrxDesigner *Current();

    const QString &DefaultScriptLanguage() const { return FDefaultScriptLanguage; }
    void SetDefaultScriptLanguage(const QString &Value) { FDefaultScriptLanguage = Value; }
    // The font of new memos: Arial, 10 pt, window-text colour, default charset.
    TFont *DefaultFont() const { return FDefaultFont.get(); }
    // Copies Value (nullptr is ignored).
    void SetDefaultFont(TFont *Value);
    double DefaultLeftMargin() const { return FDefaultLeftMargin; }
    void SetDefaultLeftMargin(double Value) { FDefaultLeftMargin = Value; }
    double DefaultRightMargin() const { return FDefaultRightMargin; }
    void SetDefaultRightMargin(double Value) { FDefaultRightMargin = Value; }
    double DefaultTopMargin() const { return FDefaultTopMargin; }
    void SetDefaultTopMargin(double Value) { FDefaultTopMargin = Value; }
    double DefaultBottomMargin() const { return FDefaultBottomMargin; }
    void SetDefaultBottomMargin(double Value) { FDefaultBottomMargin = Value; }
    int DefaultPaperSize() const { return FDefaultPaperSize; }
    void SetDefaultPaperSize(int Value) { FDefaultPaperSize = Value; }
    TPrinterOrientation DefaultOrientation() const { return FDefaultOrientation; }
    void SetDefaultOrientation(TPrinterOrientation Value) { FDefaultOrientation = Value; }
    // The extension of template files, without a dot.
    const QString &TemplatesExt() const { return FTemplatesExt; }
    // Stores Value with one leading dot removed (".fr3" becomes "fr3").
    void SetTemplatesExt(const QString &Value);
    TfrxDesignerRestrictions Restrictions() const { return FRestrictions; }
    void SetRestrictions(TfrxDesignerRestrictions Value) { FRestrictions = Value; }
    // True when Restrictions forbid the command of that flag.
    bool IsRestricted(TfrxDesignerRestriction Flag) const { return FRestrictions.testFlag(Flag); }
    // Whether closing a modified report asks to save it.
    bool CloseQuery() const { return FCloseQuery; }
    void SetCloseQuery(bool Value) { FCloseQuery = Value; }
    TColor GradientStart() const { return FGradientStart; }
    void SetGradientStart(TColor Value) { FGradientStart = Value; }
    TColor GradientEnd() const { return FGradientEnd; }
    void SetGradientEnd(TColor Value) { FGradientEnd = Value; }
    // New memos read right to left.
    bool RTLLanguage() const { return FRTLLanguage; }
    void SetRTLLanguage(bool Value) { FRTLLanguage = Value; }
    // New memos take their parent's font.
    bool MemoParentFont() const { return FMemoParentFont; }
    void SetMemoParentFont(bool Value) { FMemoParentFont = Value; }
    // Initial folders of the open and save dialogs.
    const QString &OpenDir() const { return FOpenDir; }
    void SetOpenDir(const QString &Value) { FOpenDir = Value; }
    const QString &SaveDir() const { return FSaveDir; }
    void SetSaveDir(const QString &Value) { FSaveDir = Value; }
    // The folder of templates; the program's folder when empty.
    const QString &TemplateDir() const { return FTemplateDir; }
    void SetTemplateDir(const QString &Value) { FTemplateDir = Value; }
    // Shows the connections command.
    bool Standalone() const { return FStandalone; }
    void SetStandalone(bool Value) { FStandalone = Value; }

    // Host hooks; an empty function leaves the designer's own behaviour.
    // Opens a report instead of the open dialog; true when it loaded one.
    std::function<bool(TfrxReport *Report)> OnLoadReport;
    // Opens a recent file instead of the designer; true when it loaded it.
    std::function<bool(TfrxReport *Report, const QString &FileName)> OnLoadRecentReport;
    // Saves the report instead of the designer; true when it wrote it.
    std::function<bool(TfrxReport *Report, bool SaveAs)> OnSaveReport;
    // The designer window is being shown.
    std::function<void()> OnShow;
    // An object was just inserted into the page being edited.
    std::function<void(TfrxComponent *Object)> OnInsertObject;
    // Shows a start-up screen when the designer opens.
    std::function<void()> OnShowStartupScreen;
    // Fills List with the names of the templates a new report may start from.
    std::function<void(QStringList &List)> OnGetTemplateList;

private:
    QString FDefaultScriptLanguage = QStringLiteral("PascalScript");
    std::unique_ptr<TFont> FDefaultFont;
    double FDefaultLeftMargin = 10, FDefaultRightMargin = 10, FDefaultTopMargin = 10, FDefaultBottomMargin = 10;
    int FDefaultPaperSize = 9;
    TPrinterOrientation FDefaultOrientation = poPortrait;
    QString FTemplatesExt = QStringLiteral("fr3");
    TfrxDesignerRestrictions FRestrictions;
    bool FCloseQuery = true;
    TColor FGradientStart = clWindow;
    TColor FGradientEnd = DefaultGradientEnd;
    bool FRTLLanguage = false;
    bool FMemoParentFont = false;
    QString FOpenDir, FSaveDir, FTemplateDir;
    bool FStandalone = false;
};
