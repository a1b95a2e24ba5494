// Variant arithmetic, comparison and conversion rules.

#include "ScriptTestUtil.h"

#include "base/FormatSettings.h"

#include <functional>
#include <limits>

TEST(Variant, ArithmeticRules)
{
    TFormatSettingsScope scope(englishFormatSettings());
    const TfsVariant i2(2), i3(3), d(1.5), s(QStringLiteral("2.5")), n = TfsVariant::Null(), e;
    EXPECT_EQ(fsVarAdd(i2, i3).Kind(), TfsVarKind::Int);
    EXPECT_EQ(fsVarAdd(i2, d).AsDouble(), 3.5);
    EXPECT_EQ(fsVarAdd(i2, s).AsDouble(), 4.5); // a text in arithmetic is read as a number
    EXPECT_EQ(fsVarAdd(TfsVariant(QStringLiteral("a")), TfsVariant(QStringLiteral("b"))).AsString(), QStringLiteral("ab"));
    EXPECT_TRUE(fsVarAdd(i2, n).IsNull());
    EXPECT_EQ(fsVarAdd(e, i3).ToInt(), 3);
    // Overflow widens instead of wrapping.
    const TfsVariant big = fsVarMul(TfsVariant(100000), TfsVariant(100000));
    EXPECT_EQ(big.Kind(), TfsVarKind::Int64);
    EXPECT_EQ(big.AsInt64(), 10000000000LL);
    EXPECT_EQ(fsVarNeg(TfsVariant(int(-2147483647 - 1))).AsInt64(), 2147483648LL);
    EXPECT_EQ(fsVarDivFloat(TfsVariant(7), TfsVariant(2)).AsDouble(), 3.5);
    EXPECT_EQ(fsVarDivInt(TfsVariant(-7), TfsVariant(2)).ToInt(), -3);
    EXPECT_EQ(fsVarMod(TfsVariant(-7), TfsVariant(2)).ToInt(), -1);
    EXPECT_EQ(fsVarDivInt(TfsVariant(qint64(-9223372036854775807LL - 1)), TfsVariant(-1)).Kind(), TfsVarKind::Double);
    EXPECT_THROW(fsVarDivInt(i2, TfsVariant(0)), EfsRuntimeError);
    EXPECT_THROW(fsVarMod(i2, TfsVariant(0)), EfsRuntimeError);
    EXPECT_THROW(fsVarDivFloat(i2, TfsVariant(0.0)), EfsRuntimeError);
    EXPECT_THROW(fsVarAdd(i2, TfsVariant(QStringLiteral("x"))), EfsRuntimeError);
    EXPECT_EQ(fsVarAnd(TfsVariant(true), TfsVariant(false)).Kind(), TfsVarKind::Bool);
    EXPECT_EQ(fsVarAnd(TfsVariant(12), TfsVariant(10)).ToInt(), 8);
    EXPECT_EQ(fsVarNot(TfsVariant(0)).ToInt(), -1);
}

TEST(Variant, ComparisonAndConversion)
{
    TFormatSettingsScope scope(russianFormatSettings());
    EXPECT_TRUE(fsVarEquals(TfsVariant(2), TfsVariant(2.0)));
    EXPECT_TRUE(fsVarEquals(TfsVariant::Null(), TfsVariant::Null()));
    EXPECT_FALSE(fsVarEquals(TfsVariant::Null(), TfsVariant(0)));
    EXPECT_EQ(fsVarCompare(TfsVariant::Null(), TfsVariant(-5)), TfsVarCompare::Less);
    EXPECT_EQ(fsVarCompare(TfsVariant(QStringLiteral("abc")), TfsVariant(QStringLiteral("abd"))), TfsVarCompare::Less);
    EXPECT_TRUE(fsVarEquals(TfsVariant(QStringLiteral("1,5")), TfsVariant(1.5))); // regional decimal comma
    EXPECT_EQ(TfsVariant(2.5).ToString(), QStringLiteral("2,5"));
    EXPECT_EQ(TfsVariant(QStringLiteral("2,5")).ToDouble(), 2.5);
    EXPECT_EQ(TfsVariant(2.5).ToInt(), 2);  // halves go to the even neighbour
    EXPECT_EQ(TfsVariant(3.5).ToInt(), 4);
    EXPECT_EQ(TfsVariant(true).ToInt(), -1);
    EXPECT_EQ(TfsVariant(true).ToString(), QStringLiteral("True"));
    EXPECT_TRUE(TfsVariant(QStringLiteral("true")).ToBool());
    EXPECT_THROW(TfsVariant::Null().ToString(), EfsRuntimeError);
    EXPECT_EQ(TfsVariant::Null().ToText(), QString());
    EXPECT_THROW(TfsVariant(QStringLiteral("12a")).ToInt(), EfsRuntimeError);
    EXPECT_THROW(TfsVariant(1e300).ToInt(), EfsRuntimeError);
    try {
        TfsVariant(QStringLiteral("x")).ToDouble();
    } catch (const EfsRuntimeError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Could not convert variant of type (String) into type (Double)"));
        EXPECT_EQ(e.ClassName(), QStringLiteral("EVariantTypeCastError"));
    }
}

