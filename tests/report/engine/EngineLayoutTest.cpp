// Where bands land: title and summary, page header and footer on the first
// and last page, bands that start a new page and restart the page numbers,
// page columns and multi-column data bands, bands split across pages.

#include "EngineTestUtil.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

constexpr double kColumn = 64 * 3.77953; // the second of two columns on A5 starts at 64 mm

std::unique_ptr<TfrxMemoryDataSet> groupData(const QStringList &Groups)
{
    auto ds = std::make_unique<TfrxMemoryDataSet>();
    ds->AddField("Group");
    for (const QString &g : Groups)
        ds->AppendRow({g});
    return ds;
}

void prepare(TEngineReport &t)
{
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join("\n").toStdString();
}

} // namespace

// 718.1107 units of printable height: a 40 title and a 25 footer leave room
// for six rows of 100 on the first page; the header takes 30 on the others.
TEST(EngineLayoutTest, HeaderAndFooterSkipTheFirstAndLastPageWhenAsked)
{
    TEngineReport t;
    t.AddMemo(t.AddBand<TfrxReportTitle>("ReportTitle1", 0, 40), "Title", "Title");
    auto *header = t.AddBand<TfrxPageHeader>("PageHeader1", 50, 30);
    header->SetPrintOnFirstPage(false);
    t.AddMemo(header, "Head", "Head [Page#]");
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 100, 100);
    master->SetRowCount(14);
    t.AddMemo(master, "Row", "[Line]");
    t.AddMemo(t.AddBand<TfrxReportSummary>("ReportSummary1", 300, 50), "Sum", "Summary");
    auto *footer = t.AddBand<TfrxPageFooter>("PageFooter1", 400, 25);
    footer->SetPrintOnLastPage(false);
    t.AddMemo(footer, "Foot", "Foot [Page#]");
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 3);
    EXPECT_EQ(t.Lines(0), QStringList({"ReportTitle1:Title", "MasterData1:1", "MasterData1:2", "MasterData1:3",
                                       "MasterData1:4", "MasterData1:5", "MasterData1:6", "PageFooter1:Foot 1"}));
    EXPECT_EQ(t.Lines(1), QStringList({"PageHeader1:Head 2", "MasterData1:7", "MasterData1:8", "MasterData1:9",
                                       "MasterData1:10", "MasterData1:11", "MasterData1:12", "PageFooter1:Foot 2"}));
    EXPECT_EQ(t.Lines(2), QStringList({"PageHeader1:Head 3", "MasterData1:13", "MasterData1:14",
                                       "ReportSummary1:Summary"}));
    EXPECT_EQ(t.Places(2), QStringList({"PageHeader1@0,0", "MasterData1@0,30", "MasterData1@0,130",
                                        "ReportSummary1@0,230"}));
    EXPECT_EQ(t.Places(1).last(), QString("PageFooter1@0,%1").arg(718.1107 - 25));
}

// Each group starts a page of its own (not the first, which is on the first
// page anyway) and numbers its pages from 1; a row of 300 leaves room for
// two rows a page.
TEST(EngineLayoutTest, GroupsStartNewPagesAndRestartThePageNumbers)
{
    TEngineReport t;
    auto data = groupData({"a", "a", "a", "b", "b", "c"});
    t.AddDataSet(data.get(), "D");
    auto *gh = t.AddBand<TfrxGroupHeader>("GroupHeader1", 20, 20);
    gh->SetCondition("<D.\"Group\">");
    gh->SetStartNewPage(true);
    gh->SetResetPageNumbers(true);
    t.AddMemo(gh, "G", "[D.\"Group\"]");
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 60, 300);
    master->SetDataSetName("D");
    t.AddMemo(master, "Row", "[D.\"Group\"][Line#]");
    t.AddMemo(t.AddBand<TfrxPageFooter>("PageFooter1", 400, 20), "Foot", "[Page] of [TotalPages] ([Page#])");
    t.Report.EngineOptions()->SetDoublePass(true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 4);
    EXPECT_EQ(t.Lines(0), QStringList({"GroupHeader1:a", "MasterData1:a1", "MasterData1:a2",
                                       "PageFooter1:1 of 2 (1)"}));
    EXPECT_EQ(t.Lines(1), QStringList({"MasterData1:a3", "PageFooter1:2 of 2 (2)"}));
    EXPECT_EQ(t.Lines(2), QStringList({"GroupHeader1:b", "MasterData1:b4", "MasterData1:b5",
                                       "PageFooter1:1 of 1 (3)"}));
    EXPECT_EQ(t.Lines(3), QStringList({"GroupHeader1:c", "MasterData1:c6", "PageFooter1:1 of 1 (4)"}));
}

