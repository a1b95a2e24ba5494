// Grammar registry and grammar compilation.

#include "script/fs_igrammar.h"

#include "script/fs_iconst.h"

#include <QBuffer>
#include <QMap>
#include <functional>
#include <mutex>
#include <utility>

namespace {

[[noreturn]] void invalidLanguage()
{
    throw EfsCompileError(fsResource(QStringLiteral("SInvalidLanguage")));
}

const QHash<QString, TfsGrammarKind> &elementKinds()
{
    static const QHash<QString, TfsGrammarKind> kinds = {
        {QStringLiteral("char"), TfsGrammarKind::Char},
        {QStringLiteral("keyword"), TfsGrammarKind::Keyword},
        {QStringLiteral("ident"), TfsGrammarKind::Ident},
        {QStringLiteral("number"), TfsGrammarKind::Number},
        {QStringLiteral("string"), TfsGrammarKind::String},
        {QStringLiteral("frstring"), TfsGrammarKind::FRString},
        {QStringLiteral("eol"), TfsGrammarKind::EOL},
        {QStringLiteral("sequence"), TfsGrammarKind::Sequence},
        {QStringLiteral("switch"), TfsGrammarKind::Switch},
        {QStringLiteral("optionalswitch"), TfsGrammarKind::OptionalSwitch},
        {QStringLiteral("loop"), TfsGrammarKind::Loop},
        {QStringLiteral("optionalloop"), TfsGrammarKind::OptionalLoop},
        {QStringLiteral("optional"), TfsGrammarKind::Optional},
    };
    return kinds;
}

} // namespace

// A text that is no XML document, or an incomplete one, or one with an
// attribute value that does not un-escape, is no language.
TfsGrammar::TfsGrammar(const QString &text)
try {
    TfsXMLDocument doc;
    QBuffer buffer;
    buffer.setData(text.toUtf8());
    buffer.open(QIODevice::ReadOnly);
    doc.LoadFromStream(&buffer);
    if (!doc.Damage().isEmpty())
        invalidLanguage();
    const TfsXMLItem *root = doc.Root();
    if (root->Name() != QLatin1String("language"))
        invalidLanguage();
    Name = root->Prop(QStringLiteral("text"));
    for (int i = 0; i < root->Count(); ++i) {
        const TfsXMLItem *item = root->Items(i);
        if (item->Name() == QLatin1String("parser")) {
            for (int j = 0; j < item->Count(); ++j) {
                const TfsXMLItem *s = item->Items(j);
                const QString v = s->Prop(QStringLiteral("text"));
                const QString &n = s->Name();
                if (n == QLatin1String("commentline1")) CommentLine1 = v;
                else if (n == QLatin1String("commentline2")) CommentLine2 = v;
                else if (n == QLatin1String("commentblock1")) CommentBlock1 = v;
                else if (n == QLatin1String("commentblock2")) CommentBlock2 = v;
                else if (n == QLatin1String("stringquotes")) StringQuotes = v;
                else if (n == QLatin1String("hexsequence")) HexSequence = v;
                else if (n == QLatin1String("identchars")) IdentChars = v;
                else if (n == QLatin1String("specstrchar")) SpecStrChar = v == QLatin1String("1");
                else if (n == QLatin1String("declarevars")) DeclareVars = v == QLatin1String("0");
                else if (n == QLatin1String("skipeol")) SkipEOL = v != QLatin1String("0");
                else if (n == QLatin1String("skipchar")) SkipChar = v;
                else if (n == QLatin1String("casesensitive")) CaseSensitive = v == QLatin1String("1");
                else if (n == QLatin1String("keywords")) {
                    for (int k = 0; k < s->Count(); ++k)
                        Keywords << s->Items(k)->Name();
                } else if (n == QLatin1String("errors")) {
                    for (int k = 0; k < s->Count(); ++k)
                        Errors.insert(s->Items(k)->Name(), s->Items(k)->Prop(QStringLiteral("text")));
                }
            }
        } else if (item->Name() == QLatin1String("types")) {
            Types = std::make_unique<TfsXMLItem>();
            Types->Assign(*item);
        } else {
            if (FRules.contains(item->Name()) || elementKinds().contains(item->Name()))
                invalidLanguage();
            auto def = std::make_unique<TfsGrammarElement>();
            def->Name = item->Name();
            FRules.insert(item->Name(), def.get());
            FElements.push_back(std::move(def));
        }
    }
    // Second pass: rule bodies, now that every rule name is known.
    for (int i = 0; i < root->Count(); ++i) {
        const TfsXMLItem *item = root->Items(i);
        if (item->Name() == QLatin1String("parser") || item->Name() == QLatin1String("types"))
            continue;
        Compile(*item, true);
    }
    Program = FRules.value(QStringLiteral("program"));
    if (!Program)
        invalidLanguage();
} catch (const EfsCompileError &) {
    throw;
} catch (const Exception &) {
    invalidLanguage();
}

