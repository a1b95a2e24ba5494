// Run rules of the statements.

#include "script/fs_istatements.h"

#include "script/fs_idesignator.h"
#include "script/fs_iexpression.h"
#include "script/fs_iinterpreter.h"

#include <limits>

TfsStatement::~TfsStatement() = default;

void TfsStatement::RunChildren()
{
    TfsScript *prog = FProgram;
    const auto *hook = prog->RunLineHook();
    // An empty body (an empty loop above all) still reports its own position,
    // so a host watching lines can stop "while True do ;".
    if (FItems.empty() && hook && *hook)
        (*hook)(prog, FUnit, FSourcePos);
    for (auto &statement : FItems) {
        if (hook && *hook)
            (*hook)(prog, statement->FUnit, statement->FSourcePos);
        if (prog->FTerminated.load(std::memory_order_relaxed))
            break;
        statement->Execute();
        if (prog->FBreakCalled || prog->FContinueCalled || prog->FExitCalled)
            break;
    }
}

void TfsStatement::Execute()
{
    RunChildren();
}

namespace {

// True only when the value converts to the Boolean True.
bool isTrue(TfsExpression &e)
{
    const TfsVariant v = e.Value();
    if (v.Kind() == TfsVarKind::Bool)
        return v.AsBool();
    if (v.IsNull())
        return false;
    return v.ToBool();
}

// After a loop body: whether the loop ends; clears the continue flag. The
// loop's back-edge polls for a stop.
bool loopEnds(TfsScript *prog)
{
    fsPoll(prog);
    prog->FContinueCalled = false;
    return prog->FBreakCalled || prog->FExitCalled || prog->FTerminated.load(std::memory_order_relaxed);
}

} // namespace

TfsAssignmentStmt::~TfsAssignmentStmt() = default;

void TfsAssignmentStmt::Execute()
{
    if (FDirect)
        FDirect->SetValue(FExpr->Value());
    else
        FVar->Assign(FExpr->Value());
}

void TfsAssignPlusStmt::Execute()
{
    FVar->Assign(fsVarAdd(FVar->Value(), FExpr->Value()));
}

void TfsAssignMinusStmt::Execute()
{
    FVar->Assign(fsVarSub(FVar->Value(), FExpr->Value()));
}

void TfsAssignMulStmt::Execute()
{
    FVar->Assign(fsVarMul(FVar->Value(), FExpr->Value()));
}

void TfsAssignDivStmt::Execute()
{
    FVar->Assign(fsVarDivFloat(FVar->Value(), FExpr->Value()));
}

TfsCallStmt::~TfsCallStmt() = default;

void TfsCallStmt::Execute()
{
    if (FModificator == QLatin1String("+"))
        FDesignator->Assign(fsVarAdd(FDesignator->Value(), TfsVariant(1)));
    else if (FModificator == QLatin1String("-"))
        FDesignator->Assign(fsVarSub(FDesignator->Value(), TfsVariant(1)));
    else
        FDesignator->Value();
}

TfsIfStmt::~TfsIfStmt() = default;

void TfsIfStmt::Execute()
{
    if (isTrue(*FCondition))
        RunChildren();
    else if (FElseStmt)
        FElseStmt->Execute();
}

TfsCaseSelector::~TfsCaseSelector() = default;
TfsCaseStmt::~TfsCaseStmt() = default;

void TfsCaseStmt::Execute()
{
    const TfsVariant value = FCondition->Value();
    size_t first = FItems.size();
    for (size_t i = 0; i < FItems.size(); ++i)
        if (static_cast<TfsCaseSelector *>(FItems[i].get())->FSetExpression->Contains(value)) {
            first = i;
            break;
        }
    if (!FFallThrough) {
        if (first < FItems.size())
            FItems[first]->Execute();
        else if (FElseStmt)
            FElseStmt->Execute();
        return;
    }
    TfsScript *prog = FProgram;
    auto stopped = [prog] {
        return prog->FBreakCalled || prog->FContinueCalled || prog->FExitCalled ||
               prog->FTerminated.load(std::memory_order_relaxed);
    };
    for (size_t i = first; i < FItems.size() && !stopped(); ++i)
        FItems[i]->Execute();
    if (FElseStmt && !stopped())
        FElseStmt->Execute();
    prog->FBreakCalled = false;
}

TfsRepeatStmt::~TfsRepeatStmt() = default;

void TfsRepeatStmt::Execute()
{
    TfsScript *prog = FProgram;
    for (;;) {
        RunChildren();
        if (loopEnds(prog))
            break;
        if (isTrue(*FCondition) != FInverseCondition)
            break;
    }
    prog->FBreakCalled = false;
}

TfsWhileStmt::~TfsWhileStmt() = default;

void TfsWhileStmt::Execute()
{
    TfsScript *prog = FProgram;
    while (!prog->FTerminated.load(std::memory_order_relaxed) && isTrue(*FCondition)) {
        RunChildren();
        if (loopEnds(prog))
            break;
    }
    prog->FBreakCalled = false;
}

