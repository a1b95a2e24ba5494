// The band trees of a page and the walk over the data: which band belongs
// to which data band, in which order data bands nest, and how rows, groups,
// headers and footers come out; a sub-report's page is walked the same way
// from where the sub-report is printed.

#include "report/engine/rudEngine.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudBand.h"
#include "report/model/rudDataSet.h"
#include "report/model/rudPage.h"
#include "report/model/rudRes.h"
#include "report/model/rudReport.h"
#include "report/model/rudSubreport.h"

#include <QMap>

namespace {

QString res(const char *Key)
{
    return rudResources().Get(QString::fromLatin1(Key));
}

bool isDataBand(const TfrxBand *b)
{
    return b && b->BandNumber() >= 6 && b->BandNumber() <= 11;
}

} // namespace

TfrxDataSet *TfrxEngine::BandDataSet(TfrxDataBand *Band)
{
    return Band ? Band->RunDataSet() : nullptr;
}

QList<TfrxBand *> TfrxEngine::SubBands(TfrxComponent *Obj)
{
    if (auto *band = qobject_cast<TfrxBand *>(Obj))
        return band->SubBands();
    return FPageBands.value(Obj);
}

// The bands of one direction are ordered by their top (left for vertical
// bands); then groups, headers and footers are connected to their data
// bands, and the data bands are nested by their level. Every band that finds
// no place adds one line to ErrorList.
void TfrxEngine::PreparePage(TfrxReportPage *Page, QStringList &ErrorList, bool PrepareVBands)
{
    Page->AlignChildren();
    QList<TfrxBand *> &top = PrepareVBands ? FPageVBands[Page] : FPageBands[Page];
    top.clear();

    QList<TfrxBand *> bands;
    for (TfrxComponent *c : Page->Objects()) {
        auto *band = qobject_cast<TfrxBand *>(c);
        if (!band || band->Vertical() != PrepareVBands)
            continue;
        band->SubBands().clear();
        band->SetHeader(nullptr);
        band->SetFooter(nullptr);
        band->Group().clear();
        band->SetHasVBands(false);
        if (auto *gh = qobject_cast<TfrxGroupHeader *>(band))
            gh->SetGroupFooter(nullptr);
        if (auto *d = qobject_cast<TfrxDataBand *>(band)) {
            d->SetRunDataSet(nullptr);
            TfrxDataSet *ds = qobject_cast<TfrxDataSet *>(d->DataSet());
            if (!ds && !d->DataSetName().isEmpty())
                ds = rudFindReportDataSet(FReport, d->DataSetName());
            if (ds) {
                d->SetRunDataSet(ds);
            } else if (d->RowCount() > 0) {
                TfrxDataSet *v = d->VirtualDataSet();
                v->Initialize();
                d->SetRunDataSet(v);
            }
        }
        if (band->BandNumber() >= 4 && band->BandNumber() <= 13)
            bands.append(band);
    }
    if (!PrepareVBands)
        FVOutput.MoveObjectsToVBands(Page);

    // Order by position; of two bands at the same position the first is kept
    // and the other is reported as misplaced rather than silently lost.
    QMap<QString, TfrxBand *> sorted;
    for (TfrxBand *b : bands) {
        const QString key = QString::asprintf("%9.2f", PrepareVBands ? b->Left() : b->Top());
        if (sorted.contains(key))
            ErrorList.append(res("enBandPos") + QLatin1Char(' ') + b->Name());
        else
            sorted.insert(key, b);
    }
    QList<TfrxBand *> list = sorted.values();

    // Groups: a run of group headers belongs to the next data band below it.
    QList<TfrxBand *> rest;
    for (int i = 0; i < list.size(); ++i) {
        if (!qobject_cast<TfrxGroupHeader *>(list[i])) {
            rest.append(list[i]);
            continue;
        }
        int j = i;
        while (j < list.size() && qobject_cast<TfrxGroupHeader *>(list[j]))
            ++j;
        TfrxDataBand *data = nullptr;
        for (int k = j; k < list.size() && !data; ++k)
            if (isDataBand(list[k]))
                data = static_cast<TfrxDataBand *>(list[k]);
        for (int k = i; k < j; ++k) {
            if (data)
                data->Group().append(list[k]);
            else
                ErrorList.append(res("enUnconnGroup") + QLatin1Char(' ') + list[k]->Name());
        }
        i = j - 1;
    }
    // Group footers close the nearest open group header above them.
    const QList<TfrxBand *> sortedAll = sorted.values();
    list = rest;
    rest.clear();
    for (int i = 0; i < list.size(); ++i) {
        if (!qobject_cast<TfrxGroupFooter *>(list[i])) {
            rest.append(list[i]);
            continue;
        }
        TfrxGroupHeader *header = nullptr;
        const QList<TfrxBand *> &all = sortedAll;
        const int at = int(all.indexOf(list[i]));
        for (int k = at - 1; k >= 0 && !header; --k) {
            auto *gh = qobject_cast<TfrxGroupHeader *>(all[k]);
            if (gh && !gh->GroupFooter()) {
                bool connected = false;
                for (TfrxBand *d : all)
                    if (isDataBand(d) && d->Group().contains(gh))
                        connected = true;
                if (connected)
                    header = gh;
            }
        }
        if (header)
            header->SetGroupFooter(list[i]);
        else
            ErrorList.append(res("enUnconnGFooter") + QLatin1Char(' ') + list[i]->Name());
    }

    // Headers directly above a data band, footers below it (past the deeper
    // levels and their own headers and footers).
    list = rest;
    QList<TfrxBand *> used;
    for (int i = 0; i < list.size(); ++i) {
        TfrxBand *b = list[i];
        if (qobject_cast<TfrxHeader *>(b)) {
            if (i + 1 < list.size() && isDataBand(list[i + 1]) && !list[i + 1]->Header()) {
                list[i + 1]->SetHeader(b);
                used.append(b);
            }
        } else if (qobject_cast<TfrxFooter *>(b)) {
            for (int k = i - 1; k >= 0; --k) {
                TfrxBand *p = list[k];
                if (isDataBand(p) && !p->Footer()) {
                    // Deeper levels between p and the footer are passed over.
                    p->SetFooter(b);
                    used.append(b);
                    break;
                }
                const bool passable = (isDataBand(p) && p->Footer()) || used.contains(p);
                if (!passable)
                    break;
            }
        }
    }
    rest.clear();
    for (TfrxBand *b : list) {
        if (used.contains(b))
            continue;
        if (qobject_cast<TfrxHeader *>(b) || qobject_cast<TfrxFooter *>(b))
            ErrorList.append(res("enUnconnHeader") + QLatin1Char(' ') + b->Name());
        else
            rest.append(b);
    }

    // The master-detail tree: each master band at the first level, each band
    // one level deeper below the band above it.
    QList<TfrxBand *> placed;
    std::function<int(TfrxBand *, int)> nest = [&](TfrxBand *parent, int from) {
        int i = from;
        while (i < rest.size() && rest[i]->BandNumber() > parent->BandNumber()) {
            TfrxBand *b = rest[i];
            if (b->BandNumber() == parent->BandNumber() + 1) {
                ++i;
                if (BandDataSet(static_cast<TfrxDataBand *>(b))) {
                    parent->SubBands().append(b);
                    placed.append(b);
                    i = nest(b, i);
                } else {
                    placed.append(b); // without data it has nothing to show
                }
            } else {
                break;
            }
        }
        return i;
    };
    for (int i = 0; i < rest.size();) {
        TfrxBand *b = rest[i];
        if (qobject_cast<TfrxMasterData *>(b)) {
            placed.append(b);
            ++i;
            if (BandDataSet(static_cast<TfrxDataBand *>(b))) {
                top.append(b);
                i = nest(b, i);
            }
        } else {
            ++i;
        }
    }
    for (TfrxBand *b : rest)
        if (!placed.contains(b))
            ErrorList.append(res("enBandPos") + QLatin1Char(' ') + b->Name());
}

