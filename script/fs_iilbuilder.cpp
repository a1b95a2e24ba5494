// Building items and statements from the intermediate document.

#include "script/fs_iilparser.h"

#include "script/fs_iconst.h"
#include "script/fs_idesignator.h"
#include "script/fs_iinterpreter.h"

#include <QHash>
#include <QScopedValueRollback>
#include <QSet>

namespace {

// Expression trees deeper than this are refused, so that evaluating them
// cannot exhaust the stack.
constexpr int kMaxExpressionDepth = 4000;

} // namespace

// Walks the intermediate document once; see ParseILScript.
class TfsILBuilder {
public:
    TfsILBuilder(TfsILParser &front, TfsScript *script) : F(front), FScript(script) {}

    void Build(TfsXMLItem *root);
    QString FPos, FUnit;

private:
    TfsILParser &F;
    TfsScript *FScript;
    bool FDeclareVars = false;
    // Initial values are assigned when the declaration runs (the statement
    // languages) rather than once at compile time (PascalScript).
    bool FRuntimeInits = false;
    TfsProcVariable *FOwner = nullptr;              // the procedure whose body is being built
    QSet<const TfsCustomVariable *> FAutoDeclared;  // variables made by a use without declaration
    QHash<QString, QString> FTypes;                 // language type -> engine type (lower case)
    QHash<const TfsXMLItem *, TfsProcVariable *> FProcs;
    QHash<const TfsScript *, QSet<QString>> FDeclared; // names declared by the source, per scope
    struct TWith {
        TfsCustomVariable *Var;
        TfsClassVariable *Class;
    };
    std::vector<TWith> FWith;
    int FWithCount = 0;
    bool FAssignTarget = false; // the designator being built is the left side of an assignment
    bool FCallTarget = false;   // the designator being built is a statement of its own (a call)

    [[noreturn]] void Error(const QString &message) const { throw EfsCompileError(message, FPos, FUnit); }
    [[noreturn]] void ErrorName(const char *key, const QString &name) const
    {
        Error(fsResource(QLatin1String(key)) + QLatin1Char('\'') + name + QLatin1Char('\''));
    }
    void At(const TfsXMLItem *item)
    {
        const QString pos = item->Prop(QStringLiteral("pos"));
        if (!pos.isEmpty())
            FPos = pos;
    }
    void Declare(TfsScript *prog, const QString &name);
    void ResolveType(TfsScript *prog, const QString &name, TfsVarType &typ, QString &typeName);

    void ProcessItems(TfsXMLItem *parent, TfsScript *prog, TfsStatement *block);
    void DeclareProcs(TfsXMLItem *parent, TfsScript *prog);
    void DeclareProc(TfsXMLItem *item, TfsScript *prog);
    void ProcessProc(TfsXMLItem *item);
    std::unique_ptr<TfsStatement> ProcessVar(TfsXMLItem *item, TfsScript *prog, TfsProcVariable *owner);
    void DeclareVarGroup(TfsXMLItem *item, const QStringList &names, TfsVarType typ, const QString &typeName,
                         TfsXMLItem *array, TfsXMLItem *init, TfsScript *prog, TfsProcVariable *owner,
                         TfsStatement *inits);
    void ProcessConst(TfsXMLItem *item, TfsScript *prog);

    void AddStatements(TfsXMLItem *container, TfsScript *prog, TfsStatement *block, int from = 0);
    std::unique_ptr<TfsStatement> ProcessStatement(TfsXMLItem *item, TfsScript *prog);
    std::unique_ptr<TfsStatement> BlockOf(TfsXMLItem *container, TfsScript *prog, int from = 0);
    template <typename T>
    std::unique_ptr<T> NewStatement(TfsXMLItem *item, TfsScript *prog);
    std::unique_ptr<TfsStatement> ProcessAssign(TfsXMLItem *item, TfsScript *prog);
    std::unique_ptr<TfsStatement> ProcessCase(TfsXMLItem *item, TfsScript *prog);
    std::unique_ptr<TfsStatement> ProcessTry(TfsXMLItem *item, TfsScript *prog);
    std::unique_ptr<TfsStatement> ProcessCppFor(TfsXMLItem *item, TfsScript *prog);
    std::unique_ptr<TfsStatement> ProcessVbFor(TfsXMLItem *item, TfsScript *prog);
    std::unique_ptr<TfsStatement> ProcessReturn(TfsXMLItem *item, TfsScript *prog);
    std::unique_ptr<TfsStatement> ProcessDelete(TfsXMLItem *item, TfsScript *prog);
    std::unique_ptr<TfsDesignator> ProcessNew(TfsXMLItem *item, TfsScript *prog);
    TfsCustomVariable *LoopVariable(TfsXMLItem *ident, TfsScript *prog);

    std::unique_ptr<TfsExpression> ProcessExpression(TfsXMLItem *expr, TfsScript *prog);
    TfsSetNode *ProcessSet(TfsXMLItem *set, TfsScript *prog);
    std::unique_ptr<TfsDesignator> ProcessDesignator(TfsXMLItem *dsgn, TfsScript *prog);
    void ProcessArgs(TfsDesignatorStep &step, TfsCustomVariable *item, TfsXMLItem *dsgn,
                     const std::vector<TfsXMLItem *> &args, TfsScript *prog, bool checkCount);
    QString SourceOf(TfsXMLItem *dsgn, const std::vector<TfsXMLItem *> &args, size_t index) const;
    void CheckAssign(TfsVarType typ, const QString &typeName, const QString &fullName, const TfsExpression &e,
                     TfsScript *prog) const;
    TfsCustomVariable *FindOrDeclare(TfsScript *prog, const QString &name);
    const TfsParser &SourceParser() const;
};

bool TfsILParser::ParseILScript()
{
    TfsILBuilder builder(*this, FScript);
    try {
        builder.Build(FILScript.Root());
    } catch (const EfsCompileError &e) {
        FScript->SetError(e.Message(), e.Pos.isEmpty() ? builder.FPos : e.Pos, e.Pos.isEmpty() ? builder.FUnit : e.Unit);
        return false;
    } catch (const Exception &e) {
        // A run-time error while evaluating a constant or an initial value.
        FScript->SetError(e.Message(), builder.FPos, builder.FUnit);
        return false;
    }
    return true;
}

const TfsParser &TfsILBuilder::SourceParser() const
{
    if (!FUnit.isEmpty())
        for (const auto &p : F.FUnitParsers)
            if (p.first == FUnit)
                return *p.second;
    return F.FParser;
}

void TfsILBuilder::Build(TfsXMLItem *root)
{
    FDeclareVars = F.Grammar() && F.Grammar()->DeclareVars;
    FRuntimeInits = F.Grammar() && F.Grammar()->Name.compare(QLatin1String("PascalScript"), Qt::CaseInsensitive) != 0;
    if (TfsXMLItem *types = root->Child(QStringLiteral("types")))
        for (int i = 0; i < types->Count(); ++i)
            FTypes.insert(types->Items(i)->Name().toLower(), types->Items(i)->Prop(QStringLiteral("type")));
    DeclareProcs(root, FScript);
    ProcessItems(root, FScript, FScript->Statement());
}

