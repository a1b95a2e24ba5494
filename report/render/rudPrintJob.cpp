#include "report/render/rudPrintJob.h"

#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "report/render/rudPageNumbers.h"
#include "report/render/rudPrintDialog.h"
#include "report/render/rudPrinter.h"

#include "base/UserInterface.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QSet>
#include <cmath>

TfrxPrinterCanvas::TfrxPrinterCanvas(TfrxCustomPrinter *APrinter)
    : TfrxCanvas(APrinter->Painter(), APrinter->DPIX(), APrinter->DPIY())
{
}

void rudSelectPrinter(TfrxReport *Report)
{
    const int index = rudPrinters().IndexOf(Report->PrintOptions()->Printer());
    if (index >= 0)
        rudPrinters().SetPrinterIndex(index);
}

int rudSheetsNeeded(double PageSize, double SheetSize)
{
    if (!(SheetSize > 0) || !(PageSize > 0))
        return 1;
    const double ratio = PageSize / SheetSize;
    const int whole = int(std::trunc(ratio));
    const int count = PageSize - whole * SheetSize >= 11 ? whole + 1 : int(std::nearbyint(ratio));
    return std::max(1, count);
}

namespace {

void errorBox(const QString &Text)
{
    userInterface().MessageBox(Text, rudResources().Get(QStringLiteral("mbError")), TMsgIcon::Error,
                               TMsgButtons::Ok);
}

// Pieces along one direction for the split mode: the counting rule first,
// then as many as the whole page needs when neighbours overlap by Overlap.
int piecesNeeded(double PageSize, double Printable, double Overlap, int Counted)
{
    if (PageSize <= Printable || Printable <= Overlap)
        return std::max(1, Counted);
    const int needed = int(std::ceil((PageSize - Printable) / (Printable - Overlap) - 1e-9)) + 1;
    return std::max(Counted, needed);
}

// One job: the entries to print and the state that runs across copies.
class TPrintJob {
public:
    TPrintJob(TfrxReport *Report, TfrxPrintPageSource &Pages, const TfrxPrintHooks &Hooks)
        : FOptions(Report->PrintOptions()), FPages(Pages), FHooks(Hooks), FPrinter(rudPrinters().Printer()),
          FCount(Pages.Count())
    {
        FCopies = std::max(1, FOptions->Copies());
        FJobDuplex = TfrxDuplexMode(std::clamp(FOptions->Duplex(), 0, 3));
        // No sheet named: the printer's current paper, as a size of its own.
        FSheetPaper = FOptions->PrintOnSheet() > 0 ? FOptions->PrintOnSheet() : DMPAPER_USER;
        if (Hooks.Calibration)
            FCalibration = Hooks.Calibration(FPrinter->Name());
        const QString name = Report->ReportOptions()->Name();
        FPrinter->SetTitle(!name.isEmpty()                 ? name
                           : !Report->FileName().isEmpty() ? QFileInfo(Report->FileName()).fileName()
                                                           : QStringLiteral("Dodi Varora Document"));
    }

    // The sheet of the non-default modes, set up before the job.
    int SheetPaper() const { return FSheetPaper; }
    void SetSheet(double Width, double Height)
    {
        FSheetWidth = Width;
        FSheetHeight = Height;
    }

    // Prints every page (AllPages), or the entries of List (page numbers,
    // 1-based): a page text that names no page prints nothing, not all.
    void Run(bool AllPages, const QList<int> &List)
    {
        FAllPages = AllPages;
        FList = List;
        FEntries = FAllPages ? FCount : int(FList.size());
        if (FHooks.ProgressStart)
            FHooks.ProgressStart();
        const TfrxPrintMode mode = FOptions->PrintMode();
        if (FOptions->Collate() && mode != pmJoin) {
            for (int copy = 1; copy <= FCopies && !FStopped; ++copy) {
                FPagesOut = 0;
                RunMode(mode, copy);
                // The next copy starts on a front side.
                if (!FStopped && FStarted && FDuplexOn && FPagesOut % 2 == 1) {
                    FPrinter->BeginPage();
                    FPrinter->EndPage();
                }
            }
        } else {
            RunMode(mode, 0);
        }
        if (FStarted && !FStopped)
            FPrinter->EndDoc();
        if (FHooks.ProgressStop)
            FHooks.ProgressStop();
    }

private:
    void RunMode(TfrxPrintMode Mode, int Copy)
    {
        switch (Mode) {
        case pmDefault:
        case pmScale: RunPages(Mode, Copy); break;
        case pmSplit: RunSplit(Copy); break;
        case pmJoin: RunJoin(); break;
        }
    }

