// The grammar matcher: source text to intermediate document.

#include "script/fs_iilparser.h"

#include "script/fs_iconst.h"
#include "script/fs_iinterpreter.h"

#include "base/InputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TfsILParser::TfsILParser(TfsScript *script) : FScript(script), FUsedUnits(std::make_shared<QStringList>())
{
}

TfsILParser::~TfsILParser() = default;

void TfsILParser::SelectLanguage(const QString &langName)
{
    FParser.Reset();
    FGrammar = fsGetGrammar(langName);
    FLangName = langName;
    const TfsGrammar &g = *FGrammar;
    auto split = [](const QString &block, QString &open, QString &close) {
        const qsizetype comma = block.indexOf(QLatin1Char(','));
        if (comma > 0) {
            open = block.left(comma);
            close = block.mid(comma + 1);
        }
    };
    FParser.CommentLine1 = g.CommentLine1;
    FParser.CommentLine2 = g.CommentLine2;
    split(g.CommentBlock1, FParser.CommentBlock1Open, FParser.CommentBlock1Close);
    split(g.CommentBlock2, FParser.CommentBlock2Open, FParser.CommentBlock2Close);
    if (!g.StringQuotes.isEmpty())
        FParser.StringQuotes = g.StringQuotes[0];
    FParser.HexSequence = g.HexSequence;
    FParser.SkipChar = g.SkipChar.isEmpty() ? QChar() : g.SkipChar[0];
    FParser.SkipEOL = g.SkipEOL;
    FParser.SpecStrChar = g.SpecStrChar;
    FParser.CaseSensitive = g.CaseSensitive;
    FParser.ConstructCharset(g.IdentChars);
    FParser.SetExtendedCharset(FScript->ExtendedCharset());
    FParser.SetKeywords(g.Keywords);
}

