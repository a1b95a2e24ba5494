// The design-time interface: the property editor base, the editor
// registry and the property lists built from the published properties.

#include "designer/rudDsgnIntf.h"

#include "base/Errors.h"
#include "designer/rudCustomDesigner.h"
#include "report/model/rudComponent.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"

#include <QPainter>
#include <algorithm>

// ---- Property types

bool rudIsEventType(const QString &TypeName)
{
    return TypeName.startsWith(QLatin1String("tfrx"), Qt::CaseInsensitive) &&
           TypeName.endsWith(QLatin1String("event"), Qt::CaseInsensitive);
}

void rudInvalidPropertyValue()
{
    throw EGeneralError(rudResources().Get(QStringLiteral("prInvProp")));
}

// ---- TfrxPropertyEditor

TfrxPropertyEditor::TfrxPropertyEditor(TfrxCustomDesigner *Designer) : FDesigner(Designer) {}

TfrxPropertyEditor::~TfrxPropertyEditor() = default;

TfrxPropertyAttributes TfrxPropertyEditor::GetAttributes()
{
    return paMultiSelect;
}

QString TfrxPropertyEditor::GetName()
{
    const TfrxPropInfo *prop = PropInfo();
    return prop ? prop->Name : QString();
}

QString TfrxPropertyEditor::GetValue()
{
    return QStringLiteral("(Unknown)");
}

void TfrxPropertyEditor::GetValues()
{
    FValues.clear();
}

void TfrxPropertyEditor::SetValue(const QString &) {}

bool TfrxPropertyEditor::Edit()
{
    const QStringList values = ValueList();
    if (values.isEmpty())
        return false;
    // The entry after the current value; the first when the value is the
    // last entry or none of them.
    const QString current = GetValue();
    qsizetype index = -1;
    for (qsizetype i = 0; i < values.size(); ++i)
        if (values.at(i).compare(current, Qt::CaseInsensitive) == 0) {
            index = i;
            break;
        }
    SetValue(values.at((index + 1) % values.size()));
    return true;
}

void TfrxPropertyEditor::OnDrawLBItem(QPainter &Canvas, int Index, const QRect &ARect)
{
    if (Index >= 0 && Index < FValues.size())
        Canvas.drawText(ARect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, FValues.at(Index));
}

void TfrxPropertyEditor::OnDrawItem(QPainter &Canvas, const QRect &ARect)
{
    Canvas.drawText(ARect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, GetValue());
}

int TfrxPropertyEditor::GetExtraLBSize()
{
    return 0;
}

QStringList TfrxPropertyEditor::ValueList()
{
    FValues.clear();
    GetValues();
    if (GetAttributes() & paSortList)
        std::sort(FValues.begin(), FValues.end(),
                  [](const QString &A, const QString &B) { return A.compare(B, Qt::CaseInsensitive) < 0; });
    return FValues;
}

void TfrxPropertyEditor::AddObject(QObject *Component, const TfrxPropInfo *Prop)
{
    FCompList.append(Component);
    FPropList.append(Prop);
}

QObject *TfrxPropertyEditor::Component() const
{
    return FCompList.isEmpty() ? nullptr : FCompList.first().data();
}

const TfrxPropInfo *TfrxPropertyEditor::PropInfo() const
{
    return FPropList.isEmpty() ? nullptr : FPropList.first();
}

TfrxReport *TfrxPropertyEditor::Report() const
{
    for (QObject *obj = Component(); obj; obj = obj->parent())
        if (auto *component = dynamic_cast<TfrxComponent *>(obj))
            if (TfrxReport *report = component->Report())
                return report;
    return FDesigner ? FDesigner->Report() : nullptr;
}

qint64 TfrxPropertyEditor::GetOrdValue() const
{
    QObject *obj = Component();
    return obj ? PropInfo()->OrdValue(obj) : 0;
}

double TfrxPropertyEditor::GetFloatValue() const
{
    QObject *obj = Component();
    return obj ? PropInfo()->FloatValue(obj) : 0;
}

QString TfrxPropertyEditor::GetStrValue() const
{
    QObject *obj = Component();
    return obj ? PropInfo()->StrValue(obj) : QString();
}

QStringList TfrxPropertyEditor::GetListValue() const
{
    QObject *obj = Component();
    return obj ? PropInfo()->ListValue(obj) : QStringList();
}

QObject *TfrxPropertyEditor::GetObjValue() const
{
    QObject *obj = Component();
    return obj ? PropInfo()->ObjectValue(obj) : nullptr;
}

