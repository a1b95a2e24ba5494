#pragma once
// The design-time interface: property editors, the registry that picks an
// editor for a published property (or hides it), and the property lists
// the object inspector shows. Every list is built by walking the model's
// published-property list (rudGetPropList); no code here names the
// properties of a class.

#include "report/model/rudPropInfo.h"

#include <QFlags>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class TfrxComponent;
class TfrxCustomDesigner;
class TfrxReport;

// What a property editor allows; the bit values are those the inspector
// and saved layouts rely on.
enum TfrxPropertyAttribute {
    paValueList = 1,     // a drop-down list of values
    paSortList = 2,      // the list is sorted
    paDialog = 4,        // a "..." editor dialog
    paMultiSelect = 8,   // shown when several objects are selected
    paSubProperties = 16, // can be expanded into sub-rows
    paReadOnly = 32,     // the value cannot be typed
    paOwnerDraw = 64     // draws its value and list items itself
};
Q_DECLARE_FLAGS(TfrxPropertyAttributes, TfrxPropertyAttribute)
Q_DECLARE_OPERATORS_FOR_FLAGS(TfrxPropertyAttributes)

// True for a type name that the inspector files under "Events": it begins
// with "Tfrx" and ends with "Event" (letter case ignored).
bool rudIsEventType(const QString &TypeName);

// The base of every property editor: turns one published property of the
// edited objects into text and back. The edited objects (FCompList) and the
// property record of each (FPropList) run in parallel; the first object
// gives the value shown, the setters write every object.
class TfrxPropertyEditor {
public:
    explicit TfrxPropertyEditor(TfrxCustomDesigner *Designer);
    virtual ~TfrxPropertyEditor();
    TfrxPropertyEditor(const TfrxPropertyEditor &) = delete;
    TfrxPropertyEditor &operator=(const TfrxPropertyEditor &) = delete;

    // [paMultiSelect].
    virtual TfrxPropertyAttributes GetAttributes();
    // The property's name.
    virtual QString GetName();
    // The value as text; "(Unknown)" here.
    virtual QString GetValue();
    // Fills Values() with the drop-down entries; none here.
    virtual void GetValues();
    // Stores text typed by the user; raises an Exception with the message
    // to show when the text is no valid value.
    virtual void SetValue(const QString &Value);
    // The editor's action (a dialog, or the next entry of the value list);
    // true when the value changed.
    virtual bool Edit();
    // Draws entry Index of the drop-down list (owner-drawn editors).
    virtual void OnDrawLBItem(QPainter &Canvas, int Index, const QRect &ARect);
    // Draws the value in the row (owner-drawn editors).
    virtual void OnDrawItem(QPainter &Canvas, const QRect &ARect);
    // Width an owner-drawn list needs beside the entry texts.
    virtual int GetExtraLBSize();

    // The entries of the drop-down list: GetValues, sorted (case ignored)
    // when the editor has paSortList.
    QStringList ValueList();
    QStringList &Values() { return FValues; }

    // Adds an edited object with its property record.
    void AddObject(QObject *Component, const TfrxPropInfo *Prop);
    int ObjectCount() const { return int(FCompList.size()); }
    // Edited object Index; nullptr once it was destroyed.
    QObject *Objects(int Index) const { return FCompList.at(Index); }
    const TfrxPropInfo *Props(int Index) const { return FPropList.at(Index); }
    // The first edited object and its property record.
    QObject *Component() const;
    const TfrxPropInfo *PropInfo() const;
    TfrxCustomDesigner *Designer() const { return FDesigner; }
    // The report of the first edited object, else the designer's.
    TfrxReport *Report() const;
    // Row height of the inspector, for owner drawing.
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value) { FItemHeight = Value; }

    // The first object's value.
    qint64 GetOrdValue() const;
    double GetFloatValue() const;
    QString GetStrValue() const;
    QStringList GetListValue() const;
    QObject *GetObjValue() const;
    // Write Value into every edited object whose property is writable. While
    // several objects are written the designer's inspector updates are off;
    // they are switched on again before the last object is written. A value
    // an object refuses raises "Invalid property value".
    void SetOrdValue(qint64 Value);
    void SetFloatValue(double Value);
    void SetStrValue(const QString &Value);
    void SetListValue(const QStringList &Value);
    void SetObjValue(QObject *Value);

