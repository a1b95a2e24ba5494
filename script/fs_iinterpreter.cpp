// TfsScript: registration, lookup, compile and run.

#include "script/fs_iinterpreter.h"

#include "script/fs_iilparser.h"

#include "base/TextCase.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QMetaProperty>
#include <QObject>
#include <QScopedValueRollback>
#include <algorithm>
#include <utility>

TfsScript::TfsScript(TfsScript *parent) : FStatement(std::make_unique<TfsStatement>(this)), FParent(parent)
{
}

TfsScript::~TfsScript()
{
    // Statements refer to items: free them first.
    FStatement.reset();
    FItems.clear();
    while (!FItemList.empty())
        FItemList.pop_back();
    // What scripts created and never freed goes with the script.
    const auto adopted = std::exchange(FAdopted, {});
    for (const TAdopted &a : adopted)
        if (a.Owned)
            delete a.Object.data();
}

TfsCustomVariable *TfsScript::Add(std::unique_ptr<TfsCustomVariable> item)
{
    item->FAddedBy = FAddedBy;
    item->FScript = this;
    TfsCustomVariable *raw = item.get();
    FItems.insert(raw->FUppercaseName, raw);
    FItemList.push_back(std::move(item));
    return raw;
}

TfsVariable *TfsScript::AddObject(const QString &name, QObject *object)
{
    QString typeName = QStringLiteral("TObject");
    if (object)
        if (TfsClassVariable *cls = FindClassOf(object))
            typeName = cls->FName;
    auto v = std::make_unique<TfsVariable>(name, fvtClass, typeName);
    v->FValue = TfsVariant(object);
    return static_cast<TfsVariable *>(Add(std::move(v)));
}

TfsCustomVariable *TfsScript::AddVariable(const QString &name, const QString &typeName, const TfsVariant &value)
{
    if (TfsCustomVariable *known = Find(name))
        return known;
    auto v = std::make_unique<TfsVariable>(name, fsResolveType(this, typeName), typeName);
    v->FValue = value;
    return Add(std::move(v));
}

TfsCustomVariable *TfsScript::AddConst(const QString &name, const QString &typeName, const TfsVariant &value)
{
    auto c = std::make_unique<TfsCustomVariable>(name, fsResolveType(this, typeName), typeName);
    c->FValue = value;
    c->FIsReadOnly = true;
    return Add(std::move(c));
}

TfsMethodHelper *TfsScript::AddMethod(const QString &syntax, TfsCallMethodEvent callEvent, const QString &category,
                                      const QString &description)
{
    auto m = std::make_unique<TfsMethodHelper>(syntax, this);
    m->FOnCall = std::move(callEvent);
    m->FCategory = category;
    m->FDescription = description;
    return static_cast<TfsMethodHelper *>(Add(std::move(m)));
}

TfsClassVariable *TfsScript::AddClass(const QString &className, const QString &ancestor, const QMetaObject *meta)
{
    auto c = std::make_unique<TfsClassVariable>(className, ancestor, meta);
    if (!ancestor.isEmpty())
        c->FParentClass = FindClass(ancestor);
    auto *cls = static_cast<TfsClassVariable *>(Add(std::move(c)));
    if (meta)
        for (int i = 0; i < meta->propertyCount(); ++i) {
            const QMetaProperty prop = meta->property(i);
            if (prop.isEnumType())
                AddEnumerator(prop.enumerator());
        }
    return cls;
}

TfsClassVariable *TfsScript::ClassOfMeta(const QMetaObject *meta)
{
    if (!meta)
        return nullptr;
    const bool root = meta == &QObject::staticMetaObject;
    const QString name = root ? QStringLiteral("TObject") : QString::fromLatin1(meta->className());
    if (TfsClassVariable *known = FindClass(name))
        return known;
    TfsClassVariable *parent = root ? nullptr : ClassOfMeta(meta->superClass());
    TfsScript *top = this;
    while (top->FParent)
        top = top->FParent;
    const QScopedValueRollback<const void *> addedBy(top->FAddedBy, RTTITag());
    return top->AddClass(name, parent ? parent->FName : QString(), meta);
}

