#include "report/model/rudHyperlink.h"

TfrxPropDescs TfrxHyperlink::PropDescs()
{
    return {{"Kind", int(hkURL)}, {"ValuesSeparator", QStringLiteral(";")}};
}

void TfrxHyperlink::Assign(const TfrxHyperlink &Source)
{
    rudAssignProps(this, &Source);
}

bool TfrxHyperlink::operator==(const TfrxHyperlink &Other) const
{
    return rudSameProps(this, &Other);
}
