#pragma once
// The script engine's value: a tagged variant (empty, null, integer, 64-bit
// integer, Boolean, double, string, object reference, array) with the classic
// runtime's variant arithmetic, comparison and conversion rules.

#include <QString>
#include <QVariant>
#include <cstring>
#include <memory>
#include <vector>

class QObject;
class TfsVarArray;
#include <new>

// The kinds a variant value can hold.
enum class TfsVarKind : quint8 { Empty, Null, Int, Int64, Bool, Double, String, Object, Array };

// A script value; copying is cheap (strings are shared, arrays copied on write).
class TfsVariant {
public:
    TfsVariant() : FKind(TfsVarKind::Empty), FInt64(0) {}
    TfsVariant(int v) : FKind(TfsVarKind::Int), FInt64(Word(v)) {}
    TfsVariant(qint64 v) : FKind(TfsVarKind::Int64), FInt64(v) {}
    TfsVariant(bool v) : FKind(TfsVarKind::Bool), FInt64(Word(v)) {}
    TfsVariant(double v) : FKind(TfsVarKind::Double), FDouble(v) {}
    TfsVariant(const QString &v) : FKind(TfsVarKind::String) { new (&FString) QString(v); }
    TfsVariant(QString &&v) : FKind(TfsVarKind::String) { new (&FString) QString(std::move(v)); }
    TfsVariant(const char *v) : FKind(TfsVarKind::String) { new (&FString) QString(QString::fromUtf8(v)); }
    TfsVariant(QObject *v) : FKind(TfsVarKind::Object), FInt64(0) { FObject = v; }

    // Scalars are copied as plain bytes; only texts and arrays own anything.
    TfsVariant(const TfsVariant &o) : FKind(o.FKind) { CopyFrom(o); }
    TfsVariant(TfsVariant &&o) noexcept : FKind(o.FKind) { MoveFrom(std::move(o)); }
    // The payload is copied into a plain local first (o may live inside
    // this value's array), chosen by one reading of o's kind.
    TfsVariant &operator=(const TfsVariant &o)
    {
        // Scalar over scalar (the common case): the payload's bytes and the kind.
        if (!IsHeap() && !o.IsHeap()) {
            FInt64 = o.FInt64;
            FKind = o.FKind;
            return *this;
        }
        if (this == &o)
            return *this;
        const TfsVarKind kind = o.FKind;
        if (kind == TfsVarKind::String) {
            QString text = o.FString;
            Destroy();
            new (&FString) QString(std::move(text));
        } else if (kind == TfsVarKind::Array) {
            std::shared_ptr<TfsVarArray> array = o.FArray;
            Destroy();
            new (&FArray) std::shared_ptr<TfsVarArray>(std::move(array));
        } else {
            const qint64 bits = o.FInt64;
            Destroy();
            FInt64 = bits;
        }
        FKind = kind;
        return *this;
    }
    TfsVariant &operator=(TfsVariant &&o) noexcept
    {
        if (this != &o) {
            Destroy();
            FKind = o.FKind;
            MoveFrom(std::move(o));
        }
        return *this;
    }
    ~TfsVariant() { Destroy(); }

    // The null value (distinct from the empty, unassigned one).
    static TfsVariant Null();
    // A variant array with one (low, high) bound pair per dimension; elements are empty.
    static TfsVariant CreateArray(const std::vector<std::pair<int, int>> &bounds, int elementType = 12);
    // An integer of the smallest kind that holds v (Int, else Int64).
    static TfsVariant FromInteger(qint64 v);

    TfsVarKind Kind() const { return FKind; }
    bool IsEmpty() const { return FKind == TfsVarKind::Empty; }
    bool IsNull() const { return FKind == TfsVarKind::Null; }
    bool IsString() const { return FKind == TfsVarKind::String; }
    bool IsArray() const { return FKind == TfsVarKind::Array; }
    bool IsObject() const { return FKind == TfsVarKind::Object; }
    bool IsNumeric() const;   // Int, Int64, Double (Boolean excluded)
    bool IsOrdinal() const { return FKind == TfsVarKind::Int || FKind == TfsVarKind::Int64; }
    // The classic variant type code (varEmpty 0, varNull 1, varInteger 3, ...);
    // an array is varArray (8192) plus its element type code.
    int VarType() const;
    // The type name used in conversion messages ("Integer", "String", ...).
    QString TypeName() const;

    // Conversions with the classic rules; a value that does not convert raises
    // EVariantTypeCastError. Texts and numbers use the regional settings.
    int ToInt() const;
    qint64 ToInt64() const;
    double ToDouble() const;
    bool ToBool() const;
    QString ToString() const;   // Null raises
    QObject *ToObject() const;  // Empty, Null and integer 0 give nullptr
    // The text of a value with Null and Empty as empty text (VarToStr).
    QString ToText() const;