protected:
    // Writes into every writable object through Write (object, property).
    void WriteAll(const std::function<bool(QObject *, const TfrxPropInfo &)> &Write);

    TfrxCustomDesigner *FDesigner;
    QList<QPointer<QObject>> FCompList;
    QList<const TfrxPropInfo *> FPropList;
    QStringList FValues;
    int FItemHeight = 16;
};

// Raises the error of a text that is no valid value: "Invalid property value".
[[noreturn]] void rudInvalidPropertyValue();

class TfrxPropertyList;

// One row of a property list: its editor, whether its sub-rows are shown,
// and the sub-rows (sub-object properties, set elements), if any.
struct TfrxPropertyItem {
    std::unique_ptr<TfrxPropertyEditor> Editor;
    bool Expanded = false;
    std::unique_ptr<TfrxPropertyList> SubProperty;
};

// The rows for one object (or several, when merged), sorted by name; a
// sub-list belongs to the row of its Parent.
class TfrxPropertyList {
public:
    TfrxPropertyList(QObject *Component, TfrxPropertyItem *Parent = nullptr)
        : FComponent(Component), FParent(Parent)
    {
    }
    int Count() const { return int(FItems.size()); }
    TfrxPropertyItem &Items(int Index) { return *FItems.at(size_t(Index)); }
    const TfrxPropertyItem &Items(int Index) const { return *FItems.at(size_t(Index)); }
    TfrxPropertyItem &Add();
    void Delete(int Index) { FItems.erase(FItems.begin() + Index); }
    // The row named Name (case ignored), or nullptr.
    TfrxPropertyItem *Find(const QString &Name);
    // Moves the rows that Pred picks into a new list (kept in order).
    std::unique_ptr<TfrxPropertyList> Extract(const std::function<bool(TfrxPropertyItem &)> &Pred);
    // Sorts the rows by name, case ignored.
    void Sort();
    // The object whose properties the rows are (the first one when merged).
    QObject *Component() const { return FComponent; }
    TfrxPropertyItem *Parent() const { return FParent; }
    void SetParent(TfrxPropertyItem *Value) { FParent = Value; }

private:
    QObject *FComponent;
    TfrxPropertyItem *FParent;
    std::vector<std::unique_ptr<TfrxPropertyItem>> FItems;
};

// Makes an editor for the designer.
using TfrxPropertyEditorClass = std::function<std::unique_ptr<TfrxPropertyEditor>(TfrxCustomDesigner *Designer)>;
// The class of editor E (constructed with the designer).
template <class E>
TfrxPropertyEditorClass rudEditorClass()
{
    return [](TfrxCustomDesigner *Designer) -> std::unique_ptr<TfrxPropertyEditor> {
        return std::make_unique<E>(Designer);
    };
}

// A registry entry: which property it applies to, and its editor (none:
// the property is hidden).
struct TfrxPropertyEditorItem {
    QString PropertyType;                 // empty: any type
    const QMetaObject *ComponentClass;    // nullptr: any class
    QString PropertyName;                 // empty: any name
    TfrxPropertyEditorClass EditorClass;  // empty: hidden
};

