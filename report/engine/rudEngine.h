#pragma once
// The preparation engine: walks the report pages and their bands over the
// data and hands every output object to the prepared pages store.

#include "report/engine/rudAggregate.h"
#include "report/engine/rudCustomEngine.h"
#include "report/engine/rudEngineSeam.h"
#include "report/engine/rudKeptBlock.h"
#include "report/engine/rudSuppressedValues.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <functional>
#include <map>
#include <memory>

class TfrxBand;
class TfrxComponent;
class TfrxCustomMemoView;
class TfrxCustomPreviewPages;
class TfrxDataBand;
class TfrxDataSet;
class TfrxDialogPage;
class TfrxMemoView;
class TfrxGroupHeader;
class TfrxNullBand;
class TfrxPage;
class TfrxReport;
class TfrxReportPage;
class TfrxSubreport;
class TfrxView;
class TfrxXMLItem;

// One band to repeat at the top of each new page or column.
struct TfrxHeaderListItem {
    TfrxBand *Band = nullptr;
    double Left = 0;
    bool IsInKeepList = false;
};

// The bands repeated on each new page or column, in the order they were added.
class TfrxHeaderList {
public:
    void AddItem(TfrxBand *Band, double Left, bool IsInKeepList);
    void RemoveItem(TfrxBand *Band);
    void Clear() { FItems.clear(); }
    int Count() const { return int(FItems.size()); }
    const TfrxHeaderListItem &Items(int Index) const { return FItems[Index]; }

private:
    QList<TfrxHeaderListItem> FItems;
};

// The band engine: page start and end, band output with stretching,
// overflow to new columns and pages, the band trees and the walk over data.
class TfrxEngine final : public TfrxCustomEngine, private TfrxEngineSeam {
    Q_OBJECT
public:
    explicit TfrxEngine(TfrxReport *AReport);
    ~TfrxEngine() override;

    double GetPageHeight() override;
    void EndPage() override;
    void NewColumn() override;
    void NewPage() override;
    // Shows Band (any band, the null band too; nothing for nullptr or an
    // object that is no band) with its child.
    void ShowBand(TfrxComponent *Band) override;
    void ShowBand(const QMetaObject *BandClass) override;
    double FooterHeight() override;
    double FreeSpace() override;
    // From the aggregate list: the item printed on the current band.
    TfsVariant GetAggregateValue(const QString &Name, const QString &Expression, TfrxComponent *Band,
                                 int Flags) override;
    // The two flags are accepted and not consulted: dialogs always run.
    // With APage only that report page is prepared.
    bool Run(bool ARunDialogs, bool AClearLast, TfrxComponent *APage = nullptr) override;
    double HeaderHeight() override;
    void BreakAllKeep() override;

