#pragma once
// The template form of a report: the component tree mapped onto XML items,
// one element per component named after its class, whose attribute text
// lists the component's published properties (rudPropInfo.h).

#include "report/model/rudClassRegistry.h"
#include "report/model/rudComponent.h"
#include "report/model/rudPropInfo.h"

#include <QIODevice>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TfrxNameIndex;
class TfrxReport;
class TfrxXMLItem;

// A reference read from a template, resolved once the whole tree exists.
struct TfrxFixupItem {
    QPointer<QObject> Obj;
    const TfrxPropInfo *Prop = nullptr;
    QString Value; // the referenced component's full name
};

// An object's attribute text read once, to make many objects from: the
// class and the attributes in their order, values as written.
struct TfrxObjectRecipe {
    // A step from an object to a sub-object ("Font" of "Font.Name"), taken
    // from an object of Class.
    struct TStep {
        const QMetaObject *Class = nullptr;
        const TfrxPropInfo *Prop = nullptr;
    };
    struct TAttribute {
        QString Name;
        QString Value;
        // Found once on an object of the recipe's class: the steps to the
        // object the attribute sets and the published property it sets
        // there (Prop.Prop nullptr: applied as the text reader applies it).
        std::vector<TStep> Path;
        TStep Prop;
    };
    TfrxClassEntry Class;
    std::vector<TAttribute> Attributes;
};

// Maps report objects to attribute texts and XML documents and back.
// Conversion errors of single attributes are collected in Errors; the rest of
// the text, the object and the tree still load.
class TfrxXMLSerializer {
public:
    // Stream may be nullptr when only the string conversions are used.
    explicit TfrxXMLSerializer(QIODevice *Stream);
    ~TfrxXMLSerializer();
    TfrxXMLSerializer(const TfrxXMLSerializer &) = delete;
    TfrxXMLSerializer &operator=(const TfrxXMLSerializer &) = delete;

    // The stored properties of Obj as attribute text, each attribute preceded
    // by one space and its name by the prefix Add. With an Ancestor, only
    // what differs from it.
    QString ObjToXML(QObject *Obj, const QString &Add = QString(), QObject *Ancestor = nullptr);
    // Applies an attribute text to Obj (dotted paths walk sub-objects).
    void XMLToObj(const QString &Text, QObject *Obj);

    // Writes Root (and, with SaveChildren, its subtree): into XMLItem when
    // given, else as a whole indented document to the stream.
    void WriteRootComponent(TfrxComponent *Root, bool SaveChildren = true, TfrxXMLItem *XMLItem = nullptr,
                            bool Streaming = false);
    // Fills Root from XMLItem, or from a whole document read from the stream
    // (whose errors propagate), creating its descendants.
    void ReadRootComponent(TfrxComponent *Root, TfrxXMLItem *XMLItem = nullptr);
    // Reads one element from the stream and creates its object as a child of
    // Root; nullptr when its class is unknown.
    TfrxComponent *ReadComponent(TfrxComponent *Root);
    // Writes one element "<Class attributes/>" (UTF-8, no line break).
    void WriteComponent(TfrxComponent *Component);
    // The class name followed by the attribute text (without Name).
    QString WriteComponentStr(TfrxComponent *Component);
    // The inverse of WriteComponentStr: a new child of Root, or nullptr for an
    // unknown class. With DontFixup, pending references are dropped. Without
    // an owner, Root becomes the owner.
    TfrxComponent *ReadComponentStr(TfrxComponent *Root, const QString &Text, bool DontFixup = false);
    // Reads a WriteComponentStr text into a recipe; false for an unknown
    // class or a damaged text (ReadComponentStr reports those as it reads).
    static bool MakeRecipe(const QString &Text, TfrxObjectRecipe &Recipe);
    // A new child of Root, made as ReadComponentStr(Root, recipe text + " " +
    // Text, true) makes it: the recipe's attributes, then those of Text.
    TfrxComponent *ReadComponentRecipe(TfrxComponent *Root, const TfrxObjectRecipe &Recipe, const QString &Text);
    // Applies an attribute text to any object and resolves its references
    // (Root becomes the owner when there is none). Both string readers look
    // references up in a name index that the serializer keeps between calls,
    // so reading many objects one by one stays linear.
    void ReadPersistentStr(TfrxComponent *Root, QObject *Obj, const QString &Text);
    // Resolves the pending references now.
    void FixupReferences();
    // Moves the pending references to List for the caller to resolve.
    void CopyFixupList(std::vector<TfrxFixupItem> &List);

