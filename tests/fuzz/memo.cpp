// A memo's text with bracketed expressions: expanded as the engine does
// before printing it, with the report's script prepared; expressions run
// with a quarter of a second at most.

#include "tests/fuzz/FuzzSupport.h"

#include "base/Errors.h"
#include "report/engine/rudEngineRuntime.h"
#include "report/engine/rudEngineInit.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "script/fs_iinterpreter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    fuzzStartQt();
    static const bool initialised = (rudEngineInit(), true);
    (void)initialised;
    TfrxReport report;
    report.SetServices(std::make_shared<const TfrxServices>(rudEngineServices()));
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *memo = new TfrxMemoView(page);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetText(fuzzText(Data, Size));
    if (!report.PrepareScript())
        std::abort();
    report.SetCurObject(memo->Name());
    fsSetTimeLimit(250);
    try {
        memo->BeforePrint();
        memo->GetData();
    } catch (const Exception &) {
        // A wrong expression is reported to the report's errors and raised.
    }
    fsSetTimeLimit(0);
    memo->AfterPrint();
    return 0;
}
