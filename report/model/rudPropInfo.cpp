#include "report/model/rudPropInfo.h"

#include "report/model/rudClassRegistry.h"

#include <QHash>
#include <QMutex>
#include <memory>

TfrxPersistent::~TfrxPersistent() = default;

namespace {

struct TPropTables {
    QMutex Lock;
    QHash<const QMetaObject *, TfrxPropDescs> Descs;
    QHash<const QMetaObject *, std::shared_ptr<const TfrxPropList>> Lists;
    // Lists dropped by a later registration; callers may still hold them.
    std::vector<std::shared_ptr<const TfrxPropList>> Retired;
};

TPropTables &tables()
{
    static TPropTables t;
    return t;
}

TfrxPropKind kindOfType(const QMetaProperty &prop)
{
    if (prop.isEnumType())
        return prop.isFlagType() ? TfrxPropKind::Set : TfrxPropKind::Enumeration;
    const QMetaType type = prop.metaType();
    switch (type.id()) {
    case QMetaType::Bool:
        return TfrxPropKind::Boolean;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return TfrxPropKind::Integer;
    case QMetaType::Char:
    case QMetaType::QChar:
        return TfrxPropKind::Char;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return TfrxPropKind::Int64;
    case QMetaType::Double:
    case QMetaType::Float:
        return TfrxPropKind::Float;
    case QMetaType::QString:
        return TfrxPropKind::String;
    case QMetaType::QStringList:
        return TfrxPropKind::StringList;
    case QMetaType::QVariant:
        return TfrxPropKind::Variant;
    default:
        break;
    }
    if (type.flags() & QMetaType::PointerToQObject) {
        const QMetaObject *cls = type.metaObject();
        if (cls && cls->inherits(&TfrxComponent::staticMetaObject))
            return TfrxPropKind::Component;
        return TfrxPropKind::Object;
    }
    return TfrxPropKind::Unknown;
}

// Builds the list of one class: the chain from TfrxPersistent's first
// descendant down to cls, each class's own properties in declaration order.
TfrxPropList buildList(const QMetaObject *cls, const QHash<const QMetaObject *, TfrxPropDescs> &descs)
{
    std::vector<const QMetaObject *> chain;
    for (const QMetaObject *c = cls; c && c != &QObject::staticMetaObject; c = c->superClass())
        chain.insert(chain.begin(), c);
    TfrxPropList list;
    for (const QMetaObject *c : chain) {
        const auto found = descs.constFind(c);
        for (int i = c->propertyOffset(); i < c->propertyCount(); ++i) {
            TfrxPropInfo info;
            info.Meta = c->property(i);
            info.Name = QString::fromLatin1(info.Meta.name());
            info.DeclaringClass = c;
            info.Kind = kindOfType(info.Meta);
            if (found != descs.constEnd()) {
                for (const TfrxPropDesc &d : *found) {
                    if (info.Name != QLatin1String(d.Name))
                        continue;
                    info.Default = d.Default;
                    info.StoredFn = d.Stored;
                    if (d.Kind)
                        info.Kind = *d.Kind;
                }
            }
            list.push_back(std::move(info));
        }
    }
    return list;
}

} // namespace

void rudRegisterPropDescs(const QMetaObject *cls, TfrxPropDescs descs)
{
    TPropTables &t = tables();
    QMutexLocker locker(&t.Lock);
    t.Descs.insert(cls, std::move(descs));
    for (const auto &list : std::as_const(t.Lists))
        t.Retired.push_back(list);
    t.Lists.clear();
}

const TfrxPropList &rudGetPropList(const QMetaObject *cls)
{
    rudEnsureClassesRegistered();
    TPropTables &t = tables();
    QMutexLocker locker(&t.Lock);
    auto found = t.Lists.constFind(cls);
    if (found == t.Lists.constEnd())
        found = t.Lists.insert(cls, std::make_shared<const TfrxPropList>(buildList(cls, t.Descs)));
    return *found.value();
}

const TfrxPropInfo *rudFindProp(const QMetaObject *cls, const QString &name)
{
    const TfrxPropList &list = rudGetPropList(cls);
    // The most derived declaration wins, as with Qt's indexOfProperty.
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (it->Name.compare(name, Qt::CaseInsensitive) == 0)
            return &*it;
    return nullptr;
}

bool TfrxPropInfo::IsStored(const QObject *obj) const
{
    if (!Meta.isStored())
        return false;
    return !StoredFn || StoredFn(obj);
}

