// The XML dialect: escaping, reading, writing, attribute editing, partial
// loading and the swap file.

#include "base/Xml.h"

#include "base/CodePages.h"
#include "base/FormatSettings.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QByteArray Header = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>";

// Reads bytes into a fresh document (no partial loading).
void load(TfrxXMLDocument &doc, const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    doc.LoadFromStream(&buffer);
}

QByteArray save(TfrxXMLDocument &doc)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    doc.SaveToStream(&buffer);
    return out;
}

// The message of the invalid-format error raised by reading bytes, or "".
QString loadError(const QByteArray &bytes)
{
    TfrxXMLDocument doc;
    try {
        load(doc, bytes);
    } catch (const TfrxInvalidXMLException &e) {
        return e.Message();
    }
    return QString();
}

// Names and texts of a subtree, one line per item, indented by depth.
QString dump(const TfrxXMLItem *item, int depth = 0)
{
    QString s = QString(depth, u' ') + item->Name() + u'|' + item->Text() + u'\n';
    for (int i = 0; i < item->Count(); ++i)
        s += dump(item->Items(i), depth + 1);
    return s;
}

} // namespace

TEST(XMLEscaping, RoundTripsAndQuirks)
{
    const QString value = QStringLiteral("a\"b<c>&d\r\n");
    const QString escaped = rudStrToXML(value);
    EXPECT_EQ(escaped, QStringLiteral("a&#34;b&#60;c&#62;&#38;d&#13;&#10;"));
    EXPECT_EQ(rudXMLToStr(escaped), value);

    // Non-ASCII passes unchanged, long texts take the buffered path alike.
    const QString cyrillic = QStringLiteral("Свидетельство \"о профессии\" водителя & <ещё>\r\n");
    EXPECT_GE(cyrillic.size(), 32);
    EXPECT_EQ(rudXMLToStr(rudStrToXML(cyrillic)), cyrillic);
    EXPECT_TRUE(rudStrToXML(cyrillic).startsWith(QStringLiteral("Свидетельство &#34;")));

    // Text that looks like an entity and NULs in texts of any length come
    // back unchanged: nothing of a text is lost on a round trip.
    EXPECT_EQ(rudStrToXML(QStringLiteral("x&quot;y")), QStringLiteral("x&#38;quot;y"));
    EXPECT_EQ(rudXMLToStr(rudStrToXML(QStringLiteral("x&quot;y&#65;"))), QStringLiteral("x&quot;y&#65;"));
    EXPECT_EQ(rudStrToXML(QString(QChar(0)) + u'a'), QStringLiteral("&#0;a"));
    const QString longNul = QString(QChar(0)) + QString(40, u'a');
    EXPECT_EQ(rudXMLToStr(rudStrToXML(longNul)), longNul);

    EXPECT_EQ(rudXMLToStr(QStringLiteral("&quot;&amp;&lt;&gt;&#1060;&#65;")), QStringLiteral("\"&<>ФA"));
    EXPECT_EQ(rudXMLToStr(QStringLiteral("&apos;&nbsp;")), QStringLiteral("&apos;&nbsp;"));
    // References are decoded once: "&#38;lt;" is "&lt;", not "<".
    EXPECT_EQ(rudXMLToStr(QStringLiteral("&#38;lt;")), QStringLiteral("&lt;"));
    // A trailing ampersand and an unterminated reference stay as text.
    EXPECT_EQ(rudXMLToStr(QStringLiteral("a&")), QStringLiteral("a&"));
    EXPECT_EQ(rudXMLToStr(QStringLiteral("a&#")), QStringLiteral("a&#"));
    EXPECT_EQ(rudXMLToStr(QStringLiteral("x&#123")), QStringLiteral("x&#123"));
    EXPECT_EQ(rudXMLToStr(QStringLiteral("&#128512;")), QString::fromUtf8("\xF0\x9F\x98\x80"));
    // A body that is not a number is the runtime's conversion error.
    EXPECT_THROW(rudXMLToStr(QStringLiteral("&#zz;")), EConvertError);
    EXPECT_THROW(rudXMLToStr(QStringLiteral("&#;")), EConvertError);
    // So is one too long for an integer, read without overflowing.
    EXPECT_THROW(rudXMLToStr(QStringLiteral("&#11111111111111111111;")), EConvertError);
}

