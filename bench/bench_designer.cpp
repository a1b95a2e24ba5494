// The designer's speed on the certificate template: opening the window
// until its page is painted, one undo snapshot, and in the workspace at
// zoom 1 with one memo selected a whole repaint and one step of a drag (the
// mouse moves the memo by a grid step and the changed part is repainted).

#include "designer/rudDesgn.h"
#include "designer/rudDesgnInit.h"
#include "designer/rudDesgnUndo.h"
#include "designer/rudGuidedWorkspace.h"
#include "report/render/rudRenderRuntime.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/SystemFonts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The certificate template shown in the workspace, Memo5 selected.
struct TCertificateWorkspace {
    TCertificateWorkspace()
    {
        Report.LoadFromFile(QStringLiteral(RUD_SOURCE_DIR "/resources/shablon.fr3"));
        for (TfrxComponent *c : Report.Objects())
            if (auto *page = qobject_cast<TfrxReportPage *>(c))
                Page = page;
        Memo5 = qobject_cast<TfrxMemoView *>(Report.FindObject(QStringLiteral("Memo5")));
        Objects.append(Page);
        Objects.append(Page->AllObjects());
        Workspace.SetObjects(&Objects);
        Workspace.SetGrid(fr01cm, fr01cm);
        Workspace.SetPage(Page);
        Workspace.show();
        if (!QTest::qWaitForWindowExposed(&Workspace))
            qWarning("The workspace was never shown: its timings would draw nothing");
        Workspace.Selection().Assign({Memo5});
        Workspace.UpdateView();
        QApplication::processEvents();
    }
    QPoint At(double Dx, double Dy) const
    {
        return Workspace.ToWidget(QPointF(Memo5->Left() + 50 + Dx, Memo5->Top() + 5 + Dy)).toPoint();
    }
    void Move(const QPoint &Pos)
    {
        QMouseEvent event(QEvent::MouseMove, QPointF(Pos), Workspace.mapToGlobal(QPointF(Pos)), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&Workspace, &event);
    }

    TfrxReport Report;
    bool Served = (Report.SetServices(rudSharedStandardServices()), true);
    TfrxReportPage *Page = nullptr;
    TfrxMemoView *Memo5 = nullptr;
    QList<TfrxComponent *> Objects;
    TDesignerWorkspace Workspace;
};

void BM_RepaintWholePage(benchmark::State &state)
{
    TCertificateWorkspace w;
    for (auto _ : state)
        w.Workspace.repaint();
}
BENCHMARK(BM_RepaintWholePage)->Unit(benchmark::kMillisecond);

// One mouse move of a drag, a grid step (1 mm) down or back up, and the
// repaint it asks for.
void BM_DragStep(benchmark::State &state)
{
    TCertificateWorkspace w;
    const QPoint start = w.At(0, 0);
    QTest::mousePress(&w.Workspace, Qt::LeftButton, Qt::NoModifier, start);
    bool down = true;
    for (auto _ : state) {
        w.Move(start + QPoint(0, down ? 4 : 0));
        QApplication::processEvents();
        down = !down;
    }
    QTest::mouseRelease(&w.Workspace, Qt::LeftButton, Qt::NoModifier, start);
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMillisecond);

// Opening as the template command does: load, window, first paint of its
// page.
void BM_OpenDesignerUntilPainted(benchmark::State &state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        TfrxReport report;
        report.SetServices(rudSharedStandardServices());
        report.LoadFromFile(QStringLiteral(RUD_SOURCE_DIR "/resources/shablon.fr3"));
        report.SetIniFile(dir.filePath(QStringLiteral("designer.ini")));
        TfrxDesignerForm designer(&report);
        designer.show();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&designer));
        QApplication::processEvents();
        designer.hide();
    }
}
BENCHMARK(BM_OpenDesignerUntilPainted)->Unit(benchmark::kMillisecond);

// One undo snapshot: the whole report written to memory.
void BM_UndoSnapshot(benchmark::State &state)
{
    TfrxReport report;
    report.SetServices(rudSharedStandardServices());
    report.LoadFromFile(QStringLiteral(RUD_SOURCE_DIR "/resources/shablon.fr3"));
    for (auto _ : state)
        benchmark::DoNotOptimize(TfrxUndoBuffer::Snapshot(&report));
}
BENCHMARK(BM_UndoSnapshot)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    registerSystemFonts();
    rudDesignerInit();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
