// Sub-reports placed directly on a report page: their rows take their place
// in the page's flow at the sub-report's designed position, between the
// bands designed above and below it, across pages, and nested; no band of
// the page is output over them.

#include "EngineTestUtil.h"

#include "report/model/rudSubreport.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

void prepare(TEngineReport &t)
{
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join("\n").toStdString();
}

// A master band on the current page printing Prefix and the row number.
TfrxMasterData *rows(TEngineReport &t, const QString &Name, double Top, double Height, int Count,
                     const QString &Prefix)
{
    auto *band = t.AddBand<TfrxMasterData>(Name, Top, Height);
    band->SetRowCount(Count);
    t.AddMemoAt(band, Name + "Text", Prefix + " [Line]", 0, 0, 100, Height);
    return band;
}

// A sub-report on Parent at Left, Top printing a new page whose band
// SubName has Count rows of 20 ("sub 1", "sub 2", ...); the current page
// stays Parent's page.
TfrxSubreport *addSubreport(TEngineReport &t, TfrxComponent *Parent, const QString &Name, double Left, double Top,
                            const QString &SubName, int Count)
{
    TfrxReportPage *parentPage = t.Page;
    TfrxReportPage *subPage = t.NewPage();
    rows(t, SubName, 0, 20, Count, "sub");
    auto *sub = new TfrxSubreport(Parent);
    sub->SetName(Name);
    sub->SetBounds(Left, Top, 200, 40);
    sub->SetPage(subPage);
    t.Page = parentPage;
    return sub;
}

// Every pair of a band of the sub-report's output (named in Output) and any
// other named band of page Index whose rectangles overlap, as "A/B".
QStringList overlaps(TEngineReport &t, int Index, const QStringList &Output)
{
    QList<TfrxComponent *> ours, others;
    for (TfrxComponent *band : t.Pages()->GetPage(Index)->Objects()) {
        if (band->Name().isEmpty())
            continue;
        (Output.contains(band->Name()) ? ours : others).append(band);
    }
    QStringList found;
    for (TfrxComponent *a : std::as_const(ours))
        for (TfrxComponent *b : std::as_const(others))
            if (QRectF(a->Left(), a->Top(), a->Width(), a->Height())
                    .intersects(QRectF(b->Left(), b->Top(), b->Width(), b->Height())))
                found << QString("%1@%2/%3@%4").arg(a->Name()).arg(a->Top()).arg(b->Name()).arg(b->Top());
    return found;
}

// Under a page header: five rows of 30 designed above the sub-report, the
// sub-report at 50, 100 with three rows of 20, two rows designed below it.
void buildBetweenBands(TEngineReport &t, int RowsAbove, bool OnParent)
{
    t.AddMemo(t.AddBand<TfrxPageHeader>("PageHeader1", 0, 20), "Head", "Head");
    rows(t, "MasterData1", 40, 30, RowsAbove, "A");
    rows(t, "MasterData3", 300, 30, 2, "B");
    addSubreport(t, t.Page, "Subreport1", 50, 100, "SubData", 3)->SetPrintOnParent(OnParent);
}

} // namespace

// The rows designed above reach below the sub-report's top: it follows
// them; the rows designed below it follow it. PrintOnParent changes nothing
// on a page.
TEST(EngineSubreportPageTest, SubreportOnThePageComesBetweenTheBandsAboveAndBelowIt)
{
    for (const bool onParent : {false, true}) {
        TEngineReport t;
        buildBetweenBands(t, 5, onParent);
        prepare(t);
        ASSERT_EQ(t.Pages()->Count(), 1) << "on parent " << onParent;
        EXPECT_EQ(t.Places(0), QStringList({"PageHeader1@0,0", "MasterData1@0,20", "MasterData1@0,50",
                                            "MasterData1@0,80", "MasterData1@0,110", "MasterData1@0,140",
                                            "SubData@50,170", "SubData@50,190", "SubData@50,210",
                                            "MasterData3@0,230", "MasterData3@0,260"}))
            << "on parent " << onParent;
        EXPECT_EQ(t.AllLines().mid(6, 4), QStringList({"SubData:sub 1", "SubData:sub 2", "SubData:sub 3",
                                                       "MasterData3:B 1"}));
        EXPECT_EQ(overlaps(t, 0, {"SubData"}), QStringList());
    }
}

// With one row above, the sub-report starts at its designed top; the page's
// objects still come out once, the sub-report's own page is never printed
// by itself.
TEST(EngineSubreportPageTest, SubreportOnThePageStartsAtItsDesignedTop)
{
    TEngineReport t;
    buildBetweenBands(t, 1, false);
    t.AddMemoAt(t.Page, "Note", "note", 300, 500, 100, 16);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 1);
    EXPECT_EQ(t.Places(0), QStringList({"PageHeader1@0,0", "MasterData1@0,20", "SubData@50,100",
                                        "SubData@50,120", "SubData@50,140", "MasterData3@0,160",
                                        "MasterData3@0,190"}));
    EXPECT_EQ(t.PrintedTexts(0).value("Note"), "note");
    EXPECT_EQ(overlaps(t, 0, {"SubData"}), QStringList());
}

