// Throughput of the runtime's number texts: FormatFloat, FloatToStr and
// StrToFloat over a spread of values, with Qt's own conversion as a yardstick.

#include "base/NumberFormat.h"

#include <QString>
#include <benchmark/benchmark.h>

#include <vector>

namespace {

const std::vector<double> &values()
{
    static const std::vector<double> v = {41982.6347830324, 2.25, 0.15, 1234567.891, -0.001,
                                          1e20, 3.14159265358979, 99.995, 7, 1.0 / 3};
    return v;
}

const TFormatSettings &settings()
{
    static const TFormatSettings s = russianFormatSettings();
    return s;
}

} // namespace

static void BM_FormatFloatHours(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatFloat(QStringLiteral("0.#"), values()[i++ % values().size()], settings()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatFloatHours);

static void BM_FormatFloatThousands(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            FormatFloat(QStringLiteral("#,##0.00;(#,##0.00)"), values()[i++ % values().size()], settings()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatFloatThousands);

static void BM_FloatToStr(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(FloatToStr(values()[i++ % values().size()], settings()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FloatToStr);

static void BM_FormatPrintf(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            Format(QStringLiteral("%2.2f"), {values()[i++ % values().size()]}, settings()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatPrintf);

static void BM_StrToFloat(benchmark::State &state)
{
    std::vector<QString> texts;
    for (double v : values())
        texts.push_back(FloatToStr(v, settings()));
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(StrToFloat(texts[i++ % texts.size()], settings()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StrToFloat);

static void BM_QStringNumber(benchmark::State &state)
{
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(QString::number(values()[i++ % values().size()], 'g', 15));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_QStringNumber);

BENCHMARK_MAIN();