void TfsILBuilder::Declare(TfsScript *prog, const QString &name)
{
    QSet<QString> &names = FDeclared[prog];
    const QString upper = name.toUpper();
    if (names.contains(upper))
        ErrorName("SIdRedeclared", name);
    names.insert(upper);
}

void TfsILBuilder::ResolveType(TfsScript *prog, const QString &name, TfsVarType &typ, QString &typeName)
{
    const QString mapped = FTypes.value(name.toLower(), name);
    typeName = name;
    if (TfsCustomVariable *item = prog->Find(mapped)) {
        if (item->Kind() == TfsItemKind::Type || item->Kind() == TfsItemKind::Class) {
            typ = item->FTyp;
            if (item->Kind() == TfsItemKind::Class)
                typeName = item->FName;
            return;
        }
    }
    ErrorName("SUnknownType", name);
}

void TfsILBuilder::DeclareProcs(TfsXMLItem *parent, TfsScript *prog)
{
    for (int i = 0; i < parent->Count(); ++i) {
        TfsXMLItem *item = parent->Items(i);
        if (item->Name() == QLatin1String("procedure") || item->Name() == QLatin1String("function"))
            DeclareProc(item, prog);
    }
}

void TfsILBuilder::DeclareProc(TfsXMLItem *item, TfsScript *prog)
{
    At(item);
    const bool isFunc = item->Name() == QLatin1String("function");
    QString name;
    TfsVarType typ = fvtVariant;
    QString typeName;
    for (int i = 0; i < item->Count(); ++i) {
        TfsXMLItem *c = item->Items(i);
        if (c->Name() == QLatin1String("name"))
            name = c->Prop(QStringLiteral("text"));
        else if (c->Name() == QLatin1String("type") && isFunc) {
            At(c);
            ResolveType(prog, c->Prop(QStringLiteral("text")), typ, typeName);
        }
    }
    Declare(prog, name);
    auto owned = std::make_unique<TfsProcVariable>(name, typ, typeName, prog, isFunc);
    TfsProcVariable *proc = owned.get();
    proc->FSourcePos = item->Prop(QStringLiteral("pos"));
    proc->FSourceUnit = FUnit;
    TfsScript *local = proc->Program();
    local->SetAddedBy(prog->AddedBy());
    if (TfsXMLItem *params = item->Child(QStringLiteral("parameters"))) {
        bool nextIsVar = false;
        for (int i = 0; i < params->Count(); ++i) {
            TfsXMLItem *p = params->Items(i);
            if (p->Name() == QLatin1String("varparams")) {
                nextIsVar = true;
                continue;
            }
            if (p->Name() != QLatin1String("var"))
                continue;
            At(p);
            if (p->Child(QStringLiteral("varparam")))
                nextIsVar = true;
            TfsVarType ptyp = fvtVariant;
            QString ptypeName;
            TfsVariant def = TfsVariant::Null();
            bool optional = false;
            QStringList names;
            for (int j = 0; j < p->Count(); ++j) {
                TfsXMLItem *leaf = p->Items(j);
                if (leaf->Name() == QLatin1String("ident"))
                    names << leaf->Prop(QStringLiteral("text"));
                else if (leaf->Name() == QLatin1String("type"))
                    ResolveType(prog, leaf->Prop(QStringLiteral("text")), ptyp, ptypeName);
                else if (leaf->Name() == QLatin1String("array"))
                    ptyp = fvtArray;
                else if (leaf->Name() == QLatin1String("init")) {
                    auto e = ProcessExpression(leaf->Child(QStringLiteral("expr")), prog);
                    def = e->Value();
                    optional = true;
                }
            }
            if (p->Child(QStringLiteral("array"))) {
                ptyp = fvtArray;
                ptypeName = QStringLiteral("Array");
            }
            for (const QString &n : names) {
                Declare(local, n);
                auto param = std::make_unique<TfsParamItem>(n, ptyp, ptypeName, optional, nextIsVar);
                param->FDefValue = def;
                param->FValue = TfsVariable::Convert(ptyp, TfsVariant());
                TfsParamItem *raw = static_cast<TfsParamItem *>(local->Add(std::move(param)));
                proc->AddParamRef(raw);
                proc->FLocals.push_back(raw);
            }
            nextIsVar = false;
        }
    }
    if (isFunc) {
        auto result = std::make_unique<TfsVariable>(QStringLiteral("Result"), typ, typeName);
        proc->FRefItem = local->Add(std::move(result));
        proc->FLocals.push_back(proc->FRefItem);
        Declare(local, QStringLiteral("Result"));
    }
    prog->Add(std::move(owned));
    FProcs.insert(item, proc);
}

void TfsILBuilder::ProcessProc(TfsXMLItem *item)
{
    TfsProcVariable *proc = FProcs.value(item);
    if (!proc)
        return;
    TfsScript *local = proc->Program();
    const QScopedValueRollback<TfsProcVariable *> owner(FOwner, proc);
    DeclareProcs(item, local);
    for (int i = 0; i < item->Count(); ++i) {
        TfsXMLItem *c = item->Items(i);
        At(c);
        if (c->Name() == QLatin1String("var")) {
            if (auto inits = ProcessVar(c, local, proc))
                local->Statement()->Add(std::move(inits));
        }
        else if (c->Name() == QLatin1String("const"))
            ProcessConst(c, local);
        else if (c->Name() == QLatin1String("procedure") || c->Name() == QLatin1String("function"))
            ProcessProc(c);
        else if (c->Name() == QLatin1String("compoundstmt"))
            AddStatements(c, local, local->Statement());
        else if (c->Name() != QLatin1String("name") && c->Name() != QLatin1String("type") &&
                 c->Name() != QLatin1String("parameters")) {
            // Languages whose functions hold statements directly.
            if (auto s = ProcessStatement(c, local))
                local->Statement()->Add(std::move(s));
        }
    }
    proc->FDefined = true;
}

void TfsILBuilder::ProcessItems(TfsXMLItem *parent, TfsScript *prog, TfsStatement *block)
{
    for (int i = 0; i < parent->Count(); ++i) {
        TfsXMLItem *item = parent->Items(i);
        At(item);
        const QString &n = item->Name();
        if (n == QLatin1String("types") || n == QLatin1String("file"))
            continue;
        if (n == QLatin1String("var")) {
            if (auto inits = ProcessVar(item, prog, FOwner))
                block->Add(std::move(inits));
        } else if (n == QLatin1String("const"))
            ProcessConst(item, prog);
        else if (n == QLatin1String("procedure") || n == QLatin1String("function"))
            ProcessProc(item);
        else if (n == QLatin1String("uses")) {
            const QScopedValueRollback<QString> unit(FUnit, item->Prop(QStringLiteral("unit")));
            DeclareProcs(item, prog);
            ProcessItems(item, prog, block);
        } else if (n == QLatin1String("compoundstmt") && parent->Name() == QLatin1String("program") &&
                   block == prog->Statement())
            AddStatements(item, prog, block); // the main block's statements
        else if (n == QLatin1String("compoundstmt") && parent->Name() == QLatin1String("uses"))
            AddStatements(item, prog, block);
        else if (auto s = ProcessStatement(item, prog))
            block->Add(std::move(s));
    }
}

