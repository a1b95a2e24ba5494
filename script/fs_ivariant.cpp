// Variant conversions and operators with the classic runtime's rules.

#include "script/fs_ivariant.h"

#include "base/NumberFormat.h"
#include "base/TextLimits.h"
#include "script/fs_iconst.h"

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Objects whose address a script has seen as a number (through Integer,
// Int64 or String): a number turns back into an object only when it is one
// of them and the object still lives. Any other number is no object, and
// following it would read whatever memory it points at.
struct TNumberedObjects {
    QMutex Lock;
    QHash<qint64, QPointer<QObject>> ByNumber;
};

TNumberedObjects &numberedObjects()
{
    static TNumberedObjects objects;
    return objects;
}

// Remembers Object under its address as Int64 and as a 32-bit Integer.
qint64 numberOf(QObject *Object)
{
    const qint64 number = qint64(reinterpret_cast<quintptr>(Object));
    if (!Object)
        return 0;
    TNumberedObjects &objects = numberedObjects();
    const QMutexLocker locker(&objects.Lock);
    if (objects.ByNumber.size() > 4096)
        objects.ByNumber.removeIf([](const auto &Entry) { return Entry.value().isNull(); });
    objects.ByNumber.insert(number, Object);
    objects.ByNumber.insert(qint64(qint32(number)), Object);
    return number;
}

QObject *objectOfNumber(qint64 Number)
{
    if (Number == 0)
        return nullptr;
    TNumberedObjects &objects = numberedObjects();
    const QMutexLocker locker(&objects.Lock);
    const QPointer<QObject> found = objects.ByNumber.value(Number);
    if (found.isNull())
        throw EfsRuntimeError(QStringLiteral("EAccessViolation"),
                              QStringLiteral("Access violation: %1 is no object").arg(Number));
    return found.data();
}

} // namespace

TfsVariant TfsVariant::Null()
{
    TfsVariant v;
    v.FKind = TfsVarKind::Null;
    return v;
}

TfsVariant TfsVariant::FromInteger(qint64 v)
{
    if (v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max())
        return TfsVariant(int(v));
    return TfsVariant(v);
}

TfsVariant TfsVariant::CreateArray(const std::vector<std::pair<int, int>> &bounds, int elementType)
{
    TfsVariant v;
    v.FKind = TfsVarKind::Array;
    new (&v.FArray) std::shared_ptr<TfsVarArray>(std::make_shared<TfsVarArray>());
    v.FArray->Bounds = bounds;
    v.FArray->ElementType = elementType;
    qint64 count = bounds.empty() ? 0 : 1;
    for (const auto &b : bounds) {
        const qint64 n = qint64(b.second) - b.first + 1;
        count *= n > 0 ? n : 0;
        if (count > 64 * 1024 * 1024)
            throw EfsRuntimeError(QStringLiteral("EVariantError"),
                                  QStringLiteral("Variant array too large"));
    }
    v.FArray->Items.resize(size_t(count));
    return v;
}

bool TfsVariant::IsNumeric() const
{
    return FKind == TfsVarKind::Int || FKind == TfsVarKind::Int64 || FKind == TfsVarKind::Double;
}


int TfsVariant::VarType() const
{
    switch (FKind) {
    case TfsVarKind::Empty: return 0;
    case TfsVarKind::Null: return 1;
    case TfsVarKind::Int: return 3;
    case TfsVarKind::Int64: return 20;
    case TfsVarKind::Bool: return 11;
    case TfsVarKind::Double: return 5;
    case TfsVarKind::String: return 256;
    case TfsVarKind::Object: return 9;
    case TfsVarKind::Array: return 8192 | (FArray->ElementType & 4095);
    }
    return 0;
}

