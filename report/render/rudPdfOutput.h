#pragma once
// The prepared pages of a report as a PDF file.

#include <QString>

class TfrxReport;

// Writes every prepared page of Report into FileName, each on a sheet of
// its own paper size, with every object where it lies on the paper (as on
// a printer without margins). The file is written all at once; raises
// EInOutError when it cannot be.
void rudSaveReportToPdf(TfrxReport *Report, const QString &FileName);