TEST(Variant, ArraysCopyOnWrite)
{
    TfsVariant a = TfsVariant::CreateArray({{0, 4}});
    EXPECT_EQ(a.ArrayHighBound() - a.ArrayLowBound() + 1, 5);
    a.SetElement({2}, TfsVariant(7));
    TfsVariant b = a;
    b.SetElement({2}, TfsVariant(8));
    EXPECT_EQ(a.GetElement({2}).ToInt(), 7);
    EXPECT_EQ(b.GetElement({2}).ToInt(), 8);
    EXPECT_THROW(a.GetElement({5}), EfsRuntimeError);
    EXPECT_THROW(a.GetElement({0, 0}), EfsRuntimeError);
    a.RedimArray(0, 1);
    EXPECT_EQ(a.ArrayHighBound(), 1);
    EXPECT_THROW(TfsVariant::CreateArray({{0, 2000000000}}), EfsRuntimeError);

    TTestScript t;
    EXPECT_EQ(t.Run(QStringLiteral(
                  "var a: array[1..3] of Integer; m: array[0..1, 0..1] of Integer; s: String; i, sum: Integer;\n"
                  "begin for i := 1 to 3 do a[i] := i * i; for i := 1 to 3 do sum := sum + a[i]; ShowMessage(sum);\n"
                  "  m[1, 0] := 5; ShowMessage(m[1, 0] + m[0, 1]);\n"
                  "  s := 'abc'; s[2] := 'X'; ShowMessage(s); ShowMessage(s[3]) end.")),
              (QStringList{QStringLiteral("14"), QStringLiteral("5"), QStringLiteral("aXc"), QStringLiteral("c")}));
}

TEST(Variant, ScriptOperatorsOnIntegersFollowTheRules)
{
    // The expression nodes work integers out themselves: at every edge
    // (Integer overflow, Int64 overflow, mixed widths, large Int64 order)
    // they give the value and kind the variant rules give.
    const qint64 maxInt64 = std::numeric_limits<qint64>::max();
    const TfsVariant values[] = {TfsVariant(0), TfsVariant(-7), TfsVariant(2147483647), TfsVariant(int(-2147483647 - 1)),
                                 TfsVariant(qint64(5)), TfsVariant(maxInt64), TfsVariant(-maxInt64 - 1),
                                 TfsVariant(qint64(9007199254740993LL))};
    struct TOp {
        const char *Text;
        std::function<TfsVariant(const TfsVariant &, const TfsVariant &)> Rule;
    };
    const TOp ops[] = {
        {"a + b", fsVarAdd},
        {"a - b", fsVarSub},
        {"a * b", fsVarMul},
        {"a < b", [](const TfsVariant &x, const TfsVariant &y) { return TfsVariant(fsVarCompare(x, y) == TfsVarCompare::Less); }},
        {"a > b", [](const TfsVariant &x, const TfsVariant &y) { return TfsVariant(fsVarCompare(x, y) == TfsVarCompare::Greater); }},
        {"a <= b", [](const TfsVariant &x, const TfsVariant &y) { return TfsVariant(fsVarCompare(x, y) != TfsVarCompare::Greater); }},
        {"a >= b", [](const TfsVariant &x, const TfsVariant &y) { return TfsVariant(fsVarCompare(x, y) != TfsVarCompare::Less); }},
    };
    TTestScript t;
    t.Script.AddVariable(QStringLiteral("a"), QStringLiteral("Variant"), TfsVariant());
    t.Script.AddVariable(QStringLiteral("b"), QStringLiteral("Variant"), TfsVariant());
    for (const TfsVariant &a : values)
        for (const TfsVariant &b : values) {
            t.Script.SetVariables(QStringLiteral("a"), a);
            t.Script.SetVariables(QStringLiteral("b"), b);
            for (const TOp &op : ops) {
                const TfsVariant got = t.Script.Evaluate(QString::fromLatin1(op.Text));
                const TfsVariant want = op.Rule(a, b);
                const std::string label = std::string(op.Text) + " with a = " + a.ToString().toStdString() +
                                          ", b = " + b.ToString().toStdString();
                ASSERT_FALSE(t.Script.EvaluteRiseError()) << label;
                EXPECT_EQ(got.Kind(), want.Kind()) << label;
                EXPECT_TRUE(fsVarEquals(got, want)) << label;
            }
        }
}
