// The report's script and expressions: PrepareScript, Calc with its value
// sources in order, the expression cache, Get/Set/IIF and the error texts.

#include "ExpressionTestUtil.h"

#include "base/Errors.h"
#include "base/FormatSettings.h"
#include "report/engine/rudFR2Events.h"
#include "report/engine/rudGlobalVariables.h"
#include "report/model/rudDataSet.h"

namespace {

// The message of the error Calc raises for the expansion of Memo.
QString expansionError(TExpressionReport &r, TfrxCustomMemoView *Memo)
{
    try {
        r.Expand(Memo);
    } catch (const Exception &e) {
        return e.Message();
    }
    return QStringLiteral("(no error)");
}

// The data set "Clients" with one record, known to the report.
struct TClients {
    std::unique_ptr<TfrxMemoryDataSet> DataSet = std::make_unique<TfrxMemoryDataSet>();

    explicit TClients(TfrxReport &Report)
    {
        DataSet->SetUserName(QStringLiteral("Clients"));
        DataSet->AddField(QStringLiteral("Name"), fftString);
        DataSet->AddField(QStringLiteral("Debt"), fftNumeric);
        DataSet->AddField(QStringLiteral("Paid"), fftNumeric);
        DataSet->AppendRow({QStringLiteral("Петров"), QVariant(), 0});
        DataSet->First();
        Report.DataSets()->Add()->SetDataSet(DataSet.get());
    }
};

} // namespace

