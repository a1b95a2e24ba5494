// Printing of a report's prepared pages: the store's printing service.

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudPageDraw.h"
#include "report/render/rudPreview.h"
#include "report/render/rudPrintJob.h"
#include "report/render/rudPrinter.h"

#include <QPointer>

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

// Keeps the report's preview locked while its pages are printed (pending
// window messages are processed between pages, so its commands could
// otherwise replace the pages under the job); unlocks however the job ends.
class TPreviewLock {
public:
    TPreviewLock() = default;
    TPreviewLock(const TPreviewLock &) = delete;
    TPreviewLock &operator=(const TPreviewLock &) = delete;
    ~TPreviewLock()
    {
        if (FPreview)
            FPreview->Unlock();
    }
    void Lock(QObject *Preview)
    {
        FPreview = qobject_cast<TfrxPreview *>(Preview);
        if (!FPreview)
            return;
        FPreview->Lock();
        FPreview->Workspace()->viewport()->update();
    }

private:
    QPointer<TfrxPreview> FPreview;
};

} // namespace

bool rudPrintStore(TfrxPreviewPages *Pages)
{
    TfrxReport *report = Pages->Report();
    TStorePageSource source(Pages);
    TPreviewLock previewLock;
    TfrxPrintHooks hooks;
    hooks.BeforePrint = [report, &previewLock] {
        if (report->OnPrintReport)
            report->OnPrintReport(report);
        report->DoNotifyEvent(report, report->OnReportPrint(), true);
        previewLock.Lock(report->Preview());
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
    hooks.Calibration = rudPaperCalibration(report);
    // "Current page" of the Print window: the page the preview shows.
    const int current = Pages->GetCount() > 0 ? Pages->CurPreviewPage() + 1 : 0;
    return rudPrintPages(report, source, hooks, current);
}
