#include "TemplatePages.h"

#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudPageDraw.h"

TfrxTemplatePageSource::TfrxTemplatePageSource(TfrxReport *Report)
{
    for (TfrxComponent *child : Report->Objects())
        if (auto *page = qobject_cast<TfrxReportPage *>(child))
            FPages << page;
}

void TfrxTemplatePageSource::DrawPage(int Index, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                                      double OffsetY, int CopyNo)
{
    rudDrawPage(FPages.at(Index), Canvas, ScaleX, ScaleY, OffsetX, OffsetY,
                TfrxPageDrawOptions{Index, int(FPages.size()), CopyNo, FPrintScale});
}
