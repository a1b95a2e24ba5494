#pragma once
// The designer's selection: which objects of the shown page are selected,
// and the rules every part of the designer (workspace, inspector, report
// tree, window commands) follows when it changes them.

#include <QList>
#include <QObject>

class TfrxComponent;
class TfrxPage;

// The selected objects of one page. The page itself stands for "nothing
// selected": the list is never empty while there is a page. Changing the
// selection is quiet; the part that made a change announces it with
// Notify once the change is complete, so that a gesture that changes it
// several times is announced once.
class TfrxSelectionModel : public QObject {
    Q_OBJECT
public:
    explicit TfrxSelectionModel(QObject *Parent = nullptr);

    // True for the objects a click or a rubber band may select: the
    // report components of Page other than the page itself.
    static bool IsSelectable(const TfrxComponent *Obj, const TfrxPage *Page);

    // The page whose objects are selected (not owned). Setting it, even
    // to the same page, selects the page itself (nothing without a page).
    TfrxPage *Page() const { return FPage; }
    void SetPage(TfrxPage *Page);

    // The selection in the order it was made; the first object is the
    // reference of the alignment commands.
    const QList<TfrxComponent *> &Objects() const { return FObjects; }
    // The selection without the page.
    QList<TfrxComponent *> Views() const;
    bool Contains(const TfrxComponent *Obj) const;
    qsizetype Count() const { return FObjects.size(); }
    // The first selected object (the page when nothing else), or nullptr.
    TfrxComponent *First() const { return FObjects.isEmpty() ? nullptr : FObjects.first(); }

    // Replaces the selection by List as it stands (the page when List is
    // empty): what a pick in a list (inspector, report tree, find) does.
    // True when the selection changed.
    bool Assign(const QList<TfrxComponent *> &List);
    // Replaces the selection by the objects of List without the page and
    // repeats, and adds every object sharing a group with one of them
    // (GroupIndex not 0); the page when none is left. What a click or a
    // rubber band does. True when the selection changed.
    bool Select(const QList<TfrxComponent *> &List);
    // Shift + click on Obj: a selected object leaves with its whole group,
    // any other joins (with its group). True when the selection changed.
    bool Toggle(TfrxComponent *Obj);
    // Adds Obj unless it is selected; the page leaves the selection.
    void Add(TfrxComponent *Obj);
    // Selects the page itself.
    void Clear();
    // Every child of the page; with one band selected, or one object of a
    // band, every child of that band instead.
    void SelectAll();

    // Obj and its descendants are about to be freed: they leave the
    // selection (the page when nothing remains).
    void Forget(TfrxComponent *Obj);
    // Objects freed elsewhere (undo, an editor, a paste taken back) leave
    // the selection: only the page and what lies on it stays.
    void KeepExisting();

    // Announces a finished change: Changed(Sender). Sender is the part
    // that made it (it need not refresh itself), or nullptr.
    void Notify(QObject *Sender = nullptr);

signals:
    void Changed(QObject *Sender);

private:
    // Adds every selectable object that shares a group with a selected one.
    void AddGroups();
    // The page stands in for an empty selection.
    void FillEmpty();

    TfrxPage *FPage = nullptr;
    QList<TfrxComponent *> FObjects;
};
