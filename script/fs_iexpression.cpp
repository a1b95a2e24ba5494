// Expression trees: building by priority and evaluation.

#include "script/fs_iexpression.h"

#include "script/fs_iconst.h"
#include "script/fs_idesignator.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_iitems.h"

#include <QObject>

#include <limits>

namespace {

// A plain variable's value as TfsVariable::GetValue gives it, read without a
// call unless the script's host answers for its variables.
TfsVariant variableValue(TfsVariable *Variable)
{
    const TfsScript *script = Variable->FScript;
    if (!script || !script->OnGetVarValue)
        return Variable->FValue;
    return Variable->GetValue();
}

// An operator's operand. Constants and plain variables, the most common
// operands, are read in place rather than through a virtual call.
TfsVariant operand(TfsExpressionNode *Node)
{
    switch (Node->FShape) {
    case TfsExpressionNode::TShape::Constant: return static_cast<TfsOperandNode *>(Node)->FValue;
    case TfsExpressionNode::TShape::Variable: return variableValue(static_cast<TfsDesignatorNode *>(Node)->FVariable);
    case TfsExpressionNode::TShape::Other: break;
    }
    return Node->Value();
}

} // namespace

TfsExpressionNode::~TfsExpressionNode()
{
    delete FLeft;
    delete FRight;
}

TfsOperandNode::TfsOperandNode(const TfsVariant &value) : FValue(value)
{
    FShape = TShape::Constant;
    switch (value.Kind()) {
    case TfsVarKind::Int: FTyp = fvtInt; break;
    case TfsVarKind::Int64: FTyp = fvtInt64; break;
    case TfsVarKind::Bool: FTyp = fvtBool; break;
    case TfsVarKind::Double: FTyp = fvtFloat; break;
    case TfsVarKind::String: FTyp = value.AsString().size() == 1 ? fvtChar : fvtString; break;
    default: FTyp = fvtVariant; break;
    }
}

TfsDesignatorNode::TfsDesignatorNode(std::unique_ptr<TfsDesignator> designator)
    : FDesignator(std::move(designator))
{
    FTyp = FDesignator->FTyp;
    FTypeName = FDesignator->FTypeName;
    if (FDesignator->FAddr)
        return;
    FPlain = FDesignator->PlainItem();
    if (FPlain && (FPlain->Kind() == TfsItemKind::Variable || FPlain->Kind() == TfsItemKind::Param))
        FVariable = static_cast<TfsVariable *>(FPlain);
    if (FVariable)
        FShape = TShape::Variable;
    const auto &steps = FDesignator->FSteps;
    if (steps.size() == 1 && steps[0].FKind == TfsDesignatorStep::Call && steps[0].FItem->Kind() == TfsItemKind::Proc)
        FCall = static_cast<TfsProcVariable *>(steps[0].FItem);
}

TfsDesignatorNode::~TfsDesignatorNode() = default;

TfsVariant TfsDesignatorNode::Value()
{
    if (FVariable)
        return variableValue(FVariable);
    if (FCall)
        return FDesignator->CallProc(FDesignator->FSteps[0], FCall);
    if (FPlain)
        return FPlain->GetValue();
    return FDesignator->Value();
}

TfsVariant TfsSetNode::Value()
{
    // A set used as a value is the array of its single values and range ends.
    std::vector<TfsVariant> values;
    for (auto &e : FElements) {
        values.push_back(e.From->Value());
        if (e.To)
            values.push_back(e.To->Value());
    }
    TfsVariant a = TfsVariant::CreateArray({{0, int(values.size()) - 1}});
    for (size_t i = 0; i < values.size(); ++i)
        a.SetElement({int(i)}, values[i]);
    return a;
}

bool TfsSetNode::Contains(const TfsVariant &value)
{
    for (auto &e : FElements) {
        const TfsVariant from = e.From->Value();
        if (!e.To) {
            if (fsVarEquals(value, from))
                return true;
            continue;
        }
        const TfsVariant to = e.To->Value();
        const TfsVarCompare lo = fsVarCompare(value, from), hi = fsVarCompare(value, to);
        if (lo != TfsVarCompare::Less && lo != TfsVarCompare::Unordered && hi != TfsVarCompare::Greater &&
            hi != TfsVarCompare::Unordered)
            return true;
    }
    return false;
}

