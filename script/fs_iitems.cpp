// Item classes of the symbol table and the declaration parser of host methods.

#include "script/fs_iitems.h"

#include "script/fs_iconst.h"
#include "script/fs_ihostprops.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_istrings.h"

#include "base/PropKind.h"

#include <QMetaObject>
#include <QMetaProperty>
#include <QObject>

TfsItemList::~TfsItemList() = default;

TfsParamItem *TfsItemList::AddParam(std::unique_ptr<TfsParamItem> param)
{
    FParams.push_back(param.get());
    FOwnedParams.push_back(std::move(param));
    return FParams.back();
}

TfsCustomVariable::TfsCustomVariable(const QString &name, TfsVarType typ, const QString &typeName)
    : FName(name), FUppercaseName(name.toUpper()), FTyp(typ), FTypeName(typeName)
{
}

TfsCustomVariable::~TfsCustomVariable() = default;

TfsVariant TfsCustomVariable::GetValue()
{
    return FValue;
}

void TfsCustomVariable::SetValue(const TfsVariant &value)
{
    if (!FIsReadOnly)
        FValue = value;
}

QString TfsCustomVariable::GetFullTypeName() const
{
    if (!FTypeName.isEmpty())
        return FTypeName;
    return fsTypeDisplayName(FTyp);
}

int TfsCustomVariable::GetNumberOfRequiredParams() const
{
    int n = 0;
    for (const TfsParamItem *p : FParams)
        if (!p->FIsOptional)
            ++n;
    return n;
}

TfsVariant TfsCustomVariable::ParamValue(int index) const
{
    if (index < 0 || index >= ParamCount())
        return TfsVariant::Null();
    return FParams[size_t(index)]->FValue;
}

void TfsCustomVariable::SetParamValue(int index, const TfsVariant &value)
{
    if (index >= 0 && index < ParamCount())
        FParams[size_t(index)]->SetValue(value);
}

// ---------------------------------------------------------------------------

TfsVariant TfsVariable::Convert(TfsVarType typ, const TfsVariant &value)
{
    switch (typ) {
    case fvtInt:
    case fvtEnum:
        return value.Kind() == TfsVarKind::Int ? value : TfsVariant(value.ToInt());
    case fvtInt64: return value.Kind() == TfsVarKind::Int64 ? value : TfsVariant(value.ToInt64());
    case fvtBool: return value.Kind() == TfsVarKind::Bool ? value : TfsVariant(value.ToBool());
    case fvtFloat: return value.Kind() == TfsVarKind::Double ? value : TfsVariant(value.ToDouble());
    case fvtString:
    case fvtChar: return value.IsString() ? value : TfsVariant(value.ToString());
    default: return value;
    }
}

TfsVariant TfsVariable::GetValue()
{
    if (FScript && FScript->OnGetVarValue) {
        TfsVariant answer = FScript->OnGetVarValue(FName, FTyp, FValue);
        if (!answer.IsNull())
            FValue = answer;
    }
    return FValue;
}

void TfsVariable::SetValue(const TfsVariant &value)
{
    if (FIsReadOnly)
        return;
    // The common cases without a conversion call.
    switch (FTyp) {
    case fvtInt:
        if (value.Kind() == TfsVarKind::Int) {
            FValue = value;
            return;
        }
        break;
    case fvtInt64:
        if (value.Kind() == TfsVarKind::Int64) {
            FValue = value;
            return;
        }
        if (value.Kind() == TfsVarKind::Int) {
            FValue = TfsVariant(qint64(value.AsInt()));
            return;
        }
        break;
    case fvtFloat:
        if (value.Kind() == TfsVarKind::Double) {
            FValue = value;
            return;
        }
        break;
    case fvtVariant:
    case fvtClass:
    case fvtArray:
        FValue = value;
        return;
    default:
        break;
    }
    FValue = Convert(FTyp, value);
}

TfsParamItem::TfsParamItem(const QString &name, TfsVarType typ, const QString &typeName, bool isOptional,
                           bool isVarParam)
    : TfsVariable(name, typ, typeName), FIsOptional(isOptional), FIsVarParam(isVarParam)
{
}

// ---------------------------------------------------------------------------

TfsProcVariable::TfsProcVariable(const QString &name, TfsVarType typ, const QString &typeName,
                                 TfsScript *parent, bool isFunc)
    : TfsCustomVariable(name, typ, typeName), FIsFunc(isFunc), FProgram(std::make_unique<TfsScript>(parent))
{
    FProgram->FMainProg = false;
    FProgram->SetSyntaxType(parent ? parent->SyntaxType() : QStringLiteral("PascalScript"));
}

