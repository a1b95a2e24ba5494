// Pictures while a report is prepared: a file name made of expressions, a
// binary data field, and the images reaching the prepared pages through the
// store's picture cache.

#include "EngineTestUtil.h"

#include "../model/PictureTestImages.h"
#include "report/model/rudPictureView.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace enginetest;

namespace {

// The sizes of the images of the pictures on prepared page Index, in tree order.
QList<QSize> pictureSizes(TEngineReport &T, int Index)
{
    QList<QSize> sizes;
    for (TfrxComponent *c : T.Pages()->GetPage(Index)->AllObjects())
        if (auto *picture = qobject_cast<TfrxPictureView *>(c))
            sizes << (picture->Picture()->HasImage() ? QSize(picture->Picture()->Width(), picture->Picture()->Height())
                                                     : QSize());
    return sizes;
}

} // namespace

TEST(PictureOutput, AFileNameWithExpressionsLoadsItsImage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (int n : {1, 2}) {
        QFile file(dir.filePath(QStringLiteral("logo%1.png").arg(n)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(encodeImage(testImage(10 * n, 5 * n), "PNG"));
    }
    TEngineReport t;
    t.NewPage()->SetPageCount(2);
    t.Report.Variables()->SetVariables(QStringLiteral("Folder"), QStringLiteral("'%1'").arg(dir.path()));
    auto *picture = new TfrxPictureView(t.Page);
    picture->SetName(QStringLiteral("Picture1"));
    picture->SetBounds(0, 0, 100, 50);
    picture->SetFileLink(QStringLiteral("[Folder]/logo[Page#].png"));
    auto *missing = new TfrxPictureView(t.Page);
    missing->SetName(QStringLiteral("Picture2"));
    missing->SetFileLink(QStringLiteral("[Folder]/none.png"));

    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join('\n').toStdString();
    ASSERT_EQ(t.Pages()->Count(), 2);
    EXPECT_EQ(pictureSizes(t, 0), QList<QSize>({QSize(10, 5), QSize()}));
    EXPECT_EQ(pictureSizes(t, 1), QList<QSize>({QSize(20, 10), QSize()}));
    auto *pages = dynamic_cast<TfrxPreviewPages *>(t.Pages());
    EXPECT_EQ(pages->PictureCache().Count(), 2);
}

TEST(PictureOutput, ABinaryDataFieldGivesEachRowItsImage)
{
    TEngineReport t;
    TfrxMemoryDataSet data;
    data.AddField(QStringLiteral("Name"));
    data.AddField(QStringLiteral("Photo"));
    data.AppendRow({QStringLiteral("wide"), encodeImage(testImage(30, 10), "PNG")});
    data.AppendRow({QStringLiteral("text"), QStringLiteral("not an image")});
    data.AppendRow({QStringLiteral("tall"), encodeImage(testImage(8, 16), "BMP")});
    t.AddDataSet(&data, QStringLiteral("People"));
    auto *band = t.AddBand<TfrxMasterData>(QStringLiteral("MasterData1"), 0, 40);
    band->SetDataSet(&data);
    auto *picture = new TfrxPictureView(band);
    picture->SetName(QStringLiteral("Photo1"));
    picture->SetBounds(0, 0, 60, 40);
    picture->SetDataSet(&data);
    picture->SetDataField(QStringLiteral("Photo"));

    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join('\n').toStdString();
    // The text field is no binary field: that row keeps the image before it.
    EXPECT_EQ(pictureSizes(t, 0), QList<QSize>({QSize(30, 10), QSize(30, 10), QSize(8, 16)}));
}
