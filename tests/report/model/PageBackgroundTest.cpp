// A report page's background object (colour, frame and background picture)
// in memory and in templates, and the defaults new pages take from the
// printer.

#include "PictureTestImages.h"
#include "support/TestSupport.h"

#include "report/model/rudClass.h"
#include "report/model/rudPrinterDefaults.h"
#include "report/model/rudReport.h"
#include "report/model/rudXML.h"

#include <QBuffer>
#include <cmath>
#include "ReportBytes.h"

#include <gtest/gtest.h>

namespace {

using modeltest::load;
using modeltest::save;

// The XML item of the report's page in saved template bytes.
const TfrxXMLItem *pageItem(TfrxXMLDocument &doc, QByteArray data)
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    doc.LoadFromStream(&buffer);
    for (int i = 0; i < doc.Root()->Count(); ++i)
        if (doc.Root()->Items(i)->Name() == QLatin1String("TfrxReportPage"))
            return doc.Root()->Items(i);
    return nullptr;
}

TfrxReportPage *reportPage(TfrxReport &report)
{
    for (TfrxComponent *child : report.Objects())
        if (auto *page = dynamic_cast<TfrxReportPage *>(child))
            return page;
    return nullptr;
}

// Services with only a printer paper provider.
std::shared_ptr<const TfrxServices> paperServices(TfrxPrinterPaperProvider provider)
{
    TfrxServices services;
    services.PrinterPaper = std::move(provider);
    return std::make_shared<const TfrxServices>(std::move(services));
}

} // namespace

TEST(PageBackground, IsAPictureObjectOutsideThePageTree)
{
    TfrxReport report;
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    TfrxPictureView *back = page->BackPictureView();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Color(), clTransparent);
    EXPECT_EQ(page->Color(), clTransparent);
    EXPECT_FALSE(back->KeepAspectRatio());
    // Not a child, not a component of the report, not found by name.
    EXPECT_TRUE(page->Objects().isEmpty());
    EXPECT_EQ(back->Parent(), nullptr);
    EXPECT_EQ(back->Owner(), nullptr);
    EXPECT_FALSE(report.AllObjects().contains(back));
    // The page's frame and picture are the object's own, not copies.
    EXPECT_EQ(page->Frame(), back->Frame());
    EXPECT_EQ(page->BackPicture(), back->Picture());

    page->SetColor(0x00FF00);
    EXPECT_EQ(back->Color(), 0x00FF00);
    back->SetColor(0x0000FF);
    EXPECT_EQ(page->Color(), 0x0000FF);

    TfrxFrame frame;
    frame.SetTyp(TfrxFrameTypes(ftLeft | ftBottom));
    frame.SetWidth(2.5);
    frame.SetColor(clRed);
    page->SetFrame(&frame);
    EXPECT_EQ(back->Frame()->Typ(), TfrxFrameTypes(ftLeft | ftBottom));
    EXPECT_EQ(back->Frame()->Width(), 2.5);
    page->SetFrame(nullptr); // ignored
    EXPECT_EQ(back->Frame()->Color(), clRed);
}

TEST(PageBackground, ColourFrameAndPictureTravelAsPageAttributes)
{
    TRecordingUserInterface ui;
    const QByteArray png = encodeImage(testImage(6, 4), "PNG");
    TfrxReport report;
    (new TfrxDataPage(&report))->SetName(QStringLiteral("Data"));
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));

    // A fresh page writes none of the three.
    {
        TfrxXMLDocument doc;
        const TfrxXMLItem *item = pageItem(doc, save(report));
        ASSERT_NE(item, nullptr);
        EXPECT_FALSE(item->PropExists(QStringLiteral("Color")));
        EXPECT_FALSE(item->PropExists(QStringLiteral("Frame.Typ")));
        EXPECT_FALSE(item->PropExists(QStringLiteral("BackPicture.PropData")));
    }

    page->SetColor(0x123456);
    page->Frame()->SetTyp(TfrxFrameTypes(ftLeft | ftTop | ftRight | ftBottom));
    page->Frame()->SetWidth(3);
    TfrxPicture picture;
    picture.SetGraphic(TfrxGraphic::FromBytes(png));
    ASSERT_TRUE(picture.HasImage());
    page->SetBackPicture(&picture);
    EXPECT_TRUE(page->BackPictureView()->Picture()->HasImage());

    const QByteArray saved = save(report);
    TfrxXMLDocument doc;
    const TfrxXMLItem *item = pageItem(doc, saved);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Prop(QStringLiteral("Color")), QStringLiteral("1193046"));
    EXPECT_EQ(item->Prop(QStringLiteral("Frame.Typ")), QStringLiteral("15"));
    EXPECT_EQ(item->Prop(QStringLiteral("Frame.Width")), QStringLiteral("3"));
    EXPECT_TRUE(item->PropExists(QStringLiteral("BackPicture.PropData")));
    EXPECT_EQ(item->Count(), 0); // the background object is no element of its own
    EXPECT_FALSE(saved.contains("TfrxPictureView"));

    TfrxReport again;
    load(again, saved);
    EXPECT_TRUE(again.Errors().isEmpty()) << again.Errors().join(u'\n').toStdString();
    TfrxReportPage *loaded = reportPage(again);
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->Objects().isEmpty());
    EXPECT_EQ(loaded->BackPictureView()->Color(), 0x123456);
    EXPECT_EQ(loaded->BackPictureView()->Frame()->Typ(), TfrxFrameTypes(ftLeft | ftTop | ftRight | ftBottom));
    EXPECT_EQ(loaded->BackPictureView()->Frame()->Width(), 3);
    EXPECT_FALSE(loaded->BackPictureView()->KeepAspectRatio());
    ASSERT_TRUE(loaded->BackPicture()->HasImage());
    EXPECT_EQ(loaded->BackPicture()->Width(), 6);
    EXPECT_EQ(loaded->BackPicture()->GetPropData(), picture.GetPropData());
    EXPECT_EQ(save(again), saved);

    // Copying a page copies its background too.
    TfrxReportPage copy(nullptr);
    copy.Assign(loaded);
    EXPECT_EQ(copy.Color(), 0x123456);
    EXPECT_EQ(copy.Frame()->Width(), 3);
    EXPECT_EQ(copy.BackPicture()->GetPropData(), picture.GetPropData());
    EXPECT_TRUE(ui.Messages.empty());
}

