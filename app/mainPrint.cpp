// The print command of the entry window: the certificate in its controls
// filled into the print template and shown as a report; the template command.

#include "app/main.h"

#include "app/FitDialog.h"
#include "app/PrintRecorder.h"
#include "app/TemplateLocation.h"

#include "report/model/rudReport.h"

QString TfmMain::TemplatePath() const { return TemplateFolder + QLatin1Char('/') + PrintTemplateFileName; }

void TfmMain::Button3Click()
{
    // The designer's prints are not the school's certificates.
    FRecorder.reset();
    rudReport1->LoadFromFile(provideUserTemplate(TemplatePath(), ShippedTemplate));
    rudReport1->SetFileName(TemplatePath());
    rudReport1->DesignReport(true, false);
}

// Every print from this preview is recorded in the register. The preview
// is modal, so the recorder ends with it; one left from a preview that is
// not modal ends with the next print command.
void TfmMain::N7Click()
{
    FRecorder.reset();
    if (!FillReport() || !confirmFit(rudReport1, this))
        return;
    FRecorder = std::make_unique<TPrintRecorder>(*this, true);
    rudReport1->ShowReport(true);
    if (rudReport1->PreviewOptions()->Modal())
        FRecorder.reset();
}

void TfmMain::LoadTemplate() { loadPrintTemplate(rudReport1, TemplatePath(), ShippedTemplate); }

void TfmMain::preprint() { fillCertificateReport(rudReport1, Certificate()); }
