// The C++Script, BasicScript and JScript languages: tokenizer settings,
// keywords, type names, error texts at their positions, and their statements
// run through the common builder.

#include "ScriptTestUtil.h"
#include "TestObjects.h"

#include "script/fs_igrammar.h"

#include <QFileInfo>
#include <QProcess>
#include <QSet>

namespace {

QStringList texts(std::initializer_list<const char *> list)
{
    QStringList l;
    for (const char *t : list)
        l << QString::fromUtf8(t);
    return l;
}

QString src(const char *text) { return QString::fromUtf8(text); }

QSet<QString> keywordsOf(const char *language)
{
    const QStringList k = fsGetGrammar(QLatin1String(language))->Keywords;
    return QSet<QString>(k.begin(), k.end());
}

QSet<QString> words(const char *list)
{
    const QStringList w = QString::fromLatin1(list).split(QLatin1Char(' '));
    return QSet<QString>(w.begin(), w.end());
}

} // namespace

TEST(Languages, RegisteredWithTheirSettings)
{
    const QStringList names = fsGetLanguageList();
    for (const char *n : {"PascalScript", "C++Script", "BasicScript", "JScript"})
        EXPECT_TRUE(names.contains(QLatin1String(n))) << n;

    auto cpp = fsGetGrammar(QStringLiteral("C++Script"));
    EXPECT_TRUE(cpp->CaseSensitive && cpp->SpecStrChar && !cpp->DeclareVars && cpp->SkipEOL);
    EXPECT_EQ(cpp->StringQuotes, QStringLiteral("\""));
    EXPECT_EQ(cpp->HexSequence, QStringLiteral("0x"));
    auto basic = fsGetGrammar(QStringLiteral("BasicScript"));
    EXPECT_TRUE(!basic->CaseSensitive && !basic->SpecStrChar && basic->DeclareVars && !basic->SkipEOL);
    EXPECT_EQ(basic->SkipChar, QStringLiteral("_"));
    EXPECT_EQ(basic->CommentLine2, QStringLiteral("rem"));
    auto js = fsGetGrammar(QStringLiteral("JScript"));
    EXPECT_TRUE(!js->CaseSensitive && js->SpecStrChar && js->DeclareVars && js->SkipEOL);

    EXPECT_EQ(keywordsOf("C++Script"), words("break case continue define default delete do else except finally "
                                             "for in is if new return switch try while"));
    EXPECT_EQ(keywordsOf("BasicScript"),
              words("addressof and as byref byval case catch delete dim do else elseif end endif exit finally for "
                    "function if imports is loop mod new next not or rem return select set step sub then to try "
                    "wend while with xor"));
    EXPECT_EQ(keywordsOf("JScript"), words("break case continue default delete do else except finally for function "
                                           "import in is if new return switch try var while with"));
    EXPECT_EQ(basic->Errors.value(QStringLiteral("err17")), QStringLiteral("'FINALLY' or 'CATCH' expected"));
    EXPECT_EQ(cpp->Errors.value(QStringLiteral("err17")), QStringLiteral("'FINALLY' or 'EXCEPT' expected"));
    EXPECT_FALSE(js->Errors.contains(QStringLiteral("err13")));
}

TEST(Languages, CommentsQuotesAndNumbers)
{
    TLangScript c("C++Script");
    EXPECT_EQ(c.Run(src("// line\n/* block\n still */ ShowMessage(0xFF); ShowMessage(\"a\\\"b\\x41\" + \"\\\\\");\n"
                        "ShowMessage(1.5e1); ShowMessage(0x10 + 1);")),
              texts({"255", "a\"bA\\", "15", "17"}));
    // Single quotes are no strings in the C-like languages.
    EXPECT_FALSE(c.CompileError(src("ShowMessage('a');")).isEmpty());

    TLangScript b("BasicScript");
    EXPECT_EQ(b.Run(src("' a comment\nrem another one\nShowMessage(\"it\"\"s\") ' trailing\n"
                        "/\\ a block\ncomment /\\ ShowMessage(0xff)\nx = 1 + _\n  2\nShowMessage(x)\n"
                        "REM upper case comment\nremark = 5 : ShowMessage(remark)")),
              texts({"it\"s", "255", "3", "5"}));
    // Backslashes are plain characters in Basic strings.
    EXPECT_EQ(b.Run(src("ShowMessage(\"a\\nb\")")), texts({"a\\nb"}));

    TLangScript j("JScript");
    EXPECT_EQ(j.Run(src("/* c */ var s = \"tab\\there\"; // c\nShowMessage(s); ShowMessage(0xFF - 0x0F);")),
              texts({"tab" "t" "here", "240"}));
}