// 40 rows of 20 from 100 with a header and a footer of 20: 29 rows fit the
// first page (up to 698.11); the other 11 continue under the header of the
// second page, and the band designed below the sub-report follows them.
TEST(EngineSubreportPageTest, SubreportOutputRunsOnOverPagesAndTheBandsFollowIt)
{
    TEngineReport t;
    t.AddMemo(t.AddBand<TfrxPageHeader>("PageHeader1", 0, 20), "Head", "Head [Page#]");
    t.AddMemo(t.AddBand<TfrxPageFooter>("PageFooter1", 600, 20), "Foot", "Foot [Page#]");
    rows(t, "MasterData3", 300, 30, 2, "B");
    addSubreport(t, t.Page, "Subreport1", 50, 100, "SubData", 40);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);

    QStringList first{"PageHeader1@0,0"};
    for (int i = 0; i < 29; ++i)
        first << QString("SubData@50,%1").arg(100 + 20 * i);
    first << QString("PageFooter1@0,%1").arg(718.1107 - 20);
    EXPECT_EQ(t.Places(0), first);
    QStringList second{"PageHeader1@0,0"};
    for (int i = 0; i < 11; ++i)
        second << QString("SubData@50,%1").arg(20 + 20 * i);
    second << "MasterData3@0,240" << "MasterData3@0,270" << QString("PageFooter1@0,%1").arg(718.1107 - 20);
    EXPECT_EQ(t.Places(1), second);
    EXPECT_EQ(t.Lines(1).mid(0, 2), QStringList({"PageHeader1:Head 2", "SubData:sub 30"}));
    EXPECT_EQ(t.Lines(1).last(), "PageFooter1:Foot 2");
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(overlaps(t, i, {"SubData"}), QStringList()) << "page " << i + 1;
}

// Output that runs on to a new page or column stays at the sub-report's
// left there: below a band (20 rows of 40 after a row of 40 leave 16 rows
// for the first page) and on a page of two columns (35 rows a column).
TEST(EngineSubreportPageTest, SubreportOutputKeepsItsLeftOnNewPagesAndColumns)
{
    {
        TEngineReport t;
        TfrxMasterData *master = rows(t, "MasterData1", 0, 40, 1, "A");
        addSubreport(t, master, "Subreport1", 100, 10, "SubData", 20);
        t.Report.FindObject("SubData")->SetHeight(40);
        prepare(t);
        ASSERT_EQ(t.Pages()->Count(), 2);
        EXPECT_EQ(t.Places(0).size(), 17);
        EXPECT_EQ(t.Places(1), QStringList({"SubData@100,0", "SubData@100,40", "SubData@100,80",
                                            "SubData@100,120"}));
    }
    TEngineReport t;
    t.NewPage()->SetColumns(2);
    addSubreport(t, t.Page, "Subreport1", 50, 0, "SubData", 40);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 1);
    const QStringList places = t.Places(0);
    ASSERT_EQ(places.size(), 40);
    EXPECT_EQ(places[34], "SubData@50,680");
    EXPECT_EQ(places[35], QString("SubData@%1,0").arg(50 + 64 * 3.77953));
}

// A sub-report lying on a sub-report's page comes out in that output's
// flow, placed from where the output began; a sub-report printing the page
// it lies on is not followed.
TEST(EngineSubreportPageTest, SubreportsOnSubreportPagesNestAndDoNotPrintThemselves)
{
    TEngineReport t;
    rows(t, "MasterData1", 200, 20, 1, "A");
    TfrxSubreport *outer = addSubreport(t, t.Page, "Subreport1", 10, 30, "SubData", 2);
    TfrxReportPage *mainPage = t.Page;
    t.Page = outer->Page();
    addSubreport(t, outer->Page(), "Subreport2", 20, 100, "Deep", 1);
    auto *self = new TfrxSubreport(outer->Page());
    self->SetName("Subreport3");
    self->SetBounds(0, 300, 100, 20);
    self->SetPage(outer->Page());
    t.Page = mainPage;
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 1);
    // The outer output starts at 30; the inner one at 30 + 100, at 10 + 20.
    EXPECT_EQ(t.Places(0), QStringList({"SubData@10,30", "SubData@10,50", "Deep@30,130", "MasterData1@0,150"}));
    EXPECT_EQ(overlaps(t, 0, {"SubData", "Deep"}), QStringList());
}

// A page built by hand gets the sub-reports on it first; what the build
// shows comes below them.
TEST(EngineSubreportPageTest, ManualBuildFollowsTheSubreportsOnThePage)
{
    TEngineReport t;
    auto *child = t.AddBand<TfrxChild>("Child1", 300, 20);
    t.AddMemo(child, "C", "built");
    addSubreport(t, t.Page, "Subreport1", 0, 10, "SubData", 2);
    t.Report.OnManualBuild = [&t](TfrxReportPage *) { t.Report.Engine()->ShowBand(t.Report.FindObject("Child1")); };
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 1);
    EXPECT_EQ(t.Places(0), QStringList({"SubData@0,10", "SubData@0,30", "Child1@0,50"}));
}
