#include "report/model/rudStyles.h"

TfrxStyleItem *TfrxStyles::Find(const QString &Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (rudAnsiSameText(Items(i)->Name(), Name))
            return Items(i);
    return nullptr;
}