    const QStringList &Errors() const { return FErrors; }
    void AddError(const QString &Text);
    TfrxComponent *Owner() const { return FOwner; }
    void SetOwner(TfrxComponent *Value) { FOwner = Value; }
    bool SerializeDefaultValues() const { return FSerializeDefaultValues; }
    void SetSerializeDefaultValues(bool Value) { FSerializeDefaultValues = Value; }
    // Differences from an ancestor take every number that is not equal, not
    // only those 1e-6 apart (as inherited templates do): for copies.
    void SetExactDifferences(bool Value) { FExactDifferences = Value; }
    bool HandleNestedProperties() const { return FHandleNestedProperties; }
    void SetHandleNestedProperties(bool Value) { FHandleNestedProperties = Value; }
    // The last document read had the old (ANSI) header.
    bool OldFormat() const { return FOldFormat; }
    void SetOldFormat(bool Value) { FOldFormat = Value; }

    // Ancestor object of a name (inherited reports).
    std::function<TfrxComponent *(const QString &)> OnGetAncestor;
    // Receives every RudCustomData element read.
    std::function<void(TfrxXMLItem *)> OnGetCustomData;
    // Fills the RudCustomData element appended when writing.
    std::function<void(TfrxXMLItem *)> OnSaveCustomData;

private:
    // ObjToXML and one property's attribute, appended to Out.
    void AppendObjXML(QString &Out, QObject *Obj, const QString &Add, QObject *Ancestor);
    void AppendPropXML(QString &Out, QObject *Obj, const TfrxPropInfo &Prop, const QString &Add, QObject *Ancestor);
    void ApplyAttribute(QObject *Obj, QStringView Name, const QString &Value);
    void ApplyGuarded(QObject *Obj, QStringView Name, const QString &Value);
    void ApplyRecipeAttribute(QObject *Obj, const TfrxObjectRecipe::TAttribute &Attribute);
    template <class F>
    void Guarded(QObject *Obj, QStringView Name, F &&Apply);
    void SetPropValue(QObject *Obj, const TfrxPropInfo &Prop, const QString &Value);
    void WriteItem(TfrxXMLItem *Item, TfrxComponent *Component, bool IsRoot, bool SaveChildren, bool Streaming);
    void ReadItem(TfrxXMLItem *Item, TfrxComponent *Parent, TfrxComponent *Root, int Depth);
    TfrxComponent *FindByName(const QString &Name, TfrxComponent *Root) const;
    void UseNameIndex(TfrxComponent *Owner);
    void DropNameIndex();
    void KeepReferenceIndex();
    TfrxComponent *FindInScope(TfrxComponent *Root, const QString &Name);
    TfrxComponent *ResolveReference(const QString &Value);

    QIODevice *FStream;
    QStringList FErrors;
    std::vector<TfrxFixupItem> FFixups;
    std::vector<QPointer<TfrxComponent>> FReadObjects;
    TfrxComponent *FOwner = nullptr;
    bool FSerializeDefaultValues = false;
    bool FHandleNestedProperties = false;
    bool FExactDifferences = false;
    bool FOldFormat = false;
    // The name index of the load in progress (shared with an outer load).
    TfrxNameIndex *FNameIndex = nullptr;
    std::shared_ptr<TfrxNameIndex> FOwnedIndex;
    // The report's own index, held while it is in use here.
    std::shared_ptr<TfrxNameIndex> FSharedIndex;
    QPointer<TfrxReport> FIndexedReport;
};

// The name a reference to Component is written with.
QString rudGetFullName(TfrxComponent *Component);
// The component a written reference names, looked up among Owner's objects.
TfrxComponent *rudFindComponent(TfrxComponent *Owner, const QString &Name);
// Lines as the text of one attribute, joined by CR LF; a final empty line
// gets its break written, since reading drops one final break.
QString rudLinesToAttr(const QStringList &Lines);
// A float of template text: "," and "." both taken as the decimal
// separator, spaces removed. Raises EConvertError.
double rudStrToFloat(const QString &Text);