TfsProcVariable::~TfsProcVariable() = default;

TfsVariant TfsProcVariable::GetValue()
{
    fsCheckStack();
    fsPoll(FProgram.get());
    TfsScript *main = FProgram->Parent();
    while (main && !main->FMainProg)
        main = main->Parent();
    // A terminated program runs no more procedures.
    if (main && main->FTerminated.load(std::memory_order_relaxed))
        return FIsFunc && FRefItem ? FRefItem->FValue : TfsVariant::Null();

    struct TRestore {
        TfsProcVariable *Proc;
        TfsScript *Main, *SavedRunning;
        bool WasExecuting;
        ~TRestore()
        {
            TfsScript *p = Proc->FProgram.get();
            p->FExitCalled = false;
            p->FTerminated.store(false, std::memory_order_relaxed);
            p->FIsRunning = false;
            p->FBreakCalled = p->FContinueCalled = false;
            if (Main)
                Main->FProgRunning = SavedRunning;
            Proc->FExecuting = WasExecuting;
        }
    } restore{this, main, main ? main->FProgRunning : nullptr, FExecuting};

    FExecuting = true;
    for (auto &[local, initial] : FLocalInits)
        local->FValue = initial;
    if (FIsFunc && FRefItem)
        FRefItem->FValue = TfsVariant();
    if (main)
        main->FProgRunning = FProgram.get();
    FProgram->FExitCalled = false;
    // Plain stores: the flag orders nothing, and every call of a procedure
    // passes here twice (a full barrier each would cost more than the call).
    FProgram->FTerminated.store(false, std::memory_order_relaxed);
    FProgram->FIsRunning = true;
    FProgram->Statement()->Execute();
    return FIsFunc && FRefItem ? FRefItem->FValue : TfsVariant::Null();
}

// ---------------------------------------------------------------------------

TfsMethodHelper::TfsMethodHelper(const QString &syntax, TfsScript *script)
    : TfsCustomVariable(QString(), fvtVariant, QString()), FSyntax(syntax)
{
    bool isFunction = false;
    fsParseDeclaration(*this, syntax, script, &isFunction, &FIsConstructor);
    FNeedResult = isFunction;
}

TfsVariant TfsMethodHelper::GetValue()
{
    if (!FOnCall)
        return TfsVariant::Null();
    return FOnCall(FInstance, FClassRef, FUppercaseName, *this);
}

TfsPropertyHelper::TfsPropertyHelper(const QString &name, TfsVarType typ, const QString &typeName)
    : TfsCustomVariable(name, typ, typeName)
{
}

namespace {

[[noreturn]] void raiseNoInstance(const QString &name)
{
    throw EfsRuntimeError(QStringLiteral("EAccessViolation"),
                          QStringLiteral("Access to member '%1' of a nil object").arg(name));
}

} // namespace

TfsPropertyHelper::~TfsPropertyHelper() = default;

TfsPropertyStrings *TfsPropertyHelper::BoundList(QObject *instance)
{
    auto found = FBoundLists.find(instance);
    // An entry whose object is gone may meet a new object at the same address.
    if (found != FBoundLists.end() && found->second->Owner() == instance)
        return found->second.get();
    if (FBoundLists.size() >= 64)
        std::erase_if(FBoundLists, [](const auto &entry) { return !entry.second->Owner(); });
    auto list = std::make_unique<TfsPropertyStrings>(instance, FMetaPropertyIndex);
    TfsPropertyStrings *raw = list.get();
    FBoundLists[instance] = std::move(list);
    return raw;
}

TfsVariant TfsPropertyHelper::GetValue()
{
    if (FMetaPropertyIndex >= 0) {
        if (!FInstance)
            raiseNoInstance(FName);
        const QMetaProperty prop = FInstance->metaObject()->property(FMetaPropertyIndex);
        if (propKindOfType(prop) == TfrxPropKind::StringList)
            return TfsVariant(static_cast<QObject *>(BoundList(FInstance)));
        return fsReadHostProp(FInstance, prop);
    }
    if (!FOnGetValue)
        return TfsVariant::Null();
    return FOnGetValue(FInstance, FClassRef, FUppercaseName, *this);
}

