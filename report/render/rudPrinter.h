#pragma once
// The printers of the system: one process-wide list (TfrxPrinters) of the
// installed print queues, each wrapped by a TfrxPrinter (Qt PrintSupport and
// CUPS underneath), or a single TfrxVirtualPrinter standing in when
// no queue exists. A job runs Init, SetViewParams / SetPrintParams,
// BeginDoc, BeginPage / drawing / EndPage per sheet, EndDoc (or Abort).
//
// Paper numbers are the platform's paper codes of the model's paper table
// (9 = A4, 11 = A5, 256 = a size of its own); bin numbers are the platform's
// paper source codes (7 = automatic, shown as "Default").

#include "report/model/rudEnums.h"
#include "report/model/rudPrinterDefaults.h"

#include <QHash>
#include <QList>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;
class QTemporaryFile;

// A named entry of a printer's paper or bin list.
struct TfrxPrinterListEntry {
    QString Name;
    int Number = 0;
};

// What a print device reports about the sheet currently set: resolution,
// the whole sheet and the printable area inside it, in millimetres.
struct TfrxDeviceCaps {
    int DPIX = 0, DPIY = 0;
    double PhysicalWidth = 0, PhysicalHeight = 0;  // the sheet, as oriented
    double OffsetLeft = 0, OffsetTop = 0;          // printable area's corner
    double PrintableWidth = 0, PrintableHeight = 0;
};

inline constexpr int DMPAPER_USER = 256;   // paper number of a size of its own
inline constexpr int DMBIN_AUTO = 7;       // bin number of the automatic source

// A printer of the list; see the file comment. Sizes are whole millimetres
// as the device reports them for the sheet and orientation set last.
class TfrxCustomPrinter {
public:
    TfrxCustomPrinter(const QString &AName, const QString &APort);
    virtual ~TfrxCustomPrinter();
    TfrxCustomPrinter(const TfrxCustomPrinter &) = delete;
    TfrxCustomPrinter &operator=(const TfrxCustomPrinter &) = delete;

    // Reads the defaults, papers, bins and capabilities; once per printer.
    virtual void Init() = 0;
    // Sets the sheet used to lay pages out (no job settings).
    virtual void SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                               TPrinterOrientation AOrientation) = 0;
    // Sets the sheet, bin, duplex and copies of the next sheets printed.
    virtual void SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight,
                                TPrinterOrientation AOrientation, int ABin, int ADuplex, int ACopies) = 0;
    virtual void BeginDoc() = 0;
    virtual void BeginPage() = 0;
    virtual void EndPage() = 0;
    virtual void EndDoc() = 0;
    // Cancels the job (nothing of it is printed) and ends it as EndDoc.
    virtual void Abort() = 0;
    // The printer's own settings (paper source, duplex); false when cancelled.
    virtual bool PropertiesDlg();
    // The painter of the sheet being printed (between BeginDoc and EndDoc),
    // with its origin at the printable area's top-left corner.
    virtual QPainter *Painter() = 0;

    // Position in Papers of a paper number; the first entry when unknown.
    int PaperIndex(int APaper) const;
    // Position in Bins of a bin number; the first entry when unknown.
    int BinIndex(int ABin) const;
    // Number of a paper or bin name; the first entry's number when unknown.
    int PaperNameToNumber(const QString &AName) const;
    int BinNameToNumber(const QString &AName) const;
    // The names of Papers / Bins, in order.
    QStringList PaperNames() const;
    QStringList BinNames() const;

    const QString &Name() const { return FName; }
    const QString &Port() const { return FPort; }
    const QString &DriverName() const { return FDriverName; }
    const QList<TfrxPrinterListEntry> &Papers() const { return FPapers; }
    const QList<TfrxPrinterListEntry> &Bins() const { return FBins; }
    bool Initialized() const { return FInitialized; }
    int DefPaper() const { return FDefPaper; }
    double DefPaperWidth() const { return FDefPaperWidth; }
    double DefPaperHeight() const { return FDefPaperHeight; }
    TPrinterOrientation DefOrientation() const { return FDefOrientation; }
    int DefBin() const { return FDefBin; }
    int DefDuplex() const { return FDefDuplex; }
    int Paper() const { return FPaper; }
    TPrinterOrientation Orientation() const { return FOrientation; }
    double PaperWidth() const { return FPaperWidth; }
    double PaperHeight() const { return FPaperHeight; }
    double LeftMargin() const { return FLeftMargin; }
    double TopMargin() const { return FTopMargin; }
    double RightMargin() const { return FRightMargin; }
    double BottomMargin() const { return FBottomMargin; }
    int DPIX() const { return FDPIX; }
    int DPIY() const { return FDPIY; }
    // The bin and duplex chosen in the properties dialog (-1: none).
    int DialogBin() const { return FDialogBin; }
    int DialogDuplex() const { return FDialogDuplex; }
    void SetDialogBin(int Value) { FDialogBin = Value; }
    void SetDialogDuplex(int Value) { FDialogDuplex = Value; }
    const QString &Title() const { return FTitle; }
    void SetTitle(const QString &Value) { FTitle = Value; }
    // When set, the job goes to this file instead of the queue.
    const QString &FileName() const { return FFileName; }
    void SetFileName(const QString &Value) { FFileName = Value; }
    bool Printing() const { return FPrinting; }

