// Band output: evaluating and stretching a band's objects, placing the
// band on the page (or splitting it across pages), keep-together blocks and
// sub-reports.

#include "report/engine/rudEngine.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudBand.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudSubreport.h"

#include <algorithm>

namespace {

bool isMultiColumn(const TfrxBand *Band)
{
    auto *d = qobject_cast<const TfrxDataBand *>(Band);
    return d && d->Columns() > 1;
}

} // namespace

void TfrxEngine::ShowBand(const QMetaObject *BandClass)
{
    ShowBand(FindBand(BandClass));
}

void TfrxEngine::ShowBand(TfrxComponent *Obj)
{
    auto *Band = qobject_cast<TfrxBand *>(Obj);
    if (!Band)
        return;
    const bool keep = Band->KeepChild() && Band->Child() && !FKeeping;
    if (keep)
        StartKeep(Band);
    DoShow(Band);
    if ((Band->Visible() || Band->PrintChildIfInvisible()) && !isMultiColumn(Band))
        ShowBand(Band->Child());
    if (keep)
        EndKeep(Band);
    if (auto *d = qobject_cast<TfrxDataBand *>(Band))
        FAggregates.AddValue(d, FCurVColumn);
}

void TfrxEngine::DoShow(TfrxBand *Band)
{
    const bool isData = qobject_cast<TfrxDataBand *>(Band) != nullptr;
    auto *groupHeader = qobject_cast<TfrxGroupHeader *>(Band);
    const bool isNull = qobject_cast<TfrxNullBand *>(Band) != nullptr;
    const bool isOverlay = qobject_cast<TfrxOverlay *>(Band) != nullptr;

    if (Band->StartNewPage() && Band->Visible() && !FCallFromAddPage && !FOutputTo &&
        (!(isData || groupHeader) || Band->LineThrough > 1)) {
        FStartNewPageBand = Band;
        if (groupHeader && groupHeader->ResetPageNumbers())
            FReport->PreviewPages()->ResetLogicalPageNumber();
        NewPage();
        FStartNewPageBand = nullptr;
    }

    // The design bounds come back after output, whatever the objects' own
    // restoring does.
    const QRectF design(Band->Left(), Band->Top(), Band->Width(), Band->Height());
    Stretch(Band);
    Band->SetStretchedHeight(Band->Height());

    bool split = false;
    // Page and column footers have their place reserved below the free space.
    const bool isFooter = qobject_cast<TfrxPageFooter *>(Band) || qobject_cast<TfrxColumnFooter *>(Band);
    if (Band->Visible() && !isMultiColumn(Band) && !isOverlay && !isNull && !isFooter && !FOutputTo &&
        FreeSpace() < Band->Height()) {
        const bool tooTall = Band->Height() > GetPageHeight() - FooterHeight() && !Band->HasVBands();
        if ((Band->AllowSplit() && !FKeeping) || tooTall) {
            if (!Band->AllowSplit() && Band->LineThrough > 1 && !Band->StartNewPage())
                NewColumn();
            BreakAllKeep();
            DrawSplit(Band);
            split = true;
        } else if (!(qobject_cast<TfrxChild *>(Band) && FCallFromPHeader)) {
            NewColumn();
        }
    }
    if (!split && Band->Visible())
        OutputBand(Band);

    UnStretch(Band);
    Band->SetBounds(design.left(), design.top(), design.width(), design.height());
    FAggregates.Reset(Band);
    if (Band->Visible())
        CheckSubReports(Band);
}

// Places the band at the output position and hands it to the store.
void TfrxEngine::OutputBand(TfrxBand *Band)
{
    const bool isNull = qobject_cast<TfrxNullBand *>(Band) != nullptr;
    auto *d = qobject_cast<TfrxDataBand *>(Band);
    const bool columns = d && d->Columns() > 1;
    if (!isNull) {
        double left = FCurX;
        if (columns) {
            const double width = d->ColumnWidth() > 0 ? d->ColumnWidth() : d->Width() / d->Columns();
            left += (d->CurColumn - 1) * (width + d->ColumnGap());
        }
        Band->SetLeft(left);
        Band->SetTop(FCurY);
    }
    TfrxCustomPreviewPages *pages = FReport->PreviewPages();
    if (!(FCallFromAddPage && pages->BandExists(Band)))
        pages->AddObject(Band);
    // A row of columns moves down once its last column is placed.
    if (!columns || d->CurColumn >= d->Columns())
        FCurY += Band->Height();
}

