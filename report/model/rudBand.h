#pragma once
// Bands: horizontal strips of a report page (titles, headers, data rows,
// group headers and footers, footers, page header and footer, column header
// and footer, overlay, child) that the engine outputs one after another, and
// the null band that carries the objects lying directly on a page.

#include "report/model/rudDataSet.h"
#include "report/model/rudView.h"

#include <QList>
#include <QPointer>

class TfrxChild;
class TfrxDataBand;

// Base of every band: its objects are views placed relative to the band;
// the engine outputs it as one block.
class TfrxBand : public TfrxView {
    Q_OBJECT
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(TfrxFrame *Frame READ Frame WRITE SetFrame)
    Q_PROPERTY(rudEnums::TfrxFillType FillType READ FillType WRITE SetFillType)
    Q_PROPERTY(TfrxCustomFill *Fill READ Fill WRITE SetFill)
    Q_PROPERTY(bool AllowSplit READ AllowSplit WRITE SetAllowSplit)
    Q_PROPERTY(TfrxChild *Child READ Child WRITE SetChild)
    Q_PROPERTY(bool KeepChild READ KeepChild WRITE SetKeepChild)
    Q_PROPERTY(QString OutlineText READ OutlineText WRITE SetOutlineText)
    Q_PROPERTY(bool PrintChildIfInvisible READ PrintChildIfInvisible WRITE SetPrintChildIfInvisible)
    Q_PROPERTY(bool StartNewPage READ StartNewPage WRITE SetStartNewPage)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)
    Q_PROPERTY(bool Vertical READ Vertical WRITE SetVertical)
    Q_PROPERTY(QString OnAfterCalcHeight READ OnAfterCalcHeight WRITE SetOnAfterCalcHeight)
public:
    explicit TfrxBand(TfrxComponent *AOwner);
    static TfrxPropDescs PropDescs();

    // The band's number in the engine's ordering table (0 to 17); -1 for
    // bands without one (the null band).
    virtual int BandNumber() const { return -1; }
    // A vertical band is a column strip, laid out left to right across the
    // horizontal bands; its Left and Width place it, its Top is not used.
    bool Vertical() const { return FVertical; }
    void SetVertical(bool Value) { FVertical = Value; }

    bool AllowSplit() const { return FAllowSplit; }
    void SetAllowSplit(bool Value) { FAllowSplit = Value; }
    TfrxChild *Child() const;
    void SetChild(TfrxChild *Value);
    bool KeepChild() const { return FKeepChild; }
    void SetKeepChild(bool Value) { FKeepChild = Value; }
    const QString &OutlineText() const { return FOutlineText; }
    void SetOutlineText(const QString &Value) { FOutlineText = Value; }
    bool PrintChildIfInvisible() const { return FPrintChildIfInvisible; }
    void SetPrintChildIfInvisible(bool Value) { FPrintChildIfInvisible = Value; }
    bool StartNewPage() const { return FStartNewPage; }
    void SetStartNewPage(bool Value) { FStartNewPage = Value; }
    bool Stretched() const { return FStretched; }
    void SetStretched(bool Value) { FStretched = Value; }
    const QString &OnAfterCalcHeight() const { return FOnAfterCalcHeight; }
    void SetOnAfterCalcHeight(const QString &Value) { FOnAfterCalcHeight = Value; }

    // Run-time state of the engine (never stored).
    // Number of objects the band had before output; objects added during
    // output lie beyond it and are freed afterwards. -1 when not recorded.
    int OriginalObjectsCount() const { return FOriginalObjectsCount; }
    void SetOriginalObjectsCount(int Value) { FOriginalObjectsCount = Value; }
    // Set while the band is shown again at the top of a new page or column.
    bool Overflow() const { return FOverflow; }
    void SetOverflow(bool Value) { FOverflow = Value; }
    // Height after stretching, before it is restored.
    double StretchedHeight() const { return FStretchedHeight; }
    void SetStretchedHeight(double Value) { FStretchedHeight = Value; }
    // The band tree: sub-bands (details of a data band), header, footer and
    // the group headers that belong to a data band.
    QList<TfrxBand *> &SubBands() { return FSubBands; }
    TfrxBand *Header() const { return FHeader; }
    void SetHeader(TfrxBand *Value) { FHeader = Value; }
    TfrxBand *Footer() const { return FFooter; }
    void SetFooter(TfrxBand *Value) { FFooter = Value; }
    QList<TfrxBand *> &Group() { return FGroup; }
    bool HasVBands() const { return FHasVBands; }
    void SetHasVBands(bool Value) { FHasVBands = Value; }
    // The band's own row counters, shown again when the band is repeated.
    int LineN = 0;
    int LineThrough = 0;