TEST(XMLEscaping, ValueToXML)
{
    TFormatSettingsScope scope(russianFormatSettings());
    EXPECT_EQ(rudValueToXML(QVariant(42)), QStringLiteral("42"));
    EXPECT_EQ(rudValueToXML(QVariant(short(-7))), QStringLiteral("-7"));
    EXPECT_EQ(rudValueToXML(QVariant(1.5)), QStringLiteral("1,5"));
    EXPECT_EQ(rudValueToXML(QVariant(true)), QStringLiteral("1"));
    EXPECT_EQ(rudValueToXML(QVariant(false)), QStringLiteral("0"));
    EXPECT_EQ(rudValueToXML(QVariant(QStringLiteral("a<b"))), QStringLiteral("a&#60;b"));
    EXPECT_EQ(rudValueToXML(QVariant(QDate(2024, 3, 5))), QStringLiteral("05.03.2024"));
    EXPECT_EQ(rudValueToXML(QVariant(qlonglong(5))), QString());
    EXPECT_EQ(rudValueToXML(QVariant()), QString());
}

TEST(XMLReader, HeaderForms)
{
    setSystemAnsiCodePage(1251);
    // "Привет" in code page 1251.
    const QByteArray ansi = "\xCF\xF0\xE8\xE2\xE5\xF2";
    {
        // Each value of an old document is UTF-8 when its bytes are (old
        // writers put memo texts in UTF-8 beside ANSI values), else ANSI.
        TfrxXMLDocument doc;
        load(doc, "<?xml version=\"1.0\"?><a t=\"" + ansi + "\" u=\"" + QStringLiteral("Имя").toUtf8() + "\"/>");
        EXPECT_TRUE(doc.OldVersion());
        EXPECT_EQ(doc.Root()->Prop(QStringLiteral("t")), QStringLiteral("Привет"));
        EXPECT_EQ(doc.Root()->Prop(QStringLiteral("u")), QStringLiteral("Имя"));
        EXPECT_TRUE(doc.Unreadable().isEmpty());
    }
    for (const QByteArray &header : {Header, QByteArray("<?xml version=\"1.1\"?>"),
                                     QByteArray("<?xml version=\"1.0\" standalone=\"yes\"?>")}) {
        TfrxXMLDocument doc;
        load(doc, header + "<a t=\"" + QStringLiteral("Привет").toUtf8() + "\"/>");
        EXPECT_FALSE(doc.OldVersion()) << header.constData();
        EXPECT_EQ(doc.Root()->Prop(QStringLiteral("t")), QStringLiteral("Привет"));
    }
    setSystemAnsiCodePage(0);

    EXPECT_EQ(loadError("<a/>"), QStringLiteral("Invalid file format"));
    EXPECT_EQ(loadError(""), QStringLiteral("Invalid file format"));
    // A byte-order mark and blank lines before the header are skipped.
    TfrxXMLDocument doc;
    load(doc, "\xEF\xBB\xBF\r\n\r\n" + Header + "\r\n<a/>");
    EXPECT_EQ(doc.Root()->Name(), QStringLiteral("a"));
}

