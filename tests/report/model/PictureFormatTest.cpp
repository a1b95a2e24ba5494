// Picture formats: recognition from bytes, decoding, PropData and the
// stream reader of picture objects.

#include "PictureTestImages.h"

#include "base/Errors.h"
#include "report/model/rudGraphic.h"
#include "report/model/rudJpegImage.h"
#include "report/model/rudPicture.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

int loadFrom(TfrxPicture &picture, QByteArray bytes, qint64 startAt = 0, bool reset = true,
             TfrxGraphicKind *kind = nullptr)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(startAt);
    return rudLoadPictureFromStream(picture, &buffer, reset, kind);
}

QByteArray databaseHeader(quint32 length)
{
    QByteArray h(8, '\0');
    putLE16(h, 0, 1);
    putLE16(h, 2, 256);
    putLE32(h, 4, length);
    return h;
}

// A PNG of Width x Height whose header says so, its data that of a 4 x 4
// picture: what a few kilobytes of a hostile file announce.
QByteArray pngAnnouncing(quint32 Width, quint32 Height)
{
    QByteArray png = encodeImage(testImage(4, 4), "PNG");
    auto putBE32 = [&png](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            png[at + i] = char(v >> (24 - 8 * i));
    };
    putBE32(16, Width);
    putBE32(20, Height);
    quint32 crc = 0xFFFFFFFFu; // over the chunk type and data of IHDR
    for (int i = 12; i < 29; ++i) {
        crc ^= uchar(png[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    putBE32(29, ~crc);
    return png;
}

// The message of the EGeneralError that loading bytes as kind raises.
QString loadError(TfrxGraphicKind kind, const QByteArray &bytes)
{
    try {
        TfrxGraphic::Load(kind, bytes);
    } catch (const EGeneralError &e) {
        return e.Message();
    }
    return QStringLiteral("no error");
}

} // namespace

TEST(PictureFormat, OversizedPicturesAreRefusedFromTheirHeaders)
{
    // Pictures are capped at 32,767 pixels a side and 2^26 pixels in all,
    // before their pixels are allocated.
    EXPECT_EQ(loadError(TfrxGraphicKind::Png, pngAnnouncing(32767, 32767)),
              "Invalid PNG image: image size 32767x32767 out of range");
    EXPECT_EQ(loadError(TfrxGraphicKind::Png, pngAnnouncing(10000, 10000)),
              "Invalid PNG image: image size 10000x10000 out of range");
    QByteArray bmp = encodeImage(testImage(4, 4), "BMP");
    putLE32(bmp, 18, 40000);
    putLE32(bmp, 22, 40000);
    EXPECT_EQ(loadError(TfrxGraphicKind::Bitmap, bmp), "Invalid bitmap image: image size 40000x40000 out of range");
    putLE32(bmp, 18, 4);
    putLE32(bmp, 22, 0x80000000u); // the most negative height: rows top-down
    EXPECT_EQ(loadError(TfrxGraphicKind::Bitmap, bmp), "Invalid bitmap image: image size 4x2147483648 out of range");
    // An icon's bitmap with the most negative height.
    QByteArray icon = monochromeIcon();
    putLE32(icon, 6 + 16 + 8, 0x80000000u);
    EXPECT_EQ(loadError(TfrxGraphicKind::Icon, icon), "Invalid icon: image size out of range");
    // Sizes within the caps still decode.
    EXPECT_EQ(TfrxGraphic::Load(TfrxGraphicKind::Png, encodeImage(testImage(300, 200), "PNG"))->Width(), 300);
}

TEST(PictureFormat, RecognitionNeedsEnoughBytesForEachFormat)
{
    using K = TfrxGraphicKind;
    EXPECT_EQ(rudDetectGraphicKind(QByteArray()), K::None);
    // "BM" needs 14 bytes; 13 zero-padded bytes fall through to the icon test
    // (16-bit 0 at offset 2).
    EXPECT_EQ(rudDetectGraphicKind(QByteArray("BM") + QByteArray(12, '\0')), K::Bitmap);
    EXPECT_EQ(rudDetectGraphicKind(QByteArray("BM") + QByteArray(11, '\0')), K::Icon);
    EXPECT_EQ(rudDetectGraphicKind(QByteArray("BM\xFF\xFF", 4)), K::None);
    // Two bytes FF D8 are a JPEG image.
    EXPECT_EQ(rudDetectGraphicKind(bytesOf({0xFF, 0xD8})), K::Jpeg);
    EXPECT_EQ(rudDetectGraphicKind(bytesOf({0xFF})), K::None);
    EXPECT_EQ(rudDetectGraphicKind(bytesOf({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})), K::Png);
    EXPECT_EQ(rudDetectGraphicKind(bytesOf({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A})), K::None);
    // Placeable key needs 22 bytes; the 16-bit value C6 9A rules out an icon.
    QByteArray wmf = placeableMetafile(1440, 1440);
    EXPECT_EQ(rudDetectGraphicKind(wmf.left(22)), K::Metafile);
    EXPECT_EQ(rudDetectGraphicKind(wmf.left(21)), K::None);
    QByteArray emf = enhancedMetafile(100, 100);
    putLE32(emf, 0, 0x12345678); // keep the icon test from matching
    EXPECT_EQ(rudDetectGraphicKind(emf), K::Metafile);
    EXPECT_EQ(rudDetectGraphicKind(emf.left(107)), K::None);
    EXPECT_EQ(rudDetectGraphicKind(bytesOf({0, 0, 1, 0, 1, 0})), K::Icon);
    EXPECT_EQ(rudDetectGraphicKind(bytesOf({0, 0, 1, 0, 1})), K::None);
    EXPECT_EQ(rudDetectGraphicKind(bytesOf({0, 0, 2, 0, 1, 0})), K::None);
}

TEST(PictureFormat, RealFilesDecodeToTheirPixels)
{
    const QImage image = testImage(6, 4);
    const struct {
        const char *Format;
        TfrxGraphicKind Kind;
    } cases[] = {{"BMP", TfrxGraphicKind::Bitmap},
                 {"JPEG", TfrxGraphicKind::Jpeg},
                 {"PNG", TfrxGraphicKind::Png},
                 {"ICO", TfrxGraphicKind::Icon}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Format);
        const QByteArray bytes = encodeImage(image, c.Format);
        ASSERT_FALSE(bytes.isEmpty());
        auto graphic = TfrxGraphic::FromBytes(bytes);
        EXPECT_EQ(graphic->Kind(), c.Kind);
        EXPECT_EQ(graphic->Bytes(), bytes);
        ASSERT_EQ(graphic->Width(), 6);
        ASSERT_EQ(graphic->Height(), 4);
        const QColor left = graphic->Image().pixelColor(0, 1), right = graphic->Image().pixelColor(5, 2);
        EXPECT_GT(left.red(), 200);
        EXPECT_LT(left.blue(), 60);
        EXPECT_GT(right.blue(), 200);
        EXPECT_LT(right.red(), 60);
    }

    // Grey JPEG (one component) and PNG transparency.
    QImage grey(8, 8, QImage::Format_Grayscale8);
    grey.fill(200);
    auto g = TfrxGraphic::FromBytes(encodeImage(grey, "JPEG"));
    EXPECT_NEAR(qGray(g->Image().pixel(3, 3)), 200, 4);
    auto png = TfrxGraphic::FromBytes(encodeImage(testImage(4, 2, true), "PNG"));
    EXPECT_EQ(qAlpha(png->Image().pixel(0, 0)), 128);
    EXPECT_EQ(qAlpha(png->Image().pixel(3, 0)), 255);
}

TEST(PictureFormat, IconsAndMetafilesMadeByHand)
{
    auto icon = TfrxGraphic::FromBytes(monochromeIcon());
    ASSERT_EQ(icon->Kind(), TfrxGraphicKind::Icon);
    ASSERT_EQ(icon->Width(), 2);
    ASSERT_EQ(icon->Height(), 2);
    EXPECT_EQ(qAlpha(icon->Image().pixel(0, 0)), 0);
    EXPECT_EQ(icon->Image().pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(icon->Image().pixel(0, 1), qRgb(255, 255, 255));
    EXPECT_EQ(icon->Image().pixel(1, 1), qRgb(0, 0, 0));

    // A placeable metafile of 1 x 0.5 inch, an enhanced one of 25.4 x 50.8 mm.
    auto wmf = TfrxGraphic::FromBytes(placeableMetafile(1440, 720));
    EXPECT_TRUE(wmf->IsMetafile());
    EXPECT_EQ(wmf->Width(), 96);
    EXPECT_EQ(wmf->Height(), 48);
    EXPECT_TRUE(wmf->Image().isNull());
    QByteArray emfBytes = enhancedMetafile(2540, 5080);
    auto emf = TfrxGraphic::Load(TfrxGraphicKind::Metafile, emfBytes);
    EXPECT_EQ(emf->Width(), 96);
    EXPECT_EQ(emf->Height(), 192);
    EXPECT_EQ(emf->Bytes(), emfBytes);
}

TEST(PictureFormat, JpegErrorsComeBackAsExceptions)
{
    // libjpeg's fatal errors must not end the process.
    EXPECT_THROW(rudDecodeJpeg(bytesOf({0xFF, 0xD8})), EGeneralError);
    EXPECT_THROW(rudDecodeJpeg(QByteArray()), EGeneralError);
    EXPECT_THROW(rudDecodeJpeg(bytesOf({0xFF, 0xD8, 0xFF, 0xC0, 0, 0x11, 8, 0, 0, 0, 0})), EGeneralError);
    try {
        rudDecodeJpeg(QByteArray("\xFF\xD8\x00\x00\x00\x00", 6));
        FAIL() << "no exception";
    } catch (const EGeneralError &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Invalid JPEG image: "))) << e.what();
    }
    // A file cut in half still decodes (libjpeg fills in the missing part).
    QImage noisy(64, 64, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            noisy.setPixel(x, y, rng.generate() | 0xFF000000u);
    const QByteArray jpeg = encodeImage(noisy, "JPEG");
    EXPECT_EQ(rudDecodeJpeg(jpeg.left(jpeg.size() / 2)).size(), QSize(64, 64));
}

TEST(PictureFormat, StreamReaderSkipsOnlyAnExactDatabaseHeader)
{
    const QByteArray png = encodeImage(testImage(5, 3), "PNG");
    TfrxPicture picture;
    TfrxGraphicKind kind;

    EXPECT_EQ(loadFrom(picture, QByteArray(), 0, true, &kind), E_INVALIDARG);
    EXPECT_EQ(kind, TfrxGraphicKind::None);

    EXPECT_EQ(loadFrom(picture, databaseHeader(quint32(png.size())) + png, 0, true, &kind), 0);
    EXPECT_EQ(kind, TfrxGraphicKind::Png);
    ASSERT_TRUE(picture.HasImage());
    EXPECT_EQ(picture.Graphic()->Bytes(), png);
    EXPECT_EQ(picture.Width(), 5);

    // A header announcing any other length is image data: 01 00 00 01 is no format.
    EXPECT_EQ(loadFrom(picture, databaseHeader(quint32(png.size() + 1)) + png), E_INVALIDARG);
    EXPECT_FALSE(picture.Graphic());
    EXPECT_EQ(loadFrom(picture, databaseHeader(quint32(png.size() - 1)) + png), E_INVALIDARG);

    // Without ResetStreamPos the reader starts where the stream stands.
    const QByteArray junk("no picture here");
    EXPECT_EQ(loadFrom(picture, junk + png, junk.size(), false), 0);
    EXPECT_EQ(picture.Graphic()->Bytes(), png);
    EXPECT_EQ(loadFrom(picture, junk + png, junk.size(), true), E_INVALIDARG);

    // A recognised but broken image is reported, and leaves the picture empty.
    ASSERT_EQ(loadFrom(picture, png), 0);
    EXPECT_THROW(loadFrom(picture, png.left(20)), EGeneralError);
    EXPECT_FALSE(picture.Graphic());

    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    loadFrom(picture, png);
    EXPECT_EQ(changes, 1);
}

TEST(PictureFormat, PropDataRoundTripsByteForByte)
{
    const QByteArray bmp = encodeImage(testImage(3, 2), "BMP");
    const QByteArray png = encodeImage(testImage(3, 2), "PNG");

    // Written form: "Data", binary value, length, class name, (count,) bytes.
    TfrxPicture picture;
    picture.SetGraphic(TfrxGraphic::FromBytes(bmp));
    const QByteArray propData = picture.GetPropData();
    QByteArray expected = QByteArray("\x04" "Data\x0A", 6);
    QByteArray payload = QByteArray("\x07TBitmap");
    QByteArray count(4, '\0');
    putLE32(count, 0, quint32(bmp.size()));
    payload += count + bmp;
    QByteArray length(4, '\0');
    putLE32(length, 0, quint32(payload.size()));
    EXPECT_EQ(propData, expected + length + payload);

    TfrxPicture copy;
    copy.SetPropData(propData);
    ASSERT_TRUE(copy.HasImage());
    EXPECT_EQ(copy.Graphic()->Kind(), TfrxGraphicKind::Bitmap);
    EXPECT_EQ(copy.Graphic()->Bytes(), bmp);
    EXPECT_EQ(copy.GetPropData(), propData);

    // PNG data read with a count before it (as some writers store it), and an
    // unknown class name: the image is found and the bytes kept as read.
    QByteArray pngPayload = QByteArray("\x07TPNGFoo", 8);
    QByteArray pngCount(4, '\0');
    putLE32(pngCount, 0, quint32(png.size()));
    pngPayload += pngCount + png;
    putLE32(length, 0, quint32(pngPayload.size()));
    const QByteArray pngPropData = expected + length + pngPayload;
    TfrxPicture p2;
    p2.SetPropData(pngPropData);
    ASSERT_TRUE(p2.HasImage());
    EXPECT_EQ(p2.Graphic()->Bytes(), png);
    EXPECT_EQ(p2.GetPropData(), pngPropData);

    // Bytes that are no picture at all still survive a load and save.
    const QByteArray garbage("\x04" "Data\x0A\x03\x00\x00\x00\x01X!", 13);
    TfrxPicture p3;
    p3.SetPropData(garbage);
    EXPECT_FALSE(p3.HasImage());
    EXPECT_EQ(p3.GetPropData(), garbage);

    // Changing the graphic drops the kept bytes; an empty picture writes nothing.
    p2.SetGraphic(TfrxGraphic::FromBytes(png));
    EXPECT_EQ(p2.GetPropData().mid(11, 9), QByteArray("TPngImage"));
    p2.Clear();
    EXPECT_TRUE(p2.GetPropData().isEmpty());
}

TEST(PictureFormat, LoadFromFileByExtension)
{
    QTemporaryDir dir;
    const QByteArray jpeg = encodeImage(testImage(7, 5), "JPEG");
    const QString name = dir.filePath(QStringLiteral("photo.jpg"));
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(jpeg);
    f.close();
    TfrxPicture picture;
    picture.LoadFromFile(name);
    EXPECT_EQ(picture.Graphic()->Kind(), TfrxGraphicKind::Jpeg);
    EXPECT_EQ(picture.Width(), 7);
    EXPECT_THROW(picture.LoadFromFile(dir.filePath(QStringLiteral("missing.png"))), EInOutError);
}

TEST(PictureFormat, DecodersSurviveBrokenInput)
{
    // Random, truncated and mutated inputs must never crash or hang; failures
    // are exceptions of the runtime's family.
    QList<QByteArray> seeds = {encodeImage(testImage(9, 7), "BMP"),  encodeImage(testImage(9, 7), "JPEG"),
                               encodeImage(testImage(9, 7), "PNG"),  encodeImage(testImage(9, 7, true), "ICO"),
                               monochromeIcon(),                     placeableMetafile(500, 300),
                               enhancedMetafile(1000, 1000)};
    QImage grey(12, 12, QImage::Format_Grayscale8);
    grey.fill(90);
    seeds.append(encodeImage(grey, "JPEG"));
    QRandomGenerator rng(20261208);
    auto tryAll = [](const QByteArray &bytes) {
        TfrxPicture picture;
        try {
            loadFrom(picture, bytes);
        } catch (const Exception &) {
        }
        for (TfrxGraphicKind k : {TfrxGraphicKind::Bitmap, TfrxGraphicKind::Jpeg, TfrxGraphicKind::Png,
                                  TfrxGraphicKind::Icon, TfrxGraphicKind::Metafile})
            TfrxGraphic::LoadKeeping(k, bytes);
        TfrxPicture viaPropData;
        viaPropData.SetPropData(bytes);
        EXPECT_EQ(viaPropData.GetPropData(), bytes);
    };
    for (const QByteArray &seed : seeds) {
        for (int cut = 0; cut < seed.size(); cut += 1 + seed.size() / 40)
            tryAll(seed.left(cut));
        for (int round = 0; round < 60; ++round) {
            QByteArray m = seed;
            const int flips = 1 + int(rng.bounded(8));
            for (int i = 0; i < flips; ++i)
                m[int(rng.bounded(m.size()))] = char(rng.bounded(256));
            tryAll(m);
        }
    }
    for (int round = 0; round < 200; ++round) {
        QByteArray r(int(rng.bounded(300)), '\0');
        for (char &c : r)
            c = char(rng.bounded(256));
        if (round % 4 == 0 && r.size() > 2) {
            r[0] = char(0xFF);
            r[1] = char(0xD8);
        } else if (round % 4 == 1 && r.size() > 6) {
            r[2] = 1;
            r[3] = 0;
        }
        tryAll(r);
    }
}
