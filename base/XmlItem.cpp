// The item tree of the XML dialect and the escaping of attribute values.

#include "base/Xml.h"

#include "base/DateTime.h"
#include "base/NumberFormat.h"

#include <QBuffer>

#include <algorithm>

TfrxInvalidXMLException::TfrxInvalidXMLException() : EGeneralError(QStringLiteral("Invalid file format")) {}

// ---------------------------------------------------------------- TfrxXMLItem

TfrxXMLItem::~TfrxXMLItem()
{
    Clear();
    Detach();
}

TfrxXMLItem::TExtra &TfrxXMLItem::Extra()
{
    if (!FExtra)
        FExtra = std::make_unique<TExtra>();
    return *FExtra;
}

const QString &TfrxXMLItem::Value() const
{
    static const QString none;
    return FExtra ? FExtra->Value : none;
}

void TfrxXMLItem::Detach()
{
    if (!FParent)
        return;
    auto &list = FParent->FItems;
    // Children are usually destroyed from the end; search backwards.
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (*it == this) {
            list.erase(std::next(it).base());
            break;
        }
    }
    FParent = nullptr;
}

TfrxXMLItem *TfrxXMLItem::Add()
{
    // New children go after the packed ones.
    if (Packed())
        Unpack();
    auto *item = new TfrxXMLItem;
    item->FParent = this;
    FItems.push_back(item);
    return item;
}

TfrxXMLItem *TfrxXMLItem::Add(const QString &Name)
{
    TfrxXMLItem *item = Add();
    item->FName = Name;
    return item;
}

void TfrxXMLItem::AddItem(TfrxXMLItem *Item)
{
    if (!Item)
        return;
    if (Packed())
        Unpack();
    // Adding an item below itself would make the tree a cycle.
    for (TfrxXMLItem *p = this; p; p = p->FParent)
        if (p == Item)
            throw EGeneralError(QStringLiteral("An XML item cannot become its own descendant"));
    Item->Detach();
    FItems.push_back(Item);
    Item->FParent = this;
}

void TfrxXMLItem::InsertItem(int Index, TfrxXMLItem *Item)
{
    AddItem(Item);
    if (!Item)
        return;
    const int target = std::clamp(Index, 0, Count() - 1);
    FItems.pop_back();
    FItems.insert(FItems.begin() + target, Item);
}

TfrxXMLItem *TfrxXMLItem::Add(std::unique_ptr<TfrxXMLItem> Item)
{
    TfrxXMLItem *item = Item.get();
    AddItem(Item.release());
    return item;
}

TfrxXMLItem *TfrxXMLItem::Insert(int Index, std::unique_ptr<TfrxXMLItem> Item)
{
    TfrxXMLItem *item = Item.get();
    InsertItem(Index, Item.release());
    return item;
}

std::unique_ptr<TfrxXMLItem> TfrxXMLItem::Take(int Index)
{
    Q_ASSERT(Index >= 0 && Index < Count());
    TfrxXMLItem *item = FItems[size_t(Index)];
    FItems.erase(FItems.begin() + Index);
    item->FParent = nullptr;
    return std::unique_ptr<TfrxXMLItem>(item);
}

TfrxXMLItem *TfrxXMLItem::Child(const QString &Name) const
{
    const int i = Find(Name);
    return i >= 0 ? FItems[size_t(i)] : nullptr;
}

void TfrxXMLItem::Assign(const TfrxXMLItem &Source)
{
    if (&Source == this)
        return;
    Clear();
    FName = Source.FName;
    FText = Source.FText;
    if (!Source.Value().isEmpty())
        SetValue(Source.Value());
    if (Source.Packed()) {
        const std::unique_ptr<TfrxXMLItem> copy = Source.UnpackedCopy();
        for (const TfrxXMLItem *child : copy->FItems)
            Add()->Assign(*child);
        return;
    }
    for (const TfrxXMLItem *child : Source.FItems)
        Add()->Assign(*child);
}

