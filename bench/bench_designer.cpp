// The designer's speed on the certificate template: opening the window
// until its page is painted, and one undo snapshot of the report.

#include "base/FormatSettings.h"
#include "designer/rudDesgn.h"
#include "designer/rudDesgnInit.h"
#include "designer/rudDesgnUndo.h"
#include "report/model/rudReport.h"
#include "report/render/SystemFonts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString templatePath = QStringLiteral(RUD_SOURCE_DIR "/resources/shablon.fr3");

// Opening as the template command does: load, window, first paint.
void BM_OpenDesignerUntilPainted(benchmark::State &state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        TfrxReport report;
        report.LoadFromFile(templatePath);
        report.SetIniFile(dir.filePath(QStringLiteral("designer.ini")));
        TfrxDesignerForm designer(&report);
        designer.show();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&designer));
        QApplication::processEvents();
        designer.hide();
    }
}
BENCHMARK(BM_OpenDesignerUntilPainted)->Unit(benchmark::kMillisecond);

// One snapshot: the whole report written to memory.
void BM_UndoSnapshot(benchmark::State &state)
{
    TfrxReport report;
    report.LoadFromFile(templatePath);
    for (auto _ : state)
        benchmark::DoNotOptimize(TfrxUndoBuffer::Snapshot(&report));
}
BENCHMARK(BM_UndoSnapshot)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    registerSystemFonts();
    setFormatSettings(systemFormatSettings());
    rudDesignerInit();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
