// Host objects, classes and methods; hooks; cancellation and deep recursion.

#include "ScriptTestUtil.h"
#include "TestObjects.h"

TEST(Host, ObjectsAndPublishedProperties)
{
    TTestScript t;
    TfsClassVariable *memoClass = t.Script.AddClass(QStringLiteral("TTestMemo"), QString(), &TTestMemo::staticMetaObject);
    TfsClassVariable *bigClass = t.Script.AddClass(QStringLiteral("TTestBigMemo"), QStringLiteral("TTestMemo"),
                                                   &TTestBigMemo::staticMetaObject);
    EXPECT_EQ(bigClass->FParentClass, memoClass);
    memoClass->AddMethod(QStringLiteral("function Shout(Times: Integer = 2): String"),
                         [](QObject *o, TfsClassVariable *, const QString &name, TfsCustomVariable &caller) {
                             EXPECT_EQ(name, QStringLiteral("SHOUT"));
                             return TfsVariant(static_cast<TTestMemo *>(o)->Text().repeated(caller.ParamValue(0).ToInt()));
                         });
    TTestBigMemo memo;
    memo.SetText(QStringLiteral("hi"));
    TfsVariable *v = t.Script.AddObject(QStringLiteral("Memo1"), &memo);
    EXPECT_EQ(v->FTypeName, QStringLiteral("TTestBigMemo"));
    EXPECT_EQ(t.Script.GetVariables(QStringLiteral("Memo1")).ToObject(), &memo);

    EXPECT_EQ(t.Run(QStringLiteral(
                  "var o: Variant;\n"
                  "begin ShowMessage(Memo1.Text); Memo1.Text := 'new'; Memo1.left := Memo1.Left + 5;\n"
                  "  ShowMessage(Memo1.Shout); ShowMessage(Memo1.Shout(3));\n"
                  "  ShowMessage(Memo1 is TTestMemo); o := Memo1; ShowMessage(o.Text);\n"
                  "  with Memo1 do begin Text := 'with'; ShowMessage(Left) end end.")),
              (QStringList{QStringLiteral("hi"), QStringLiteral("newnew"), QStringLiteral("newnewnew"),
                           QStringLiteral("True"), QStringLiteral("new"), QStringLiteral("5")}));
    EXPECT_EQ(memo.Text(), QStringLiteral("with"));
    EXPECT_EQ(memo.Left(), 5);

    EXPECT_EQ(t.CompileError(QStringLiteral("begin Memo1.Visible := False end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Left side cannot be assigned to"));
    EXPECT_EQ(t.CompileError(QStringLiteral("begin Memo1[0] := 1 end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Class TTestBigMemo does not have a default property"));
    EXPECT_EQ(t.CompileError(QStringLiteral("begin Memo1.NoSuch := 1 end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Undeclared identifier: 'NoSuch'"));
    // A member unknown to the class of a Variant is an error when the script runs.
    ASSERT_TRUE(t.Compile(QStringLiteral("var o: Variant; begin o := Memo1; o.NoSuch := 1 end.")));
    EXPECT_THROW(t.Script.Execute(), EfsRuntimeError);
}

TEST(Host, MethodsWithDefaultsVarParamsAndMacros)
{
    TTestScript t;
    QStringList seen;
    auto record = [&seen](QObject *, TfsClassVariable *, const QString &name, TfsCustomVariable &caller) {
        QStringList args;
        for (int i = 0; i < caller.ParamCount(); ++i)
            args << caller.ParamValue(i).ToText();
        seen << name + QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')');
        if (name == QLatin1String("BUMP"))
            caller.SetParamValue(0, fsVarAdd(caller.ParamValue(0), caller.ParamValue(1)));
        return TfsVariant(1);
    };
    TfsMethodHelper *m = t.Script.AddMethod(QStringLiteral("function SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant"),
                                            record, QStringLiteral("ctOther"), QStringLiteral("sum"));
    EXPECT_EQ(m->GetNumberOfRequiredParams(), 1);
    EXPECT_EQ(m->ParamCount(), 3);
    t.Script.AddMethod(QStringLiteral("procedure Bump(var i: Integer; incr: Integer = 1)"), record);
    TfsMethodHelper *iif = t.Script.AddMethod(
        QStringLiteral("macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant"), record);
    EXPECT_TRUE(iif->FIsMacro);
    EXPECT_THROW(t.Script.AddMethod(QStringLiteral("nonsense"), record), EfsCompileError);

    t.Run(QStringLiteral("var i: Integer; begin SUM(5); SUM(1, 2, 3); i := 10; Bump(i); Bump(i, 5); SUM(i);\n"
                         "  IIF(i > 3, 'a, b', Copy(x, 1)) end."));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("SUM(5,0,0)"), QStringLiteral("SUM(1,2,3)"), QStringLiteral("BUMP(10,1)"),
                                 QStringLiteral("BUMP(11,5)"), QStringLiteral("SUM(16,0,0)"),
                                 QStringLiteral("IIF(i > 3,'a, b',Copy(x, 1))")}));
}

