#include "designer/rudDesgnWorkspace.h"

#include "designer/rudDesgnWorkspace_p.h"
#include "report/model/rudBand.h"
#include "report/model/rudLineView.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

using namespace rudWorkspace;

TfrxDesignerWorkspace::TfrxDesignerWorkspace(QWidget *Parent) : QWidget(Parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    FWorkspaceColor = palette().color(QPalette::Window).darker(115);
    UpdateSize();
}

TfrxDesignerWorkspace::~TfrxDesignerWorkspace()
{
    // The edit box goes without touching the memo: the report may be gone.
    delete FInplaceEditor;
}

// ---------------------------------------------------------------------------
// Settings

void TfrxDesignerWorkspace::SetPage(TfrxPage *Page)
{
    FinishInplaceEdit(true);
    const bool changed = FPage != Page;
    FPage = Page;
    MarkDesigning();
    if (FObjects == &FOwnObjects) {
        FOwnObjects.clear();
        if (FPage) {
            FOwnObjects.append(FPage);
            FOwnObjects.append(FPage->AllObjects());
        }
    }
    if (changed) {
        FSelected->clear();
        if (FPage)
            FSelected->append(FPage);
        FSizedBand = nullptr;
        FSavedAligns.clear();
    }
    if (FInsertion.ComponentClass)
        ArmedModeAfterInsert();
    else
        FMode = TfrxDesignMode1::dmNone;
    UpdateSize();
    update();
}

void TfrxDesignerWorkspace::SetObjects(QList<TfrxComponent *> *Objects)
{
    FObjects = Objects ? Objects : &FOwnObjects;
}

void TfrxDesignerWorkspace::SetSelectedObjects(QList<TfrxComponent *> *Selected)
{
    FSelected = Selected ? Selected : &FOwnSelected;
}

void TfrxDesignerWorkspace::SetScale(double Value)
{
    if (!(Value > 0))
        Value = 1;
    if (Value == FScale)
        return;
    FinishInplaceEdit(true);
    FScale = Value;
    UpdateSize();
    update();
}

void TfrxDesignerWorkspace::SetGridType(TfrxGridType Value)
{
    FGridType = Value;
    update();
}

void TfrxDesignerWorkspace::SetGrid(double X, double Y)
{
    FGridX = X;
    FGridY = Y;
    update();
}

void TfrxDesignerWorkspace::SetShowGrid(bool Value)
{
    FShowGrid = Value;
    update();
}

void TfrxDesignerWorkspace::SetGridLCD(bool Value)
{
    FGridLCD = Value;
    update();
}

void TfrxDesignerWorkspace::SetShowBandCaptions(bool Value)
{
    FShowBandCaptions = Value;
    update();
}

void TfrxDesignerWorkspace::SetWorkspaceColor(const QColor &Value)
{
    FWorkspaceColor = Value;
    update();
}

QSizeF TfrxDesignerWorkspace::DefaultInsertionSize(TfrxDesignerUnits Units)
{
    switch (Units) {
    case duCM:
        return {2.5 * fr1cm, 0.5 * fr1cm};
    case duInches:
        return {1.0 * fr1in, 0.2 * fr1in};
    case duPixels:
        return {80, 16};
    case duChars:
        return {10 * fr1CharX, 1.0 * fr1CharY};
    }
    return {80, 16};
}

void TfrxDesignerWorkspace::SetInsertion(const QMetaObject *ComponentClass, double Width, double Height, int Flags)
{
    ++FInsertionGeneration;
    FInsertion = TfrxInsertion();
    FInsertion.ComponentClass = ComponentClass;
    FInsertion.Flags = Flags;
    const QSizeF defaults = DefaultInsertionSize(FUnits);
    const bool line = InsertionIsLine();
    FInsertion.OriginalWidth = Width > 0 ? Width : defaults.width();
    FInsertion.OriginalHeight = Height > 0 ? Height : (line ? 0 : defaults.height());
    FInsertionVisible = false;
    if (ComponentClass) {
        FinishInplaceEdit(true);
        ArmedModeAfterInsert();
    } else {
        FMode = TfrxDesignMode1::dmNone;
        unsetCursor();
    }
    update();
}

bool TfrxDesignerWorkspace::InsertionIsLine() const
{
    return FInsertion.ComponentClass && FInsertion.ComponentClass->inherits(&TfrxCustomLineView::staticMetaObject);
}

