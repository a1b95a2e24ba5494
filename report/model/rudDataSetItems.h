#pragma once
// The report's list of the data sets it uses.

#include "report/model/rudCollection.h"
#include "report/model/rudComponent.h"

#include <QPointer>

// One data set the report uses: the data component and its name.
class TfrxDataSetItem : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(TfrxComponent *DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataSetName READ DataSetName WRITE SetDataSetName)
public:
    TfrxComponent *DataSet() const { return FDataSet; }
    void SetDataSet(TfrxComponent *Value) { FDataSet = Value; }
    const QString &DataSetName() const { return FDataSetName; }
    void SetDataSetName(const QString &Value) { FDataSetName = Value; }

private:
    QPointer<TfrxComponent> FDataSet;
    QString FDataSetName;
};

// The report's DataSets (stored in templates) and EnabledDataSets (filled
// while preparing).
class TfrxReportDataSets : public TfrxReportCollection<TfrxDataSetItem> {
public:
    // Appends a new empty item.
    TfrxDataSetItem *Add() { return InsertItem(Count(), std::make_unique<TfrxDataSetItem>()); }
    // The first item whose data set is DataSet, or nullptr.
    TfrxDataSetItem *Find(const TfrxComponent *DataSet) const;
    // The first item whose DataSetName equals Name ignoring case, or nullptr.
    TfrxDataSetItem *Find(const QString &Name) const;
};
