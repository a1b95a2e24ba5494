// TfrxXMLDocument: loading, saving, and the swap file of unloadable items.

#include "report/model/rudXML.h"

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
    TfrxXMLReader reader(Stream);
    reader.ReadHeader();
    FOldVersion = reader.OldFormat();
    reader.ReadRootItem(FRoot.get(), !AllowPartialLoading);
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
    auto file = std::make_unique<QFile>(FileName);
    if (!file->open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2")
                              .arg(QDir::toNativeSeparators(FileName), file->errorString()));
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

// The new text goes to a side file first, so a failed write never damages
// the file that is being replaced.
void TfrxXMLDocument::SaveToFile(const QString &FileName)
{
    const QString tempName = FileName + QStringLiteral(".tmp");
    {
        QFile file(tempName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2")
                                  .arg(QDir::toNativeSeparators(tempName), file.errorString()));
        try {
            SaveToStream(&file);
            if (!file.flush())
                throw EInOutError(QStringLiteral("Stream write error"));
        } catch (...) {
            file.close();
            QFile::remove(tempName);
            throw;
        }
        file.close();
    }
    DeleteTempFile();
    QFile::remove(FileName);
    if (!QFile::rename(tempName, FileName)) {
        QFile::remove(tempName);
        throw EInOutError(QStringLiteral("Cannot create file \"%1\"").arg(QDir::toNativeSeparators(FileName)));
    }
    LoadFromFile(FileName);
}

void TfrxXMLDocument::LoadItem(TfrxXMLItem *Item)
{
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
    if (!Item || !Item->Loaded() || !Item->Unloadable())
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
