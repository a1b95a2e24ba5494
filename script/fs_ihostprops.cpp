// Reading and writing host objects' published properties.

#include "script/fs_ihostprops.h"

#include "script/fs_iconst.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_istrings.h"

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

void fsHostPropType(const QMetaProperty &prop, TfsScript *script, TfsVarType &typ, QString &typeName)
{
    switch (propKindOfType(prop)) {
    case TfrxPropKind::Integer: typ = fvtInt; typeName = QStringLiteral("Integer"); return;
    case TfrxPropKind::Int64: typ = fvtInt64; typeName = QStringLiteral("Int64"); return;
    case TfrxPropKind::Boolean: typ = fvtBool; typeName = QStringLiteral("Boolean"); return;
    case TfrxPropKind::Float: typ = fvtFloat; typeName = QStringLiteral("Extended"); return;
    case TfrxPropKind::Char: typ = fvtChar; typeName = QStringLiteral("Char"); return;
    case TfrxPropKind::String: typ = fvtString; typeName = QStringLiteral("String"); return;
    case TfrxPropKind::Enumeration:
    case TfrxPropKind::Set:
        typ = fvtEnum;
        typeName = QLatin1String(prop.enumerator().name());
        return;
    case TfrxPropKind::StringList:
        typ = fvtClass;
        typeName = QStringLiteral("TStrings");
        if (script)
            script->ClassOfMeta(&TStrings::staticMetaObject);
        return;
    case TfrxPropKind::Component:
    case TfrxPropKind::Object: {
        typ = fvtClass;
        const QMetaObject *pointee = prop.metaType().metaObject();
        TfsClassVariable *cls = script ? script->ClassOfMeta(pointee ? pointee : &QObject::staticMetaObject) : nullptr;
        typeName = cls ? cls->FName : QStringLiteral("TObject");
        return;
    }
    // Dates cross over as the variant conversions make them.
    case TfrxPropKind::DateTime:
    case TfrxPropKind::WideStringList:
    case TfrxPropKind::Method:
    case TfrxPropKind::Variant:
    case TfrxPropKind::Unknown: typ = fvtVariant; typeName = QStringLiteral("Variant"); return;
    }
}

TfsVariant fsReadHostProp(const QObject *obj, const QMetaProperty &prop)
{
    const QVariant v = prop.read(obj);
    switch (propKindOfType(prop)) {
    case TfrxPropKind::Enumeration:
    case TfrxPropKind::Set: return TfsVariant(rawInt(v));
    case TfrxPropKind::Integer: return TfsVariant(v.toInt());
    case TfrxPropKind::Int64: return TfsVariant::FromInteger(v.toLongLong());
    case TfrxPropKind::Boolean: return TfsVariant(v.toBool());
    case TfrxPropKind::Float: return TfsVariant(v.toDouble());
    case TfrxPropKind::Char: return TfsVariant(QString(v.toChar()));
    case TfrxPropKind::String: return TfsVariant(v.toString());
    case TfrxPropKind::Component:
    case TfrxPropKind::Object: return TfsVariant(v.value<QObject *>());
    case TfrxPropKind::StringList: return TfsVariant(v.toStringList().join(QLatin1String("\r\n")));
    // Dates cross over as the variant conversions make them.
    case TfrxPropKind::DateTime:
    case TfrxPropKind::WideStringList:
    case TfrxPropKind::Method:
    case TfrxPropKind::Variant:
    case TfrxPropKind::Unknown: break;
    }
    return TfsVariant::FromQVariant(v);
}

void fsWriteHostProp(QObject *obj, const QMetaProperty &prop, const TfsVariant &value)
{
    bool ok = false;
    switch (propKindOfType(prop)) {
    case TfrxPropKind::Integer: ok = prop.write(obj, value.ToInt()); break;
    case TfrxPropKind::Int64: ok = prop.write(obj, value.ToInt64()); break;
    case TfrxPropKind::Boolean: ok = prop.write(obj, value.ToBool()); break;
    case TfrxPropKind::Float: ok = prop.write(obj, value.ToDouble()); break;
    case TfrxPropKind::String: ok = prop.write(obj, value.ToString()); break;
    case TfrxPropKind::Char: {
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
    case TfrxPropKind::Enumeration: ok = writeRaw(obj, prop, enumValue(prop, value)); break;
    case TfrxPropKind::Set: ok = writeRaw(obj, prop, setValue(prop, value)); break;
    case TfrxPropKind::StringList: ok = prop.write(obj, fsToStringList(value)); break;
    case TfrxPropKind::Component:
    case TfrxPropKind::Object: {
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
    // Dates cross over as the variant conversions make them.
    case TfrxPropKind::DateTime:
    case TfrxPropKind::WideStringList:
    case TfrxPropKind::Method:
    case TfrxPropKind::Variant:
    case TfrxPropKind::Unknown: ok = prop.write(obj, value.ToQVariant()); break;
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
