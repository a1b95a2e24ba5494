// Memo text expansion: the bracket scan, inline and stored formats,
// HideZeros, highlights, repeated values, FlowTo and the placeholders.

#include "ExpressionTestUtil.h"

#include "base/FormatSettings.h"
#include "report/engine/rudBrackets.h"
#include "report/engine/rudGlobalVariables.h"
#include "report/model/rudViewPainter.h"

namespace {

// The scan alone, each expression replaced by "<expr>".
QString scan(const QString &text, const QString &open = QStringLiteral("["), const QString &close = QStringLiteral("]"))
{
    return rudExpandBrackets(text, open, close,
                             [](const QString &expr, int) { return QLatin1Char('<') + expr + QLatin1Char('>'); });
}

// Text layout that keeps a memo's first word and lets the rest overflow.
class TFirstWordPainter final : public TfrxViewPainter {
public:
    void Draw(TfrxView *, TfrxCanvas *, double, double, double, double) override {}
    double CalcHeight(TfrxCustomMemoView *Memo) override { return Memo->Height(); }
    double CalcWidth(TfrxCustomMemoView *Memo) override { return Memo->Width(); }
    TfrxMemoSplit Split(TfrxCustomMemoView *Memo) override
    {
        const QString text = Memo->Text();
        return {text.section(u' ', 0, 0), text.section(u' ', 1), false, 0};
    }
    QString WrapText(TfrxCustomMemoView *Memo, bool) override { return Memo->Text(); }
};

} // namespace

TEST(MemoExpansion, BracketScan)
{
    EXPECT_EQ(scan(QStringLiteral("no delimiter ] here")), QStringLiteral("no delimiter ] here"));
    EXPECT_EQ(scan(QStringLiteral("a [x] b [y]")), QStringLiteral("a <x> b <y>"));
    // Nested brackets belong to the outer expression; quoted ones do not count.
    EXPECT_EQ(scan(QStringLiteral("[a[1]]")), QStringLiteral("<a[1]>"));
    EXPECT_EQ(scan(QStringLiteral("['[x]'] [\"]\"]")), QStringLiteral("<'[x]'> <\"]\">"));
    EXPECT_EQ(scan(QStringLiteral("[a 'it''s]' b]")), QStringLiteral("<a 'it''s]' b>"));
    // Unclosed: the rest goes, the expression lacks the text's last character.
    EXPECT_EQ(scan(QStringLiteral("sum [1+2 end")), QStringLiteral("sum <1+2 en>"));
    // An opening delimiter that is the text's last character stays.
    EXPECT_EQ(scan(QStringLiteral("abc [")), QStringLiteral("abc ["));
    // Replacement text is never scanned again.
    EXPECT_EQ(rudExpandBrackets(QStringLiteral("[a][b]"), QStringLiteral("["), QStringLiteral("]"),
                                [](const QString &expr, int n) { return QStringLiteral("[%1%2]").arg(expr).arg(n); }),
              QStringLiteral("[a0][b1]"));
    // Multi-character delimiters.
    EXPECT_EQ(scan(QStringLiteral("x <%1+2%> y <%'%>'%>"), QStringLiteral("<%"), QStringLiteral("%>")),
              QStringLiteral("x <1+2> y <'%>'>"));
    EXPECT_EQ(scan(QStringLiteral("[x]"), QString(), QStringLiteral("]")), QStringLiteral("[x]"));

    int i = 2, j = 0;
    EXPECT_EQ(rudGetBrackedVariableW(QStringLiteral("ab[cd]e"), QStringLiteral("["), QStringLiteral("]"), i, j),
              QStringLiteral("cd"));
    EXPECT_EQ(i, 2);
    EXPECT_EQ(j, 5);
}

