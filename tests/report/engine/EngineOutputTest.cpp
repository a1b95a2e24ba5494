// What bands carry onto prepared pages besides their objects: outline
// entries of pages, groups and rows; the output of sub-reports below a band
// and on it; the memo that paints a band's fill and frame; the cells of
// vertical bands with their totals.

#include "EngineServices.h"
#include "EngineTestUtil.h"

#include "report/model/rudSubreport.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace enginetest;

namespace {

void prepare(TEngineReport &t)
{
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join("\n").toStdString();
}

std::unique_ptr<TfrxMemoryDataSet> table(const QStringList &Fields, const QList<QVariantList> &Rows)
{
    auto ds = std::make_unique<TfrxMemoryDataSet>();
    for (const QString &f : Fields)
        ds->AddField(f, f == "Name" || f == "Group" || f == "Subject" ? fftString : fftNumeric);
    for (const QVariantList &row : Rows)
        ds->AppendRow(row);
    return ds;
}

} // namespace

// The page's entry holds the groups' entries, which hold their rows';
// each points at the page and top where its band landed. A page started by
// overflow adds the page's entry again at the root without disturbing the
// nesting of the rows that follow.
TEST(EngineOutputTest, OutlineNestsRowsInGroupsInThePage)
{
    TEngineReport t;
    auto data = table({"Group", "Name"}, {{"a", "Ann"}, {"a", "Bob"}, {"b", "Cid"}, {"b", "Dan"}});
    t.AddDataSet(data.get(), "D");
    t.NewPage()->SetOutlineText("'Trainees'");
    auto *gh = t.AddBand<TfrxGroupHeader>("GroupHeader1", 0, 20);
    gh->SetCondition("<D.\"Group\">");
    gh->SetOutlineText("'Group ' + <D.\"Group\">");
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 40, 200);
    master->SetDataSetName("D");
    master->SetOutlineText("<D.\"Name\">");
    t.AddMemo(master, "N", "[D.\"Name\"]");
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 2);
    const QStringList outline{"Trainees 0 0", " Group a 0 0", "  Ann 0 20", "  Bob 0 220",
                              " Group b 0 420", "  Cid 0 440", "  Dan 1 0", "Trainees 1 0"};
    EXPECT_EQ(t.Outline(), outline);
    // Two passes give one outline: the first pass's entries are dropped.
    t.Report.EngineOptions()->SetDoublePass(true);
    prepare(t);
    EXPECT_EQ(t.Outline(), outline);
}

// Below its band: the sub-report's rows follow the band at the
// sub-report's left. On the band: they become part of the band at the
// sub-report's place, the sub-report grows to hold them, the objects below
// it move down and a stretched band grows too.
TEST(EngineOutputTest, SubreportsPrintBelowTheirBandOrOnIt)
{
    auto build = [](TEngineReport &t, bool OnParent) {
        auto *master = t.AddBand<TfrxMasterData>("MasterData1", 0, 40);
        master->SetRowCount(2);
        master->SetStretched(true);
        t.AddMemoAt(master, "Row", "Row [Line]", 0, 0, 90, 10);
        t.AddMemoAt(master, "Below", "below", 0, 30, 90, 10);
        TfrxReportPage *parentPage = t.Page;
        TfrxReportPage *subPage = t.NewPage();
        auto *detail = t.AddBand<TfrxMasterData>("MasterData2", 0, 20);
        detail->SetRowCount(2);
        t.AddMemoAt(detail, "Sub", "sub [Line]", 0, 0, 90, 20);
        auto *sub = new TfrxSubreport(master);
        sub->SetName("Subreport1");
        sub->SetBounds(100, 10, 200, 10);
        sub->SetPage(subPage);
        sub->SetPrintOnParent(OnParent);
        t.Page = parentPage;
    };
    {
        TEngineReport t;
        build(t, false);
        prepare(t);
        ASSERT_EQ(t.Pages()->Count(), 1) << "the sub-report's page is printed only from the sub-report";
        EXPECT_EQ(t.Places(0), QStringList({"MasterData1@0,0", "MasterData2@100,40", "MasterData2@100,60",
                                            "MasterData1@0,80", "MasterData2@100,120", "MasterData2@100,140"}));
        EXPECT_EQ(t.AllLines(), QStringList({"MasterData1:Row 1", "MasterData1:below", "MasterData2:sub 1",
                                             "MasterData2:sub 2", "MasterData1:Row 2", "MasterData1:below",
                                             "MasterData2:sub 1", "MasterData2:sub 2"}));
    }
    TEngineReport t;
    t.Report.EngineOptions()->SetDestroyForms(false);
    build(t, true);
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 1);
    // 40 of output in a sub-report 10 high: "below" moves from 30 to 60 and
    // the band ends under it at 70.
    EXPECT_EQ(t.Places(0), QStringList({"MasterData1@0,0", "MasterData1@0,70"}));
    const QStringList row{"MasterData1:Row 1@0,0", "MasterData1:below@0,60", "MasterData1:sub 1@100,10",
                          "MasterData1:sub 2@100,30"};
    EXPECT_EQ(t.Cells(0).mid(0, 4), row);
    EXPECT_EQ(t.Cells(0).size(), 8);
    // The design is as it was.
    EXPECT_EQ(t.Report.FindObject("Subreport1")->Height(), 10);
    EXPECT_EQ(t.Report.FindObject("Below")->Top(), 30);
    EXPECT_EQ(t.Report.FindObject("MasterData1")->Objects().size(), 3);
}

