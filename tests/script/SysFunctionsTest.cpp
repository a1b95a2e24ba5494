// The built-in library every script sees: registration, the string, number,
// date and conversion functions, var parameters written back, errors.

#include "ScriptTestUtil.h"

#include "base/FormatSettings.h"
#include "script/fs_isysrtti.h"

namespace {

// Runs a script under the given regional settings; the texts it showed.
QStringList runWith(const TFormatSettings &settings, const char *source)
{
    TFormatSettingsScope scope(settings);
    TTestScript t;
    return t.Run(QString::fromUtf8(source));
}

QStringList run(const char *source)
{
    return runWith(englishFormatSettings(), source);
}

// The message of the error a script's run raises; empty when none.
QString runError(const char *source)
{
    TFormatSettingsScope scope(englishFormatSettings());
    TTestScript t;
    TRecordingUserInterface ui;
    if (!t.Compile(QString::fromUtf8(source)))
        return QStringLiteral("(did not compile)");
    try {
        t.Script.Execute();
    } catch (const Exception &e) {
        return e.Message();
    }
    return QString();
}

QString compileError(const char *source)
{
    TTestScript t;
    return t.CompileError(QString::fromUtf8(source)).section(QStringLiteral(": "), 1);
}

} // namespace

TEST(SysFunctions, RegistrationOrderAndCategories)
{
    TTestScript t;
    QStringList names, categories;
    int firstMethod = -1, lastMethod = -1, exceptionVar = -1, firstVarConst = -1, nullConst = -1, helper = -1;
    for (int i = 0; i < t.Script.Count(); ++i) {
        TfsCustomVariable *item = t.Script.Items(i);
        if (item->Kind() == TfsItemKind::Method) {
            auto *m = static_cast<TfsMethodHelper *>(item);
            names << m->FName;
            if (categories.isEmpty() || categories.back() != m->FCategory)
                categories << m->FCategory;
            if (firstMethod < 0)
                firstMethod = i;
            lastMethod = i;
        } else if (item->FName == QLatin1String("ExceptionMessage")) {
            exceptionVar = i;
        } else if (item->FName == QLatin1String("varEmpty")) {
            firstVarConst = i;
        } else if (item->FName == QLatin1String("Null")) {
            nullConst = i;
        } else if (item->FName == QLatin1String("__ArrayHelper")) {
            helper = i;
        }
    }
    EXPECT_EQ(names.join(QLatin1Char(' ')),
              QStringLiteral(
                  "IntToStr FloatToStr DateToStr TimeToStr DateTimeToStr BoolToStr VarToStr StrToInt StrToInt64 "
                  "StrToFloat StrToDate StrToTime StrToDateTime StrToBool "
                  "Format FormatFloat FormatDateTime FormatMaskText "
                  "EncodeDate DecodeDate EncodeTime DecodeTime Date Time Now DayOfWeek IsLeapYear DaysInMonth "
                  "Length Copy Pos Delete DeleteStr Insert Uppercase Lowercase Trim NameCase CompareText Chr Ord "
                  "SetLength "
                  "Round Trunc Int Frac Sqrt Abs Sin Cos ArcTan Tan Exp Ln Pi "
                  "Inc Dec RaiseException ShowMessage Randomize Random ValidInt ValidFloat ValidDate "
                  "ExtractFilePath CreateOleObject VarArrayCreate VarType"));
    EXPECT_EQ(names.size(), 68);
    EXPECT_EQ(categories, L({"ctConv", "ctFormat", "ctDate", "ctString", "ctMath", "ctOther"}));
    EXPECT_EQ(fsFunctionCategories().mid(0, 6), categories);
    // Types and constants, helpers, exception variables, functions, variant type codes.
    EXPECT_NE(t.Script.Find(QStringLiteral("Constructor")), nullptr);
    EXPECT_LT(nullConst, helper);
    EXPECT_LT(helper, exceptionVar);
    EXPECT_LT(exceptionVar, firstMethod);
    EXPECT_LT(lastMethod, firstVarConst);

    // The declarations give the parameters their kinds, defaults and var marks.
    auto *inc = static_cast<TfsMethodHelper *>(t.Script.Find(QStringLiteral("Inc")));
    ASSERT_EQ(inc->ParamCount(), 2);
    EXPECT_EQ(inc->GetNumberOfRequiredParams(), 1);
    EXPECT_TRUE(inc->GetParam(0)->FIsVarParam);
    EXPECT_EQ(inc->GetParam(1)->FDefValue.ToInt(), 1);
    auto *decode = static_cast<TfsMethodHelper *>(t.Script.Find(QStringLiteral("DecodeTime")));
    EXPECT_EQ(decode->ParamCount(), 5);
    EXPECT_FALSE(decode->FNeedResult);
    EXPECT_EQ(t.Script.Find(QStringLiteral("Format"))->GetParam(1)->FTyp, fvtArray);
    EXPECT_EQ(t.Script.Find(QStringLiteral("BoolToStr"))->FTyp, fvtString);
    EXPECT_EQ(fsRTTIModuleNames().value(0), QStringLiteral("TfsSysFunctions"));
}

