// The designer window's record of changes: set-modified with its undo
// snapshot, a selection change passed on to the other parts, undo and redo.

#include "designer/rudDesgn.h"

#include "designer/rudDesgnUndo.h"
#include "designer/rudInsp.h"
#include "designer/rudReportTree.h"
#include "report/model/rudReport.h"

#include <QPlainTextEdit>

void TfrxDesignerForm::SetModified(bool Value, QObject *Sender)
{
    CodeToScript();
    FModified = Value;
    SnapshotToUndo();
    FUndo->ClearRedo();
    if (FPage) {
        // Objects may have come or gone: the flat list follows the tree, and
        // the selection keeps only what still exists.
        RebuildObjects();
        FSelection.KeepExisting();
    }
    if (FReportTree && Sender != FReportTree)
        FReportTree->UpdateItems();
    if (FInspector && Sender != FInspector) {
        // Objects may have been made or freed: the combo and the lists are
        // built anew from what exists now.
        FInspector->UpdateObjects();
        FInspector->UpdateSelection();
    }
    UpdateWorkspace();
    UpdateCaption();
    UpdateControls();
}

void TfrxDesignerForm::SelectionChanged(QObject *Sender)
{
    if (FReportTree && Sender != FReportTree)
        FReportTree->UpdateSelection();
    if (FInspector && Sender != FInspector)
        FInspector->UpdateSelection();
    UpdateWorkspace();
    UpdateControls();
}

void TfrxDesignerForm::UpdateInspector()
{
    if (FInspector)
        FInspector->UpdateProperties();
}

void TfrxDesignerForm::SnapshotToUndo()
{
    FUndo->AddUndo(FReport);
}

int TfrxDesignerForm::UndoCount() const
{
    return FUndo->UndoCount();
}

int TfrxDesignerForm::RedoCount() const
{
    return FUndo->RedoCount();
}

void TfrxDesignerForm::LoadSnapshot(const QByteArray &Snapshot)
{
    const int index = FPage ? PageIndexOf(FPage) : 0;
    ReleasePage();
    TfrxUndoBuffer::Restore(FReport, Snapshot);
    FUpdatingTextBar = true;
    FCodeWindow->setPlainText(FReport->ScriptText().join(QLatin1Char('\n')));
    FUpdatingTextBar = false;
    ReloadPages(index);
}

void TfrxDesignerForm::Undo()
{
    if (CodeTabShown()) {
        FCodeWindow->undo();
        return;
    }
    if (FUndo->UndoCount() < 2)
        return;
    FUndo->AddRedo(FReport);
    LoadSnapshot(FUndo->PopUndo());
    FModified = true;
    UpdateCaption();
    UpdateControls();
}

void TfrxDesignerForm::Redo()
{
    if (CodeTabShown() || FUndo->RedoCount() == 0)
        return;
    LoadSnapshot(FUndo->PopRedo());
    FUndo->AddUndo(FReport);
    FModified = true;
    UpdateControls();
}
