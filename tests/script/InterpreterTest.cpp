// Compiling and running PascalScript programs: statements, calls, errors.

#include "ScriptTestUtil.h"

#include "script/fs_iilparser.h"

TEST(Interpreter, EmptyProgramHasEmptyMainBlock)
{
    TTestScript t;
    ASSERT_TRUE(t.Compile(QStringLiteral("begin\r\n\r\nend.")));
    EXPECT_EQ(t.Script.Statement()->Count(), 0);
    EXPECT_TRUE(t.Script.ErrorPos().isEmpty());

    TfsILParser front(&t.Script);
    front.SelectLanguage(QStringLiteral("PascalScript"));
    ASSERT_TRUE(front.MakeILScript(QStringLiteral("begin\r\n\r\nend.")));
    TfsXMLItem *root = front.ILScript().Root();
    EXPECT_EQ(root->Name(), QStringLiteral("program"));
    ASSERT_EQ(root->Count(), 1);
    EXPECT_EQ(root->Items(0)->Name(), QStringLiteral("compoundstmt"));
    EXPECT_EQ(root->Items(0)->Count(), 0);
    EXPECT_EQ(root->Items(0)->Prop(QStringLiteral("pos")), QStringLiteral("1:1"));
    EXPECT_EQ(root->Items(0)->Prop(QStringLiteral("pos1")), QStringLiteral("3:4"));
}

