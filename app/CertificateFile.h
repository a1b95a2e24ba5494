#pragma once
// The certificate file: the 36 keys that carry one certificate between the
// entry window's controls and a ".vod" INI file.

#include "app/Certificate.h"
#include "base/DateTime.h"

#include <QMap>
#include <QString>

class TfmMain;
class TIniFile;

// Section of the left booklet page: "edit_1" ... "edit_10", "date1" ... "date4".
extern const QString CertificateLeftSection;
// Section of the subject table: "edt_1" ... "edt_11", "cmb_1" ... "cmb_10", "cmb_kpp".
extern const QString CertificateTableSection;

// Section of the trainee's details (TTraineeDetails), which the booklet does
// not print: "surname", "name", "patronymic", "birth", "sex", "snils",
// "citizenship". Written only once something was entered, so that a file
// without it saves as it was.
extern const QString CertificateDetailsSection;

// Certificate files are Windows-1251 text, whatever the desktop's locale,
// unless a value needs UTF-8 (see TIniFile).
constexpr int CertificateCodePage = 1251;

// The date of a stored date text: the current short date format, else the
// Russian day.month.year or the ISO year-month-day, so that a file made under
// other regional settings opens anywhere. False when none of them fits.
bool readCertificateDate(const QString &text, TDateTime &date);

// The certificate file holds, each text cut at CertificateMaxText as the
// entry fields cut it. A missing key gives its default: "Ошибка при
// чтении!" for the texts, "Ошибка!" for the total, today for a date that is
// missing or does not parse, no selection for a position that is missing,
// not an integer or outside the list. An hours value written with either
// decimal separator takes the current one. The trainee's details come from
// their own section (none: nothing entered). Nothing is validated.
TCertificate readCertificate(const TIniFile &file);

// Sets the 36 keys of file from Certificate, in the file's order, and the
// details' section when Certificate has details or the file had it. The
// file is not written until its UpdateFile().
void writeCertificate(const TCertificate &Certificate, TIniFile &file);

// readCertificate of the certificate file fileName. A file that is not
// there, is no regular file, cannot be read or is larger than
// TIniFile::MaxFileSize raises EInOutError naming it.
TCertificate readCertificateFile(const QString &fileName);

// The certificate as one map under the keys of the file (the key names of
// both sections are distinct), as the register keeps it; and back, with
// no trainee details.
QMap<QString, QString> certificateValues(const TCertificate &Certificate);
TCertificate certificateFromValues(const QMap<QString, QString> &values);

// The same for the entry window's controls: readCertificate into them (in
// the order of the file's layout, so setting Edit_8 updates the category
// mirrors; the date pickers keep their time of day), writeCertificate from
// them; openCertificate leaves the controls untouched when the file cannot
// be read; loadCertificateValues keeps the window's trainee details.
void loadCertificate(TfmMain &window, const TIniFile &file);
void storeCertificate(const TfmMain &window, TIniFile &file);
void openCertificate(TfmMain &window, const QString &fileName);
// Writes the window's certificate into fileName (created when missing) all at
// once: on failure the file stays as it was and EInOutError is raised.
void saveCertificate(const TfmMain &window, const QString &fileName);
QMap<QString, QString> certificateValues(const TfmMain &window);
void loadCertificateValues(TfmMain &window, const QMap<QString, QString> &values);