TEST(SysFunctions, ModulesKeepTheirFixedOrder)
{
    const QStringList before = fsRTTIModuleNames();
    if (before.contains(QLatin1String(fsModuleIni)) || before.contains(QLatin1String(fsModuleGraphics)))
        GTEST_SKIP() << "the real modules are registered in this program";
    // The list outlives the test: the modules count into a static and register nothing.
    static int made = 0;
    auto factory = [](TfsScript *script) {
        ++made;
        return std::make_unique<TfsRTTIModule>(script);
    };
    // Registered out of order; a repeated name is ignored.
    fsRegisterRTTIModule(QLatin1String(fsModuleIni), factory);
    fsRegisterRTTIModule(QStringLiteral("SomeLaterModule"), factory);
    fsRegisterRTTIModule(QLatin1String(fsModuleGraphics), factory);
    fsRegisterRTTIModule(QLatin1String(fsModuleIni), factory);
    const QStringList names = fsRTTIModuleNames();
    EXPECT_EQ(names.first(), QStringLiteral("TfsSysFunctions"));
    EXPECT_EQ(names.count(QLatin1String(fsModuleIni)), 1);
    EXPECT_LT(names.indexOf(QLatin1String(fsModuleGraphics)), names.indexOf(QLatin1String(fsModuleIni)));
    EXPECT_LT(names.indexOf(QLatin1String(fsModuleIni)), names.indexOf(QStringLiteral("SomeLaterModule")));
    EXPECT_EQ(names.size(), qsizetype(fsRTTIModules().size()));
    made = 0;
    TTestScript t;
    EXPECT_EQ(made, 3);
}

TEST(SysFunctions, StringFunctions)
{
    EXPECT_EQ(run("begin ShowMessage(NameCase('иван  петров')); ShowMessage(NameCase('ОЛЬГА иВАНОВНА'));\n"
                  "  ShowMessage(Uppercase('Щука abc')); ShowMessage(Lowercase('ЁЛКА XY')) end."),
              L({"Иван  Петров", "Ольга Ивановна", "ЩУКА ABC", "ёлка xy"}));
    EXPECT_EQ(run("var a: array[0..4] of Integer; v: Variant;\n"
                  "begin ShowMessage(Length('abc')); ShowMessage(Length(a)); ShowMessage(Length(''));\n"
                  "  ShowMessage(Length(VarArrayCreate([0, 4], varVariant)));\n"
                  "  ShowMessage(Length(VarArrayCreate([1, 3, 0, 9], varInteger))); ShowMessage(Length(v)) end."),
              L({"3", "5", "0", "5", "3", "0"}));
    // Positions count from 1; out-of-range arguments give the platform's quiet results.
    EXPECT_EQ(run("begin ShowMessage(Copy('abcdef', 2, 3)); ShowMessage(Copy('abcdef', 0, 2));\n"
                  "  ShowMessage(Copy('abcdef', 5, 100)); ShowMessage('[' + Copy('abc', 4, 1) + Copy('abc', 1, -1) + ']');\n"
                  "  ShowMessage(Pos('cd', 'abcdcd')); ShowMessage(Pos('x', 'abc')); ShowMessage(Pos('', 'abc')) end."),
              L({"bcd", "ab", "ef", "[]", "3", "0", "0"}));
    EXPECT_EQ(run("begin ShowMessage(CompareText('Привет', 'пРИВЕТ')); ShowMessage(CompareText('abc', 'abd') < 0);\n"
                  "  ShowMessage(CompareText('b', 'A') > 0); ShowMessage('[' + Trim(#9'  a b '#13#10) + ']');\n"
                  "  ShowMessage(Chr(65) + Chr(1046)); ShowMessage(Ord('A')); ShowMessage(Ord('Ж')); ShowMessage(Ord('')) end."),
              L({"0", "True", "True", "[a b]", "AЖ", "65", "1046", "0"}));
    EXPECT_EQ(runError("begin Chr(-1) end."), QStringLiteral("Range check error"));
}

