// A prepared report file: loaded into the store; a loaded store rebuilds
// and measures every page, finds objects on them and saves itself.

#include "tests/fuzz/FuzzSupport.h"

#include "base/Errors.h"
#include "report/engine/rudEngineRuntime.h"
#include "report/engine/rudEngineInit.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    fuzzStartQt();
    static const bool initialised = (rudEngineInit(), true);
    (void)initialised;
    QByteArray bytes(reinterpret_cast<const char *>(Data), qsizetype(Size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TfrxReport report;
    report.SetServices(std::make_shared<const TfrxServices>(rudEngineServices()));
    auto *pages = dynamic_cast<TfrxPreviewPages *>(report.PreviewPages());
    try {
        pages->LoadFromStream(&buffer);
    } catch (const Exception &) {
        return 0;
    }
    for (int i = 0; i < pages->Count(); ++i) {
        pages->GetPage(i);
        pages->GetPageSize(i);
        pages->ObjectOver(i, 15, 15);
    }
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    pages->SaveToStream(&out);
    return 0;
}
