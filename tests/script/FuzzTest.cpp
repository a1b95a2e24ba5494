// Random and mutated inputs must not crash or hang the front end, the XML
// reader or the interpreter (run under the sanitizers).

#include "ScriptTestUtil.h"


#include <random>

namespace {

const char *const kSeeds[] = {
    "var i, s: Integer; begin for i := 1 to 10 do s := s + i * 2; ShowMessage(s) end.",
    "function F(n: Integer): Integer; begin if n < 2 then Result := 1 else Result := F(n - 1) * n end; begin ShowMessage(F(5)) end.",
    "begin case 3 of 1..2: ShowMessage('a'); 3: ShowMessage('b') else ShowMessage('c') end end.",
    "var a: array[0..3] of String; begin a[1] := 'x'#13#10'y'; try ShowMessage(a[1] + a[9]) except ShowMessage(ExceptionMessage) end end.",
    "const c = $FF; var b: Boolean; begin b := not (c > 3) or (c in [1, 2]); repeat b := not b until b end.",
    "procedure P(var x: Variant); begin x := <Memo1.Text> end; var v: Variant; begin with v do P(v) end.",
};

const QStringList kPascalPieces = {
    QStringLiteral("begin"), QStringLiteral("end"), QStringLiteral("("), QStringLiteral(")"), QStringLiteral("["),
    QStringLiteral("'"), QStringLiteral(";"), QStringLiteral(":="), QStringLiteral("{"), QStringLiteral("(*"),
    QStringLiteral("#"), QStringLiteral("$"), QStringLiteral("<"), QStringLiteral(">"), QStringLiteral(".."),
    QStringLiteral("if"), QStringLiteral("then"), QStringLiteral("else"), QStringLiteral("while"),
    QStringLiteral("do"), QStringLiteral("var"), QStringLiteral("function"), QStringLiteral("1e999"),
    QStringLiteral("\r\n"), QStringLiteral("\x01"), QStringLiteral("@"), QStringLiteral("uses"),
};

QString mutate(const QString &seed, std::mt19937 &rng, const QStringList &pieces = kPascalPieces)
{
    QString s = seed;
    const int edits = 1 + int(rng() % 6);
    for (int e = 0; e < edits; ++e) {
        const int pos = s.isEmpty() ? 0 : int(rng() % uint(s.size()));
        switch (rng() % 4) {
        case 0: s.remove(pos, 1 + int(rng() % 5)); break;
        case 1: s.insert(pos, pieces[int(rng() % uint(pieces.size()))]); break;
        case 2: s.insert(pos, QChar(char16_t(rng() % 128))); break;
        default: s.insert(pos, s.mid(int(rng() % uint(std::max<qsizetype>(1, s.size()))), int(rng() % 12))); break;
        }
    }
    return s;
}

} // namespace

TEST(Fuzz, MutatedProgramsNeitherCrashNorHang)
{
    std::mt19937 rng(20260101);
    TRecordingUserInterface ui;
    int compiled = 0;
    for (int round = 0; round < 1500; ++round) {
        TfsScript script;
        script.AddRTTI();
        script.AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                         [](QObject *, TfsClassVariable *, const QString &, TfsCustomVariable &) { return TfsVariant(); });
        int ticks = 0;
        // A bound on the work of one run: anything past it is stopped.
        script.OnRunLine = [&](TfsScript *, const QString &, const QString &) {
            if (++ticks > 2000)
                script.Terminate();
        };
        const QString source = mutate(QString::fromLatin1(kSeeds[round % std::size(kSeeds)]), rng);
        script.SetLines(source);
        try {
            if (script.Compile()) {
                ++compiled;
                EXPECT_TRUE(script.ErrorMsg().isEmpty());
                script.Execute();
            } else {
                EXPECT_FALSE(script.ErrorMsg().isEmpty()) << source.toStdString();
            }
        } catch (const Exception &) {
            // Run-time errors and unreadable units are ordinary outcomes.
        }
    }
    EXPECT_GT(compiled, 10);
}

