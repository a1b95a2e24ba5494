// The prepared pages store: the certificate template stored as one page,
// prepared-report files, the alias dictionary, the page cache, editing,
// logical page numbers, cutting and pasting, the outline and anchors.

#include "EngineServices.h"
#include "support/TestSupport.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudClass.h"
#include "report/model/rudBand.h"

#include "base/Errors.h"
#include "base/FormatSettings.h"
#include "base/NumberFormat.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QString templatePath()
{
    return sourceDir() + QStringLiteral("/resources/shablon.fr3");
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An engine that records the store's progress calls.
struct TTestEngine : TfrxCustomEngine {
    QStringList Calls;
    void ProgressStart(TfrxProgressType) override { Calls << QStringLiteral("start"); }
    void Progress(TfrxProgressType, int Page) override { Calls << QStringLiteral("page %1").arg(Page); }
    void ProgressStop(TfrxProgressType) override { Calls << QStringLiteral("stop"); }
};

// The design page of a loaded report (its second child, after the data page).
TfrxReportPage *designPage(TfrxReport &Report)
{
    for (TfrxComponent *c : Report.Objects())
        if (auto *page = dynamic_cast<TfrxReportPage *>(c))
            return page;
    return nullptr;
}

// Outputs the objects lying on Page through a null band, as preparation
// does: the band lists them without taking them over.
void addNullBand(TfrxPreviewPages &Pages, TfrxReportPage *Page)
{
    TfrxNullBand band(nullptr);
    for (TfrxComponent *c : Page->Objects())
        band.ListObject(c);
    Pages.AddObject(&band);
    band.ReleaseObjects();
}

// A store with the certificate template prepared onto Count pages.
struct TCertificate {
    TRecordingUserInterface Ui;
    enginetest::TServedReport Report;
    TTestEngine Engine;
    TfrxPreviewPages *Pages = nullptr;
    TfrxReportPage *Page = nullptr;

    // Prepares Count pages; with Finished false the run stays open for more.
    explicit TCertificate(int Count = 1, bool Finished = true)
    {
        EXPECT_TRUE(Report.LoadFromFile(templatePath()));
        Page = designPage(Report);
        Pages = dynamic_cast<TfrxPreviewPages *>(Report.PreviewPages());
        Pages->SetEngine(&Engine);
        Pages->Clear();
        Pages->Initialize();
        Pages->AddSourcePage(Page);
        Pages->BeginPass();
        Engine.FRunning = true;
        AddPages(Count);
        if (Finished)
            Finish();
    }

    void AddPages(int Count)
    {
        for (int i = 0; i < Count; ++i) {
            Pages->AddPage(Page);
            addNullBand(*Pages, Page);
        }
    }

    void Finish()
    {
        Pages->Finish();
        Engine.FRunning = false;
    }
};

QByteArray saveToBytes(TfrxPreviewPages &Pages)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Pages.SaveToStream(&buffer);
    return buffer.data();
}

void loadFromBytes(TfrxPreviewPages &Pages, const QByteArray &Bytes)
{
    QByteArray copy = Bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    Pages.LoadFromStream(&buffer);
}

// Every memo of two rebuilt pages equal in name, class, position, font and text.
void expectSamePage(TfrxReportPage *A, TfrxReportPage *B)
{
    ASSERT_TRUE(A && B);
    EXPECT_EQ(A->Width(), B->Width());
    EXPECT_EQ(A->Height(), B->Height());
    EXPECT_EQ(A->PaperSize(), B->PaperSize());
    const QList<TfrxComponent *> a = A->AllObjects();
    const QList<TfrxComponent *> b = B->AllObjects();
    ASSERT_EQ(a.size(), b.size());
    for (qsizetype i = 0; i < a.size(); ++i) {
        EXPECT_STREQ(a[i]->metaObject()->className(), b[i]->metaObject()->className());
        EXPECT_EQ(a[i]->Name(), b[i]->Name());
        EXPECT_DOUBLE_EQ(a[i]->Left(), b[i]->Left());
        EXPECT_DOUBLE_EQ(a[i]->Top(), b[i]->Top());
        EXPECT_DOUBLE_EQ(a[i]->Width(), b[i]->Width());
        EXPECT_DOUBLE_EQ(a[i]->Height(), b[i]->Height());
        EXPECT_TRUE(*a[i]->Font() == *b[i]->Font()) << i;
        auto *ma = dynamic_cast<TfrxMemoView *>(a[i]);
        auto *mb = dynamic_cast<TfrxMemoView *>(b[i]);
        ASSERT_EQ(!ma, !mb);
        if (ma) {
            EXPECT_EQ(ma->Text(), mb->Text());
        }
    }
}

} // namespace

