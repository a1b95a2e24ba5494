#pragma once
// A certificate printed without the entry window: the command line's
// print, PDF and group commands read the certificate file into a value and
// fill the print template from it, as the window would, without building
// any control.

#include "app/CertificateReport.h"

#include <memory>

struct TfrxServices;

// What the print command prints from when no window is shown: a report
// set up as the window's, the user's print template and the register.
class THeadlessCertificate final : public TCertificateHost {
public:
    // Services: the report's, the designer's for a program with windows,
    // the drawing room's for one that only writes PDF files.
    explicit THeadlessCertificate(std::shared_ptr<const TfrxServices> Services);
    ~THeadlessCertificate() override;
    THeadlessCertificate(const THeadlessCertificate &) = delete;
    THeadlessCertificate &operator=(const THeadlessCertificate &) = delete;

    // Reads the certificate file as the window's "Открыть" does, the
    // total computed afresh from the hours (EConvertError when one is no number).
    void Open(const QString &FileName);
    // The series printed instead of the file's; EConvertError when it is
    // longer than an entry field holds.
    void SetSeries(const QString &Series);
    // The certificate printed; Open fills it.
    TCertificate Values;
    // The print template as the window finds it: the user's copy in
    // TemplateFolder (the user's data folder unless a test sets another),
    // made from ShippedTemplate on first use.
    QString TemplateFolder, ShippedTemplate;

    TfrxReport *Report() const override { return FReport.get(); }
    TCertificate Certificate() const override { return Values; }
    void LoadTemplate() override;
    TRegister &Register() override;

private:
    std::unique_ptr<TfrxReport> FReport;
    std::unique_ptr<TRegister> FRegister;
};