// A "var" element declares its names. Two shapes exist: the type after the
// names ("a, b: Integer = 1", the initial value for all of them) and the type
// first or absent ("int a = 1, b[3]", "var a = 1, b"), where each name takes
// the array bounds and the initial value that follow it.
std::unique_ptr<TfsStatement> TfsILBuilder::ProcessVar(TfsXMLItem *item, TfsScript *prog, TfsProcVariable *owner)
{
    int lastIdent = -1, typeAt = -1;
    for (int i = 0; i < item->Count(); ++i) {
        if (item->Items(i)->Name() == QLatin1String("ident"))
            lastIdent = i;
        else if (item->Items(i)->Name() == QLatin1String("type") && typeAt < 0)
            typeAt = i;
    }
    TfsVarType typ = fvtVariant;
    QString typeName = QStringLiteral("Variant");
    if (typeAt >= 0) {
        At(item->Items(typeAt));
        ResolveType(prog, item->Items(typeAt)->Prop(QStringLiteral("text")), typ, typeName);
    }
    auto inits = FRuntimeInits ? NewStatement<TfsStatement>(item, prog) : nullptr;
    const bool typeAfterNames = typeAt > lastIdent;
    QStringList names;
    TfsXMLItem *array = nullptr, *init = nullptr;
    auto flush = [&] {
        if (!names.isEmpty())
            DeclareVarGroup(item, names, typ, typeName, array, init, prog, owner, inits.get());
        names.clear();
        array = init = nullptr;
    };
    for (int i = 0; i < item->Count(); ++i) {
        TfsXMLItem *c = item->Items(i);
        At(c);
        if (c->Name() == QLatin1String("ident")) {
            if (!typeAfterNames)
                flush();
            names << c->Prop(QStringLiteral("text"));
        } else if (c->Name() == QLatin1String("array")) {
            array = c;
        } else if (c->Name() == QLatin1String("init")) {
            init = c;
        }
    }
    flush();
    if (inits && inits->Count() == 0)
        return nullptr;
    return inits;
}

void TfsILBuilder::DeclareVarGroup(TfsXMLItem *item, const QStringList &names, TfsVarType typ,
                                   const QString &typeName, TfsXMLItem *array, TfsXMLItem *init, TfsScript *prog,
                                   TfsProcVariable *owner, TfsStatement *inits)
{
    TfsVariant value = TfsVariable::Convert(typ, TfsVariant());
    if (typ == fvtVariant || typ == fvtClass)
        value = TfsVariant::Null();
    TfsVarType declared = typ;
    QString declaredName = typeName;
    if (array) {
        At(array);
        std::vector<std::pair<int, int>> bounds;
        for (int i = 0; i < array->Count(); ++i) {
            TfsXMLItem *dim = array->Items(i);
            if (dim->Name() != QLatin1String("dim"))
                continue;
            std::vector<int> ends;
            for (int j = 0; j < dim->Count(); ++j)
                if (dim->Items(j)->Name() == QLatin1String("expr"))
                    ends.push_back(ProcessExpression(dim->Items(j), prog)->Value().ToInt());
            if (ends.size() == 1)
                bounds.emplace_back(0, ends[0] - 1);
            else if (ends.size() == 2)
                bounds.emplace_back(ends[0], ends[1]);
        }
        const TfsVariant element = value;
        if (bounds.empty()) {
            value = TfsVariant::Null();
        } else {
            value = TfsVariant::CreateArray(bounds);
            if (!element.IsNull() && bounds.size() == 1)
                for (int i = bounds[0].first; i <= bounds[0].second; ++i)
                    value.SetElement({i}, element);
        }
        declared = fvtArray;
        declaredName = QStringLiteral("Array");
    }
    if (init && !inits) {
        At(init);
        auto e = ProcessExpression(init->Child(QStringLiteral("expr")), prog);
        CheckAssign(declared, declaredName, declaredName, *e, prog);
        value = TfsVariable::Convert(declared, e->Value());
    }
    for (const QString &n : names) {
        TfsCustomVariable *raw = nullptr;
        // The statement languages may declare a variable again (a loop
        // counter declared in two loops) or after a use that declared it
        // implicitly: the same variable is used.
        if (inits)
            if (TfsCustomVariable *existing = prog->FindLocal(n))
                if ((FDeclared[prog].contains(n.toUpper()) || FAutoDeclared.contains(existing)) &&
                    existing->Kind() == TfsItemKind::Variable && existing->FTyp == declared && !array) {
                    raw = existing;
                    FDeclared[prog].insert(n.toUpper());
                }
        if (!raw) {
            Declare(prog, n);
            std::unique_ptr<TfsVariable> v;
            if (declared == fvtString)
                v = std::make_unique<TfsStringVariable>(n, declared, declaredName);
            else
                v = std::make_unique<TfsVariable>(n, declared, declaredName);
            v->FValue = value;
            v->FSourcePos = item->Prop(QStringLiteral("pos"));
            v->FSourceUnit = FUnit;
            raw = prog->Add(std::move(v));
            if (owner) {
                owner->FLocals.push_back(raw);
                owner->FLocalInits.emplace_back(raw, value);
            }
        }
        if (init && inits) {
            At(init);
            auto assign = NewStatement<TfsAssignmentStmt>(init, prog);
            assign->FExpr = ProcessExpression(init->Child(QStringLiteral("expr")), prog);
            CheckAssign(declared, declaredName, raw->GetFullTypeName(), *assign->FExpr, prog);
            assign->FVar = std::make_unique<TfsDesignator>(prog);
            assign->FVar->FHead = raw;
            assign->FVar->FTyp = raw->FTyp;
            assign->FVar->FTypeName = raw->FTypeName;
            assign->FDirect = raw;
            inits->Add(std::move(assign));
        }
    }
}

void TfsILBuilder::ProcessConst(TfsXMLItem *item, TfsScript *prog)
{
    QString name;
    TfsVariant value;
    TfsVarType typ = fvtVariant;
    for (int i = 0; i < item->Count(); ++i) {
        TfsXMLItem *c = item->Items(i);
        At(c);
        if (c->Name() == QLatin1String("ident"))
            name = c->Prop(QStringLiteral("text"));
        else if (c->Name() == QLatin1String("expr")) {
            auto e = ProcessExpression(c, prog);
            value = e->Value();
            typ = e->Typ();
        }
    }
    Declare(prog, name);
    auto constant = std::make_unique<TfsCustomVariable>(name, typ, QString());
    constant->FValue = value;
    constant->FIsReadOnly = true;
    prog->Add(std::move(constant));
}

// ---------------------------------------------------------------------------
// Statements

template <typename T>
std::unique_ptr<T> TfsILBuilder::NewStatement(TfsXMLItem *item, TfsScript *prog)
{
    auto s = std::make_unique<T>(prog);
    s->FSourcePos = item->Prop(QStringLiteral("pos"));
    s->FUnit = FUnit;
    FScript->AddCodeLine(FUnit, s->FSourcePos);
    return s;
}

void TfsILBuilder::AddStatements(TfsXMLItem *container, TfsScript *prog, TfsStatement *block, int from)
{
    for (int i = from; i < container->Count(); ++i)
        if (auto s = ProcessStatement(container->Items(i), prog))
            block->Add(std::move(s));
}

