// Sub-reports: the band tree of another report page printed from a band.
// A sub-report printed below its band comes out after the band, at the
// sub-report's left; one printed on its parent band is run while the band
// is evaluated, its output collected and made part of the band, which
// grows with it.
//
// A sub-report lying directly on a report page (not on a band) is part of
// the page's flow, as a report designer lays a page out top to bottom: the
// walk of the page's first-level data bands meets it by its designed top
// (a data band counts from the top of its header or its first group header),
// so the bands designed above it come out first and those designed below it
// come out after it. Its rows start at its designed left and top, or lower
// when the output above already reaches further down; they break pages like
// any band, and the flow goes on below the last of them. Its designed top
// counts on the prepared page where the page's walk began; after a page
// break the sub-report simply follows. PrintOnParent makes no difference on
// a page: a page is no band that could grow to hold the output.

#include "report/engine/rudSubreportOutput.h"

#include "report/engine/rudBandObjects.h"
#include "report/engine/rudCustomEngine.h"
#include "report/engine/rudEngineSeam.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudBand.h"
#include "report/model/rudReport.h"
#include "report/model/rudSubreport.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

namespace {

// Where a first-level data band's part of the page begins in the design.
double flowTop(TfrxBand *Band)
{
    double top = Band->Top();
    if (TfrxBand *header = Band->Header())
        top = std::min(top, header->Top());
    for (TfrxBand *group : Band->Group())
        top = std::min(top, group->Top());
    return top;
}

} // namespace

TfrxSubreportOutput::TfrxSubreportOutput(TfrxEngineSeam &Engine) : FEngine(Engine) {}

bool TfrxSubreportOutput::CanWalkSubreport(TfrxReportPage *Page) const
{
    return Page && Page != FEngine.CurReportPage() && !FSubreportPath.contains(Page);
}

namespace {

// Marks a sub-report page as being walked for as long as it lives.
struct TSubreportWalk {
    QList<TfrxReportPage *> &Path;
    TSubreportWalk(QList<TfrxReportPage *> &APath, TfrxReportPage *Page) : Path(APath) { Path.append(Page); }
    ~TSubreportWalk() { Path.removeLast(); }
    TSubreportWalk(const TSubreportWalk &) = delete;
    TSubreportWalk &operator=(const TSubreportWalk &) = delete;
};

} // namespace

void TfrxSubreportOutput::WalkSubreport(TfrxSubreport *Subreport)
{
    const TSubreportWalk walk(FSubreportPath, Subreport->Page());
    FEngine.WalkSubreportTree(Subreport);
}

// The objects lying directly on a page come out through the null band;
// the sub-reports among them are left to the page's flow.
void TfrxSubreportOutput::CheckSubReports(TfrxBand *Band)
{
    if (qobject_cast<TfrxNullBand *>(Band))
        return;
    const QList<TfrxComponent *> objects = Band->Objects();
    for (TfrxComponent *c : objects) {
        auto *sub = qobject_cast<TfrxSubreport *>(c);
        if (!sub || sub->PrintOnParent() || !sub->Visible() || !CanWalkSubreport(sub->Page()))
            continue;
        WalkSubreport(sub);
    }
}

TfrxSubreportOutput::TPageFlow TfrxSubreportOutput::StartPageFlow(TfrxComponent *Obj)
{
    TPageFlow flow;
    if (!qobject_cast<TfrxReportPage *>(Obj))
        return flow;
    for (TfrxComponent *c : Obj->Objects())
        if (auto *sub = qobject_cast<TfrxSubreport *>(c); sub && sub->Visible() && sub->Page())
            flow.Pending.append(sub);
    std::stable_sort(flow.Pending.begin(), flow.Pending.end(),
                     [](TfrxSubreport *a, TfrxSubreport *b) { return a->Top() < b->Top(); });
    // The page being run places its objects from the top of its printable
    // area; a page printed by a sub-report from where that output begins.
    TfrxCustomEngine &engine = FEngine.State();
    flow.OriginY = Obj == FEngine.CurReportPage() ? 0 : engine.FCurY;
    flow.OriginPage = engine.FReport->PreviewPages()->CurPage();
    return flow;
}

void TfrxSubreportOutput::ShowPageSubreports(TPageFlow &Flow, TfrxBand *Next)
{
    TfrxCustomEngine &engine = FEngine.State();
    const double above = Next ? flowTop(Next) : std::numeric_limits<double>::infinity();
    while (!Flow.Pending.isEmpty() && Flow.Pending.first()->Top() < above && !FEngine.Terminated()) {
        TfrxSubreport *sub = Flow.Pending.takeFirst();
        if (!CanWalkSubreport(sub->Page()))
            continue;
        if (engine.FReport->PreviewPages()->CurPage() == Flow.OriginPage)
            engine.FCurY = std::max(engine.FCurY, Flow.OriginY + sub->Top());
        WalkSubreport(sub);
    }
}

// Every sub-report printed on the band runs first; a sub-report whose
// output is taller than itself grows, moving the objects below it; then
// the output takes its place in the band at the sub-report's position.
void TfrxSubreportOutput::DoSubReports(TfrxBand *Band)
{
    if (qobject_cast<TfrxNullBand *>(Band))
        return;
    const QList<TfrxComponent *> objects = Band->Objects().mid(0, Band->OriginalObjectsCount());
    std::vector<std::pair<TfrxSubreport *, std::unique_ptr<TfrxNullBand>>> outputs;
    QHash<TfrxComponent *, double> grown;
    for (TfrxComponent *c : objects) {
        auto *sub = qobject_cast<TfrxSubreport *>(c);
        if (!sub || !sub->PrintOnParent() || !sub->Visible() || !CanWalkSubreport(sub->Page()))
            continue;
        auto output = std::make_unique<TfrxNullBand>(nullptr);
        const double height = RunSubreportOnParent(output.get(), sub);
        if (height > sub->Height()) {
            grown.insert(sub, height - sub->Height());
            sub->SetHeight(height);
        }
        outputs.emplace_back(sub, std::move(output));
    }
    if (!grown.isEmpty())
        rudShiftObjects(Band, grown);
    for (auto &[sub, output] : outputs) {
        const QList<TfrxComponent *> collected = output->Objects();
        for (TfrxComponent *c : collected) {
            c->SetParent(Band);
            c->SetLeft(sub->Left() + c->Left());
            c->SetTop(sub->Top() + c->Top());
        }
    }
}

double TfrxSubreportOutput::RunSubreportOnParent(TfrxNullBand *Output, TfrxSubreport *Subreport)
{
    const TSubreportWalk walk(FSubreportPath, Subreport->Page());
    return FEngine.CollectSubreportTree(Output, Subreport);
}
