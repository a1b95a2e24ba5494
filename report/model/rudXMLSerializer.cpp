#include "report/model/rudXMLSerializer.h"

#include "report/model/rudClassRegistry.h"
#include "report/model/rudNameIndex.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "report/model/rudXML.h"

#include "base/Errors.h"
#include "base/NumberFormat.h"

#include <QScopeGuard>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>

namespace {

// Deeper element nesting than any report has is refused rather than risk
// the stack on a hostile file.
constexpr int MaxDepth = 512;

bool sameText(QStringView a, const char *b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// The text form of a variant value: numbers as the runtime writes them (the
// user's decimal separator), Booleans by name, null and empty as no text.
QString variantText(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return FloatToStr(v.toDouble());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.toString();
    }
}

// The object's name, or its class when it has none.
QString objectLabel(QObject *Obj)
{
    auto *component = dynamic_cast<TfrxComponent *>(Obj);
    return component && !component->Name().isEmpty() ? component->Name()
                                                     : QString::fromLatin1(Obj->metaObject()->className());
}

// "Memo1.Font.Size: " before an attribute's error, so that the error list
// says which object and attribute of a template are wrong.
QString attributeContext(QObject *Obj, QStringView attribute)
{
    return objectLabel(Obj) + QLatin1Char('.') + attribute.toString() + QStringLiteral(": ");
}

// A dotted path of identifiers, as every attribute name is.
bool isAttributeName(QStringView name)
{
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (!((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '.'))
            return false;
    }
    return true;
}

bool isHexText(const QString &text)
{
    if (text.size() % 2)
        return false;
    for (QChar c : text)
        if (!isxdigit(c.unicode() < 128 ? int(c.unicode()) : 0))
            return false;
    return true;
}

QString invalidValue(QStringView name, const QString &value)
{
    return rudResources().Get(QStringLiteral("prInvProp")) + QStringLiteral(": ") + name.toString() +
           QStringLiteral("=\"") + value + QLatin1Char('"');
}

} // namespace

// Without the final break every save would lose one empty line at the end.
QString rudLinesToAttr(const QStringList &Lines)
{
    QString text = rudLinesToXML(Lines);
    if (!Lines.isEmpty() && Lines.last().isEmpty())
        text += QLatin1String("&#13;&#10;");
    return text;
}

void TfrxPersistent::WriteUnpublished(QString &, const QString &, const TfrxPersistent *) const {}

// Damaged data is kept as it is and reported; the rest of the template
// loads all the same.
bool TfrxPersistent::ReadUnpublished(QStringView Name, const QString &Value)
{
    if (!(Name.size() == 8 && sameText(Name, "PropData")))
        return false;
    SetPropData(QByteArray::fromHex(Value.toLatin1()));
    if (!isHexText(Value))
        throw EGeneralError(QStringLiteral("The binary data is not hexadecimal text"));
    return true;
}

double rudStrToFloat(const QString &Text)
{
    const QChar separator = FormatSettings().DecimalSeparator;
    // Most texts need no change: they are read as they are.
    const bool asItIs = std::none_of(Text.begin(), Text.end(), [separator](QChar c) {
        return c == QLatin1Char(' ') || ((c == QLatin1Char(',') || c == QLatin1Char('.')) && c != separator);
    });
    if (asItIs)
        return StrToFloat(Text);
    QString s;
    s.reserve(Text.size());
    for (QChar c : Text) {
        if (c == QLatin1Char(' '))
            continue;
        s += (c == QLatin1Char(',') || c == QLatin1Char('.')) ? separator : c;
    }
    return StrToFloat(s);
}

QString rudGetFullName(TfrxComponent *Component)
{
    return Component ? Component->Name() : QString();
}

TfrxComponent *rudFindComponent(TfrxComponent *Owner, const QString &Name)
{
    if (!Owner || Name.isEmpty())
        return nullptr;
    // "Form.Component" and "Form.Frame.Component" address components of
    // other forms, which a report here never has: only the last part is
    // looked up, among the owner's objects and its own owner's.
    const QStringList parts = Name.split(QLatin1Char('.'));
    if (parts.size() > 3)
        return nullptr;
    if (TfrxComponent *found = Owner->FindObject(parts.last()))
        return found;
    return Owner->Owner() ? Owner->Owner()->FindObject(parts.last()) : nullptr;
}

