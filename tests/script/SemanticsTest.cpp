// Finer rules of the language: scopes, flags across procedures, type rules,
// grammar corners (error filtering in loops, ranges of names).

#include "ScriptTestUtil.h"

#include "script/fs_iilparser.h"

TEST(Semantics, ScopesAndNestedProcedures)
{
    TTestScript t;
    EXPECT_EQ(t.Run(QStringLiteral(
                  "program Demo;\n"
                  "var x: Integer; name: String;\n"
                  "procedure Outer;\n"
                  "  var x: Integer;\n"
                  "  procedure Inner; begin x := x + 1; name := name + 'i' end;\n"
                  "begin x := 10; Inner; Inner; ShowMessage(x) end;\n"
                  "function Count(n: Integer): Integer; var local: Integer;\n"
                  "begin local := local + 1; if n > 0 then Result := Count(n - 1) + local else Result := local end;\n"
                  "begin x := 1; name := 'n'; Outer; ShowMessage(x); ShowMessage(name); ShowMessage(Count(3)) end.")),
              L({"12", "1", "nii", "4"}));
}

TEST(Semantics, FlagsStayInTheirProcedure)
{
    TTestScript t;
    // exit leaves only the procedure; break in a procedure's loop does not end the caller's loop.
    EXPECT_EQ(t.Run(QStringLiteral(
                  "var i, n: Integer;\n"
                  "procedure P; var j: Integer; begin for j := 1 to 5 do begin if j = 2 then break end; n := n + j; exit; n := 1000 end;\n"
                  "begin for i := 1 to 3 do P; ShowMessage(n);\n"
                  "  i := 0; while i < 10 do begin i := i + 1; if i < 8 then continue; ShowMessage(i) end;\n"
                  "  repeat i := i - 1; if i = 5 then break until i = 0; ShowMessage(i);\n"
                  "  try exit finally ShowMessage('finally') end; ShowMessage('not reached') end.")),
              L({"6", "8", "9", "10", "5", "finally"}));
    EXPECT_FALSE(t.Script.IsRunning());

    // A line hook may stop the main program's endless loop.
    int lines = 0;
    t.Script.OnRunLine = [&](TfsScript *s, const QString &, const QString &) {
        if (++lines == 50)
            s->Terminate();
    };
    EXPECT_EQ(t.Run(QStringLiteral("var n: Integer; begin while True do n := n + 1; ShowMessage(n) end.")), QStringList());
    EXPECT_EQ(lines, 50);

    // An empty loop body has no statement of its own; the hook still sees the loop.
    lines = 0;
    EXPECT_EQ(t.Run(QStringLiteral("begin while True do ; ShowMessage('not reached') end.")), QStringList());
    EXPECT_EQ(lines, 50);
    lines = 0;
    EXPECT_EQ(t.Run(QStringLiteral("var i: Integer; begin repeat until False; for i := 1 to 10 do ; end.")),
              QStringList());
    EXPECT_EQ(lines, 50);
}

TEST(Semantics, TypeRules)
{
    EXPECT_TRUE(fsTypesCompatible(fvtInt, {}, fvtFloat, {}, true));   // plain rule; assignments refuse it
    EXPECT_TRUE(fsTypesCompatible(fvtFloat, {}, fvtInt64, {}, true));
    EXPECT_FALSE(fsTypesCompatible(fvtFloat, {}, fvtString, {}, true));
    EXPECT_FALSE(fsTypesCompatible(fvtBool, {}, fvtInt, {}, true));
    EXPECT_TRUE(fsTypesCompatible(fvtString, {}, fvtChar, {}, true));
    EXPECT_TRUE(fsTypesCompatible(fvtEnum, QStringLiteral("TAlign"), fvtEnum, QStringLiteral("talign"), true));
    EXPECT_FALSE(fsTypesCompatible(fvtEnum, QStringLiteral("TAlign"), fvtEnum, QStringLiteral("TOther"), true));
    EXPECT_FALSE(fsTypesCompatible(fvtClass, {}, fvtClass, {}, false));
    EXPECT_FALSE(fsTypesCompatible(fvtConstructor, {}, fvtVariant, {}, true));
    EXPECT_TRUE(fsTypesCompatible(fvtVariant, {}, fvtArray, {}, true));

    TTestScript t;
    t.Script.AddEnum(QStringLiteral("TAlign"), QStringLiteral("alLeft, alRight"));
    t.Script.AddEnumSet(QStringLiteral("TSides"), QStringLiteral("sdTop, sdBottom, sdLeft"));
    EXPECT_EQ(t.Run(QStringLiteral("var a: TAlign; f: Extended; s: String; c: Char; v: Int64;\n"
                                   "begin a := alRight; ShowMessage(a); ShowMessage(sdLeft or sdTop); f := 3; ShowMessage(f / 2);\n"
                                   "  c := 'z'; s := c + 'y'; ShowMessage(s); v := 3000000000; ShowMessage(v + 1) end.")),
              L({"1", "5", "1.5", "zy", "3000000001"}));
    EXPECT_TRUE(t.CompileError(QStringLiteral("var b: Boolean; begin b := 'x' end.")).endsWith(QStringLiteral("Incompatible types: 'Boolean', 'Char'")));
    EXPECT_TRUE(t.CompileError(QStringLiteral("procedure P(x: Integer); begin end; begin P('a') end.")).endsWith(QStringLiteral("Incompatible types: 'Integer', 'Char'")));
    EXPECT_TRUE(t.CompileError(QStringLiteral("var i: Integer; begin for i := 1.5 to 2 do end.")).endsWith(QStringLiteral("Incompatible types: 'Integer', 'Extended'")));
    EXPECT_TRUE(t.CompileError(QStringLiteral("var i: Integer = 'a'; begin end.")).endsWith(QStringLiteral("Incompatible types: 'Integer', 'Char'")));
    // Run-time conversions of Variant values follow the variant rules.
    ASSERT_TRUE(t.Compile(QStringLiteral("var i: Integer; v: Variant; begin v := 'abc'; i := v end.")));
    EXPECT_THROW(t.Script.Execute(), EfsRuntimeError);
}