TEST(PreviewPages, CertificateIsOnePageOfANullBandWithTheMemoAliases)
{
    TCertificate c;
    EXPECT_EQ(c.Pages->Count(), 1);
    EXPECT_EQ(c.Engine.Calls, QStringList({"start", "page 1", "stop"}));
    TfrxXMLItem *pages = c.Pages->PagesItem();
    ASSERT_EQ(pages->Count(), 1);
    TfrxXMLItem *page0 = pages->Items(0);
    EXPECT_EQ(page0->Name(), QStringLiteral("page0"));
    ASSERT_EQ(page0->Count(), 1);
    TfrxXMLItem *band = page0->Items(0);
    EXPECT_EQ(band->Name(), QStringLiteral("TfrxNullBand"));
    ASSERT_EQ(band->Count(), 48);
    const QList<TfrxComponent *> memos = c.Page->Objects();
    for (int i = 0; i < 48; ++i) {
        TfrxXMLItem *item = band->Items(i);
        EXPECT_EQ(item->Name(), QStringLiteral("m%1").arg(i + 1));
        // Nothing but the text differs from the source copy.
        EXPECT_TRUE(item->Text().startsWith(QStringLiteral("u=\""))) << item->Text().toStdString();
        EXPECT_EQ(item->Text().count(QLatin1Char('=')), 1) << item->Text().toStdString();
        EXPECT_EQ(memos[i]->AliasName(), item->Name());
        EXPECT_EQ(c.Pages->Dictionary().GetSourceName(item->Name()),
                  QStringLiteral("Page0.") + memos[i]->Name());
    }
    // The rebuilt page has the template's objects at their places.
    TfrxReportPage *rebuilt = c.Pages->GetPage(0);
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(c.Pages->GetPageSize(0), QSize(int(RoundHalfEven(c.Page->Width())), int(RoundHalfEven(c.Page->Height()))));
    ASSERT_EQ(rebuilt->Objects().size(), 1);
    const QList<TfrxComponent *> objects = rebuilt->Objects()[0]->Objects();
    ASSERT_EQ(objects.size(), 48);
    for (int i = 0; i < 48; ++i) {
        auto *memo = dynamic_cast<TfrxMemoView *>(objects[i]);
        auto *design = dynamic_cast<TfrxMemoView *>(memos[i]);
        ASSERT_TRUE(memo && design);
        EXPECT_EQ(memo->Name(), design->Name());
        EXPECT_DOUBLE_EQ(memo->Left(), design->Left());
        EXPECT_EQ(memo->Text(), design->Text());
        EXPECT_TRUE(*memo->Font() == *design->Font());
        EXPECT_EQ(memo->HAlign(), design->HAlign());
    }
}

TEST(PreviewPages, FileCarriesSourcePagesAndDictionaryAndLoadsBack)
{
    for (const TFormatSettings &settings : {russianFormatSettings(), englishFormatSettings()}) {
        TFormatSettingsScope scope(settings);
        TCertificate c(1, false);
        dynamic_cast<TfrxMemoView *>(c.Page->Objects()[0])->SetText(QStringLiteral("Иванов & <Ко>"));
        c.AddPages(1);
        c.Finish();
        EXPECT_EQ(c.Pages->PagesItem()->Items(1)->Name(), QStringLiteral("page0"));
        c.Report.PreviewOptions()->SetOutlineWidth(200);
        c.Report.ReportOptions()->SetName(QStringLiteral("Cert \"1\""));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("cert.fp3"));
        c.Pages->SaveToFile(file);
        const QByteArray bytes = readFile(file);
        EXPECT_TRUE(bytes.contains("<sourcepages>")) << bytes.left(300).toStdString();
        EXPECT_TRUE(bytes.contains("<TfrxMemoView Name=\"Memo1\""));
        EXPECT_TRUE(bytes.contains("<m1 name=\"Page0.Memo1\"/>"));
        EXPECT_TRUE(bytes.contains("<TfrxReport DotMatrixReport=\"False\" PreviewOptions.OutlineVisible=\"False\" "
                                   "PreviewOptions.OutlineWidth=\"200\" ReportOptions.Name=\"Cert &#34;1&#34;\"/>"));
        EXPECT_TRUE(bytes.contains("<logicalpagenumbers>"));

        enginetest::TServedReport other;
        auto *loaded = dynamic_cast<TfrxPreviewPages *>(other.PreviewPages());
        ASSERT_TRUE(loaded->LoadFromFile(file));
        EXPECT_TRUE(other.Errors().isEmpty()) << other.Errors().join(u'\n').toStdString();
        EXPECT_EQ(other.PreviewOptions()->OutlineWidth(), 200);
        EXPECT_EQ(other.ReportOptions()->Name(), QStringLiteral("Cert \"1\""));
        ASSERT_EQ(loaded->Count(), 2);
        EXPECT_EQ(loaded->SourcePageCount(), 1);
        // Read from the file, not kept: the dictionary names the loaded copies.
        EXPECT_EQ(loaded->Dictionary().Count(), 48);
        EXPECT_EQ(loaded->Dictionary().GetSourceName(QStringLiteral("m1")), QStringLiteral("Page0.Memo1"));
        ASSERT_TRUE(loaded->Dictionary().GetObject(QStringLiteral("m1")));
        EXPECT_EQ(loaded->Dictionary().GetObject(QStringLiteral("m1"))->Name(), QStringLiteral("Memo1"));
        EXPECT_EQ(loaded->XMLDoc().Root()->FindItem(QStringLiteral("sourcepages"))->Count(), 0);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(loaded->GetPageSize(i), c.Pages->GetPageSize(i));
            expectSamePage(loaded->GetPage(i), c.Pages->GetPage(i));
        }
        EXPECT_EQ(dynamic_cast<TfrxMemoView *>(loaded->GetPage(1)->Objects()[0]->Objects()[0])->Text(),
                  QStringLiteral("Иванов & <Ко>\r\n"));
        // Saving the loaded store again gives the same file.
        const QString again = dir.filePath(QStringLiteral("again.fp3"));
        loaded->SaveToFile(again);
        EXPECT_EQ(readFile(again), bytes);
    }
}

