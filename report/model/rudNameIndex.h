#pragma once
// The names of a component's descendants, indexed while a template loads,
// and a maker of unique names over a growing set of names.

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QString>

class TfrxComponent;

// A component name as a key: compared and hashed with ASCII case ignored,
// so that looking a name up needs no case-folded copy of it. The key keeps
// its hash: growing the index and stepping over other names while probing
// then never read the names' characters, which in a large template are
// scattered over memory.
struct TfrxNameKey {
    explicit TfrxNameKey(const QString &AName);
    QString Name;
    size_t Hash;
};
bool operator==(const TfrxNameKey &A, const TfrxNameKey &B);
size_t qHash(const TfrxNameKey &Key, size_t Seed = 0);

// Answers "which descendant of Root has this name" in constant time, so that
// loading (merging elements of the same name, resolving references, checking
// and making unique names) stays linear in the number of objects. Entries
// whose object went away, moved out of Root or was renamed behind the index's
// back are noticed on lookup and the index is rebuilt.
class TfrxNameIndex {
public:
    explicit TfrxNameIndex(TfrxComponent *Root);

    // The component indexed; nullptr once it is gone.
    TfrxComponent *Root() const;
    // The descendant of Root named Name (ASCII case ignored), as
    // TfrxComponent::FindObject finds it; nullptr when there is none.
    TfrxComponent *Find(const QString &Name);
    // Records Component under its present name (after a rename or creation).
    void Note(TfrxComponent *Component);

private:
    void Rebuild();
    bool Current(const QString &Name, TfrxComponent *Found) const;

    QPointer<TfrxComponent> FRoot;
    QHash<TfrxNameKey, QPointer<TfrxComponent>> FNames;
};

// Free names Base + n (n = 1, 2, ...) among a set of names that only grows
// while it is used (names compare with case ignored, as the designer's
// TfrxComponent::CreateUniqueName compares them). Each base remembers the
// number below which all its names are taken, so that making many names of
// one base (pasting thousands of objects) walks every number once.
class TfrxUniqueNames {
public:
    void Add(const QString &Name);
    bool Contains(const QString &Name) const;
    // The first Base + n not in the set, which is added to it.
    QString Make(const QString &Base);

private:
    QSet<QString> FNames;         // upper case
    QHash<QString, int> FFreeFrom; // upper-case base -> first number that may be free
};
