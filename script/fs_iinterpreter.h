#pragma once
// The script object: symbol table, main block, compile and run.
//
// A TfsScript owns named items (variables, constants, procedures, host
// objects, classes, types) and the statements of its main block. Compile
// turns the source text into both through the language front end; Execute
// runs the main block; CallFunction runs one procedure with arguments.
// Names not found here are looked up in the parent chain.

#include "script/fs_iconst.h"
#include "script/fs_iexpression.h"
#include "script/fs_igrammar.h"
#include "script/fs_iitems.h"
#include "script/fs_istatements.h"
#include "script/fs_ivariant.h"

#include <QHash>
#include <QMetaEnum>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class QObject;

// A script: see the file comment.
class TfsScript {
public:
    explicit TfsScript(TfsScript *parent = nullptr);
    ~TfsScript();
    TfsScript(const TfsScript &) = delete;
    TfsScript &operator=(const TfsScript &) = delete;

    // Registration. Items are stamped with AddedBy() while it is set.
    TfsCustomVariable *Add(std::unique_ptr<TfsCustomVariable> item);
    // A host object as a variable of its class type holding the reference.
    TfsVariable *AddObject(const QString &name, QObject *object);
    // A variable unless the name is already known here or in a parent (then that item).
    TfsCustomVariable *AddVariable(const QString &name, const QString &typeName, const TfsVariant &value);
    TfsCustomVariable *AddConst(const QString &name, const QString &typeName, const TfsVariant &value);
    // A host function from its declaration text ("function Get(Name: String): Variant").
    TfsMethodHelper *AddMethod(const QString &syntax, TfsCallMethodEvent callEvent,
                               const QString &category = QString(), const QString &description = QString());
    // A host class; ancestor names a registered class (or is empty). With a
    // meta-object, the class's Qt properties become its published properties
    // and the identifiers of their enumerations are registered as constants.
    TfsClassVariable *AddClass(const QString &className, const QString &ancestor,
                               const QMetaObject *meta = nullptr);
    // The class of a meta-object, found by its class name up the parent chain
    // or else registered on demand, with its parent classes, in the root
    // script as a built-in item (QObject is "TObject").
    TfsClassVariable *ClassOfMeta(const QMetaObject *meta);
    // The enumeration type named like the enumerator and its identifiers as
    // constants of their real values; names already known are left alone.
    void AddEnumerator(const QMetaEnum &enumerator);
    TfsTypeVariable *AddType(const QString &typeName, TfsVarType typ);
    // An enumeration type and its constants 0, 1, 2, ... from "a, b, c".
    void AddEnum(const QString &typeName, const QString &names);
    // A set type and its constants 1, 2, 4, ... from "a, b, c".
    void AddEnumSet(const QString &typeName, const QString &names);
    // Registers every module of the global module list once for this script.
    void AddRTTI();

    // Objects made by script constructors. An owned object is freed by the
    // script's Free or, at the latest, with this script; one given to an owner
    // (a report object placed in the tree) is only freed by Free.
    void AdoptObject(QObject *object, bool owned);
    // Frees an object a script constructor made; false for any other object.
    bool FreeObject(QObject *object);
    // Whether the object was adopted (and is still alive).
    bool IsAdopted(QObject *object) const;

    // Lookup: this script's items only / then the parent chain / classes.
    TfsCustomVariable *FindLocal(const QString &name) const;
    TfsCustomVariable *Find(const QString &name) const;
    TfsClassVariable *FindClass(const QString &name) const;
    // The registered class of an object (its own class or the nearest ancestor).
    TfsClassVariable *FindClassOf(const QObject *object) const;
    int Count() const { return int(FItemList.size()); }
    TfsCustomVariable *Items(int index) const { return FItemList[size_t(index)].get(); }

    // Frees all items except RTTI ones (owner tag 1), the main block, unit lines and errors.
    void Clear();
    // Frees the items stamped with owner and clears the main block.
    void ClearItems(const void *owner);
    // Frees the items stamped with owner.
    void RemoveItems(const void *owner);
    // Frees one item (compiled code must no longer refer to it).
    void Remove(TfsCustomVariable *item);

    // Compiles the source; True when no error message was set.
    bool Compile();
    // Runs the main block.
    void Execute();
    // Compile, then Execute when it compiled.
    bool Run();
    // Runs a procedure with arguments; Null when there is none of that name.
    TfsVariant CallFunction(const QString &name, const std::vector<TfsVariant> &params, bool global = false);
    // As CallFunction, then copies the parameters back into params (var parameters).
    TfsVariant CallFunction1(const QString &name, std::vector<TfsVariant> &params, bool global = false);
    // Runs the given procedure item with arguments.
    TfsVariant CallFunction2(TfsProcVariable *func, const std::vector<TfsVariant> &params);
    // Value of an expression compiled in a throw-away script of this language;
    // on a compile error, the error message (and EvaluteRiseError set).
    TfsVariant Evaluate(const QString &expression);
    // Reads a variable (Null when unknown) / writes it, adding a Variant one when unknown.
    TfsVariant GetVariables(const QString &name) const;
    void SetVariables(const QString &name, const TfsVariant &value);
    // Stops this script and all its procedures before their next statement.
    void Terminate();

