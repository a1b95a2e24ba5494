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

// Files that belong together (the pages of one rendering) are replaced all
// or none: a refused target or a full disk at the last file leaves every
// old file as it was and no temporary file behind.
TEST(SafeSave, ASetOfFilesIsReplacedWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("out.png"), b = dir.filePath("out-2.png"), c = dir.filePath("out-3.png");
    writeBytes(a, "old 1");
    writeBytes(b, "old 2");
    ASSERT_TRUE(QDir().mkdir(c));
    try {
        TAtomicSaveSet set;
        set.Add(a, "new 1");
        set.Add(b, "new 2");
        set.Add(c, "new 3");
        ADD_FAILURE() << "a folder was accepted as a target";
    } catch (const EInOutError &e) {
        EXPECT_TRUE(e.Message().contains(c)) << e.Message().toStdString();
    }
    EXPECT_EQ(readBytes(a), "old 1");
    EXPECT_EQ(readBytes(b), "old 2");
    EXPECT_EQ(folderEntries(dir.path()), (QStringList{"out-2.png", "out-3.png", "out.png"}));

    ASSERT_TRUE(QDir().rmdir(c));
    TAtomicSaveSet set;
    set.Add(a, "new 1");
    EXPECT_THROW(set.Add(a, "again"), EInOutError);
    set.Add(b, "new 2");
    set.Add(c, "new 3");
    EXPECT_EQ(readBytes(a), "old 1") << "nothing is replaced before the commit";
    set.Commit();
    EXPECT_EQ(readBytes(a), "new 1");
    EXPECT_EQ(readBytes(b), "new 2");
    EXPECT_EQ(readBytes(c), "new 3");
    EXPECT_EQ(folderEntries(dir.path()), (QStringList{"out-2.png", "out-3.png", "out.png"}));

    // A rename that fails at the last file (a folder made there after the
    // files were staged) puts back the files already replaced.
    const QString d = dir.filePath("out-4.png"), e = dir.filePath("out-5.png");
    TAtomicSaveSet late;
    late.Add(a, "newer 1");
    late.Add(d, "newer 4");
    late.Add(e, "newer 5");
    ASSERT_TRUE(QDir().mkpath(e + "/inside"));
    EXPECT_THROW(late.Commit(), EInOutError);
    EXPECT_EQ(readBytes(a), "new 1");
    EXPECT_EQ(folderEntries(dir.path()), (QStringList{"out-2.png", "out-3.png", "out-5.png", "out.png"}));
    ASSERT_TRUE(QDir(e).removeRecursively());

    TSmallFileSystem fs(256 * 1024);
    if (!fs.Mounted())
        GTEST_SKIP() << fs.SkipReason().toStdString();
    const QByteArray page(64 * 1024, 'p');
    for (const char *name : {"1.png", "2.png", "3.png"})
        saveFileAtomically(fs.FilePath(name), name);
    try {
        TAtomicSaveSet full;
        for (const char *name : {"1.png", "2.png", "3.png"})
            full.Add(fs.FilePath(name), page + page);
        full.Commit();
        ADD_FAILURE() << "the set did not fit and was saved";
    } catch (const EInOutError &e) {
        EXPECT_TRUE(e.Message().contains(fs.FilePath("2.png"))) << e.Message().toStdString();
    }
    for (const char *name : {"1.png", "2.png", "3.png"})
        EXPECT_EQ(readBytes(fs.FilePath(name)), name);
    EXPECT_EQ(folderEntries(fs.Path()), (QStringList{"1.png", "2.png", "3.png"}));
}