private:
    bool FAllowSplit = false;
    QPointer<TfrxBand> FChild;
    bool FKeepChild = false;
    QString FOutlineText;
    bool FPrintChildIfInvisible = false;
    bool FStartNewPage = false;
    bool FStretched = false;
    bool FVertical = false;
    QString FOnAfterCalcHeight;
    int FOriginalObjectsCount = -1;
    bool FOverflow = false;
    double FStretchedHeight = 0;
    QList<TfrxBand *> FSubBands;
    QPointer<TfrxBand> FHeader, FFooter;
    QList<TfrxBand *> FGroup;
    bool FHasVBands = false;
};

// The report title: printed once, at the top of the first page.
class TfrxReportTitle : public TfrxBand {
    Q_OBJECT
public:
    using TfrxBand::TfrxBand;
    int BandNumber() const override { return 0; }
};

// The report summary: printed once, after the last data.
class TfrxReportSummary : public TfrxBand {
    Q_OBJECT
public:
    using TfrxBand::TfrxBand;
    int BandNumber() const override { return 1; }
};

// The page header: printed at the top of every page.
class TfrxPageHeader : public TfrxBand {
    Q_OBJECT
    Q_PROPERTY(bool PrintOnFirstPage READ PrintOnFirstPage WRITE SetPrintOnFirstPage)
public:
    using TfrxBand::TfrxBand;
    static TfrxPropDescs PropDescs();
    int BandNumber() const override { return 2; }
    bool PrintOnFirstPage() const { return FPrintOnFirstPage; }
    void SetPrintOnFirstPage(bool Value) { FPrintOnFirstPage = Value; }

private:
    bool FPrintOnFirstPage = true;
};

// The page footer: printed at the bottom of every page.
class TfrxPageFooter : public TfrxBand {
    Q_OBJECT
    Q_PROPERTY(bool PrintOnFirstPage READ PrintOnFirstPage WRITE SetPrintOnFirstPage)
    Q_PROPERTY(bool PrintOnLastPage READ PrintOnLastPage WRITE SetPrintOnLastPage)
public:
    using TfrxBand::TfrxBand;
    static TfrxPropDescs PropDescs();
    int BandNumber() const override { return 3; }
    bool PrintOnFirstPage() const { return FPrintOnFirstPage; }
    void SetPrintOnFirstPage(bool Value) { FPrintOnFirstPage = Value; }
    bool PrintOnLastPage() const { return FPrintOnLastPage; }
    void SetPrintOnLastPage(bool Value) { FPrintOnLastPage = Value; }

private:
    bool FPrintOnFirstPage = true;
    bool FPrintOnLastPage = true;
};

// The header of a data band: printed before its first row (and again at the
// top of each page the rows continue on).
class TfrxHeader : public TfrxBand {
    Q_OBJECT
public:
    using TfrxBand::TfrxBand;
    int BandNumber() const override { return 4; }
};

// The footer of a data band: printed after its last row.
class TfrxFooter : public TfrxBand {
    Q_OBJECT
public:
    using TfrxBand::TfrxBand;
    int BandNumber() const override { return 5; }
};

// Base of the data bands: printed once per record of its data set (or
// RowCount times without one).
class TfrxDataBand : public TfrxBand {
    Q_OBJECT
    Q_PROPERTY(int ColumnCount READ Columns WRITE SetColumns)
    Q_PROPERTY(double ColumnWidth READ ColumnWidth WRITE SetColumnWidth)
    Q_PROPERTY(double ColumnGap READ ColumnGap WRITE SetColumnGap)
    Q_PROPERTY(TfrxComponent *DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataSetName READ DataSetName WRITE SetDataSetName)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(bool FooterAfterEach READ FooterAfterEach WRITE SetFooterAfterEach)
    Q_PROPERTY(bool KeepFooter READ KeepFooter WRITE SetKeepFooter)
    Q_PROPERTY(bool KeepHeader READ KeepHeader WRITE SetKeepHeader)
    Q_PROPERTY(bool KeepTogether READ KeepTogether WRITE SetKeepTogether)
    Q_PROPERTY(bool PrintIfDetailEmpty READ PrintIfDetailEmpty WRITE SetPrintIfDetailEmpty)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(QString OnMasterDetail READ OnMasterDetail WRITE SetOnMasterDetail)
public:
    explicit TfrxDataBand(TfrxComponent *AOwner);
    ~TfrxDataBand() override;
    static TfrxPropDescs PropDescs();

