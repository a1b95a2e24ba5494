// Broken or hostile script input is reported, never silently accepted:
// unterminated comments, oversized numbers, unit files that are devices or
// huge, dates outside the calendar; and names used before a declaration.

#include "ScriptTestUtil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QString src(const char *text) { return QString::fromUtf8(text); }

} // namespace

TEST(SafeInput, AnUnterminatedBlockCommentIsACompileErrorInEveryLanguage)
{
    struct TCase {
        const char *Language, *Source, *Position, *Opener;
    };
    const TCase cases[] = {
        {"PascalScript", "begin\n  ShowMessage(1); { never closed\n  ShowMessage(2)\nend.", "2:19", "{"},
        {"PascalScript", "begin ShowMessage(1) (* open\nend.", "1:22", "(*"},
        {"C++Script", "{ ShowMessage(1); /* open\n ShowMessage(2); }", "1:19", "/*"},
        {"BasicScript", "ShowMessage(1)\n/\\ open\nShowMessage(2)\n", "2:1", "/\\"},
        {"JScript", "ShowMessage(1);\nShowMessage(2); /* the rest", "2:17", "/*"},
    };
    for (const TCase &c : cases) {
        TLangScript s(c.Language);
        const QString error = s.CompileError(src(c.Source));
        EXPECT_TRUE(error.startsWith(
            QStringLiteral("%1: Unterminated comment: \"%2\" is never closed").arg(c.Position, c.Opener)))
            << c.Language << ": " << error.toStdString();
    }
    // A closed comment is still just a comment.
    TLangScript js("JScript");
    EXPECT_EQ(js.Run(src("/* a */ ShowMessage(1); /* b */")), QStringList{"1"});
}

TEST(SafeInput, AHexadecimalNumberBeyondSixtyFourBitsIsAnError)
{
    TTestScript p;
    EXPECT_EQ(p.CompileError(src("begin ShowMessage($1FFFFFFFFFFFFFFFF) end.")),
              QStringLiteral("1:19: Hexadecimal number too large: $1FFFFFFFFFFFFFFFF"));
    // Leading zeros do not count.
    EXPECT_EQ(p.Run(src("begin ShowMessage($00000000000000000000FF) end.")), QStringList{"255"});
    TLangScript c("C++Script");
    EXPECT_TRUE(c.CompileError(src("ShowMessage(0x10000000000000000);")).contains(QLatin1String("too large")));
    TLangScript b("BasicScript");
    EXPECT_TRUE(b.CompileError(src("x = 0x123456789ABCDEF01\n")).contains(QLatin1String("too large")));
}