TEST(EngineLayoutTest, DataBandWithStartNewPagePutsEachLaterRowOnANewPage)
{
    TEngineReport t;
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 60, 30);
    master->SetRowCount(3);
    master->SetStartNewPage(true);
    t.AddMemo(master, "Row", "[Line]");
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(t.Places(i), QStringList{"MasterData1@0,0"}) << "page " << i + 1;
    EXPECT_EQ(t.AllLines(), QStringList({"MasterData1:1", "MasterData1:2", "MasterData1:3"}));
}

// The bands a page's start and end show (page and column footers, overlays
// and a footer's child) ignore StartNewPage: starting a page from them would
// end the page and show them again without end.
TEST(EngineLayoutTest, BandsThatFrameAPageNeverStartANewPage)
{
    const QList<std::function<TfrxBand *(TEngineReport &)>> cases = {
        [](TEngineReport &t) { return t.AddBand<TfrxPageFooter>("Frame", 600, 20); },
        [](TEngineReport &t) { return t.AddBand<TfrxColumnFooter>("Frame", 500, 20); },
        [](TEngineReport &t) { return t.AddBand<TfrxOverlay>("Frame", 600, 20); },
        [](TEngineReport &t) {
            auto *overlay = t.AddBand<TfrxOverlay>("Frame", 600, 20);
            overlay->SetPrintOnTop(true);
            return overlay;
        },
        [](TEngineReport &t) {
            auto *footer = t.AddBand<TfrxPageFooter>("Footer", 600, 20);
            auto *child = t.AddBand<TfrxChild>("Frame", 650, 20);
            footer->SetChild(child);
            return static_cast<TfrxBand *>(child);
        },
    };
    for (qsizetype i = 0; i < cases.size(); ++i) {
        TEngineReport t;
        auto *master = t.AddBand<TfrxMasterData>("MasterData1", 60, 30);
        master->SetRowCount(2);
        t.AddMemo(master, "Row", "[Line]");
        TfrxBand *frame = cases[i](t);
        frame->SetStartNewPage(true);
        t.AddMemo(frame, "Mark", "frame");
        prepare(t);
        ASSERT_EQ(t.Pages()->Count(), 1) << "case " << i;
        EXPECT_TRUE(t.Lines(0).contains("Frame:frame")) << "case " << i;
        EXPECT_TRUE(t.Lines(0).contains("MasterData1:2")) << "case " << i;
    }
}

// Two page columns (64 mm each inside the margins): rows fill the first
// column, then the second under its own copy of the column header, then the
// next page.
TEST(EngineLayoutTest, PageColumnsFillLeftToRightThenTheNextPage)
{
    TEngineReport t;
    t.NewPage()->SetColumns(2);
    t.AddMemo(t.AddBand<TfrxColumnHeader>("ColumnHeader1", 0, 20), "CH", "Column");
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 40, 100);
    master->SetRowCount(15);
    t.AddMemo(master, "Row", "[Line]");
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    QStringList first{"ColumnHeader1@0,0"};
    for (int i = 0; i < 6; ++i)
        first << QString("MasterData1@0,%1").arg(20 + 100 * i);
    first << QString("ColumnHeader1@%1,0").arg(kColumn);
    for (int i = 0; i < 6; ++i)
        first << QString("MasterData1@%1,%2").arg(kColumn).arg(20 + 100 * i);
    EXPECT_EQ(t.Places(0), first);
    EXPECT_EQ(t.Places(1), QStringList({"ColumnHeader1@0,0", "MasterData1@0,20", "MasterData1@0,120",
                                        "MasterData1@0,220"}));
    EXPECT_EQ(t.Lines(1).last(), "MasterData1:15");

    // The columns stand at their positions, in millimetres.
    t.Report.FindObject("Page1")->setProperty("ColumnPositions", QStringList({"0", "100"}));
    prepare(t);
    EXPECT_EQ(t.Places(0)[7], QString("ColumnHeader1@%1,0").arg(100 * 3.77953));
}

// Three columns across a data band: a row of three records shares one top;
// a row that does not fit moves to the next page whole, and the footer
// comes below an unfinished last row.
TEST(EngineLayoutTest, MultiColumnDataBandFillsRowsAndOverflowsByRow)
{
    TEngineReport t;
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 40, 300);
    master->SetRowCount(7);
    master->SetColumns(3);
    master->SetColumnWidth(150);
    master->SetColumnGap(10);
    t.AddMemo(master, "Row", "[Line]");
    t.AddMemo(t.AddBand<TfrxFooter>("Footer1", 400, 20), "Foot", "End");
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(t.Places(0), QStringList({"MasterData1@0,0", "MasterData1@160,0", "MasterData1@320,0",
                                        "MasterData1@0,300", "MasterData1@160,300", "MasterData1@320,300"}));
    EXPECT_EQ(t.Places(1), QStringList({"MasterData1@0,0", "Footer1@0,300"}));
    EXPECT_EQ(t.Lines(1), QStringList({"MasterData1:7", "Footer1:End"}));
}

