#pragma once
// The print loop: selects the printer, runs the Print window, and sends the
// pages of a page source to the current printer in one of the four print
// modes (as they are, scaled onto a sheet, split over several sheets, or
// several on one sheet), with copies, collation, order, odd/even pages,
// bins and duplex.

#include "base/Errors.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudPaperCalibration.h"

#include <functional>

class TfrxCustomPrinter;
class TfrxPreviewPages;
class TfrxReport;
class TfrxReportPage;

// The pages a job prints: the prepared pages store, or a template's pages
// as designed.
class TfrxPrintPageSource {
public:
    virtual ~TfrxPrintPageSource() = default;
    virtual int Count() = 0;
    // Page Index (0-based) with its paper, bin and duplex settings; valid
    // until ReleasePage(Index).
    virtual TfrxReportPage *Page(int Index) = 0;
    // Draws page Index with its paper's top-left corner at device point
    // (OffsetX, OffsetY); CopyNo is the copy being printed.
    virtual void DrawPage(int Index, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                          double OffsetY, int CopyNo) = 0;
    // The page is printed; a store may drop it from its cache.
    virtual void ReleasePage(int) {}
    // Scale of fonts on the printer (the scale mode shrinks or grows them).
    virtual void SetPrintScale(double) {}
};

// What a job tells its host and asks of it; every member may be empty.
struct TfrxPrintHooks {
    // Before the job: the report's print events.
    std::function<void()> BeforePrint;
    // Before each page goes out, with the copy number.
    std::function<void(TfrxReportPage *Page, int CopyNo)> PrintPage;
    // After the job.
    std::function<void()> AfterPrint;
    // Progress of the job: started, page PageNo printed, finished.
    std::function<void()> ProgressStart;
    std::function<void(int PageNo)> Progress;
    std::function<void()> ProgressStop;
    // True when the job is to stop (the report was terminated).
    std::function<bool()> Terminated;
    // The calibration of the queue the job prints on, applied to every
    // sheet (empty: none).
    TfrxPaperCalibrationSource Calibration;
};

// Raised by a host's print event before the job (the report's
// OnPrintReport) to call the print off: nothing is printed, no message is
// shown, and the print answers false as after a cancelled Print window.
class EPrintCancelled : public Exception {
public:
    EPrintCancelled() : Exception(QString()) {}
};

// The printer's canvas: fonts resolve at the printer's resolution, and what
// is drawn follows the printing rules (objects visible in print only).
class TfrxPrinterCanvas final : public TfrxCanvas {
public:
    explicit TfrxPrinterCanvas(TfrxCustomPrinter *APrinter);
    bool IsPrinter() const override { return true; }
};

// Makes PrintOptions.Printer current when it names a printer (letter case
// ignored); otherwise the current printer stays.
void rudSelectPrinter(TfrxReport *Report);

// Prints Pages for Report: false without printers ("No printers installed on
// your system"), when PrintOptions.Printer names no queue and the Print
// window is not shown (the error names it and lists the queues; nothing is
// printed), when the Print window or its file dialog is cancelled, and when
// BeforePrint raises EPrintCancelled (the job is not started, AfterPrint
// does not run).
// CurrentPage (1-based, 0 none) is the page a preview shows ("Current page").
// The report's print options are restored afterwards. An invalid page
// number text raises EConvertError; a queue that refuses the job raises
// EInOutError.
bool rudPrintPages(TfrxReport *Report, TfrxPrintPageSource &Pages, const TfrxPrintHooks &Hooks = {},
                   int CurrentPage = 0);

// Prints the prepared pages store through rudPrintPages, with the report's
// events, progress and terminate flag (the PrintPages service); false when
// nothing was printed.
bool rudPrintStore(TfrxPreviewPages *Pages);

// Sheets needed along one direction for a page of PageSize on sheets of
// SheetSize (millimetres): Trunc of the ratio, plus one when the rest is
// 11 mm or more, else the ratio rounded; at least 1.
int rudSheetsNeeded(double PageSize, double SheetSize);