bool TfsILParser::SameWord(const QString &a, const QString &b) const
{
    return a.compare(b, FParser.CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

int TfsILParser::FirstTokenPosition(int from)
{
    const int save = FParser.Position();
    FParser.SetPosition(from);
    FParser.SkipSpaces();
    const int result = FParser.Position();
    FParser.SetPosition(save);
    return result;
}

void TfsILParser::RecordError(const QString &message, int position)
{
    if (!FErrorMsg.isEmpty())
        return;
    FErrorMsg = message;
    FErrorPos = FParser.GetXYPosition(position);
    FErrorUnit = UnitName;
}

void TfsILParser::EmitLeaf(const QString &name, const QString &text, int position)
{
    auto leaf = std::make_unique<TfsXMLItem>(name);
    leaf->SetProp(QStringLiteral("text"), text);
    leaf->SetProp(QStringLiteral("pos"), FParser.GetXYPosition(position));
    FOut.push_back(std::move(leaf));
}

// A name in angle brackets becomes a call of "Get" with the name as a string.
void TfsILParser::EmitGetCall(const QString &name, int position)
{
    const QString pos = FParser.GetXYPosition(position);
    auto dsgn = std::make_unique<TfsXMLItem>(QStringLiteral("dsgn"));
    dsgn->SetProp(QStringLiteral("pos"), pos);
    dsgn->SetProp(QStringLiteral("pos1"), FParser.GetXYPosition());
    TfsXMLItem *node = dsgn->Add(QStringLiteral("node"));
    node->SetProp(QStringLiteral("text"), QStringLiteral("Get"));
    node->SetProp(QStringLiteral("pos"), pos);
    TfsXMLItem *expr = dsgn->Add(QStringLiteral("expr"));
    expr->SetProp(QStringLiteral("pos"), pos);
    TfsXMLItem *str = expr->Add(QStringLiteral("string"));
    str->SetProp(QStringLiteral("text"), QLatin1Char('\'') + name + QLatin1Char('\''));
    str->SetProp(QStringLiteral("pos"), pos);
    FOut.push_back(std::move(dsgn));
}

bool TfsILParser::MatchChildren(const TfsGrammarElement *e)
{
    for (const TfsGrammarElement *child : e->Children)
        if (!Match(child))
            return false;
    return true;
}

bool TfsILParser::MatchLoop(const TfsGrammarElement *e)
{
    int repetitions = 0;
    for (;;) {
        const int repPos = FParser.Position();
        const size_t repOut = FOut.size();
        const bool hadError = !FErrorMsg.isEmpty();
        bool ok = true;
        if (repetitions > 0 && e->HasText && !e->Text.isEmpty()) {
            const QString sep = FParser.GetChar(true);
            ok = sep == e->Text;
        }
        if (ok) {
            if (repetitions > 0)
                ++FLaterRepetition;
            ok = MatchChildren(e);
            if (repetitions > 0)
                --FLaterRepetition;
        }
        if (!ok) {
            FParser.SetPosition(repPos);
            FOut.resize(repOut);
            if (e->SkipError && !hadError && !FErrorMsg.isEmpty()) {
                FErrorMsg.clear();
                FErrorPos.clear();
                FErrorUnit.clear();
            }
            break;
        }
        ++repetitions;
        // A repetition that reads nothing would repeat for ever; with a
        // separator every later repetition reads at least that.
        if (FParser.Position() == repPos && (repetitions > 1 || !e->HasText || e->Text.isEmpty()))
            break;
    }
    return repetitions > 0 || e->Kind == TfsGrammarKind::OptionalLoop;
}

bool TfsILParser::Match(const TfsGrammarElement *e)
{
    fsCheckStack();
    const int startPos = FParser.Position();
    const size_t startOut = FOut.size();
    bool ok = false;
    QString token;
    switch (e->Kind) {
    case TfsGrammarKind::Char:
        token = FParser.GetChar(!e->NoSkip && FParser.SkipSpace);
        ok = !token.isEmpty() && token == e->Text;
        break;
    case TfsGrammarKind::Keyword:
        token = FParser.GetWord();
        ok = !token.isEmpty() && (!e->HasText || SameWord(token, e->Text));
        break;
    case TfsGrammarKind::Ident:
        token = FParser.GetIdent();
        ok = !token.isEmpty();
        break;
    case TfsGrammarKind::Number:
        token = FParser.GetNumber();
        ok = !token.isEmpty();
        break;
    case TfsGrammarKind::String:
        token = FParser.GetString();
        ok = !token.isEmpty();
        break;
    case TfsGrammarKind::FRString:
        token = FParser.GetFRString();
        ok = !token.trimmed().isEmpty();
        if (ok)
            EmitGetCall(token.trimmed(), FParser.LastPosition());
        break;
    case TfsGrammarKind::EOL:
        token = FParser.GetEOL();
        ok = !token.isEmpty();
        break;
    case TfsGrammarKind::Sequence:
        ok = MatchChildren(e);
        break;
    case TfsGrammarKind::Switch:
    case TfsGrammarKind::OptionalSwitch:
        for (const TfsGrammarElement *child : e->Children)
            if (Match(child)) {
                ok = true;
                break;
            }
        if (!ok)
            ok = e->Kind == TfsGrammarKind::OptionalSwitch;
        break;
    case TfsGrammarKind::Loop:
    case TfsGrammarKind::OptionalLoop:
        ok = MatchLoop(e);
        break;
    case TfsGrammarKind::Optional:
        if (!MatchChildren(e)) {
            FParser.SetPosition(startPos);
            FOut.resize(startOut);
        }
        ok = true;
        break;
    case TfsGrammarKind::Rule:
        ok = Match(e->Rule);
        break;
    }

    if (ok) {
        if (!e->Node.isEmpty()) {
            auto node = std::make_unique<TfsXMLItem>(e->Node);
            node->SetProp(QStringLiteral("pos"), FParser.GetXYPosition(FirstTokenPosition(startPos)));
            if (e->Node != QLatin1String("expr"))
                node->SetProp(QStringLiteral("pos1"), FParser.GetXYPosition());
            for (size_t i = startOut; i < FOut.size(); ++i)
                node->Add(std::move(FOut[i]));
            FOut.resize(startOut);
            TfsXMLItem *raw = node.get();
            FOut.push_back(std::move(node));
            if (e->IsUses)
                ProcessUses(raw);
        }
        if (!e->Add.isEmpty())
            EmitLeaf(e->Add, e->AddText.isEmpty() ? token : e->AddText, FParser.LastPosition());
        return true;
    }

    if (!e->Err.isEmpty() && !(e->Term && FLaterRepetition > 0))
        RecordError(e->Err, FirstTokenPosition(startPos));
    FParser.SetPosition(startPos);
    FOut.resize(startOut);
    return false;
}

namespace {

// The text of a unit file. Only a regular file of a sane size is read: a
// device such as /dev/zero would otherwise be read without end.
QString readUnitFile(const QFileInfo &info)
{
    QFile f;
    openRegularFile(f, info.filePath());
    return QString::fromUtf8(readWholeFile(f, TfsILParser::MaxUnitSize));
}

} // namespace

void TfsILParser::ProcessUses(TfsXMLItem *uses)
{
    // The "uses" element is replaced by one "uses" element per unit holding
    // the unit's own intermediate document.
    std::vector<std::unique_ptr<TfsXMLItem>> units;
    for (int i = 0; i < uses->Count(); ++i) {
        const TfsXMLItem *file = uses->Items(i);
        if (file->Name() != QLatin1String("file"))
            continue;
        QString name = file->Prop(QStringLiteral("text"));
        if (name.size() >= 2 && name.startsWith(QLatin1Char('\'')) && name.endsWith(QLatin1Char('\'')))
            name = name.mid(1, name.size() - 2);
        if (FUsedUnits->contains(name, Qt::CaseInsensitive))
            continue;
        FUsedUnits->append(name);

        QString source;
        bool found = false;
        if (FScript->OnGetUnit) {
            found = FScript->OnGetUnit(FScript, name, source);
        }
        if (!found) {
            for (QString dir : FScript->IncludePath()) {
                if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QLatin1Char('\\')))
                    dir += QLatin1Char('/');
                const QFileInfo info(dir + name);
                if (!info.exists())
                    continue;
                source = readUnitFile(info);
                found = true;
                break;
            }
        }
        if (!found)
            throw EInOutError(QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(name));

        TfsILParser unitParser(FScript);
        unitParser.UnitName = name;
        unitParser.FUsedUnits = FUsedUnits;
        unitParser.SelectLanguage(FLangName);
        const bool ok = unitParser.MakeILScript(source);
        if (!ok) {
            if (FErrorMsg.isEmpty()) {
                FErrorMsg = unitParser.FErrorMsg;
                FErrorPos = unitParser.FErrorPos;
                FErrorUnit = name;
            }
            continue;
        }
        auto unit = std::make_unique<TfsXMLItem>(QStringLiteral("uses"));
        unit->SetProp(QStringLiteral("unit"), name);
        TfsXMLItem *root = unitParser.FILScript.Root();
        while (root->Count() > 0) {
            auto child = root->Take(0);
            if (child->Name() != QLatin1String("types"))
                unit->Add(std::move(child));
        }
        units.push_back(std::move(unit));
        // Keep the unit's source: its positions are reported against it.
        FUnitParsers.emplace_back(name, std::make_unique<TfsParser>(unitParser.FParser));
        for (auto &p : unitParser.FUnitParsers)
            FUnitParsers.push_back(std::move(p));
    }
    // Replace the file list element (the last output) by the units.
    FOut.pop_back();
    for (auto &u : units)
        FOut.push_back(std::move(u));
}

