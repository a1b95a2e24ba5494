// Source pages of the prepared pages store: objects that add source objects
// of their own, band copies equal to their bands, and highlighted memos
// rebuilt from their differences.

#include "EngineTestUtil.h"

#include "report/model/rudXMLSerializer.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

// An object that prints through a memo of its own: it is not copied into the
// source page itself, but adds its memo there when asked.
class TPrintsThroughAMemo : public TfrxView {
public:
    explicit TPrintsThroughAMemo(TfrxComponent *AOwner) : TfrxView(AOwner), Part(nullptr)
    {
        SetComponentStyle(TfrxComponentStyles());
        Part.SetText(QStringLiteral("part of ") + QString::number(quintptr(this) % 7));
        Part.SetBounds(5, 6, 70, 18);
    }
    void AddSourceObjects() override
    {
        ++Asked;
        Report()->PreviewPages()->AddToSourcePage(&Part);
    }
    TfrxMemoView Part;
    int Asked = 0;
};

// The names of the objects of source page Index, in tree order.
QStringList sourceNames(TfrxPreviewPages *Pages, int Index)
{
    QStringList names;
    for (TfrxComponent *c : Pages->SourcePage(Index)->AllObjects())
        names << c->Name();
    return names;
}

} // namespace

TEST(SourcePages, AnObjectThatIsNotPreviewVisibleAddsItsOwnSourceObjects)
{
    TEngineReport t;
    t.NewPage();
    t.AddMemo(t.Page, "Memo1", "one");
    auto *special = new TPrintsThroughAMemo(t.Page);
    special->SetName(QStringLiteral("Special1"));
    t.AddMemo(special, "Inner1", "never copied");
    t.AddMemo(t.Page, "Memo2", "two");
    TfrxReportPage *first = t.Page;
    t.NewPage();
    t.AddMemo(t.Page, "Memo3", "three");

    auto *pages = dynamic_cast<TfrxPreviewPages *>(t.Pages());
    pages->Clear();
    pages->AddSourcePage(first);
    pages->AddSourcePage(t.Page);

    EXPECT_EQ(special->Asked, 1);
    // The added memo lands on the page being copied, under a name unique in
    // the report; the object itself and its children are not copied.
    EXPECT_EQ(sourceNames(pages, 0), QStringList({"Memo1", "Memo4", "Memo2"}));
    EXPECT_EQ(sourceNames(pages, 1), QStringList({"Memo3"}));
    TfrxComponent *added = pages->SourcePage(0)->FindObject(QStringLiteral("Memo4"));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(special->Part.OriginalComponent(), added);
    EXPECT_EQ(added->OriginalComponent(), &special->Part);
    EXPECT_EQ(dynamic_cast<TfrxMemoView *>(added)->Text(), special->Part.Text());
    EXPECT_EQ(added->Left(), 5);
    // It has its alias like every copy, and the part can be output through it.
    const QString alias = special->Part.AliasName();
    EXPECT_EQ(alias, added->AliasName());
    EXPECT_EQ(pages->Dictionary().GetSourceName(alias), QStringLiteral("Page0.Memo4"));
    EXPECT_EQ(pages->Dictionary().GetObject(alias), added);
    EXPECT_EQ(pages->Dictionary().Count(), 4);
}

TEST(SourcePages, ABandCopyEqualsItsBandAndAnUnchangedBandStoresOnlyItsTop)
{
    TEngineReport t;
    // Bands made in code take their page's font (ParentFont), unlike bands
    // read from a template, which carry their own.
    auto *title = t.AddBand<TfrxReportTitle>("ReportTitle1", 0, 40);
    t.AddMemo(title, "Memo1", "x");
    auto *data = t.AddBand<TfrxMasterData>("MasterData1", 60, 20);
    data->SetRowCount(2);
    data->Font()->SetSize(14);
    data->FontChanged();
    ASSERT_TRUE(title->ParentFont());
    ASSERT_FALSE(data->ParentFont());

    auto *pages = dynamic_cast<TfrxPreviewPages *>(t.Pages());
    pages->Clear();
    pages->AddSourcePage(t.Page);
    TfrxXMLSerializer serializer(nullptr);
    for (TfrxBand *band : {static_cast<TfrxBand *>(title), static_cast<TfrxBand *>(data)}) {
        TfrxComponent *copy = band->OriginalComponent();
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->BaseName(), serializer.WriteComponentStr(band));
        EXPECT_EQ(copy->ParentFont(), band->ParentFont()) << band->Name().toStdString();
        EXPECT_EQ(band->Diff(copy), QStringLiteral(" t=\"%1\"").arg(band->Top())) << band->Name().toStdString();
    }

    ASSERT_TRUE(t.Report.PrepareReport());
    TfrxXMLItem *page = pages->PagesItem()->Items(0);
    QStringList bandItems;
    for (int i = 0; i < page->Count(); ++i)
        if (page->Items(i)->Name().startsWith('b'))
            bandItems << page->Items(i)->Text();
    EXPECT_EQ(bandItems, QStringList({"t=\"0\"", "t=\"40\"", "t=\"60\""}));
    EXPECT_EQ(t.Lines(0), QStringList({"ReportTitle1:x"}));
}


TEST(SourcePages, ARebuiltMemoTakesTheLookOfItsActiveHighlight)
{
    TEngineReport t;
    t.NewPage();
    TfrxMemoView *shown = t.AddMemo(t.Page, "Memo1", "applied while preparing");
    TfrxMemoView *marked = t.AddMemo(t.Page, "Memo2", "marked for the preview", 220);
    for (TfrxMemoView *memo : {shown, marked}) {
        TfrxHighlight *h = memo->Highlights().Add();
        h->SetCondition(memo == shown ? QStringLiteral("1 = 1") : QStringLiteral("1 = 2"));
        h->Font()->SetColor(clRed);
        h->SetColor(0xFF0000);
    }
    ASSERT_TRUE(t.Report.PrepareReport());
    auto *pages = dynamic_cast<TfrxPreviewPages *>(t.Pages());
    TfrxXMLItem *band = pages->PagesItem()->Items(0)->Items(0);
    ASSERT_EQ(band->Count(), 2);
    // The applied look travels in the memo's differences.
    EXPECT_EQ(band->Items(0)->Text(), "Font.Color=\"255\" ParentFont=\"0\" Fill.BackColor=\"16711680\" "
                                      "u=\"applied while preparing\"");
    // A highlight marked Active on the prepared page is applied when the
    // page is rebuilt.
    band->Items(1)->SetText(band->Items(1)->Text() + " Highlight.Active=\"1\"");
    TfrxReportPage *page = pages->GetPage(0);
    for (const char *name : {"Memo1", "Memo2"}) {
        auto *memo = dynamic_cast<TfrxMemoView *>(page->FindObject(QLatin1String(name)));
        ASSERT_NE(memo, nullptr);
        EXPECT_EQ(memo->Font()->Color(), clRed) << name;
        EXPECT_EQ(memo->Color(), 0xFF0000) << name;
    }
    auto *plain = dynamic_cast<TfrxMemoView *>(t.Report.FindObject(QStringLiteral("Memo1")));
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->Highlights()[0]->Active());
}