// A band that may split gives the page what fits and takes the rest to the
// next page, its objects moved up by the part already printed; a band
// taller than a page splits even when it may not.
TEST(EngineLayoutTest, TallBandsSplitAcrossPages)
{
    {
        TEngineReport t;
        t.AddBand<TfrxReportTitle>("ReportTitle1", 0, 600);
        auto *master = t.AddBand<TfrxMasterData>("MasterData1", 700, 300);
        master->SetRowCount(1);
        master->SetAllowSplit(true);
        t.AddMemoAt(master, "A", "A", 0, 0, 100, 50);
        t.AddMemoAt(master, "B", "B", 0, 100, 100, 50);
        t.AddMemoAt(master, "C", "C", 0, 250, 100, 50);
        prepare(t);
        ASSERT_EQ(t.Pages()->Count(), 2);
        EXPECT_EQ(t.Cells(0), QStringList{"MasterData1:A@0,0"});
        EXPECT_EQ(t.Places(0).last(), "MasterData1@0,600");
        EXPECT_EQ(t.Cells(1), QStringList({"MasterData1:B@0,0", "MasterData1:C@0,150"}));
        EXPECT_EQ(t.Places(1), QStringList{"MasterData1@0,0"});
    }
    {
        TEngineReport t;
        t.Report.EngineOptions()->SetDestroyForms(false);
        auto *master = t.AddBand<TfrxMasterData>("MasterData1", 0, 1000);
        master->SetRowCount(1);
        t.AddMemoAt(master, "A", "A", 0, 0, 100, 50);
        t.AddMemoAt(master, "B", "B", 0, 500, 100, 50);
        t.AddMemoAt(master, "C", "C", 0, 900, 100, 50);
        prepare(t);
        ASSERT_EQ(t.Pages()->Count(), 2);
        EXPECT_EQ(t.Cells(0), QStringList({"MasterData1:A@0,0", "MasterData1:B@0,500"}));
        EXPECT_EQ(t.Cells(1), QStringList{"MasterData1:C@0,0"});
        // The design keeps its objects where they were.
        EXPECT_EQ(t.Report.FindObject("C")->Top(), 900);
        EXPECT_TRUE(t.Report.FindObject("A")->Visible());
    }
    {
        // An object taller than what the repeated headers leave of a page
        // is placed below them anyway instead of waiting for room forever.
        TEngineReport t;
        t.AddBand<TfrxPageHeader>("PageHeader1", 0, 100);
        t.AddBand<TfrxHeader>("Header1", 120, 40);
        auto *master = t.AddBand<TfrxMasterData>("MasterData1", 200, 750);
        master->SetRowCount(1);
        master->SetAllowSplit(true);
        t.AddMemoAt(master, "A", "A", 0, 0, 100, 700);
        prepare(t);
        ASSERT_EQ(t.Pages()->Count(), 2);
        EXPECT_EQ(t.Places(0), QStringList({"PageHeader1@0,0", "Header1@0,100"}));
        EXPECT_EQ(t.Places(1), QStringList({"PageHeader1@0,0", "Header1@0,100", "MasterData1@0,140"}));
        EXPECT_EQ(t.Cells(1), QStringList{"MasterData1:A@0,0"});
    }
    {
        // A band split over three pages has its header above each slice.
        TEngineReport t;
        t.AddMemo(t.AddBand<TfrxHeader>("Header1", 0, 40), "H", "Head");
        auto *master = t.AddBand<TfrxMasterData>("MasterData1", 100, 1500);
        master->SetRowCount(1);
        master->SetAllowSplit(true);
        t.AddMemoAt(master, "A", "A", 0, 0, 100, 500);
        t.AddMemoAt(master, "B", "B", 0, 500, 100, 500);
        t.AddMemoAt(master, "C", "C", 0, 1000, 100, 500);
        prepare(t);
        ASSERT_EQ(t.Pages()->Count(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(t.Places(i), QStringList({"Header1@0,0", "MasterData1@0,40"})) << "page " << i + 1;
            EXPECT_EQ(t.Cells(i).last(), QString("MasterData1:%1@0,0").arg(QChar('A' + i)));
        }
    }
}

// A page header taller than the page is split like any band, once: the
// page it continues on does not start with it again.
TEST(EngineLayoutTest, PageHeaderTallerThanThePageEnds)
{
    TEngineReport t;
    auto *header = t.AddBand<TfrxPageHeader>("PageHeader1", 0, 800);
    t.AddMemoAt(header, "Top", "top", 0, 0, 100, 20);
    t.AddMemoAt(header, "Bottom", "bottom", 0, 760, 100, 20);
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 900, 20);
    master->SetRowCount(2);
    t.AddMemo(master, "Row", "[Line]");
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(t.Lines(0), QStringList{"PageHeader1:top"});
    EXPECT_EQ(t.Lines(1), QStringList({"PageHeader1:bottom", "MasterData1:1", "MasterData1:2"}));
}