TEST(Fuzz, DeepNestingEndsWithAnError)
{
    TTestScript t;
    const QString deep = QStringLiteral("var a: Integer; begin a := ") + QString(20000, QLatin1Char('(')) +
                         QStringLiteral("1") + QString(20000, QLatin1Char(')')) + QStringLiteral(" end.");
    EXPECT_FALSE(t.CompileError(deep).isEmpty());
    QString chain = QStringLiteral("var a: Integer; begin a := 1");
    for (int i = 0; i < 10000; ++i)
        chain += QStringLiteral(" + 1");
    chain += QStringLiteral(" end.");
    EXPECT_TRUE(t.CompileError(chain).endsWith(QStringLiteral("Expression too complex")));
    const QString blocks = QStringLiteral("begin ") + QString(20000, QLatin1Char('[')) + QStringLiteral(" end.");
    EXPECT_FALSE(t.CompileError(blocks).isEmpty());
}

TEST(Fuzz, RandomXmlAndGrammarsAreRefusedCleanly)
{
    std::mt19937 rng(7);
    const QString grammar = fsGetLanguage(QStringLiteral("PascalScript"));
    for (int round = 0; round < 300; ++round) {
        QString text = grammar;
        for (int e = 0; e < 1 + int(rng() % 4); ++e) {
            const int pos = int(rng() % uint(text.size()));
            if (rng() % 2)
                text.remove(pos, 1 + int(rng() % 20));
            else
                text.insert(pos, QChar(char16_t(32 + rng() % 95)));
        }
        fsRegisterLanguage(QStringLiteral("@Fuzz"), text);
        TfsScript script;
        script.SetSyntaxType(QStringLiteral("@Fuzz"));
        script.SetLines(QString::fromLatin1(kSeeds[round % std::size(kSeeds)]));
        try {
            script.Compile();
        } catch (const Exception &) {
        }
    }
}

namespace {

// Seeds of the statement languages and the pieces their mutations insert.
struct TLanguageSeeds {
    const char *Language;
    std::vector<const char *> Seeds;
    QStringList Pieces;
};

const TLanguageSeeds &languageSeeds(int i)
{
    static const TLanguageSeeds seeds[] = {
        {"C++Script",
         {"int s = 0; for (int i = 1; i <= 10; i++) { s += i * 2; } ShowMessage(s);",
          "int F(int n) { if (n < 2) return 1; return F(n - 1) * n; } { ShowMessage(F(5)); }",
          "int i = 0; do { switch (i) { case 0: case 1: i += 2; break; default: i++; } } while (i < 9 && !(i == 7));",
          "#define N 0xFF\nstring s = \"a\\n\\x41\"; try { s = s + \"b\" + IntToStr(N); } except { ShowMessage(ExceptionMessage); }",
          "void P(int &x) { x--; ++x; x *= 3; } int v = 1; P(v); ShowMessage(<Memo1.Text>);"},
         {QStringLiteral("{"), QStringLiteral("}"), QStringLiteral(";"), QStringLiteral("("), QStringLiteral(")"),
          QStringLiteral("\""), QStringLiteral("\\"), QStringLiteral("++"), QStringLiteral("+="), QStringLiteral("&&"),
          QStringLiteral("for(;;)"), QStringLiteral("case"), QStringLiteral("default:"), QStringLiteral("break;"),
          QStringLiteral("return"), QStringLiteral("int"), QStringLiteral("new"), QStringLiteral("0x"),
          QStringLiteral("/*"), QStringLiteral("//"), QStringLiteral("#"), QStringLiteral("\n")}},
        {"BasicScript",
         {"s = 0\nFor i = 1 To 10 Step 2\n  s = s + i\nNext\nShowMessage(s)\n",
          "Function F(n)\n  If n < 2 Then\n    F = 1\n  Else\n    F = n * F(n - 1)\n  End If\nEnd Function\nShowMessage(F(5))\n",
          "Select Case 3\n  Case 1, 2\n    x = 1\n  Case 3 To 5\n    x = 2\n  Case Else\n    x = 3\nEnd Select\n",
          "Try\n  Do\n    n = n + 1 : If n > 3 Then Exit Do\n  Loop\nCatch\n  ShowMessage(ExceptionMessage)\nFinally\n  x = _\n 1\nEnd Try\n",
          "Sub P(ByRef a)\n  a = a & \"x\"\nEnd Sub\nDim s As String ' c\nP(s)\nWhile Length(s) < 3\n  s = s & \"y\"\nWend\n"},
         {QStringLiteral("\n"), QStringLiteral(":"), QStringLiteral("_\n"), QStringLiteral("'"), QStringLiteral("rem "),
          QStringLiteral("End"), QStringLiteral("If"), QStringLiteral("Then"), QStringLiteral("Else"),
          QStringLiteral("ElseIf"), QStringLiteral("Loop"), QStringLiteral("Do"), QStringLiteral("Next"),
          QStringLiteral("Case"), QStringLiteral("Sub"), QStringLiteral("Function"), QStringLiteral("\""),
          QStringLiteral("/\\"), QStringLiteral("("), QStringLiteral(")"), QStringLiteral("Exit"), QStringLiteral("&")}},
        {"JScript",
         {"var s = 0; for (var i = 1; i <= 10; i++) s += i; ShowMessage(s);",
          "function f(a, b) { return a + b; } ShowMessage(f(1, 2));",
          "var i = 0; while (true) { i++; if (i > 5) break; else continue; }",
          "try { x = 1 / 0; } finally { ShowMessage(\"f\"); }",
          "y = 2; switch (y) { case 2: z = 1; default: z = 0; } do { z--; } while (z > -3);"},
         {QStringLiteral("{"), QStringLiteral("}"), QStringLiteral(";"), QStringLiteral("("), QStringLiteral(")"),
          QStringLiteral("\""), QStringLiteral("var"), QStringLiteral("function"), QStringLiteral("=="),
          QStringLiteral("==="), QStringLiteral("!"), QStringLiteral("||"), QStringLiteral("--"),
          QStringLiteral("return"), QStringLiteral("import"), QStringLiteral("except"), QStringLiteral(","),
          QStringLiteral("\\x"), QStringLiteral("\n")}},
    };
    return seeds[i];
}

} // namespace

