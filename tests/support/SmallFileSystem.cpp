#include "support/SmallFileSystem.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

TSmallFileSystem::TSmallFileSystem(qint64 bytes)
{
    if (!FDir.isValid()) {
        FSkipReason = QStringLiteral("no temporary folder for the mount point");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
    if (::mount("tmpfs", QFile::encodeName(FDir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData()) != 0) {
        FSkipReason = QStringLiteral("cannot mount a small tmpfs here (%1); run the tests as root to cover full disks")
                          .arg(qt_error_string(errno));
        return;
    }
    FMounted = true;
}

TSmallFileSystem::~TSmallFileSystem()
{
    if (FMounted)
        ::umount2(QFile::encodeName(FDir.path()).constData(), MNT_DETACH);
}

void TSmallFileSystem::Fill(qint64 keep)
{
    const QByteArray path = QFile::encodeName(FilePath(QStringLiteral("filler")));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    const QByteArray block(4096, 'x');
    qint64 size = ::lseek(fd, 0, SEEK_END);
    for (;;) {
        const ssize_t written = ::write(fd, block.constData(), size_t(block.size()));
        if (written <= 0)
            break;
        size += written;
    }
    // tmpfs frees whole pages when a file shrinks; a filler that cannot
    // shrink leaves the disk full, which the tests accept as well.
    if (keep > 0) {
        const int shrunk = ::ftruncate(fd, size > keep ? size - keep : 0);
        Q_UNUSED(shrunk)
    }
    ::close(fd);
}
