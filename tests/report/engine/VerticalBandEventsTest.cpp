// Script events of vertical bands on prepared pages: OnBeforePrint and
// OnAfterPrint around every output of a vertical band, in the order of the
// walk, their changes showing in the cells, and again in every column set.

#include "VerticalBandsTestUtil.h"

#include "script/fs_iinterpreter.h"

#include <gtest/gtest.h>

using namespace vbandstest;

namespace {

// The script's global Name after the run.
QString scriptValue(TEngineReport &t, const QString &Name)
{
    TfsCustomVariable *v = t.Report.Script()->FindLocal(Name);
    return v ? v->FValue.ToString() : QStringLiteral("<none>");
}

void setEvents(TfrxBand *Band, const QString &Before, const QString &After)
{
    Band->SetOnBeforePrint(Before);
    Band->SetOnAfterPrint(After);
}

} // namespace

// Each horizontal band carrying vertical cells (the page header, two rows
// and the footer) walks the vertical bands: every output of a vertical
// band runs its OnBeforePrint, then its OnAfterPrint, group header, records,
// group footer and footer in turn. The record's event sees its record: a
// text it gives the row's cell shows for that lesson only.
TEST(VerticalBandEventsTest, EventsRunAroundEachVerticalOutputAndTheirChangesShowInTheCells)
{
    TGroupReport t({{"a", 2}, {"a", 3}, {"a", 4}, {"b", 5}});
    // "Value" is the script's own variable.
    t.Report.FindObject("Value")->SetName("Product");
    t.Report.SetScriptText({"var Log: String;",
                            "procedure Before(Sender: TfrxComponent);",
                            "begin",
                            "  Log := Log + '>' + Sender.Name + ' ';",
                            "end;",
                            "procedure After(Sender: TfrxComponent);",
                            "begin",
                            "  Log := Log + '<' + Sender.Name + ' ';",
                            "end;",
                            "procedure LessonBefore(Sender: TfrxComponent);",
                            "begin",
                            "  Before(Sender);",
                            "  if <L.\"Qty\"> = 3 then",
                            "    Product.Text := 'three'",
                            "  else",
                            "    Product.Text := '[<L.\"Qty\"> * <T.\"Id\">]';",
                            "end;",
                            "begin",
                            "end."});
    for (const char *name : {"VGroup", "VGroupFooter", "VFooter"})
        setEvents(static_cast<TfrxBand *>(t.Report.FindObject(name)), "Before", "After");
    setEvents(static_cast<TfrxBand *>(t.Report.FindObject("VMaster")), "LessonBefore", "After");
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 1);
    QString walk;
    for (const char *band : {"VGroup", "VMaster", "VMaster", "VMaster", "VGroupFooter", "VGroup", "VMaster",
                             "VGroupFooter", "VFooter"})
        walk += QStringLiteral(">%1 <%1 ").arg(QLatin1String(band));
    EXPECT_EQ(scriptValue(t, "Log"), walk.repeated(4));
    EXPECT_EQ(rowOf(t, 0, "MasterData1", 0).Cells,
              QStringList({"Ann@0", "2@130", "three@170", "4@210", "9@250", "5@330", "5@370", "14@420"}));
    EXPECT_EQ(rowOf(t, 0, "MasterData1", 1).Cells,
              QStringList({"Bob@0", "4@130", "three@170", "8@210", "18@250", "10@330", "10@370", "28@420"}));
}

namespace {

// Lessons 1 to 30 across (TWideReport, 700 wide: two column sets without
// help); the lessons' events count their calls and rename the row's cells.
// With Odd the lesson's event hides the even lessons.
struct TCountingReport : TWideReport {
    explicit TCountingReport(bool Odd) : TWideReport(700, 3, 20)
    {
        Report.SetScriptText({"var Before, After: Integer;",
                              "procedure LessonBefore(Sender: TfrxComponent);",
                              "begin",
                              "  Before := Before + 1;",
                              "  Cell.Text := '[T.\"Name\"]-[L.\"No\"]';",
                              Odd ? "  VMaster.Visible := <L.\"No\"> mod 2 = 1;" : "",
                              "end;",
                              "procedure LessonAfter(Sender: TfrxComponent);",
                              "begin",
                              "  After := After + 1;",
                              "end;",
                              "begin",
                              "end."});
        setEvents(static_cast<TfrxBand *>(Report.FindObject("VMaster")), "LessonBefore", "LessonAfter");
    }
};

} // namespace

// Every column set walks the page again: the events run again in each set,
// for all 30 lessons of each of the five walks (page header, three rows,
// footer), not only for the lessons that fall in that set; each set's cells
// carry the text the event gave them.
TEST(VerticalBandEventsTest, EachColumnSetRunsTheEventsOfTheWholeWalkAgain)
{
    TCountingReport t(false);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(scriptValue(t, "Before"), "300");
    EXPECT_EQ(scriptValue(t, "After"), "300");
    for (int page = 0; page < 2; ++page) {
        const QStringList cells = rowOf(t, page, "MasterData1", 1).Cells;
        ASSERT_EQ(cells.size(), 16) << "page " << page;
        EXPECT_EQ(cells[1], QStringLiteral("T2-%1@100").arg(page * 15 + 1));
        EXPECT_EQ(cells[15], QStringLiteral("T2-%1@660").arg(page * 15 + 15));
    }
}

// A lesson hidden by its event takes no room: the 15 odd lessons fill the
// page exactly, so the whole walk fits one set and runs once per band.
TEST(VerticalBandEventsTest, ABandHiddenByItsEventTakesNoRoomWhenTheSetsAreCut)
{
    TCountingReport t(true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 1);
    EXPECT_EQ(scriptValue(t, "Before"), "150");
    QStringList expected{"Name@0"};
    for (int i = 0; i < 15; ++i)
        expected << QStringLiteral("%1@%2").arg(2 * i + 1).arg(100 + 40 * i);
    EXPECT_EQ(rowOf(t, 0, "PageHeader1").Cells, expected);
    EXPECT_EQ(rowOf(t, 0, "MasterData1", 2).Cells.last(), "T3-29@660");
}

// A vertical header repeated at the start of a set is an output of its own:
// its events run with Overflow set. One trainee, 30 lessons in three sets
// of 13, 13 and 4 beside the header: each of the three walks per set (page
// header, row, footer) shows the header once and repeats it twice.
TEST(VerticalBandEventsTest, AVerticalHeaderRepeatedInANewSetRunsItsEventsWithOverflow)
{
    TWideReport t(700, 1, 20, true);
    int shown = 0, repeated = 0;
    t.Report.OnBeforePrint = [&](TfrxReportComponent *Obj) {
        auto *band = qobject_cast<TfrxBand *>(Obj);
        if (band && band->Name() == "VHeader")
            ++(band->Overflow() ? repeated : shown);
    };
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 3);
    EXPECT_EQ(shown, 9);
    EXPECT_EQ(repeated, 18);
    EXPECT_EQ(rowOf(t, 2, "MasterData1").Cells.mid(0, 3), QStringList({"T1@0", "1@100", "T1:27@160"}));
}