TEST(PreviewPages, AliasesOfManyObjectsAreNumberedAsOneByOne)
{
    // 20,000 objects of one kind get m1 ... m20000 in turn.
    TfrxDictionary d;
    for (int i = 1; i <= 20000; ++i)
        ASSERT_EQ(d.AddUnique(QStringLiteral("m"), QString(), nullptr), QStringLiteral("m%1").arg(i));
    // With gaps the search starts at the taken number it halved down to
    // (10000 here: m3 is never looked at) and takes the first free one on.
    TfrxDictionary g;
    for (int i = 1; i <= 20000; ++i)
        if (i != 3 && i != 15000 && i != 15001)
            g.Add(QStringLiteral("m%1").arg(i), QString(), nullptr);
    EXPECT_EQ(g.AddUnique(QStringLiteral("m"), QString(), nullptr), QStringLiteral("m15000"));
    EXPECT_EQ(g.AddUnique(QStringLiteral("m"), QString(), nullptr), QStringLiteral("m15001"));
    EXPECT_EQ(g.AddUnique(QStringLiteral("m"), QString(), nullptr), QStringLiteral("m20001"));
    g.Add(QStringLiteral("m20002"), QString(), nullptr);
    EXPECT_EQ(g.AddUnique(QStringLiteral("m"), QString(), nullptr), QStringLiteral("m20003"));
    // Another base reads the same aliases as its own numbers: "M1" + 5000
    // .. 9999 are m15000 .. m19999.
    EXPECT_EQ(g.AddUnique(QStringLiteral("M1"), QString(), nullptr), QStringLiteral("M110000"));
    g.Clear();
    EXPECT_EQ(g.AddUnique(QStringLiteral("m"), QString(), nullptr), QStringLiteral("m1"));
}

TEST(PreviewPages, AliasSearchHalvesThenCountsOn)
{
    TfrxDictionary d;
    EXPECT_EQ(d.CreateUniqueName(QStringLiteral("m")), QStringLiteral("m1"));
    for (int i = 1; i <= 40; ++i)
        d.Add(QStringLiteral("m%1").arg(i), QString(), nullptr);
    EXPECT_EQ(d.CreateUniqueName(QStringLiteral("m")), QStringLiteral("m41"));
    EXPECT_EQ(d.AddUnique(QStringLiteral("b"), QStringLiteral("Page0.Band1"), nullptr), QStringLiteral("b1"));
    EXPECT_EQ(d.GetSourceName(QStringLiteral("B1")), QStringLiteral("Page0.Band1"));
    EXPECT_TRUE(d.GetSourceName(QStringLiteral("x1")).isEmpty());
    // A second entry under an existing alias is ignored.
    d.Add(QStringLiteral("b1"), QStringLiteral("other"), nullptr);
    EXPECT_EQ(d.GetSourceName(QStringLiteral("b1")), QStringLiteral("Page0.Band1"));
    EXPECT_EQ(d.Names().mid(0, 4), QStringList({"b1", "m1", "m10", "m11"}));
}

TEST(PreviewPages, CacheReturnsTheSameRebuiltPageUntilPagesChange)
{
    TCertificate c(3);
    TfrxReportPage *first = c.Pages->GetPage(1);
    ASSERT_TRUE(first);
    EXPECT_EQ(c.Pages->GetPage(1), first);
    EXPECT_EQ(c.Pages->PagesInCacheCount(), 1);
    // A cache of one page keeps only the most recent.
    c.Report.PreviewOptions()->SetPagesInCache(1);
    c.Pages->GetPage(0);
    EXPECT_EQ(c.Pages->PagesInCacheCount(), 1);
    // While preparation runs, pages are always rebuilt: a change shows at once.
    EXPECT_EQ(c.Pages->GetPage(0)->Objects().size(), 1);
    delete c.Pages->PagesItem()->Items(0)->Items(0);
    EXPECT_EQ(c.Pages->GetPage(0)->Objects().size(), 1);
    c.Engine.FRunning = true;
    EXPECT_TRUE(c.Pages->GetPage(0)->Objects().isEmpty());
    c.Engine.FRunning = false;
    EXPECT_EQ(c.Pages->GetPage(2), c.Pages->GetPage(2));
    EXPECT_EQ(c.Pages->GetPage(3), nullptr);
    EXPECT_EQ(c.Pages->GetPage(-1), nullptr);
    EXPECT_EQ(c.Pages->GetPageSize(3), QSize(0, 0));
}

