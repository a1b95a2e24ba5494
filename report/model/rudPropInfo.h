#pragma once
// Published properties: the one list that the template serializer, Assign,
// object differences, the object inspector, the property editors and the
// script engine all walk. No consumer lists a class's properties by hand.
//
// How a class declares its published properties:
//  1. Derive from TfrxPersistent (or a descendant), add Q_OBJECT and one
//     Q_PROPERTY per published property, in serialization order, named as the
//     property is named in templates and scripts:
//         Q_PROPERTY(double GapX READ GapX WRITE SetGapX)
//     Enumerations and sets are types of rudEnums.h (Q_ENUM_NS / Q_FLAG_NS)
//     and are written fully qualified (rudEnums::TfrxHAlign) so that moc finds
//     their identifiers. Sub-objects are pointers to TfrxPersistent
//     descendants (walked for dotted paths such as "Font.Name"), references to
//     other components are pointers to TfrxComponent descendants, string lists
//     are QStringList. A property that is never stored gets STORED false.
//     A base class publishes only what every descendant publishes; a
//     descendant publishes further inherited members by declaring their
//     Q_PROPERTY itself (so the order stays the one of the template).
//  2. Give the class a static function returning the descriptors of its own
//     properties: declared defaults, stored predicates, the kind where the
//     C++ type does not tell it (date-time, wide string list), and the type
//     name where the kind does not tell it (an int that is a colour, a string
//     that names an event handler; rudAddTypeName):
//         static TfrxPropDescs PropDescs();
//         TfrxPropDescs TfrxMemoView::PropDescs() {
//             return {{"GapX", 2.0}, {"Font", {}, &isFontStored},
//                     {"Memo", {}, nullptr, TfrxPropKind::WideStringList}};
//         }
//     A property without a descriptor has no default: it is written whenever
//     it is stored.
//  3. Register the class in rudRegisterClasses() (rudClass.cpp) with
//     rudRegisterClass<T>(); components become creatable by class name.

#include "report/model/rudPersistent.h"

#include "base/PropKind.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <initializer_list>
#include <optional>
#include <vector>

// A stored predicate: false when the property is not to be written for obj.
using TfrxStoredFunc = bool (*)(const QObject *obj);

// Descriptor of one published property, declared beside the class.
struct TfrxPropDesc {
    const char *Name;
    QVariant Default = {};                 // invalid: no default, always written
    TfrxStoredFunc Stored = nullptr;       // nullptr: stored
    std::optional<TfrxPropKind> Kind = {}; // empty: from the C++ type
    // The file default deliberately differs from a new object's value (so
    // that value is always written); the registry's self-check allows it.
    bool NewObjectDiffers = false;
    // nullptr: the type name follows from the kind (rudTypeNameOfKind).
    const char *TypeName = nullptr;
};
using TfrxPropDescs = std::vector<TfrxPropDesc>;

// Gives the properties Names the type name TypeName ("TColor" for an int
// holding a colour, "TfrxNotifyEvent" for a string naming a script
// procedure): sets it on their descriptors in Descs, adding a descriptor
// for a name that has none.
void rudAddTypeName(TfrxPropDescs &Descs, const char *TypeName, std::initializer_list<const char *> Names);

// Descriptors whose defaults are the values of a new object, so that a
// default is declared once, where the field is initialised: one descriptor
// per name (Fresh: a new object of the class).
TfrxPropDescs rudDefaultsOf(const QObject &Fresh, std::initializer_list<const char *> Names);
template <class T>
TfrxPropDescs rudNewObjectDefaults(std::initializer_list<const char *> Names)
{
    const T fresh;
    return rudDefaultsOf(fresh, Names);
}

// One published property of a class, as every consumer sees it.
class TfrxPropInfo {
public:
    QString Name;
    TfrxPropKind Kind = TfrxPropKind::Unknown;
    QMetaProperty Meta;
    QVariant Default;                        // invalid when the property has none
    TfrxStoredFunc StoredFn = nullptr;
    const QMetaObject *DeclaringClass = nullptr;
    bool NewObjectDiffers = false;           // see TfrxPropDesc
    // The type the property editors and the inspector go by: the declared
    // type name, else the one of its kind ("Integer", "TfrxHAlign", "TFont").
    QString TypeName;
    // Meta's index and value type, kept for the typed reads below (an
    // entry made without them reads through Read).
    int Index = -1;
    QMetaType Type;
    // The declaring class's own meta-call and the property's place among
    // that class's properties: moc puts every property's read and write
    // there, so a typed read calls it directly instead of handing the call
    // up through each ancestor's qt_metacall (nullptr: through Index).
    QMetaObject::Data::StaticMetacallFunction StaticCall = nullptr;
    int LocalIndex = -1;
    // The C++ type a typed read takes the value in, chosen once from Kind
    // and Type (Variant: the read goes through Read).
    enum class TAccess : quint8 { Variant, Int, Bool, Double, String, Object };
    TAccess Access = TAccess::Variant;

    bool HasDefault() const { return Default.isValid(); }
    bool IsReadable() const { return Meta.isReadable(); }
    bool IsWritable() const { return Meta.isWritable(); }
    // The property's stored rule for obj (its STORED flag and predicate).
    bool IsStored(const QObject *obj) const;
    // True when obj's value equals the declared default.
    bool IsDefault(const QObject *obj) const;
    // The enumerator of an enumeration or set property.
    QMetaEnum Enumerator() const { return Meta.enumerator(); }
    // For sub-object and component properties: the class the pointer names.
    const QMetaObject *PointeeClass() const { return Meta.metaType().metaObject(); }