// The band's fill and frame come out as a memo of the band's size under its
// objects; the band itself is output without them, and keeps them.
TEST(EngineOutputTest, BandFillAndFrameComeOutAsAMemoUnderItsObjects)
{
    TEngineReport t;
    t.Report.EngineOptions()->SetDestroyForms(false);
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 0, 30);
    master->SetRowCount(2);
    master->SetColor(0x0000FF);
    master->Frame()->SetTyp(TfrxFrameTypes(ftLeft | ftTop | ftRight | ftBottom));
    t.AddMemo(master, "Row", "[Line]");
    auto *plain = t.AddBand<TfrxFooter>("Footer1", 100, 20);
    t.AddMemo(plain, "F", "end");
    prepare(t);
    TfrxReportPage *page = t.Pages()->GetPage(0);
    ASSERT_EQ(page->Objects().size(), 4) << "the null band, two rows and the footer";
    for (int i = 1; i <= 2; ++i) {
        TfrxComponent *row = page->Objects()[i];
        ASSERT_EQ(row->Objects().size(), 2);
        auto *fill = qobject_cast<TfrxMemoView *>(row->Objects()[0]);
        ASSERT_TRUE(fill) << "the fill memo comes first, under the row's memo";
        EXPECT_EQ(QRectF(fill->Left(), fill->Top(), fill->Width(), fill->Height()), QRectF(0, 0, 480, 30));
        EXPECT_EQ(fill->Color(), 0x0000FF);
        EXPECT_EQ(fill->Frame()->Typ(), TfrxFrameTypes(ftLeft | ftTop | ftRight | ftBottom));
        EXPECT_TRUE(fill->Text().isEmpty());
        auto *band = static_cast<TfrxView *>(row);
        EXPECT_EQ(band->Color(), clTransparent);
        EXPECT_EQ(band->Frame()->Typ(), TfrxFrameTypes());
    }
    EXPECT_EQ(page->Objects()[3]->Objects().size(), 1) << "a band with nothing to paint gets no fill memo";
    // The store knows the fill memo: each row writes a short reference to it.
    auto *store = dynamic_cast<TfrxPreviewPages *>(t.Pages());
    ASSERT_TRUE(store);
    TfrxXMLItem *firstRow = store->PagesItem()->Items(0)->Items(1);
    ASSERT_GT(firstRow->Count(), 0);
    EXPECT_NE(firstRow->Items(0)->Name(), "TfrxMemoView");
    EXPECT_LT(firstRow->Items(0)->Text().size(), 20) << firstRow->Items(0)->Text().toStdString();
    EXPECT_EQ(master->Color(), 0x0000FF);
    EXPECT_EQ(master->Frame()->Typ(), TfrxFrameTypes(ftLeft | ftTop | ftRight | ftBottom));
    EXPECT_EQ(master->Objects().size(), 1);

    // The fill and frame are stored in the template.
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    t.Report.SaveToStream(&buffer);
    enginetest::TServedReport copy;
    buffer.seek(0);
    copy.LoadFromStream(&buffer);
    auto *loaded = qobject_cast<TfrxBand *>(copy.FindObject("MasterData1"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Color(), 0x0000FF);
    EXPECT_EQ(loaded->Frame()->Typ(), TfrxFrameTypes(ftLeft | ftTop | ftRight | ftBottom));
}

namespace {

// Trainees down (MasterData1 over T), subjects across (a vertical master
// band over S at 100, 60 wide, with a vertical footer at 160): the page
// header names the subjects, each row holds the trainee's hours per
// subject and their total, the footer the totals per subject and overall.
struct TCrossReport : TEngineReport {
    std::unique_ptr<TfrxMemoryDataSet> Trainees = table({"Name", "Id"}, {{"Ann", 1}, {"Bob", 2}});
    std::unique_ptr<TfrxMemoryDataSet> Subjects =
        table({"Subject", "Hours"}, {{"Law", 2}, {"Signs", 3}, {"Driving", 5}});

