#pragma once
// Value kinds of script items and the compile-time type rules.

#include <QString>

// Kind of value an item or expression holds (declaration order is fixed).
enum TfsVarType {
    fvtInt, fvtBool, fvtFloat, fvtChar, fvtString, fvtClass, fvtArray, fvtVariant, fvtEnum,
    fvtConstructor, fvtInt64
};

// Whether a value of type `source` may be used where `target` is expected.
// For classes, `targetClass`/`sourceClass` name them; `descends` tells whether
// the source class descends from the target class.
bool fsTypesCompatible(TfsVarType target, const QString &targetTypeName, TfsVarType source,
                       const QString &sourceTypeName, bool descends);
// The type name shown in "Incompatible types" messages for a kind.
QString fsTypeDisplayName(TfsVarType typ);
