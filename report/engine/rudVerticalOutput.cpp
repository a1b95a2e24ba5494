// Vertical bands: column strips laid out left to right across the
// horizontal bands. An object of a horizontal band that lies across a
// vertical band is moved onto that vertical band when the band trees are
// built; each output of the horizontal band then walks the vertical band
// tree over its data and carries one evaluated copy of those objects per
// vertical band output, side by side: per data band its header, its group
// headers, its records (each followed by its detail bands), its group
// footers and its footer; every vertical band is followed by its vertical
// child chain. Each vertical band output runs the band's OnBeforePrint
// before its cells are evaluated and its OnAfterPrint after them, like a
// horizontal band's output.
//
// Output wider than the page comes out in column sets. The walk is the same
// for every horizontal band, so it cuts the vertical outputs into the same
// sets everywhere: a set takes outputs while they fit between the start of
// the vertical area and the right edge of the printable area, and the next
// set starts with the headers that are still open (the header of a data
// band whose records go on, group headers with ReprintOnNewPage), like
// headers repeated on a new page. The page is then output once per set
// (ShowPage): all its pages with the first set of columns, then all of them
// again with the next set, the horizontal bands' own objects (row labels
// left of the vertical area) on every set. An output wider than a whole set
// is placed alone and passes the edge. A page of endless width grows
// instead.
//
// As a horizontal band's StartNewPage starts a new page, a vertical band's
// starts a new column set (a data band or a group header only from the
// second record of its data band's walk on). A vertical group with
// KeepTogether starts a new set when it does not fit in the rest of the
// current one but fits in a whole set (rudVerticalOutputKeep.cpp).
//
// Every set walks the page again, so the vertical bands' events run in
// every set, for every output of the walk, also for outputs that fall in
// another set: what a script does there (hiding a band) decides where the
// sets are cut, and the cut must be the same in every set. A header
// repeated at the start of a set is an output of its own and runs its
// events too, with Overflow set.

#include "report/engine/rudVerticalOutput.h"

#include "report/engine/rudAggregate.h"
#include "report/engine/rudBandObjects.h"
#include "report/engine/rudCustomEngine.h"
#include "report/engine/rudEngineSeam.h"
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

TfrxVerticalOutput::TfrxVerticalOutput(TfrxEngineSeam &Engine, TfrxAggregateList &Aggregates)
    : FEngine(Engine), FAggregates(Aggregates)
{
}

TfrxCustomEngine &TfrxVerticalOutput::State() const
{
    return FEngine.State();
}

bool TfrxVerticalOutput::EndlessWidth() const
{
    const TfrxReportPage *page = FEngine.CurReportPage();
    return page && page->EndlessWidth();
}

// An object goes to the first vertical band whose horizontal extent holds
// it; its font stays its own even when it took its band's font.
void TfrxVerticalOutput::MoveObjectsToVBands(TfrxReportPage *Page)
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
void TfrxVerticalOutput::RestoreVBandObjects()
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
void TfrxVerticalOutput::ShowVBands(TfrxBand *Band, QHash<TfrxComponent *, double> &Grown)
{
    TfrxPage *page = Band->Page();
    if (!page)
        return;
    const int savedVColumn = State().FCurVColumn;
    FVStart = FVStartX.value(page);
    FCurVX = FVStart;
    FVShift = 0;
    FVSetNo = 0;
    FVPlaced = false;
    FVHeaderList.Clear();
    FVColumnNo = 0;
    ShowVBandTree(Band, page, Grown);
    FVHeaderList.Clear();
    State().FCurVColumn = savedVColumn;
    FEngine.SetCurBand(Band);
    FCurVBand = nullptr;
}

