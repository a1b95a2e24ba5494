// Small XML reader and writer for grammar documents and the intermediate form.

#include "script/fs_xml.h"

#include "script/fs_iconst.h"

QString TfsXMLItem::Prop(const QString &name) const
{
    for (const auto &p : FProps)
        if (p.first == name)
            return p.second;
    return QString();
}

bool TfsXMLItem::HasProp(const QString &name) const
{
    for (const auto &p : FProps)
        if (p.first == name)
            return true;
    return false;
}

void TfsXMLItem::SetProp(const QString &name, const QString &value)
{
    for (auto &p : FProps)
        if (p.first == name) {
            p.second = value;
            return;
        }
    FProps.emplace_back(name, value);
}

TfsXMLItem *TfsXMLItem::Add(const QString &name)
{
    return Add(std::make_unique<TfsXMLItem>(name));
}

TfsXMLItem *TfsXMLItem::Add(std::unique_ptr<TfsXMLItem> item)
{
    item->FParent = this;
    FItems.push_back(std::move(item));
    return FItems.back().get();
}

TfsXMLItem *TfsXMLItem::Insert(int index, std::unique_ptr<TfsXMLItem> item)
{
    item->FParent = this;
    auto it = FItems.insert(FItems.begin() + index, std::move(item));
    return it->get();
}

std::unique_ptr<TfsXMLItem> TfsXMLItem::Take(int index)
{
    auto item = std::move(FItems[size_t(index)]);
    FItems.erase(FItems.begin() + index);
    item->FParent = nullptr;
    return item;
}

int TfsXMLItem::Find(const QString &name) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->Name == name)
            return int(i);
    return -1;
}

TfsXMLItem *TfsXMLItem::FindItem(const QString &name) const
{
    const int i = Find(name);
    return i < 0 ? nullptr : Items(i);
}

void TfsXMLItem::Clear()
{
    FItems.clear();
    FProps.clear();
}

void TfsXMLItem::Assign(const TfsXMLItem &source)
{
    if (&source == this)
        return;
    Clear();
    Name = source.Name;
    FProps = source.FProps;
    for (const auto &child : source.FItems)
        Add()->Assign(*child);
}

QString fsXMLEscape(const QString &text)
{
    QString r;
    r.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&': r += QLatin1String("&amp;"); break;
        case '<': r += QLatin1String("&lt;"); break;
        case '>': r += QLatin1String("&gt;"); break;
        case '"': r += QLatin1String("&quot;"); break;
        default:
            if (c.unicode() < 32)
                r += QStringLiteral("&#%1;").arg(c.unicode());
            else
                r += c;
        }
    }
    return r;
}

QString TfsXMLItem::Text(int indent) const
{
    QString r(indent, QLatin1Char(' '));
    r += QLatin1Char('<') + Name;
    for (const auto &p : FProps)
        r += QLatin1Char(' ') + p.first + QLatin1String("=\"") + fsXMLEscape(p.second) + QLatin1Char('"');
    if (FItems.empty())
        return r + QLatin1String("/>\n");
    r += QLatin1String(">\n");
    for (const auto &child : FItems)
        r += child->Text(indent + 1);
    r += QString(indent, QLatin1Char(' ')) + QLatin1String("</") + Name + QLatin1String(">\n");
    return r;
}

EfsXMLError::EfsXMLError(const QString &message, int line, int column)
    : Exception(QStringLiteral("%1:%2: %3").arg(line).arg(column).arg(message)), Line(line), Column(column)
{
}

namespace {

// A recursive-descent reader over the whole text; nesting is bounded by the
// stack check so a hostile document ends with an error, not a crash.
class TReader {
public:
    explicit TReader(const QString &text) : FText(text) {}

    std::unique_ptr<TfsXMLItem> Document()
    {
        SkipMisc();
        if (AtEnd() || Peek() != QLatin1Char('<'))
            Fail(QStringLiteral("root element expected"));
        auto root = Element();
        SkipMisc();
        if (!AtEnd())
            Fail(QStringLiteral("text after the root element"));
        return root;
    }

private:
    const QString &FText;
    qsizetype FPos = 0;

    bool AtEnd() const { return FPos >= FText.size(); }
    QChar Peek(qsizetype ahead = 0) const
    {
        return FPos + ahead < FText.size() ? FText[FPos + ahead] : QChar();
    }
    bool StartsWith(const char *s) const { return QStringView(FText).mid(FPos).startsWith(QLatin1String(s)); }

