// Reports of bands: the band tree's messages, rows of RowCount and of a
// data set, filters, overflow onto new pages with page header and footer,
// page numbers over a double pass, groups with totals.

#include "EngineTestUtil.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

} // namespace

TEST(EngineBandsTest, BandTreeProblemsAreReportedAndNothingIsPrepared)
{
    TEngineReport t;
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    t.AddBand<TfrxHeader>("Header1", 0, 20);
    t.AddBand<TfrxGroupFooter>("GroupFooter1", 100, 20);
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 40, 20);
    master->SetRowCount(2);
    t.AddBand<TfrxFooter>("Footer1", 200, 20);
    t.AddBand<TfrxGroupHeader>("GroupHeader1", 300, 20);
    EXPECT_FALSE(t.Report.PrepareReport());
    EXPECT_EQ(t.Pages()->Count(), 0);
    // Header1 lies directly above MasterData1 and Footer1 below it (past the
    // group footer): both are connected; the others are not.
    EXPECT_EQ(t.Report.Errors(), QStringList({"No data band for the group GroupHeader1",
                                              "No group header for GroupFooter1"}));
}

TEST(EngineBandsTest, UnconnectedHeaderIsNamed)
{
    TEngineReport t;
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    t.AddBand<TfrxHeader>("Header1", 100, 20);
    t.AddBand<TfrxMasterData>("MasterData1", 40, 20)->SetRowCount(1);
    EXPECT_FALSE(t.Report.PrepareReport());
    EXPECT_EQ(t.Report.Errors(), QStringList{"Unconnected header/footer Header1"});
    EXPECT_EQ(t.Pages()->Count(), 0);
}

TEST(EngineBandsTest, RowCountShowsTheBandThatManyTimesWithItsLineNumbers)
{
    TEngineReport t;
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 40, 20);
    master->SetRowCount(3);
    t.AddMemo(master, "Memo1", "[Line]");
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join("\n").toStdString();
    ASSERT_EQ(t.Pages()->Count(), 1);
    EXPECT_EQ(t.Lines(0), QStringList({"MasterData1:1", "MasterData1:2", "MasterData1:3"}));
    // The rows follow each other down the page.
    TfrxReportPage *page = t.Pages()->GetPage(0);
    ASSERT_EQ(page->Objects().size(), 4) << "the null band and three rows";
    EXPECT_EQ(page->Objects()[1]->Top(), 0);
    EXPECT_EQ(page->Objects()[2]->Top(), 20);
    EXPECT_EQ(page->Objects()[3]->Top(), 40);
    // The design is untouched.
    EXPECT_EQ(qobject_cast<TfrxMemoView *>(t.Report.FindObject("Memo1"))->Text(), "[Line]\r\n");
}

TEST(EngineBandsTest, DataSetRowsWithAFilterThatIsFalseForEveryRecord)
{
    TEngineReport t;
    auto data = qtyData({{"a", 1}, {"a", 2}});
    t.AddDataSet(data.get(), "D");
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 40, 20);
    master->SetDataSetName("D");
    t.AddMemo(master, "Memo1", "[D.\"Qty\"] [Line]");
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join("\n").toStdString();
    EXPECT_EQ(t.AllLines(), QStringList({"MasterData1:1 1", "MasterData1:2 2"}));

    master = qobject_cast<TfrxMasterData *>(t.Report.FindObject("MasterData1"));
    master->SetFilter("<D.\"Qty\"> > 5");
    ASSERT_TRUE(t.Report.PrepareReport());
    ASSERT_EQ(t.Pages()->Count(), 1);
    EXPECT_TRUE(t.AllLines().isEmpty());

    master = qobject_cast<TfrxMasterData *>(t.Report.FindObject("MasterData1"));
    master->SetFilter("<D.\"Qty\"> > 1");
    ASSERT_TRUE(t.Report.PrepareReport());
    EXPECT_EQ(t.AllLines(), QStringList({"MasterData1:2 1"})) << "rows count only when they pass";
}

TEST(EngineBandsTest, OverflowRepeatsThePageHeaderAndKeepsThePageFooter)
{
    TEngineReport t;
    auto *header = t.AddBand<TfrxPageHeader>("PageHeader1", 0, 30);
    t.AddMemo(header, "Head", "Head");
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 40, 100);
    master->SetRowCount(12);
    t.AddMemo(master, "Row", "[Line]");
    auto *footer = t.AddBand<TfrxPageFooter>("PageFooter1", 200, 25);
    t.AddMemo(footer, "Foot", "Page [Page#]");
    t.Report.EngineOptions()->SetDoublePass(true);
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join("\n").toStdString();
    // 718.1107 high: header 30 + footer 25 leave room for 6 rows of 100.
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(t.Lines(0), QStringList({"PageHeader1:Head", "MasterData1:1", "MasterData1:2", "MasterData1:3",
                                       "MasterData1:4", "MasterData1:5", "MasterData1:6", "PageFooter1:Page 1"}));
    EXPECT_EQ(t.Lines(1), QStringList({"PageHeader1:Head", "MasterData1:7", "MasterData1:8", "MasterData1:9",
                                       "MasterData1:10", "MasterData1:11", "MasterData1:12", "PageFooter1:Page 2"}));
    TfrxReportPage *page = t.Pages()->GetPage(1);
    TfrxComponent *pageFooter = page->Objects().last();
    EXPECT_NEAR(pageFooter->Top(), 718.1107 - 25, 1e-6) << "the footer sits at the bottom of the printable area";
}

