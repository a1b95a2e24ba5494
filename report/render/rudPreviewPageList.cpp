#include "report/render/rudPreviewPageList.h"

#include <algorithm>
#include <cmath>

namespace {

// The size assumed for a page the list does not hold yet: A4 in page units.
constexpr int a4Width = 794, a4Height = 1123;
constexpr int gap = 10;

} // namespace

void TfrxPageList::Clear()
{
    FList.clear();
    FMaxSize = QSize();
}

void TfrxPageList::AddPage(QSize PageSize, double Zoom)
{
    TfrxPageItem item;
    item.Width = int(std::nearbyint(PageSize.width() * Zoom));
    item.Height = int(std::nearbyint(PageSize.height() * Zoom));
    FList.append(item);
}

void TfrxPageList::CalcBounds(int ClientWidth, bool RTL)
{
    int y = gap, maxWidth = 0, i = 0;
    const int count = int(FList.size());
    while (i < count) {
        // A row takes pages while they fit, at least one.
        const int first = i;
        int x = 0, rowHeight = 0;
        while (i < count) {
            const int width = FList[i].Width;
            if (i > first && x + width > ClientWidth)
                break;
            FList[i].OffsetX = x;
            FList[i].OffsetY = y;
            x += width + gap;
            rowHeight = std::max(rowHeight, FList[i].Height);
            ++i;
        }
        const int rowWidth = x;
        int shift = (ClientWidth - rowWidth + gap) / 2;
        shift = shift < 0 ? gap : shift + gap;
        for (int k = first; k < i; ++k) {
            FList[k].OffsetX += shift;
            if (RTL)
                FList[k].OffsetX = std::max(gap, ClientWidth - FList[k].OffsetX - FList[k].Width);
        }
        maxWidth = std::max(maxWidth, rowWidth + gap);
        y += rowHeight + gap;
    }
    FMaxSize = QSize(maxWidth + gap, count ? y : 0);
}

QRect TfrxPageList::GetPageBounds(int Index, int ClientWidth, double Zoom) const
{
    if (Index >= 0 && Index < FList.size()) {
        const TfrxPageItem &item = FList[Index];
        return QRect(item.OffsetX, item.OffsetY, item.Width, item.Height);
    }
    const int width = int(std::nearbyint(a4Width * Zoom)), height = int(std::nearbyint(a4Height * Zoom));
    return QRect(std::max(gap, (ClientWidth - width) / 2), int(std::nearbyint(gap * Zoom)), width, height);
}

int TfrxPageList::FindPage(int OffsetY, int OffsetX) const
{
    if (FList.isEmpty())
        return -1;
    // Rows are sorted by their top: search the last page starting at or above Y.
    auto after = std::upper_bound(FList.begin(), FList.end(), OffsetY,
                                  [](int y, const TfrxPageItem &item) { return y < item.OffsetY; });
    int index = int(after - FList.begin()) - 1;
    if (index < 0)
        return 0;
    if (OffsetX >= 0) {
        // Within the row, the page under X.
        const int rowTop = FList[index].OffsetY;
        for (int k = index; k >= 0 && FList[k].OffsetY == rowTop; --k)
            if (OffsetX >= FList[k].OffsetX && OffsetX < FList[k].OffsetX + FList[k].Width)
                return k;
    }
    // The first page of that row.
    while (index > 0 && FList[index - 1].OffsetY == FList[index].OffsetY)
        --index;
    return index;
}
