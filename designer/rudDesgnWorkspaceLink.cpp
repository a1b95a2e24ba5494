// The designer window's side of its work area.

#include "designer/rudDesgn.h"

void TfrxDesignerForm::CreateWorkspace() {}

bool TfrxDesignerForm::WorkspaceDelete()
{
    return false;
}

bool TfrxDesignerForm::WorkspaceGroup(bool)
{
    return false;
}

void TfrxDesignerForm::WorkspacePasted() {}

void TfrxDesignerForm::UpdateWorkspace() {}

void TfrxDesignerForm::UpdateWorkspaceSettings() {}

void TfrxDesignerForm::WorkspaceAlign(const QString &) {}

void TfrxDesignerForm::WorkspaceArm(const QMetaObject *) {}

void TfrxDesignerForm::OnWorkspaceInsert() {}
