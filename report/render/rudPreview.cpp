// The preview control: layout of its parts, zoom, navigation, keys and the
// progress of a running preparation.

#include "report/render/rudPreview.h"

#include "report/model/rudReport.h"
#include "report/model/rudRes.h"

#include <QDateTime>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// Pages shown one by one while preparation runs; the rest come at its end.
constexpr int pagesShownWhileRunning = 50;
constexpr double minZoom = 0.25, minWheelZoom = 0.3;

} // namespace

TfrxPreview::TfrxPreview(QWidget *Parent) : QWidget(Parent)
{
    setObjectName(QStringLiteral("Preview"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    FSplitter = new QSplitter(Qt::Horizontal, this);
    FSplitter->setHandleWidth(4);
    FSplitter->setChildrenCollapsible(false);
    FOutline = new QTreeWidget(FSplitter);
    FOutline->setObjectName(QStringLiteral("OutlineTree"));
    FOutline->setHeaderHidden(true);
    FOutline->hide();
    FThumbnail = new TfrxPreviewWorkspace(this, true, FSplitter);
    FThumbnail->setObjectName(QStringLiteral("Thumbnail"));
    FThumbnail->hide();
    auto *mainArea = new QWidget(FSplitter);
    auto *mainLayout = new QVBoxLayout(mainArea);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);
    FTabs = new QTabBar(mainArea);
    FTabs->setFixedHeight(22);
    FTabs->hide();
    FWorkspace = new TfrxPreviewWorkspace(this, false, mainArea);
    FWorkspace->setObjectName(QStringLiteral("Workspace"));
    mainLayout->addWidget(FTabs);
    mainLayout->addWidget(FWorkspace, 1);
    FSplitter->addWidget(FOutline);
    FSplitter->addWidget(FThumbnail);
    FSplitter->addWidget(mainArea);
    FSplitter->setStretchFactor(2, 1);
    layout->addWidget(FSplitter, 1);

    connect(FWorkspace, &TfrxPreviewWorkspace::PageAtTop, this, [this](int index) { SetPageNoFromView(index); });
    connect(FWorkspace, &TfrxPreviewWorkspace::PageClicked, this, [this](int index) { SetPageNoFromView(index); });
    connect(FThumbnail, &TfrxPreviewWorkspace::PageClicked, this, [this](int index) { SetPageNo(index + 1); });
    connect(FOutline, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        const int page = item->data(0, Qt::UserRole).toInt();
        const int top = item->data(0, Qt::UserRole + 1).toInt();
        SetPageNo(page + 1);
        FWorkspace->verticalScrollBar()->setValue(FWorkspace->PageList().Count() > page
                                                      ? FWorkspace->PageList().Item(page).OffsetY +
                                                            int(std::nearbyint(top * FZoom)) - 10
                                                      : 0);
    });
    setFocusProxy(FWorkspace);
}

TfrxPreview::~TfrxPreview() = default;

void TfrxPreview::SetReport(TfrxReport *Report)
{
    FReport = Report;
    if (Report)
        Report->SetPreview(this);
}

void TfrxPreview::Init()
{
    if (FReport) {
        const TfrxPreviewOptions *options = FReport->PreviewOptions();
        FZoom = std::max(minZoom, options->Zoom());
        FWorkspace->SetZoom(FZoom);
        SetOutlineVisible(options->OutlineVisible());
        SetThumbnailVisible(options->ThumbnailVisible());
        if (options->OutlineWidth() > 0)
            FOutline->resize(options->OutlineWidth(), FOutline->height());
        FZoomMode = options->ZoomMode();
    }
    FPageNo = 1;
    UpdatePages();
    UpdateOutline();
    if (FZoomMode == zmWholePage || FZoomMode == zmPageWidth)
        ApplyZoomMode();
    emit ZoomChanged();
    emit StatusChanged();
}

int TfrxPreview::PageCount() const { return FRunning ? FShownPages : PreparedPageCount(); }

void TfrxPreview::UpdatePages()
{
    FWorkspace->SetZoom(FZoom);
    FWorkspace->CalcPages(PageCount());
    if (FThumbnail->isVisible())
        FThumbnail->CalcPages(PageCount());
    FPageNo = std::clamp(FPageNo, 1, std::max(1, PageCount()));
    emit StatusChanged();
}

