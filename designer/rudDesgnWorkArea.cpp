// The designer window's wiring of its work area: the workspace in the
// scrolled area with rulers, kept in step with the window's page, zoom,
// units and grid, and its signals turned into the window's commands.

#include "designer/rudDesgn.h"

#include "designer/rudDesgnSettings.h"
#include "designer/rudGuidedWorkspace.h"
#include "designer/rudRulerScrollArea.h"
#include "report/model/rudBand.h"
#include "report/model/rudDialogPage.h"
#include "report/model/rudLineView.h"
#include "report/model/rudUnits.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <cmath>

namespace {

// A length in page units in the designer's unit, for the status bar.
double statusUnits(double Value, TfrxDesignerUnits Units, bool Horizontal)
{
    switch (Units) {
    case duCM:
        return Value / fr1cm;
    case duInches:
        return Value / fr1in;
    case duPixels:
        return Value;
    case duChars:
        return std::round(Value / (Horizontal ? fr1CharX : fr1CharY));
    }
    return Value;
}

QString pair(double A, double B)
{
    return QString::asprintf("%.2f; %.2f", A, B);
}

} // namespace

void TfrxDesignerForm::CreateWorkspace()
{
    FWorkspace = new TDesignerWorkspace();
    FWorkspace->setObjectName(QStringLiteral("Workspace"));
    FWorkspace->SetObjects(&FObjects);
    FWorkspace->SetSelectionModel(&FSelection);
    FArea = new TfrxRulerScrollArea(FWorkspace, FStack);
    FStack->addWidget(FArea);
    connect(FWorkspace, &TfrxDesignerWorkspace::Modified, this, [this] { SetModified(true, FWorkspace); });
    connect(FWorkspace, &TfrxDesignerWorkspace::Insert, this, &TfrxDesignerForm::OnWorkspaceInsert);
    connect(FWorkspace, &TfrxDesignerWorkspace::EditRequested, this, &TfrxDesignerForm::EditSelected);
    connect(FWorkspace, &TfrxDesignerWorkspace::NotifyPosition, this, &TfrxDesignerForm::OnWorkspaceNotifyPosition);
    connect(FWorkspace, &TfrxDesignerWorkspace::ScaleChanged, this, [this](double Scale) {
        FScale = Scale;
        FZoomBox->setEditText(QString::number(std::lround(FScale * 100)) + QLatin1Char('%'));
    });
}

void TfrxDesignerForm::WorkspaceDelete()
{
    FWorkspace->DeleteObjects();
}

void TfrxDesignerForm::WorkspaceGroup(bool Grouping)
{
    if (Grouping)
        FWorkspace->GroupObjects();
    else
        FWorkspace->UngroupObjects();
}

void TfrxDesignerForm::WorkspacePasted()
{
    FWorkspace->UpdateView();
    FWorkspace->SimulateMove();
}

void TfrxDesignerForm::UpdateWorkspace()
{
    if (!FPage)
        return;
    FWorkspace->UpdateView();
    // The status bar follows selections made anywhere (tree, inspector).
    const QList<TfrxComponent *> selected = FSelection.Views();
    if (selected.size() == 1) {
        const TfrxComponent *object = selected.first();
        OnWorkspaceNotifyPosition(QRectF(object->Left(), object->Top(), object->Width(), object->Height()));
    } else {
        OnWorkspaceNotifyPosition(selected.isEmpty() ? QRectF() : FWorkspace->SelectionBounds());
    }
}

void TfrxDesignerForm::UpdateWorkspaceSettings()
{
    if (!FWorkspace)
        return;
    const bool dialog = qobject_cast<TfrxDialogPage *>(FPage) != nullptr;
    // A page shown anew starts with the page selected; the same page keeps
    // its selection when only the view settings change.
    if (FWorkspace->Page() != FPage)
        FWorkspace->SetPage(FPage);
    FWorkspace->SetScale(FScale);
    FWorkspace->SetGrid(GridStepX(), GridStepY());
    if (dialog)
        FWorkspace->SetGridType(gtDialog);
    else
        FWorkspace->SetGridType(FUnits == duCM ? gt1cm : FUnits == duInches ? gt1in : FUnits == duChars ? gtChar : gt1pt);
    FWorkspace->SetShowGrid(FShowGrid);
    FWorkspace->SetGridAlign(FGridAlign);
    FWorkspace->SetShowGuides(FShowGuides);
    FWorkspace->SetGridLCD(FGridLCD);
    FWorkspace->SetFreeBands(FFreeBands);
    FWorkspace->SetShowBandCaptions(FShowBandCaptions);
    FWorkspace->SetBandsGap(FBandsGap);
    FArea->SetUnits(FUnits);
    FArea->SetShowRulers(FShowRulers);
}

void TfrxDesignerForm::WorkspaceAlign(const QString &Command)
{
    using W = TfrxDesignerWorkspace;
    static const QHash<QString, void (W::*)()> commands = {
        {QStringLiteral("AlignLeftB"), &W::AlignLeft},
        {QStringLiteral("AlignMiddleB"), &W::AlignMiddle},
        {QStringLiteral("AlignRightB"), &W::AlignRight},
        {QStringLiteral("AlignTopB"), &W::AlignTop},
        {QStringLiteral("AlignCenterB"), &W::AlignCenter},
        {QStringLiteral("AlignBottomB"), &W::AlignBottom},
        {QStringLiteral("SpaceHorzB"), &W::SpaceHorizontally},
        {QStringLiteral("SpaceVertB"), &W::SpaceVertically},
        {QStringLiteral("CenterHorzB"), &W::CenterHorizontallyInBand},
        {QStringLiteral("CenterVertB"), &W::CenterVerticallyInBand},
        {QStringLiteral("SameWidthB"), &W::SameWidth},
        {QStringLiteral("SameHeightB"), &W::SameHeight}};
    if (auto command = commands.value(Command, nullptr); command && FPage)
        (FWorkspace->*command)();
}

void TfrxDesignerForm::WorkspaceArm(const QMetaObject *Class)
{
    if (Class && IsRestricted(drDontInsertObject))
        return;
    FWorkspace->SetInsertion(Class, 0, 0);
}

void TfrxDesignerForm::OnWorkspaceInsert()
{
    const TfrxInsertion insertion = FWorkspace->Insertion();
    const QMetaObject *cls = insertion.ComponentClass;
    InsertObject(cls, QRectF(insertion.Left, insertion.Top, insertion.Width, insertion.Height));
    // A line tool stays armed for the next line; any other returns to the arrow.
    if (cls != &TfrxLineView::staticMetaObject) {
        FWorkspace->SetInsertion(nullptr, 0, 0);
        if (QAction *arrow = Action(QStringLiteral("ObjectSelectB")))
            arrow->setChecked(true);
    }
    FWorkspace->UpdateView();
}

void TfrxDesignerForm::OnWorkspaceNotifyPosition(const QRectF &Rect)
{
    if (Rect.isNull()) {
        FStatusPosition.clear();
    } else {
        FStatusPosition = pair(statusUnits(Rect.left(), FUnits, true), statusUnits(Rect.top(), FUnits, false)) +
                          QStringLiteral("   ") +
                          pair(statusUnits(Rect.width(), FUnits, true), statusUnits(Rect.height(), FUnits, false));
    }
    UpdateStatus();
}
