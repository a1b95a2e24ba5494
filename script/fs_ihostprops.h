#pragma once
// Published properties of host objects as script values.
//
// Any QObject's Qt properties serve as its published properties. Each has a
// kind (propKindOfType) that decides its script type and how values cross over: integers,
// floats, Booleans, characters and strings convert with the variant rules;
// enumerations and sets are their integer values (a text of identifiers is
// accepted on writing, and a value that is no identifier's, or has bits
// outside the set, is refused); string lists read as TStrings bound to the
// property (fs_istrings.h); object pointers read as objects (nil when unset)
// and accept an object of the pointee class or nil.

#include "script/fs_itypes.h"
#include "script/fs_ivariant.h"

#include "base/PropKind.h"

#include <QMetaProperty>
#include <QStringList>

class TfsScript;

// The script type of a property. Enumerations and sets are typed by their
// enumerator's name; object properties by their pointee's class, which is
// registered in script on demand (see TfsScript::ClassOfMeta); string lists
// as "TStrings".
void fsHostPropType(const QMetaProperty &prop, TfsScript *script, TfsVarType &typ, QString &typeName);
// Reads prop of obj. A string list reads as its lines joined with CR LF; the
// property helper hands scripts a bound TStrings instead.
TfsVariant fsReadHostProp(const QObject *obj, const QMetaProperty &prop);
// Writes value to prop of obj; raises EfsRuntimeError when the value does not
// fit the property or the host refuses it, or a variant conversion error.
void fsWriteHostProp(QObject *obj, const QMetaProperty &prop, const TfsVariant &value);
// The lines of a value: a TStrings object's lines, an array's elements or a
// text split into lines (as TStrings.Text). Nil, Null and empty give none.
QStringList fsToStringList(const TfsVariant &value);
