#pragma once
// The prepared pages of a report as a PDF file.

#include <QString>

class TfrxReport;

// Which background pictures a PDF holds.
enum class TfrxPdfBackground {
    Printable, // as on paper: a page's BackPicture only when BackPicturePrintable
    Always     // every visible one, to check the objects against a scan on screen
};

// Writes every prepared page of Report into FileName, each on a sheet of
// its own paper size, with every object where it lies on the paper (as on
// a printer without margins). What is drawn follows the printer's rules:
// the PDF is what goes onto the blanks. The file is written all at once;
// raises EInOutError when it cannot be.
void rudSaveReportToPdf(TfrxReport *Report, const QString &FileName,
                        TfrxPdfBackground Background = TfrxPdfBackground::Printable);