std::unique_ptr<TfsStatement> TfsILBuilder::BlockOf(TfsXMLItem *container, TfsScript *prog, int from)
{
    auto block = NewStatement<TfsStatement>(container, prog);
    AddStatements(container, prog, block.get(), from);
    return block;
}

TfsCustomVariable *TfsILBuilder::FindOrDeclare(TfsScript *prog, const QString &name)
{
    if (TfsCustomVariable *item = prog->Find(name))
        return item;
    if (!FDeclareVars)
        ErrorName("SIdUndeclared", name);
    // A name used without a declaration is a variable of the program, shared
    // by the main code and every routine, whichever of them the source
    // happens to use it in first.
    TfsCustomVariable *v = FScript->Add(std::make_unique<TfsVariable>(name, fvtVariant, QStringLiteral("Variant")));
    FAutoDeclared.insert(v);
    return v;
}

void TfsILBuilder::CheckAssign(TfsVarType typ, const QString &typeName, const QString &fullName,
                               const TfsExpression &e, TfsScript *prog) const
{
    const TfsVarType source = e.Typ();
    bool descends = true;
    if (typ == fvtClass && source == fvtClass) {
        TfsClassVariable *target = prog->FindClass(typeName), *from = prog->FindClass(e.TypeName());
        descends = !target || !from || from->DescendsFrom(target);
    }
    bool ok = fsTypesCompatible(typ, typeName, source, e.TypeName(), descends);
    if (typ == fvtInt && source == fvtFloat)
        ok = false;
    if (!ok) {
        const QString sourceName = e.TypeName().isEmpty() ? fsTypeDisplayName(source) : e.TypeName();
        Error(fsResource(QStringLiteral("SIncompatibleTypes")) + QStringLiteral(": '") +
              (fullName.isEmpty() ? fsTypeDisplayName(typ) : fullName) + QStringLiteral("', '") + sourceName +
              QLatin1Char('\''));
    }
}

std::unique_ptr<TfsStatement> TfsILBuilder::ProcessStatement(TfsXMLItem *item, TfsScript *prog)
{
    fsCheckStack();
    At(item);
    const QString &n = item->Name();
    if (n == QLatin1String("assignstmt"))
        return ProcessAssign(item, prog);
    if (n == QLatin1String("casestmt"))
        return ProcessCase(item, prog);
    if (n == QLatin1String("trystmt"))
        return ProcessTry(item, prog);
    if (n == QLatin1String("cppforstmt"))
        return ProcessCppFor(item, prog);
    if (n == QLatin1String("vbforstmt"))
        return ProcessVbFor(item, prog);
    if (n == QLatin1String("return"))
        return ProcessReturn(item, prog);
    if (n == QLatin1String("delete"))
        return ProcessDelete(item, prog);
    if (n == QLatin1String("callstmt")) {
        auto s = NewStatement<TfsCallStmt>(item, prog);
        TfsXMLItem *d = item->Child(QStringLiteral("dsgn"));
        if (!d)
            Error(fsResource(QStringLiteral("SInvalidLanguage")));
        FCallTarget = !item->Child(QStringLiteral("modificator"));
        s->FDesignator = ProcessDesignator(d, prog);
        if (TfsXMLItem *m = item->Child(QStringLiteral("modificator"))) {
            s->FModificator = m->Prop(QStringLiteral("text"));
            if (!s->FDesignator->IsAssignable())
                Error(fsResource(QStringLiteral("SLeftCantAssigned")));
        }
        return s;
    }
    if (n == QLatin1String("ifstmt")) {
        auto s = NewStatement<TfsIfStmt>(item, prog);
        for (int i = 0; i < item->Count(); ++i) {
            TfsXMLItem *c = item->Items(i);
            if (c->Name() == QLatin1String("expr") && !s->FCondition)
                s->FCondition = ProcessExpression(c, prog);
            else if (c->Name() == QLatin1String("thenstmt"))
                AddStatements(c, prog, s.get());
            else if (c->Name() == QLatin1String("elsestmt"))
                s->FElseStmt = BlockOf(c, prog);
        }
        if (!s->FCondition)
            Error(fsResource(QStringLiteral("SInvalidLanguage")));
        return s;
    }
    if (n == QLatin1String("repeatstmt")) {
        auto s = NewStatement<TfsRepeatStmt>(item, prog);
        int last = -1;
        for (int i = 0; i < item->Count(); ++i)
            if (item->Items(i)->Name() == QLatin1String("expr"))
                last = i;
        if (last < 0)
            Error(fsResource(QStringLiteral("SInvalidLanguage")));
        for (int i = 0; i < item->Count(); ++i) {
            TfsXMLItem *c = item->Items(i);
            if (i == last)
                s->FCondition = ProcessExpression(c, prog);
            else if (c->Name() == QLatin1String("inverse"))
                s->FInverseCondition = true;
            else if (auto st = ProcessStatement(c, prog))
                s->Add(std::move(st));
        }
        return s;
    }
    if (n == QLatin1String("whilestmt")) {
        auto s = NewStatement<TfsWhileStmt>(item, prog);
        for (int i = 0; i < item->Count(); ++i) {
            TfsXMLItem *c = item->Items(i);
            if (c->Name() == QLatin1String("expr") && !s->FCondition)
                s->FCondition = ProcessExpression(c, prog);
            else if (auto st = ProcessStatement(c, prog))
                s->Add(std::move(st));
        }
        if (!s->FCondition)
            Error(fsResource(QStringLiteral("SInvalidLanguage")));
        return s;
    }
    if (n == QLatin1String("forstmt")) {
        auto s = NewStatement<TfsForStmt>(item, prog);
        for (int i = 0; i < item->Count(); ++i) {
            TfsXMLItem *c = item->Items(i);
            At(c);
            if (c->Name() == QLatin1String("ident")) {
                s->FVariable = LoopVariable(c, prog);
            } else if (c->Name() == QLatin1String("downto")) {
                s->FDown = true;
            } else if (c->Name() == QLatin1String("expr")) {
                auto e = ProcessExpression(c, prog);
                if (s->FVariable)
                    CheckAssign(s->FVariable->FTyp, s->FVariable->FTypeName, s->FVariable->GetFullTypeName(), *e,
                                prog);
                (s->FBeginValue ? s->FEndValue : s->FBeginValue) = std::move(e);
            } else if (auto st = ProcessStatement(c, prog)) {
                s->Add(std::move(st));
            }
        }
        if (!s->FVariable || !s->FBeginValue || !s->FEndValue)
            Error(fsResource(QStringLiteral("SInvalidLanguage")));
        return s;
    }
    if (n == QLatin1String("with")) {
        std::vector<TfsXMLItem *> designators, body;
        for (int i = 0; i < item->Count(); ++i) {
            if (item->Items(i)->Name() == QLatin1String("dsgn"))
                designators.push_back(item->Items(i));
            else
                body.push_back(item->Items(i));
        }
        // "with a, b do s" is "with a do with b do s".
        std::vector<std::unique_ptr<TfsWithStmt>> chain;
        const size_t depth = FWith.size();
        for (TfsXMLItem *d : designators) {
            auto w = NewStatement<TfsWithStmt>(item, prog);
            w->FDesignator = ProcessDesignator(d, prog);
            At(d);
            TfsClassVariable *cls = w->FDesignator->FTyp == fvtClass ? prog->FindClass(w->FDesignator->FTypeName) : nullptr;
            if (!cls)
                Error(fsResource(QStringLiteral("SClassRequired")));
            w->FVariable = prog->Add(std::make_unique<TfsVariable>(
                QStringLiteral("__with%1").arg(++FWithCount), fvtClass, cls->FName));
            FWith.push_back({w->FVariable, cls});
            chain.push_back(std::move(w));
        }
        if (chain.empty())
            Error(fsResource(QStringLiteral("SInvalidLanguage")));
        for (TfsXMLItem *b : body)
            if (auto st = ProcessStatement(b, prog))
                chain.back()->Add(std::move(st));
        FWith.resize(depth);
        while (chain.size() > 1) {
            auto inner = std::move(chain.back());
            chain.pop_back();
            chain.back()->Add(std::move(inner));
        }
        return std::move(chain.front());
    }
    if (n == QLatin1String("break"))
        return NewStatement<TfsBreakStmt>(item, prog);
    if (n == QLatin1String("continue"))
        return NewStatement<TfsContinueStmt>(item, prog);
    if (n == QLatin1String("exit"))
        return NewStatement<TfsExitStmt>(item, prog);
    if (n == QLatin1String("compoundstmt") || n == QLatin1String("thenstmt") || n == QLatin1String("elsestmt"))
        return BlockOf(item, prog);
    if (n == QLatin1String("var"))
        return ProcessVar(item, prog, FOwner && prog == FOwner->Program() ? FOwner : nullptr);
    if (n == QLatin1String("const")) {
        ProcessConst(item, prog);
        return nullptr;
    }
    if (n == QLatin1String("empty"))
        return nullptr;
    Error(fsResource(QStringLiteral("SInvalidLanguage")));
}

