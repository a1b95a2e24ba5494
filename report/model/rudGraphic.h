#pragma once
// Graphics of picture objects: the image formats recognised from their bytes,
// and one decoded graphic that keeps the exact bytes it was read from, so
// that templates and the picture cache write every image back unchanged.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <memory>

// The kinds of graphic a picture can hold.
enum class TfrxGraphicKind { None, Bitmap, Jpeg, Png, Metafile, Icon };

// Recognises the format of the size bytes at data, testing in this order:
// bitmap ("BM", at least 14 bytes), JPEG (FF D8), PNG (its 8-byte signature),
// placeable metafile (key D7 CD C6 9A, at least 22 bytes), enhanced metafile
// (" EMF" at offset 40, at least 108 bytes), icon (16-bit 0 or 1 at offset 2,
// at least 6 bytes). None when no test matches.
TfrxGraphicKind rudDetectGraphicKind(const char *data, qint64 size);
inline TfrxGraphicKind rudDetectGraphicKind(const QByteArray &data)
{
    return rudDetectGraphicKind(data.constData(), data.size());
}

// Length of the 8-byte database image header that precedes the image in
// binary data fields (16-bit 1 and 256, then a 32-bit length equal to the
// bytes that follow), or 0 when data does not begin with one.
int rudDatabaseHeaderSize(const char *data, qint64 size);

// The class name a graphic kind carries in picture PropData ("TBitmap",
// "TJPEGImage", "TPngImage", "TMetafile", "TIcon"); empty for None.
QString rudGraphicClassName(TfrxGraphicKind kind);
// The kind of a PropData class name (ignoring case; older PNG class names
// included); None when unknown.
TfrxGraphicKind rudGraphicKindOfClassName(const QString &name);

// One immutable graphic: its kind, its native file bytes and the decoded
// image. Shared between pictures by pointer, as copies never change it.
class TfrxGraphic {
public:
    // Decodes bytes of a known kind. Throws EGeneralError naming the fault
    // when they cannot be decoded.
    static std::shared_ptr<const TfrxGraphic> Load(TfrxGraphicKind kind, QByteArray bytes);
    // As Load, but bytes that cannot be decoded are kept as they are, with
    // an empty image and size 0 (so that they are still written back).
    static std::shared_ptr<const TfrxGraphic> LoadKeeping(TfrxGraphicKind kind, QByteArray bytes);
    // Recognises the kind of bytes, then Load. Throws EGeneralError when no
    // kind is recognised.
    static std::shared_ptr<const TfrxGraphic> FromBytes(QByteArray bytes);
    // A PNG graphic encoded from image (nullptr for a null image).
    static std::shared_ptr<const TfrxGraphic> FromImage(const QImage &image);

    TfrxGraphicKind Kind() const { return FKind; }
    // The native file bytes (a .bmp, .jpg, .png, .wmf/.emf or .ico file).
    const QByteArray &Bytes() const { return FBytes; }
    // The decoded image; null for metafiles and for undecodable bytes.
    const QImage &Image() const { return FImage; }
    // Size in pixels at 96 per inch (a metafile's from its header).
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // True when there is nothing to show (no pixels and no metafile size).
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
    // False when the bytes could not be decoded (LoadKeeping).
    bool Decoded() const { return FDecoded; }
    bool IsMetafile() const { return FKind == TfrxGraphicKind::Metafile; }

private:
    TfrxGraphic() = default;
    void Decode();

    TfrxGraphicKind FKind = TfrxGraphicKind::None;
    QByteArray FBytes;
    QImage FImage;
    int FWidth = 0;
    int FHeight = 0;
    bool FDecoded = false;
};
