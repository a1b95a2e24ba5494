// Repeated values left out (SuppressRepeated) on prepared pages: within a
// walk of a data band, afresh for each master row and each group, and shown
// again at the top of every page and column.

#include "EngineTestUtil.h"

#include "report/model/rudViewPainter.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

void prepare(TEngineReport &t)
{
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join("\n").toStdString();
}

// The texts of the memos named Name on page Index, top to bottom.
QStringList texts(TEngineReport &t, int Index, const QString &Name)
{
    QStringList result;
    for (TfrxComponent *band : t.Pages()->GetPage(Index)->Objects())
        for (TfrxComponent *c : band->Objects())
            if (auto *m = qobject_cast<TfrxCustomMemoView *>(c); m && m->Name() == Name)
                result << m->Memo().join('\n');
    return result;
}

// Text once, then Blanks empty texts.
QStringList shownThenBlank(const QString &Text, int Blanks)
{
    QStringList result{Text};
    for (int i = 0; i < Blanks; ++i)
        result << QString();
    return result;
}

// A master band of Rows rows, Height high, whose memo "Val" prints Text
// with SuppressRepeated; "Row" prints the row number.
TfrxMasterData *constantList(TEngineReport &t, int Rows, double Height, const QString &Text)
{
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 100, Height);
    master->SetRowCount(Rows);
    t.AddMemoAt(master, "Row", "[Line]", 0, 0, 50, 16);
    TfrxMemoView *val = t.AddMemoAt(master, "Val", Text, 100, 0, 100, 16);
    val->SetSuppressRepeated(true);
    val->SetStretchMode(smActualHeight);
    return master;
}

// Text layout of 16 units per line, so that a memo grows with its lines.
class TLinePainter final : public TfrxViewPainter {
public:
    void Draw(TfrxView *, TfrxCanvas *, double, double, double, double) override {}
    double CalcHeight(TfrxCustomMemoView *Memo) override { return 16.0 * Memo->Memo().size(); }
    double CalcWidth(TfrxCustomMemoView *Memo) override { return Memo->Width(); }
    TfrxMemoSplit Split(TfrxCustomMemoView *Memo) override { return {Memo->Text(), QString(), false, 0}; }
    QString WrapText(TfrxCustomMemoView *Memo, bool) override { return Memo->Text(); }
};

// Masters 1.. with the given numbers of detail rows of 20; the master
// band, Height high and kept together with its details, prints its number
// ("Id") and Text in "Val" with SuppressRepeated.
struct TKeptMasters : TEngineReport {
    std::unique_ptr<TfrxMemoryDataSet> Masters = std::make_unique<TfrxMemoryDataSet>();
    std::unique_ptr<TfrxMemoryDataSet> Details = std::make_unique<TfrxMemoryDataSet>();
    TfrxMasterData *Master;

    TKeptMasters(const QList<int> &Counts, double Height, const QString &Text)
    {
        Masters->AddField("Id", fftNumeric);
        Details->AddField("Owner", fftNumeric);
        for (int i = 0; i < Counts.size(); ++i) {
            Masters->AppendRow({i + 1});
            for (int j = 0; j < Counts[i]; ++j)
                Details->AppendRow({i + 1});
        }
        AddDataSet(Masters.get(), "M");
        AddDataSet(Details.get(), "D");
        Master = AddBand<TfrxMasterData>("MasterData1", 0, Height);
        Master->SetDataSetName("M");
        Master->SetKeepTogether(true);
        AddMemoAt(Master, "Id", "[M.\"Id\"]", 0, 0, 50, 16);
        TfrxMemoView *val = AddMemoAt(Master, "Val", Text, 100, 0, 100, 16);
        val->SetSuppressRepeated(true);
        val->SetStretchMode(smActualHeight);
        auto *detail = AddBand<TfrxDetailData>("DetailData1", 100, 20);
        detail->SetDataSetName("D");
        detail->SetFilter("<D.\"Owner\"> = <M.\"Id\">");
        AddMemo(detail, "Line", "[Line]");
    }
};

} // namespace

