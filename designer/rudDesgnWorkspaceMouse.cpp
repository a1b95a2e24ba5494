// The workspace under the mouse: grid steps, the changes a drag makes
// (move, size handles, scaling, band heights, insertion) and the mouse
// events that drive them.

#include "designer/rudDesgnWorkspace.h"

#include "designer/rudDesgnWorkspace_p.h"
#include "report/model/rudBand.h"
#include "report/model/rudLineView.h"
#include "report/model/rudMemo.h"

#include <QHash>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

using namespace rudWorkspace;

// ---------------------------------------------------------------------------
// The grid

bool TfrxDesignerWorkspace::AlignsToGrid(Qt::KeyboardModifiers Modifiers) const
{
    bool align = FGridAlign;
    if (Modifiers & Qt::AltModifier)
        align = !align;
    return align && FGridType != gtNone && FGridX > 0 && FGridY > 0;
}

QPointF TfrxDesignerWorkspace::GridStep(const QPointF &P, Qt::KeyboardModifiers Modifiers)
{
    const QPointF travel = P - FLastPoint;
    if (!AlignsToGrid(Modifiers))
        return travel;
    // Whole steps toward zero; a hair of tolerance keeps a travel of exactly
    // one step (give or take the last bit) from counting as none.
    auto whole = [](double t, double g) {
        const double n = t / g;
        return std::trunc(n + (n < 0 ? -1e-9 : 1e-9)) * g;
    };
    return {whole(travel.x(), FGridX), whole(travel.y(), FGridY)};
}

QPointF TfrxDesignerWorkspace::SnapPoint(const QPointF &P, Qt::KeyboardModifiers Modifiers) const
{
    if (!AlignsToGrid(Modifiers))
        return P;
    return {std::round(P.x() / FGridX) * FGridX, std::round(P.y() / FGridY) * FGridY};
}

QPointF TfrxDesignerWorkspace::AdjustStep(const QPointF &Step, const QList<double> &, const QList<double> &)
{
    return Step;
}

