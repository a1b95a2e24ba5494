// Printing of a report's prepared pages: TfrxReport::Print and
// SelectPrinter, and the store's printing hook.

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudPageDraw.h"
#include "report/render/rudPrintJob.h"
#include "report/render/rudPrinter.h"

namespace {

// The prepared pages store as the pages of a print job.
class TStorePageSource final : public TfrxPrintPageSource {
public:
    explicit TStorePageSource(TfrxPreviewPages *Pages) : FPages(Pages) {}
    int Count() override { return FPages->GetCount(); }
    TfrxReportPage *Page(int Index) override { return FPages->GetPage(Index); }
    void DrawPage(int Index, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY,
                  int CopyNo) override
    {
        FPages->SetCopyNo(CopyNo);
        if (TfrxReportPage *page = FPages->GetPage(Index))
            rudDrawPage(page, Canvas, ScaleX, ScaleY, OffsetX, OffsetY,
                        TfrxPageDrawOptions{Index, FPages->GetCount(), CopyNo, FPages->PrintScale()});
    }
    void SetPrintScale(double Value) override { FPages->SetPrintScale(Value); }

private:
    TfrxPreviewPages *FPages;
};

bool printStore(TfrxPreviewPages *Pages)
{
    TfrxReport *report = Pages->Report();
    TStorePageSource source(Pages);
    TfrxPrintHooks hooks;
    hooks.BeforePrint = [report] {
        if (report->OnPrintReport)
            report->OnPrintReport(report);
        report->DoNotifyEvent(report, report->OnReportPrint(), true);
    };
    hooks.PrintPage = [report](TfrxReportPage *Page, int CopyNo) {
        if (report->OnPrintPage)
            report->OnPrintPage(Page, CopyNo);
    };
    hooks.AfterPrint = [report, Pages] {
        if (report->OnAfterPrintReport)
            report->OnAfterPrintReport(report);
        Pages->SetCopyNo(0);
    };
    hooks.ProgressStart = [report] {
        report->SetTerminated(false);
        report->InternalOnProgressStart(ptPrinting);
    };
    hooks.Progress = [report](int PageNo) { report->InternalOnProgress(ptPrinting, PageNo); };
    hooks.ProgressStop = [report] { report->InternalOnProgressStop(ptPrinting); };
    hooks.Terminated = [report] { return report->Terminated(); };
    // "Current page" of the Print window: the page the preview shows.
    const int current = Pages->GetCount() > 0 ? Pages->CurPreviewPage() + 1 : 0;
    return rudPrintPages(report, source, hooks, current);
}

} // namespace

bool TfrxReport::Print()
{
    return PreviewPages()->Print();
}

void TfrxReport::SelectPrinter()
{
    rudSelectPrinter(this);
}

void rudInstallPrinting()
{
    rudSetPrintPagesHook(&printStore);
    rudInstallPrinterPaperProvider();
}