TEST(XMLReader, StructureCommentsAndErrors)
{
    TfrxXMLDocument doc;
    load(doc, Header + "<a><b x=\"1\"/><!-- a <comment> - -- ---- --><c>ignored text</c></a>");
    EXPECT_EQ(dump(doc.Root()), QStringLiteral("a|\n b|x=\"1\"\n c|\n"));
    EXPECT_EQ(doc.Root()->Items(1)->Value(), QString());

    // Three hyphens in a row restart the count: "--->" does not end a comment.
    load(doc, Header + "<a><!-- x ---><b/> --><c/></a>");
    EXPECT_EQ(dump(doc.Root()), QStringLiteral("a|\n c|\n"));

    // Empty-element forms: "<b/>", "<b />", "<b x="1" />" (its space stays).
    load(doc, Header + "<a><b/><c /><d x=\"1\" /><e x=\"2\"/></a>");
    EXPECT_EQ(dump(doc.Root()), QStringLiteral("a|\n b|\n c|\n d|x=\"1\" \n e|x=\"2\"\n"));

    // End tags match ignoring case.
    load(doc, Header + "<Root><Child></CHILD></root>");
    EXPECT_EQ(dump(doc.Root()), QStringLiteral("Root|\n Child|\n"));

    EXPECT_EQ(loadError(Header + "<a><b></a>"), QStringLiteral("Invalid file format"));
    EXPECT_EQ(loadError(Header + "<a x=\"<\"/>"), QStringLiteral("Invalid file format"));
    EXPECT_EQ(loadError(Header + "<a><b x=\"1\""), QStringLiteral("Invalid file format"));
    EXPECT_EQ(loadError(Header + "<a><!-- never closed"), QStringLiteral("Invalid file format"));

    // The end of the stream closes every open element.
    load(doc, Header + "<a><b>");
    EXPECT_EQ(dump(doc.Root()), QStringLiteral("a|\n b|\n"));

    // The tree built before an error stays with the document.
    try {
        load(doc, Header + "<a><b/><c></x></a>");
        FAIL() << "no error";
    } catch (const TfrxInvalidXMLException &) {
    }
    EXPECT_EQ(doc.Root()->Count(), 2);
}

TEST(XMLReader, TagsAcrossBufferRefills)
{
    // Tags of every length around the 4096-byte buffer edge, and one of 20000 bytes.
    for (int pad = 4070; pad < 4110; ++pad) {
        QByteArray doc = Header + "<a>" + QByteArray(pad, ' ') + "<!--x--><b v=\"" +
                         QByteArray(pad % 7, 'q') + "\"/><c w=\"" + QByteArray(20000, 'z') + "\"/></a>";
        TfrxXMLDocument d;
        load(d, doc);
        ASSERT_EQ(d.Root()->Count(), 2) << pad;
        EXPECT_EQ(d.Root()->Items(0)->Prop(QStringLiteral("v")), QString(pad % 7, u'q'));
        EXPECT_EQ(d.Root()->Items(1)->Prop(QStringLiteral("w")).size(), 20000);
    }
}

TEST(XMLReader, StreamPositionAfterReader)
{
    QByteArray bytes = Header + "<a x=\"1\"><b/></a>TRAILER" + QByteArray(9000, '.');
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TfrxXMLItem item;
    {
        TfrxXMLReader reader(&buffer);
        reader.ReadHeader();
        EXPECT_TRUE(reader.ReadRootItem(&item));
    }
    EXPECT_EQ(buffer.read(7), QByteArray("TRAILER"));
    EXPECT_EQ(item.Count(), 1);
}

TEST(XMLReader, DeepNestingDoesNotExhaustTheStack)
{
    QByteArray bytes = Header;
    const int depth = 200000;
    for (int i = 0; i < depth; ++i)
        bytes += "<n>";
    TfrxXMLDocument doc;
    load(doc, bytes);
    int levels = 1;
    for (TfrxXMLItem *p = doc.Root(); p->Count() > 0; p = p->Items(0))
        ++levels;
    EXPECT_EQ(levels, depth);
    const QByteArray out = save(doc);
    EXPECT_TRUE(out.endsWith("</n></n>"));
    doc.Clear();
}

