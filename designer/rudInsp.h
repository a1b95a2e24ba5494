#pragma once
// The object inspector: the designer's property list, a tool window that
// shows the published properties of the selected objects as name and value
// rows and lets the operator type or pick new values through the property
// editors of rudDsgnIntf.

#include "designer/rudDsgnIntf.h"

#include <QList>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QScrollArea;
class QSplitter;
class QTabBar;
class QToolButton;
class TfrxComponent;
class TfrxCustomDesigner;
class TfrxInspectorGrid;

// The inspector window (caption "Object Inspector"): the object combo, the
// "Properties" and "Events" tabs, the grid of rows with its splitter and
// in-place edit box, and the description of the focused property. It talks
// to the designer only through TfrxCustomDesigner.
class TfrxObjectInspector : public QWidget {
    Q_OBJECT
public:
    // Raises EGeneralError "The Owner of the object inspector should be
    // TfrxCustomDesigner" without a designer. Reads the splitter positions
    // from the designer's settings store.
    explicit TfrxObjectInspector(TfrxCustomDesigner *Owner, QWidget *Parent = nullptr);
    ~TfrxObjectInspector() override;

    // The objects of the page changed: refills the object combo.
    void UpdateObjects();
    // The selection changed: rebuilds the lists, selects the single selected
    // object in the combo and focuses the property of the last focused name.
    void UpdateSelection();
    // Values changed elsewhere: repaints them (not while the designer has
    // inspector updates switched off).
    void UpdateProperties();
    // Applies a value typed but not yet applied (Save and Preview do this first).
    void CommitEdit();
    // Writes "SplitPos" and "Split1Pos" to the settings store.
    void SaveSettings();

    TfrxCustomDesigner *Designer() const { return FDesigner; }

    // The visible rows of the current tab, sub-rows of expanded rows included.
    int RowCount() const { return int(FRows.size()); }
    // A row's editor, its name, its value text, its nesting level and its
    // path (names from the top row down, joined by ".": "Font.Name").
    TfrxPropertyEditor *RowEditor(int Index) const;
    QString RowName(int Index) const;
    QString RowValue(int Index) const;
    int RowLevel(int Index) const;
    QString RowPath(int Index) const;
    bool RowExpanded(int Index) const;
    bool RowHasSubProperties(int Index) const;
    // The visible row of a path (letter case ignored), or -1.
    int FindRow(const QString &Path) const;
    // Shows or hides the sub-rows of a row.
    void ToggleRow(int Index);

    // The focused row (-1 for none); setting it applies a pending edit first.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // The path of the focused property, kept across selection changes.
    const QString &LastPosition() const { return FLastPosition; }
    // 0 "Properties", 1 "Events".
    int TabIndex() const;
    void SetTabIndex(int Value);

    // Opens the focused property's dialog (or steps its value list); true
    // when the value changed.
    bool EditProperty();
    // Opens or closes the focused property's drop-down list.
    void ShowValueList();
    // The entry Index of the open drop-down list is chosen.
    void ChooseValue(int Index);

    // Where the value column starts, in pixels from the left.
    int SplitPos() const { return FSplitPos; }
    void SetSplitPos(int Value);
    // Height of the description panel.
    int Split1Pos() const { return FSplit1Pos; }
    void SetSplit1Pos(int Value);
    int RowHeight() const { return FRowHeight; }

    QComboBox *ObjectsCB() const { return FObjectsCB; }
    QTabBar *Tabs() const { return FTabs; }
    QLineEdit *EditBox() const { return FEdit; }
    QToolButton *DropDownButton() const { return FDropButton; }
    QToolButton *DialogButton() const { return FDialogButton; }
    QListWidget *ValueListBox() const { return FPopup; }
    TfrxInspectorGrid *Grid() const { return FGrid; }
    // The focused property's name and description below the grid.
    QString DescriptionName() const;
    QString DescriptionText() const;
    // The objects listed in the combo, in its order.
    const QList<QPointer<TfrxComponent>> &ComboObjects() const { return FComboObjects; }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    void showEvent(QShowEvent *Event) override;

private:
    friend class TfrxInspectorGrid;
    struct TRow {
        TfrxPropertyItem *Item;
        int Level;
        QString Path;
    };

    // Builds the lists of the selection, keeping the expanded rows and the
    // focused property.
    void RebuildLists();
    void RebuildRows();
    void AddRows(TfrxPropertyList &List, int Level, const QString &Prefix);
    TfrxPropertyList *CurrentList() const;
    // Applies the edit box's text when it was changed.
    void ApplyEdit();
    // After a value changed: the combo entry, the designer, the rows.
    void ValueChanged();
    void ShowError(const QString &Message);
    void UpdateEditor();
    void PlaceEditor();
    void ScrollToItem();
    void ObjectChosen(int Index);
    void TabChanged(int Index);
    // The combo entry text of an object: name, ": ", class name.
    static QString ComboText(const TfrxComponent *Obj);
    void UpdateComboEntry();
    QString SafeValue(TfrxPropertyEditor *Editor) const;
    void ApplyStoredSplitPos();

    TfrxCustomDesigner *FDesigner;
    QComboBox *FObjectsCB;
    QTabBar *FTabs;
    QSplitter *FSplitter;
    QScrollArea *FScroll;
    TfrxInspectorGrid *FGrid;
    QLineEdit *FEdit;
    QToolButton *FDropButton;
    QToolButton *FDialogButton;
    QLabel *FNameLabel;
    QLabel *FDescLabel;
    QListWidget *FPopup = nullptr;

    std::unique_ptr<TfrxPropertyList> FPropertyList;
    std::unique_ptr<TfrxPropertyList> FEventList;
    std::vector<TRow> FRows;
    QList<QPointer<TfrxComponent>> FComboObjects;
    QSet<QString> FExpanded; // lower-cased paths of expanded rows
    int FItemIndex = -1;
    QString FLastPosition;
    QString FEditText;        // the text the edit box started with
    bool FEditModified = false;
    bool FApplying = false;
    int FRowHeight = 16;
    int FSplitPos = -1;
    int FStoredSplitPos = -1;
    int FSplit1Pos = 65;
    bool FSplit1Applied = false;
};

// The grid of rows drawn by the inspector; it scrolls inside the
// inspector's scroll area and carries the edit box.
class TfrxInspectorGrid : public QWidget {
    Q_OBJECT
public:
    explicit TfrxInspectorGrid(TfrxObjectInspector *Inspector);
    // The row under a point of the grid, or -1.
    int RowAt(int Y) const;
    // The rectangle of a row's value column.
    QRect ValueRect(int Index) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    bool event(QEvent *Event) override;

private:
    bool OverSplitter(int X) const;
    TfrxObjectInspector *FInspector;
    bool FDragging = false;
    bool FSkipDoubleClick = false;
};
