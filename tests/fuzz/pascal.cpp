// A program of the PascalScript language: compiled and, when it compiles, run.

#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    fuzzStartQt();
    fuzzRunScript(QStringLiteral("PascalScript"), fuzzText(Data, Size));
    return 0;
}
