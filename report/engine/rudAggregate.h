#pragma once
// Totals over the rows of a data band: the SUM, AVG, MIN, MAX and COUNT calls
// written in memos of footers, found before a run, fed with every output row
// and read back when the memo that holds the call is printed.

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class TfrxBand;
class TfrxComponent;
class TfrxDataBand;
class TfrxReport;
class TfrxReportPage;

enum TfrxAggregateFunction { agSum, agAvg, agMin, agMax, agCount };

// One aggregate call found in a memo.
class TfrxAggregateItem {
public:
    // Evaluates an expression for the current row (the report's Calc).
    using TEvaluator = std::function<QVariant(const QString &)>;

    TfrxAggregateFunction FAggregateFunction = agCount;
    QString FExpression;
    TfrxDataBand *FBand = nullptr;
    TfrxBand *FParentBand = nullptr;
    bool FCountInvisibleBands = false;
    bool FDontReset = false;
    bool FIsPageFooter = false;
    QString FOriginalName;
    QString FMemoName;
    int FItemsCount = 0;
    QVariant FItemsValue;
    int FLastCount = 0;
    QVariant FLastValue;
    bool FKeeping = false;
    int FTempItemsCount = 0;
    QVariant FTempItemsValue;
    // Per-column slots 0..1000, created on first use.
    std::vector<QVariant> FItemsArray;
    std::vector<int> FItemsCountArray;
    int FVColumn = 0;
    // With per-column slots: when above FVColumn, Value merges the slots
    // FVColumn to FVColumnLast (the columns of a vertical group).
    int FVColumnLast = 0;
    // The memo lies on a vertical band: its rows come from the vertical
    // walk (AddColumnValue, AddRowValue), not from AddValue.
    bool FVerticalCell = false;
    // The vertical band that holds the memo (nullptr for a memo on a
    // horizontal band): cells of one horizontal band on different vertical
    // bands (a group footer's subtotal, the footer's total) are told apart.
    TfrxBand *FVHolder = nullptr;
    // The last row taken outside a keep: its value and whether it counted.
    bool FHasLastRow = false;
    QVariant FLastRowValue;
    bool FLastRowCounted = false;

    // Takes the current row: evaluates the expression (not for COUNT) with
    // Eval and merges it. Report, when given, gets the memo's name as the
    // current object first.
    void Calc(TfrxReport *Report, const TEvaluator &Eval);
    // Takes the current row into column VColumn (1 to 1000) and into slot
    // 0, the total over all columns.
    void CalcColumn(int VColumn, const TEvaluator &Eval);
    // Takes the last row back.
    void DeleteValue();
    // Moves the last row into the open keep (a page-footer item whose last
    // row moves to the next page with a kept footer).
    void KeepLastRow();
    // Restarts the item (a running total keeps its value once it has one,
    // unless Force).
    void Reset(bool Force = false);
    void StartKeep();
    void EndKeep();
    // The total: AVG divides by the count, COUNT gives the count; Null gives 0.
    QVariant Value() const;

private:
    // The row's value (Null for COUNT; True counts as 1) and whether it counts.
    QVariant RowValue(const TEvaluator &Eval, bool &Counts) const;
    // Merges V into Acc by the function (Null adds nothing; a Null Acc takes V).
    void Merge(QVariant &Acc, const QVariant &V) const;
};

// The engine's list of aggregate items.
class TfrxAggregateList {
public:
    explicit TfrxAggregateList(TfrxReport *Report);
    ~TfrxAggregateList();

    // The evaluator used for rows; by default the report's Calc.
    void SetEvaluator(TfrxAggregateItem::TEvaluator Eval) { FEvaluator = std::move(Eval); }
    // Tells which horizontal band an object lying on a vertical band came
    // from (the engine moved it there); without it, none did.
    void SetOriginalBand(std::function<TfrxBand *(TfrxComponent *)> Lookup) { FOriginalBand = std::move(Lookup); }
    void Clear();
    int Count() const { return int(FItems.size()); }
    TfrxAggregateItem *Items(int Index) const { return FItems[size_t(Index)].get(); }

