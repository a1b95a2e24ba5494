// The prepared pages store at the size of a long report: 1,000 pages of 50
// memos, each memo differing from its source copy only in its text. Measures
// adding the pages (with the store's heap growth per page), rebuilding a
// page from its item, destroying a rebuilt page, and saving and loading the
// prepared-report file.

#include "report/render/rudRenderRuntime.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudClass.h"
#include "report/model/rudBand.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <malloc.h>

namespace {

constexpr int PageCount = 1000;
constexpr int MemoCount = 50;

// A report with one A5 page of 50 memos, placed as on the certificate.
struct TLongReport {
    TfrxReport Report;
    bool Served = (Report.SetServices(rudSharedStandardServices()), true);
    TfrxReportPage *Page = new TfrxReportPage(&Report);
    QList<TfrxMemoView *> Memos;
    qint64 TextBytes = 0; // UTF-16 bytes of the memo texts of all pages

    TLongReport()
    {
        Page->SetName(QStringLiteral("Page1"));
        Page->SetPaperSize(11);
        for (int i = 0; i < MemoCount; ++i) {
            auto *memo = new TfrxMemoView(Page);
            memo->SetName(QStringLiteral("Memo%1").arg(i + 1));
            memo->SetBounds(3.77952756, 18.8976377952756 + 15.2 * i, 468.66172, 15.11811024);
            memo->Font()->SetName(QStringLiteral("Times New Roman"));
            memo->Font()->SetCharset(204);
            memo->SetHAlign(haCenter);
            Memos.append(memo);
        }
    }

    // Prepares every page into the report's store.
    TfrxPreviewPages *Prepare()
    {
        auto *pages = dynamic_cast<TfrxPreviewPages *>(Report.PreviewPages());
        pages->Clear();
        pages->Initialize();
        pages->AddSourcePage(Page);
        pages->BeginPass();
        TextBytes = 0;
        for (int p = 0; p < PageCount; ++p) {
            pages->AddPage(Page);
            TfrxNullBand band(nullptr);
            for (int i = 0; i < MemoCount; ++i) {
                const QString text = QStringLiteral("Иванов Иван Иванович, стр. %1, поле %2").arg(p).arg(i);
                TextBytes += text.size() * 2;
                Memos[i]->SetText(text);
                band.ListObject(Memos[i]);
            }
            pages->AddObject(&band);
            band.ReleaseObjects();
        }
        pages->Finish();
        return pages;
    }
};

qint64 heapInUse()
{
    return qint64(mallinfo2().uordblks);
}

void BM_AddPages(benchmark::State &state)
{
    TLongReport r;
    double perPage = 0, textPerPage = 0;
    for (auto _ : state) {
        state.PauseTiming();
        dynamic_cast<TfrxPreviewPages *>(r.Report.PreviewPages())->Clear();
        malloc_trim(0);
        const qint64 before = heapInUse();
        state.ResumeTiming();
        r.Prepare();
        state.PauseTiming();
        perPage = double(heapInUse() - before) / PageCount;
        textPerPage = double(r.TextBytes) / PageCount;
        state.ResumeTiming();
    }
    state.counters["store_bytes_per_page"] = perPage;
    state.counters["text_bytes_per_page"] = textPerPage;
    state.counters["beyond_text_per_page"] = perPage - textPerPage;
}
BENCHMARK(BM_AddPages)->Unit(benchmark::kMillisecond)->Iterations(3);

// Rebuilding alone: the cache holds every page, so each iteration builds
// another page and none is destroyed while timed.
void BM_RebuildPage(benchmark::State &state)
{
    TLongReport r;
    TfrxPreviewPages *pages = r.Prepare();
    r.Report.PreviewOptions()->SetPagesInCache(PageCount);
    int index = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(pages->GetPage(index++));
}
BENCHMARK(BM_RebuildPage)->Unit(benchmark::kMicrosecond)->Iterations(PageCount);

// Destroying a page as the cache drops it: a page holding what a rebuilt
// page holds, made while the timer is stopped.
void BM_DropPage(benchmark::State &state)
{
    TLongReport r;
    TfrxPreviewPages *pages = r.Prepare();
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<TfrxReportPage>(nullptr);
        page->AssignAll(pages->GetPage(0));
        state.ResumeTiming();
        page.reset();
    }
}
BENCHMARK(BM_DropPage)->Unit(benchmark::kMicrosecond);

// Both in turn, as a cache of one page does when two pages are asked for
// alternately.
void BM_RebuildAndDropPage(benchmark::State &state)
{
    TLongReport r;
    TfrxPreviewPages *pages = r.Prepare();
    r.Report.PreviewOptions()->SetPagesInCache(1);
    int index = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pages->GetPage(index));
        index = index == 0 ? PageCount - 1 : 0;
    }
}
BENCHMARK(BM_RebuildAndDropPage)->Unit(benchmark::kMicrosecond);

void BM_SaveFile(benchmark::State &state)
{
    TLongReport r;
    TfrxPreviewPages *pages = r.Prepare();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("long.fp3"));
    for (auto _ : state)
        pages->SaveToFile(file);
    state.counters["file_bytes"] = double(QFileInfo(file).size());
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

void BM_LoadFile(benchmark::State &state)
{
    TLongReport r;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("long.fp3"));
    r.Prepare()->SaveToFile(file);
    TfrxReport other;
    other.SetServices(rudSharedStandardServices());
    auto *pages = dynamic_cast<TfrxPreviewPages *>(other.PreviewPages());
    for (auto _ : state)
        pages->LoadFromFile(file);
    if (pages->Count() != PageCount)
        state.SkipWithError("the file did not load whole");
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