// Within one walk a value is left out while it repeats the row above, and
// shown again as soon as it differs, also when it goes back to an earlier
// value. The detail walk under each master row starts afresh.
TEST(EngineSuppressTest, ValuesRepeatingTheRowAboveAreLeftOutPerWalk)
{
    TEngineReport t;
    auto masters = std::make_unique<TfrxMemoryDataSet>();
    masters->AddField("Id", fftNumeric);
    masters->AddField("Name");
    masters->AppendRow({1, "Ann"});
    masters->AppendRow({2, "Bob"});
    auto details = std::make_unique<TfrxMemoryDataSet>();
    details->AddField("Owner", fftNumeric);
    details->AddField("Value");
    for (const auto &[owner, value] : QList<QPair<int, QString>>{
             {1, "x"}, {1, "x"}, {1, "y"}, {1, "x"}, {1, "x"}, {2, "x"}, {2, "x"}, {2, "z"}})
        details->AppendRow({owner, value});
    t.AddDataSet(masters.get(), "M");
    t.AddDataSet(details.get(), "D");
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 0, 20);
    master->SetDataSetName("M");
    t.AddMemo(master, "Name", "[M.\"Name\"]");
    auto *detail = t.AddBand<TfrxDetailData>("DetailData1", 40, 20);
    detail->SetDataSetName("D");
    detail->SetFilter("<D.\"Owner\"> = <M.\"Id\">");
    t.AddMemo(detail, "Val", "[D.\"Value\"]")->SetSuppressRepeated(true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 1);
    // Bob's first row repeats Ann's last and is shown all the same.
    EXPECT_EQ(t.AllLines(), QStringList({"MasterData1:Ann", "DetailData1:x", "DetailData1:", "DetailData1:y",
                                         "DetailData1:x", "DetailData1:", "MasterData1:Bob", "DetailData1:x",
                                         "DetailData1:", "DetailData1:z"}));
    // A second run starts with nothing printed.
    prepare(t);
    EXPECT_EQ(texts(t, 0, "Val").first(), "x");
}

// The first row of a new group shows its value, though it repeats the last
// row of the group before.
TEST(EngineSuppressTest, ANewGroupShowsItsFirstValue)
{
    TEngineReport t;
    auto data = qtyData({{"a", 1}, {"a", 1}, {"b", 1}, {"b", 1}, {"b", 2}});
    t.AddDataSet(data.get(), "D");
    auto *gh = t.AddBand<TfrxGroupHeader>("GroupHeader1", 0, 20);
    gh->SetCondition("<D.\"Group\">");
    t.AddMemo(gh, "G", "[D.\"Group\"]");
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 40, 20);
    master->SetDataSetName("D");
    t.AddMemo(master, "Val", "[D.\"Qty\"]")->SetSuppressRepeated(true);
    prepare(t);
    EXPECT_EQ(t.AllLines(), QStringList({"GroupHeader1:a", "MasterData1:1", "MasterData1:", "GroupHeader1:b",
                                         "MasterData1:1", "MasterData1:", "MasterData1:2"}));
}

// 40 rows of 20 under a header of 20: 34 rows on the first page, 6 on the
// second. The first row of the second page repeats the last of the first
// and is shown; so is the header's repeated text. Two passes give the same.
TEST(EngineSuppressTest, ARepeatedValueIsShownAgainAtTheTopOfANewPage)
{
    TEngineReport t;
    auto *header = t.AddBand<TfrxPageHeader>("PageHeader1", 0, 20);
    t.AddMemo(header, "Head", "Trainees")->SetSuppressRepeated(true);
    constantList(t, 40, 20, "same");
    for (const bool doublePass : {false, true}) {
        t.Report.EngineOptions()->SetDoublePass(doublePass);
        prepare(t);
        ASSERT_EQ(t.Pages()->Count(), 2);
        EXPECT_EQ(texts(t, 0, "Val"), shownThenBlank("same", 33)) << "double pass " << doublePass;
        EXPECT_EQ(texts(t, 1, "Val"), shownThenBlank("same", 5)) << "double pass " << doublePass;
        EXPECT_EQ(texts(t, 1, "Row").first(), "35");
        EXPECT_EQ(texts(t, 0, "Head"), QStringList{"Trainees"});
        EXPECT_EQ(texts(t, 1, "Head"), QStringList{"Trainees"});
    }
}

