// Speed of memo text expansion through GetData: a memo with two bracketed
// expressions (report variables read through angle brackets, and a system
// variable) after the first compile, and a memo without brackets, which must
// not reach the script at all.

#include "report/render/rudRenderRuntime.h"
#include "report/engine/rudEngineInit.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"

#include <benchmark/benchmark.h>

namespace {

struct TBenchReport {
    bool Initialised = (rudEngineInit(), true);
    TfrxReport Report;
    bool Served = (Report.SetServices(rudSharedStandardServices()), true);
    TfrxReportPage *Page = new TfrxReportPage(&Report);
    TfrxMemoView *Memo = new TfrxMemoView(Page);

    explicit TBenchReport(const QString &text)
    {
        Page->SetName(QStringLiteral("Page1"));
        Memo->SetName(QStringLiteral("Memo1"));
        Memo->SetText(text);
        Report.Variables()->SetVariables(QStringLiteral("a"), 5);
        Report.Variables()->SetVariables(QStringLiteral("b"), 7);
        Report.PrepareScript();
        Report.SetCurObject(Memo->Name());
        Memo->BeforePrint();
    }
};

void BM_ExpandBracketed(benchmark::State &state)
{
    TBenchReport r(QStringLiteral("Итого: [<a> + <b> * 2] руб. [Page#]"));
    const QStringList design = r.Memo->Memo();
    r.Memo->GetData(); // the first call compiles
    if (r.Memo->Text() != QStringLiteral("Итого: 19 руб. 1\r\n"))
        state.SkipWithError(("unexpected text " + r.Memo->Text()).toUtf8().constData());
    for (auto _ : state) {
        r.Memo->SetMemo(design);
        r.Memo->GetData();
        benchmark::DoNotOptimize(r.Memo->Memo().constData());
    }
}
BENCHMARK(BM_ExpandBracketed);

void BM_ExpandPlain(benchmark::State &state)
{
    TBenchReport r(QStringLiteral("Иванов Иван Иванович, автошкола «Вираж»"));
    for (auto _ : state) {
        r.Memo->GetData();
        benchmark::DoNotOptimize(r.Memo->Memo().constData());
    }
}
BENCHMARK(BM_ExpandPlain);

} // namespace

BENCHMARK_MAIN();
