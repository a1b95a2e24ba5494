#pragma once
// Kept-together blocks: output from StartKeep on moves to the next page or
// column as a whole when it does not fit.

#include <QList>

class TfrxAggregateList;
class TfrxBand;
class TfrxDataBand;
class TfrxEngineSeam;
class TfrxXMLItem;

// The kept block being output, if any, and where the last data row began
// (a footer kept with its last row takes that row along).
class TfrxKeptBlock {
public:
    TfrxKeptBlock(TfrxEngineSeam &Engine, TfrxAggregateList &Aggregates);

    // No block and no row: the start of a run.
    void Clear();
    // Opens a block at Band, unless one is open.
    void StartKeep(TfrxBand *Band);
    // Closes the block when Band opened it.
    void EndKeep(TfrxBand *Band);
    // Opens a block for a data band's footer that takes the last row of the
    // current page along; false (and nothing opened) when that row lies on
    // an earlier page.
    bool StartFooterKeep(TfrxBand *Footer);
    // Gives the block up: its output stays where it is.
    void BreakAllKeep();

    bool Keeping() const { return FKeeping; }
    // Whether a data header opened the block.
    bool KeepsHeader() const { return FKeeping && FKeepHeader; }
    // Whether Band was output inside the open block (it moves with it).
    bool Holds(TfrxBand *Band) const { return FKeeping && FKeptBands.contains(Band); }
    // Band is output now: inside a block it moves with it.
    void AddBand(TfrxBand *Band);
    // The height of the block so far.
    double Height() const;

    // Band's row begins at object item Position of prepared page Page, at top Y.
    void NoteRow(TfrxDataBand *Band, int Page, int Position, double Y);
    int LastRowPage() const { return FLastRowPage; }
    int LastRowPosition() const { return FLastRowPosition; }

    // The block cut from the page that ends: from object item From of page Page.
    struct TCut {
        bool Kept = false;
        int Page = -1;
        int From = 0;
    };
    // Cuts the open block from the current page.
    TCut Cut();
    // Pastes the cut block at the output position, with its outline entries
    // and anchors when ShiftOutline; answers the object item it begins at.
    int Paste(const TCut &Cut, bool ShiftOutline);

private:
    // Moves the outline entries and anchors of the cut block by Shift to
    // the page the block was pasted on.
    void ShiftKeptOutline(double Shift);

    TfrxEngineSeam &FEngine;
    TfrxAggregateList &FAggregates;
    TfrxBand *FKeepBand = nullptr;
    bool FKeepFooter = false, FKeeping = false, FKeepHeader = false;
    double FKeepCurY = 0;
    int FKeepOutline = 0, FKeepPosition = 0, FKeepAnchor = 0;
    // The outline entry under which FKeepOutline counts (nullptr: the root),
    // and the bands output since the keep began (they move with it).
    TfrxXMLItem *FKeepOutlineItem = nullptr;
    QList<TfrxBand *> FKeptBands;
    // The last row of a data band handed to the store: its band, page, first
    // object item and top.
    TfrxDataBand *FLastRowBand = nullptr;
    int FLastRowPage = -1, FLastRowPosition = 0;
    double FLastRowY = 0;
};
