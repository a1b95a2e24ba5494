// The aggregate list on its own: calls found in footer memos, rows added,
// groups restarted, Null rows skipped, invisible bands, running totals,
// keep-together blocks of page footers, and the lookups the expression side
// uses.

#include "EngineServices.h"
#include "report/engine/rudAggregate.h"
#include "report/model/rudBand.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"

#include "base/Errors.h"

#include <gtest/gtest.h>

namespace {

// A page with a master band MasterData1 and its footer Footer1 holding one
// memo; rows are fed by setting Qty and calling AddValue.
struct TAggregatePage {
    enginetest::TServedReport Report;
    TfrxReportPage *Page = new TfrxReportPage(&Report);
    TfrxMasterData *Master = new TfrxMasterData(Page);
    TfrxFooter *Footer = new TfrxFooter(Page);
    TfrxPageFooter *PageFooter = new TfrxPageFooter(Page);
    TfrxMemoView *Memo = new TfrxMemoView(Footer);
    TfrxAggregateList List{&Report};
    QVariant Qty;

    TAggregatePage()
    {
        Page->SetName("Page1");
        Master->SetName("MasterData1");
        Footer->SetName("Footer1");
        PageFooter->SetName("PageFooter1");
        Memo->SetName("Memo1");
        Master->SetFooter(Footer);
        List.SetEvaluator([this](const QString &expr) { return expr == "Qty" ? Qty : QVariant(); });
    }
    void Find(const QString &Text)
    {
        Memo->SetText(Text);
        List.Clear();
        List.AddItems(Page, {Master});
    }
    void Row(const QVariant &V)
    {
        Qty = V;
        List.AddValue(Master);
    }
    QVariant Value(const QString &Call, TfrxBand *Parent = nullptr)
    {
        return List.GetValue(Parent ? Parent : Footer, Call);
    }
};

} // namespace

TEST(AggregateTest, SumRestartsForEachGroup)
{
    TAggregatePage t;
    t.Find("Total: [SUM(Qty, MasterData1)]");
    ASSERT_EQ(t.List.Count(), 1);
    EXPECT_EQ(t.List.Items(0)->FOriginalName, "SUM(Qty, MasterData1)");
    EXPECT_EQ(t.List.Items(0)->FMemoName, "Memo1");
    for (int q : {2, 3, 5})
        t.Row(q);
    EXPECT_EQ(t.Value("sum(qty, masterdata1)").toDouble(), 10) << "the call text is compared ignoring case";
    t.List.Reset(t.Footer);
    t.Row(4);
    EXPECT_EQ(t.Value("SUM(Qty, MasterData1)").toDouble(), 4);
    EXPECT_TRUE(t.Value("SUM(Other)").isNull()) << "a call that matches no item";
}

TEST(AggregateTest, AvgSkipsNullRowsAndMinMaxKeepTheExtremes)
{
    TAggregatePage t;
    t.Find("[AVG(Qty)] [MIN(Qty)] [MAX(Qty)] [COUNT(MasterData1)]");
    ASSERT_EQ(t.List.Count(), 4);
    t.Row(2);
    t.Row(QVariant());
    t.Row(4);
    EXPECT_EQ(t.Value("AVG(Qty)").toDouble(), 3);
    EXPECT_EQ(t.Value("MIN(Qty)").toDouble(), 2);
    EXPECT_EQ(t.Value("MAX(Qty)").toDouble(), 4);
    EXPECT_EQ(t.Value("COUNT(MasterData1)").toInt(), 3) << "COUNT counts the Null row";
    // The function lookup of the script side.
    EXPECT_EQ(t.List.GetValue(t.Footer, 0, 0, t.Master, " qty ", "avg").toDouble(), 3);
    EXPECT_EQ(t.List.GetValue(t.Footer, 0, 0, nullptr, "Qty", "MAX").toDouble(), 4);
    EXPECT_TRUE(t.List.GetValue(t.Footer, 0, 1, nullptr, "Qty", "MAX").isNull()) << "flags must match";
}