    // The page number (1-based) of entry Index, 0 when it is skipped.
    int PageOfEntry(int Index) const
    {
        const int pageNo = FAllPages ? Index + 1 : FList[Index];
        if (pageNo < 1 || pageNo > FCount)
            return 0;
        if (FOptions->PrintPages() == ppOdd && pageNo % 2 == 0)
            return 0;
        if (FOptions->PrintPages() == ppEven && pageNo % 2 == 1)
            return 0;
        return pageNo;
    }

    int EntryAt(int k) const { return FOptions->Reverse() ? FEntries - 1 - k : k; }

    bool CheckTerminated()
    {
        if (FHooks.Terminated && FHooks.Terminated()) {
            FPrinter->Abort();
            FStopped = true;
        }
        return FStopped;
    }

    // The first page with a Bin value is fed from it, later ones from
    // BinOtherPages.
    int BinOf(TfrxReportPage *Page)
    {
        if (FBinsSeen.contains(Page->Bin()))
            return Page->BinOtherPages();
        FBinsSeen.insert(Page->Bin());
        return Page->Bin();
    }

    TfrxDuplexMode DuplexOf(TfrxReportPage *Page)
    {
        const TfrxDuplexMode duplex = FJobDuplex != dmNone ? FJobDuplex : Page->Duplex();
        if (duplex != FLastDuplex)
            FSide = 0;
        if (duplex == dmVertical || duplex == dmHorizontal)
            FSide ^= 1;
        FDuplexOn = duplex == dmVertical || duplex == dmHorizontal;
        return duplex;
    }

    void StartSheet()
    {
        if (!FStarted) {
            FPrinter->BeginDoc();
            FStarted = true;
        }
        FPrinter->BeginPage();
    }

    void FinishSheet(int PageNo)
    {
        if (FHooks.Progress)
            FHooks.Progress(PageNo);
        FPrinter->EndPage();
        ++FPagesOut;
        if (!FEngineThreadSafe)
            QCoreApplication::processEvents();
    }

    double DotsX(double Mm) const { return Mm * FPrinter->DPIX() / 25.4; }
    double DotsY(double Mm) const { return Mm * FPrinter->DPIY() / 25.4; }

    void Draw(int PageNo, int CopyNo, double Sx, double Sy, double OffsetX, double OffsetY,
              const QRect &Clip = QRect())
    {
        TfrxPrinterCanvas canvas(FPrinter);
        if (!Clip.isEmpty() && canvas.Painter()) {
            canvas.Save();
            canvas.IntersectClip(Clip);
        }
        if (!FCalibration.IsIdentity() && canvas.Painter()) {
            // Scale about the paper's top-left corner, then move; the
            // device origin is the printable area's corner.
            QPainter *painter = canvas.Painter();
            const double cornerX = -DotsX(FPrinter->LeftMargin()), cornerY = -DotsY(FPrinter->TopMargin());
            painter->save();
            painter->translate(cornerX + DotsX(FCalibration.OffsetX), cornerY + DotsY(FCalibration.OffsetY));
            painter->scale(FCalibration.ScaleX, FCalibration.ScaleY);
            painter->translate(-cornerX, -cornerY);
        }
        FPages.DrawPage(PageNo - 1, &canvas, FPrinter->DPIX() / 96.0 * Sx, FPrinter->DPIY() / 96.0 * Sy, OffsetX,
                        OffsetY, CopyNo);
        if (!FCalibration.IsIdentity() && canvas.Painter())
            canvas.Painter()->restore();
        if (!Clip.isEmpty() && canvas.Painter())
            canvas.Restore();
    }

