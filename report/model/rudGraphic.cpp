#include "report/model/rudGraphic.h"

#include "base/Errors.h"
#include "report/model/rudGraphic_p.h"
#include "report/model/rudJpegImage.h"
#include "report/model/rudPictureLimits.h"
#include "report/model/rudPngImage.h"

#include <QBuffer>
#include <cstdlib>
#include <cstring>

namespace {

const unsigned char pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

quint16 le16(const char *p)
{
    return quint16(uchar(p[0]) | uchar(p[1]) << 8);
}

quint32 le32(const char *p)
{
    return quint32(le16(p)) | quint32(le16(p + 2)) << 16;
}

// Refuses a bitmap whose header announces more pixels than a picture may
// have, before the image reader allocates them. Headers too short to read
// are left to the reader, which rejects them.
void checkBitmapSize(const QByteArray &bytes)
{
    if (bytes.size() < 18)
        return;
    const char *d = bytes.constData();
    qint64 width, height;
    if (le32(d + 14) == 12) {
        if (bytes.size() < 22)
            return;
        width = le16(d + 18);
        height = le16(d + 20);
    } else {
        if (bytes.size() < 26)
            return;
        // Negative heights are top-down rows; 64 bits hold the magnitude of INT_MIN.
        width = std::abs(qint64(qint32(le32(d + 18))));
        height = std::abs(qint64(qint32(le32(d + 22))));
    }
    if (!rudPictureSizeAllowed(quint64(width), quint64(height)))
        throw EGeneralError(QStringLiteral("Invalid bitmap image: image size %1x%2 out of range").arg(width).arg(height));
}

} // namespace

TfrxGraphicKind rudDetectGraphicKind(const char *data, qint64 size)
{
    const auto *u = reinterpret_cast<const uchar *>(data);
    if (size >= 14 && u[0] == 'B' && u[1] == 'M')
        return TfrxGraphicKind::Bitmap;
    if (size >= 2 && u[0] == 0xFF && u[1] == 0xD8)
        return TfrxGraphicKind::Jpeg;
    if (size >= 8 && std::memcmp(u, pngSignature, 8) == 0)
        return TfrxGraphicKind::Png;
    if (size >= 22 && u[0] == 0xD7 && u[1] == 0xCD && u[2] == 0xC6 && u[3] == 0x9A)
        return TfrxGraphicKind::Metafile;
    if (size >= 108 && std::memcmp(u + 40, " EMF", 4) == 0)
        return TfrxGraphicKind::Metafile;
    if (size >= 6 && le16(data + 2) <= 1)
        return TfrxGraphicKind::Icon;
    return TfrxGraphicKind::None;
}

int rudDatabaseHeaderSize(const char *data, qint64 size)
{
    if (size >= 8 && le16(data) == 1 && le16(data + 2) == 256 && qint64(le32(data + 4)) == size - 8)
        return 8;
    return 0;
}

QString rudGraphicClassName(TfrxGraphicKind kind)
{
    switch (kind) {
    case TfrxGraphicKind::Bitmap: return QStringLiteral("TBitmap");
    case TfrxGraphicKind::Jpeg: return QStringLiteral("TJPEGImage");
    case TfrxGraphicKind::Png: return QStringLiteral("TPngImage");
    case TfrxGraphicKind::Metafile: return QStringLiteral("TMetafile");
    case TfrxGraphicKind::Icon: return QStringLiteral("TIcon");
    case TfrxGraphicKind::None: break;
    }
    return {};
}

TfrxGraphicKind rudGraphicKindOfClassName(const QString &name)
{
    static const struct {
        const char *Name;
        TfrxGraphicKind Kind;
    } names[] = {{"TBitmap", TfrxGraphicKind::Bitmap},   {"TJPEGImage", TfrxGraphicKind::Jpeg},
                 {"TPngImage", TfrxGraphicKind::Png},     {"TPNGObject", TfrxGraphicKind::Png},
                 {"TPNGGraphic", TfrxGraphicKind::Png},   {"TMetafile", TfrxGraphicKind::Metafile},
                 {"TIcon", TfrxGraphicKind::Icon}};
    for (const auto &n : names)
        if (name.compare(QLatin1String(n.Name), Qt::CaseInsensitive) == 0)
            return n.Kind;
    return TfrxGraphicKind::None;
}

void TfrxGraphic::Decode()
{
    switch (FKind) {
    case TfrxGraphicKind::Bitmap:
        checkBitmapSize(FBytes);
        FImage = QImage::fromData(FBytes, "BMP");
        if (FImage.isNull())
            throw EGeneralError(QStringLiteral("Invalid bitmap image"));
        break;
    case TfrxGraphicKind::Jpeg:
        FImage = rudDecodeJpeg(FBytes);
        break;
    case TfrxGraphicKind::Png:
        FImage = rudDecodePng(FBytes);
        break;
    case TfrxGraphicKind::Icon:
        FImage = rudDecodeIcon(FBytes);
        break;
    case TfrxGraphicKind::Metafile: {
        // Metafiles are kept as bytes; only their announced size is read.
        const QSize size = rudMetafileSize(FBytes);
        FWidth = size.width();
        FHeight = size.height();
        FDecoded = true;
        return;
    }
    case TfrxGraphicKind::None:
        throw EGeneralError(QStringLiteral("Unknown picture format"));
    }
    FWidth = FImage.width();
    FHeight = FImage.height();
    FDecoded = true;
}

std::shared_ptr<const TfrxGraphic> TfrxGraphic::Load(TfrxGraphicKind kind, QByteArray bytes)
{
    std::shared_ptr<TfrxGraphic> g(new TfrxGraphic);
    g->FKind = kind;
    g->FBytes = std::move(bytes);
    g->Decode();
    return g;
}

std::shared_ptr<const TfrxGraphic> TfrxGraphic::LoadKeeping(TfrxGraphicKind kind, QByteArray bytes)
{
    std::shared_ptr<TfrxGraphic> g(new TfrxGraphic);
    g->FKind = kind;
    g->FBytes = std::move(bytes);
    try {
        g->Decode();
    } catch (const Exception &) {
        // Decoded() tells the caller, who reports the damage (the
        // serializer's error list); the bytes stay to be written back.
        g->FImage = QImage();
        g->FWidth = g->FHeight = 0;
        g->FDecoded = false;
    }
    return g;
}

std::shared_ptr<const TfrxGraphic> TfrxGraphic::FromBytes(QByteArray bytes)
{
    const TfrxGraphicKind kind = rudDetectGraphicKind(bytes);
    if (kind == TfrxGraphicKind::None)
        throw EGeneralError(QStringLiteral("Unknown picture format"));
    return Load(kind, std::move(bytes));
}

std::shared_ptr<const TfrxGraphic> TfrxGraphic::FromImage(const QImage &image)
{
    if (image.isNull())
        return nullptr;
    std::shared_ptr<TfrxGraphic> g(new TfrxGraphic);
    g->FKind = TfrxGraphicKind::Png;
    QBuffer buffer(&g->FBytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw EGeneralError(QStringLiteral("Cannot encode the picture"));
    g->FImage = image.convertToFormat(QImage::Format_ARGB32);
    g->FWidth = image.width();
    g->FHeight = image.height();
    g->FDecoded = true;
    return g;
}