int TfsOperatorNode::Priority() const
{
    switch (FOp) {
    case opNone: return 7;
    case opGreat:
    case opLess:
    case opLessEq:
    case opGreatEq:
    case opNonEq:
    case opEq:
    case opIn:
    case opIs: return 4;
    case opPlus:
    case opStrCat:
    case opMinus:
    case opOr:
    case opXor: return 3;
    case opMul:
    case opDivFloat:
    case opDivInt:
    case opMod:
    case opAnd:
    case opShl:
    case opShr: return 2;
    case opLeftBracket: return 6;
    case opRightBracket: return 5;
    case opNot:
    case opUnMinus: return 1;
    }
    return 7;
}

namespace {

// Integers are what loops count and recursive functions pass: the nodes
// below work them out without a call. Every other kind, and an overflow,
// goes to the full rules (fsVarAdd, fsVarCompare, ...), which give integers
// exactly these results: Integer while both are Integers and the result
// fits, else Int64.
qint64 integerOf(const TfsVariant &v)
{
    return v.Kind() == TfsVarKind::Int ? v.AsInt() : v.AsInt64();
}

TfsVariant integerResult(const TfsVariant &a, const TfsVariant &b, qint64 r)
{
    if (a.Kind() == TfsVarKind::Int && b.Kind() == TfsVarKind::Int && r >= std::numeric_limits<int>::min() &&
        r <= std::numeric_limits<int>::max())
        return TfsVariant(int(r));
    return TfsVariant(r);
}

// Two Integers: the sum, difference or product of two 32-bit values always
// fits in 64 bits, so no overflow check is needed; the result is an Integer
// when it fits one, else Int64, as integerResult gives.
bool bothInt(const TfsVariant &a, const TfsVariant &b)
{
    return a.Kind() == TfsVarKind::Int && b.Kind() == TfsVarKind::Int;
}

TfsVariant intResult(qint64 r)
{
    if (r >= std::numeric_limits<int>::min() && r <= std::numeric_limits<int>::max())
        return TfsVariant(int(r));
    return TfsVariant(r);
}

// The order of a and b, computed here for two integers.
TfsVarCompare compareValues(const TfsVariant &a, const TfsVariant &b)
{
    if (a.IsOrdinal() && b.IsOrdinal()) {
        const qint64 x = integerOf(a), y = integerOf(b);
        return x < y ? TfsVarCompare::Less : x > y ? TfsVarCompare::Greater : TfsVarCompare::Equal;
    }
    return fsVarCompare(a, b);
}

} // namespace

TfsVariant TNoneNode::Value() { return FLeft ? operand(FLeft) : TfsVariant::Null(); }
TfsVariant TLeftBracketNode::Value() { return operand(FLeft); }