TEST(SysFunctions, VarParamsAreWrittenBack)
{
    EXPECT_EQ(run("var s: String; y, m, d, h, n, sec, ms: Integer;\n"
                  "begin s := 'abcdef'; Delete(s, 2, 3); ShowMessage(s);\n"
                  "  s := 'abcdef'; DeleteStr(s, 5, 10); ShowMessage(s);\n"
                  "  s := 'abc'; Delete(s, 0, 1); Delete(s, 4, 1); Delete(s, 1, 0); ShowMessage(s);\n"
                  "  s := 'ad'; Insert('bc', s, 2); ShowMessage(s); Insert('<', s, -5); Insert('>', s, 99); ShowMessage(s);\n"
                  "  DecodeDate(EncodeDate(2016, 2, 29), y, m, d); ShowMessage(IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d));\n"
                  "  DecodeTime(EncodeTime(13, 45, 7, 250), h, n, sec, ms);\n"
                  "  ShowMessage(IntToStr(h) + ':' + IntToStr(n) + ':' + IntToStr(sec) + '.' + IntToStr(ms)) end."),
              L({"aef", "abcd", "abc", "abcd", "<abcd>", "2016-2-29", "13:45:7.250"}));
    // SetLength: texts are cut or padded; anything else becomes an array 0..L-1 keeping its elements.
    EXPECT_EQ(run("var s: String; v: Variant;\n"
                  "begin s := 'abcdef'; SetLength(s, 2); ShowMessage(s); SetLength(s, 4); ShowMessage('[' + s + ']');\n"
                  "  v := 'xyz'; SetLength(v, 1); ShowMessage(v);\n"
                  "  v := Null; SetLength(v, 3); v[2] := 'last'; ShowMessage(Length(v)); ShowMessage(v[2]);\n"
                  "  SetLength(v, 5); ShowMessage(v[2]); ShowMessage(Length(v)); SetLength(v, -1); ShowMessage(Length(v)) end."),
              L({"ab", "[ab  ]", "x", "3", "last", "last", "5", "0"}));
    EXPECT_EQ(run("var i: Integer; f: Double;\n"
                  "begin i := 10; Inc(i); ShowMessage(i); Inc(i, 5); ShowMessage(i); Dec(i); Dec(i, 20); ShowMessage(i);\n"
                  "  f := 1; Inc(f); ShowMessage(f) end."),
              L({"11", "16", "-5", "2"}));
    EXPECT_EQ(runError("var i: Integer; begin i := 2147483647; Inc(i) end."), QStringLiteral("Integer overflow"));
}

TEST(SysFunctions, Mathematics)
{
    EXPECT_EQ(run("begin ShowMessage(Round(2.5)); ShowMessage(Round(3.5)); ShowMessage(Round(-2.5)); ShowMessage(Round(2.6));\n"
                  "  ShowMessage(Int(-2.7)); ShowMessage(VarType(Int(-2.7)) = varDouble); ShowMessage(Trunc(-2.7));\n"
                  "  ShowMessage(VarType(Trunc(-2.7)) = varInteger); ShowMessage(Frac(-2.75)); ShowMessage(Abs(-4));\n"
                  "  ShowMessage(Pi); ShowMessage(Round(Tan(Pi / 4) * 1000)); ShowMessage(Sqrt(16)); ShowMessage(Exp(0));\n"
                  "  ShowMessage(Round(Ln(Exp(3)))); ShowMessage(Round(ArcTan(1) * 4 * 1000)) end."),
              L({"2", "4", "-2", "3", "-2", "True", "-2", "True", "-0.75", "4", "3.14159265358979", "1000", "4", "1",
                 "3", "3142"}));
    EXPECT_EQ(runError("begin Sqrt(-1) end."), QStringLiteral("Invalid floating point operation"));
    EXPECT_EQ(runError("begin Ln(0) end."), QStringLiteral("Floating point division by zero"));
    EXPECT_EQ(runError("begin Exp(100000) end."), QStringLiteral("Floating point overflow"));
    EXPECT_EQ(runError("begin Trunc(1e30) end."), QStringLiteral("Invalid floating point operation"));

    TTestScript t;
    ASSERT_TRUE(t.Compile(QStringLiteral("var i: Integer; x, lo, hi: Double;\n"
                                         "begin Randomize; lo := 1; hi := 0;\n"
                                         "  for i := 1 to 2000 do begin x := Random; if x < lo then lo := x; if x > hi then hi := x end end.")));
    t.Script.Execute();
    const double lo = t.Script.GetVariables(QStringLiteral("lo")).ToDouble();
    const double hi = t.Script.GetVariables(QStringLiteral("hi")).ToDouble();
    EXPECT_GE(lo, 0.0);
    EXPECT_LT(hi, 1.0);
    EXPECT_LT(lo, 0.01);
    EXPECT_GT(hi, 0.99);
}

