#pragma once
// Expression trees: operand and operator nodes built from the intermediate
// document by operator priority, evaluated with the variant rules.

#include "script/fs_itypes.h"
#include "script/fs_ivariant.h"

#include <memory>
#include <vector>

class TfsDesignator;
class TfsClassVariable;
class TfsCustomVariable;
class TfsVariable;
class TfsProcVariable;

// Operators of expression trees.
enum TfsOperatorType {
    opNone, opGreat, opLess, opLessEq, opGreatEq, opNonEq, opEq, opPlus, opMinus, opOr, opXor,
    opMul, opDivFloat, opDivInt, opMod, opAnd, opShl, opShr, opLeftBracket, opRightBracket,
    opNot, opUnMinus, opIn, opIs, opStrCat
};

// A node of an expression tree; owns its children.
class TfsExpressionNode {
public:
    virtual ~TfsExpressionNode();
    virtual TfsVariant Value() = 0;
    // Binding priority: operands 0, lower binds tighter.
    virtual int Priority() const { return 0; }
    // Unary operators and brackets take their operand in the left slot only.
    virtual bool IsUnary() const { return false; }

    TfsExpressionNode *FLeft = nullptr, *FRight = nullptr, *FParent = nullptr;
    // What the node is, for operators that read constants and plain
    // variables in place instead of through a virtual call.
    enum class TShape : quint8 { Other, Constant, Variable };
    TShape FShape = TShape::Other;
    TfsVarType FTyp = fvtVariant;   // static type, fvtVariant when unknown
    QString FTypeName;
};

// A constant.
class TfsOperandNode : public TfsExpressionNode {
public:
    explicit TfsOperandNode(const TfsVariant &value);
    TfsVariant Value() override { return FValue; }
    TfsVariant FValue;
};

// A designator (variable, call, member, element) used as a value.
class TfsDesignatorNode : public TfsExpressionNode {
public:
    explicit TfsDesignatorNode(std::unique_ptr<TfsDesignator> designator);
    ~TfsDesignatorNode() override;
    TfsVariant Value() override;
    std::unique_ptr<TfsDesignator> FDesignator;
    TfsCustomVariable *FPlain = nullptr;  // the designator is this item alone
    TfsVariable *FVariable = nullptr;     // ... and that item is a variable or parameter
    TfsProcVariable *FCall = nullptr;     // the designator is a call of this script procedure alone
};

// A set constructor: single values and ranges.
class TfsSetNode : public TfsExpressionNode {
public:
    TfsVariant Value() override;
    // Whether value equals an element or lies in a range of the set.
    bool Contains(const TfsVariant &value);
    struct TElement {
        std::unique_ptr<class TfsExpression> From, To; // To null for a single value
    };
    std::vector<TElement> FElements;
};

// Base of operator nodes.
class TfsOperatorNode : public TfsExpressionNode {
public:
    explicit TfsOperatorNode(TfsOperatorType op) : FOp(op) {}
    int Priority() const override;
    TfsOperatorType FOp;
};

#define FS_BINARY_NODE(Name, Op)                                          \
    class Name : public TfsOperatorNode {                                 \
    public:                                                               \
        Name() : TfsOperatorNode(Op) {}                                   \
        TfsVariant Value() override;                                      \
    };

// The root of a tree while it is built.
class TNoneNode : public TfsOperatorNode {
public:
    TNoneNode() : TfsOperatorNode(opNone) {}
    TfsVariant Value() override;
};
FS_BINARY_NODE(TGreatNode, opGreat)
FS_BINARY_NODE(TLessNode, opLess)
FS_BINARY_NODE(TLessEqNode, opLessEq)
FS_BINARY_NODE(TGreatEqNode, opGreatEq)
FS_BINARY_NODE(TNonEqNode, opNonEq)
FS_BINARY_NODE(TEqNode, opEq)
FS_BINARY_NODE(TPlusNode, opPlus)
FS_BINARY_NODE(TStrCatNode, opStrCat)
FS_BINARY_NODE(TMinusNode, opMinus)
FS_BINARY_NODE(TOrNode, opOr)
FS_BINARY_NODE(TXorNode, opXor)
FS_BINARY_NODE(TMulNode, opMul)
FS_BINARY_NODE(TDivFloatNode, opDivFloat)
FS_BINARY_NODE(TDivIntNode, opDivInt)
FS_BINARY_NODE(TModNode, opMod)
FS_BINARY_NODE(TAndNode, opAnd)
FS_BINARY_NODE(TShlNode, opShl)
FS_BINARY_NODE(TShrNode, opShr)
FS_BINARY_NODE(TInNode, opIn)
#undef FS_BINARY_NODE

// "is": the left object is an instance of the class named on the right.
class TIsNode : public TfsOperatorNode {
public:
    TIsNode() : TfsOperatorNode(opIs) {}
    TfsVariant Value() override;
    TfsClassVariable *FClass = nullptr; // resolved from the right operand when built
};

// Prefix operators and brackets hold their operand in FLeft.
class TNotNode : public TfsOperatorNode {
public:
    TNotNode() : TfsOperatorNode(opNot) {}
    bool IsUnary() const override { return true; }
    TfsVariant Value() override;
};
class TUnMinusNode : public TfsOperatorNode {
public:
    TUnMinusNode() : TfsOperatorNode(opUnMinus) {}
    bool IsUnary() const override { return true; }
    TfsVariant Value() override;
};
class TLeftBracketNode : public TfsOperatorNode {
public:
    TLeftBracketNode() : TfsOperatorNode(opLeftBracket) {}
    bool IsUnary() const override { return true; }
    TfsVariant Value() override;
};

// An expression: a tree built with AddOperand/AddOperator, then evaluated.
class TfsExpression {
public:
    TfsExpression();
    ~TfsExpression();
    TfsExpression(const TfsExpression &) = delete;
    TfsExpression &operator=(const TfsExpression &) = delete;

    // Appends an operand under the current node (prefix operators are added
    // like operands and become the current node).
    void AddOperand(TfsExpressionNode *node);
    // Inserts a binary operator by priority; "(" opens and ")" closes a sub-tree.
    void AddOperator(TfsOperatorType op);
    // Ends building: checks the tree is complete and infers static types;
    // returns False when the operators and operands do not form a tree.
    bool Finish();

    TfsVariant Value() { return FTop->Value(); }
    TfsVarType Typ() const { return FTop ? FTop->FTyp : fvtVariant; }
    QString TypeName() const { return FTop ? FTop->FTypeName : QString(); }
    // The designator when the expression is exactly one designator, else null.
    TfsDesignator *SingleDesignator() const;
    // The constant when the expression is exactly one constant, else null.
    const TfsVariant *SingleConstant() const;
    // Depth of the tree (bounded when built so evaluation cannot exhaust the stack).
    int Depth() const;

    // The node operands are being added under (the operator just inserted).
    TfsExpressionNode *CurrentNode() const { return FCurNode; }
    // Hands the finished tree over (the expression is empty afterwards).
    TfsExpressionNode *TakeTop();

    // Creates the node of an operator.
    static TfsOperatorNode *CreateOperator(TfsOperatorType op);

private:
    TNoneNode *FRoot;
    TfsExpressionNode *FCurNode;
    TfsExpressionNode *FTop = nullptr; // the root's only child once finished
};

// The operator of a source symbol ("+", "div", "<>", "unminus", ...); opNone when unknown.
TfsOperatorType fsOperatorFromText(const QString &text);