TEST(XMLItem, PropRules)
{
    TfrxXMLItem item;
    item.SetText(QStringLiteral("Name=\"Memo1\" NewTop=\"5\" Left=\"3,5\""));
    EXPECT_EQ(item.Prop(QStringLiteral("Top")), QString());
    EXPECT_FALSE(item.PropExists(QStringLiteral("Top")));
    EXPECT_EQ(item.Prop(QStringLiteral("newtop")), QStringLiteral("5"));
    EXPECT_EQ(item.Prop(QStringLiteral("NAME")), QStringLiteral("Memo1"));

    item.SetProp(QStringLiteral("NewTop"), QStringLiteral("a\"b"));
    EXPECT_EQ(item.Text(), QStringLiteral("Name=\"Memo1\" NewTop=\"a&#34;b\" Left=\"3,5\""));
    EXPECT_EQ(item.Prop(QStringLiteral("NewTop")), QStringLiteral("a\"b"));
    item.SetProp(QStringLiteral("Top"), QStringLiteral("7"));
    EXPECT_EQ(item.Text(), QStringLiteral("Name=\"Memo1\" NewTop=\"a&#34;b\" Left=\"3,5\" Top=\"7\""));

    item.DeleteProp(QStringLiteral("Name"));
    EXPECT_EQ(item.Text(), QStringLiteral("NewTop=\"a&#34;b\" Left=\"3,5\" Top=\"7\""));
    item.DeleteProp(QStringLiteral("Top"));
    EXPECT_EQ(item.Text(), QStringLiteral("NewTop=\"a&#34;b\" Left=\"3,5\" "));
    // Appended after a space: no second space.
    item.SetProp(QStringLiteral("W"), QStringLiteral("1"));
    EXPECT_EQ(item.Text(), QStringLiteral("NewTop=\"a&#34;b\" Left=\"3,5\" W=\"1\""));
    item.DeleteProp(QStringLiteral("Missing"));
    EXPECT_EQ(item.Text(), QStringLiteral("NewTop=\"a&#34;b\" Left=\"3,5\" W=\"1\""));

    TfrxXMLItem empty;
    empty.SetProp(QStringLiteral("A"), QStringLiteral("1"));
    EXPECT_EQ(empty.Text(), QStringLiteral("A=\"1\""));
    // An attribute glued to the previous one is not found.
    empty.SetText(QStringLiteral("A=\"1\"B=\"2\""));
    EXPECT_FALSE(empty.PropExists(QStringLiteral("B")));
}

TEST(XMLItem, TreeOperations)
{
    TfrxXMLItem root;
    TfrxXMLItem *a = root.Add(QStringLiteral("A"));
    TfrxXMLItem *b = root.Add(QStringLiteral("b"));
    EXPECT_EQ(root.Find(QStringLiteral("B")), 1);
    EXPECT_EQ(root.FindItem(QStringLiteral("a")), a);
    TfrxXMLItem *c = root.FindItem(QStringLiteral("C"));
    EXPECT_EQ(root.Count(), 3);
    EXPECT_EQ(root.IndexOf(c), 2);

    // Moving an item takes it out of its old parent.
    a->AddItem(c);
    EXPECT_EQ(root.Count(), 2);
    EXPECT_EQ(c->Parent(), a);
    EXPECT_EQ(c->Root(), &root);
    root.InsertItem(0, c);
    EXPECT_EQ(root.Items(0), c);
    EXPECT_EQ(a->Count(), 0);
    EXPECT_THROW(c->AddItem(&root), EGeneralError);

    delete b;
    EXPECT_EQ(root.Count(), 2);
    EXPECT_EQ(root.Find(QStringLiteral("b")), -1);

    a->SetUnloadable(true);
    a->Add();
    a->Clear();
    EXPECT_FALSE(a->Loaded());
    EXPECT_EQ(a->Count(), 0);
}

TEST(XMLWriter, FormsOfTags)
{
    TfrxXMLDocument doc;
    doc.Root()->SetName(QStringLiteral("a"));
    doc.Root()->Add(QStringLiteral("b"))->SetText(QStringLiteral("x=\"Ж\""));
    doc.SetAutoIndent(true);
    EXPECT_EQ(save(doc), Header + "\r\n<a>\r\n  <b x=\"" + QStringLiteral("Ж").toUtf8() + "\"/>\r\n</a>\r\n");

    doc.SetAutoIndent(false);
    TfrxXMLItem *v = doc.Root()->Add(QStringLiteral("v"));
    v->SetValue(QStringLiteral("some text"));
    const QByteArray out = save(doc);
    EXPECT_EQ(out, Header + "<a><b x=\"" + QStringLiteral("Ж").toUtf8() + "\"/><v>some text</v></a>");
    // Character data is ignored on reading.
    TfrxXMLDocument back;
    load(back, out);
    EXPECT_EQ(back.Root()->Items(1)->Value(), QString());
    EXPECT_EQ(back.Root()->Items(1)->Count(), 0);
}