// Page columns: the first row of the second column shows the value again;
// a band that starts each row on a new page shows it on every page.
TEST(EngineSuppressTest, ARepeatedValueIsShownAgainAtTheTopOfANewColumn)
{
    {
        TEngineReport t;
        t.NewPage()->SetColumns(2);
        constantList(t, 40, 20, "same");
        prepare(t);
        ASSERT_EQ(t.Pages()->Count(), 1);
        QStringList expected = shownThenBlank("same", 34);
        expected << shownThenBlank("same", 4);
        EXPECT_EQ(texts(t, 0, "Val"), expected);
        EXPECT_EQ(texts(t, 0, "Row")[35], "36");
    }
    TEngineReport t;
    constantList(t, 3, 20, "same")->SetStartNewPage(true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(texts(t, i, "Val"), QStringList{"same"}) << "page " << i + 1;
}

// A row that was evaluated with its value left out and then moves to the
// next page needs room for the value it shows there: with two lines of 16
// it is 32 high, where the rows without it are 16. The first page holds the
// first row and 42 more; the row that moves comes out 32 high on the next.
TEST(EngineSuppressTest, ARowMovingToANewPageGrowsForTheValueItShowsAgain)
{
    TLinePainter painter;
    TEngineReport t;
    t.Report.SetServices(engineServices(&painter));
    TfrxMasterData *master = constantList(t, 46, 16, "same\r\nagain");
    master->SetStretched(true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(texts(t, 0, "Val").size(), 43);
    EXPECT_EQ(texts(t, 1, "Val"), QStringList({"same\nagain", "", ""}));
    EXPECT_EQ(t.Places(1), QStringList({"MasterData1@0,0", "MasterData1@0,32", "MasterData1@0,48"}));
}

// Master 1 with 25 details takes 520 of the page's 718; master 2 with its
// 10 (220) does not fit below and moves whole to page 2, where master 3
// follows. Master 2's value, left out on page 1 as a repeat of master 1's,
// is shown at the top of page 2; master 3 repeats it there and stays blank.
TEST(EngineSuppressTest, AKeptBlockMovingToANewPageShowsTheValueItsFirstRowLeftOut)
{
    TKeptMasters t({25, 10, 5}, 20, "same");
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(texts(t, 0, "Val"), QStringList{"same"});
    EXPECT_EQ(texts(t, 1, "Id"), QStringList({"2", "3"}));
    EXPECT_EQ(texts(t, 1, "Val"), QStringList({"same", ""}));
    EXPECT_EQ(t.Places(1).mid(0, 2), QStringList({"MasterData1@0,0", "DetailData1@0,20"}));
    // In page columns the block moves to the next column the same way.
    TKeptMasters columns({25, 10, 5}, 20, "same");
    columns.Page->SetColumns(2);
    prepare(columns);
    ASSERT_EQ(columns.Pages()->Count(), 1);
    EXPECT_EQ(texts(columns, 0, "Val"), QStringList({"same", "same", ""}));
}

// A footer kept with the last row: 35 rows of 20 fill the page, the 30
// footer does not fit, and the last row goes with it to page 2 showing
// its value.
TEST(EngineSuppressTest, ARowKeptWithItsFooterShowsItsValueOnTheNewPage)
{
    TEngineReport t;
    TfrxMasterData *master = constantList(t, 35, 20, "same");
    master->SetKeepFooter(true);
    t.AddMemo(t.AddBand<TfrxFooter>("Footer1", 200, 30), "FootVal", "same")->SetSuppressRepeated(true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(texts(t, 0, "Val"), shownThenBlank("same", 33));
    EXPECT_EQ(t.Lines(1), QStringList({"MasterData1:35", "MasterData1:same", "Footer1:same"}));
}

// The shown value needs two lines of 16 where the left-out one had 16: the
// moved master grows to 32 and everything below it on the new page moves
// down by 16, the next master too.
TEST(EngineSuppressTest, AKeptBlockGrowsForTheValueItShowsOnTheNewPage)
{
    TLinePainter painter;
    TKeptMasters t({25, 10, 5}, 16, "same\r\nagain");
    t.Report.SetServices(engineServices(&painter));
    t.Master->SetStretched(true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(texts(t, 1, "Val"), QStringList({"same\nagain", ""}));
    const QStringList places = t.Places(1);
    ASSERT_EQ(places.size(), 17);
    EXPECT_EQ(places.mid(0, 3), QStringList({"MasterData1@0,0", "DetailData1@0,32", "DetailData1@0,52"}));
    EXPECT_EQ(places.mid(11, 3), QStringList({"MasterData1@0,232", "DetailData1@0,248", "DetailData1@0,268"}));
}

// Rows of 320 that may split, "Top" at their top and "Bottom" at 300, both
// repeating. Row 3 starts at 640 with 78 left: its top part stays on page
// 1 below row 2 (blank, as a repeat of the line above), its bottom part
// goes on on page 2 and shows its value there. Row 4 follows on page 2:
// its top shows (the top it repeats is on page 1), its bottom repeats the
// one just above it and stays blank.
TEST(EngineSuppressTest, TheContinuedPartOfASplitRowShowsItsValues)
{
    TEngineReport t;
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 0, 320);
    master->SetRowCount(4);
    master->SetAllowSplit(true);
    t.AddMemoAt(master, "Top", "same", 0, 0, 100, 16)->SetSuppressRepeated(true);
    t.AddMemoAt(master, "Bottom", "same", 0, 300, 100, 16)->SetSuppressRepeated(true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(texts(t, 0, "Top"), QStringList({"same", "", ""}));
    EXPECT_EQ(texts(t, 0, "Bottom"), QStringList({"same", ""}));
    EXPECT_EQ(texts(t, 1, "Bottom"), QStringList({"same", ""}));
    EXPECT_EQ(texts(t, 1, "Top"), QStringList{"same"});
    EXPECT_EQ(t.Places(1), QStringList({"MasterData1@0,0", "MasterData1@0,20"}));
}
