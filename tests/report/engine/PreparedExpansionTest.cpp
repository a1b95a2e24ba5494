// Expansion inside a real preparation: page numbers from the prepared pages
// store, placeholders resolved before drawing, the design texts restored, and
// a broken expression stopping the run with the memo's name.

#include "ExpressionTestUtil.h"

#include "base/Errors.h"
#include "report/engine/rudPreviewPages.h"

namespace {

// The text of the memo named Name on prepared page Index.
QString preparedText(TfrxReport &Report, int Index, const QString &Name)
{
    TfrxReportPage *page = Report.PreviewPages()->GetPage(Index);
    auto *memo = page ? qobject_cast<TfrxCustomMemoView *>(page->FindObject(Name)) : nullptr;
    if (!memo)
        return QStringLiteral("(no memo)");
    memo->SetTotalPages(Report.PreviewPages()->Count());
    memo->ExtractMacros();
    return memo->Memo().join(QStringLiteral("\r\n"));
}

} // namespace

TEST(PreparedExpansion, PageNumbersAndPlaceholdersOnTwoPages)
{
    TExpressionReport r;
    r.Report.EngineOptions()->SetNewSilentMode(simReThrow);
    r.Page->SetPageCount(2);
    r.AddMemo(QStringLiteral("Memo1"), QStringLiteral("Page [Page#] of [TotalPages#]"));
    r.AddMemo(QStringLiteral("Memo2"), QStringLiteral("[Page] [IIF(<Page#> = 1, 'first', 'next')]"));
    ASSERT_TRUE(r.Report.PrepareReport());
    ASSERT_EQ(r.Report.PreviewPages()->Count(), 2);
    EXPECT_EQ(preparedText(r.Report, 0, QStringLiteral("Memo1")), QStringLiteral("Page 1 of 2"));
    EXPECT_EQ(preparedText(r.Report, 1, QStringLiteral("Memo1")), QStringLiteral("Page 2 of 2"));
    EXPECT_EQ(preparedText(r.Report, 0, QStringLiteral("Memo2")), QStringLiteral("1 first"));
    EXPECT_EQ(preparedText(r.Report, 1, QStringLiteral("Memo2")), QStringLiteral("2 next"));
    // The design text survives preparation (the run rebuilds the design
    // objects, so the memo is looked up again).
    auto *memo = qobject_cast<TfrxMemoView *>(r.Report.FindObject(QStringLiteral("Memo1")));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Text(), QStringLiteral("Page [Page#] of [TotalPages#]\r\n"));
}

TEST(PreparedExpansion, BrokenExpressionStopsTheRun)
{
    TExpressionReport r;
    r.Report.EngineOptions()->SetNewSilentMode(simSilent);
    r.AddMemo(QStringLiteral("SchoolName"), QStringLiteral("Автошкола [Вираж]"));
    EXPECT_FALSE(r.Report.PrepareReport());
    EXPECT_EQ(r.Report.Errors(), QStringList{QStringLiteral(
                                     "SchoolName: Error in expression 'Вираж': Undeclared identifier: 'Вираж'")});
}