void TfrxEngine::Stretch(TfrxBand *Band)
{
    FCurBand = Band;
    if (Band->OriginalObjectsCount() < 0)
        Band->SetOriginalObjectsCount(int(Band->Objects().size()));
    FReport->SetCurObject(Band->Name());
    Band->BeforePrint();
    FReport->DoBeforePrint(Band);

    QHash<TfrxComponent *, double> grown;
    const QList<TfrxComponent *> objects = Band->Objects();
    for (TfrxComponent *c : objects) {
        auto *view = qobject_cast<TfrxReportComponent *>(c);
        if (!view)
            continue;
        FReport->SetCurObject(view->Name());
        view->BeforePrint();
        if (Band->Visible()) {
            FReport->DoBeforePrint(view);
            if (view->Visible()) {
                view->GetData();
                if (auto *v = qobject_cast<TfrxView *>(view))
                    FReport->DoNotifyEvent(v, v->OnAfterData());
            }
        }
        auto *s = qobject_cast<TfrxStretcheable *>(view);
        if (s && s->Visible() && Band->Visible() && s->StretchMode() != smDontStretch) {
            const double h = s->CalcHeight();
            if (h > s->Height()) {
                grown.insert(s, h - s->Height());
                s->SetHeight(h);
            }
        }
    }
    if (!Band->Visible())
        return;
    if (!grown.isEmpty())
        ShiftObjects(Band, grown);
    if (Band->Stretched() && !objects.isEmpty()) {
        double bottom = 0;
        for (TfrxComponent *c : objects)
            if (c->Visible())
                bottom = std::max(bottom, c->Top() + c->Height());
        Band->SetHeight(bottom);
    }
    FReport->SetCurObject(Band->Name());
    FReport->DoNotifyEvent(Band, Band->OnAfterCalcHeight());
    for (TfrxComponent *c : objects)
        if (auto *s = qobject_cast<TfrxStretcheable *>(c); s && s->StretchMode() == smMaxHeight)
            s->SetHeight(Band->Height() - s->Top());
}

// Objects below a grown object move down by as much as everything above
// them moved and grew: always (smAlways), only when they lie under it
// horizontally (smWhenOverlapped), or never (smDontShift).
void TfrxEngine::ShiftObjects(TfrxBand *Band, const QHash<TfrxComponent *, double> &Grown)
{
    QList<TfrxComponent *> objects;
    for (TfrxComponent *c : Band->Objects())
        if (qobject_cast<TfrxView *>(c))
            objects.append(c);
    std::stable_sort(objects.begin(), objects.end(),
                     [](TfrxComponent *a, TfrxComponent *b) { return a->Top() < b->Top(); });
    QHash<TfrxComponent *, double> moved;
    QHash<TfrxComponent *, double> designBottom;
    for (TfrxComponent *c : objects)
        designBottom.insert(c, c->Top() + c->Height() - Grown.value(c));
    for (TfrxComponent *o : objects) {
        auto *view = static_cast<TfrxView *>(o);
        double shift = 0;
        if (view->ShiftMode() != smDontShift)
            for (TfrxComponent *p : objects) {
                if (p == o || designBottom.value(p) > o->Top() + 1e-4 || p->Top() >= o->Top() + moved.value(o))
                    continue;
                const double by = moved.value(p) + Grown.value(p);
                if (by <= 0)
                    continue;
                const bool overlaps = p->Left() < o->Left() + o->Width() && o->Left() < p->Left() + p->Width();
                if (view->ShiftMode() == smAlways || overlaps)
                    shift = std::max(shift, by);
            }
        if (shift > 0) {
            moved.insert(o, shift);
            o->SetTop(o->Top() + shift);
        }
    }
}

