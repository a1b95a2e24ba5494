// A group list in CSV: any encoding, delimiter and quoting the reader
// detects, every trainee's fields read.

#include "tests/fuzz/FuzzSupport.h"
#include "tests/fuzz/GroupListFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    fuzzStartQt();
    const QByteArray bytes(reinterpret_cast<const char *>(Data), qsizetype(Size));
    // A zip's signature would send the file to the XLSX reader.
    if (bytes.startsWith("PK\x03\x04"))
        return 0;
    fuzzReadGroupList(fuzzWriteFile(QStringLiteral("group.csv"), bytes));
    return 0;
}
