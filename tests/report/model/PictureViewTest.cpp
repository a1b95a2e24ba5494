// The picture object: image rectangle, AutoSize, FileLink, template form,
// differences; and the other object classes loading from templates.

#include "PictureTestImages.h"
#include "support/TestSupport.h"

#include "report/model/rudClass.h"
#include "report/model/rudPictureCache.h"
#include "report/model/rudViewClasses.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include "ReportBytes.h"

#include <gtest/gtest.h>

namespace {

using modeltest::load;
using modeltest::save;

// Engine hooks that expand "[dir]" and hand images to a picture cache.
class TTestEngine : public TfrxPictureEngine {
public:
    QString Dir;
    std::optional<QByteArray> Field;
    TfrxPictureCache Cache;
    QString ExpandExpressions(TfrxPictureView *, const QString &Text) override
    {
        return QString(Text).replace(QStringLiteral("[dir]"), Dir);
    }
    std::optional<QByteArray> BinaryFieldData(TfrxPictureView *) override { return Field; }
    void AddPicture(TfrxPictureView *Sender) override { Cache.AddPicture(Sender); }
};

} // namespace

TEST(PictureView, ImageRectangleKeepsTheAspectRatio)
{
    const QRect box(10, 20, 100, 100);
    EXPECT_EQ(TfrxPictureView::StretchedImageRect(box, QSize(200, 100), true, false), QRect(10, 20, 100, 50));
    EXPECT_EQ(TfrxPictureView::StretchedImageRect(box, QSize(200, 100), true, true), QRect(10, 45, 100, 50));
    EXPECT_EQ(TfrxPictureView::StretchedImageRect(box, QSize(50, 100), true, true), QRect(35, 20, 50, 100));
    EXPECT_EQ(TfrxPictureView::StretchedImageRect(box, QSize(200, 100), false, true), box);
    // A 2 x 1 image in a 5 x 10 box is 2.5 high: halves round to the even 2.
    EXPECT_EQ(TfrxPictureView::StretchedImageRect(QRect(0, 0, 5, 10), QSize(2, 1), true, false).height(), 2);
    EXPECT_EQ(TfrxPictureView::UnstretchedImageOrigin(box, QSize(40, 20), 1.0, 1.0, true), QPoint(40, 60));
    EXPECT_EQ(TfrxPictureView::UnstretchedImageOrigin(box, QSize(40, 20), 2.0, 2.0, false), QPoint(10, 20));
}

TEST(PictureView, DefaultsAutoSizeAndFileLink)
{
    rudRegisterViewClasses();
    TfrxReport report(nullptr);
    auto *page = new TfrxReportPage(&report);
    auto *pic = new TfrxPictureView(page);
    EXPECT_EQ(pic->ComponentStyle(), TfrxComponentStyles(csPreviewVisible));
    EXPECT_TRUE(pic->KeepAspectRatio());
    EXPECT_TRUE(pic->Stretched());
    EXPECT_EQ(pic->TransparentColor(), clWhite);
    EXPECT_EQ(pic->BaseName(), QStringLiteral("Picture"));
    EXPECT_EQ(pic->Description(), QStringLiteral("Picture object"));

    pic->SetAutoSize(true);
    QByteArray png = encodeImage(testImage(64, 32), "PNG");
    QBuffer buffer(&png);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_EQ(pic->LoadPictureFromStream(&buffer), 0);
    EXPECT_EQ(pic->Width(), 64);
    EXPECT_EQ(pic->Height(), 32);
    EXPECT_TRUE(pic->PictureChanged());

    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("logo.bmp")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(encodeImage(testImage(8, 6), "BMP"));
    f.close();
    TTestEngine engine;
    engine.Dir = dir.path();
    TfrxServices services;
    services.PictureEngine = std::shared_ptr<TfrxPictureEngine>(&engine, [](TfrxPictureEngine *) {});
    report.SetServices(std::make_shared<const TfrxServices>(std::move(services)));
    pic->SetFileLink(QStringLiteral("[dir]/logo.bmp"));
    pic->GetData();
    EXPECT_EQ(pic->Picture()->Width(), 8);
    pic->SetFileLink(QStringLiteral("[dir]/missing.bmp"));
    pic->GetData();
    EXPECT_FALSE(pic->Picture()->Graphic());

    // Without a link the bound field's bytes are read (a database header too).
    pic->SetFileLink(QString());
    engine.Field = encodeImage(testImage(3, 3), "JPEG");
    pic->GetData();
    EXPECT_EQ(pic->Picture()->Width(), 3);

    // Differences hand the changed image to the cache once.
    pic->SetPictureChanged(true);
    EXPECT_EQ(pic->DiffPicturePart(nullptr), QStringLiteral(" ImageIndex=\"1\""));
    EXPECT_FALSE(pic->PictureChanged());
    pic->SetTransparent(true);
    pic->SetTransparentColor(255);
    EXPECT_EQ(pic->DiffPicturePart(nullptr), QStringLiteral(" ImageIndex=\"1\" Transparent=\"1\" TransparentColor=\"255\""));
    EXPECT_EQ(engine.Cache.Count(), 1);
}

