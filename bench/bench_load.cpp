// Loading templates of 1,000 to 100,000 uniquely named memos (time per object
// should stay flat: every name lookup of the load goes through an index), and
// reading 1,000,000 sibling elements with the XML reader alone.

#include "report/render/rudRenderRuntime.h"
#include "report/model/rudClass.h"
#include "report/model/rudXML.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QCoreApplication>

namespace {

// A template with one page of n memos, every tenth one flowing its text to
// the next memo (a reference resolved by name once the tree is read).
QByteArray templateWith(int n)
{
    QByteArray d;
    d += "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n";
    d += "<TfrxReport Version=\"5.1.1\" DotMatrixReport=\"False\" ScriptLanguage=\"PascalScript\">\r\n";
    d += "  <TfrxReportPage Name=\"Page1\" PaperWidth=\"148\" PaperHeight=\"210\">\r\n";
    for (int i = 0; i < n; ++i)
        d += "    <TfrxMemoView Name=\"Memo" + QByteArray::number(i) + "\" Left=\"3,78\" Top=\"" +
             QByteArray::number(i % 40 * 19) + "\" Width=\"468,66\" Height=\"15,12\" Text=\"Line " +
             QByteArray::number(i) + "&#13;&#10;second\"" +
             (i % 10 == 0 && i + 1 < n ? " FlowTo=\"Memo" + QByteArray::number(i + 1) + "\"" : QByteArray()) + "/>\r\n";
    d += "  </TfrxReportPage>\r\n";
    d += "</TfrxReport>\r\n";
    return d;
}

void perObject(benchmark::State &state, int n)
{
    state.counters["per_object"] =
        benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_LoadTemplate(benchmark::State &state)
{
    const int n = int(state.range(0));
    QByteArray bytes = templateWith(n);
    for (auto _ : state) {
        TfrxReport report;
        report.SetServices(rudSharedStandardServices());
        report.EngineOptions()->SetNewSilentMode(simSilent);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        report.LoadFromStream(&buffer);
        if (!report.Errors().isEmpty())
            state.SkipWithError(report.Errors().first().toUtf8().constData());
        benchmark::DoNotOptimize(report.AllObjects().size());
    }
    perObject(state, n);
}
BENCHMARK(BM_LoadTemplate)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ReadSiblings(benchmark::State &state)
{
    const int n = int(state.range(0));
    QByteArray bytes = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n<root>\r\n";
    for (int i = 0; i < n; ++i)
        bytes += "<item a=\"" + QByteArray::number(i) + "\"/>\r\n";
    bytes += "</root>\r\n";
    for (auto _ : state) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TfrxXMLDocument doc;
        doc.LoadFromStream(&buffer);
        benchmark::DoNotOptimize(doc.Root()->Count());
    }
    perObject(state, n);
}
BENCHMARK(BM_ReadSiblings)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
