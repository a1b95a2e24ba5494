// Reading and assigning designators; calls of procedures and host methods.

#include "script/fs_idesignator.h"

#include "script/fs_iconst.h"
#include "script/fs_iexpression.h"
#include "script/fs_iinterpreter.h"

#include <QObject>
#include <QVarLengthArray>

TfsDesignatorStep::TfsDesignatorStep() = default;
TfsDesignatorStep::~TfsDesignatorStep() = default;
TfsDesignatorStep::TfsDesignatorStep(TfsDesignatorStep &&) noexcept = default;
TfsDesignatorStep &TfsDesignatorStep::operator=(TfsDesignatorStep &&) noexcept = default;

TfsDesignator::~TfsDesignator() = default;

namespace {

using TArgValues = QVarLengthArray<TfsVariant, 6>;

// The caller's values of a procedure's parameters, locals and result while
// the procedure runs again from inside itself: kept in the frame of the call
// (a handful of values, no allocation) and put back however the call ends.
class TSavedLocals {
public:
    explicit TSavedLocals(TfsProcVariable *proc) : FProc(proc->FExecuting ? proc : nullptr)
    {
        if (FProc)
            for (TfsCustomVariable *local : FProc->FLocals)
                FValues.append(local->FValue);
    }
    ~TSavedLocals()
    {
        if (FProc)
            for (qsizetype i = 0; i < FValues.size(); ++i)
                FProc->FLocals[size_t(i)]->FValue = std::move(FValues[i]);
    }
    TSavedLocals(const TSavedLocals &) = delete;
    TSavedLocals &operator=(const TSavedLocals &) = delete;

private:
    TfsProcVariable *FProc;
    QVarLengthArray<TfsVariant, 8> FValues;
};

[[noreturn]] void raiseUndeclared(const QString &name)
{
    throw EfsRuntimeError(QStringLiteral("Exception"),
                          fsResource(QStringLiteral("SIdUndeclared")) + QLatin1Char('\'') + name + QLatin1Char('\''));
}

[[noreturn]] void raiseCantAssign()
{
    throw EfsRuntimeError(QStringLiteral("Exception"), fsResource(QStringLiteral("SLeftCantAssigned")));
}

void evaluateArgs(TfsDesignatorStep &step, TfsCustomVariable *item, TArgValues &values)
{
    // Each value is made in its place (every call of a script procedure
    // passes here); values comes in empty.
    const int count = item->ParamCount();
    values.reserve(count);
    if (step.FIsMacro) {
        for (int i = 0; i < count; ++i)
            values.append(i < int(step.FMacroArgs.size()) ? TfsVariant(step.FMacroArgs[size_t(i)])
                                                          : item->GetParam(i)->FDefValue);
        return;
    }
    const int given = int(step.FArgs.size());
    for (int i = 0; i < count; ++i)
        values.append(i < given ? step.FArgs[size_t(i)]->Value() : item->GetParam(i)->FDefValue);
}

} // namespace

TfsVariant TfsDesignator::Invoke(TfsDesignatorStep &step, TfsCustomVariable *item, QObject *instance,
                                 const TfsVariant *assignValue)
{
    switch (item->Kind()) {
    case TfsItemKind::Method: {
        auto *method = static_cast<TfsMethodHelper *>(item);
        TArgValues values;
        evaluateArgs(step, item, values);
        for (int i = 0; i < values.size(); ++i) {
            if (step.FIsMacro)
                method->GetParam(i)->FValue = values[i]; // source texts, not converted
            else
                method->GetParam(i)->SetValue(values[i]);
        }
        method->FInstance = instance;
        const TfsVariant result = method->GetValue();
        for (size_t i = 0; i < step.FVarArgs.size(); ++i)
            if (step.FVarArgs[i])
                step.FVarArgs[i]->Assign(method->GetParam(int(i))->FValue);
        return result;
    }
    case TfsItemKind::Property: {
        auto *prop = static_cast<TfsPropertyHelper *>(item);
        TArgValues values;
        if (prop->ParamCount() > 0) {
            evaluateArgs(step, item, values);
            for (int i = 0; i < values.size(); ++i)
                prop->GetParam(i)->SetValue(values[i]);
        }
        prop->FInstance = instance;
        if (assignValue) {
            if (prop->FIsReadOnly)
                raiseCantAssign();
            prop->SetValue(*assignValue);
            return TfsVariant();
        }
        return prop->GetValue();
    }
    case TfsItemKind::Proc:
        return CallProc(step, static_cast<TfsProcVariable *>(item));
    default:
        if (assignValue) {
            item->SetValue(*assignValue);
            return TfsVariant();
        }
        return item->GetValue();
    }
}