TEST(XMLDocument, UnloadedMarkerQuirks)
{
    TfrxXMLDocument doc;
    doc.Root()->SetName(QStringLiteral("r"));
    TfrxXMLItem *bare = doc.Root()->Add(QStringLiteral("p"));
    bare->SetUnloadable(true);
    TfrxXMLItem *withAttrs = doc.Root()->Add(QStringLiteral("q"));
    withAttrs->SetText(QStringLiteral("a=\"1\""));
    withAttrs->SetUnloadable(true);
    withAttrs->Add(QStringLiteral("child"));
    const QByteArray out = save(doc);
    EXPECT_EQ(out, Header + "<r><p ld=\"0\"/><q a=\"1\"ld=\"0\"><child/></q></r>");

    // Read back with partial loading the marker is not recognised.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quirk.xml"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(out);
    f.close();
    TfrxXMLDocument back;
    back.LoadFromFile(path);
    TfrxXMLItem *p = back.Root()->Items(0);
    EXPECT_EQ(p->Text(), QStringLiteral("ld=\"0\""));
    EXPECT_EQ(p->Prop(QStringLiteral("ld")), QStringLiteral("0"));
    EXPECT_TRUE(p->Loaded());
    EXPECT_FALSE(p->Unloadable());
    TfrxXMLItem *q = back.Root()->Items(1);
    EXPECT_EQ(q->Text(), QStringLiteral("a=\"1\"ld=\"0\""));
    EXPECT_EQ(q->Count(), 1);
    EXPECT_FALSE(q->Unloadable());
}

TEST(XMLDocument, PartialLoadingOfMarkedElements)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("partial.xml"));
    const QByteArray bytes = Header + "<r><page n=\"1\" LD=\"0\"><m a=\"1\"/><m a=\"2\"/></page><page n=\"2\"/></r>";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();

    TfrxXMLDocument doc;
    doc.LoadFromFile(path);
    TfrxXMLItem *page = doc.Root()->Items(0);
    EXPECT_EQ(page->Text(), QStringLiteral("n=\"1\""));
    EXPECT_TRUE(page->Unloadable());
    EXPECT_FALSE(page->Loaded());
    EXPECT_EQ(page->Count(), 0);
    EXPECT_EQ(page->Offset(), bytes.indexOf("<page"));
    doc.LoadItem(page);
    EXPECT_TRUE(page->Loaded());
    EXPECT_EQ(dump(page), QStringLiteral("page|n=\"1\"\n m|a=\"1\"\n m|a=\"2\"\n"));

    // Without partial loading the marker is removed and the children kept.
    TfrxXMLDocument full;
    load(full, bytes);
    EXPECT_EQ(dump(full.Root()->Items(0)), QStringLiteral("page|n=\"1\"\n m|a=\"1\"\n m|a=\"2\"\n"));
    EXPECT_FALSE(full.Root()->Items(0)->Unloadable());

    // Unloading into the swap file while the source is kept keeps both readable.
    doc.Root()->Items(1)->SetUnloadable(true);
    doc.Root()->Items(1)->Add(QStringLiteral("x"));
    doc.UnloadItem(page);
    doc.UnloadItem(doc.Root()->Items(1));
    EXPECT_TRUE(doc.TempFileCreated());
    doc.LoadItem(page);
    doc.LoadItem(doc.Root()->Items(1));
    EXPECT_EQ(dump(doc.Root()),
              QStringLiteral("r|\n page|n=\"1\"\n  m|a=\"1\"\n  m|a=\"2\"\n page|n=\"2\"\n  x|\n"));
}

