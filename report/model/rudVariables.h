#pragma once
// The report's variables: a flat list in which an item whose name begins
// with a space is a category heading, and the variables after it, up to the
// next heading, belong to that category. Variables before the first heading
// belong to no category.

#include "report/model/rudCollection.h"
#include "report/model/rudPropInfo.h"

#include <QStringList>
#include <QVariant>

// One report variable (or category heading). Value starts null.
class TfrxVariable : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(QVariant Value READ Value WRITE SetValue)
    Q_PROPERTY(QString InheritedName READ InheritedName WRITE SetInheritedName STORED false)
public:
    const QString &Name() const { return FName; }
    void SetName(const QString &Value) { FName = Value; }
    const QVariant &Value() const { return FValue; }
    void SetValue(const QVariant &Value) { FValue = Value; }
    // The name under which an inherited report knows the item: its name.
    const QString &InheritedName() const { return FName; }
    void SetInheritedName(const QString &Value) { FName = Value; }
    // True for a category heading (the name begins with a space).
    bool IsCategory() const { return FName.startsWith(QLatin1Char(' ')); }

private:
    QString FName;
    QVariant FValue;
};

// The collection of a report's variables and categories.
class TfrxVariables : public TfrxReportCollection<TfrxVariable> {
public:
    // Appends a new item without name and with a null value.
    TfrxVariable *Add() { return Insert(Count()); }
    // Inserts a new item at Index (appends when Index is outside the list).
    TfrxVariable *Insert(int Index) { return InsertItem(Index, std::make_unique<TfrxVariable>()); }
    // Position of the first item named Name (case ignored), or -1.
    int IndexOf(const QString &Name) const;
    using TfrxReportCollection<TfrxVariable>::IndexOf;

    // The value of the first variable named Name (case ignored); null when none.
    QVariant Variables(const QString &Name) const;
    // Sets that value, appending a new variable when there is none.
    void SetVariables(const QString &Name, const QVariant &Value);

    // Adds Name to Category: nothing when the category's heading does not
    // exist; only the value when a variable Name exists anywhere; otherwise a
    // new variable after the category's last one.
    void AddVariable(const QString &Category, const QString &Name, const QVariant &Value);
    // Removes the category's heading and its variables.
    void DeleteCategory(const QString &Name);
    // Removes the first variable named Name.
    void DeleteVariable(const QString &Name);
    // The category names (headings without their leading space), in order.
    QStringList GetCategoriesList() const;
    // The variables of Category in order; with an empty Category, those
    // before the first heading. Empty for an unknown category.
    QStringList GetVariablesList(const QString &Category) const;

private:
    // Index of the heading of Category, or -1.
    int IndexOfCategory(const QString &Category) const;
    // One past the last item of the category whose heading (or, for the
    // leading run, whose first item minus one) is at Heading.
    int CategoryEnd(int Heading) const;
};