void TfrxDesignerWorkspace::MovingEdges(QList<double> &XEdges, QList<double> &YEdges) const
{
    switch (FMode) {
    case dmMove:
        for (TfrxComponent *c : Selection().Views()) {
            if (c->Restrictions() & rfDontMove)
                continue;
            const QRectF r = AbsRect(c);
            auto *band = qobject_cast<TfrxBand *>(c);
            if (!band || band->Vertical())
                XEdges << r.left() << r.right();
            if (!band || !band->Vertical())
                YEdges << r.top() << r.bottom();
        }
        break;
    case dmSize: {
        const QList<TfrxComponent *> sel = Selection().Views();
        if (sel.size() != 1)
            break;
        const TfrxComponent *c = sel.first();
        const double l = c->AbsLeft(), t = c->AbsTop(), r = l + c->Width(), b = t + c->Height();
        switch (FSizeHandle) {
        case 1: case 9: XEdges << l; YEdges << t; break;
        case 2: case 10: XEdges << r; YEdges << b; break;
        case 3: XEdges << r; YEdges << t; break;
        case 4: XEdges << l; YEdges << b; break;
        case 5: XEdges << r; break;
        case 6: XEdges << l; break;
        case 7: YEdges << t; break;
        case 8: YEdges << b; break;
        default: break;
        }
        break;
    }
    case dmScale: {
        const QRectF b = SelectionBounds();
        XEdges << b.right();
        YEdges << b.bottom();
        break;
    }
    case dmSizeBand:
        if (FSizedBand) {
            const QRectF r = AbsRect(FSizedBand);
            if (FSizedBand->Vertical())
                XEdges << r.right();
            else
                YEdges << r.bottom();
        }
        break;
    case dmInsertObject:
    case dmInsertLine:
        if (FMouseDown) {
            XEdges << FInsertion.Left + FInsertion.Width;
            YEdges << FInsertion.Top + FInsertion.Height;
        } else {
            XEdges << FInsertion.Left;
            YEdges << FInsertion.Top;
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Changes made by a drag

void TfrxDesignerWorkspace::MoveSelection(double Dx, double Dy)
{
    const QList<TfrxComponent *> sel = Selection().Views();
    for (TfrxComponent *c : sel) {
        if (c->Restrictions() & rfDontMove)
            continue;
        if (auto *band = qobject_cast<TfrxBand *>(c)) {
            if (band->Vertical())
                band->SetLeft(band->Left() + Dx);
            else
                band->SetTop(band->Top() + Dy);
            continue;
        }
        c->SetLeft(c->Left() + Dx);
        if (Selection().Contains(c->Parent()))
            continue;
        double top = c->Top() + Dy;
        // An inherited view stays inside its band's height.
        if (c->IsAncestor() && qobject_cast<TfrxBand *>(c->Parent()))
            top = std::clamp(top, 0.0, std::max(0.0, c->Parent()->Height() - c->Height()));
        c->SetTop(top);
    }
}

namespace {

int mirrorAcross(int Handle)
{
    switch (Handle) {
    case 1: return 3;
    case 3: return 1;
    case 4: return 2;
    case 2: return 4;
    case 5: return 6;
    case 6: return 5;
    default: return Handle;
    }
}

int mirrorDown(int Handle)
{
    switch (Handle) {
    case 1: return 4;
    case 4: return 1;
    case 3: return 2;
    case 2: return 3;
    case 7: return 8;
    case 8: return 7;
    default: return Handle;
    }
}

} // namespace

void TfrxDesignerWorkspace::ResizeSelected(double Dx, double Dy)
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.size() != 1)
        return;
    TfrxComponent *c = sel.first();
    if (c->Restrictions() & rfDontSize)
        return;
    double l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
    switch (FSizeHandle) {
    case 1: case 9: l += Dx; t += Dy; w -= Dx; h -= Dy; break;
    case 2: case 10: w += Dx; h += Dy; break;
    case 3: t += Dy; w += Dx; h -= Dy; break;
    case 4: l += Dx; w -= Dx; h += Dy; break;
    case 5: w += Dx; break;
    case 6: l += Dx; w -= Dx; break;
    case 7: t += Dy; h -= Dy; break;
    case 8: h += Dy; break;
    default: return;
    }
    // A handle dragged across the opposite edge: the rectangle turns over
    // and the drag goes on with the mirrored handle. Diagonal lines keep
    // their direction instead.
    if (FSizeHandle < 9) {
        if (w < 0) {
            w = -w;
            l -= w;
            FSizeHandle = mirrorAcross(FSizeHandle);
        }
        if (h < 0) {
            h = -h;
            t -= h;
            FSizeHandle = mirrorDown(FSizeHandle);
        }
    }
    c->SetBounds(l, t, w, h);
}

void TfrxDesignerWorkspace::ScaleSelection(double Dx, double Dy)
{
    const QRectF b = SelectionBounds();
    const double width = b.width() + Dx, height = b.height() + Dy;
    if (width < 1 || height < 1)
        return;
    const double kx = b.width() > 0 ? width / b.width() : 1, ky = b.height() > 0 ? height / b.height() : 1;
    // New absolute rectangles first; then applied parents first, so that a
    // child's position is taken against its parent's new place.
    QHash<TfrxComponent *, QRectF> target;
    for (TfrxComponent *c : Selection().Views()) {
        if (qobject_cast<TfrxBand *>(c))
            continue;
        const double l = c->AbsLeft(), t = c->AbsTop();
        target.insert(c, QRectF(b.left() + (l - b.left()) * kx, b.top() + (t - b.top()) * ky, c->Width() * kx,
                                c->Height() * ky));
    }
    for (TfrxComponent *c : *FObjects) {
        auto it = target.constFind(c);
        if (it == target.constEnd())
            continue;
        const double parentLeft = c->AbsLeft() - c->Left(), parentTop = c->AbsTop() - c->Top();
        if (!(c->Restrictions() & rfDontMove)) {
            c->SetLeft(it->left() - parentLeft);
            c->SetTop(it->top() - parentTop);
        }
        if (!(c->Restrictions() & rfDontSize)) {
            c->SetWidth(it->width());
            c->SetHeight(it->height());
        }
    }
}

// ---------------------------------------------------------------------------
// Mouse

void TfrxDesignerWorkspace::mousePressEvent(QMouseEvent *Event)
{
    setFocus(Qt::MouseFocusReason);
    FinishInplaceEdit(true);
    if (!FPage)
        return;
    const QPointF p = ToPage(Event->position());
    const Qt::KeyboardModifiers mods = Event->modifiers();
    FSelectionBefore = Selection().Objects();

    if (Event->button() == Qt::RightButton) {
        TfrxComponent *obj = ObjectAt(p);
        if (obj && !Selection().Contains(obj) && Selection().Select({obj})) {
            update();
            Selection().Notify(this);
        }
        emit ContextPopup(Event->globalPosition().toPoint());
        return;
    }
    if (Event->button() != Qt::LeftButton)
        return;

    FMouseDown = true;
    FModifyFlag = false;
    FLastPoint = p;
    // What lies under the press decides, whether or not a move came first.
    UpdateHoverMode(p, mods);
    switch (FMode) {
    case dmInsertObject:
    case dmInsertLine:
        UpdateInsertionPosition(p, mods);
        FInsertStart = QPointF(FInsertion.Left, FInsertion.Top);
        FInsertion.Width = FInsertion.Height = 0;
        FLastPoint = FInsertStart;
        update();
        return;
    case dmSize:
    case dmScale:
        SaveAligns();
        return;
    case dmSizeBand:
        FSizedBand = BandEdgeAt(p);
        return;
    case dmInplaceEdit:
    case dmMoveGuide:
        return;
    default:
        break;
    }

    TfrxComponent *obj = (mods & Qt::ControlModifier) ? nullptr : ObjectAt(p);
    if (!obj)
        FMode = dmSelectionRect;
    else if (mods & Qt::ShiftModifier)
        Selection().Toggle(obj);
    else if (Selection().Contains(obj))
        Selection().Select(Selection().Views()); // several objects can be dragged
    else
        Selection().Select({obj});
    if (FMode == dmSelectionRect) {
        FSelectionRect = QRectF(p, p);
        Selection().Clear();
    } else if (!Selection().Views().isEmpty()) {
        FMode = dmMove;
        SaveAligns();
    }
    update();
    if (FSelectionBefore != Selection().Objects()) {
        FSelectionBefore = Selection().Objects();
        Selection().Notify(this);
    }
    NotifySelectionPosition();
}

void TfrxDesignerWorkspace::UpdateInsertionPosition(const QPointF &P, Qt::KeyboardModifiers Modifiers)
{
    const QPointF target = SnapPoint(P, Modifiers);
    QList<double> xs{FInsertion.Left}, ys{FInsertion.Top};
    const QPointF step = AdjustStep(target - QPointF(FInsertion.Left, FInsertion.Top), xs, ys);
    InvalidatePageRect(InsertionRect());
    FInsertion.Left += step.x();
    FInsertion.Top += step.y();
    FInsertionVisible = true;
    InvalidatePageRect(InsertionRect());
}

void TfrxDesignerWorkspace::UpdateHoverMode(const QPointF &P, Qt::KeyboardModifiers Modifiers)
{
    if (FInsertion.ComponentClass) {
        ArmedModeAfterInsert();
        UpdateInsertionPosition(P, Modifiers);
        NotifySelectionPosition();
        return;
    }
    FMode = TfrxDesignMode1::dmNone;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.size() == 1) {
        const int handle = HandleAt(P);
        const TfrxRestrictions r = sel.first()->Restrictions();
        const bool movesEdge = handle != 2 && handle != 5 && handle != 8 && handle != 10;
        if (handle && !(r & rfDontSize) && !((r & rfDontMove) && movesEdge)) {
            FMode = dmSize;
            FSizeHandle = handle;
            switch (handle) {
            case 1: case 2: cursor = Qt::SizeFDiagCursor; break;
            case 3: case 4: cursor = Qt::SizeBDiagCursor; break;
            case 5: case 6: cursor = Qt::SizeHorCursor; break;
            case 7: case 8: cursor = Qt::SizeVerCursor; break;
            default: cursor = Qt::CrossCursor; break;
            }
        }
    } else if (ScaleCornerAt(P)) {
        FMode = dmScale;
        cursor = Qt::SizeFDiagCursor;
    }
    if (FMode == TfrxDesignMode1::dmNone) {
        if (TfrxBand *band = BandEdgeAt(P); band && !(band->Restrictions() & rfDontSize)) {
            FMode = dmSizeBand;
            cursor = band->Vertical() ? Qt::SplitHCursor : Qt::SplitVCursor;
        }
    }
    if (FMode == TfrxDesignMode1::dmNone && (Modifiers & Qt::AltModifier)) {
        auto *memo = qobject_cast<TfrxCustomMemoView *>(ObjectAt(P));
        if (memo && !(memo->Restrictions() & (rfDontEdit | rfDontModify))) {
            FMode = dmInplaceEdit;
            cursor = Qt::IBeamCursor;
        }
    }
    setCursor(cursor);
}

