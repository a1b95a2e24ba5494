#include "report/render/rudPrinter.h"

#include "report/model/rudPage.h"
#include "report/model/rudPrinterDefaults.h"
#include "report/model/rudRes.h"
#include "report/render/rudPrinterPropertiesDialog.h"

#include "base/NumberFormat.h"

#include <QPrinterInfo>

// ---- TfrxCustomPrinter ----

TfrxCustomPrinter::TfrxCustomPrinter(const QString &AName, const QString &APort) : FName(AName), FPort(APort)
{
    FPapers.append({QStringLiteral("Custom"), DMPAPER_USER});
    FBins.append({rudResources().Get(QStringLiteral("prDefault")), DMBIN_AUTO});
}

TfrxCustomPrinter::~TfrxCustomPrinter() = default;

bool TfrxCustomPrinter::PropertiesDlg()
{
    TfrxPrinterPropertiesDialog dialog(this);
    return dialog.Execute();
}

namespace {

int indexOfNumber(const QList<TfrxPrinterListEntry> &List, int Number)
{
    for (int i = 0; i < List.size(); ++i)
        if (List[i].Number == Number)
            return i;
    return 0;
}

int numberOfName(const QList<TfrxPrinterListEntry> &List, const QString &Name)
{
    for (const TfrxPrinterListEntry &e : List)
        if (e.Name == Name)
            return e.Number;
    return List.isEmpty() ? 0 : List.first().Number;
}

QStringList namesOf(const QList<TfrxPrinterListEntry> &List)
{
    QStringList result;
    for (const TfrxPrinterListEntry &e : List)
        result << e.Name;
    return result;
}

} // namespace

int TfrxCustomPrinter::PaperIndex(int APaper) const { return indexOfNumber(FPapers, APaper); }
int TfrxCustomPrinter::BinIndex(int ABin) const { return indexOfNumber(FBins, ABin); }
int TfrxCustomPrinter::PaperNameToNumber(const QString &AName) const { return numberOfName(FPapers, AName); }
int TfrxCustomPrinter::BinNameToNumber(const QString &AName) const { return numberOfName(FBins, AName); }
QStringList TfrxCustomPrinter::PaperNames() const { return namesOf(FPapers); }
QStringList TfrxCustomPrinter::BinNames() const { return namesOf(FBins); }

void TfrxCustomPrinter::ApplyDeviceCaps(const TfrxDeviceCaps &Caps)
{
    FDPIX = Caps.DPIX;
    FDPIY = Caps.DPIY;
    if (FDPIX <= 0 || FDPIY <= 0) {
        FInitialized = false;
        return;
    }
    FPaperWidth = double(RoundHalfEven(Caps.PhysicalWidth));
    FPaperHeight = double(RoundHalfEven(Caps.PhysicalHeight));
    FLeftMargin = double(RoundHalfEven(Caps.OffsetLeft));
    FTopMargin = double(RoundHalfEven(Caps.OffsetTop));
    FRightMargin = FPaperWidth - double(RoundHalfEven(Caps.PrintableWidth)) - FLeftMargin;
    FBottomMargin = FPaperHeight - double(RoundHalfEven(Caps.PrintableHeight)) - FTopMargin;
}

// ---- TfrxVirtualPrinter ----

TfrxVirtualPrinter::TfrxVirtualPrinter() : TfrxCustomPrinter(QStringLiteral("Virtual"), QString())
{
    FDriverName = QStringLiteral("Virtual");
}

void TfrxVirtualPrinter::Init()
{
    if (FInitialized)
        return;
    for (int number = 1; number <= 68; ++number) {
        int w = 0, h = 0;
        if (rudPaperSize(number, w, h))
            FPapers.append({rudPaperName(number), number});
    }
    FDefPaper = 9;
    FDefPaperWidth = 210;
    FDefPaperHeight = 297;
    FDefOrientation = poPortrait;
    FInitialized = true;
    SetViewParams(FDefPaper, FDefPaperWidth, FDefPaperHeight, FDefOrientation);
}

