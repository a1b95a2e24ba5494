// TfrxXMLDocument: loading, saving, and the swap file of unloadable items.

#include "base/Xml.h"

#include "base/InputFile.h"
#include "base/SafeSave.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

TfrxXMLDocument::TfrxXMLDocument() : FRoot(std::make_unique<TfrxXMLItem>()) {}

TfrxXMLDocument::~TfrxXMLDocument()
{
    DeleteTempFile();
}

void TfrxXMLDocument::Clear()
{
    FRoot->Clear();
    DeleteTempFile();
}

void TfrxXMLDocument::LoadFrom(QIODevice *Stream, bool AllowPartialLoading)
{
    // The root takes the name and attributes of the document read; a name
    // left from an earlier document would make the reader treat the root tag
    // as a re-read and discard it.
    FRoot->Clear();
    FRoot->SetName(QString());
    FRoot->SetText(QString());
    FRoot->SetOffset(0);
    FOldVersion = false;
    FDamage.clear();
    FUnreadable.clear();
    TfrxXMLReader reader(Stream);
    reader.ReadHeader();
    FOldVersion = reader.OldFormat();
    const bool haveRoot = reader.ReadRootItem(FRoot.get(), !AllowPartialLoading);
    FUnreadable = reader.Unreadable();
    if (!haveRoot) {
        FDamage = QStringLiteral("The file has no root element: it is damaged");
        return;
    }
    if (reader.Truncated()) {
        FDamage = QStringLiteral("The file ends before all its elements are closed: it is incomplete or damaged");
        return;
    }
    // Whatever follows the root's end tag would be silently dropped.
    QString name, text;
    try {
        reader.ReadItem(name, text);
    } catch (const TfrxInvalidXMLException &) {
        name = QStringLiteral("?");
    }
    if (!name.isEmpty())
        FDamage = QStringLiteral("The file holds data after the end of its root element: it is damaged");
}

void TfrxXMLDocument::LoadFromStream(QIODevice *Stream, bool AllowPartialLoading)
{
    DeleteTempFile();
    if (AllowPartialLoading)
        FTempStream = Stream;
    LoadFrom(Stream, AllowPartialLoading);
}

void TfrxXMLDocument::LoadFromStream(std::unique_ptr<QIODevice> Stream, bool AllowPartialLoading)
{
    DeleteTempFile();
    QIODevice *stream = Stream.get();
    if (AllowPartialLoading) {
        FOwnedStream = std::move(Stream);
        FTempStream = stream;
    }
    LoadFrom(stream, AllowPartialLoading);
}

void TfrxXMLDocument::LoadFromFile(const QString &FileName)
{
    auto file = std::make_unique<QFile>();
    openRegularFile(*file, FileName);
    LoadFromStream(std::move(file), true);
}

void TfrxXMLDocument::SaveToStream(QIODevice *Stream)
{
    TfrxXMLWriter writer(Stream);
    writer.SetAutoIndent(FAutoIndent);
    writer.SetTempStream(FTempStream);
    writer.WriteHeader();
    writer.WriteRootItem(FRoot.get());
}

// The whole text is built in memory first (parts not loaded yet are copied
// from the file being replaced), then committed atomically: a failed write
// never damages the file that is being replaced.
void TfrxXMLDocument::SaveToFile(const QString &FileName)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SaveToStream(&buffer);
    saveFileAtomically(FileName, buffer.data());
    DeleteTempFile();
    LoadFromFile(FileName);
}

void TfrxXMLDocument::LoadItem(TfrxXMLItem *Item)
{
    if (Item && Item->Packed()) {
        Item->Unpack();
        return;
    }
    if (!FTempStream || !Item || !Item->Unloadable() || Item->Loaded())
        return;
    {
        TfrxXMLReader reader(FTempStream);
        reader.SetPosition(Item->Offset());
        try {
            reader.ReadRootItem(Item, true);
        } catch (...) {
            // Half-read children would be read a second time by the next try.
            Item->Clear();
            throw;
        }
    }
    Item->SetLoaded(true);
}

void TfrxXMLDocument::UnloadItem(TfrxXMLItem *Item)
{
    if (!Item || !Item->Unloadable())
        return;
    if (Item->Packed())
        Item->Unpack();
    if (!Item->Loaded())
        return;
    CreateTempFile();
    const qint64 offset = FTempStream->size();
    {
        TfrxXMLWriter writer(FTempStream);
        writer.SetTempStream(FTempStream);
        writer.WriteRootItem(Item);
    }
    Item->SetOffset(offset);
    Item->Clear();
}

// A source stream kept by partial loading is copied to the start of the new
// swap file, so the offsets of items still unloaded into it stay valid once
// the swap file takes its place as TempStream.
void TfrxXMLDocument::CreateTempFile()
{
    if (FTempFileCreated)
        return;
    QString dir = FTempDir;
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::tempPath();
    if (!dir.endsWith(u'/') && !dir.endsWith(QDir::separator()))
        dir += u'/';
    auto file = std::make_unique<QTemporaryFile>(dir + QStringLiteral("frXXXXXX"));
    if (!file->open())
        throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2")
                              .arg(QDir::toNativeSeparators(file->fileTemplate()), file->errorString()));
    if (FTempStream && FTempStream->seek(0)) {
        char chunk[65536];
        for (;;) {
            const qint64 got = FTempStream->read(chunk, sizeof chunk);
            if (got <= 0)
                break;
            if (file->write(chunk, got) != got)
                throw EInOutError(QStringLiteral("Stream write error"));
        }
    }
    ReleaseTempStream();
    FTempFile = file->fileName();
    FTempStream = file.get();
    FOwnedStream = std::move(file);
    FTempFileCreated = true;
}

void TfrxXMLDocument::ReleaseTempStream()
{
    FTempStream = nullptr;
    FOwnedStream.reset();
}

void TfrxXMLDocument::DeleteTempFile()
{
    // The swap file is a QTemporaryFile: freeing it closes and deletes it.
    ReleaseTempStream();
    FTempFile.clear();
    FTempFileCreated = false;
}
