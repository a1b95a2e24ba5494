// The engine's string table, its language overlay, help topics and image strips.

#include "report/model/rudRes.h"

#include "base/Errors.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <zlib.h>

namespace {

QByteArray resourceDocument(const QByteArray &entries, const QByteArray &header =
                                "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>")
{
    return header + "<Resources CodePage=\"1252\">" + entries + "</Resources>";
}

// A gzip member made by zlib's own gzip writer.
QByteArray gzipWithZlib(const QByteArray &data, const QString &dir)
{
    const QByteArray path = QFile::encodeName(dir + QStringLiteral("/strip.bmp"));
    gzFile gz = gzopen(path.constData(), "wb9");
    gzwrite(gz, data.constData(), unsigned(data.size()));
    gzclose(gz);
    QFile f(dir + QStringLiteral("/strip.bmp"));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

TEST(Resources, LookupsOfBuiltInTexts)
{
    TfrxResources &res = rudResources();
    EXPECT_EQ(res.Get(QStringLiteral("clErrors")), QStringLiteral("The following error(s) have occured:"));
    EXPECT_EQ(res.Get(QStringLiteral("CLERRORS")), QStringLiteral("The following error(s) have occured:"));
    EXPECT_EQ(rudGet(101), QStringLiteral("Print"));
    EXPECT_EQ(rudGet(1), QStringLiteral("OK"));
    EXPECT_EQ(rudGet(2), QStringLiteral("Cancel"));
    EXPECT_EQ(rudGet(2712), QStringLiteral("First page"));
    EXPECT_EQ(rudGet(3900), QStringLiteral("Memo"));
    EXPECT_EQ(res.Get(QStringLiteral("propColor.TfrxFrame")), QStringLiteral("The color of the frame"));
    EXPECT_EQ(res.Get(QStringLiteral("clPageOf")), QStringLiteral("Page %d of %d"));
    EXPECT_EQ(res.Get(QStringLiteral("vt1")), QStringLiteral("[DATE]"));
    EXPECT_EQ(res.Get(QStringLiteral("mbError")), QStringLiteral("Error"));
    EXPECT_EQ(res.Get(QStringLiteral("510")), QStringLiteral("Printer file (*.prn)|*.prn"));
    // The stored text keeps its "!", the lookup drops it.
    EXPECT_EQ(res.Get(QStringLiteral("propShowTitle")),
              QStringLiteral("Determines if the crosstab should display a title"));
    // Unknown keys give themselves, without a leading "!".
    EXPECT_EQ(res.Get(QStringLiteral("noSuchKey")), QStringLiteral("noSuchKey"));
    EXPECT_EQ(res.Get(QStringLiteral("!noSuchKey")), QStringLiteral("noSuchKey"));
    EXPECT_EQ(res.CodePage(), 1252);
}

TEST(Resources, EveryQuotedScriptMessageIsThere)
{
    const TfrxFSMessages &messages = rudResources().FSMessages();
    ASSERT_EQ(messages.size(), 17);
    EXPECT_EQ(messages[0], qMakePair(QStringLiteral("SLangNotFound"), QStringLiteral("Language '%s' not found")));
    EXPECT_EQ(messages[16],
              qMakePair(QStringLiteral("SEventError"), QStringLiteral("Event handler must be a procedure")));
    for (const auto &m : messages)
        EXPECT_NE(m.first, m.second);
}

TEST(Resources, LanguageFilesOverlayAndMerge)
{
    TfrxResources res;
    const int builtIn = res.Count();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("german.frc"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(resourceDocument("<StrRes Name=\"1\" Text=\"Gut\"/><StrRes Name=\"sidundeclared\" Text=\"Unbekannt: \"/>"
                             "<Other Name=\"2\" Text=\"ignored\"/>"));
    f.close();

    QStringList seen;
    res.SetFSResourcesHandler([&](const TfrxFSMessages &m) { seen.append(m[5].second); });
    res.LoadFromFile(path);
    EXPECT_EQ(res.Get(QStringLiteral("1")), QStringLiteral("Gut"));
    EXPECT_EQ(res.Get(QStringLiteral("2")), QStringLiteral("Cancel"));
    EXPECT_EQ(res.Count(), builtIn);
    // The script messages were refreshed and handed over.
    EXPECT_EQ(res.FSMessages()[5].second, QStringLiteral("Unbekannt: "));
    EXPECT_EQ(seen.last(), QStringLiteral("Unbekannt: "));

    // A missing file is ignored; a root other than Resources adds nothing.
    res.LoadFromFile(dir.filePath(QStringLiteral("missing.frc")));
    res.AddXML("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?><Strings><StrRes Name=\"x\" Text=\"y\"/></Strings>");
    EXPECT_EQ(res.Get(QStringLiteral("x")), QStringLiteral("x"));
    // A missing code page is a conversion error.
    EXPECT_THROW(res.AddXML("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?><Resources/>"), EConvertError);
    EXPECT_THROW(res.AddXML("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?><Resources CodePage=\"x\"/>"),
                 EConvertError);

    // Escaped texts, and old-format files holding UTF-8 bytes.
    res.AddXML(resourceDocument("<StrRes Name=\"esc\" Text=\"a&#13;&#10;&quot;b&quot;\"/>"));
    EXPECT_EQ(res.Get(QStringLiteral("esc")), QStringLiteral("a\r\n\"b\""));
    res.AddXML(resourceDocument("<StrRes Name=\"ru\" Text=\"" + QStringLiteral("Печать").toUtf8() + "\"/>",
                                "<?xml version=\"1.0\"?>"));
    EXPECT_EQ(res.Get(QStringLiteral("ru")), QStringLiteral("Печать"));

    res.AddStrings(QStringLiteral("k1=v1\r\nno equals\r\n=novalue\r\nk2=\r\nk3=a=b\nK1=v1b"));
    EXPECT_EQ(res.Get(QStringLiteral("k1")), QStringLiteral("v1b"));
    EXPECT_EQ(res.Get(QStringLiteral("k2")), QStringLiteral("k2"));
    EXPECT_EQ(res.Get(QStringLiteral("k3")), QStringLiteral("a=b"));

    res.Clear();
    EXPECT_EQ(res.Count(), 0);
    EXPECT_EQ(res.Get(QStringLiteral("1")), QStringLiteral("1"));
}

TEST(Resources, HelpOpensTheFileAtTheTopic)
{
    TRecordingUserInterface ui;
    TfrxResources &res = rudResources();
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString helpFile = appDir + QStringLiteral("/VIVeru.chm");
    const bool existed = QFile::exists(helpFile);
    if (!existed) {
        // Without the help file nothing is opened.
        EXPECT_FALSE(res.Help(QStringLiteral("TfrxDesignerForm")));
        EXPECT_TRUE(ui.OpenedDocuments.isEmpty());
        QFile f(helpFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ui.OpenDocumentResult = true;
    EXPECT_TRUE(res.Help(QStringLiteral("tfrxmemoeditorform")));
    QObject plain;
    res.Help(&plain);
    res.Help(static_cast<const QObject *>(nullptr));
    EXPECT_EQ(ui.OpenedDocuments, QStringList({helpFile + QStringLiteral("::/Text_object.htm"), helpFile, helpFile}));
    if (!existed)
        QFile::remove(helpFile);
}

TEST(Resources, GzipStripsAndImages)
{
    QTemporaryDir dir;
    QByteArray payload;
    for (int i = 0; i < 100000; ++i)
        payload += char(i * 7 % 251);
    const QByteArray packed = gzipWithZlib(payload, dir.path());
    QBuffer source;
    source.setData(packed);
    source.open(QIODevice::ReadOnly);
    QByteArray unpacked;
    QBuffer target(&unpacked);
    target.open(QIODevice::WriteOnly);
    EXPECT_EQ(rudDecompressStream(&source, &target), QString());   // zlib stores no name
    EXPECT_EQ(unpacked, payload);

    // The built-in strips carry their original file name.
    rudResources();
    QFile strip(QStringLiteral(":/rud/images/PreviewButtons.bmp.gz"));
    ASSERT_TRUE(strip.open(QIODevice::ReadOnly));
    QByteArray bitmap;
    QBuffer bitmapTarget(&bitmap);
    bitmapTarget.open(QIODevice::WriteOnly);
    EXPECT_EQ(rudDecompressStream(&strip, &bitmapTarget), QStringLiteral("PreviewButtons.bmp"));
    EXPECT_TRUE(bitmap.startsWith("BM"));

    // Damaged data is an error, never a silently wrong picture.
    QByteArray broken = packed;
    broken[broken.size() - 12] = char(broken[broken.size() - 12] ^ 0x55);
    QBuffer bad;
    bad.setData(broken);
    bad.open(QIODevice::ReadOnly);
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    EXPECT_THROW(rudDecompressStream(&bad, &sink), EGeneralError);
    QBuffer notGzip;
    notGzip.setData(QByteArray("BM plain bitmap, not packed at all"));
    notGzip.open(QIODevice::ReadOnly);
    EXPECT_THROW(rudDecompressStream(&notGzip, &sink), EGeneralError);

    // The grey of a disabled image.
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));     // q 85, 28.33 -> 28 + 150
    image.setPixel(1, 0, qRgb(255, 255, 255)); // 255 / 3 = 85 -> 235
    rudMakeDisabledImage(image);
    EXPECT_EQ(image.pixel(0, 0), qRgb(178, 178, 178));
    EXPECT_EQ(image.pixel(1, 0), qRgb(235, 235, 235));

    // The built-in strips.
    TfrxResources &res = rudResources();
    EXPECT_GE(res.GetPreviewButtonImages().Count(), 23);
    EXPECT_GE(res.GetObjectImages().Count(), 6);
    EXPECT_EQ(res.GetWizardImages().Image(0).size(), QSize(32, 32));
    EXPECT_EQ(res.GetMainButtonImages().Count(), res.GetDisabledButtonImages().Count());
    const QImage print = res.GetPreviewButtonImages().Image(2);
    EXPECT_EQ(qAlpha(print.pixel(0, 15)), 0);    // the key colour became transparent
    EXPECT_EQ(qAlpha(print.pixel(8, 8)), 255);

    struct TButton : TfrxGlyphTarget {
        QImage Glyph;
        int Num = 0;
        void SetGlyph(const QImage &g, int n) override { Glyph = g; Num = n; }
    } button;
    res.SetGlyph(button, 0);
    EXPECT_EQ(button.Num, 2);
    EXPECT_EQ(button.Glyph.size(), QSize(32, 16));
    EXPECT_EQ(button.Glyph.pixel(0, 0), qRgb(128, 128, 0));
    const QImage grey = res.GetDisabledButtonImages().Image(0);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x)
            if (qAlpha(grey.pixel(x, y)) == 255) {
                EXPECT_EQ(button.Glyph.pixel(16 + x, y + 1), grey.pixel(x, y));
            }

    // A strip cut into cells row by row.
    QImage strip2(32, 32, QImage::Format_RGB32);
    strip2.fill(Qt::white);
    strip2.setPixel(20, 20, qRgb(1, 2, 3));
    TfrxImageList list(16, 16);
    rudAssignImages(strip2, 16, 16, list);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Image(3).pixel(4, 4), qRgb(1, 2, 3));
    EXPECT_EQ(qAlpha(list.Image(0).pixel(4, 4)), 0);
}