TEST(Host, HooksAndItemLifetime)
{
    TTestScript t;
    int lines = 0;
    t.Script.OnRunLine = [&lines](TfsScript *, const QString &, const QString &) { ++lines; };
    t.Script.AddVariable(QStringLiteral("Hooked"), QStringLiteral("Integer"), TfsVariant(1));
    t.Script.OnGetVarValue = [](const QString &name, TfsVarType, const TfsVariant &value) {
        return name == QLatin1String("Hooked") ? TfsVariant(99) : TfsVariant::Null() ;
        Q_UNUSED(value);
    };
    EXPECT_EQ(t.Run(QStringLiteral("var a: Integer; begin a := 1; a := 2; ShowMessage(Hooked) end.")),
              QStringList{QStringLiteral("99")});
    EXPECT_EQ(lines, 3);
    EXPECT_TRUE(t.Script.IsExecutableLine(1));
    EXPECT_FALSE(t.Script.IsExecutableLine(2));

    // Owner tags: ClearItems and RemoveItems free only the tagged items; Clear keeps built-ins.
    int owner = 0;
    t.Script.SetAddedBy(&owner);
    t.Script.AddVariable(QStringLiteral("Tagged"), QStringLiteral("Integer"), TfsVariant(5));
    t.Script.SetAddedBy(nullptr);
    EXPECT_NE(t.Script.Find(QStringLiteral("tagged")), nullptr);
    t.Script.ClearItems(&owner);
    EXPECT_EQ(t.Script.Find(QStringLiteral("Tagged")), nullptr);
    EXPECT_EQ(t.Script.Statement()->Count(), 0);
    EXPECT_NE(t.Script.Find(QStringLiteral("Hooked")), nullptr);
    t.Script.Clear();
    EXPECT_EQ(t.Script.Find(QStringLiteral("Hooked")), nullptr);
    EXPECT_NE(t.Script.Find(QStringLiteral("ShowMessage")), nullptr);
    EXPECT_NE(t.Script.Find(QStringLiteral("varByRef")), nullptr);
    EXPECT_EQ(t.Script.GetVariables(QStringLiteral("varByRef")).ToInt(), 16384);

    // Compiling again keeps earlier functions (the expression cache relies on it).
    ASSERT_TRUE(t.Compile(QStringLiteral("function f0: Variant; begin Result := 1 end; begin end.")));
    ASSERT_TRUE(t.Compile(QStringLiteral("function f1: Variant; begin Result := f0 + 1 end; begin end.")));
    EXPECT_EQ(t.Script.CallFunction(QStringLiteral("f1"), {}).ToInt(), 2);

    // A child script sees its parent's items; its own hide them.
    TfsScript child(&t.Script);
    child.SetLines(QStringLiteral("var f0: Integer; function g: Variant; begin f0 := 10; Result := f1 + f0 end; begin end."));
    ASSERT_TRUE(child.Compile()) << child.ErrorMsg().toStdString();
    EXPECT_EQ(child.CallFunction(QStringLiteral("g"), {}).ToInt(), 12);
}

TEST(Host, TerminateAndDeepRecursion)
{
    TTestScript t;
    // Terminate from a host function called inside an endless loop stops it
    // before its next statement, also inside procedures.
    int calls = 0;
    t.Script.AddMethod(QStringLiteral("procedure Tick"),
                       [&](QObject *, TfsClassVariable *, const QString &, TfsCustomVariable &) {
                           if (++calls == 1000)
                               t.Script.Terminate();
                           return TfsVariant();
                       });
    ASSERT_TRUE(t.Compile(QStringLiteral("var n: Integer;\n"
                                         "procedure Spin; begin while True do begin Tick; n := n + 1 end end;\n"
                                         "begin Spin; ShowMessage('not reached') end.")));
    TRecordingUserInterface ui;
    t.Script.Execute();
    EXPECT_EQ(calls, 1000);
    EXPECT_EQ(t.Script.GetVariables(QStringLiteral("n")).ToInt(), 999);
    EXPECT_TRUE(ui.Messages.empty());
    EXPECT_FALSE(t.Script.Terminated());

    // Unbounded recursion ends with a clear error, not a crash; the script stays usable.
    ASSERT_TRUE(t.Compile(QStringLiteral("function Deep(n: Integer): Integer; begin Result := Deep(n + 1) end;\n"
                                         "begin end.")));
    try {
        t.Script.CallFunction(QStringLiteral("Deep"), {TfsVariant(0)});
        FAIL() << "no error";
    } catch (const EfsRuntimeError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Stack overflow"));
    }
    ASSERT_TRUE(t.Compile(QStringLiteral("function Down(n: Integer): Integer; begin if n = 0 then Result := 0 else Result := Down(n - 1) + 1 end;\n"
                                         "begin end.")));
    EXPECT_EQ(t.Script.CallFunction(QStringLiteral("Down"), {TfsVariant(500)}).ToInt(), 500);
}