// The vertical walk mirrors the horizontal one: per data band its header,
// its groups, its records (filter and RowCount applied) with their detail
// bands, its group footers and its footer. A record's cells are totalled
// into the per-column totals of the horizontal data band and into the row
// totals printed on Band.
void TfrxVerticalOutput::ShowVBandTree(TfrxBand *Band, TfrxComponent *Obj, QHash<TfrxComponent *, double> &Grown)
{
    auto *objBand = qobject_cast<TfrxBand *>(Obj);
    const QList<TfrxBand *> subs = objBand ? objBand->SubBands() : FEngine.PageVBands(Obj);
    auto *horizontalData = qobject_cast<TfrxDataBand *>(Band);
    for (TfrxBand *sub : subs) {
        auto *d = qobject_cast<TfrxDataBand *>(sub);
        TfrxDataSet *ds = FEngine.BandDataSet(d);
        if (!ds)
            continue;
        ds->First();
        int counted = 0;
        bool shown = false;
        TfrxBand *header = d->Header();
        while (FEngine.WalkGoesOn(d, ds, counted)) {
            if (FEngine.PassesFilter(d, Band)) {
                ++counted;
                if (!shown) {
                    if (header) {
                        State().FCurVColumn = 0;
                        ShowVBand(Band, header, Grown, VHeaderKeepWidth(Band, d, 0, counted));
                        FVHeaderList.AddItem(header, 0, false);
                    }
                    InitVGroups(Band, d, 0, counted, Grown);
                    shown = true;
                } else {
                    CheckVGroups(Band, d, counted, Grown);
                }
                ++FVColumnNo;
                State().FCurVColumn = FVColumnNo <= kMaxVColumn ? FVColumnNo : 0;
                // Like a horizontal data band, the first record does not
                // start a new set.
                ShowVBand(Band, d, Grown, 0, counted > 1);
                if (horizontalData && State().FCurVColumn > 0)
                    FAggregates.AddColumnValue(horizontalData, State().FCurVColumn);
                FAggregates.AddRowValue(d, Band);
                ShowVBandTree(Band, d, Grown);
            }
            ds->Next();
        }
        if (!shown || FEngine.Terminated())
            continue;
        ShowVGroupFooters(Band, d, 0, Grown);
        FVHeaderList.RemoveItem(header);
        if (d->Footer()) {
            State().FCurVColumn = 0;
            ShowVBand(Band, d->Footer(), Grown);
        }
    }
}

// Groups from Index on start at the Counted-th record of VBand's walk:
// their conditions are remembered, their first column noted for the totals
// of their footers, their headers output (a kept group first makes sure it
// starts where it fits; a group that starts after the first record may
// start a new set).
void TfrxVerticalOutput::InitVGroups(TfrxBand *Band, TfrxDataBand *VBand, int Index, int Counted,
                             QHash<TfrxComponent *, double> &Grown)
{
    const QList<TfrxBand *> groups = VBand->Group();
    for (int i = Index; i < groups.size(); ++i) {
        auto *gh = static_cast<TfrxGroupHeader *>(groups[i]);
        FEngine.SetCurBand(gh);
        gh->LastValue = FEngine.EvalValue(gh->Condition());
        FVGroupStart.insert(gh, FVColumnNo + 1);
        State().FCurVColumn = 0;
        if (gh->KeepTogether())
            KeepVGroup(Band, VBand, i, Counted, Grown);
        ShowVBand(Band, gh, Grown, VHeaderKeepWidth(Band, VBand, i + 1, Counted), Counted > 1);
        if (gh->ReprintOnNewPage())
            FVHeaderList.AddItem(gh, 0, false);
    }
}

// The outermost group whose condition changed ends (with every group
// inside it) and starts again.
void TfrxVerticalOutput::CheckVGroups(TfrxBand *Band, TfrxDataBand *VBand, int Counted, QHash<TfrxComponent *, double> &Grown)
{
    if (const int i = FEngine.ChangedGroup(VBand); i >= 0) {
        ShowVGroupFooters(Band, VBand, i, Grown);
        InitVGroups(Band, VBand, i, Counted, Grown);
    }
}

