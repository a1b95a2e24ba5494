// TfrxPrinter: a print queue through Qt PrintSupport and the CUPS client.
// Every sheet is set explicitly (size, orientation and the device's own
// printable margins) and the job goes out with "print-scaling=none", so the
// queue never scales a page to fit and an object lands where its page puts
// it. The job is drawn into a PDF file first: Qt cannot withdraw a job it
// already began sending, and an aborted job must print nothing.

#include "report/render/rudPrinter.h"

#include "report/model/rudPage.h"

#include "base/Errors.h"

#include <QHash>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QDir>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryFile>

namespace {

// The platform's bin numbers of the paper sources queues commonly name.
int binNumber(const QString &Keyword)
{
    static const QHash<QString, int> numbers = {
        {QStringLiteral("upper"), 1},        {QStringLiteral("lower"), 2},       {QStringLiteral("middle"), 3},
        {QStringLiteral("manual"), 4},       {QStringLiteral("manualfeed"), 4},  {QStringLiteral("envelope"), 5},
        {QStringLiteral("envmanual"), 6},    {QStringLiteral("auto"), 7},        {QStringLiteral("tractor"), 8},
        {QStringLiteral("smallformat"), 9},  {QStringLiteral("largeformat"), 10}, {QStringLiteral("largecapacity"), 11},
        {QStringLiteral("cassette"), 14},    {QStringLiteral("formsource"), 15},
    };
    return numbers.value(Keyword.toLower(), 0);
}

// The paper sources (PPD "InputSlot" choices) of a queue, as the CUPS
// client lists them; Qt does not publish them.
QStringList inputSlots(const QString &Printer)
{
    QProcess lpoptions;
    lpoptions.start(QStringLiteral("lpoptions"), {QStringLiteral("-p"), Printer, QStringLiteral("-l")});
    if (!lpoptions.waitForFinished(5000))
        return {};
    for (const QString &line : QString::fromUtf8(lpoptions.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String("InputSlot/")))
            continue;
        QStringList choices = line.mid(line.indexOf(QLatin1Char(':')) + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (QString &choice : choices)
            if (choice.startsWith(QLatin1Char('*')))
                choice.remove(0, 1);
        return choices;
    }
    return {};
}

// Platform duplex values: 1 simplex, 2 vertical (long edge), 3 horizontal.
int platformDuplex(QPrinter::DuplexMode Mode)
{
    switch (Mode) {
    case QPrinter::DuplexLongSide: return 2;
    case QPrinter::DuplexShortSide: return 3;
    default: return 1;
    }
}

// A size of its own, given as the page has it (width across the page as
// oriented): QPageSize wants the portrait form, taken exactly as given.
QPageSize exactSize(double AWidth, double AHeight, TPrinterOrientation AOrientation)
{
    QSizeF size(AWidth, AHeight);
    if (AOrientation == poLandscape)
        size.transpose();
    return QPageSize(size, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

} // namespace

TfrxPrinter::TfrxPrinter(const QString &AName, const QString &APort) : TfrxCustomPrinter(AName, APort) {}

TfrxPrinter::~TfrxPrinter()
{
    FinishJob();
}

void TfrxPrinter::Init()
{
    if (FInitialized)
        return;
    const QPrinterInfo info = QPrinterInfo::printerInfo(FName);
    if (info.isNull())
        return;
    FDevice = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    FDriverName = info.makeAndModel();

    QHash<int, QPageSize> &sizes = FPageSizes;
    int nextOwnNumber = DMPAPER_USER + 1;
    for (const QPageSize &size : info.supportedPageSizes()) {
        const QSizeF mm = size.size(QPageSize::Millimeter);
        int number = rudPaperNumberBySize(mm.width(), mm.height());
        if (number == 0)
            number = nextOwnNumber++;
        if (!sizes.contains(number))
            sizes.insert(number, size);
        FPapers.append({size.name(), number});
    }
    int nextOwnBin = DMPAPER_USER + 1;
    for (const QString &slot : inputSlots(FName)) {
        int number = binNumber(slot);
        if (number == DMBIN_AUTO)
            continue;
        if (number == 0)
            number = nextOwnBin++;
        FBins.append({slot, number});
    }

    const QPageSize defSize = info.defaultPageSize();
    const QSizeF defMM = defSize.size(QPageSize::Millimeter);
    FDefPaper = DMPAPER_USER;
    for (auto it = sizes.constBegin(); it != sizes.constEnd(); ++it)
        if (it.value().isEquivalentTo(defSize) && (FDefPaper == DMPAPER_USER || it.key() < FDefPaper))
            FDefPaper = it.key();
    FDefPaperWidth = defMM.width();
    FDefPaperHeight = defMM.height();
    FDefOrientation = FDevice->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
    if (FDefOrientation == poLandscape)
        std::swap(FDefPaperWidth, FDefPaperHeight);
    FDefBin = DMBIN_AUTO;
    FDefDuplex = platformDuplex(QPrinter::DuplexMode(info.defaultDuplexMode()));

    FDevice->setFullPage(false);
    FInitialized = true;
    SetSheet(FDefPaper, FDefPaperWidth, FDefPaperHeight, FDefOrientation);
}

void TfrxPrinter::SetSheet(int APaperSize, double APaperWidth, double APaperHeight,
                           TPrinterOrientation AOrientation)
{
    QPageSize size;
    const QHash<int, QPageSize> &sizes = FPageSizes;
    int tw = 0, th = 0;
    if (APaperSize != DMPAPER_USER && sizes.contains(APaperSize))
        size = sizes.value(APaperSize);
    else if (APaperSize != DMPAPER_USER && rudPaperSize(APaperSize, tw, th))
        size = QPageSize(QSizeF(tw / 10.0, th / 10.0), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    else
        size = exactSize(APaperWidth, APaperHeight, AOrientation);
    FDevice->setPageOrientation(AOrientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (FDevice->setPageSize(size)) {
        FPaper = APaperSize;
        FOrientation = AOrientation;
    }
    // The device's unprintable borders are the margins: the painter's origin
    // is then the printable area's corner, as on any print device.
    FDevice->setPageMargins(FDevice->pageLayout().minimumMargins(), QPageLayout::Millimeter);
    ReadDeviceCaps();
}

void TfrxPrinter::ReadDeviceCaps()
{
    const QPageLayout layout = FDevice->pageLayout();
    const QRectF full = layout.fullRect(QPageLayout::Millimeter);
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    TfrxDeviceCaps caps;
    caps.DPIX = caps.DPIY = FDevice->resolution();
    caps.PhysicalWidth = full.width();
    caps.PhysicalHeight = full.height();
    caps.OffsetLeft = margins.left();
    caps.OffsetTop = margins.top();
    caps.PrintableWidth = full.width() - margins.left() - margins.right();
    caps.PrintableHeight = full.height() - margins.top() - margins.bottom();
    ApplyDeviceCaps(caps);
}

void TfrxPrinter::SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                                TPrinterOrientation AOrientation)
{
    if (!FDevice)
        return;
    SetSheet(APaperSize, APaperWidth, APaperHeight, AOrientation);
}

void TfrxPrinter::SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight,
                                 TPrinterOrientation AOrientation, int ABin, int ADuplex, int ACopies)
{
    if (!FDevice)
        return;
    SetSheet(APaperSize, APaperWidth, APaperHeight, AOrientation);
    if (FJob)
        FJob->setPageLayout(FDevice->pageLayout());
    // Bin 7 leaves the choice to the properties dialog, else to the queue.
    const int bin = ABin == DMBIN_AUTO && FDialogBin >= 0 ? FDialogBin : ABin;
    int duplex = 1;
    switch (TfrxDuplexMode(ADuplex)) {
    case dmNone: duplex = FDefDuplex; break;
    case dmVertical: duplex = 2; break;
    case dmHorizontal: duplex = 3; break;
    case dmSimplex: duplex = 1; break;
    }
    if (FDialogDuplex > 0)
        duplex = FDialogDuplex;
    // Copies, paper source and duplex belong to the whole job: the queue
    // takes them as the job starts.
    if (!FPrinting) {
        FJobCopies = std::max(1, ACopies);
        FJobBin = bin != DMBIN_AUTO && BinIndex(bin) > 0 ? FBins[BinIndex(bin)].Name : QString();
        FJobDuplex = duplex;
    }
}

void TfrxPrinter::BeginDoc()
{
    if (!FDevice)
        return;
    // The job is drawn into a PDF file, which goes to the queue at EndDoc
    // with every setting stated: so an aborted job never reaches the queue.
    QString target = FFileName;
    if (target.isEmpty()) {
        FSpool = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/rudprint-XXXXXX.pdf"));
        if (!FSpool->open())
            throw EInOutError(QStringLiteral("Cannot create a temporary file in %1").arg(QDir::tempPath()));
        FSpool->close();
        target = FSpool->fileName();
    }
    FJob = std::make_unique<QPrinter>(QPrinter::HighResolution);
    FJob->setOutputFormat(QPrinter::PdfFormat);
    FJob->setOutputFileName(target);
    FJob->setResolution(FDevice->resolution());
    FJob->setFullPage(false);
    FJob->setPageLayout(FDevice->pageLayout());
    FJob->setDocName(FTitle);
    FJobMedia = MediaName();
    FPainter = std::make_unique<QPainter>();
    if (!FPainter->begin(FJob.get())) {
        FPainter.reset();
        FJob.reset();
        FSpool.reset();
        throw EInOutError(QStringLiteral("Cannot create file \"%1\"").arg(target));
    }
    FPrinting = true;
    FFirstPage = true;
}

QString TfrxPrinter::MediaName() const
{
    const QPageSize size = FDevice->pageLayout().pageSize();
    for (auto it = FPageSizes.constBegin(); it != FPageSizes.constEnd(); ++it)
        if (it.value().isEquivalentTo(size))
            return it.value().key();
    const QSizeF mm = size.size(QPageSize::Millimeter);
    return QStringLiteral("Custom.%1x%2mm").arg(mm.width(), 0, 'f', 2).arg(mm.height(), 0, 'f', 2);
}

void TfrxPrinter::BeginPage()
{
    if (!FPainter)
        return;
    if (!FFirstPage)
        FJob->newPage();
    FFirstPage = false;
}

void TfrxPrinter::EndPage() {}

void TfrxPrinter::FinishJob()
{
    if (FPainter && FPainter->isActive())
        FPainter->end();
    FPainter.reset();
    FJob.reset();
    FSpool.reset();
    FPrinting = false;
    FDialogBin = -1;
    FDialogDuplex = -1;
}

void TfrxPrinter::EndDoc()
{
    if (!FPrinting)
        return;
    FPainter->end();
    if (!FSpool) {
        FinishJob();
        return;
    }
    QStringList args = {QStringLiteral("-d"), FName, QStringLiteral("-n"), QString::number(FJobCopies),
                        QStringLiteral("-o"), QStringLiteral("collate=false"),
                        QStringLiteral("-o"), QStringLiteral("media=") + FJobMedia,
                        QStringLiteral("-o"), QStringLiteral("print-scaling=none"),
                        QStringLiteral("-o"), QStringLiteral("sides=") +
                            (FJobDuplex == 2 ? QStringLiteral("two-sided-long-edge")
                             : FJobDuplex == 3 ? QStringLiteral("two-sided-short-edge")
                                               : QStringLiteral("one-sided"))};
    if (!FTitle.isEmpty())
        args << QStringLiteral("-t") << FTitle;
    if (!FJobBin.isEmpty())
        args << QStringLiteral("-o") << QStringLiteral("InputSlot=") + FJobBin;
    args << QStringLiteral("--") << FSpool->fileName();
    QProcess lp;
    lp.start(QStringLiteral("lp"), args);
    const bool finished = lp.waitForFinished(60000);
    const QString error = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
    const bool ok = finished && lp.exitStatus() == QProcess::NormalExit && lp.exitCode() == 0;
    FinishJob();
    if (!ok)
        throw EInOutError(QStringLiteral("Cannot print to %1: %2").arg(FName, error.isEmpty() ? lp.errorString() : error));
}

void TfrxPrinter::Abort() { FinishJob(); }

QPainter *TfrxPrinter::Painter() { return FPainter.get(); }
