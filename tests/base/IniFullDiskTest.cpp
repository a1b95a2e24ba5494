// An INI file saved on a full disk: the save fails with the usual message
// and the file keeps every byte it had.

#include "base/Errors.h"
#include "base/IniFile.h"
#include "support/SmallFileSystem.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(IniFullDisk, AFailedSaveLeavesTheOldFileByteForByte)
{
    TSmallFileSystem fs(128 * 1024);
    if (!fs.Mounted())
        GTEST_SKIP() << fs.SkipReason().toStdString();
    const QString path = fs.FilePath(QStringLiteral("entry.vod"));
    {
        TIniFile ini(path);
        for (int i = 0; i < 200; ++i)
            ini.WriteString(QStringLiteral("Left"), QStringLiteral("edit_%1").arg(i), QStringLiteral("value %1").arg(i));
        ini.UpdateFile();
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray old = file.readAll();
    file.close();
    ASSERT_FALSE(old.isEmpty());

    fs.Fill(1024);
    TIniFile ini(path);
    for (int i = 0; i < 2000; ++i)
        ini.WriteString(QStringLiteral("Right"), QStringLiteral("edit_%1").arg(i), QString(40, u'x'));
    try {
        ini.UpdateFile();
        FAIL() << "the save on a full disk reported success";
    } catch (const EInOutError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(path)));
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    EXPECT_EQ(QDir(fs.Path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"entry.vod", "filler"}));
}
