// Keep-together: a group, a header with the first row, a footer with the
// last row, a band with its child move to the next page as a block when
// they do not fit; the page footer's totals and the outline move with them.

#include "EngineTestUtil.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

void prepare(TEngineReport &t)
{
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join("\n").toStdString();
}

// Groups of rows of 100 between a 20 header and a 20 footer, a page footer
// of 25 with the page's total; the rows carry outline entries.
struct TGroupReport : TEngineReport {
    std::unique_ptr<TfrxMemoryDataSet> Data =
        qtyData({{"a", 1}, {"a", 2}, {"a", 3}, {"a", 4}, {"a", 5}, {"b", 10}, {"b", 20}, {"b", 30}});
    TfrxGroupHeader *Header;

    TGroupReport()
    {
        AddDataSet(Data.get(), "D");
        Header = AddBand<TfrxGroupHeader>("GroupHeader1", 20, 20);
        Header->SetCondition("<D.\"Group\">");
        AddMemo(Header, "G", "[D.\"Group\"]");
        auto *master = AddBand<TfrxMasterData>("MasterData1", 60, 100);
        master->SetDataSetName("D");
        master->SetOutlineText("<D.\"Qty\">");
        AddMemo(master, "Q", "[D.\"Qty\"]");
        AddMemo(AddBand<TfrxGroupFooter>("GroupFooter1", 200, 20), "S", "[SUM(<D.\"Qty\">)]");
        AddMemo(AddBand<TfrxPageFooter>("PageFooter1", 400, 25), "P", "[SUM(<D.\"Qty\">)]");
    }
};

} // namespace

