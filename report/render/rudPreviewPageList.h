#pragma once
// Where the preview places the prepared pages: rows of pages, centred, with
// 10 pixel gaps, at the current zoom.

#include <QList>
#include <QRect>
#include <QSize>

// One entry per prepared page: its pixel size at the current zoom and its
// place in the scrolled area.
class TfrxPageList {
public:
    struct TfrxPageItem {
        int Width = 0, Height = 0;
        int OffsetX = 0, OffsetY = 0;
    };

    void Clear();
    int Count() const { return int(FList.size()); }
    // Appends a page of PageSize page units at Zoom (Round(Zoom x size)).
    void AddPage(QSize PageSize, double Zoom);
    const TfrxPageItem &Item(int Index) const { return FList.at(Index); }
    // Places the pages in rows for a client of ClientWidth pixels; with RTL
    // the rows are mirrored.
    void CalcBounds(int ClientWidth, bool RTL = false);
    // The scrolled area: the widest row + 10 by the bottom of the last page + 10.
    QSize MaxSize() const { return FMaxSize; }
    // The page's rectangle in the scrolled area. An index outside the list
    // gives an A4 page at Zoom, centred in ClientWidth, 10 x Zoom from the top.
    QRect GetPageBounds(int Index, int ClientWidth, double Zoom) const;
    // The page at a scrolled point: in the last row whose top is at or above
    // OffsetY (the first row when Y is above all), the page under OffsetX
    // when one is, else the row's first page; -1 when there are no pages.
    int FindPage(int OffsetY, int OffsetX = -1) const;

private:
    QList<TfrxPageItem> FList;
    QSize FMaxSize;
};
