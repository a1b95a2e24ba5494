#include "report/model/rudLineView.h"

#include "report/model/rudRes.h"

TfrxCustomLineView::TfrxCustomLineView(TfrxComponent *AOwner) : TfrxStretcheable(AOwner)
{
    SetDescription(rudResources().Get(QStringLiteral("obLine")));
}

TfrxPropDescs TfrxCustomLineView::PropDescs()
{
    return {{"Diagonal", false}};
}

TfrxLineView::TfrxLineView(TfrxComponent *AOwner) : TfrxCustomLineView(AOwner) {}

TfrxPropDescs TfrxLineView::PropDescs()
{
    TfrxPropDescs descs{{"ArrowEnd", false}, {"ArrowLength", 20}, {"ArrowSolid", false},
                        {"ArrowStart", false}, {"ArrowWidth", 5},  {"Cursor", 0}};
    rudAddTypeName(descs, "TCursor", {"Cursor"});
    return descs;
}