TEST(PreviewPages, EditingPages)
{
    TCertificate one;
    one.Pages->DeletePage(0);
    EXPECT_EQ(one.Pages->Count(), 1);

    TCertificate c(2);
    c.Pages->AddEmptyPage(1);
    ASSERT_EQ(c.Pages->Count(), 3);
    EXPECT_EQ(c.Pages->PagesItem()->Items(1)->Name(), QStringLiteral("page0"));
    EXPECT_TRUE(c.Pages->GetPage(1)->Objects().isEmpty());
    c.Pages->DeletePage(1);
    EXPECT_EQ(c.Pages->Count(), 2);
    // A modified page is stored whole and survives a file round trip.
    TfrxReportPage page(nullptr);
    page.SetPaperSize(11);
    auto *memo = new TfrxMemoView(&page);
    memo->SetName(QStringLiteral("Extra"));
    memo->SetText(QStringLiteral("added"));
    c.Pages->ModifyPage(1, &page);
    EXPECT_EQ(c.Pages->PagesItem()->Items(1)->Name(), QStringLiteral("TfrxReportPage"));
    enginetest::TServedReport other;
    auto *loaded = dynamic_cast<TfrxPreviewPages *>(other.PreviewPages());
    loadFromBytes(*loaded, saveToBytes(*c.Pages));
    TfrxReportPage *rebuilt = loaded->GetPage(1);
    ASSERT_TRUE(rebuilt);
    ASSERT_EQ(rebuilt->Objects().size(), 1);
    EXPECT_EQ(dynamic_cast<TfrxMemoView *>(rebuilt->Objects()[0])->Text(), QStringLiteral("added\r\n"));
    EXPECT_EQ(loaded->GetPageSize(1), QSize(int(RoundHalfEven(page.Width())), int(RoundHalfEven(page.Height()))));
}

TEST(PreviewPages, AppendingAnotherReportsPages)
{
    TCertificate a(2), b(1);
    b.Pages->SetCurPage(0);
    b.Pages->AddAnchor(QStringLiteral("There"));
    b.Pages->Outline()->AddItem(QStringLiteral("Chapter"), 10);
    a.Pages->AddFrom(&b.Report);
    ASSERT_EQ(a.Pages->Count(), 3);
    EXPECT_EQ(a.Pages->PagesItem()->Items(2)->Name(), QStringLiteral("TfrxReportPage"));
    expectSamePage(a.Pages->GetPage(2), b.Pages->GetPage(0));
    EXPECT_EQ(a.Pages->GetAnchorPage(QStringLiteral("there")), 2);
    a.Pages->Outline()->LevelRoot();
    QString text;
    int page = 0, top = 0;
    a.Pages->Outline()->GetItem(0, text, page, top);
    EXPECT_EQ(text, QStringLiteral("Chapter"));
    EXPECT_EQ(page, 2);
    EXPECT_EQ(top, 10);
}

// A report of bands built by hand: band objects on a page, and a store in a
// double pass.
struct TBandReport {
    enginetest::TServedReport Report;
    TTestEngine Engine;
    TfrxReportPage *Page = new TfrxReportPage(&Report);
    TfrxNullBand *Band = new TfrxNullBand(Page);
    TfrxMemoView *Memo = new TfrxMemoView(Band);
    TfrxPreviewPages *Pages = dynamic_cast<TfrxPreviewPages *>(Report.PreviewPages());

    TBandReport()
    {
        Page->SetName(QStringLiteral("Page1"));
        Band->SetName(QStringLiteral("Band1"));
        Band->SetBounds(0, 10, 500, 30);
        Memo->SetName(QStringLiteral("Memo1"));
        Memo->SetBounds(5, 2, 100, 20);
        Pages->SetEngine(&Engine);
        Pages->AddSourcePage(Page);
    }
};

