#pragma once
// The ordered, owning collection of the report's data set list, variables
// and styles (items can be inserted anywhere), which templates store as a
// collection element with one "item" child per entry.

#include <QString>
#include <memory>
#include <vector>

// Names compared ignoring case the way the user's locale does: letters beyond
// ASCII (Cyrillic among them) match their other case too.
// (Equal texts have equal lengths, and most are written alike: those cheap
// tests come first.)
inline bool rudAnsiSameText(const QString &A, const QString &B)
{
    return A.size() == B.size() && (A == B || A.compare(B, Qt::CaseInsensitive) == 0);
}

// Owning list of T. Items keep their address while they are in the list.
template <class T>
class TfrxReportCollection {
public:
    TfrxReportCollection() = default;
    TfrxReportCollection(const TfrxReportCollection &) = delete;
    TfrxReportCollection &operator=(const TfrxReportCollection &) = delete;
    virtual ~TfrxReportCollection() = default;

    int Count() const { return int(FItems.size()); }
    bool IsEmpty() const { return FItems.empty(); }
    // The item at Index (0-based); nullptr outside the list.
    T *Items(int Index) const
    {
        return Index >= 0 && Index < Count() ? FItems[size_t(Index)].get() : nullptr;
    }
    // Position of Item in the list, or -1.
    int IndexOf(const T *Item) const
    {
        for (size_t i = 0; i < FItems.size(); ++i)
            if (FItems[i].get() == Item)
                return int(i);
        return -1;
    }
    // Removes and destroys the item at Index (nothing outside the list).
    void Delete(int Index)
    {
        if (Index >= 0 && Index < Count())
            FItems.erase(FItems.begin() + Index);
    }
    void Clear() { FItems.clear(); }

protected:
    // Takes Item into the list at Index (clamped to the list) and returns it.
    T *InsertItem(int Index, std::unique_ptr<T> Item)
    {
        if (Index < 0 || Index > Count())
            Index = Count();
        T *result = Item.get();
        FItems.insert(FItems.begin() + Index, std::move(Item));
        return result;
    }

private:
    std::vector<std::unique_ptr<T>> FItems;
};
