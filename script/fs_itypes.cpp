// Compile-time type compatibility.

#include "script/fs_itypes.h"

bool fsTypesCompatible(TfsVarType target, const QString &targetTypeName, TfsVarType source,
                       const QString &sourceTypeName, bool descends)
{
    switch (target) {
    case fvtInt:
    case fvtInt64:
        return source == fvtInt || source == fvtFloat || source == fvtVariant || source == fvtEnum ||
               source == fvtInt64;
    case fvtBool: return source == fvtBool || source == fvtVariant;
    case fvtFloat: return source == fvtInt || source == fvtFloat || source == fvtVariant || source == fvtInt64;
    case fvtChar:
    case fvtString: return source == fvtChar || source == fvtString || source == fvtVariant;
    case fvtClass: return source == fvtVariant || (source == fvtClass && descends);
    case fvtArray: return source == fvtArray || source == fvtVariant;
    case fvtVariant: return true;
    case fvtEnum:
        return source == fvtInt || source == fvtVariant || source == fvtInt64 ||
               (source == fvtEnum && targetTypeName.compare(sourceTypeName, Qt::CaseInsensitive) == 0);
    case fvtConstructor: return false;
    }
    return false;
}

QString fsTypeDisplayName(TfsVarType typ)
{
    switch (typ) {
    case fvtInt: return QStringLiteral("Integer");
    case fvtBool: return QStringLiteral("Boolean");
    case fvtFloat: return QStringLiteral("Extended");
    case fvtChar: return QStringLiteral("Char");
    case fvtString: return QStringLiteral("String");
    case fvtClass: return QStringLiteral("Class");
    case fvtArray: return QStringLiteral("Array");
    case fvtVariant: return QStringLiteral("Variant");
    case fvtEnum: return QStringLiteral("Enum");
    case fvtConstructor: return QStringLiteral("Constructor");
    case fvtInt64: return QStringLiteral("Int64");
    }
    return QString();
}
