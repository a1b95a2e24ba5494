#pragma once
// What a Qt property holds, by its C++ type: the one classification that the
// report model's published properties and the script engine's host objects
// share, so that both read and write a property the same way.

#include <QMetaProperty>

// Kinds of property values.
enum class TPropTypeKind {
    Integer,     // int and the smaller integers
    Int64,       // unsigned int and the 64-bit integers (every value fits)
    Char,        // QChar, char
    Boolean,
    Float,       // double, float
    DateTime,    // QDateTime, QDate, QTime
    String,
    Enumeration, // a registered enumeration (Q_ENUM)
    Set,         // a registered flags type (Q_FLAG)
    StringList,
    Variant,
    Object,      // a pointer to a QObject descendant
    Other
};

// The kind of a property's value.
TPropTypeKind propTypeKind(const QMetaProperty &prop);
// True for the properties QObject itself declares (objectName): they are no
// published properties of any class, neither for templates nor for scripts.
bool isQObjectOwnProperty(const QMetaObject *cls, int index);