void TfsScript::AddEnumerator(const QMetaEnum &enumerator)
{
    const QString typeName = QLatin1String(enumerator.name());
    if (Find(typeName))
        return;
    AddType(typeName, fvtEnum);
    for (int i = 0; i < enumerator.keyCount(); ++i) {
        const QString key = QLatin1String(enumerator.key(i));
        if (Find(key))
            continue;
        auto c = std::make_unique<TfsCustomVariable>(key, fvtEnum, typeName);
        c->FValue = TfsVariant(enumerator.value(i));
        c->FIsReadOnly = true;
        Add(std::move(c));
    }
}

TfsTypeVariable *TfsScript::AddType(const QString &typeName, TfsVarType typ)
{
    return static_cast<TfsTypeVariable *>(Add(std::make_unique<TfsTypeVariable>(typeName, typ, typeName)));
}

void TfsScript::AddEnum(const QString &typeName, const QString &names)
{
    AddType(typeName, fvtEnum);
    int i = 0;
    for (const QString &n : names.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        auto c = std::make_unique<TfsCustomVariable>(n.trimmed(), fvtEnum, typeName);
        c->FValue = TfsVariant(i++);
        c->FIsReadOnly = true;
        Add(std::move(c));
    }
}

void TfsScript::AddEnumSet(const QString &typeName, const QString &names)
{
    AddType(typeName, fvtEnum);
    int bit = 0;
    for (const QString &n : names.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        auto c = std::make_unique<TfsCustomVariable>(n.trimmed(), fvtEnum, typeName);
        c->FValue = TfsVariant(bit < 31 ? (1 << bit) : 0);
        ++bit;
        c->FIsReadOnly = true;
        Add(std::move(c));
    }
}

void TfsScript::AdoptObject(QObject *object, bool owned)
{
    if (!object)
        return;
    // Forget objects their owners have freed meanwhile.
    if (FAdopted.size() >= 64)
        FAdopted.removeIf([](const auto &entry) { return entry.value().Object.isNull(); });
    FAdopted.insert(object, {object, owned});
}

bool TfsScript::IsAdopted(QObject *object) const
{
    const auto found = FAdopted.constFind(object);
    return found != FAdopted.constEnd() && found->Object == object;
}

bool TfsScript::FreeObject(QObject *object)
{
    const auto found = FAdopted.find(object);
    if (found == FAdopted.end())
        return false;
    QPointer<QObject> alive = found->Object;
    FAdopted.erase(found);
    delete alive.data();
    return true;
}

void TfsScript::AddRTTI()
{
    if (FRTTIAdded)
        return;
    FRTTIAdded = true;
    const QScopedValueRollback<const void *> addedBy(FAddedBy, RTTITag());
    for (const auto &factory : fsRTTIModules())
        FRTTIModules.push_back(factory(this));
}

TfsCustomVariable *TfsScript::FindLocal(const QString &name) const
{
    return FItems.value(upperCased(name));
}

TfsCustomVariable *TfsScript::Find(const QString &name) const
{
    const QString upper = upperCased(name);
    for (const TfsScript *s = this; s; s = s->FParent)
        if (TfsCustomVariable *item = s->FItems.value(upper))
            return item;
    return nullptr;
}

TfsClassVariable *TfsScript::FindClass(const QString &name) const
{
    const QString upper = upperCased(name);
    for (const TfsScript *s = this; s; s = s->FParent) {
        TfsCustomVariable *item = s->FItems.value(upper);
        if (item && item->Kind() == TfsItemKind::Class)
            return static_cast<TfsClassVariable *>(item);
    }
    return nullptr;
}

TfsClassVariable *TfsScript::FindClassOf(const QObject *object) const
{
    if (!object)
        return nullptr;
    for (const QMetaObject *mo = object->metaObject(); mo; mo = mo->superClass()) {
        const QString name = mo == &QObject::staticMetaObject ? QStringLiteral("TObject")
                                                               : QString::fromLatin1(mo->className());
        if (TfsClassVariable *cls = FindClass(name))
            return cls;
    }
    return nullptr;
}

void TfsScript::Reindex(const QString &upperName)
{
    FItems.remove(upperName);
    for (auto it = FItemList.rbegin(); it != FItemList.rend(); ++it)
        if ((*it)->FUppercaseName == upperName) {
            FItems.insert(upperName, it->get());
            return;
        }
}

