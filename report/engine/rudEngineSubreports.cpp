// Sub-reports: the band tree of another report page printed from a band.
// A sub-report printed below its band comes out after the band, at the
// sub-report's left; one printed on its parent band is run while the band
// is evaluated, its output collected and made part of the band, which
// grows with it.

#include "report/engine/rudEngine.h"

#include "report/model/rudBand.h"
#include "report/model/rudClassRegistry.h"
#include "report/model/rudReport.h"
#include "report/model/rudSubreport.h"

#include <memory>
#include <vector>

TfrxComponent *TfrxEngine::CopyOutput(TfrxComponent *Obj, TfrxComponent *Parent)
{
    const TfrxClassEntry entry = rudFindClass(QString::fromLatin1(Obj->metaObject()->className()));
    if (!entry.Create)
        return nullptr;
    // Made outside the report: the copy carries the object's name until it
    // is cleared, and two objects of one name may not share a report.
    TfrxComponent *copy = entry.Create(nullptr);
    copy->Assign(Obj);
    copy->SetName(QString());
    copy->SetAliasName(Obj->AliasName());
    copy->SetParent(Parent);
    if (!(*copy->Font() == *Obj->Font()))
        copy->SetFont(Obj->Font());
    return copy;
}

void TfrxEngine::CheckSubReports(TfrxBand *Band)
{
    const QList<TfrxComponent *> objects = Band->Objects();
    for (TfrxComponent *c : objects) {
        auto *sub = qobject_cast<TfrxSubreport *>(c);
        if (!sub || sub->PrintOnParent() || !sub->Visible() || !sub->Page())
            continue;
        const double savedX = FCurX;
        TfrxReportPage *savedPage = FPage;
        FCurX += sub->Left();
        ShowBandTree(sub->Page());
        FCurX = savedX;
        FPage = savedPage;
    }
}

// Every sub-report printed on the band runs first; a sub-report whose
// output is taller than itself grows, moving the objects below it; then
// the output takes its place in the band at the sub-report's position.
void TfrxEngine::DoSubReports(TfrxBand *Band)
{
    const QList<TfrxComponent *> objects = Band->Objects().mid(0, Band->OriginalObjectsCount());
    std::vector<std::pair<TfrxSubreport *, std::unique_ptr<TfrxNullBand>>> outputs;
    QHash<TfrxComponent *, double> grown;
    for (TfrxComponent *c : objects) {
        auto *sub = qobject_cast<TfrxSubreport *>(c);
        if (!sub || !sub->PrintOnParent() || !sub->Visible() || !sub->Page())
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
        ShiftObjects(Band, grown);
    for (auto &[sub, output] : outputs) {
        const QList<TfrxComponent *> collected = output->Objects();
        for (TfrxComponent *c : collected) {
            c->SetParent(Band);
            c->SetLeft(sub->Left() + c->Left());
            c->SetTop(sub->Top() + c->Top());
        }
    }
}

// The sub-report's bands come out into Output from its top-left corner,
// without page or column breaks; the answer is the height they took.
double TfrxEngine::RunSubreportOnParent(TfrxNullBand *Output, TfrxSubreport *Subreport)
{
    struct TSaved {
        TfrxEngine *Engine;
        double CurX, CurY;
        TfrxNullBand *OutputTo;
        TfrxBand *CurBand;
        int CurLine, CurLineThrough;
        ~TSaved()
        {
            Engine->FCurX = CurX;
            Engine->FCurY = CurY;
            Engine->FOutputTo = OutputTo;
            Engine->FCurBand = CurBand;
            Engine->FCurLine = CurLine;
            Engine->FCurLineThrough = CurLineThrough;
        }
    } saved{this, FCurX, FCurY, FOutputTo, FCurBand, FCurLine, FCurLineThrough};
    FOutputTo = Output;
    FCurX = 0;
    FCurY = 0;
    ShowBandTree(Subreport->Page());
    return FCurY;
}
