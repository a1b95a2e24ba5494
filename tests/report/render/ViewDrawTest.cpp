// View drawing in device pixels: fill under the frame, frame styles and
// shortening, shadows, visibility on screen and printer, mirrored margins.

#include "RenderTestSupport.h"

#include "report/model/rudPage.h"
#include "report/render/rudPageDraw.h"

#include <QBuffer>

namespace {

const QRgb black = qRgb(0, 0, 0);
const QRgb red = qRgb(255, 0, 0);

class ViewDraw : public ::testing::Test {
protected:
    void SetUp() override { rudRenderInit(); }

    // An empty memo at (10, 10) of 20 x 20 with the given frame sides.
    TfrxMemoView *box(TfrxFrameTypes Typ, double Width = 1)
    {
        TfrxMemoView *memo = makeMemo(&Report, 10, 10, 20, 20, QString());
        memo->Frame()->SetTyp(Typ);
        memo->Frame()->SetWidth(Width);
        return memo;
    }
    QImage draw(TfrxView *View)
    {
        QImage image = whiteImage(50, 50);
        TfrxCanvas canvas(&image, 96, 96);
        View->Draw(&canvas, 1, 1, 0, 0);
        return image;
    }
    TRenderReport Report;
};

} // namespace

TEST_F(ViewDraw, FrameOfWidthOneAndTheBackgroundsOddPixel)
{
    TfrxMemoView *memo = box(TfrxFrameTypes(ftLeft | ftRight | ftTop | ftBottom));
    memo->SetColor(clRed);
    const QImage framed = draw(memo);
    EXPECT_EQ(framed.pixel(10, 20), black);
    EXPECT_EQ(framed.pixel(30, 20), black);
    EXPECT_EQ(framed.pixel(20, 30), black);
    EXPECT_EQ(framed.pixel(29, 20), red);
    EXPECT_EQ(framed.pixel(20, 29), red);
    EXPECT_TRUE(isWhite(framed, 31, 20));
    EXPECT_TRUE(isWhite(framed, 20, 31));
    EXPECT_TRUE(isWhite(framed, 9, 20));

    // Without frame lines the fill stops before the right and bottom edges.
    memo->Frame()->SetTyp({});
    const QImage plain = draw(memo);
    EXPECT_EQ(plain.pixel(29, 29), red);
    EXPECT_TRUE(isWhite(plain, 30, 20));
    EXPECT_TRUE(isWhite(plain, 20, 30));
}

TEST_F(ViewDraw, EmptyFrameAndDefaultFillDrawNothing)
{
    const QImage image = draw(box({}));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_TRUE(isWhite(image, x, y)) << x << ',' << y;
}

TEST_F(ViewDraw, DoubleFrameDrawsTwoLinesBesideTheNominalOne)
{
    TfrxMemoView *memo = box(ftTop);
    memo->Frame()->SetStyle(fsDouble);
    const QImage image = draw(memo);
    EXPECT_EQ(image.pixel(20, 9), black);
    EXPECT_TRUE(isWhite(image, 20, 10));
    EXPECT_EQ(image.pixel(20, 11), black);
    EXPECT_TRUE(isWhite(image, 20, 8));
    EXPECT_TRUE(isWhite(image, 20, 12));
}

TEST_F(ViewDraw, ThickBottomLineIsShortenedWithoutNeighbours)
{
    TfrxMemoView *memo = box(ftBottom, 3);
    const QImage alone = draw(memo);
    EXPECT_TRUE(isWhite(alone, 9, 30));
    EXPECT_EQ(alone.pixel(10, 30), black);
    EXPECT_EQ(alone.pixel(30, 30), black);
    EXPECT_TRUE(isWhite(alone, 31, 30));
    EXPECT_EQ(alone.pixel(20, 29), black);
    EXPECT_EQ(alone.pixel(20, 31), black);
    EXPECT_TRUE(isWhite(alone, 20, 32));

    // With side lines (red) present the black bottom line reaches over them.
    memo->Frame()->SetTyp(TfrxFrameTypes(ftLeft | ftRight | ftBottom));
    memo->Frame()->LeftLine()->SetColor(clRed);
    memo->Frame()->RightLine()->SetColor(clRed);
    const QImage joined = draw(memo);
    EXPECT_EQ(joined.pixel(9, 30), black);
    EXPECT_EQ(joined.pixel(31, 30), black);
    EXPECT_EQ(joined.pixel(9, 20), red);
}