    // Lines that hold statements, per unit ("" is the main text).
    void AddCodeLine(const QString &unitName, const QString &pos);
    bool IsExecutableLine(int line, const QString &unitName = QString()) const;

    void SetLines(const QString &text) { FLines = text; }
    const QString &Lines() const { return FLines; }
    const QString &SyntaxType() const { return FSyntaxType; }
    void SetSyntaxType(const QString &name) { FSyntaxType = name; }
    TfsScript *Parent() const { return FParent; }
    void SetParent(TfsScript *parent) { FParent = parent; }
    const QString &ErrorMsg() const { return FErrorMsg; }
    const QString &ErrorPos() const { return FErrorPos; }
    const QString &ErrorUnit() const { return FErrorUnit; }
    void SetError(const QString &msg, const QString &pos, const QString &unit);
    TfsStatement *Statement() const { return FStatement.get(); }
    const void *AddedBy() const { return FAddedBy; }
    void SetAddedBy(const void *owner) { FAddedBy = owner; }
    bool ExtendedCharset() const { return FExtendedCharset; }
    void SetExtendedCharset(bool on) { FExtendedCharset = on; }
    QStringList &IncludePath() { return FIncludePath; }
    QStringList &Macros() { return FMacros; }
    bool IsRunning() const { return FIsRunning; }
    bool Terminated() const { return FTerminated; }
    bool EvaluteRiseError() const { return FEvaluteRiseError; }
    // The nearest line hook of this script or its parents (inline: every
    // block a script runs asks).
    const std::function<void(TfsScript *, const QString &, const QString &)> *RunLineHook() const
    {
        for (const TfsScript *s = this; s; s = s->FParent)
            if (s->OnRunLine)
                return &s->OnRunLine;
        return nullptr;
    }

    // Host callbacks.
    std::function<bool(TfsScript *, const QString &unitName, QString &source)> OnGetUnit;
    std::function<void(TfsScript *, const QString &unitName, const QString &sourcePos)> OnRunLine;
    std::function<TfsVariant(const QString &name, TfsVarType typ, const TfsVariant &value)> OnGetVarValue;
    // Run now and then while this script or a script below it runs (see
    // fsPoll; the nearest hook up the parent chain): the host lets its
    // windows work and may stop the run by raising EfsStopped.
    std::function<void()> OnPoll;

    // Run state, shared with statements and procedures.
    bool FMainProg = true;
    TfsScript *FProgRunning = nullptr;
    bool FIsRunning = false;
    std::atomic<bool> FTerminated{false};
    bool FExitCalled = false, FBreakCalled = false, FContinueCalled = false;
    bool FUseClassLateBinding = false;
    bool FEvaluteRiseError = false;

    // The owner tag of built-in (RTTI) items.
    static const void *RTTITag() { return reinterpret_cast<const void *>(quintptr(1)); }

private:
    std::vector<std::unique_ptr<TfsCustomVariable>> FItemList;
    QHash<QString, TfsCustomVariable *> FItems; // upper-case name -> latest item of that name
    std::vector<std::unique_ptr<TfsRTTIModule>> FRTTIModules;
    std::unique_ptr<TfsStatement> FStatement;
    QString FLines;
    QString FSyntaxType = QStringLiteral("PascalScript");
    TfsScript *FParent;
    QString FErrorMsg, FErrorPos, FErrorUnit;
    const void *FAddedBy = nullptr;
    bool FRTTIAdded = false;
    bool FExtendedCharset = false;
    QStringList FMacros;
    QStringList FIncludePath{QString()};
    QHash<QString, QSet<int>> FUnitLines;
    struct TAdopted {
        QPointer<QObject> Object;
        bool Owned;
    };
    QHash<QObject *, TAdopted> FAdopted;

    void RemoveWhere(const std::function<bool(const TfsCustomVariable &)> &pred);
    void Reindex(const QString &upperName);
    TfsVariant CallProc(TfsProcVariable *proc, std::vector<TfsVariant> &params, bool copyBack);
};

// Running scripts are polled at loop back-edges and script calls, so that a
// script that never ends can still be stopped. A poll is one counter step;
// every fsPollInterval-th poll checks the time limit (raising EfsStopped
// once it has passed) and runs the nearest OnPoll hook of Prog's chain.
constexpr int fsPollInterval = 4096;
extern thread_local constinit int fsPollCountdown;
void fsPollSlow(TfsScript *Prog);
inline void fsPoll(TfsScript *Prog)
{
    if (--fsPollCountdown <= 0)
        fsPollSlow(Prog);
}
// Limits the time of the scripts this thread runs from now on: once
// Milliseconds have passed, a running script stops with EfsStopped. Zero or
// less: no limit.
void fsSetTimeLimit(qint64 Milliseconds);