    // Builds the band tree of Page (horizontal, or vertical with
    // PrepareVBands); each problem adds one line to ErrorList.
    void PreparePage(TfrxReportPage *Page, QStringList &ErrorList, bool PrepareVBands);
    // Walks the data bands below Obj (a page or a data band).
    void ShowBandTree(TfrxComponent *Obj);
    // Whether Obj (a page or a data band) has data to show.
    bool CanShow(TfrxComponent *Obj, bool PrintIfDetailEmpty);
    // The first-level bands of a page's tree (after PreparePage).
    QList<TfrxBand *> SubBands(TfrxComponent *Obj);
    TfrxAggregateList *Aggregates() { return &FAggregates; }
    // The band being output.
    TfrxBand *CurBand() const { return FCurBand; }
    // The horizontal band an object lying on a vertical band came from when
    // the band trees were built (see PreparePage), or nullptr.
    TfrxBand *VOriginalBand(TfrxComponent *Obj) const;

private:
    // Run steps.
    bool Initialize();
    void Finalize();
    bool RunDialogs();
    void RunReportPages(TfrxReportPage *APage);
    void DoPages(TfrxReportPage *APage);
    void RunPage(TfrxReportPage *Page);
    void ShowPage(TfrxReportPage *Page);
    void InitPage();
    void ShowNullBand();
    void AddPage();
    void EndColumn();
    void AddColumn();
    // Band output.
    void DoShow(TfrxBand *Band);
    void Stretch(TfrxBand *Band);
    void UnStretch(TfrxBand *Band);
    void DrawSplit(TfrxBand *Band);
    void OutputBand(TfrxBand *Band);
    // The memo that carries Band's fill and frame onto prepared pages, or
    // nullptr when the band paints nothing.
    TfrxMemoView *FillMemo(TfrxBand *Band);
    // Sub-reports: those printed below their band after it, and those
    // printed on the parent band, whose output becomes part of the band.
    void CheckSubReports(TfrxBand *Band);
    void DoSubReports(TfrxBand *Band);
    double RunSubreportOnParent(TfrxNullBand *Output, TfrxSubreport *Subreport);
    // The sub-report's band tree, output from the current position at the
    // sub-report's left.
    void WalkSubreport(TfrxSubreport *Subreport);
    // Sub-reports lying directly on a report page take their place in the
    // page's flow: the walk of the page's first-level data bands meets them
    // by their designed top (see rudEngineSubreports.cpp).
    struct TPageFlow {
        // Not yet output, top to bottom.
        QList<TfrxSubreport *> Pending;
        // Designed tops count from OriginY on prepared page OriginPage.
        double OriginY = 0;
        int OriginPage = -1;
    };
    // The sub-reports on Obj when it is a report page, none otherwise.
    TPageFlow StartPageFlow(TfrxComponent *Obj);
    // Outputs the pending sub-reports designed above Next (a first-level
    // data band of the page), or all of them when Next is nullptr.
    void ShowPageSubreports(TPageFlow &Flow, TfrxBand *Next);
    // Whether the band tree of Page may be walked for a sub-report now: not
    // while it is being walked already (a page printing itself).
    bool CanWalkSubreport(TfrxReportPage *Page) const;
    // Outline entries: the page's (at the root; made current when Current)
    // and a band's (under the current entry, made current); the band's
    // entry is added only when it has an OutlineText, and the answer says so.
    void AddPageOutline(bool Current);
    bool AddBandOutline(TfrxBand *Band);
    // Vertical bands: objects of horizontal bands that lie across vertical
    // bands are moved onto them when the band trees are built and back when
    // the run ends; each output of such a horizontal band then carries one
    // copy of them per vertical band output, left to right.
    void MoveObjectsToVBands(TfrxReportPage *Page);
    void RestoreVBandObjects();
    void ShowVBands(TfrxBand *Band, QHash<TfrxComponent *, double> &Grown);
    void ShowVBandTree(TfrxBand *Band, TfrxComponent *Obj, QHash<TfrxComponent *, double> &Grown);
    // Copies the cells of VBand onto Band at the design left X.
    void AddVCells(TfrxBand *Band, TfrxBand *VBand, double X, QHash<TfrxComponent *, double> &Grown);
    // One vertical band output with its vertical child chain, each at the
    // next place to the right (in the next column set when it does not fit,
    // together with KeepWith more: a header keeps room for its first record),
    // each between its OnBeforePrint and OnAfterPrint. With MayStartSet a
    // band with StartNewPage starts the next column set.
    void ShowVBand(TfrxBand *Band, TfrxBand *VBand, QHash<TfrxComponent *, double> &Grown, double KeepWith = 0,
                   bool MayStartSet = true);
    void VBandBeforePrint(TfrxBand *Band, TfrxBand *VBand);
    void VBandAfterPrint(TfrxBand *Band, TfrxBand *VBand);
    // The room a vertical header keeps for what follows it up to the first
    // record of VBand (the Counted-th of its walk): the group headers from
    // index Group on and the record, or up to a kept group and that whole
    // group.
    double VHeaderKeepWidth(TfrxBand *Band, TfrxDataBand *VBand, int Group, int Counted);
    // Whether vertical output meets a right edge (not on a page of endless
    // width, nor in the output of a sub-report printed on its band).
    bool VWidthLimited() const;
    // Makes room for Width more of vertical output: opens the next column
    // set when it would pass the page's right edge (or widens a page of
    // endless width).
    void FitVOutput(TfrxBand *Band, double Width, QHash<TfrxComponent *, double> &Grown);
    // Opens the next column set, starting with the repeated vertical
    // headers when they leave room for Width of output.
    void StartVSet(TfrxBand *Band, double Width, QHash<TfrxComponent *, double> &Grown);
    // Keep-together of vertical groups (rudEngineVKeep.cpp): group Index of
    // VBand starting at the Counted-th record of its walk starts the next
    // set when it does not fit in the rest of this one but in a whole set.
    void KeepVGroup(TfrxBand *Band, TfrxDataBand *VBand, int Index, int Counted,
                    QHash<TfrxComponent *, double> &Grown);
    // The width of that group as the walk would lay it out; the data set
    // stays on the group's first record.
    double MeasureVGroup(TfrxBand *Band, TfrxDataBand *VBand, int Index, int Counted);
    // The width of VBand's walk from its current record on, Counted records
    // counted before it: to the end of its data with its header and footer
    // (Group -1), or to the end of group Group with the group's footers.
    double MeasureVRecords(TfrxBand *Band, TfrxDataBand *VBand, int Counted, int Group);
    // Width of a vertical band with its child chain as ShowVBand outputs it.
    double VChainWidth(TfrxBand *VBand) const;
    void InitVGroups(TfrxBand *Band, TfrxDataBand *VBand, int Index, int Counted,
                     QHash<TfrxComponent *, double> &Grown);
    void CheckVGroups(TfrxBand *Band, TfrxDataBand *VBand, int Counted, QHash<TfrxComponent *, double> &Grown);
    void ShowVGroupFooters(TfrxBand *Band, TfrxDataBand *VBand, int Index, QHash<TfrxComponent *, double> &Grown);
    // One output of a page: from its start (InitPage) to its end (EndPage).
    void ShowPageOnce(TfrxReportPage *Page);
    // Groups.
    void InitGroups(TfrxDataBand *Band, int Index, bool ResetLineN);
    void CheckGroups(TfrxDataBand *Band);
    // Index of the outermost group of Band whose condition changed since
    // it started, else -1.
    int ChangedGroup(TfrxDataBand *Band);
    // True while Band's walk over Data may take another record: Data not at
    // its end, fewer than Band's RowCount counted, preparation not stopped.
    bool WalkGoesOn(TfrxDataBand *Band, TfrxDataSet *Data, int Counted) const;
    // True when the current record passes Band's Filter (none passes all),
    // evaluated with Context as the current band.
    bool PassesFilter(TfrxDataBand *Band, TfrxBand *Context);
    void ShowGroupFooters(TfrxDataBand *Band, int Index);
    // The band of that class on the current page, or nullptr.
    TfrxBand *FindBand(const QMetaObject *BandClass) const;
    // The data set a data band walks (its own, the one its name finds, or
    // the built-in one of RowCount), or nullptr.
    TfrxDataSet *BandDataSet(TfrxDataBand *Band);
    // The value of an expression of a band (a filter, a group condition);
    // Null for an empty text.
    QVariant EvalValue(const QString &Expression);
    // True when the expression yields True.
    bool EvalCondition(const QString &Expression);
    // Runs OnAfterData of the objects in the notify list.
    void NotifyObjects();
    // Lets the window system run (unless EnableThreadSafe).
    void ProcessMessages();
    bool Terminated() const;
    TfrxCustomEngine &State() override { return *this; }
    void SetCurBand(TfrxBand *Band) override { FCurBand = Band; }

