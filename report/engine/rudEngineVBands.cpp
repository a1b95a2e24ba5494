// Vertical bands: column strips laid out left to right across the
// horizontal bands. An object of a horizontal band that lies across a
// vertical band is moved onto that vertical band when the band trees are
// built; each output of the horizontal band then walks the vertical band
// tree over its data and carries one evaluated copy of those objects per
// vertical band output (header, one per record, footer), side by side.

#include "report/engine/rudEngine.h"

#include "report/model/rudBand.h"
#include "report/model/rudDataSet.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"

#include <algorithm>

namespace {

// The per-column totals hold columns 1 to 1000; further columns are output
// but not totalled by column.
constexpr int kMaxVColumn = 1000;

} // namespace

TfrxBand *TfrxEngine::VOriginalBand(TfrxComponent *Obj) const
{
    return FVOriginal.value(Obj);
}

// An object goes to the first vertical band whose horizontal extent holds
// it; its font stays its own even when it took its band's font.
void TfrxEngine::MoveObjectsToVBands(TfrxReportPage *Page)
{
    QList<TfrxBand *> vbands;
    for (TfrxComponent *c : Page->Objects())
        if (auto *band = qobject_cast<TfrxBand *>(c); band && band->Vertical())
            vbands.append(band);
    if (vbands.isEmpty())
        return;
    double start = vbands.first()->Left();
    for (TfrxBand *v : std::as_const(vbands))
        start = std::min(start, v->Left());
    FVStartX.insert(Page, start);

    for (TfrxComponent *c : Page->Objects()) {
        auto *band = qobject_cast<TfrxBand *>(c);
        if (!band || band->Vertical() || qobject_cast<TfrxOverlay *>(band))
            continue;
        const QList<TfrxComponent *> objects = band->Objects();
        for (int index = 0; index < objects.size(); ++index) {
            TfrxComponent *o = objects[index];
            const double left = band->Left() + o->Left();
            for (TfrxBand *v : std::as_const(vbands)) {
                if (left < v->Left() - 0.0001 || left + o->Width() > v->Left() + v->Width() + 0.0001)
                    continue;
                FVMoved.append({o, band, index, o->Left(), o->ParentFont()});
                FVOriginal.insert(o, band);
                TFont font;
                font.Assign(*o->Font());
                const bool parentFont = o->ParentFont();
                o->SetParent(v);
                if (parentFont)
                    o->SetFont(&font);
                o->SetLeft(left - v->Left());
                band->SetHasVBands(true);
                break;
            }
        }
    }
}

// Moved objects go back to their bands, at their places in the lists (in
// the order of moving, which is each band's list order).
void TfrxEngine::RestoreVBandObjects()
{
    for (const TVMovedObject &moved : std::as_const(FVMoved)) {
        TfrxComponent *o = moved.Obj;
        if (!o || !moved.Band)
            continue;
        o->SetParent(moved.Band);
        moved.Band->MoveChild(o, moved.Index);
        o->SetLeft(moved.Left);
        if (moved.ParentFont)
            o->SetParentFont(true);
    }
    FVMoved.clear();
    FVOriginal.clear();
    FVStartX.clear();
}

// The vertical bands are those of the band's own page, which for a band of
// a sub-report is not the page being run.
void TfrxEngine::ShowVBands(TfrxBand *Band, QHash<TfrxComponent *, double> &Grown)
{
    TfrxPage *page = Band->Page();
    if (!page)
        return;
    const int savedVColumn = FCurVColumn;
    FCurVX = FVStartX.value(page);
    FVColumnNo = 0;
    ShowVBandTree(Band, page, Grown);
    FCurVColumn = savedVColumn;
    FCurBand = Band;
}

// The vertical walk mirrors the horizontal one: per data band its header,
// its records (filter and RowCount applied) with their detail bands, its
// footer. A record's cells are totalled into the per-column totals of the
// horizontal data band and into the row totals printed on Band.
void TfrxEngine::ShowVBandTree(TfrxBand *Band, TfrxComponent *Obj, QHash<TfrxComponent *, double> &Grown)
{
    const QList<TfrxBand *> subs = qobject_cast<TfrxBand *>(Obj) ? SubBands(Obj) : FPageVBands.value(Obj);
    auto *horizontalData = qobject_cast<TfrxDataBand *>(Band);
    for (TfrxBand *sub : subs) {
        auto *d = qobject_cast<TfrxDataBand *>(sub);
        TfrxDataSet *ds = BandDataSet(d);
        if (!ds)
            continue;
        ds->First();
        int counted = 0;
        bool shown = false;
        while (!ds->Eof() && (d->RowCount() == 0 || counted < d->RowCount()) && !Terminated()) {
            bool counts = true;
            if (!d->Filter().trimmed().isEmpty()) {
                FCurBand = Band;
                counts = EvalCondition(d->Filter());
            }
            if (counts) {
                ++counted;
                if (!shown && d->Header()) {
                    FCurVColumn = 0;
                    AddVCells(Band, d->Header(), Grown);
                }
                shown = true;
                ++FVColumnNo;
                FCurVColumn = FVColumnNo <= kMaxVColumn ? FVColumnNo : 0;
                AddVCells(Band, d, Grown);
                if (horizontalData && FCurVColumn > 0)
                    FAggregates.AddColumnValue(horizontalData, FCurVColumn);
                FAggregates.AddRowValue(d, Band);
                ShowVBandTree(Band, d, Grown);
            }
            ds->Next();
        }
        if (shown && d->Footer()) {
            FCurVColumn = 0;
            AddVCells(Band, d->Footer(), Grown);
        }
    }
}

// The objects of VBand that came from Band are evaluated for the current
// records and copied onto Band at the next place to the right; the copies
// grow with their text like the band's own objects.
void TfrxEngine::AddVCells(TfrxBand *Band, TfrxBand *VBand, QHash<TfrxComponent *, double> &Grown)
{
    FCurBand = Band;
    const QList<TfrxComponent *> objects = VBand->Objects();
    for (TfrxComponent *c : objects) {
        auto *view = qobject_cast<TfrxReportComponent *>(c);
        if (!view || VOriginalBand(c) != Band)
            continue;
        FReport->SetCurObject(view->Name());
        view->BeforePrint();
        FReport->DoBeforePrint(view);
        if (view->Visible()) {
            view->GetData();
            if (auto *v = qobject_cast<TfrxView *>(view))
                FReport->DoNotifyEvent(v, v->OnAfterData());
        }
        if (view->Visible())
            if (TfrxComponent *copy = CopyOutput(view, Band)) {
                copy->SetLeft(FCurVX - Band->Left() + view->Left());
                copy->SetTop(view->Top());
                auto *s = qobject_cast<TfrxStretcheable *>(copy);
                if (s && s->StretchMode() != smDontStretch) {
                    const double h = s->CalcHeight();
                    if (h > s->Height()) {
                        Grown.insert(s, h - s->Height());
                        s->SetHeight(h);
                    }
                }
            }
        FReport->DoAfterPrint(view);
        view->AfterPrint();
    }
    FCurVX += VBand->Width();
}