// Each data band below Obj is shown once per record of its data set that
// passes its filter and has something to show; details follow each row.
void TfrxEngine::ShowBandTree(TfrxComponent *Obj)
{
    ProcessMessages();
    if (Terminated())
        return;
    TfrxOutline *outline = FReport->PreviewPages()->Outline();
    const QList<TfrxBand *> subs = SubBands(Obj);
    // On a page, the sub-reports lying on it come out between its bands.
    TfrxSubreportOutput::TPageFlow flow = FSubreports.StartPageFlow(Obj);
    for (TfrxBand *sub : subs) {
        FSubreports.ShowPageSubreports(flow, sub);
        if (Terminated())
            break;
        auto *d = qobject_cast<TfrxDataBand *>(sub);
        TfrxDataSet *ds = BandDataSet(d);
        if (!ds)
            continue;
        ds->First();
        d->LineN = 1;
        d->LineThrough = 1;
        d->CurColumn = 1;
        FSuppressed.ResetSuppressed(d);
        int counted = 0;
        bool shown = false;
        TfrxBand *header = d->Header();
        while (WalkGoesOn(d, ds, counted)) {
            if (PassesFilter(d, d)) {
                ++counted;
                if (CanShow(d, d->PrintIfDetailEmpty())) {
                    // The header (kept with the first row when KeepHeader),
                    // the groups, the row (kept with its details when
                    // KeepTogether), the row's outline entry with the
                    // details' entries under it.
                    const bool keepHeader = !shown && header && d->KeepHeader();
                    if (!shown) {
                        if (header) {
                            FHeaderList.AddItem(header, FCurX, false);
                            if (keepHeader)
                                FKept.StartKeep(header);
                            ShowBand(header);
                        }
                        InitGroups(d, 0, false);
                        shown = true;
                    } else {
                        CheckGroups(d);
                    }
                    if (d->KeepTogether())
                        FKept.StartKeep(d);
                    FCurLine = d->LineN;
                    FCurLineThrough = d->LineThrough;
                    ShowBand(d);
                    NotifyObjects();
                    ++d->LineN;
                    ++d->LineThrough;
                    if (d->Columns() > 1)
                        d->CurColumn = d->CurColumn >= d->Columns() ? 1 : d->CurColumn + 1;
                    const bool outlined = AddBandOutline(d);
                    ShowBandTree(d);
                    if (outlined)
                        outline->LevelUp();
                    if (d->FooterAfterEach() && d->Footer())
                        ShowBand(d->Footer());
                    FKept.EndKeep(d);
                    if (keepHeader)
                        FKept.EndKeep(header);
                }
            }
            ds->Next();
        }
        if (!shown || Terminated())
            continue;
        // A row of columns left unfinished still takes its height.
        if (d->Columns() > 1 && d->CurColumn != 1) {
            FCurY += FColumnRowHeight;
            d->CurColumn = 1;
        }
        ShowGroupFooters(d, 0);
        FHeaderList.RemoveItem(header);
        if (TfrxBand *footer = d->Footer(); footer && !d->FooterAfterEach()) {
            const bool keep = d->KeepFooter() && FKept.StartFooterKeep(footer);
            ShowBand(footer);
            if (keep)
                FKept.EndKeep(footer);
        }
    }
    FSubreports.ShowPageSubreports(flow, nullptr);
}

