// Keep-together blocks (output that moves to the next page or column as a
// whole when it does not fit) and the outline entries of pages and bands.

#include "report/engine/rudEngine.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudBand.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"

#include "base/NumberFormat.h"

void TfrxEngine::StartKeep(TfrxBand *Band)
{
    if (FKeeping)
        return;
    TfrxCustomPreviewPages *pages = FReport->PreviewPages();
    FKeeping = true;
    FKeepBand = Band;
    FKeepHeader = qobject_cast<TfrxHeader *>(Band) != nullptr;
    FKeepFooter = false;
    FKeepCurY = FCurY;
    FKeepPosition = pages->GetCurPosition();
    FKeepAnchor = pages->GetAnchorCurPosition();
    FKeepOutlineItem = pages->Outline()->CurItem();
    FKeepOutline = pages->Outline()->Count();
    FKeptBands.clear();
    FAggregates.StartKeep();
}

void TfrxEngine::EndKeep(TfrxBand *Band)
{
    if (FKeeping && FKeepBand == Band)
        BreakAllKeep();
}

// The kept block starts where the last row started, so that the footer
// never begins a page on its own; the row's share of the page-footer
// totals moves with it.
void TfrxEngine::StartFooterKeep(TfrxBand *Footer, TfrxDataBand *Band, int Position, double Y)
{
    if (FKeeping)
        return;
    StartKeep(Footer);
    FKeepFooter = true;
    FKeepPosition = Position;
    FKeepCurY = Y;
    FKeptBands.append(Band);
    FAggregates.KeepLastRow(Band);
}

void TfrxEngine::BreakAllKeep()
{
    if (FKeeping)
        FAggregates.EndKeep();
    FKeeping = false;
    FKeepBand = nullptr;
    FKeepHeader = false;
    FKeepFooter = false;
    FKeptBands.clear();
}

// The entries added since the keep began (children of the entry that was
// current then, from FKeepOutline on) and the anchors from FKeepAnchor on
// go to the next page, lower or higher by Shift.
void TfrxEngine::ShiftKeptOutline(double Shift)
{
    TfrxCustomPreviewPages *pages = FReport->PreviewPages();
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

// A page's entry lies at the root. The first page of a report page makes it
// current, so that the entries of its bands nest under it; a page started
// by overflow adds its entry beside it and leaves the nesting as it was.
void TfrxEngine::AddPageOutline(bool Current)
{
    if (!FPage || FPage->OutlineText().trimmed().isEmpty())
        return;
    TfrxOutline *outline = FReport->PreviewPages()->Outline();
    TfrxXMLItem *current = outline->CurItem();
    FReport->SetCurObject(FPage->Name());
    const QString text = FReport->Calc(FPage->OutlineText()).ToText();
    outline->LevelRoot();
    outline->AddItem(text, int(RoundHalfEven(FCurY)));
    if (!Current)
        outline->SetCurItem(current);
}

// Further column sets of a page repeat its rows: their entries are the
// first set's.
bool TfrxEngine::AddBandOutline(TfrxBand *Band)
{
    if (!Band || Band->OutlineText().trimmed().isEmpty() || FVSet > 0)
        return false;
    FCurBand = Band;
    FReport->SetCurObject(Band->Name());
    const QString text = FReport->Calc(Band->OutlineText()).ToText();
    FReport->PreviewPages()->Outline()->AddItem(text, int(RoundHalfEven(FOutputTop.value(Band, FCurY))));
    return true;
}