TfsVariant TGreatNode::Value()
{
    const TfsVariant a = operand(FLeft);
    const TfsVariant b = operand(FRight);
    if (bothInt(a, b))
        return TfsVariant(a.AsInt() > b.AsInt());
    return TfsVariant(compareValues(a, b) == TfsVarCompare::Greater);
}
TfsVariant TLessNode::Value()
{
    const TfsVariant a = operand(FLeft);
    const TfsVariant b = operand(FRight);
    if (bothInt(a, b))
        return TfsVariant(a.AsInt() < b.AsInt());
    return TfsVariant(compareValues(a, b) == TfsVarCompare::Less);
}
TfsVariant TLessEqNode::Value()
{
    const TfsVariant a = operand(FLeft);
    const TfsVariant b = operand(FRight);
    if (bothInt(a, b))
        return TfsVariant(a.AsInt() <= b.AsInt());
    const TfsVarCompare c = compareValues(a, b);
    return TfsVariant(c == TfsVarCompare::Less || c == TfsVarCompare::Equal);
}
TfsVariant TGreatEqNode::Value()
{
    const TfsVariant a = operand(FLeft);
    const TfsVariant b = operand(FRight);
    if (bothInt(a, b))
        return TfsVariant(a.AsInt() >= b.AsInt());
    const TfsVarCompare c = compareValues(a, b);
    return TfsVariant(c == TfsVarCompare::Greater || c == TfsVarCompare::Equal);
}
TfsVariant TNonEqNode::Value()
{
    const TfsVariant a = operand(FLeft);
    return TfsVariant(!fsVarEquals(a, operand(FRight)));
}
TfsVariant TEqNode::Value()
{
    const TfsVariant a = operand(FLeft);
    return TfsVariant(fsVarEquals(a, operand(FRight)));
}
TfsVariant TPlusNode::Value()
{
    const TfsVariant a = operand(FLeft);
    const TfsVariant b = operand(FRight);
    if (bothInt(a, b))
        return intResult(qint64(a.AsInt()) + qint64(b.AsInt()));
    qint64 r;
    if (a.IsOrdinal() && b.IsOrdinal() && !__builtin_add_overflow(integerOf(a), integerOf(b), &r))
        return integerResult(a, b, r);
    return fsVarAdd(a, b);
}
TfsVariant TStrCatNode::Value()
{
    const TfsVariant a = operand(FLeft);
    const TfsVariant b = operand(FRight);
    if (a.IsNull() || b.IsNull())
        return TfsVariant::Null();
    return TfsVariant(a.ToString() + b.ToString());
}
TfsVariant TMinusNode::Value()
{
    const TfsVariant a = operand(FLeft);
    const TfsVariant b = operand(FRight);
    if (bothInt(a, b))
        return intResult(qint64(a.AsInt()) - qint64(b.AsInt()));
    qint64 r;
    if (a.IsOrdinal() && b.IsOrdinal() && !__builtin_sub_overflow(integerOf(a), integerOf(b), &r))
        return integerResult(a, b, r);
    return fsVarSub(a, b);
}
TfsVariant TOrNode::Value()
{
    const TfsVariant a = operand(FLeft);
    if (a.Kind() == TfsVarKind::Bool && a.AsBool())
        return a; // a Boolean "or" stops at the first True
    return fsVarOr(a, operand(FRight));
}
TfsVariant TXorNode::Value()
{
    const TfsVariant a = operand(FLeft);
    return fsVarXor(a, operand(FRight));
}
TfsVariant TMulNode::Value()
{
    const TfsVariant a = operand(FLeft);
    const TfsVariant b = operand(FRight);
    if (bothInt(a, b))
        return intResult(qint64(a.AsInt()) * qint64(b.AsInt()));
    qint64 r;
    if (a.IsOrdinal() && b.IsOrdinal() && !__builtin_mul_overflow(integerOf(a), integerOf(b), &r))
        return integerResult(a, b, r);
    return fsVarMul(a, b);
}
TfsVariant TDivFloatNode::Value()
{
    const TfsVariant a = operand(FLeft);
    return fsVarDivFloat(a, operand(FRight));
}
TfsVariant TDivIntNode::Value()
{
    const TfsVariant a = operand(FLeft);
    return fsVarDivInt(a, operand(FRight));
}
TfsVariant TModNode::Value()
{
    const TfsVariant a = operand(FLeft);
    return fsVarMod(a, operand(FRight));
}
TfsVariant TAndNode::Value()
{
    const TfsVariant a = operand(FLeft);
    if (a.Kind() == TfsVarKind::Bool && !a.AsBool())
        return a; // a Boolean "and" stops at the first False
    return fsVarAnd(a, operand(FRight));
}
TfsVariant TShlNode::Value()
{
    const TfsVariant a = operand(FLeft);
    return fsVarShl(a, operand(FRight));
}
TfsVariant TShrNode::Value()
{
    const TfsVariant a = operand(FLeft);
    return fsVarShr(a, operand(FRight));
}
TfsVariant TInNode::Value()
{
    const TfsVariant a = operand(FLeft);
    if (auto *set = dynamic_cast<TfsSetNode *>(FRight))
        return TfsVariant(set->Contains(a));
    const TfsVariant b = operand(FRight);
    if (b.IsArray()) {
        for (int i = b.ArrayLowBound(); i <= b.ArrayHighBound(); ++i)
            if (fsVarEquals(a, b.GetElement({i})))
                return TfsVariant(true);
        return TfsVariant(false);
    }
    return TfsVariant(fsVarEquals(a, b));
}
TfsVariant TIsNode::Value()
{
    const TfsVariant a = operand(FLeft);
    QObject *obj = a.ToObject();
    return TfsVariant(obj != nullptr && FClass && FClass->IsInstance(obj));
}
TfsVariant TNotNode::Value() { return fsVarNot(operand(FLeft)); }
TfsVariant TUnMinusNode::Value() { return fsVarNeg(operand(FLeft)); }

