#include "report/model/rudSubreport.h"

#include "report/model/rudRes.h"

TfrxSubreport::TfrxSubreport(TfrxComponent *AOwner) : TfrxView(AOwner)
{
    SetDescription(rudResources().Get(QStringLiteral("obSubRep")));
}

TfrxPropDescs TfrxSubreport::PropDescs()
{
    return {{"PrintOnParent", false}};
}