namespace {

// Switches the designer's inspector updates off for its lifetime, unless
// switched on earlier.
class TInspectorLock {
public:
    explicit TInspectorLock(TfrxCustomDesigner *Designer) : FDesigner(Designer)
    {
        if (FDesigner)
            FDesigner->DisableInspectorUpdate();
    }
    ~TInspectorLock() { Release(); }
    void Release()
    {
        if (FDesigner)
            FDesigner->EnableInspectorUpdate();
        FDesigner = nullptr;
    }

private:
    TfrxCustomDesigner *FDesigner;
};

} // namespace

void TfrxPropertyEditor::WriteAll(const std::function<bool(QObject *, const TfrxPropInfo &)> &Write)
{
    std::vector<std::pair<QObject *, const TfrxPropInfo *>> targets;
    for (int i = 0; i < FCompList.size(); ++i)
        if (FCompList.at(i) && FPropList.at(i)->IsWritable())
            targets.emplace_back(FCompList.at(i).data(), FPropList.at(i));
    TInspectorLock lock(targets.size() > 1 ? FDesigner : nullptr);
    bool refused = false;
    for (size_t i = 0; i < targets.size(); ++i) {
        if (i + 1 == targets.size())
            lock.Release();
        if (!Write(targets[i].first, *targets[i].second))
            refused = true;
    }
    if (refused)
        rudInvalidPropertyValue();
}

void TfrxPropertyEditor::SetOrdValue(qint64 Value)
{
    WriteAll([Value](QObject *Obj, const TfrxPropInfo &Prop) { return Prop.SetOrdValue(Obj, Value); });
}

void TfrxPropertyEditor::SetFloatValue(double Value)
{
    WriteAll([Value](QObject *Obj, const TfrxPropInfo &Prop) { return Prop.SetFloatValue(Obj, Value); });
}

void TfrxPropertyEditor::SetStrValue(const QString &Value)
{
    WriteAll([&Value](QObject *Obj, const TfrxPropInfo &Prop) { return Prop.SetStrValue(Obj, Value); });
}

void TfrxPropertyEditor::SetListValue(const QStringList &Value)
{
    WriteAll([&Value](QObject *Obj, const TfrxPropInfo &Prop) { return Prop.SetListValue(Obj, Value); });
}

void TfrxPropertyEditor::SetObjValue(QObject *Value)
{
    WriteAll([Value](QObject *Obj, const TfrxPropInfo &Prop) { return Prop.SetObjectValue(Obj, Value); });
}

// ---- TfrxPropertyList

TfrxPropertyItem &TfrxPropertyList::Add()
{
    FItems.push_back(std::make_unique<TfrxPropertyItem>());
    return *FItems.back();
}

TfrxPropertyItem *TfrxPropertyList::Find(const QString &Name)
{
    for (auto &item : FItems)
        if (item->Editor->GetName().compare(Name, Qt::CaseInsensitive) == 0)
            return item.get();
    return nullptr;
}

std::unique_ptr<TfrxPropertyList> TfrxPropertyList::Extract(const std::function<bool(TfrxPropertyItem &)> &Pred)
{
    auto result = std::make_unique<TfrxPropertyList>(FComponent, FParent);
    std::vector<std::unique_ptr<TfrxPropertyItem>> kept;
    for (auto &item : FItems) {
        if (Pred(*item))
            result->FItems.push_back(std::move(item));
        else
            kept.push_back(std::move(item));
    }
    FItems = std::move(kept);
    return result;
}

void TfrxPropertyList::Sort()
{
    std::stable_sort(FItems.begin(), FItems.end(), [](const auto &A, const auto &B) {
        return A->Editor->GetName().compare(B->Editor->GetName(), Qt::CaseInsensitive) < 0;
    });
}

// ---- Registry

TfrxPropertyEditorCollection::TfrxPropertyEditorCollection() = default;

void TfrxPropertyEditorCollection::Register(const QString &PropertyType, const QMetaObject *ComponentClass,
                                            const QString &PropertyName, TfrxPropertyEditorClass EditorClass)
{
    FItems.push_back({PropertyType, ComponentClass, PropertyName, std::move(EditorClass)});
}

void TfrxPropertyEditorCollection::RegisterEventEditor(TfrxPropertyEditorClass EditorClass)
{
    FEventEditor = std::move(EditorClass);
}

