#include "base/SafeSave.h"

#include "base/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void refuse(const QString &fileName, const QString &reason)
{
    throw EInOutError(QStringLiteral("Cannot save file \"%1\": %2").arg(QDir::toNativeSeparators(fileName), reason));
}

[[noreturn]] void refuseErrno(const QString &fileName, int error)
{
    refuse(fileName, qt_error_string(error));
}

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder, not a regular file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device, not a regular file");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a pipe (FIFO), not a regular file");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket, not a regular file");
    return QStringLiteral("it is not a regular file");
}

// Closes and removes the temporary file unless the save reached its rename.
class TempFile {
public:
    ~TempFile()
    {
        if (fd >= 0)
            ::close(fd);
        if (!path.isEmpty())
            ::unlink(path.constData());
    }
    int fd = -1;
    QByteArray path;
};

// A hidden name beside target that nobody is likely to use:
// ".NAME.RANDOM" + suffix.
QByteArray hiddenTwin(const QByteArray &target, const char *suffix)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : target.left(slash + 1);
    const QByteArray base = slash < 0 ? target : target.mid(slash + 1);
    return folder + '.' + base + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + suffix;
}

// Opens a new file of a name nobody uses, beside the target. A brand-new file
// gets mode 0666 less the umask, as any other new file would.
void createTemp(TempFile &temp, const QString &fileName, const QByteArray &target, bool exists)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = hiddenTwin(target, ".tmp");
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
        if (fd >= 0) {
            temp.fd = fd;
            temp.path = name;
            return;
        }
        if (errno != EEXIST)
            refuseErrno(fileName, errno);
    }
    refuseErrno(fileName, EEXIST);
}

void writeAll(const QString &fileName, int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            refuseErrno(fileName, errno);
        }
        if (written == 0)
            refuseErrno(fileName, ENOSPC);
        data += written;
        left -= written;
    }
}

// A target checked for a save: the file a symbolic link leads to, and what
// the file was before.
struct TTarget {
    QString FileName;  // as the caller named it, for messages
    QByteArray Path;   // the file that is replaced
    bool Exists = false;
    struct stat Old {};
};

TTarget checkTarget(const QString &fileName)
{
    if (fileName.isEmpty())
        throw EInOutError(QStringLiteral("Cannot save a file without a name"));
    TTarget target;
    target.FileName = fileName;
    target.Path = QFile::encodeName(fileName);
    struct stat &old = target.Old;
    target.Exists = ::lstat(target.Path.constData(), &old) == 0;
    if (!target.Exists && errno != ENOENT)
        refuseErrno(fileName, errno);
    if (target.Exists && S_ISLNK(old.st_mode)) {
        const QString resolved = QFileInfo(fileName).canonicalFilePath();
        if (resolved.isEmpty())
            refuse(fileName, QStringLiteral("it is a symbolic link to a file that does not exist"));
        target.Path = QFile::encodeName(resolved);
        if (::stat(target.Path.constData(), &old) != 0)
            refuseErrno(fileName, errno);
    }
    if (target.Exists) {
        if (!S_ISREG(old.st_mode))
            refuse(fileName, kindOf(old.st_mode));
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.Path.constData(), W_OK) != 0)
            refuse(fileName, QStringLiteral("the file is read-only"));
        if (old.st_nlink > 1)
            refuse(fileName, QStringLiteral("the file has other hard links, which a save would separate from it"));
    }
    return target;
}

// Gives a file's temporary twin the old file's owner and permission bits.
void takeOwnerAndMode(const TTarget &target, int fd)
{
    if (!target.Exists)
        return;
    // Owner first: changing it clears the set-id bits that fchmod restores.
    if ((target.Old.st_uid != ::geteuid() || target.Old.st_gid != ::getegid())
        && ::fchown(fd, target.Old.st_uid, target.Old.st_gid) != 0) {
        // A user who may not give the file away keeps it as its new owner.
    }
    if (::fchmod(fd, target.Old.st_mode & 07777) != 0)
        refuseErrno(target.FileName, errno);
}

