#pragma once
// The script engine's own small XML document: named elements with ordered
// attributes and ordered children. It holds grammar documents and the
// intermediate form of a compiled script.

#include "base/Errors.h"

#include <QString>
#include <memory>
#include <utility>
#include <vector>

// One element: a name, attributes in order, children in order.
class TfsXMLItem {
public:
    TfsXMLItem() = default;
    explicit TfsXMLItem(const QString &name) : Name(name) {}
    TfsXMLItem(const TfsXMLItem &) = delete;
    TfsXMLItem &operator=(const TfsXMLItem &) = delete;

    QString Name;

    // Attribute value; empty when absent.
    QString Prop(const QString &name) const;
    bool HasProp(const QString &name) const;
    void SetProp(const QString &name, const QString &value);
    const std::vector<std::pair<QString, QString>> &Props() const { return FProps; }

    int Count() const { return int(FItems.size()); }
    TfsXMLItem *Items(int index) const { return FItems[size_t(index)].get(); }
    TfsXMLItem *Parent() const { return FParent; }
    // Appends a new child element and returns it.
    TfsXMLItem *Add(const QString &name = QString());
    TfsXMLItem *Add(std::unique_ptr<TfsXMLItem> item);
    TfsXMLItem *Insert(int index, std::unique_ptr<TfsXMLItem> item);
    // Removes the child at index and hands it over.
    std::unique_ptr<TfsXMLItem> Take(int index);
    // Index of the first child with that name, or -1.
    int Find(const QString &name) const;
    TfsXMLItem *FindItem(const QString &name) const;
    void Clear();
    // Makes this element a deep copy of source.
    void Assign(const TfsXMLItem &source);
    // The element and its subtree as XML text.
    QString Text(int indent = 0) const;

private:
    std::vector<std::pair<QString, QString>> FProps;
    std::vector<std::unique_ptr<TfsXMLItem>> FItems;
    TfsXMLItem *FParent = nullptr;
};

// A malformed XML text; Line and Column (1-based) say where.
class EfsXMLError : public Exception {
public:
    EfsXMLError(const QString &message, int line, int column);
    int Line, Column;
};

// An XML document: one root element.
class TfsXMLDocument {
public:
    TfsXMLDocument() : FRoot(std::make_unique<TfsXMLItem>()) {}
    TfsXMLItem *Root() const { return FRoot.get(); }
    // Replaces the root by the element read from text; raises EfsXMLError.
    void LoadFromString(const QString &text);
    // The document with an XML declaration.
    QString SaveToString() const;

private:
    std::unique_ptr<TfsXMLItem> FRoot;
};

// Escapes &, <, >, " and control characters for an attribute value.
QString fsXMLEscape(const QString &text);
