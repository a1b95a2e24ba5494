// The run side's Calc and DoGetValue: the value of an expression.

#include "report/engine/rudEngineRuntime.h"

#include "base/Errors.h"
#include "report/engine/rudCustomEngine.h"
#include "report/engine/rudDataFields.h"
#include "report/engine/rudExpressionCache.h"
#include "report/engine/rudFR2Events.h"
#include "report/engine/rudGlobalVariables.h"
#include "report/engine/rudPageNumbers.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "script/fs_iconst.h"
#include "script/fs_iinterpreter.h"

#include <QSet>

namespace {

// Report variables whose expressions are being evaluated, so that a variable
// whose text names itself (directly or through others) ends in an error
// instead of endless recursion.
thread_local QSet<QString> variablesInUse;

// The system variables, in the report's order ("Date", "Time", "Page", ...).
enum TSysVariable { svDate, svTime, svPage, svPageN, svTotalPages, svTotalPagesN, svLine, svLineN, svCopyNameN };

TfsVariant sysVariableValue(TfrxReport *report, int index)
{
    TfrxCustomEngine *engine = report->Engine();
    switch (index) {
    case svDate: return TfsVariant(engine->FStartDate);
    case svTime: return TfsVariant(engine->FStartTime);
    case svPage: return TfsVariant(rudLogicalPageNo(report));
    case svPageN: return TfsVariant(rudCurPage(report) + 1);
    case svTotalPages: return TfsVariant(rudLogicalTotalPages(report));
    case svTotalPagesN: return TfsVariant(engine->FTotalPages);
    case svLine: return TfsVariant(engine->FCurLine);
    case svLineN: return TfsVariant(engine->FCurLineThrough);
    case svCopyNameN: return TfsVariant::FromQVariant(rudGlobalVariables().Variables(QStringLiteral("CopyName0")));
    }
    return TfsVariant::Null();
}

// A data field written as Alias."Field"; true when the alias names a data set.
bool dataFieldValue(TfrxReport *report, const QString &expr, TfsVariant &value)
{
    // Most expressions hold no quotation mark at all: that is checked first.
    if (!expr.contains(u'"'))
        return false;
    TfrxDataFieldSource *source = rudNeedService(report->Services().DataFieldSource, "data field").get();
    const int point = int(expr.indexOf(QStringView(u".\"")));
    if (point < 0)
        return false;
    const QString field = expr.mid(point + 2, expr.size() - point - 3);
    TfrxComponent *dataSet = field.isEmpty() ? nullptr : source->FindDataSet(report, expr.left(point));
    if (!dataSet)
        return false;
    const std::optional<TfrxFieldData> data = source->GetField(dataSet, field);
    value = data ? data->Value : TfsVariant::Null();
    if (data && value.IsNull() && report->EngineOptions()->ConvertNulls()) {
        switch (data->Kind) {
        case TfrxFieldKind::Numeric:
        case TfrxFieldKind::DateTime: value = TfsVariant(0); break;
        case TfrxFieldKind::String:
        case TfrxFieldKind::Memo: value = TfsVariant(QString()); break;
        case TfrxFieldKind::Boolean: value = TfsVariant(false); break;
        case TfrxFieldKind::Other: break;
        }
    }
    return true;
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QStringView(u"\r\n"));
}

} // namespace

bool TfrxEngineRuntime::DoGetValue(const QString &Expr, TfsVariant &Value)
{
    Value = TfsVariant::Null();
    const TfrxFR2Events &events = rudFR2Events();
    if (events.OnGetValue) {
        TfsVariant answer = events.OnGetValue(Expr);
        if (!answer.IsNull() && !answer.IsEmpty()) {
            Value = std::move(answer);
            return true;
        }
    }
    if (dataFieldValue(FReport, Expr, Value))
        return true;

    // Texts equal ignoring case have equal lengths; the length test spares
    // most comparisons, which every expression goes through, and a name
    // written as the table writes it needs no case folding.
    const QStringList &sysVariables = FReport->SysVariables();
    for (int i = 0; i < sysVariables.size(); ++i)
        if (Expr.size() == sysVariables[i].size() &&
            (Expr == sysVariables[i] || Expr.compare(sysVariables[i], Qt::CaseInsensitive) == 0)) {
            Value = sysVariableValue(FReport, i);
            return true;
        }

    if (FReport->OnGetValue || FReport->OnNewGetValue) {
        QVariant answer;
        if (FReport->OnGetValue)
            FReport->OnGetValue(Expr, answer);
        if (FReport->OnNewGetValue)
            FReport->OnNewGetValue(FReport, Expr, answer);
        if (answer.isValid()) {
            Value = TfsVariant::FromQVariant(answer);
            return true;
        }
    }

    const int variable = FReport->Variables()->IndexOf(Expr);
    if (variable >= 0) {
        const QVariant stored = FReport->Variables()->Items(variable)->Value();
        if (stored.typeId() == QMetaType::QString && !hasLineBreak(stored.toString())) {
            const QString key = Expr.toUpper();
            if (variablesInUse.contains(key))
                throw EGeneralError(QStringLiteral("Variable '%1' refers to itself").arg(Expr));
            variablesInUse.insert(key);
            try {
                Value = Calc(stored.toString(), nullptr, TfrxCalcCaller::Engine);
            } catch (...) {
                variablesInUse.remove(key);
                throw;
            }
            variablesInUse.remove(key);
        } else {
            Value = TfsVariant::FromQVariant(stored);
        }
        return true;
    }

    const int global = rudGlobalVariables().IndexOf(Expr);
    if (global >= 0) {
        Value = TfsVariant::FromQVariant(rudGlobalVariables().Items(global)->Value());
        return true;
    }

    if (!events.OnGetScriptValue && FScript) {
        TfsCustomVariable *item = FScript->FindLocal(Expr);
        if (item && (item->Kind() == TfsItemKind::Variable || item->Kind() == TfsItemKind::Constant)) {
            Value = item->GetValue();
            return true;
        }
    }
    return false;
}

TfsVariant TfrxEngineRuntime::Calc(const QString &Expr, TfsScript *AScript, TfrxCalcCaller Caller)
{
    const bool fromScript = Caller == TfrxCalcCaller::Script;
    TfsScript *scope = AScript ? AScript : Script();
    TfsVariant value;
    if (DoGetValue(Expr, value))
        return value;

    QString error;
    value = ExpressionCache()->Calc(Expr, error, scope);
    if (error.isEmpty())
        return value;
    if (error == QLatin1String("Floating point division by zero") && FReport->EngineOptions()->IgnoreDevByZero())
        return value;
    if (fromScript)
        throw EfsRuntimeError(QStringLiteral("Exception"),
                              rudResources().Get(QStringLiteral("clErrorInExp")) + QLatin1Char(' ') + error);
    if (!FReport->CurObject().isEmpty())
        error = FReport->CurObject() + QStringLiteral(": ") + error;
    FReport->AddError(error);
    throw EGeneralError(error);
}