void TfrxDesignerWorkspace::mouseMoveEvent(QMouseEvent *Event)
{
    if (!FPage)
        return;
    const QPointF p = ToPage(Event->position());
    const Qt::KeyboardModifiers mods = Event->modifiers();
    if (!FMouseDown || !(Event->buttons() & Qt::LeftButton)) {
        UpdateHoverMode(p, mods);
        return;
    }
    if (FMode == dmSelectionRect) {
        InvalidatePageRect(FSelectionRect.normalized());
        FSelectionRect.setBottomRight(p);
        InvalidatePageRect(FSelectionRect.normalized());
        return;
    }
    if (FMode == dmMove && (mods & Qt::ShiftModifier)) {
        FLastPoint = p;
        return;
    }
    if (FMode != dmMove && FMode != dmSize && FMode != dmScale && FMode != dmSizeBand && FMode != dmInsertObject &&
        FMode != dmInsertLine)
        return;
    QPointF step = GridStep(p, mods);
    // The far corner of an insertion goes to the grid point nearest the mouse.
    if (FMode == dmInsertObject || FMode == dmInsertLine)
        step = SnapPoint(p, mods) - QPointF(FInsertion.Left + FInsertion.Width, FInsertion.Top + FInsertion.Height);
    if (step.isNull())
        return;
    // A single vertical band takes along the views lying across its width.
    if (FMode == dmMove && !FModifyFlag) {
        const QList<TfrxComponent *> sel = Selection().Views();
        auto *band = sel.size() == 1 ? qobject_cast<TfrxBand *>(sel.first()) : nullptr;
        if (band && band->Vertical()) {
            const QRectF br = AbsRect(band);
            for (TfrxComponent *c : *FObjects) {
                if (!IsSelectable(c, FPage) || qobject_cast<TfrxBand *>(c) || Selection().Contains(c))
                    continue;
                const QRectF r = AbsRect(c);
                if (r.left() >= br.left() - 0.0001 && r.right() <= br.right() + 0.0001)
                    Selection().Add(c);
            }
        }
    }
    QList<double> xs, ys;
    MovingEdges(xs, ys);
    step = AdjustStep(step, xs, ys);
    if (FMode == dmInsertObject || FMode == dmInsertLine) {
        InvalidatePageRect(InsertionRect());
        FInsertion.Width += step.x();
        FInsertion.Height += step.y();
        InvalidatePageRect(InsertionRect());
    } else if (FMode == dmSizeBand) {
        if (FSizedBand) {
            if (FSizedBand->Vertical())
                FSizedBand->SetWidth(std::max(0.0, FSizedBand->Width() + step.x()));
            else
                FSizedBand->SetHeight(std::max(0.0, FSizedBand->Height() + step.y()));
            AdjustBands();
            FModifyFlag = true;
            update();
        }
    } else {
        InvalidateSelection();
        if (FMode == dmMove)
            MoveSelection(step.x(), step.y());
        else if (FMode == dmSize)
            ResizeSelected(step.x(), step.y());
        else
            ScaleSelection(step.x(), step.y());
        FModifyFlag = true;
        InvalidateSelection();
    }
    FLastPoint += step;
    NotifySelectionPosition();
}