TEST(SysFunctions, Dates)
{
    EXPECT_EQ(run("begin ShowMessage(DaysInMonth(2016, 2)); ShowMessage(DaysInMonth(2015, 2)); ShowMessage(DaysInMonth(2015, 12));\n"
                  "  ShowMessage(IsLeapYear(2000)); ShowMessage(IsLeapYear(1900));\n"
                  "  ShowMessage(DayOfWeek(EncodeDate(2026, 12, 6))); ShowMessage(DayOfWeek(EncodeDate(2026, 12, 12)));\n"
                  "  ShowMessage(EncodeDate(1899, 12, 31)); ShowMessage(EncodeTime(12, 0, 0, 0));\n"
                  "  ShowMessage(Date = Trunc(Now)); ShowMessage((Time >= 0) and (Time < 1)) end."),
              L({"29", "28", "31", "True", "False", "1", "7", "1", "0.5", "True", "True"}));
    EXPECT_EQ(runError("begin EncodeDate(2015, 2, 29) end."), QStringLiteral("Invalid argument to date encode"));
    EXPECT_EQ(runError("begin EncodeTime(24, 0, 0, 0) end."), QStringLiteral("Invalid argument to time encode"));
}

TEST(SysFunctions, ConversionsFollowTheRegionalSettings)
{
    const char *source =
        "var d: TDateTime;\n"
        "begin d := EncodeDate(2016, 2, 29) + EncodeTime(13, 5, 0, 0);\n"
        "  ShowMessage(FloatToStr(2.5)); ShowMessage(StrToFloat(FloatToStr(1234.5)) = 1234.5);\n"
        "  ShowMessage(DateToStr(d)); ShowMessage(TimeToStr(d)); ShowMessage(DateTimeToStr(d));\n"
        "  ShowMessage(StrToDate(DateToStr(d)) = Trunc(d)); ShowMessage(Round(StrToTime(TimeToStr(d)) * 24 * 60));\n"
        "  ShowMessage(Format('%d|%5.2f|%s|%s', [42, 3.14159, 'txt', 'c']));\n"
        "  ShowMessage(FormatFloat('#,##0.00', 1234.5)); ShowMessage(FormatFloat('0.0;(0.0)', -2));\n"
        "  ShowMessage(FormatDateTime('dd mmm yyyy hh:nn', d)); ShowMessage(ValidFloat('1.5')); ShowMessage(ValidFloat('1,5'));\n"
        "  ShowMessage(ValidDate('29.02.2016')); ShowMessage(ValidDate('2/29/2016'));\n"
        "  ShowMessage(FormatMaskText('00/00/0000;0;_', '290216')) end.";
    EXPECT_EQ(runWith(russianFormatSettings(), source),
              L({"2,5", "True", "29.02.2016", "13:05:00", "29.02.2016 13:05:00", "True", "785",
                 "42| 3,14|txt|c", "1\xC2\xA0" "234,50", "(2,0)", "29 фев 2016 13:05", "False", "True", "True", "False",
                 "29.02.16  "}));
    EXPECT_EQ(runWith(englishFormatSettings(), source),
              L({"2.5", "True", "2/29/2016", "1:05:00 PM", "2/29/2016 1:05:00 PM", "True", "785",
                 "42| 3.14|txt|c", "1,234.50", "(2.0)", "29 Feb 2016 13:05", "True", "False", "False", "True",
                 "29/02/16  "}));
    EXPECT_EQ(run("begin ShowMessage(IntToStr(-7)); ShowMessage(StrToInt(' 12') + 1); ShowMessage(StrToInt64('9000000000'));\n"
                  "  ShowMessage(BoolToStr(True)); ShowMessage(BoolToStr(False)); ShowMessage(StrToBool('true'));\n"
                  "  ShowMessage(StrToBool('0')); ShowMessage('[' + VarToStr(Null) + ']'); ShowMessage(VarToStr(1.5));\n"
                  "  ShowMessage(ValidInt('12a')); ShowMessage(ValidInt('$1F')); ShowMessage(Format('%s=%s', ['n', Null])) end."),
              L({"-7", "13", "9000000000", "-1", "0", "True", "False", "[]", "1.5", "False", "True", "n="}))
        << "a Null element formats as an empty text";
}