QString TfsVariant::TypeName() const
{
    switch (FKind) {
    case TfsVarKind::Empty: return QStringLiteral("Empty");
    case TfsVarKind::Null: return QStringLiteral("Null");
    case TfsVarKind::Int: return QStringLiteral("Integer");
    case TfsVarKind::Int64: return QStringLiteral("Int64");
    case TfsVarKind::Bool: return QStringLiteral("Boolean");
    case TfsVarKind::Double: return QStringLiteral("Double");
    case TfsVarKind::String: return QStringLiteral("String");
    case TfsVarKind::Object: return QStringLiteral("Dispatch");
    case TfsVarKind::Array: return QStringLiteral("Array Variant");
    }
    return QString();
}

namespace {

qint64 doubleToInt64(double d, const TfsVariant &from, const QString &to)
{
    if (!std::isfinite(d) || d >= 9223372036854775807.0 || d < -9223372036854775808.0)
        fsRaiseVariantCast(from.TypeName(), to);
    return RoundHalfEven(d);
}

bool textToDouble(const QString &text, double &value)
{
    return TryStrToFloat(text.trimmed(), value);
}

} // namespace

qint64 TfsVariant::ToInt64() const
{
    switch (FKind) {
    case TfsVarKind::Empty: return 0;
    case TfsVarKind::Int: return FInt;
    case TfsVarKind::Int64: return FInt64;
    case TfsVarKind::Bool: return FBool ? -1 : 0;
    case TfsVarKind::Double: return doubleToInt64(FDouble, *this, QStringLiteral("Int64"));
    case TfsVarKind::String: {
        qint64 i;
        if (TryStrToInt64(FString.trimmed(), i))
            return i;
        double d;
        if (textToDouble(FString, d))
            return doubleToInt64(d, *this, QStringLiteral("Int64"));
        fsRaiseVariantCast(TypeName(), QStringLiteral("Int64"));
    }
    case TfsVarKind::Object: return numberOf(FObject);
    default: fsRaiseVariantCast(TypeName(), QStringLiteral("Int64"));
    }
}

int TfsVariant::ToInt() const
{
    if (FKind == TfsVarKind::Int)
        return FInt;
    const qint64 v = ToInt64();
    if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max()) {
        if (FKind == TfsVarKind::Object)
            return int(v);
        fsRaiseVariantCast(TypeName(), QStringLiteral("Integer"));
    }
    return int(v);
}

double TfsVariant::ToDouble() const
{
    switch (FKind) {
    case TfsVarKind::Empty: return 0;
    case TfsVarKind::Int: return FInt;
    case TfsVarKind::Int64: return double(FInt64);
    case TfsVarKind::Bool: return FBool ? -1 : 0;
    case TfsVarKind::Double: return FDouble;
    case TfsVarKind::String: {
        double d;
        if (textToDouble(FString, d))
            return d;
        fsRaiseVariantCast(TypeName(), QStringLiteral("Double"));
    }
    default: fsRaiseVariantCast(TypeName(), QStringLiteral("Double"));
    }
}

bool TfsVariant::ToBool() const
{
    switch (FKind) {
    case TfsVarKind::Empty: return false;
    case TfsVarKind::Int: return FInt != 0;
    case TfsVarKind::Int64: return FInt64 != 0;
    case TfsVarKind::Bool: return FBool;
    case TfsVarKind::Double: return FDouble != 0;
    case TfsVarKind::Object: return FObject != nullptr;
    case TfsVarKind::String: {
        const QString t = FString.trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        double d;
        if (textToDouble(t, d))
            return d != 0;
        fsRaiseVariantCast(TypeName(), QStringLiteral("Boolean"));
    }
    default: fsRaiseVariantCast(TypeName(), QStringLiteral("Boolean"));
    }
}

QString TfsVariant::ToString() const
{
    switch (FKind) {
    case TfsVarKind::Empty: return QString();
    case TfsVarKind::Int: return IntToStr(FInt);
    case TfsVarKind::Int64: return IntToStr(FInt64);
    case TfsVarKind::Bool: return FBool ? QStringLiteral("True") : QStringLiteral("False");
    case TfsVarKind::Double: return FloatToStr(FDouble);
    case TfsVarKind::String: return FString;
    case TfsVarKind::Object: return IntToStr(numberOf(FObject));
    default: fsRaiseVariantCast(TypeName(), QStringLiteral("String"));
    }
}