    void RunPages(TfrxPrintMode Mode, int Copy)
    {
        for (int k = 0; k < FEntries; ++k) {
            const int pageNo = PageOfEntry(EntryAt(k));
            if (pageNo == 0)
                continue;
            if (CheckTerminated())
                return;
            const int copyNo = Copy > 0 ? Copy : 1;
            const int printerCopies = Copy > 0 ? 1 : FCopies;
            TfrxReportPage *page = FPages.Page(pageNo - 1);
            if (FHooks.PrintPage)
                FHooks.PrintPage(page, copyNo);
            const int bin = BinOf(page);
            const TfrxDuplexMode duplex = DuplexOf(page);
            const int width = int(std::nearbyint(page->PaperWidth())), height = int(std::nearbyint(page->PaperHeight()));
            double sx = 1, sy = 1;
            if (Mode == pmDefault) {
                if (FFirst || page->PaperSize() != FLastPaper || width != FLastWidth || height != FLastHeight ||
                    bin != FLastBin || page->Orientation() != FLastOrientation || duplex != FLastDuplex)
                    FPrinter->SetPrintParams(page->PaperSize(), page->PaperWidth(), page->PaperHeight(),
                                             page->Orientation(), bin, duplex, printerCopies);
            } else {
                if (FFirst || bin != FLastBin || page->Orientation() != FLastOrientation || duplex != FLastDuplex) {
                    FPrinter->SetPrintParams(FSheetPaper, FSheetWidth, FSheetHeight, page->Orientation(),
                                             bin, duplex, printerCopies);
                    FSheetWidth = FPrinter->PaperWidth();
                    FSheetHeight = FPrinter->PaperHeight();
                }
                sx = FSheetWidth / page->PaperWidth();
                sy = FSheetHeight / page->PaperHeight();
                FPages.SetPrintScale(std::min(sx, sy));
            }
            FFirst = false;
            FLastPaper = page->PaperSize();
            FLastWidth = width;
            FLastHeight = height;
            FLastBin = bin;
            FLastOrientation = page->Orientation();
            FLastDuplex = duplex;

            StartSheet();
            Draw(pageNo, copyNo, sx, sy, -DotsX(FPrinter->LeftMargin()), -DotsY(FPrinter->TopMargin()));
            FinishSheet(pageNo);
            FPages.ReleasePage(pageNo - 1);
        }
    }