TfsVariant TfsDesignator::CallProc(TfsDesignatorStep &step, TfsProcVariable *proc)
{
    // The arguments first: they may read the locals a recursive call replaces.
    TArgValues values;
    evaluateArgs(step, proc, values);
    TfsVariant result;
    {
        const TSavedLocals saved(proc);
        for (int i = 0; i < values.size(); ++i)
            proc->GetParam(i)->SetValue(values[i]);
        result = proc->GetValue();
        // What the var parameters hold now, taken before the caller's values come back.
        if (!step.FVarArgs.empty())
            for (int i = 0; i < values.size(); ++i)
                values[i] = proc->GetParam(i)->FValue;
    }
    for (size_t i = 0; i < step.FVarArgs.size(); ++i)
        if (step.FVarArgs[i])
            step.FVarArgs[i]->Assign(values[qsizetype(i)]);
    return result;
}

TfsCustomVariable *TfsDesignator::LateMember(TfsDesignatorStep &step, QObject *instance)
{
    if (!instance)
        throw EfsRuntimeError(QStringLiteral("EAccessViolation"),
                              QStringLiteral("Access to member '%1' of a nil object").arg(step.FName));
    // An object of a class no module registered gets its class from its meta-object.
    TfsClassVariable *cls = FProgram->FindClassOf(instance);
    if (!cls || (cls->FMetaObject != instance->metaObject() && !cls->Find(step.FName)))
        cls = FProgram->ClassOfMeta(instance->metaObject());
    TfsCustomVariable *member = cls ? cls->Find(step.FName) : nullptr;
    if (!member)
        raiseUndeclared(step.FName);
    return member;
}

TfsVariant TfsDesignator::IndexValue(TfsDesignatorStep &step, const TfsVariant &container)
{
    if (step.FItem)
        return Invoke(step, step.FItem, container.ToObject());
    std::vector<int> indexes;
    indexes.reserve(step.FArgs.size());
    if (container.IsArray() || container.IsString()) {
        for (auto &arg : step.FArgs)
            indexes.push_back(arg->Value().ToInt());
    }
    if (container.IsArray())
        return container.GetElement(indexes);
    if (container.IsString()) {
        const QString &s = container.AsString();
        const int i = indexes.empty() ? 0 : indexes[0];
        if (indexes.size() != 1 || i < 1 || i > s.size())
            throw EfsRuntimeError(QStringLiteral("ERangeError"), QStringLiteral("Range check error"));
        return TfsVariant(QString(s[i - 1]));
    }
    if (container.IsObject()) {
        TfsClassVariable *cls = FProgram->FindClassOf(container.ToObject());
        TfsPropertyHelper *prop = cls ? cls->DefaultProperty() : nullptr;
        if (!prop)
            throw EfsRuntimeError(QStringLiteral("Exception"),
                                  fsResource(QStringLiteral("SClassError"))
                                      .replace(QLatin1String("%s"), cls ? cls->FName : QStringLiteral("?")));
        return Invoke(step, prop, container.ToObject());
    }
    throw EfsRuntimeError(QStringLiteral("Exception"), fsResource(QStringLiteral("SArrayRequired")));
}

TfsVariant TfsDesignator::ValueUpTo(int last)
{
    int i = 0;
    TfsVariant v;
    if (!FSteps.empty() && FSteps[0].FKind == TfsDesignatorStep::Call) {
        v = Invoke(FSteps[0], FSteps[0].FItem, nullptr);
        i = 1;
    } else {
        v = FHead->GetValue();
    }
    for (; i <= last; ++i) {
        TfsDesignatorStep &step = FSteps[size_t(i)];
        switch (step.FKind) {
        case TfsDesignatorStep::Member: v = Invoke(step, step.FItem, v.ToObject()); break;
        case TfsDesignatorStep::LateMember: {
            QObject *obj = v.ToObject();
            v = Invoke(step, LateMember(step, obj), obj);
            break;
        }
        case TfsDesignatorStep::Index: v = IndexValue(step, v); break;
        case TfsDesignatorStep::Call: v = Invoke(step, step.FItem, nullptr); break;
        }
    }
    return v;
}