TfrxXMLSerializer::TfrxXMLSerializer(QIODevice *Stream) : FStream(Stream) {}

TfrxXMLSerializer::~TfrxXMLSerializer()
{
    DropNameIndex();
}

void TfrxXMLSerializer::AddError(const QString &Text)
{
    rudAddSortedUnique(FErrors, Text);
}

// ---- writing ---------------------------------------------------------------

// Attribute texts are appended piece by piece to one growing text: a
// template writes thousands of attributes, each of several pieces.
void TfrxXMLSerializer::AppendPropXML(QString &Out, QObject *Obj, const TfrxPropInfo &Prop, const QString &Add,
                                      QObject *Ancestor)
{
    const bool defaults = FSerializeDefaultValues;
    auto attr = [&](const QString &name, const QString &text, QLatin1String suffix = QLatin1String()) {
        Out += QLatin1Char(' ');
        Out += Add;
        Out += name;
        Out += suffix;
        Out += QLatin1String("=\"");
        Out += text;
        Out += QLatin1Char('"');
    };

    if (isOrdinalPropKind(Prop.Kind)) {
        const qint64 v = Prop.OrdValue(Obj);
        if (!defaults) {
            if (Ancestor ? Prop.OrdValue(Ancestor) == v : Prop.HasDefault() && Prop.Default.toLongLong() == v)
                return;
        }
        QString text;
        if (Prop.Kind == TfrxPropKind::Enumeration || Prop.Kind == TfrxPropKind::Boolean)
            text = Prop.IdentOf(v);
        if (text.isEmpty())
            text = Prop.Kind == TfrxPropKind::Int64 ? QString::number(qint32(v)) : QString::number(v);
        attr(Prop.Name, text);
        return;
    }

    switch (Prop.Kind) {
    case TfrxPropKind::Float:
    case TfrxPropKind::DateTime: {
        const double v = Prop.FloatValue(Obj);
        if (!defaults) {
            const double tolerance = FExactDifferences ? 0 : 1e-6;
            if (Ancestor ? std::fabs(Prop.FloatValue(Ancestor) - v) <= tolerance
                         : Prop.HasDefault() && Prop.Default.toDouble() == v)
                return;
        }
        attr(Prop.Name, FloatToStr(v));
        return;
    }
    case TfrxPropKind::String: {
        const QString v = Prop.StrValue(Obj);
        if (!defaults) {
            if (Ancestor ? Prop.StrValue(Ancestor) == v : v.isEmpty())
                return;
            if (!Ancestor && Prop.HasDefault() && Prop.Default.toString() == v)
                return;
        }
        attr(Prop.Name, rudStrToXML(v));
        return;
    }
    case TfrxPropKind::Variant: {
        const QVariant v = Prop.Read(Obj);
        if (!defaults && Ancestor && Prop.Read(Ancestor) == v)
            return;
        attr(Prop.Name, rudStrToXML(variantText(v)));
        return;
    }
    case TfrxPropKind::Component: {
        auto *v = qobject_cast<TfrxComponent *>(Prop.ObjectValue(Obj));
        if (Ancestor) {
            auto *a = qobject_cast<TfrxComponent *>(Prop.ObjectValue(Ancestor));
            if (!defaults && ((!v && !a) || (v && a && rudSameName(v->Name(), a->Name()))))
                return;
            if (!v) {
                attr(Prop.Name, QStringLiteral("nil"));
                return;
            }
        } else if (!v) {
            return;
        }
        attr(Prop.Name, rudStrToXML(rudGetFullName(v)));
        return;
    }
    case TfrxPropKind::StringList: {
        const QStringList v = Prop.ListValue(Obj);
        if (!defaults && Ancestor && Prop.ListValue(Ancestor) == v)
            return;
        attr(Prop.Name, rudLinesToAttr(v), QLatin1String(".Text"));
        return;
    }
    case TfrxPropKind::Object: {
        QObject *sub = Prop.ObjectValue(Obj);
        if (!sub)
            return;
        QObject *ancestorSub = Ancestor ? Prop.ObjectValue(Ancestor) : nullptr;
        if (ancestorSub && ancestorSub->metaObject() != sub->metaObject())
            ancestorSub = nullptr;
        AppendObjXML(Out, sub, Add + Prop.Name + QLatin1Char('.'), ancestorSub);
        return;
    }
    default:
        return;
    }
}