    QVariant Read(const QObject *obj) const { return Meta.read(obj); }
    // Writes through the property's setter; false when Qt refused the value.
    bool Write(QObject *obj, const QVariant &value) const { return Meta.write(obj, value); }

    // Typed access by kind. Ordinal covers integer, char, int64, enumeration,
    // set and Boolean properties.
    qint64 OrdValue(const QObject *obj) const
    {
        if (Access == TAccess::Int)
            return ReadAs<int>(obj);
        if (Access == TAccess::Bool)
            return ReadAs<bool>(obj) ? 1 : 0;
        return OrdValueOfVariant(obj);
    }
    bool SetOrdValue(QObject *obj, qint64 value) const;
    double FloatValue(const QObject *obj) const
    {
        return Access == TAccess::Double ? ReadAs<double>(obj) : Read(obj).toDouble();
    }
    bool SetFloatValue(QObject *obj, double value) const;
    QString StrValue(const QObject *obj) const
    {
        return Access == TAccess::String ? ReadAs<QString>(obj) : Read(obj).toString();
    }
    bool SetStrValue(QObject *obj, const QString &value) const;
    QStringList ListValue(const QObject *obj) const { return Read(obj).toStringList(); }
    bool SetListValue(QObject *obj, const QStringList &value) const { return Write(obj, value); }
    // The sub-object or referenced component, or nullptr.
    QObject *ObjectValue(const QObject *obj) const;
    bool SetObjectValue(QObject *obj, QObject *value) const;
    // Write(Dest, Read(Source)) for a property of Dest's and Source's class.
    bool CopyValue(QObject *Dest, const QObject *Source) const;

    // Enumeration identifier of an ordinal value ("haCenter", "True"); empty when none.
    QString IdentOf(qint64 value) const;
    // Value of an identifier (ignoring case); empty when there is none.
    std::optional<qint64> ValueOfIdent(const QString &ident) const;
    // True when value is an element of the enumeration (or a Boolean 0/1).
    bool IsValidOrd(qint64 value) const;
    // All bits that the set's elements use.
    qint64 SetMask() const;

private:
    // The value in T, the property's own C++ type (as Access tells it),
    // read by one direct call of the declaring class's meta-call and with
    // no QVariant around it: the serializer and the object differences
    // read every property of every object.
    template <class T>
    T ReadAs(const QObject *obj) const
    {
        T value{};
        int status = -1;
        void *argv[] = {&value, nullptr, &status};
        if (StaticCall)
            StaticCall(const_cast<QObject *>(obj), QMetaObject::ReadProperty, LocalIndex, argv);
        else
            QMetaObject::metacall(const_cast<QObject *>(obj), QMetaObject::ReadProperty, Index, argv);
        return value;
    }
    qint64 OrdValueOfVariant(const QObject *obj) const;
};
using TfrxPropList = std::vector<TfrxPropInfo>;

// The published properties of a class in serialization order, inherited
// classes' first. The list is built once per class and lives for the run.
const TfrxPropList &rudGetPropList(const QMetaObject *cls);
// The published property of that name (ignoring case), or nullptr.
const TfrxPropInfo *rudFindProp(const QMetaObject *cls, QStringView name);
inline const TfrxPropInfo *rudFindProp(const QMetaObject *cls, const QString &name)
{
    return rudFindProp(cls, QStringView(name));
}
// Records the descriptors of one class (its own properties only). A
// descriptor naming no property of the class is a programming error: it is
// recorded in rudPropDescErrors (and reported as a warning).
void rudRegisterPropDescs(const QMetaObject *cls, TfrxPropDescs descs);
// The descriptor errors found so far ("TFont.Colour names no property").
QStringList rudPropDescErrors();
// The type name a property of Info's kind has when none is declared:
// "Integer", "Extended", "String", the enumerator's name for enumerations
// and sets, the pointee's class name for sub-objects and references.
QString rudTypeNameOfKind(const TfrxPropInfo &Info);
// The kind of a property by its C++ type alone (no descriptor applied):
// propKindOfType with pointers to report components told as references.
TfrxPropKind rudPropKindOfType(const QMetaProperty &Prop);

// Copies Source's stored published properties into Dest, an object of the
// same class, in declaration order through the setters; sub-objects are
// copied into (TfrxPersistent::AssignFrom), or set through their property
// when they differ in class; component references are taken over. Binary
// PropData follows. Unpublished state is the caller's.
void rudAssignProps(QObject *Dest, const QObject *Source);
// True when A and B are of one class and every stored published property
// (sub-objects in depth, PropData included) is equal.
bool rudSameProps(const QObject *A, const QObject *B);

// The published properties of obj's class (shorthands of the above).
inline const TfrxPropList &rudGetPropList(const QObject *obj) { return rudGetPropList(obj->metaObject()); }
inline const TfrxPropInfo *rudFindProp(const QObject *obj, const QString &name)
{
    return rudFindProp(obj->metaObject(), name);
}
inline const TfrxPropInfo *rudFindProp(const QObject *obj, QStringView name)
{
    return rudFindProp(obj->metaObject(), name);
}
