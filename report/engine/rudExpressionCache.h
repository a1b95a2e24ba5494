#pragma once
// Compiled expressions of one report.
//
// Every distinct expression text is compiled once, as a one-function program
// ("fr3f" + its number) in the report's script language, into a private
// script whose parent is the script whose names the expression sees; later
// evaluations only run the function. Texts differing only in letter case
// share one function unless the cache is case-sensitive.

#include "script/fs_ivariant.h"

#include <QHash>
#include <QString>
#include <memory>

class TfsScript;
class TfsProcVariable;

// The expression cache of a report; see the file comment.
class TfrxExpressionCache {
public:
    // MainScript: the report's script, whose main-program flag is cleared
    // while an expression runs.
    explicit TfrxExpressionCache(TfsScript *MainScript);
    ~TfrxExpressionCache();
    TfrxExpressionCache(const TfrxExpressionCache &) = delete;
    TfrxExpressionCache &operator=(const TfrxExpressionCache &) = delete;

    // Forgets every compiled expression.
    void Clear();
    // The value of Expression seen from AScript. On failure ErrorMsg holds
    // the message ("Error in expression 'x': ..." for a compile error, the
    // error's own message for a run-time one) and the result is Null.
    TfsVariant Calc(const QString &Expression, QString &ErrorMsg, TfsScript *AScript);

    const QString &ScriptLanguage() const { return FScriptLanguage; }
    void SetScriptLanguage(const QString &Value) { FScriptLanguage = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    // Changing the case rule forgets the compiled expressions.
    void SetCaseSensitive(bool Value);
    // Number of compiled expressions.
    int Count() const { return int(FExpressions.size()); }

private:
    // Compiles Expression as a new function cached under Key; nullptr (and
    // the error text in ErrorMsg) when it does not compile.
    TfsProcVariable *Compile(const QString &Key, const QString &Expression, QString &ErrorMsg);
    // The source of the one-function program named Name for Expression, or
    // an empty text for an unknown language.
    QString ProgramText(const QString &Name, const QString &Expression) const;

    TfsScript *FMainScript;
    std::unique_ptr<TfsScript> FScript;
    QHash<QString, TfsProcVariable *> FExpressions;
    // The same functions by the expression texts as they were asked for,
    // so that a text asked again needs no case mapping.
    QHash<QString, TfsProcVariable *> FAsWritten;
    QString FScriptLanguage = QStringLiteral("PascalScript");
    bool FCaseSensitive = false;
};