TEST(AggregateTest, EmptyGroupGivesZeroAndBooleansCountAsOne)
{
    TAggregatePage t;
    t.Find("[SUM(Qty)] [AVG(Qty)]");
    EXPECT_EQ(t.Value("SUM(Qty)").toInt(), 0) << "Null is returned as 0";
    EXPECT_EQ(t.Value("AVG(Qty)").toInt(), 0);
    t.Row(true);
    t.Row(true);
    EXPECT_EQ(t.Value("SUM(Qty)").toDouble(), 2);
}

TEST(AggregateTest, InvisibleBandCountsOnlyWithFlagOne)
{
    TAggregatePage t;
    t.Find("[COUNT(MasterData1)] [COUNT(MasterData1, 1)]");
    t.Master->SetVisible(false);
    for (int i = 0; i < 4; ++i)
        t.Row(i);
    EXPECT_EQ(t.Value("COUNT(MasterData1)").toInt(), 0);
    EXPECT_EQ(t.Value("COUNT(MasterData1, 1)").toInt(), 4);
    t.Master->SetVisible(true);
    t.Row(1);
    EXPECT_EQ(t.Value("COUNT(MasterData1)").toInt(), 1);
}

TEST(AggregateTest, FlagsTwoKeepARunningTotalAcrossResets)
{
    TAggregatePage t;
    t.Find("[SUM(Qty, MasterData1, 2)] [SUM(Qty)]");
    t.Row(2);
    t.Row(3);
    t.List.Reset(t.Footer);
    t.Row(5);
    EXPECT_EQ(t.Value("SUM(Qty, MasterData1, 2)").toDouble(), 10);
    EXPECT_EQ(t.Value("SUM(Qty)").toDouble(), 5);
    t.List.ClearValues();
    EXPECT_EQ(t.Value("SUM(Qty, MasterData1, 2)").toInt(), 0) << "clearing between passes restarts it too";
}

TEST(AggregateTest, DeleteValueTakesTheLastRowBack)
{
    TAggregatePage t;
    t.Find("[SUM(Qty)]");
    t.Row(2);
    t.Row(7);
    t.List.DeleteValue(t.Master);
    EXPECT_EQ(t.Value("SUM(Qty)").toDouble(), 2);
}

TEST(AggregateTest, PageFooterItemsKeepTogetherBlocksApart)
{
    TAggregatePage t;
    auto *memo = new TfrxMemoView(t.PageFooter);
    memo->SetText("[SUM(Qty)]");
    t.Memo->SetText("");
    t.List.AddItems(t.Page, {t.Master});
    ASSERT_EQ(t.List.Count(), 1);
    EXPECT_TRUE(t.List.Items(0)->FIsPageFooter);
    t.Row(1);
    t.List.StartKeep();
    t.Row(10);
    EXPECT_EQ(t.Value("SUM(Qty)", t.PageFooter).toDouble(), 1) << "the kept block is not in the total yet";
    t.List.EndKeep();
    EXPECT_EQ(t.Value("SUM(Qty)", t.PageFooter).toDouble(), 11);
}

TEST(AggregateTest, CallsAreFoundInsideExpressionsButNotInStringsOrWhenExpressionsAreOff)
{
    TAggregatePage t;
    t.Find("[IIF(SUM(Qty) > 1, 'SUM(x)', \"MAX(y)\")] [<SUM(Qty, MasterData1)>] [D.\"SUM(z)\"]");
    ASSERT_EQ(t.List.Count(), 2);
    EXPECT_EQ(t.List.Items(0)->FOriginalName, "SUM(Qty)");
    EXPECT_EQ(t.List.Items(1)->FOriginalName, "SUM(Qty, MasterData1)");

    t.Memo->SetAllowExpressions(false);
    t.Find("[SUM(Qty)]");
    EXPECT_EQ(t.List.Count(), 0);
    t.Memo->SetAllowExpressions(true);

    t.Memo->SetExpressionDelimiters("<%,%>");
    t.Find("[SUM(Qty)] <%COUNT(MasterData1)%>");
    ASSERT_EQ(t.List.Count(), 1);
    EXPECT_EQ(t.List.Items(0)->FAggregateFunction, agCount);
}