TEST(PreviewPages, BandsOnAPageGiveLastYAndBandExists)
{
    TBandReport r;
    EXPECT_EQ(r.Band->AliasName(), QStringLiteral("b1"));
    EXPECT_EQ(r.Memo->AliasName(), QStringLiteral("m1"));
    r.Pages->BeginPass();
    r.Pages->AddPage(r.Page);
    EXPECT_FALSE(r.Pages->BandExists(r.Band));
    r.Pages->AddObject(r.Band);
    EXPECT_TRUE(r.Pages->BandExists(r.Band));
    // A band is stored with its differences, its top always as "t".
    const QString bandText = r.Pages->PagesItem()->Items(0)->Items(0)->Text();
    EXPECT_TRUE(bandText.contains(QStringLiteral("t=\"10\""))) << bandText.toStdString();
    EXPECT_DOUBLE_EQ(r.Pages->GetLastY(), 40);
    r.Band->SetTop(50);
    r.Pages->AddObject(r.Band);
    EXPECT_DOUBLE_EQ(r.Pages->GetLastY(), 80);
    EXPECT_DOUBLE_EQ(r.Pages->GetLastY(3), 0);
    // Cut the second band aside and paste it at (3, 100).
    EXPECT_EQ(r.Pages->GetCurPosition(), 2);
    r.Pages->CutObjects(1);
    EXPECT_EQ(r.Pages->GetCurPosition(), 1);
    r.Pages->PasteObjects(3, 100);
    EXPECT_EQ(r.Pages->GetCurPosition(), 2);
    TfrxReportPage *page = r.Pages->GetPage(0);
    ASSERT_EQ(page->Objects().size(), 2);
    EXPECT_DOUBLE_EQ(page->Objects()[1]->Left(), 3);
    EXPECT_DOUBLE_EQ(page->Objects()[1]->Top(), 100);
    EXPECT_EQ(page->Objects()[1]->Objects()[0]->Name(), QStringLiteral("Memo1"));
    EXPECT_EQ(r.Pages->XMLDoc().Root()->Find(QStringLiteral("cutted")), -1);
    // Invisible objects are not stored.
    r.Memo->SetVisible(false);
    r.Pages->AddObject(r.Band);
    EXPECT_EQ(r.Pages->PagesItem()->Items(0)->Items(2)->Count(), 0);
}

TEST(PreviewPages, DoublePassKeepsFirstPassNumbersAndStoresGeometryOnly)
{
    TBandReport r;
    r.Report.EngineOptions()->SetDoublePass(true);
    r.Engine.FFinalPass = false;
    r.Pages->BeginPass();
    r.Memo->SetText(QStringLiteral("first"));
    r.Memo->SetLeft(7);
    for (int i = 0; i < 3; ++i) {
        r.Pages->AddPage(r.Page);
        r.Pages->AddObject(r.Band);
        EXPECT_EQ(r.Pages->GetLogicalPageNo(), i + 1);
        EXPECT_EQ(r.Pages->GetLogicalTotalPages(), 0);
    }
    // Geometry only in the first pass.
    EXPECT_EQ(r.Pages->PagesItem()->Items(0)->Items(0)->Items(0)->Text(), QStringLiteral("l=\"7\""));
    r.Pages->ClearFirstPassPages();
    EXPECT_EQ(r.Pages->Count(), 0);
    EXPECT_EQ(r.Pages->CurPage(), -1);
    r.Engine.FFinalPass = true;
    r.Engine.FTotalPages = 3;
    r.Pages->SetAddPageAction(apAdd);
    for (int i = 0; i < 3; ++i) {
        r.Pages->AddPage(r.Page);
        r.Pages->AddObject(r.Band);
        EXPECT_EQ(r.Pages->GetLogicalPageNo(), i + 1);
        EXPECT_EQ(r.Pages->GetLogicalTotalPages(), 3);
    }
    EXPECT_EQ(r.Pages->PagesItem()->Items(2)->Items(0)->Items(0)->Text(), QStringLiteral("l=\"7\" u=\"first\""));
    // Writing over an existing page continues on it.
    r.Pages->SetCurPage(0);
    r.Pages->AddPage(r.Page);
    EXPECT_EQ(r.Pages->CurPage(), 1);
    EXPECT_EQ(r.Pages->Count(), 3);
}

TEST(PreviewPages, SinglePassTotalsArriveWhenNumberingRestarts)
{
    TBandReport r;
    r.Pages->BeginPass();
    r.Pages->AddPage(r.Page);
    r.Pages->AddPage(r.Page);
    EXPECT_EQ(r.Pages->GetLogicalTotalPages(), 0);
    r.Pages->ResetLogicalPageNumber();
    EXPECT_EQ(r.Pages->GetLogicalTotalPages(), 2);
    r.Pages->AddPage(r.Page);
    EXPECT_EQ(r.Pages->GetLogicalPageNo(), 1);
    EXPECT_EQ(r.Pages->GetLogicalTotalPages(), 0);
    r.Pages->SetCurPage(0);
    EXPECT_EQ(r.Pages->GetLogicalTotalPages(), 2);
}

