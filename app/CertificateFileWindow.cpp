// The certificate file read into and written from the entry window's
// controls (declared with the file's other functions in CertificateFile.h).

#include "app/CertificateFile.h"

#include "app/main.h"
#include "base/IniFile.h"

void loadCertificate(TfmMain &window, const TIniFile &file) { window.SetCertificate(readCertificate(file)); }

void storeCertificate(const TfmMain &window, TIniFile &file) { writeCertificate(window.Certificate(), file); }

void openCertificate(TfmMain &window, const QString &fileName)
{
    window.SetCertificate(readCertificateFile(fileName));
}

void saveCertificate(const TfmMain &window, const QString &fileName)
{
    TIniFile file(fileName, CertificateCodePage);
    storeCertificate(window, file);
    file.UpdateFile();
}

QMap<QString, QString> certificateValues(const TfmMain &window) { return certificateValues(window.Certificate()); }

void loadCertificateValues(TfmMain &window, const QMap<QString, QString> &values)
{
    TCertificate certificate = certificateFromValues(values);
    certificate.Details = window.TraineeDetails;
    window.SetCertificate(certificate);
}
