#pragma once
// The designer's report tree: the objects of the shown page as a tree; a
// click selects the object in the designer.

#include <QTreeWidget>

class TfrxComponent;
class TfrxCustomDesigner;

// The tree of the shown page's objects, kept in step with the designer.
class TfrxReportTree : public QTreeWidget {
    Q_OBJECT
public:
    TfrxReportTree(TfrxCustomDesigner *Designer, QWidget *Parent = nullptr);
    // Rebuilds the tree from the designer's page.
    void UpdateItems();
    // Marks the designer's selection in the tree.
    void UpdateSelection();
    // The object an item stands for.
    TfrxComponent *ObjectOf(const QTreeWidgetItem *Item) const;

private:
    void AddChildren(QTreeWidgetItem *Item, TfrxComponent *Parent);
    void ItemClicked();

    TfrxCustomDesigner *FDesigner;
    bool FUpdating = false;
};