    // Columns across the band's width (0 and 1: one).
    int Columns() const { return FColumns; }
    void SetColumns(int Value) { FColumns = Value; }
    double ColumnWidth() const { return FColumnWidth; }
    void SetColumnWidth(double Value) { FColumnWidth = Value; }
    double ColumnGap() const { return FColumnGap; }
    void SetColumnGap(double Value) { FColumnGap = Value; }
    TfrxComponent *DataSet() const { return FDataSet; }
    void SetDataSet(TfrxComponent *Value) { FDataSet = Value; }
    const QString &DataSetName() const { return FDataSetName; }
    void SetDataSetName(const QString &Value) { FDataSetName = Value; }
    const QString &Filter() const { return FFilter; }
    void SetFilter(const QString &Value) { FFilter = Value; }
    bool FooterAfterEach() const { return FFooterAfterEach; }
    void SetFooterAfterEach(bool Value) { FFooterAfterEach = Value; }
    bool KeepFooter() const { return FKeepFooter; }
    void SetKeepFooter(bool Value) { FKeepFooter = Value; }
    bool KeepHeader() const { return FKeepHeader; }
    void SetKeepHeader(bool Value) { FKeepHeader = Value; }
    bool KeepTogether() const { return FKeepTogether; }
    void SetKeepTogether(bool Value) { FKeepTogether = Value; }
    bool PrintIfDetailEmpty() const { return FPrintIfDetailEmpty; }
    void SetPrintIfDetailEmpty(bool Value) { FPrintIfDetailEmpty = Value; }
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value) { FRowCount = Value; }
    const QString &OnMasterDetail() const { return FOnMasterDetail; }
    void SetOnMasterDetail(const QString &Value) { FOnMasterDetail = Value; }

    // The data set the engine walks: the one set by the engine (the built-in
    // RowCount data set or the one found by DataSetName), else DataSet.
    TfrxDataSet *RunDataSet() const;
    void SetRunDataSet(TfrxDataSet *Value) { FRunDataSet = Value; }
    // The built-in data set of RowCount records, owned by the band (created
    // on first use).
    TfrxDataSet *VirtualDataSet();
    // Current column of a multi-column band (1-based).
    int CurColumn = 1;

private:
    int FColumns = 0;
    double FColumnWidth = 0, FColumnGap = 0;
    QPointer<TfrxComponent> FDataSet;
    QString FDataSetName;
    QString FFilter;
    bool FFooterAfterEach = false, FKeepFooter = false, FKeepHeader = false, FKeepTogether = false;
    bool FPrintIfDetailEmpty = false;
    int FRowCount = 0;
    QString FOnMasterDetail;
    QPointer<TfrxDataSet> FRunDataSet;
    std::unique_ptr<TfrxDataSet> FVirtualDataSet;
};

// The first level of data: one row per record.
class TfrxMasterData : public TfrxDataBand {
    Q_OBJECT
public:
    using TfrxDataBand::TfrxDataBand;
    int BandNumber() const override { return 6; }
};

// Second level: walked once per master row.
class TfrxDetailData : public TfrxDataBand {
    Q_OBJECT
public:
    using TfrxDataBand::TfrxDataBand;
    int BandNumber() const override { return 7; }
};

// Third level.
class TfrxSubdetailData : public TfrxDataBand {
    Q_OBJECT
public:
    using TfrxDataBand::TfrxDataBand;
    int BandNumber() const override { return 8; }
};

// Fourth level.
class TfrxDataBand4 : public TfrxDataBand {
    Q_OBJECT
public:
    using TfrxDataBand::TfrxDataBand;
    int BandNumber() const override { return 9; }
};

// Fifth level.
class TfrxDataBand5 : public TfrxDataBand {
    Q_OBJECT
public:
    using TfrxDataBand::TfrxDataBand;
    int BandNumber() const override { return 10; }
};

