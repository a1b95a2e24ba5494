#pragma once
// The designer window: menus, tool bars, page tabs with the code tab, the
// work area, the object inspector and report tree docks, the status bar,
// the file workflow, snapshot undo and redo, the clipboard, zoom, units and
// the per-user settings.

#include "designer/rudCustomDesigner.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QStackedWidget;
class QTabBar;
class QTimer;
class QToolBar;
class TfrxUndoBuffer;
class TfrxReportTree;
class TDesignerWorkspace;
class TfrxObjectInspector;
class TfrxRulerScrollArea;

// The designer window editing one report in place.
class TfrxDesignerForm : public TfrxCustomDesigner {
    Q_OBJECT
public:
    explicit TfrxDesignerForm(TfrxReport *Report, QWidget *Parent = nullptr);
    ~TfrxDesignerForm() override;

    // The report's name for captions and questions: its file name without
    // folder, or "Untitled." and the template extension.
    QString ReportName() const;
    // The template extension without a dot ("fr3" unless the settings say).
    const QString &TemplateExt() const { return FTemplateExt; }

    // Restores the settings and loads the report into the window; called
    // once when the window is first shown (tests may call it themselves).
    void Init();
    // Loads the report into the window: pages made when there are none, the
    // data page ensured, the script into the code tab, tabs rebuilt, the first
    // non-data page shown, the undo list restarted (modified = false).
    void ReloadReport();
    // Rebuilds the tabs after the report's pages changed and shows page
    // Index (of the pages that are not data pages); -1 keeps the current one.
    void ReloadPages(int Index);
    // Shows the page of tab Index (0 is the code tab).
    void SetTabIndex(int Index);
    int TabIndex() const;
    bool CodeTabShown() const { return FPage == nullptr; }
    void SetPage(TfrxPage *Value) override;

    void SetModified(bool Value, QObject *Sender = nullptr) override;
    void SelectionChanged(QObject *Sender = nullptr) override;
    void UpdateInspector() override;
    // Recomputes the enabled state of every command.
    void UpdateControls();

    // Zoom: clamped to at most 20, 0 becomes 1.
    double Scale() const { return FScale; }
    void SetScale(double Value);
    // Applies a zoom box text: a list entry, or a number with or without "%".
    void ApplyZoomText(const QString &Text);
    void SetUnits(TfrxDesignerUnits Value) override;
    // Grid sizes: Grid1 cm, Grid2 in, Grid3 px, Grid4 px (dialog pages).
    double Grid(int Index) const { return FGrid[Index - 1]; }
    void SetGrid(int Index, double Value);
    bool ShowGrid() const { return FShowGrid; }
    void SetShowGrid(bool Value);
    bool GridAlign() const { return FGridAlign; }
    void SetGridAlign(bool Value);
    bool ShowRulers() const { return FShowRulers; }
    void SetShowRulers(bool Value);
    bool ShowGuides() const { return FShowGuides; }
    void SetShowGuides(bool Value);
    bool EditAfterInsert() const { return FEditAfterInsert; }
    void SetEditAfterInsert(bool Value) { FEditAfterInsert = Value; }
    const QStringList &RecentFiles() const { return FRecentFiles; }
    // The grid step across and down in page units for the current units.
    double GridStepX() const;
    double GridStepY() const;

    // Commands (the menu actions call them).
    void NewReport();
    void NewPage();
    void NewDialog();
    // Shows the open dialog and opens the chosen file; false when nothing
    // was opened.
    bool Open();
    // Opens FileName as the open command does after its dialog.
    bool OpenFile(const QString &FileName);
    // Saves (SaveAs: always through the save dialog); true when written or
    // saved by the host's handler.
    bool Save(bool SaveAs = false);
    // Compiles the script, prepares a copy and shows it in the preview.
    void Preview();
    void PageSettings();
    void Undo();
    void Redo();
    void Cut();
    void Copy();
    void Paste();
    void Delete();
    void DeletePage();
    void SelectAll();
    void EditSelected();
    void Group();
    void Ungroup();
    void BringToFront();
    void SendToBack();
    void Find();
    void Replace();
    void FindNext();
    void Options();
    // Creates an object of class Class with the rectangle Rect (page units,
    // absolute on the page) as the insertion command does; nullptr when
    // refused.
    TfrxComponent *InsertObject(const QMetaObject *Class, const QRectF &Rect);

