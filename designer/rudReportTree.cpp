// The report tree dock: the shown page's objects as a tree, kept in step
// with the designer's selection.

#include "designer/rudReportTree.h"

#include "designer/rudCustomDesigner.h"
#include "report/model/rudComponent.h"
#include "report/model/rudPage.h"

#include <QPointer>

Q_DECLARE_METATYPE(QPointer<TfrxComponent>)

TfrxReportTree::TfrxReportTree(TfrxCustomDesigner *Designer, QWidget *Parent)
    : QTreeWidget(Parent), FDesigner(Designer)
{
    setObjectName(QStringLiteral("ReportTree"));
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &TfrxReportTree::ItemClicked);
}

TfrxComponent *TfrxReportTree::ObjectOf(const QTreeWidgetItem *Item) const
{
    return Item ? Item->data(0, Qt::UserRole).value<QPointer<TfrxComponent>>().data() : nullptr;
}

void TfrxReportTree::AddChildren(QTreeWidgetItem *Item, TfrxComponent *Parent)
{
    for (TfrxComponent *child : Parent->Objects()) {
        auto *item = new QTreeWidgetItem(Item, {child->Name()});
        item->setData(0, Qt::UserRole, QVariant::fromValue(QPointer<TfrxComponent>(child)));
        AddChildren(item, child);
    }
}

void TfrxReportTree::UpdateItems()
{
    FUpdating = true;
    clear();
    if (TfrxPage *page = FDesigner->Page()) {
        auto *root = new QTreeWidgetItem(this, {page->Name()});
        root->setData(0, Qt::UserRole, QVariant::fromValue(QPointer<TfrxComponent>(page)));
        AddChildren(root, page);
        expandAll();
    }
    FUpdating = false;
    UpdateSelection();
}

void TfrxReportTree::UpdateSelection()
{
    FUpdating = true;
    const TfrxSelectionModel &selected = FDesigner->Selection();
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        (*it)->setSelected(selected.Contains(ObjectOf(*it)));
    FUpdating = false;
}

void TfrxReportTree::ItemClicked()
{
    if (FUpdating)
        return;
    QList<TfrxComponent *> chosen;
    for (QTreeWidgetItem *item : selectedItems())
        if (TfrxComponent *object = ObjectOf(item))
            chosen.append(object);
    if (chosen.isEmpty())
        return;
    FDesigner->Selection().Assign(chosen);
    FDesigner->Selection().Notify(this);
}