void TfrxVirtualPrinter::SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                                       TPrinterOrientation AOrientation)
{
    double w = APaperWidth, h = APaperHeight;
    int tw = 0, th = 0;
    if (APaperSize != DMPAPER_USER && rudPaperSize(APaperSize, tw, th)) {
        w = tw / 10.0;
        h = th / 10.0;
        if ((AOrientation == poLandscape) != (w > h))
            std::swap(w, h);
    }
    FPaper = APaperSize;
    FOrientation = AOrientation;
    TfrxDeviceCaps caps;
    caps.DPIX = caps.DPIY = 600;
    caps.PhysicalWidth = caps.PrintableWidth = w;
    caps.PhysicalHeight = caps.PrintableHeight = h;
    ApplyDeviceCaps(caps);
}

void TfrxVirtualPrinter::SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight,
                                        TPrinterOrientation AOrientation, int, int, int)
{
    SetViewParams(APaperSize, APaperWidth, APaperHeight, AOrientation);
}

// ---- TfrxPrinters ----

TfrxPrinters::TfrxPrinters() { FillPrinters(); }

TfrxPrinters::~TfrxPrinters() = default;

void TfrxPrinters::FillPrinters()
{
    std::vector<std::unique_ptr<TfrxCustomPrinter>> list;
    const QList<QPrinterInfo> infos = QPrinterInfo::availablePrinters();
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    int current = 0;
    for (const QPrinterInfo &info : infos) {
        if (info.printerName() == defaultName)
            current = int(list.size());
        list.push_back(std::make_unique<TfrxPrinter>(info.printerName(), info.location()));
    }
    SetPrinters(std::move(list), true, current);
}

void TfrxPrinters::SetPrinters(std::vector<std::unique_ptr<TfrxCustomPrinter>> APrinters, bool APhysical,
                               int ACurrent)
{
    FPrinters = std::move(APrinters);
    FHasPhysicalPrinters = APhysical && !FPrinters.empty();
    if (FPrinters.empty())
        FPrinters.push_back(std::make_unique<TfrxVirtualPrinter>());
    FPrinterIndex = ACurrent >= 0 && ACurrent < Count() ? ACurrent : 0;
}

TfrxCustomPrinter *TfrxPrinters::Printer()
{
    TfrxCustomPrinter *printer = FPrinters.at(size_t(FPrinterIndex)).get();
    if (!printer->Initialized())
        printer->Init();
    return printer;
}

void TfrxPrinters::SetPrinterIndex(int Index)
{
    if (Index >= 0 && Index < Count())
        FPrinterIndex = Index;
}

int TfrxPrinters::IndexOf(const QString &AName) const
{
    for (int i = 0; i < Count(); ++i)
        if (FPrinters[size_t(i)]->Name().compare(AName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TfrxPrinters::JobPrinterIndex(const QString &AName) const
{
    const int index = IndexOf(AName);
    if (index >= 0)
        return index;
    if (AName.isEmpty() || AName.compare(rudResources().Get(QStringLiteral("prDefault")), Qt::CaseInsensitive) == 0)
        return FPrinterIndex;
    return -1;
}

QStringList TfrxPrinters::Printers() const
{
    QStringList names;
    for (const auto &p : FPrinters)
        names << p->Name();
    return names;
}

TfrxPrinters &rudPrinters()
{
    static TfrxPrinters printers;
    return printers;
}

QString rudUnknownPrinterMessage(const QString &AName)
{
    const TfrxPrinters &printers = rudPrinters();
    if (!printers.HasPhysicalPrinters())
        return QStringLiteral("Printer \"%1\" not found. No printer is installed.").arg(AName);
    return QStringLiteral("Printer \"%1\" not found. Available printers: %2")
        .arg(AName, printers.Printers().join(QStringLiteral(", ")));
}

std::optional<TfrxPrinterPaper> rudCurrentPrinterPaper()
{
    TfrxCustomPrinter *printer = rudPrinters().Printer();
    if (!printer->Initialized())
        return std::nullopt;
    return TfrxPrinterPaper{printer->DefPaper(), printer->DefPaperWidth(), printer->DefPaperHeight(),
                            printer->DefOrientation()};
}