TEST(XMLDocument, UnloadThenLoadGivesTheSameSubtree)
{
    QTemporaryDir dir;
    TfrxXMLDocument doc;
    doc.SetTempDir(dir.path());
    doc.Root()->SetName(QStringLiteral("preparedreport"));
    std::vector<TfrxXMLItem *> pages;
    for (int p = 0; p < 3; ++p) {
        TfrxXMLItem *page = doc.Root()->Add(QStringLiteral("page"));
        page->SetProp(QStringLiteral("n"), QString::number(p));
        page->SetUnloadable(true);
        for (int m = 0; m < 50; ++m) {
            TfrxXMLItem *memo = page->Add(QStringLiteral("TfrxMemoView"));
            memo->SetProp(QStringLiteral("Text"), QStringLiteral("Строка %1\r\n\"%2\"").arg(m).arg(p));
            memo->Add(QStringLiteral("sub"))->SetProp(QStringLiteral("v"), QStringLiteral("<%1>").arg(m));
        }
        pages.push_back(page);
    }
    const QString before = dump(doc.Root());
    const QByteArray written = save(doc);

    for (TfrxXMLItem *page : pages)
        doc.UnloadItem(page);
    EXPECT_TRUE(doc.TempFileCreated());
    EXPECT_TRUE(doc.TempFile().startsWith(dir.path() + u'/'));
    EXPECT_TRUE(QFileInfo(doc.TempFile()).fileName().startsWith(QStringLiteral("fr")));
    EXPECT_TRUE(QFile::exists(doc.TempFile()));
    for (TfrxXMLItem *page : pages) {
        EXPECT_FALSE(page->Loaded());
        EXPECT_EQ(page->Count(), 0);
    }
    // Writing reads unloaded items back and leaves them unloaded.
    EXPECT_EQ(save(doc), written);
    EXPECT_FALSE(pages[1]->Loaded());

    doc.LoadItem(pages[2]);
    doc.LoadItem(pages[0]);
    doc.LoadItem(pages[1]);
    EXPECT_EQ(dump(doc.Root()), before);

    // Unloading twice appends; the latest copy is the one read.
    pages[0]->Items(0)->SetProp(QStringLiteral("Text"), QStringLiteral("changed"));
    doc.UnloadItem(pages[0]);
    doc.LoadItem(pages[0]);
    EXPECT_EQ(pages[0]->Items(0)->Prop(QStringLiteral("Text")), QStringLiteral("changed"));

    const QString swap = doc.TempFile();
    doc.Clear();
    EXPECT_FALSE(QFile::exists(swap));
    EXPECT_FALSE(doc.TempFileCreated());

    // A TempDir that does not exist falls back to the system's temporary folder.
    TfrxXMLDocument other;
    other.SetTempDir(dir.filePath(QStringLiteral("missing")));
    other.Root()->SetName(QStringLiteral("r"));
    TfrxXMLItem *u = other.Root()->Add(QStringLiteral("u"));
    u->SetUnloadable(true);
    other.UnloadItem(u);
    EXPECT_EQ(QFileInfo(other.TempFile()).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
}

TEST(XMLDocument, SaveToFileReplacesTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.fr3"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents that are longer than the new ones ...........................");
    old.close();

    TfrxXMLDocument doc;
    doc.Root()->SetName(QStringLiteral("TfrxReport"));
    doc.Root()->Add(QStringLiteral("TfrxReportPage"))->SetProp(QStringLiteral("Name"), QStringLiteral("Page1"));
    doc.SaveToFile(path);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".tmp")));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), Header + "<TfrxReport><TfrxReportPage Name=\"Page1\"/></TfrxReport>");
    // The document now reads from the new file.
    EXPECT_NE(doc.TempStream(), nullptr);
    EXPECT_EQ(doc.Root()->Items(0)->Prop(QStringLiteral("Name")), QStringLiteral("Page1"));

    // Saving again over the file it reads from works too.
    doc.Root()->Items(0)->SetProp(QStringLiteral("Name"), QStringLiteral("Page2"));
    doc.SaveToFile(path);
    TfrxXMLDocument again;
    again.LoadFromFile(path);
    EXPECT_EQ(again.Root()->Items(0)->Prop(QStringLiteral("Name")), QStringLiteral("Page2"));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".tmp")));

    EXPECT_THROW(again.LoadFromFile(dir.filePath(QStringLiteral("none.fr3"))), EInOutError);
    EXPECT_THROW(doc.SaveToFile(dir.filePath(QStringLiteral("no/such/dir/x.fr3"))), EInOutError);
}