// designator := expression, or a compound assignment when a "modificator"
// leaf names the operator ("+" for "+=", ...).
std::unique_ptr<TfsStatement> TfsILBuilder::ProcessAssign(TfsXMLItem *item, TfsScript *prog)
{
    TfsXMLItem *d = item->Child(QStringLiteral("dsgn"));
    TfsXMLItem *e = item->Child(QStringLiteral("expr"));
    if (!d || !e)
        Error(fsResource(QStringLiteral("SInvalidLanguage")));
    const TfsXMLItem *m = item->Child(QStringLiteral("modificator"));
    const QString op = m ? m->Prop(QStringLiteral("text")) : QString();
    std::unique_ptr<TfsAssignmentStmt> s;
    if (op.isEmpty())
        s = NewStatement<TfsAssignmentStmt>(item, prog);
    else if (op == QLatin1String("+"))
        s = NewStatement<TfsAssignPlusStmt>(item, prog);
    else if (op == QLatin1String("-"))
        s = NewStatement<TfsAssignMinusStmt>(item, prog);
    else if (op == QLatin1String("*"))
        s = NewStatement<TfsAssignMulStmt>(item, prog);
    else if (op == QLatin1String("/"))
        s = NewStatement<TfsAssignDivStmt>(item, prog);
    else
        Error(fsResource(QStringLiteral("SInvalidLanguage")));
    FAssignTarget = op.isEmpty();
    s->FVar = ProcessDesignator(d, prog);
    FAssignTarget = false;
    At(item);
    if (!s->FVar->IsAssignable())
        Error(fsResource(QStringLiteral("SLeftCantAssigned")));
    s->FExpr = ProcessExpression(e, prog);
    At(e);
    TfsCustomVariable *target = s->FVar->PlainItem();
    // A division always gives a floating-point value, stored with the target's conversion.
    if (op != QLatin1String("/"))
        CheckAssign(s->FVar->FTyp, s->FVar->FTypeName, target ? target->GetFullTypeName() : s->FVar->FTypeName,
                    *s->FExpr, prog);
    if (op.isEmpty() && target && (target->Kind() == TfsItemKind::Variable || target->Kind() == TfsItemKind::Param))
        s->FDirect = target;
    return s;
}

// A "switch" leaf marks the C-like form: a matching selector falls through
// into the next ones until a break, which ends the switch only.
std::unique_ptr<TfsStatement> TfsILBuilder::ProcessCase(TfsXMLItem *item, TfsScript *prog)
{
    auto s = NewStatement<TfsCaseStmt>(item, prog);
    std::unique_ptr<TfsStatement> elseBlock;
    for (int i = 0; i < item->Count(); ++i) {
        TfsXMLItem *c = item->Items(i);
        At(c);
        if (c->Name() == QLatin1String("switch")) {
            s->FFallThrough = true;
        } else if (c->Name() == QLatin1String("expr") && !s->FCondition) {
            s->FCondition = ProcessExpression(c, prog);
        } else if (c->Name() == QLatin1String("caseselector")) {
            auto sel = NewStatement<TfsCaseSelector>(c, prog);
            TfsXMLItem *set = c->Child(QStringLiteral("set"));
            if (!set)
                Error(fsResource(QStringLiteral("SInvalidLanguage")));
            sel->FSetExpression.reset(ProcessSet(set, prog));
            for (int j = 0; j < c->Count(); ++j)
                if (c->Items(j) != set)
                    if (auto st = ProcessStatement(c->Items(j), prog))
                        sel->Add(std::move(st));
            s->Add(std::move(sel));
        } else if (auto st = ProcessStatement(c, prog)) {
            if (!elseBlock)
                elseBlock = NewStatement<TfsStatement>(c, prog);
            elseBlock->Add(std::move(st));
        }
    }
    s->FElseStmt = std::move(elseBlock);
    if (!s->FCondition)
        Error(fsResource(QStringLiteral("SInvalidLanguage")));
    return s;
}

// try/except, try/finally, or both ("Try ... Catch ... Finally"): then the
// except part is nested inside the finally part.
std::unique_ptr<TfsStatement> TfsILBuilder::ProcessTry(TfsXMLItem *item, TfsScript *prog)
{
    auto s = NewStatement<TfsTryStmt>(item, prog);
    std::unique_ptr<TfsStatement> finallyBlock;
    for (int i = 0; i < item->Count(); ++i) {
        TfsXMLItem *c = item->Items(i);
        if (c->Name() == QLatin1String("exceptstmt")) {
            s->FIsExcept = true;
            s->FExceptStmt = BlockOf(c, prog);
        } else if (c->Name() == QLatin1String("finallystmt")) {
            finallyBlock = BlockOf(c, prog);
        } else if (auto st = ProcessStatement(c, prog)) {
            s->Add(std::move(st));
        }
    }
    if (!finallyBlock)
        return s;
    if (!s->FIsExcept) {
        s->FExceptStmt = std::move(finallyBlock);
        return s;
    }
    auto outer = NewStatement<TfsTryStmt>(item, prog);
    outer->Add(std::move(s));
    outer->FExceptStmt = std::move(finallyBlock);
    return outer;
}

