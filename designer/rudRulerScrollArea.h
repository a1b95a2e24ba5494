#pragma once
// The scrolled area with rulers that the designer window shows as its work
// area: the workspace (rudGuidedWorkspace.h) in a scroll box with a ruler
// above it and one to its left, kept in step with the scale, the page and
// the scroll position; dragging out of a ruler makes a guide.

#include "designer/rudCustomDesigner.h"

#include <QWidget>

class QScrollArea;
class TDesignerWorkspace;
class TfrxRuler;

// See the file comment.
class TfrxRulerScrollArea : public QWidget {
    Q_OBJECT
public:
    // Shows Workspace (taken over: it becomes the scroll box's widget).
    explicit TfrxRulerScrollArea(TDesignerWorkspace *Workspace, QWidget *Parent = nullptr);

    TDesignerWorkspace *Workspace() const { return FWorkspace; }
    QScrollArea *ScrollArea() const { return FScrollArea; }
    TfrxRuler *HorizontalRuler() const { return FHRuler; }
    TfrxRuler *VerticalRuler() const { return FVRuler; }

    bool ShowRulers() const { return FShowRulers; }
    void SetShowRulers(bool Value);
    // The units of the rulers and of the workspace's inserted objects.
    void SetUnits(TfrxDesignerUnits Value);
    // Scrolls so that the page point (page units) can be seen.
    void EnsureVisible(const QPointF &PagePoint);

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    void UpdateRulers();

    TDesignerWorkspace *FWorkspace;
    QScrollArea *FScrollArea;
    TfrxRuler *FHRuler, *FVRuler;
    QWidget *FCorner;
    bool FShowRulers = true;
};
