// The whole print path through the real windows: the print command fills
// the template, the preview opens with the template's options and shows the
// prepared certificate page.

#include "PrintTestSupport.h"

#include "base/DateTime.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudPreview.h"
#include "report/render/rudPreviewForm.h"
#include "report/render/rudRenderInit.h"

#include <QAction>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The memos of prepared page 0 by name.
TfrxMemoView *preparedMemo(TfrxReport *report, const QString &name)
{
    TfrxReportPage *page = report->PreviewPages()->GetPage(0);
    return page ? qobject_cast<TfrxMemoView *>(page->FindObject(name)) : nullptr;
}

QString shown(TfrxMemoView *memo) { return memo ? memo->Text().remove(QStringLiteral("\r\n")) : QStringLiteral("<none>"); }

} // namespace

TEST(PrintPath, ThePrintCommandShowsTheFilledCertificate)
{
    rudRenderInit();
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    fillCertificate(w);
    w.DateTimePicker3->SetDate(EncodeDate(2026, 9, 1));
    const bool inspected = whenPrepared(
        [&](TfrxPreviewForm &form) {
            TfrxReport *report = form.Report();
            EXPECT_TRUE(form.isMaximized());
            EXPECT_TRUE(form.isModal());
            EXPECT_DOUBLE_EQ(form.Preview()->Zoom(), 1);
            EXPECT_EQ(form.StatusText(), "Page 1 of 1");
            EXPECT_EQ(shown(preparedMemo(report, "Memo1")), "Автошкола [филиал]");
            EXPECT_EQ(shown(preparedMemo(report, "Memo6")), "03");
            EXPECT_EQ(shown(preparedMemo(report, "Memo7")), "мая");
            EXPECT_EQ(shown(preparedMemo(report, "Memo8")), "5");
            EXPECT_EQ(shown(preparedMemo(report, "Memo26")), "2026");
            EXPECT_EQ(shown(preparedMemo(report, "Memo22")), "x");
            EXPECT_EQ(shown(preparedMemo(report, "Memo38")), "X");
            EXPECT_TRUE(report->Errors().isEmpty()) << report->Errors().join('\n').toStdString();
            // The page is painted: the workspace is not all grey and white.
            const QImage image = form.Preview()->Workspace()->viewport()->grab().toImage();
            EXPECT_FALSE(image.isNull());
        },
        [&] { w.N7->trigger(); });
    EXPECT_TRUE(inspected);
    EXPECT_TRUE(print.Shown.Ui.Messages.empty()) << print.Shown.Ui.MessageTexts().join('\n').toStdString();

    // A memo moved in the template file prints at its new place, without restarting.
    writeTemplate(w, [](QByteArray &xml) {
        const int at = xml.indexOf("Name=\"Memo5\"");
        const int left = xml.indexOf("Left=\"", at);
        const int end = xml.indexOf('"', left + 6);
        xml.replace(left + 6, end - left - 6, "123");
    });
    const bool again = whenPrepared(
        [&](TfrxPreviewForm &form) {
            TfrxMemoView *memo = preparedMemo(form.Report(), "Memo5");
            ASSERT_NE(memo, nullptr);
            EXPECT_NEAR(memo->AbsLeft(), 123, 0.01);
        },
        [&] { w.N7->trigger(); });
    EXPECT_TRUE(again);
}