int TfrxPropertyEditorCollection::GetPropertyEditor(const QString &PropertyType, const QObject *Component,
                                                    const QString &PropertyName) const
{
    int byType = -1;
    for (int i = Count() - 1; i >= 0; --i) {
        const TfrxPropertyEditorItem &item = FItems.at(size_t(i));
        if (!item.PropertyName.isEmpty()) {
            if (item.PropertyName.compare(PropertyName, Qt::CaseInsensitive) != 0)
                continue;
            if (item.ComponentClass ? Component && Component->metaObject()->inherits(item.ComponentClass)
                                    : item.PropertyType == PropertyType)
                return i;
        } else if (!item.ComponentClass && item.PropertyType == PropertyType) {
            byType = i; // an older entry of the type replaces a newer one
        }
    }
    return byType;
}

void registerBasicEditors(TfrxPropertyEditorCollection &Editors); // rudDsgnIntfEditors.cpp

TfrxPropertyEditorCollection &rudPropertyEditors()
{
    static TfrxPropertyEditorCollection *editors = [] {
        auto *e = new TfrxPropertyEditorCollection;
        registerBasicEditors(*e);
        return e;
    }();
    return *editors;
}

void rudHideProperties(const QMetaObject *ComponentClass, const QString &Properties)
{
    const QStringList names = Properties.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &name : names)
        rudPropertyEditors().Register(QString(), ComponentClass, name.trimmed(), nullptr);
}

// ---- Building lists

namespace {

// Sub-objects nest a few levels (frame -> frame line); the limit only
// guards against a model whose objects refer to each other in a loop.
constexpr int MaxDepth = 8;

std::unique_ptr<TfrxPropertyList> createList(QObject *Component, TfrxCustomDesigner *Designer,
                                             TfrxPropertyItem *Parent, int Depth);

// The sub-rows of a row: the properties of the sub-object it holds, or
// the elements of its set.
void addSubList(TfrxPropertyItem &Item, QObject *Component, const TfrxPropInfo &Prop, TfrxCustomDesigner *Designer,
                int Depth)
{
    if (!(Item.Editor->GetAttributes() & paSubProperties) || Depth >= MaxDepth)
        return;
    if (Prop.Kind == TfrxPropKind::Set) {
        auto list = std::make_unique<TfrxPropertyList>(Component, &Item);
        const QMetaEnum e = Prop.Enumerator();
        for (int i = 0; i < e.keyCount(); ++i) {
            if (e.value(i) == 0)
                continue;
            TfrxPropertyItem &element = list->Add();
            element.Editor = std::make_unique<TfrxSetElementProperty>(Designer, e.value(i),
                                                                      QString::fromLatin1(e.key(i)));
            element.Editor->AddObject(Component, &Prop);
        }
        Item.SubProperty = std::move(list);
    } else if (Prop.Kind == TfrxPropKind::Object) {
        if (QObject *sub = Prop.ObjectValue(Component))
            Item.SubProperty = createList(sub, Designer, &Item, Depth + 1);
    }
}

std::unique_ptr<TfrxPropertyList> createList(QObject *Component, TfrxCustomDesigner *Designer,
                                             TfrxPropertyItem *Parent, int Depth)
{
    auto list = std::make_unique<TfrxPropertyList>(Component, Parent);
    for (const TfrxPropInfo &prop : rudGetPropList(Component)) {
        if (prop.Kind == TfrxPropKind::Unknown || !prop.IsReadable())
            continue;
        std::unique_ptr<TfrxPropertyEditor> editor = rudCreatePropertyEditor(Component, prop, Designer);
        if (!editor)
            continue;
        // A class redeclaring an inherited property lists it once.
        if (list->Find(prop.Name))
            continue;
        TfrxPropertyItem &item = list->Add();
        item.Editor = std::move(editor);
        addSubList(item, Component, prop, Designer, Depth);
    }
    list->Sort();
    return list;
}

// The row of Other matching Item: same name, same kind and, for rows with
// sub-rows of sub-objects, sub-objects of the same class.
TfrxPropertyItem *matchingItem(TfrxPropertyItem &Item, TfrxPropertyList &Other)
{
    TfrxPropertyItem *match = Other.Find(Item.Editor->GetName());
    if (!match || match->Editor->PropInfo()->Kind != Item.Editor->PropInfo()->Kind)
        return nullptr;
    if (bool(Item.SubProperty) != bool(match->SubProperty))
        return nullptr;
    if (Item.SubProperty && Item.Editor->PropInfo()->Kind == TfrxPropKind::Object &&
        Item.SubProperty->Component()->metaObject() != match->SubProperty->Component()->metaObject())
        return nullptr;
    return match;
}

// Keeps in First the multi-select rows every list of Others has, and gives
// their editors the objects of the matching rows.
void mergeLists(TfrxPropertyList &First, const std::vector<TfrxPropertyList *> &Others)
{
    for (int i = First.Count() - 1; i >= 0; --i) {
        TfrxPropertyItem &item = First.Items(i);
        bool keep = bool(item.Editor->GetAttributes() & paMultiSelect);
        std::vector<TfrxPropertyItem *> matches;
        for (TfrxPropertyList *other : Others) {
            if (!keep)
                break;
            TfrxPropertyItem *match = matchingItem(item, *other);
            if (!match)
                keep = false;
            else
                matches.push_back(match);
        }
        if (!keep) {
            First.Delete(i);
            continue;
        }
        std::vector<TfrxPropertyList *> subLists;
        for (TfrxPropertyItem *match : matches) {
            for (int k = 0; k < match->Editor->ObjectCount(); ++k)
                item.Editor->AddObject(match->Editor->Objects(k), match->Editor->Props(k));
            if (match->SubProperty)
                subLists.push_back(match->SubProperty.get());
        }
        if (item.SubProperty)
            mergeLists(*item.SubProperty, subLists);
    }
}

} // namespace

