#pragma once
// The layout of the entry window's bottom panels.

#include <QLayout>
#include <QList>
#include <QRect>

// Keeps a panel's controls where they were designed while the panel is as
// wide as designed. In a narrower panel the spaces before, between and
// after the controls shrink (the wide ones most) down to a few pixels; when
// even that does not fit, the controls wrap into further rows of the
// designed height, so that every control stays whole and reachable. A
// control kept with the next one (a caption and its field) wraps with it.
class TPanelLayout final : public QLayout {
public:
    // Panel's designed width and height (one row), frame included.
    TPanelLayout(QWidget *Panel, int DesignedWidth, int RowHeight);
    ~TPanelLayout() override;

    // Adds Control at its current geometry, which is its designed place.
    void AddControl(QWidget *Control, bool KeepWithNext = false);

    void addItem(QLayoutItem *Item) override;
    int count() const override { return int(FItems.size()); }
    QLayoutItem *itemAt(int Index) const override;
    QLayoutItem *takeAt(int Index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    bool hasHeightForWidth() const override { return true; }
    // The rows the panel needs at Width, in the layout's own (contents) pixels.
    int heightForWidth(int Width) const override;
    void setGeometry(const QRect &Rect) override;

private:
    struct TItem {
        QLayoutItem *Item;
        QRect Designed;
        bool KeepWithNext;
    };
    // The controls' places in the panel's coordinates for a panel PanelWidth wide.
    QList<QRect> Arrange(int PanelWidth) const;
    // The panel's frame, and conversions between the panel's width and
    // height and the layout's (inside the frame).
    QMargins Frame() const;
    int PanelWidth(int ContentsWidth) const;
    int ContentsHeight(int PanelHeight) const;

    QList<TItem> FItems;
    int FDesignedWidth;
    int FRowHeight;
};