TfsVariant TfsDesignator::Value()
{
    if (FAddr)
        return TfsVariant(FHead->FName);
    if (FSteps.empty())
        return FHead->GetValue();
    if (FSteps.size() == 1 && FSteps[0].FKind == TfsDesignatorStep::Call)
        return Invoke(FSteps[0], FSteps[0].FItem, nullptr);
    return ValueUpTo(int(FSteps.size()) - 1);
}

void TfsDesignator::AssignAt(int k, const TfsVariant &value)
{
    if (k < 0) {
        if (FHead->FIsReadOnly || FHead->Kind() == TfsItemKind::Constant)
            raiseCantAssign();
        FHead->SetValue(value);
        return;
    }
    TfsDesignatorStep &step = FSteps[size_t(k)];
    switch (step.FKind) {
    case TfsDesignatorStep::Call:
        raiseCantAssign();
    case TfsDesignatorStep::Member:
    case TfsDesignatorStep::LateMember: {
        QObject *obj = ValueUpTo(k - 1).ToObject();
        TfsCustomVariable *member = step.FKind == TfsDesignatorStep::Member ? step.FItem : LateMember(step, obj);
        if (member->Kind() != TfsItemKind::Property)
            raiseCantAssign();
        Invoke(step, member, obj, &value);
        return;
    }
    case TfsDesignatorStep::Index: {
        if (step.FItem) {
            Invoke(step, step.FItem, ValueUpTo(k - 1).ToObject(), &value);
            return;
        }
        std::vector<int> indexes;
        // An element of a plain variable is changed in place (no copy of the array).
        const bool inPlace = k == 0 && (FHead->Kind() == TfsItemKind::Variable || FHead->Kind() == TfsItemKind::Param) &&
                             !(FHead->FScript && FHead->FScript->OnGetVarValue);
        TfsVariant container = inPlace ? TfsVariant() : ValueUpTo(k - 1);
        const TfsVariant &c = inPlace ? FHead->FValue : container;
        if (c.IsObject()) {
            TfsClassVariable *cls = FProgram->FindClassOf(c.ToObject());
            TfsPropertyHelper *prop = cls ? cls->DefaultProperty() : nullptr;
            if (!prop)
                throw EfsRuntimeError(QStringLiteral("Exception"),
                                      fsResource(QStringLiteral("SClassError"))
                                          .replace(QLatin1String("%s"), cls ? cls->FName : QStringLiteral("?")));
            Invoke(step, prop, c.ToObject(), &value);
            return;
        }
        for (auto &arg : step.FArgs)
            indexes.push_back(arg->Value().ToInt());
        if (c.IsArray()) {
            if (inPlace) {
                FHead->FValue.SetElement(indexes, value);
                return;
            }
            container.SetElement(indexes, value);
            AssignAt(k - 1, container);
            return;
        }
        if (c.IsString()) {
            QString s = c.AsString();
            const int i = indexes.empty() ? 0 : indexes[0];
            if (indexes.size() != 1 || i < 1 || i > s.size())
                throw EfsRuntimeError(QStringLiteral("ERangeError"), QStringLiteral("Range check error"));
            const QString ch = value.ToString();
            s[i - 1] = ch.isEmpty() ? QChar() : ch[0];
            AssignAt(k - 1, TfsVariant(s));
            return;
        }
        throw EfsRuntimeError(QStringLiteral("Exception"), fsResource(QStringLiteral("SArrayRequired")));
    }
    }
}

void TfsDesignator::Assign(const TfsVariant &value)
{
    AssignAt(int(FSteps.size()) - 1, value);
}

bool TfsDesignator::IsAssignable() const
{
    if (FAddr)
        return false;
    if (FSteps.empty()) {
        const TfsItemKind k = FHead->Kind();
        return (k == TfsItemKind::Variable || k == TfsItemKind::Param) && !FHead->FIsReadOnly;
    }
    const TfsDesignatorStep &last = FSteps.back();
    switch (last.FKind) {
    case TfsDesignatorStep::Call: return false;
    case TfsDesignatorStep::Member: return last.FItem->Kind() == TfsItemKind::Property && !last.FItem->FIsReadOnly;
    case TfsDesignatorStep::LateMember: return true;
    case TfsDesignatorStep::Index: return true;
    }
    return false;
}
