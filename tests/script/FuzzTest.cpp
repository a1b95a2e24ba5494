// Random and mutated inputs must not crash or hang the front end, the XML
// reader or the interpreter (run under the sanitizers).

#include "ScriptTestUtil.h"

#include "script/fs_xml.h"

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

QString mutate(const QString &seed, std::mt19937 &rng)
{
    static const QString pieces[] = {
        QStringLiteral("begin"), QStringLiteral("end"), QStringLiteral("("), QStringLiteral(")"), QStringLiteral("["),
        QStringLiteral("'"), QStringLiteral(";"), QStringLiteral(":="), QStringLiteral("{"), QStringLiteral("(*"),
        QStringLiteral("#"), QStringLiteral("$"), QStringLiteral("<"), QStringLiteral(">"), QStringLiteral(".."),
        QStringLiteral("if"), QStringLiteral("then"), QStringLiteral("else"), QStringLiteral("while"),
        QStringLiteral("do"), QStringLiteral("var"), QStringLiteral("function"), QStringLiteral("1e999"),
        QStringLiteral("\r\n"), QStringLiteral("\x01"), QStringLiteral("@"), QStringLiteral("uses"),
    };
    QString s = seed;
    const int edits = 1 + int(rng() % 6);
    for (int e = 0; e < edits; ++e) {
        const int pos = s.isEmpty() ? 0 : int(rng() % uint(s.size()));
        switch (rng() % 4) {
        case 0: s.remove(pos, 1 + int(rng() % 5)); break;
        case 1: s.insert(pos, pieces[rng() % (sizeof(pieces) / sizeof(pieces[0]))]); break;
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
        TfsXMLDocument doc;
        try {
            doc.LoadFromString(text);
        } catch (const EfsXMLError &) {
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
