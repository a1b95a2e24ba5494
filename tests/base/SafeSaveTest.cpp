#include "base/Errors.h"
#include "base/SafeSave.h"
#include "support/SmallFileSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

mode_t modeOf(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
}

QStringList folderEntries(const QString &path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Runs a save that must be refused; returns the message.
QString refusedSave(const QString &path, const QByteArray &bytes)
{
    try {
        saveFileAtomically(path, bytes);
    } catch (const EInOutError &e) {
        return e.Message();
    }
    ADD_FAILURE() << "the save of " << path.toStdString() << " was not refused";
    return {};
}

} // namespace

TEST(SafeSave, NewAndReplacedFilesHoldExactlyTheBytesAndLeaveNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.fr3");
    const mode_t mask = ::umask(022);
    saveFileAtomically(path, QByteArray("first\0with nul", 14));
    EXPECT_EQ(readBytes(path), QByteArray("first\0with nul", 14));
    EXPECT_EQ(modeOf(path) & 07777, 0644u);

    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    saveFileAtomically(path, "second");
    EXPECT_EQ(readBytes(path), "second");
    EXPECT_EQ(modeOf(path) & 07777, 0640u) << "the permission bits are kept";
    saveFileAtomically(path, QByteArray());
    EXPECT_EQ(readBytes(path), QByteArray());
    EXPECT_EQ(folderEntries(dir.path()), QStringList{"a.fr3"});
    ::umask(mask);
}

TEST(SafeSave, TargetsThatAreNotRegularFilesAreRefusedAndStayWhatTheyWere)
{
    if (QFile::exists("/dev/full")) {
        const QString message = refusedSave("/dev/full", "x");
        EXPECT_TRUE(message.contains("/dev/full")) << message.toStdString();
        EXPECT_TRUE(message.contains("device")) << message.toStdString();
        EXPECT_TRUE(S_ISCHR(modeOf("/dev/full"))) << "the device node is still a device";
    }
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    EXPECT_TRUE(refusedSave(fifo, "x").contains("FIFO"));
    EXPECT_TRUE(S_ISFIFO(modeOf(fifo)));

    const QString folder = dir.filePath("folder");
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_TRUE(refusedSave(folder, "x").contains("folder"));
    EXPECT_TRUE(S_ISDIR(modeOf(folder)));
    EXPECT_EQ(folderEntries(dir.path()), (QStringList{"folder", "pipe"}));
}

TEST(SafeSave, ReadOnlyFilesAreRefusedEvenForRootAndKeepTheirMode)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("locked.fr3");
    writeBytes(path, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    const QString message = refusedSave(path, "new");
    EXPECT_TRUE(message.contains("read-only")) << message.toStdString();
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_EQ(modeOf(path) & 07777, 0444u);
}

TEST(SafeSave, HardLinkedFilesAreRefusedSoNoLinkIsSilentlySplit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini"), other = dir.filePath("b.ini");
    writeBytes(path, "old");
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);
    EXPECT_TRUE(refusedSave(path, "new").contains("hard links"));
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_EQ(readBytes(other), "old");
    EXPECT_EQ(folderEntries(dir.path()), (QStringList{"a.ini", "b.ini"}));
}

TEST(SafeSave, SymbolicLinksAreFollowedAndKept)
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.fr3"), link = dir.filePath("link.fr3");
    writeBytes(real, "old");
    ASSERT_TRUE(QFile::link(real, link));
    saveFileAtomically(link, "new");
    EXPECT_TRUE(S_ISLNK(modeOf(link)));
    EXPECT_EQ(readBytes(real), "new");

    const QString dangling = dir.filePath("dangling.fr3");
    ASSERT_TRUE(QFile::link(dir.filePath("missing.fr3"), dangling));
    EXPECT_FALSE(refusedSave(dangling, "x").isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.fr3")));
}

TEST(SafeSave, AMissingFolderOrNameIsAnErrorNamingTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("no/such/folder/a.fr3");
    EXPECT_TRUE(refusedSave(path, "x").contains(path));
    EXPECT_FALSE(refusedSave(QString(), "x").isEmpty());
}

TEST(SafeSave, AFullDiskFailsTheSaveAndLeavesTheOldFileByteForByte)
{
    TSmallFileSystem fs(256 * 1024);
    if (!fs.Mounted())
        GTEST_SKIP() << fs.SkipReason().toStdString();
    const QString path = fs.FilePath("report.fr3");
    QByteArray old;
    for (int i = 0; i < 1000; ++i)
        old += "<TfrxMemoView Name=\"Memo" + QByteArray::number(i) + "\"/>\n";
    saveFileAtomically(path, old);
    fs.Fill(8192);
    const QString message = refusedSave(path, old + old);
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(folderEntries(fs.Path()), (QStringList{"filler", "report.fr3"})) << "no temporary file is left";
}
