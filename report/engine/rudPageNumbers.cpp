// The page numbers expressions show, read from the prepared pages store.
// Before the first page is started a report counts as being on its first.

#include "report/engine/rudPageNumbers.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"

#include <algorithm>

int rudLogicalPageNo(TfrxReport *Report)
{
    TfrxCustomPreviewPages *pages = Report->PreviewPages();
    return pages->CurPage() < 0 ? 1 : pages->GetLogicalPageNo();
}

int rudLogicalTotalPages(TfrxReport *Report)
{
    return Report->PreviewPages()->GetLogicalTotalPages();
}

int rudCurPage(TfrxReport *Report)
{
    return std::max(0, Report->PreviewPages()->CurPage());
}