    TfrxAggregateList FAggregates;
    // The kept-together block being output.
    TfrxKeptBlock FKept;
    // What the SuppressRepeated memos printed last.
    TfrxSuppressedValues FSuppressed;
    bool FCallFromAddPage = false, FCallFromEndPage = false, FCallFromPHeader = false;
    // Set while AddColumn repeats the headers: a page holds one copy per column.
    bool FCallFromAddColumn = false;
    // Above 0 while the bands that frame a page (page and column footers,
    // overlays, and their children) are shown by the page's own start or
    // end: such a band never starts a new page, which would end this page
    // again and show it again without end.
    int FPageFrameDepth = 0;
    // Shows a band that frames the page (see FPageFrameDepth).
    void ShowFrameBand(TfrxBand *Band);
    TfrxBand *FCurBand = nullptr;
    TfrxBand *FLastBandOnPage = nullptr;
    bool FDontShowHeaders = false;
    TfrxHeaderList FHeaderList;
    bool FFirstReportPage = false;
    double FFirstColumnY = 0;
    bool FIsFirstBand = false, FIsFirstPage = false, FIsLastPage = false;
    bool FTitlePrinted = false;
    QStringList FHBandNamesTree;
    // Where each band was last placed on its page (outline entries point there).
    QHash<TfrxBand *, double> FOutputTop;
    // Height of the tallest column of the current row of a multi-column band.
    double FColumnRowHeight = 0;
    // The fill memos of the bands, made on first use in a run.
    std::map<TfrxBand *, std::unique_ptr<TfrxMemoView>> FFillMemos;
    // Group headers whose outline entry is current while their group runs.
    QList<TfrxBand *> FOutlinedGroups;
    double FPrevFooterHeight = 0;
    TfrxNullBand *FOutputTo = nullptr;
    TfrxReportPage *FPage = nullptr;
    double FPageCurX = 0;
    TfrxBand *FStartNewPageBand = nullptr;
    TfrxHeaderList FVHeaderList;
    TfrxBand *FVMasterBand = nullptr;
    QList<TfrxBand *> FVPageList;
    // An object moved onto a vertical band: where it came from (its band,
    // its place in the band's list, its left, whether it took the band's
    // font), in the order of moving; and the band of each.
    struct TVMovedObject {
        QPointer<TfrxComponent> Obj;
        QPointer<TfrxBand> Band;
        int Index = 0;
        double Left = 0;
        bool ParentFont = false;
    };
    QList<TVMovedObject> FVMoved;
    QHash<TfrxComponent *, TfrxBand *> FVOriginal;
    // Left edge of the vertical output on the current horizontal band, and
    // where the first vertical band of each page starts.
    double FCurVX = 0;
    QHash<TfrxComponent *, double> FVStartX;
    // Number of vertical data rows output so far on the current horizontal band.
    int FVColumnNo = 0;
    // Column sets: a page whose vertical output is wider than its printable
    // width is output once per set of vertical outputs that fit; FVSet is
    // the set being output, FVSetCount the sets found so far.
    int FVSet = 0, FVSetCount = 1;
    // The walk of one horizontal band: where its vertical output starts
    // (design left), the set its current output falls in, the shift from
    // design left to the place in that set, and whether anything besides
    // repeated headers lies in that set yet.
    double FVStart = 0;
    int FVSetNo = 0;
    double FVShift = 0;
    bool FVPlaced = false;
    // The vertical band whose cells are being evaluated (aggregates tell
    // cells apart by it), and the columns a vertical group footer totals.
    TfrxBand *FCurVBand = nullptr;
    int FVRangeFrom = 0, FVRangeTo = 0;
    // The first vertical column of each running vertical group.
    QHash<TfrxBand *, int> FVGroupStart;
    // The band trees: first-level sub-bands of each page, per direction.
    QHash<TfrxComponent *, QList<TfrxBand *>> FPageBands, FPageVBands;
    // The sub-report pages whose band trees are being walked, outermost first.
    QList<TfrxReportPage *> FSubreportPath;
};
