#include "report/model/rudPropInfo.h"

#include "report/model/rudClassRegistry.h"

#include <QHash>
#include <QMutex>
#include <algorithm>
#include <atomic>
#include <memory>
#include <unordered_map>

TfrxPersistent::~TfrxPersistent() = default;

void TfrxPersistent::AssignFrom(const TfrxPersistent &Source)
{
    rudAssignProps(this, &Source);
}

namespace {

// Hashes a name as QString::compare with Qt::CaseInsensitive sees it: each
// UTF-16 unit case-folded (a surrogate counts as nothing), so that names
// equal ignoring case hash alike.
struct TFoldedHash {
    using is_transparent = void;
    size_t operator()(QStringView Name) const
    {
        size_t h = size_t(Name.size());
        for (const QChar c : Name) {
            char16_t u = c.unicode();
            if (u < 0x80)
                u = u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
            else
                u = c.isSurrogate() ? 0 : c.toCaseFolded().unicode();
            h = h * 31 + u;
        }
        return h;
    }
};

struct TFoldedEqual {
    using is_transparent = void;
    bool operator()(QStringView A, QStringView B) const
    {
        // Names are mostly written as declared: the exact test first.
        return A.size() == B.size() && (A == B || A.compare(B, Qt::CaseInsensitive) == 0);
    }
};

// The published properties of one class and their index by name.
struct TClassProps {
    TfrxPropList List;
    std::unordered_map<QString, const TfrxPropInfo *, TFoldedHash, TFoldedEqual> ByName;
};

struct TPropTables {
    QMutex Lock;
    QHash<const QMetaObject *, TfrxPropDescs> Descs;
    QHash<const QMetaObject *, std::shared_ptr<const TClassProps>> Lists;
    QStringList Errors;
    // Lists dropped by a later registration; callers may still hold them.
    std::vector<std::shared_ptr<const TClassProps>> Retired;
};

TPropTables &tables()
{
    static TPropTables t;
    return t;
}

// Changes whenever the lists are dropped for a new registration.
std::atomic<unsigned> &propsGeneration()
{
    static std::atomic<unsigned> generation{1};
    return generation;
}

} // namespace

TfrxPropKind rudPropKindOfType(const QMetaProperty &prop)
{
    const TfrxPropKind kind = propKindOfType(prop);
    if (kind == TfrxPropKind::Object) {
        const QMetaObject *cls = prop.metaType().metaObject();
        if (cls && cls->inherits(&TfrxComponent::staticMetaObject))
            return TfrxPropKind::Component;
    }
    return kind;
}

QString rudTypeNameOfKind(const TfrxPropInfo &Info)
{
    switch (Info.Kind) {
    case TfrxPropKind::Integer:
        return QStringLiteral("Integer");
    case TfrxPropKind::Int64:
        return QStringLiteral("Int64");
    case TfrxPropKind::Char:
        return QStringLiteral("Char");
    case TfrxPropKind::Boolean:
        return QStringLiteral("Boolean");
    case TfrxPropKind::Float:
        return QStringLiteral("Extended");
    case TfrxPropKind::DateTime:
        return QStringLiteral("TDateTime");
    case TfrxPropKind::String:
        return QStringLiteral("String");
    case TfrxPropKind::Variant:
        return QStringLiteral("Variant");
    case TfrxPropKind::Enumeration:
    case TfrxPropKind::Set:
        return QString::fromLatin1(Info.Enumerator().name());
    case TfrxPropKind::StringList:
        return QStringLiteral("TStrings");
    case TfrxPropKind::WideStringList:
        return QStringLiteral("TWideStrings");
    case TfrxPropKind::Component:
    case TfrxPropKind::Object: {
        const QMetaObject *cls = Info.PointeeClass();
        return cls ? QString::fromLatin1(cls->className()) : QStringLiteral("TObject");
    }
    case TfrxPropKind::Method:
        return QStringLiteral("TMethod");
    case TfrxPropKind::Unknown:
        break;
    }
    return QString();
}

void rudAddTypeName(TfrxPropDescs &Descs, const char *TypeName, std::initializer_list<const char *> Names)
{
    for (const char *name : Names) {
        const auto found = std::find_if(Descs.begin(), Descs.end(),
                                        [name](const TfrxPropDesc &d) { return qstrcmp(d.Name, name) == 0; });
        if (found != Descs.end())
            found->TypeName = TypeName;
        else
            Descs.push_back(TfrxPropDesc{.Name = name, .TypeName = TypeName});
    }
}

