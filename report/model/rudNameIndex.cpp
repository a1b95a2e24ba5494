#include "report/model/rudNameIndex.h"

#include "report/model/rudComponent.h"

TfrxNameKey::TfrxNameKey(const QString &AName) : Name(AName)
{
    // Seeded as every QHash of the process is, so that names made to
    // collide in one run do not collide in another.
    quint64 h = quint64(size_t(QHashSeed::globalSeed())) ^ 0x9e3779b97f4a7c15ULL;
    for (const QChar c : AName) {
        char16_t u = c.unicode();
        if (u >= 'a' && u <= 'z')
            u -= 32;
        h = (h ^ u) * 0x100000001b3ULL;
    }
    Hash = size_t(h);
}

bool operator==(const TfrxNameKey &A, const TfrxNameKey &B)
{
    return A.Hash == B.Hash && rudSameName(A.Name, B.Name);
}

size_t qHash(const TfrxNameKey &Key, size_t Seed)
{
    // The buckets are chosen by the low bits: every bit of the name's hash
    // and of the seed reaches them.
    quint64 h = Key.Hash ^ Seed;
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return size_t(h);
}

TfrxNameIndex::TfrxNameIndex(TfrxComponent *Root) : FRoot(Root)
{
    Rebuild();
}

TfrxComponent *TfrxNameIndex::Root() const
{
    return FRoot.data();
}

void TfrxNameIndex::Rebuild()
{
    FNames.clear();
    if (!FRoot)
        return;
    // Pre-order, first name wins: the object FindObject would return.
    for (TfrxComponent *c : FRoot->AllObjects()) {
        if (c->Name().isEmpty())
            continue;
        const TfrxNameKey key(c->Name());
        if (!FNames.contains(key))
            FNames.insert(key, c);
    }
}

bool TfrxNameIndex::Current(const QString &Name, TfrxComponent *Found) const
{
    if (!Found || !rudSameName(Found->Name(), Name))
        return false;
    for (TfrxComponent *p = Found->Parent(); p; p = p->Parent())
        if (p == FRoot)
            return true;
    return false;
}

TfrxComponent *TfrxNameIndex::Find(const QString &Name)
{
    if (Name.isEmpty() || !FRoot)
        return nullptr;
    const TfrxNameKey key(Name);
    auto it = FNames.constFind(key);
    if (it == FNames.constEnd())
        return nullptr;
    if (Current(Name, it->data()))
        return it->data();
    Rebuild();
    it = FNames.constFind(key);
    return it != FNames.constEnd() && Current(Name, it->data()) ? it->data() : nullptr;
}

void TfrxNameIndex::Note(TfrxComponent *Component)
{
    if (!Component || Component->Name().isEmpty())
        return;
    auto &entry = FNames[TfrxNameKey(Component->Name())];
    if (!Current(Component->Name(), entry.data()))
        entry = Component;
}

void TfrxUniqueNames::Add(const QString &Name)
{
    FNames.insert(Name.toUpper());
}

bool TfrxUniqueNames::Contains(const QString &Name) const
{
    return FNames.contains(Name.toUpper());
}

QString TfrxUniqueNames::Make(const QString &Base)
{
    const QString key = Base.toUpper();
    int &from = FFreeFrom[key];
    int n = std::max(from, 1);
    while (FNames.contains(key + QString::number(n)))
        ++n;
    from = n + 1;
    const QString name = Base + QString::number(n);
    FNames.insert(key + QString::number(n));
    return name;
}
