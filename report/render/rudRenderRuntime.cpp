// Showing a report: preparation started from a timer while the preview
// window is already on screen, and the preview window or control itself;
// the standard services.

#include "report/render/rudRenderRuntime.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"
#include "report/render/rudDrawingServices.h"
#include "report/render/rudPreview.h"
#include "report/render/rudPreviewForm.h"
#include "report/render/rudPrintJob.h"
#include "report/render/rudPrinter.h"
#include "report/render/rudProgressWindow.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace {

// The delay after which preparation starts: long enough for the preview
// window to be on screen and receive the progress.
constexpr int prepareDelayMs = 50;

} // namespace

void TfrxRenderRuntime::ShowReport(bool ClearLastReport)
{
    TfrxReport *const report = FReport;
    if (ClearLastReport)
        PreviewPages()->Clear();
    if (report->OldStyleProgress()) {
        // Prepared first, with the progress window; shown only when it worked.
        if (report->PrepareReport(false))
            ShowPreparedReport();
        return;
    }
    // A one-shot timer owned by the report: the preview (modal or not) is
    // shown first and the tick prepares into it. The timer goes with the
    // report, and a preview closed before the tick stops it.
    auto *timer = new QTimer(report);
    timer->setSingleShot(true);
    timer->setInterval(prepareDelayMs);
    QObject::connect(timer, &QTimer::timeout, report, [report, timer] {
        timer->deleteLater();
        report->PrepareReport(false);
    });
    timer->start();
    const QPointer<QTimer> pending(timer);
    ShowPreparedReport();
    // A modal preview has closed here: a tick that has not come is dropped.
    if (pending && !report->Preview()) {
        pending->stop();
        pending->deleteLater();
    }
}

void TfrxRenderRuntime::ShowPreparedReport()
{
    TfrxReport *const report = FReport;
    if (auto *control = qobject_cast<TfrxPreview *>(report->Preview());
        control && !control->window()->inherits("TfrxPreviewForm")) {
        control->SetReport(report);
        control->Init();
        return;
    }
    auto *form = new TfrxPreviewForm(QApplication::activeWindow());
    form->SetReport(report);
    form->Init();
    // The window's control is the report's preview (and gets the progress)
    // while the window is open.
    if (report->OnPreview)
        report->OnPreview(form);
    if (report->PreviewOptions()->Modal()) {
        form->exec();
        delete form;
    } else {
        // A window of its own with its own taskbar button, freed on close.
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->setParent(nullptr, form->windowFlags());
        form->show();
    }
}

void TfrxRenderRuntime::SelectPrinter()
{
    rudSelectPrinter(FReport);
}

TfrxServices rudStandardServices()
{
    TfrxServices services = rudDrawingServices();
    services.MakeRuntime = [](TfrxReport *Report) { return std::make_unique<TfrxRenderRuntime>(Report); };
    services.PrinterPaper = &rudCurrentPrinterPaper;
    services.PrintPages = &rudPrintStore;
    services.ProgressWindow = &rudMakeProgressWindow;
    return services;
}

std::shared_ptr<const TfrxServices> rudSharedStandardServices()
{
    static const auto services = std::make_shared<const TfrxServices>(rudStandardServices());
    return services;
}
