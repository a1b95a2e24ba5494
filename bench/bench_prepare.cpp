// Speed of preparation: a band report over 50,000 in-memory rows (page
// header, group header and footer with a SUM, a master band of five memos of
// which two hold expressions over the fields, a page footer with
// "Page [Page#] of [TotalPages#]"), the certificate template, and templates
// of 12,500 to 50,000 objects (whose time per object must stay flat). The
// store's size per page is reported twice: the heap it holds after
// preparation and the bytes of its prepared-report file.

#include "report/render/rudRenderRuntime.h"
#include "report/engine/rudEngineInit.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudBand.h"
#include "report/model/rudDataSet.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudRenderInit.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

struct TBandBench {
    TfrxReport Report;
    bool Served = (Report.SetServices(rudSharedStandardServices()), true);
    TfrxMemoryDataSet Data;

    explicit TBandBench(int Rows)
    {
        Data.AddField(QStringLiteral("Name"));
        Data.AddField(QStringLiteral("Group"), fftNumeric);
        Data.AddField(QStringLiteral("Qty"), fftNumeric);
        Data.AddField(QStringLiteral("Price"), fftNumeric);
        for (int i = 0; i < Rows; ++i)
            Data.AppendRow({QStringLiteral("Trainee %1").arg(i), i / 50, i % 7 + 1, 10.5 + i % 13});
        TfrxDataSetItem *item = Report.DataSets()->Add();
        item->SetDataSet(&Data);
        item->SetDataSetName(QStringLiteral("D"));
        Data.SetUserName(QStringLiteral("D"));
        auto *page = new TfrxReportPage(&Report);
        page->SetName(QStringLiteral("Page1"));
        page->SetLeftMargin(10);
        page->SetRightMargin(10);
        page->SetTopMargin(10);
        page->SetBottomMargin(10);
        auto band = [&](TfrxBand *b, const QString &name, double top, double height) {
            b->SetName(name);
            b->SetBounds(0, top, 718, height);
            return b;
        };
        auto memo = [&](TfrxComponent *parent, const QString &name, const QString &text, double left) {
            auto *m = new TfrxMemoView(parent);
            m->SetName(name);
            m->SetBounds(left, 0, 130, 18);
            m->SetText(text);
            return m;
        };
        auto *header = band(new TfrxPageHeader(page), QStringLiteral("PageHeader1"), 0, 20);
        memo(header, QStringLiteral("Title"), QStringLiteral("Trainees"), 0);
        auto *group = static_cast<TfrxGroupHeader *>(band(new TfrxGroupHeader(page), QStringLiteral("GroupHeader1"), 40, 20));
        group->SetCondition(QStringLiteral("D.\"Group\""));
        memo(group, QStringLiteral("GroupTitle"), QStringLiteral("Group [D.\"Group\"]"), 0);
        auto *master = static_cast<TfrxMasterData *>(band(new TfrxMasterData(page), QStringLiteral("MasterData1"), 80, 20));
        master->SetDataSetName(QStringLiteral("D"));
        memo(master, QStringLiteral("M1"), QStringLiteral("[D.\"Name\"]"), 0);
        memo(master, QStringLiteral("M2"), QStringLiteral("[D.\"Qty\"]"), 140);
        memo(master, QStringLiteral("M3"), QStringLiteral("[<D.\"Qty\"> * <D.\"Price\">]"), 280);
        memo(master, QStringLiteral("M4"), QStringLiteral("[Line]"), 420);
        memo(master, QStringLiteral("M5"), QStringLiteral("fixed"), 560);
        auto *footer = band(new TfrxGroupFooter(page), QStringLiteral("GroupFooter1"), 120, 20);
        memo(footer, QStringLiteral("Sum"), QStringLiteral("Total [SUM(<D.\"Qty\">, MasterData1)]"), 0);
        auto *pageFooter = band(new TfrxPageFooter(page), QStringLiteral("PageFooter1"), 200, 20);
        memo(pageFooter, QStringLiteral("PageNo"), QStringLiteral("Page [Page#] of [TotalPages#]"), 0);
        Report.EngineOptions()->SetNewSilentMode(simReThrow);
        Report.EngineOptions()->SetEnableThreadSafe(true);
    }
};

// The prepared pages' file, in bytes per page.
double fileBytesPerPage(TfrxReport &Report)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Report.PreviewPages()->SaveToStream(&buffer);
    return double(buffer.size()) / std::max(1, Report.PreviewPages()->Count());
}

void BM_PrepareBandReport(benchmark::State &state)
{
    TBandBench bench(int(state.range(0)));
    int pages = 0;
    for (auto _ : state) {
        if (!bench.Report.PrepareReport())
            state.SkipWithError("preparation failed");
        pages = bench.Report.PreviewPages()->Count();
    }
    state.counters["pages"] = pages;
    state.counters["file_bytes_per_page"] = fileBytesPerPage(bench.Report);
    // Heap held by the store once preparation has ended.
    bench.Report.PreviewPages()->Clear();
    malloc_trim(0);
    const qint64 before = qint64(mallinfo2().uordblks);
    bench.Report.PrepareReport();
    state.counters["heap_bytes_per_page"] = double(qint64(mallinfo2().uordblks) - before) / std::max(1, pages);
}
BENCHMARK(BM_PrepareBandReport)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PrepareCertificate(benchmark::State &state)
{
    TfrxReport report;
    report.SetServices(rudSharedStandardServices());
    if (!report.LoadFromFile(QStringLiteral(RUD_SOURCE_DIR "/resources/shablon.fr3"))) {
        state.SkipWithError("no template");
        return;
    }
    report.EngineOptions()->SetEnableThreadSafe(true);
    for (auto _ : state)
        if (!report.PrepareReport())
            state.SkipWithError("preparation failed");
    state.counters["file_bytes_per_page"] = fileBytesPerPage(report);
}
BENCHMARK(BM_PrepareCertificate)->Unit(benchmark::kMillisecond);

// A template of Objects memos placed on one page, as a template file holds
// them: every object of a prepared report gets an alias of its kind ("m1",
// "m2", ...), which must cost the same for the last object as for the first.
void BM_PrepareManyObjects(benchmark::State &state)
{
    const int objects = int(state.range(0));
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TfrxReport><TfrxReportPage Name=\"Page1\" "
                     "PaperWidth=\"210\" PaperHeight=\"297\">";
    for (int i = 1; i <= objects; ++i)
        xml += QStringLiteral("<TfrxMemoView Name=\"Memo%1\" Left=\"%2\" Top=\"%3\" Width=\"60\" Height=\"10\" "
                              "Text=\"%1\"/>")
                   .arg(i)
                   .arg(i % 10 * 70)
                   .arg(i / 10 % 100 * 10)
                   .toUtf8();
    xml += "</TfrxReportPage></TfrxReport>";
    TfrxReport report;
    report.SetServices(rudSharedStandardServices());
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    report.LoadFromStream(&buffer);
    report.EngineOptions()->SetEnableThreadSafe(true);
    for (auto _ : state)
        if (!report.PrepareReport())
            state.SkipWithError("preparation failed");
    state.counters["objects"] = objects;
    state.counters["seconds_per_object"] = benchmark::Counter(double(objects) * state.iterations(),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PrepareManyObjects)->Arg(12500)->Arg(25000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    rudEngineInit();
    rudRenderInit();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
