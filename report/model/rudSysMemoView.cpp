#include "report/model/rudSysMemoView.h"

#include "report/model/rudRes.h"

TfrxSysMemoView::TfrxSysMemoView(TfrxComponent *AOwner) : TfrxCustomMemoView(AOwner)
{
    SetDescription(rudResources().Get(QStringLiteral("obSysText")));
}

TfrxPropDescs TfrxSysMemoView::PropDescs()
{
    // The memo's stored predicates take any TfrxCustomMemoView.
    return TfrxMemoView::PropDescs();
}
