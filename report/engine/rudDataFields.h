#pragma once
// The seam between expressions and data sets. Data sets belong to the
// preparation engine's periphery; one of the report's services is a source
// that finds a report's data set by alias and reads the current record's
// fields.

#include "script/fs_ivariant.h"

#include <QString>
#include <memory>
#include <optional>

class TfrxComponent;
class TfrxReport;

// The broad type of a field, which decides what a Null value becomes.
enum class TfrxFieldKind { Other, Numeric, DateTime, String, Boolean, Memo };

// One field of the current record.
struct TfrxFieldData {
    TfsVariant Value = TfsVariant::Null();
    // The field's own display text.
    QString DisplayText;
    TfrxFieldKind Kind = TfrxFieldKind::Other;
};

// Where data fields come from; see the file comment.
class TfrxDataFieldSource {
public:
    virtual ~TfrxDataFieldSource() = default;
    // The data set of Report known by Alias, or nullptr.
    virtual TfrxComponent *FindDataSet(TfrxReport *Report, const QString &Alias) = 0;
    // The field of DataSet's current record; nullopt for an unknown field.
    virtual std::optional<TfrxFieldData> GetField(TfrxComponent *DataSet, const QString &Field) = 0;
};

// The source over the report's own data sets (rudFindReportDataSet).
std::shared_ptr<TfrxDataFieldSource> rudMakeDataSetSource();