// A group footer's cells read the totals over the group: the records of
// the group across Band (row subtotals, restarted after the footer) and
// the group's columns of the per-column totals.
void TfrxVerticalOutput::ShowVGroupFooters(TfrxBand *Band, TfrxDataBand *VBand, int Index,
                                   QHash<TfrxComponent *, double> &Grown)
{
    const QList<TfrxBand *> groups = VBand->Group();
    for (int i = int(groups.size()) - 1; i >= Index; --i) {
        auto *gh = static_cast<TfrxGroupHeader *>(groups[i]);
        FVHeaderList.RemoveItem(gh);
        TfrxBand *footer = gh->GroupFooter();
        if (!footer)
            continue;
        State().FCurVColumn = 0;
        FVRangeFrom = FVGroupStart.value(gh, 1);
        FVRangeTo = std::min(FVColumnNo, kMaxVColumn);
        ShowVBand(Band, footer, Grown);
        FVRangeFrom = 0;
        FVRangeTo = 0;
        for (TfrxBand *b = footer; b; b = b->Child())
            FAggregates.ResetCells(Band, b);
    }
}

// A kept group ends what a header keeps room for: the whole group is
// measured, so that the header goes with it to the next set rather than
// stay behind alone.
double TfrxVerticalOutput::VHeaderKeepWidth(TfrxBand *Band, TfrxDataBand *VBand, int Group, int Counted)
{
    if (!VWidthLimited())
        return 0;
    double width = 0;
    const QList<TfrxBand *> groups = VBand->Group();
    for (int i = Group; i < groups.size(); ++i) {
        if (static_cast<TfrxGroupHeader *>(groups[i])->KeepTogether())
            return width + MeasureVGroup(Band, VBand, i, Counted);
        width += VChainWidth(groups[i]);
    }
    return width + (VBand->Visible() && !VBand->KeepChild() ? VBand->Width() : VChainWidth(VBand));
}

bool TfrxVerticalOutput::VWidthLimited() const
{
    return !FEngine.CollectingOutput() && !(EndlessWidth());
}

double TfrxVerticalOutput::VChainWidth(TfrxBand *VBand) const
{
    double width = 0;
    for (TfrxBand *b = VBand; b && b->Vertical(); b = b->Child()) {
        if (b->Visible())
            width += b->Width();
        if (!b->Visible() && !b->PrintChildIfInvisible())
            break;
    }
    return width;
}

// Like a horizontal band, an invisible vertical band takes no place, and
// its child follows when the band is visible or prints its child anyway;
// only a child that is itself vertical is a column strip. With KeepChild
// the band and its chain go to the same column set. As for a horizontal
// band, StartNewPage is looked at before the band's OnBeforePrint, and
// whether the band takes room after it.
void TfrxVerticalOutput::ShowVBand(TfrxBand *Band, TfrxBand *VBand, QHash<TfrxComponent *, double> &Grown,
                           double KeepWith, bool MayStartSet)
{
    if (!VBand || !VBand->Vertical())
        return;
    auto width = [&] { return (VBand->KeepChild() ? VChainWidth(VBand) : VBand->Width()) + KeepWith; };
    if (MayStartSet && VBand->StartNewPage() && VBand->Visible() && FVPlaced && !FEngine.CollectingOutput())
        StartVSet(Band, width(), Grown);
    VBandBeforePrint(Band, VBand);
    if (VBand->Visible()) {
        FitVOutput(Band, width(), Grown);
        if (FVSetNo == FVSet)
            AddVCells(Band, VBand, FCurVX - FVShift, Grown);
        FCurVX += VBand->Width();
        FVPlaced = true;
    }
    VBandAfterPrint(Band, VBand);
    if (VBand->Visible() || VBand->PrintChildIfInvisible())
        ShowVBand(Band, VBand->Child(), Grown);
}

// The events of a vertical band see the horizontal band being output as
// the current band, and the vertical one for its totals, as its cells do.
void TfrxVerticalOutput::VBandBeforePrint(TfrxBand *Band, TfrxBand *VBand)
{
    FEngine.SetCurBand(Band);
    FCurVBand = VBand;
    State().FReport->SetCurObject(VBand->Name());
    VBand->BeforePrint();
    State().FReport->DoBeforePrint(VBand);
    FCurVBand = nullptr;
}

