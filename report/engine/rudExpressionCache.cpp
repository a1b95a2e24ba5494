// Compiled expressions of one report.

#include "report/engine/rudExpressionCache.h"

#include "base/Errors.h"
#include "base/TextCase.h"
#include "report/model/rudRes.h"
#include "script/fs_iinterpreter.h"

TfrxExpressionCache::TfrxExpressionCache(TfsScript *MainScript)
    : FMainScript(MainScript), FScript(std::make_unique<TfsScript>(MainScript))
{
}

TfrxExpressionCache::~TfrxExpressionCache() = default;

void TfrxExpressionCache::Clear()
{
    FExpressions.clear();
    FAsWritten.clear();
    FScript = std::make_unique<TfsScript>(FMainScript);
}

void TfrxExpressionCache::SetCaseSensitive(bool Value)
{
    if (Value != FCaseSensitive)
        Clear();
    FCaseSensitive = Value;
}

QString TfrxExpressionCache::ProgramText(const QString &Name, const QString &Expression) const
{
    const QString lang = FScriptLanguage;
    if (lang.compare(QLatin1String("PascalScript"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("function ") + Name + QStringLiteral(": Variant; begin Result := ") + Expression +
               QStringLiteral(" end; begin end.");
    if (lang.compare(QLatin1String("C++Script"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Variant ") + Name + QStringLiteral("() { return ") + Expression +
               QStringLiteral("; } {}");
    if (lang.compare(QLatin1String("BasicScript"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("function ") + Name + QStringLiteral("\r\nreturn ") + Expression +
               QStringLiteral("\r\nend function");
    if (lang.compare(QLatin1String("JScript"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("function ") + Name + QStringLiteral("() { return ") + Expression +
               QStringLiteral("; }");
    return QString();
}

TfsProcVariable *TfrxExpressionCache::Compile(const QString &Key, const QString &Expression, QString &ErrorMsg)
{
    const QString name = QStringLiteral("fr3f") + QString::number(FExpressions.size());
    const QString source = ProgramText(name, Expression);
    // An unknown language keeps the previous program, which is compiled
    // again; its language then reports the error.
    if (!source.isEmpty()) {
        FScript->SetSyntaxType(FScriptLanguage);
        FScript->SetLines(source);
    }
    const bool compiled = FScript->Compile();
    TfsCustomVariable *item = FScript->FindLocal(name);
    if (!compiled || !item || item->Kind() != TfsItemKind::Proc) {
        if (item)
            FScript->Remove(item);
        const QString message = compiled ? QStringLiteral("Undeclared identifier: '%1'").arg(name)
                                         : FScript->ErrorMsg();
        ErrorMsg = rudResources().Get(QStringLiteral("clExprError")) + QStringLiteral(" '") + Expression +
                   QStringLiteral("': ") + message;
        return nullptr;
    }
    auto *func = static_cast<TfsProcVariable *>(item);
    FExpressions.insert(Key, func);
    return func;
}

TfsVariant TfrxExpressionCache::Calc(const QString &Expression, QString &ErrorMsg, TfsScript *AScript)
{
    ErrorMsg.clear();
    FScript->SetParent(AScript);
    TfsProcVariable *func = FAsWritten.value(Expression);
    if (!func) {
        const QString key = FCaseSensitive ? Expression : upperCased(Expression);
        func = FExpressions.value(key);
        if (!func)
            func = Compile(key, Expression, ErrorMsg);
        if (!func)
            return TfsVariant::Null();
        FAsWritten.insert(Expression, func);
    }

    // The expression's function is the running program, not the report's
    // main block: clear the report script's main flag while it runs.
    struct TMainFlag {
        TfsScript *Script;
        bool Saved;
        ~TMainFlag()
        {
            if (Script)
                Script->FMainProg = Saved;
        }
    } mainFlag{FMainScript, FMainScript && FMainScript->FMainProg};
    if (FMainScript)
        FMainScript->FMainProg = false;
    try {
        return FScript->CallFunction2(func, {});
    } catch (const EfsStopped &) {
        throw;
    } catch (const Exception &e) {
        ErrorMsg = e.Message();
    }
    return TfsVariant::Null();
}
