#include "report/model/rudDataSetItems.h"

TfrxDataSetItem *TfrxReportDataSets::Find(const TfrxComponent *DataSet) const
{
    if (!DataSet)
        return nullptr;
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->DataSet() == DataSet)
            return Items(i);
    return nullptr;
}

TfrxDataSetItem *TfrxReportDataSets::Find(const QString &Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (rudAnsiSameText(Items(i)->DataSetName(), Name))
            return Items(i);
    return nullptr;
}