TfsGrammarElement *TfsGrammar::Compile(const TfsXMLItem &item, bool definition)
{
    fsCheckStack();
    TfsGrammarElement *e;
    if (definition) {
        e = FRules.value(item.Name());
        e->Kind = TfsGrammarKind::Sequence;
    } else {
        auto owned = std::make_unique<TfsGrammarElement>();
        e = owned.get();
        FElements.push_back(std::move(owned));
        const auto kind = elementKinds().constFind(item.Name());
        if (kind != elementKinds().constEnd()) {
            e->Kind = kind.value();
        } else {
            e->Kind = TfsGrammarKind::Rule;
            e->Name = item.Name();
            e->Rule = FRules.value(item.Name());
            if (!e->Rule)
                invalidLanguage();
        }
    }
    e->HasText = item.PropExists(QStringLiteral("text"));
    e->Text = item.Prop(QStringLiteral("text"));
    e->Node = item.Prop(QStringLiteral("node"));
    e->IsUses = e->Node == QLatin1String("uses");
    e->Add = item.Prop(QStringLiteral("add"));
    if (item.PropExists(QStringLiteral("addtext")))
        e->AddText = item.Prop(QStringLiteral("addtext"));
    if (item.PropExists(QStringLiteral("err"))) {
        const QString err = item.Prop(QStringLiteral("err"));
        const auto found = Errors.constFind(err);
        if (found == Errors.constEnd())
            invalidLanguage();
        e->Err = found.value();
        if (e->Err.isEmpty())
            e->Err = err;
    }
    e->Term = item.Prop(QStringLiteral("term")) == QLatin1String("1");
    e->NoSkip = item.Prop(QStringLiteral("skip")) == QLatin1String("0");
    e->SkipError = item.Prop(QStringLiteral("skip")) == QLatin1String("1");
    if (e->Kind == TfsGrammarKind::Char && e->Text.size() != 1)
        invalidLanguage();
    for (int i = 0; i < item.Count(); ++i)
        e->Children.push_back(Compile(*item.Items(i), false));
    return e;
}

// ---------------------------------------------------------------------------
// Registry

namespace {

struct TLanguage {
    QString Text;
    // Reads Text when it is first needed (a built-in language); empty once read.
    std::function<QString()> Load;
    std::shared_ptr<const TfsGrammar> Compiled;

    const QString &GetText()
    {
        if (Load)
            Text = std::exchange(Load, nullptr)();
        return Text;
    }
};

struct TRegistry {
    std::recursive_mutex Lock;
    QMap<QString, TLanguage> Languages; // by upper-case name
    QMap<QString, QString> Names;       // upper-case -> name as registered
    bool BuiltinsDone = false;
};

TRegistry &registry()
{
    static TRegistry r;
    std::lock_guard guard(r.Lock);
    if (!r.BuiltinsDone) {
        r.BuiltinsDone = true;
        fsRegisterBuiltinLanguages();
    }
    return r;
}

} // namespace

void fsRegisterLanguage(const QString &name, const QString &grammar)
{
    TRegistry &r = registry();
    std::lock_guard guard(r.Lock);
    const QString key = name.toUpper();
    r.Languages[key] = TLanguage{grammar, nullptr, nullptr};
    r.Names[key] = name;
}

void fsRegisterLanguage(const QString &name, std::function<QString()> grammar)
{
    TRegistry &r = registry();
    std::lock_guard guard(r.Lock);
    const QString key = name.toUpper();
    r.Languages[key] = TLanguage{QString(), std::move(grammar), nullptr};
    r.Names[key] = name;
}

QString fsGetLanguage(const QString &name)
{
    TRegistry &r = registry();
    std::lock_guard guard(r.Lock);
    const auto found = r.Languages.find(name.toUpper());
    if (found == r.Languages.end())
        throw EfsCompileError(fsResource(QStringLiteral("SLangNotFound")).replace(QLatin1String("%s"), name));
    return found->GetText();
}

QStringList fsGetLanguageList()
{
    TRegistry &r = registry();
    std::lock_guard guard(r.Lock);
    QStringList names;
    for (const QString &n : r.Names)
        if (!n.startsWith(QLatin1Char('@')))
            names << n;
    return names;
}

std::shared_ptr<const TfsGrammar> fsGetGrammar(const QString &name)
{
    TRegistry &r = registry();
    std::lock_guard guard(r.Lock);
    const auto found = r.Languages.find(name.toUpper());
    if (found == r.Languages.end())
        throw EfsCompileError(fsResource(QStringLiteral("SLangNotFound")).replace(QLatin1String("%s"), name));
    if (!found->Compiled)
        found->Compiled = std::make_shared<const TfsGrammar>(found->GetText());
    return found->Compiled;
}