// ---------------------------------------------------------------------------

TfsExpression::TfsExpression() : FRoot(new TNoneNode), FCurNode(FRoot)
{
}

TfsExpression::~TfsExpression()
{
    delete FRoot;
}

TfsOperatorNode *TfsExpression::CreateOperator(TfsOperatorType op)
{
    switch (op) {
    case opNone: return new TNoneNode;
    case opGreat: return new TGreatNode;
    case opLess: return new TLessNode;
    case opLessEq: return new TLessEqNode;
    case opGreatEq: return new TGreatEqNode;
    case opNonEq: return new TNonEqNode;
    case opEq: return new TEqNode;
    case opPlus: return new TPlusNode;
    case opStrCat: return new TStrCatNode;
    case opMinus: return new TMinusNode;
    case opOr: return new TOrNode;
    case opXor: return new TXorNode;
    case opMul: return new TMulNode;
    case opDivFloat: return new TDivFloatNode;
    case opDivInt: return new TDivIntNode;
    case opMod: return new TModNode;
    case opAnd: return new TAndNode;
    case opShl: return new TShlNode;
    case opShr: return new TShrNode;
    case opLeftBracket: return new TLeftBracketNode;
    case opRightBracket: return nullptr;
    case opNot: return new TNotNode;
    case opUnMinus: return new TUnMinusNode;
    case opIn: return new TInNode;
    case opIs: return new TIsNode;
    }
    return nullptr;
}

namespace {

[[noreturn]] void malformed()
{
    throw EfsCompileError(QStringLiteral("Expression expected"));
}

} // namespace

void TfsExpression::AddOperand(TfsExpressionNode *node)
{
    if (!FCurNode->FLeft) {
        FCurNode->FLeft = node;
    } else if (!FCurNode->IsUnary() && FCurNode != FRoot && !FCurNode->FRight) {
        FCurNode->FRight = node;
    } else {
        delete node;
        malformed();
    }
    node->FParent = FCurNode;
    if (node->IsUnary())
        FCurNode = node;
}

void TfsExpression::AddOperator(TfsOperatorType op)
{
    if (op == opLeftBracket || op == opNot || op == opUnMinus) {
        AddOperand(CreateOperator(op));
        return;
    }
    if (op == opRightBracket) {
        TfsExpressionNode *n = FCurNode;
        while (n && !(dynamic_cast<TLeftBracketNode *>(n)))
            n = n->FParent;
        if (!n || !n->FLeft)
            malformed();
        TfsExpressionNode *child = n->FLeft, *parent = n->FParent;
        (parent->FLeft == n ? parent->FLeft : parent->FRight) = child;
        child->FParent = parent;
        n->FLeft = nullptr;
        delete n;
        FCurNode = parent;
        return;
    }
    auto *x = CreateOperator(op);
    const int priority = x->Priority();
    TfsExpressionNode *n = FCurNode;
    while (n->FParent && priority >= n->Priority())
        n = n->FParent;
    TfsExpressionNode *&slot = (n->IsUnary() || n == FRoot || !n->FRight) ? n->FLeft : n->FRight;
    if (!slot || (!n->IsUnary() && n != FRoot && !n->FRight)) {
        delete x;
        malformed();
    }
    x->FLeft = slot;
    slot->FParent = x;
    slot = x;
    x->FParent = n;
    FCurNode = x;
}