TEST(XMLItem, PackedChildrenKeepEveryByte)
{
    QTemporaryDir dir;
    TfrxXMLDocument doc;
    doc.SetTempDir(dir.path());
    doc.Root()->SetName(QStringLiteral("preparedreport"));
    TfrxXMLItem *page = doc.Root()->Add(QStringLiteral("page0"));
    page->SetUnloadable(true);
    TfrxXMLItem *band = page->Add(QStringLiteral("TfrxNullBand"));
    band->SetText(QStringLiteral("l=\"0\" t=\"0\""));
    for (int m = 0; m < 20; ++m) {
        TfrxXMLItem *memo = band->Add(QStringLiteral("m%1").arg(m + 1));
        memo->SetProp(QStringLiteral("u"), QStringLiteral("Иванов \"%1\" <&>\r\n€ 𝄞").arg(m));
    }
    const QString before = dump(page);
    const QByteArray written = save(doc);
    doc.SetAutoIndent(true);
    const QByteArray indented = save(doc);
    doc.SetAutoIndent(false);

    page->Pack();
    EXPECT_TRUE(page->Packed());
    EXPECT_FALSE(page->Loaded());
    EXPECT_EQ(page->Count(), 0);
    EXPECT_GT(page->PackedSize(), 0);
    // Written as it was, with and without indenting; still packed afterwards.
    EXPECT_EQ(save(doc), written);
    doc.SetAutoIndent(true);
    EXPECT_EQ(save(doc), indented);
    doc.SetAutoIndent(false);
    EXPECT_TRUE(page->Packed());
    // A copy reads the children back and leaves the item packed.
    EXPECT_EQ(dump(page->UnpackedCopy().get()), before);
    EXPECT_TRUE(page->Packed());

    // Loading unpacks; a child added to a packed item comes after the packed ones.
    doc.LoadItem(page);
    EXPECT_TRUE(page->Loaded());
    EXPECT_FALSE(page->Packed());
    EXPECT_EQ(dump(page), before);
    page->Pack();
    page->Add(QStringLiteral("TfrxPageFooter"));
    EXPECT_FALSE(page->Packed());
    ASSERT_EQ(page->Count(), 2);
    EXPECT_EQ(page->Items(1)->Name(), QStringLiteral("TfrxPageFooter"));
    delete page->Items(1);

    // A packed item goes to the swap file and comes back the same.
    page->Pack();
    doc.UnloadItem(page);
    EXPECT_FALSE(page->Packed());
    EXPECT_FALSE(page->Loaded());
    EXPECT_TRUE(doc.TempFileCreated());
    doc.LoadItem(page);
    EXPECT_EQ(dump(page), before);

    // An item below which children wait in the swap file is not packed: the
    // packed text could not hold them.
    TfrxXMLItem *holder = doc.Root()->Add(QStringLiteral("holder"));
    TfrxXMLItem *inner = holder->Add(QStringLiteral("inner"));
    inner->SetUnloadable(true);
    inner->Add(QStringLiteral("x"));
    doc.UnloadItem(inner);
    holder->Pack();
    EXPECT_FALSE(holder->Packed());
    EXPECT_EQ(holder->Count(), 1);

    // Clearing a packed item leaves nothing behind; an empty item is not packed.
    page->Pack();
    page->Clear();
    EXPECT_FALSE(page->Packed());
    EXPECT_EQ(page->UnpackedCopy()->Count(), 0);
    page->SetLoaded(true);
    page->Pack();
    EXPECT_FALSE(page->Packed());
}
