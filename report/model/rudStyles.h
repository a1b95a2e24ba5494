#pragma once
// The report's style sheet.

#include "report/model/rudCollection.h"
#include "report/model/rudStyleItem.h"

// The report's Styles: styles with names unique within the collection.
class TfrxStyles : public TfrxReportCollection<TfrxStyleItem> {
public:
    // Appends a new style without a name.
    TfrxStyleItem *Add() { return InsertItem(Count(), std::make_unique<TfrxStyleItem>(this)); }
    // The first style named Name (case ignored), or nullptr.
    TfrxStyleItem *Find(const QString &Name) const;
};