// The counter of a loop: a numeric variable (declared on first use where
// the language allows).
TfsCustomVariable *TfsILBuilder::LoopVariable(TfsXMLItem *ident, TfsScript *prog)
{
    At(ident);
    TfsCustomVariable *v = FindOrDeclare(prog, ident->Prop(QStringLiteral("text")));
    const bool variable = v->Kind() == TfsItemKind::Variable || v->Kind() == TfsItemKind::Param;
    const bool numeric = v->FTyp == fvtInt || v->FTyp == fvtInt64 || v->FTyp == fvtFloat || v->FTyp == fvtVariant;
    if (!variable || !numeric || v->FIsReadOnly)
        Error(fsResource(QStringLiteral("SForError")));
    return v;
}

// cppforstmt: an initialisation block, an optional test, a step block, then
// the body. The two blocks are always present, so their order tells them apart.
std::unique_ptr<TfsStatement> TfsILBuilder::ProcessCppFor(TfsXMLItem *item, TfsScript *prog)
{
    auto s = NewStatement<TfsCppForStmt>(item, prog);
    int stage = 0; // 0: before the initialisation, 1: before the step, 2: the body
    for (int i = 0; i < item->Count(); ++i) {
        TfsXMLItem *c = item->Items(i);
        At(c);
        if (stage == 0 && c->Name() == QLatin1String("compoundstmt")) {
            s->FFirstStmt = BlockOf(c, prog);
            stage = 1;
        } else if (stage == 1 && c->Name() == QLatin1String("expr") && !s->FExpression) {
            s->FExpression = ProcessExpression(c, prog);
        } else if (stage == 1 && c->Name() == QLatin1String("compoundstmt")) {
            s->FSecondStmt = BlockOf(c, prog);
            stage = 2;
        } else if (stage == 2) {
            if (auto st = ProcessStatement(c, prog))
                s->Add(std::move(st));
        } else {
            Error(fsResource(QStringLiteral("SInvalidLanguage")));
        }
    }
    if (stage != 2)
        Error(fsResource(QStringLiteral("SInvalidLanguage")));
    return s;
}

// vbforstmt: the counter, the first and last values and an optional step
// (the expressions in that order), then the body.
std::unique_ptr<TfsStatement> TfsILBuilder::ProcessVbFor(TfsXMLItem *item, TfsScript *prog)
{
    auto s = NewStatement<TfsVbForStmt>(item, prog);
    int values = 0;
    for (int i = 0; i < item->Count(); ++i) {
        TfsXMLItem *c = item->Items(i);
        At(c);
        if (c->Name() == QLatin1String("ident") && !s->FVariable) {
            s->FVariable = LoopVariable(c, prog);
        } else if (c->Name() == QLatin1String("expr") && values < 3) {
            auto e = ProcessExpression(c, prog);
            if (s->FVariable && values < 2)
                CheckAssign(s->FVariable->FTyp, s->FVariable->FTypeName, s->FVariable->GetFullTypeName(), *e, prog);
            (values == 0 ? s->FBeginValue : values == 1 ? s->FEndValue : s->FStep) = std::move(e);
            ++values;
        } else if (auto st = ProcessStatement(c, prog)) {
            s->Add(std::move(st));
        }
    }
    if (!s->FVariable || values < 2)
        Error(fsResource(QStringLiteral("SInvalidLanguage")));
    return s;
}

// return [expr]: the value becomes the function's result, then the procedure ends.
std::unique_ptr<TfsStatement> TfsILBuilder::ProcessReturn(TfsXMLItem *item, TfsScript *prog)
{
    auto block = NewStatement<TfsStatement>(item, prog);
    if (TfsXMLItem *e = item->Child(QStringLiteral("expr"))) {
        TfsCustomVariable *result = prog->FindLocal(QStringLiteral("Result"));
        if (!result)
            Error(fsResource(QStringLiteral("SLeftCantAssigned")));
        auto assign = NewStatement<TfsAssignmentStmt>(item, prog);
        assign->FVar = std::make_unique<TfsDesignator>(prog);
        assign->FVar->FHead = result;
        assign->FDirect = result;
        assign->FExpr = ProcessExpression(e, prog);
        At(e);
        CheckAssign(result->FTyp, result->FTypeName, result->GetFullTypeName(), *assign->FExpr, prog);
        block->Add(std::move(assign));
    }
    block->Add(NewStatement<TfsExitStmt>(item, prog));
    return block;
}

// delete x: the object is freed through Free when its class has one (or,
// for a Variant, when the object's class has one at run time); the variable
// or property is then cleared.
std::unique_ptr<TfsStatement> TfsILBuilder::ProcessDelete(TfsXMLItem *item, TfsScript *prog)
{
    TfsXMLItem *d = item->Child(QStringLiteral("dsgn"));
    if (!d)
        Error(fsResource(QStringLiteral("SInvalidLanguage")));
    auto s = NewStatement<TfsDeleteStmt>(item, prog);
    s->FTarget = ProcessDesignator(d, prog);
    At(item);
    TfsClassVariable *cls = s->FTarget->FTyp == fvtClass ? prog->FindClass(s->FTarget->FTypeName) : nullptr;
    if ((cls && cls->Find(QStringLiteral("Free"))) || s->FTarget->FTyp == fvtVariant) {
        TfsXMLItem call(QStringLiteral("dsgn"));
        call.Assign(*d);
        TfsXMLItem *free = call.Add(QStringLiteral("node"));
        free->SetProp(QStringLiteral("text"), QStringLiteral("Free"));
        free->SetProp(QStringLiteral("pos"), item->Prop(QStringLiteral("pos")));
        s->FFree = ProcessDesignator(&call, prog);
    } else if (s->FTarget->FTyp != fvtClass) {
        Error(fsResource(QStringLiteral("SClassRequired")));
    }
    if (!s->FTarget->IsAssignable() && !s->FFree)
        Error(fsResource(QStringLiteral("SVarRequired")));
    return s;
}

// new TClass(args): the class's constructor Create with the arguments.
std::unique_ptr<TfsDesignator> TfsILBuilder::ProcessNew(TfsXMLItem *item, TfsScript *prog)
{
    TfsXMLItem *d = item->Child(QStringLiteral("dsgn"));
    const int head = d ? d->Find(QStringLiteral("node")) : -1;
    if (head < 0)
        Error(fsResource(QStringLiteral("SInvalidLanguage")));
    At(d->Items(head));
    if (!prog->FindClass(d->Items(head)->Prop(QStringLiteral("text"))))
        Error(fsResource(QStringLiteral("SClassRequired")));
    TfsXMLItem call(QStringLiteral("dsgn"));
    call.Assign(*d);
    auto create = std::make_unique<TfsXMLItem>(QStringLiteral("node"));
    create->SetProp(QStringLiteral("text"), QStringLiteral("Create"));
    create->SetProp(QStringLiteral("pos"), d->Items(head)->Prop(QStringLiteral("pos")));
    call.Insert(head + 1, std::move(create));
    return ProcessDesignator(&call, prog);
}

// ---------------------------------------------------------------------------
// Expressions