void TfrxDesignerWorkspace::ArmedModeAfterInsert()
{
    if (FInsertion.ComponentClass) {
        FMode = InsertionIsLine() ? dmInsertLine : dmInsertObject;
        setCursor(Qt::CrossCursor);
    } else {
        FMode = TfrxDesignMode1::dmNone;
        unsetCursor();
    }
}

void TfrxDesignerWorkspace::UpdateView()
{
    MarkDesigning();
    if (FObjects == &FOwnObjects) {
        FOwnObjects.clear();
        if (FPage) {
            FOwnObjects.append(FPage);
            FOwnObjects.append(FPage->AllObjects());
        }
    }
    for (qsizetype i = FSelected->size() - 1; i >= 0; --i) {
        TfrxComponent *c = FSelected->at(i);
        if (c != FPage && !FObjects->contains(c))
            FSelected->removeAt(i);
    }
    if (FSelected->isEmpty() && FPage)
        FSelected->append(FPage);
    if (FInplaceMemo.isNull() && FInplaceEditor)
        FinishInplaceEdit(false);
    UpdateSize();
    update();
}

void TfrxDesignerWorkspace::MarkDesigning()
{
    if (!FPage)
        return;
    FPage->SetIsDesigning(true);
    const QList<TfrxComponent *> all = FPage->AllObjects();
    for (TfrxComponent *c : all)
        c->SetIsDesigning(true);
}

void TfrxDesignerWorkspace::UpdateSize()
{
    const QRectF paper = PaperRect();
    const QSize size(int(std::ceil(paper.width())) + 2 * WorkspaceGap,
                     int(std::ceil(paper.height())) + 2 * WorkspaceGap);
    if (size != this->size())
        setFixedSize(size);
    emit ViewChanged();
}

QSize TfrxDesignerWorkspace::sizeHint() const
{
    const QRectF paper = PaperRect();
    return {int(std::ceil(paper.width())) + 2 * WorkspaceGap, int(std::ceil(paper.height())) + 2 * WorkspaceGap};
}

// ---------------------------------------------------------------------------
// Geometry

QRectF TfrxDesignerWorkspace::PaperRect() const
{
    double width = 0, height = 0;
    if (auto *page = qobject_cast<TfrxReportPage *>(FPage)) {
        width = page->PaperWidth() * fr01cm;
        height = page->PaperHeight() * fr01cm;
    } else if (FPage) {
        width = FPage->Width();
        height = FPage->Height();
    }
    return {double(WorkspaceGap), double(WorkspaceGap), width * FScale, height * FScale};
}

QSizeF TfrxDesignerWorkspace::PrintableSize() const
{
    if (auto *page = qobject_cast<TfrxReportPage *>(FPage))
        return {(page->PaperWidth() - page->LeftMargin() - page->RightMargin()) * fr01cm,
                (page->PaperHeight() - page->TopMargin() - page->BottomMargin()) * fr01cm};
    if (FPage)
        return {FPage->Width(), FPage->Height()};
    return {};
}

QPointF TfrxDesignerWorkspace::PageOrigin() const
{
    QPointF origin(WorkspaceGap, WorkspaceGap);
    if (auto *page = qobject_cast<TfrxReportPage *>(FPage))
        origin += QPointF(page->LeftMargin() * fr01cm, page->TopMargin() * fr01cm) * FScale;
    return origin;
}

QPointF TfrxDesignerWorkspace::ToPage(const QPointF &WidgetPoint) const
{
    return (WidgetPoint - PageOrigin()) / FScale;
}

QPointF TfrxDesignerWorkspace::ToWidget(const QPointF &PagePoint) const
{
    return PageOrigin() + PagePoint * FScale;
}

QRectF TfrxDesignerWorkspace::AbsRect(const TfrxComponent *Obj)
{
    return QRectF(Obj->AbsLeft(), Obj->AbsTop(), Obj->Width(), Obj->Height()).normalized();
}

double TfrxDesignerWorkspace::BandCaptionHeight() const
{
    return FShowBandCaptions ? BandCaption : 0;
}

// ---------------------------------------------------------------------------
// Hit tests