QString TfsVariant::ToText() const
{
    if (FKind == TfsVarKind::Null || FKind == TfsVarKind::Empty)
        return QString();
    if (FKind == TfsVarKind::Array)
        return QString();
    return ToString();
}

QObject *TfsVariant::ToObject() const
{
    switch (FKind) {
    case TfsVarKind::Object: return FObject;
    case TfsVarKind::Empty:
    case TfsVarKind::Null: return nullptr;
    case TfsVarKind::Int: return objectOfNumber(FInt);
    case TfsVarKind::Int64: return objectOfNumber(FInt64);
    default: fsRaiseVariantCast(TypeName(), QStringLiteral("Dispatch"));
    }
}

int TfsVariant::ArrayDimCount() const
{
    return FKind == TfsVarKind::Array ? int(FArray->Bounds.size()) : 0;
}

int TfsVariant::ArrayLowBound(int dim) const
{
    if (dim < 0 || dim >= ArrayDimCount())
        throw EfsRuntimeError(QStringLiteral("EVariantError"), QStringLiteral("Variant array bounds error"));
    return FArray->Bounds[size_t(dim)].first;
}

int TfsVariant::ArrayHighBound(int dim) const
{
    if (dim < 0 || dim >= ArrayDimCount())
        throw EfsRuntimeError(QStringLiteral("EVariantError"), QStringLiteral("Variant array bounds error"));
    return FArray->Bounds[size_t(dim)].second;
}

namespace {

[[noreturn]] void raiseIndex()
{
    throw EfsRuntimeError(QStringLiteral("EVariantBadIndexError"),
                          QStringLiteral("Variant or safe array index out of bounds"));
}

size_t flatIndex(const TfsVarArray &a, const std::vector<int> &indexes)
{
    if (indexes.size() != a.Bounds.size())
        raiseIndex();
    size_t flat = 0;
    for (size_t i = 0; i < indexes.size(); ++i) {
        const auto &b = a.Bounds[i];
        if (indexes[i] < b.first || indexes[i] > b.second)
            raiseIndex();
        flat = flat * size_t(qint64(b.second) - b.first + 1) + size_t(qint64(indexes[i]) - b.first);
    }
    return flat;
}

} // namespace

TfsVariant TfsVariant::GetElement(const std::vector<int> &indexes) const
{
    if (FKind != TfsVarKind::Array)
        fsRaiseVariantCast(TypeName(), QStringLiteral("Array Variant"));
    return FArray->Items[flatIndex(*FArray, indexes)];
}

void TfsVariant::SetElement(const std::vector<int> &indexes, const TfsVariant &value)
{
    if (FKind != TfsVarKind::Array)
        fsRaiseVariantCast(TypeName(), QStringLiteral("Array Variant"));
    const size_t flat = flatIndex(*FArray, indexes);
    if (FArray.use_count() > 1)
        FArray = std::make_shared<TfsVarArray>(*FArray);
    FArray->Items[flat] = value;
}

void TfsVariant::RedimArray(int low, int high)
{
    if (FKind != TfsVarKind::Array) {
        *this = CreateArray({{low, high}});
        return;
    }
    if (FArray->Bounds.size() != 1)
        throw EfsRuntimeError(QStringLiteral("EVariantError"), QStringLiteral("Variant array bounds error"));
    auto copy = std::make_shared<TfsVarArray>(*FArray);
    const qint64 count = std::max<qint64>(0, qint64(high) - low + 1);
    if (count > 64 * 1024 * 1024)
        throw EfsRuntimeError(QStringLiteral("EVariantError"), QStringLiteral("Variant array too large"));
    copy->Bounds[0] = {low, high};
    copy->Items.resize(size_t(count));
    FArray = copy;
}

int TfsVariant::ArrayElementType() const
{
    return FKind == TfsVarKind::Array ? FArray->ElementType : 0;
}

