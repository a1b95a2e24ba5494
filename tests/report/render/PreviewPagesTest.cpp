// The preview over real prepared pages: painting, finding a text on a
// three-page report, and a prepared report saved and opened again.

#include "RenderTestSupport.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudPage.h"
#include "report/render/rudPreview.h"
#include "report/render/rudPreviewForm.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A report of three A5 pages, each with one memo: "Alpha", "Beta", "Gamma".
void buildThreePages(TfrxReport &Report)
{
    const char *texts[] = {"Alpha", "Beta", "Gamma"};
    for (int i = 0; i < 3; ++i) {
        auto *page = new TfrxReportPage(&Report);
        page->SetName(QStringLiteral("Page%1").arg(i + 1));
        page->SetPaperSize(11);
        auto *memo = makeMemo(page, 40, 60 + 100 * i, 200, 24, QString::fromLatin1(texts[i]), 12);
        memo->SetName(QStringLiteral("Memo%1").arg(i + 1));
    }
}

// The preview control of a shown window over Report's prepared pages.
struct TPreparedPreview {
    explicit TPreparedPreview(TfrxReport &Report)
    {
        Form.SetReport(&Report);
        Form.Init();
        Form.resize(900, 700);
        Form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Form));
    }
    TfrxPreview &Preview() { return *Form.Preview(); }
    TfrxPreviewForm Form;
};

QImage drawn(TfrxPreview &Preview, int Index)
{
    const QSize size = Preview.PageSize(Index);
    QImage image = whiteImage(size.width(), size.height());
    QPainter painter(&image);
    Preview.DrawPage(Index, painter, 1, QPointF(0, 0));
    return image;
}

} // namespace

TEST(PreviewPages, FindMovesToThePageOfTheTextAndF3GoesOn)
{
    rudRenderInit();
    TRecordingUserInterface ui;
    TRenderReport report;
    buildThreePages(report);
    ASSERT_TRUE(report.PrepareReport(true)) << report.Errors().join('\n').toStdString();
    ASSERT_EQ(report.PreviewPages()->Count(), 3);
    TPreparedPreview shown(report);
    TfrxPreview &p = shown.Preview();
    EXPECT_EQ(p.PageCount(), 3);
    EXPECT_EQ(shown.Form.StatusText(), "Page 1 of 3");
    EXPECT_EQ(p.PageSize(0), QSize(559, 794));

    EXPECT_TRUE(p.FindText(QStringLiteral("gamma"), true, false));
    EXPECT_EQ(p.PageNo(), 3);
    EXPECT_EQ(shown.Form.StatusText(), "Page 3 of 3");
    EXPECT_EQ(p.Workspace()->FoundPage, 2);
    // The hit lies where the memo's text is drawn: its top plus the margin.
    EXPECT_GT(p.Workspace()->FoundRect.top(), 259);
    EXPECT_LT(p.Workspace()->FoundRect.top(), 260 + 40 + 24);
    // Case-sensitive: no "gamma" in small letters.
    EXPECT_FALSE(p.FindText(QStringLiteral("gamma"), true, true));
    EXPECT_EQ(ui.MessageTexts(), QStringList{"Text not found"});
    // From the current page on: "Beta" is behind page 3, so only from the top.
    p.SetPageNo(3);
    EXPECT_FALSE(p.FindText(QStringLiteral("Beta"), false, false));
    EXPECT_TRUE(p.FindText(QStringLiteral("Beta"), true, false));
    EXPECT_EQ(p.PageNo(), 2);
    // F3 repeats after the last hit: nothing more, and it says so.
    QTest::keyClick(p.Workspace(), Qt::Key_F3);
    EXPECT_EQ(ui.MessageTexts().size(), 3);
    // Clicking the thumbnails' page and the navigation buttons move the page.
    shown.Form.FirstB->click();
    EXPECT_EQ(p.PageNo(), 1);
    shown.Form.LastB->click();
    EXPECT_EQ(p.PageNo(), 3);
    shown.Form.PageE->setText(QStringLiteral("2"));
    shown.Form.PageEApply();
    EXPECT_EQ(p.PageNo(), 2);
    // The workspace shows the page: something besides white and grey is painted.
    const QImage view = p.Workspace()->viewport()->grab().toImage();
    EXPECT_FALSE(view.isNull());
}

TEST(PreviewPages, SavedPreparedReportOpensWithTheSamePages)
{
    rudRenderInit();
    TRecordingUserInterface ui;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("three.fp3"));
    TRenderReport report;
    buildThreePages(report);
    ASSERT_TRUE(report.PrepareReport(true));
    TPreparedPreview first(report);
    // The save button's item asks for a name and adds ".fp3".
    ui.FileAnswers.push_back(TFileDialogResult{dir.filePath(QStringLiteral("three")), 1});
    first.Preview().SaveToFile();
    ASSERT_EQ(ui.SaveDialogs.size(), 1u);
    EXPECT_EQ(ui.SaveDialogs[0].Filter, "Prepared Report (*.fp3)|*.fp3");
    ASSERT_TRUE(QFile::exists(file));

    TRenderReport other;
    TPreparedPreview second(other);
    ui.FileAnswers.push_back(TFileDialogResult{file, 1});
    second.Preview().LoadFromFile();
    ASSERT_EQ(second.Preview().PageCount(), 3);
    EXPECT_EQ(second.Form.StatusText(), "Page 1 of 3");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(second.Preview().PageSize(i), first.Preview().PageSize(i));
        EXPECT_EQ(drawn(second.Preview(), i), drawn(first.Preview(), i)) << i;
    }
    EXPECT_TRUE(second.Preview().FindText(QStringLiteral("Beta"), true, false));
    EXPECT_EQ(second.Preview().PageNo(), 2);
}
