// Showing a report: preparation started from a timer while the preview
// window is already on screen, and the preview window or control itself.

#include "report/model/rudReport.h"
#include "report/render/rudPreview.h"
#include "report/render/rudPreviewForm.h"

#include <QApplication>
#include <QTimer>

void TfrxReport::ShowReport(bool ClearLastReport)
{
    (void)ClearLastReport;
    ShowPreparedReport();
}

void TfrxReport::ShowPreparedReport()
{
    if (auto *control = qobject_cast<TfrxPreview *>(Preview())) {
        control->SetReport(this);
        control->Init();
        return;
    }
    auto *form = new TfrxPreviewForm(QApplication::activeWindow());
    form->SetReport(this);
    form->Init();
    // The report's Preview points at the window's control only while it is open.
    SetPreview(nullptr);
    if (OnPreview)
        OnPreview(form);
    if (PreviewOptions()->Modal()) {
        form->exec();
        delete form;
    } else {
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->setParent(nullptr, form->windowFlags());
        form->show();
    }
}