    TCrossReport()
    {
        AddDataSet(Trainees.get(), "T");
        AddDataSet(Subjects.get(), "S");
        auto *header = AddBand<TfrxPageHeader>("PageHeader1", 0, 20);
        AddMemoAt(header, "HName", "Name", 0, 0, 100, 20);
        AddMemoAt(header, "HSubject", "[S.\"Subject\"]", 100, 0, 60, 20);
        AddMemoAt(header, "HTotal", "Total", 160, 0, 60, 20);
        auto *master = AddBand<TfrxMasterData>("MasterData1", 40, 20);
        master->SetDataSetName("T");
        AddMemoAt(master, "Name", "[T.\"Name\"]", 0, 0, 100, 20);
        AddMemoAt(master, "Hours", "[<S.\"Hours\"> * <T.\"Id\">]", 100, 0, 60, 20);
        AddMemoAt(master, "RowTotal", "[SUM(<S.\"Hours\"> * <T.\"Id\">)]", 160, 0, 60, 20);
        auto *footer = AddBand<TfrxFooter>("Footer1", 80, 20);
        AddMemoAt(footer, "FName", "Sum", 0, 0, 100, 20);
        AddMemoAt(footer, "ColumnTotal", "[SUM(<S.\"Hours\"> * <T.\"Id\">)]", 100, 0, 60, 20);
        AddMemoAt(footer, "AllTotal", "[SUM(<S.\"Hours\"> * <T.\"Id\">, MasterData1)]", 160, 0, 60, 20);
        auto *columns = AddBand<TfrxMasterData>("VMaster", 0, 0);
        columns->SetVertical(true);
        columns->SetBounds(100, 0, 60, 200);
        columns->SetDataSetName("S");
        auto *totals = AddBand<TfrxFooter>("VFooter", 0, 0);
        totals->SetVertical(true);
        totals->SetBounds(160, 0, 60, 200);
    }
};

} // namespace

TEST(EngineOutputTest, VerticalBandsRepeatTheirCellsAcrossEachRowWithTotals)
{
    TCrossReport t;
    prepare(t);
    ASSERT_EQ(t.Pages()->Count(), 1);
    EXPECT_EQ(t.Cells(0),
              QStringList({"PageHeader1:Name@0,0", "PageHeader1:Law@100,0", "PageHeader1:Signs@160,0",
                           "PageHeader1:Driving@220,0", "PageHeader1:Total@280,0",
                           "MasterData1:Ann@0,0", "MasterData1:2@100,0", "MasterData1:3@160,0",
                           "MasterData1:5@220,0", "MasterData1:10@280,0",
                           "MasterData1:Bob@0,0", "MasterData1:4@100,0", "MasterData1:6@160,0",
                           "MasterData1:10@220,0", "MasterData1:20@280,0",
                           "Footer1:Sum@0,0", "Footer1:6@100,0", "Footer1:9@160,0", "Footer1:15@220,0",
                           "Footer1:30@280,0"}));
    EXPECT_EQ(t.Places(0), QStringList({"PageHeader1@0,0", "MasterData1@0,20", "MasterData1@0,40",
                                        "Footer1@0,60"}));
}

TEST(EngineOutputTest, VerticalBandsGiveTheirObjectsBackAfterTheRun)
{
    TCrossReport t;
    t.Report.EngineOptions()->SetDestroyForms(false);
    prepare(t);
    TfrxComponent *master = t.Report.FindObject("MasterData1");
    QStringList objects;
    for (TfrxComponent *c : master->Objects())
        objects << QString("%1@%2").arg(c->Name()).arg(c->Left());
    EXPECT_EQ(objects, QStringList({"Name@0", "Hours@100", "RowTotal@160"}));
    EXPECT_TRUE(t.Report.FindObject("VMaster")->Objects().isEmpty());
    // And a second run gives the same pages.
    const QStringList first = t.Cells(0);
    prepare(t);
    EXPECT_EQ(t.Cells(0), first);

    // Templates keep the vertical bands as such.
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    t.Report.SaveToStream(&buffer);
    EXPECT_TRUE(buffer.data().contains("Vertical=\"True\""));
    enginetest::TServedReport copy;
    buffer.seek(0);
    copy.LoadFromStream(&buffer);
    auto *loaded = qobject_cast<TfrxBand *>(copy.FindObject("VFooter"));
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->Vertical());
    EXPECT_FALSE(qobject_cast<TfrxBand *>(copy.FindObject("Footer1"))->Vertical());
}
