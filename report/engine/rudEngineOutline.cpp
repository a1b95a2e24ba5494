// Outline entries of the prepared pages: one per page of a report page with
// an OutlineText and one per band output with an OutlineText.

#include "report/engine/rudEngine.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudBand.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"

#include "base/NumberFormat.h"

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
    if (!Band || Band->OutlineText().trimmed().isEmpty() || FVOutput.ColumnSet() > 0)
        return false;
    FCurBand = Band;
    FReport->SetCurObject(Band->Name());
    const QString text = FReport->Calc(Band->OutlineText()).ToText();
    FReport->PreviewPages()->Outline()->AddItem(text, int(RoundHalfEven(FOutputTop.value(Band, FCurY))));
    return true;
}