    [[noreturn]] void Fail(const QString &message) const
    {
        int line = 1, column = 1;
        for (qsizetype i = 0; i < FPos && i < FText.size(); ++i) {
            if (FText[i] == QLatin1Char('\n')) {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        throw EfsXMLError(message, line, column);
    }

    void SkipSpaces()
    {
        while (!AtEnd() && Peek().unicode() <= 32)
            ++FPos;
    }

    // White space, comments, declarations and processing instructions.
    void SkipMisc()
    {
        for (;;) {
            SkipSpaces();
            if (StartsWith("<?")) {
                const qsizetype end = FText.indexOf(QLatin1String("?>"), FPos);
                if (end < 0)
                    Fail(QStringLiteral("unterminated processing instruction"));
                FPos = end + 2;
            } else if (StartsWith("<!--")) {
                const qsizetype end = FText.indexOf(QLatin1String("-->"), FPos + 4);
                if (end < 0)
                    Fail(QStringLiteral("unterminated comment"));
                FPos = end + 3;
            } else if (StartsWith("<!")) {
                const qsizetype end = FText.indexOf(QLatin1Char('>'), FPos);
                if (end < 0)
                    Fail(QStringLiteral("unterminated declaration"));
                FPos = end + 1;
            } else {
                return;
            }
        }
    }

    static bool IsNameChar(QChar c)
    {
        return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-') ||
               c == QLatin1Char('.') || c == QLatin1Char(':') || c == QLatin1Char('+') ||
               c == QLatin1Char('#');
    }

    QString Name()
    {
        const qsizetype start = FPos;
        while (!AtEnd() && IsNameChar(Peek()))
            ++FPos;
        if (FPos == start)
            Fail(QStringLiteral("name expected"));
        return FText.mid(start, FPos - start);
    }

    QString Unescape(qsizetype start, qsizetype end)
    {
        QString r;
        for (qsizetype i = start; i < end; ++i) {
            const QChar c = FText[i];
            if (c != QLatin1Char('&')) {
                r += c;
                continue;
            }
            const qsizetype semi = FText.indexOf(QLatin1Char(';'), i);
            if (semi < 0 || semi > end || semi - i > 12) {
                FPos = i;
                Fail(QStringLiteral("bad entity"));
            }
            const QString entity = FText.mid(i + 1, semi - i - 1);
            if (entity == QLatin1String("amp")) r += QLatin1Char('&');
            else if (entity == QLatin1String("lt")) r += QLatin1Char('<');
            else if (entity == QLatin1String("gt")) r += QLatin1Char('>');
            else if (entity == QLatin1String("quot")) r += QLatin1Char('"');
            else if (entity == QLatin1String("apos")) r += QLatin1Char('\'');
            else if (entity.startsWith(QLatin1Char('#'))) {
                bool ok = false;
                const uint code = entity.startsWith(QLatin1String("#x"))
                                      ? entity.mid(2).toUInt(&ok, 16)
                                      : entity.mid(1).toUInt(&ok, 10);
                if (!ok || code > 0x10FFFF) {
                    FPos = i;
                    Fail(QStringLiteral("bad character reference"));
                }
                const char32_t ch = char32_t(code);
                r += QString::fromUcs4(&ch, 1);
            } else {
                FPos = i;
                Fail(QStringLiteral("unknown entity '%1'").arg(entity));
            }
            i = semi;
        }
        return r;
    }

    std::unique_ptr<TfsXMLItem> Element()
    {
        fsCheckStack();
        ++FPos; // '<'
        auto item = std::make_unique<TfsXMLItem>(Name());
        for (;;) {
            SkipSpaces();
            if (AtEnd())
                Fail(QStringLiteral("unterminated element '%1'").arg(item->Name));
            if (StartsWith("/>")) {
                FPos += 2;
                return item;
            }
            if (Peek() == QLatin1Char('>')) {
                ++FPos;
                break;
            }
            const QString name = Name();
            SkipSpaces();
            if (Peek() != QLatin1Char('='))
                Fail(QStringLiteral("'=' expected"));
            ++FPos;
            SkipSpaces();
            const QChar quote = Peek();
            if (quote != QLatin1Char('"') && quote != QLatin1Char('\''))
                Fail(QStringLiteral("quoted attribute value expected"));
            const qsizetype start = ++FPos;
            const qsizetype end = FText.indexOf(quote, start);
            if (end < 0)
                Fail(QStringLiteral("unterminated attribute value"));
            if (item->HasProp(name))
                Fail(QStringLiteral("duplicate attribute '%1'").arg(name));
            item->SetProp(name, Unescape(start, end));
            FPos = end + 1;
        }
        // Content: child elements; text between them is not used by these documents.
        for (;;) {
            while (!AtEnd() && Peek() != QLatin1Char('<'))
                ++FPos;
            if (AtEnd())
                Fail(QStringLiteral("closing tag of '%1' expected").arg(item->Name));
            if (StartsWith("</")) {
                const qsizetype tagStart = FPos;
                FPos += 2;
                const QString name = Name();
                if (name != item->Name && (FPos = tagStart) >= 0)
                    Fail(QStringLiteral("closing tag '%1' does not match '%2'").arg(name, item->Name));
                SkipSpaces();
                if (Peek() != QLatin1Char('>'))
                    Fail(QStringLiteral("'>' expected"));
                ++FPos;
                return item;
            }
            if (StartsWith("<!--") || StartsWith("<?")) {
                SkipMisc();
                continue;
            }
            item->Add(Element());
        }
    }
};

} // namespace

void TfsXMLDocument::LoadFromString(const QString &text)
{
    TReader reader(text);
    FRoot = reader.Document();
}

QString TfsXMLDocument::SaveToString() const
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n") + FRoot->Text();
}
