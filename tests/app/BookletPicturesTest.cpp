// The booklet pages compiled into the program, and the PNG decoder that
// reads them.

#include "AppTestSupport.h"

#include "base/Errors.h"
#include "report/model/rudPngImage.h"

#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// True when the picture has a dark pixel within a few rows under y at x.
bool lineUnder(const QImage &page, int x, int y)
{
    for (int row = y; row <= y + 3 && row < page.height(); ++row)
        if (qGray(page.pixel(x, row)) < 100)
            return true;
    return false;
}

} // namespace

TEST(BookletPictures, DecodeToTheirPageSizes)
{
    const QByteArray left = readFile(sourceDir() + "/resources/booklet/left.png");
    const QByteArray right = readFile(sourceDir() + "/resources/booklet/right.png");
    ASSERT_FALSE(left.isEmpty());
    ASSERT_FALSE(right.isEmpty());
    const QImage l = rudDecodePng(left), r = rudDecodePng(right);
    EXPECT_EQ(l.size(), QSize(700, 515));
    EXPECT_EQ(r.size(), QSize(697, 512));
    // Same pixels as an independent decoder finds.
    EXPECT_EQ(l, QImage::fromData(left, "PNG").convertToFormat(QImage::Format_ARGB32));
}

TEST(BookletPictures, DecoderKeepsAlphaAndRefusesBadStreams)
{
    QImage source(3, 2, QImage::Format_ARGB32);
    source.fill(qRgba(10, 20, 30, 40));
    source.setPixel(2, 1, qRgba(255, 0, 0, 255));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(source.save(&buffer, "PNG"));
    const QImage decoded = rudDecodePng(png);
    EXPECT_EQ(decoded.pixel(2, 1), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(decoded.pixel(0, 0)), 40);

    EXPECT_THROW(rudDecodePng(QByteArray()), EGeneralError);
    EXPECT_THROW(rudDecodePng("GIF89a......"), EGeneralError);
    EXPECT_THROW(rudDecodePng(png.left(8)), EGeneralError);
    EXPECT_THROW(rudDecodePng(png.left(png.size() / 2)), EGeneralError);
    try {
        rudDecodePng(png.left(30));
        ADD_FAILURE();
    } catch (const EGeneralError &error) {
        EXPECT_TRUE(error.Message().startsWith("Invalid PNG image: ")) << error.Message().toStdString();
    }

    // Mutated streams either decode or fail with the error, never crash.
    const QByteArray page = readFile(sourceDir() + "/resources/booklet/right.png");
    QRandomGenerator random(1234);
    for (int round = 0; round < 200; ++round) {
        QByteArray mutated = page;
        for (int n = 0; n < 4; ++n)
            mutated[int(random.bounded(qsizetype(mutated.size())))] = char(random.bounded(256));
        try {
            rudDecodePng(mutated);
        } catch (const EGeneralError &) {
        }
    }
}

TEST(BookletPictures, EveryFieldLiesOverItsLine)
{
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    const QImage left = w.Image4->pixmap().toImage();
    const QImage right = w.Image1->pixmap().toImage();
    // The line under each left-page field, at its left end, middle and right end.
    for (QWidget *field : std::initializer_list<QWidget *>{w.Edit_1, w.Edit_2, w.Edit_3, w.Edit_4, w.Edit_5,
                                                           w.DateTimePicker1, w.DateTimePicker2, w.Edit_6,
                                                           w.Edit_7, w.Edit_8, w.Edit_10, w.DateTimePicker4}) {
        const QRect box = field->geometry();
        for (int x : {box.left() + 2, box.center().x(), box.right() - 2})
            EXPECT_TRUE(lineUnder(left, x, box.bottom() + 1)) << field->objectName().toStdString() << " x " << x;
    }
    // Each hours cell and grade box sits inside one table row: the row lines
    // above and below the cell cross its column, none crosses the cell.
    for (int i = 1; i <= 11; ++i) {
        const QRect cell = w.Component<QWidget>(QStringLiteral("edt_%1").arg(i))->geometry().translated(-698, 0);
        const int x = cell.center().x();
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            EXPECT_GT(qGray(right.pixel(x, y)), 100) << "row " << i << " y " << y;
        int above = cell.top() - 1, below = cell.bottom() + 1;
        while (above > 0 && qGray(right.pixel(x, above)) > 100)
            --above;
        while (below < right.height() - 1 && qGray(right.pixel(x, below)) > 100)
            ++below;
        EXPECT_GT(above, 0) << i;
        EXPECT_LT(below, right.height() - 1) << i;
        EXPECT_LE(below - above, 60) << i;
    }
}