QString TfrxXMLSerializer::ObjToXML(QObject *Obj, const QString &Add, QObject *Ancestor)
{
    QString result;
    AppendObjXML(result, Obj, Add, Ancestor);
    return result;
}

void TfrxXMLSerializer::AppendObjXML(QString &Out, QObject *Obj, const QString &Add, QObject *Ancestor)
{
    if (!Obj)
        return;
    auto *component = qobject_cast<TfrxComponent *>(Obj);
    auto *ancestorComponent = qobject_cast<TfrxComponent *>(Ancestor);
    // The writing flags are cleared again however the writing ends.
    const auto writing = qScopeGuard([&] {
        if (component)
            component->SetIsWriting(false);
        if (ancestorComponent)
            ancestorComponent->SetIsWriting(false);
    });
    if (component) {
        component->SetIsWriting(true);
        if (!Ancestor && OnGetAncestor) {
            ancestorComponent = OnGetAncestor(component->Name());
            Ancestor = ancestorComponent;
        }
        if (ancestorComponent)
            ancestorComponent->SetIsWriting(true);
    }
    if (Ancestor && Ancestor->metaObject() != Obj->metaObject() && !component)
        Ancestor = nullptr;

    for (const TfrxPropInfo &prop : rudGetPropList(Obj)) {
        if (!prop.IsReadable() || !prop.IsStored(Obj))
            continue;
        // A component's name is written by the element, before everything else.
        if (component && prop.Name == QLatin1String("Name"))
            continue;
        AppendPropXML(Out, Obj, prop, Add, Ancestor);
    }

    auto *persistent = qobject_cast<TfrxPersistent *>(Obj);
    if (!persistent)
        return;
    auto *ancestorPersistent = qobject_cast<TfrxPersistent *>(Ancestor);
    persistent->WriteUnpublished(Out, Add, ancestorPersistent);

    const bool nested = component && FHandleNestedProperties && (component->ComponentStyle() & csHandlesNestedProperties);
    if (!nested) {
        const QByteArray data = persistent->GetPropData();
        if (!data.isEmpty() && (!ancestorPersistent || ancestorPersistent->GetPropData() != data)) {
            Out += QLatin1Char(' ');
            Out += Add;
            Out += QLatin1String("PropData=\"");
            Out += QString::fromLatin1(data.toHex().toUpper());
            Out += QLatin1Char('"');
        }
    }
}

void TfrxXMLSerializer::WriteItem(TfrxXMLItem *Item, TfrxComponent *Component, bool IsRoot, bool SaveChildren,
                                  bool Streaming)
{
    Item->SetName(Component->IsAncestor() && !Streaming ? QStringLiteral("inherited")
                                                         : QString::fromLatin1(Component->metaObject()->className()));
    TfrxComponent *ancestor = OnGetAncestor ? OnGetAncestor(Component->Name()) : nullptr;
    QString text = ObjToXML(Component, QString(), ancestor);
    if (!IsRoot)
        text = QStringLiteral("Name=\"") + Component->Name() + QLatin1Char('"') + text;
    Item->SetText(text);
    if (FHandleNestedProperties && (Component->ComponentStyle() & csHandlesNestedProperties)) {
        // The collections are written by this serializer, with its rules.
        auto *report = dynamic_cast<TfrxReport *>(Component);
        TfrxXMLSerializer *previous = report ? report->Serializer() : nullptr;
        const auto restore = qScopeGuard([&] {
            if (report)
                report->SetSerializer(previous);
        });
        if (report)
            report->SetSerializer(this);
        Component->WriteNestedProperties(Item, ancestor);
    }
    if (!SaveChildren)
        return;
    for (TfrxComponent *child : Component->Objects())
        WriteItem(Item->Add(), child, false, true, Streaming);
}

void TfrxXMLSerializer::WriteRootComponent(TfrxComponent *Root, bool SaveChildren, TfrxXMLItem *XMLItem, bool Streaming)
{
    std::unique_ptr<TfrxXMLDocument> document;
    if (!XMLItem) {
        document = std::make_unique<TfrxXMLDocument>();
        document->SetAutoIndent(true);
        XMLItem = document->Root();
    }
    WriteItem(XMLItem, Root, true, SaveChildren, Streaming);
    if (OnSaveCustomData)
        OnSaveCustomData(XMLItem->Root()->Add(QStringLiteral("RudCustomData")));
    if (document && FStream)
        document->SaveToStream(FStream);
}

