#include "report/model/rudVariables.h"

int TfrxVariables::IndexOf(const QString &Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (rudAnsiSameText(Items(i)->Name(), Name))
            return i;
    return -1;
}

QVariant TfrxVariables::Variables(const QString &Name) const
{
    const int i = IndexOf(Name);
    return i >= 0 ? Items(i)->Value() : QVariant();
}

void TfrxVariables::SetVariables(const QString &Name, const QVariant &Value)
{
    const int i = IndexOf(Name);
    TfrxVariable *item = i >= 0 ? Items(i) : Add();
    if (i < 0)
        item->SetName(Name);
    item->SetValue(Value);
}

int TfrxVariables::IndexOfCategory(const QString &Category) const
{
    return IndexOf(QLatin1Char(' ') + Category);
}

int TfrxVariables::CategoryEnd(int Heading) const
{
    int i = Heading + 1;
    while (i < Count() && !Items(i)->IsCategory())
        ++i;
    return i;
}

void TfrxVariables::AddVariable(const QString &Category, const QString &Name, const QVariant &Value)
{
    const int heading = IndexOfCategory(Category);
    if (heading < 0)
        return;
    const int existing = IndexOf(Name);
    if (existing >= 0) {
        Items(existing)->SetValue(Value);
        return;
    }
    TfrxVariable *item = Insert(CategoryEnd(heading));
    item->SetName(Name);
    item->SetValue(Value);
}

void TfrxVariables::DeleteCategory(const QString &Name)
{
    const int heading = IndexOfCategory(Name);
    if (heading < 0)
        return;
    for (int i = CategoryEnd(heading) - 1; i >= heading; --i)
        Delete(i);
}

void TfrxVariables::DeleteVariable(const QString &Name)
{
    Delete(IndexOf(Name));
}

QStringList TfrxVariables::GetCategoriesList() const
{
    QStringList result;
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->IsCategory())
            result << Items(i)->Name().mid(1);
    return result;
}

QStringList TfrxVariables::GetVariablesList(const QString &Category) const
{
    const int heading = Category.isEmpty() ? -1 : IndexOfCategory(Category);
    QStringList result;
    if (!Category.isEmpty() && heading < 0)
        return result;
    const int end = CategoryEnd(heading);
    for (int i = heading + 1; i < end; ++i)
        result << Items(i)->Name();
    return result;
}
