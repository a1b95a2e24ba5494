#include "report/model/rudPictureCache.h"

#include "base/Errors.h"
#include "report/model/rudPictureView.h"
#include "report/model/rudXML.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>

TfrxPictureCache::TfrxPictureCache() = default;

TfrxPictureCache::~TfrxPictureCache()
{
    Clear();
}

void TfrxPictureCache::Clear()
{
    for (TSegment &s : FSegments) {
        s.Stream->close();
        s.Stream.reset();
        if (!s.FileName.isEmpty())
            QFile::remove(s.FileName);
    }
    FSegments.clear();
    FItems.clear();
}

void TfrxPictureCache::SetUseFileCache(bool Value)
{
    if (FSegments.empty())
        FUseFileCache = Value;
}

void TfrxPictureCache::SetTempDir(const QString &Value)
{
    if (FSegments.empty())
        FTempDir = Value;
}

QStringList TfrxPictureCache::TempFile() const
{
    QStringList names;
    for (const TSegment &s : FSegments)
        if (!s.FileName.isEmpty())
            names.append(s.FileName);
    return names;
}

void TfrxPictureCache::AddSegment()
{
    TSegment segment;
    if (FUseFileCache) {
        QString dir = FTempDir.isEmpty() ? QDir::tempPath() : FTempDir;
        if (!dir.endsWith(u'/'))
            dir += u'/';
        auto file = std::make_unique<QTemporaryFile>(dir + QStringLiteral("frPicXXXXXX.tmp"));
        // The file is deleted by Clear; a QTemporaryFile would also delete it
        // on destruction, but then the name list could outlive the file.
        file->setAutoRemove(false);
        if (!file->open())
            throw EInOutError(QStringLiteral("Cannot create temporary file in \"%1\". %2")
                                  .arg(QDir::toNativeSeparators(dir), file->errorString()));
        segment.FileName = file->fileName();
        segment.Stream = std::move(file);
    } else {
        auto buffer = std::make_unique<QBuffer>();
        buffer->open(QIODevice::ReadWrite);
        segment.Stream = std::move(buffer);
    }
    FSegments.push_back(std::move(segment));
}

QIODevice *TfrxPictureCache::StartEntry()
{
    if (FSegments.empty() || FSegments.back().Stream->size() > FSegmentLimit)
        AddSegment();
    QIODevice *stream = FSegments.back().Stream.get();
    const qint64 offset = stream->size();
    FItems.push_back({int(FSegments.size()) - 1, offset});
    stream->seek(offset);
    return stream;
}

void TfrxPictureCache::Append(QIODevice *Stream, const QByteArray &Bytes)
{
    Stream->seek(Stream->size());
    if (Stream->write(Bytes) != Bytes.size())
        throw EInOutError(QStringLiteral("Cannot write the picture cache: %1").arg(Stream->errorString()));
}

int TfrxPictureCache::AddPicture(const TfrxPicture &Picture)
{
    const auto &graphic = Picture.Graphic();
    if (!graphic || graphic->Bytes().isEmpty())
        return 0;
    QIODevice *stream = StartEntry();
    try {
        Append(stream, graphic->Bytes());
    } catch (const Exception &) {
        FItems.pop_back();
        throw;
    }
    return Count();
}

void TfrxPictureCache::AddPicture(TfrxPictureView *Picture)
{
    Picture->SetImageIndex(AddPicture(*Picture->Picture()));
}

void TfrxPictureCache::GetPicture(TfrxPictureView *Picture) const
{
    GetPicture(Picture->ImageIndex(), *Picture->Picture());
}

QByteArray TfrxPictureCache::EntryBytes(int ImageIndex) const
{
    if (ImageIndex < 1 || ImageIndex > Count())
        return {};
    const TEntry &entry = FItems[size_t(ImageIndex - 1)];
    QIODevice *stream = FSegments[size_t(entry.Segment)].Stream.get();
    qint64 end = stream->size();
    if (ImageIndex < Count() && FItems[size_t(ImageIndex)].Segment == entry.Segment)
        end = FItems[size_t(ImageIndex)].Offset;
    if (!stream->seek(entry.Offset))
        return {};
    return stream->read(end - entry.Offset);
}

void TfrxPictureCache::GetPicture(int ImageIndex, TfrxPicture &Picture) const
{
    if (ImageIndex < 1 || ImageIndex > Count()) {
        Picture.Clear();
        return;
    }
    // The entry alone, so that the reader sees its end as the stream's end.
    QByteArray bytes = EntryBytes(ImageIndex);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    rudLoadPictureFromStream(Picture, &buffer, false);
}

void TfrxPictureCache::SaveToXML(TfrxXMLItem *Item) const
{
    Item->Clear();
    for (int i = 1; i <= Count(); ++i)
        Item->Add(QStringLiteral("item"))->SetProp(QStringLiteral("stream"),
                                                   QString::fromLatin1(EntryBytes(i).toHex().toUpper()));
}

void TfrxPictureCache::LoadFromXML(TfrxXMLItem *Item)
{
    Clear();
    for (int i = 0; i < Item->Count(); ++i)
        Append(StartEntry(), QByteArray::fromHex(Item->Items(i)->Prop(QStringLiteral("stream")).toLatin1()));
}