QString TfrxXMLSerializer::WriteComponentStr(TfrxComponent *Component)
{
    return QString::fromLatin1(Component->metaObject()->className()) + ObjToXML(Component);
}

void TfrxXMLSerializer::WriteComponent(TfrxComponent *Component)
{
    if (!FStream)
        return;
    FStream->write("<");
    FStream->write(WriteComponentStr(Component).toUtf8());
    FStream->write("/>");
}

// ---- reading ---------------------------------------------------------------

namespace {

// Reads an attribute text pair by pair: name="value", separated by spaces.
class TAttributeReader {
public:
    explicit TAttributeReader(const QString &Text) : FText(Text) {}

    enum TStep {
        Attribute, // Name and Value hold the next pair
        End,       // nothing but spaces is left
        Damaged,   // no pair can be read from the rest (Rest says where)
        BadName,   // the pair's name is not a dotted identifier: a quote missing earlier
    };
    // Reads the next pair. A value without its closing quote runs to the
    // end of the text and sets Unclosed.
    TStep Next()
    {
        const QString &text = FText;
        const qsizetype n = text.size();
        Unclosed = false;
        while (FAt < n && text[FAt] == QLatin1Char(' '))
            ++FAt;
        if (FAt >= n)
            return End;
        const qsizetype eq = text.indexOf(QLatin1Char('='), FAt);
        // The name stays a view of the text: thousands of attributes are
        // read for a template or a page, and most names are looked up only.
        Name = eq < 0 ? QStringView() : QStringView(text).mid(FAt, eq - FAt).trimmed();
        const qsizetype open = eq < 0 ? -1 : text.indexOf(QLatin1Char('"'), eq);
        if (Name.isEmpty() || open < 0) {
            Rest = FAt;
            FAt = n;
            return QStringView(text).mid(Rest).trimmed().isEmpty() ? End : Damaged;
        }
        qsizetype close = text.indexOf(QLatin1Char('"'), open + 1);
        if (close < 0) {
            Unclosed = true;
            close = n;
        }
        Value = text.mid(open + 1, close - open - 1);
        FAt = close + 1;
        return isAttributeName(Name) ? Attribute : BadName;
    }

    QStringView Name;
    QString Value;
    bool Unclosed = false;
    qsizetype Rest = 0;

private:
    const QString &FText;
    qsizetype FAt = 0;
};

} // namespace

void TfrxXMLSerializer::XMLToObj(const QString &Text, QObject *Obj)
{
    if (!Obj)
        return;
    TAttributeReader reader(Text);
    for (;;) {
        const TAttributeReader::TStep step = reader.Next();
        if (step == TAttributeReader::End)
            break;
        if (step == TAttributeReader::Damaged) {
            AddError(objectLabel(Obj) + QStringLiteral(": damaged attribute text \"%1\"").arg(Text.mid(reader.Rest, 40)));
            break;
        }
        if (reader.Unclosed)
            AddError(attributeContext(Obj, reader.Name) + QStringLiteral("the value has no closing quote"));
        if (step == TAttributeReader::BadName) {
            AddError(objectLabel(Obj) +
                     QStringLiteral(": damaged attribute text \"%1\"").arg(reader.Name.left(40).toString()));
            continue;
        }
        ApplyGuarded(Obj, reader.Name, reader.Value);
    }
}

// An attribute's error is the object's and the attribute's: the rest of the
// text still applies.
template <class F>
void TfrxXMLSerializer::Guarded(QObject *Obj, QStringView Name, F &&Apply)
{
    try {
        Apply();
    } catch (const Exception &e) {
        AddError(attributeContext(Obj, Name) + e.Message());
    } catch (const std::exception &e) {
        AddError(attributeContext(Obj, Name) + QString::fromUtf8(e.what()));
    }
}

void TfrxXMLSerializer::ApplyGuarded(QObject *Obj, QStringView Name, const QString &Value)
{
    Guarded(Obj, Name, [&] { ApplyAttribute(Obj, Name, Value); });
}

