// The engine's image lists: gzip-compressed bitmap strips unpacked with
// zlib, cut into cells, and the greyed copies of the toolbar images.

#include "report/model/rudRes.h"

#include "base/Errors.h"
#include "base/NumberFormat.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <zlib.h>

namespace {

[[noreturn]] void decompressError()
{
    throw EGeneralError(QStringLiteral("Stream decompress error"));
}

// The colour a glyph bitmap is filled with; buttons treat it as transparent.
const QRgb GlyphKeyColor = qRgb(128, 128, 0);   // 32896 with red in the lowest byte

} // namespace

void TfrxImageList::Add(const QImage &Image)
{
    FImages.append(Image.convertToFormat(QImage::Format_ARGB32));
}

void TfrxImageList::AddMasked(const QImage &Image, QRgb MaskColor)
{
    QImage image = Image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = MaskColor & 0xFFFFFF;
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = 0;
    }
    FImages.append(image);
}

// The header is parsed as gzip defines it (extra field, name, comment and
// header checksum are skipped), the deflate data inflated raw, and the
// trailer's checksum and length checked, so a damaged strip is an error
// instead of a wrong picture.
QString rudDecompressStream(QIODevice *Source, QIODevice *Dest)
{
    const QByteArray data = Source->readAll();
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    const qsizetype size = data.size();
    if (size < 18 || bytes[0] != 31 || bytes[1] != 139 || bytes[2] != 8)
        decompressError();
    const unsigned flags = bytes[3];
    qsizetype pos = 10;   // magic, method, flags, time (4), extra flags, OS
    if (flags & 4) {
        if (pos + 2 > size)
            decompressError();
        pos += 2 + (bytes[pos] | (bytes[pos + 1] << 8));
    }
    QString fileName;
    if (flags & 8) {
        const qsizetype start = pos;
        while (pos < size && bytes[pos] != 0)
            ++pos;
        fileName = QString::fromLatin1(data.constData() + start, pos - start);
        ++pos;
    }
    if (flags & 16) {
        while (pos < size && bytes[pos] != 0)
            ++pos;
        ++pos;
    }
    if (flags & 2)
        pos += 2;
    if (pos > size - 8)
        decompressError();

    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        decompressError();
    z.next_in = const_cast<Bytef *>(bytes + pos);
    z.avail_in = uInt(size - 8 - pos);
    unsigned char out[16384];
    uLong crc = crc32(0L, Z_NULL, 0);
    uLong total = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        z.next_out = out;
        z.avail_out = sizeof out;
        rc = inflate(&z, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) {
            inflateEnd(&z);
            decompressError();
        }
        const uInt produced = uInt(sizeof out - z.avail_out);
        if (produced == 0 && rc == Z_OK && z.avail_in == 0) {
            inflateEnd(&z);
            decompressError();   // truncated deflate data
        }
        crc = crc32(crc, out, produced);
        total += produced;
        if (Dest->write(reinterpret_cast<const char *>(out), produced) != qint64(produced)) {
            inflateEnd(&z);
            throw EInOutError(QStringLiteral("Stream write error"));
        }
    }
    inflateEnd(&z);
    const unsigned char *trailer = bytes + size - 8;
    const uLong storedCrc = uLong(trailer[0]) | uLong(trailer[1]) << 8 | uLong(trailer[2]) << 16 |
                            uLong(trailer[3]) << 24;
    const uLong storedSize = uLong(trailer[4]) | uLong(trailer[5]) << 8 | uLong(trailer[6]) << 16 |
                             uLong(trailer[7]) << 24;
    if (storedCrc != (crc & 0xFFFFFFFFUL) || storedSize != (total & 0xFFFFFFFFUL))
        decompressError();
    return fileName;
}

void rudMakeDisabledImage(QImage &Image)
{
    if (Image.format() != QImage::Format_ARGB32 && Image.format() != QImage::Format_RGB32)
        Image = Image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < Image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(Image.scanLine(y));
        for (int x = 0; x < Image.width(); ++x) {
            const QRgb p = line[x];
            const int q = (qRed(p) + qGreen(p) + qBlue(p)) / 3;
            const int g = int(std::min<qint64>(RoundHalfEven(q / 3.0) + 150, 255));
            line[x] = qRgba(g, g, g, qAlpha(p));
        }
    }
}

