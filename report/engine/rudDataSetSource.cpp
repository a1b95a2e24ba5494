// The data sets of report/model answer data fields in expressions
// (Alias."Field") through the data-field seam of the expressions.

#include "report/engine/rudDataFields.h"
#include "report/model/rudDataSet.h"

namespace {

class TfrxDataSetFieldSource final : public TfrxDataFieldSource {
public:
    TfrxComponent *FindDataSet(TfrxReport *Report, const QString &Alias) override
    {
        return rudFindReportDataSet(Report, Alias);
    }
    std::optional<TfrxFieldData> GetField(TfrxComponent *DataSet, const QString &Field) override
    {
        auto *ds = qobject_cast<TfrxDataSet *>(DataSet);
        TfrxFieldRead read;
        if (!ds || !ds->ReadField(Field, read))
            return std::nullopt;
        TfrxFieldData data;
        data.Value = read.Value.isNull() ? TfsVariant::Null() : TfsVariant::FromQVariant(read.Value);
        data.DisplayText = read.DisplayText;
        if (read.Blob) {
            data.Kind = TfrxFieldKind::Memo;
        } else {
            switch (read.Type) {
            case fftNumeric: data.Kind = TfrxFieldKind::Numeric; break;
            case fftString: data.Kind = TfrxFieldKind::String; break;
            case fftBoolean: data.Kind = TfrxFieldKind::Boolean; break;
            case fftDateTime: data.Kind = TfrxFieldKind::DateTime; break;
            }
        }
        return data;
    }
};

} // namespace

std::shared_ptr<TfrxDataFieldSource> rudMakeDataSetSource()
{
    return std::make_shared<TfrxDataSetFieldSource>();
}
