#include "base/PropKind.h"

#include <QObject>

TfrxPropKind propKindOfType(const QMetaProperty &prop)
{
    if (prop.isEnumType())
        return prop.isFlagType() ? TfrxPropKind::Set : TfrxPropKind::Enumeration;
    const QMetaType type = prop.metaType();
    switch (type.id()) {
    case QMetaType::Bool:
        return TfrxPropKind::Boolean;
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::SChar:
        return TfrxPropKind::Integer;
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return TfrxPropKind::Int64;
    case QMetaType::Char:
    case QMetaType::QChar:
        return TfrxPropKind::Char;
    case QMetaType::Double:
    case QMetaType::Float:
        return TfrxPropKind::Float;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime:
        return TfrxPropKind::DateTime;
    case QMetaType::QString:
        return TfrxPropKind::String;
    case QMetaType::QStringList:
        return TfrxPropKind::StringList;
    case QMetaType::QVariant:
        return TfrxPropKind::Variant;
    default:
        break;
    }
    if (type.flags() & QMetaType::PointerToQObject)
        return TfrxPropKind::Object;
    return TfrxPropKind::Unknown;
}

bool isQObjectOwnProperty(const QMetaObject *cls, int index)
{
    return cls && index >= 0 && index < QObject::staticMetaObject.propertyCount();
}