void TfrxPreview::SetPageNo(int Value)
{
    const int count = PageCount();
    FPageNo = std::clamp(Value, 1, std::max(1, count));
    FScrollingToPage = true;
    FWorkspace->ScrollToPage(FPageNo - 1);
    FThumbnail->ScrollToPage(FPageNo - 1);
    FScrollingToPage = false;
    FWorkspace->viewport()->update();
    FThumbnail->viewport()->update();
    emit StatusChanged();
}

void TfrxPreview::SetPageNoFromView(int Index)
{
    if (FScrollingToPage || Index < 0 || Index + 1 == FPageNo)
        return;
    FPageNo = Index + 1;
    FThumbnail->ScrollToPage(Index);
    FWorkspace->viewport()->update();
    FThumbnail->viewport()->update();
    emit StatusChanged();
}

void TfrxPreview::First() { SetPageNo(1); }
void TfrxPreview::Prior() { SetPageNo(FPageNo - 1); }
void TfrxPreview::Next() { SetPageNo(FPageNo + 1); }
void TfrxPreview::Last() { SetPageNo(PageCount()); }

void TfrxPreview::SetZoom(double Value)
{
    FZoom = std::max(minZoom, Value);
    FZoomMode = zmDefault;
    UpdatePages();
    FWorkspace->ScrollToPage(FPageNo - 1);
    emit ZoomChanged();
}

void TfrxPreview::SetZoomMode(TfrxZoomMode Value)
{
    FZoomMode = Value;
    ApplyZoomMode();
    emit ZoomChanged();
}

void TfrxPreview::ApplyZoomMode()
{
    const QSize size = PageSize(FPageNo - 1).isEmpty() ? QSize(794, 1123) : PageSize(FPageNo - 1);
    const int barWidth = FWorkspace->verticalScrollBar()->sizeHint().width();
    const double byWidth = double(FWorkspace->width() - barWidth - 26) / size.width();
    if (FZoomMode == zmWholePage) {
        const double height = FWorkspace->viewport()->height(), width = FWorkspace->viewport()->width();
        FZoom = size.height() / height >= size.width() / width ? double(FWorkspace->height() - 26) / size.height()
                                                                 : byWidth;
    } else if (FZoomMode == zmPageWidth) {
        FZoom = byWidth;
    } else {
        return;
    }
    FZoom = std::max(0.01, FZoom);
    UpdatePages();
    FWorkspace->ScrollToPage(FPageNo - 1);
}

void TfrxPreview::ZoomIn() { SetZoom(FZoom + 0.25); }
void TfrxPreview::ZoomOut() { SetZoom(FZoom - 0.25); }

void TfrxPreview::WheelZoom(int Notches)
{
    double zoom = FZoom + 0.1 * Notches;
    if (Notches < 0 && zoom < minWheelZoom)
        zoom = std::min(FZoom, minWheelZoom);
    // Sums of tenths drift; zoom keeps four decimals.
    SetZoom(std::nearbyint(zoom * 10000) / 10000);
}

TfrxPreviewView TfrxPreview::View() const
{
    return {FZoom, FZoomMode, FPageNo,
            QPoint(FWorkspace->horizontalScrollBar()->value(), FWorkspace->verticalScrollBar()->value())};
}

void TfrxPreview::SetView(const TfrxPreviewView &Value)
{
    FPageNo = std::clamp(Value.PageNo, 1, std::max(1, PageCount()));
    FZoomMode = Value.ZoomMode;
    if (FZoomMode == zmDefault) {
        FZoom = std::max(minZoom, Value.Zoom);
        UpdatePages();
    } else {
        ApplyZoomMode();
    }
    // The current page stays the one given even when another is at the top.
    FScrollingToPage = true;
    FWorkspace->horizontalScrollBar()->setValue(Value.Scroll.x());
    FWorkspace->verticalScrollBar()->setValue(Value.Scroll.y());
    FThumbnail->ScrollToPage(FPageNo - 1);
    FScrollingToPage = false;
    FWorkspace->viewport()->update();
    FThumbnail->viewport()->update();
    emit ZoomChanged();
    emit StatusChanged();
}

void TfrxPreview::Lock() { ++FLocked; }

void TfrxPreview::Unlock()
{
    if (FLocked > 0 && --FLocked == 0) {
        UpdatePages();
        FWorkspace->viewport()->update();
    }
}

void TfrxPreview::SetOutlineVisible(bool Value) { FOutline->setVisible(Value); }
bool TfrxPreview::OutlineVisible() const { return !FOutline->isHidden(); }

