// Vertical bands on prepared pages: output wider than the page continues in
// column sets on further pages, vertical groups with their headers, footers
// and subtotals, and child bands of vertical bands.

#include "VerticalBandsTestUtil.h"

#include "report/model/rudUnits.h"

#include <gtest/gtest.h>

using namespace enginetest;
using namespace vbandstest;

// 30 lessons of 40 on a page 700 wide with 100 of names: lessons 1 to 15
// on the first page, 16 to 30 on a second one, each row again with its
// name; nothing passes the right edge; the footer's per-lesson counts and
// the page numbers go on; a running total starts the second set where it
// started the first; the rows' outline entries come from the first set.
TEST(VerticalBandsTest, OutputWiderThanThePageContinuesOnAPageForTheRemainingColumns)
{
    TWideReport t(700, 3, 20);
    t.AddMemoAt(t.Report.FindObject("PageFooter1"), "Running", "[SUM(<T.\"Id\">, MasterData1, 2)]", 150, 0, 100,
                20);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    QStringList numbers, firstRow, counts;
    for (int page = 0; page < 2; ++page) {
        const TRow header = rowOf(t, page, "PageHeader1");
        EXPECT_LE(header.Right, 700 + 1e-6) << "page " << page;
        ASSERT_EQ(header.Cells.size(), 16);
        EXPECT_EQ(header.Cells.first(), "Name@0");
        numbers << header.Cells.mid(1);
        const TRow row = rowOf(t, page, "MasterData1");
        EXPECT_EQ(row.Cells.first(), "T1@0") << "the row's name on every set";
        firstRow << row.Cells.mid(1);
        counts << rowOf(t, page, "Footer1").Cells.mid(1);
        EXPECT_EQ(rowOf(t, page, "PageFooter1").Cells, QStringList({QStringLiteral("%1@0").arg(page + 1), "6@150"}));
    }
    QStringList expectedNumbers, expectedRow, expectedCounts;
    for (int i = 0; i < 30; ++i) {
        const double left = 100 + (i % 15) * 40;
        expectedNumbers << QStringLiteral("%1@%2").arg(i + 1).arg(left);
        expectedRow << QStringLiteral("T1:%1@%2").arg(i + 1).arg(left);
        expectedCounts << QStringLiteral("3@%1").arg(left);
    }
    EXPECT_EQ(numbers, expectedNumbers);
    EXPECT_EQ(firstRow, expectedRow);
    EXPECT_EQ(counts, expectedCounts);
    EXPECT_EQ(rowOf(t, 1, "MasterData1", 2).Cells.mid(0, 2), QStringList({"T3@0", "T3:16@100"}));
    EXPECT_EQ(t.Outline(), QStringList({"T1 0 20", "T2 0 40", "T3 0 60"}));
}

// With a vertical header, 10 rows of 100 and a title: each set takes two
// pages, and all six follow each other set by set with their page numbers.
// Every set starts with the title, the page header and the vertical header
// before its lessons (13 fit beside the header); the vertical footer with
// the row's total closes the last set.
TEST(VerticalBandsTest, ColumnSetsRepeatTheVerticalHeaderAndFollowEachOtherPageByPage)
{
    TWideReport t(700, 10, 100, true);
    auto *title = t.AddBand<TfrxReportTitle>("ReportTitle1", 300, 30);
    t.AddMemoAt(title, "Title", "Lessons", 0, 0, 100, 20);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 6);
    QStringList numbers;
    for (int page = 0; page < 6; ++page) {
        const int set = page / 2;
        EXPECT_EQ(t.PrintedTexts(page).value("PageNo"), QString::number(page + 1));
        EXPECT_EQ(rowOf(t, page, "ReportTitle1").Cells.size(), page % 2 == 0 ? 1 : 0) << "page " << page;
        const TRow header = rowOf(t, page, "PageHeader1");
        EXPECT_LE(header.Right, 700 + 1e-6) << "page " << page;
        ASSERT_GE(header.Cells.size(), 3);
        EXPECT_EQ(header.Cells.mid(0, 2), QStringList({"Name@0", "Lesson@100"})) << "page " << page;
        const QStringList lessons = header.Cells.mid(2, set < 2 ? 13 : 4);
        if (page % 2 == 0)
            numbers << lessons;
        const TRow first = rowOf(t, page, "MasterData1");
        const QString name = QStringLiteral("T%1").arg(page % 2 == 0 ? 1 : 7);
        EXPECT_EQ(first.Cells.mid(0, 3), QStringList({name + "@0", name.mid(1) + "@100",
                                                       QStringLiteral("%1:%2@160").arg(name).arg(set * 13 + 1)}));
        const bool last = set == 2;
        EXPECT_EQ(header.Cells.size(), 2 + (last ? 5 : 13)) << "page " << page;
        if (last) {
            EXPECT_EQ(header.Cells.last(), "Total@320");
            EXPECT_EQ(first.Cells.last(), QStringLiteral("%1@320").arg(465 * name.mid(1).toInt()));
        }
    }
    QStringList expected;
    for (int i = 0; i < 30; ++i)
        expected << QStringLiteral("%1@%2").arg(i + 1).arg(160 + (i % 13) * 40);
    EXPECT_EQ(numbers, expected);
    EXPECT_EQ(rowOf(t, 5, "Footer1").Cells.mid(1, 4), QStringList({"10@160", "10@200", "10@240", "10@280"}));
}