TEST(PictureView, TemplateKeepsPictureBytesAndLoadsEveryClass)
{
    rudRegisterViewClasses();
    TRecordingUserInterface ui;
    TfrxReport report(nullptr);
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *pic = new TfrxPictureView(page);
    pic->SetName(QStringLiteral("Picture1"));
    pic->Picture()->SetGraphic(TfrxGraphic::FromBytes(encodeImage(testImage(5, 4), "PNG")));
    auto *shape = new TfrxShapeView(page);
    shape->SetName(QStringLiteral("Shape1"));
    shape->SetShape(TfrxShapeView::skEllipse);
    auto *line = new TfrxLineView(page);
    line->SetName(QStringLiteral("Line1"));
    line->SetArrowEnd(true);
    auto *sys = new TfrxSysMemoView(page);
    sys->SetName(QStringLiteral("SysMemo1"));
    sys->SetText(QStringLiteral("[Page#]"));
    auto *sub = new TfrxSubreport(page);
    sub->SetName(QStringLiteral("Subreport1"));
    auto *page2 = new TfrxReportPage(&report);
    page2->SetName(QStringLiteral("Page2"));
    sub->SetPage(page2);
    auto *dialog = new TfrxDialogPage(&report);
    dialog->SetName(QStringLiteral("DialogPage1"));
    dialog->SetCaption(QStringLiteral("Ask"));

    const QByteArray first = save(report);
    EXPECT_TRUE(first.contains("Picture.PropData=\""));
    EXPECT_FALSE(first.contains("ImageIndex"));
    EXPECT_TRUE(first.contains("HightQuality=\"False\""));
    EXPECT_TRUE(first.contains("Shape=\"skEllipse\""));

    TfrxReport loaded(nullptr);
    load(loaded, first);
    EXPECT_TRUE(loaded.Errors().isEmpty()) << loaded.Errors().join(u'\n').toStdString();
    auto *pic2 = dynamic_cast<TfrxPictureView *>(loaded.FindObject(QStringLiteral("Picture1")));
    ASSERT_TRUE(pic2);
    EXPECT_EQ(pic2->Picture()->GetPropData(), pic->Picture()->GetPropData());
    EXPECT_EQ(dynamic_cast<TfrxShapeView *>(loaded.FindObject(QStringLiteral("Shape1")))->Shape(),
              TfrxShapeView::skEllipse);
    EXPECT_TRUE(dynamic_cast<TfrxLineView *>(loaded.FindObject(QStringLiteral("Line1")))->ArrowEnd());
    EXPECT_EQ(dynamic_cast<TfrxSysMemoView *>(loaded.FindObject(QStringLiteral("SysMemo1")))->Text(),
              QStringLiteral("[Page#]\r\n"));
    auto *sub2 = dynamic_cast<TfrxSubreport *>(loaded.FindObject(QStringLiteral("Subreport1")));
    ASSERT_TRUE(sub2);
    EXPECT_EQ(sub2->Page(), loaded.FindObject(QStringLiteral("Page2")));
    auto *dialog2 = dynamic_cast<TfrxDialogPage *>(loaded.FindObject(QStringLiteral("DialogPage1")));
    ASSERT_TRUE(dialog2);
    EXPECT_EQ(dialog2->Caption(), QStringLiteral("Ask"));
    EXPECT_EQ(dialog2->Width(), 300);
    // Loading adds the data page; from then on a resave is stable.
    const QByteArray second = save(loaded);
    EXPECT_TRUE(second.contains("<TfrxDataPage"));
    TfrxReport again(nullptr);
    load(again, second);
    EXPECT_EQ(save(again), second);
}