TEST(EngineBandsTest, PageOfTotalPagesOnTheSecondOfThreePagesWithDoublePass)
{
    TEngineReport t;
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 40, 300);
    master->SetRowCount(5);
    auto *footer = t.AddBand<TfrxPageFooter>("PageFooter1", 400, 20);
    t.AddMemo(footer, "Foot", "Page [Page#] of [TotalPages#]");
    t.Report.EngineOptions()->SetDoublePass(true);
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join("\n").toStdString();
    ASSERT_EQ(t.Pages()->Count(), 3);
    auto *foot = qobject_cast<TfrxCustomMemoView *>(t.Pages()->GetPage(1)->FindObject("Foot"));
    ASSERT_TRUE(foot);
    foot->SetTotalPages(t.Pages()->Count());
    foot->ExtractMacros();
    EXPECT_EQ(foot->Memo().join(""), "Page 2 of 3");
}

TEST(EngineBandsTest, GroupFooterSumRestartsForEachGroup)
{
    TEngineReport t;
    auto data = qtyData({{"a", 2}, {"a", 3}, {"a", 5}, {"b", 4}, {"b", QVariant()}, {"c", 1}});
    t.AddDataSet(data.get(), "D");
    auto *gh = t.AddBand<TfrxGroupHeader>("GroupHeader1", 20, 20);
    gh->SetCondition("D.\"Group\"");
    t.AddMemo(gh, "G", "[D.\"Group\"]");
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 60, 20);
    master->SetDataSetName("D");
    t.AddMemo(master, "Q", "[D.\"Qty\"]");
    auto *gf = t.AddBand<TfrxGroupFooter>("GroupFooter1", 100, 20);
    t.AddMemo(gf, "S", "[SUM(<D.\"Qty\">, MasterData1)] [AVG(<D.\"Qty\">)] [COUNT(MasterData1)] "
                       "[SUM(<D.\"Qty\">, MasterData1, 2)]");
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join("\n").toStdString();
    EXPECT_EQ(t.AllLines(), QStringList({"GroupHeader1:a", "MasterData1:2", "MasterData1:3", "MasterData1:5",
                                         "GroupFooter1:10 3.33333333333333 3 10", "GroupHeader1:b",
                                         "MasterData1:4", "MasterData1:0", "GroupFooter1:4 2 2 14",
                                         "GroupHeader1:c", "MasterData1:1", "GroupFooter1:1 1 1 15"}));
}

namespace {

// A progress window that records its messages and presses Cancel once it
// shows CancelAt.
struct TProgressLog {
    QStringList Messages;
    QString CancelAt;
    int Shown = 0;
};

class TRecordingProgress final : public TfrxProgressWindow {
public:
    explicit TRecordingProgress(TProgressLog &Log) : FLog(Log) {}
    void Show(const QString &) override { ++FLog.Shown; }
    void SetMessage(const QString &Text) override
    {
        FLog.Messages << Text;
        FCancelled = FCancelled || Text == FLog.CancelAt;
    }
    bool Terminated() const override { return FCancelled; }

private:
    TProgressLog &FLog;
    bool FCancelled = false;
};

struct TProgressReport : TEngineReport {
    TProgressLog Log;
    TProgressReport()
    {
        TfrxServices services = *engineServices();
        services.ProgressWindow = [this] { return std::make_unique<TRecordingProgress>(Log); };
        Report.SetServices(std::make_shared<const TfrxServices>(std::move(services)));
        Report.SetOldStyleProgress(true);
        auto *master = AddBand<TfrxMasterData>("MasterData1", 40, 100);
        master->SetRowCount(30); // 7 rows a page: 5 pages
        AddMemo(master, "Row", "[Line]");
    }
};

} // namespace

TEST(EngineBandsTest, ProgressWindowNamesThePassAndItsCancelStopsTheRun)
{
    {
        TProgressReport t;
        t.Report.EngineOptions()->SetDoublePass(true);
        ASSERT_TRUE(t.Report.PrepareReport());
        EXPECT_EQ(t.Pages()->Count(), 5);
        EXPECT_EQ(t.Log.Shown, 1);
        EXPECT_EQ(t.Log.Messages, QStringList({"First pass: page 1", "First pass: page 2", "First pass: page 3",
                                               "First pass: page 4", "First pass: page 5", "Preparing page 1",
                                               "Preparing page 2", "Preparing page 3", "Preparing page 4",
                                               "Preparing page 5"}));
    }
    {
        TProgressReport t;
        t.Log.CancelAt = "Preparing page 2";
        EXPECT_TRUE(t.Report.PrepareReport()) << "a cancelled run keeps what it prepared";
        EXPECT_EQ(t.Pages()->Count(), 2);
        EXPECT_EQ(t.AllLines().last(), "MasterData1:8") << "the row that opened page 2 is placed, then the walk stops";
    }
    {
        TProgressReport t;
        t.Report.SetOldStyleProgress(false);
        ASSERT_TRUE(t.Report.PrepareReport());
        EXPECT_EQ(t.Log.Shown, 0) << "new-style progress goes to the preview, not to a window";
    }
}