// Writes bytes into a new temporary file beside the target, synced and
// closed, ready to be renamed over it.
void writeTemp(TempFile &temp, const TTarget &target, const QByteArray &bytes)
{
    createTemp(temp, target.FileName, target.Path, target.Exists);
    takeOwnerAndMode(target, temp.fd);
    writeAll(target.FileName, temp.fd, bytes);
    // A file system that cannot sync (EINVAL) has nothing to flush.
    if (::fsync(temp.fd) != 0 && errno != EINVAL)
        refuseErrno(target.FileName, errno);
    const int fd = temp.fd;
    temp.fd = -1;
    if (::close(fd) != 0)
        refuseErrno(target.FileName, errno);
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArrayLiteral(".") : slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// The rename is durable once the folder is synced; the new file is already
// in place, so a folder that cannot be synced does not fail the save.
void syncFolder(const QByteArray &folder)
{
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
}

// Keeps the old file of a target under a second name until the set is
// committed: a hard link where the file system has them, else a copy.
void keepOld(TempFile &backup, const TTarget &target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = hiddenTwin(target.Path, ".old");
        if (::link(target.Path.constData(), name.constData()) == 0) {
            backup.path = name;
            return;
        }
        if (errno != EEXIST)
            break;
    }
    QFile old(QFile::decodeName(target.Path));
    if (!old.open(QIODevice::ReadOnly))
        refuse(target.FileName, old.errorString());
    const QByteArray bytes = old.readAll();
    if (old.error() != QFileDevice::NoError)
        refuse(target.FileName, old.errorString());
    writeTemp(backup, target, bytes);
}

} // namespace

void saveFileAtomically(const QString &fileName, const QByteArray &bytes)
{
    const TTarget target = checkTarget(fileName);
    TempFile temp;
    writeTemp(temp, target, bytes);
    if (::rename(temp.path.constData(), target.Path.constData()) != 0)
        refuseErrno(fileName, errno);
    temp.path.clear();
    syncFolder(folderOf(target.Path));
}

struct TAtomicSaveSet::TEntry {
    TTarget Target;
    TempFile Temp;
    TempFile Backup;
};

TAtomicSaveSet::TAtomicSaveSet() = default;

TAtomicSaveSet::~TAtomicSaveSet() = default;

void TAtomicSaveSet::Add(const QString &fileName, const QByteArray &bytes)
{
    auto entry = std::make_unique<TEntry>();
    entry->Target = checkTarget(fileName);
    for (const auto &other : FEntries)
        if (other->Target.Path == entry->Target.Path)
            refuse(fileName, QStringLiteral("the file is already part of this save"));
    writeTemp(entry->Temp, entry->Target, bytes);
    FEntries.push_back(std::move(entry));
}

// Every old file is kept under a second name before the first rename, so a
// rename that fails can be undone for the targets already replaced. The set
// is emptied whatever happens: its temporary files and second names go.
void TAtomicSaveSet::Commit()
{
    std::vector<std::unique_ptr<TEntry>> entries;
    entries.swap(FEntries);
    for (const auto &entry : entries)
        if (entry->Target.Exists)
            keepOld(entry->Backup, entry->Target);
    for (size_t i = 0; i < entries.size(); ++i) {
        TEntry &entry = *entries[i];
        if (::rename(entry.Temp.path.constData(), entry.Target.Path.constData()) == 0) {
            entry.Temp.path.clear();
            continue;
        }
        const int error = errno;
        for (size_t j = 0; j < i; ++j) {
            TEntry &done = *entries[j];
            if (!done.Target.Exists)
                (void)::unlink(done.Target.Path.constData());
            else if (::rename(done.Backup.path.constData(), done.Target.Path.constData()) == 0)
                done.Backup.path.clear();
        }
        refuseErrno(entry.Target.FileName, error);
    }
    QSet<QByteArray> folders;
    for (const auto &entry : entries)
        folders.insert(folderOf(entry->Target.Path));
    entries.clear();
    for (const QByteArray &folder : folders)
        syncFolder(folder);
}
