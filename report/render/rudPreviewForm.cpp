// The preview window: toolbar, show rules of its buttons, zoom box, page
// field, status bar, right-button menu, keys and full screen.

#include "report/render/rudPreviewForm.h"

#include "base/NumberFormat.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "report/render/rudPreview.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

QIcon previewIcon(int Index)
{
    const TfrxImageList &images = rudResources().GetPreviewButtonImages();
    return Index < images.Count() ? QIcon(QPixmap::fromImage(images.Image(Index))) : QIcon();
}

// The zoom box's entries for page width and whole page.
constexpr int pageWidthEntry = 6, wholePageEntry = 7;

// A status bar panel. It asks for its text's width (and at least
// PreferredWidth) but lets the window shrink past it: the window's minimum
// size never depends on the panels, so no text or width of theirs can make
// the window grow.
class TStatusPanel final : public QLabel {
public:
    TStatusPanel(int PreferredWidth, QWidget *Parent) : QLabel(Parent), FPreferredWidth(PreferredWidth)
    {
        setFrameShape(QFrame::StyledPanel);
    }
    QSize sizeHint() const override
    {
        const QSize hint = QLabel::sizeHint();
        return {std::max(FPreferredWidth, hint.width()), hint.height()};
    }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

private:
    int FPreferredWidth;
};

} // namespace

TfrxPreviewForm::TfrxPreviewForm(QWidget *Parent) : QDialog(Parent)
{
    setObjectName(QStringLiteral("frxPreviewForm"));
    setWindowTitle(rudGet(100));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    resize(800, 600);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FPreview = new TfrxPreview(this);
    CreateToolBar();
    CreateStatusBar();
    layout->addWidget(ToolBar);
    layout->addWidget(FPreview, 1);
    layout->addWidget(StatusBar);
    RightMenu = new QMenu(this);
    FullScreenExitB = new QToolButton(this);
    FullScreenExitB->setObjectName(QStringLiteral("FullScreenExitB"));
    FullScreenExitB->setIcon(previewIcon(22));
    FullScreenExitB->setToolTip(rudGet(150));
    FullScreenExitB->setAutoRaise(true);
    FullScreenExitB->setFocusPolicy(Qt::NoFocus);
    FullScreenExitB->adjustSize();
    FullScreenExitB->hide();
    connect(FullScreenExitB, &QToolButton::clicked, this, [this] { SwitchToFullScreen(); });

    connect(FPreview, &TfrxPreview::StatusChanged, this, &TfrxPreviewForm::UpdateStatus);
    connect(FPreview, &TfrxPreview::ZoomChanged, this, &TfrxPreviewForm::UpdateZoom);
    connect(FPreview, &TfrxPreview::ToggleFullScreen, this, &TfrxPreviewForm::SwitchToFullScreen);
}

TfrxPreviewForm::~TfrxPreviewForm() = default;

TfrxReport *TfrxPreviewForm::Report() const { return FPreview->Report(); }

void TfrxPreviewForm::SetReport(TfrxReport *Report) { FPreview->SetReport(Report); }