TEST(Fuzz, MutatedProgramsOfTheStatementLanguages)
{
    std::mt19937 rng(20261208);
    TRecordingUserInterface ui;
    for (int lang = 0; lang < 3; ++lang) {
        const TLanguageSeeds &seeds = languageSeeds(lang);
        // The seeds themselves are sound programs.
        for (const char *seed : seeds.Seeds) {
            TfsScript script;
            script.AddRTTI();
            script.SetSyntaxType(QLatin1String(seeds.Language));
            script.AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                             [](QObject *, TfsClassVariable *, const QString &, TfsCustomVariable &) { return TfsVariant(); });
            script.SetLines(QString::fromUtf8(seed));
            EXPECT_TRUE(script.Compile()) << seeds.Language << ": " << seed << ": " << script.ErrorPos().toStdString()
                                          << ' ' << script.ErrorMsg().toStdString();
        }
        int compiled = 0;
        for (int round = 0; round < 250; ++round) {
            TfsScript script;
            script.AddRTTI();
            script.SetSyntaxType(QLatin1String(seeds.Language));
            script.AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                             [](QObject *, TfsClassVariable *, const QString &, TfsCustomVariable &) { return TfsVariant(); });
            int ticks = 0;
            script.OnRunLine = [&](TfsScript *, const QString &, const QString &) {
                if (++ticks > 2000)
                    script.Terminate();
            };
            const QString source =
                mutate(QString::fromUtf8(seeds.Seeds[size_t(round) % seeds.Seeds.size()]), rng, seeds.Pieces);
            script.SetLines(source);
            try {
                if (script.Compile()) {
                    ++compiled;
                    script.Execute();
                } else {
                    EXPECT_FALSE(script.ErrorMsg().isEmpty()) << seeds.Language << ": " << source.toStdString();
                    EXPECT_FALSE(script.ErrorPos().isEmpty()) << seeds.Language << ": " << source.toStdString();
                }
            } catch (const Exception &) {
                // Run-time errors are ordinary outcomes.
            }
        }
        EXPECT_GT(compiled, 5) << seeds.Language;
    }
}

TEST(Fuzz, MutatedGrammarsOfTheStatementLanguagesAreRefusedCleanly)
{
    std::mt19937 rng(11);
    for (int lang = 0; lang < 3; ++lang) {
        const TLanguageSeeds &seeds = languageSeeds(lang);
        const QString grammar = fsGetLanguage(QLatin1String(seeds.Language));
        for (int round = 0; round < 100; ++round) {
            QString text = grammar;
            for (int e = 0; e < 1 + int(rng() % 4); ++e) {
                const int pos = int(rng() % uint(text.size()));
                if (rng() % 2)
                    text.remove(pos, 1 + int(rng() % 20));
                else
                    text.insert(pos, QChar(char16_t(32 + rng() % 95)));
            }
            fsRegisterLanguage(QStringLiteral("@Fuzz%1").arg(lang), text);
            TfsScript script;
            script.SetSyntaxType(QStringLiteral("@Fuzz%1").arg(lang));
            script.SetLines(QString::fromUtf8(seeds.Seeds[size_t(round) % seeds.Seeds.size()]));
            try {
                script.Compile();
            } catch (const Exception &) {
            }
        }
    }
}