namespace {

TfsVariant numberValue(const QString &text)
{
    bool ok = false;
    if (text.startsWith(QLatin1Char('$'))) {
        const quint64 v = text.mid(1).toULongLong(&ok, 16);
        if (ok)
            return TfsVariant::FromInteger(qint64(v));
        return TfsVariant(text.mid(1).toDouble());
    }
    if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')) && !text.contains(QLatin1Char('E'))) {
        const qint64 v = text.toLongLong(&ok);
        if (ok)
            return TfsVariant::FromInteger(v);
    }
    return TfsVariant(text.toDouble());
}

QString stringValue(const QString &text)
{
    if (text.size() >= 2 && text.startsWith(QLatin1Char('\'')) && text.endsWith(QLatin1Char('\'')))
        return text.mid(1, text.size() - 2);
    return text;
}

} // namespace

std::unique_ptr<TfsExpression> TfsILBuilder::ProcessExpression(TfsXMLItem *expr, TfsScript *prog)
{
    fsCheckStack();
    if (!expr)
        Error(fsResource(QStringLiteral("SInvalidLanguage")));
    At(expr);
    auto e = std::make_unique<TfsExpression>();
    TIsNode *pendingIs = nullptr;
    for (int i = 0; i < expr->Count(); ++i) {
        TfsXMLItem *c = expr->Items(i);
        At(c);
        const QString &n = c->Name();
        if (n == QLatin1String("op")) {
            const TfsOperatorType op = fsOperatorFromText(c->Prop(QStringLiteral("text")));
            if (op == opNone)
                Error(fsResource(QStringLiteral("SInvalidLanguage")));
            e->AddOperator(op);
            if (op == opIs)
                pendingIs = static_cast<TIsNode *>(e->CurrentNode());
        } else if (n == QLatin1String("number")) {
            e->AddOperand(new TfsOperandNode(numberValue(c->Prop(QStringLiteral("text")))));
        } else if (n == QLatin1String("string")) {
            e->AddOperand(new TfsOperandNode(TfsVariant(stringValue(c->Prop(QStringLiteral("text"))))));
        } else if (n == QLatin1String("dsgn")) {
            if (pendingIs) {
                // The right side of "is" names a class.
                TfsXMLItem *name = c->Child(QStringLiteral("node"));
                TfsClassVariable *cls = name ? prog->FindClass(name->Prop(QStringLiteral("text"))) : nullptr;
                if (!cls)
                    Error(fsResource(QStringLiteral("SClassRequired")));
                pendingIs->FClass = cls;
                e->AddOperand(new TfsOperandNode(TfsVariant::Null()));
                pendingIs = nullptr;
                continue;
            }
            e->AddOperand(new TfsDesignatorNode(ProcessDesignator(c, prog)));
        } else if (n == QLatin1String("set")) {
            e->AddOperand(ProcessSet(c, prog));
        } else if (n == QLatin1String("new")) {
            e->AddOperand(new TfsDesignatorNode(ProcessNew(c, prog)));
        } else if (n == QLatin1String("expr")) {
            auto sub = ProcessExpression(c, prog);
            e->AddOperand(sub->TakeTop());
        } else {
            Error(fsResource(QStringLiteral("SInvalidLanguage")));
        }
        if (n != QLatin1String("op"))
            pendingIs = nullptr;
    }
    At(expr);
    if (!e->Finish())
        Error(QStringLiteral("Expression expected"));
    if (e->Depth() > kMaxExpressionDepth)
        Error(QStringLiteral("Expression too complex"));
    return e;
}

TfsSetNode *TfsILBuilder::ProcessSet(TfsXMLItem *set, TfsScript *prog)
{
    auto node = std::make_unique<TfsSetNode>();
    bool range = false;
    for (int i = 0; i < set->Count(); ++i) {
        TfsXMLItem *c = set->Items(i);
        At(c);
        if (c->Name() == QLatin1String("range")) {
            range = true;
        } else if (c->Name() == QLatin1String("expr")) {
            auto e = ProcessExpression(c, prog);
            if (range && !node->FElements.empty() && !node->FElements.back().To)
                node->FElements.back().To = std::move(e);
            else
                node->FElements.push_back({std::move(e), nullptr});
            range = false;
        }
    }
    node->FTyp = fvtVariant;
    return node.release();
}

QString TfsILBuilder::SourceOf(TfsXMLItem *dsgn, const std::vector<TfsXMLItem *> &args, size_t index) const
{
    const TfsParser &p = SourceParser();
    const int start = p.GetPlainPosition(args[index]->Prop(QStringLiteral("pos")));
    int end = index + 1 < args.size() ? p.GetPlainPosition(args[index + 1]->Prop(QStringLiteral("pos")))
                                      : p.GetPlainPosition(dsgn->Prop(QStringLiteral("pos1")));
    if (start <= 0 || end <= start)
        return QString();
    QString text = p.Text().mid(start - 1, end - start).trimmed();
    // Drop the separator or the closing bracket that follows the argument.
    if (text.endsWith(QLatin1Char(',')) || (index + 1 == args.size() && text.endsWith(QLatin1Char(')'))))
        text.chop(1);
    return text.trimmed();
}

void TfsILBuilder::ProcessArgs(TfsDesignatorStep &step, TfsCustomVariable *item, TfsXMLItem *dsgn,
                               const std::vector<TfsXMLItem *> &args, TfsScript *prog, bool checkCount)
{
    if (checkCount) {
        if (int(args.size()) > item->ParamCount())
            Error(fsResource(QStringLiteral("STooManyParams")));
        if (int(args.size()) < item->GetNumberOfRequiredParams())
            Error(fsResource(QStringLiteral("SNotEnoughParams")));
    }
    if (item->FIsMacro) {
        step.FIsMacro = true;
        for (size_t i = 0; i < args.size(); ++i)
            step.FMacroArgs.push_back(SourceOf(dsgn, args, i));
        return;
    }
    step.FVarArgs.assign(args.size(), nullptr);
    bool anyVar = false;
    for (size_t i = 0; i < args.size(); ++i) {
        auto e = ProcessExpression(args[i], prog);
        if (int(i) < item->ParamCount()) {
            TfsParamItem *param = item->GetParam(int(i));
            if (param->FIsVarParam) {
                TfsDesignator *d = e->SingleDesignator();
                if (!d || !d->IsAssignable())
                    Error(fsResource(QStringLiteral("SVarRequired")));
                step.FVarArgs[i] = d;
                anyVar = true;
            } else if (param->FTyp != fvtVariant) {
                CheckAssign(param->FTyp, param->FTypeName, param->GetFullTypeName(), *e, prog);
            }
        }
        step.FArgs.push_back(std::move(e));
    }
    if (!anyVar)
        step.FVarArgs.clear();
}