TEST(Interpreter, CompileErrorsCarryTextAndPosition)
{
    TTestScript t;
    EXPECT_EQ(t.CompileError(QStringLiteral("begin x := 1 end.")), QStringLiteral("1:7: Undeclared identifier: 'x'"));
    EXPECT_EQ(t.CompileError(QStringLiteral("var a, b: Integer;\nbegin a := 1 b := 2 end.")),
              QStringLiteral("2:14: ';' expected"));
    EXPECT_EQ(t.CompileError(QStringLiteral("begin end")), QStringLiteral("1:10: '.' expected"));
    EXPECT_EQ(t.CompileError(QStringLiteral("var a: Integer; begin a := end.")),
              QStringLiteral("1:28: Expression expected"));
    EXPECT_EQ(t.CompileError(QStringLiteral("var a: Integer; begin a := 'xy' end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Incompatible types: 'Integer', 'String'"));
    EXPECT_EQ(t.CompileError(QStringLiteral("var a: Integer; begin a := 1.5 end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Incompatible types: 'Integer', 'Extended'"));
    EXPECT_EQ(t.CompileError(QStringLiteral("var a: Integer; a: String; begin end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Identifier redeclared: 'a'"));
    EXPECT_EQ(t.CompileError(QStringLiteral("var a: TNoSuchType; begin end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Unknown type: 'TNoSuchType'"));
    EXPECT_EQ(t.CompileError(QStringLiteral("procedure P(a: Integer); begin end; begin P end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Not enough actual parameters"));
    EXPECT_EQ(t.CompileError(QStringLiteral("procedure P(a: Integer); begin end; begin P(1, 2) end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Too many actual parameters"));
    EXPECT_EQ(t.CompileError(QStringLiteral("procedure P(var a: Integer); begin end; begin P(1) end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Variable required"));
    EXPECT_EQ(t.CompileError(QStringLiteral("const c = 1; begin c := 2 end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Left side cannot be assigned to"));
    EXPECT_EQ(t.CompileError(QStringLiteral("var s: String; begin for s := 1 to 2 do end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("For loop variable must be numeric variable"));
    EXPECT_EQ(t.CompileError(QStringLiteral("var s: String; begin s.Foo end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Strings do not have properties or methods"));
    EXPECT_EQ(t.CompileError(QStringLiteral("var b: Boolean; begin b[1] := 1 end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Array type required"));
    EXPECT_EQ(t.CompileError(QStringLiteral("begin try finally end.")), QStringLiteral("1:22: ';' expected"));
    EXPECT_EQ(t.CompileError(QStringLiteral("begin try ; end end.")), QStringLiteral("1:13: 'FINALLY' or 'EXCEPT' expected"));
    EXPECT_EQ(t.CompileError(QStringLiteral("begin while True ShowMessage(1) end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("'DO' expected"));
    EXPECT_EQ(t.CompileError(QStringLiteral("begin repeat until end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Expression expected"));
    EXPECT_EQ(t.CompileError(QStringLiteral("begin end. garbage")).section(QStringLiteral(": "), 1),
              QStringLiteral("Statement expected"));
}

TEST(Interpreter, LiteralsAndOperators)
{
    TTestScript t;
    EXPECT_EQ(t.Run(QStringLiteral(
                  "begin ShowMessage('it''s'); ShowMessage('a'#13#10'b'); ShowMessage($FF); ShowMessage(7 div 2);"
                  " ShowMessage(7 mod 3); ShowMessage(1 + 2 * 3); ShowMessage((1 + 2) * 3); ShowMessage(2 - 3 - 4);"
                  " ShowMessage(not True); ShowMessage(6 and 3); ShowMessage(True or False); ShowMessage(1 shl 4);"
                  " ShowMessage('ab' + 'cd'); ShowMessage(-2 * 3); ShowMessage(3 in [1, 2..4]); ShowMessage(5 in [1, 2..4]);"
                  " ShowMessage(1 < 2); ShowMessage(2 <= 1); ShowMessage('a' <> 'b'); ShowMessage(5 xor 1);"
                  " ShowMessage(1e3); ShowMessage(10 / 4) end.")),
              L({"it's", "a\r\nb", "255", "3", "1", "7", "9", "-5", "False", "2", "True", "16", "abcd", "-6", "True",
                 "False", "True", "False", "True", "4", "1000", "2.5"}));
}

TEST(Interpreter, LoopsAndFlow)
{
    TTestScript t;
    // for 5 to 1 runs no pass and leaves the variable alone; downto counts down;
    // break in a while inside a for ends only the while.
    EXPECT_EQ(t.Run(QStringLiteral(
                  "var i, j, n: Integer;\n"
                  "begin\n"
                  "  i := 42; for i := 5 to 1 do ShowMessage('never'); ShowMessage(i);\n"
                  "  for i := 3 downto 1 do ShowMessage(i);\n"
                  "  n := 0;\n"
                  "  for i := 1 to 3 do begin j := 0; while True do begin j := j + 1; if j = 2 then break end; n := n + j end;\n"
                  "  ShowMessage(n); ShowMessage(i);\n"
                  "  n := 0; for i := 1 to 10 do begin if i mod 2 = 0 then continue; n := n + i end; ShowMessage(n);\n"
                  "  i := 0; repeat i := i + 1 until i >= 4; ShowMessage(i);\n"
                  "  case i of 1: ShowMessage('one'); 2, 3: ShowMessage('two'); 4..6: ShowMessage('range') else ShowMessage('else') end;\n"
                  "  case 9 of 1: ShowMessage('one'); else ShowMessage('else'); end;\n"
                  "  if i > 3 then ShowMessage('big') else ShowMessage('small');\n"
                  "end.")),
              L({"42", "3", "2", "1", "6", "3", "25", "4", "range", "else", "big"}));
}

TEST(Interpreter, ProceduresRecursionAndExit)
{
    TTestScript t;
    EXPECT_EQ(t.Run(QStringLiteral(
                  "var r: Integer;\n"
                  "function Fib(n: Integer): Integer;\n"
                  "begin if n < 2 then Result := n else Result := Fib(n - 1) + Fib(n - 2) end;\n"
                  "function Early(x: Integer): String;\n"
                  "begin Result := 'start'; try if x > 0 then exit; Result := 'after' finally ShowMessage('finally') end; Result := 'end' end;\n"
                  "procedure Swap(var a, b: Integer); var t: Integer; begin t := a; a := b; b := t end;\n"
                  "function Fact(n: Integer): Integer; begin if n <= 1 then Fact := 1 else Fact := n * Fact(n - 1) end;\n"
                  "var x, y: Integer;\n"
                  "begin\n"
                  "  ShowMessage(Fib(15)); ShowMessage(Early(1)); ShowMessage(Early(0));\n"
                  "  x := 1; y := 2; Swap(x, y); ShowMessage(x); ShowMessage(y);\n"
                  "  ShowMessage(Later(3)); ShowMessage(Fact(6));\n"
                  "end.\n")
                  .replace(QStringLiteral("var x, y: Integer;\n"),
                           QStringLiteral("function Later(n: Integer): Integer; begin Result := n * 10 end;\nvar x, y: Integer;\n"))),
              L({"610", "finally", "start", "finally", "end", "2", "1", "30", "720"}));
}

TEST(Interpreter, ExceptionsAndRunTimeErrors)
{
    TTestScript t;
    EXPECT_EQ(t.Run(QStringLiteral(
                  "var a: Integer;\n"
                  "begin\n"
                  "  a := 0;\n"
                  "  try a := 1 div a except ShowMessage(ExceptionClassName + ': ' + ExceptionMessage) end;\n"
                  "  try ShowMessage(1 / 0) except ShowMessage(ExceptionMessage) end;\n"
                  "  try try a := 10 div 0 finally ShowMessage('cleanup') end except ShowMessage('caught') end;\n"
                  "  try ShowMessage('x' + 1) except ShowMessage(ExceptionClassName) end;\n"
                  "end.")),
              L({"EDivByZero: Division by zero", "Floating point division by zero", "cleanup", "caught",
                 "EVariantTypeCastError"}));

    // An uncaught error leaves Execute with its message; the script can run again.
    ASSERT_TRUE(t.Compile(QStringLiteral("var a: Integer; begin a := 0; a := 5 div a end.")));
    try {
        t.Script.Execute();
        FAIL() << "no error";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Division by zero"));
    }
    EXPECT_FALSE(t.Script.IsRunning());
}

TEST(Interpreter, CallFunctionVariants)
{
    TTestScript t;
    ASSERT_TRUE(t.Compile(QStringLiteral(
        "var Counter: Integer;\n"
        "function Add(a, b: Integer): Integer; begin Result := a + b; Counter := Counter + 1 end;\n"
        "procedure Twice(var v: Integer; s: String); begin v := v * 2; s := 'changed' end;\n"
        "begin end.")));
    EXPECT_EQ(t.Script.CallFunction(QStringLiteral("Add"), {TfsVariant(2), TfsVariant(3)}).ToInt(), 5);
    EXPECT_EQ(t.Script.GetVariables(QStringLiteral("counter")).ToInt(), 1);
    std::vector<TfsVariant> params{TfsVariant(21), TfsVariant(QStringLiteral("s"))};
    EXPECT_TRUE(t.Script.CallFunction1(QStringLiteral("Twice"), params).IsNull());
    EXPECT_EQ(params[0].ToInt(), 42);
    // A variable is not a procedure: Null, nothing runs.
    EXPECT_TRUE(t.Script.CallFunction(QStringLiteral("Counter"), {}).IsNull());
    EXPECT_TRUE(t.Script.CallFunction(QStringLiteral("NoSuch"), {}).IsNull());
    EXPECT_EQ(t.Script.GetVariables(QStringLiteral("Counter")).ToInt(), 1);
    auto *add = static_cast<TfsProcVariable *>(t.Script.Find(QStringLiteral("ADD")));
    EXPECT_EQ(t.Script.CallFunction2(add, {TfsVariant(1), TfsVariant(1)}).ToInt(), 2);

    t.Script.SetVariables(QStringLiteral("Fresh"), TfsVariant(QStringLiteral("v")));
    EXPECT_EQ(t.Script.GetVariables(QStringLiteral("Fresh")).ToString(), QStringLiteral("v"));
    EXPECT_TRUE(t.Script.GetVariables(QStringLiteral("Unknown")).IsNull());
}

TEST(Interpreter, EvaluateAndLanguageRegistry)
{
    TTestScript t;
    t.Script.AddVariable(QStringLiteral("a"), QStringLiteral("Integer"), TfsVariant(4));
    EXPECT_EQ(t.Script.Evaluate(QStringLiteral("a * 2 + 1")).ToInt(), 9);
    EXPECT_FALSE(t.Script.EvaluteRiseError());
    EXPECT_EQ(t.Script.Evaluate(QStringLiteral("a +")).ToString(), QStringLiteral("';' expected"));
    EXPECT_TRUE(t.Script.EvaluteRiseError());

    EXPECT_TRUE(fsGetLanguageList().contains(QStringLiteral("PascalScript")));
    fsRegisterLanguage(QStringLiteral("@Hidden"), fsGetLanguage(QStringLiteral("PascalScript")));
    EXPECT_FALSE(fsGetLanguageList().contains(QStringLiteral("@Hidden")));
    t.Script.SetSyntaxType(QStringLiteral("Klingon"));
    EXPECT_EQ(t.CompileError(QStringLiteral("begin end.")), QStringLiteral(": Language 'Klingon' not found"));
    t.Script.SetSyntaxType(QStringLiteral("PascalScript"));

    // A grammar that refers to a missing rule is refused as a definition.
    fsRegisterLanguage(QStringLiteral("Broken"),
                       QStringLiteral("<language text=\"Broken\"><program><nosuchrule/></program></language>"));
    t.Script.SetSyntaxType(QStringLiteral("Broken"));
    EXPECT_EQ(t.CompileError(QStringLiteral("x")), QStringLiteral(": Invalid language definition"));
    t.Script.SetSyntaxType(QStringLiteral("PascalScript"));
    // "#language" on the first line picks the language of the text.
    EXPECT_EQ(t.CompileError(QStringLiteral("#language Broken\r\nbegin end.")), QStringLiteral(": Invalid language definition"));
    EXPECT_TRUE(t.CompileError(QStringLiteral("#language PascalScript\r\nbegin end.")).isEmpty());
}

TEST(Interpreter, ResourcesReplaceMessages)
{
    TTestScript t;
    fsSetResources({{QStringLiteral("SIdUndeclared"), QStringLiteral("Unbekannt: ")},
                    {QStringLiteral("NotAScriptKey"), QStringLiteral("x")}});
    EXPECT_EQ(t.CompileError(QStringLiteral("begin y := 1 end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Unbekannt: 'y'"));
    EXPECT_EQ(fsResource(QStringLiteral("NotAScriptKey")), QStringLiteral("NotAScriptKey"));
    fsResetResources();
    EXPECT_EQ(fsResource(QStringLiteral("SIdUndeclared")), QStringLiteral("Undeclared identifier: "));
    EXPECT_EQ(fsResourceKeys().size(), 17);
}

// A script that never ends is stopped from outside: every loop kind polls at
// its back-edge and every call polls, the host's hook runs now and then and
// may stop the run, a try block cannot catch the stop, and a time limit
// stops the run by itself.
TEST(Interpreter, RunsThatNeverEndAreStoppedFromOutside)
{
    const char *endless[] = {
        "begin while True do ; end.",
        "begin repeat until False; end.",
        "var i: Integer; begin for i := 0 to 2147483647 do ; end.",
        "var a: Integer; begin a := 0; while True do try a := 1 div a except end; end.",
        "var a: Integer; begin while True do try a := 1 finally a := 2 end; end.",
        "function F(N: Integer): Integer; begin if N = 0 then Result := 0 else Result := F(N - 1) + F(N - 1) end;"
        " begin F(60) end.",
    };
    for (const char *text : endless) {
        TTestScript t;
        int polls = 0;
        t.Script.OnPoll = [&polls] {
            if (++polls == 3)
                throw EfsStopped(QStringLiteral("stopped"));
        };
        EXPECT_EQ(t.RunError(QString::fromLatin1(text)), QStringLiteral("stopped")) << text;
        EXPECT_EQ(polls, 3) << text;
    }
    // The hook of the main script is found from a procedure's own script.
    TTestScript nested;
    TfsScript child(&nested.Script);
    child.AddRTTI();
    bool asked = false;
    nested.Script.OnPoll = [&asked] {
        asked = true;
        throw EfsStopped(QStringLiteral("nested"));
    };
    child.SetLines(QStringLiteral("procedure P; begin while True do ; end; begin P end."));
    ASSERT_TRUE(child.Compile());
    EXPECT_THROW(child.Execute(), EfsStopped);
    EXPECT_TRUE(asked);

    TTestScript limited;
    fsSetTimeLimit(50);
    EXPECT_EQ(limited.RunError(QStringLiteral("begin while True do try except end; end.")),
              QStringLiteral("The script ran longer than the time limit of 50 ms and was stopped"));
    fsSetTimeLimit(0);
    EXPECT_EQ(limited.RunError(QStringLiteral("var i: Integer; begin for i := 1 to 100000 do ; end.")), QString());
}
