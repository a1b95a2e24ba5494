// The bands repeated at the top of each new page or column: each band once,
// in the order added.

#include "report/engine/rudHeaderList.h"

void TfrxHeaderList::AddItem(TfrxBand *Band, double Left, bool IsInKeepList)
{
    for (const TfrxHeaderListItem &item : std::as_const(FItems))
        if (item.Band == Band)
            return;
    FItems.append({Band, Left, IsInKeepList});
}

void TfrxHeaderList::RemoveItem(TfrxBand *Band)
{
    for (qsizetype i = 0; i < FItems.size(); ++i)
        if (FItems[i].Band == Band) {
            FItems.removeAt(i);
            return;
        }
}
