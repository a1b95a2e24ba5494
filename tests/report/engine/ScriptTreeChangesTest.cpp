// Scripts that try to change the report's tree while the engine walks it:
// the calls are refused with a script error naming them, the run ends with
// that error, and the report keeps its objects.

#include "EngineTestUtil.h"

#include "report/model/rudSubreport.h"
#include "script/fs_iinterpreter.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

// Page1: MasterData1 (two rows) holding Memo1 and Subreport1, which prints
// Page2: SubData (one row) holding SubMemo.
struct TTreeReport : TEngineReport {
    TTreeReport()
    {
        TfrxReportPage *page1 = NewPage();
        auto *master = AddBand<TfrxMasterData>("MasterData1", 40, 60);
        master->SetRowCount(2);
        AddMemo(master, "Memo1", "[Line]");
        TfrxReportPage *page2 = NewPage();
        auto *sub = AddBand<TfrxMasterData>("SubData", 0, 20);
        sub->SetRowCount(1);
        AddMemo(sub, "SubMemo", "sub");
        auto *subreport = new TfrxSubreport(master);
        subreport->SetName("Subreport1");
        subreport->SetBounds(0, 20, 200, 20);
        subreport->SetPage(page2);
        Page = page1;
        Report.EngineOptions()->SetNewSilentMode(simSilent);
    }
};

} // namespace

TEST(ScriptTreeChanges, CallsThatChangeTheTreeAreRefusedWhileTheReportIsPrepared)
{
    struct TCase {
        const char *Host; // the object whose event runs the statement; empty: the main block
        const char *Event;
        const char *Statement;
        const char *Call;
    };
    const TCase cases[] = {
        {"Memo1", "OnBeforePrint", "Report.Clear", "TfrxReport.Clear"},
        {"Page1", "OnBeforePrint", "Page1.Clear", "Page1.Clear"},
        {"Memo1", "OnBeforePrint", "MasterData1.Clear", "MasterData1.Clear"},
        {"Page1", "OnAfterPrint", "Page2.Clear", "Page2.Clear"},
        {"SubMemo", "OnBeforePrint", "Page2.Clear", "Page2.Clear"},
        {"Memo1", "OnAfterPrint", "Report.Assign(Page1)", "TfrxReport.Assign"},
        {"Memo1", "OnBeforePrint", "Page1.Assign(Page2)", "Page1.Assign"},
        {"MasterData1", "OnBeforePrint", "MasterData1.Assign(Page2)", "MasterData1.Assign"},
        {"SubMemo", "OnAfterPrint", "Page2.Parent := MasterData1", "Page2.Parent"},
        {"Memo1", "OnBeforePrint", "m := TfrxMemoView.Create(nil); m.Parent := MasterData1", "TfrxMemoView.Parent"},
        {"Memo1", "OnBeforePrint", "TfrxReportPage.Create(Report)", "TfrxReportPage.Create"},
        {"Memo1", "OnBeforePrint", "TfrxMemoView.Create(MasterData1)", "TfrxMemoView.Create"},
        {"Memo1", "OnBeforePrint", "SubMemo.Free", "SubMemo.Free"},
        {"", "", "Page1.Clear", "Page1.Clear"},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(std::string(c.Host) + " " + c.Event + ": " + c.Statement);
        TTreeReport t;
        const QString statement = QString::fromLatin1(c.Statement);
        if (*c.Host) {
            TfrxComponent *host = t.Report.FindObject(c.Host);
            ASSERT_NE(host, nullptr);
            ASSERT_TRUE(host->setProperty(c.Event, QStringLiteral("Ev")));
            t.Report.SetScriptText({"procedure Ev(Sender: TfrxComponent);", "var m: TfrxMemoView;", "begin",
                                    "  " + statement + ";", "end;", "", "begin", "end."});
        } else {
            t.Report.SetScriptText({"var m: TfrxMemoView;", "begin", "  " + statement + ";", "end."});
        }
        EXPECT_FALSE(t.Report.PrepareReport());
        const QString message = QStringLiteral("Cannot call %1 while the report is being prepared").arg(c.Call);
        EXPECT_TRUE(t.Report.Errors().join('\n').contains(message)) << t.Report.Errors().join('\n').toStdString();
        // The report keeps its design.
        for (const char *name : {"Page1", "MasterData1", "Memo1", "Subreport1", "Page2", "SubData", "SubMemo"})
            EXPECT_NE(t.Report.FindObject(name), nullptr) << name;
        EXPECT_EQ(t.Report.FindObject("Page2")->Parent(), &t.Report);
    }

    // Properties still change while the report is prepared, and the tree
    // calls work again once it is done.
    TTreeReport t;
    t.Report.FindObject("Memo1")->setProperty("OnBeforePrint", QStringLiteral("Ev"));
    t.Report.SetScriptText({"procedure Ev(Sender: TfrxComponent);", "begin", "  Memo1.Text := 'row';",
                            "  SubMemo.Visible := False;", "end;", "", "begin", "end."});
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join('\n').toStdString();
    EXPECT_EQ(t.Lines(0).first(), "MasterData1:row");
    ASSERT_TRUE(t.Report.PrepareScript());
    t.Report.Script()->SetLines("begin Page2.Clear end.");
    ASSERT_TRUE(t.Report.Script()->Compile());
    t.Report.Script()->Execute();
    EXPECT_EQ(t.Report.FindObject("SubMemo"), nullptr);
}