int TfrxXMLItem::Find(const QString &Name) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->FName.compare(Name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

TfrxXMLItem *TfrxXMLItem::FindItem(const QString &Name)
{
    const int i = Find(Name);
    return i >= 0 ? FItems[size_t(i)] : Add(Name);
}

int TfrxXMLItem::IndexOf(const TfrxXMLItem *Item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

TfrxXMLItem *TfrxXMLItem::Root()
{
    TfrxXMLItem *p = this;
    while (p->FParent)
        p = p->FParent;
    return p;
}

TfrxXMLItem *TfrxXMLItem::Items(int Index) const
{
    Q_ASSERT(Index >= 0 && size_t(Index) < FItems.size());
    return FItems[size_t(Index)];
}

void TfrxXMLItem::Clear()
{
    ClearChildren();
    if (FExtra)
        FExtra->Packed = QByteArray();
    FLoaded = !FUnloadable;
}

// Destroys the subtree without recursion: documents read from untrusted files
// can nest deeper than the call stack would allow.
void TfrxXMLItem::ClearChildren()
{
    std::vector<TfrxXMLItem *> pending;
    pending.swap(FItems);
    while (!pending.empty()) {
        TfrxXMLItem *item = pending.back();
        pending.pop_back();
        pending.insert(pending.end(), item->FItems.begin(), item->FItems.end());
        item->FItems.clear();
        item->FParent = nullptr;
        delete item;
    }
}

// True when an item of the subtree below Item keeps its children in a swap
// or source file, which packing could not read.
static bool holdsUnloaded(const TfrxXMLItem *Item)
{
    std::vector<const TfrxXMLItem *> pending{Item};
    while (!pending.empty()) {
        const TfrxXMLItem *item = pending.back();
        pending.pop_back();
        for (int i = 0; i < item->Count(); ++i) {
            const TfrxXMLItem *child = item->Items(i);
            if (!child->Loaded() && !child->Packed())
                return true;
            pending.push_back(child);
        }
    }
    return false;
}

void TfrxXMLItem::Pack()
{
    if (!FLoaded || FItems.empty() || holdsUnloaded(this))
        return;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        TfrxXMLWriter writer(&buffer);
        for (TfrxXMLItem *child : FItems)
            writer.WriteRootItem(child);
    }
    QByteArray packed = buffer.data();
    buffer.close();
    packed.squeeze();
    ClearChildren();
    Extra().Packed = std::move(packed);
    FLoaded = false;
}

void TfrxXMLItem::ReadPackedChildren(const QByteArray &Packed, TfrxXMLItem *Into)
{
    QBuffer buffer;
    buffer.setData(Packed);
    buffer.open(QIODevice::ReadOnly);
    try {
        TfrxXMLReader reader(&buffer);
        for (;;) {
            auto *child = new TfrxXMLItem;
            child->FParent = Into;
            Into->FItems.push_back(child);
            if (!reader.ReadRootItem(child, true)) {
                delete child;
                break;
            }
        }
    } catch (...) {
        Into->ClearChildren();
        throw;
    }
}

void TfrxXMLItem::Unpack()
{
    if (!Packed())
        return;
    ReadPackedChildren(FExtra->Packed, this);
    FExtra->Packed = QByteArray();
    FLoaded = true;
}

std::unique_ptr<TfrxXMLItem> TfrxXMLItem::UnpackedCopy() const
{
    auto copy = std::make_unique<TfrxXMLItem>();
    copy->FName = FName;
    copy->FText = FText;
    copy->FUnloadable = FUnloadable;
    if (Packed())
        ReadPackedChildren(FExtra->Packed, copy.get());
    return copy;
}

// Start of attribute Name inside Text, accepted only at the very start or
// right after a space; -1 when absent. Every attribute ends in `="`, and
// values never hold a raw quote, so only those places need a look.
static qsizetype findAttribute(const QString &Text, const QString &Name)
{
    const QStringView text(Text);
    const qsizetype n = Name.size();
    qsizetype from = n;
    for (;;) {
        const qsizetype eq = text.indexOf(u"=\"", from);
        if (eq < 0)
            return -1;
        const qsizetype start = eq - n;
        if (start >= 0 && (start == 0 || text[start - 1] == u' ')
            && text.mid(start, n).compare(Name, Qt::CaseInsensitive) == 0)
            return start;
        from = eq + 1;
    }
}

QString TfrxXMLItem::Prop(const QString &Name) const
{
    const qsizetype start = findAttribute(FText, Name);
    if (start < 0)
        return QString();
    const qsizetype valueStart = start + Name.size() + 2;
    qsizetype end = FText.indexOf(u'"', valueStart);
    if (end < 0)
        end = FText.size();
    return rudXMLToStr(FText.mid(valueStart, end - valueStart));
}

void TfrxXMLItem::SetProp(const QString &Name, const QString &Value)
{
    const qsizetype start = findAttribute(FText, Name);
    qsizetype at = FText.size();
    if (start >= 0) {
        qsizetype end = FText.indexOf(u'"', start + Name.size() + 2);
        end = end < 0 ? FText.size() : end + 1;
        FText.remove(start, end - start);
        at = start;
    }
    QString attribute;
    attribute.reserve(Name.size() + Value.size() + 4);
    if (at > 0 && FText[at - 1] != u' ')
        attribute += u' ';
    attribute += Name;
    attribute += u"=\"";
    attribute += rudStrToXML(Value);
    attribute += u'"';
    FText.insert(at, attribute);
}

bool TfrxXMLItem::PropExists(const QString &Name) const
{
    return findAttribute(FText, Name) >= 0;
}

void TfrxXMLItem::DeleteProp(const QString &Name)
{
    if (!PropExists(Name))
        return;
    SetProp(Name, QString());
    const qsizetype start = findAttribute(FText, Name);
    // Name, '=', two quotes and the character after them (the separating
    // space when another attribute follows).
    FText.remove(start, Name.size() + 4);
}

// ------------------------------------------------------------------ escaping

static bool needsEscape(QChar c)
{
    const char16_t u = c.unicode();
    return u == 0 || u == 10 || u == 13 || u == '"' || u == '&' || u == '<' || u == '>';
}

QString rudStrToXML(const QString &Text)
{
    const qsizetype n = Text.size();
    const QChar *s = Text.constData();
    qsizetype first = 0;
    while (first < n && !needsEscape(s[first]))
        ++first;
    if (first == n)
        return Text;

    // Every NUL and every ampersand is written as a reference, so that any
    // text reads back exactly as it was (a literal "&quot;" included).
    QString result;
    result.reserve(n + 256);
    result.append(s, first);
    for (qsizetype i = first; i < n; ++i) {
        const char16_t c = s[i].unicode();
        switch (c) {
        case 0: result += u"&#0;"; break;
        case 10: result += u"&#10;"; break;
        case 13: result += u"&#13;"; break;
        case '"': result += u"&#34;"; break;
        case '<': result += u"&#60;"; break;
        case '>': result += u"&#62;"; break;
        case '&': result += u"&#38;"; break;
        default:
            result += s[i];
        }
    }
    return result;
}

QString rudLinesToXML(const QStringList &Lines)
{
    QString result;
    for (qsizetype i = 0; i < Lines.size(); ++i) {
        if (i > 0)
            result += u"&#13;&#10;";
        const QString &line = Lines[i];
        qsizetype start = 0;
        for (qsizetype j = 0; j < line.size(); ++j) {
            const char16_t c = line[j].unicode();
            if (c != 13 && c != 10 && c != 0x2028)
                continue;
            result += rudStrToXML(line.mid(start, j - start));
            result += c == 13 ? u"&#xD;" : c == 10 ? u"&#xA;" : u"&#x2028;";
            start = j + 1;
        }
        result += start == 0 ? rudStrToXML(line) : rudStrToXML(line.mid(start));
    }
    return result;
}

namespace {

// The line break at position I of an attribute value: the break character
// (13, 10 or 0x2028) and the length of its text, or 0 when there is none
// there. Hexadecimal references are characters of a line, not breaks.
char16_t lineBreakAt(QStringView Value, qsizetype I, bool LineSeparator, qsizetype &Length)
{
    const char16_t c = Value[I].unicode();
    if (c == 13 || c == 10 || (LineSeparator && c == 0x2028)) {
        Length = 1;
        return c;
    }
    if (c != u'&' || I + 3 >= Value.size() || Value[I + 1] != u'#' || Value[I + 2] < u'0' || Value[I + 2] > u'9')
        return 0;
    qint64 code = 0;
    qsizetype j = I + 2;
    for (; j < Value.size() && j < I + 12 && Value[j] >= u'0' && Value[j] <= u'9'; ++j)
        code = code * 10 + (Value[j].unicode() - '0');
    if (j >= Value.size() || Value[j] != u';')
        return 0;
    if (code != 13 && code != 10 && !(LineSeparator && code == 0x2028))
        return 0;
    Length = j + 1 - I;
    return char16_t(code);
}

} // namespace

QStringList rudXMLToLines(const QString &Value, bool LineSeparator)
{
    QStringList lines;
    const QStringView v(Value);
    const qsizetype n = v.size();
    // Most values are one line without references: that line is the value.
    const auto special = [](QChar c) {
        const char16_t u = c.unicode();
        return u == u'&' || u == 13 || u == 10 || u == 0x2028;
    };
    if (std::none_of(v.begin(), v.end(), special)) {
        if (n > 0)
            lines.append(Value);
        return lines;
    }
    qsizetype start = 0, i = 0;
    while (i < n) {
        qsizetype length = 0;
        const char16_t c = special(v[i]) ? lineBreakAt(v, i, LineSeparator, length) : 0;
        if (!c) {
            ++i;
            continue;
        }
        lines.append(rudXMLToStr(Value.mid(start, i - start)));
        i += length;
        // Only CR LF is one break; LF CR is two.
        if (c == 13 && i < n) {
            qsizetype next = 0;
            if (lineBreakAt(v, i, LineSeparator, next) == 10)
                i += next;
        }
        start = i;
    }
    if (start < n)
        lines.append(rudXMLToStr(Value.mid(start)));
    return lines;
}

// The character of a decimal reference body; a body that is not a number
// raises the runtime's conversion error.
static void appendReference(QString &out, QStringView body)
{
    // Up to nine digits are read here, where they cannot overflow; any
    // other body goes through the runtime's conversion.
    qint64 code = 0;
    bool plain = !body.isEmpty() && body.size() <= 9;
    for (qsizetype i = 0; plain && i < body.size(); ++i) {
        if (body[i] < u'0' || body[i] > u'9')
            plain = false;
        else
            code = code * 10 + (body[i].unicode() - '0');
    }
    if (!plain)
        code = StrToInt(body.toString());
    if (code >= 0 && code <= 0xFFFF) {
        out += QChar(char16_t(code));
    } else if (code > 0xFFFF && code <= 0x10FFFF) {
        const char32_t u = char32_t(code);
        out += QChar(QChar::highSurrogate(u));
        out += QChar(QChar::lowSurrogate(u));
    } else {
        out += QChar(QChar::ReplacementCharacter);
    }
}

QString rudXMLToStr(const QString &Text)
{
    const qsizetype amp = Text.indexOf(u'&');
    if (amp < 0)
        return Text;
    const QStringView t(Text);
    const qsizetype n = t.size();
    QString result;
    result.reserve(n);
    result.append(t.constData(), amp);
    qsizetype i = amp;
    while (i < n) {
        const QChar c = t[i];
        if (c == u'&' && i < n - 1) {
            if (t[i + 1] == u'#' && i + 2 < n) {
                const qsizetype semi = t.indexOf(u';', i + 2);
                if (semi >= 0) {
                    appendReference(result, t.mid(i + 2, semi - i - 2));
                    i = semi + 1;
                    continue;
                }
                // Without a semicolon the reference stays as it is.
            } else {
                const QStringView rest = t.mid(i + 1);
                if (rest.startsWith(u"quot;")) {
                    result += u'"';
                    i += 6;
                    continue;
                }
                if (rest.startsWith(u"amp;")) {
                    result += u'&';
                    i += 5;
                    continue;
                }
                if (rest.startsWith(u"lt;")) {
                    result += u'<';
                    i += 4;
                    continue;
                }
                if (rest.startsWith(u"gt;")) {
                    result += u'>';
                    i += 4;
                    continue;
                }
            }
        }
        result += c;
        ++i;
    }
    return result;
}

QString rudValueToXML(const QVariant &Value)
{
    switch (Value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return QString::number(Value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return FloatToStr(Value.toDouble());
    case QMetaType::QDate:
        return DateToStr(qDateToDateTime(Value.toDate()));
    case QMetaType::QDateTime:
        return DateToStr(qDateTimeToDateTime(Value.toDateTime()));
    case QMetaType::QString:
        return rudStrToXML(Value.toString());
    case QMetaType::QByteArray:
        return rudStrToXML(QString::fromUtf8(Value.toByteArray()));
    case QMetaType::Bool:
        return Value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        // 64-bit integers, null and every other kind have no attribute form.
        return QString();
    }
}