TEST(PreviewPages, OutlineAndAnchors)
{
    TBandReport r;
    r.Pages->AddPage(r.Page);
    r.Engine.FCurY = 12.5;
    r.Pages->AddAnchor(QStringLiteral("a"));
    r.Pages->AddAnchor(QStringLiteral("A"));
    EXPECT_EQ(r.Pages->GetAnchorCurPosition(), 2);
    EXPECT_EQ(r.Pages->FindAnchor(QStringLiteral("a")), r.Pages->XMLDoc().Root()->FindItem(QStringLiteral("anchors"))->Items(1));
    EXPECT_EQ(r.Pages->FindAnchor(QStringLiteral("a"))->Prop(QStringLiteral("top")), QStringLiteral("12"));
    r.Pages->ShiftAnchors(1, 5);
    EXPECT_EQ(r.Pages->FindAnchor(QStringLiteral("a"))->Prop(QStringLiteral("page")), QStringLiteral("1"));
    EXPECT_EQ(r.Pages->FindAnchor(QStringLiteral("a"))->Prop(QStringLiteral("top")), QStringLiteral("5"));

    TfrxOutline *o = r.Pages->Outline();
    o->AddItem(QStringLiteral("One"), 10);
    o->AddItem(QStringLiteral("One.1"), 20);
    o->LevelUp();
    o->AddItem(QStringLiteral("One.2"), 30);
    o->LevelRoot();
    o->AddItem(QStringLiteral("Two"), 40);
    o->LevelRoot();
    EXPECT_EQ(o->Count(), 2);
    o->LevelDown(0);
    EXPECT_EQ(o->Count(), 2);
    TfrxXMLItem *first = o->Root()->Items(0)->Items(0);
    o->ShiftItems(first, 0);
    QString text;
    int page = 0, top = 0;
    o->GetItem(1, text, page, top);
    EXPECT_EQ(text, QStringLiteral("One.2"));
    EXPECT_EQ(page, 1);
    EXPECT_EQ(top, 0);
    o->GetItem(0, text, page, top);
    EXPECT_EQ(page, 0);
    EXPECT_EQ(top, 20);
}

TEST(PreviewPages, FileCacheUnloadsPagesAndBringsThemBack)
{
    TCertificate c(1, false);
    c.Report.EngineOptions()->SetUseFileCache(true);
    c.Report.EngineOptions()->SetMaxMemSize(0);
    QTemporaryDir dir;
    c.Report.EngineOptions()->SetTempDir(dir.path());
    c.Pages->Initialize();
    c.AddPages(5);
    c.Finish();
    TfrxXMLItem *pages = c.Pages->PagesItem();
    ASSERT_EQ(pages->Count(), 6);
    EXPECT_FALSE(pages->Items(3)->Loaded());
    EXPECT_TRUE(pages->Items(5)->Loaded());
    EXPECT_TRUE(c.Pages->XMLDoc().TempFileCreated());
    expectSamePage(c.Pages->GetPage(3), c.Pages->GetPage(0));
    // The file holds every page, unloaded ones included.
    enginetest::TServedReport other;
    auto *loaded = dynamic_cast<TfrxPreviewPages *>(other.PreviewPages());
    loadFromBytes(*loaded, saveToBytes(*c.Pages));
    ASSERT_EQ(loaded->Count(), 6);
    expectSamePage(loaded->GetPage(4), c.Pages->GetPage(0));
}

namespace {

// A compressor for the hook: zlib through qCompress behind a marker.
class TTestCompressor : public TfrxCustomCompressor {
public:
    void Compress(const QByteArray &Source, QIODevice *Dest) override
    {
        if (FailCompress)
            throw EGeneralError(QStringLiteral("disk full"));
        Dest->write("RUDZ" + qCompress(Source));
    }
    std::optional<QByteArray> Decompress(QIODevice *Source) override
    {
        const QByteArray bytes = Source->readAll();
        if (!bytes.startsWith("RUDZ")) {
            Source->seek(0);
            return std::nullopt;
        }
        const QByteArray data = qUncompress(bytes.mid(4));
        if (data.isEmpty())
            throw EGeneralError(QStringLiteral("bad data"));
        return data;
    }
    static inline bool FailCompress = false;
};

} // namespace

