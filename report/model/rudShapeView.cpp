#include "report/model/rudShapeView.h"

#include "report/model/rudRes.h"

TfrxShapeView::TfrxShapeView(TfrxComponent *AOwner) : TfrxView(AOwner)
{
    SetDescription(rudResources().Get(QStringLiteral("obShape")));
}

TfrxPropDescs TfrxShapeView::PropDescs()
{
    return {{"Cursor", 0}, {"Curve", 0}, {"FillType", int(ftBrush)}, {"Shape", int(skRectangle)}};
}