void TfsScript::RemoveWhere(const std::function<bool(const TfsCustomVariable &)> &pred)
{
    QSet<QString> names;
    std::vector<std::unique_ptr<TfsCustomVariable>> keep;
    std::vector<std::unique_ptr<TfsCustomVariable>> drop;
    for (auto &item : FItemList) {
        if (pred(*item)) {
            names.insert(item->FUppercaseName);
            drop.push_back(std::move(item));
        } else {
            keep.push_back(std::move(item));
        }
    }
    FItemList = std::move(keep);
    for (const QString &n : names)
        Reindex(n);
    drop.clear();
}

void TfsScript::Clear()
{
    FStatement = std::make_unique<TfsStatement>(this);
    RemoveWhere([](const TfsCustomVariable &item) { return item.FAddedBy != RTTITag(); });
    FUnitLines.clear();
    FErrorMsg.clear();
    FErrorPos.clear();
    FErrorUnit.clear();
}

void TfsScript::ClearItems(const void *owner)
{
    RemoveItems(owner);
    FStatement = std::make_unique<TfsStatement>(this);
}

void TfsScript::RemoveItems(const void *owner)
{
    RemoveWhere([owner](const TfsCustomVariable &item) { return item.FAddedBy == owner; });
}

void TfsScript::Remove(TfsCustomVariable *victim)
{
    RemoveWhere([victim](const TfsCustomVariable &item) { return &item == victim; });
}

void TfsScript::SetError(const QString &msg, const QString &pos, const QString &unit)
{
    FErrorMsg = msg;
    FErrorPos = pos;
    FErrorUnit = unit;
}

bool TfsScript::Compile()
{
    FErrorMsg.clear();
    FErrorPos.clear();
    FErrorUnit.clear();
    // The main block is the new text's; items compiled before stay.
    FStatement = std::make_unique<TfsStatement>(this);
    TfsILParser parser(this);
    try {
        parser.SelectLanguage(FSyntaxType);
        if (parser.MakeILScript(FLines))
            parser.ParseILScript();
    } catch (const EfsCompileError &e) {
        if (FErrorMsg.isEmpty())
            SetError(e.Message(), e.Pos, e.Unit);
    } catch (const EfsRuntimeError &e) {
        // Nesting too deep for the parser's stack.
        if (FErrorMsg.isEmpty())
            SetError(e.Message(), parser.Parser().GetXYPosition(), QString());
    }
    const bool ok = FErrorMsg.isEmpty();
    if (ok)
        FErrorPos.clear();
    return ok;
}

void TfsScript::Execute()
{
    struct TGuard {
        TfsScript *S;
        ~TGuard()
        {
            S->FIsRunning = false;
            S->FExitCalled = false;
            S->FTerminated = false;
            S->FBreakCalled = S->FContinueCalled = false;
        }
    } guard{this};
    FIsRunning = true;
    FMainProg = true;
    FExitCalled = false;
    FTerminated = false;
    FStatement->Execute();
}

bool TfsScript::Run()
{
    if (!Compile())
        return false;
    Execute();
    return true;
}

TfsVariant TfsScript::CallProc(TfsProcVariable *proc, std::vector<TfsVariant> &params, bool copyBack)
{
    const int count = std::min<int>(proc->ParamCount(), int(params.size()));
    for (int i = 0; i < count; ++i)
        proc->GetParam(i)->SetValue(params[size_t(i)]);
    for (int i = count; i < proc->ParamCount(); ++i)
        proc->GetParam(i)->SetValue(proc->GetParam(i)->FDefValue);
    TfsVariant result = proc->GetValue();
    if (copyBack)
        for (int i = 0; i < count; ++i)
            params[size_t(i)] = proc->GetParam(i)->FValue;
    return result;
}

TfsVariant TfsScript::CallFunction(const QString &name, const std::vector<TfsVariant> &params, bool global)
{
    TfsCustomVariable *item = global ? Find(name) : FindLocal(name);
    if (!item || item->Kind() != TfsItemKind::Proc)
        return TfsVariant::Null();
    std::vector<TfsVariant> copy = params;
    return CallProc(static_cast<TfsProcVariable *>(item), copy, false);
}

TfsVariant TfsScript::CallFunction1(const QString &name, std::vector<TfsVariant> &params, bool global)
{
    TfsCustomVariable *item = global ? Find(name) : FindLocal(name);
    if (!item || item->Kind() != TfsItemKind::Proc)
        return TfsVariant::Null();
    return CallProc(static_cast<TfsProcVariable *>(item), params, true);
}