TEST(MemoExpansion, TextsOfTheEdgeCases)
{
    TFormatSettingsScope settings(englishFormatSettings());
    TExpressionReport r;
    r.Prepare();
    // Without the delimiter the text stays exactly as it is, final break and all.
    TfrxMemoView *plain = r.AddMemo(QStringLiteral("Plain"), QStringLiteral("Иванов И. И.\r\n  (водитель) ]"));
    const QStringList before = plain->Memo();
    r.Expand(plain);
    EXPECT_EQ(plain->Memo(), before);
    EXPECT_FALSE(plain->Value().isValid());

    EXPECT_EQ(r.ExpandText(QStringLiteral("[IIF(1 > 0, 'yes', 'no')]")), QStringLiteral("yes"));
    EXPECT_EQ(r.ExpandText(QStringLiteral("[IIF(1 < 0, 'yes', 'no')]")), QStringLiteral("no"));
    EXPECT_EQ(r.ExpandText(QStringLiteral("['[x]']")), QStringLiteral("[x]"));
    EXPECT_EQ(r.ExpandText(QStringLiteral("Итого: [1 + 2 * 3] руб.")), QStringLiteral("Итого: 7 руб."));
    // The unclosed expression takes the rest of the text (its line break included).
    EXPECT_EQ(r.ExpandText(QStringLiteral("Sum [1+2")), QStringLiteral("Sum 3"));
    // The first letter after " #" only selects the kind.
    EXPECT_EQ(r.ExpandText(QStringLiteral("[Date #ddd.mm.yyyy]")), QStringLiteral("05.03.2024"));
    EXPECT_EQ(r.ExpandText(QStringLiteral("[Date #dd.mm.yyyy]")), QStringLiteral("5.03.2024"));
    EXPECT_EQ(r.ExpandText(QStringLiteral("[Time #thh:nn]")), QStringLiteral("14:30"));
    EXPECT_EQ(r.ExpandText(QStringLiteral("[1 = 1 #BДа,Нет] [1 = 2 #bДа,Нет]")), QStringLiteral("Да Нет"));
    // A ")" after " #" makes the whole text the expression.
    EXPECT_EQ(r.ExpandText(QStringLiteral("[IIF(True, 'a #b', 'c')]")), QStringLiteral("a #b"));
    // The placeholders stay until the page is drawn.
    EXPECT_EQ(r.ExpandText(QStringLiteral("Page [Page#] of [totalpages#] [CopyName#]")),
              QStringLiteral("Page 1 of [TotalPages#] [CopyName#]"));
}

TEST(MemoExpansion, InlineNumericFormatTakesItsSeparator)
{
    for (const TFormatSettings &locale : {englishFormatSettings(), russianFormatSettings()}) {
        TFormatSettingsScope settings(locale);
        TExpressionReport r;
        r.Report.Variables()->SetVariables(QStringLiteral("Sum"), 1234.5);
        r.Prepare();
        EXPECT_EQ(r.ExpandText(QStringLiteral("[Sum #n%2,2f]")), QStringLiteral("1234,50"));
        EXPECT_EQ(r.ExpandText(QStringLiteral("[Sum #n%2.2f]")), QStringLiteral("1234.50"));
        EXPECT_EQ(r.ExpandText(QStringLiteral("[Sum #n%2-2f]")), QStringLiteral("1234-50"));
    }
}

