#pragma once
// The certificate file: the 36 keys that carry one certificate between the
// entry window's controls and a ".vod" INI file.

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

// Puts the values of file into the window's controls, in the order of the
// file's layout (so setting Edit_8 updates the category mirrors). An hours
// value written with either decimal separator takes the current one. A missing
// key gives its default: "Ошибка при чтении!" for the texts, "Ошибка!" for the
// total, today for a date that is missing or does not parse, no selection for
// a position that is missing, not an integer or outside the list. The date
// pickers keep their time of day. The trainee's details come from their own
// section (none: nothing entered). Nothing is validated.
void loadCertificate(TfmMain &window, const TIniFile &file);

// Sets the 36 keys of file from the window's controls, in the file's order,
// and the details' section when the window has details or the file had it.
// The file is not written until its UpdateFile().
void storeCertificate(const TfmMain &window, TIniFile &file);

// loadCertificate from the certificate file fileName. A file that is not
// there, is no regular file, cannot be read or is larger than
// TIniFile::MaxFileSize raises EInOutError naming it, the controls untouched.
void openCertificate(TfmMain &window, const QString &fileName);

// Writes the window's certificate into fileName (created when missing) all at
// once: on failure the file stays as it was and EInOutError is raised.
void saveCertificate(const TfmMain &window, const QString &fileName);

// The certificate as one map under the keys of the file (the key names of
// both sections are distinct), as the register keeps it.
QMap<QString, QString> certificateValues(const TfmMain &window);
// Puts such a map into the window's controls as loadCertificate does; the
// window's trainee details stay as they are.
void loadCertificateValues(TfmMain &window, const QMap<QString, QString> &values);