// Sixth level.
class TfrxDataBand6 : public TfrxDataBand {
    Q_OBJECT
public:
    using TfrxDataBand::TfrxDataBand;
    int BandNumber() const override { return 11; }
};

// A group header: printed whenever its Condition changes value between rows
// of the data band below it.
class TfrxGroupHeader : public TfrxBand {
    Q_OBJECT
    Q_PROPERTY(QString Condition READ Condition WRITE SetCondition)
    Q_PROPERTY(bool KeepTogether READ KeepTogether WRITE SetKeepTogether)
    Q_PROPERTY(bool ReprintOnNewPage READ ReprintOnNewPage WRITE SetReprintOnNewPage)
    Q_PROPERTY(bool ResetPageNumbers READ ResetPageNumbers WRITE SetResetPageNumbers)
public:
    using TfrxBand::TfrxBand;
    static TfrxPropDescs PropDescs();
    int BandNumber() const override { return 12; }
    const QString &Condition() const { return FCondition; }
    void SetCondition(const QString &Value) { FCondition = Value; }
    bool KeepTogether() const { return FKeepTogether; }
    void SetKeepTogether(bool Value) { FKeepTogether = Value; }
    bool ReprintOnNewPage() const { return FReprintOnNewPage; }
    void SetReprintOnNewPage(bool Value) { FReprintOnNewPage = Value; }
    bool ResetPageNumbers() const { return FResetPageNumbers; }
    void SetResetPageNumbers(bool Value) { FResetPageNumbers = Value; }

    // Run-time: the condition's value of the group being printed, and the
    // group footer that closes this group.
    QVariant LastValue;
    TfrxBand *GroupFooter() const { return FGroupFooter; }
    void SetGroupFooter(TfrxBand *Value) { FGroupFooter = Value; }

private:
    QString FCondition;
    bool FKeepTogether = false, FReprintOnNewPage = false, FResetPageNumbers = false;
    QPointer<TfrxBand> FGroupFooter;
};

// A group footer: printed when its group ends.
class TfrxGroupFooter : public TfrxBand {
    Q_OBJECT
public:
    using TfrxBand::TfrxBand;
    int BandNumber() const override { return 13; }
};

// A child band: printed right after the band whose Child it is.
class TfrxChild : public TfrxBand {
    Q_OBJECT
public:
    using TfrxBand::TfrxBand;
    int BandNumber() const override { return 14; }
};

// The column header: printed at the top of each column area.
class TfrxColumnHeader : public TfrxBand {
    Q_OBJECT
public:
    using TfrxBand::TfrxBand;
    int BandNumber() const override { return 15; }
};

// The column footer: printed at the bottom of each column.
class TfrxColumnFooter : public TfrxBand {
    Q_OBJECT
public:
    using TfrxBand::TfrxBand;
    int BandNumber() const override { return 16; }
};

// The overlay: printed over (or, without PrintOnTop, under) everything else
// on each page.
class TfrxOverlay : public TfrxBand {
    Q_OBJECT
    Q_PROPERTY(bool PrintOnTop READ PrintOnTop WRITE SetPrintOnTop)
public:
    using TfrxBand::TfrxBand;
    static TfrxPropDescs PropDescs();
    int BandNumber() const override { return 17; }
    bool PrintOnTop() const { return FPrintOnTop; }
    void SetPrintOnTop(bool Value) { FPrintOnTop = Value; }

private:
    bool FPrintOnTop = false;
};

// The band the engine makes to carry the objects lying directly on a page.
// It only lists those objects among its Objects: they keep their page as
// parent and owner, and ReleaseObjects (also run by the destructor) empties
// the list without freeing them.
class TfrxNullBand : public TfrxBand {
    Q_OBJECT
public:
    using TfrxBand::TfrxBand;
    ~TfrxNullBand() override;
    // It has no source copy on prepared pages: the complete attribute text,
    // then its position as "l" and "t".
    QString AllDiff(TfrxComponent *AComponent) override;
    // Lists Obj as one of the band's objects without taking it over.
    void ListObject(TfrxComponent *Obj);
    // Takes the listed objects off the list; objects parented to the band stay.
    void ReleaseObjects();
};

// The band class whose number is N (0 to 17), or nullptr.
const QMetaObject *rudBandClass(int N);
// Registers the band classes by name (called from the start-up registration).
void rudRegisterBandClasses();