    // Raw access (valid only for the matching kind).
    int AsInt() const { return FInt; }
    qint64 AsInt64() const { return FInt64; }
    double AsDouble() const { return FDouble; }
    bool AsBool() const { return FBool; }
    const QString &AsString() const { return FString; }

    // Array access. Bounds and elements of the first (or given) dimension.
    int ArrayDimCount() const;
    int ArrayLowBound(int dim = 0) const;
    int ArrayHighBound(int dim = 0) const;
    // The element at the indexes (one per dimension); out of bounds raises.
    TfsVariant GetElement(const std::vector<int> &indexes) const;
    void SetElement(const std::vector<int> &indexes, const TfsVariant &value);
    // Changes the first dimension's bounds to low..high, keeping what fits.
    void RedimArray(int low, int high);
    // The element type code an array was created with (varVariant 12 by default).
    int ArrayElementType() const;
    // Sets every element of an array to value.
    void FillArray(const TfsVariant &value);

    // To and from Qt values (host properties). Unknown Qt types become their text.
    QVariant ToQVariant() const;
    static TfsVariant FromQVariant(const QVariant &v);

private:
    TfsVarKind FKind;
    union {
        qint32 FInt;
        qint64 FInt64;
        bool FBool;
        double FDouble;
        QObject *FObject;
        QString FString;                      // kind String
        std::shared_ptr<TfsVarArray> FArray;  // kind Array
    };

    // The payload word of a narrow scalar, the rest zero: the value is written
    // in one store, because a narrow store read back by the next copy's wide
    // load stalls the processor for many cycles.
    template <class T>
    static qint64 Word(T v)
    {
        qint64 word = 0;
        std::memcpy(&word, &v, sizeof v);
        return word;
    }
    bool IsHeap() const { return FKind == TfsVarKind::String || FKind == TfsVarKind::Array; }
    void Destroy()
    {
        if (FKind == TfsVarKind::String)
            FString.~QString();
        else if (FKind == TfsVarKind::Array)
            FArray.~shared_ptr();
    }
    void CopyFrom(const TfsVariant &o)
    {
        if (FKind == TfsVarKind::String)
            new (&FString) QString(o.FString);
        else if (FKind == TfsVarKind::Array)
            new (&FArray) std::shared_ptr<TfsVarArray>(o.FArray);
        else
            FInt64 = o.FInt64;
    }
    void MoveFrom(TfsVariant &&o)
    {
        if (FKind == TfsVarKind::String)
            new (&FString) QString(std::move(o.FString));
        else if (FKind == TfsVarKind::Array)
            new (&FArray) std::shared_ptr<TfsVarArray>(std::move(o.FArray));
        else
            FInt64 = o.FInt64;
    }
};

// Storage of a variant array.
class TfsVarArray {
public:
    std::vector<std::pair<int, int>> Bounds;
    std::vector<TfsVariant> Items;
    int ElementType = 12;
};

// Result of comparing two variants.
enum class TfsVarCompare { Less, Equal, Greater, Unordered };

// Variant operators. Arithmetic with Null gives Null; "/" always gives a
// double; div, mod, shl and shr give integers; and/or/xor/not are logical on
// Booleans and bitwise on integers; "+" joins two texts.
TfsVariant fsVarAdd(const TfsVariant &a, const TfsVariant &b);
TfsVariant fsVarSub(const TfsVariant &a, const TfsVariant &b);
TfsVariant fsVarMul(const TfsVariant &a, const TfsVariant &b);
TfsVariant fsVarDivFloat(const TfsVariant &a, const TfsVariant &b);
TfsVariant fsVarDivInt(const TfsVariant &a, const TfsVariant &b);
TfsVariant fsVarMod(const TfsVariant &a, const TfsVariant &b);
TfsVariant fsVarAnd(const TfsVariant &a, const TfsVariant &b);
TfsVariant fsVarOr(const TfsVariant &a, const TfsVariant &b);
TfsVariant fsVarXor(const TfsVariant &a, const TfsVariant &b);
TfsVariant fsVarShl(const TfsVariant &a, const TfsVariant &b);
TfsVariant fsVarShr(const TfsVariant &a, const TfsVariant &b);
TfsVariant fsVarNot(const TfsVariant &a);
TfsVariant fsVarNeg(const TfsVariant &a);
// Compares with numbers numerically, texts by code units, Null equal only to Null
// and below every other value; a text against a number is read as a number.
TfsVarCompare fsVarCompare(const TfsVariant &a, const TfsVariant &b);
bool fsVarEquals(const TfsVariant &a, const TfsVariant &b);
