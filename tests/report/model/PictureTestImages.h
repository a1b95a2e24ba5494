#pragma once
// Real image files for the picture tests, written by Qt's image writers at
// test time, and a few hand-made ones Qt cannot write.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

// An image of the given size: red left half, blue right half.
inline QImage testImage(int width, int height, bool alpha = false)
{
    QImage image(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x < width / 2 ? qRgba(255, 0, 0, alpha ? 128 : 255) : qRgb(0, 0, 255));
    return image;
}

// The file bytes of image in a format Qt writes ("BMP", "JPEG", "PNG", "ICO").
inline QByteArray encodeImage(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

inline void putLE16(QByteArray &b, int at, int v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

inline void putLE32(QByteArray &b, int at, quint32 v)
{
    putLE16(b, at, int(v & 0xFFFF));
    putLE16(b, at + 2, int(v >> 16));
}

// A 2 x 2 icon with a 1-bit colour bitmap (palette black, white) and an AND
// mask that makes the top-left pixel transparent. Top row: (masked, white),
// bottom row: (white, black).
inline QByteArray monochromeIcon()
{
    const int dibSize = 40 + 8 + 2 * 4 + 2 * 4;
    QByteArray b(6 + 16 + dibSize, '\0');
    putLE16(b, 2, 1);          // type: icon
    putLE16(b, 4, 1);          // one image
    b[6] = 2;                  // width
    b[7] = 2;                  // height
    putLE16(b, 6 + 6, 1);      // bits per pixel
    putLE32(b, 6 + 8, dibSize);
    putLE32(b, 6 + 12, 22);    // offset of the bitmap
    const int d = 22;
    putLE32(b, d, 40);
    putLE32(b, d + 4, 2);
    putLE32(b, d + 8, 4);      // twice the height: colour bitmap and mask
    putLE16(b, d + 12, 1);
    putLE16(b, d + 14, 1);
    // palette: black, white
    b[d + 44] = char(0xFF); b[d + 45] = char(0xFF); b[d + 46] = char(0xFF);
    // colour rows, bottom-up: bottom row (white, black) = bits 10, top row (x, white) = 01
    b[d + 48] = char(0x80);
    b[d + 52] = char(0x40);
    // mask rows, bottom-up: bottom row opaque, top row first pixel transparent
    b[d + 56] = 0;
    b[d + 60] = char(0x80);
    return b;
}

// A placeable metafile header (22 bytes) announcing a picture of the given
// size in twips, followed by a few record bytes.
inline QByteArray placeableMetafile(int twipsWide, int twipsHigh)
{
    QByteArray b(22 + 18, '\0');
    putLE32(b, 0, 0x9AC6CDD7u);
    putLE16(b, 10, twipsWide);
    putLE16(b, 12, twipsHigh);
    putLE16(b, 14, 1440);
    return b;
}

// An enhanced metafile header (108 bytes) whose frame is the given size in
// hundredths of a millimetre.
inline QByteArray enhancedMetafile(int frameWide, int frameHigh)
{
    QByteArray b(108, '\0');
    putLE32(b, 0, 1);
    putLE32(b, 4, 108);
    putLE32(b, 32, quint32(frameWide));
    putLE32(b, 36, quint32(frameHigh));
    b.replace(40, 4, " EMF");
    return b;
}