TEST(MemoExpansion, StoredFormatsPerExpression)
{
    TFormatSettingsScope settings(englishFormatSettings());
    TExpressionReport r;
    r.Prepare();
    TfrxMemoView *memo = r.AddMemo(QStringLiteral("Memo1"), QStringLiteral("[1234.5] [2] [3] [4]"));
    TfrxFormat *first = memo->DisplayFormat();
    first->SetKind(fkNumeric);
    first->SetFormatStr(QStringLiteral("#,##0.00"));
    first->SetDecimalSeparator(QStringLiteral(","));
    first->SetThousandSeparator(QStringLiteral(" "));
    TfrxFormat *second = memo->Formats().Add();
    second->SetKind(fkNumeric);
    second->SetFormatStr(QStringLiteral("%3.3d"));
    // The second format serves the second expression and every later one.
    EXPECT_EQ(r.Expand(memo), QStringLiteral("1 234,50 002 003 004"));

    // FormatData of the four kinds, and values the format does not fit.
    TfrxFormat f;
    f.SetKind(fkBoolean);
    f.SetFormatStr(QStringLiteral("Yes,No"));
    EXPECT_EQ(memo->FormatData(TfsVariant(true), &f), QStringLiteral("Yes"));
    EXPECT_EQ(memo->FormatData(TfsVariant(false), &f), QStringLiteral("No"));
    f.SetFormatStr(QStringLiteral("Off"));
    EXPECT_EQ(memo->FormatData(TfsVariant(true), &f), QString());
    EXPECT_EQ(memo->FormatData(TfsVariant(false), &f), QStringLiteral("Off"));
    f.SetKind(fkNumeric);
    f.SetFormatStr(QStringLiteral("%2.2f"));
    EXPECT_EQ(memo->FormatData(TfsVariant(QStringLiteral("abc")), &f), QStringLiteral("abc"));
    EXPECT_EQ(memo->FormatData(TfsVariant::Null(), &f), QString());
    f.SetKind(fkDateTime);
    f.SetFormatStr(QStringLiteral("dd.mm.yyyy"));
    EXPECT_EQ(memo->FormatData(TfsVariant(EncodeDate(2001, 2, 3)), &f), QStringLiteral("03.02.2001"));
    EXPECT_EQ(memo->FormatData(TfsVariant(QStringLiteral("not a date")), &f), QStringLiteral("not a date"));
    f.SetKind(fkText);
    EXPECT_EQ(memo->FormatData(TfsVariant(2.5), &f), QStringLiteral("2.5"));
}

TEST(MemoExpansion, HideZerosHidesNumbersNotTexts)
{
    TExpressionReport r;
    r.Prepare();
    TfrxMemoView *memo = r.AddMemo(QStringLiteral("Memo1"), QStringLiteral("[0]|[1 - 1]|['0']|[0.0]|[7]"));
    memo->SetHideZeros(true);
    EXPECT_EQ(r.Expand(memo), QStringLiteral("||0||7"));
    // The memo's Value and the script's "Value" hold the last expression's value.
    EXPECT_EQ(memo->Value(), QVariant(7));
    EXPECT_EQ(r.Report.Script()->FindLocal(QStringLiteral("Value"))->FValue.ToInt(), 7);
    memo->AfterPrint();
    EXPECT_EQ(memo->Text(), QStringLiteral("[0]|[1 - 1]|['0']|[0.0]|[7]\r\n"));
}

TEST(MemoExpansion, HighlightAppliedAndUndone)
{
    TExpressionReport r;
    r.Prepare();
    TfrxMemoView *memo = r.AddMemo(QStringLiteral("Memo1"), QStringLiteral("[5]"));
    memo->SetColor(0x00FFFF);
    TfrxHighlight *never = memo->Highlights().Add();
    never->SetCondition(QStringLiteral("Value > 10"));
    never->SetColor(0x0000FF);
    memo->Highlights().Add(); // no condition: skipped
    TfrxHighlight *big = memo->Highlights().Add();
    big->SetCondition(QStringLiteral("Value > 3"));
    big->SetColor(0x00FF00);
    big->SetApplyFont(true);
    big->Font()->SetSize(20);
    TfrxHighlight *later = memo->Highlights().Add();
    later->SetCondition(QStringLiteral("True"));
    later->SetVisible(false);

    const int size = memo->Font()->Size();
    r.Expand(memo);
    EXPECT_EQ(memo->Color(), 0x00FF00);
    EXPECT_EQ(memo->Font()->Size(), 20);
    EXPECT_TRUE(memo->Visible()); // only the first true highlight applies
    memo->AfterPrint();
    EXPECT_EQ(memo->Color(), 0x00FFFF);
    EXPECT_EQ(memo->Font()->Size(), size);
    EXPECT_EQ(memo->Text(), QStringLiteral("[5]\r\n"));
}