TEST(Languages, CaseSensitivity)
{
    // C++Script keywords are lower case: "If" and "WHILE" are names.
    TLangScript c("C++Script");
    EXPECT_EQ(c.Run(src("int If = 3; if (If == 3) ShowMessage(\"three\");")), texts({"three"}));
    // "WHILE (1) { }" is a call of WHILE followed by a block.
    EXPECT_EQ(c.CompileError(src("WHILE (1) { }")), QStringLiteral("1:11: ';' expected"));
    EXPECT_EQ(c.CompileError(src("WHILE (1);")), QStringLiteral("1:1: Undeclared identifier: 'WHILE'"));
    // Names of items are found in any case.
    EXPECT_EQ(c.Run(src("int count = 2; ShowMessage(COUNT); showmessage(True);")), texts({"2", "True"}));

    TLangScript b("BasicScript");
    EXPECT_EQ(b.Run(src("DIM x AS INTEGER\nX = 4\nIF x = 4 THEN\nShowMessage(\"four\")\nend IF\n")),
              texts({"four"}));
    TLangScript j("JScript");
    EXPECT_EQ(j.Run(src("VAR x = 2; IF (X == 2) ShowMessage(\"two\"); ELSE ShowMessage(\"other\");")),
              texts({"two"}));
}

TEST(Languages, KeywordsAreNoNames)
{
    TLangScript c("C++Script");
    EXPECT_FALSE(c.CompileError(src("int new = 1;")).isEmpty());
    EXPECT_FALSE(c.CompileError(src("int default = 1;")).isEmpty());
    TLangScript b("BasicScript");
    EXPECT_FALSE(b.CompileError(src("Dim loop\n")).isEmpty());
    EXPECT_FALSE(b.CompileError(src("wend = 1\n")).isEmpty());
    TLangScript j("JScript");
    EXPECT_FALSE(j.CompileError(src("var import = 1;")).isEmpty());
    // Words that are keywords elsewhere only are names.
    EXPECT_EQ(j.Run(src("var begin = 1, dim = 2; ShowMessage(begin + dim);")), texts({"3"}));
}

TEST(Languages, TypeNames)
{
    TLangScript c("C++Script");
    EXPECT_EQ(c.Run(src("float f = 1; f = f / 4; long l = 7; l /= 2; bool b = 1 < 2; void v;\n"
                        "string s = \"x\"; ShowMessage(f); ShowMessage(l); ShowMessage(b); ShowMessage(v + 1);")),
              texts({"0.25", "4", "True", "1"}));
    EXPECT_EQ(c.CompileError(src("int i = 1.5;")), QStringLiteral("1:9: Incompatible types: 'int', 'Extended'"));
    EXPECT_EQ(c.CompileError(src("bool b;\nb = \"yes\";")), QStringLiteral("2:5: Incompatible types: 'bool', 'String'"));
    EXPECT_EQ(c.CompileError(src("Foo x;")), QStringLiteral("1:1: Unknown type: 'Foo'"));

    TLangScript b("BasicScript");
    EXPECT_EQ(b.Run(src("Dim d As decimal, i As Integer\nd = 1\nd = d / 8\ni = 5\nShowMessage(d)\nShowMessage(i / 2)\n")),
              texts({"0.125", "2.5"}));
    EXPECT_EQ(b.CompileError(src("Dim s As Strng\n")), QStringLiteral("1:10: Unknown type: 'Strng'"));
}

