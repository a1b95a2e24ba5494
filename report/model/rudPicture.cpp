#include "report/model/rudPicture.h"

#include "base/Errors.h"
#include "base/InputFile.h"
#include "report/model/rudPictureLimits.h"
#include "report/model/rudGraphic_p.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The binary property stream's value type of binary data.
constexpr char vaBinary = 10;
const QByteArray dataPropName = QByteArrayLiteral("Data");

void appendLE32(QByteArray &out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

// Bitmaps, JPEG images and metafiles write their byte count before their
// bytes; icons and PNG images write their bytes alone.
bool writesLength(TfrxGraphicKind kind)
{
    return kind == TfrxGraphicKind::Bitmap || kind == TfrxGraphicKind::Jpeg || kind == TfrxGraphicKind::Metafile;
}

TfrxGraphicKind kindOfExtension(const QString &fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == u"bmp" || ext == u"dib")
        return TfrxGraphicKind::Bitmap;
    if (ext == u"jpg" || ext == u"jpeg" || ext == u"jpe" || ext == u"jfif")
        return TfrxGraphicKind::Jpeg;
    if (ext == u"png")
        return TfrxGraphicKind::Png;
    if (ext == u"ico")
        return TfrxGraphicKind::Icon;
    if (ext == u"wmf" || ext == u"emf")
        return TfrxGraphicKind::Metafile;
    return TfrxGraphicKind::None;
}

// The graphic inside a PropData stream; nullptr when the stream is not the
// one-property form a picture writes.
std::shared_ptr<const TfrxGraphic> graphicOfPropData(const QByteArray &data)
{
    // Property name as a length-prefixed string, value type, 32-bit length.
    if (data.size() < 1 + dataPropName.size() + 1 + 4 || uchar(data[0]) != dataPropName.size() ||
        data.mid(1, dataPropName.size()).compare(dataPropName, Qt::CaseInsensitive) != 0)
        return nullptr;
    qint64 at = 1 + dataPropName.size();
    if (data[at] != vaBinary)
        return nullptr;
    const quint32 length = rudLE32(data, at + 1);
    at += 5;
    if (length > quint64(data.size() - at) || length < 1)
        return nullptr;
    const QByteArray payload = data.mid(at, length);
    const int nameLength = uchar(payload[0]);
    if (1 + nameLength > payload.size())
        return nullptr;
    TfrxGraphicKind kind = rudGraphicKindOfClassName(QString::fromLatin1(payload.mid(1, nameLength)));
    QByteArray bytes = payload.mid(1 + nameLength);

    // Whether a byte count precedes the graphic's bytes depends on its class;
    // either form is accepted, the class's own form first.
    // A count looks like the start of an icon to the recognition, so an icon
    // seen in the raw bytes does not rule a count out.
    if (bytes.size() >= 4 && rudLE32(bytes, 0) == quint32(bytes.size() - 4)) {
        const TfrxGraphicKind raw = rudDetectGraphicKind(bytes);
        const TfrxGraphicKind rest = rudDetectGraphicKind(bytes.constData() + 4, bytes.size() - 4);
        const bool strip = writesLength(kind) ||
                           (kind != TfrxGraphicKind::None
                                ? raw != kind && rest == kind
                                : rest != TfrxGraphicKind::None &&
                                      (raw == TfrxGraphicKind::None || raw == TfrxGraphicKind::Icon));
        if (strip)
            bytes.remove(0, 4);
    }
    if (kind == TfrxGraphicKind::None)
        kind = rudDetectGraphicKind(bytes);
    if (kind == TfrxGraphicKind::None || bytes.isEmpty())
        return nullptr;
    return TfrxGraphic::LoadKeeping(kind, std::move(bytes));
}

} // namespace

void TfrxPicture::Assign(const TfrxPicture &Source)
{
    if (&Source == this)
        return;
    FGraphic = Source.FGraphic;
    FPropData = Source.FPropData;
    if (OnChange)
        OnChange();
}

void TfrxPicture::SetGraphic(std::shared_ptr<const TfrxGraphic> Value)
{
    FGraphic = std::move(Value);
    FPropData.clear();
    if (OnChange)
        OnChange();
}

void TfrxPicture::LoadFromFile(const QString &FileName)
{
    QFile file;
    openRegularFile(file, FileName);
    QByteArray bytes = readWholeFile(file, rudMaxPictureFileSize);
    TfrxGraphicKind kind = kindOfExtension(FileName);
    if (kind == TfrxGraphicKind::None)
        kind = rudDetectGraphicKind(bytes);
    if (kind == TfrxGraphicKind::None)
        throw EGeneralError(QStringLiteral("Unknown picture file extension (.%1)").arg(QFileInfo(FileName).suffix()));
    SetGraphic(TfrxGraphic::Load(kind, std::move(bytes)));
}

void TfrxPicture::SaveToStream(QIODevice *Stream) const
{
    if (FGraphic && Stream->write(FGraphic->Bytes()) != FGraphic->Bytes().size())
        throw EInOutError(QStringLiteral("Stream write error"));
}

QByteArray TfrxPicture::GetPropData() const
{
    if (!FPropData.isEmpty())
        return FPropData;
    if (!FGraphic || FGraphic->Bytes().isEmpty())
        return {};
    const QByteArray className = rudGraphicClassName(FGraphic->Kind()).toLatin1();
    const QByteArray &bytes = FGraphic->Bytes();
    QByteArray payload;
    payload.append(char(className.size()));
    payload.append(className);
    if (writesLength(FGraphic->Kind()))
        appendLE32(payload, quint32(bytes.size()));
    payload.append(bytes);

    QByteArray out;
    out.append(char(dataPropName.size()));
    out.append(dataPropName);
    out.append(vaBinary);
    appendLE32(out, quint32(payload.size()));
    out.append(payload);
    return out;
}

void TfrxPicture::SetPropData(const QByteArray &Data)
{
    std::shared_ptr<const TfrxGraphic> graphic = graphicOfPropData(Data);
    FGraphic = std::move(graphic);
    FPropData = Data;
    if (OnChange)
        OnChange();
}

bool TfrxPicture::ReadUnpublished(QStringView Name, const QString &Value)
{
    if (!TfrxPersistent::ReadUnpublished(Name, Value))
        return false;
    if (!Value.isEmpty() && (!FGraphic || !FGraphic->Decoded()))
        throw EGeneralError(QStringLiteral("The picture data is damaged"));
    return true;
}

int rudLoadPictureFromStream(TfrxPicture &Picture, QIODevice *Stream, bool ResetStreamPos, TfrxGraphicKind *Kind)
{
    if (Kind)
        *Kind = TfrxGraphicKind::None;
    if (ResetStreamPos)
        Stream->seek(0);
    QByteArray bytes = Stream->isSequential() ? Stream->readAll() : Stream->read(Stream->size() - Stream->pos());
    bytes.remove(0, rudDatabaseHeaderSize(bytes.constData(), bytes.size()));
    const TfrxGraphicKind kind = rudDetectGraphicKind(bytes);
    if (kind == TfrxGraphicKind::None) {
        Picture.Clear();
        return E_INVALIDARG;
    }
    std::shared_ptr<const TfrxGraphic> graphic;
    try {
        graphic = TfrxGraphic::Load(kind, std::move(bytes));
    } catch (const Exception &) {
        Picture.Clear();
        throw;
    }
    Picture.SetGraphic(std::move(graphic));
    if (Kind)
        *Kind = kind;
    return 0;
}
