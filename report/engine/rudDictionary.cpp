// The alias dictionary and the outline of the prepared pages store.

#include "report/engine/rudPreviewPages.h"

#include "report/model/rudComponent.h"

#include "base/TextCase.h"

// ---- TfrxDictionary ------------------------------------------------------------

int TfrxDictionary::IndexOf(const QString &Name) const
{
    const auto found = FNames.constFind(lowerCased(Name));
    return found == FNames.constEnd() ? -1 : found.value();
}

void TfrxDictionary::Add(const QString &Name, const QString &SourceName, TfrxComponent *Obj)
{
    const QString key = lowerCased(Name);
    if (FNames.contains(key))
        return;
    FSourceNames.push_back(TEntry{Name, SourceName, Obj});
    FNames.insert(key, int(FSourceNames.size()) - 1);
}

QString TfrxDictionary::CreateUniqueName(const QString &Base) const
{
    // Every probe is Base + a number: one key buffer is rewritten in place
    // (in lower case, as the aliases are kept) instead of building texts.
    QString key = lowerCased(Base);
    const qsizetype stem = key.size();
    auto taken = [&](int n) {
        key.truncate(stem);
        key += QString::number(n);
        return FNames.contains(key);
    };
    int i = 10000;
    while (i > 1 && !taken(i))
        i /= 2;
    // Counting on from i: runs of taken numbers found by earlier searches
    // are stepped over whole, and every number passed now points past the
    // free one found, so that each taken number is walked at most once.
    QHash<int, int> &runs = FTakenRuns[key.left(stem)];
    std::vector<int> passed;
    while (taken(i)) {
        passed.push_back(i);
        const auto run = runs.constFind(i);
        i = run == runs.constEnd() ? i + 1 : run.value();
    }
    for (const int n : passed)
        runs.insert(n, i);
    return Base + QString::number(i);
}

QString TfrxDictionary::AddUnique(const QString &Base, const QString &SourceName, TfrxComponent *Obj)
{
    const QString name = CreateUniqueName(Base);
    Add(name, SourceName, Obj);
    return name;
}

TfrxComponent *TfrxDictionary::GetObject(const QString &Name) const
{
    const int i = IndexOf(Name);
    return i < 0 ? nullptr : FSourceNames[size_t(i)].Obj.data();
}

QString TfrxDictionary::GetSourceName(const QString &Name) const
{
    const int i = IndexOf(Name);
    return i < 0 ? QString() : FSourceNames[size_t(i)].SourceName;
}

bool TfrxDictionary::Contains(const QString &Name) const
{
    return FNames.contains(lowerCased(Name));
}

void TfrxDictionary::Clear()
{
    FNames.clear();
    FSourceNames.clear();
    FTakenRuns.clear();
}

QStringList TfrxDictionary::Names() const
{
    QStringList result;
    result.reserve(FNames.size());
    for (const int i : FNames)
        result.append(FSourceNames[size_t(i)].Name);
    return result;
}

// ---- TfrxOutline ----------------------------------------------------------------

namespace {

// Moves an outline or anchor item and its subtree to the next page, its top
// by Shift.
void shiftItem(TfrxXMLItem *Item, int Shift)
{
    Item->SetProp(QStringLiteral("page"), QString::number(Item->Prop(QStringLiteral("page")).toInt() + 1));
    Item->SetProp(QStringLiteral("top"), QString::number(Item->Prop(QStringLiteral("top")).toInt() + Shift));
    for (int i = 0; i < Item->Count(); ++i)
        shiftItem(Item->Items(i), Shift);
}

} // namespace

void rudShiftOutlineItems(TfrxXMLItem *Parent, int From, int NewTop)
{
    if (!Parent || From < 0 || From >= Parent->Count())
        return;
    const int shift = NewTop - Parent->Items(From)->Prop(QStringLiteral("top")).toInt();
    for (int i = From; i < Parent->Count(); ++i)
        shiftItem(Parent->Items(i), shift);
}

TfrxOutline::TfrxOutline(TfrxPreviewPages *APreviewPages) : FPreviewPages(APreviewPages) {}

TfrxXMLItem *TfrxOutline::Root() const
{
    return FPreviewPages->RootChild("outline");
}

TfrxXMLItem *TfrxOutline::Current() const
{
    return FCurItem ? FCurItem : Root();
}

void TfrxOutline::AddItem(const QString &Text, int Top)
{
    TfrxXMLItem *item = Current()->Add(QStringLiteral("item"));
    item->SetProp(QStringLiteral("text"), Text);
    item->SetProp(QStringLiteral("page"), QString::number(FPreviewPages->CurPage()));
    item->SetProp(QStringLiteral("top"), QString::number(Top));
    FCurItem = item;
}

void TfrxOutline::LevelDown(int Index)
{
    TfrxXMLItem *current = Current();
    if (Index >= 0 && Index < current->Count())
        FCurItem = current->Items(Index);
}

void TfrxOutline::LevelRoot()
{
    FCurItem = nullptr;
}

void TfrxOutline::LevelUp()
{
    if (!FCurItem)
        return;
    TfrxXMLItem *parent = FCurItem->Parent();
    FCurItem = parent == Root() ? nullptr : parent;
}

void TfrxOutline::ShiftItems(TfrxXMLItem *From, int NewTop)
{
    if (!From || !From->Parent())
        return;
    TfrxXMLItem *parent = From->Parent();
    rudShiftOutlineItems(parent, parent->IndexOf(From) + 1, NewTop);
}

int TfrxOutline::Count() const
{
    return Current()->Count();
}

void TfrxOutline::GetItem(int Index, QString &Text, int &Page, int &Top) const
{
    TfrxXMLItem *current = Current();
    if (Index < 0 || Index >= current->Count()) {
        Text.clear();
        Page = Top = 0;
        return;
    }
    const TfrxXMLItem *item = current->Items(Index);
    Text = item->Prop(QStringLiteral("text"));
    Page = item->Prop(QStringLiteral("page")).toInt();
    Top = item->Prop(QStringLiteral("top")).toInt();
}
