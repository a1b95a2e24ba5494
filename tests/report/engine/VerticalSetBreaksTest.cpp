// Column sets started on purpose: a vertical band with StartNewPage starts
// the next set as a horizontal band starts a new page, and a vertical group
// with KeepTogether goes whole to the next set when the rest of the current
// one cannot hold it.

#include "VerticalBandsTestUtil.h"

#include <gtest/gtest.h>

using namespace vbandstest;

namespace {

// One row of lessons across, from 100 on, band after band to the right:
// a vertical header "lessons" (40), the group header "kind:" (30), the
// lessons over L (40, the row holds Qty x 2), the group footer "sub" (50,
// the row holds the group's sum) and the footer "total" (60, the row's
// sum). The page header holds the bands' titles. The page is Width wide.
// With Intro, that many introductory lessons (a vertical master band over
// I, 40 wide, titled 11, 12 and so on) come first.
struct TSetsReport : TEngineReport {
    std::unique_ptr<TfrxMemoryDataSet> Lessons;
    std::unique_ptr<TfrxMemoryDataSet> Intro = qtyData({});
    TfrxBand *Titles = nullptr;
    TfrxBand *Row = nullptr;
    TfrxHeader *VHeader = nullptr;
    TfrxGroupHeader *VGroup = nullptr;
    TfrxMasterData *VMaster = nullptr;
    double X = 100;

    TSetsReport(const QList<QPair<QString, QVariant>> &Rows, double Width, int IntroCount = 0)
        : Lessons(qtyData(Rows))
    {
        AddDataSet(Lessons.get(), "L");
        AddDataSet(Intro.get(), "I");
        NewPage()->SetPaperWidth(Width / fr01cm + 20);
        Titles = AddBand<TfrxPageHeader>("PageHeader1", 0, 20);
        AddMemoAt(Titles, "HName", "Name", 0, 0, 100, 20);
        auto *row = AddBand<TfrxMasterData>("MasterData1", 40, 20);
        row->SetRowCount(1);
        Row = row;
        AddMemoAt(Row, "Name", "Row", 0, 0, 100, 20);
        if (IntroCount > 0) {
            for (int i = 1; i <= IntroCount; ++i)
                Intro->AppendRow({"i", 10 + i});
            Column<TfrxMasterData>("VIntro", 40, "[I.\"Qty\"]", "")->SetDataSetName("I");
        }
        VHeader = Column<TfrxHeader>("VHeader", 40, "lessons", "");
        VGroup = Column<TfrxGroupHeader>("VGroup", 30, "[L.\"Group\"]:", "");
        VGroup->SetCondition("<L.\"Group\">");
        VMaster = Column<TfrxMasterData>("VMaster", 40, "[L.\"Qty\"]", "[<L.\"Qty\"> * 2]");
        VMaster->SetDataSetName("L");
        Column<TfrxGroupFooter>("VGroupFooter", 50, "sub", "[SUM(<L.\"Qty\"> * 2)]");
        Column<TfrxFooter>("VFooter", 60, "total", "[SUM(<L.\"Qty\"> * 2)]");
    }

    // A vertical band of class T at the next place, Width wide, with a
    // title and a cell of the row.
    template <class T>
    T *Column(const QString &Name, double Width, const QString &Title, const QString &Cell)
    {
        auto *band = addVBand<T>(*this, Name, X, Width);
        AddMemoAt(Titles, "T" + Name, Title, X, 0, Width, 20);
        if (!Cell.isEmpty())
            AddMemoAt(Row, "C" + Name, Cell, X, 0, Width, 20);
        X += Width;
        return band;
    }

    // The titles of each prepared page, and whether anything passes the
    // right edge.
    QList<QStringList> Sets(double Width)
    {
        QList<QStringList> sets;
        for (int page = 0; page < Pages()->Count(); ++page) {
            const TRow titles = rowOf(*this, page, "PageHeader1");
            EXPECT_LE(titles.Right, Width + 1e-6) << "page " << page;
            sets << titles.Cells.mid(1);
        }
        return sets;
    }
};

} // namespace

// Each kind of lessons in a set of its own: the group header with
// StartNewPage starts the next set, except for the first group; the
// lessons' header, still open, starts each set again. The row's cells
// come out in the same sets, with the group sums and the row's total.
TEST(VerticalSetBreaksTest, AVerticalGroupHeaderWithStartNewPageStartsEachGroupInANewSet)
{
    const QList<QPair<QString, QVariant>> rows{{"a", 2}, {"a", 3}, {"b", 4}, {"b", 5}, {"c", 6}};
    {
        TSetsReport t(rows, 1000);
        prepare(t);
        EXPECT_EQ(t.Pages()->Count(), 1) << "everything fits one set";
    }
    TSetsReport t(rows, 1000);
    t.VGroup->SetStartNewPage(true);
    prepare(t);
    EXPECT_EQ(t.Sets(1000), QList<QStringList>({{"lessons@100", "a:@140", "2@170", "3@210", "sub@250"},
                                                 {"lessons@100", "b:@140", "4@170", "5@210", "sub@250"},
                                                 {"lessons@100", "c:@140", "6@170", "sub@210", "total@260"}}));
    EXPECT_EQ(rowOf(t, 1, "MasterData1").Cells, QStringList({"Row@0", "8@170", "10@210", "18@250"}));
    EXPECT_EQ(rowOf(t, 2, "MasterData1").Cells, QStringList({"Row@0", "12@170", "12@210", "40@260"}));
}