void rudAssignImages(const QImage &Bitmap, int Width, int Height, TfrxImageList &List,
                     TfrxImageList *Disabled)
{
    if (Width <= 0 || Height <= 0)
        return;
    for (int y = 0; y + Height <= Bitmap.height(); y += Height) {
        for (int x = 0; x + Width <= Bitmap.width(); x += Width) {
            const QImage cell = Bitmap.copy(x, y, Width, Height);
            List.AddMasked(cell, cell.pixel(0, Height - 1));
            if (Disabled) {
                QImage grey = List.Image(List.Count() - 1);
                rudMakeDisabledImage(grey);
                Disabled->Add(grey);
            }
        }
    }
}

void TfrxResources::LoadStrip(TfrxImageList &List, const QString &Name, TfrxImageList *Disabled)
{
    if (List.Count() > 0)
        return;
    QFile source(QStringLiteral(":/rud/images/") + Name + QStringLiteral(".bmp.gz"));
    if (!source.open(QIODevice::ReadOnly))
        return;
    QByteArray bitmap;
    QBuffer target(&bitmap);
    target.open(QIODevice::WriteOnly);
    rudDecompressStream(&source, &target);
    const QImage image = QImage::fromData(bitmap, "BMP");
    if (Disabled)
        Disabled->Clear();
    rudAssignImages(image, List.Width(), List.Height(), List, Disabled);
}

TfrxImageList &TfrxResources::GetMainButtonImages()
{
    LoadStrip(FMainButtonImages, QStringLiteral("DesgnButtons"), &FDisabledButtonImages);
    return FMainButtonImages;
}

TfrxImageList &TfrxResources::GetDisabledButtonImages()
{
    GetMainButtonImages();
    return FDisabledButtonImages;
}

TfrxImageList &TfrxResources::GetPreviewButtonImages()
{
    LoadStrip(FPreviewButtonImages, QStringLiteral("PreviewButtons"), nullptr);
    return FPreviewButtonImages;
}

TfrxImageList &TfrxResources::GetObjectImages()
{
    LoadStrip(FObjectImages, QStringLiteral("ObjectButtons"), nullptr);
    return FObjectImages;
}

TfrxImageList &TfrxResources::GetWizardImages()
{
    LoadStrip(FWizardImages, QStringLiteral("WizardButtons"), nullptr);
    return FWizardImages;
}

void TfrxResources::SetButtonImages(const QImage &Images, bool Clear)
{
    if (Clear) {
        FMainButtonImages.Clear();
        FDisabledButtonImages.Clear();
    }
    rudAssignImages(Images, 16, 16, FMainButtonImages, &FDisabledButtonImages);
}

void TfrxResources::SetPreviewButtonImages(const QImage &Images, bool Clear)
{
    if (Clear)
        FPreviewButtonImages.Clear();
    rudAssignImages(Images, 16, 16, FPreviewButtonImages);
}

void TfrxResources::SetObjectImages(const QImage &Images, bool Clear)
{
    if (Clear)
        FObjectImages.Clear();
    rudAssignImages(Images, 16, 16, FObjectImages);
}

void TfrxResources::SetWizardImages(const QImage &Images, bool Clear)
{
    if (Clear)
        FWizardImages.Clear();
    rudAssignImages(Images, 32, 32, FWizardImages);
}

QImage TfrxResources::Glyph(int Index)
{
    QImage glyph(32, 16, QImage::Format_ARGB32);
    glyph.fill(GlyphKeyColor);
    const TfrxImageList &main = GetMainButtonImages();
    if (Index >= 0 && Index < main.Count()) {
        QPainter painter(&glyph);
        painter.drawImage(0, 1, main.Image(Index));
        painter.drawImage(16, 1, FDisabledButtonImages.Image(Index));
    }
    return glyph;
}

void TfrxResources::SetGlyph(TfrxGlyphTarget &Button, int Index)
{
    Button.SetGlyph(Glyph(Index), 2);
}