TEST(PreviewPages, PagesLeftBehindArePackedAndWorkAsOpenOnes)
{
    TCertificate c(6, false);
    TfrxXMLItem *pages = c.Pages->PagesItem();
    ASSERT_EQ(pages->Count(), 6);
    // The first two pages are never unloadable, the last two stay open.
    const bool expected[] = {false, false, true, true, false, false};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(pages->Items(i)->Packed(), expected[i]) << i;
    c.Finish();
    // A packed page is rebuilt like an open one and stays packed.
    expectSamePage(c.Pages->GetPage(3), c.Pages->GetPage(0));
    EXPECT_TRUE(pages->Items(3)->Packed());

    // Output reaching a packed page finds its objects.
    c.Pages->SetCurPage(2);
    EXPECT_EQ(c.Pages->GetCurPosition(), 1);
    EXPECT_FALSE(pages->Items(2)->Packed());
    // Going on to an existing page writes over it and packs the page left.
    c.Pages->AddPage(c.Page);
    EXPECT_EQ(c.Pages->CurPage(), 3);
    EXPECT_TRUE(pages->Items(2)->Packed());
    addNullBand(*c.Pages, c.Page);
    EXPECT_FALSE(pages->Items(3)->Packed());
    EXPECT_EQ(pages->Items(3)->Count(), 2);
    c.Pages->AddPage(c.Page);
    EXPECT_TRUE(pages->Items(3)->Packed());
    EXPECT_EQ(c.Pages->GetPage(3)->Objects().size(), 2);
    EXPECT_EQ(c.Pages->GetPage(2)->Objects().size(), 1);

    // The file is the same as without packing, and loads back packed.
    const QByteArray bytes = saveToBytes(*c.Pages);
    for (int i = 0; i < pages->Count(); ++i)
        c.Pages->XMLDoc().LoadItem(pages->Items(i));
    EXPECT_EQ(saveToBytes(*c.Pages), bytes);
    enginetest::TServedReport other;
    auto *loaded = dynamic_cast<TfrxPreviewPages *>(other.PreviewPages());
    loadFromBytes(*loaded, bytes);
    ASSERT_EQ(loaded->Count(), 6);
    EXPECT_FALSE(loaded->PagesItem()->Items(1)->Packed());
    EXPECT_TRUE(loaded->PagesItem()->Items(5)->Packed());
    EXPECT_EQ(loaded->GetPage(3)->Objects().size(), 2);
    expectSamePage(loaded->GetPage(5), c.Pages->GetPage(0));
    EXPECT_EQ(saveToBytes(*loaded), bytes);
}

TEST(PreviewPages, CompressorHookAndFailedSaves)
{
    TCertificate c;
    const QByteArray plain = saveToBytes(*c.Pages);
    EXPECT_TRUE(plain.startsWith("<?xml"));
    TfrxServices packing = *enginetest::engineServices();
    packing.Compressor = [] { return std::make_unique<TTestCompressor>(); };
    const auto packingServices = std::make_shared<const TfrxServices>(std::move(packing));
    {
        c.Report.SetServices(packingServices);
        c.Report.ReportOptions()->SetCompressed(true);
        const QByteArray packed = saveToBytes(*c.Pages);
        EXPECT_TRUE(packed.startsWith("RUDZ"));
        enginetest::TServedReport other;
        other.SetServices(packingServices);
        auto *loaded = dynamic_cast<TfrxPreviewPages *>(other.PreviewPages());
        loadFromBytes(*loaded, packed);
        EXPECT_EQ(loaded->Count(), 1);
        // Plain files still load while a compressor is registered.
        loadFromBytes(*loaded, plain);
        EXPECT_EQ(loaded->Count(), 1);
        // Damaged compressed data: the error message, nothing loaded.
        TRecordingUserInterface ui;
        loadFromBytes(*loaded, "RUDZ-garbage-");
        EXPECT_EQ(loaded->Count(), 0);
        EXPECT_EQ(ui.MessageTexts(),
                  QStringList({"The following error(s) have occured:\nStream decompress error"}));

        // A save that fails leaves the existing file as it was.
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("keep.fp3"));
        c.Pages->SaveToFile(file);
        const QByteArray before = readFile(file);
        TTestCompressor::FailCompress = true;
        EXPECT_THROW(c.Pages->SaveToFile(file), EGeneralError);
        TTestCompressor::FailCompress = false;
        EXPECT_EQ(readFile(file), before);
    }
    // A report without the service writes plain files.
    c.Report.SetServices(enginetest::engineServices());
    EXPECT_EQ(saveToBytes(*c.Pages), plain);
}

