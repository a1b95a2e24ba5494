// Reading and writing host objects' published properties.

#include "script/fs_ihostprops.h"

#include "script/fs_iconst.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_istrings.h"

#include "base/PropKind.h"

#include <QMetaEnum>
#include <QObject>
#include <optional>

namespace {

[[noreturn]] void raiseInvalid(const QMetaProperty &prop)
{
    throw EfsRuntimeError(QStringLiteral("EPropertyConvertError"),
                          QStringLiteral("Invalid value for property '%1'").arg(QLatin1String(prop.name())));
}

// Enumerations and QFlags hold a plain int: read and build them as such
// rather than rely on registered conversions.
int rawInt(const QVariant &v)
{
    if (v.metaType().sizeOf() == int(sizeof(int)))
        return *static_cast<const int *>(v.constData());
    return v.toInt();
}

bool writeRaw(QObject *obj, const QMetaProperty &prop, int raw)
{
    if (prop.metaType().sizeOf() != int(sizeof(int)))
        return prop.write(obj, raw);
    return prop.write(obj, QVariant(prop.metaType(), &raw));
}

// The value of one identifier of an enumerator, ignoring case.
std::optional<int> identValue(const QMetaEnum &e, const QString &ident)
{
    const QString name = ident.trimmed();
    for (int i = 0; i < e.keyCount(); ++i)
        if (name.compare(QLatin1String(e.key(i)), Qt::CaseInsensitive) == 0)
            return e.value(i);
    return std::nullopt;
}

int setMask(const QMetaEnum &e)
{
    int mask = 0;
    for (int i = 0; i < e.keyCount(); ++i)
        mask |= e.value(i);
    return mask;
}

int enumValue(const QMetaProperty &prop, const TfsVariant &value)
{
    const QMetaEnum e = prop.enumerator();
    int v = 0;
    if (value.IsString()) {
        const auto found = identValue(e, value.AsString());
        if (!found)
            raiseInvalid(prop);
        v = *found;
    } else {
        v = value.ToInt();
    }
    if (!e.valueToKey(v))
        raiseInvalid(prop);
    return v;
}

int setElement(const QMetaProperty &prop, const TfsVariant &element)
{
    if (!element.IsString())
        return element.ToInt();
    const auto found = identValue(prop.enumerator(), element.AsString());
    if (!found)
        raiseInvalid(prop);
    return *found;
}

int setValue(const QMetaProperty &prop, const TfsVariant &value)
{
    int v = 0;
    if (value.IsArray()) {
        // A set constructor: the values of its elements.
        for (int i = value.ArrayLowBound(); i <= value.ArrayHighBound(); ++i)
            v |= setElement(prop, value.GetElement({i}));
    } else if (value.IsString()) {
        // "[ftLeft, ftTop]" or "ftLeft,ftTop".
        QString text = value.AsString().trimmed();
        if (text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char(']')))
            text = text.mid(1, text.size() - 2);
        for (const QString &ident : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
            v |= setElement(prop, TfsVariant(ident));
    } else if (!value.IsNull() && !value.IsEmpty()) {
        v = value.ToInt();
    }
    if (v & ~setMask(prop.enumerator()))
        raiseInvalid(prop);
    return v;
}

} // namespace

TfsHostPropKind fsHostPropKind(const QMetaProperty &prop)
{
    switch (propTypeKind(prop)) {
    case TPropTypeKind::Integer: return TfsHostPropKind::Integer;
    case TPropTypeKind::Int64: return TfsHostPropKind::Int64;
    case TPropTypeKind::Char: return TfsHostPropKind::Char;
    case TPropTypeKind::Boolean: return TfsHostPropKind::Boolean;
    case TPropTypeKind::Float: return TfsHostPropKind::Float;
    case TPropTypeKind::String: return TfsHostPropKind::String;
    case TPropTypeKind::Enumeration: return TfsHostPropKind::Enumeration;
    case TPropTypeKind::Set: return TfsHostPropKind::Set;
    case TPropTypeKind::StringList: return TfsHostPropKind::StringList;
    case TPropTypeKind::Variant: return TfsHostPropKind::Variant;
    case TPropTypeKind::Object: return TfsHostPropKind::Object;
    // Dates cross over as the variant conversions make them.
    case TPropTypeKind::DateTime:
    case TPropTypeKind::Other: break;
    }
    return TfsHostPropKind::Other;
}

