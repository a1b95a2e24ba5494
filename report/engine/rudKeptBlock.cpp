// Kept-together blocks: opening and closing a block, cutting it from the
// page that ends and pasting it on the next one with its outline entries.

#include "report/engine/rudKeptBlock.h"

#include "report/engine/rudAggregate.h"
#include "report/engine/rudEngineSeam.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudBand.h"
#include "report/model/rudReport.h"

#include "base/NumberFormat.h"

TfrxKeptBlock::TfrxKeptBlock(TfrxEngineSeam &Engine, TfrxAggregateList &Aggregates)
    : FEngine(Engine), FAggregates(Aggregates)
{
}

void TfrxKeptBlock::Clear()
{
    FKeeping = false;
    FKeepBand = nullptr;
    FKeepHeader = false;
    FKeepFooter = false;
    FKeptBands.clear();
    FLastRowBand = nullptr;
    FLastRowPage = -1;
}

void TfrxKeptBlock::StartKeep(TfrxBand *Band)
{
    if (FKeeping)
        return;
    TfrxCustomEngine &engine = FEngine.State();
    TfrxCustomPreviewPages *pages = engine.FReport->PreviewPages();
    FKeeping = true;
    FKeepBand = Band;
    FKeepHeader = qobject_cast<TfrxHeader *>(Band) != nullptr;
    FKeepFooter = false;
    FKeepCurY = engine.FCurY;
    FKeepPosition = pages->GetCurPosition();
    FKeepAnchor = pages->GetAnchorCurPosition();
    FKeepOutlineItem = pages->Outline()->CurItem();
    FKeepOutline = pages->Outline()->Count();
    FKeptBands.clear();
    FAggregates.StartKeep();
}

void TfrxKeptBlock::EndKeep(TfrxBand *Band)
{
    if (FKeeping && FKeepBand == Band)
        BreakAllKeep();
}

// The kept block starts where the last row started, so that the footer
// never begins a page on its own; the row's share of the page-footer
// totals moves with it.
bool TfrxKeptBlock::StartFooterKeep(TfrxBand *Footer)
{
    if (!FLastRowBand || FLastRowPage != FEngine.State().FReport->PreviewPages()->CurPage())
        return false;
    if (FKeeping)
        return true;
    StartKeep(Footer);
    FKeepFooter = true;
    FKeepPosition = FLastRowPosition;
    FKeepCurY = FLastRowY;
    FKeptBands.append(FLastRowBand);
    FAggregates.KeepLastRow(FLastRowBand);
    return true;
}

void TfrxKeptBlock::BreakAllKeep()
{
    if (FKeeping)
        FAggregates.EndKeep();
    FKeeping = false;
    FKeepBand = nullptr;
    FKeepHeader = false;
    FKeepFooter = false;
    FKeptBands.clear();
}

void TfrxKeptBlock::AddBand(TfrxBand *Band)
{
    if (FKeeping && !FKeptBands.contains(Band))
        FKeptBands.append(Band);
}

double TfrxKeptBlock::Height() const
{
    return FEngine.State().FCurY - FKeepCurY;
}

void TfrxKeptBlock::NoteRow(TfrxDataBand *Band, int Page, int Position, double Y)
{
    FLastRowBand = Band;
    FLastRowPage = Page;
    FLastRowPosition = Position;
    FLastRowY = Y;
}

TfrxKeptBlock::TCut TfrxKeptBlock::Cut()
{
    if (!FKeeping)
        return {};
    TfrxCustomPreviewPages *pages = FEngine.State().FReport->PreviewPages();
    const TCut cut{true, pages->CurPage(), FKeepPosition};
    pages->CutObjects(FKeepPosition);
    return cut;
}

int TfrxKeptBlock::Paste(const TCut &Cut, bool ShiftOutline)
{
    if (!Cut.Kept)
        return 0;
    TfrxCustomEngine &engine = FEngine.State();
    TfrxCustomPreviewPages *pages = engine.FReport->PreviewPages();
    const double shift = engine.FCurY - FKeepCurY;
    const int pastedAt = pages->GetCurPosition();
    pages->PasteObjects(engine.FCurX, engine.FCurY);
    if (ShiftOutline)
        ShiftKeptOutline(shift);
    return pastedAt;
}

// The entries added since the keep began (children of the entry that was
// current then, from FKeepOutline on) and the anchors from FKeepAnchor on
// go to the next page, lower or higher by Shift.
void TfrxKeptBlock::ShiftKeptOutline(double Shift)
{
    TfrxCustomPreviewPages *pages = FEngine.State().FReport->PreviewPages();
    TfrxOutline *outline = pages->Outline();
    TfrxXMLItem *parent = FKeepOutlineItem ? FKeepOutlineItem : outline->Root();
    const int shift = int(RoundHalfEven(Shift));
    if (FKeepOutline < parent->Count())
        rudShiftOutlineItems(parent, FKeepOutline,
                             parent->Items(FKeepOutline)->Prop(QStringLiteral("top")).toInt() + shift);
    auto *store = dynamic_cast<TfrxPreviewPages *>(pages);
    if (!store)
        return;
    TfrxXMLItem *root = store->XMLDoc().Root();
    const int anchors = root->Find(QStringLiteral("anchors"));
    if (anchors >= 0 && FKeepAnchor < root->Items(anchors)->Count())
        pages->ShiftAnchors(FKeepAnchor,
                            root->Items(anchors)->Items(FKeepAnchor)->Prop(QStringLiteral("top")).toInt() + shift);
}