namespace {

void addDescError(TPropTables &t, const QString &text)
{
    if (!t.Errors.contains(text)) {
        t.Errors.append(text);
        qWarning("%s", qPrintable(text));
    }
}

// The C++ type in which the typed reads take a property's value.
TfrxPropInfo::TAccess accessOf(const TfrxPropInfo &Info)
{
    using TAccess = TfrxPropInfo::TAccess;
    const int id = Info.Type.id();
    if (id == QMetaType::Bool)
        return Info.Kind == TfrxPropKind::Boolean ? TAccess::Bool : TAccess::Variant;
    // Enumerations and QFlags hold a plain int.
    if ((id == QMetaType::Int && Info.Kind != TfrxPropKind::Boolean) ||
        ((Info.Kind == TfrxPropKind::Enumeration || Info.Kind == TfrxPropKind::Set) &&
         Info.Type.sizeOf() == int(sizeof(int))))
        return TAccess::Int;
    if (id == QMetaType::Double)
        return TAccess::Double;
    if (id == QMetaType::QString)
        return TAccess::String;
    if ((Info.Kind == TfrxPropKind::Object || Info.Kind == TfrxPropKind::Component) &&
        (Info.Type.flags() & QMetaType::PointerToQObject))
        return TAccess::Object;
    return TAccess::Variant;
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
            info.Index = i;
            info.Type = info.Meta.metaType();
            info.StaticCall = c->d.static_metacall;
            info.LocalIndex = i - c->propertyOffset();
            info.Kind = rudPropKindOfType(info.Meta);
            if (found != descs.constEnd()) {
                for (const TfrxPropDesc &d : *found) {
                    if (info.Name != QLatin1String(d.Name))
                        continue;
                    info.Default = d.Default;
                    info.StoredFn = d.Stored;
                    info.NewObjectDiffers = d.NewObjectDiffers;
                    if (d.Kind)
                        info.Kind = *d.Kind;
                    if (d.TypeName)
                        info.TypeName = QString::fromLatin1(d.TypeName);
                }
            }
            if (info.TypeName.isEmpty())
                info.TypeName = rudTypeNameOfKind(info);
            info.Access = accessOf(info);
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
    for (const TfrxPropDesc &d : descs)
        if (cls->indexOfProperty(d.Name) < 0)
            addDescError(t, QStringLiteral("%1.%2 names no property").arg(QLatin1String(cls->className()),
                                                                          QLatin1String(d.Name)));
    t.Descs.insert(cls, std::move(descs));
    for (const auto &list : std::as_const(t.Lists))
        t.Retired.push_back(list);
    t.Lists.clear();
    propsGeneration().fetch_add(1, std::memory_order_acq_rel);
}

namespace {

const TClassProps &classProps(const QMetaObject *cls)
{
    // Every attribute read or written looks its class up: a small cache per
    // thread answers without the lock. A registration of descriptors bumps
    // the generation, which empties every cache (the lists it held stay
    // alive among the retired ones).
    struct TCacheEntry {
        const QMetaObject *Class = nullptr;
        const TClassProps *Props = nullptr;
        unsigned Generation = 0;
    };
    thread_local TCacheEntry cache[16];
    TCacheEntry &entry = cache[(quintptr(cls) >> 4) % 16];
    const unsigned generation = propsGeneration().load(std::memory_order_acquire);
    if (entry.Class == cls && entry.Generation == generation)
        return *entry.Props;

    rudEnsureClassesRegistered();
    TPropTables &t = tables();
    QMutexLocker locker(&t.Lock);
    auto found = t.Lists.constFind(cls);
    if (found == t.Lists.constEnd()) {
        auto props = std::make_shared<TClassProps>();
        props->List = buildList(cls, t.Descs);
        // The most derived declaration wins, as with Qt's indexOfProperty:
        // later entries of the list replace earlier ones of the same name.
        for (const TfrxPropInfo &info : props->List)
            props->ByName.insert_or_assign(info.Name, &info);
        found = t.Lists.insert(cls, std::move(props));
    }
    entry = {cls, found.value().get(), propsGeneration().load(std::memory_order_acquire)};
    return *found.value();
}

} // namespace

const TfrxPropList &rudGetPropList(const QMetaObject *cls)
{
    return classProps(cls).List;
}

const TfrxPropInfo *rudFindProp(const QMetaObject *cls, QStringView name)
{
    const TClassProps &props = classProps(cls);
    const auto found = props.ByName.find(name);
    return found == props.ByName.end() ? nullptr : found->second;
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
    if (isOrdinalPropKind(Kind))
        return OrdValue(obj) == Default.toLongLong();
    switch (Kind) {
    case TfrxPropKind::Float:
    case TfrxPropKind::DateTime:
        return FloatValue(obj) == Default.toDouble();
    case TfrxPropKind::String:
        return StrValue(obj) == Default.toString();
    default:
        return Read(obj) == Default;
    }
}

namespace {

// Writes Value, an object of the property's own C++ type, through the
// meta-call that QMetaProperty::write makes once it holds such a value.
template <class T>
void writeFrom(const TfrxPropInfo &Prop, QObject *obj, T &Value)
{
    int status = -1;
    int flags = 0;
    void *argv[] = {&Value, nullptr, &status, &flags};
    if (Prop.StaticCall)
        Prop.StaticCall(obj, QMetaObject::WriteProperty, Prop.LocalIndex, argv);
    else
        QMetaObject::metacall(obj, QMetaObject::WriteProperty, Prop.Index, argv);
}

} // namespace

bool TfrxPropInfo::SetFloatValue(QObject *obj, double value) const
{
    if (Index >= 0 && Type.id() == QMetaType::Double) {
        if (!IsWritable())
            return false;
        writeFrom(*this, obj, value);
        return true;
    }
    return Write(obj, value);
}

bool TfrxPropInfo::SetStrValue(QObject *obj, const QString &value) const
{
    if (Index >= 0 && Type.id() == QMetaType::QString) {
        if (!IsWritable())
            return false;
        QString v = value;
        writeFrom(*this, obj, v);
        return true;
    }
    return Write(obj, value);
}

bool TfrxPropInfo::CopyValue(QObject *Dest, const QObject *Source) const
{
    if (Index >= 0) {
        switch (Type.id()) {
        case QMetaType::Int:
            if (Kind == TfrxPropKind::Integer)
                return SetOrdValue(Dest, OrdValue(Source));
            break;
        case QMetaType::Bool:
            if (Kind == TfrxPropKind::Boolean)
                return SetOrdValue(Dest, OrdValue(Source));
            break;
        case QMetaType::Double:
            return SetFloatValue(Dest, FloatValue(Source));
        case QMetaType::QString:
            return SetStrValue(Dest, StrValue(Source));
        default:
            if ((Kind == TfrxPropKind::Enumeration || Kind == TfrxPropKind::Set) &&
                Type.sizeOf() == int(sizeof(int)))
                return SetOrdValue(Dest, OrdValue(Source));
            break;
        }
    }
    return Write(Dest, Read(Source));
}

qint64 TfrxPropInfo::OrdValueOfVariant(const QObject *obj) const
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
    // The value in the property's own type goes straight to the setter.
    if (Index >= 0) {
        const int id = Type.id();
        const bool asInt = ((Kind == TfrxPropKind::Enumeration || Kind == TfrxPropKind::Set) &&
                            Type.sizeOf() == int(sizeof(int))) ||
                           (Kind == TfrxPropKind::Integer && id == QMetaType::Int);
        if (asInt || (Kind == TfrxPropKind::Boolean && id == QMetaType::Bool)) {
            if (!IsWritable())
                return false;
            if (asInt) {
                int raw = int(value);
                writeFrom(*this, obj, raw);
            } else {
                bool raw = value != 0;
                writeFrom(*this, obj, raw);
            }
            return true;
        }
    }
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
    if (Access == TAccess::Object)
        return ReadAs<QObject *>(obj);
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
    // A value of the property's own pointer type: the setter receives the
    // object as the class it declares.
    if (Index >= 0 && (Type.flags() & QMetaType::PointerToQObject)) {
        if (!IsWritable())
            return false;
        writeFrom(*this, obj, value);
        return true;
    }
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
    // Only names of the same length can be equal ignoring case: the cheap
    // test runs first, for every identifier of every template attribute.
    auto same = [&ident](QLatin1String name) {
        return name.size() == ident.size() && ident.compare(name, Qt::CaseInsensitive) == 0;
    };
    if (Kind == TfrxPropKind::Boolean) {
        if (same(QLatin1String("True")))
            return 1;
        if (same(QLatin1String("False")))
            return 0;
        return std::nullopt;
    }
    const QMetaEnum e = Enumerator();
    for (int i = 0; i < e.keyCount(); ++i)
        if (same(QLatin1String(e.key(i))))
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

QStringList rudPropDescErrors()
{
    TPropTables &t = tables();
    QMutexLocker locker(&t.Lock);
    return t.Errors;
}

TfrxPropDescs rudDefaultsOf(const QObject &Fresh, std::initializer_list<const char *> Names)
{
    TfrxPropDescs result;
    const QMetaObject *cls = Fresh.metaObject();
    for (const char *name : Names) {
        const int index = cls->indexOfProperty(name);
        if (index < 0) {
            TPropTables &t = tables();
            QMutexLocker locker(&t.Lock);
            addDescError(t, QStringLiteral("%1.%2 names no property").arg(QLatin1String(cls->className()),
                                                                          QLatin1String(name)));
            continue;
        }
        TfrxPropInfo info;
        info.Meta = cls->property(index);
        info.Kind = rudPropKindOfType(info.Meta);
        QVariant value;
        if (isOrdinalPropKind(info.Kind))
            value = info.OrdValue(&Fresh);
        else if (info.Kind == TfrxPropKind::Float)
            value = info.FloatValue(&Fresh);
        else
            value = info.Read(&Fresh);
        result.push_back(TfrxPropDesc{name, value});
    }
    return result;
}

void rudAssignProps(QObject *Dest, const QObject *Source)
{
    if (!Dest || !Source || Dest == Source || Dest->metaObject() != Source->metaObject())
        return;
    for (const TfrxPropInfo &prop : rudGetPropList(Dest)) {
        if (!prop.Meta.isStored() || !prop.IsReadable())
            continue;
        if (prop.Kind == TfrxPropKind::Object) {
            QObject *dest = prop.ObjectValue(Dest);
            QObject *source = prop.ObjectValue(Source);
            auto *destPersistent = dynamic_cast<TfrxPersistent *>(dest);
            auto *sourcePersistent = dynamic_cast<TfrxPersistent *>(source);
            if (destPersistent && sourcePersistent && dest->metaObject() == source->metaObject())
                destPersistent->AssignFrom(*sourcePersistent);
            else if (source && prop.IsWritable())
                prop.SetObjectValue(Dest, source);
            continue;
        }
        if (prop.IsWritable())
            prop.CopyValue(Dest, Source);
    }
    auto *dest = dynamic_cast<TfrxPersistent *>(Dest);
    auto *source = dynamic_cast<const TfrxPersistent *>(Source);
    if (dest && source) {
        const QByteArray data = source->GetPropData();
        if (data != dest->GetPropData())
            dest->SetPropData(data);
    }
}

bool rudSameProps(const QObject *A, const QObject *B)
{
    if (A == B)
        return true;
    if (!A || !B || A->metaObject() != B->metaObject())
        return false;
    for (const TfrxPropInfo &prop : rudGetPropList(A)) {
        if (!prop.Meta.isStored() || !prop.IsReadable())
            continue;
        bool same = true;
        if (isOrdinalPropKind(prop.Kind))
            same = prop.OrdValue(A) == prop.OrdValue(B);
        else if (prop.Kind == TfrxPropKind::Float || prop.Kind == TfrxPropKind::DateTime)
            same = prop.FloatValue(A) == prop.FloatValue(B);
        else if (prop.Kind == TfrxPropKind::String)
            same = prop.StrValue(A) == prop.StrValue(B);
        else if (prop.Kind == TfrxPropKind::StringList || prop.Kind == TfrxPropKind::WideStringList)
            same = prop.ListValue(A) == prop.ListValue(B);
        else if (prop.Kind == TfrxPropKind::Object)
            same = rudSameProps(prop.ObjectValue(A), prop.ObjectValue(B));
        else if (prop.Kind == TfrxPropKind::Component)
            same = prop.ObjectValue(A) == prop.ObjectValue(B);
        else
            same = prop.Read(A) == prop.Read(B);
        if (!same)
            return false;
    }
    auto *a = dynamic_cast<const TfrxPersistent *>(A);
    auto *b = dynamic_cast<const TfrxPersistent *>(B);
    return !a || !b || a->GetPropData() == b->GetPropData();
}