void TfrxDesignerWorkspace::mouseReleaseEvent(QMouseEvent *Event)
{
    if (Event->button() != Qt::LeftButton || !FMouseDown)
        return;
    FMouseDown = false;
    const QPointF p = ToPage(Event->position());
    switch (FMode) {
    case dmInsertObject:
    case dmInsertLine:
        FinishInsertion();
        DragFinished();
        return;
    case dmSelectionRect:
        InvalidatePageRect(FSelectionRect.normalized());
        SelectInRubberBand();
        FSelectionRect = QRectF();
        break;
    case dmInplaceEdit:
        if (auto *memo = qobject_cast<TfrxCustomMemoView *>(ObjectAt(p))) {
            Selection().Select({memo});
            EditInplace(memo);
        }
        break;
    case dmMove:
    case dmSize:
    case dmScale:
        RestoreAligns();
        if (FModifyFlag)
            RoundSelection();
        break;
    case dmSizeBand:
        if (FSizedBand && FModifyFlag) {
            FSizedBand->SetHeight(RoundTo8(FSizedBand->Height()));
            FSizedBand->SetWidth(RoundTo8(FSizedBand->Width()));
        }
        FSizedBand = nullptr;
        break;
    default:
        break;
    }
    if (FModifyFlag)
        AdjustBands();
    FMode = TfrxDesignMode1::dmNone;
    DragFinished();
    update();
    if (FSelectionBefore != Selection().Objects()) {
        FSelectionBefore = Selection().Objects();
        Selection().Notify(this);
    }
    NotifySelectionPosition();
    if (FModifyFlag) {
        FModifyFlag = false;
        emit Modified();
    }
}