TEST(AggregateTest, VariablesHoldingCallsAndBadFlags)
{
    TAggregatePage t;
    t.Report.Variables()->SetVariables("Total", "SUM(Qty) * 2");
    t.Find("[Total]");
    ASSERT_EQ(t.List.Count(), 1);
    EXPECT_EQ(t.List.Items(0)->FOriginalName, "SUM(Qty)");
    EXPECT_EQ(t.List.Items(0)->FBand, t.Master) << "no band named: the scan's default";

    t.Find("[SUM(Qty, NoSuchBand)]");
    EXPECT_EQ(t.List.Items(0)->FBand, t.Master);

    t.Memo->SetText("[SUM(Qty, MasterData1, x)]");
    t.List.Clear();
    EXPECT_THROW(t.List.AddItems(t.Page, {t.Master}), EConvertError);
}

TEST(AggregateTest, GroupFootersOfTheBandsGroupsAreScanned)
{
    TAggregatePage t;
    auto *gh = new TfrxGroupHeader(t.Page);
    auto *gf = new TfrxGroupFooter(t.Page);
    auto *memo = new TfrxMemoView(gf);
    memo->SetText("[SUM(Qty)]");
    gh->SetGroupFooter(gf);
    t.Master->Group().append(gh);
    t.Find("");
    ASSERT_EQ(t.List.Count(), 1);
    EXPECT_EQ(t.List.Items(0)->FParentBand, gf);
    t.Row(3);
    EXPECT_EQ(t.List.GetValue(gf, "SUM(Qty)").toDouble(), 3);
}

TEST(AggregateTest, CallArgumentsKeepQuotedCommasAndParenthesesTogether)
{
    EXPECT_EQ(rudSplitArguments("IIF(<Qty> > 0, ')', 'a,b'), MasterData1, 1"),
              QStringList({"IIF(<Qty> > 0, ')', 'a,b')", "MasterData1", "1"}));
    EXPECT_EQ(rudSplitArguments(" \"x,(\" , 2 "), QStringList({"\"x,(\"", "2"}));
    EXPECT_EQ(rudSplitArguments("a,"), QStringList({"a", ""}));
    EXPECT_TRUE(rudSplitArguments("  ").isEmpty());

    TAggregatePage t;
    t.Find("[SUM(IIF(Qty > 0, ')', 'a,b'), MasterData1, 1) + MAX(Qty)]");
    ASSERT_EQ(t.List.Count(), 2);
    EXPECT_EQ(t.List.Items(0)->FOriginalName, "SUM(IIF(Qty > 0, ')', 'a,b'), MasterData1, 1)");
    EXPECT_EQ(t.List.Items(0)->FExpression, "IIF(Qty > 0, ')', 'a,b')");
    EXPECT_TRUE(t.List.Items(0)->FCountInvisibleBands);
    EXPECT_EQ(t.List.Items(1)->FOriginalName, "MAX(Qty)");

    // A call never closed runs to the end of its expression.
    t.Find("[COUNT(MasterData1, 2]");
    ASSERT_EQ(t.List.Count(), 1);
    EXPECT_EQ(t.List.Items(0)->FBand, t.Master);
    EXPECT_TRUE(t.List.Items(0)->FDontReset);
}