TfsForStmt::~TfsForStmt() = default;

void TfsForStmt::Execute()
{
    TfsScript *prog = FProgram;
    const qint64 from = FBeginValue->Value().ToInt64();
    const qint64 to = FEndValue->Value().ToInt64();
    const bool wide = FVariable->FTyp == fvtInt64 || FVariable->FTyp == fvtVariant;
    // An Integer variable takes the counter directly; others convert on write.
    const bool direct = FVariable->FTyp == fvtInt && FVariable->Kind() == TfsItemKind::Variable &&
                        from >= std::numeric_limits<int>::min() && to <= std::numeric_limits<int>::max();
    auto counter = [&](qint64 i) { return wide ? TfsVariant::FromInteger(i) : TfsVariant(int(i)); };
    if (!FDown) {
        for (qint64 i = from; i <= to; ++i) {
            if (direct)
                FVariable->FValue = TfsVariant(int(i));
            else
                FVariable->SetValue(counter(i));
            RunChildren();
            if (loopEnds(prog))
                break;
        }
    } else {
        for (qint64 i = from; i >= to; --i) {
            FVariable->SetValue(counter(i));
            RunChildren();
            if (loopEnds(prog))
                break;
        }
    }
    prog->FBreakCalled = false;
}

TfsVbForStmt::~TfsVbForStmt() = default;

void TfsVbForStmt::Execute()
{
    TfsScript *prog = FProgram;
    TfsVariant counter = FBeginValue->Value();
    const TfsVariant end = FEndValue->Value();
    const TfsVariant step = FStep ? FStep->Value() : TfsVariant(1);
    const bool up = fsVarCompare(step, TfsVariant(0)) != TfsVarCompare::Less;
    for (;;) {
        const TfsVarCompare c = fsVarCompare(counter, end);
        if (up ? c == TfsVarCompare::Greater : c == TfsVarCompare::Less)
            break;
        FVariable->SetValue(counter);
        RunChildren();
        if (loopEnds(prog))
            break;
        counter = fsVarAdd(counter, step);
    }
    prog->FBreakCalled = false;
}

TfsCppForStmt::~TfsCppForStmt() = default;

void TfsCppForStmt::Execute()
{
    TfsScript *prog = FProgram;
    if (FFirstStmt)
        FFirstStmt->Execute();
    while (!prog->FTerminated.load(std::memory_order_relaxed) && (!FExpression || isTrue(*FExpression))) {
        RunChildren();
        if (loopEnds(prog))
            break;
        if (FSecondStmt)
            FSecondStmt->Execute();
    }
    prog->FBreakCalled = false;
}

void TfsTryStmt::Execute()
{
    TfsScript *prog = FProgram;
    if (FIsExcept) {
        try {
            RunChildren();
        } catch (const EfsStopped &) {
            throw;
        } catch (const Exception &error) {
            // The exception variables live in the script the built-in items were
            // registered with; when missing they are created as Variant variables.
            TfsScript *top = prog;
            while (top->Parent())
                top = top->Parent();
            TfsCustomVariable *cls = prog->Find(QStringLiteral("ExceptionClassName"));
            if (!cls)
                cls = top->AddVariable(QStringLiteral("ExceptionClassName"), QStringLiteral("Variant"), TfsVariant());
            TfsCustomVariable *msg = prog->Find(QStringLiteral("ExceptionMessage"));
            if (!msg)
                msg = top->AddVariable(QStringLiteral("ExceptionMessage"), QStringLiteral("Variant"), TfsVariant());
            cls->SetValue(TfsVariant(fsExceptionClassName(error)));
            msg->SetValue(TfsVariant(error.Message()));
            if (FExceptStmt)
                FExceptStmt->Execute();
        }
        return;
    }
    auto runFinally = [&] {
        if (!FExceptStmt)
            return;
        const bool exitCalled = prog->FExitCalled;
        prog->FExitCalled = false;
        FExceptStmt->Execute();
        prog->FExitCalled = exitCalled || prog->FExitCalled;
    };
    try {
        RunChildren();
    } catch (...) {
        runFinally();
        throw;
    }
    runFinally();
}

TfsDeleteStmt::~TfsDeleteStmt() = default;

void TfsDeleteStmt::Execute()
{
    if (FFree && FTarget->Value().ToObject())
        FFree->Value();
    if (FTarget->IsAssignable())
        FTarget->Assign(TfsVariant::Null());
}

void TfsBreakStmt::Execute()
{
    FProgram->FBreakCalled = true;
}

void TfsContinueStmt::Execute()
{
    FProgram->FContinueCalled = true;
}

void TfsExitStmt::Execute()
{
    FProgram->FExitCalled = true;
}

TfsWithStmt::~TfsWithStmt() = default;

void TfsWithStmt::Execute()
{
    FVariable->SetValue(FDesignator->Value());
    RunChildren();
}