void TfsPropertyHelper::SetValue(const TfsVariant &value)
{
    if (FMetaPropertyIndex >= 0) {
        if (!FInstance)
            raiseNoInstance(FName);
        fsWriteHostProp(FInstance, FInstance->metaObject()->property(FMetaPropertyIndex), value);
        return;
    }
    if (FOnSetValue)
        FOnSetValue(FInstance, FClassRef, FUppercaseName, value, *this);
}

// ---------------------------------------------------------------------------

TfsClassVariable::TfsClassVariable(const QString &className, const QString &ancestor, const QMetaObject *meta)
    : TfsCustomVariable(className, fvtClass, className), FAncestor(ancestor), FMetaObject(meta)
{
}

TfsClassVariable::~TfsClassVariable() = default;

void TfsClassVariable::AddMember(std::unique_ptr<TfsCustomVariable> member)
{
    FMembers.insert(member->FUppercaseName, member.get());
    FOwned.push_back(std::move(member));
}

TfsMethodHelper *TfsClassVariable::AddMethod(const QString &syntax, TfsCallMethodEvent callEvent)
{
    auto m = std::make_unique<TfsMethodHelper>(syntax, FScript);
    m->FOnCall = std::move(callEvent);
    m->FClassRef = this;
    TfsMethodHelper *raw = m.get();
    AddMember(std::move(m));
    return raw;
}

TfsMethodHelper *TfsClassVariable::AddConstructor(const QString &syntax, TfsCallMethodEvent callEvent)
{
    TfsMethodHelper *m = AddMethod(syntax, std::move(callEvent));
    m->FIsConstructor = true;
    m->FTyp = fvtClass;
    m->FTypeName = FName;
    m->FNeedResult = true;
    return m;
}

TfsPropertyHelper *TfsClassVariable::AddProperty(const QString &name, const QString &typeName,
                                                 TfsGetValueEvent getter, TfsSetValueEvent setter)
{
    auto p = std::make_unique<TfsPropertyHelper>(name, fsResolveType(FScript, typeName), typeName);
    p->FOnGetValue = std::move(getter);
    p->FOnSetValue = std::move(setter);
    p->FIsReadOnly = !p->FOnSetValue;
    p->FClassRef = this;
    TfsPropertyHelper *raw = p.get();
    AddMember(std::move(p));
    return raw;
}

TfsPropertyHelper *TfsClassVariable::AddDefaultProperty(const QString &name, const QString &params,
                                                        const QString &typeName, TfsGetValueEvent getter,
                                                        TfsSetValueEvent setter)
{
    TfsPropertyHelper *p = AddProperty(name, typeName, std::move(getter), std::move(setter));
    TfsMethodHelper decl(QStringLiteral("function %1(%2): %3").arg(name, params, typeName), FScript);
    for (TfsParamItem *param : decl.FParams)
        p->AddParam(std::make_unique<TfsParamItem>(param->FName, param->FTyp, param->FTypeName,
                                                   param->FIsOptional, param->FIsVarParam));
    FDefProperty = p;
    return p;
}

TfsPropertyHelper *TfsClassVariable::DefaultProperty()
{
    for (TfsClassVariable *c = this; c; c = c->FParentClass)
        if (c->FDefProperty)
            return c->FDefProperty;
    return nullptr;
}

TfsCustomVariable *TfsClassVariable::Find(const QString &name)
{
    const QString upper = name.toUpper();
    for (TfsClassVariable *c = this; c; c = c->FParentClass) {
        if (TfsCustomVariable *m = c->FMembers.value(upper))
            return m;
        if (c->FMetaObject) {
            // The class's Qt properties serve as its published properties.
            for (int i = 0; i < c->FMetaObject->propertyCount(); ++i) {
                const QMetaProperty prop = c->FMetaObject->property(i);
                if (isQObjectOwnProperty(c->FMetaObject, i) ||
                    QString::fromLatin1(prop.name()).compare(name, Qt::CaseInsensitive) != 0)
                    continue;
                TfsVarType typ = fvtVariant;
                QString typeName;
                fsHostPropType(prop, c->FScript, typ, typeName);
                auto p = std::make_unique<TfsPropertyHelper>(QString::fromLatin1(prop.name()), typ, typeName);
                p->FMetaPropertyIndex = i;
                p->FIsReadOnly = !prop.isWritable();
                p->FClassRef = c;
                TfsPropertyHelper *raw = p.get();
                c->AddMember(std::move(p));
                return raw;
            }
        }
    }
    return nullptr;
}