TfsVariant TfsScript::CallFunction2(TfsProcVariable *func, const std::vector<TfsVariant> &params)
{
    if (!func)
        return TfsVariant::Null();
    std::vector<TfsVariant> copy = params;
    return CallProc(func, copy, false);
}

TfsVariant TfsScript::Evaluate(const QString &expression)
{
    FEvaluteRiseError = false;
    TfsScript temp(FProgRunning ? FProgRunning : this);
    temp.SetSyntaxType(FSyntaxType);
    const QString lang = FSyntaxType.toUpper();
    QString source;
    if (lang == QLatin1String("C++SCRIPT"))
        source = QStringLiteral("Variant fsEvaluateFUNC() { return ") + expression + QStringLiteral("; } {}");
    else if (lang == QLatin1String("BASICSCRIPT"))
        source = QStringLiteral("function fsEvaluateFUNC\r\nreturn ") + expression + QStringLiteral("\r\nend function");
    else if (lang == QLatin1String("JSCRIPT"))
        source = QStringLiteral("function fsEvaluateFUNC() { return (") + expression + QStringLiteral("); }");
    else
        source = QStringLiteral("function fsEvaluateFUNC: Variant; begin Result := ") + expression +
                 QStringLiteral(" end; begin end.");
    temp.SetLines(source);
    // The line hook is off while the expression runs.
    const QScopedValueRollback<decltype(OnRunLine)> noLineHook(OnRunLine, nullptr);
    if (!temp.Compile()) {
        FEvaluteRiseError = true;
        return TfsVariant(temp.ErrorMsg());
    }
    return temp.CallFunction(QStringLiteral("fsEvaluateFUNC"), {}, false);
}

TfsVariant TfsScript::GetVariables(const QString &name) const
{
    TfsCustomVariable *item = Find(name);
    if (!item || item->Kind() == TfsItemKind::Proc || item->Kind() == TfsItemKind::Method)
        return TfsVariant::Null();
    return item->GetValue();
}

void TfsScript::SetVariables(const QString &name, const TfsVariant &value)
{
    TfsCustomVariable *item = Find(name);
    if (!item)
        item = Add(std::make_unique<TfsVariable>(name, fvtVariant, QStringLiteral("Variant")));
    item->SetValue(value);
}

void TfsScript::Terminate()
{
    FExitCalled = true;
    FTerminated = true;
    for (auto &item : FItemList)
        if (item->Kind() == TfsItemKind::Proc)
            static_cast<TfsProcVariable *>(item.get())->Program()->Terminate();
}

void TfsScript::AddCodeLine(const QString &unitName, const QString &pos)
{
    const int line = pos.section(QLatin1Char(':'), 0, 0).toInt();
    if (line > 0)
        FUnitLines[unitName].insert(line);
}

bool TfsScript::IsExecutableLine(int line, const QString &unitName) const
{
    const auto found = FUnitLines.constFind(unitName);
    return found != FUnitLines.constEnd() && found->contains(line);
}

thread_local constinit int fsPollCountdown = fsPollInterval;

namespace {

struct TTimeLimit {
    QDeadlineTimer Deadline{QDeadlineTimer::Forever};
    qint64 Milliseconds = 0;
};

thread_local TTimeLimit timeLimit;

} // namespace

void fsSetTimeLimit(qint64 Milliseconds)
{
    timeLimit.Milliseconds = std::max<qint64>(Milliseconds, 0);
    timeLimit.Deadline = Milliseconds > 0 ? QDeadlineTimer(Milliseconds) : QDeadlineTimer(QDeadlineTimer::Forever);
}

void fsPollSlow(TfsScript *Prog)
{
    fsPollCountdown = fsPollInterval;
    if (timeLimit.Deadline.hasExpired()) {
        const qint64 ms = timeLimit.Milliseconds;
        const QString limit = ms % 1000 == 0 ? QStringLiteral("%1 s").arg(ms / 1000) : QStringLiteral("%1 ms").arg(ms);
        throw EfsStopped(QStringLiteral("The script ran longer than the time limit of %1 and was stopped").arg(limit));
    }
    for (TfsScript *s = Prog; s; s = s->Parent())
        if (s->OnPoll) {
            s->OnPoll();
            return;
        }
}