std::unique_ptr<TfrxPropertyEditor> rudCreatePropertyEditor(QObject *Component, const TfrxPropInfo &Prop,
                                                            TfrxCustomDesigner *Designer)
{
    if (Prop.Kind == TfrxPropKind::Unknown)
        return nullptr;
    // The registry matches the declared type (TfrxPropInfo::TypeName).
    const QString &type = Prop.TypeName;
    TfrxPropertyEditorCollection &editors = rudPropertyEditors();
    std::unique_ptr<TfrxPropertyEditor> editor;
    if (rudIsEventType(type) && editors.EventEditor()) {
        editor = editors.EventEditor()(Designer);
    } else {
        const int index = editors.GetPropertyEditor(type, Component, Prop.Name);
        if (index >= 0) {
            const TfrxPropertyEditorClass &cls = editors.Items(index).EditorClass;
            if (!cls)
                return nullptr;
            editor = cls(Designer);
        } else {
            switch (Prop.Kind) {
            case TfrxPropKind::Integer:
            case TfrxPropKind::Int64:
                editor = std::make_unique<TfrxIntegerProperty>(Designer);
                break;
            case TfrxPropKind::Char:
                editor = std::make_unique<TfrxCharProperty>(Designer);
                break;
            case TfrxPropKind::Enumeration:
            case TfrxPropKind::Boolean:
                editor = std::make_unique<TfrxEnumProperty>(Designer);
                break;
            case TfrxPropKind::Float:
                editor = std::make_unique<TfrxFloatProperty>(Designer);
                break;
            case TfrxPropKind::String:
                editor = std::make_unique<TfrxStringProperty>(Designer);
                break;
            case TfrxPropKind::Object:
            case TfrxPropKind::StringList:
            case TfrxPropKind::WideStringList:
                editor = std::make_unique<TfrxClassProperty>(Designer);
                break;
            case TfrxPropKind::Component:
                editor = std::make_unique<TfrxComponentProperty>(Designer);
                break;
            case TfrxPropKind::Set:
                editor = std::make_unique<TfrxSetProperty>(Designer);
                break;
            default:
                editor = std::make_unique<TfrxPropertyEditor>(Designer);
                break;
            }
        }
    }
    editor->AddObject(Component, &Prop);
    return editor;
}

std::unique_ptr<TfrxPropertyList> rudCreatePropertyList(const QList<QObject *> &Objects, TfrxCustomDesigner *Designer)
{
    QList<QObject *> objects;
    for (QObject *obj : Objects)
        if (obj)
            objects.append(obj);
    if (objects.isEmpty())
        return nullptr;
    std::unique_ptr<TfrxPropertyList> first = createList(objects.first(), Designer, nullptr, 0);
    if (objects.size() > 1) {
        std::vector<std::unique_ptr<TfrxPropertyList>> others;
        std::vector<TfrxPropertyList *> otherPtrs;
        for (qsizetype i = 1; i < objects.size(); ++i) {
            others.push_back(createList(objects.at(i), Designer, nullptr, 0));
            otherPtrs.push_back(others.back().get());
        }
        mergeLists(*first, otherPtrs);
    }
    return first;
}

std::unique_ptr<TfrxPropertyList> rudCreatePropertyList(const QList<TfrxComponent *> &Objects,
                                                        TfrxCustomDesigner *Designer)
{
    QList<QObject *> objects;
    for (TfrxComponent *obj : Objects)
        objects.append(obj);
    return rudCreatePropertyList(objects, Designer);
}