bool TfsClassVariable::IsInstance(const QObject *object) const
{
    if (!object)
        return false;
    if (FMetaObject && object->metaObject()->inherits(FMetaObject))
        return true;
    for (const QMetaObject *mo = object->metaObject(); mo; mo = mo->superClass())
        if (FName.compare(QLatin1String(mo->className()), Qt::CaseInsensitive) == 0)
            return true;
    // Script classes may place a host class under one without a Qt class of its own.
    const TfsClassVariable *cls = FScript ? FScript->FindClassOf(object) : nullptr;
    return cls && cls->DescendsFrom(this);
}

bool TfsClassVariable::DescendsFrom(const TfsClassVariable *cls) const
{
    for (const TfsClassVariable *c = this; c; c = c->FParentClass)
        if (c == cls || c->FUppercaseName == cls->FUppercaseName)
            return true;
    return false;
}

TfsStringHelper::TfsStringHelper() : TfsCustomVariable(QStringLiteral("__StringHelper"), fvtChar, QString())
{
    AddParam(std::make_unique<TfsParamItem>(QStringLiteral("Index"), fvtInt, QString(), false, false));
}

TfsArrayHelper::TfsArrayHelper() : TfsCustomVariable(QStringLiteral("__ArrayHelper"), fvtVariant, QString())
{
    AddParam(std::make_unique<TfsParamItem>(QStringLiteral("Index"), fvtInt, QString(), false, false));
}

// ---------------------------------------------------------------------------
// Declarations of host methods

TfsVarType fsResolveType(TfsScript *script, const QString &typeName)
{
    if (typeName.isEmpty())
        return fvtVariant;
    if (script) {
        if (TfsCustomVariable *item = script->Find(typeName)) {
            if (item->Kind() == TfsItemKind::Type || item->Kind() == TfsItemKind::Class)
                return item->FTyp;
        }
    }
    static const QHash<QString, TfsVarType> builtin = {
        {QStringLiteral("BYTE"), fvtInt}, {QStringLiteral("WORD"), fvtInt}, {QStringLiteral("INTEGER"), fvtInt},
        {QStringLiteral("LONGINT"), fvtInt}, {QStringLiteral("CARDINAL"), fvtInt},
        {QStringLiteral("TCOLOR"), fvtInt}, {QStringLiteral("INT64"), fvtInt64},
        {QStringLiteral("BOOLEAN"), fvtBool}, {QStringLiteral("REAL"), fvtFloat},
        {QStringLiteral("SINGLE"), fvtFloat}, {QStringLiteral("DOUBLE"), fvtFloat},
        {QStringLiteral("EXTENDED"), fvtFloat}, {QStringLiteral("CURRENCY"), fvtFloat},
        {QStringLiteral("TDATE"), fvtFloat}, {QStringLiteral("TTIME"), fvtFloat},
        {QStringLiteral("TDATETIME"), fvtFloat}, {QStringLiteral("CHAR"), fvtChar},
        {QStringLiteral("STRING"), fvtString}, {QStringLiteral("VARIANT"), fvtVariant},
        {QStringLiteral("POINTER"), fvtVariant}, {QStringLiteral("ARRAY"), fvtArray},
        {QStringLiteral("CONSTRUCTOR"), fvtConstructor},
    };
    return builtin.value(typeName.toUpper(), fvtClass);
}

namespace {

// A tiny scanner over a declaration text.
class TDeclScanner {
public:
    explicit TDeclScanner(const QString &text) : FText(text) {}

