// Reading a file up to a limit: what is read, whatever the limit is.

#include "base/InputFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(InputFile, ReadUpToGivesTheRestAndOneByteBeyondTheLimit)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString name = folder.filePath(QStringLiteral("ten.bin"));
    QFile write(name);
    ASSERT_TRUE(write.open(QIODevice::WriteOnly));
    ASSERT_EQ(write.write("0123456789"), 10);
    write.close();

    // {limit, position read from, what is read}; a limit of a gigabyte
    // reads ten bytes into a buffer of their size.
    const struct {
        qint64 Limit, From;
        QByteArray Read;
    } cases[] = {
        {qint64(1) << 30, 0, "0123456789"}, {10, 0, "0123456789"}, {9, 0, "0123456789"},
        {4, 0, "01234"},                    {5, 7, "789"},         {0, 0, "0"},
    };
    for (const auto &c : cases) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        ASSERT_TRUE(file.seek(c.From));
        const QByteArray read = readUpTo(file, c.Limit);
        EXPECT_EQ(read, c.Read) << c.Limit << " from " << c.From;
        EXPECT_LE(read.capacity(), 64) << c.Limit;
    }
}