    void RunSplit(int Copy)
    {
        const double overlap = FOptions->SplicingLine();
        for (int k = 0; k < FEntries; ++k) {
            const int pageNo = PageOfEntry(EntryAt(k));
            if (pageNo == 0)
                continue;
            if (CheckTerminated())
                return;
            const int copyNo = Copy > 0 ? Copy : 1;
            TfrxReportPage *page = FPages.Page(pageNo - 1);
            if (FHooks.PrintPage)
                FHooks.PrintPage(page, copyNo);
            const double pw = page->PaperWidth(), ph = page->PaperHeight();
            // The sheet as given, or turned when that needs fewer sheets.
            const double sw = std::min(FSheetWidth, FSheetHeight), sh = std::max(FSheetWidth, FSheetHeight);
            const int upright = rudSheetsNeeded(pw, sw) * rudSheetsNeeded(ph, sh);
            const int turned = rudSheetsNeeded(pw, sh) * rudSheetsNeeded(ph, sw);
            const TPrinterOrientation orientation = turned < upright ? poLandscape : poPortrait;
            const int bin = BinOf(page);
            const TfrxDuplexMode duplex = DuplexOf(page);
            if (FFirst || orientation != FLastOrientation || bin != FLastBin || duplex != FLastDuplex)
                FPrinter->SetPrintParams(FSheetPaper, sw, sh, orientation, bin, duplex,
                                         Copy > 0 ? 1 : FCopies);
            FFirst = false;
            FLastOrientation = orientation;
            FLastBin = bin;
            FLastDuplex = duplex;
            const double printableW = FPrinter->PaperWidth() - FPrinter->LeftMargin() - FPrinter->RightMargin();
            const double printableH = FPrinter->PaperHeight() - FPrinter->TopMargin() - FPrinter->BottomMargin();
            int nx = rudSheetsNeeded(pw, FPrinter->PaperWidth());
            int ny = rudSheetsNeeded(ph, FPrinter->PaperHeight());
            if (nx > 1 || ny > 1) {
                nx = rudSheetsNeeded(pw, printableW - overlap);
                ny = rudSheetsNeeded(ph, printableH - overlap);
            }
            nx = piecesNeeded(pw, printableW, overlap, nx);
            ny = piecesNeeded(ph, printableH, overlap, ny);
            const double stepX = nx > 1 ? (pw - printableW) / (nx - 1) : 0;
            const double stepY = ny > 1 ? (ph - printableH) / (ny - 1) : 0;
            const QRect clip(0, 0, int(std::ceil(DotsX(printableW))), int(std::ceil(DotsY(printableH))));
            for (int y = 0; y < ny && !FStopped; ++y)
                for (int x = 0; x < nx; ++x) {
                    if (CheckTerminated())
                        return;
                    StartSheet();
                    Draw(pageNo, copyNo, 1, 1, -DotsX(x * stepX), -DotsY(y * stepY), clip);
                    FinishSheet(pageNo);
                }
            FPages.ReleasePage(pageNo - 1);
        }
    }

    void RunJoin()
    {
        int first = 0;
        for (int k = 0; k < FEntries && first == 0; ++k)
            first = PageOfEntry(EntryAt(k));
        if (first == 0)
            return;
        TfrxReportPage *firstPage = FPages.Page(first - 1);
        const double pw = firstPage->PaperWidth(), ph = firstPage->PaperHeight();
        const double sw = std::min(FSheetWidth, FSheetHeight), sh = std::max(FSheetWidth, FSheetHeight);
        // Whole pages only: a page never hangs over the sheet's edge.
        auto fit = [](double Sheet, double Page) { return std::max(1, int(std::trunc(Sheet / Page))); };
        const bool turn = fit(sh, pw) * fit(sw, ph) > fit(sw, pw) * fit(sh, ph);
        const int nx = turn ? fit(sh, pw) : fit(sw, pw);
        const int ny = turn ? fit(sw, ph) : fit(sh, ph);
        FPrinter->SetPrintParams(FSheetPaper, sw, sh, turn ? poLandscape : poPortrait, DMBIN_AUTO,
                                 FJobDuplex, 1);
        int slot = 0, lastPage = 0;
        for (int k = 0; k < FEntries; ++k) {
            const int pageNo = PageOfEntry(EntryAt(k));
            if (pageNo == 0)
                continue;
            TfrxReportPage *page = FPages.Page(pageNo - 1);
            for (int copy = 1; copy <= FCopies; ++copy) {
                if (CheckTerminated())
                    return;
                if (FHooks.PrintPage)
                    FHooks.PrintPage(page, copy);
                if (slot == 0)
                    StartSheet();
                const double x = (slot % nx) * pw - FPrinter->LeftMargin();
                const double y = (slot / nx) * ph - FPrinter->TopMargin();
                Draw(pageNo, copy, 1, 1, DotsX(x), DotsY(y));
                lastPage = pageNo;
                if (++slot == nx * ny) {
                    FinishSheet(pageNo);
                    slot = 0;
                }
            }
            FPages.ReleasePage(pageNo - 1);
        }
        if (slot > 0)
            FinishSheet(lastPage);
    }