TEST(Languages, ErrorTextsAtTheirPositions)
{
    const struct {
        const char *Language, *Source, *Error;
    } cases[] = {
        {"C++Script", "int a = 1\nint b;", "2:1: ';' expected"},
        {"C++Script", "if 1) { }", "1:4: '(' expected"},
        {"C++Script", "while (1 { }", "1:10: ')' expected"},
        {"C++Script", "{ int a;\n", "2:1: '}' expected"},
        {"C++Script", "void p() ShowMessage(1);", "1:10: '{' expected"},
        {"C++Script", "int i; do i++; (i < 3);", "1:16: 'WHILE' expected"},
        {"C++Script", "#definx A 1", "1:2: 'DEFINE' expected"},
        {"C++Script", "try { } catch { }", "1:9: 'FINALLY' or 'EXCEPT' expected"},
        {"C++Script", "int a; a = ;", "1:12: Expression expected"},
        {"C++Script", "if (1) else;", "1:8: Statement expected"},
        {"C++Script", "int i; switch (i) { case 1 i++; }", "1:28: ':' expected"},
        {"C++Script", "x = 1;", "1:1: Undeclared identifier: 'x'"},
        {"JScript", "function f( { }", "1:13: ')' expected"},
        {"JScript", "function (a) { }", "1:10: Identifier expected"},
        {"JScript", "var a = 1 var b;", "1:11: ';' expected"},
        {"JScript", "do { } until (1);", "1:8: 'WHILE' expected"},
        {"JScript", "try { } catch { }", "1:9: 'FINALLY' or 'EXCEPT' expected"},
        {"BasicScript", "x = 1 y = 2\n", "1:7: End of line expected"},
        {"BasicScript", "For i = 1 10\nNext\n", "1:11: 'TO' expected"},
        {"BasicScript", "For i = 1 To 2\nx = i\n", "3:1: 'NEXT' expected"},
        {"BasicScript", "If x Then\ny = 1\nEnd Sub\n", "3:5: 'IF' expected"},
        {"BasicScript", "If x\ny = 1\n", "1:5: 'THEN' expected"},
        {"BasicScript", "While x\ny = 1\n", "3:1: 'WEND' expected"},
        {"BasicScript", "Select x\nEnd Select\n", "1:8: 'CASE' expected"},
        {"BasicScript", "Select Case x\nCase 1\nEnd Case\n", "3:5: 'SELECT' expected"},
        {"BasicScript", "Try\nx = 1\nEnd Try\n", "3:1: 'FINALLY' or 'CATCH' expected"},
        {"BasicScript", "Try\nCatch\nEnd\n", "3:4: 'TRY' expected"},
        {"BasicScript", "Sub P\nEnd Function\n", "2:5: 'SUB' expected"},
        {"BasicScript", "Function F\nEnd Sub\n", "2:5: 'FUNCTION' expected"},
        {"BasicScript", "With x\nEnd\n", "2:4: 'WITH' expected"},
        {"BasicScript", "Sub P(a, b\nEnd Sub\n", "1:11: ')' expected"},
        {"BasicScript", "x = (1 + 2\n", "1:11: ')' expected"},
    };
    for (const auto &c : cases) {
        TLangScript t(c.Language);
        EXPECT_EQ(t.CompileError(src(c.Source)), QString::fromUtf8(c.Error)) << c.Language << ": " << c.Source;
    }
}

TEST(Languages, FirstLineSelectsTheLanguage)
{
    TTestScript t; // PascalScript by default
    EXPECT_EQ(t.Run(src("#language JScript\nvar x = 40; x += 2; ShowMessage(x);")), texts({"42"}));
    EXPECT_EQ(t.Run(src("#LANGUAGE C++Script\r\nint x = 0xA; ShowMessage(x);")), texts({"10"}));
    EXPECT_EQ(t.Run(src("#language BasicScript\r\nx = 2\r\nShowMessage(x * 3)\r\n")), texts({"6"}));
    // Positions count the header line.
    EXPECT_EQ(t.CompileError(src("#language JScript\nvar x = ;")), QStringLiteral("2:9: Expression expected"));
    EXPECT_EQ(t.CompileError(src("#language Klingon\nbegin end.")), QStringLiteral(": Language 'Klingon' not found"));
    // The setting itself is left alone.
    EXPECT_EQ(t.Script.SyntaxType(), QStringLiteral("PascalScript"));
}

