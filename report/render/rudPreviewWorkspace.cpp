// The preview's scrolling surface: page placement, painting, wheel,
// dragging and the page under the view's top.

#include "report/render/rudPreview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace {

// Pages painted around the page at the top of the view.
constexpr int pagesBefore = 60, pagesAfter = 340;
// Scroll steps of the keys and bars, and of one wheel notch.
constexpr int smallStep = 8, largeStep = 300, wheelStep = 20;

} // namespace

TfrxPreviewWorkspace::TfrxPreviewWorkspace(TfrxPreview *Preview, bool IsThumbnail, QWidget *Parent)
    : QAbstractScrollArea(Parent), FPreview(Preview), FIsThumbnail(IsThumbnail)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(IsThumbnail ? Qt::NoFocus : Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(smallStep);
    verticalScrollBar()->setPageStep(largeStep);
    horizontalScrollBar()->setSingleStep(smallStep);
    horizontalScrollBar()->setPageStep(largeStep);
    if (IsThumbnail)
        FZoom = 0.1;
    // Pages are painted straight onto the viewport: on a screen with more
    // than one device pixel per pixel the text and lines stay sharp.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

int TfrxPreviewWorkspace::LayoutWidth() const
{
    // Independent of whether the bar shows, so pages do not jump when it appears.
    return width() - verticalScrollBar()->sizeHint().width() - 26;
}

void TfrxPreviewWorkspace::CalcPages(int Count)
{
    FPageList.Clear();
    for (int i = 0; i < Count; ++i)
        FPageList.AddPage(FPreview->PageSize(i), FZoom);
    UpdateBounds();
}

void TfrxPreviewWorkspace::UpdateBounds()
{
    FPageList.CalcBounds(LayoutWidth(), false);
    UpdateScrollBars();
    viewport()->update();
}

void TfrxPreviewWorkspace::UpdateScrollBars()
{
    const QSize area = FPageList.MaxSize();
    verticalScrollBar()->setRange(0, std::max(0, area.height() - viewport()->height()));
    horizontalScrollBar()->setRange(0, std::max(0, area.width() - viewport()->width()));
}

QRect TfrxPreviewWorkspace::PageRect(int Index) const
{
    return FPageList.GetPageBounds(Index, LayoutWidth(), FZoom)
        .translated(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
}

void TfrxPreviewWorkspace::ScrollToPage(int Index)
{
    if (Index < 0 || Index >= FPageList.Count())
        return;
    verticalScrollBar()->setValue(FPageList.Item(Index).OffsetY - 10);
}

void TfrxPreviewWorkspace::ScrollIntoView(const QRect &Rect)
{
    constexpr int spare = 20;
    QScrollBar *v = verticalScrollBar(), *h = horizontalScrollBar();
    if (Rect.top() < spare)
        v->setValue(v->value() + Rect.top() - spare);
    else if (Rect.bottom() > viewport()->height() - spare)
        v->setValue(v->value() + Rect.bottom() - viewport()->height() + spare);
    if (Rect.left() < spare)
        h->setValue(h->value() + Rect.left() - spare);
    else if (Rect.right() > viewport()->width() - spare)
        h->setValue(h->value() + Rect.right() - viewport()->width() + spare);
}

void TfrxPreviewWorkspace::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const int count = FPageList.Count();
    // The background, leaving out the pages that are drawn.
    QRegion background(viewport()->rect());
    const int top = std::max(0, FPageList.FindPage(verticalScrollBar()->value()));
    const int first = std::max(0, top - pagesBefore), last = std::min(count - 1, top + pagesAfter);
    QList<int> drawn;
    if (!FPreview->Locked()) {
        for (int i = first; i <= last; ++i) {
            const QRect rect = PageRect(i);
            if (rect.intersects(viewport()->rect())) {
                background -= QRegion(rect);
                drawn << i;
            }
        }
    }
    painter.setClipRegion(background);
    painter.fillRect(viewport()->rect(), BackColor);
    painter.setClipping(false);
    for (int i : drawn)
        PaintPage(painter, i, PageRect(i));
}

void TfrxPreviewWorkspace::PaintPage(QPainter &Painter, int Index, const QRect &Rect)
{
    // White sheet with a one-pixel frame; its bottom edge one pixel higher.
    Painter.fillRect(Rect, Qt::white);
    Painter.setPen(FrameColor);
    Painter.setBrush(Qt::NoBrush);
    Painter.drawRect(Rect.adjusted(0, 0, -1, -2));
    Painter.save();
    Painter.setClipRect(Rect);
    FPreview->DrawPage(Index, Painter, FZoom, Rect.topLeft());
    Painter.restore();
    if (FIsThumbnail) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(8);
        Painter.setFont(font);
        const QString number = QStringLiteral(" %1 ").arg(Index + 1);
        const QFontMetrics metrics(font);
        const QRect place(Rect.topLeft(), QSize(metrics.horizontalAdvance(number), metrics.height()));
        Painter.fillRect(place, BackColor);
        Painter.setPen(Qt::white);
        Painter.drawText(place, Qt::AlignLeft | Qt::AlignTop, number);
    }
    if (Index == FPreview->PageNo() - 1) {
        QPen pen(ActiveFrameColor, 2);
        pen.setJoinStyle(Qt::MiterJoin);
        Painter.setPen(pen);
        Painter.drawRect(QRectF(Rect).adjusted(-2, -2, 1, 1));
    }
    if (!FIsThumbnail && FoundPage == Index && FoundRect.isValid()) {
        const QRectF hit(Rect.left() + (FoundRect.left() - 1) * FZoom, Rect.top() + FoundRect.top() * FZoom,
                         (FoundRect.width() + 2) * FZoom, FoundRect.height() * FZoom);
        Painter.save();
        Painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        Painter.fillRect(hit, Qt::white);
        Painter.restore();
    }
}

