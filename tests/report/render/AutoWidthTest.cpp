// A memo with AutoWidth takes the width of its text when a prepared page is
// drawn, and its neighbours aligned to it follow.

#include "RenderTestSupport.h"

#include "support/TestSupport.h"

#include "report/engine/rudEngineInit.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudPage.h"

TEST(AutoWidth, NeighboursAlignedToAnAutoWidthMemoFollowItOnTheDrawnPage)
{
    ASSERT_FALSE(layoutFontFamily().isEmpty());
    rudEngineInit();
    TRecordingUserInterface ui;
    TRenderReport report;
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    TfrxMemoView *grows = makeMemo(page, 20, 10, 40, 20, QStringLiteral("a text far wider than forty pixels"));
    grows->SetName(QStringLiteral("Grows"));
    grows->SetAutoWidth(true);
    grows->SetWordWrap(false);
    TfrxMemoView *follows = makeMemo(page, 100, 12, 50, 20, QStringLiteral("next"));
    follows->SetName(QStringLiteral("Follows"));
    follows->SetAlign(baLeft);
    TfrxMemoView *right = makeMemo(page, 300, 14, 60, 20, QStringLiteral("right"));
    right->SetName(QStringLiteral("Right"));
    right->SetAlign(baRight);
    TfrxMemoView *below = makeMemo(page, 0, 100, 30, 20, QStringLiteral("below"));
    below->SetName(QStringLiteral("Below"));
    below->SetAlign(baLeft);

    ASSERT_TRUE(report.PrepareReport()) << report.Errors().join('\n').toStdString();
    TfrxReportPage *prepared = report.PreviewPages()->GetPage(0);
    ASSERT_NE(prepared, nullptr);
    auto *grown = dynamic_cast<TfrxMemoView *>(prepared->FindObject(QStringLiteral("Grows")));
    auto *next = prepared->FindObject(QStringLiteral("Follows"));
    auto *last = prepared->FindObject(QStringLiteral("Right"));
    ASSERT_TRUE(grown && next && last);
    // As prepared: aligned to the designed width of the memo.
    EXPECT_DOUBLE_EQ(next->Left(), 60);
    const double bandWidth = next->Parent()->Width();
    EXPECT_DOUBLE_EQ(last->Left(), bandWidth - 60);

    TfrxCanvas canvas;
    canvas.SetRecording(true);
    report.PreviewPages()->DrawPage(0, &canvas, 1, 1, 0, 0);
    EXPECT_GT(grown->Width(), 150);
    EXPECT_DOUBLE_EQ(grown->Left(), 20);
    EXPECT_DOUBLE_EQ(next->Left(), 20 + grown->Width());
    EXPECT_DOUBLE_EQ(last->Left(), bandWidth - 60);
    EXPECT_DOUBLE_EQ(prepared->FindObject(QStringLiteral("Below"))->Left(), 0);
    // The neighbour is drawn where it now stands.
    bool seen = false;
    for (const TfrxTextRecord &record : canvas.TextRecords())
        if (record.Text == QLatin1String("next")) {
            seen = true;
            EXPECT_GE(record.Bounds.left(), int(20 + grown->Width()));
        }
    EXPECT_TRUE(seen);
}