bool TfrxEngine::CanShow(TfrxComponent *Obj, bool PrintIfDetailEmpty)
{
    if (PrintIfDetailEmpty)
        return true;
    const QList<TfrxBand *> subs = SubBands(Obj);
    if (subs.isEmpty())
        return qobject_cast<TfrxBand *>(Obj) != nullptr;
    for (TfrxBand *sub : subs) {
        auto *d = qobject_cast<TfrxDataBand *>(sub);
        TfrxDataSet *ds = BandDataSet(d);
        if (!ds)
            continue;
        FReport->DoNotifyEvent(d, d->OnMasterDetail());
        for (ds->First(); !ds->Eof(); ds->Next())
            if (CanShow(d, d->PrintIfDetailEmpty()))
                return true;
    }
    return false;
}

// Groups from Index on start: their conditions are remembered and their
// headers shown (and repeated on new pages when they ask for it).
void TfrxEngine::InitGroups(TfrxDataBand *Band, int Index, bool ResetLineN)
{
    const QList<TfrxBand *> groups = Band->Group();
    // A new group starts its rows afresh: the first shows every value.
    if (Index < groups.size())
        FSuppressed.ResetSuppressed(Band);
    for (int i = Index; i < groups.size(); ++i) {
        auto *gh = static_cast<TfrxGroupHeader *>(groups[i]);
        FCurBand = gh;
        gh->LastValue = EvalValue(gh->Condition());
        if (ResetLineN)
            Band->LineN = 1;
        // The group starts at this row of the data band: not on the first
        // row, a StartNewPage header begins a new page.
        gh->LineN = Band->LineN;
        gh->LineThrough = Band->LineThrough;
        if (gh->ReprintOnNewPage())
            FHeaderList.AddItem(gh, FCurX, false);
        // KeepTogether keeps the whole group: the keep ends with its footer.
        if (gh->KeepTogether())
            FKept.StartKeep(gh);
        ShowBand(gh);
        if (AddBandOutline(gh))
            FOutlinedGroups.append(gh);
    }
}

