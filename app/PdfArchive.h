#pragma once
// The PDF archive: every certificate printed and recorded in the register is
// also written as a PDF of its own pages into the archive folder (by default
// "archive" in the user's data folder), one file a certificate, and its path
// and SHA-256 are kept in its record. The print and its record never depend
// on the archive: a copy that cannot be written is reported after the print.

#include "records/Register.h"

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;
class TfrxReport;

// The archive's settings, kept in the program's settings file (section
// "Archive": Enabled, Folder).
struct TArchiveSettings {
    bool Enabled = true;
    QString Folder; // "" for defaultArchiveFolder()
};
TArchiveSettings archiveSettings();
// Keeps Settings in the settings file (saved at once, atomically).
void saveArchiveSettings(const TArchiveSettings &Settings);
// The user's data folder + "/archive".
QString defaultArchiveFolder();

// The archive file of Record under Folder: "YEAR/SERIES-NUMBER SURNAME.pdf"
// (the year printed, local time; the surname is the name's first word), or
// "YEAR/yyyy-MM-dd HH-mm-ss SURNAME.pdf" by the time printed when it has no
// number. Characters a file name cannot hold become "_"; a name taken by
// another file gets " (2)", " (3)", ... before ".pdf".
QString archiveFilePath(const QString &Folder, const TCertificateRecord &Record);

// One printed certificate: its record and its pages in the prepared report.
struct TArchivedPrint {
    TCertificateRecord Record;
    int FirstPage = 0, PageCount = 0;
};

// Writes each certificate's pages of Report as its archive file (folders
// made, atomic save) and keeps the path and hash in Register, when the
// archive is enabled. Returns one line per certificate that could not be
// archived ("АБ 000001 Иванов: reason"), none when all were.
QStringList archivePrints(TRegister &Register, TfrxReport *Report, QList<TArchivedPrint> &Prints);

// archivePrints, then the failures (if any) in one error message box; the
// print and its records stand whatever happens.
void archivePrintsAndReport(TRegister &Register, TfrxReport *Report, QList<TArchivedPrint> &Prints);