bool TfrxPropInfo::IsDefault(const QObject *obj) const
{
    if (!HasDefault())
        return false;
    switch (Kind) {
    case TfrxPropKind::Integer:
    case TfrxPropKind::Char:
    case TfrxPropKind::Int64:
    case TfrxPropKind::Enumeration:
    case TfrxPropKind::Set:
    case TfrxPropKind::Boolean:
        return OrdValue(obj) == Default.toLongLong();
    case TfrxPropKind::Float:
    case TfrxPropKind::DateTime:
        return FloatValue(obj) == Default.toDouble();
    case TfrxPropKind::String:
        return StrValue(obj) == Default.toString();
    default:
        return Read(obj) == Default;
    }
}

qint64 TfrxPropInfo::OrdValue(const QObject *obj) const
{
    const QVariant v = Read(obj);
    if (Kind == TfrxPropKind::Enumeration || Kind == TfrxPropKind::Set) {
        // Enumerations and QFlags hold a plain int; read it directly rather
        // than rely on a registered conversion.
        if (v.metaType().sizeOf() == int(sizeof(int)))
            return *static_cast<const int *>(v.constData());
        return v.toLongLong();
    }
    if (Kind == TfrxPropKind::Boolean)
        return v.toBool() ? 1 : 0;
    if (Kind == TfrxPropKind::Char && v.metaType().id() == QMetaType::QChar)
        return v.toChar().unicode();
    return v.toLongLong();
}

bool TfrxPropInfo::SetOrdValue(QObject *obj, qint64 value) const
{
    switch (Kind) {
    case TfrxPropKind::Enumeration:
    case TfrxPropKind::Set: {
        const int raw = int(value);
        if (Meta.metaType().sizeOf() != int(sizeof(int)))
            return Write(obj, raw);
        return Write(obj, QVariant(Meta.metaType(), &raw));
    }
    case TfrxPropKind::Boolean:
        return Write(obj, value != 0);
    case TfrxPropKind::Char:
        if (Meta.metaType().id() == QMetaType::QChar)
            return Write(obj, QChar(char16_t(value)));
        return Write(obj, QVariant::fromValue(value).value<int>());
    case TfrxPropKind::Int64:
        return Write(obj, value);
    default: {
        return Write(obj, QVariant(static_cast<int>(value)));
    }
    }
}

QObject *TfrxPropInfo::ObjectValue(const QObject *obj) const
{
    const QVariant v = Read(obj);
    if (!(v.metaType().flags() & QMetaType::PointerToQObject))
        return nullptr;
    return *static_cast<QObject *const *>(v.constData());
}

bool TfrxPropInfo::SetObjectValue(QObject *obj, QObject *value) const
{
    const QMetaObject *cls = PointeeClass();
    if (value && cls && !value->metaObject()->inherits(cls))
        return false;
    // A QVariant of the property's own pointer type: the setter receives the
    // object as the class it declares.
    return Write(obj, QVariant(Meta.metaType(), &value));
}

QString TfrxPropInfo::IdentOf(qint64 value) const
{
    if (Kind == TfrxPropKind::Boolean)
        return value ? QStringLiteral("True") : QStringLiteral("False");
    if (Kind != TfrxPropKind::Enumeration)
        return QString();
    const char *key = Enumerator().valueToKey(int(value));
    return key ? QString::fromLatin1(key) : QString();
}

std::optional<qint64> TfrxPropInfo::ValueOfIdent(const QString &ident) const
{
    if (Kind == TfrxPropKind::Boolean) {
        if (ident.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return 1;
        if (ident.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return 0;
        return std::nullopt;
    }
    const QMetaEnum e = Enumerator();
    for (int i = 0; i < e.keyCount(); ++i)
        if (ident.compare(QLatin1String(e.key(i)), Qt::CaseInsensitive) == 0)
            return e.value(i);
    return std::nullopt;
}

bool TfrxPropInfo::IsValidOrd(qint64 value) const
{
    if (Kind == TfrxPropKind::Boolean)
        return value == 0 || value == 1;
    if (Kind == TfrxPropKind::Enumeration)
        return Enumerator().valueToKey(int(value)) != nullptr && value == qint64(int(value));
    return true;
}

qint64 TfrxPropInfo::SetMask() const
{
    const QMetaEnum e = Enumerator();
    qint64 mask = 0;
    for (int i = 0; i < e.keyCount(); ++i)
        mask |= e.value(i);
    return mask;
}