TEST(AggregateTest, ColumnTotalsAndALastRowMovedIntoAKeep)
{
    TAggregatePage t;
    t.Find("[SUM(Qty)]");
    TfrxAggregateItem *cell = t.List.Items(0);
    cell->FVerticalCell = true;
    for (const auto &[column, qty] : QList<QPair<int, int>>{{1, 2}, {2, 3}, {1, 4}}) {
        t.Qty = qty;
        t.List.AddColumnValue(t.Master, column);
    }
    t.Row(100);
    EXPECT_EQ(t.List.GetValue(t.Footer, "SUM(Qty)", 1).toDouble(), 6);
    EXPECT_EQ(t.List.GetValue(t.Footer, "SUM(Qty)", 2).toDouble(), 3);
    EXPECT_EQ(t.List.GetValue(t.Footer, "SUM(Qty)", 0).toDouble(), 9) << "slot 0 totals every column";

    auto *pageMemo = new TfrxMemoView(t.PageFooter);
    pageMemo->SetName("Memo2");
    pageMemo->SetText("[SUM(Qty)]");
    t.Find("");
    ASSERT_EQ(t.List.Count(), 1);
    t.Row(1);
    t.Row(2);
    t.List.StartKeep();
    t.List.KeepLastRow(t.Master);
    EXPECT_EQ(t.Value("SUM(Qty)", t.PageFooter).toDouble(), 1) << "the last row left the page's total";
    t.List.Reset(t.PageFooter);
    t.List.EndKeep();
    t.Row(4);
    EXPECT_EQ(t.Value("SUM(Qty)", t.PageFooter).toDouble(), 6) << "and joined the next page's";
}

// Cells of one horizontal band on different vertical bands are told apart
// by the band that holds them. A vertical group footer reads the
// per-column totals over its group's columns; restarting its cells after
// the group drops the subtotals along the row, not those columns.
TEST(AggregateTest, VerticalCellsByHolderWithColumnRangesAndGroupRestarts)
{
    TAggregatePage t;
    auto *vdata = new TfrxMasterData(t.Page);
    vdata->SetName("VData");
    vdata->SetVertical(true);
    auto *vgroup = new TfrxGroupFooter(t.Page);
    vgroup->SetVertical(true);
    auto *vfooter = new TfrxFooter(t.Page);
    vfooter->SetVertical(true);
    t.List.Clear();
    for (TfrxBand *holder : {static_cast<TfrxBand *>(vgroup), static_cast<TfrxBand *>(vfooter)}) {
        auto *memo = new TfrxMemoView(holder);
        memo->SetText("[AVG(Qty)] [MIN(Qty)] [SUM(Qty, VData)]");
        t.List.AddMemoItems(memo, t.Footer, t.Master);
    }
    ASSERT_EQ(t.List.Count(), 6);
    for (const auto &[column, qty] : QList<QPair<int, int>>{{1, 2}, {2, 6}, {3, 4}, {1, 8}}) {
        t.Qty = qty;
        t.List.AddColumnValue(t.Master, column);
        t.List.AddRowValue(vdata, t.Footer);
    }
    auto value = [&](const QString &Fn, TfrxBand *Holder, int From, int To, TfrxDataBand *Band = nullptr) {
        return t.List.GetValue(t.Footer, From, 0, Band, "Qty", Fn, Holder, To);
    };
    EXPECT_DOUBLE_EQ(value("AVG", vgroup, 1, 2).toDouble(), 16.0 / 3);
    EXPECT_EQ(value("MIN", vgroup, 2, 3).toDouble(), 4);
    EXPECT_EQ(value("AVG", vfooter, 0, 0).toDouble(), 5) << "slot 0: every column";
    EXPECT_TRUE(value("AVG", nullptr, 1, 2).isNull()) << "no such item on a horizontal band";
    EXPECT_EQ(value("SUM", vgroup, 0, 0, vdata).toDouble(), 20);
    t.List.ResetCells(t.Footer, vgroup);
    EXPECT_EQ(value("SUM", vgroup, 0, 0, vdata).toDouble(), 0) << "the group's subtotal restarts";
    EXPECT_EQ(value("SUM", vfooter, 0, 0, vdata).toDouble(), 20) << "the footer's goes on";
    EXPECT_EQ(value("MIN", vgroup, 2, 3).toDouble(), 4) << "the column totals stay";
}
