#include "report/model/rudDialogPage.h"

#include "report/model/rudRes.h"

TfrxDialogPage::TfrxDialogPage(TfrxComponent *AOwner) : TfrxPage(AOwner)
{
    SetBaseName(QStringLiteral("Dialog"));
    SetDescription(rudResources().Get(QStringLiteral("obDlgPage")));
    Font()->SetName(QStringLiteral("Tahoma"));
    Font()->SetHeight(-11);
    SetWidth(300);
    SetHeight(200);
}

TfrxPropDescs TfrxDialogPage::PropDescs()
{
    TfrxPropDescs descs{{"BorderStyle", int(bsDialog)},
                        {"Color", int(clBtnFace)},
                        {"Position", int(poScreenCenter)},
                        {"WindowState", int(wsNormal)}};
    rudAddTypeName(descs, "TColor", {"Color"});
    rudAddTypeName(descs, "TfrxNotifyEvent", {"OnActivate", "OnClick", "OnDeactivate", "OnHide", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnResize", "OnShow"});
    return descs;
}

TfrxDialogComponent::TfrxDialogComponent(TfrxComponent *AOwner) : TfrxReportComponent(AOwner) {}
