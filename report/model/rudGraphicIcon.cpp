// Icon and metafile header decoding for TfrxGraphic.

#include "report/model/rudGraphic_p.h"

#include "base/Errors.h"
#include "report/model/rudPngImage.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int iconDirSize = 6;
constexpr int iconEntrySize = 16;
constexpr quint32 maxIconSide = 4096;

[[noreturn]] void failIcon(const char *reason)
{
    throw EGeneralError(QStringLiteral("Invalid icon: %1").arg(QString::fromLatin1(reason)));
}

struct TIconEntry {
    quint32 Width, Height, BitCount, Size, Offset;
};

// Decodes one device-independent bitmap entry: the colour (XOR) bitmap of
// twice the icon's height followed by its 1-bit transparency (AND) mask.
QImage decodeDib(const QByteArray &dib)
{
    const quint32 headerSize = rudLE32(dib, 0);
    if (headerSize < 40 || headerSize > quint32(dib.size()))
        failIcon("bad bitmap header");
    const qint32 width = qint32(rudLE32(dib, 4));
    const qint32 doubleHeight = qint32(rudLE32(dib, 8));
    const quint32 bitCount = rudLE16(dib, 14);
    const quint32 compression = rudLE32(dib, 16);
    quint32 colorsUsed = rudLE32(dib, 32);
    if (compression != 0)
        failIcon("compressed bitmap");
    // In 64 bits: the height of a hostile header may be INT_MIN.
    const qint64 halfHeight = std::abs(qint64(doubleHeight)) / 2;
    if (width <= 0 || halfHeight <= 0 || quint32(width) > maxIconSide || halfHeight > qint64(maxIconSide))
        failIcon("image size out of range");
    const qint32 height = qint32(halfHeight);
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        failIcon("unsupported colour depth");

    quint32 paletteSize = 0;
    if (bitCount <= 8) {
        if (colorsUsed == 0 || colorsUsed > (1u << bitCount))
            colorsUsed = 1u << bitCount;
        paletteSize = colorsUsed;
    }
    const qint64 paletteAt = headerSize;
    const qint64 xorAt = paletteAt + qint64(paletteSize) * 4;
    const qint64 xorStride = ((qint64(width) * bitCount + 31) / 32) * 4;
    const qint64 andAt = xorAt + xorStride * height;
    const qint64 andStride = ((qint64(width) + 31) / 32) * 4;
    if (andAt > dib.size())
        failIcon("bitmap data cut short");
    // Many 32-bit icons leave the mask out; it is only used when present.
    const bool hasMask = andAt + andStride * height <= dib.size();

    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        failIcon("out of memory");
    const uchar *bytes = reinterpret_cast<const uchar *>(dib.constData());
    bool anyAlpha = false;
    for (qint32 y = 0; y < height; ++y) {
        // Rows are stored bottom-up.
        const uchar *row = bytes + xorAt + xorStride * (height - 1 - y);
        QRgb *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (qint32 x = 0; x < width; ++x) {
            if (bitCount == 32) {
                const uchar *p = row + 4 * x;
                out[x] = qRgba(p[2], p[1], p[0], p[3]);
                anyAlpha = anyAlpha || p[3] != 0;
            } else if (bitCount == 24) {
                const uchar *p = row + 3 * x;
                out[x] = qRgb(p[2], p[1], p[0]);
            } else {
                const quint32 perByte = 8 / bitCount;
                const quint32 shift = 8 - bitCount * (1 + quint32(x) % perByte);
                const quint32 index = (row[x / perByte] >> shift) & ((1u << bitCount) - 1);
                if (index < paletteSize) {
                    const uchar *p = bytes + paletteAt + 4 * index;
                    out[x] = qRgb(p[2], p[1], p[0]);
                } else {
                    out[x] = qRgb(0, 0, 0);
                }
            }
        }
    }
    if (bitCount == 32 && anyAlpha)
        return image;
    for (qint32 y = 0; y < height; ++y) {
        QRgb *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        const uchar *mask = hasMask ? bytes + andAt + andStride * (height - 1 - y) : nullptr;
        for (qint32 x = 0; x < width; ++x) {
            const bool transparent = mask && (mask[x / 8] >> (7 - x % 8) & 1);
            out[x] = transparent ? qRgba(0, 0, 0, 0) : (out[x] | 0xFF000000u);
        }
    }
    return image;
}

} // namespace

QImage rudDecodeIcon(const QByteArray &data)
{
    if (data.size() < iconDirSize)
        failIcon("file cut short");
    const quint32 count = rudLE16(data, 4);
    if (count == 0)
        failIcon("no images");
    if (iconDirSize + qint64(count) * iconEntrySize > data.size())
        failIcon("directory cut short");

    // The largest entry wins, then the deepest colours.
    bool found = false;
    TIconEntry best{};
    for (quint32 i = 0; i < count; ++i) {
        const qint64 at = iconDirSize + qint64(i) * iconEntrySize;
        TIconEntry e;
        e.Width = uchar(data[at]) ? uchar(data[at]) : 256;
        e.Height = uchar(data[at + 1]) ? uchar(data[at + 1]) : 256;
        e.BitCount = rudLE16(data, at + 6);
        e.Size = rudLE32(data, at + 8);
        e.Offset = rudLE32(data, at + 12);
        if (e.Size == 0 || qint64(e.Offset) + e.Size > data.size())
            continue;
        const quint64 area = quint64(e.Width) * e.Height, bestArea = quint64(best.Width) * best.Height;
        if (!found || area > bestArea || (area == bestArea && e.BitCount > best.BitCount)) {
            best = e;
            found = true;
        }
    }
    if (!found)
        failIcon("no image inside the file");
    const QByteArray entry = data.mid(best.Offset, best.Size);
    if (rudIsPngSignature(entry))
        return rudDecodePng(entry);
    return decodeDib(entry);
}

QSize rudMetafileSize(const QByteArray &data)
{
    if (data.size() >= 22 && rudLE32(data, 0) == 0x9AC6CDD7u) {
        // Placeable header: bounding box in metafile units, and units per inch.
        const int left = qint16(rudLE16(data, 6)), top = qint16(rudLE16(data, 8));
        const int right = qint16(rudLE16(data, 10)), bottom = qint16(rudLE16(data, 12));
        const int inch = int(rudLE16(data, 14)) ? int(rudLE16(data, 14)) : 1440;
        return QSize(int(std::lround(std::abs(right - left) * 96.0 / inch)),
                     int(std::lround(std::abs(bottom - top) * 96.0 / inch)));
    }
    if (data.size() >= 108 && data.mid(40, 4) == " EMF") {
        // Enhanced header: the picture frame in hundredths of a millimetre.
        const double left = qint32(rudLE32(data, 24)), top = qint32(rudLE32(data, 28));
        const double right = qint32(rudLE32(data, 32)), bottom = qint32(rudLE32(data, 36));
        const double w = std::abs(right - left) * 96.0 / 2540.0, h = std::abs(bottom - top) * 96.0 / 2540.0;
        if (w > 1e6 || h > 1e6)
            return {};
        return QSize(int(std::lround(w)), int(std::lround(h)));
    }
    return {};
}
