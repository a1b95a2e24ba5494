#pragma once
// The bands repeated at the top of each new page or column (or, for
// vertical bands, of each new column set).

#include <QList>

class TfrxBand;

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
