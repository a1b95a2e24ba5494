// The designer window's frame: building its actions, menus, tool bars,
// docks and status bar, and the caption, status texts and enabled commands
// they show.

#include "designer/rudDesgn.h"

#include "designer/rudDesgnClipboard.h"
#include "designer/rudDesgnSettings.h"
#include "designer/rudDesgnUndo.h"
#include "designer/rudInsp.h"
#include "designer/rudReportTree.h"
#include "designer/rudRulerScrollArea.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The window's fixed title, before the report's name.
const char *const productTitle = "Report Designer";

QIcon mainIcon(int Index)
{
    if (Index < 0)
        return {};
    const TfrxImageList &images = rudResources().GetMainButtonImages();
    return Index < images.Count() ? QIcon(QPixmap::fromImage(images.Image(Index))) : QIcon();
}

} // namespace

TfrxDesignerForm::TfrxDesignerForm(TfrxReport *Report, QWidget *Parent)
    : TfrxCustomDesigner(Report, Parent), FUndo(std::make_unique<TfrxUndoBuffer>())
{
    setObjectName(QStringLiteral("TfrxDesignerForm"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    if (const TfrxDesigner *settings = Settings())
        FTemplateExt = settings->TemplatesExt();
    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateWorkArea();
    CreateStatusBar();
    resize(1000, 700);

    // Paste follows the system clipboard, which has no reliable change
    // signal on every platform: it is polled.
    FClipboardTimer = new QTimer(this);
    FClipboardTimer->setInterval(500);
    connect(FClipboardTimer, &QTimer::timeout, this, &TfrxDesignerForm::UpdateClipboardState);
    FClipboardTimer->start();
    UpdateCaption();
}

TfrxDesignerForm::~TfrxDesignerForm()
{
    // The widget part still closes after this destructor: a focused child
    // then reports (a line edit's editingFinished), and nothing of it may
    // reach this object any more.
    for (QObject *child : findChildren<QObject *>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

QAction *TfrxDesignerForm::AddAction(const QString &Name, const QString &Caption, const QKeySequence &Shortcut,
                                     void (TfrxDesignerForm::*Slot)(), int ImageIndex)
{
    auto *action = new QAction(mainIcon(ImageIndex), Caption, this);
    action->setObjectName(Name);
    if (!Shortcut.isEmpty())
        action->setShortcut(Shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    if (Slot)
        connect(action, &QAction::triggered, this, Slot);
    addAction(action);
    FActions.insert(Name, action);
    return action;
}

QAction *TfrxDesignerForm::Action(const QString &Name) const
{
    return FActions.value(Name, nullptr);
}

void TfrxDesignerForm::CreateActions()
{
    using F = TfrxDesignerForm;
    AddAction(QStringLiteral("NewItemCmd"), rudGet(2000), {}, &F::NewReport);
    AddAction(QStringLiteral("NewReportCmd"), rudGet(2001), {}, &F::NewReport, 3);
    AddAction(QStringLiteral("NewPageCmd"), rudGet(2002), {}, &F::NewPage);
    AddAction(QStringLiteral("NewDialogCmd"), rudGet(2003), {}, &F::NewDialog);
    AddAction(QStringLiteral("OpenCmd"), rudGet(2004), QKeySequence(Qt::CTRL | Qt::Key_O), nullptr, 0);
    connect(Action(QStringLiteral("OpenCmd")), &QAction::triggered, this, [this] { Open(); });
    AddAction(QStringLiteral("SaveCmd"), rudGet(2005), QKeySequence(Qt::CTRL | Qt::Key_S), nullptr, 1);
    connect(Action(QStringLiteral("SaveCmd")), &QAction::triggered, this, [this] { Save(false); });
    AddAction(QStringLiteral("SaveAsCmd"), rudGet(2006), {}, nullptr);
    connect(Action(QStringLiteral("SaveAsCmd")), &QAction::triggered, this, [this] { Save(true); });
    AddAction(QStringLiteral("PreviewCmd"), rudGet(2007), QKeySequence(Qt::CTRL | Qt::Key_P), &F::Preview, 4);
    AddAction(QStringLiteral("PageSettingsCmd"), rudGet(2008), {}, &F::PageSettings);
    AddAction(QStringLiteral("ExitCmd"), rudGet(2009), QKeySequence(Qt::ALT | Qt::Key_X), nullptr);
    connect(Action(QStringLiteral("ExitCmd")), &QAction::triggered, this, &QWidget::close);
    AddAction(QStringLiteral("UndoCmd"), rudGet(2010), QKeySequence(Qt::CTRL | Qt::Key_Z), &F::Undo);
    AddAction(QStringLiteral("RedoCmd"), rudGet(2011), {}, &F::Redo);
    AddAction(QStringLiteral("CutCmd"), rudGet(2012), QKeySequence(Qt::CTRL | Qt::Key_X), &F::Cut);
    AddAction(QStringLiteral("CopyCmd"), rudGet(2013), QKeySequence(Qt::CTRL | Qt::Key_C), &F::Copy);
    AddAction(QStringLiteral("PasteCmd"), rudGet(2014), QKeySequence(Qt::CTRL | Qt::Key_V), &F::Paste);
    Action(QStringLiteral("CutCmd"))->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    Action(QStringLiteral("CopyCmd"))->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    Action(QStringLiteral("PasteCmd"))->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    AddAction(QStringLiteral("DeleteCmd"), rudGet(2015), {}, &F::Delete);
    AddAction(QStringLiteral("DeletePageCmd"), rudGet(2016), {}, &F::DeletePage);
    AddAction(QStringLiteral("SelectAllCmd"), rudGet(2017), QKeySequence(Qt::CTRL | Qt::Key_A), &F::SelectAll);
    AddAction(QStringLiteral("EditCmd"), rudGet(2018), {}, &F::EditSelected);
    AddAction(QStringLiteral("GroupCmd"), rudGet(2019), {}, &F::Group);
    AddAction(QStringLiteral("UngroupCmd"), rudGet(2020), {}, &F::Ungroup);
    AddAction(QStringLiteral("BringToFrontCmd"), rudGet(2021), {}, &F::BringToFront);
    AddAction(QStringLiteral("SendToBackCmd"), rudGet(2022), {}, &F::SendToBack);
    AddAction(QStringLiteral("FindCmd"), rudGet(2023), QKeySequence(Qt::CTRL | Qt::Key_F), &F::Find);
    AddAction(QStringLiteral("ReplaceCmd"), rudGet(2024), QKeySequence(Qt::CTRL | Qt::Key_R), &F::Replace);
    AddAction(QStringLiteral("FindNextCmd"), rudGet(2025), QKeySequence(Qt::Key_F3), &F::FindNext);
    AddAction(QStringLiteral("ReportDataCmd"), rudGet(2026), {}, nullptr);
    AddAction(QStringLiteral("VariablesCmd"), rudGet(2027), {}, nullptr);
    AddAction(QStringLiteral("ReportStylesCmd"), rudGet(2028), {}, nullptr);
    AddAction(QStringLiteral("ReportOptionsCmd"), rudGet(2029), {}, nullptr);
    AddAction(QStringLiteral("ShowRulersCmd"), rudGet(2030), {}, nullptr)->setCheckable(true);
    connect(Action(QStringLiteral("ShowRulersCmd")), &QAction::toggled, this, &TfrxDesignerForm::SetShowRulers);
    AddAction(QStringLiteral("ShowGuidesCmd"), rudGet(2031), {}, nullptr)->setCheckable(true);
    connect(Action(QStringLiteral("ShowGuidesCmd")), &QAction::toggled, this, &TfrxDesignerForm::SetShowGuides);
    AddAction(QStringLiteral("DeleteGuidesCmd"), rudGet(2032), {}, nullptr);
    connect(Action(QStringLiteral("DeleteGuidesCmd")), &QAction::triggered, this, [this] {
        if (auto *page = qobject_cast<TfrxReportPage *>(FPage)) {
            page->SetHGuides({});
            page->SetVGuides({});
            SetModified(true);
        }
    });
    AddAction(QStringLiteral("OptionsCmd"), rudGet(2033), {}, &F::Options);
    AddAction(QStringLiteral("InspectorTBCmd"), rudGet(2034), QKeySequence(Qt::Key_F11), nullptr)->setCheckable(true);
    AddAction(QStringLiteral("HelpContentsCmd"), rudGet(2035), QKeySequence(Qt::Key_F1), nullptr);
    connect(Action(QStringLiteral("HelpContentsCmd")), &QAction::triggered, this,
            [] { rudResources().Help(QStringLiteral("TfrxDesignerForm")); });
    // Report-level dialogs are not part of this designer; they stay visible
    // but disabled so that the menus read as the user expects.
    for (const char *name : {"ReportDataCmd", "VariablesCmd", "ReportStylesCmd", "ReportOptionsCmd"})
        Action(QLatin1String(name))->setEnabled(false);
}

void TfrxDesignerForm::CreateMenus()
{
    auto add = [this](QMenu *menu, std::initializer_list<const char *> names) {
        for (const char *name : names) {
            if (!*name)
                menu->addSeparator();
            else
                menu->addAction(Action(QLatin1String(name)));
        }
    };
    QMenu *file = menuBar()->addMenu(rudGet(2036));
    file->setObjectName(QStringLiteral("FileMenu"));
    add(file, {"NewItemCmd", "NewReportCmd", "NewPageCmd", "NewDialogCmd", "", "OpenCmd", "SaveCmd", "SaveAsCmd", "",
               "PreviewCmd", "PageSettingsCmd", ""});
    FRecentMenu = file->addMenu(QStringLiteral("Recent files"));
    FRecentMenu->setObjectName(QStringLiteral("RecentMenu"));
    file->addSeparator();
    add(file, {"ExitCmd"});
    QMenu *edit = menuBar()->addMenu(rudGet(2037));
    edit->setObjectName(QStringLiteral("EditMenu"));
    add(edit, {"UndoCmd", "RedoCmd", "", "CutCmd", "CopyCmd", "PasteCmd", "DeleteCmd", "DeletePageCmd", "SelectAllCmd",
               "", "GroupCmd", "UngroupCmd", "EditCmd", "", "FindCmd", "ReplaceCmd", "FindNextCmd", "",
               "BringToFrontCmd", "SendToBackCmd"});
    QMenu *report = menuBar()->addMenu(rudGet(2038));
    report->setObjectName(QStringLiteral("ReportMenu"));
    add(report, {"ReportDataCmd", "VariablesCmd", "ReportStylesCmd", "ReportOptionsCmd"});
    QMenu *view = menuBar()->addMenu(rudGet(2039));
    view->setObjectName(QStringLiteral("ViewMenu"));
    FToolbarsMenu = view->addMenu(rudGet(2041));
    add(view, {"InspectorTBCmd", "", "ShowRulersCmd", "ShowGuidesCmd", "DeleteGuidesCmd", "", "OptionsCmd"});
    QMenu *help = menuBar()->addMenu(rudGet(2040));
    help->setObjectName(QStringLiteral("HelpMenu"));
    add(help, {"HelpContentsCmd"});
}

void TfrxDesignerForm::CreateToolBars()
{
    FStandardTB = addToolBar(QStringLiteral("Standard"));
    FStandardTB->setObjectName(QStringLiteral("StandardTB"));
    for (const char *name : {"NewReportCmd", "OpenCmd", "SaveCmd", "PreviewCmd", "", "CutCmd", "CopyCmd", "PasteCmd",
                             "", "UndoCmd", "RedoCmd", "", "GroupCmd", "UngroupCmd", ""})
        if (*name)
            FStandardTB->addAction(Action(QLatin1String(name)));
        else
            FStandardTB->addSeparator();
    FZoomBox = new QComboBox(FStandardTB);
    FZoomBox->setObjectName(QStringLiteral("ScaleCB"));
    FZoomBox->setEditable(true);
    FZoomBox->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                        QStringLiteral("150%"), QStringLiteral("200%"), QStringLiteral("Page width"),
                        QStringLiteral("Whole page")});
    FZoomBox->setInsertPolicy(QComboBox::NoInsert);
    FZoomBox->setMinimumContentsLength(9);
    connect(FZoomBox, &QComboBox::textActivated, this, &TfrxDesignerForm::ApplyZoomText);
    connect(FZoomBox->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { ApplyZoomText(FZoomBox->lineEdit()->text()); });
    FStandardTB->addWidget(FZoomBox);
    FToolbarsMenu->addAction(FStandardTB->toggleViewAction());
    CreateTextToolBar();
    CreateFrameToolBar();
    addToolBarBreak();
    CreateAlignToolBar();
    FExtraTB = addToolBar(QStringLiteral("Extra Tools"));
    FExtraTB->setObjectName(QStringLiteral("ExtraTB"));
    FExtraTB->addAction(Action(QStringLiteral("BringToFrontCmd")));
    FExtraTB->addAction(Action(QStringLiteral("SendToBackCmd")));
    FExtraTB->hide();
    FToolbarsMenu->addAction(FExtraTB->toggleViewAction());
    CreateObjectBar();
}

void TfrxDesignerForm::CreateWorkArea()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FTabs = new QTabBar(central);
    FTabs->setObjectName(QStringLiteral("Tabs"));
    FTabs->setExpanding(false);
    FTabs->setDrawBase(false);
    layout->addWidget(FTabs);
    FStack = new QStackedWidget(central);
    layout->addWidget(FStack, 1);

    FCodeWindow = new QPlainTextEdit(FStack);
    FCodeWindow->setObjectName(QStringLiteral("CodeWindow"));
    FCodeWindow->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono(QStringLiteral("Courier New"), 10);
    mono.setStyleHint(QFont::TypeWriter);
    FCodeWindow->setFont(mono);
    FStack->addWidget(FCodeWindow);

    CreateWorkspace();
    setCentralWidget(central);
    connect(FTabs, &QTabBar::currentChanged, this, [this](int Index) {
        if (!FUpdatingTextBar)
            SetTabIndex(Index);
    });
    connect(FCodeWindow, &QPlainTextEdit::textChanged, this, [this] {
        if (CodeTabShown() && !FUpdatingTextBar) {
            FModified = true;
            UpdateControls();
        }
    });

    auto *inspectorDock = new QDockWidget(rudGet(2034), this);
    inspectorDock->setObjectName(QStringLiteral("InspectorDock"));
    FInspector = new TfrxObjectInspector(this, inspectorDock);
    inspectorDock->setWidget(FInspector);
    inspectorDock->resize(159, inspectorDock->height());
    addDockWidget(Qt::LeftDockWidgetArea, inspectorDock);
    QAction *inspectorCmd = Action(QStringLiteral("InspectorTBCmd"));
    inspectorCmd->setChecked(true);
    connect(inspectorCmd, &QAction::toggled, inspectorDock, &QDockWidget::setVisible);
    connect(inspectorDock, &QDockWidget::visibilityChanged, inspectorCmd, [inspectorCmd, inspectorDock] {
        if (!inspectorDock->isHidden() != inspectorCmd->isChecked())
            inspectorCmd->setChecked(!inspectorDock->isHidden());
    });

    auto *treeDock = new QDockWidget(rudGet(2107), this);
    treeDock->setObjectName(QStringLiteral("ReportTreeDock"));
    FReportTree = new TfrxReportTree(this, treeDock);
    treeDock->setWidget(FReportTree);
    addDockWidget(Qt::LeftDockWidgetArea, treeDock);
    FToolbarsMenu->addAction(treeDock->toggleViewAction());
}

void TfrxDesignerForm::CreateStatusBar()
{
    FStatusUnits = new QLabel(this);
    FStatusUnits->setObjectName(QStringLiteral("StatusUnits"));
    FStatusUnits->setFixedWidth(75);
    FStatusPos = new QLabel(this);
    FStatusPos->setObjectName(QStringLiteral("StatusPosition"));
    FStatusPos->setFixedWidth(230);
    FStatusName = new QLabel(this);
    FStatusName->setObjectName(QStringLiteral("StatusName"));
    FStatusName->setMinimumWidth(50);
    statusBar()->addWidget(FStatusUnits);
    statusBar()->addWidget(FStatusPos);
    statusBar()->addWidget(FStatusName, 1);
}

// ---- state shown -------------------------------------------------------------

QString TfrxDesignerForm::ReportName() const
{
    if (FReport && !FReport->FileName().isEmpty())
        return QFileInfo(FReport->FileName()).fileName();
    return rudGet(2106) + QLatin1Char('.') + FTemplateExt;
}

void TfrxDesignerForm::UpdateCaption()
{
    setWindowTitle(QLatin1String(productTitle) + QStringLiteral(" - ") + ReportName());
}

QString TfrxDesignerForm::StatusUnits() const
{
    switch (FUnits) {
    case duCM:
        return QStringLiteral("Centimeters");
    case duInches:
        return QStringLiteral("Inches");
    case duPixels:
        return QStringLiteral("Pixels");
    case duChars:
        return QStringLiteral("Characters");
    }
    return {};
}

QString TfrxDesignerForm::StatusObject() const
{
    if (FSelection.Count() != 1)
        return {};
    TfrxComponent *object = FSelection.First();
    QString text = object->Name();
    if (auto *memo = qobject_cast<TfrxCustomMemoView *>(object))
        text += QStringLiteral(": ") + memo->Text().left(128);
    return text;
}

void TfrxDesignerForm::UpdateStatus()
{
    FStatusUnits->setText(StatusUnits());
    FStatusPos->setText(FStatusPosition);
    FStatusName->setText(StatusObject());
}

QList<TfrxComponent *> TfrxDesignerForm::SelectedPrintable() const
{
    QList<TfrxComponent *> list;
    for (TfrxComponent *object : FSelection.Objects())
        if (object != FPage && !qobject_cast<TfrxPage *>(object) && !qobject_cast<TfrxReport *>(object))
            list.append(object);
    return list;
}

bool TfrxDesignerForm::HasObjectSelection() const
{
    return !SelectedPrintable().isEmpty();
}

void TfrxDesignerForm::UpdateControls()
{
    const bool code = CodeTabShown();
    const bool objects = HasObjectSelection();
    auto enable = [this](const char *name, bool on) { Action(QLatin1String(name))->setEnabled(on); };
    enable("UndoCmd", code || FUndo->UndoCount() > 1);
    enable("RedoCmd", !code && FUndo->RedoCount() > 0);
    enable("CutCmd", code || objects);
    enable("CopyCmd", code || objects);
    enable("PasteCmd", code || FClipboardHasReport);
    enable("DeleteCmd", objects);
    enable("BringToFrontCmd", objects);
    enable("SendToBackCmd", objects);
    const bool firstIsReport = qobject_cast<TfrxReport *>(FSelection.First()) != nullptr;
    enable("GroupCmd", objects && !firstIsReport);
    enable("UngroupCmd", objects && !firstIsReport);
    int pages = FReport ? int(FReport->Objects().size()) : 0;
    enable("DeletePageCmd", !IsRestricted(drDontDeletePage) && pages > 2 && FPage &&
                                !qobject_cast<TfrxDataPage *>(FPage) && !FPage->IsAncestor());
    enable("SaveCmd", FModified && !IsRestricted(drDontSaveReport));
    enable("SaveAsCmd", !IsRestricted(drDontSaveReport));
    enable("EditCmd", FSelection.Count() == 1);
    const bool reportPage = qobject_cast<TfrxReportPage *>(FPage) != nullptr;
    enable("PageSettingsCmd", reportPage && !IsRestricted(drDontChangePageOptions));
    FZoomBox->setEnabled(reportPage);
    enable("FindNextCmd", FSearched);
    enable("NewItemCmd", !IsRestricted(drDontCreateReport));
    enable("NewReportCmd", !IsRestricted(drDontCreateReport));
    enable("NewPageCmd", !IsRestricted(drDontCreatePage));
    enable("NewDialogCmd", !IsRestricted(drDontCreatePage));
    enable("OpenCmd", !IsRestricted(drDontLoadReport));
    enable("PreviewCmd", !IsRestricted(drDontPreviewReport));
    FRecentMenu->setEnabled(!IsRestricted(drDontLoadReport) && !IsRestricted(drDontShowRecentFiles));
    UpdateTextToolBar();
    UpdateStatus();
}

void TfrxDesignerForm::UpdateClipboardState()
{
    const bool has = rudIsClipboardText(QApplication::clipboard()->text());
    if (has != FClipboardHasReport) {
        FClipboardHasReport = has;
        Action(QStringLiteral("PasteCmd"))->setEnabled(CodeTabShown() || has);
    }
}