    // The action of a command by its object name ("SaveCmd", "UndoCmd", ...).
    QAction *Action(const QString &Name) const;
    // The status bar panels: units, selection position and size, object.
    QString StatusUnits() const;
    QString StatusPosition() const { return FStatusPosition; }
    QString StatusObject() const;
    QPlainTextEdit *CodeWindow() const { return FCodeWindow; }
    QTabBar *Tabs() const { return FTabs; }
    QComboBox *ZoomBox() const { return FZoomBox; }
    TDesignerWorkspace *Workspace() const { return FWorkspace; }
    TfrxRulerScrollArea *WorkArea() const { return FArea; }
    TfrxObjectInspector *Inspector() const { return FInspector; }
    TfrxReportTree *ReportTree() const { return FReportTree; }
    int UndoCount() const;
    int RedoCount() const;
    // Set while a script runs: the window then refuses to close.
    bool ScriptRunning() const { return FScriptRunning; }
    void SetScriptRunning(bool Value) { FScriptRunning = Value; }

    // Settings in the store's section "Form5.TfrxDesignerForm".
    void RestoreState();
    void SaveState();

protected:
    void closeEvent(QCloseEvent *Event) override;
    void showEvent(QShowEvent *Event) override;
    void wheelEvent(QWheelEvent *Event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateTextToolBar();
    void CreateFrameToolBar();
    void CreateAlignToolBar();
    void CreateObjectBar();
    void CreateWorkArea();
    void CreateStatusBar();
    QAction *AddAction(const QString &Name, const QString &Caption, const QKeySequence &Shortcut,
                       void (TfrxDesignerForm::*Slot)(), int ImageIndex = -1);

    // Asks "Save changes to ...?" when modified; false when the caller
    // should stop (Cancel, or Yes and the save failed).
    bool CheckModified();
    void BuildNewReport(bool WithBands);
    void UpdateCaption();
    void UpdateStatus();
    void UpdateRecentMenu();
    void AddRecentFile(const QString &FileName);
    void UpdateWorkspaceSettings();
    void UpdateTextToolBar();
    void ApplyToSelectedMemos(const std::function<void(class TfrxCustomMemoView *)> &Change);
    void ApplyToSelectedViews(const std::function<void(class TfrxView *)> &Change);
    QList<TfrxComponent *> SelectedPrintable() const;
    bool HasObjectSelection() const;
    // Shows no page: the work area, inspector and tree let go of its
    // objects (before the report's content is replaced or a page freed).
    void ReleasePage();
    void CodeToScript();
    void SnapshotToUndo();
    void LoadSnapshot(const QByteArray &Snapshot);
    QByteArray TakeSnapshot() const;
    void RestoreScroll(int PageIndex);
    int PageIndexOf(TfrxPage *Page) const;
    void DoFind(bool Replacing);
    // The work area's part (rudDesgnWorkArea.cpp).
    void CreateWorkspace();
    void WorkspaceDelete();
    void WorkspaceGroup(bool Grouping);
    void WorkspacePasted();
    void UpdateWorkspace();
    // Runs an alignment palette command by its button name.
    void WorkspaceAlign(const QString &Command);
    // Arms the insertion of Class (nullptr: the arrow tool).
    void WorkspaceArm(const QMetaObject *Class);
    void OnWorkspaceInsert();
    void OnWorkspaceNotifyPosition(const QRectF &Rect);
    void UpdateClipboardState();

    QString FTemplateExt = QStringLiteral("fr3");
    double FScale = 1;
    double FGrid[4] = {0.1, 0.1, 4, 4};
    bool FShowGrid = true, FGridAlign = true, FShowRulers = true, FShowGuides = true;
    bool FEditAfterInsert = false;
    // Work area switches kept with the settings.
    bool FGridLCD = false, FFreeBands = false, FShowBandCaptions = true;
    int FBandsGap = 4;
    QStringList FRecentFiles;
    bool FInitialized = false;
    bool FScriptRunning = false;
    bool FClipboardHasReport = false;
    bool FSearched = false;
    QString FFindText, FReplaceText;
    bool FFindCase = false;
    QString FStatusPosition;
    QHash<int, QPoint> FScrollPositions;
    std::unique_ptr<TfrxUndoBuffer> FUndo;

    QHash<QString, QAction *> FActions;
    QMenu *FRecentMenu = nullptr;
    QMenu *FToolbarsMenu = nullptr;
    QToolBar *FStandardTB = nullptr, *FTextTB = nullptr, *FFrameTB = nullptr, *FAlignTB = nullptr,
             *FExtraTB = nullptr, *FObjectTB = nullptr;
    QComboBox *FZoomBox = nullptr;
    QComboBox *FFontNameBox = nullptr, *FFontSizeBox = nullptr;
    QTabBar *FTabs = nullptr;
    QStackedWidget *FStack = nullptr;
    QPlainTextEdit *FCodeWindow = nullptr;
    TfrxRulerScrollArea *FArea = nullptr;
    TDesignerWorkspace *FWorkspace = nullptr;
    TfrxObjectInspector *FInspector = nullptr;
    TfrxReportTree *FReportTree = nullptr;
    QLabel *FStatusUnits = nullptr, *FStatusPos = nullptr, *FStatusName = nullptr;
    QTimer *FClipboardTimer = nullptr;
    bool FUpdatingTextBar = false;
};
