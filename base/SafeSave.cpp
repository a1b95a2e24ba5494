#include "base/SafeSave.h"

#include "base/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

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

// Opens a new file of a name nobody uses, beside the target. A brand-new file
// gets mode 0666 less the umask, as any other new file would.
void createTemp(TempFile &temp, const QString &fileName, const QByteArray &target, bool exists)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : target.left(slash + 1);
    const QByteArray base = slash < 0 ? target : target.mid(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = folder + '.' + base + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
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

} // namespace

void saveFileAtomically(const QString &fileName, const QByteArray &bytes)
{
    if (fileName.isEmpty())
        throw EInOutError(QStringLiteral("Cannot save a file without a name"));
    QByteArray target = QFile::encodeName(fileName);

    struct stat old {};
    bool exists = ::lstat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        refuseErrno(fileName, errno);
    if (exists && S_ISLNK(old.st_mode)) {
        const QString resolved = QFileInfo(fileName).canonicalFilePath();
        if (resolved.isEmpty())
            refuse(fileName, QStringLiteral("it is a symbolic link to a file that does not exist"));
        target = QFile::encodeName(resolved);
        if (::stat(target.constData(), &old) != 0)
            refuseErrno(fileName, errno);
    }
    if (exists) {
        if (!S_ISREG(old.st_mode))
            refuse(fileName, kindOf(old.st_mode));
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.constData(), W_OK) != 0)
            refuse(fileName, QStringLiteral("the file is read-only"));
        if (old.st_nlink > 1)
            refuse(fileName, QStringLiteral("the file has other hard links, which a save would separate from it"));
    }

    TempFile temp;
    createTemp(temp, fileName, target, exists);
    if (exists) {
        // Owner first: changing it clears the set-id bits that fchmod restores.
        if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            && ::fchown(temp.fd, old.st_uid, old.st_gid) != 0) {
            // A user who may not give the file away keeps it as its new owner.
        }
        if (::fchmod(temp.fd, old.st_mode & 07777) != 0)
            refuseErrno(fileName, errno);
    }
    writeAll(fileName, temp.fd, bytes);
    // A file system that cannot sync (EINVAL) has nothing to flush.
    if (::fsync(temp.fd) != 0 && errno != EINVAL)
        refuseErrno(fileName, errno);
    const int fd = temp.fd;
    temp.fd = -1;
    if (::close(fd) != 0)
        refuseErrno(fileName, errno);
    if (::rename(temp.path.constData(), target.constData()) != 0)
        refuseErrno(fileName, errno);
    temp.path.clear();

    // The rename is durable once the folder is synced; the new file is already
    // in place, so a folder that cannot be synced does not fail the save.
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArrayLiteral(".") : slash == 0 ? QByteArrayLiteral("/") : target.left(slash);
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
}
