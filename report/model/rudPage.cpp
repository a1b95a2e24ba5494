#include "report/model/rudPage.h"

#include "report/model/rudPrinterDefaults.h"
#include "report/model/rudReport.h"

#include "base/NumberFormat.h"

#include <cmath>
#include <utility>

namespace {

bool pageFontStored(const QObject *obj) { return !static_cast<const TfrxPage *>(obj)->ParentFont(); }

struct TPaper {
    int Code, Width, Height; // tenths of a millimetre
};

const TPaper paperTable[] = {
    {1, 2159, 2794},  {2, 2159, 2794},  {3, 2794, 4318},  {4, 4318, 2794},  {5, 2159, 3556},   {6, 1397, 2159},
    {7, 1842, 2667},  {8, 2970, 4200},  {9, 2100, 2970},  {10, 2100, 2970}, {11, 1480, 2100},  {12, 2500, 3540},
    {13, 1820, 2570}, {14, 2159, 3302}, {15, 2150, 2750}, {16, 2540, 3556}, {17, 2794, 4318},  {18, 2159, 2794},
    {19, 984, 2254},  {20, 1048, 2413}, {21, 1143, 2635}, {22, 1207, 2794}, {23, 1270, 2921},  {24, 4318, 5588},
    {25, 5588, 8636}, {26, 8636, 11176}, {27, 1100, 2200}, {28, 1620, 2290}, {29, 3240, 4580}, {30, 2290, 3240},
    {31, 1140, 1620}, {32, 1140, 2290}, {33, 2500, 3530}, {34, 1760, 2500}, {35, 1760, 1250},  {36, 1100, 2300},
    {37, 984, 1905},  {38, 920, 1651},  {39, 3778, 2794}, {40, 2159, 3048}, {41, 2159, 3302},  {42, 2500, 3530},
    {43, 1000, 1480}, {44, 2286, 2794}, {45, 2540, 2794}, {46, 3810, 2794}, {47, 2200, 2200},  {50, 2355, 3048},
    {51, 2355, 3810}, {52, 2969, 4572}, {53, 2354, 3223}, {54, 2101, 2794}, {55, 2100, 2970},  {56, 2355, 3048},
    {57, 2270, 3560}, {58, 3050, 4870}, {59, 2159, 3223}, {60, 2100, 3300}, {61, 1480, 2100},  {62, 1820, 2570},
    {63, 3220, 4450}, {64, 1740, 2350}, {65, 2010, 2760}, {66, 4200, 5940}, {67, 2970, 4200},  {68, 3220, 4450},
};

double round8(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 9e10)
        return value;
    return double(RoundHalfEven(value * 1e8)) / 1e8;
}

} // namespace

bool rudPaperSize(int Code, int &Width, int &Height)
{
    for (const TPaper &p : paperTable) {
        if (p.Code == Code) {
            Width = p.Width;
            Height = p.Height;
            return true;
        }
    }
    return false;
}

TfrxPage::TfrxPage(TfrxComponent *AOwner) : TfrxComponent(AOwner)
{
    SetBaseName(QStringLiteral("Page"));
}

TfrxPropDescs TfrxPage::PropDescs()
{
    return {{"Font", {}, &pageFontStored}, {"Visible", true}};
}

TfrxReportPage::TfrxReportPage(TfrxComponent *AOwner)
    : TfrxPage(AOwner), FBackPictureView(std::make_unique<TfrxPictureView>(nullptr))
{
    // No owner: the background object is no child of the page and no
    // component of the report, so it is neither found by name nor written.
    FBackPictureView->SetColor(clTransparent);
    FBackPictureView->SetKeepAspectRatio(false);
    UpdateDimensions();
}

TfrxReportPage::~TfrxReportPage() = default;

TfrxPropDescs TfrxReportPage::PropDescs()
{
    TfrxPropDescs descs{{"Orientation", int(poPortrait)},
                        {"MirrorMargins", false},
                        {"Columns", 0},
                        {"Bin", 7},
                        {"BinOtherPages", 7},
                        {"BackPictureVisible", true},
                        {"BackPicturePrintable", true},
                        {"PageCount", 1},
                        {"Color", clTransparent},
                        {"Duplex", int(dmNone)},
                        {"EndlessHeight", false},
                        {"EndlessWidth", false},
                        {"LargeDesignHeight", false},
                        {"PrintIfEmpty", true},
                        {"PrintOnPreviousPage", false},
                        {"ResetPageNumbers", false},
                        {"TitleBeforeHeader", true}};
    rudAddTypeName(descs, "TColor", {"Color"});
    rudAddTypeName(descs, "TfrxNotifyEvent", {"OnAfterPrint", "OnBeforePrint", "OnManualBuild"});
    return descs;
}