void TfrxDesignerWorkspace::FinishInsertion()
{
    const bool line = InsertionIsLine();
    double w = FInsertion.Width, h = FInsertion.Height;
    FInsertion.Left = FInsertStart.x();
    FInsertion.Top = FInsertStart.y();
    if (line) {
        if (std::abs(w) < ClickSize && std::abs(h) < ClickSize) {
            w = FInsertion.OriginalWidth;
            h = FInsertion.OriginalHeight;
        } else if (!(FInsertion.Flags & TfrxInsertion::DiagonalLine)) {
            // A straight line runs along its longer side.
            if (std::abs(w) >= std::abs(h))
                h = 0;
            else
                w = 0;
        }
        if (!(FInsertion.Flags & TfrxInsertion::DiagonalLine)) {
            if (w < 0) {
                FInsertion.Left += w;
                w = -w;
            }
            if (h < 0) {
                FInsertion.Top += h;
                h = -h;
            }
        }
    } else if (std::abs(w) < ClickSize || std::abs(h) < ClickSize) {
        w = FInsertion.OriginalWidth;
        h = FInsertion.OriginalHeight;
    } else {
        if (w < 0) {
            FInsertion.Left += w;
            w = -w;
        }
        if (h < 0) {
            FInsertion.Top += h;
            h = -h;
        }
    }
    FInsertion.Width = w;
    FInsertion.Height = h;
    FInsertionVisible = false;
    const int generation = FInsertionGeneration;
    FMode = TfrxDesignMode1::dmNone;
    update();
    emit Insert();
    if (generation == FInsertionGeneration && !line)
        FInsertion.ComponentClass = nullptr;
    ArmedModeAfterInsert();
}

void TfrxDesignerWorkspace::SelectInRubberBand()
{
    const QRectF r = FSelectionRect.normalized();
    QList<TfrxComponent *> list;
    for (TfrxComponent *c : *FObjects) {
        if (!IsSelectable(c, FPage) || qobject_cast<TfrxBand *>(c))
            continue;
        // Inside a container only its visible children count.
        if (!c->Visible() && c->Parent() && (c->Parent()->ComponentStyle() & csContainer))
            continue;
        const QRectF a = AbsRect(c);
        if (a.left() <= r.right() && a.right() >= r.left() && a.top() <= r.bottom() && a.bottom() >= r.top())
            list.append(c);
    }
    Selection().Select(list);
}

void TfrxDesignerWorkspace::mouseDoubleClickEvent(QMouseEvent *Event)
{
    if (Event->button() != Qt::LeftButton || !FPage || FInsertion.ComponentClass)
        return;
    FMouseDown = false;
    FMode = TfrxDesignMode1::dmNone;
    RestoreAligns();
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.size() == 1 && (sel.first()->Restrictions() & rfDontEdit))
        return;
    emit EditRequested();
}

void TfrxDesignerWorkspace::wheelEvent(QWheelEvent *Event)
{
    if (!(Event->modifiers() & Qt::ControlModifier)) {
        Event->ignore();
        return;
    }
    const double notches = Event->angleDelta().y() / 120.0;
    const double scale = std::max(MinWheelScale, FScale + ScaleStep * notches);
    SetScale(scale);
    emit ScaleChanged(FScale);
    Event->accept();
}

void TfrxDesignerWorkspace::leaveEvent(QEvent *Event)
{
    // The armed insertion's outline follows the mouse only over the page.
    if (FInsertionVisible && !FMouseDown) {
        FInsertionVisible = false;
        InvalidatePageRect(InsertionRect());
    }
    QWidget::leaveEvent(Event);
}

bool TfrxDesignerWorkspace::focusNextPrevChild(bool)
{
    // Tab walks the objects of the page (keyPressEvent), not the focus chain.
    return false;
}