TEST(SafeInput, UnitFilesMustBeRegularFilesOfASaneSize)
{
    QTemporaryDir dir;
    TTestScript t;
    t.Script.IncludePath() = QStringList{QStringLiteral("/dev"), dir.path()};
    t.Script.SetLines(src("uses 'zero'; begin end."));
    try {
        t.Script.Compile();
        FAIL() << "a device was accepted as a unit";
    } catch (const EInOutError &e) {
        EXPECT_TRUE(e.Message().contains(QLatin1String("not a regular file"))) << e.Message().toStdString();
    }

    QFile huge(dir.filePath(QStringLiteral("huge.pas")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(17 * 1024 * 1024)); // sparse: no disk space needed
    huge.close();
    TTestScript u;
    u.Script.IncludePath() = QStringList{dir.path()};
    u.Script.SetLines(src("uses 'huge.pas'; begin end."));
    EXPECT_THROW(u.Script.Compile(), EInOutError);

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.pas")));
    TTestScript f;
    f.Script.IncludePath() = QStringList{dir.path()};
    f.Script.SetLines(src("uses 'folder.pas'; begin end."));
    EXPECT_THROW(f.Script.Compile(), EInOutError);

    TLangScript c("C++Script");
    c.Script.IncludePath() = QStringList{QStringLiteral("/dev")};
    c.Script.SetLines(src("#include \"zero\"\n{ }"));
    EXPECT_THROW(c.Script.Compile(), EInOutError);
}

TEST(SafeInput, DatesOutsideTheCalendarAreConversionErrors)
{
    for (const char *call : {"DayOfWeek(1e300)", "DateToStr(1e20)", "DateTimeToStr(-1e9)", "FormatDateTime('yyyy', 1e18)"}) {
        TTestScript t;
        EXPECT_EQ(t.Run(src((QByteArray("begin try ShowMessage(") + call +
                             ") except ShowMessage(ExceptionClassName) end end.").constData())),
                  QStringList{"EConvertError"})
            << call;
    }
    TTestScript t;
    EXPECT_EQ(t.RunError(src("var y, m, d: Word; begin DecodeDate(1e300, y, m, d) end.")),
              QStringLiteral("1e+300 is not a date from 1 January 0001 to 31 December 9999"));
    // The ends of the range are still dates.
    EXPECT_EQ(t.Run(src("begin ShowMessage(DayOfWeek(EncodeDate(9999, 12, 31))); "
                        "ShowMessage(DayOfWeek(EncodeDate(1, 1, 1))) end.")),
              (QStringList{"6", "2"}));
}

TEST(SafeInput, ANameFirstUsedInARoutineIsAVariableOfTheProgram)
{
    TLangScript js("JScript");
    EXPECT_EQ(js.Run(src("function setIt() { shared = 5; }\n"
                         "function bump() { shared = shared + 1; }\n"
                         "setIt(); bump(); ShowMessage(shared);")),
              QStringList{"6"});
    TLangScript js2("JScript");
    EXPECT_EQ(js2.Run(src("shared = 1;\nfunction bump() { shared = shared + 1; }\nbump(); ShowMessage(shared);")),
              QStringList{"2"});

    TLangScript b("BasicScript");
    EXPECT_EQ(b.Run(src("sub SetIt\n  shared = 5\nend sub\nSetIt\nShowMessage(shared)\n")), QStringList{"5"});
}

TEST(SafeInput, JScriptCallsAndTheLibraryDelete)
{
    TLangScript js("JScript");
    EXPECT_EQ(js.CompileError(src("var a = 1;\nnosuch(a);")), QStringLiteral("2:1: Undeclared identifier: 'nosuch'"));
    EXPECT_EQ(js.CompileError(src("nosuch();")), QStringLiteral("1:1: Undeclared identifier: 'nosuch'"));
    TLangScript del("JScript");
    EXPECT_EQ(del.Run(src("var s = \"abcdef\"; Delete(s, 2, 3); ShowMessage(s);")), QStringList{"aef"});
}

TEST(SafeInput, TextsLongerThanTheLimitAreOutOfMemoryErrors)
{
    // Doubling a text 40 times stops at 2^26 characters with an error the
    // script can catch; so do Insert and SetLength past the limit.
    TTestScript t;
    EXPECT_EQ(t.Run(src("var s: String; i: Integer;\n"
                        "begin s := 'x';\n"
                        "  try for i := 1 to 40 do s := s + s except ShowMessage(ExceptionClassName) end;\n"
                        "  ShowMessage(Length(s));\n"
                        "  try Insert(s, s, 1) except ShowMessage(ExceptionMessage) end;\n"
                        "  try SetLength(s, 67108865) except ShowMessage(ExceptionClassName) end;\n"
                        "  try ShowMessage(Format('%2147483647d', [1])) except ShowMessage(ExceptionClassName) end end.")),
              (QStringList{"EOutOfMemory", "67108864",
                           "Out of memory: a text of 134217728 characters is longer than the 67108864 allowed",
                           "EOutOfMemory", "EOutOfMemory"}));
}

TEST(SafeInput, ANumberThatWasNoObjectIsNeverFollowedAsOne)
{
    TLangScript js("JScript");
    EXPECT_EQ(js.RunError(src("var i = 1; i.Count++;")), QStringLiteral("Access violation: 1 is no object"));
}
