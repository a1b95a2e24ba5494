#pragma once
// Statements of a script: a block is a list of child statements; each kind
// adds its fields and run rule.

#include "script/fs_ivariant.h"

#include <QString>
#include <memory>
#include <vector>

class TfsScript;
class TfsExpression;
class TfsDesignator;
class TfsCustomVariable;
class TfsSetNode;

// A block: runs its children in order, stopping when the program is
// terminated or a child set the break, continue or exit flag.
class TfsStatement {
public:
    explicit TfsStatement(TfsScript *program) : FProgram(program) {}
    virtual ~TfsStatement();
    virtual void Execute();
    void Add(std::unique_ptr<TfsStatement> statement) { FItems.push_back(std::move(statement)); }
    int Count() const { return int(FItems.size()); }
    TfsStatement *Items(int index) const { return FItems[size_t(index)].get(); }

    TfsScript *FProgram;        // the script whose run flags this statement obeys
    QString FSourcePos, FUnit;  // "line:column" and unit of the statement
    std::vector<std::unique_ptr<TfsStatement>> FItems;

protected:
    void RunChildren();
};

// FVar := FExpr.
class TfsAssignmentStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsAssignmentStmt() override;
    void Execute() override;
    std::unique_ptr<TfsDesignator> FVar;
    std::unique_ptr<TfsExpression> FExpr;
    TfsCustomVariable *FDirect = nullptr; // a plain variable target, written without the designator
};

// FVar := FVar op FExpr (the C-like compound assignments).
class TfsAssignPlusStmt : public TfsAssignmentStmt {
public:
    using TfsAssignmentStmt::TfsAssignmentStmt;
    void Execute() override;
};
class TfsAssignMinusStmt : public TfsAssignmentStmt {
public:
    using TfsAssignmentStmt::TfsAssignmentStmt;
    void Execute() override;
};
class TfsAssignMulStmt : public TfsAssignmentStmt {
public:
    using TfsAssignmentStmt::TfsAssignmentStmt;
    void Execute() override;
};
class TfsAssignDivStmt : public TfsAssignmentStmt {
public:
    using TfsAssignmentStmt::TfsAssignmentStmt;
    void Execute() override;
};

// Calls a designator discarding the result; "+"/"-" modificators add or subtract 1.
class TfsCallStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsCallStmt() override;
    void Execute() override;
    std::unique_ptr<TfsDesignator> FDesignator;
    QString FModificator;
};

// Children when the condition is True, else FElseStmt.
class TfsIfStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsIfStmt() override;
    void Execute() override;
    std::unique_ptr<TfsExpression> FCondition;
    std::unique_ptr<TfsStatement> FElseStmt;
};

// One selector of a case statement: its set and its statement (the children).
class TfsCaseSelector : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsCaseSelector() override;
    std::unique_ptr<TfsSetNode> FSetExpression;
};

// Runs the first selector whose set holds the value, else FElseStmt. With
// FFallThrough (the C-like switch) the selectors after the matching one and
// the else block run too, until a break, which ends the switch only.
class TfsCaseStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsCaseStmt() override;
    void Execute() override;
    std::unique_ptr<TfsExpression> FCondition;
    std::unique_ptr<TfsStatement> FElseStmt;
    bool FFallThrough = false;
};

// Body, then condition, until the condition is True (False when inverse).
class TfsRepeatStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsRepeatStmt() override;
    void Execute() override;
    std::unique_ptr<TfsExpression> FCondition;
    bool FInverseCondition = false;
};

// Body while the condition is True.
class TfsWhileStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsWhileStmt() override;
    void Execute() override;
    std::unique_ptr<TfsExpression> FCondition;
};

// The Pascal counting loop (to / downto), bounds evaluated once as integers.
class TfsForStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsForStmt() override;
    void Execute() override;
    TfsCustomVariable *FVariable = nullptr;
    std::unique_ptr<TfsExpression> FBeginValue, FEndValue;
    bool FDown = false;
};

// The Basic counting loop with an optional step.
class TfsVbForStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsVbForStmt() override;
    void Execute() override;
    TfsCustomVariable *FVariable = nullptr;
    std::unique_ptr<TfsExpression> FBeginValue, FEndValue, FStep;
};

// The C loop: initialisation, test, body, increment.
class TfsCppForStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsCppForStmt() override;
    void Execute() override;
    std::unique_ptr<TfsStatement> FFirstStmt, FSecondStmt;
    std::unique_ptr<TfsExpression> FExpression;
};

// try/except (FIsExcept) or try/finally.
class TfsTryStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    void Execute() override;
    std::unique_ptr<TfsStatement> FExceptStmt;
    bool FIsExcept = false;
};

// delete: an object held by FTarget is freed through FFree (its class's Free
// method, bound at run time when the target's class is not known), then the
// target is cleared.
class TfsDeleteStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsDeleteStmt() override;
    void Execute() override;
    std::unique_ptr<TfsDesignator> FTarget, FFree;
};

// Set the program's break / continue / exit flag.
class TfsBreakStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    void Execute() override;
};
class TfsContinueStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    void Execute() override;
};
class TfsExitStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    void Execute() override;
};

// A with-block: the object is evaluated once into FVariable, which the
// members named inside the block are reached through.
class TfsWithStmt : public TfsStatement {
public:
    using TfsStatement::TfsStatement;
    ~TfsWithStmt() override;
    void Execute() override;
    std::unique_ptr<TfsDesignator> FDesignator;
    TfsCustomVariable *FVariable = nullptr;
};
