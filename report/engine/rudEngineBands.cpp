// Band output: evaluating and stretching a band's objects, placing the
// band on the page (or splitting it across pages) with the memo that carries
// its fill and frame.

#include "report/engine/rudEngine.h"

#include "report/engine/rudBandObjects.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudBand.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"

#include <algorithm>

namespace {

bool isMultiColumn(const TfrxBand *Band)
{
    auto *d = qobject_cast<const TfrxDataBand *>(Band);
    return d && d->Columns() > 1;
}

// True when the view's fill paints something.
bool fillShows(const TfrxView *View)
{
    if (View->FillType() != ftBrush)
        return true;
    const auto *brush = static_cast<const TfrxBrushFill *>(View->ExistingFill());
    return brush && (brush->BackColor() != clTransparent || (brush->Style() != bsSolid && brush->Style() != bsClear));
}

// While a band is handed to the store, its fill memo lies under its
// objects and the band itself has neither fill nor frame, so whatever draws
// a prepared page paints them once, as an object. Afterwards the memo leaves
// the band and the band gets its fill and frame back.
class TFillMemo {
public:
    TFillMemo(TfrxBand *Band, TfrxMemoView *Memo) : FBand(Band), FMemo(Memo)
    {
        if (!FMemo)
            return;
        FMemo->SetParent(Band);
        Band->MoveChild(FMemo, 0);
        FMemo->SetBounds(0, 0, Band->Width(), Band->Height());
        FMemo->SetFill(Band->Fill());
        FMemo->SetFrame(Band->Frame());
        Band->SetFillType(ftBrush);
        TfrxBrushFill none;
        Band->SetFill(&none);
        TfrxFrame noFrame;
        Band->SetFrame(&noFrame);
    }
    ~TFillMemo()
    {
        if (!FMemo)
            return;
        FBand->SetFill(FMemo->Fill());
        FBand->SetFrame(FMemo->Frame());
        FMemo->SetParent(nullptr);
    }
    TFillMemo(const TFillMemo &) = delete;
    TFillMemo &operator=(const TFillMemo &) = delete;

private:
    TfrxBand *FBand;
    TfrxMemoView *FMemo;
};

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
    const bool keep = Band->KeepChild() && Band->Child() && !FKept.Keeping();
    if (keep)
        FKept.StartKeep(Band);
    DoShow(Band);
    if ((Band->Visible() || Band->PrintChildIfInvisible()) && !isMultiColumn(Band))
        ShowBand(Band->Child());
    if (keep)
        FKept.EndKeep(Band);
    if (auto *d = qobject_cast<TfrxDataBand *>(Band))
        FAggregates.AddValue(d, FCurVColumn);
}

