#pragma once
// Vertical output: the vertical bands' column strips laid across the
// horizontal bands, cut into column sets when wider than the page.

#include "report/engine/rudHeaderList.h"

#include <QHash>
#include <QList>
#include <QPointer>

class TfrxAggregateList;
class TfrxBand;
class TfrxComponent;
class TfrxCustomEngine;
class TfrxDataBand;
class TfrxEngineSeam;
class TfrxReportPage;

// Objects of horizontal bands that lie across vertical bands are moved
// onto them when the band trees are built and back when the run ends; each
// output of such a horizontal band then carries one copy of them per
// vertical band output, left to right. A page whose vertical output is
// wider than its printable width is output once per column set.
class TfrxVerticalOutput {
public:
    TfrxVerticalOutput(TfrxEngineSeam &Engine, TfrxAggregateList &Aggregates);

    void MoveObjectsToVBands(TfrxReportPage *Page);
    void RestoreVBandObjects();
    // The horizontal band an object lying on a vertical band came from, or
    // nullptr.
    TfrxBand *VOriginalBand(TfrxComponent *Obj) const { return FVOriginal.value(Obj); }
    // Puts the vertical output of Band (being output) on it; the copies that
    // grow with their text are noted in Grown.
    void ShowVBands(TfrxBand *Band, QHash<TfrxComponent *, double> &Grown);
    // A new page has no vertical master band yet.
    void StartPage() { FVMasterBand = nullptr; }

    // The column set being output and the sets found so far.
    int ColumnSet() const { return FVSet; }
    int ColumnSetCount() const { return FVSetCount; }
    void SetColumnSet(int Set) { FVSet = Set; }
    // Back to one set, the first.
    void ResetColumnSets()
    {
        FVSet = 0;
        FVSetCount = 1;
    }

    // The vertical band whose cells are being evaluated (aggregates tell
    // cells apart by it), and the columns a vertical group footer totals
    // (RangeTo 0: none).
    TfrxBand *CurVBand() const { return FCurVBand; }
    int RangeFrom() const { return FVRangeFrom; }
    int RangeTo() const { return FVRangeTo; }

private:
    TfrxCustomEngine &State() const;
    // Whether the page being run grows in width instead of breaking.
    bool EndlessWidth() const;
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
    // Keep-together of vertical groups (rudVerticalOutputKeep.cpp): group
    // Index of VBand starting at the Counted-th record of its walk starts
    // the next set when it does not fit in the rest of this one but in a
    // whole set.
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

    TfrxEngineSeam &FEngine;
    TfrxAggregateList &FAggregates;
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
    TfrxBand *FCurVBand = nullptr;
    int FVRangeFrom = 0, FVRangeTo = 0;
    // The first vertical column of each running vertical group.
    QHash<TfrxBand *, int> FVGroupStart;
};