// The registry of property editors, scanned from the newest entry.
class TfrxPropertyEditorCollection {
public:
    TfrxPropertyEditorCollection();
    void Register(const QString &PropertyType, const QMetaObject *ComponentClass, const QString &PropertyName,
                  TfrxPropertyEditorClass EditorClass);
    // The editor of every event property (a later call replaces it).
    void RegisterEventEditor(TfrxPropertyEditorClass EditorClass);
    // The entry for property PropertyName of type PropertyType on Component,
    // or -1: a named entry whose class Component's class inherits (any type),
    // or without class but of that type, is taken at once; otherwise the
    // oldest entry without class and name of that type.
    int GetPropertyEditor(const QString &PropertyType, const QObject *Component, const QString &PropertyName) const;
    int Count() const { return int(FItems.size()); }
    const TfrxPropertyEditorItem &Items(int Index) const { return FItems.at(size_t(Index)); }
    const TfrxPropertyEditorClass &EventEditor() const { return FEventEditor; }

private:
    std::vector<TfrxPropertyEditorItem> FItems;
    TfrxPropertyEditorClass FEventEditor;
};

// The registry, with the design-time interface's own editors registered on
// first use (component names, fonts and their names and character sets,
// colours, cursors, modal results, shortcuts, dates and times).
TfrxPropertyEditorCollection &rudPropertyEditors();
// Hides each property of a ";"-separated list of names on ComponentClass
// and its descendants.
void rudHideProperties(const QMetaObject *ComponentClass, const QString &Properties);

// The editor for property Prop of Component, following the registry and,
// without an entry, the property's kind; nullptr when the property is
// hidden or has an unknown kind.
std::unique_ptr<TfrxPropertyEditor> rudCreatePropertyEditor(QObject *Component, const TfrxPropInfo &Prop,
                                                            TfrxCustomDesigner *Designer);
// The rows for the objects; nullptr for an empty list. For several
// objects only the properties every object has (same kind, sub-objects of
// the same class) with multi-select editors are kept, and each editor
// writes all the objects.
std::unique_ptr<TfrxPropertyList> rudCreatePropertyList(const QList<QObject *> &Objects, TfrxCustomDesigner *Designer);
std::unique_ptr<TfrxPropertyList> rudCreatePropertyList(const QList<TfrxComponent *> &Objects,
                                                        TfrxCustomDesigner *Designer);

// ---- The basic editors, one per property kind and for the platform's types.