// A page of endless width grows to hold every column instead.
TEST(VerticalBandsTest, APageOfEndlessWidthGrowsToHoldEveryColumn)
{
    TWideReport t(700, 2, 20);
    t.Page->SetEndlessWidth(true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 1);
    const TRow header = rowOf(t, 0, "PageHeader1");
    EXPECT_EQ(header.Cells.size(), 31);
    EXPECT_EQ(header.Cells.last(), "30@1260");
    EXPECT_NEAR(t.Pages()->GetPage(0)->PaperWidth(), 1300 / fr01cm + 20, 1e-3);
}

// Each group of lessons opens with its header and closes with its footer
// where the kind changes; the footer's cells total the group: across the
// row (restarting for each group) and down the group's columns.
TEST(VerticalBandsTest, VerticalGroupsComeOutWithHeadersFootersAndSubtotals)
{
    TGroupReport t({{"a", 2}, {"a", 3}, {"a", 4}, {"b", 5}});
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 1);
    EXPECT_EQ(rowOf(t, 0, "PageHeader1").Cells,
              QStringList({"Name@0", "a:@100", "2@130", "3@170", "4@210", "sub@250", "b:@300", "5@330", "sub@370",
                           "total@420"}));
    EXPECT_EQ(rowOf(t, 0, "MasterData1", 0).Cells,
              QStringList({"Ann@0", "2@130", "3@170", "4@210", "9@250", "5@330", "5@370", "14@420"}));
    EXPECT_EQ(rowOf(t, 0, "MasterData1", 1).Cells,
              QStringList({"Bob@0", "4@130", "6@170", "8@210", "18@250", "10@330", "10@370", "28@420"}));
    EXPECT_EQ(rowOf(t, 0, "Footer1").Cells,
              QStringList({"Sum@0", "6@130", "9@170", "12@210", "27@250", "15@330", "15@370", "42@420"}));
}

// Lessons a 2, a 3, b 4, b 5, b 6. On a page 300 wide the header of group
// b fits beside group a but its first lesson does not: the header goes
// with the lesson to the next set rather than stay behind alone. On a page
// 240 wide group b breaks between its lessons: its header, which has
// ReprintOnNewPage, starts the next set again; a group's footer does not
// bring its header back. Every cell lies inside the page.
TEST(VerticalBandsTest, ColumnSetsKeepGroupHeadersWithTheirLessonsAndRepeatThemWhileTheGroupGoesOn)
{
    const QList<QPair<QString, QVariant>> rows{{"a", 2}, {"a", 3}, {"b", 4}, {"b", 5}, {"b", 6}};
    auto check = [](TGroupReport &t, double Width, const QList<QStringList> &Headers, const QList<QStringList> &Bob) {
        ASSERT_EQ(t.Pages()->Count(), Headers.size());
        for (int page = 0; page < Headers.size(); ++page) {
            const TRow header = rowOf(t, page, "PageHeader1");
            EXPECT_EQ(header.Cells, Headers[page]) << "page " << page;
            EXPECT_EQ(rowOf(t, page, "MasterData1", 1).Cells, Bob[page]) << "page " << page;
            EXPECT_LE(header.Right, Width + 1e-6);
        }
    };
    {
        TGroupReport t(rows, 300);
        t.VGroup->SetReprintOnNewPage(true);
        prepare(t);
        check(t, 300,
              {{"Name@0", "a:@100", "2@130", "3@170", "sub@210"},
               {"Name@0", "b:@100", "4@130", "5@170", "6@210", "sub@250"},
               {"Name@0", "total@100"}},
              {{"Bob@0", "4@130", "6@170", "10@210"},
               {"Bob@0", "8@130", "10@170", "12@210", "30@250"},
               {"Bob@0", "40@100"}});
    }
    TGroupReport t(rows, 240);
    t.VGroup->SetReprintOnNewPage(true);
    prepare(t);
    check(t, 240,
          {{"Name@0", "a:@100", "2@130", "3@170"},
           {"Name@0", "sub@100", "b:@150", "4@180"},
           {"Name@0", "b:@100", "5@130", "6@170"},
           {"Name@0", "sub@100", "total@150"}},
          {{"Bob@0", "4@130", "6@170"},
           {"Bob@0", "10@100", "8@180"},
           {"Bob@0", "10@130", "12@170"},
           {"Bob@0", "30@100", "40@150"}});
    EXPECT_EQ(rowOf(t, 1, "Footer1").Cells, QStringList({"Sum@0", "15@100", "12@180"}));
}