TEST_F(ViewDraw, DashedFrameAndDropShadow)
{
    TfrxMemoView *memo = box(TfrxFrameTypes(ftLeft | ftRight | ftTop | ftBottom));
    memo->Frame()->SetStyle(fsDash);
    memo->Frame()->SetDropShadow(true);
    memo->Frame()->SetShadowWidth(4);
    const QImage image = draw(memo);
    // The box shrinks by the shadow to 10..26; the top line is dashed; the
    // shadow is a 4-pixel band centred 2 pixels right of and below the box.
    int dark = 0, light = 0;
    for (int x = 10; x <= 26; ++x)
        (image.pixel(x, 10) == black ? dark : light)++;
    EXPECT_GT(dark, 0);
    EXPECT_GT(light, 0);
    EXPECT_EQ(image.pixel(29, 20), black);
    EXPECT_TRUE(isWhite(image, 30, 20));
    EXPECT_EQ(image.pixel(20, 29), black);
    EXPECT_TRUE(isWhite(image, 20, 30));
    EXPECT_TRUE(isWhite(image, 12, 28));
}

TEST_F(ViewDraw, FillsPaintTheirRectangle)
{
    TfrxMemoView *memo = box({});
    memo->SetFillType(ftGradient);
    auto *gradient = static_cast<TfrxGradientFill *>(memo->Fill());
    gradient->SetStartColor(clWhite);
    gradient->SetEndColor(clBlack);
    EXPECT_EQ(gradient->GetColor(), 0x808080);
    const QImage image = draw(memo);
    EXPECT_GT(qRed(image.pixel(11, 20)), qRed(image.pixel(28, 20)));
    EXPECT_TRUE(isWhite(image, 30, 20));

    memo->SetFillType(ftBrush);
    memo->SetBrushStyle(bsCross);
    const QImage hatched = draw(memo);
    int marks = 0;
    for (int x = 10; x < 30; ++x)
        marks += hatched.pixel(x, 20) == black;
    EXPECT_GT(marks, 0);
    EXPECT_LT(marks, 20);
}

TEST_F(ViewDraw, VisibilityAgainstPrinting)
{
    auto *page = new TfrxReportPage(&Report);
    page->SetLeftMargin(0);
    page->SetTopMargin(0);
    TfrxMemoView *memo = makeMemo(page, 10, 10, 20, 20, QString());
    memo->SetColor(clRed);
    memo->SetVisibility(TfrxVisibilityTypes(vsPreview | vsExport));
    QImage screen = whiteImage(60, 60), paper = whiteImage(60, 60);
    {
        TfrxCanvas canvas(&screen, 96, 96);
        rudDrawPage(page, &canvas, 1, 1, 0, 0, {});
        TTestPrinterCanvas printer(&paper, 96);
        rudDrawPage(page, &printer, 1, 1, 0, 0, {});
    }
    EXPECT_EQ(screen.pixel(20, 20), red);
    EXPECT_TRUE(isWhite(paper, 20, 20));
    EXPECT_FALSE(memo->IsPrinting());

    memo->SetVisibility(TfrxVisibilityTypes(vsPrint));
    paper.fill(Qt::white);
    screen.fill(Qt::white);
    {
        TfrxCanvas canvas(&screen, 96, 96);
        rudDrawPage(page, &canvas, 1, 1, 0, 0, {});
        TTestPrinterCanvas printer(&paper, 96);
        rudDrawPage(page, &printer, 1, 1, 0, 0, {});
    }
    EXPECT_TRUE(isWhite(screen, 20, 20));
    EXPECT_EQ(paper.pixel(20, 20), red);
}