bool TfsILParser::MakeILScript(const QString &text)
{
    FErrorMsg.clear();
    FErrorPos.clear();
    FErrorUnit.clear();
    FOut.clear();
    FLaterRepetition = 0;
    QString source = text;
    FParser.SetText(source);
    // "#language Name" on the first line selects the language of this text.
    if (source.startsWith(QLatin1Char('#'))) {
        FParser.SetPosition(2);
        const QString word = FParser.GetWord();
        if (word.compare(QLatin1String("language"), Qt::CaseInsensitive) == 0) {
            qsizetype end = source.indexOf(QLatin1Char('\r'));
            const qsizetype lf = source.indexOf(QLatin1Char('\n'));
            if (end < 0 || (lf >= 0 && lf < end))
                end = lf;
            if (end < 0)
                end = source.size();
            const int from = FParser.Position() - 1;
            const QString lang = source.mid(from, end - from).trimmed();
            SelectLanguage(lang);
            FParser.SetText(source);
            FParser.SetPosition(int(end) + 1);
        } else {
            FParser.SetPosition(1);
        }
    }

    bool matched = Match(FGrammar->Program);
    if (matched && FErrorMsg.isEmpty()) {
        FParser.SkipSpaces();
        if (!FParser.AtEnd()) {
            // Text the program rule did not take is an error, not silently dropped.
            RecordError(FGrammar->Errors.value(QStringLiteral("err3"), QStringLiteral("Statement expected")),
                        FParser.Position());
        }
    }
    // A comment that swallows the rest of the text, or a number that does
    // not fit, is the fault to report whatever the grammar made of it.
    if (!FParser.LexError().isEmpty()) {
        FErrorMsg.clear();
        RecordError(FParser.LexError(), FParser.LexErrorPosition());
        matched = false;
    }
    const bool ok = matched && FErrorMsg.isEmpty();
    TfsXMLItem *root = FILScript.Root();
    root->Clear();
    root->SetText(QString());
    root->SetName(QStringLiteral("program"));
    if (ok) {
        for (auto &item : FOut)
            root->Add(std::move(item));
        if (FGrammar->Types) {
            auto types = std::make_unique<TfsXMLItem>();
            types->Assign(*FGrammar->Types);
            root->Add(std::move(types));
        }
    } else if (FErrorMsg.isEmpty()) {
        RecordError(FGrammar->Errors.value(QStringLiteral("err3"), QStringLiteral("Statement expected")),
                    FParser.Position());
    }
    FOut.clear();
    if (UnitName.isEmpty() || !ok)
        FScript->SetError(FErrorMsg, FErrorPos, FErrorUnit);
    return ok;
}
