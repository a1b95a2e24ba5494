// The guides of the designer's workspace (drawn, made from the rulers,
// moved, snapped to, lined up) and pasted objects placed with the mouse.

#include "designer/rudGuidedWorkspace.h"

#include "base/NumberFormat.h"
#include "designer/rudDesgnWorkspace_p.h"
#include "report/model/rudPage.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

using namespace rudWorkspace;

namespace {

const QColor GuideColor(0, 160, 230);
const QColor VirtualGuideColor(230, 0, 160);

// A guide position as a page keeps it: a number in the user's format; the
// other decimal separator is accepted too.
bool readGuide(const QString &Text, double &Value)
{
    if (TryStrToFloat(Text.trimmed(), Value))
        return true;
    QString other = Text.trimmed();
    other.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    Value = other.toDouble(&ok);
    return ok;
}

// Adds Value to List unless it is there already.
void addOnce(QList<double> &List, double Value)
{
    for (double v : List)
        if (std::abs(v - Value) < TDesignerWorkspace::LineUpTolerance)
            return;
    List.append(Value);
}

} // namespace

TDesignerWorkspace::TDesignerWorkspace(QWidget *Parent) : TfrxDesignerWorkspace(Parent) {}

void TDesignerWorkspace::SetShowGuides(bool Value)
{
    FShowGuides = Value;
    update();
}

QList<double> TDesignerWorkspace::Guides(bool Horizontal) const
{
    QList<double> result;
    auto *page = qobject_cast<TfrxReportPage *>(Page());
    if (!page)
        return result;
    for (const QString &text : Horizontal ? page->HGuides() : page->VGuides()) {
        double value = 0;
        if (readGuide(text, value))
            result.append(value);
    }
    return result;
}

void TDesignerWorkspace::SetGuides(bool Horizontal, const QList<double> &Values)
{
    auto *page = qobject_cast<TfrxReportPage *>(Page());
    if (!page)
        return;
    QStringList texts;
    for (double v : Values)
        texts.append(FloatToStr(RoundTo8(v)));
    if (Horizontal)
        page->SetHGuides(texts);
    else
        page->SetVGuides(texts);
}

void TDesignerWorkspace::DeleteGuides()
{
    auto *page = qobject_cast<TfrxReportPage *>(Page());
    if (!page || (page->HGuides().isEmpty() && page->VGuides().isEmpty()))
        return;
    page->SetHGuides({});
    page->SetVGuides({});
    update();
    emit Modified();
}

int TDesignerWorkspace::GuideAt(const QPointF &P, bool &Horizontal) const
{
    if (!FShowGuides)
        return -1;
    // At least 3 pixels of tolerance, whatever the scale.
    const double tolerance = std::max(2.0, 3 / Scale());
    const QList<double> h = Guides(true), v = Guides(false);
    for (qsizetype i = 0; i < h.size(); ++i)
        if (std::abs(P.y() - h.at(i)) <= tolerance) {
            Horizontal = true;
            return int(i);
        }
    for (qsizetype i = 0; i < v.size(); ++i)
        if (std::abs(P.x() - v.at(i)) <= tolerance) {
            Horizontal = false;
            return int(i);
        }
    return -1;
}

// ---------------------------------------------------------------------------
// Snapping and virtual guides

QPointF TDesignerWorkspace::AdjustStep(const QPointF &Step, const QList<double> &XEdges,
                                       const QList<double> &YEdges)
{
    if (!FShowGuides || !qobject_cast<TfrxReportPage *>(Page()))
        return Step;
    // The first guide of the list that an edge would come near snaps it.
    auto snap = [](double Move, const QList<double> &Edges, const QList<double> &Guides) {
        if (Move == 0)
            return Move;
        for (double guide : Guides)
            for (double edge : Edges)
                if (std::abs(edge + Move - guide) < GuideSnap)
                    return guide - edge;
        return Move;
    };
    const QPointF step(snap(Step.x(), XEdges, Guides(false)), snap(Step.y(), YEdges, Guides(true)));

    // Edges that line up with another object's edge after the step.
    const TfrxSelectionModel &selected = Selection();
    QList<double> lineH, lineV;
    for (TfrxComponent *c : Objects()) {
        if (!IsSelectable(c, Page()) || selected.Contains(c))
            continue;
        const QRectF r = AbsRect(c);
        for (double edge : XEdges)
            for (double other : {r.left(), r.right()})
                if (std::abs(edge + step.x() - other) < LineUpTolerance)
                    addOnce(lineV, other);
        for (double edge : YEdges)
            for (double other : {r.top(), r.bottom()})
                if (std::abs(edge + step.y() - other) < LineUpTolerance)
                    addOnce(lineH, other);
    }
    if (lineH != FVirtualH || lineV != FVirtualV) {
        FVirtualH = lineH;
        FVirtualV = lineV;
        update();
    }
    return step;
}

