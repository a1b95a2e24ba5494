#pragma once
// What a published property holds: the one classification that the report
// model's property list, the template serializer, the designer's property
// editors and the script engine's host objects share, so that all of them
// read and write a property the same way.

#include <QMetaProperty>

// Kinds of property values; decides how a property is written, read,
// edited and handed to scripts. The ordinal kinds come first, up to Boolean
// (isOrdinalPropKind).
enum class TfrxPropKind {
    Integer,        // int and the smaller integers
    Char,           // QChar, char
    Int64,          // unsigned int and the 64-bit integers (every value fits)
    Enumeration,    // a registered enumeration (Q_ENUM)
    Set,            // a registered flags type (Q_FLAG)
    Boolean,
    Float,          // double, float
    DateTime,       // QDateTime, QDate, QTime, or a float declared as one
    String,
    Variant,
    Component,      // a reference to another report component
    StringList,
    WideStringList, // a memo's lines (declared, never told by the C++ type)
    Object,         // a pointer to any other QObject descendant: a sub-object
    Method,         // an event handler reference (declared)
    Unknown
};

// True for the kinds read and written as an ordinal number: integer, char,
// int64, enumeration, set and Boolean.
constexpr bool isOrdinalPropKind(TfrxPropKind Kind)
{
    return Kind <= TfrxPropKind::Boolean;
}
// The kind of a property by its C++ type alone: every QObject pointer is an
// Object (the report model tells its component references apart), and a
// type no kind describes is Unknown.
TfrxPropKind propKindOfType(const QMetaProperty &prop);
// True for the properties QObject itself declares (objectName): they are no
// published properties of any class, neither for templates nor for scripts.
bool isQObjectOwnProperty(const QMetaObject *cls, int index);
