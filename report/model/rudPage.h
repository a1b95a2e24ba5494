#pragma once
// Pages: TfrxPage, the printable TfrxReportPage with its paper settings, and
// TfrxDataPage, which holds the report's non-printing components.

#include "report/model/rudComponent.h"
#include "report/model/rudFrame.h"
#include "report/model/rudPicture.h"
#include "report/model/rudPictureView.h"

#include <QPointer>
#include <QStringList>

// Base of pages; created with the report as owner and parent.
class TfrxPage : public TfrxComponent {
    Q_OBJECT
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
public:
    explicit TfrxPage(TfrxComponent *AOwner);
    static TfrxPropDescs PropDescs();
};

// Width and height in tenths of a millimetre of a platform paper code; false
// for codes the table does not know.
bool rudPaperSize(int Code, int &Width, int &Height);

// A printable page: paper, margins, columns, background and guides. Its
// pixel size follows the paper size (fr01cm pixels per millimetre). Colour,
// frame and background picture belong to a picture object the page owns
// outside its children (BackPictureView), so that the page's background is
// drawn exactly as a picture object is.
class TfrxReportPage : public TfrxPage {
    Q_OBJECT
    Q_PROPERTY(rudEnums::TPrinterOrientation Orientation READ Orientation WRITE SetOrientation)
    Q_PROPERTY(double PaperWidth READ PaperWidth WRITE SetPaperWidth)
    Q_PROPERTY(double PaperHeight READ PaperHeight WRITE SetPaperHeight)
    Q_PROPERTY(int PaperSize READ PaperSize WRITE SetPaperSize)
    Q_PROPERTY(double LeftMargin READ LeftMargin WRITE SetLeftMargin)
    Q_PROPERTY(double RightMargin READ RightMargin WRITE SetRightMargin)
    Q_PROPERTY(double TopMargin READ TopMargin WRITE SetTopMargin)
    Q_PROPERTY(double BottomMargin READ BottomMargin WRITE SetBottomMargin)
    Q_PROPERTY(bool MirrorMargins READ MirrorMargins WRITE SetMirrorMargins)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(double ColumnWidth READ ColumnWidth WRITE SetColumnWidth)
    Q_PROPERTY(QStringList ColumnPositions READ ColumnPositions WRITE SetColumnPositions)
    Q_PROPERTY(int Bin READ Bin WRITE SetBin)
    Q_PROPERTY(int BinOtherPages READ BinOtherPages WRITE SetBinOtherPages)
    Q_PROPERTY(TfrxPicture *BackPicture READ BackPicture WRITE SetBackPicture)
    Q_PROPERTY(bool BackPictureVisible READ BackPictureVisible WRITE SetBackPictureVisible)
    Q_PROPERTY(bool BackPicturePrintable READ BackPicturePrintable WRITE SetBackPicturePrintable)
    Q_PROPERTY(int PageCount READ PageCount WRITE SetPageCount)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(TfrxComponent *DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataSetName READ DataSetName WRITE SetDataSetName)
    Q_PROPERTY(rudEnums::TfrxDuplexMode Duplex READ Duplex WRITE SetDuplex)
    Q_PROPERTY(TfrxFrame *Frame READ Frame WRITE SetFrame)
    Q_PROPERTY(bool EndlessHeight READ EndlessHeight WRITE SetEndlessHeight)
    Q_PROPERTY(bool EndlessWidth READ EndlessWidth WRITE SetEndlessWidth)
    Q_PROPERTY(bool LargeDesignHeight READ LargeDesignHeight WRITE SetLargeDesignHeight)
    Q_PROPERTY(QString OutlineText READ OutlineText WRITE SetOutlineText)
    Q_PROPERTY(bool PrintIfEmpty READ PrintIfEmpty WRITE SetPrintIfEmpty)
    Q_PROPERTY(bool PrintOnPreviousPage READ PrintOnPreviousPage WRITE SetPrintOnPreviousPage)
    Q_PROPERTY(bool ResetPageNumbers READ ResetPageNumbers WRITE SetResetPageNumbers)
    Q_PROPERTY(bool TitleBeforeHeader READ TitleBeforeHeader WRITE SetTitleBeforeHeader)
    Q_PROPERTY(QStringList HGuides READ HGuides WRITE SetHGuides)
    Q_PROPERTY(QStringList VGuides READ VGuides WRITE SetVGuides)
    Q_PROPERTY(QString OnAfterPrint READ OnAfterPrint WRITE SetOnAfterPrint)
    Q_PROPERTY(QString OnBeforePrint READ OnBeforePrint WRITE SetOnBeforePrint)
    Q_PROPERTY(QString OnManualBuild READ OnManualBuild WRITE SetOnManualBuild)
public:
    // A4 portrait (paper code 9), no margins, 794 x 1123 pixels.
    explicit TfrxReportPage(TfrxComponent *AOwner);
    ~TfrxReportPage() override;
    static TfrxPropDescs PropDescs();

