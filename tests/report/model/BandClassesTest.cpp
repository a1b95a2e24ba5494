// Band classes in templates: every band kind is read by its class name with
// its own properties, gets its number, and is written back unchanged.

#include "report/model/rudBand.h"
#include "report/model/rudClassRegistry.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"

#include "ReportBytes.h"

#include <QBuffer>
#include <gtest/gtest.h>

using modeltest::load;
using modeltest::save;

TEST(BandClassesTest, EveryBandClassIsRegisteredWithItsNumber)
{
    const char *names[] = {"TfrxReportTitle",   "TfrxReportSummary", "TfrxPageHeader",   "TfrxPageFooter",
                           "TfrxHeader",        "TfrxFooter",        "TfrxMasterData",   "TfrxDetailData",
                           "TfrxSubdetailData", "TfrxDataBand4",     "TfrxDataBand5",    "TfrxDataBand6",
                           "TfrxGroupHeader",   "TfrxGroupFooter",   "TfrxChild",        "TfrxColumnHeader",
                           "TfrxColumnFooter",  "TfrxOverlay"};
    for (int n = 0; n < 18; ++n) {
        const TfrxClassEntry entry = rudFindClass(names[n]);
        ASSERT_TRUE(entry.Create) << names[n];
        std::unique_ptr<TfrxComponent> c(entry.Create(nullptr));
        auto *band = qobject_cast<TfrxBand *>(c.get());
        ASSERT_TRUE(band) << names[n];
        EXPECT_EQ(band->BandNumber(), n) << names[n];
        EXPECT_EQ(rudBandClass(n), band->metaObject());
    }
    EXPECT_EQ(rudBandClass(18), nullptr);
    ASSERT_TRUE(rudFindClass("TfrxNullBand").Create);
    TfrxNullBand null(nullptr);
    EXPECT_EQ(null.BandNumber(), -1);
    EXPECT_EQ(null.OriginalObjectsCount(), -1);
    EXPECT_TRUE(null.Objects().isEmpty());
}

TEST(BandClassesTest, BandsRoundTripThroughATemplateWithTheirReferences)
{
    const QByteArray text =
        "<TfrxReport Name=\"\"><TfrxReportPage Name=\"Page1\">"
        "<TfrxPageHeader Name=\"PageHeader1\" Height=\"20\" Top=\"10\" Width=\"700\" PrintOnFirstPage=\"False\"/>"
        "<TfrxGroupHeader Name=\"GroupHeader1\" Height=\"20\" Top=\"40\" Width=\"700\" Condition=\"&#60;D.&#34;G&#34;&#62;\" "
        "ReprintOnNewPage=\"True\" Child=\"Child1\"/>"
        "<TfrxChild Name=\"Child1\" Height=\"10\" Top=\"65\" Width=\"700\"/>"
        "<TfrxMasterData Name=\"MasterData1\" Height=\"18\" Top=\"80\" Width=\"700\" DataSetName=\"D\" "
        "RowCount=\"3\" Filter=\"&#60;Line&#62; &#62; 1\" KeepTogether=\"True\" ColumnCount=\"2\" ColumnWidth=\"350\">"
        "<TfrxMemoView Name=\"Memo1\" Left=\"5\" Top=\"1\" Width=\"100\" Height=\"16\" Text=\"[Line]\"/>"
        "</TfrxMasterData>"
        "<TfrxPageFooter Name=\"PageFooter1\" Height=\"20\" Top=\"200\" Width=\"700\" PrintOnLastPage=\"False\"/>"
        "<TfrxOverlay Name=\"Overlay1\" Height=\"20\" Top=\"300\" Width=\"700\" PrintOnTop=\"True\"/>"
        "</TfrxReportPage></TfrxReport>";
    TfrxReport report;
    load(report, text);
    ASSERT_TRUE(report.Errors().isEmpty()) << report.Errors().join("\n").toStdString();
    auto *gh = qobject_cast<TfrxGroupHeader *>(report.FindObject("GroupHeader1"));
    auto *md = qobject_cast<TfrxMasterData *>(report.FindObject("MasterData1"));
    auto *ph = qobject_cast<TfrxPageHeader *>(report.FindObject("PageHeader1"));
    auto *pf = qobject_cast<TfrxPageFooter *>(report.FindObject("PageFooter1"));
    auto *ov = qobject_cast<TfrxOverlay *>(report.FindObject("Overlay1"));
    ASSERT_TRUE(gh && md && ph && pf && ov);
    EXPECT_EQ(gh->Condition(), "<D.\"G\">");
    EXPECT_TRUE(gh->ReprintOnNewPage());
    EXPECT_EQ(gh->Child(), report.FindObject("Child1"));
    EXPECT_EQ(md->DataSetName(), "D");
    EXPECT_EQ(md->RowCount(), 3);
    EXPECT_EQ(md->Filter(), "<Line> > 1");
    EXPECT_TRUE(md->KeepTogether());
    EXPECT_EQ(md->Columns(), 2);
    EXPECT_EQ(md->Objects().size(), 1);
    EXPECT_FALSE(ph->PrintOnFirstPage());
    EXPECT_TRUE(pf->PrintOnFirstPage());
    EXPECT_FALSE(pf->PrintOnLastPage());
    EXPECT_TRUE(ov->PrintOnTop());

    // Written back and read again, the template is the same text.
    const QByteArray once = save(report);
    TfrxReport again;
    load(again, once);
    EXPECT_EQ(save(again), once);
    EXPECT_TRUE(once.contains("PrintOnFirstPage=\"False\""));
    EXPECT_FALSE(once.contains("PrintOnLastPage=\"True\"")) << "defaults are not written";
}

TEST(BandClassesTest, ChildChainNeverLoopsBack)
{
    TfrxReportPage page(nullptr);
    auto *a = new TfrxChild(&page);
    auto *b = new TfrxChild(&page);
    a->SetChild(b);
    b->SetChild(a);
    EXPECT_EQ(a->Child(), b);
    EXPECT_EQ(b->Child(), nullptr) << "a loop of children would be shown forever";
}

TEST(BandClassesTest, NullBandListsObjectsWithoutOwningThem)
{
    TfrxReportPage page(nullptr);
    auto *memo = new TfrxMemoView(&page);
    {
        TfrxNullBand band(nullptr);
        band.ListObject(memo);
        EXPECT_EQ(band.Objects().size(), 1);
        EXPECT_EQ(memo->Parent(), &page);
    }
    EXPECT_EQ(page.Objects().size(), 1) << "freeing the null band leaves the page's objects alone";
    EXPECT_EQ(memo->Parent(), &page);
}
