// The tokenizer, the grammar matcher and the intermediate document.

#include "ScriptTestUtil.h"

#include "script/fs_iilparser.h"
#include "script/fs_iparser.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

TEST(FrontEnd, TokenizerReadsPascalTokens)
{
    TfsParser p;
    p.CommentLine1 = QStringLiteral("//");
    p.CommentBlock1Open = QStringLiteral("{");
    p.CommentBlock1Close = QStringLiteral("}");
    p.CommentBlock2Open = QStringLiteral("(*");
    p.CommentBlock2Close = QStringLiteral("*)");
    p.SetKeywords({QStringLiteral("begin"), QStringLiteral("end")});

    p.SetText(QStringLiteral("  'it''s' 'a'#13#10'b' #65 'open"));
    EXPECT_EQ(p.GetString(), QStringLiteral("'it's'"));
    EXPECT_EQ(p.GetString(), QStringLiteral("'a\r\nb'"));
    EXPECT_EQ(p.GetString(), QStringLiteral("'A'"));
    p.SkipSpaces();
    const int before = p.Position();
    EXPECT_TRUE(p.GetString().isEmpty()); // unterminated: no token, position kept
    EXPECT_EQ(p.Position(), before);

    p.SetText(QStringLiteral("$FF 12.5e3 1..5 7"));
    EXPECT_EQ(p.GetNumber(), QStringLiteral("$FF"));
    EXPECT_EQ(p.GetNumber(), QStringLiteral("12.5e3"));
    EXPECT_EQ(p.GetNumber(), QStringLiteral("1"));
    EXPECT_EQ(p.GetChar(), QStringLiteral("."));
    EXPECT_EQ(p.GetChar(false), QStringLiteral("."));
    EXPECT_EQ(p.GetNumber(), QStringLiteral("5"));

    p.SetText(QStringLiteral("{ c } (* c *) // line\n BEGIN Имя _x1 end"));
    EXPECT_TRUE(p.GetIdent().isEmpty()); // a keyword is no identifier, whatever its case
    EXPECT_EQ(p.GetWord(), QStringLiteral("BEGIN"));
    EXPECT_EQ(p.GetIdent(), QStringLiteral("Имя"));
    EXPECT_EQ(p.GetIdent(), QStringLiteral("_x1"));
    EXPECT_EQ(p.GetXYPosition(p.LastPosition()), QStringLiteral("2:12"));
    EXPECT_EQ(p.GetPlainPosition(QStringLiteral("2:12")), p.LastPosition());
    EXPECT_TRUE(p.IsKeyWord(QStringLiteral("End")));

    // Angle-bracket names: nested brackets and quoted text do not close.
    p.SetText(QStringLiteral("Memo1.Text> rest"));
    EXPECT_EQ(p.GetFRString(), QStringLiteral("Memo1.Text"));
    p.SetText(QStringLiteral("a<b>[x>y]'>'> z"));
    EXPECT_EQ(p.GetFRString(), QStringLiteral("a<b>[x>y]'>'"));

    // C-style settings: 0x prefix and backslash escapes.
    TfsParser c;
    c.StringQuotes = QLatin1Char('"');
    c.HexSequence = QStringLiteral("0x");
    c.SpecStrChar = true;
    c.SetText(QStringLiteral("0xFF \"a\\nb\\x41\\\"\""));
    EXPECT_EQ(c.GetNumber(), QStringLiteral("$FF"));
    EXPECT_EQ(c.GetString(), QStringLiteral("'a\nbA\"'"));
}

namespace {

// The intermediate document as the XML writer writes it.
QString ilText(TfsILParser &Front)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Front.ILScript().SaveToStream(&buffer);
    return QString::fromUtf8(buffer.data());
}

} // namespace

TEST(FrontEnd, ILDocumentOfExpressions)
{
    TTestScript t;
    t.Script.AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                       [](QObject *, TfsClassVariable *, const QString &, TfsCustomVariable &caller) {
                           return TfsVariant(QStringLiteral("got ") + caller.ParamValue(0).ToString());
                       });
    TfsILParser front(&t.Script);
    front.SelectLanguage(QStringLiteral("PascalScript"));
    ASSERT_TRUE(front.MakeILScript(QStringLiteral("begin ShowMessage(<Memo1.Text>) end.")));
    const QString il = ilText(front);
    EXPECT_TRUE(il.contains(QStringLiteral("<node text=\"Get\" pos=\"1:20\"/>"))) << il.toStdString();
    EXPECT_TRUE(il.contains(QStringLiteral("<string text=\"'Memo1.Text'\" pos=\"1:20\"/>"))) << il.toStdString();
    EXPECT_EQ(t.Run(QStringLiteral("begin ShowMessage(<Memo1.Text>) end.")), QStringList{QStringLiteral("got Memo1.Text")});

    // Operators become "op" leaves with their source symbols.
    ASSERT_TRUE(front.MakeILScript(QStringLiteral("var a: Integer; begin a := -a * 2 <> 1 end.")));
    const QString il2 = ilText(front);
    for (const char *op : {"unminus", "*", "&#60;&#62;"})
        EXPECT_TRUE(il2.contains(QStringLiteral("<op text=\"%1\"").arg(QLatin1String(op)))) << op;
    EXPECT_FALSE(il2.contains(QStringLiteral("<expr pos=\"1:28\" pos1")));
}

TEST(FrontEnd, UsesClauseIncludesUnitsOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const QString &name, const QString &text) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    };
    write(QStringLiteral("lib.pas"), QStringLiteral("uses 'base.pas'; function Twice(x: Integer): Integer; begin Result := Base(x) * 2 end; begin end."));
    write(QStringLiteral("base.pas"), QStringLiteral("function Base(x: Integer): Integer; begin Result := x + 1 end; begin ShowMessage('base init') end."));
    write(QStringLiteral("bad.pas"), QStringLiteral("begin x := end."));
    TTestScript t;
    t.Script.IncludePath() = QStringList{dir.path()};
    EXPECT_EQ(t.Run(QStringLiteral("uses 'lib.pas', 'base.pas'; begin ShowMessage(Twice(20)) end.")),
              (QStringList{QStringLiteral("base init"), QStringLiteral("42")}));

    EXPECT_FALSE(t.CompileError(QStringLiteral("uses 'bad.pas'; begin end.")).isEmpty());
    EXPECT_EQ(t.Script.ErrorUnit(), QStringLiteral("bad.pas"));
    EXPECT_EQ(t.Script.ErrorPos(), QStringLiteral("1:12"));

    EXPECT_THROW(t.CompileError(QStringLiteral("uses 'missing.pas'; begin end.")), EInOutError);

    // The host may serve units itself.
    TTestScript h;
    h.Script.OnGetUnit = [](TfsScript *, const QString &name, QString &source) {
        if (name != QLatin1String("mem"))
            return false;
        source = QStringLiteral("const Answer = 42; begin end.");
        return true;
    };
    EXPECT_EQ(h.Run(QStringLiteral("uses 'mem'; begin ShowMessage(Answer) end.")), QStringList{QStringLiteral("42")});
}