namespace {

bool containsClosed(const QRectF &R, const QPointF &P)
{
    return P.x() >= R.left() && P.x() <= R.right() && P.y() >= R.top() && P.y() <= R.bottom();
}

// Distance of P from the line through A and B.
double lineDistance(const QPointF &P, const QPointF &A, const QPointF &B)
{
    const QPointF d = B - A;
    const double length = std::hypot(d.x(), d.y());
    if (length == 0)
        return std::hypot(P.x() - A.x(), P.y() - A.y());
    return std::abs(d.x() * (A.y() - P.y()) - d.y() * (A.x() - P.x())) / length;
}

bool nearPoint(const QPointF &P, double X, double Y)
{
    return P.x() >= X - HandleBefore && P.x() <= X + HandleAfter && P.y() >= Y - HandleBefore &&
           P.y() <= Y + HandleAfter;
}

} // namespace

bool rudWorkspace::IsSelectable(const TfrxComponent *Obj, const TfrxPage *Page)
{
    return Obj && Obj != Page && qobject_cast<const TfrxReportComponent *>(Obj);
}

TfrxComponent *TfrxDesignerWorkspace::ObjectAt(const QPointF &P) const
{
    for (qsizetype i = FObjects->size() - 1; i >= 0; --i) {
        TfrxComponent *c = FObjects->at(i);
        if (!IsSelectable(c, FPage))
            continue;
        QRectF r = AbsRect(c);
        auto *line = qobject_cast<TfrxCustomLineView *>(c);
        if (line && line->Diagonal()) {
            const QPointF a(c->AbsLeft(), c->AbsTop());
            if (containsClosed(r.adjusted(-LineTolerance - 1, -LineTolerance - 1, LineTolerance + 1,
                                          LineTolerance + 1),
                               P) &&
                lineDistance(P, a, a + QPointF(c->Width(), c->Height())) <= LineTolerance + 1)
                return c;
            continue;
        }
        if (r.width() == 0)
            r.adjust(-LineTolerance, 0, LineTolerance, 0);
        if (r.height() == 0)
            r.adjust(0, -LineTolerance, 0, LineTolerance);
        if (auto *band = qobject_cast<TfrxBand *>(c)) {
            if (band->Vertical())
                r.setLeft(r.left() - BandCaptionHeight());
            else
                r.setTop(r.top() - BandCaptionHeight());
        }
        if (containsClosed(r, P))
            return c;
    }
    return nullptr;
}

QList<QPair<int, QPointF>> rudWorkspace::HandlePoints(const TfrxComponent *Obj)
{
    const double l = Obj->AbsLeft(), t = Obj->AbsTop(), w = Obj->Width(), h = Obj->Height();
    auto *line = qobject_cast<const TfrxCustomLineView *>(Obj);
    if (line && line->Diagonal())
        return {{9, {l, t}}, {10, {l + w, t + h}}};
    const QRectF r = QRectF(l, t, w, h).normalized();
    if (line && r.height() == 0)
        return {{6, {r.left(), r.top()}}, {5, {r.right(), r.top()}}};
    if (line && r.width() == 0)
        return {{7, {r.left(), r.top()}}, {8, {r.left(), r.bottom()}}};
    const double mx = r.left() + r.width() / 2, my = r.top() + r.height() / 2;
    return {{1, r.topLeft()},        {2, r.bottomRight()},           {3, r.topRight()},
            {4, r.bottomLeft()},     {5, {r.right(), my}},           {6, {r.left(), my}},
            {7, {mx, r.top()}},      {8, {mx, r.bottom()}}};
}

int TfrxDesignerWorkspace::HandleAt(const QPointF &P) const
{
    const QList<TfrxComponent *> sel = SelectedViews();
    if (sel.size() != 1 || qobject_cast<TfrxBand *>(sel.first()))
        return 0;
    for (const auto &[handle, point] : HandlePoints(sel.first()))
        if (nearPoint(P, point.x(), point.y()))
            return handle;
    return 0;
}

TfrxBand *TfrxDesignerWorkspace::BandEdgeAt(const QPointF &P) const
{
    for (qsizetype i = FObjects->size() - 1; i >= 0; --i) {
        auto *band = qobject_cast<TfrxBand *>(FObjects->at(i));
        if (!band)
            continue;
        const QRectF r = AbsRect(band);
        if (band->Vertical()) {
            if (std::abs(P.x() - r.right()) <= BandEdge && P.y() >= r.top() && P.y() <= r.bottom())
                return band;
        } else if (std::abs(P.y() - r.bottom()) <= BandEdge && P.x() >= r.left() && P.x() <= r.right()) {
            return band;
        }
    }
    return nullptr;
}