TEST(SysFunctions, ConversionErrors)
{
    EXPECT_EQ(runError("begin StrToInt('12a') end."), QStringLiteral("'12a' is not a valid integer value"));
    EXPECT_EQ(runError("begin StrToFloat('x') end."), QStringLiteral("'x' is not a valid floating point value"));
    EXPECT_EQ(runError("begin StrToDate('31.31.2016') end."), QStringLiteral("'31.31.2016' is not a valid date"));
    EXPECT_EQ(runError("begin StrToBool('maybe') end."), QStringLiteral("'maybe' is not a valid boolean value"));
    EXPECT_EQ(runError("begin Format('%d', ['x']) end."), QStringLiteral("Format '%d' invalid or incompatible with argument"));
    EXPECT_EQ(run("begin try StrToInt('12a'); ShowMessage('not reached') except\n"
                  "  ShowMessage(ExceptionClassName); ShowMessage(ExceptionMessage) end end."),
              L({"EConvertError", "'12a' is not a valid integer value"}));
}

TEST(SysFunctions, RaisedErrorsAndOtherFunctions)
{
    EXPECT_EQ(run("begin try RaiseException('Stop here') except ShowMessage(ExceptionClassName + ': ' + ExceptionMessage) end;\n"
                  "  try CreateOleObject('Word.Application') except ShowMessage(ExceptionMessage) end end."),
              L({"Exception: Stop here", "Automation objects are not available on this system"}));
    EXPECT_EQ(runError("begin RaiseException('Unhandled') end."), QStringLiteral("Unhandled"));
    EXPECT_EQ(run("begin ShowMessage(ExtractFilePath('C:\\dir\\sub\\file.fr3')); ShowMessage(ExtractFilePath('/home/u/a.txt'));\n"
                  "  ShowMessage(ExtractFilePath('C:file')); ShowMessage('[' + ExtractFilePath('name') + ']') end."),
              L({"C:\\dir\\sub\\", "/home/u/", "C:", "[]"}));
    // Variant arrays: bounds per dimension, typed elements, type codes.
    EXPECT_EQ(run("var a, b: Variant;\n"
                  "begin a := VarArrayCreate([1, 2, 0, 2], varInteger); a[2, 2] := 7; ShowMessage(a[2, 2] + a[1, 0]);\n"
                  "  ShowMessage(VarType(a) = varArray or varInteger); b := VarArrayCreate([0, 1], varVariant);\n"
                  "  ShowMessage(VarType(b[0]) = varEmpty); ShowMessage(VarType(b) = varArray + varVariant);\n"
                  "  ShowMessage(VarType('s') = varString); ShowMessage(VarType(1) = varInteger);\n"
                  "  ShowMessage(VarType(True) = varBoolean); ShowMessage(VarType(Null) = varNull) end."),
              L({"7", "True", "True", "True", "True", "True", "True", "True"}));
    EXPECT_EQ(runError("begin VarArrayCreate([0, 1, 2], varVariant) end."), QStringLiteral("Invalid argument"));
    EXPECT_EQ(runError("begin VarArrayCreate([5, 1], varVariant) end."),
              QStringLiteral("Error creating variant or safe array"));
    EXPECT_EQ(runError("var a: Variant; begin a := VarArrayCreate([0, 1], varVariant); a[2] := 1 end."),
              QStringLiteral("Variant or safe array index out of bounds"));
}

TEST(SysFunctions, ArgumentCountsAreCheckedWhenCompiling)
{
    EXPECT_EQ(compileError("begin Copy('abc', 1) end."), QStringLiteral("Not enough actual parameters"));
    EXPECT_EQ(compileError("begin ShowMessage(Pos('a', 'b', 'c')) end."), QStringLiteral("Too many actual parameters"));
    EXPECT_EQ(compileError("var i: Integer; begin Inc(i, 1, 2) end."), QStringLiteral("Too many actual parameters"));
    EXPECT_EQ(compileError("var i: Integer; begin Inc end."), QStringLiteral("Not enough actual parameters"));
    EXPECT_EQ(compileError("begin ShowMessage(Pi(1)) end."), QStringLiteral("Too many actual parameters"));
}
