// The picture cache of prepared pages: entries, segments, temporary files
// and the XML form.

#include "PictureTestImages.h"

#include "base/Errors.h"
#include "report/model/rudPictureCache.h"
#include "report/model/rudXML.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A picture holding bytes; one object reused, as pictures are not copyable.
const TfrxPicture &pictureOf(const QByteArray &bytes)
{
    static TfrxPicture p;
    p.SetGraphic(TfrxGraphic::FromBytes(bytes));
    return p;
}

// Three different images in three formats.
QList<QByteArray> threeImages()
{
    return {encodeImage(testImage(4, 4), "PNG"), encodeImage(testImage(6, 2), "BMP"),
            encodeImage(testImage(8, 8), "JPEG")};
}

} // namespace

TEST(PictureCache, ThreeImagesSavedAndLoadedGiveEachItsOwnBytes)
{
    const QList<QByteArray> images = threeImages();
    TfrxPictureCache cache;
    TfrxPicture empty;
    EXPECT_EQ(cache.AddPicture(empty), 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(cache.AddPicture(pictureOf(images[i])), i + 1);
    EXPECT_EQ(cache.Count(), 3);

    TfrxXMLDocument doc;
    TfrxXMLItem *root = doc.Root();
    root->SetName(QStringLiteral("picturecache"));
    root->Add(QStringLiteral("stale"));
    cache.SaveToXML(root);
    ASSERT_EQ(root->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(root->Items(i)->Name(), QStringLiteral("item"));
        EXPECT_EQ(root->Items(i)->Prop(QStringLiteral("stream")),
                  QString::fromLatin1(images[i].toHex().toUpper()));
    }

    TfrxPictureCache loaded;
    loaded.AddPicture(pictureOf(images[2])); // cleared by LoadFromXML
    loaded.LoadFromXML(root);
    ASSERT_EQ(loaded.Count(), 3);
    TfrxPicture second;
    loaded.GetPicture(2, second);
    ASSERT_TRUE(second.Graphic());
    EXPECT_EQ(second.Graphic()->Bytes(), images[1]);
    EXPECT_EQ(second.Graphic()->Kind(), TfrxGraphicKind::Bitmap);
    EXPECT_EQ(second.Width(), 6);
    loaded.GetPicture(3, second);
    EXPECT_EQ(second.Graphic()->Bytes(), images[2]);

    // Number 0 and numbers past the entries give an empty picture.
    loaded.GetPicture(0, second);
    EXPECT_FALSE(second.Graphic());
    loaded.GetPicture(2, second);
    loaded.GetPicture(4, second);
    EXPECT_FALSE(second.Graphic());

    // Lower-case hexadecimal reads as well.
    TfrxXMLItem lower;
    lower.Add(QStringLiteral("item"))->SetProp(QStringLiteral("stream"), QString::fromLatin1(images[0].toHex()));
    loaded.LoadFromXML(&lower);
    EXPECT_EQ(loaded.EntryBytes(1), images[0]);
}

TEST(PictureCache, EntriesSpanSegments)
{
    const QList<QByteArray> images = threeImages();
    TfrxPictureCache cache;
    // A tiny limit: a segment holds entries until it is larger than 100 bytes.
    cache.SetSegmentLimit(100);
    const QByteArray small = encodeImage(testImage(1, 1), "PNG");
    ASSERT_LT(small.size(), 100);
    cache.AddPicture(pictureOf(small));     // segment 1
    cache.AddPicture(pictureOf(small));     // segment 1 again: it was not over the limit
    cache.AddPicture(pictureOf(images[2])); // segment 2: segment 1 is over the limit now
    cache.AddPicture(pictureOf(images[0])); // segment 3
    EXPECT_EQ(cache.SegmentCount(), 3);
    const QByteArray expected[] = {small, small, images[2], images[0]};
    for (int i = 1; i <= 4; ++i) {
        TfrxPicture p;
        cache.GetPicture(i, p);
        ASSERT_TRUE(p.Graphic()) << i;
        EXPECT_EQ(p.Graphic()->Bytes(), expected[i - 1]) << i;
    }
}

TEST(PictureCache, FileSegmentsLiveInTheTempDirAndAreRemoved)
{
    QTemporaryDir dir;
    const QList<QByteArray> images = threeImages();
    QStringList files;
    {
        TfrxPictureCache cache;
        cache.SetUseFileCache(true);
        cache.SetTempDir(dir.path()); // no trailing separator: one is added
        cache.SetSegmentLimit(10);
        for (const QByteArray &b : images)
            cache.AddPicture(pictureOf(b));
        files = cache.TempFile();
        ASSERT_EQ(files.size(), 3);
        for (const QString &f : files) {
            EXPECT_EQ(QFileInfo(f).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
            EXPECT_TRUE(QFileInfo(f).fileName().startsWith(QStringLiteral("frPic"))) << f.toStdString();
            EXPECT_TRUE(QFile::exists(f));
        }
        TfrxPicture p;
        cache.GetPicture(2, p);
        EXPECT_EQ(p.Graphic()->Bytes(), images[1]);

        // The settings are fixed while segments exist.
        cache.SetUseFileCache(false);
        cache.SetTempDir(QStringLiteral("/elsewhere"));
        EXPECT_TRUE(cache.UseFileCache());
        EXPECT_EQ(cache.TempDir(), dir.path());

        cache.Clear();
        for (const QString &f : files)
            EXPECT_FALSE(QFile::exists(f));
        EXPECT_EQ(cache.Count(), 0);
        cache.SetUseFileCache(false);
        EXPECT_FALSE(cache.UseFileCache());
        cache.SetUseFileCache(true);
        cache.AddPicture(pictureOf(images[0]));
        files = cache.TempFile();
        ASSERT_EQ(files.size(), 1);
    }
    // Destroying the cache removes its files too.
    EXPECT_FALSE(QFile::exists(files[0]));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // A folder that does not exist is found out when the first file is made.
    TfrxPictureCache missing;
    missing.SetUseFileCache(true);
    missing.SetTempDir(dir.filePath(QStringLiteral("no/such/folder")));
    EXPECT_THROW(missing.AddPicture(pictureOf(images[0])), EInOutError);
}
