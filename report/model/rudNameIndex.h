#pragma once
// The names of a component's descendants, indexed while a template loads.

#include <QHash>
#include <QPointer>
#include <QString>

class TfrxComponent;

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
    QHash<QString, QPointer<TfrxComponent>> FNames;
};
