// The designer's selection and its rules: picking, groups, select all, and
// objects leaving the selection when they are freed.

#include "designer/rudSelectionModel.h"

#include "report/model/rudBand.h"
#include "report/model/rudPage.h"

#include <QSet>

TfrxSelectionModel::TfrxSelectionModel(QObject *Parent) : QObject(Parent) {}

bool TfrxSelectionModel::IsSelectable(const TfrxComponent *Obj, const TfrxPage *Page)
{
    return Obj && Obj != Page && qobject_cast<const TfrxReportComponent *>(Obj);
}

void TfrxSelectionModel::SetPage(TfrxPage *Page)
{
    FPage = Page;
    FObjects.clear();
    FillEmpty();
}

QList<TfrxComponent *> TfrxSelectionModel::Views() const
{
    QList<TfrxComponent *> result;
    for (TfrxComponent *c : FObjects)
        if (c != FPage)
            result.append(c);
    return result;
}

bool TfrxSelectionModel::Contains(const TfrxComponent *Obj) const
{
    return FObjects.contains(const_cast<TfrxComponent *>(Obj));
}

bool TfrxSelectionModel::Assign(const QList<TfrxComponent *> &List)
{
    const QList<TfrxComponent *> before = FObjects;
    FObjects = List;
    FillEmpty();
    return before != FObjects;
}

bool TfrxSelectionModel::Select(const QList<TfrxComponent *> &List)
{
    const QList<TfrxComponent *> before = FObjects;
    FObjects.clear();
    for (TfrxComponent *c : List)
        if (c && c != FPage && !FObjects.contains(c))
            FObjects.append(c);
    AddGroups();
    FillEmpty();
    return before != FObjects;
}

bool TfrxSelectionModel::Toggle(TfrxComponent *Obj)
{
    QList<TfrxComponent *> list = Views();
    if (list.contains(Obj)) {
        const int group = Obj->GroupIndex();
        list.removeAll(Obj);
        if (group != 0)
            list.removeIf([group](TfrxComponent *c) { return c->GroupIndex() == group; });
    } else {
        list.append(Obj);
    }
    return Select(list);
}

void TfrxSelectionModel::Add(TfrxComponent *Obj)
{
    if (FPage)
        FObjects.removeAll(FPage);
    if (Obj && !FObjects.contains(Obj))
        FObjects.append(Obj);
    FillEmpty();
}

void TfrxSelectionModel::Clear()
{
    FObjects.clear();
    FillEmpty();
}

void TfrxSelectionModel::SelectAll()
{
    if (!FPage)
        return;
    TfrxComponent *scope = FPage;
    if (FObjects.size() == 1 && FObjects.first() != FPage) {
        TfrxComponent *one = FObjects.first();
        if (qobject_cast<TfrxBand *>(one))
            scope = one;
        else if (qobject_cast<TfrxBand *>(one->Parent()))
            scope = one->Parent();
    }
    FObjects = scope->Objects();
    FillEmpty();
}

void TfrxSelectionModel::Forget(TfrxComponent *Obj)
{
    FObjects.removeAll(Obj);
    for (TfrxComponent *c : Obj->AllObjects())
        FObjects.removeAll(c);
    FillEmpty();
}

void TfrxSelectionModel::KeepExisting()
{
    if (!FPage) {
        FObjects.clear();
        return;
    }
    const QList<TfrxComponent *> &all = FPage->AllObjects();
    const QSet<TfrxComponent *> onPage(all.cbegin(), all.cend());
    FObjects.removeIf([&](TfrxComponent *c) { return c != FPage && !onPage.contains(c); });
    FillEmpty();
}

void TfrxSelectionModel::Notify(QObject *Sender)
{
    emit Changed(Sender);
}

void TfrxSelectionModel::AddGroups()
{
    QSet<int> groups;
    for (TfrxComponent *c : FObjects)
        if (c != FPage && c->GroupIndex() != 0)
            groups.insert(c->GroupIndex());
    if (groups.isEmpty() || !FPage)
        return;
    for (TfrxComponent *c : FPage->AllObjects())
        if (IsSelectable(c, FPage) && groups.contains(c->GroupIndex()) && !FObjects.contains(c))
            FObjects.append(c);
}

void TfrxSelectionModel::FillEmpty()
{
    if (FObjects.isEmpty() && FPage)
        FObjects.append(FPage);
}