void TfrxEngine::DoShow(TfrxBand *Band)
{
    const bool isData = qobject_cast<TfrxDataBand *>(Band) != nullptr;
    auto *groupHeader = qobject_cast<TfrxGroupHeader *>(Band);
    const bool isNull = qobject_cast<TfrxNullBand *>(Band) != nullptr;
    const bool isOverlay = qobject_cast<TfrxOverlay *>(Band) != nullptr;

    if (Band->StartNewPage() && Band->Visible() && !FCallFromAddPage && !FPageFrameDepth && !FOutputTo &&
        (!(isData || groupHeader) || Band->LineThrough > 1)) {
        // The page is left for this band: it is what the new page waits for.
        FCurBand = Band;
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
    // Page and column footers have their place reserved below the free space;
    // the bands framing a page (their children too) never move to a new page.
    const bool isFooter =
        qobject_cast<TfrxPageFooter *>(Band) || qobject_cast<TfrxColumnFooter *>(Band) || FPageFrameDepth > 0;
    if (Band->Visible() && !isMultiColumn(Band) && !isOverlay && !isNull && !isFooter && !FOutputTo &&
        FreeSpace() < Band->Height()) {
        const bool tooTall = Band->Height() > GetPageHeight() - FooterHeight() && !Band->HasVBands();
        if ((Band->AllowSplit() && !FKept.Keeping()) || tooTall) {
            if (!Band->AllowSplit() && Band->LineThrough > 1 && !Band->StartNewPage())
                FSuppressed.MoveToNewColumn(Band);
            BreakAllKeep();
            DrawSplit(Band);
            split = true;
        } else if (!(qobject_cast<TfrxChild *>(Band) && FCallFromPHeader)) {
            FSuppressed.MoveToNewColumn(Band);
        }
    } else if (Band->Visible() && isMultiColumn(Band) && !FOutputTo) {
        // The columns of a data band share one row: the row moves on when
        // its first column does not fit.
        auto *d = static_cast<TfrxDataBand *>(Band);
        if (d->CurColumn <= 1 && FreeSpace() < Band->Height())
            FSuppressed.MoveToNewColumn(Band);
    }
    if (!split && Band->Visible())
        OutputBand(Band);

    UnStretch(Band);
    Band->SetBounds(design.left(), design.top(), design.width(), design.height());
    FAggregates.Reset(Band);
    if (Band->Visible())
        FSubreports.CheckSubReports(Band);
}

// One memo per band and run: the store knows it as a source object, so each
// output writes only its height when the band stretched.
TfrxMemoView *TfrxEngine::FillMemo(TfrxBand *Band)
{
    const TfrxFrame *frame = Band->Frame();
    if (!fillShows(Band) && frame->Typ() == TfrxFrameTypes() && !frame->DropShadow())
        return nullptr;
    std::unique_ptr<TfrxMemoView> &memo = FFillMemos[Band];
    if (!memo) {
        memo = std::make_unique<TfrxMemoView>(nullptr);
        memo->SetBounds(0, 0, Band->Width(), Band->Height());
        memo->SetFill(Band->Fill());
        memo->SetFrame(Band->Frame());
        FReport->PreviewPages()->AddToSourcePage(memo.get());
    }
    return memo.get();
}

// Places the band at the output position and hands it to the store, or,
// while a sub-report's output is collected, copies its objects there.
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
    FOutputTop.insert(Band, Band->Top());
    FKept.AddBand(Band);
    TfrxCustomPreviewPages *pages = FReport->PreviewPages();
    {
        const TFillMemo fill(Band, isNull ? nullptr : FillMemo(Band));
        if (FOutputTo) {
            for (TfrxComponent *c : Band->Objects())
                if (c->Visible())
                    if (TfrxComponent *copy = rudCopyOutput(c, FOutputTo)) {
                        copy->SetLeft(Band->Left() + c->Left());
                        copy->SetTop(Band->Top() + c->Top());
                    }
        } else if (!(FCallFromAddPage && !FCallFromAddColumn && pages->BandExists(Band))) {
            if (d && !FCallFromAddPage) {
                // Where the row starts: a footer kept with the last row takes it along.
                FKept.NoteRow(d, pages->CurPage(), pages->GetCurPosition(), FCurY);
            }
            FSuppressed.RecordSuppressed(Band, pages->GetCurPosition());
            pages->AddObject(Band);
        }
    }
    if (!columns) {
        FCurY += Band->Height();
        return;
    }
    // A row of columns moves down by its tallest column once its last
    // column is placed.
    if (d->CurColumn <= 1)
        FColumnRowHeight = 0;
    FColumnRowHeight = std::max(FColumnRowHeight, Band->Height());
    if (d->CurColumn >= d->Columns())
        FCurY += FColumnRowHeight;
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
    if (Band->HasVBands())
        FVOutput.ShowVBands(Band, grown);
    if (!grown.isEmpty())
        rudShiftObjects(Band, grown);
    FSubreports.DoSubReports(Band);
    if (Band->Stretched() && !Band->Objects().isEmpty()) {
        double bottom = 0;
        for (TfrxComponent *c : Band->Objects())
            if (c->Visible())
                bottom = std::max(bottom, c->Top() + c->Height());
        Band->SetHeight(bottom);
    }
    FCurBand = Band;
    FReport->SetCurObject(Band->Name());
    FReport->DoNotifyEvent(Band, Band->OnAfterCalcHeight());
    for (TfrxComponent *c : Band->Objects())
        if (auto *s = qobject_cast<TfrxStretcheable *>(c); s && s->StretchMode() == smMaxHeight)
            s->SetHeight(Band->Height() - s->Top());
}

// The band's own objects are restored; what output added to the band (the
// cells of vertical bands, the output of sub-reports printed on it) goes.
void TfrxEngine::UnStretch(TfrxBand *Band)
{
    const int original = Band->OriginalObjectsCount();
    QList<TfrxComponent *> objects = Band->Objects();
    if (original >= 0 && !qobject_cast<TfrxNullBand *>(Band))
        objects = objects.mid(0, original);
    if (Band->Visible())
        for (TfrxComponent *c : std::as_const(objects))
            if (auto *view = qobject_cast<TfrxReportComponent *>(c))
                FReport->DoAfterPrint(view);
    for (TfrxComponent *c : std::as_const(objects))
        if (auto *view = qobject_cast<TfrxReportComponent *>(c))
            view->AfterPrint();
    FReport->DoAfterPrint(Band);
    Band->AfterPrint();
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
    double fullHeight = Band->Height();
    double offset = 0;
    // On a fresh column (nothing but the repeated headers above) an object
    // that still does not fit is placed anyway: waiting for more room would
    // never end.
    bool fresh = FCurY <= FFirstColumnY + 1e-4;
    while (true) {
        const double free = FreeSpace();
        QList<TfrxComponent *> now;
        for (TfrxComponent *c : std::as_const(rest))
            if (c->Top() - offset + c->Height() <= free + 1e-4)
                now.append(c);
        if (now.isEmpty() && !rest.isEmpty() && fresh)
            now.append(rest.first());
        if (now.isEmpty() && !rest.isEmpty()) {
            FSuppressed.SplitToNewColumn(Band, rest, fullHeight);
            fresh = true;
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
        // The headers repeated on the new page are shown in between: the
        // band that goes on is still this one.
        FSuppressed.SplitToNewColumn(Band, rest, fullHeight);
        offset = rest.first()->Top();
        fresh = true;
    }
    for (auto it = visible.cbegin(); it != visible.cend(); ++it)
        it.key()->SetVisible(it.value());
    Band->SetHeight(fullHeight);
}