namespace {

bool isIntType(TfsVarType t) { return t == fvtInt || t == fvtEnum; }
bool isNumType(TfsVarType t) { return t == fvtInt || t == fvtInt64 || t == fvtFloat || t == fvtEnum; }
bool isTextType(TfsVarType t) { return t == fvtString || t == fvtChar; }

// Checks that every node has its operands and works out static types.
int finishNode(TfsExpressionNode *n)
{
    fsCheckStack();
    if (auto *op = dynamic_cast<TfsOperatorNode *>(n)) {
        if (dynamic_cast<TLeftBracketNode *>(n) || !n->FLeft || (!n->IsUnary() && !n->FRight))
            malformed();
        const int dl = finishNode(n->FLeft);
        const int dr = n->FRight ? finishNode(n->FRight) : 0;
        const TfsVarType l = n->FLeft->FTyp, r = n->FRight ? n->FRight->FTyp : l;
        switch (op->FOp) {
        case opGreat: case opLess: case opLessEq: case opGreatEq: case opNonEq: case opEq:
        case opIn: case opIs:
            n->FTyp = fvtBool;
            break;
        case opDivFloat:
            n->FTyp = fvtFloat;
            break;
        case opDivInt: case opMod: case opShl: case opShr:
            n->FTyp = (l == fvtInt64 || r == fvtInt64) ? fvtInt64 : fvtInt;
            break;
        case opStrCat:
            n->FTyp = fvtString;
            break;
        case opPlus: case opMinus: case opMul:
            if (isIntType(l) && isIntType(r))
                n->FTyp = fvtInt;
            else if (isNumType(l) && isNumType(r))
                n->FTyp = (l == fvtFloat || r == fvtFloat) ? fvtFloat : fvtInt64;
            else if (op->FOp == opPlus && isTextType(l) && isTextType(r))
                n->FTyp = fvtString;
            else
                n->FTyp = fvtVariant;
            break;
        case opAnd: case opOr: case opXor:
            if (l == fvtBool && r == fvtBool)
                n->FTyp = fvtBool;
            else if (isIntType(l) && isIntType(r))
                n->FTyp = fvtInt;
            else
                n->FTyp = fvtVariant;
            break;
        case opNot: case opUnMinus:
            n->FTyp = l == fvtEnum ? fvtInt : l;
            if (op->FOp == opUnMinus && !isNumType(n->FTyp))
                n->FTyp = fvtVariant;
            break;
        default:
            n->FTyp = fvtVariant;
            break;
        }
        if (n->FTyp != fvtClass && n->FTyp != fvtEnum)
            n->FTypeName.clear();
        return 1 + std::max(dl, dr);
    }
    return 1;
}

int depthOf(const TfsExpressionNode *n)
{
    if (!n)
        return 0;
    return 1 + std::max(depthOf(n->FLeft), depthOf(n->FRight));
}

} // namespace

bool TfsExpression::Finish()
{
    if (!FRoot->FLeft)
        return false;
    finishNode(FRoot->FLeft);
    FTop = FRoot->FLeft;
    return true;
}

TfsExpressionNode *TfsExpression::TakeTop()
{
    TfsExpressionNode *top = FTop;
    if (top) {
        FRoot->FLeft = nullptr;
        top->FParent = nullptr;
        FTop = nullptr;
    }
    return top;
}

int TfsExpression::Depth() const
{
    return depthOf(FTop);
}

TfsDesignator *TfsExpression::SingleDesignator() const
{
    auto *node = dynamic_cast<TfsDesignatorNode *>(FTop);
    return node ? node->FDesignator.get() : nullptr;
}

const TfsVariant *TfsExpression::SingleConstant() const
{
    auto *node = dynamic_cast<TfsOperandNode *>(FTop);
    return node ? &node->FValue : nullptr;
}

TfsOperatorType fsOperatorFromText(const QString &text)
{
    static const QHash<QString, TfsOperatorType> ops = {
        {QStringLiteral(">"), opGreat}, {QStringLiteral("<"), opLess}, {QStringLiteral("<="), opLessEq},
        {QStringLiteral(">="), opGreatEq}, {QStringLiteral("<>"), opNonEq}, {QStringLiteral("="), opEq},
        {QStringLiteral("+"), opPlus}, {QStringLiteral("strcat"), opStrCat}, {QStringLiteral("-"), opMinus},
        {QStringLiteral("or"), opOr}, {QStringLiteral("xor"), opXor}, {QStringLiteral("*"), opMul},
        {QStringLiteral("/"), opDivFloat}, {QStringLiteral("div"), opDivInt}, {QStringLiteral("mod"), opMod},
        {QStringLiteral("and"), opAnd}, {QStringLiteral("shl"), opShl}, {QStringLiteral("shr"), opShr},
        {QStringLiteral("("), opLeftBracket}, {QStringLiteral(")"), opRightBracket},
        {QStringLiteral("not"), opNot}, {QStringLiteral("unminus"), opUnMinus}, {QStringLiteral("in"), opIn},
        {QStringLiteral("is"), opIs},
    };
    return ops.value(text.toLower(), opNone);
}
