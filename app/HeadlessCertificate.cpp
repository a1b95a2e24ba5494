#include "app/HeadlessCertificate.h"

#include "app/Calibration.h"
#include "app/CertificateFile.h"
#include "app/RegisterLocation.h"
#include "app/TemplateLocation.h"
#include "base/Errors.h"
#include "base/NumberFormat.h"
#include "records/Register.h"
#include "report/model/rudReport.h"
#include "report/render/rudPaperCalibration.h"

THeadlessCertificate::THeadlessCertificate(std::shared_ptr<const TfrxServices> Services)
    : TemplateFolder(userTemplateFolder()), ShippedTemplate(shippedTemplatePath()),
      FReport(std::make_unique<TfrxReport>())
{
    // The printer calibration is the window's report's.
    FReport->SetServices(std::move(Services));
    FReport->setObjectName(QStringLiteral("rudReport1"));
    FReport->SetName(QStringLiteral("rudReport1"));
    rudSetPaperCalibration(FReport.get(), &printerCalibration);
}

THeadlessCertificate::~THeadlessCertificate() = default;

void THeadlessCertificate::Open(const QString &FileName)
{
    Values = readCertificateFile(FileName);
    Values.Hours[10] = FloatToStr(certificateHoursSum(Values));
}

void THeadlessCertificate::SetSeries(const QString &Series)
{
    if (Series.size() > CertificateMaxText)
        throw EConvertError(QStringLiteral("Серия «%1» длиннее %2 знаков: на бланке для неё нет места.")
                                .arg(Series)
                                .arg(CertificateMaxText));
    Values.Edits[3] = Series;
}

void THeadlessCertificate::LoadTemplate()
{
    loadPrintTemplate(FReport.get(), TemplateFolder + QLatin1Char('/') + PrintTemplateFileName, ShippedTemplate);
}

TRegister &THeadlessCertificate::Register()
{
    if (!FRegister)
        FRegister = TRegister::Open(registerLocation());
    return *FRegister;
}
