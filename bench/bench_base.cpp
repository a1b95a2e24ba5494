// Throughput of the runtime's formatting.

#include <QString>
#include <benchmark/benchmark.h>

static void BM_QStringNumber(benchmark::State &state)
{
    double v = 41982.6347830324;
    for (auto _ : state)
        benchmark::DoNotOptimize(QString::number(v, 'g', 15));
}
BENCHMARK(BM_QStringNumber);

BENCHMARK_MAIN();