// A report whose script is the empty program gets its script at the first
// expression; the "Value" and "Self" the run gave before that are in it.
TEST(MemoExpansion, AScriptMadeAtTheFirstExpressionHasTheRunsValueAndSelf)
{
    TExpressionReport r;
    ASSERT_EQ(r.Report.ScriptText().join(u' ').simplified(), QStringLiteral("begin end."));
    TfrxMemoView *memo = r.AddMemo(QStringLiteral("Memo1"), QStringLiteral("plain"));
    r.Prepare();
    memo->SetValue(7);
    TfrxHighlight *highlight = memo->Highlights().Add();
    highlight->SetCondition(QStringLiteral("(Value = 7) and (Self.Name = 'Memo1') and (Memo1.Text <> '')"));
    highlight->SetColor(0x00FF00);
    r.Expand(memo);
    EXPECT_EQ(memo->Color(), 0x00FF00) << r.Report.Errors().join(u'\n').toStdString();
}

TEST(MemoExpansion, SuppressRepeatedFlowToAndTagStr)
{
    TExpressionReport r;
    r.Prepare();
    TfrxMemoView *memo = r.AddMemo(QStringLiteral("Memo1"), QStringLiteral("[1 + 1]"));
    memo->SetSuppressRepeated(true);
    EXPECT_EQ(r.Expand(memo), QStringLiteral("2"));
    memo->AfterPrint();
    EXPECT_EQ(r.Expand(memo), QString());
    memo->AfterPrint();

    TfrxMemoView *next = r.AddMemo(QStringLiteral("Memo2"), QStringLiteral("design"));
    memo->SetFlowTo(next);
    memo->SetSuppressRepeated(false);
    memo->SetText(QStringLiteral("first second [1]"));
    r.Expand(memo); // without text layout everything fits: nothing flows on
    EXPECT_EQ(next->Text(), QString());
    memo->AfterPrint();
    TFirstWordPainter painter;
    r.Report.SetServices(enginetest::engineServices(&painter));
    r.Expand(memo);
    r.Report.SetServices(enginetest::engineServices());
    EXPECT_EQ(next->Text(), QStringLiteral("second 1\r\n"));
    EXPECT_FALSE(next->AllowExpressions());
    memo->AfterPrint();

    memo->SetTagStr(QStringLiteral("id [2 * 21]"));
    memo->Hyperlink()->SetValue(QStringLiteral("page [1 + 1]"));
    memo->Hyperlink()->SetExpression(QStringLiteral("'it''s'"));
    r.Expand(memo);
    EXPECT_EQ(memo->TagStr(), QStringLiteral("id 42"));
    EXPECT_EQ(memo->Hyperlink()->Value(), QStringLiteral("'it''s'"));
    memo->AfterPrint();
    EXPECT_EQ(memo->TagStr(), QStringLiteral("id [2 * 21]"));
    EXPECT_EQ(memo->Hyperlink()->Value(), QStringLiteral("page [1 + 1]"));
    memo->AfterPrint();
    r.Report.SetScriptLanguage(QStringLiteral("C++Script"));
    r.Report.SetScriptText({QStringLiteral("{}")});
    r.Prepare();
    memo->Hyperlink()->SetExpression(QStringLiteral("\"say \" + Chr(34)"));
    r.Expand(memo);
    EXPECT_EQ(memo->Hyperlink()->Value(), QStringLiteral("\"say \\\"\""));
}

TEST(MemoExpansion, PlaceholdersResolvedBeforeDrawing)
{
    TExpressionReport r;
    TfrxMemoView *memo = r.AddMemo(QStringLiteral("Memo1"), QStringLiteral("Page 1 of [TotalPages#], [copyname#]"));
    memo->SetTotalPages(2);
    memo->SetCopyNo(1);
    memo->ExtractMacros();
    EXPECT_EQ(memo->Text(), QStringLiteral("Page 1 of 2, \r\n"));
    rudGlobalVariables().SetVariables(QStringLiteral("CopyName1"), QStringLiteral("Копия [CopyName#]"));
    memo->SetText(QStringLiteral("[COPYNAME#]"));
    memo->ExtractMacros();
    EXPECT_EQ(memo->Text(), QStringLiteral("Копия [CopyName#]\r\n"));
    rudGlobalVariables().DeleteVariable(QStringLiteral("CopyName1"));
    memo->SetText(QStringLiteral("[TotalPages#]"));
    memo->SetAllowExpressions(false);
    memo->ExtractMacros();
    EXPECT_EQ(memo->Text(), QStringLiteral("[TotalPages#]\r\n"));
}
