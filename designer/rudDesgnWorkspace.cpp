// The page editing surface's state and geometry: its settings, arming an
// insertion, the page in widget coordinates, band layout, hit tests, the
// selection's bounds and repainting only what changes.

#include "designer/rudDesgnWorkspace.h"

#include "designer/rudDesgnWorkspace_p.h"
#include "report/model/rudBand.h"
#include "report/model/rudLineView.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"

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
        Selection().SetPage(FPage);
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

void TfrxDesignerWorkspace::SetSelectionModel(TfrxSelectionModel *Selection)
{
    FSelection = Selection;
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
        DragFinished();
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
    Selection().KeepExisting();
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
// Band layout

void TfrxDesignerWorkspace::AdjustBands()
{
    if (!qobject_cast<TfrxReportPage *>(FPage) || FFreeBands)
        return;
    QList<TfrxBand *> bands;
    for (TfrxComponent *c : FPage->Objects())
        if (auto *band = qobject_cast<TfrxBand *>(c); band && !band->Vertical())
            bands.append(band);
    std::stable_sort(bands.begin(), bands.end(), [](TfrxBand *A, TfrxBand *B) { return A->Top() < B->Top(); });
    double y = 0;
    bool moved = false;
    for (TfrxBand *band : bands) {
        const double top = RoundTo8(y + BandCaptionHeight());
        if (band->Top() != top) {
            band->SetTop(top);
            moved = true;
        }
        y = band->Top() + band->Height() + FBandsGap;
    }
    if (moved)
        update();
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
    const QList<TfrxComponent *> sel = Selection().Views();
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
    if (Selection().Views().size() < 2)
        return false;
    const QRectF b = SelectionBounds();
    return nearPoint(P, b.right(), b.bottom());
}

QRectF TfrxDesignerWorkspace::SelectionBounds() const
{
    QRectF bounds;
    bool first = true;
    for (TfrxComponent *c : Selection().Views()) {
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

void TfrxDesignerWorkspace::ForgetObject(TfrxComponent *Obj)
{
    Selection().Forget(Obj);
    QList<TfrxComponent *> gone{Obj};
    gone.append(Obj->AllObjects());
    for (TfrxComponent *c : gone) {
        FObjects->removeAll(c);
        FSelectionBefore.removeAll(c);
    }
}

void TfrxDesignerWorkspace::SaveAligns()
{
    FSavedAligns.clear();
    for (TfrxComponent *c : Selection().Views())
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
    for (TfrxComponent *c : Selection().Views()) {
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
    const QList<TfrxComponent *> sel = Selection().Views();
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
    const QList<TfrxComponent *> sel = Selection().Views();
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
