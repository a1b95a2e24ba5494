#include "base/PropKind.h"

#include <QObject>

TPropTypeKind propTypeKind(const QMetaProperty &prop)
{
    if (prop.isEnumType())
        return prop.isFlagType() ? TPropTypeKind::Set : TPropTypeKind::Enumeration;
    const QMetaType type = prop.metaType();
    switch (type.id()) {
    case QMetaType::Bool:
        return TPropTypeKind::Boolean;
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::SChar:
        return TPropTypeKind::Integer;
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return TPropTypeKind::Int64;
    case QMetaType::Char:
    case QMetaType::QChar:
        return TPropTypeKind::Char;
    case QMetaType::Double:
    case QMetaType::Float:
        return TPropTypeKind::Float;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime:
        return TPropTypeKind::DateTime;
    case QMetaType::QString:
        return TPropTypeKind::String;
    case QMetaType::QStringList:
        return TPropTypeKind::StringList;
    case QMetaType::QVariant:
        return TPropTypeKind::Variant;
    default:
        break;
    }
    if (type.flags() & QMetaType::PointerToQObject)
        return TPropTypeKind::Object;
    return TPropTypeKind::Other;
}

bool isQObjectOwnProperty(const QMetaObject *cls, int index)
{
    return cls && index >= 0 && index < QObject::staticMetaObject.propertyCount();
}
