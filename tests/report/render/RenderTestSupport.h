#pragma once
// Shared pieces of the drawing tests: the fixed layout font, a printer-like
// canvas and pixel helpers.

#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudPrinter.h"
#include "report/render/rudRenderInit.h"
#include "report/render/rudRenderRuntime.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <memory>

#include <gtest/gtest.h>

// The family every layout-number test uses, loaded from its font file so
// that no other font can stand in for it.
inline QString layoutFontFamily()
{
    static const QString family = [] {
        rudRenderInit();
        const int id = QFontDatabase::addApplicationFont(
            QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf"));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    }();
    return family;
}

// A report with the standard services.
class TRenderReport : public TfrxReport {
public:
    TRenderReport() { SetServices(rudSharedStandardServices()); }
};

// A canvas that counts as a printer's, at the given resolution.
class TTestPrinterCanvas : public TfrxCanvas {
public:
    TTestPrinterCanvas(QPaintDevice *Device, int Dpi) : TfrxCanvas(Device, Dpi, Dpi) {}
    bool IsPrinter() const override { return true; }
};

// A white image of the given size.
inline QImage whiteImage(int Width, int Height)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

inline bool isWhite(const QImage &Image, int X, int Y)
{
    return Image.pixel(X, Y) == qRgb(255, 255, 255);
}

// A memo of the layout font at the given size and place.
inline TfrxMemoView *makeMemo(TfrxComponent *Owner, double Left, double Top, double Width, double Height,
                              const QString &Text, int FontSize = 10)
{
    auto *memo = new TfrxMemoView(Owner);
    memo->SetBounds(Left, Top, Width, Height);
    memo->Font()->SetName(layoutFontFamily());
    memo->Font()->SetSize(FontSize);
    memo->SetText(Text);
    return memo;
}

// A printer of one A5 paper whose sheets are white images of SheetSize
// pixels, with the device capabilities Caps (resolution, sheet, printable
// area).
class TImagePrinter final : public TfrxCustomPrinter {
public:
    TImagePrinter(const QString &Name, const TfrxDeviceCaps &Caps, QSize SheetSize)
        : TfrxCustomPrinter(Name, QStringLiteral("image")), FCaps(Caps), FSheetSize(SheetSize)
    {
    }
    void Init() override { SetViewParams(11, 148, 210, poPortrait); }
    void SetViewParams(int APaperSize, double, double, TPrinterOrientation AOrientation) override
    {
        FPaper = APaperSize;
        FOrientation = AOrientation;
        FInitialized = true;
        ApplyDeviceCaps(FCaps);
    }
    void SetPrintParams(int APaperSize, double W, double H, TPrinterOrientation O, int, int, int) override
    {
        SetViewParams(APaperSize, W, H, O);
    }
    void BeginDoc() override { FPrinting = true; }
    void BeginPage() override
    {
        Sheets.append(whiteImage(FSheetSize.width(), FSheetSize.height()));
        FPainter = std::make_unique<QPainter>(&Sheets.last());
    }
    void EndPage() override { FPainter.reset(); }
    void EndDoc() override { FPrinting = false; }
    void Abort() override { FPrinting = false; }
    QPainter *Painter() override { return FPainter.get(); }

    QList<QImage> Sheets;

private:
    TfrxDeviceCaps FCaps;
    QSize FSheetSize;
    std::unique_ptr<QPainter> FPainter;
};

// Adds an A5 page "Page1" to Report with an empty memo "Memo1" at its top
// left, and returns the memo.
inline TfrxMemoView *addMemoPage(TfrxReport &Report)
{
    auto *page = new TfrxReportPage(&Report);
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperSize(11);
    auto *memo = new TfrxMemoView(page);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetBounds(0, 0, 200, 20);
    return memo;
}
