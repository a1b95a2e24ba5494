// The prepared pages store draws its pages through the drawing room: memos
// get the store's page count before they are drawn.

#include "RenderTestSupport.h"

#include "report/engine/rudCustomEngine.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudBand.h"
#include "report/model/rudPage.h"

TEST(DrawPage, StorePagesDrawWithThePageCount)
{
    ASSERT_FALSE(layoutFontFamily().isEmpty());
    TRenderReport report;
    TfrxCustomEngine engine(&report);
    auto *page = new TfrxReportPage(&report);
    page->SetLeftMargin(0);
    page->SetTopMargin(0);
    TfrxMemoView *memo = makeMemo(page, 10, 10, 200, 20, QStringLiteral("из [TotalPages#]"));
    memo->SetColor(clRed);
    auto *pages = dynamic_cast<TfrxPreviewPages *>(report.PreviewPages());
    ASSERT_NE(pages, nullptr);
    pages->SetEngine(&engine);
    pages->Clear();
    pages->Initialize();
    pages->AddSourcePage(page);
    pages->BeginPass();
    for (int i = 0; i < 2; ++i) {
        pages->AddPage(page);
        // The page's objects go out on a null band, as preparation does.
        TfrxNullBand band(nullptr);
        memo->SetParent(&band);
        pages->AddObject(&band);
        memo->SetParent(page);
    }
    pages->Finish();
    ASSERT_EQ(pages->GetCount(), 2);

    TfrxCanvas canvas;
    canvas.SetRecording(true);
    pages->DrawPage(1, &canvas, 1, 1, 0, 0);
    ASSERT_EQ(canvas.TextRecords().size(), 1u);
    EXPECT_EQ(canvas.TextRecords()[0].Text, QStringLiteral("из 2"));

    QImage image = whiteImage(100, 60);
    {
        TfrxCanvas screen(&image, 96, 96);
        pages->DrawPage(0, &screen, 1, 1, 0, 0);
        pages->DrawPage(5, &screen, 1, 1, 0, 0);
    }
    EXPECT_EQ(image.pixel(20, 20), qRgb(255, 0, 0));
}