std::unique_ptr<TfsDesignator> TfsILBuilder::ProcessDesignator(TfsXMLItem *dsgn, TfsScript *prog)
{
    fsCheckStack();
    At(dsgn);
    struct TSegment {
        QString Name; // empty for an index
        std::vector<TfsXMLItem *> Args;
        TfsXMLItem *At;
    };
    std::vector<TSegment> segments;
    bool addr = false;
    for (int i = 0; i < dsgn->Count(); ++i) {
        TfsXMLItem *c = dsgn->Items(i);
        if (c->Name() == QLatin1String("addr")) {
            addr = true;
        } else if (c->Name() == QLatin1String("node")) {
            const QString text = c->Prop(QStringLiteral("text"));
            segments.push_back({text == QLatin1String("[") ? QString() : text, {}, c});
        } else if (c->Name() == QLatin1String("expr")) {
            if (segments.empty())
                Error(fsResource(QStringLiteral("SInvalidLanguage")));
            segments.back().Args.push_back(c);
        }
    }
    if (segments.empty() || segments[0].Name.isEmpty())
        Error(fsResource(QStringLiteral("SInvalidLanguage")));

    auto d = std::make_unique<TfsDesignator>(prog);
    d->FAddr = addr;
    size_t first = 1;
    const TSegment &head = segments[0];
    At(head.At);
    TfsVarType typ = fvtVariant;
    QString typeName;
    TfsClassVariable *classRef = nullptr; // head names a class (constructors, class methods)

    // Members of with-objects come first.
    for (auto it = FWith.rbegin(); it != FWith.rend(); ++it) {
        if (TfsCustomVariable *member = it->Class->Find(head.Name)) {
            d->FHead = it->Var;
            TfsDesignatorStep step;
            step.FKind = TfsDesignatorStep::Member;
            step.FItem = member;
            ProcessArgs(step, member, dsgn, head.Args, prog, member->Kind() != TfsItemKind::Property || member->ParamCount() > 0);
            d->FSteps.push_back(std::move(step));
            typ = member->FTyp;
            typeName = member->FTypeName;
            break;
        }
    }
    const bool assignTarget = FAssignTarget, callTarget = FCallTarget;
    FAssignTarget = FCallTarget = false;
    if (!d->FHead) {
        // Only a variable comes into being by its use: a call of a name
        // nobody declared is an error.
        if (FDeclareVars && (!head.Args.empty() || (callTarget && segments.size() == 1)) && !prog->Find(head.Name))
            ErrorName("SIdUndeclared", head.Name);
        TfsCustomVariable *item = FindOrDeclare(prog, head.Name);
        // Assigning to the name of an enclosing function sets its result.
        if (assignTarget && segments.size() == 1 && head.Args.empty() && item->Kind() == TfsItemKind::Proc) {
            auto *proc = static_cast<TfsProcVariable *>(item);
            for (TfsScript *p = prog; p && proc->FRefItem; p = p->Parent())
                if (p == proc->Program()) {
                    item = proc->FRefItem;
                    break;
                }
        }
        d->FHead = item;
        switch (item->Kind()) {
        case TfsItemKind::Proc:
        case TfsItemKind::Method: {
            if (addr)
                break;
            TfsDesignatorStep step;
            step.FKind = TfsDesignatorStep::Call;
            step.FItem = item;
            ProcessArgs(step, item, dsgn, head.Args, prog, true);
            d->FSteps.push_back(std::move(step));
            typ = item->FTyp;
            typeName = item->FTypeName;
            if (item->Kind() == TfsItemKind::Proc && !static_cast<TfsProcVariable *>(item)->FIsFunc)
                typ = fvtVariant;
            break;
        }
        case TfsItemKind::Class:
            classRef = static_cast<TfsClassVariable *>(item);
            typ = fvtClass;
            typeName = item->FName;
            if (!head.Args.empty())
                Error(fsResource(QStringLiteral("STooManyParams")));
            break;
        case TfsItemKind::Type:
        case TfsItemKind::Helper:
            ErrorName("SIdUndeclared", head.Name);
        default:
            if (!head.Args.empty())
                Error(fsResource(QStringLiteral("STooManyParams")));
            typ = item->FTyp;
            typeName = item->FTypeName;
            break;
        }
    }

    for (size_t i = first; i < segments.size(); ++i) {
        const TSegment &seg = segments[i];
        At(seg.At);
        TfsDesignatorStep step;
        if (!seg.Name.isEmpty()) {
            if (typ == fvtString || typ == fvtChar)
                Error(fsResource(QStringLiteral("SStringError")));
            TfsClassVariable *cls = classRef ? classRef : (typ == fvtClass ? prog->FindClass(typeName) : nullptr);
            TfsCustomVariable *member = cls ? cls->Find(seg.Name) : nullptr;
            if (member) {
                step.FKind = TfsDesignatorStep::Member;
                step.FItem = member;
                const bool callable = member->Kind() == TfsItemKind::Method || member->ParamCount() > 0;
                if (!callable && !seg.Args.empty())
                    Error(fsResource(QStringLiteral("STooManyParams")));
                // An indexed property takes the brackets that follow it as its
                // arguments: L.Strings[0] is L.Strings(0), not an index into a result.
                const std::vector<TfsXMLItem *> *args = &seg.Args;
                if (member->Kind() == TfsItemKind::Property && member->ParamCount() > 0 && seg.Args.empty() &&
                    i + 1 < segments.size() && segments[i + 1].Name.isEmpty())
                    args = &segments[++i].Args;
                ProcessArgs(step, member, dsgn, *args, prog, callable);
                typ = member->FTyp;
                typeName = member->FTypeName;
                if (member->Kind() == TfsItemKind::Method && static_cast<TfsMethodHelper *>(member)->FIsConstructor) {
                    typ = fvtClass;
                    typeName = cls->FName;
                }
            } else if (cls && !FScript->FUseClassLateBinding) {
                ErrorName("SIdUndeclared", seg.Name);
            } else if (typ == fvtClass || typ == fvtVariant || cls) {
                // Resolved on the object's class at run time.
                step.FKind = TfsDesignatorStep::LateMember;
                step.FName = seg.Name;
                for (TfsXMLItem *a : seg.Args)
                    step.FArgs.push_back(ProcessExpression(a, prog));
                typ = fvtVariant;
                typeName.clear();
            } else {
                Error(fsResource(QStringLiteral("SClassRequired")));
            }
            classRef = nullptr;
        } else {
            if (seg.Args.empty())
                Error(fsResource(QStringLiteral("SIndexRequired")));
            step.FKind = TfsDesignatorStep::Index;
            if (typ == fvtArray || typ == fvtVariant) {
                typ = fvtVariant;
            } else if (typ == fvtString || typ == fvtChar) {
                typ = fvtChar;
            } else if (typ == fvtClass) {
                TfsClassVariable *cls = prog->FindClass(typeName);
                if (cls) {
                    TfsPropertyHelper *prop = cls->DefaultProperty();
                    if (!prop)
                        Error(fsResource(QStringLiteral("SClassError")).replace(QLatin1String("%s"), cls->FName));
                    step.FItem = prop;
                    ProcessArgs(step, prop, dsgn, seg.Args, prog, true);
                    d->FSteps.push_back(std::move(step));
                    typ = prop->FTyp;
                    typeName = prop->FTypeName;
                    continue;
                }
                typ = fvtVariant;
            } else {
                Error(fsResource(QStringLiteral("SArrayRequired")));
            }
            for (TfsXMLItem *a : seg.Args)
                step.FArgs.push_back(ProcessExpression(a, prog));
            typeName.clear();
        }
        d->FSteps.push_back(std::move(step));
    }
    d->FTyp = typ;
    d->FTypeName = typeName;
    if (classRef && d->FSteps.empty())
        d->FTyp = fvtClass;
    return d;
}
