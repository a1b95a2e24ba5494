#include "app/PanelLayout.h"

#include <QWidget>
#include <algorithm>

namespace {

// The least space a shrinking space keeps (a smaller designed one stays as it is).
constexpr int leastSpace = 6;

} // namespace

TPanelLayout::TPanelLayout(QWidget *Panel, int DesignedWidth, int RowHeight)
    : QLayout(Panel), FDesignedWidth(DesignedWidth), FRowHeight(RowHeight)
{
    setContentsMargins(0, 0, 0, 0);
}

TPanelLayout::~TPanelLayout()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

void TPanelLayout::AddControl(QWidget *Control, bool KeepWithNext)
{
    addChildWidget(Control);
    FItems.append({new QWidgetItem(Control), Control->geometry(), KeepWithNext});
    invalidate();
}

void TPanelLayout::addItem(QLayoutItem *Item)
{
    FItems.append({Item, Item->geometry(), false});
    invalidate();
}

QLayoutItem *TPanelLayout::itemAt(int Index) const
{
    return Index >= 0 && Index < FItems.size() ? FItems.at(Index).Item : nullptr;
}

QLayoutItem *TPanelLayout::takeAt(int Index)
{
    if (Index < 0 || Index >= FItems.size())
        return nullptr;
    QLayoutItem *item = FItems.takeAt(Index).Item;
    invalidate();
    return item;
}

QMargins TPanelLayout::Frame() const
{
    return parentWidget() ? parentWidget()->contentsMargins() : QMargins();
}

int TPanelLayout::PanelWidth(int ContentsWidth) const
{
    return ContentsWidth + Frame().left() + Frame().right();
}

int TPanelLayout::ContentsHeight(int PanelHeight) const
{
    return PanelHeight - Frame().top() - Frame().bottom();
}

QSize TPanelLayout::sizeHint() const
{
    return {FDesignedWidth - PanelWidth(0), ContentsHeight(FRowHeight)};
}

QSize TPanelLayout::minimumSize() const
{
    // The widest group of controls that wrap together, with the least spaces around it.
    int widest = 0, group = 0;
    for (int i = 0; i < FItems.size(); ++i) {
        group += FItems.at(i).Designed.width();
        if (FItems.at(i).KeepWithNext && i + 1 < FItems.size()) {
            const int space = FItems.at(i + 1).Designed.left() - FItems.at(i).Designed.right() - 1;
            group += std::clamp(space, 0, leastSpace);
        } else {
            widest = std::max(widest, group);
            group = 0;
        }
    }
    return {std::max(0, widest + 2 * leastSpace - PanelWidth(0)), ContentsHeight(FRowHeight)};
}

int TPanelLayout::heightForWidth(int Width) const
{
    int rows = 1;
    for (const QRect &place : Arrange(PanelWidth(Width)))
        rows = std::max(rows, place.top() / FRowHeight + 1);
    return ContentsHeight(rows * FRowHeight);
}

void TPanelLayout::setGeometry(const QRect &Rect)
{
    QLayout::setGeometry(Rect);
    const QList<QRect> places = Arrange(PanelWidth(Rect.width()));
    // A control takes its place as designed, whatever size its own hints ask.
    for (int i = 0; i < FItems.size(); ++i) {
        if (QWidget *control = FItems.at(i).Item->widget())
            control->setGeometry(places.at(i));
        else
            FItems.at(i).Item->setGeometry(places.at(i));
    }
}

QList<QRect> TPanelLayout::Arrange(int Width) const
{
    QList<QRect> places;
    const int count = int(FItems.size());
    if (count == 0)
        return places;
    if (Width >= FDesignedWidth) {
        for (const TItem &item : FItems)
            places << item.Designed;
        return places;
    }
    // The spaces before the first control, between two and after the last.
    QList<int> spaces{std::max(0, FItems.first().Designed.left())}, least;
    int widths = 0;
    for (int i = 0; i < count; ++i) {
        widths += FItems.at(i).Designed.width();
        const int next = i + 1 < count ? FItems.at(i + 1).Designed.left() : FDesignedWidth;
        spaces << std::max(0, next - FItems.at(i).Designed.right() - 1);
    }
    int designedTotal = widths, leastTotal = widths;
    for (int space : spaces) {
        least << std::min(space, leastSpace);
        designedTotal += space;
        leastTotal += least.last();
    }
    if (Width >= leastTotal) {
        // One row: every space keeps the same share of what it can give.
        const double share =
            designedTotal > leastTotal ? double(Width - leastTotal) / (designedTotal - leastTotal) : 1;
        double x = 0;
        for (int i = 0; i < count; ++i) {
            x += least.at(i) + (spaces.at(i) - least.at(i)) * share;
            const QRect &designed = FItems.at(i).Designed;
            places << QRect(int(x), designed.top(), designed.width(), designed.height());
            x += designed.width();
        }
        return places;
    }
    // Rows of whole groups, each row starting at the left.
    int row = 0, x = 0;
    bool rowEmpty = true;
    for (int first = 0; first < count;) {
        int last = first, width = FItems.at(first).Designed.width();
        while (FItems.at(last).KeepWithNext && last + 1 < count) {
            ++last;
            width += least.at(last) + FItems.at(last).Designed.width();
        }
        if (!rowEmpty && x + leastSpace + width + leastSpace > Width) {
            ++row;
            x = 0;
            rowEmpty = true;
        }
        x += leastSpace;
        for (int i = first; i <= last; ++i) {
            if (i > first)
                x += least.at(i);
            const QRect &designed = FItems.at(i).Designed;
            places << QRect(x, designed.top() + row * FRowHeight, designed.width(), designed.height());
            x += designed.width();
        }
        rowEmpty = false;
        first = last + 1;
    }
    return places;
}