void TfrxReportPage::SetOrientation(TPrinterOrientation Value)
{
    if (FOrientation != Value) {
        std::swap(FPaperWidth, FPaperHeight);
        const double l = FLeftMargin, r = FRightMargin, t = FTopMargin, b = FBottomMargin;
        if (Value == poLandscape) {
            FLeftMargin = t;
            FRightMargin = b;
            FTopMargin = r;
            FBottomMargin = l;
        } else {
            FLeftMargin = b;
            FRightMargin = t;
            FTopMargin = l;
            FBottomMargin = r;
        }
        UpdateDimensions();
    }
    FOrientation = Value;
}

void TfrxReportPage::SetPaperWidth(double Value)
{
    FPaperWidth = round8(Value);
    FPaperSize = 256;
    UpdateDimensions();
}

void TfrxReportPage::SetPaperHeight(double Value)
{
    FPaperHeight = round8(Value);
    FPaperSize = 256;
    UpdateDimensions();
}

void TfrxReportPage::SetPaperSize(int Value)
{
    FPaperSize = Value;
    if (Value < 256) {
        int w = 0, h = 0;
        if (rudPaperSize(Value, w, h)) {
            if (FOrientation == poLandscape)
                std::swap(w, h);
            FPaperWidth = w / 10.0;
            FPaperHeight = h / 10.0;
        }
    } else {
        return;
    }
    UpdateDimensions();
}

void TfrxReportPage::SetSizeAndDimensions(int ASize, double AWidth, double AHeight)
{
    FPaperSize = ASize;
    FPaperWidth = round8(AWidth);
    FPaperHeight = round8(AHeight);
    UpdateDimensions();
}

void TfrxReportPage::SetDefaults()
{
    FLeftMargin = FRightMargin = FTopMargin = FBottomMargin = 10;
    // The printer reports its sheet as it feeds it, already turned to its
    // orientation: nothing is swapped or rotated here.
    // A page of no report has no printer to ask.
    const TfrxReport *report = Report();
    const TfrxPrinterPaper paper = rudDefaultPrinterPaper(
        report ? rudNeedService(report->Services().PrinterPaper, "printer paper") : TfrxPrinterPaperProvider());
    FPaperSize = paper.PaperSize;
    FPaperWidth = round8(paper.PaperWidth);
    FPaperHeight = round8(paper.PaperHeight);
    FOrientation = paper.Orientation;
    UpdateDimensions();
}

void TfrxReportPage::UpdateDimensions()
{
    auto pixels = [](double mm) {
        const double v = mm * fr01cm;
        return std::isfinite(v) && std::fabs(v) < 9e15 ? double(RoundHalfEven(v)) : 0.0;
    };
    SetWidth(pixels(FPaperWidth));
    SetHeight(pixels(FPaperHeight));
}

void TfrxReportPage::SetColumns(int Value)
{
    FColumns = Value;
    FColumnPositions.clear();
    if (Value > 0) {
        FColumnWidth = (FPaperWidth - FLeftMargin - FRightMargin) / Value;
        // A column count far beyond any paper would only build a huge list.
        for (int i = 0; i < Value && i < 10000; ++i)
            FColumnPositions.append(FloatToStr(i * FColumnWidth));
    }
}

void TfrxReportPage::SetBackPicture(TfrxPicture *Value)
{
    FBackPictureView->SetPicture(Value);
}

void TfrxReportPage::SetPageCount(int Value)
{
    if (Value > 0)
        FPageCount = Value;
}

void TfrxReportPage::SetFrame(TfrxFrame *Value)
{
    FBackPictureView->SetFrame(Value);
}

TfrxDataPage::TfrxDataPage(TfrxComponent *AOwner) : TfrxPage(AOwner)
{
    SetWidth(1000);
    SetHeight(1000);
}