protected:
    // Takes the device's figures: DPI, and the sheet size and margins rounded
    // to whole millimetres (right = width - printable width - left, bottom
    // likewise). A resolution of 0 leaves the printer uninitialised.
    void ApplyDeviceCaps(const TfrxDeviceCaps &Caps);

    QString FName, FPort, FDriverName;
    QList<TfrxPrinterListEntry> FPapers, FBins;
    bool FInitialized = false;
    int FDefPaper = 9;
    double FDefPaperWidth = 210, FDefPaperHeight = 297;
    TPrinterOrientation FDefOrientation = poPortrait;
    int FDefBin = DMBIN_AUTO;
    int FDefDuplex = 1;
    int FPaper = 9;
    TPrinterOrientation FOrientation = poPortrait;
    double FPaperWidth = 0, FPaperHeight = 0;
    double FLeftMargin = 0, FTopMargin = 0, FRightMargin = 0, FBottomMargin = 0;
    int FDPIX = 0, FDPIY = 0;
    int FDialogBin = -1, FDialogDuplex = -1;
    QString FTitle, FFileName;
    bool FPrinting = false;
};

// A print queue of the system: capabilities and sheets through Qt's
// QPrinter; each job is drawn into a PDF file and handed to the queue by the
// CUPS client (lp) with its paper, copies, source and duplex stated.
class TfrxPrinter final : public TfrxCustomPrinter {
public:
    TfrxPrinter(const QString &AName, const QString &APort);
    ~TfrxPrinter() override;
    void Init() override;
    void SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                       TPrinterOrientation AOrientation) override;
    void SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight, TPrinterOrientation AOrientation,
                        int ABin, int ADuplex, int ACopies) override;
    void BeginDoc() override;
    void BeginPage() override;
    void EndPage() override;
    void EndDoc() override;
    void Abort() override;
    QPainter *Painter() override;
    // The QPrinter behind the printer (created by Init).
    QPrinter *Device() const { return FDevice.get(); }

private:
    // Sets the sheet of paper number APaperSize (or of the given size for
    // 256) on the device and re-reads its capabilities.
    void SetSheet(int APaperSize, double APaperWidth, double APaperHeight, TPrinterOrientation AOrientation);
    void ReadDeviceCaps();
    // The queue's name for the sheet set on the device ("A5"), or a size of
    // its own ("Custom.148.00x210.00mm").
    QString MediaName() const;
    // Ends the drawing and forgets the job (nothing is sent).
    void FinishJob();

    // The queue's capabilities and the sheet set; the job itself is drawn
    // into a PDF file (FJob) that EndDoc hands to the queue.
    std::unique_ptr<QPrinter> FDevice;
    std::unique_ptr<QPrinter> FJob;
    std::unique_ptr<QTemporaryFile> FSpool;
    QString FJobMedia, FJobBin;
    int FJobCopies = 1, FJobDuplex = 1;
    // The queue's own sheets by paper number, so that a paper of the table
    // goes to the queue under the queue's name for it.
    QHash<int, QPageSize> FPageSizes;
    std::unique_ptr<QPainter> FPainter;
    bool FFirstPage = false;
};

// Stands in when the system has no print queue: "Virtual", 600 x 600 DPI,
// A4 portrait, every paper of the table; its job operations do nothing.
class TfrxVirtualPrinter final : public TfrxCustomPrinter {
public:
    TfrxVirtualPrinter();
    void Init() override;
    void SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                       TPrinterOrientation AOrientation) override;
    void SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight, TPrinterOrientation AOrientation,
                        int ABin, int ADuplex, int ACopies) override;
    void BeginDoc() override {}
    void BeginPage() override {}
    void EndPage() override {}
    void EndDoc() override {}
    void Abort() override {}
    QPainter *Painter() override { return nullptr; }
};

// The process-wide list of printers; the system's default queue is current
// at start.
class TfrxPrinters {
public:
    TfrxPrinters();
    ~TfrxPrinters();
    // Re-reads the queues of the system; the default queue becomes current.
    void FillPrinters();
    // Replaces the list by the given printers (ACurrent current); an empty
    // list leaves the virtual printer. For hosts and tests with printers of
    // their own.
    void SetPrinters(std::vector<std::unique_ptr<TfrxCustomPrinter>> APrinters, bool APhysical,
                     int ACurrent = 0);

    int Count() const { return int(FPrinters.size()); }
    TfrxCustomPrinter *Items(int Index) const { return FPrinters.at(size_t(Index)).get(); }
    // The current printer, initialised.
    TfrxCustomPrinter *Printer();
    int PrinterIndex() const { return FPrinterIndex; }
    // Makes printer Index current (ignored when out of range).
    void SetPrinterIndex(int Index);
    // Index of a printer name, letter case ignored; -1 when none.
    int IndexOf(const QString &AName) const;
    // Index of the printer a job's Printer option names: that queue (letter
    // case ignored), or the current printer for an empty name or the
    // default's name ("Default"); -1 when no queue has that name.
    int JobPrinterIndex(const QString &AName) const;
    QStringList Printers() const;
    // Whether real queues exist (false while the virtual printer stands in).
    bool HasPhysicalPrinters() const { return FHasPhysicalPrinters; }

private:
    std::vector<std::unique_ptr<TfrxCustomPrinter>> FPrinters;
    int FPrinterIndex = 0;
    bool FHasPhysicalPrinters = false;
};

// The list, created on first use.
TfrxPrinters &rudPrinters();
// The error for a printer name no queue has: the name and the queues there are.
QString rudUnknownPrinterMessage(const QString &AName);
// The current printer's default paper (the PrinterPaper service); nothing
// without an initialised printer.
std::optional<TfrxPrinterPaper> rudCurrentPrinterPaper();
// The name chosen for a paper number of the table ("A4", "A5", ...); empty
// for numbers the table does not hold.
QString rudPaperName(int APaper);
// The paper number of the table whose size (millimetres, either way round)
// lies within 1 mm of the given one; 0 when none does.
int rudPaperNumberBySize(double AWidth, double AHeight);