TEST_F(ViewDraw, MirrorMarginsSwapOnOddPages)
{
    auto *page = new TfrxReportPage(&Report);
    page->SetLeftMargin(10);
    page->SetRightMargin(30);
    page->SetTopMargin(0);
    page->SetMirrorMargins(true);
    TfrxMemoView *memo = makeMemo(page, 0, 0, 10, 10, QString());
    memo->SetColor(clRed);
    auto firstRed = [&](int index) {
        QImage image = whiteImage(200, 20);
        TfrxCanvas canvas(&image, 96, 96);
        TfrxPageDrawOptions options;
        options.Index = index;
        rudDrawPage(page, &canvas, 1, 1, 0, 0, options);
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, 5) == red)
                return x;
        return -1;
    };
    EXPECT_EQ(firstRed(0), 38);  // 10 mm
    EXPECT_EQ(firstRed(1), 113); // 30 mm
    EXPECT_EQ(firstRed(2), 38);
    EXPECT_DOUBLE_EQ(page->LeftMargin(), 10);
}

TEST_F(ViewDraw, RecordingCanvasKeepsTextInOrder)
{
    auto *page = new TfrxReportPage(&Report);
    makeMemo(page, 0, 0, 100, 20, QStringLiteral("первый"));
    makeMemo(page, 0, 30, 100, 20, QStringLiteral("второй"));
    TfrxCanvas canvas;
    canvas.SetRecording(true);
    rudDrawPage(page, &canvas, 1, 1, 0, 0, {});
    ASSERT_EQ(canvas.TextRecords().size(), 2u);
    EXPECT_EQ(canvas.TextRecords()[0].Text, QStringLiteral("первый"));
    EXPECT_EQ(canvas.TextRecords()[1].Text, QStringLiteral("второй"));
    EXPECT_EQ(canvas.TextRecords()[1].Order, 1);
    EXPECT_GT(canvas.TextRecords()[1].Bounds.top(), canvas.TextRecords()[0].Bounds.bottom());
}

TEST_F(ViewDraw, ObjectsFarOutsideThePageAreClampedNotOverflowed)
{
    // Positions, sizes, gaps, frame and shadow widths of 1e300 (as a
    // template may hold them) reach device pixels clamped; drawing goes on
    // to the ordinary memo after them, at 96 and at 600 dpi.
    QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxReport><TfrxReportPage Name=\"Page1\" LeftMargin=\"0\" "
        "TopMargin=\"0\">"
        "<TfrxMemoView Name=\"Memo1\" Left=\"1e300\" Top=\"-1e300\" Width=\"1e300\" Height=\"1e300\" Text=\"x\" "
        "Frame.Typ=\"15\" Frame.Width=\"1e300\" GapX=\"1e300\" GapY=\"-1e300\" Color=\"255\"/>"
        "<TfrxMemoView Name=\"Memo2\" Left=\"-1e300\" Top=\"5\" Width=\"1e308\" Height=\"20\" Text=\"y\" "
        "Frame.Typ=\"15\" Frame.DropShadow=\"True\" Frame.ShadowWidth=\"1e300\" Frame.Style=\"fsDash\"/>"
        "<TfrxShapeView Name=\"Shape1\" Left=\"10\" Top=\"1e300\" Width=\"-1e300\" Height=\"1e300\" Shape=\"skEllipse\"/>"
        "<TfrxLineView Name=\"Line1\" Left=\"-1e300\" Top=\"-1e300\" Width=\"1e300\" Height=\"1e300\" Diagonal=\"True\"/>"
        "<TfrxMemoView Name=\"Memo3\" Left=\"10\" Top=\"30\" Width=\"20\" Height=\"10\" Color=\"255\"/>"
        "</TfrxReportPage></TfrxReport>";
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    Report.LoadFromStream(&buffer);
    auto *page = qobject_cast<TfrxReportPage *>(Report.FindObject(QStringLiteral("Page1")));
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->Objects().size(), 5);
    for (const int dpi : {96, 600}) {
        const double scale = dpi / 96.0;
        QImage image = whiteImage(rudRound(50 * scale), rudRound(50 * scale));
        TfrxCanvas canvas(&image, dpi, dpi);
        rudDrawPage(page, &canvas, scale, scale, 0, 0, {});
        EXPECT_EQ(image.pixel(rudRound(20 * scale), rudRound(35 * scale)), red) << dpi;
    }
}
