#pragma once
// A small file system for tests of saves on a full disk.

#include <QString>
#include <QTemporaryDir>

// A tmpfs of a given size mounted on a fresh folder and unmounted again on
// destruction. Mounting needs root (or a user namespace that allows it); when
// it cannot be mounted, Mounted() is false and SkipReason() says why.
class TSmallFileSystem {
public:
    explicit TSmallFileSystem(qint64 bytes);
    ~TSmallFileSystem();
    TSmallFileSystem(const TSmallFileSystem &) = delete;
    TSmallFileSystem &operator=(const TSmallFileSystem &) = delete;

    bool Mounted() const { return FMounted; }
    QString SkipReason() const { return FSkipReason; }
    // The mounted folder; a file path inside it.
    QString Path() const { return FDir.path(); }
    QString FilePath(const QString &name) const { return FDir.filePath(name); }
    // Fills the file system with a filler file until only about `keep` bytes
    // stay free.
    void Fill(qint64 keep = 0);

private:
    QTemporaryDir FDir;
    bool FMounted = false;
    QString FSkipReason;
};