namespace {

// Finds on Sample what ApplyAttribute would set for the attribute, when that
// is a published property reached through sub-objects only; false for
// anything else (an unpublished name, a list's text, a name not found).
bool resolveAttribute(QObject *Sample, TfrxObjectRecipe::TAttribute &Attribute)
{
    QObject *current = Sample;
    QStringView rest = Attribute.Name;
    for (qsizetype dot = rest.indexOf(QLatin1Char('.')); dot >= 0; dot = rest.indexOf(QLatin1Char('.'))) {
        const TfrxPropInfo *prop = rudFindProp(current, rest.left(dot));
        QObject *sub = prop && prop->Kind == TfrxPropKind::Object ? prop->ObjectValue(current) : nullptr;
        if (!sub)
            return false;
        Attribute.Path.push_back({current->metaObject(), prop});
        current = sub;
        rest = rest.mid(dot + 1);
    }
    // The class's own names are tried first, as ApplyAttribute tries them;
    // which names a class claims does not depend on the object.
    if (auto *persistent = qobject_cast<TfrxPersistent *>(current)) {
        try {
            if (persistent->ReadUnpublished(rest, Attribute.Value))
                return false;
        } catch (...) {
            return false;
        }
    }
    const TfrxPropInfo *prop = rudFindProp(current, rest);
    if (!prop || !prop->IsWritable())
        return false;
    Attribute.Prop = {current->metaObject(), prop};
    return true;
}

} // namespace

bool TfrxXMLSerializer::MakeRecipe(const QString &Text, TfrxObjectRecipe &Recipe)
{
    const qsizetype space = Text.indexOf(QLatin1Char(' '));
    Recipe.Class = rudFindClass(space < 0 ? Text : Text.left(space));
    Recipe.Attributes.clear();
    if (!Recipe.Class.Create)
        return false;
    if (space < 0)
        return true;
    const QString attributes = Text.mid(space + 1);
    TAttributeReader reader(attributes);
    std::unique_ptr<TfrxComponent> sample(Recipe.Class.Create(nullptr));
    sample->SetIsLoading(true);
    for (;;) {
        switch (reader.Next()) {
        case TAttributeReader::End:
            return true;
        case TAttributeReader::Attribute: {
            if (reader.Unclosed)
                return false;
            TfrxObjectRecipe::TAttribute attribute{reader.Name.toString(), reader.Value, {}, {}};
            if (!resolveAttribute(sample.get(), attribute))
                attribute.Path.clear();
            Recipe.Attributes.push_back(std::move(attribute));
            break;
        }
        default:
            return false;
        }
    }
}

// A resolved attribute walks its steps while the objects are of the classes
// they were found on; otherwise, and for the rest, the attribute is applied
// by name.
void TfrxXMLSerializer::ApplyRecipeAttribute(QObject *Obj, const TfrxObjectRecipe::TAttribute &Attribute)
{
    QObject *current = Obj;
    if (Attribute.Prop.Prop) {
        for (const TfrxObjectRecipe::TStep &step : Attribute.Path)
            current = current && current->metaObject() == step.Class ? step.Prop->ObjectValue(current) : nullptr;
        if (current && current->metaObject() == Attribute.Prop.Class) {
            Guarded(Obj, Attribute.Name, [&] { SetPropValue(current, *Attribute.Prop.Prop, Attribute.Value); });
            return;
        }
    }
    ApplyGuarded(Obj, Attribute.Name, Attribute.Value);
}

TfrxComponent *TfrxXMLSerializer::ReadComponentRecipe(TfrxComponent *Root, const TfrxObjectRecipe &Recipe,
                                                      const QString &Text)
{
    if (!FOwner)
        FOwner = Root;
    TfrxComponent *obj = Recipe.Class.Create(Root);
    obj->SetIsLoading(true);
    for (const TfrxObjectRecipe::TAttribute &attribute : Recipe.Attributes)
        ApplyRecipeAttribute(obj, attribute);
    XMLToObj(Text, obj);
    obj->SetIsLoading(false);
    FFixups.clear();
    return obj;
}

