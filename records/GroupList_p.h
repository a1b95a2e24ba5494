#pragma once
// What the group list readers share: a file's cells as rows of texts, before
// any column means anything, and the limits every reader keeps.

#include "records/GroupList.h"

namespace groupListLimits {
constexpr qint64 MaxFileBytes = 16 << 20;       // the file as stored
constexpr qint64 MaxUnpackedBytes = 64 << 20;   // one part of an XLSX file, unpacked
constexpr int MaxRows = 10000;                  // trainee rows, the header row not counted
constexpr int MaxColumns = 100;
constexpr int MaxCellLength = 1000;
} // namespace groupListLimits

// One row of a sheet: its number as a spreadsheet shows it and its cells in
// column order (a cell missing in between is "").
struct TSheetRow {
    int Row = 0;
    QStringList Cells;
};

// A file's rows. XLSX date cells are given as "yyyy-MM-dd"; DateSerials
// says that a plain number in a date column is a day serial (XLSX).
struct TSheetTable {
    QStringList Sheets;
    QList<TSheetRow> Rows;
    bool DateSerials = false;
    bool Date1904 = false;
};

// The file as the operator named it, for messages: «/path/list.csv».
QString groupListFileName(const QString &FileName);
// Throws EGroupListError with Text after the file's name.
[[noreturn]] void failGroupList(const QString &FileName, const QString &Text);
// Throws when a sheet is wider, longer or has a longer cell than the limits.
void checkGroupListLimits(const QString &FileName, const TSheetRow &Row, int NonEmptyRows);

// The rows of a CSV file's bytes (the file already read).
TSheetTable readCsvTable(const QByteArray &Bytes, const QString &FileName);
// The rows of the sheet Sheet ("" for the first) of an XLSX file.
TSheetTable readXlsxTable(const QString &FileName, const QString &Sheet);
