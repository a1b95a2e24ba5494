#pragma once
// The preparation engine: walks the report pages and their bands over the
// data and hands every output object to the prepared pages store. The
// engine keeps the band walk and the page and column flow; kept-together
// blocks, suppressed repeated values, vertical output and sub-reports are
// collaborators that own their state (rudKeptBlock.h, rudSuppressedValues.h,
// rudVerticalOutput.h, rudSubreportOutput.h) and reach the engine through
// rudEngineSeam.h.

#include "report/engine/rudAggregate.h"
#include "report/engine/rudCustomEngine.h"
#include "report/engine/rudEngineSeam.h"
#include "report/engine/rudHeaderList.h"
#include "report/engine/rudKeptBlock.h"
#include "report/engine/rudSubreportOutput.h"
#include "report/engine/rudSuppressedValues.h"
#include "report/engine/rudVerticalOutput.h"

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
    TfrxBand *VOriginalBand(TfrxComponent *Obj) const { return FVOutput.VOriginalBand(Obj); }

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
    // Outline entries: the page's (at the root; made current when Current)
    // and a band's (under the current entry, made current); the band's
    // entry is added only when it has an OutlineText, and the answer says so.
    void AddPageOutline(bool Current);
    bool AddBandOutline(TfrxBand *Band);
    // One output of a page: from its start (InitPage) to its end (EndPage).
    void ShowPageOnce(TfrxReportPage *Page);
    // Groups.
    void InitGroups(TfrxDataBand *Band, int Index, bool ResetLineN);
    void CheckGroups(TfrxDataBand *Band);
    // Index of the outermost group of Band whose condition changed since
    // it started, else -1.
    int ChangedGroup(TfrxDataBand *Band) override;
    // True while Band's walk over Data may take another record: Data not at
    // its end, fewer than Band's RowCount counted, preparation not stopped.
    bool WalkGoesOn(TfrxDataBand *Band, TfrxDataSet *Data, int Counted) const override;
    // True when the current record passes Band's Filter (none passes all),
    // evaluated with Context as the current band.
    bool PassesFilter(TfrxDataBand *Band, TfrxBand *Context) override;
    void ShowGroupFooters(TfrxDataBand *Band, int Index);
    // The band of that class on the current page, or nullptr.
    TfrxBand *FindBand(const QMetaObject *BandClass) const;
    // The data set a data band walks (its own, the one its name finds, or
    // the built-in one of RowCount), or nullptr.
    TfrxDataSet *BandDataSet(TfrxDataBand *Band) override;
    // The value of an expression of a band (a filter, a group condition);
    // Null for an empty text.
    QVariant EvalValue(const QString &Expression) override;
    // True when the expression yields True.
    bool EvalCondition(const QString &Expression);
    // Runs OnAfterData of the objects in the notify list.
    void NotifyObjects();
    // Lets the window system run (unless EnableThreadSafe).
    void ProcessMessages();
    bool Terminated() const override;
    // The rest of the seam its collaborators reach (rudEngineSeam.h).
    TfrxCustomEngine &State() override { return *this; }
    void SetCurBand(TfrxBand *Band) override { FCurBand = Band; }
    TfrxReportPage *CurReportPage() const override { return FPage; }
    bool CollectingOutput() const override { return FOutputTo != nullptr; }
    QList<TfrxBand *> PageVBands(TfrxComponent *Page) const override { return FPageVBands.value(Page); }
    // The sub-report's band tree, output from the current position at the
    // sub-report's left.
    void WalkSubreportTree(TfrxSubreport *Subreport) override;
    // The sub-report's band tree output into Output from its top-left
    // corner, without page or column breaks; answers the height it took.
    double CollectSubreportTree(TfrxNullBand *Output, TfrxSubreport *Subreport) override;

    TfrxAggregateList FAggregates;
    // The kept-together block being output.
    TfrxKeptBlock FKept;
    // What the SuppressRepeated memos printed last.
    TfrxSuppressedValues FSuppressed;
    // The vertical bands' output and the page's column sets.
    TfrxVerticalOutput FVOutput;
    // The sub-reports printed from bands and pages.
    TfrxSubreportOutput FSubreports;
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
    // The band trees: first-level sub-bands of each page, per direction.
    QHash<TfrxComponent *, QList<TfrxBand *>> FPageBands, FPageVBands;
};