void TfrxPreview::SetThumbnailVisible(bool Value)
{
    FThumbnail->setVisible(Value);
    if (Value) {
        FThumbnail->CalcPages(PageCount());
        FThumbnail->ScrollToPage(FPageNo - 1);
    }
}

bool TfrxPreview::ThumbnailVisible() const { return !FThumbnail->isHidden(); }

bool TfrxPreview::CanRunCommand() const { return !FRunning && FLocked == 0 && FReport; }

void TfrxPreview::ClosePreviewWindow()
{
    if (QWidget *form = window(); form && form != this && form->inherits("TfrxPreviewForm"))
        form->close();
}

void TfrxPreview::InternalOnProgressStart()
{
    FRunning = true;
    FShownPages = 0;
    FProgressReports = 0;
    FFirstProgressTime = -1;
    FRefreshEvery = 0;
    FFirstPassText.clear();
    FWorkspace->FoundPage = -1;
    FSearched = false;
    FPageNo = 1;
    FWorkspace->CalcPages(0);
    FThumbnail->CalcPages(0);
    emit StatusChanged();
}

void TfrxPreview::InternalOnProgress(int Count)
{
    // How often the status refreshes follows the pace of the first reports.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    ++FProgressReports;
    if (FProgressReports == 1) {
        FFirstProgressTime = now;
    } else if (FProgressReports == 2) {
        const qint64 step = now - FFirstProgressTime;
        FRefreshEvery = step <= 4 ? 50 : step < 10 ? 20 : 5;
    }
    FFirstPassText.clear();
    if (Count <= pagesShownWhileRunning && Count > FShownPages) {
        FShownPages = Count;
        FWorkspace->CalcPages(FShownPages);
        if (FThumbnail->isVisible())
            FThumbnail->CalcPages(FShownPages);
        if (FShownPages == 1)
            FWorkspace->ScrollToPage(0);
        emit StatusChanged();
    } else if (FRefreshEvery > 0 && Count % FRefreshEvery == 0) {
        emit StatusChanged();
    }
}

void TfrxPreview::SetFirstPassPage(int Count)
{
    FFirstPassText = rudResources().Get(QStringLiteral("clFirstPass")) + QString::number(Count);
    emit StatusChanged();
}

QString TfrxPreview::FirstPassText() const { return FFirstPassText; }

void TfrxPreview::InternalOnProgressStop()
{
    FRunning = false;
    FFirstPassText.clear();
    UpdatePages();
    UpdateOutline();
    if (FZoomMode == zmWholePage || FZoomMode == zmPageWidth)
        ApplyZoomMode();
    emit StatusChanged();
}

void TfrxPreview::keyPressEvent(QKeyEvent *Event)
{
    QScrollBar *v = FWorkspace->verticalScrollBar(), *h = FWorkspace->horizontalScrollBar();
    const bool ctrl = Event->modifiers() & Qt::ControlModifier;
    const TfrxPreviewButtons buttons =
        FReport ? FReport->PreviewOptions()->Buttons() : TfrxPreviewButtons(0xFFF);
    switch (Event->key()) {
    case Qt::Key_Up: v->setValue(v->value() - 8); break;
    case Qt::Key_Down: v->setValue(v->value() + 8); break;
    case Qt::Key_Left: h->setValue(h->value() - 8); break;
    case Qt::Key_Right: h->setValue(h->value() + 8); break;
    case Qt::Key_PageUp:
        if (ctrl)
            Prior();
        else
            v->setValue(v->value() - 300);
        break;
    case Qt::Key_PageDown:
        if (ctrl)
            Next();
        else
            v->setValue(v->value() + 300);
        break;
    case Qt::Key_Home: First(); break;
    case Qt::Key_End: Last(); break;
    case Qt::Key_F3:
        if (buttons & pbFind)
            FindNext();
        break;
    case Qt::Key_P:
        if (ctrl && (buttons & pbPrint))
            Print();
        break;
    case Qt::Key_S:
        if (ctrl && (buttons & pbSave))
            SaveToFile();
        break;
    case Qt::Key_F:
        if (ctrl && (buttons & pbFind))
            Find();
        break;
    case Qt::Key_O:
        if (ctrl && (buttons & pbLoad))
            LoadFromFile();
        break;
    default: QWidget::keyPressEvent(Event); return;
    }
    Event->accept();
}

void TfrxPreview::UpdateOutline()
{
    FOutline->clear();
    FillOutline(FOutline);
}

void TfrxPreview::ExpandOutline(bool Expand)
{
    if (Expand)
        FOutline->expandAll();
    else
        FOutline->collapseAll();
}