TEST(Languages, CStatements)
{
    TLangScript c("C++Script");
    // switch: a matching case falls through to the next until break; break
    // ends the switch only, continue goes to the loop.
    EXPECT_EQ(c.Run(src("string s = \"\";\n"
                        "for (int i = 0; i < 5; i++) {\n"
                        "  switch (i) { case 0: s += \"a\"; case 1: case 4: s += \"b\"; break;\n"
                        "    case 2: continue; default: s += \"d\"; }\n"
                        "  s += \".\";\n"
                        "}\n"
                        "ShowMessage(s);")),
              texts({"ab.b.d.b."}));
    // Loops: do runs its body once, for(;;) needs a break, while with continue.
    EXPECT_EQ(c.Run(src("int n = 0, k = 10;\n"
                        "do { n++; } while (n > 100);\n"
                        "for (;;) { k--; if (k < 5) break; }\n"
                        "int odd = 0; int i = 0;\n"
                        "while (i < 10) { i++; if (i % 2 == 0) continue; odd += i; }\n"
                        "ShowMessage(n); ShowMessage(k); ShowMessage(odd);")),
              texts({"1", "4", "25"}));
    // Compound assignments, increments and the C operators.
    EXPECT_EQ(c.Run(src("int x = 5; x *= 3; x -= 1; ++x; x--; x += 0x10;\n"
                        "ShowMessage(x);\n"
                        "ShowMessage(1 < 2 && 3 > 2 || 0 > 1);\n"
                        "ShowMessage(!(1 == 1) || 2 != 2);\n"
                        "ShowMessage(17 % 5); ShowMessage(1 << 4); ShowMessage(256 >> 2); ShowMessage(6 & 3 | 8);\n"
                        "ShowMessage(-x * -2); ShowMessage(10 - -1);")),
              texts({"30", "True", "False", "2", "16", "64", "10", "60", "11"}));
    // Initial values are computed when the declaration runs.
    EXPECT_EQ(c.Run(src("int y = 5; int x = y + 1; y = 0;\n"
                        "for (int i = 0; i < 2; i++) { int t = i * 10; y += t; }\n"
                        "for (int i = 0; i < 3; i++) y++;\n"
                        "ShowMessage(x); ShowMessage(y);")),
              texts({"6", "13"}));
    // #define gives a constant.
    EXPECT_EQ(c.Run(src("#define LIMIT 3 * 2\nShowMessage(LIMIT);")), texts({"6"}));
}

TEST(Languages, CFunctions)
{
    TLangScript c("C++Script");
    // Locals are the call's own: a recursive call does not change them.
    EXPECT_EQ(c.Run(src("int f(int n) { int r = n * 2; if (n > 0) f(n - 1); return r; }\n"
                        "void twice(int &v) { v = v * 2; }\n"
                        "int early(int n) { for (int i = 0; i < 100; i++) if (i == n) return i; return -1; }\n"
                        "string greet(string who = \"world\") { return \"hello \" + who; }\n"
                        "int a = 21; twice(a);\n"
                        "ShowMessage(f(3)); ShowMessage(a); ShowMessage(early(7)); ShowMessage(early(200));\n"
                        "ShowMessage(greet()); ShowMessage(later());\n"
                        "int later() { return 9; }\n")),
              texts({"6", "42", "7", "-1", "hello world", "9"}));
    EXPECT_EQ(c.CompileError(src("int f() { return \"xy\"; }")), QStringLiteral("1:18: Incompatible types: 'int', 'String'"));
    EXPECT_EQ(c.CompileError(src("void p() { }\nvoid p() { }")), QStringLiteral("2:1: Identifier redeclared: 'p'"));
}

TEST(Languages, JScriptStatements)
{
    TLangScript j("JScript");
    EXPECT_EQ(j.Run(src("function add(a, b) { return a + b; }\n"
                        "function count(n) { var c = 0; while (true) { if (c >= n) break; c++; } return c; }\n"
                        "undeclared = add(2, 3);\n"
                        "for (var i = 0; i < 2; i++) undeclared++;\n"
                        "for (var i = 0; i < 2; i++) undeclared += 10;\n"
                        "ShowMessage(undeclared); ShowMessage(count(4)); ShowMessage(add(\"a\", \"b\"));\n"
                        "var s = \"\";\n"
                        "switch (add(1, 1)) { case 1: s = \"one\"; break; case 2: s = \"two\"; break; default: s = \"many\"; }\n"
                        "ShowMessage(s); ShowMessage(1 === 1); ShowMessage(1 !== 1);")),
              texts({"27", "4", "ab", "two", "True", "False"}));
    // A return inside try/finally runs the finally block first.
    EXPECT_EQ(j.Run(src("function f() { try { return 1; } finally { ShowMessage(\"finally\"); } }\n"
                        "ShowMessage(f());")),
              texts({"finally", "1"}));
}

