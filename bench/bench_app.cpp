// The certificate program's own speed: from start to the entry window on
// screen, and from the print command to the first painted preview page.

#include "app/main.h"
#include "base/FormatSettings.h"
#include "report/engine/rudEngineInit.h"
#include "report/render/SystemFonts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>

namespace {

// Start-up as main() does it after the application object: fonts,
// regional settings, engine, then the entry window until it is exposed.
void BM_StartToWindowShown(benchmark::State &state)
{
    for (auto _ : state) {
        registerSystemFonts();
        setFormatSettings(systemFormatSettings());
        rudEngineInit();
        TfmMain window;
        window.show();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&window));
    }
}
BENCHMARK(BM_StartToWindowShown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
