#pragma once
// The workspace the designer window shows (TDesignerWorkspace): the page
// editing surface of rudDesgnWorkspace.h with the guide lines of a report
// page (drawn, dragged from the rulers, moved, snapped to), the virtual
// guides that show edges lining up while dragging, and the placement of
// pasted objects under the mouse.

#include "designer/rudDesgnWorkspace.h"

// See the file comment.
class TDesignerWorkspace : public TfrxDesignerWorkspace {
    Q_OBJECT
public:
    // A moving edge closer than this to a guide (page units) snaps to it.
    static constexpr double GuideSnap = 6;
    // Edges within this of each other line up (a virtual guide is drawn).
    static constexpr double LineUpTolerance = 0.001;

    explicit TDesignerWorkspace(QWidget *Parent = nullptr);

    // Guides are drawn, snapped to and made from the rulers only while on.
    bool ShowGuides() const { return FShowGuides; }
    void SetShowGuides(bool Value);
    // Removes every guide of the page (a change: Modified).
    void DeleteGuides();
    // The guides of a report page, page units: HGuides lie across at
    // these positions down the page, VGuides run down at these positions
    // across (kept in the page's HGuides / VGuides).
    QList<double> HGuides() const { return Guides(true); }
    QList<double> VGuides() const { return Guides(false); }

    // The selection (objects just pasted) follows the mouse: at the first
    // move its top-left corner goes under the pointer, then it moves with
    // it on the grid, until
    // the next click places it (Modified). Escape instead deletes the
    // objects (the selection announced, and Modified).
    void SimulateMove();
    bool SimulatingMove() const { return FSimulating; }

    // The virtual guides of the drag in progress: positions down the page
    // of edges lined up across, and positions across of edges lined up down.
    const QList<double> &VirtualHGuides() const { return FVirtualH; }
    const QList<double> &VirtualVGuides() const { return FVirtualV; }

public slots:
    // A guide dragged out of a ruler: HorizontalGuide true for the top
    // ruler (a line across, at the pointer's height). Dropped on the paper
    // it joins the page's guides (Modified); elsewhere it is dropped.
    void DragGuideFromRuler(bool HorizontalGuide, const QPoint &GlobalPos, bool Drop);

protected:
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void keyPressEvent(QKeyEvent *Event) override;
    // Adds the guides: resting on one, the mouse can move it.
    void UpdateHoverMode(const QPointF &P, Qt::KeyboardModifiers Modifiers) override;
    QPointF AdjustStep(const QPointF &Step, const QList<double> &XEdges, const QList<double> &YEdges) override;
    void DragFinished() override;
    void DrawOverlay(QPainter &Painter, const QRect &Dirty) override;

private:
    QList<double> Guides(bool Horizontal) const;
    void SetGuides(bool Horizontal, const QList<double> &Values);
    // The guide under P (its index), or -1; Horizontal tells which list.
    int GuideAt(const QPointF &P, bool &Horizontal) const;
    void PlaceSimulated(const QPointF &P, Qt::KeyboardModifiers Modifiers);
    void EndSimulate(bool Keep);

    bool FShowGuides = true;
    bool FSimulating = false, FSimulatePlaced = false;
    int FGuideIndex = -1;
    bool FGuideHorizontal = true;
    bool FGuideMoved = false;
    QList<double> FVirtualH, FVirtualV;
    bool FRulerGuide = false, FRulerGuideHorizontal = true;
    double FRulerGuidePos = 0;
};
