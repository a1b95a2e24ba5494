// A template: loaded, saved, and the saved text loaded and saved again,
// which must give the same text (the same tree). A template that loads
// with errors is only saved.

#include "tests/fuzz/FuzzSupport.h"

#include "base/Errors.h"
#include "report/engine/rudEngineRuntime.h"
#include "report/engine/rudEngineInit.h"
#include "report/model/rudReport.h"

#include <QBuffer>
#include <cstdio>
#include <cstdlib>

namespace {

// Loads Bytes into a new report and saves it; false when the load failed.
bool roundTrip(const QByteArray &Bytes, QByteArray &Saved)
{
    QByteArray copy = Bytes;
    QBuffer source(&copy);
    source.open(QIODevice::ReadOnly);
    TfrxReport report;
    report.SetServices(std::make_shared<const TfrxServices>(rudEngineServices()));
    try {
        report.LoadFromStream(&source);
    } catch (const Exception &) {
        return false;
    }
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    report.SaveToStream(&target);
    Saved = target.data();
    return !report.LoadFailed() && report.Errors().isEmpty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    fuzzStartQt();
    static const bool initialised = (rudEngineInit(), true);
    (void)initialised;
    QByteArray first, second;
    if (!roundTrip(QByteArray(reinterpret_cast<const char *>(Data), qsizetype(Size)), first))
        return 0;
    if (!roundTrip(first, second) || second != first) {
        std::fprintf(stderr, "The saved template reads back differently:\n%s\n----\n%s\n", first.constData(),
                     second.constData());
        std::abort();
    }
    return 0;
}