void TfrxXMLSerializer::ApplyAttribute(QObject *Obj, QStringView Name, const QString &Value)
{
    QObject *current = Obj;
    QStringView rest = Name;
    const TfrxPropInfo *listProp = nullptr;
    for (qsizetype dot = rest.indexOf(QLatin1Char('.')); dot >= 0; dot = rest.indexOf(QLatin1Char('.'))) {
        const TfrxPropInfo *prop = rudFindProp(current, rest.left(dot));
        if (!prop)
            break;
        if (prop->Kind == TfrxPropKind::Object) {
            QObject *sub = prop->ObjectValue(current);
            if (!sub)
                break;
            current = sub;
            rest = rest.mid(dot + 1);
            continue;
        }
        if ((prop->Kind == TfrxPropKind::StringList || prop->Kind == TfrxPropKind::WideStringList) &&
            sameText(rest.mid(dot + 1), "Text")) {
            listProp = prop;
            rest = u"Text";
        }
        break;
    }

    if (listProp) {
        // A wide string list holds a memo's lines, split by the memo's rules.
        const bool wide = listProp->Kind == TfrxPropKind::WideStringList;
        if (listProp->IsWritable() && !listProp->SetListValue(current, rudXMLToLines(Value, wide)))
            throw EConvertError(invalidValue(Name, Value));
        return;
    }

    // Short geometry names, texts and binary data are the class's own.
    auto *persistent = qobject_cast<TfrxPersistent *>(current);
    if (persistent && persistent->ReadUnpublished(rest, Value))
        return;
    const TfrxPropInfo *prop = rudFindProp(current, rest);
    if (!prop || !prop->IsWritable())
        return;
    SetPropValue(current, *prop, Value);
}

void TfrxXMLSerializer::SetPropValue(QObject *Obj, const TfrxPropInfo &Prop, const QString &Value)
{
    bool written = true;
    switch (Prop.Kind) {
    case TfrxPropKind::Integer:
    case TfrxPropKind::Char:
        written = Prop.SetOrdValue(Obj, StrToInt(Value));
        break;
    case TfrxPropKind::Int64:
        written = Prop.SetOrdValue(Obj, qint32(StrToInt64(Value)));
        break;
    case TfrxPropKind::Set:
        written = Prop.SetOrdValue(Obj, StrToInt(Value) & Prop.SetMask());
        break;
    case TfrxPropKind::Enumeration:
    case TfrxPropKind::Boolean: {
        qint64 v = 0;
        int number = 0;
        if (TryStrToInt(Value, number)) {
            v = number;
            if (!Prop.IsValidOrd(v))
                throw EConvertError(invalidValue(Prop.Name, Value));
        } else if (const auto ident = Prop.ValueOfIdent(Value)) {
            v = *ident;
        } else {
            throw EConvertError(invalidValue(Prop.Name, Value));
        }
        written = Prop.SetOrdValue(Obj, v);
        break;
    }
    case TfrxPropKind::Float:
    case TfrxPropKind::DateTime:
        written = Prop.SetFloatValue(Obj, rudStrToFloat(Value));
        break;
    case TfrxPropKind::String:
        written = Prop.SetStrValue(Obj, rudXMLToStr(Value));
        break;
    case TfrxPropKind::Variant:
        written = Prop.Write(Obj, QVariant(rudXMLToStr(Value)));
        break;
    case TfrxPropKind::Component:
        FFixups.push_back(TfrxFixupItem{Obj, &Prop, rudXMLToStr(Value)});
        break;
    case TfrxPropKind::StringList:
        written = Prop.SetListValue(Obj, rudXMLToLines(Value, false));
        break;
    default:
        break;
    }
    if (!written)
        throw EConvertError(invalidValue(Prop.Name, Value));
}

TfrxComponent *TfrxXMLSerializer::FindByName(const QString &Name, TfrxComponent *Root) const
{
    if (Name.isEmpty())
        return nullptr;
    TfrxComponent *owner = FOwner ? FOwner : Root;
    if (!owner)
        return nullptr;
    return FNameIndex && FNameIndex->Root() == owner ? FNameIndex->Find(Name) : owner->FindObject(Name);
}