void TfrxEngine::UnStretch(TfrxBand *Band)
{
    const QList<TfrxComponent *> objects = Band->Objects();
    if (Band->Visible())
        for (TfrxComponent *c : objects)
            if (auto *view = qobject_cast<TfrxReportComponent *>(c))
                FReport->DoAfterPrint(view);
    for (TfrxComponent *c : objects)
        if (auto *view = qobject_cast<TfrxReportComponent *>(c))
            view->AfterPrint();
    FReport->DoAfterPrint(Band);
    Band->AfterPrint();
    const int original = Band->OriginalObjectsCount();
    if (original >= 0 && !qobject_cast<TfrxNullBand *>(Band))
        while (Band->Objects().size() > original)
            delete Band->Objects().last();
    Band->SetOriginalObjectsCount(-1);
}

// A band taller than the space left comes out in slices: each page takes
// the objects that fit below the previous slice, the rest moves up and goes
// on. An object taller than a whole page is placed on a page of its own.
void TfrxEngine::DrawSplit(TfrxBand *Band)
{
    QList<TfrxComponent *> rest;
    QHash<TfrxComponent *, bool> visible;
    for (TfrxComponent *c : Band->Objects()) {
        visible.insert(c, c->Visible());
        if (c->Visible())
            rest.append(c);
    }
    std::stable_sort(rest.begin(), rest.end(), [](TfrxComponent *a, TfrxComponent *b) { return a->Top() < b->Top(); });
    const double fullHeight = Band->Height();
    double offset = 0;
    while (true) {
        const double free = FreeSpace();
        QList<TfrxComponent *> now;
        for (TfrxComponent *c : std::as_const(rest))
            if (c->Top() - offset + c->Height() <= free + 1e-4)
                now.append(c);
        const bool pageIsFresh = FCurY <= FFirstColumnY + 1e-4;
        if (now.isEmpty() && !rest.isEmpty() && pageIsFresh)
            now.append(rest.first());
        if (now.isEmpty() && !rest.isEmpty()) {
            NewColumn();
            continue;
        }
        for (TfrxComponent *c : Band->Objects())
            c->SetVisible(now.contains(c));
        for (TfrxComponent *c : std::as_const(now))
            c->SetTop(c->Top() - offset);
        const double height = std::min(fullHeight - offset, free);
        Band->SetHeight(std::max(height, 0.0));
        OutputBand(Band);
        for (TfrxComponent *c : std::as_const(now)) {
            c->SetTop(c->Top() + offset);
            rest.removeOne(c);
        }
        if (rest.isEmpty())
            break;
        offset = rest.first()->Top();
        NewColumn();
    }
    for (auto it = visible.cbegin(); it != visible.cend(); ++it)
        it.key()->SetVisible(it.value());
    Band->SetHeight(fullHeight);
}

// The pages of the band's sub-reports come out below it, at the sub-report's
// left, one after another.
void TfrxEngine::CheckSubReports(TfrxBand *Band)
{
    const QList<TfrxComponent *> objects = Band->Objects();
    for (TfrxComponent *c : objects) {
        auto *sub = qobject_cast<TfrxSubreport *>(c);
        if (!sub || !sub->Visible() || !sub->Page())
            continue;
        const double savedX = FCurX;
        TfrxReportPage *savedPage = FPage;
        FCurX += sub->Left();
        ShowBandTree(sub->Page());
        FCurX = savedX;
        FPage = savedPage;
    }
}

void TfrxEngine::StartKeep(TfrxBand *Band)
{
    if (FKeeping)
        return;
    FKeeping = true;
    FKeepBand = Band;
    FKeepCurY = FCurY;
    FKeepPosition = FReport->PreviewPages()->GetCurPosition();
    FAggregates.StartKeep();
}

void TfrxEngine::EndKeep(TfrxBand *Band)
{
    if (!FKeeping || FKeepBand != Band)
        return;
    BreakAllKeep();
}

void TfrxEngine::BreakAllKeep()
{
    FKeeping = false;
    FKeepBand = nullptr;
    FAggregates.EndKeep();
}