// Group a takes 540 of the 693 left above the page footer; group b's header
// and first row would fit below it, its second row would not.
TEST(EngineKeepTest, GroupKeptTogetherMovesWholeWithItsTotalsAndOutline)
{
    {
        TGroupReport t;
        prepare(t);
        EXPECT_EQ(t.Lines(0).mid(t.Lines(0).size() - 3),
                  QStringList({"GroupHeader1:b", "MasterData1:10", "PageFooter1:25"}))
            << "without keeping, the group starts at the bottom of the page";
    }
    TGroupReport t;
    t.Header->SetKeepTogether(true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(t.Lines(0), QStringList({"GroupHeader1:a", "MasterData1:1", "MasterData1:2", "MasterData1:3",
                                       "MasterData1:4", "MasterData1:5", "GroupFooter1:15", "PageFooter1:15"}));
    EXPECT_EQ(t.Lines(1), QStringList({"GroupHeader1:b", "MasterData1:10", "MasterData1:20", "MasterData1:30",
                                       "GroupFooter1:60", "PageFooter1:60"}));
    EXPECT_EQ(t.Places(1).mid(0, 3),
              QStringList({"GroupHeader1@0,0", "MasterData1@0,20", "MasterData1@0,120"}));
    // The moved row's outline entry points where the row went.
    EXPECT_EQ(t.Outline(), QStringList({"1 0 20", "2 0 120", "3 0 220", "4 0 320", "5 0 420", "10 1 20",
                                        "20 1 120", "30 1 220"}));
}

// A 650 title leaves 68: room for the header, not for the first row.
TEST(EngineKeepTest, HeaderKeptWithTheFirstRow)
{
    auto build = [](TEngineReport &t, bool Keep) {
        t.AddBand<TfrxReportTitle>("ReportTitle1", 0, 650);
        t.AddMemo(t.AddBand<TfrxHeader>("Header1", 660, 40), "H", "Head");
        auto *master = t.AddBand<TfrxMasterData>("MasterData1", 710, 100);
        master->SetRowCount(2);
        master->SetKeepHeader(Keep);
        t.AddMemo(master, "Row", "[Line]");
    };
    {
        TEngineReport t;
        build(t, false);
        prepare(t);
        EXPECT_EQ(t.Places(0), QStringList({"ReportTitle1@0,0", "Header1@0,650"}));
        EXPECT_EQ(t.Places(1), QStringList({"Header1@0,0", "MasterData1@0,40", "MasterData1@0,140"}))
            << "the header repeats above the rows on the new page";
    }
    TEngineReport t;
    build(t, true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(t.Places(0), QStringList{"ReportTitle1@0,0"});
    EXPECT_EQ(t.Places(1), QStringList({"Header1@0,0", "MasterData1@0,40", "MasterData1@0,140"}));
    EXPECT_EQ(t.Lines(1), QStringList({"Header1:Head", "MasterData1:1", "MasterData1:2"}));
}

// A 400 title and three rows of 100 fill 700 of the 700.1 left above an 18
// page footer: the 40 footer does not fit, so the last row goes with it,
// and so does its share of the page total.
TEST(EngineKeepTest, FooterKeptWithTheLastRow)
{
    auto build = [](TEngineReport &t, TfrxMemoryDataSet *Data, bool Keep) {
        t.AddDataSet(Data, "D");
        t.AddBand<TfrxReportTitle>("ReportTitle1", 0, 400);
        auto *master = t.AddBand<TfrxMasterData>("MasterData1", 410, 100);
        master->SetDataSetName("D");
        master->SetKeepFooter(Keep);
        t.AddMemo(master, "Q", "[D.\"Qty\"]");
        t.AddMemo(t.AddBand<TfrxFooter>("Footer1", 520, 40), "F", "[SUM(<D.\"Qty\">)]");
        t.AddMemo(t.AddBand<TfrxPageFooter>("PageFooter1", 600, 18), "P", "[SUM(<D.\"Qty\">)]");
    };
    {
        TEngineReport t;
        auto data = qtyData({{"a", 1}, {"a", 2}, {"a", 4}});
        build(t, data.get(), false);
        prepare(t);
        EXPECT_EQ(t.Lines(1), QStringList({"Footer1:7", "PageFooter1:0"})) << "the footer alone on a page";
    }
    TEngineReport t;
    auto data = qtyData({{"a", 1}, {"a", 2}, {"a", 4}});
    build(t, data.get(), true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(t.Lines(0), QStringList({"MasterData1:1", "MasterData1:2", "PageFooter1:3"}));
    EXPECT_EQ(t.Lines(1), QStringList({"MasterData1:4", "Footer1:7", "PageFooter1:4"}));
    EXPECT_EQ(t.Places(1).mid(0, 2), QStringList({"MasterData1@0,0", "Footer1@0,100"}));
}

// A 600 title leaves 118: the row fits, its 60 child does not.
TEST(EngineKeepTest, BandKeptWithItsChild)
{
    for (const bool keep : {false, true}) {
        TEngineReport t;
        t.AddBand<TfrxReportTitle>("ReportTitle1", 0, 600);
        auto *master = t.AddBand<TfrxMasterData>("MasterData1", 610, 100);
        master->SetRowCount(1);
        master->SetKeepChild(keep);
        auto *child = t.AddBand<TfrxChild>("Child1", 720, 60);
        master->SetChild(child);
        t.AddMemo(child, "C", "child of [Line]");
        prepare(t);
        ASSERT_EQ(t.Pages()->Count(), 2);
        if (keep) {
            EXPECT_EQ(t.Places(0), QStringList{"ReportTitle1@0,0"});
            EXPECT_EQ(t.Places(1), QStringList({"MasterData1@0,0", "Child1@0,100"}));
        } else {
            EXPECT_EQ(t.Places(0), QStringList({"ReportTitle1@0,0", "MasterData1@0,600"}));
            EXPECT_EQ(t.Places(1), QStringList{"Child1@0,0"});
        }
        EXPECT_EQ(t.Lines(1).last(), "Child1:child of 1");
    }
}

// A kept block taller than a page is given up: the rows flow on.
TEST(EngineKeepTest, BlockTallerThanAPageIsNotKept)
{
    TEngineReport t;
    auto *gh = t.AddBand<TfrxGroupHeader>("GroupHeader1", 0, 20);
    gh->SetCondition("1");
    gh->SetKeepTogether(true);
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 40, 100);
    master->SetRowCount(9);
    t.AddMemo(master, "Row", "[Line]");
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(t.Places(0).first(), "GroupHeader1@0,0");
    EXPECT_EQ(t.Places(0).size(), 7) << "the header and six rows";
    EXPECT_EQ(t.Lines(1), QStringList({"MasterData1:7", "MasterData1:8", "MasterData1:9"}));
}
