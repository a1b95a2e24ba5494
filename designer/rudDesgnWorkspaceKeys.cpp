// The workspace's keyboard: arrows select, move, resize or push the
// selection, Tab walks the objects, Enter edits, Delete deletes.

#include "designer/rudDesgnWorkspace.h"

#include "designer/rudDesgnWorkspace_p.h"
#include "report/model/rudBand.h"
#include "report/model/rudPage.h"

#include <QKeyEvent>
#include <cmath>
#include <limits>

using namespace rudWorkspace;

namespace {

bool isArrow(int Key)
{
    return Key == Qt::Key_Left || Key == Qt::Key_Right || Key == Qt::Key_Up || Key == Qt::Key_Down;
}

bool across(int Key)
{
    return Key == Qt::Key_Left || Key == Qt::Key_Right;
}

// The extents of A and B overlap across the direction of Key (closed for
// objects without thickness there).
bool inStrip(const QRectF &A, const QRectF &B, int Key)
{
    const double a0 = across(Key) ? A.top() : A.left(), a1 = across(Key) ? A.bottom() : A.right();
    const double b0 = across(Key) ? B.top() : B.left(), b1 = across(Key) ? B.bottom() : B.right();
    if (a0 == a1 || b0 == b1)
        return b0 <= a1 && b1 >= a0;
    return b0 < a1 && b1 > a0;
}

} // namespace

// ---------------------------------------------------------------------------
// Keyboard

void TfrxDesignerWorkspace::keyPressEvent(QKeyEvent *Event)
{
    if (!FPage) {
        QWidget::keyPressEvent(Event);
        return;
    }
    const int key = Event->key();
    const Qt::KeyboardModifiers mods = Event->modifiers() & ~Qt::KeypadModifier;
    if (isArrow(key)) {
        if (mods == (Qt::ControlModifier | Qt::ShiftModifier))
            MoveByKey(key, FGridX, FGridY);
        else if (mods == Qt::ControlModifier)
            MoveByKey(key, FGridType == gtChar ? FGridX : 1, FGridType == gtChar ? FGridY : 1);
        else if (mods == Qt::ShiftModifier)
            ResizeByKey(key);
        else if (mods == Qt::AltModifier)
            MoveToNearest(key);
        else if (mods == Qt::NoModifier)
            SelectNearest(key);
        return;
    }
    switch (key) {
    case Qt::Key_Tab:
        SelectNextByTab();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const QList<TfrxComponent *> sel = Selection().Views();
        if (!(sel.size() == 1 && (sel.first()->Restrictions() & rfDontEdit)))
            emit EditRequested();
        return;
    }
    case Qt::Key_Delete:
        if (mods == Qt::NoModifier) {
            DeleteObjects();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (FInsertion.ComponentClass) {
            SetInsertion(nullptr, 0, 0);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(Event);
}

QList<QPair<TfrxComponent *, double>> TfrxDesignerWorkspace::StripAhead(TfrxComponent *Obj, int Key) const
{
    QList<QPair<TfrxComponent *, double>> result;
    const QRectF r = AbsRect(Obj);
    for (TfrxComponent *c : *FObjects) {
        if (c == Obj || !IsSelectable(c, FPage) || qobject_cast<TfrxBand *>(c))
            continue;
        const QRectF a = AbsRect(c);
        if (!inStrip(r, a, Key))
            continue;
        switch (Key) {
        case Qt::Key_Right:
            if (a.left() > r.left())
                result.append({c, a.left() - r.right()});
            break;
        case Qt::Key_Left:
            if (a.left() < r.left())
                result.append({c, r.left() - a.right()});
            break;
        case Qt::Key_Down:
            if (a.top() > r.top())
                result.append({c, a.top() - r.bottom()});
            break;
        case Qt::Key_Up:
            if (a.top() < r.top())
                result.append({c, r.top() - a.bottom()});
            break;
        default:
            break;
        }
    }
    return result;
}

void TfrxDesignerWorkspace::SelectNearest(int Key)
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.size() != 1)
        return;
    TfrxComponent *obj = sel.first();
    // Objects in the strip ahead win by their gap; only without any, the
    // nearest object ahead anywhere.
    TfrxComponent *best = nullptr;
    double bestScore = std::numeric_limits<double>::max();
    for (const auto &[c, gap] : StripAhead(obj, Key))
        if (gap < bestScore) {
            best = c;
            bestScore = gap;
        }
    if (!best) {
        const QRectF r = AbsRect(obj);
        for (TfrxComponent *c : *FObjects) {
            if (c == obj || !IsSelectable(c, FPage) || qobject_cast<TfrxBand *>(c))
                continue;
            const QRectF a = AbsRect(c);
            const bool ahead = (Key == Qt::Key_Right && a.left() > r.left()) ||
                               (Key == Qt::Key_Left && a.left() < r.left()) ||
                               (Key == Qt::Key_Down && a.top() > r.top()) ||
                               (Key == Qt::Key_Up && a.top() < r.top());
            if (!ahead)
                continue;
            const double distance = std::hypot(a.left() - r.left(), a.top() - r.top());
            if (distance < bestScore) {
                best = c;
                bestScore = distance;
            }
        }
    }
    if (best && Selection().Select({best})) {
        update();
        Selection().Notify(this);
        NotifySelectionPosition();
    }
}