// StartNewPage on the lessons: every lesson but the first starts a set;
// an invisible lesson starts none. On a page of endless width the sets are
// made all the same, each page as wide as the widest set.
TEST(VerticalSetBreaksTest, AVerticalDataBandWithStartNewPageStartsASetForEachRecordButTheFirst)
{
    const QList<QPair<QString, QVariant>> rows{{"a", 2}, {"a", 3}, {"a", 4}};
    {
        TSetsReport t(rows, 1000);
        t.VMaster->SetStartNewPage(true);
        prepare(t);
        EXPECT_EQ(t.Sets(1000), QList<QStringList>({{"lessons@100", "a:@140", "2@170"},
                                                     {"lessons@100", "3@140"},
                                                     {"lessons@100", "4@140", "sub@180", "total@230"}}));
    }
    {
        TSetsReport t(rows, 1000);
        t.VMaster->SetStartNewPage(true);
        t.VMaster->SetVisible(false);
        prepare(t);
        EXPECT_EQ(t.Sets(1000), QList<QStringList>({{"lessons@100", "a:@140", "sub@170", "total@220"}}));
    }
    TSetsReport t(rows, 250);
    t.Page->SetEndlessWidth(true);
    t.VMaster->SetStartNewPage(true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 3);
    EXPECT_EQ(rowOf(t, 2, "PageHeader1").Cells,
              QStringList({"Name@0", "lessons@100", "4@140", "sub@180", "total@230"}));
    for (int page = 0; page < 3; ++page)
        EXPECT_NEAR(t.Pages()->GetPage(page)->PaperWidth(), 290 / fr01cm + 20, 1e-3) << "page " << page;
}

// Lessons a 2, a 3, b 4, b 5, b 6 on a page 420 wide: group b does not fit
// beside group a, and with KeepTogether it starts the next set whole, after
// the repeated header, instead of breaking before its last lesson. The
// measure follows the filter: with seven lessons in b, two of them filtered
// out, b still fits a set.
TEST(VerticalSetBreaksTest, AKeptVerticalGroupGoesWholeToTheNextSet)
{
    const QList<QPair<QString, QVariant>> rows{{"a", 2}, {"a", 3}, {"b", 4}, {"b", 5}, {"b", 6}};
    {
        TSetsReport t(rows, 420);
        prepare(t);
        EXPECT_EQ(t.Sets(420), QList<QStringList>({{"lessons@100", "a:@140", "2@170", "3@210", "sub@250", "b:@300",
                                                     "4@330", "5@370"},
                                                    {"lessons@100", "6@140", "sub@180", "total@230"}}));
    }
    {
        TSetsReport t(rows, 420);
        t.VGroup->SetKeepTogether(true);
        prepare(t);
        EXPECT_EQ(t.Sets(420), QList<QStringList>({{"lessons@100", "a:@140", "2@170", "3@210", "sub@250"},
                                                    {"lessons@100", "b:@140", "4@170", "5@210", "6@250", "sub@290",
                                                     "total@340"}}));
        EXPECT_EQ(rowOf(t, 1, "MasterData1").Cells,
                  QStringList({"Row@0", "8@170", "10@210", "12@250", "30@290", "40@340"}));
    }
    QList<QPair<QString, QVariant>> filtered{{"a", 2}, {"a", 3}};
    for (int qty = 4; qty <= 10; ++qty)
        filtered.append({"b", qty});
    TSetsReport t(filtered, 420);
    t.VGroup->SetKeepTogether(true);
    t.VMaster->SetFilter("(<L.\"Qty\"> <> 5) and (<L.\"Qty\"> <> 8)");
    prepare(t);
    EXPECT_EQ(t.Sets(420),
              QList<QStringList>({{"lessons@100", "a:@140", "2@170", "3@210", "sub@250"},
                                  {"lessons@100", "b:@140", "4@170", "6@210", "7@250", "9@290", "10@330", "sub@370"},
                                  {"total@100"}}));
}

// A kept group wider than a whole set (b with eight lessons, 400 wide, on a
// page 420 wide) comes out as without KeepTogether, cut where the sets end.
TEST(VerticalSetBreaksTest, AKeptVerticalGroupWiderThanASetIsCutAsAnyOutput)
{
    QList<QPair<QString, QVariant>> rows{{"a", 2}, {"a", 3}};
    for (int qty = 4; qty <= 11; ++qty)
        rows.append({"b", qty});
    TSetsReport plain(rows, 420);
    prepare(plain);
    TSetsReport kept(rows, 420);
    kept.VGroup->SetKeepTogether(true);
    prepare(kept);
    const QList<QStringList> sets = kept.Sets(420);
    ASSERT_EQ(sets.size(), 3);
    EXPECT_EQ(sets, plain.Sets(420));
    EXPECT_EQ(sets[0].mid(4), QStringList({"sub@250", "b:@300", "4@330", "5@370"}));
}

// After four introductory lessons the lessons' header would stand at the
// end of the set alone, since the kept group a does not fit beside it: the
// header goes to the next set with the group.
TEST(VerticalSetBreaksTest, AHeaderBeforeAKeptGroupGoesWithItToTheNextSet)
{
    const QList<QPair<QString, QVariant>> rows{{"a", 2}, {"a", 3}, {"b", 4}, {"b", 5}, {"b", 6}};
    TSetsReport plain(rows, 420, 4);
    prepare(plain);
    EXPECT_EQ(plain.Sets(420).value(0),
              QStringList({"11@100", "12@140", "13@180", "14@220", "lessons@260", "a:@300", "2@330", "3@370"}));
    TSetsReport t(rows, 420, 4);
    t.VGroup->SetKeepTogether(true);
    prepare(t);
    EXPECT_EQ(t.Sets(420), QList<QStringList>({{"11@100", "12@140", "13@180", "14@220"},
                                                {"lessons@100", "a:@140", "2@170", "3@210", "sub@250"},
                                                {"lessons@100", "b:@140", "4@170", "5@210", "6@250", "sub@290",
                                                 "total@340"}}));
}