// Whole numbers as decimal text.
class TfrxIntegerProperty : public TfrxPropertyEditor {
public:
    using TfrxPropertyEditor::TfrxPropertyEditor;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

// Numbers in the general format; "," and "." both read as the decimal separator.
class TfrxFloatProperty : public TfrxPropertyEditor {
public:
    using TfrxPropertyEditor::TfrxPropertyEditor;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

// A character as itself, or "#" and its code when it is not printable.
class TfrxCharProperty : public TfrxPropertyEditor {
public:
    using TfrxPropertyEditor::TfrxPropertyEditor;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

// Text as it is.
class TfrxStringProperty : public TfrxPropertyEditor {
public:
    using TfrxPropertyEditor::TfrxPropertyEditor;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

// An enumeration by its identifiers (Booleans as "False"/"True").
class TfrxEnumProperty : public TfrxPropertyEditor {
public:
    using TfrxPropertyEditor::TfrxPropertyEditor;
    TfrxPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

// A set as "[ident,ident]", expanded into one row per element.
class TfrxSetProperty : public TfrxPropertyEditor {
public:
    using TfrxPropertyEditor::TfrxPropertyEditor;
    TfrxPropertyAttributes GetAttributes() override;
    QString GetValue() override;
};

// One element of a set: "True" when the set holds it.
class TfrxSetElementProperty : public TfrxPropertyEditor {
public:
    TfrxSetElementProperty(TfrxCustomDesigner *Designer, qint64 Element, const QString &ElementName);
    TfrxPropertyAttributes GetAttributes() override;
    QString GetName() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
    qint64 Element() const { return FElement; }

private:
    qint64 FElement;
    QString FElementName;
};

// A sub-object as "(" + its declared class + ")", expanded into its properties.
class TfrxClassProperty : public TfrxPropertyEditor {
public:
    using TfrxPropertyEditor::TfrxPropertyEditor;
    TfrxPropertyAttributes GetAttributes() override;
    QString GetValue() override;
};

// A reference to another object of the report, by name.
class TfrxComponentProperty : public TfrxPropertyEditor {
public:
    using TfrxPropertyEditor::TfrxPropertyEditor;
    TfrxPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

// The object's name: single selection only.
class TfrxNameProperty : public TfrxStringProperty {
public:
    using TfrxStringProperty::TfrxStringProperty;
    TfrxPropertyAttributes GetAttributes() override;
};

// A colour by identifier or as "$" + eight hexadecimal digits, with swatches.
class TfrxColorProperty : public TfrxIntegerProperty {
public:
    using TfrxIntegerProperty::TfrxIntegerProperty;
    TfrxPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
    bool Edit() override;
    void OnDrawLBItem(QPainter &Canvas, int Index, const QRect &ARect) override;
    void OnDrawItem(QPainter &Canvas, const QRect &ARect) override;
    int GetExtraLBSize() override;
};

// A font: the platform's font dialog, expanded into the font's properties.
class TfrxFontProperty : public TfrxClassProperty {
public:
    using TfrxClassProperty::TfrxClassProperty;
    TfrxPropertyAttributes GetAttributes() override;
    bool Edit() override;
};

// A font's name, listing the installed fonts.
class TfrxFontNameProperty : public TfrxStringProperty {
public:
    using TfrxStringProperty::TfrxStringProperty;
    TfrxPropertyAttributes GetAttributes() override;
    void GetValues() override;
};

// A font's character set by identifier (RUSSIAN_CHARSET) or number.
class TfrxFontCharsetProperty : public TfrxIntegerProperty {
public:
    using TfrxIntegerProperty::TfrxIntegerProperty;
    TfrxPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

// A dialog's modal result by name ("mrOk") or number.
class TfrxModalResultProperty : public TfrxIntegerProperty {
public:
    using TfrxIntegerProperty::TfrxIntegerProperty;
    TfrxPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

// A keyboard shortcut by its text ("Ctrl+S"), "(None)" for none.
class TfrxShortCutProperty : public TfrxIntegerProperty {
public:
    using TfrxIntegerProperty::TfrxIntegerProperty;
    TfrxPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

// A mouse cursor by identifier ("crHandPoint") or number.
class TfrxCursorProperty : public TfrxIntegerProperty {
public:
    using TfrxIntegerProperty::TfrxIntegerProperty;
    TfrxPropertyAttributes GetAttributes() override;
    QString GetValue() override;
    void GetValues() override;
    void SetValue(const QString &Value) override;
};

// A date and time in the regional format; empty for 0.
class TfrxDateTimeProperty : public TfrxPropertyEditor {
public:
    using TfrxPropertyEditor::TfrxPropertyEditor;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

// A date in the regional format; empty for 0.
class TfrxDateProperty : public TfrxPropertyEditor {
public:
    using TfrxPropertyEditor::TfrxPropertyEditor;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

// A time of day in the regional format; empty for 0.
class TfrxTimeProperty : public TfrxPropertyEditor {
public:
    using TfrxPropertyEditor::TfrxPropertyEditor;
    QString GetValue() override;
    void SetValue(const QString &Value) override;
};

// Identifier tables of the platform's integer types.
// A colour's identifier ("clRed"), or empty.
QString rudColorToIdent(int Color);
// The colour of an identifier (case ignored).
std::optional<int> rudIdentToColor(const QString &Ident);
// Every colour identifier, standard colours first, then system colours.
QStringList rudColorIdents();
// A character set's identifier ("RUSSIAN_CHARSET"), or empty.
QString rudCharsetToIdent(int Charset);
std::optional<int> rudIdentToCharset(const QString &Ident);
QStringList rudCharsetIdents();
// A cursor's identifier ("crHandPoint"), or empty.
QString rudCursorToIdent(int Cursor);
std::optional<int> rudIdentToCursor(const QString &Ident);
QStringList rudCursorIdents();
// A shortcut's text ("Ctrl+S", "Shift+F5"); empty for 0.
QString rudShortCutToText(int ShortCut);
// The shortcut of a text; 0 when it is none.
int rudTextToShortCut(const QString &Text);