void TfrxXMLSerializer::ReadItem(TfrxXMLItem *Item, TfrxComponent *Parent, TfrxComponent *Root, int Depth)
{
    if (sameText(Item->Name(), "RudCustomData")) {
        if (OnGetCustomData)
            OnGetCustomData(Item);
        return;
    }
    TfrxComponent *obj = nullptr;
    if (!Parent) {
        obj = Root;
    } else {
        if (Depth > MaxDepth) {
            AddError(QStringLiteral("Objects are nested too deeply"));
            return;
        }
        const bool inherited = sameText(Item->Name(), "inherited");
        TfrxClassEntry entry;
        if (!inherited) {
            entry = rudFindClass(Item->Name());
            if (!entry.Class || !entry.Create) {
                AddError(rudResources().Get(QStringLiteral("xrCantFindClass")) + QLatin1Char(' ') + Item->Name());
                return;
            }
        }
        obj = FindByName(Item->Prop(QStringLiteral("Name")), Root);
        // An object is never read into the root itself or into one of the
        // elements being read above it.
        for (TfrxComponent *p = Parent; obj && p; p = p->Parent())
            if (p == obj)
                obj = nullptr;
        if (!obj) {
            if (inherited)
                return;
            obj = entry.Create(Parent);
        }
    }
    QPointer<TfrxComponent> guard(obj);
    obj->SetIsLoading(true);
    XMLToObj(Item->Text(), obj);
    FReadObjects.push_back(guard);
    const bool nested = FHandleNestedProperties && (obj->ComponentStyle() & csHandlesNestedProperties);
    for (int i = 0; i < Item->Count() && guard; ++i) {
        TfrxXMLItem *child = Item->Items(i);
        if (nested && obj->ReadNestedProperty(child))
            continue;
        ReadItem(child, obj, Root, Depth + 1);
    }
}

void TfrxXMLSerializer::ReadRootComponent(TfrxComponent *Root, TfrxXMLItem *XMLItem)
{
    std::unique_ptr<TfrxXMLDocument> document;
    if (!XMLItem) {
        document = std::make_unique<TfrxXMLDocument>();
        if (FStream)
            document->LoadFromStream(FStream, false);
        FOldFormat = document->OldVersion();
        XMLItem = document->Root();
        if (!document->Damage().isEmpty())
            AddError(document->Damage());
        if (!document->Unreadable().isEmpty())
            AddError(document->Unreadable());
    }
    FReadObjects.clear();
    // A load has an index of its own (or the outer load's); one the string
    // readers kept is given up first.
    DropNameIndex();
    UseNameIndex(FOwner ? FOwner : Root);
    const auto dropIndex = qScopeGuard([this] { DropNameIndex(); });
    ReadItem(XMLItem, nullptr, Root, 0);
    FixupReferences();
    for (const QPointer<TfrxComponent> &c : FReadObjects) {
        if (!c)
            continue;
        c->SetIsLoading(false);
        if (!(c == Root && dynamic_cast<TfrxReport *>(c.data())))
            c->Loaded();
    }
    FReadObjects.clear();
}

TfrxComponent *TfrxXMLSerializer::ReadComponent(TfrxComponent *Root)
{
    if (!FStream)
        return nullptr;
    TfrxXMLItem item;
    {
        TfrxXMLReader reader(FStream);
        reader.ReadRootItem(&item, true);
    }
    const TfrxClassEntry entry = rudFindClass(item.Name());
    if (!entry.Create) {
        AddError(rudResources().Get(QStringLiteral("xrCantFindClass")) + QLatin1Char(' ') + item.Name());
        return nullptr;
    }
    TfrxComponent *obj = entry.Create(Root);
    obj->SetIsLoading(true);
    XMLToObj(item.Text(), obj);
    obj->SetIsLoading(false);
    return obj;
}

TfrxComponent *TfrxXMLSerializer::ReadComponentStr(TfrxComponent *Root, const QString &Text, bool DontFixup)
{
    const qsizetype space = Text.indexOf(QLatin1Char(' '));
    const QString className = space < 0 ? Text : Text.left(space);
    const TfrxClassEntry entry = rudFindClass(className);
    if (!entry.Create) {
        AddError(rudResources().Get(QStringLiteral("xrCantFindClass")) + QLatin1Char(' ') + className);
        return nullptr;
    }
    if (!FOwner)
        FOwner = Root;
    TfrxComponent *obj = entry.Create(Root);
    obj->SetIsLoading(true);
    if (space >= 0)
        XMLToObj(Text.mid(space + 1), obj);
    obj->SetIsLoading(false);
    if (DontFixup) {
        FFixups.clear();
    } else {
        KeepReferenceIndex();
        if (FNameIndex)
            FNameIndex->Note(obj);
        FixupReferences();
    }
    return obj;
}