TEST(Fuzz, DeepNestingInTheStatementLanguagesEndsWithAnError)
{
    const QString open(20000, QLatin1Char('(')), close(20000, QLatin1Char(')'));
    for (const char *text : {"C++Script:int a = %1;", "JScript:var a = %1;", "BasicScript:a = %1\n"}) {
        const QStringList parts = QString::fromLatin1(text).split(QLatin1Char(':'));
        TTestScript t;
        t.Script.SetSyntaxType(parts[0]);
        EXPECT_FALSE(t.CompileError(parts[1].arg(open + QStringLiteral("1") + close)).isEmpty()) << text;
        EXPECT_FALSE(t.CompileError(parts[1].arg(QString(20000, QLatin1Char('-')) + QStringLiteral("1"))).isEmpty())
            << text;
    }
    TTestScript c;
    c.Script.SetSyntaxType(QStringLiteral("C++Script"));
    EXPECT_FALSE(c.CompileError(QString(20000, QLatin1Char('{'))).isEmpty());
}

TEST(Fuzz, UnclosedCommentsAndOversizedNumbersAreAlwaysErrors)
{
    TRecordingUserInterface ui;
    struct TLang {
        const char *Language, *Opener, *Hex;
    };
    const TLang langs[] = {{"PascalScript", "{", "$"}, {"PascalScript", "(*", "$"}, {"C++Script", "/*", "0x"},
                           {"BasicScript", "/\\", "0x"}, {"JScript", "/*", "0x"}};
    std::mt19937 rng(13);
    for (const TLang &l : langs) {
        std::vector<QString> sources;
        if (QLatin1String(l.Language) == QLatin1String("PascalScript"))
            for (const char *seed : kSeeds)
                sources.push_back(QString::fromLatin1(seed));
        else
            for (int i = 0; i < 3; ++i)
                if (languageSeeds(i).Language == QLatin1String(l.Language))
                    for (const char *seed : languageSeeds(i).Seeds)
                        sources.push_back(QString::fromUtf8(seed));
        // A comment opened after any sound program and never closed.
        for (const QString &seed : sources) {
            TfsScript script;
            script.AddRTTI();
            script.SetSyntaxType(QLatin1String(l.Language));
            script.SetLines(seed + QStringLiteral("\n") + QLatin1String(l.Opener) + QStringLiteral(" rest"));
            EXPECT_FALSE(script.Compile()) << l.Language << ": " << seed.toStdString();
            EXPECT_TRUE(script.ErrorMsg().startsWith(QLatin1String("Unterminated comment"))) << l.Language << ": "
                                                                                            << script.ErrorMsg().toStdString();
        }
        // Hexadecimal numbers of every length: only up to 16 significant digits fit.
        for (int digits = 1; digits <= 40; ++digits) {
            // Leading zeros, then `digits` significant digits.
            QString number = QString(int(rng() % 4), u'0') + QLatin1Char("123456789ABCDEF"[rng() % 15]);
            for (int d = 1; d < digits; ++d)
                number += QLatin1Char("0123456789abcdef"[rng() % 16]);
            const QString call = QStringLiteral("ShowMessage(") + QLatin1String(l.Hex) + number + QLatin1Char(')');
            QString source = QLatin1String(l.Language) == QLatin1String("PascalScript")
                                 ? QStringLiteral("begin ") + call + QStringLiteral(" end.")
                                 : call + (QLatin1String(l.Language) == QLatin1String("BasicScript") ? "\n" : ";");
            TfsScript script;
            script.AddRTTI();
            script.SetSyntaxType(QLatin1String(l.Language));
            script.SetLines(source);
            EXPECT_EQ(script.Compile(), digits <= 16) << l.Language << ": " << source.toStdString() << ": "
                                                      << script.ErrorMsg().toStdString();
        }
    }
}
