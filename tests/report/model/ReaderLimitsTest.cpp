// Inputs beyond a reader's size limit end with a clear error, before the
// reader takes their size in memory.

#include "base/Errors.h"
#include "report/model/rudDataSet.h"
#include "report/model/rudPicture.h"
#include "report/model/rudPictureLimits.h"
#include "report/model/rudXML.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// A document whose first element's attribute text is Length bytes long,
// made as it is read, so that the test holds none of it.
class TLongTagDevice final : public QIODevice {
public:
    explicit TLongTagDevice(qint64 Length) : FLength(Length) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    // True once every byte was read.
    bool Exhausted() const { return FPos >= Total(); }

protected:
    qint64 readData(char *Data, qint64 MaxSize) override
    {
        qint64 n = 0;
        while (n < MaxSize && !Exhausted()) {
            if (FPos < Head.size()) {
                Data[n++] = Head[FPos++];
            } else if (FPos < Head.size() + FLength) {
                const qint64 run = std::min(MaxSize - n, Head.size() + FLength - FPos);
                memset(Data + n, 'x', size_t(run));
                n += run;
                FPos += run;
            } else {
                Data[n++] = Tail[FPos++ - Head.size() - FLength];
            }
        }
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const QByteArray Head = "<?xml version=\"1.0\" encoding=\"utf-8\"?><a x=\"";
    const QByteArray Tail = "\"/>";
    qint64 Total() const { return Head.size() + FLength + Tail.size(); }
    qint64 FLength;
    qint64 FPos = 0;
};

// A sparse file of Size bytes starting with Start.
QString sparseFile(const QTemporaryDir &Dir, const QString &Name, const QByteArray &Start, qint64 Size)
{
    const QString path = Dir.filePath(Name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Start);
    file.close();
    EXPECT_TRUE(QFile::resize(path, Size));
    return path;
}

template <typename F>
QString errorOf(F &&Read)
{
    try {
        Read();
    } catch (const Exception &e) {
        return e.Message();
    }
    return QString();
}

} // namespace

TEST(ReaderLimits, InputsBeyondTheLimitsAreRefusedWithAClearError)
{
    QTemporaryDir dir;

    const QString csv = sparseFile(dir, QStringLiteral("list.csv"), "Name\nA\n", TfrxMemoryDataSet::MaxCSVFileSize + 1);
    TfrxMemoryDataSet data;
    EXPECT_EQ(errorOf([&] { data.LoadFromCSVFile(csv); }),
              QStringLiteral("Cannot open file \"%1\": it is larger than 67108864 bytes").arg(csv));

    const QString picture = sparseFile(dir, QStringLiteral("big.png"), "\x89PNG\r\n\x1A\n", rudMaxPictureFileSize + 1);
    TfrxPicture pic;
    EXPECT_EQ(errorOf([&] { pic.LoadFromFile(picture); }),
              QStringLiteral("Cannot open file \"%1\": it is larger than 268435456 bytes").arg(picture));

    // One element's tag: refused once it passes the limit, the rest unread.
    TLongTagDevice tag(TfrxXMLReader::MaxTagLength + (qint64(1) << 20));
    TfrxXMLDocument doc;
    EXPECT_THROW(doc.LoadFromStream(&tag), TfrxInvalidXMLException);
    EXPECT_FALSE(tag.Exhausted());
}