    // Finds the aggregate calls of Page's memos; FirstLevel and VFirstLevel
    // are the page's horizontal and vertical band trees (their first-level
    // data bands). Raises EConvertError for flags that are no integer.
    void AddItems(TfrxReportPage *Page, const QList<TfrxBand *> &FirstLevel,
                  const QList<TfrxBand *> &VFirstLevel = {});
    // Adds the items of one memo text: the calls found in its bracketed
    // expressions, for DefaultBand and ParentBand.
    void AddMemoItems(TfrxComponent *Memo, TfrxBand *ParentBand, TfrxDataBand *DefaultBand);
    // Takes the current row of Band into its items, in column VColumn (0:
    // none); items on vertical bands are left to the two calls below.
    void AddValue(TfrxBand *Band, int VColumn = 0);
    // The vertical walk: the current row of the horizontal data Band in
    // vertical column VColumn, into the items on vertical bands that count
    // Band's rows (totals per column).
    void AddColumnValue(TfrxBand *Band, int VColumn);
    // The vertical walk: the current record of the vertical data VBand, into
    // the items that count VBand's records and print on ParentBand (totals
    // across a row).
    void AddRowValue(TfrxBand *VBand, TfrxBand *ParentBand);
    // See TfrxAggregateItem::KeepLastRow; for the items of Band.
    void KeepLastRow(TfrxBand *Band);
    void DeleteValue(TfrxBand *Band);
    // Restarts the items printed on ParentBand.
    void Reset(TfrxBand *ParentBand);
    // Restarts the items printed on ParentBand from cells of the vertical
    // band VHolder that count the records of a vertical band (the row
    // subtotals of a vertical group, after its footer); per-column totals
    // of horizontal rows are read by column range and stay.
    void ResetCells(TfrxBand *ParentBand, TfrxBand *VHolder);
    void StartKeep();
    void EndKeep();
    // Restarts every item, running totals included.
    void ClearValues();
    // The state of every item, to run a stretch of output again from it.
    using TValues = std::vector<TfrxAggregateItem>;
    TValues Values() const;
    // Puts back what Values gave (ignored when the items changed since).
    void SetValues(const TValues &Values);
    // The value of the item with that parent band and call text (case
    // ignored); Null when none.
    QVariant GetValue(TfrxBand *ParentBand, const QString &Name, int VColumn = 0) const;
    // The value of the item with that parent band, function, expression
    // (case ignored), band (when given), flags and vertical holder band
    // (nullptr: a memo of a horizontal band); Null when none. With
    // VColumnLast above VColumn, per-column totals are read over the columns
    // VColumn to VColumnLast.
    QVariant GetValue(TfrxBand *ParentBand, int VColumn, int Flags, TfrxDataBand *Band, const QString &Expression,
                      const QString &FunctionName, TfrxBand *VHolder = nullptr, int VColumnLast = 0) const;

private:
    void ScanBand(TfrxBand *Band, TfrxDataBand *DefaultBand, const QList<TfrxBand *> &FirstLevel);
    void ScanChain(TfrxBand *Band, TfrxDataBand *DefaultBand);
    // The horizontal data band whose rows a memo on a vertical band counts
    // by default: the data band whose footer (or group footer) it came from,
    // the first data band for page-wide bands; nullptr otherwise.
    TfrxDataBand *HorizontalDefault(TfrxBand *Original, const QList<TfrxBand *> &FirstLevel) const;
    void Search(const QString &Text, TfrxComponent *Memo, TfrxBand *ParentBand, TfrxDataBand *DefaultBand,
                int Depth);
    void AddItem(const QString &Call, TfrxComponent *Memo, TfrxBand *ParentBand, TfrxDataBand *DefaultBand);

    TfrxReport *FReport;
    std::vector<std::unique_ptr<TfrxAggregateItem>> FItems;
    TfrxAggregateItem::TEvaluator FEvaluator;
    std::function<TfrxBand *(TfrxComponent *)> FOriginalBand;
};

// The function of an aggregate name ("SUM" ... ; anything else is COUNT).
TfrxAggregateFunction rudAggregateFunction(const QString &Name);
// Splits an argument list at its top-level commas (quotes and parentheses
// respected); the parts are trimmed.
QStringList rudSplitArguments(const QString &Args);
