#pragma once
// The prepared pages of a report as a PDF file, written by the report's own
// PDF writer (one text command per run, fonts embedded as TrueType subsets
// or whole CFF tables). A document using a face with neither kind of
// outline (a bitmap font) is written by Qt's PDF writer instead, which
// draws it correctly but fetches every page a second time.

#include "report/render/rudPaperCalibration.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class TfrxCustomPreviewPages;
class TfrxReport;
class TfrxReportPage;

// Which background pictures a PDF holds.
enum class TfrxPdfBackground {
    Printable, // as on paper: a page's BackPicture only when BackPicturePrintable
    Always     // every visible one, to check the objects against a scan on screen
};

// Writes every prepared page of Report into FileName, each on a sheet of
// its own paper size, with every object where it lies on the paper (as on
// a printer without margins). What is drawn follows the printer's rules:
// the PDF is what goes onto the blanks. Calibration moves and scales the
// page on the sheet as a printer's calibration does (the background too).
// The file is written all at once; raises EInOutError when it cannot be.
void rudSaveReportToPdf(TfrxReport *Report, const QString &FileName,
                        TfrxPdfBackground Background = TfrxPdfBackground::Printable,
                        const TfrxPaperCalibration &Calibration = {});

// The prepared pages First ... First + Count - 1 of Report as rudSaveReportToPdf
// draws them, as the bytes of a PDF file; FileName names it in the error.
QByteArray rudReportPagesToPdf(TfrxReport *Report, int First, int Count, const QString &FileName,
                               TfrxPdfBackground Background = TfrxPdfBackground::Printable,
                               const TfrxPaperCalibration &Calibration = {});

// The prepared pages Indexes of Pages as a PDF at Dpi dots per inch, each
// on a sheet of its exact paper size (media boxes to the hundredth of a
// point), drawn as on screen. Each page is fetched from the store once:
// its paper is taken while it is drawn. BeforeDraw (may be empty) sees
// every page before it is drawn; a page the store cannot rebuild leaves a
// blank sheet.
QByteArray rudPagesToPdf(TfrxCustomPreviewPages *Pages, const QList<int> &Indexes, int Dpi, const QString &Creator,
                         const std::function<void(TfrxReportPage *)> &BeforeDraw = {});
