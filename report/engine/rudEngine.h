#pragma once
// The preparation engine: walks the report pages and their bands over the
// data and hands every output object to the prepared pages store.

#include "report/engine/rudAggregate.h"
#include "report/engine/rudCustomEngine.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class TfrxBand;
class TfrxComponent;
class TfrxCustomPreviewPages;
class TfrxDataBand;
class TfrxDataSet;
class TfrxDialogPage;
class TfrxGroupHeader;
class TfrxNullBand;
class TfrxPage;
class TfrxReport;
class TfrxReportPage;
class TfrxView;

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
class TfrxEngine : public TfrxCustomEngine {
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
    void ShiftObjects(TfrxBand *Band, const QHash<TfrxComponent *, double> &Grown);
    void DrawSplit(TfrxBand *Band);
    void OutputBand(TfrxBand *Band);
    void CheckSubReports(TfrxBand *Band);
    void StartKeep(TfrxBand *Band);
    void EndKeep(TfrxBand *Band);
    // Groups.
    void InitGroups(TfrxDataBand *Band, int Index, bool ResetLineN);
    void CheckGroups(TfrxDataBand *Band);
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

    TfrxAggregateList FAggregates;
    bool FCallFromAddPage = false, FCallFromEndPage = false, FCallFromPHeader = false;
    TfrxBand *FCurBand = nullptr;
    TfrxBand *FLastBandOnPage = nullptr;
    bool FDontShowHeaders = false;
    TfrxHeaderList FHeaderList;
    bool FFirstReportPage = false;
    double FFirstColumnY = 0;
    bool FIsFirstBand = false, FIsFirstPage = false, FIsLastPage = false;
    bool FTitlePrinted = false;
    QStringList FHBandNamesTree;
    TfrxBand *FKeepBand = nullptr;
    bool FKeepFooter = false, FKeeping = false, FKeepHeader = false;
    double FKeepCurY = 0;
    int FKeepOutline = 0, FKeepPosition = 0, FKeepAnchor = 0;
    double FPrevFooterHeight = 0;
    TfrxNullBand *FOutputTo = nullptr;
    TfrxReportPage *FPage = nullptr;
    double FPageCurX = 0;
    TfrxBand *FStartNewPageBand = nullptr;
    TfrxHeaderList FVHeaderList;
    TfrxBand *FVMasterBand = nullptr;
    QList<TfrxBand *> FVPageList;
    // The band trees: first-level sub-bands of each page, per direction.
    QHash<TfrxComponent *, QList<TfrxBand *>> FPageBands, FPageVBands;
};