bool TfrxEngine::WalkGoesOn(TfrxDataBand *Band, TfrxDataSet *Data, int Counted) const
{
    return !Data->Eof() && (Band->RowCount() == 0 || Counted < Band->RowCount()) && !Terminated();
}

bool TfrxEngine::PassesFilter(TfrxDataBand *Band, TfrxBand *Context)
{
    if (Band->Filter().trimmed().isEmpty())
        return true;
    FCurBand = Context;
    return EvalCondition(Band->Filter());
}

int TfrxEngine::ChangedGroup(TfrxDataBand *Band)
{
    const QList<TfrxBand *> groups = Band->Group();
    for (int i = 0; i < groups.size(); ++i) {
        auto *gh = static_cast<TfrxGroupHeader *>(groups[i]);
        FCurBand = gh;
        const QVariant value = EvalValue(gh->Condition());
        if (value != gh->LastValue || value.typeId() != gh->LastValue.typeId())
            return i;
    }
    return -1;
}

// The outermost group whose condition changed ends (with every group
// inside it) and starts again.
void TfrxEngine::CheckGroups(TfrxDataBand *Band)
{
    if (const int i = ChangedGroup(Band); i >= 0) {
        ShowGroupFooters(Band, i);
        InitGroups(Band, i, true);
    }
}

void TfrxEngine::ShowGroupFooters(TfrxDataBand *Band, int Index)
{
    const QList<TfrxBand *> groups = Band->Group();
    for (int i = int(groups.size()) - 1; i >= Index; --i) {
        auto *gh = static_cast<TfrxGroupHeader *>(groups[i]);
        FHeaderList.RemoveItem(gh);
        if (TfrxBand *footer = gh->GroupFooter())
            ShowBand(footer);
        FKept.EndKeep(gh);
        if (FOutlinedGroups.removeOne(gh))
            FReport->PreviewPages()->Outline()->LevelUp();
    }
}

// The sub-report's left counts from the column it is output in: it is
// added to the column area's left too, so that the pages and columns its
// output runs on to start at the same offset. Taken off again afterwards,
// the flow goes on in whatever column the output ended.
void TfrxEngine::WalkSubreportTree(TfrxSubreport *Subreport)
{
    const double left = Subreport->Left();
    TfrxReportPage *savedPage = FPage;
    FCurX += left;
    FPageCurX += left;
    ShowBandTree(Subreport->Page());
    FCurX -= left;
    FPageCurX -= left;
    FPage = savedPage;
}

// The sub-report's bands come out into Output from its top-left corner,
// without page or column breaks; the answer is the height they took.
double TfrxEngine::CollectSubreportTree(TfrxNullBand *Output, TfrxSubreport *Subreport)
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