bool TfrxDesignerWorkspace::ScaleCornerAt(const QPointF &P) const
{
    if (SelectedViews().size() < 2)
        return false;
    const QRectF b = SelectionBounds();
    return nearPoint(P, b.right(), b.bottom());
}

QList<TfrxComponent *> TfrxDesignerWorkspace::SelectedViews() const
{
    QList<TfrxComponent *> result;
    for (TfrxComponent *c : *FSelected)
        if (c != FPage)
            result.append(c);
    return result;
}

QRectF TfrxDesignerWorkspace::SelectionBounds() const
{
    QRectF bounds;
    bool first = true;
    for (TfrxComponent *c : SelectedViews()) {
        const QRectF r = AbsRect(c);
        if (first)
            bounds = r;
        else
            bounds = QRectF(QPointF(std::min(bounds.left(), r.left()), std::min(bounds.top(), r.top())),
                            QPointF(std::max(bounds.right(), r.right()), std::max(bounds.bottom(), r.bottom())));
        first = false;
    }
    return bounds;
}

// ---------------------------------------------------------------------------
// Selection

bool TfrxDesignerWorkspace::SetSelection(const QList<TfrxComponent *> &List)
{
    const QList<TfrxComponent *> before = *FSelected;
    FSelected->clear();
    for (TfrxComponent *c : List)
        if (c && c != FPage && !FSelected->contains(c))
            FSelected->append(c);
    ExpandGroups();
    if (FSelected->isEmpty() && FPage)
        FSelected->append(FPage);
    return before != *FSelected;
}

void TfrxDesignerWorkspace::ExpandGroups()
{
    QList<int> groups;
    for (TfrxComponent *c : *FSelected)
        if (c != FPage && c->GroupIndex() != 0 && !groups.contains(c->GroupIndex()))
            groups.append(c->GroupIndex());
    if (groups.isEmpty())
        return;
    for (TfrxComponent *c : *FObjects)
        if (IsSelectable(c, FPage) && groups.contains(c->GroupIndex()) && !FSelected->contains(c))
            FSelected->append(c);
}

void TfrxDesignerWorkspace::ForgetObject(TfrxComponent *Obj)
{
    QList<TfrxComponent *> gone{Obj};
    gone.append(Obj->AllObjects());
    for (TfrxComponent *c : gone) {
        FObjects->removeAll(c);
        FSelected->removeAll(c);
        FSelectionBefore.removeAll(c);
    }
}

void TfrxDesignerWorkspace::SaveAligns()
{
    FSavedAligns.clear();
    for (TfrxComponent *c : SelectedViews())
        if (auto *view = qobject_cast<TfrxView *>(c); view && view->Align() != baNone) {
            FSavedAligns.append({view, view->Align()});
            view->SetAlign(baNone);
        }
}

void TfrxDesignerWorkspace::RestoreAligns()
{
    for (const auto &[view, align] : FSavedAligns)
        if (view)
            view->SetAlign(align);
    FSavedAligns.clear();
}

void TfrxDesignerWorkspace::RoundSelection()
{
    for (TfrxComponent *c : SelectedViews()) {
        c->SetLeft(RoundTo8(c->Left()));
        c->SetTop(RoundTo8(c->Top()));
        c->SetWidth(RoundTo8(c->Width()));
        c->SetHeight(RoundTo8(c->Height()));
    }
}

double rudWorkspace::RoundTo8(double Value)
{
    return std::round(Value * 1e8) / 1e8;
}

void TfrxDesignerWorkspace::NotifySelectionPosition()
{
    if (FMode == dmInsertObject || FMode == dmInsertLine) {
        emit NotifyPosition(InsertionRect());
        return;
    }
    const QList<TfrxComponent *> sel = SelectedViews();
    if (sel.size() == 1) {
        const TfrxComponent *c = sel.first();
        emit NotifyPosition(QRectF(c->Left(), c->Top(), c->Width(), c->Height()));
    } else if (sel.size() > 1) {
        emit NotifyPosition(SelectionBounds());
    } else {
        emit NotifyPosition(QRectF());
    }
}