    TPrinterOrientation Orientation() const { return FOrientation; }
    // Swaps the paper sides and rotates the margins when the orientation changes.
    void SetOrientation(TPrinterOrientation Value);
    double PaperWidth() const { return FPaperWidth; }
    double PaperHeight() const { return FPaperHeight; }
    // Store the size rounded to 8 decimals; the paper code becomes 256 (custom).
    virtual void SetPaperWidth(double Value);
    virtual void SetPaperHeight(double Value);
    int PaperSize() const { return FPaperSize; }
    // Takes width and height from the paper table for codes below 256.
    virtual void SetPaperSize(int Value);
    // Stores all three at once.
    void SetSizeAndDimensions(int ASize, double AWidth, double AHeight);
    // Margins 10 mm; paper code, size and orientation of the current
    // printer's defaults (rudPrinterDefaults); the pixel size follows.
    virtual void SetDefaults();
    // Width and Height in pixels from the paper size.
    void UpdateDimensions();

    double LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(double Value) { FLeftMargin = Value; }
    double RightMargin() const { return FRightMargin; }
    void SetRightMargin(double Value) { FRightMargin = Value; }
    double TopMargin() const { return FTopMargin; }
    void SetTopMargin(double Value) { FTopMargin = Value; }
    double BottomMargin() const { return FBottomMargin; }
    void SetBottomMargin(double Value) { FBottomMargin = Value; }
    bool MirrorMargins() const { return FMirrorMargins; }
    void SetMirrorMargins(bool Value) { FMirrorMargins = Value; }
    int Columns() const { return FColumns; }
    // Stores n and lays out n equal columns across the printable width.
    void SetColumns(int Value);
    double ColumnWidth() const { return FColumnWidth; }
    void SetColumnWidth(double Value) { FColumnWidth = Value; }
    const QStringList &ColumnPositions() const { return FColumnPositions; }
    void SetColumnPositions(const QStringList &Value) { FColumnPositions = Value; }
    int Bin() const { return FBin; }
    void SetBin(int Value) { FBin = Value; }
    int BinOtherPages() const { return FBinOtherPages; }
    void SetBinOtherPages(int Value) { FBinOtherPages = Value; }
    // The background object's picture.
    TfrxPicture *BackPicture() const { return FBackPictureView->Picture(); }
    // Copies Value's image into the background object.
    void SetBackPicture(TfrxPicture *Value);
    bool BackPictureVisible() const { return FBackPictureVisible; }
    void SetBackPictureVisible(bool Value) { FBackPictureVisible = Value; }
    bool BackPicturePrintable() const { return FBackPicturePrintable; }
    void SetBackPicturePrintable(bool Value) { FBackPicturePrintable = Value; }
    int PageCount() const { return FPageCount; }
    // Ignored unless Value > 0.
    void SetPageCount(int Value);
    // The background object's colour (clTransparent on a new page).
    TColor Color() const { return FBackPictureView->Color(); }
    void SetColor(TColor Value) { FBackPictureView->SetColor(Value); }
    TfrxComponent *DataSet() const { return FDataSet; }
    void SetDataSet(TfrxComponent *Value) { FDataSet = Value; }
    const QString &DataSetName() const { return FDataSetName; }
    void SetDataSetName(const QString &Value) { FDataSetName = Value; }
    TfrxDuplexMode Duplex() const { return FDuplex; }
    void SetDuplex(TfrxDuplexMode Value) { FDuplex = Value; }
    // The background object's frame.
    TfrxFrame *Frame() const { return FBackPictureView->Frame(); }
    // Copies Value into the background object's frame.
    void SetFrame(TfrxFrame *Value);
    // The picture object behind the page: not a child, never written as an
    // object of its own; the page's Color, Frame and BackPicture are its
    // colour, frame and picture.
    TfrxPictureView *BackPictureView() const { return FBackPictureView.get(); }
    bool EndlessHeight() const { return FEndlessHeight; }
    void SetEndlessHeight(bool Value) { FEndlessHeight = Value; }
    bool EndlessWidth() const { return FEndlessWidth; }
    void SetEndlessWidth(bool Value) { FEndlessWidth = Value; }
    bool LargeDesignHeight() const { return FLargeDesignHeight; }
    void SetLargeDesignHeight(bool Value) { FLargeDesignHeight = Value; }
    const QString &OutlineText() const { return FOutlineText; }
    void SetOutlineText(const QString &Value) { FOutlineText = Value; }
    bool PrintIfEmpty() const { return FPrintIfEmpty; }
    void SetPrintIfEmpty(bool Value) { FPrintIfEmpty = Value; }
    bool PrintOnPreviousPage() const { return FPrintOnPreviousPage; }
    void SetPrintOnPreviousPage(bool Value) { FPrintOnPreviousPage = Value; }
    bool ResetPageNumbers() const { return FResetPageNumbers; }
    void SetResetPageNumbers(bool Value) { FResetPageNumbers = Value; }
    bool TitleBeforeHeader() const { return FTitleBeforeHeader; }
    void SetTitleBeforeHeader(bool Value) { FTitleBeforeHeader = Value; }
    const QStringList &HGuides() const { return FHGuides; }
    void SetHGuides(const QStringList &Value) { FHGuides = Value; }
    const QStringList &VGuides() const { return FVGuides; }
    void SetVGuides(const QStringList &Value) { FVGuides = Value; }
    const QString &OnAfterPrint() const { return FOnAfterPrint; }
    void SetOnAfterPrint(const QString &Value) { FOnAfterPrint = Value; }
    const QString &OnBeforePrint() const { return FOnBeforePrint; }
    void SetOnBeforePrint(const QString &Value) { FOnBeforePrint = Value; }
    const QString &OnManualBuild() const { return FOnManualBuild; }
    void SetOnManualBuild(const QString &Value) { FOnManualBuild = Value; }

private:
    TPrinterOrientation FOrientation = poPortrait;
    double FPaperWidth = 210, FPaperHeight = 297;
    int FPaperSize = 9;
    double FLeftMargin = 0, FRightMargin = 0, FTopMargin = 0, FBottomMargin = 0;
    bool FMirrorMargins = false;
    int FColumns = 0;
    double FColumnWidth = 0;
    QStringList FColumnPositions;
    int FBin = 7, FBinOtherPages = 7;
    std::unique_ptr<TfrxPictureView> FBackPictureView;
    bool FBackPictureVisible = true, FBackPicturePrintable = true;
    int FPageCount = 1;
    QPointer<TfrxComponent> FDataSet;
    QString FDataSetName;
    TfrxDuplexMode FDuplex = dmNone;
    bool FEndlessHeight = false, FEndlessWidth = false, FLargeDesignHeight = false;
    QString FOutlineText;
    bool FPrintIfEmpty = true, FPrintOnPreviousPage = false, FResetPageNumbers = false;
    bool FTitleBeforeHeader = true;
    QStringList FHGuides, FVGuides;
    QString FOnAfterPrint, FOnBeforePrint, FOnManualBuild;
};

// The page of non-printing components: no paper, 1000 x 1000 pixels.
class TfrxDataPage : public TfrxPage {
    Q_OBJECT
    Q_PROPERTY(double Height READ Height WRITE SetHeight)
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
public:
    explicit TfrxDataPage(TfrxComponent *AOwner);
};