void TfrxPreviewForm::CreateToolBar()
{
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setIconSize(QSize(16, 16));
    auto button = [this](const char *name, int caption, int hint, int image, auto slot) {
        auto *action = new QAction(previewIcon(image), caption ? rudGet(caption) : QString(), this);
        action->setToolTip(rudGet(hint));
        action->setData(hint);
        connect(action, &QAction::triggered, this, slot);
        ToolBar->addAction(action);
        auto *tool = qobject_cast<QToolButton *>(ToolBar->widgetForAction(action));
        tool->setObjectName(QString::fromLatin1(name));
        return tool;
    };
    auto separator = [this] { FSeparators << ToolBar->addSeparator(); };

    PrintB = button("PrintB", 101, 102, 2, [this] { FPreview->Print(); });
    OpenB = button("OpenB", 103, 104, 0, [this] { FPreview->LoadFromFile(); });
    SaveB = button("SaveB", 105, 106, 1, [this] { SaveB->showMenu(); });
    SaveMenu = new QMenu(SaveB);
    SaveB->setPopupMode(QToolButton::InstantPopup);
    SaveB->setMenu(SaveMenu);
    separator();
    FindB = button("FindB", 109, 110, 4, [this] { FPreview->Find(); });
    separator();
    ZoomPlusB = button("ZoomPlusB", 124, 125, 15, [this] { FPreview->ZoomIn(); });
    ZoomCB = new QComboBox(ToolBar);
    ZoomCB->setObjectName(QStringLiteral("ZoomCB"));
    ZoomCB->setEditable(true);
    ZoomCB->setInsertPolicy(QComboBox::NoInsert);
    ZoomCB->setToolTip(rudGet(119));
    ZoomCB->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                      QStringLiteral("150%"), QStringLiteral("200%"),
                      rudResources().Get(QStringLiteral("zmPageWidth")),
                      rudResources().Get(QStringLiteral("zmWholePage"))});
    ZoomCB->setMinimumContentsLength(9);
    ToolBar->addWidget(ZoomCB)->setObjectName(QStringLiteral("ZoomCBAction"));
    connect(ZoomCB, &QComboBox::activated, this, [this] { ZoomCBApply(); });
    ZoomCB->lineEdit()->installEventFilter(this);
    ZoomMinusB = button("ZoomMinusB", 126, 127, 16, [this] { FPreview->ZoomOut(); });
    FullScreenBtn = button("FullScreenBtn", 0, 150, 22, [this] { SwitchToFullScreen(); });
    separator();
    OutlineB = button("OutlineB", 128, 129, 12, [this] { FPreview->SetOutlineVisible(!FPreview->OutlineVisible()); });
    OutlineB->setCheckable(true);
    ThumbB = button("ThumbB", 130, 131, 5, [this] { FPreview->SetThumbnailVisible(!FPreview->ThumbnailVisible()); });
    ThumbB->setCheckable(true);
    PageSettingsB = button("PageSettingsB", 120, 121, 7, [this] { FPreview->PageSetupDlg(); });
    DesignerB = button("DesignerB", 132, 133, 21, [this] { FPreview->Edit(); });
    FDesignerMenu = new QMenu(this);
    FDesignerMenu->addAction(QStringLiteral("Show template"), this, [this] { FPreview->ShowTemplate(); });
    DesignerB->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DesignerB, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { FDesignerMenu->popup(DesignerB->mapToGlobal(at)); });
    separator();
    FirstB = button("FirstB", 134, 135, 8, [this] { FPreview->First(); });
    PriorB = button("PriorB", 136, 137, 9, [this] { FPreview->Prior(); });
    PageE = new QLineEdit(ToolBar);
    PageE->setObjectName(QStringLiteral("PageE"));
    PageE->setValidator(new QIntValidator(0, 999999, PageE));
    PageE->setToolTip(rudGet(142));
    PageE->setFixedWidth(40);
    PageE->setAlignment(Qt::AlignRight);
    ToolBar->addWidget(PageE)->setObjectName(QStringLiteral("PageEAction"));
    connect(PageE, &QLineEdit::returnPressed, this, [this] { PageEApply(); });
    OfNL = new QLabel(ToolBar);
    OfNL->setObjectName(QStringLiteral("OfNL"));
    OfNL->setContentsMargins(4, 0, 4, 0);
    ToolBar->addWidget(OfNL)->setObjectName(QStringLiteral("OfNLAction"));
    NextB = button("NextB", 138, 139, 10, [this] { FPreview->Next(); });
    LastB = button("LastB", 140, 141, 11, [this] { FPreview->Last(); });
    auto *spacer = new QWidget(ToolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBar->addWidget(spacer);
    auto *cancel = new QAction(rudResources().Get(QStringLiteral("clClose")), this);
    connect(cancel, &QAction::triggered, this, [this] { CancelBClick(); });
    ToolBar->addAction(cancel);
    CancelB = qobject_cast<QToolButton *>(ToolBar->widgetForAction(cancel));
    CancelB->setObjectName(QStringLiteral("CancelB"));
    CancelB->setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void TfrxPreviewForm::CreateStatusBar()
{
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    // The first panel keeps its text's width; the other two share the rest
    // equally, whatever their texts.
    StatusPanels[0] = new TStatusPanel(120, StatusBar);
    StatusBar->addWidget(StatusPanels[0]);
    for (int i = 1; i < 3; ++i) {
        StatusPanels[i] = new TStatusPanel(0, StatusBar);
        StatusPanels[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        StatusBar->addWidget(StatusPanels[i], 1);
    }
    if (screen() && screen()->logicalDotsPerInch() > 96)
        StatusBar->setFixedHeight(24);
}

void TfrxPreviewForm::Init()
{
    TfrxReport *report = Report();
    const TfrxPreviewOptions *options = report->PreviewOptions();
    const TfrxPreviewButtons b = options->Buttons();
    auto showButton = [this](QToolButton *button, bool visible) {
        for (QAction *action : ToolBar->actions())
            if (ToolBar->widgetForAction(action) == button)
                action->setVisible(visible);
    };
    auto showWidget = [this](const char *actionName, bool visible) {
        if (auto *action = ToolBar->findChild<QAction *>(QString::fromLatin1(actionName)))
            action->setVisible(visible);
    };
    showButton(PrintB, b & pbPrint);
    showButton(OpenB, b & pbLoad);
    showButton(SaveB, (b & pbSave) || (b & pbExport));
    SaveMenu->clear();
    if (b & pbSave)
        SaveMenu->addAction(rudResources().Get(QStringLiteral("clFP3files")) + QStringLiteral("..."), this,
                            [this] { FPreview->SaveToFile(); });
    if (b & pbExport)
        SaveMenu->addSeparator();
    showButton(FindB, b & pbFind);
    showButton(ZoomPlusB, b & pbZoom);
    showWidget("ZoomCBAction", b & pbZoom);
    showButton(ZoomMinusB, b & pbZoom);
    showButton(FullScreenBtn, (b & pbZoom) && !(b & pbNoFullScreen));
    showButton(OutlineB, b & pbOutline);
    showButton(ThumbB, b & pbOutline);
    showButton(PageSettingsB, b & pbPageSetup);
    showButton(DesignerB, b & pbEdit);
    DesignerB->setEnabled(options->AllowEdit());
    showButton(FirstB, b & pbNavigator);
    showButton(PriorB, b & pbNavigator);
    showWidget("PageEAction", b & pbNavigator);
    showWidget("OfNLAction", b & pbNavigator);
    showButton(NextB, b & pbNavigator);
    showButton(LastB, b & pbNavigator);
    showButton(CancelB, !(b & pbNoClose));
    // Separators go with their groups.
    FSeparators[1]->setVisible(b & pbZoom);
    FSeparators[2]->setVisible((b & pbPageSetup) || (b & pbEdit));
    FSeparators[3]->setVisible(b & pbNavigator);
    ToolBar->setToolButtonStyle(options->ShowCaptions() ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    CancelB->setToolButtonStyle(Qt::ToolButtonTextOnly);

    const QString name = report->ReportOptions()->Name();
    setWindowTitle(name.isEmpty() ? rudGet(100) : name);
    if (options->Maximized())
        setWindowState(windowState() | Qt::WindowMaximized);
    FPreview->Init();
    OutlineB->setChecked(FPreview->OutlineVisible());
    ThumbB->setChecked(FPreview->ThumbnailVisible());
    BuildRightMenu();
    UpdateZoom();
    UpdateStatus();
}

void TfrxPreviewForm::BuildRightMenu()
{
    RightMenu->clear();
    bool separated = false;
    for (QAction *action : ToolBar->actions()) {
        if (action->isSeparator()) {
            if (!separated && !RightMenu->isEmpty()) {
                RightMenu->addSeparator();
                separated = true;
            }
            continue;
        }
        auto *button = qobject_cast<QToolButton *>(ToolBar->widgetForAction(action));
        if (!action->isVisible() || !button || action->toolTip().isEmpty() || button == CancelB)
            continue;
        if (button->menu()) {
            QMenu *sub = RightMenu->addMenu(action->icon(), action->toolTip());
            for (QAction *item : button->menu()->actions())
                sub->addAction(item);
        } else {
            QAction *item = RightMenu->addAction(action->icon(), action->toolTip());
            item->setEnabled(action->isEnabled());
            connect(item, &QAction::triggered, action, &QAction::trigger);
        }
    }
    RightMenu->addSeparator();
    RightMenu->addAction(rudGet(600), FPreview, [this] { FPreview->ExpandOutline(true); });
    RightMenu->addAction(rudGet(601), FPreview, [this] { FPreview->ExpandOutline(false); });
}

QString TfrxPreviewForm::StatusText() const { return StatusPanels[0]->text(); }

void TfrxPreviewForm::UpdateStatus()
{
    const QString firstPass = FPreview->FirstPassText();
    StatusPanels[0]->setText(firstPass.isEmpty()
                                 ? Format(rudResources().Get(QStringLiteral("clPageOf")),
                                          {FPreview->PageNo(), FPreview->PageCount()})
                                 : firstPass);
    OfNL->setText(Format(rudResources().Get(QStringLiteral("clOf")), {FPreview->PageCount()}));
    PageE->setText(QString::number(FPreview->PageNo()));
    CancelB->setText(rudResources().Get(FPreview->Running() ? QStringLiteral("clCancel") : QStringLiteral("clClose")));
}

void TfrxPreviewForm::UpdateZoom()
{
    ZoomCB->setEditText(QString::number(std::nearbyint(FPreview->Zoom() * 100)) + QLatin1Char('%'));
}

void TfrxPreviewForm::ZoomCBApply()
{
    const int index = ZoomCB->currentIndex();
    const QString text = ZoomCB->currentText();
    if (index == pageWidthEntry && text == ZoomCB->itemText(pageWidthEntry)) {
        FPreview->SetZoomMode(zmPageWidth);
    } else if (index == wholePageEntry && text == ZoomCB->itemText(wholePageEntry)) {
        FPreview->SetZoomMode(zmWholePage);
    } else {
        QString number = text;
        number.remove(QLatin1Char('%')).remove(QLatin1Char(' '));
        // Either decimal separator is taken.
        bool ok = false;
        const double value = number.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (ok)
            FPreview->SetZoom(value / 100);
    }
    UpdateZoom();
}

void TfrxPreviewForm::PageEApply()
{
    bool ok = false;
    const int page = PageE->text().toInt(&ok);
    if (ok)
        FPreview->SetPageNo(page);
    UpdateStatus();
    FPreview->setFocus();
}

void TfrxPreviewForm::CancelBClick()
{
    if (FPreview->Running())
        FPreview->Cancel();
    else
        close();
}

void TfrxPreviewForm::SwitchToFullScreen()
{
    // The window keeps its flags: changing them re-creates the window, and a
    // modal window hidden on the way leaves its modal loop.
    if (!FFullScreen) {
        FSavedGeometry = geometry();
        FSavedState = windowState() & ~(Qt::WindowActive | Qt::WindowFullScreen);
        FSavedView = FPreview->View();
        FFullScreen = true;
        ToolBar->hide();
        StatusBar->hide();
        setWindowState(windowState() | Qt::WindowFullScreen);
        // A desktop without a window manager leaves the size to the program.
        if (QScreen *own = screen())
            setGeometry(own->geometry());
        FullScreenExitB->show();
        FullScreenExitB->raise();
    } else {
        FFullScreen = false;
        FullScreenExitB->hide();
        ToolBar->show();
        StatusBar->show();
        setWindowState(FSavedState | (windowState() & Qt::WindowActive));
        setGeometry(FSavedGeometry);
        layout()->activate();
        FPreview->SetView(FSavedView);
    }
    FPreview->setFocus();
}

bool TfrxPreviewForm::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == ZoomCB->lineEdit() && Event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(Event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ZoomCBApply();
            FPreview->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(Watched, Event);
}

void TfrxPreviewForm::keyPressEvent(QKeyEvent *Event)
{
    switch (Event->key()) {
    // Escape leaves full screen first; then it closes.
    case Qt::Key_Escape:
        if (FFullScreen)
            SwitchToFullScreen();
        else
            CancelBClick();
        break;
    case Qt::Key_F11: SwitchToFullScreen(); break;
    case Qt::Key_F1: rudResources().Help(this); break;
    // Enter belongs to the zoom box and the page field; the dialog has no default button.
    case Qt::Key_Return:
    case Qt::Key_Enter: break;
    default: QDialog::keyPressEvent(Event); return;
    }
    Event->accept();
}

void TfrxPreviewForm::closeEvent(QCloseEvent *Event)
{
    // Closing a window whose pages are still being prepared cancels the
    // preparation (a running script included); the window closes once the
    // preparation has stopped.
    if (FPreview->Running()) {
        Event->ignore();
        if (!FCloseWhenStopped)
            FCloseWhenStopped = connect(
                FPreview, &TfrxPreview::StatusChanged, this,
                [this] {
                    if (FPreview->Running())
                        return;
                    disconnect(FCloseWhenStopped);
                    FCloseWhenStopped = {};
                    close();
                },
                Qt::QueuedConnection);
        FPreview->Cancel();
        return;
    }
    if (TfrxReport *report = Report(); report && report->OnClosePreview)
        report->OnClosePreview(this);
    QDialog::closeEvent(Event);
}

void TfrxPreviewForm::contextMenuEvent(QContextMenuEvent *Event)
{
    RightMenu->popup(Event->globalPos());
    Event->accept();
}

void TfrxPreviewForm::resizeEvent(QResizeEvent *Event)
{
    QDialog::resizeEvent(Event);
    // Moves the button only (left of the pages' scroll bar): nothing here changes a size.
    const int bar = FPreview->Workspace()->verticalScrollBar()->sizeHint().width();
    FullScreenExitB->move(width() - bar - FullScreenExitB->width() - 4, 4);
}
