#include "report/render/rudPreviewPagesDraw.h"

#include "report/engine/rudPreviewPages.h"
#include "report/render/rudPageDraw.h"

void rudInstallPreparedPagesDrawing()
{
    rudSetDrawPageHook([](TfrxPreviewPages *Pages, int Index, TfrxCanvas *Canvas, double ScaleX, double ScaleY,
                          double OffsetX, double OffsetY) {
        TfrxReportPage *page = Pages->GetPage(Index);
        if (!page)
            return;
        TfrxPageDrawOptions options;
        options.Index = Index;
        options.TotalPages = Pages->GetCount();
        options.CopyNo = Pages->CopyNo();
        options.PrintScale = Pages->PrintScale();
        rudDrawPage(page, Canvas, ScaleX, ScaleY, OffsetX, OffsetY, options);
    });
}