TEST(Semantics, GrammarCorners)
{
    TTestScript t;
    t.Script.AddConst(QStringLiteral("Lo"), QStringLiteral("Integer"), TfsVariant(2));
    t.Script.AddConst(QStringLiteral("Hi"), QStringLiteral("Integer"), TfsVariant(4));
    // Ranges of names, a case with "; else", comments everywhere, keywords in any case.
    EXPECT_EQ(t.Run(QStringLiteral(
                  "var a: array[Lo..Hi] of Integer; i: Integer; { block } (* other *)\n"
                  "BEGIN // line\n"
                  "  FOR i := Lo TO Hi DO a[i] := i;\n"
                  "  CASE 3 OF Lo..Hi: ShowMessage('in'); ELSE ShowMessage('out'); END;\n"
                  "  case 'b' of 'a': ShowMessage('a'); 'b', 'c': ShowMessage('bc'); end;\n"
                  "  ShowMessage(a[Hi])\n"
                  "END.")),
              L({"in", "bc", "4"}));

    // Errors recorded at the end of a loop's last repetition do not count
    // (var and const sections end at the next keyword).
    EXPECT_TRUE(t.CompileError(QStringLiteral("const a = 1; b = 2; var x: Integer; y: String; begin end.")).isEmpty());
    EXPECT_EQ(t.CompileError(QStringLiteral("var : Integer; begin end.")), QStringLiteral("1:5: Identifier expected"));
    EXPECT_EQ(t.CompileError(QStringLiteral("const a 1; begin end.")), QStringLiteral("1:9: '=' expected"));
    EXPECT_EQ(t.CompileError(QStringLiteral("begin if True ShowMessage(1) end.")), QStringLiteral("1:15: 'THEN' expected"));
    EXPECT_EQ(t.CompileError(QStringLiteral("begin ShowMessage((1) end.")), QStringLiteral("1:23: ')' expected"));
    EXPECT_EQ(t.CompileError(QStringLiteral("var i: Integer; begin for i = 1 to 2 do end.")), QStringLiteral("1:29: ':' expected"));
    EXPECT_EQ(t.CompileError(QStringLiteral("var i: Integer; begin for i := 1 2 do end.")), QStringLiteral("1:34: 'TO' or 'DOWNTO' expected"));
    EXPECT_EQ(t.CompileError(QStringLiteral("function F: Integer; begin end; begin F := 1 end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Left side cannot be assigned to"));

    // Nodes carry the position of their first token and the one after their last.
    TfsILParser front(&t.Script);
    front.SelectLanguage(QStringLiteral("PascalScript"));
    ASSERT_TRUE(front.MakeILScript(QStringLiteral("begin\n  if True then ShowMessage(1)\nend.")));
    TfsXMLItem *ifstmt = front.ILScript().Root()->Items(0)->Items(0);
    EXPECT_EQ(ifstmt->Name(), QStringLiteral("ifstmt"));
    EXPECT_EQ(ifstmt->Prop(QStringLiteral("pos")), QStringLiteral("2:3"));
    EXPECT_EQ(ifstmt->Prop(QStringLiteral("pos1")), QStringLiteral("2:30"));
}