void fsHostPropType(const QMetaProperty &prop, TfsScript *script, TfsVarType &typ, QString &typeName)
{
    switch (fsHostPropKind(prop)) {
    case TfsHostPropKind::Integer: typ = fvtInt; typeName = QStringLiteral("Integer"); return;
    case TfsHostPropKind::Int64: typ = fvtInt64; typeName = QStringLiteral("Int64"); return;
    case TfsHostPropKind::Boolean: typ = fvtBool; typeName = QStringLiteral("Boolean"); return;
    case TfsHostPropKind::Float: typ = fvtFloat; typeName = QStringLiteral("Extended"); return;
    case TfsHostPropKind::Char: typ = fvtChar; typeName = QStringLiteral("Char"); return;
    case TfsHostPropKind::String: typ = fvtString; typeName = QStringLiteral("String"); return;
    case TfsHostPropKind::Enumeration:
    case TfsHostPropKind::Set:
        typ = fvtEnum;
        typeName = QLatin1String(prop.enumerator().name());
        return;
    case TfsHostPropKind::StringList:
        typ = fvtClass;
        typeName = QStringLiteral("TStrings");
        if (script)
            script->ClassOfMeta(&TStrings::staticMetaObject);
        return;
    case TfsHostPropKind::Object: {
        typ = fvtClass;
        const QMetaObject *pointee = prop.metaType().metaObject();
        TfsClassVariable *cls = script ? script->ClassOfMeta(pointee ? pointee : &QObject::staticMetaObject) : nullptr;
        typeName = cls ? cls->FName : QStringLiteral("TObject");
        return;
    }
    case TfsHostPropKind::Variant:
    case TfsHostPropKind::Other: typ = fvtVariant; typeName = QStringLiteral("Variant"); return;
    }
}

TfsVariant fsReadHostProp(const QObject *obj, const QMetaProperty &prop)
{
    const QVariant v = prop.read(obj);
    switch (fsHostPropKind(prop)) {
    case TfsHostPropKind::Enumeration:
    case TfsHostPropKind::Set: return TfsVariant(rawInt(v));
    case TfsHostPropKind::Integer: return TfsVariant(v.toInt());
    case TfsHostPropKind::Int64: return TfsVariant::FromInteger(v.toLongLong());
    case TfsHostPropKind::Boolean: return TfsVariant(v.toBool());
    case TfsHostPropKind::Float: return TfsVariant(v.toDouble());
    case TfsHostPropKind::Char: return TfsVariant(QString(v.toChar()));
    case TfsHostPropKind::String: return TfsVariant(v.toString());
    case TfsHostPropKind::Object: return TfsVariant(v.value<QObject *>());
    case TfsHostPropKind::StringList: return TfsVariant(v.toStringList().join(QLatin1String("\r\n")));
    case TfsHostPropKind::Variant:
    case TfsHostPropKind::Other: break;
    }
    return TfsVariant::FromQVariant(v);
}

void fsWriteHostProp(QObject *obj, const QMetaProperty &prop, const TfsVariant &value)
{
    bool ok = false;
    switch (fsHostPropKind(prop)) {
    case TfsHostPropKind::Integer: ok = prop.write(obj, value.ToInt()); break;
    case TfsHostPropKind::Int64: ok = prop.write(obj, value.ToInt64()); break;
    case TfsHostPropKind::Boolean: ok = prop.write(obj, value.ToBool()); break;
    case TfsHostPropKind::Float: ok = prop.write(obj, value.ToDouble()); break;
    case TfsHostPropKind::String: ok = prop.write(obj, value.ToString()); break;
    case TfsHostPropKind::Char: {
        QChar c;
        if (value.IsString()) {
            if (value.AsString().size() != 1)
                raiseInvalid(prop);
            c = value.AsString()[0];
        } else {
            c = QChar(char16_t(value.ToInt()));
        }
        ok = prop.metaType().id() == QMetaType::QChar ? prop.write(obj, c) : prop.write(obj, int(c.unicode()));
        break;
    }
    case TfsHostPropKind::Enumeration: ok = writeRaw(obj, prop, enumValue(prop, value)); break;
    case TfsHostPropKind::Set: ok = writeRaw(obj, prop, setValue(prop, value)); break;
    case TfsHostPropKind::StringList: ok = prop.write(obj, fsToStringList(value)); break;
    case TfsHostPropKind::Object: {
        QObject *target = nullptr;
        if (value.IsObject())
            target = value.ToObject();
        else if (!value.IsNull() && !value.IsEmpty() && !(value.IsOrdinal() && value.ToInt64() == 0))
            raiseInvalid(prop); // a number is no object: never read it as an address
        const QMetaObject *pointee = prop.metaType().metaObject();
        if (target && pointee && !target->metaObject()->inherits(pointee))
            raiseInvalid(prop);
        ok = prop.write(obj, QVariant(prop.metaType(), &target));
        break;
    }
    case TfsHostPropKind::Variant:
    case TfsHostPropKind::Other: ok = prop.write(obj, value.ToQVariant()); break;
    }
    if (!ok)
        raiseInvalid(prop);
}

QStringList fsToStringList(const TfsVariant &value)
{
    if (value.IsObject()) {
        QObject *obj = value.ToObject();
        if (!obj)
            return {};
        if (auto *list = qobject_cast<TStrings *>(obj))
            return list->Lines();
        fsRaiseVariantCast(QStringLiteral("Dispatch"), QStringLiteral("TStrings"));
    }
    if (value.IsNull() || value.IsEmpty())
        return {};
    if (value.IsArray()) {
        QStringList lines;
        for (int i = value.ArrayLowBound(); i <= value.ArrayHighBound(); ++i)
            lines.append(value.GetElement({i}).ToText());
        return lines;
    }
    TStringList list;
    list.SetText(value.ToString());
    return list.Lines();
}