void TfrxVerticalOutput::VBandAfterPrint(TfrxBand *Band, TfrxBand *VBand)
{
    FEngine.SetCurBand(Band);
    FCurVBand = VBand;
    State().FReport->SetCurObject(VBand->Name());
    State().FReport->DoAfterPrint(VBand);
    VBand->AfterPrint();
    FCurVBand = nullptr;
}

// Sets are cut where the band is output: Band lies at State().FCurX, so design
// left X lies at State().FCurX - Band->Left() + X on the page. Output collected for
// a sub-report printed on its band has no page edge and stays in the first
// set.
void TfrxVerticalOutput::FitVOutput(TfrxBand *Band, double Width, QHash<TfrxComponent *, double> &Grown)
{
    if (FEngine.CollectingOutput())
        return;
    const double right = State().FCurX - Band->Left() + FCurVX - FVShift + Width;
    if (EndlessWidth()) {
        State().FPageWidth = std::max(State().FPageWidth, right);
        return;
    }
    if (right <= State().FPageWidth + 0.0001 || !FVPlaced)
        return;
    StartVSet(Band, Width, Grown);
}

// The open headers start the set when they leave room for the output (on a
// page of endless width always: it grows).
void TfrxVerticalOutput::StartVSet(TfrxBand *Band, double Width, QHash<TfrxComponent *, double> &Grown)
{
    ++FVSetNo;
    FVSetCount = std::max(FVSetCount, FVSetNo + 1);
    FVPlaced = false;
    const double origin = State().FCurX - Band->Left();
    const bool endless = EndlessWidth();
    double headers = 0;
    for (int i = 0; i < FVHeaderList.Count(); ++i)
        headers += VChainWidth(FVHeaderList.Items(i).Band);
    double x = FVStart;
    if (endless || origin + FVStart + headers + Width <= State().FPageWidth + 0.0001) {
        const int savedVColumn = State().FCurVColumn;
        const int savedFrom = FVRangeFrom, savedTo = FVRangeTo;
        State().FCurVColumn = 0;
        FVRangeFrom = FVRangeTo = 0;
        for (int i = 0; i < FVHeaderList.Count(); ++i)
            for (TfrxBand *b = FVHeaderList.Items(i).Band; b && b->Vertical(); b = b->Child()) {
                b->SetOverflow(true);
                VBandBeforePrint(Band, b);
                if (b->Visible()) {
                    if (FVSetNo == FVSet)
                        AddVCells(Band, b, x, Grown);
                    x += b->Width();
                }
                VBandAfterPrint(Band, b);
                b->SetOverflow(false);
                if (!b->Visible() && !b->PrintChildIfInvisible())
                    break;
            }
        State().FCurVColumn = savedVColumn;
        FVRangeFrom = savedFrom;
        FVRangeTo = savedTo;
        if (endless)
            State().FPageWidth = std::max(State().FPageWidth, origin + x);
    }
    FVShift = FCurVX - x;
}

// The objects of VBand that came from Band are evaluated for the current
// records and copied onto Band at design left X; the copies grow with
// their text like the band's own objects.
void TfrxVerticalOutput::AddVCells(TfrxBand *Band, TfrxBand *VBand, double X, QHash<TfrxComponent *, double> &Grown)
{
    FEngine.SetCurBand(Band);
    FCurVBand = VBand;
    const QList<TfrxComponent *> objects = VBand->Objects();
    for (TfrxComponent *c : objects) {
        auto *view = qobject_cast<TfrxReportComponent *>(c);
        if (!view || VOriginalBand(c) != Band)
            continue;
        State().FReport->SetCurObject(view->Name());
        view->BeforePrint();
        State().FReport->DoBeforePrint(view);
        if (view->Visible()) {
            view->GetData();
            if (auto *v = qobject_cast<TfrxView *>(view))
                State().FReport->DoNotifyEvent(v, v->OnAfterData());
        }
        if (view->Visible())
            if (TfrxComponent *copy = rudCopyOutput(view, Band)) {
                copy->SetLeft(X - Band->Left() + view->Left());
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
        State().FReport->DoAfterPrint(view);
        view->AfterPrint();
    }
    FCurVBand = nullptr;
}