TEST(Languages, BasicLoops)
{
    TLangScript b("BasicScript");
    EXPECT_EQ(b.Run(src("s = \"\"\n"
                        "For i = 10 To 1 Step -3 : s = s & i & \" \" : Next\n"
                        "For i = 1 To 0\n  s = s & \"never\"\nNext i\n"
                        "For x = 0 To 1 Step 0.5\n  s = s & x & \";\"\nNext\n"
                        "For i = 1 To 100\n  If i > 3 Then Exit For\n  s = s & \"f\"\nNext\n"
                        "ShowMessage(s)\n")),
              texts({"10 7 4 1 0;0.5;1;fff"}));
    EXPECT_EQ(b.Run(src("n = 0\nDo While n < 3\n  n = n + 1\nLoop\n"
                        "Do Until n >= 6\n  n = n + 1\nLoop\n"
                        "Do\n  n = n + 1\nLoop While n < 8\n"
                        "Do\n  n = n + 1\nLoop Until n > 100\n"
                        "k = 0\nDo\n  k = k + 1\n  If k = 5 Then Exit Do\nLoop\n"
                        "w = 0\nWhile w < 4\n  w = w + 2\nWend\n"
                        "While w < 10\n  w = w + 3\nEnd While\n"
                        "ShowMessage(n)\nShowMessage(k)\nShowMessage(w)\n")),
              texts({"101", "5", "10"}));
}

TEST(Languages, BasicBranches)
{
    TLangScript b("BasicScript");
    EXPECT_EQ(b.Run(src("Function Grade(n)\n"
                        "  If n >= 90 Then\n    Grade = \"A\"\n"
                        "  ElseIf n >= 80 Then\n    Grade = \"B\"\n"
                        "  ElseIf n >= 70 Then\n    Grade = \"C\"\n"
                        "  Else\n    Grade = \"F\"\n  EndIf\n"
                        "End Function\n"
                        "Function Kind(n As Integer) As String\n"
                        "  Select Case n\n"
                        "    Case 1, 2\n      Return \"small\"\n"
                        "    Case 3 To 5\n      Return \"medium\"\n"
                        "    Case Else\n      Return \"large\"\n"
                        "  End Select\n"
                        "End Function\n"
                        "ShowMessage(Grade(95) & Grade(85) & Grade(75) & Grade(5))\n"
                        "ShowMessage(Kind(2) & \" \" & Kind(4) & \" \" & Kind(9))\n"
                        "If 1 > 2 Then ShowMessage(\"yes\") Else ShowMessage(\"no\")\n"
                        "ShowMessage(1 < 2 And 3 < 4)\n"
                        "ShowMessage(Not 1 = 2)\n"
                        "ShowMessage(7 Mod 3 + 7 \\ 2)\n"
                        "ShowMessage(\"n=\" & 1 + 2)\n"
                        "ShowMessage(1 = 2 Or 2 = 2 Xor True)\n")),
              texts({"ABCF", "small medium large", "no", "True", "True", "4", "n=3", "False"}));
}

TEST(Languages, BasicProcedures)
{
    TLangScript b("BasicScript");
    EXPECT_EQ(b.Run(src("Sub Twice(ByRef v, ByVal w)\n  v = v * 2\n  w = w * 2\nEnd Sub\n"
                        "Sub Early(n)\n  If n > 0 Then Exit Sub\n  ShowMessage(\"zero\")\nEnd Sub\n"
                        "Function Depth(n)\n  Dim local\n  local = n\n  If n > 0 Then Depth(n - 1)\n  Depth = local\nEnd Function\n"
                        "a = 5 : b = 5\nTwice(a, b)\nShowMessage(a)\nShowMessage(b)\n"
                        "Early(1)\nEarly(0)\nShowMessage(Depth(3))\n"
                        "Dim total As Integer = 2 + 3\nShowMessage(total)\n")),
              texts({"10", "5", "zero", "3", "5"}));
    // try with both catch and finally; the error text reaches the catch block.
    EXPECT_EQ(b.Run(src("Try\n  x = 1 \\ 0\nCatch\n  ShowMessage(\"caught \" & ExceptionMessage)\n"
                        "Finally\n  ShowMessage(\"done\")\nEnd Try\n")),
              texts({"caught Division by zero", "done"}));
}