TEST(ReportCalc, PrepareScriptRegistersObjectsAndReportsCompileErrors)
{
    TExpressionReport r;
    TfrxMemoView *memo = r.AddMemo(QStringLiteral("Memo1"), QStringLiteral("[Memo1.Name + ' ' + Report.Name]"));
    r.Report.SetName(QStringLiteral("Report1"));
    r.Report.SetScriptText(
        {QStringLiteral("var Counter: Integer;"), QStringLiteral("begin Counter := 41; Set('Total', 5) end.")});
    r.Prepare();
    TfsScript *script = r.Report.Script();
    for (const char *name : {"Page1", "Memo1", "Report", "Engine", "Outline", "Value", "Self", "Get", "Set", "IIF",
                             "SUM", "AVG", "MIN", "MAX", "COUNT"})
        EXPECT_NE(script->FindLocal(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(r.Expand(memo), QStringLiteral("Memo1 Report1"));
    // BeforePrint made the memo "Self".
    EXPECT_EQ(r.ExpandText(QStringLiteral("[Self.Name]")), QStringLiteral("Probe1"));
    // Script variables answer after running the main block; Set writes report variables.
    script->Execute();
    EXPECT_EQ(r.ExpandText(QStringLiteral("[Counter + 1]")), QStringLiteral("42"));
    EXPECT_EQ(r.ExpandText(QStringLiteral("[Engine.CurLine]")), QStringLiteral("0"));
    EXPECT_EQ(r.Report.Variables()->Variables(QStringLiteral("Total")).toInt(), 5);

    // A global hook may add items.
    rudFR2Events().OnPrepareScript = [](TfrxReport *report) {
        report->Script()->AddConst(QStringLiteral("Answer"), QStringLiteral("Integer"), TfsVariant(42));
    };
    r.Report.SetScriptText({QStringLiteral("begin"), QStringLiteral("  x := 1"), QStringLiteral("end.")});
    EXPECT_FALSE(r.Report.PrepareScript());
    rudFR2Events().OnPrepareScript = nullptr;
    EXPECT_NE(r.Report.Script()->FindLocal(QStringLiteral("Answer")), nullptr);
    EXPECT_EQ(r.Report.Errors(), QStringList{QStringLiteral("Script error at 2:3: Undeclared identifier: 'x'")});
}

TEST(ReportCalc, ErrorsNameTheMemoTheExpressionAndTheCompilerMessage)
{
    TExpressionReport r;
    r.Prepare();
    TfrxMemoView *memo = r.AddMemo(QStringLiteral("Memo7"), QStringLiteral("Школа [Москва] №1"));
    const QString expected = QStringLiteral("Memo7: Error in expression 'Москва': Undeclared identifier: 'Москва'");
    EXPECT_EQ(expansionError(r, memo), expected);
    EXPECT_EQ(r.Report.Errors(), QStringList{expected});
    // A failed compile leaves no function behind: the next expression takes its number.
    EXPECT_EQ(r.Report.ExpressionCache()->Count(), 0);
    EXPECT_EQ(r.ExpandText(QStringLiteral("[2 + 2]")), QStringLiteral("4"));
    EXPECT_EQ(r.Report.ExpressionCache()->Count(), 1);

    // Run-time errors carry their own message; IgnoreDevByZero drops only division by zero.
    r.Report.ClearErrors();
    TfrxMemoView *division = r.AddMemo(QStringLiteral("Memo8"), QStringLiteral("[1 / 0]"));
    EXPECT_EQ(expansionError(r, division), QStringLiteral("Memo8: Floating point division by zero"));
    division->AfterPrint();
    r.Report.EngineOptions()->SetIgnoreDevByZero(true);
    EXPECT_EQ(r.Expand(division), QString());
    division->AfterPrint();
    TfrxMemoView *cast = r.AddMemo(QStringLiteral("Memo9"), QStringLiteral("[1 + 'x']"));
    EXPECT_EQ(expansionError(r, cast).left(7), QStringLiteral("Memo9: "));

    // Without a current object the message goes unprefixed, still raised.
    r.Report.SetCurObject(QString());
    EXPECT_THROW(r.Report.Calc(QStringLiteral("1 +")), EGeneralError);
    ASSERT_EQ(r.Report.Errors().filter(QStringLiteral("Error in expression '1 +': ")).size(), 1);
    EXPECT_TRUE(r.Report.Errors().filter(QStringLiteral("Error in expression '1 +': ")).first().startsWith(u'E'));
}

TEST(ReportCalc, CacheSharesExpressionsDifferingInCase)
{
    TExpressionReport r;
    r.Report.SetScriptText({QStringLiteral("var a, b: Integer;"), QStringLiteral("begin a := 1; b := 2 end.")});
    r.Prepare();
    r.Report.Script()->Execute();
    EXPECT_EQ(r.ExpandText(QStringLiteral("[a+b]")), QStringLiteral("3"));
    EXPECT_EQ(r.ExpandText(QStringLiteral("[A+B]")), QStringLiteral("3"));
    EXPECT_EQ(r.Report.ExpressionCache()->Count(), 1);
    // Asked again in any spelling: still the one function.
    EXPECT_EQ(r.ExpandText(QStringLiteral("[a+b] [A+B] [a+B]")), QStringLiteral("3 3 3"));
    EXPECT_EQ(r.Report.ExpressionCache()->Count(), 1);
    r.Report.SetCaseSensitive(true);
    r.Prepare();
    r.Report.Script()->Execute();
    EXPECT_EQ(r.ExpandText(QStringLiteral("[a+b] [A+B]")), QStringLiteral("3 3"));
    EXPECT_EQ(r.Report.ExpressionCache()->Count(), 2);
    EXPECT_EQ(r.ExpandText(QStringLiteral("[A+B] [a+b]")), QStringLiteral("3 3"));
    EXPECT_EQ(r.Report.ExpressionCache()->Count(), 2);
}

TEST(ReportCalc, EveryScriptLanguageCompilesExpressions)
{
    const std::pair<const char *, const char *> languages[] = {
        {"PascalScript", "begin end."}, {"C++Script", "{}"}, {"BasicScript", ""}, {"JScript", ""}};
    for (const auto &[language, main] : languages) {
        TExpressionReport r;
        r.Report.SetScriptLanguage(QLatin1String(language));
        r.Report.SetScriptText({QLatin1String(main)});
        r.Prepare();
        EXPECT_EQ(r.ExpandText(QStringLiteral("[1 + 2] [IIF(1 > 0, 5, 6)]")), QStringLiteral("3 5")) << language;
    }
}

TEST(ReportCalc, ValueSourcesInOrder)
{
    TFormatSettingsScope settings(englishFormatSettings());
    TExpressionReport r;
    r.Report.Variables()->SetVariables(QStringLiteral("Expr"), QStringLiteral("2 * 3"));
    r.Report.Variables()->SetVariables(QStringLiteral("Title"), QStringLiteral("'Свидетельство'"));
    r.Report.Variables()->SetVariables(QStringLiteral("Lines"), QStringLiteral("a\r\nb"));
    r.Report.Variables()->SetVariables(QStringLiteral("Loop"), QStringLiteral("loop"));
    r.Report.Variables()->SetVariables(QStringLiteral("Shared"), QStringLiteral("'report'"));
    rudGlobalVariables().SetVariables(QStringLiteral("Shared"), QStringLiteral("global"));
    rudGlobalVariables().SetVariables(QStringLiteral("OnlyGlobal"), 17);
    rudGlobalVariables().SetVariables(QStringLiteral("CopyName0"), QStringLiteral("Оригинал"));
    r.Prepare();
    EXPECT_EQ(r.ExpandText(QStringLiteral("[Expr] [Title] [Shared] [OnlyGlobal]")),
              QStringLiteral("6 Свидетельство report 17"));
    // In a memo "[CopyName#]" stays a placeholder; elsewhere it reads the global "CopyName0".
    EXPECT_EQ(r.Report.Calc(QStringLiteral("copyname#")).ToText(), QStringLiteral("Оригинал"));
    EXPECT_EQ(r.ExpandText(QStringLiteral("[Lines]")), QStringLiteral("a\r\nb"));
    TfsVariant value;
    EXPECT_THROW(r.Report.DoGetValue(QStringLiteral("Loop"), value), EGeneralError);

    // Host events come before report variables.
    r.Report.OnGetValue = [](const QString &name, QVariant &v) {
        if (name == QLatin1String("Expr"))
            v = QStringLiteral("host");
    };
    r.Report.OnNewGetValue = [](TfrxReport *, const QString &name, QVariant &v) {
        if (name == QLatin1String("Expr"))
            v = v.toString() + QStringLiteral("+new");
    };
    EXPECT_EQ(r.ExpandText(QStringLiteral("[Expr]")), QStringLiteral("host+new"));
    // The global hook comes first of all, even before the system variables.
    rudFR2Events().OnGetValue = [](const QString &name) {
        return name == QLatin1String("Page#") ? TfsVariant(99) : TfsVariant();
    };
    EXPECT_EQ(r.ExpandText(QStringLiteral("[Page#] [Expr]")), QStringLiteral("99 host+new"));
    rudFR2Events().OnGetValue = nullptr;
    r.Report.OnGetValue = nullptr;
    r.Report.OnNewGetValue = nullptr;

    // Data fields of the report's data sets, nulls converted by the field's type.
    TClients clients(r.Report);
    EXPECT_EQ(r.ExpandText(QStringLiteral("[Clients.\"Name\"]|[clients.\"Debt\"]|[Clients.\"Nope\"]")),
              QStringLiteral("Петров|0|"));
    r.Report.EngineOptions()->SetConvertNulls(false);
    EXPECT_EQ(r.ExpandText(QStringLiteral("[Clients.\"Debt\"]")), QString());
    TfrxMemoView *bound = r.AddMemo(QStringLiteral("Bound"), QStringLiteral("design"));
    bound->SetDataSet(clients.DataSet.get());
    bound->SetDataField(QStringLiteral("Paid"));
    EXPECT_EQ(r.Expand(bound), QStringLiteral("0"));
    // A data-field memo keeps the field's text after printing: its design
    // text comes back when the definition is reloaded, not from AfterPrint.
    bound->AfterPrint();
    EXPECT_EQ(bound->Text(), QStringLiteral("0\r\n"));
    bound->SetHideZeros(true);
    EXPECT_EQ(r.Expand(bound), QString());
    bound->AfterPrint();
    bound->SetHideZeros(false);
    bound->DisplayFormat()->SetKind(fkNumeric);
    bound->DisplayFormat()->SetFormatStr(QStringLiteral("%2.2f"));
    EXPECT_EQ(r.Expand(bound), QStringLiteral("0.00"));

    rudGlobalVariables().DeleteVariable(QStringLiteral("Shared"));
    rudGlobalVariables().DeleteVariable(QStringLiteral("OnlyGlobal"));
    rudGlobalVariables().DeleteVariable(QStringLiteral("CopyName0"));
}

TEST(ReportCalc, AngleBracketsGoThroughGet)
{
    TExpressionReport r;
    r.Report.Variables()->SetVariables(QStringLiteral("a"), 5);
    r.Prepare();
    QStringList asked;
    rudFR2Events().OnGetValue = [&asked](const QString &name) {
        asked << name;
        return TfsVariant();
    };
    EXPECT_EQ(r.ExpandText(QStringLiteral("[<Page#> + 10] [<a> * 2]")), QStringLiteral("11 10"));
    rudFR2Events().OnGetValue = nullptr;
    // The memo's expressions are asked first as a whole, then Get asks for the names.
    EXPECT_TRUE(asked.contains(QStringLiteral("Page#")));
    EXPECT_TRUE(asked.contains(QStringLiteral("a")));
    EXPECT_TRUE(asked.contains(QStringLiteral("<Page#> + 10")));

    // An unknown name in angle brackets is listed, not raised.
    EXPECT_EQ(r.ExpandText(QStringLiteral("[<NoSuchThing>]")), QString());
    EXPECT_EQ(r.Report.Errors(), QStringList{QStringLiteral("Unknown variable or datafield: NoSuchThing")});
    // Aggregates answer through the engine (the base engine keeps none).
    EXPECT_EQ(r.ExpandText(QStringLiteral("[SUM(<a>)]|[<COUNT(MasterData1)>]")), QStringLiteral("|"));
}

TEST(ReportCalc, ReportCalcFromScriptRaisesToTheScript)
{
    TExpressionReport r;
    r.Report.SetScriptText({QStringLiteral("var Got, Failed: String;"),
                            QStringLiteral("begin"),
                            QStringLiteral("  Got := Report.Calc('6 * 7');"),
                            QStringLiteral("  try Report.Calc('6 *') except Failed := ExceptionMessage end"),
                            QStringLiteral("end.")});
    r.Prepare();
    r.Report.Script()->Execute();
    EXPECT_EQ(r.Report.Script()->GetVariables(QStringLiteral("Got")).ToText(), QStringLiteral("42"));
    const QString failed = r.Report.Script()->GetVariables(QStringLiteral("Failed")).ToText();
    EXPECT_TRUE(failed.startsWith(QStringLiteral("Error in Calc expression: Error in expression '6 *': "))) << failed.toStdString();
    EXPECT_TRUE(r.Report.Errors().isEmpty());
}
