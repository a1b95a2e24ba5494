#include "report/model/rudShapeView.h"

#include "report/model/rudRes.h"

TfrxShapeView::TfrxShapeView(TfrxComponent *AOwner) : TfrxView(AOwner)
{
    SetDescription(rudResources().Get(QStringLiteral("obShape")));
}

TfrxPropDescs TfrxShapeView::PropDescs()
{
    TfrxPropDescs descs{{"Cursor", 0}, {"Curve", 0}, {"FillType", int(ftBrush)}, {"Shape", int(skRectangle)}};
    rudAddTypeName(descs, "TCursor", {"Cursor"});
    return descs;
}
