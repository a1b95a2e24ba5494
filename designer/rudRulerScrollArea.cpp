// The scrolled area with rulers: the workspace in its scroll box and the
// rulers kept in step with it.

#include "designer/rudRulerScrollArea.h"

#include "designer/rudGuidedWorkspace.h"
#include "designer/rudRuler.h"

#include <QEvent>
#include <QGridLayout>
#include <QScrollArea>
#include <QScrollBar>

TfrxRulerScrollArea::TfrxRulerScrollArea(TDesignerWorkspace *Workspace, QWidget *Parent)
    : QWidget(Parent), FWorkspace(Workspace)
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FCorner = new QWidget(this);
    FCorner->setFixedSize(TfrxRuler::Thickness, TfrxRuler::Thickness);
    FHRuler = new TfrxRuler(Qt::Horizontal, this);
    FVRuler = new TfrxRuler(Qt::Vertical, this);
    FScrollArea = new QScrollArea(this);
    FScrollArea->setWidgetResizable(false);
    FScrollArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FScrollArea->setWidget(FWorkspace);
    // The wheel alone scrolls by 16 pixels a notch.
    FScrollArea->verticalScrollBar()->setSingleStep(16);
    FScrollArea->horizontalScrollBar()->setSingleStep(16);
    FScrollArea->setBackgroundRole(QPalette::Dark);
    layout->addWidget(FCorner, 0, 0);
    layout->addWidget(FHRuler, 0, 1);
    layout->addWidget(FVRuler, 1, 0);
    layout->addWidget(FScrollArea, 1, 1);

    connect(FHRuler, &TfrxRuler::GuideDragged, FWorkspace, &TDesignerWorkspace::DragGuideFromRuler);
    connect(FVRuler, &TfrxRuler::GuideDragged, FWorkspace, &TDesignerWorkspace::DragGuideFromRuler);
    connect(FWorkspace, &TfrxDesignerWorkspace::ViewChanged, this, &TfrxRulerScrollArea::UpdateRulers);
    // Scrolling and resizing move the workspace inside the scroll box.
    FWorkspace->installEventFilter(this);
    FScrollArea->viewport()->installEventFilter(this);
    SetUnits(FWorkspace->Units());
    UpdateRulers();
}

void TfrxRulerScrollArea::SetShowRulers(bool Value)
{
    FShowRulers = Value;
    FHRuler->setVisible(Value);
    FVRuler->setVisible(Value);
    FCorner->setVisible(Value);
}

void TfrxRulerScrollArea::SetUnits(TfrxDesignerUnits Value)
{
    FWorkspace->SetUnits(Value);
    FHRuler->SetUnits(Value);
    FVRuler->SetUnits(Value);
}

void TfrxRulerScrollArea::EnsureVisible(const QPointF &PagePoint)
{
    const QPointF w = FWorkspace->ToWidget(PagePoint);
    FScrollArea->ensureVisible(int(w.x()), int(w.y()), 50, 50);
}

void TfrxRulerScrollArea::UpdateRulers()
{
    const QPointF origin = FWorkspace->PageOrigin();
    const QPoint at = FWorkspace->mapTo(this, QPoint(0, 0));
    const QSizeF size = FWorkspace->PrintableSize();
    FHRuler->SetScale(FWorkspace->Scale());
    FVRuler->SetScale(FWorkspace->Scale());
    FHRuler->SetOffset(at.x() + origin.x() - FHRuler->x());
    FVRuler->SetOffset(at.y() + origin.y() - FVRuler->y());
    FHRuler->SetSize(size.width());
    FVRuler->SetSize(size.height());
}

bool TfrxRulerScrollArea::eventFilter(QObject *Watched, QEvent *Event)
{
    if ((Watched == FWorkspace || Watched == FScrollArea->viewport()) &&
        (Event->type() == QEvent::Move || Event->type() == QEvent::Resize))
        UpdateRulers();
    return QWidget::eventFilter(Watched, Event);
}