void TfrxXMLSerializer::ReadPersistentStr(TfrxComponent *Root, QObject *Obj, const QString &Text)
{
    if (!FOwner)
        FOwner = Root;
    XMLToObj(Text, Obj);
    KeepReferenceIndex();
    FixupReferences();
}

// The string readers are called once per object, often many times in a row:
// the name index they resolve references with is made on first use and kept
// until the serializer goes (or a load replaces it). It covers the owner's
// report, or the owner itself outside any report; within a report it is the
// report's index, which renames and new names keep up to date.
void TfrxXMLSerializer::KeepReferenceIndex()
{
    if (FNameIndex || !FOwner)
        return;
    TfrxReport *report = FOwner->Report();
    UseNameIndex(report ? report : FOwner);
}

namespace {

bool isInside(const TfrxComponent *Object, const TfrxComponent *Root)
{
    for (const TfrxComponent *p = Object ? Object->Parent() : nullptr; p; p = p->Parent())
        if (p == Root)
            return true;
    return false;
}

} // namespace

// The first descendant of Root named Name, as Root->FindObject finds it,
// through the name index when it covers Root. Names are unique within a
// report, so the index's object of that name is Root's when it lies inside.
TfrxComponent *TfrxXMLSerializer::FindInScope(TfrxComponent *Root, const QString &Name)
{
    if (!Root)
        return nullptr;
    if (FNameIndex && FNameIndex->Root() == Root)
        return FNameIndex->Find(Name);
    if (FNameIndex && (Root == FNameIndex->Root() || isInside(Root, FNameIndex->Root()))) {
        TfrxComponent *found = FNameIndex->Find(Name);
        return isInside(found, Root) ? found : nullptr;
    }
    return Root->FindObject(Name);
}

// A written reference: the full name among the owner report's objects, else
// a name of at most three dotted parts by its last part among the owner's
// objects and then its owner's (the forms those parts would name do not
// exist here).
TfrxComponent *TfrxXMLSerializer::ResolveReference(const QString &Value)
{
    if (Value == QLatin1String("nil") || Value.isEmpty() || !FOwner)
        return nullptr;
    TfrxComponent *found = FindInScope(FOwner->Report(), Value);
    const QStringList parts = Value.split(QLatin1Char('.'));
    if (!found && parts.size() <= 3) {
        found = FindInScope(FOwner, parts.last());
        if (!found)
            found = FindInScope(FOwner->Owner(), parts.last());
    }
    return found;
}

void TfrxXMLSerializer::FixupReferences()
{
    for (const TfrxFixupItem &fixup : FFixups) {
        if (!fixup.Obj || !fixup.Prop)
            continue;
        // A reference of the wrong class stays unresolved.
        fixup.Prop->SetObjectValue(fixup.Obj, ResolveReference(fixup.Value));
    }
    FFixups.clear();
}

// One index serves a whole load, nested loads included: a load inside another
// shares the index the report already has.
void TfrxXMLSerializer::UseNameIndex(TfrxComponent *Owner)
{
    TfrxReport *report = Owner ? Owner->Report() : nullptr;
    if (report && Owner == report && report->NameIndex()) {
        FSharedIndex = report->SharedNameIndex();
        FNameIndex = FSharedIndex.get();
        return;
    }
    FOwnedIndex = std::make_shared<TfrxNameIndex>(Owner);
    FNameIndex = FOwnedIndex.get();
    if (report && Owner == report) {
        report->SetNameIndex(FOwnedIndex);
        FIndexedReport = report;
    }
}

void TfrxXMLSerializer::DropNameIndex()
{
    if (FIndexedReport && FIndexedReport->NameIndex() == FOwnedIndex.get())
        FIndexedReport->SetNameIndex(nullptr);
    FIndexedReport = nullptr;
    FOwnedIndex.reset();
    FSharedIndex.reset();
    FNameIndex = nullptr;
}

void TfrxXMLSerializer::CopyFixupList(std::vector<TfrxFixupItem> &List)
{
    for (TfrxFixupItem &fixup : FFixups)
        List.push_back(std::move(fixup));
    FFixups.clear();
}