void TDesignerWorkspace::DragFinished()
{
    if (FVirtualH.isEmpty() && FVirtualV.isEmpty())
        return;
    FVirtualH.clear();
    FVirtualV.clear();
    update();
}

void TDesignerWorkspace::DrawOverlay(QPainter &Painter, const QRect &)
{
    if (!FShowGuides || !qobject_cast<TfrxReportPage *>(Page()))
        return;
    const QRectF paper = PaperRect();
    auto across = [&](double Y) {
        const double y = std::round(ToWidget(QPointF(0, Y)).y()) + 0.5;
        Painter.drawLine(QPointF(paper.left(), y), QPointF(paper.right(), y));
    };
    auto down = [&](double X) {
        const double x = std::round(ToWidget(QPointF(X, 0)).x()) + 0.5;
        Painter.drawLine(QPointF(x, paper.top()), QPointF(x, paper.bottom()));
    };
    Painter.setPen(QPen(GuideColor, 0));
    for (double y : Guides(true))
        across(y);
    for (double x : Guides(false))
        down(x);
    if (FRulerGuide)
        FRulerGuideHorizontal ? across(FRulerGuidePos) : down(FRulerGuidePos);
    Painter.setPen(QPen(VirtualGuideColor, 0, Qt::DashLine));
    for (double y : FVirtualH)
        across(y);
    for (double x : FVirtualV)
        down(x);
}

// ---------------------------------------------------------------------------
// Guides from the rulers and moved with the mouse

void TDesignerWorkspace::DragGuideFromRuler(bool HorizontalGuide, const QPoint &GlobalPos, bool Drop)
{
    if (!FShowGuides || !qobject_cast<TfrxReportPage *>(Page()))
        return;
    const QPointF local = mapFromGlobal(GlobalPos);
    const QPointF p = ToPage(local);
    FRulerGuideHorizontal = HorizontalGuide;
    FRulerGuidePos = RoundTo8(HorizontalGuide ? p.y() : p.x());
    FRulerGuide = !Drop;
    if (Drop && PaperRect().contains(local)) {
        QList<double> list = Guides(HorizontalGuide);
        list.append(FRulerGuidePos);
        SetGuides(HorizontalGuide, list);
        update();
        emit Modified();
        return;
    }
    update();
}

void TDesignerWorkspace::mousePressEvent(QMouseEvent *Event)
{
    if (FSimulating) {
        if (Event->button() == Qt::LeftButton)
            EndSimulate(true);
        return;
    }
    if (Event->button() == Qt::LeftButton)
        UpdateHoverMode(ToPage(Event->position()), Event->modifiers());
    if (Mode() == dmMoveGuide && Event->button() == Qt::LeftButton) {
        bool horizontal = true;
        FGuideIndex = GuideAt(ToPage(Event->position()), horizontal);
        FGuideHorizontal = horizontal;
        FGuideMoved = false;
        FMouseDown = FGuideIndex >= 0;
        return;
    }
    TfrxDesignerWorkspace::mousePressEvent(Event);
}

