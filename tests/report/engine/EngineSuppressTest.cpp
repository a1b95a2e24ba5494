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
    rudSetViewPainter(&painter);
    TEngineReport t;
    TfrxMasterData *master = constantList(t, 46, 16, "same\r\nagain");
    master->SetStretched(true);
    prepare(t);
    rudSetViewPainter(nullptr);
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(texts(t, 0, "Val").size(), 43);
    EXPECT_EQ(texts(t, 1, "Val"), QStringList({"same\nagain", "", ""}));
    EXPECT_EQ(t.Places(1), QStringList({"MasterData1@0,0", "MasterData1@0,32", "MasterData1@0,48"}));
}