TEST(Languages, EvaluateInEachLanguage)
{
    for (const char *lang : {"PascalScript", "C++Script", "BasicScript", "JScript"}) {
        TLangScript t(lang);
        EXPECT_EQ(t.Script.Evaluate(QStringLiteral("1 + 2 * 3")).ToText(), QStringLiteral("7")) << lang;
        EXPECT_FALSE(t.Script.EvaluteRiseError()) << lang;
    }
}

// "new" calls the class's constructor Create; "delete" calls Free and clears the variable.
TEST(Languages, NewAndDelete)
{
    int created = 0, freed = 0;
    std::vector<std::unique_ptr<TTestMemo>> objects;
    auto setUp = [&](TfsScript &script) {
        TfsClassVariable *memo = script.AddClass(QStringLiteral("TTestMemo"), QString(), &TTestMemo::staticMetaObject);
        memo->AddConstructor(QStringLiteral("constructor Create(Text: String)"),
                             [&](QObject *, TfsClassVariable *, const QString &, TfsCustomVariable &caller) {
                                 objects.push_back(std::make_unique<TTestMemo>());
                                 objects.back()->SetText(caller.ParamValue(0).ToString());
                                 ++created;
                                 return TfsVariant(static_cast<QObject *>(objects.back().get()));
                             });
        memo->AddMethod(QStringLiteral("procedure Free"),
                        [&](QObject *instance, TfsClassVariable *, const QString &, TfsCustomVariable &) {
                            freed += instance ? 1 : 0;
                            return TfsVariant::Null();
                        });
    };
    TLangScript c("C++Script");
    setUp(c.Script);
    EXPECT_EQ(c.Run(src("TTestMemo m = new TTestMemo(\"first\"); ShowMessage(m.Text); delete m;")), texts({"first"}));
    EXPECT_TRUE(c.Script.Find(QStringLiteral("m"))->FValue.IsNull());
    EXPECT_EQ(c.CompileError(src("int x = new Nothing();")), QStringLiteral("1:13: Class type required"));
    EXPECT_EQ(c.CompileError(src("int x; delete x;")), QStringLiteral("1:8: Class type required"));
    TLangScript b("BasicScript");
    setUp(b.Script);
    EXPECT_EQ(b.Run(src("Set x = New TTestMemo(\"second\")\nShowMessage(x.Text)\nDelete x\n")), texts({"second"}));
    TLangScript j("JScript");
    setUp(j.Script);
    // The second delete finds nothing to free.
    EXPECT_EQ(j.Run(src("var v = new TTestMemo(\"third\"); delete v; delete v; ShowMessage(v == null);")),
              texts({"True"}));
    EXPECT_EQ(created, 3);
    EXPECT_EQ(freed, 3);
}

// The same four programs in every language, run by the command-line tool,
// print the same lines.
TEST(Languages, SameProgramsPrintTheSameThroughTheTool)
{
    const QString tool = qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/rudreport");
    if (!QFileInfo(tool).isExecutable())
        GTEST_SKIP() << "rudreport is not built";
    const QString dir = qEnvironmentVariable("RUD_SOURCE_DIR") + QStringLiteral("/tests/script/programs/");
    const std::pair<const char *, const char *> programs[] = {
        {"sum", "5050\n"},
        {"recursion", "3628800\n610\n"},
        {"strings", "1,2,3,4,5,6,7,8,9,10\n01,9,8,7,6,5,4,3,2,1\n[*****]\n"},
        {"exceptions", "caught: '12a' is not a valid integer value\ncleanup\ncaught: boom\n"},
    };
    const std::pair<const char *, const char *> languages[] = {
        {"pas", "PascalScript"}, {"cpps", "C++Script"}, {"vb", "BasicScript"}, {"js", "JScript"}};
    for (const auto &[name, expected] : programs) {
        for (const auto &[ext, language] : languages) {
            const QString file = dir + QLatin1String(name) + QLatin1Char('.') + QLatin1String(ext);
            ASSERT_TRUE(QFileInfo::exists(file)) << file.toStdString();
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
            p.setProcessEnvironment(env);
            p.start(tool, {QStringLiteral("run"), file, QStringLiteral("--language"), QLatin1String(language)});
            ASSERT_TRUE(p.waitForFinished(60000));
            EXPECT_EQ(p.exitCode(), 0) << name << '.' << ext << ": " << p.readAllStandardError().toStdString();
            EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), QLatin1String(expected)) << name << '.' << ext;
        }
    }
}
