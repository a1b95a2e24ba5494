#pragma once
// The federal register export: every certificate issued, one row each, in
// the register's XLSX template (sheet "Шаблон", 35 columns). The rows are
// made from the register's records and the school's export settings, every
// row is checked before anything is written, and the file is written whole
// or not at all.

#include "records/FrdoSettings.h"
#include "records/Register.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The template's 35 column headers, in their order.
const QStringList &frdoColumns();

// One row of the export: the record it comes from and its 35 cells.
struct TFrdoRow {
    qint64 RecordId = 0;
    QString Trainee;      // for messages: the name and the blank
    QStringList Cells;
    QStringList Faults;   // why the row cannot go to the register, one line each, in Russian
};

// The rows of Records that are issued certificates (voided blanks and
// certificates not yet confirmed are left out), in their order. Originals
// holds the original of every duplicate among them, by Id. A row is checked:
// the required values present, the СНИЛС and its check number, the dates
// valid and in order (birth, training start and end, issue; no birth date
// before 1900 or after Today), the hours a number.
QList<TFrdoRow> frdoRows(const QList<TCertificateRecord> &Records, const QMap<qint64, TCertificateRecord> &Originals,
                         const TFrdoSettings &Settings, const QDate &Today);

// Writes Rows (their cells; faults are not looked at) into FileName as an
// XLSX book with the one sheet "Шаблон", a header row first, every cell a
// text. The book is made in a temporary file and replaces FileName
// atomically; a failure raises EInOutError naming the file, which is then
// left as it was.
void writeFrdoXlsx(const QString &FileName, const QList<TFrdoRow> &Rows);

// What an export did: the rows written and every fault of the rows left out.
struct TFrdoResult {
    int Valid = 0;      // rows that pass their checks
    int Written = 0;    // rows in the file (0 when it was not written)
    int Failed = 0;     // rows that fail
    QStringList Faults;
    bool FileWritten = false;
};

// Exports the certificates issued From ... To (issue date, inclusive; a
// null date leaves that side open) of Register into FileName. When a row
// fails its checks nothing is written, unless ValidOnly: then the rows
// that pass are (the file is written even when that leaves none).
TFrdoResult exportFrdo(const TRegister &Register, const QString &FileName, const QDate &From, const QDate &To,
                       const TFrdoSettings &Settings, bool ValidOnly);