    QString Next()
    {
        while (FPos < FText.size() && FText[FPos].isSpace())
            ++FPos;
        if (FPos >= FText.size())
            return QString();
        const qsizetype start = FPos;
        const QChar c = FText[FPos];
        if (c.isLetter() || c == QLatin1Char('_')) {
            while (FPos < FText.size() && (FText[FPos].isLetterOrNumber() || FText[FPos] == QLatin1Char('_')))
                ++FPos;
        } else if (c.isDigit() || (c == QLatin1Char('-') && FPos + 1 < FText.size() && FText[FPos + 1].isDigit())) {
            ++FPos;
            while (FPos < FText.size() && (FText[FPos].isDigit() || FText[FPos] == QLatin1Char('.')))
                ++FPos;
        } else if (c == QLatin1Char('\'')) {
            ++FPos;
            while (FPos < FText.size()) {
                if (FText[FPos] == QLatin1Char('\'')) {
                    if (FPos + 1 < FText.size() && FText[FPos + 1] == QLatin1Char('\'')) {
                        FPos += 2;
                        continue;
                    }
                    ++FPos;
                    break;
                }
                ++FPos;
            }
        } else {
            ++FPos;
        }
        return FText.mid(start, FPos - start);
    }
    QString Peek()
    {
        const qsizetype save = FPos;
        QString t = Next();
        FPos = save;
        return t;
    }

private:
    const QString &FText;
    qsizetype FPos = 0;
};

[[noreturn]] void badDeclaration(const QString &syntax)
{
    throw EfsCompileError(QStringLiteral("Invalid declaration: %1").arg(syntax));
}

bool isWord(const QString &t, const char *w)
{
    return t.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
}

TfsVariant defaultValue(const QString &text, TfsScript *script)
{
    if (text.startsWith(QLatin1Char('\'')))
        return TfsVariant(text.mid(1, text.size() - 2).replace(QLatin1String("''"), QLatin1String("'")));
    bool ok = false;
    const qint64 i = text.toLongLong(&ok);
    if (ok)
        return TfsVariant::FromInteger(i);
    const double d = text.toDouble(&ok);
    if (ok)
        return TfsVariant(d);
    if (isWord(text, "True"))
        return TfsVariant(true);
    if (isWord(text, "False"))
        return TfsVariant(false);
    if (isWord(text, "nil"))
        return TfsVariant(0);
    if (script)
        if (TfsCustomVariable *item = script->Find(text))
            return item->FValue;
    return TfsVariant::Null();
}

} // namespace

void fsParseDeclaration(TfsCustomVariable &item, const QString &syntax, TfsScript *script, bool *isFunction,
                        bool *isConstructor)
{
    TDeclScanner s(syntax);
    const QString kind = s.Next();
    bool function = false, constructor = false;
    if (isWord(kind, "function"))
        function = true;
    else if (isWord(kind, "macrofunction"))
        function = item.FIsMacro = true;
    else if (isWord(kind, "constructor"))
        constructor = function = true;
    else if (!isWord(kind, "procedure"))
        badDeclaration(syntax);
    item.FName = s.Next();
    if (item.FName.isEmpty() || !(item.FName[0].isLetter() || item.FName[0] == QLatin1Char('_')))
        badDeclaration(syntax);
    item.FUppercaseName = item.FName.toUpper();
    if (s.Peek() == QLatin1String("(")) {
        s.Next();
        while (s.Peek() != QLatin1String(")")) {
            if (s.Peek().isEmpty())
                badDeclaration(syntax);
            bool isVar = false;
            QString t = s.Next();
            if (isWord(t, "var") || isWord(t, "out")) {
                isVar = true;
                t = s.Next();
            } else if (isWord(t, "const")) {
                t = s.Next();
            }
            QStringList names{t};
            while (s.Peek() == QLatin1String(",")) {
                s.Next();
                names << s.Next();
            }
            QString typeName;
            if (s.Peek() == QLatin1String(":")) {
                s.Next();
                typeName = s.Next();
                if (isWord(typeName, "array") && isWord(s.Peek(), "of")) {
                    s.Next();
                    s.Next();
                    typeName = QStringLiteral("Array");
                }
            }
            bool optional = false;
            TfsVariant def = TfsVariant::Null();
            if (s.Peek() == QLatin1String("=")) {
                s.Next();
                def = defaultValue(s.Next(), script);
                optional = true;
            }
            for (const QString &n : names) {
                if (n.isEmpty() || !(n[0].isLetter() || n[0] == QLatin1Char('_')))
                    badDeclaration(syntax);
                auto p = std::make_unique<TfsParamItem>(n, fsResolveType(script, typeName), typeName, optional, isVar);
                p->FDefValue = def;
                item.AddParam(std::move(p));
            }
            if (s.Peek() == QLatin1String(";"))
                s.Next();
            else if (s.Peek() != QLatin1String(")"))
                badDeclaration(syntax);
        }
        s.Next();
    }
    if (s.Peek() == QLatin1String(":")) {
        s.Next();
        item.FTypeName = s.Next();
        item.FTyp = fsResolveType(script, item.FTypeName);
    } else if (!constructor) {
        item.FTypeName.clear();
        item.FTyp = fvtVariant;
    }
    if (isFunction)
        *isFunction = function;
    if (isConstructor)
        *isConstructor = constructor;
}
