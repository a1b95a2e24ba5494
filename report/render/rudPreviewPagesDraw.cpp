// The drawing of prepared pages: the hook the prepared pages store calls
// from DrawPage, installed by rudRenderInit.

#include "report/render/rudPreviewPagesDraw.h"

#include "report/engine/rudPreviewPages.h"

TfrxPageDrawOptions rudPreparedPageOptions(TfrxPreviewPages *Pages, int Index)
{
    TfrxPageDrawOptions options;
    options.Index = Index;
    options.TotalPages = Pages->GetCount();
    options.CopyNo = Pages->CopyNo();
    options.PrintScale = Pages->PrintScale();
    return options;
}

void rudDrawPreparedPage(TfrxPreviewPages *Pages, int Index, TfrxCanvas *Canvas, double ScaleX, double ScaleY,
                         double OffsetX, double OffsetY)
{
    if (!Pages || !Canvas)
        return;
    TfrxReportPage *page = Pages->GetPage(Index);
    if (!page)
        return;
    rudDrawPage(page, Canvas, ScaleX, ScaleY, OffsetX, OffsetY, rudPreparedPageOptions(Pages, Index));
}