TEST(PageDefaults, WithoutAPrinterLayerAreA4PortraitWithTenMillimetreMargins)
{
    TfrxReportPage page(nullptr);
    page.SetPaperSize(11);
    page.SetOrientation(poLandscape);
    page.SetLeftMargin(5);
    page.SetTopMargin(7);
    page.SetDefaults();
    EXPECT_EQ(page.PaperSize(), 9);
    EXPECT_EQ(page.PaperWidth(), 210);
    EXPECT_EQ(page.PaperHeight(), 297);
    EXPECT_EQ(page.Orientation(), poPortrait);
    for (double margin : {page.LeftMargin(), page.RightMargin(), page.TopMargin(), page.BottomMargin()})
        EXPECT_EQ(margin, 10);
    EXPECT_EQ(page.Width(), 794);
    EXPECT_EQ(page.Height(), 1123);
}

TEST(PageDefaults, TakeThePrintersPaperAsItReportsIt)
{
    TfrxReport report;
    auto &page = *new TfrxReportPage(&report);
    // A report without the printer paper service says so.
    EXPECT_THROW(page.SetDefaults(), EMissingService);
    page.SetLeftMargin(1);
    page.SetBottomMargin(2);
    {
        // Letter fed landscape: the sides come turned already, the margins are
        // set, not rotated.
        report.SetServices(paperServices([] { return TfrxPrinterPaper{1, 279.4, 215.9, poLandscape}; }));
        page.SetDefaults();
        EXPECT_EQ(page.PaperSize(), 1);
        EXPECT_EQ(page.PaperWidth(), 279.4);
        EXPECT_EQ(page.PaperHeight(), 215.9);
        EXPECT_EQ(page.Orientation(), poLandscape);
        EXPECT_EQ(page.LeftMargin(), 10);
        EXPECT_EQ(page.BottomMargin(), 10);
        EXPECT_EQ(page.Width(), std::nearbyint(279.4 * 3.77953));
        EXPECT_EQ(page.Height(), std::nearbyint(215.9 * 3.77953));

        // A custom size keeps code 256 and is rounded like any paper width.
        report.SetServices(paperServices([] { return TfrxPrinterPaper{256, 100.123456789, 50, poPortrait}; }));
        page.SetDefaults();
        EXPECT_EQ(page.PaperSize(), 256);
        EXPECT_EQ(page.PaperWidth(), 100.12345679);
    }
    // No printer to ask, or a paper nobody could print on: A4 portrait.
    for (auto provider : std::initializer_list<TfrxPrinterPaperProvider>{
             [] { return std::optional<TfrxPrinterPaper>(); },
             [] { return std::optional(TfrxPrinterPaper{1, std::nan(""), 215.9, poPortrait}); },
             [] { return std::optional(TfrxPrinterPaper{1, 0, 215.9, poPortrait}); },
             [] { return std::optional(TfrxPrinterPaper{1, 210, -1, poPortrait}); }}) {
        report.SetServices(paperServices(provider));
        page.SetDefaults();
        EXPECT_EQ(page.PaperSize(), 9);
        EXPECT_EQ(page.PaperWidth(), 210);
        EXPECT_EQ(page.PaperHeight(), 297);
        EXPECT_EQ(page.Orientation(), poPortrait);
    }
    // A new page does not ask the printer: only SetDefaults does.
    report.SetServices(paperServices([] { return TfrxPrinterPaper{11, 148, 210, poPortrait}; }));
    const auto *fresh = new TfrxReportPage(&report);
    EXPECT_EQ(fresh->PaperSize(), 9);
    EXPECT_EQ(fresh->LeftMargin(), 0);
}