QRectF TfrxDesignerWorkspace::InsertionRect() const
{
    if (FMouseDown)
        return {FInsertion.Left, FInsertion.Top, FInsertion.Width, FInsertion.Height};
    return {FInsertion.Left, FInsertion.Top, FInsertion.OriginalWidth, FInsertion.OriginalHeight};
}

// ---------------------------------------------------------------------------
// Repainting only what changes

void TfrxDesignerWorkspace::InvalidatePageRect(const QRectF &PageRect)
{
    const QRectF r(ToWidget(PageRect.topLeft()), ToWidget(PageRect.bottomRight()));
    update(r.normalized().toAlignedRect().adjusted(-DirtyMargin, -DirtyMargin, DirtyMargin, DirtyMargin));
}

void TfrxDesignerWorkspace::InvalidateSelection()
{
    const QList<TfrxComponent *> sel = SelectedViews();
    if (sel.isEmpty())
        return;
    QRectF r = SelectionBounds();
    for (TfrxComponent *c : sel)
        if (qobject_cast<TfrxBand *>(c)) {
            update(); // bands carry their objects and captions
            return;
        }
    InvalidatePageRect(r);
}

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
        for (TfrxComponent *c : SelectedViews()) {
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
        const QList<TfrxComponent *> sel = SelectedViews();
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
    const QList<TfrxComponent *> sel = SelectedViews();
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
        if (FSelected->contains(c->Parent()))
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
    const QList<TfrxComponent *> sel = SelectedViews();
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
    for (TfrxComponent *c : SelectedViews()) {
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
    FSelectionBefore = *FSelected;

    if (Event->button() == Qt::RightButton) {
        TfrxComponent *obj = ObjectAt(p);
        if (obj && !FSelected->contains(obj) && SetSelection({obj})) {
            update();
            emit SelectionChanged();
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

    QList<TfrxComponent *> selection = SelectedViews();
    if (mods & Qt::ControlModifier) {
        selection.clear();
        FMode = dmSelectionRect;
    } else {
        TfrxComponent *obj = ObjectAt(p);
        if (!obj) {
            selection.clear();
            FMode = dmSelectionRect;
        } else if (mods & Qt::ShiftModifier) {
            if (selection.contains(obj)) {
                // A group leaves the selection as a whole.
                const int group = obj->GroupIndex();
                selection.removeAll(obj);
                if (group != 0)
                    selection.removeIf([group](TfrxComponent *c) { return c->GroupIndex() == group; });
            } else {
                selection.append(obj);
            }
        } else if (!selection.contains(obj)) {
            selection = {obj};
        }
    }
    if (FMode == dmSelectionRect) {
        FSelectionRect = QRectF(p, p);
        SetSelection({});
    } else {
        SetSelection(selection);
        if (!SelectedViews().isEmpty()) {
            FMode = dmMove;
            SaveAligns();
        }
    }
    update();
    if (FSelectionBefore != *FSelected) {
        FSelectionBefore = *FSelected;
        emit SelectionChanged();
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
    const QList<TfrxComponent *> sel = SelectedViews();
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
        const QList<TfrxComponent *> sel = SelectedViews();
        auto *band = sel.size() == 1 ? qobject_cast<TfrxBand *>(sel.first()) : nullptr;
        if (band && band->Vertical()) {
            const QRectF br = AbsRect(band);
            for (TfrxComponent *c : *FObjects) {
                if (!IsSelectable(c, FPage) || qobject_cast<TfrxBand *>(c) || FSelected->contains(c))
                    continue;
                const QRectF r = AbsRect(c);
                if (r.left() >= br.left() - 0.0001 && r.right() <= br.right() + 0.0001)
                    FSelected->append(c);
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
            SetSelection({memo});
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
    if (FSelectionBefore != *FSelected) {
        FSelectionBefore = *FSelected;
        emit SelectionChanged();
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
    SetSelection(list);
}

void TfrxDesignerWorkspace::mouseDoubleClickEvent(QMouseEvent *Event)
{
    if (Event->button() != Qt::LeftButton || !FPage || FInsertion.ComponentClass)
        return;
    FMouseDown = false;
    FMode = TfrxDesignMode1::dmNone;
    RestoreAligns();
    const QList<TfrxComponent *> sel = SelectedViews();
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

bool TfrxDesignerWorkspace::focusNextPrevChild(bool)
{
    // Tab walks the objects of the page (keyPressEvent), not the focus chain.
    return false;
}
