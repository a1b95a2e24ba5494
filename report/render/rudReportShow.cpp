// Showing a report: preparation started from a timer while the preview
// window is already on screen, and the preview window or control itself.

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudReport.h"
#include "report/render/rudPreview.h"
#include "report/render/rudPreviewForm.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace {

// The delay after which preparation starts: long enough for the preview
// window to be on screen and receive the progress.
constexpr int prepareDelayMs = 50;

} // namespace

void TfrxReport::ShowReport(bool ClearLastReport)
{
    if (ClearLastReport)
        PreviewPages()->Clear();
    if (FOldStyleProgress) {
        // Prepared first, with the progress window; shown only when it worked.
        if (PrepareReport(false))
            ShowPreparedReport();
        return;
    }
    // A one-shot timer owned by the report: the preview (modal or not) is
    // shown first and the tick prepares into it. The timer goes with the
    // report, and a preview closed before the tick stops it.
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setInterval(prepareDelayMs);
    QObject::connect(timer, &QTimer::timeout, this, [this, timer] {
        timer->deleteLater();
        PrepareReport(false);
    });
    timer->start();
    const QPointer<QTimer> pending(timer);
    ShowPreparedReport();
    // A modal preview has closed here: a tick that has not come is dropped.
    if (pending && !Preview()) {
        pending->stop();
        pending->deleteLater();
    }
}

void TfrxReport::ShowPreparedReport()
{
    if (auto *control = qobject_cast<TfrxPreview *>(Preview()); control && !control->window()->inherits("TfrxPreviewForm")) {
        control->SetReport(this);
        control->Init();
        return;
    }
    auto *form = new TfrxPreviewForm(QApplication::activeWindow());
    form->SetReport(this);
    form->Init();
    // The window's control is the report's preview (and gets the progress)
    // while the window is open.
    if (OnPreview)
        OnPreview(form);
    if (PreviewOptions()->Modal()) {
        form->exec();
        delete form;
    } else {
        // A window of its own with its own taskbar button, freed on close.
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->setParent(nullptr, form->windowFlags());
        form->show();
    }
}
