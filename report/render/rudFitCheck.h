#pragma once
// Whether each filled memo's text fits its memo, measured with the text
// layout that draws it, and shrinking a memo's font until it does.

#include <QList>

class TfrxCustomMemoView;
class TfrxReport;

// A memo whose text would be cut when printed.
struct TfrxMemoMisfit {
    TfrxCustomMemoView *Memo = nullptr;
    // Without word wrap the line is wider than the memo; with it the
    // wrapped lines are more than its height holds.
    bool TooWide = false;
};

// The smallest font a memo is shrunk to, points.
constexpr int rudMinimumShrunkFontSize = 6;

// Whether Memo's text, laid out as it is drawn, fits: one line no wider
// than the memo without word wrap, no more wrapped lines than its height
// holds (at least one) with it. Turned, auto-width, hidden and empty memos
// are taken as fitting.
bool rudMemoTextFits(TfrxCustomMemoView *Memo);

// The memos of Report's pages (as filled, before preparing) whose
// non-empty text would be cut, in page order.
QList<TfrxMemoMisfit> rudFindMisfits(TfrxReport *Report);

// Makes Memo's font a point smaller at a time until the text fits in as
// many lines as the memo held at its font before, never below
// rudMinimumShrunkFontSize; true when it fits at last.
bool rudShrinkToFit(TfrxCustomMemoView *Memo);