void TfrxPreviewWorkspace::resizeEvent(QResizeEvent *Event)
{
    QAbstractScrollArea::resizeEvent(Event);
    if (!FIsThumbnail && (FPreview->ZoomMode() == zmWholePage || FPreview->ZoomMode() == zmPageWidth))
        FPreview->ApplyZoomMode();
    else
        UpdateBounds();
}

void TfrxPreviewWorkspace::wheelEvent(QWheelEvent *Event)
{
    const QPoint angle = Event->angleDelta();
    const int notches = (angle.y() != 0 ? angle.y() : angle.x()) / 120;
    if (Event->modifiers() & Qt::ControlModifier) {
        if (!FIsThumbnail && angle.y() != 0)
            FPreview->WheelZoom(angle.y() / 120);
    } else if (angle.x() != 0 && angle.y() == 0) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - notches * wheelStep);
    } else {
        verticalScrollBar()->setValue(verticalScrollBar()->value() - notches * wheelStep);
    }
    Event->accept();
}

void TfrxPreviewWorkspace::mousePressEvent(QMouseEvent *Event)
{
    if (Event->button() == Qt::LeftButton) {
        FDragging = true;
        FDragged = false;
        FDragStart = Event->globalPosition().toPoint();
        FDragScroll = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
        if (!FIsThumbnail)
            viewport()->setCursor(Qt::ClosedHandCursor);
    }
    QAbstractScrollArea::mousePressEvent(Event);
}

void TfrxPreviewWorkspace::mouseMoveEvent(QMouseEvent *Event)
{
    if (FDragging && !FIsThumbnail) {
        const QPoint delta = Event->globalPosition().toPoint() - FDragStart;
        if (delta.manhattanLength() >= QApplication::startDragDistance())
            FDragged = true;
        if (FDragged) {
            horizontalScrollBar()->setValue(FDragScroll.x() - delta.x());
            verticalScrollBar()->setValue(FDragScroll.y() - delta.y());
        }
    }
    QAbstractScrollArea::mouseMoveEvent(Event);
}

void TfrxPreviewWorkspace::mouseReleaseEvent(QMouseEvent *Event)
{
    if (Event->button() == Qt::LeftButton && FDragging) {
        FDragging = false;
        viewport()->unsetCursor();
        if (!FDragged) {
            const QPoint at = Event->position().toPoint() +
                              QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
            const int index = FPageList.FindPage(at.y(), at.x());
            if (index >= 0 && FPageList.GetPageBounds(index, LayoutWidth(), FZoom).contains(at))
                emit PageClicked(index);
        }
    }
    QAbstractScrollArea::mouseReleaseEvent(Event);
}

void TfrxPreviewWorkspace::mouseDoubleClickEvent(QMouseEvent *Event)
{
    if (!FIsThumbnail)
        emit FPreview->ToggleFullScreen();
    QAbstractScrollArea::mouseDoubleClickEvent(Event);
}

void TfrxPreviewWorkspace::scrollContentsBy(int, int)
{
    viewport()->update();
    if (FPageList.Count() == 0)
        return;
    // The page at the top, biased by a fifth of a page's height.
    const int y = verticalScrollBar()->value();
    int index = FPageList.FindPage(y);
    if (index >= 0)
        index = FPageList.FindPage(y + FPageList.Item(index).Height / 5);
    emit PageAtTop(index);
}