void TfrxDesignerWorkspace::MoveToNearest(int Key)
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.size() != 1 || (sel.first()->Restrictions() & rfDontMove))
        return;
    double best = std::numeric_limits<double>::max();
    for (const auto &[c, gap] : StripAhead(sel.first(), Key))
        if (gap >= -1e-9 && gap < best)
            best = gap;
    if (best == std::numeric_limits<double>::max() || best <= 0)
        return;
    InvalidateSelection();
    const double dx = Key == Qt::Key_Right ? best : Key == Qt::Key_Left ? -best : 0;
    const double dy = Key == Qt::Key_Down ? best : Key == Qt::Key_Up ? -best : 0;
    MoveSelection(dx, dy);
    FinishKeyChange();
}

void TfrxDesignerWorkspace::MoveByKey(int Key, double StepX, double StepY)
{
    if (Selection().Views().isEmpty())
        return;
    InvalidateSelection();
    const double dx = Key == Qt::Key_Right ? StepX : Key == Qt::Key_Left ? -StepX : 0;
    const double dy = Key == Qt::Key_Down ? StepY : Key == Qt::Key_Up ? -StepY : 0;
    MoveSelection(dx, dy);
    FinishKeyChange();
}

void TfrxDesignerWorkspace::ResizeByKey(int Key)
{
    const QList<TfrxComponent *> sel = Selection().Views();
    if (sel.isEmpty())
        return;
    InvalidateSelection();
    for (TfrxComponent *c : sel) {
        if (c->Restrictions() & rfDontSize)
            continue;
        switch (Key) {
        case Qt::Key_Right:
            c->SetWidth(c->Width() + FGridX);
            break;
        case Qt::Key_Left:
            if (c->Width() - FGridX >= 0)
                c->SetWidth(c->Width() - FGridX);
            break;
        case Qt::Key_Down:
            c->SetHeight(c->Height() + FGridY);
            break;
        case Qt::Key_Up:
            if (c->Height() - FGridY >= 0)
                c->SetHeight(c->Height() - FGridY);
            break;
        default:
            break;
        }
    }
    FinishKeyChange();
}

void TfrxDesignerWorkspace::FinishKeyChange()
{
    RoundSelection();
    AdjustBands();
    InvalidateSelection();
    NotifySelectionPosition();
    emit Modified();
}

void TfrxDesignerWorkspace::SelectNextByTab()
{
    const QList<TfrxComponent *> sel = Selection().Views();
    TfrxComponent *next = nullptr;
    auto selectable = [this](const QList<TfrxComponent *> &List) {
        QList<TfrxComponent *> result;
        for (TfrxComponent *c : List)
            if (IsSelectable(c, FPage))
                result.append(c);
        return result;
    };
    if (sel.isEmpty()) {
        const QList<TfrxComponent *> children = selectable(FPage->Objects());
        if (!children.isEmpty())
            next = children.first();
    } else if (sel.size() == 1) {
        TfrxComponent *obj = sel.first();
        if (qobject_cast<TfrxBand *>(obj)) {
            const QList<TfrxComponent *> children = selectable(obj->Objects());
            if (!children.isEmpty())
                next = children.first();
        } else if (obj->Parent()) {
            const QList<TfrxComponent *> siblings = selectable(obj->Parent()->Objects());
            const qsizetype at = siblings.indexOf(obj);
            if (at >= 0)
                next = siblings.at((at + 1) % siblings.size());
        }
    }
    if (next && Selection().Select({next})) {
        update();
        Selection().Notify(this);
        NotifySelectionPosition();
    }
}