void TfsVariant::FillArray(const TfsVariant &value)
{
    if (FKind != TfsVarKind::Array)
        fsRaiseVariantCast(TypeName(), QStringLiteral("Array Variant"));
    if (FArray.use_count() > 1)
        FArray = std::make_shared<TfsVarArray>(*FArray);
    std::fill(FArray->Items.begin(), FArray->Items.end(), value);
}

QVariant TfsVariant::ToQVariant() const
{
    switch (FKind) {
    case TfsVarKind::Empty: return QVariant();
    case TfsVarKind::Null: return QVariant::fromValue(nullptr);
    case TfsVarKind::Int: return QVariant(FInt);
    case TfsVarKind::Int64: return QVariant(FInt64);
    case TfsVarKind::Bool: return QVariant(FBool);
    case TfsVarKind::Double: return QVariant(FDouble);
    case TfsVarKind::String: return QVariant(FString);
    case TfsVarKind::Object: return QVariant::fromValue(FObject);
    case TfsVarKind::Array: {
        QVariantList list;
        for (const auto &item : FArray->Items)
            list << item.ToQVariant();
        return list;
    }
    }
    return QVariant();
}

TfsVariant TfsVariant::FromQVariant(const QVariant &v)
{
    if (!v.isValid())
        return TfsVariant();
    switch (v.typeId()) {
    case QMetaType::Nullptr: return Null();
    case QMetaType::Bool: return TfsVariant(v.toBool());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: return TfsVariant(v.toInt());
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::ULongLong: return FromInteger(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: return TfsVariant(v.toDouble());
    case QMetaType::QString: return TfsVariant(v.toString());
    case QMetaType::QVariantList: {
        const QVariantList list = v.toList();
        TfsVariant a = CreateArray({{0, int(list.size()) - 1}});
        for (int i = 0; i < list.size(); ++i)
            a.SetElement({i}, FromQVariant(list[i]));
        return a;
    }
    default: break;
    }
    if (v.metaType().flags() & QMetaType::PointerToQObject)
        return TfsVariant(v.value<QObject *>());
    if (v.metaType().flags() & QMetaType::IsEnumeration)
        return TfsVariant(v.toInt());
    return TfsVariant(v.toString());
}

// ---------------------------------------------------------------------------
// Operators

namespace {

enum class TNumClass { Int, Int64, Double, Bool, String, Null, Other };

TNumClass classOf(const TfsVariant &v)
{
    switch (v.Kind()) {
    case TfsVarKind::Empty:
    case TfsVarKind::Int: return TNumClass::Int;
    case TfsVarKind::Int64: return TNumClass::Int64;
    case TfsVarKind::Double: return TNumClass::Double;
    case TfsVarKind::Bool: return TNumClass::Bool;
    case TfsVarKind::String: return TNumClass::String;
    case TfsVarKind::Null: return TNumClass::Null;
    case TfsVarKind::Object: return TNumClass::Int64;
    default: return TNumClass::Other;
    }
}

// The arithmetic domain of a binary operation: integer (64-bit) or double.
bool useDouble(const TfsVariant &a, const TfsVariant &b)
{
    const TNumClass ca = classOf(a), cb = classOf(b);
    if (ca == TNumClass::Double || cb == TNumClass::Double)
        return true;
    // A text taking part in arithmetic is read as a floating-point number.
    return ca == TNumClass::String || cb == TNumClass::String;
}

[[noreturn]] void raiseInvalidOp(const TfsVariant &a, const TfsVariant &b)
{
    throw EfsRuntimeError(QStringLiteral("EVariantInvalidOpError"),
                          QStringLiteral("Invalid variant operation (%1, %2)").arg(a.TypeName(), b.TypeName()));
}

void checkOperands(const TfsVariant &a, const TfsVariant &b)
{
    if (a.IsArray() || b.IsArray())
        raiseInvalidOp(a, b);
}

TfsVariant intResult(qint64 r, const TfsVariant &a, const TfsVariant &b)
{
    if (a.Kind() == TfsVarKind::Int64 || b.Kind() == TfsVarKind::Int64)
        return TfsVariant(r);
    return TfsVariant::FromInteger(r);
}

[[noreturn]] void raiseZeroDivide()
{
    throw EfsRuntimeError(QStringLiteral("EZeroDivide"), QStringLiteral("Floating point division by zero"));
}

[[noreturn]] void raiseDivByZero()
{
    throw EfsRuntimeError(QStringLiteral("EDivByZero"), QStringLiteral("Division by zero"));
}

double checkedDouble(double r)
{
    if (std::isnan(r))
        throw EfsRuntimeError(QStringLiteral("EInvalidOp"), QStringLiteral("Invalid floating point operation"));
    if (std::isinf(r))
        throw EfsRuntimeError(QStringLiteral("EOverflow"), QStringLiteral("Floating point overflow"));
    return r;
}

} // namespace

namespace {

inline qint64 ordinal(const TfsVariant &v)
{
    return v.Kind() == TfsVarKind::Int ? v.AsInt() : v.AsInt64();
}

} // namespace

TfsVariant fsVarAdd(const TfsVariant &a, const TfsVariant &b)
{
    if (a.Kind() == TfsVarKind::Int && b.Kind() == TfsVarKind::Int) {
        int r;
        if (!__builtin_add_overflow(a.AsInt(), b.AsInt(), &r))
            return TfsVariant(r);
        return TfsVariant(qint64(a.AsInt()) + b.AsInt());
    }
    if (a.IsOrdinal() && b.IsOrdinal()) {
        qint64 r;
        if (!__builtin_add_overflow(ordinal(a), ordinal(b), &r))
            return TfsVariant(r);
        return TfsVariant(double(ordinal(a)) + double(ordinal(b)));
    }
    if (a.IsNull() || b.IsNull())
        return TfsVariant::Null();
    if (a.IsString() && b.IsString()) {
        rudCheckTextLength(qint64(a.AsString().size()) + b.AsString().size());
        return TfsVariant(a.AsString() + b.AsString());
    }
    if (a.IsString() && b.IsEmpty())
        return a;
    if (b.IsString() && a.IsEmpty())
        return b;
    checkOperands(a, b);
    if (useDouble(a, b))
        return TfsVariant(checkedDouble(a.ToDouble() + b.ToDouble()));
    qint64 r;
    if (__builtin_add_overflow(a.ToInt64(), b.ToInt64(), &r))
        return TfsVariant(double(a.ToInt64()) + double(b.ToInt64()));
    return intResult(r, a, b);
}

TfsVariant fsVarSub(const TfsVariant &a, const TfsVariant &b)
{
    if (a.Kind() == TfsVarKind::Int && b.Kind() == TfsVarKind::Int) {
        int r;
        if (!__builtin_sub_overflow(a.AsInt(), b.AsInt(), &r))
            return TfsVariant(r);
        return TfsVariant(qint64(a.AsInt()) - b.AsInt());
    }
    if (a.IsOrdinal() && b.IsOrdinal()) {
        qint64 r;
        if (!__builtin_sub_overflow(ordinal(a), ordinal(b), &r))
            return TfsVariant(r);
        return TfsVariant(double(ordinal(a)) - double(ordinal(b)));
    }
    if (a.IsNull() || b.IsNull())
        return TfsVariant::Null();
    checkOperands(a, b);
    if (useDouble(a, b))
        return TfsVariant(checkedDouble(a.ToDouble() - b.ToDouble()));
    qint64 r;
    if (__builtin_sub_overflow(a.ToInt64(), b.ToInt64(), &r))
        return TfsVariant(double(a.ToInt64()) - double(b.ToInt64()));
    return intResult(r, a, b);
}

TfsVariant fsVarMul(const TfsVariant &a, const TfsVariant &b)
{
    if (a.Kind() == TfsVarKind::Int && b.Kind() == TfsVarKind::Int) {
        int r;
        if (!__builtin_mul_overflow(a.AsInt(), b.AsInt(), &r))
            return TfsVariant(r);
        return TfsVariant(qint64(a.AsInt()) * b.AsInt());
    }
    if (a.IsOrdinal() && b.IsOrdinal()) {
        qint64 r;
        if (!__builtin_mul_overflow(ordinal(a), ordinal(b), &r))
            return TfsVariant(r);
        return TfsVariant(double(ordinal(a)) * double(ordinal(b)));
    }
    if (a.IsNull() || b.IsNull())
        return TfsVariant::Null();
    checkOperands(a, b);
    if (useDouble(a, b))
        return TfsVariant(checkedDouble(a.ToDouble() * b.ToDouble()));
    qint64 r;
    if (__builtin_mul_overflow(a.ToInt64(), b.ToInt64(), &r))
        return TfsVariant(double(a.ToInt64()) * double(b.ToInt64()));
    return intResult(r, a, b);
}

TfsVariant fsVarDivFloat(const TfsVariant &a, const TfsVariant &b)
{
    if (a.IsNull() || b.IsNull())
        return TfsVariant::Null();
    checkOperands(a, b);
    const double x = a.ToDouble(), y = b.ToDouble();
    if (y == 0) {
        if (x == 0 || std::isnan(x))
            throw EfsRuntimeError(QStringLiteral("EInvalidOp"), QStringLiteral("Invalid floating point operation"));
        raiseZeroDivide();
    }
    return TfsVariant(checkedDouble(x / y));
}

TfsVariant fsVarDivInt(const TfsVariant &a, const TfsVariant &b)
{
    if (a.IsNull() || b.IsNull())
        return TfsVariant::Null();
    checkOperands(a, b);
    const qint64 x = a.ToInt64(), y = b.ToInt64();
    if (y == 0)
        raiseDivByZero();
    if (y == -1)
        return fsVarNeg(TfsVariant(x));
    return intResult(x / y, a, b);
}

TfsVariant fsVarMod(const TfsVariant &a, const TfsVariant &b)
{
    if (a.IsNull() || b.IsNull())
        return TfsVariant::Null();
    checkOperands(a, b);
    const qint64 x = a.ToInt64(), y = b.ToInt64();
    if (y == 0)
        raiseDivByZero();
    if (y == -1)
        return TfsVariant(0);
    return intResult(x % y, a, b);
}

namespace {

enum class TLogicOp { And, Or, Xor };

TfsVariant logic(const TfsVariant &a, const TfsVariant &b, TLogicOp op)
{
    if (a.IsNull() || b.IsNull())
        return TfsVariant::Null();
    checkOperands(a, b);
    if (a.Kind() == TfsVarKind::Bool || b.Kind() == TfsVarKind::Bool) {
        const bool x = a.ToBool(), y = b.ToBool();
        switch (op) {
        case TLogicOp::And: return TfsVariant(x && y);
        case TLogicOp::Or: return TfsVariant(x || y);
        case TLogicOp::Xor: return TfsVariant(x != y);
        }
    }
    const qint64 x = a.ToInt64(), y = b.ToInt64();
    switch (op) {
    case TLogicOp::And: return intResult(x & y, a, b);
    case TLogicOp::Or: return intResult(x | y, a, b);
    case TLogicOp::Xor: return intResult(x ^ y, a, b);
    }
    return TfsVariant();
}

} // namespace

TfsVariant fsVarAnd(const TfsVariant &a, const TfsVariant &b) { return logic(a, b, TLogicOp::And); }
TfsVariant fsVarOr(const TfsVariant &a, const TfsVariant &b) { return logic(a, b, TLogicOp::Or); }
TfsVariant fsVarXor(const TfsVariant &a, const TfsVariant &b) { return logic(a, b, TLogicOp::Xor); }

TfsVariant fsVarShl(const TfsVariant &a, const TfsVariant &b)
{
    if (a.IsNull() || b.IsNull())
        return TfsVariant::Null();
    checkOperands(a, b);
    const qint64 x = a.ToInt64();
    const int n = int(b.ToInt64() & 63);
    if (a.Kind() == TfsVarKind::Int64)
        return TfsVariant(qint64(quint64(x) << n));
    return TfsVariant(int(quint32(x) << (n & 31)));
}

TfsVariant fsVarShr(const TfsVariant &a, const TfsVariant &b)
{
    if (a.IsNull() || b.IsNull())
        return TfsVariant::Null();
    checkOperands(a, b);
    const qint64 x = a.ToInt64();
    const int n = int(b.ToInt64() & 63);
    if (a.Kind() == TfsVarKind::Int64)
        return TfsVariant(qint64(quint64(x) >> n));
    return TfsVariant(int(quint32(x) >> (n & 31)));
}

TfsVariant fsVarNot(const TfsVariant &a)
{
    switch (a.Kind()) {
    case TfsVarKind::Null: return a;
    case TfsVarKind::Bool: return TfsVariant(!a.AsBool());
    case TfsVarKind::Int: return TfsVariant(~a.AsInt());
    case TfsVarKind::Int64: return TfsVariant(~a.AsInt64());
    case TfsVarKind::Empty: return TfsVariant(-1);
    case TfsVarKind::String: {
        // A text is negated as the Boolean or integer it stands for.
        const QString t = a.AsString().trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return TfsVariant(!a.ToBool());
        return TfsVariant::FromInteger(~a.ToInt64());
    }
    case TfsVarKind::Double: return TfsVariant::FromInteger(~a.ToInt64());
    default: raiseInvalidOp(a, a);
    }
}

TfsVariant fsVarNeg(const TfsVariant &a)
{
    switch (a.Kind()) {
    case TfsVarKind::Null: return a;
    case TfsVarKind::Empty: return TfsVariant(0);
    case TfsVarKind::Int:
        if (a.AsInt() == std::numeric_limits<qint32>::min())
            return TfsVariant(-qint64(a.AsInt()));
        return TfsVariant(-a.AsInt());
    case TfsVarKind::Int64:
        if (a.AsInt64() == std::numeric_limits<qint64>::min())
            return TfsVariant(-double(a.AsInt64()));
        return TfsVariant(-a.AsInt64());
    case TfsVarKind::Double: return TfsVariant(-a.AsDouble());
    case TfsVarKind::Bool: return TfsVariant(a.AsBool() ? 1 : 0);
    case TfsVarKind::String: return TfsVariant(-a.ToDouble());
    default: raiseInvalidOp(a, a);
    }
}

namespace {

template <typename T>
TfsVarCompare order(T x, T y)
{
    if (x < y)
        return TfsVarCompare::Less;
    if (y < x)
        return TfsVarCompare::Greater;
    if (x == y)
        return TfsVarCompare::Equal;
    return TfsVarCompare::Unordered;
}

} // namespace

TfsVarCompare fsVarCompare(const TfsVariant &a, const TfsVariant &b)
{
    if (a.Kind() == TfsVarKind::Int && b.Kind() == TfsVarKind::Int)
        return order(a.AsInt(), b.AsInt());
    if (a.IsNull() || b.IsNull()) {
        if (a.IsNull() && b.IsNull())
            return TfsVarCompare::Equal;
        return a.IsNull() ? TfsVarCompare::Less : TfsVarCompare::Greater;
    }
    if (a.IsArray() || b.IsArray())
        raiseInvalidOp(a, b);
    if (a.IsString() && b.IsString())
        return order(a.AsString().compare(b.AsString()), 0);
    if ((a.IsString() && b.IsEmpty()) || (a.IsEmpty() && b.IsString()))
        return order(a.ToText().compare(b.ToText()), 0);
    if (a.Kind() == TfsVarKind::Bool && b.Kind() == TfsVarKind::Bool)
        return order(int(a.AsBool()), int(b.AsBool()));
    if (a.IsObject() && b.IsObject())
        return a.ToObject() == b.ToObject() ? TfsVarCompare::Equal : TfsVarCompare::Unordered;
    if (useDouble(a, b))
        return order(a.ToDouble(), b.ToDouble());
    return order(a.ToInt64(), b.ToInt64());
}

bool fsVarEquals(const TfsVariant &a, const TfsVariant &b)
{
    return fsVarCompare(a, b) == TfsVarCompare::Equal;
}