    TfrxPrintOptions *FOptions;
    TfrxPrintPageSource &FPages;
    const TfrxPrintHooks &FHooks;
    bool FAllPages = true;
    QList<int> FList;
    TfrxCustomPrinter *FPrinter;
    int FCount, FEntries = 0, FCopies = 1, FSheetPaper = DMPAPER_USER;
    TfrxDuplexMode FJobDuplex = dmNone;
    TfrxPaperCalibration FCalibration;
    double FSheetWidth = 210, FSheetHeight = 297;
    bool FStarted = false, FStopped = false, FFirst = true, FDuplexOn = false;
    bool FEngineThreadSafe = false;
    int FPagesOut = 0, FSide = 0;
    QSet<int> FBinsSeen;
    int FLastPaper = 0, FLastWidth = 0, FLastHeight = 0, FLastBin = 0;
    TPrinterOrientation FLastOrientation = poPortrait;
    TfrxDuplexMode FLastDuplex = dmNone;

public:
    void SetThreadSafe(bool Value) { FEngineThreadSafe = Value; }
};

// Puts the report's print options back when the job ends, however it ends.
class TOptionsRestorer {
public:
    explicit TOptionsRestorer(TfrxPrintOptions *Options) : FOptions(Options) { FSaved.Assign(*Options); }
    ~TOptionsRestorer() { FOptions->Assign(FSaved); }
    TOptionsRestorer(const TOptionsRestorer &) = delete;
    TOptionsRestorer &operator=(const TOptionsRestorer &) = delete;

private:
    TfrxPrintOptions *FOptions;
    TfrxPrintOptions FSaved;
};

} // namespace

bool rudPrintPages(TfrxReport *Report, TfrxPrintPageSource &Pages, const TfrxPrintHooks &Hooks, int CurrentPage)
{
    TfrxPrinters &printers = rudPrinters();
    if (!printers.HasPhysicalPrinters()) {
        errorBox(rudResources().Get(QStringLiteral("clNoPrinters")));
        return false;
    }
    Pages.SetPrintScale(1);
    TOptionsRestorer restorer(Report->PrintOptions());
    TfrxPrintOptions *options = Report->PrintOptions();
    // A queue named but not there is an error unless the Print window lets
    // the operator see and choose the printer (it opens on the current one).
    const int named = printers.JobPrinterIndex(options->Printer());
    if (named >= 0) {
        printers.SetPrinterIndex(named);
    } else if (!options->ShowDialog()) {
        errorBox(rudUnknownPrinterMessage(options->Printer()));
        return false;
    }
    if (options->ShowDialog()) {
        TfrxPrintDialog dialog(Report, CurrentPage);
        if (!dialog.Execute())
            return false;
    }
    TfrxCustomPrinter *printer = printers.Printer();
    printer->SetFileName(options->PrnOutFileName());

    TPrintJob job(Report, Pages, Hooks);
    job.SetThreadSafe(Report->EngineOptions()->EnableThreadSafe());
    if (options->PrintMode() != pmDefault && printer->Initialized()) {
        if (job.SheetPaper() == DMPAPER_USER)
            printer->SetViewParams(DMPAPER_USER, printer->PaperWidth(), printer->PaperHeight(), poPortrait);
        else
            printer->SetViewParams(job.SheetPaper(), 0, 0, poPortrait);
        job.SetSheet(printer->PaperWidth(), printer->PaperHeight());
    }
    if (Hooks.BeforePrint) {
        try {
            Hooks.BeforePrint();
        } catch (const EPrintCancelled &) {
            // The operator cancelled: nothing went wrong, nothing is printed.
            return false;
        }
    }
    QList<int> list;
    rudParsePageNumbers(options->PageNumbers(), list, Pages.Count());
    if (!printer->Initialized())
        errorBox(QStringLiteral("Printer selected is not valid"));
    else
        job.Run(QString(options->PageNumbers()).remove(QLatin1Char(' ')).isEmpty(), list);
    if (Hooks.AfterPrint)
        Hooks.AfterPrint();
    return true;
}