TEST(PreviewPages, DamagedFilesEndInAnErrorAndAnEmptyStore)
{
    TCertificate c;
    const QByteArray good = saveToBytes(*c.Pages);
    struct TCase {
        const char *What;
        QByteArray Bytes;
    };
    QByteArray deep = good;
    QByteArray nest;
    for (int i = 0; i < 300; ++i)
        nest += "<TfrxNullBand>";
    for (int i = 0; i < 300; ++i)
        nest += "</TfrxNullBand>";
    deep.replace("<page0>", "<page0>" + nest);
    QByteArray noSources = good;
    noSources.replace("<sourcepages>", "<elsewhere>").replace("</sourcepages>", "</elsewhere>");
    const std::vector<TCase> cases = {
        {"unknown class", QByteArray(good).replace("<TfrxNullBand", "<TfrxNoSuchBand")},
        {"page class inside a page", QByteArray(good).replace("<TfrxNullBand", "<TfrxReportPage")},
        {"alias naming no object", QByteArray(good).replace("<m1 name=\"Page0.Memo1\"/>", "<m1 name=\"Page7.Memo1\"/>")},
        {"missing source pages", noSources},
        {"page of a missing source page", QByteArray(good).replace("<page0>", "<page3>").replace("</page0>", "</page3>")},
        {"deep nesting", deep},
        {"truncated", good.left(good.size() / 2)},
        {"not a prepared report", "<?xml version=\"1.0\"?><TfrxReport/>"},
    };
    for (const TCase &k : cases) {
        enginetest::TServedReport other;
        auto *loaded = dynamic_cast<TfrxPreviewPages *>(other.PreviewPages());
        try {
            loadFromBytes(*loaded, k.Bytes);
            ADD_FAILURE() << k.What << " loaded";
        } catch (const Exception &e) {
            EXPECT_FALSE(e.Message().isEmpty()) << k.What;
        }
        EXPECT_EQ(loaded->Count(), 0) << k.What;
        EXPECT_EQ(loaded->SourcePageCount(), 0) << k.What;
        EXPECT_EQ(loaded->GetPage(0), nullptr) << k.What;
    }
    // Absurd geometry is only numbers: it loads and rebuilds.
    enginetest::TServedReport other;
    auto *loaded = dynamic_cast<TfrxPreviewPages *>(other.PreviewPages());
    loadFromBytes(*loaded, QByteArray(good).replace("<m1 u=", "<m1 l=\"1e300\" w=\"-5\" u="));
    ASSERT_TRUE(loaded->GetPage(0));
    EXPECT_EQ(loaded->GetPage(0)->Objects()[0]->Objects()[0]->Left(), 1e300);
    // A missing file is no error unless asked for.
    EXPECT_FALSE(loaded->LoadFromFile(QStringLiteral("/nonexistent/x.fp3")));
    EXPECT_THROW(loaded->LoadFromFile(QStringLiteral("/nonexistent/x.fp3"), true), EInOutError);
    // A device or a FIFO is refused before it is opened: reading one would
    // never end or wait for a writer.
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.fp3"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    for (const QString &device : {QStringLiteral("/dev/null"), fifo}) {
        try {
            loaded->LoadFromFile(device, true);
            ADD_FAILURE() << device.toStdString() << " was read";
        } catch (const EInOutError &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Cannot open file \"%1\": it is not a regular file").arg(device));
        }
    }
}

TEST(PreviewPages, DamagedNumberOfAFileIsReportedAndTheRestServes)
{
    TCertificate c, damagedSource;
    enginetest::TServedReport damaged;
    auto *loaded = dynamic_cast<TfrxPreviewPages *>(damaged.PreviewPages());
    loadFromBytes(*loaded, saveToBytes(*damagedSource.Pages).replace("<TfrxNullBand", "<TfrxNullBand t=\"1x\""));
    // Appending the damaged pages names the damaged number and appends them.
    c.Pages->AddFrom(&damaged);
    EXPECT_EQ(c.Pages->Count(), 2);
    ASSERT_EQ(c.Report.Errors().size(), 1) << c.Report.Errors().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(c.Report.Errors()[0].startsWith(QStringLiteral("TfrxNullBand.t: ")));
    EXPECT_TRUE(c.Report.Errors()[0].contains(QStringLiteral("1x")));
    EXPECT_TRUE(c.Pages->GetPage(1));
}

TEST(PreviewPages, ObjectsMadeDuringPreparationJoinTheLastSourcePage)
{
    TBandReport r;
    TfrxMemoView made(nullptr);
    made.SetText(QStringLiteral("made"));
    r.Pages->AddToSourcePage(&made);
    EXPECT_EQ(made.AliasName(), QStringLiteral("m2"));
    TfrxComponent *copy = r.Pages->Dictionary().GetObject(QStringLiteral("m2"));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Name(), QStringLiteral("Memo2"));
    EXPECT_EQ(made.OriginalComponent(), copy);
    EXPECT_EQ(r.Pages->Dictionary().GetSourceName(QStringLiteral("m2")), QStringLiteral("Page0.Memo2"));
    r.Pages->AddPage(r.Page);
    made.SetTop(33);
    r.Pages->AddObject(&made);
    TfrxReportPage *page = r.Pages->GetPage(0);
    ASSERT_EQ(page->Objects().size(), 1);
    EXPECT_DOUBLE_EQ(page->Objects()[0]->Top(), 33);
    EXPECT_EQ(dynamic_cast<TfrxMemoView *>(page->Objects()[0])->Text(), QStringLiteral("made\r\n"));
}

TEST(PreviewPages, UpdatePageDimensionsResizesRebuiltPages)
{
    TBandReport r;
    r.Pages->AddPage(r.Page);
    r.Pages->UpdatePageDimensions(r.Page, 2000, 500);
    TfrxReportPage *page = r.Pages->GetPage(0);
    EXPECT_EQ(page->PaperSize(), 256);
    EXPECT_NEAR(page->PaperHeight(), 2000 / fr01cm, 1e-6);
    EXPECT_EQ(r.Pages->GetPageSize(0).height(), 2000);
}
