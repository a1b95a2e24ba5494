#pragma once
// Component editors: what the designer opens for an object on a double
// click, on Enter or with the Edit command (the page options for a page,
// the memo editor for a memo, ...), registered by object class.

#include <QMetaObject>
#include <functional>
#include <memory>

class TfrxComponent;
class TfrxCustomDesigner;

// Edits one object of the report in a modal window of its own.
class TfrxComponentEditor {
public:
    TfrxComponentEditor(TfrxComponent *Component, TfrxCustomDesigner *Designer)
        : FComponent(Component), FDesigner(Designer)
    {
    }
    virtual ~TfrxComponentEditor() = default;
    // Opens the editor; true when the object was changed (the designer then
    // records the change).
    virtual bool Edit() { return false; }
    // False for an editor that has no window (Edit does nothing).
    virtual bool HasEditor() const { return true; }

    TfrxComponent *Component() const { return FComponent; }
    TfrxCustomDesigner *Designer() const { return FDesigner; }

private:
    TfrxComponent *FComponent;
    TfrxCustomDesigner *FDesigner;
};

using TfrxComponentEditorFactory =
    std::function<std::unique_ptr<TfrxComponentEditor>(TfrxComponent *Component, TfrxCustomDesigner *Designer)>;

// Registers the editor of objects of class Class and its descendants; a
// later registration for the same class replaces the earlier one.
void rudRegisterComponentEditor(const QMetaObject *Class, TfrxComponentEditorFactory Factory);
// The editor registered for the nearest class of Component (its own class
// first, then its ancestors); nullptr when none is.
std::unique_ptr<TfrxComponentEditor> rudComponentEditorFor(TfrxComponent *Component, TfrxCustomDesigner *Designer);