void TDesignerWorkspace::mouseMoveEvent(QMouseEvent *Event)
{
    const QPointF p = ToPage(Event->position());
    if (FSimulating) {
        PlaceSimulated(p, Event->modifiers());
        return;
    }
    if (Mode() == dmMoveGuide && FMouseDown && FGuideIndex >= 0) {
        QList<double> list = Guides(FGuideHorizontal);
        if (FGuideIndex < list.size()) {
            const QPointF snapped = SnapPoint(p, Event->modifiers());
            list[FGuideIndex] = FGuideHorizontal ? snapped.y() : snapped.x();
            SetGuides(FGuideHorizontal, list);
            FGuideMoved = true;
            update();
        }
        return;
    }
    TfrxDesignerWorkspace::mouseMoveEvent(Event);
}

void TDesignerWorkspace::UpdateHoverMode(const QPointF &P, Qt::KeyboardModifiers Modifiers)
{
    TfrxDesignerWorkspace::UpdateHoverMode(P, Modifiers);
    if (Mode() != TfrxDesignMode1::dmNone || FSimulating)
        return;
    bool horizontal = true;
    if (GuideAt(P, horizontal) >= 0) {
        SetMode(dmMoveGuide);
        setCursor(horizontal ? Qt::SplitVCursor : Qt::SplitHCursor);
    }
}

void TDesignerWorkspace::mouseReleaseEvent(QMouseEvent *Event)
{
    if (Mode() == dmMoveGuide && Event->button() == Qt::LeftButton && FMouseDown) {
        FMouseDown = false;
        QList<double> list = Guides(FGuideHorizontal);
        // A guide dragged off the paper is removed.
        if (FGuideIndex >= 0 && FGuideIndex < list.size() && !PaperRect().contains(Event->position())) {
            list.removeAt(FGuideIndex);
            SetGuides(FGuideHorizontal, list);
            FGuideMoved = true;
        }
        FGuideIndex = -1;
        SetMode(TfrxDesignMode1::dmNone);
        update();
        if (FGuideMoved)
            emit Modified();
        return;
    }
    TfrxDesignerWorkspace::mouseReleaseEvent(Event);
}

// ---------------------------------------------------------------------------
// Pasted objects under the mouse

void TDesignerWorkspace::SimulateMove()
{
    if (Selection().Views().isEmpty())
        return;
    FSimulating = true;
    FSimulatePlaced = false;
    SetMode(dmMove);
    setFocus(Qt::OtherFocusReason);
}

void TDesignerWorkspace::PlaceSimulated(const QPointF &P, Qt::KeyboardModifiers Modifiers)
{
    InvalidateSelection();
    if (!FSimulatePlaced) {
        const QPointF target = SnapPoint(P, Modifiers);
        const QPointF corner = SelectionBounds().topLeft();
        MoveSelection(target.x() - corner.x(), target.y() - corner.y());
        FLastPoint = P;
        FSimulatePlaced = true;
    } else {
        QPointF step = GridStep(P, Modifiers);
        if (step.isNull())
            return;
        QList<double> xs, ys;
        MovingEdges(xs, ys);
        step = AdjustStep(step, xs, ys);
        MoveSelection(step.x(), step.y());
        FLastPoint += step;
    }
    InvalidateSelection();
    NotifySelectionPosition();
}

void TDesignerWorkspace::EndSimulate(bool Keep)
{
    FSimulating = false;
    SetMode(TfrxDesignMode1::dmNone);
    DragFinished();
    if (Keep) {
        RoundSelection();
        AdjustBands();
        update();
        NotifySelectionPosition();
        emit Modified();
        return;
    }
    // The paste is undone by deleting what was pasted, restrictions or not.
    QList<QPointer<TfrxComponent>> pasted;
    for (TfrxComponent *c : Selection().Views())
        pasted.append(c);
    for (const QPointer<TfrxComponent> &c : pasted) {
        if (!c)
            continue; // went with its parent
        ForgetObject(c);
        delete c.data();
    }
    update();
    Selection().Notify(this);
    NotifySelectionPosition();
    emit Modified();
}

void TDesignerWorkspace::keyPressEvent(QKeyEvent *Event)
{
    if (FSimulating) {
        if (Event->key() == Qt::Key_Escape)
            EndSimulate(false);
        return;
    }
    TfrxDesignerWorkspace::keyPressEvent(Event);
}
