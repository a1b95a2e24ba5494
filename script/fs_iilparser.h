#pragma once
// The language front end: reads a source text as a grammar prescribes and
// writes the intermediate document (MakeILScript), then builds the script's
// items and statements from that document (ParseILScript).

#include "script/fs_igrammar.h"
#include "script/fs_iparser.h"
#include "script/fs_xml.h"

#include <QStringList>
#include <memory>
#include <vector>

class TfsScript;

// Front end of one compile of one script (or of one used unit).
class TfsILParser {
public:
    // A unit file larger than this many bytes is refused ("Cannot open
    // file "NAME": it is larger than N bytes") rather than read into memory.
    static constexpr qint64 MaxUnitSize = 16 * 1024 * 1024;

    explicit TfsILParser(TfsScript *script);
    ~TfsILParser();

    // Resets the tokenizer and applies the grammar of a language; raises
    // "Language '%s' not found" for an unknown name.
    void SelectLanguage(const QString &langName);
    // Parses a source text into the intermediate document; on failure the
    // script's ErrorMsg, ErrorPos and ErrorUnit are set and False returned.
    bool MakeILScript(const QString &text);
    // Builds items and statements from the intermediate document; an error
    // becomes the script's error (message, position, unit) and False.
    bool ParseILScript();

    // The intermediate document of the last MakeILScript.
    TfsXMLDocument &ILScript() { return FILScript; }
    TfsParser &Parser() { return FParser; }
    const TfsGrammar *Grammar() const { return FGrammar.get(); }
    // The unit name the errors of this front end are reported with.
    QString UnitName;

private:
    friend class TfsILBuilder;
    TfsScript *FScript;
    TfsParser FParser;
    std::shared_ptr<const TfsGrammar> FGrammar;
    QString FLangName;
    TfsXMLDocument FILScript;
    // Output of the matcher: the IL elements of the current level, in order.
    std::vector<std::unique_ptr<TfsXMLItem>> FOut;
    QString FErrorMsg, FErrorPos, FErrorUnit;
    int FLaterRepetition = 0;
    std::shared_ptr<QStringList> FUsedUnits;
    // Sources of the used units, kept for building (positions refer to them).
    std::vector<std::pair<QString, std::unique_ptr<TfsParser>>> FUnitParsers;

    bool Match(const TfsGrammarElement *e);
    bool MatchChildren(const TfsGrammarElement *e);
    bool MatchLoop(const TfsGrammarElement *e);
    bool SameWord(const QString &a, const QString &b) const;
    int FirstTokenPosition(int from);
    void RecordError(const QString &message, int position);
    void EmitLeaf(const QString &name, const QString &text, int position);
    void EmitGetCall(const QString &name, int position);
    void ProcessUses(TfsXMLItem *uses);
};
