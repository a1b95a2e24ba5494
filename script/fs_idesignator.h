#pragma once
// Designators: a name followed by member accesses, indexes and argument
// lists ("Memo1.Lines[0]", "Copy(s, 1, 2)"), read as a value or assigned to.

#include "script/fs_itypes.h"
#include "script/fs_ivariant.h"

#include <QString>
#include <memory>
#include <vector>

class TfsScript;
class TfsExpression;
class TfsCustomVariable;
class TfsClassVariable;
class TfsProcVariable;
class TfsDesignator;

// One step after the head of a designator.
struct TfsDesignatorStep {
    enum TKind {
        Call,        // call of FItem (the head procedure or method) with FArgs
        Member,      // member FItem of the previous value's class, with FArgs
        LateMember,  // member FName looked up on the previous value's class at run time
        Index        // FArgs index the previous value (array, string, default property)
    };
    TKind FKind = Call;
    TfsCustomVariable *FItem = nullptr;
    QString FName;
    std::vector<std::unique_ptr<TfsExpression>> FArgs;
    std::vector<TfsDesignator *> FVarArgs;  // designators of var parameters (null otherwise)
    std::vector<QString> FMacroArgs;        // source texts for macro functions
    bool FIsMacro = false;
    TfsDesignatorStep();
    ~TfsDesignatorStep();
    TfsDesignatorStep(TfsDesignatorStep &&) noexcept;
    TfsDesignatorStep &operator=(TfsDesignatorStep &&) noexcept;
};

// A designator; see the file comment.
class TfsDesignator {
public:
    explicit TfsDesignator(TfsScript *program) : FProgram(program) {}
    ~TfsDesignator();

    TfsVariant Value();
    void Assign(const TfsVariant &value);
    // A call of a script procedure (the step's arguments, var parameters written back).
    TfsVariant CallProc(TfsDesignatorStep &step, TfsProcVariable *proc);
    // Whether Assign is possible (a variable, a writable property, an element).
    bool IsAssignable() const;
    // The head item when the designator is that item alone.
    TfsCustomVariable *PlainItem() const { return FSteps.empty() ? FHead : nullptr; }

    TfsScript *FProgram;
    TfsCustomVariable *FHead = nullptr;
    std::vector<TfsDesignatorStep> FSteps;
    bool FAddr = false;
    TfsVarType FTyp = fvtVariant;  // static type of the result
    QString FTypeName;

private:
    TfsVariant ValueUpTo(int step);
    void AssignAt(int step, const TfsVariant &value);
    TfsVariant Invoke(TfsDesignatorStep &step, TfsCustomVariable *item, QObject *instance,
                      const TfsVariant *assignValue = nullptr);
    TfsVariant IndexValue(TfsDesignatorStep &step, const TfsVariant &container);
    TfsCustomVariable *LateMember(TfsDesignatorStep &step, QObject *instance);

};
