// A CSV text for a data set: loaded, then every value of every row read.

#include "tests/fuzz/FuzzSupport.h"

#include "base/Errors.h"
#include "report/model/rudDataSet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    fuzzStartQt();
    TfrxMemoryDataSet data;
    try {
        data.LoadFromCSV(QByteArray(reinterpret_cast<const char *>(Data), qsizetype(Size)));
    } catch (const EConvertError &) {
        return 0;
    }
    const QStringList fields = data.FieldNames();
    for (data.First(); !data.Eof(); data.Next())
        for (const QString &field : fields) {
            data.GetValue(field);
            data.GetFieldType(field);
        }
    return 0;
}