namespace {

// Lessons across (over L: Qty 2, 3, 5) as a vertical master band at 100,
// 40 wide, with a vertical child at 140, 20 wide; a vertical footer at 160,
// 60 wide, with a vertical child at 220, 30 wide.
struct TChildReport : TEngineReport {
    std::unique_ptr<TfrxMemoryDataSet> Lessons = qtyData({{"a", 2}, {"a", 3}, {"b", 5}});
    TfrxMasterData *VMaster = nullptr;

    explicit TChildReport(double Width = 0)
    {
        AddDataSet(Lessons.get(), "L");
        NewPage();
        if (Width > 0)
            Page->SetPaperWidth(Width / fr01cm + 20);
        auto *master = AddBand<TfrxMasterData>("MasterData1", 0, 20);
        master->SetRowCount(1);
        AddMemoAt(master, "Name", "Row", 0, 0, 100, 20);
        AddMemoAt(master, "Qty", "[L.\"Qty\"]", 100, 0, 40, 20);
        AddMemoAt(master, "Mark", "+", 140, 0, 20, 20);
        AddMemoAt(master, "Total", "[SUM(<L.\"Qty\">)]", 160, 0, 60, 20);
        AddMemoAt(master, "End", "end", 220, 0, 30, 20);
        VMaster = addVBand<TfrxMasterData>(*this, "VMaster", 100, 40, "L");
        auto *child = addVBand<TfrxChild>(*this, "VChild", 140, 20);
        VMaster->SetChild(child);
        auto *footer = addVBand<TfrxFooter>(*this, "VFooter", 160, 60);
        footer->SetChild(addVBand<TfrxChild>(*this, "VFooterChild", 220, 30));
    }
};

} // namespace

// A vertical band's child follows it to the right, for every record and
// for the footer. An invisible band takes no place, and its child only with
// PrintChildIfInvisible (the invisible band's records are not totalled).
TEST(VerticalBandsTest, ChildBandsOfVerticalBandsFollowThemToTheRight)
{
    {
        TChildReport t;
        prepare(t);
        EXPECT_EQ(rowOf(t, 0, "MasterData1").Cells,
                  QStringList({"Row@0", "2@100", "+@140", "3@160", "+@200", "5@220", "+@260", "10@280", "end@340"}));
    }
    {
        TChildReport t;
        t.VMaster->SetVisible(false);
        prepare(t);
        EXPECT_EQ(rowOf(t, 0, "MasterData1").Cells, QStringList({"Row@0", "0@100", "end@160"}));
    }
    TChildReport t;
    t.VMaster->SetVisible(false);
    t.VMaster->SetPrintChildIfInvisible(true);
    prepare(t);
    EXPECT_EQ(rowOf(t, 0, "MasterData1").Cells,
              QStringList({"Row@0", "+@100", "+@120", "+@140", "0@160", "end@220"}));
}

// On a page 265 wide the third lesson fits and its child does not: the
// child alone starts the next set, unless KeepChild keeps them together.
TEST(VerticalBandsTest, KeepChildMovesAVerticalBandWithItsChildToTheNextColumnSet)
{
    {
        TChildReport t(265);
        prepare(t);
        ASSERT_EQ(t.Pages()->Count(), 2);
        EXPECT_EQ(rowOf(t, 0, "MasterData1").Cells,
                  QStringList({"Row@0", "2@100", "+@140", "3@160", "+@200", "5@220"}));
        EXPECT_EQ(rowOf(t, 1, "MasterData1").Cells, QStringList({"Row@0", "+@100", "10@120", "end@180"}));
    }
    TChildReport t(265);
    t.VMaster->SetKeepChild(true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(rowOf(t, 0, "MasterData1").Cells, QStringList({"Row@0", "2@100", "+@140", "3@160", "+@200"}));
    EXPECT_EQ(rowOf(t, 1, "MasterData1").Cells,
              QStringList({"Row@0", "5@100", "+@140", "10@160", "end@220"}));
}
