// A report whose script never ends, shown in its preview window: the
// window's Cancel stops the script and keeps the window with the pages made
// so far; closing the window stops it too, and the window then goes.

#include "RenderTestSupport.h"

#include "report/engine/rudPreviewPages.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudPreview.h"
#include "report/render/rudPreviewForm.h"
#include "report/render/rudRenderInit.h"
#include "script/fs_iinterpreter.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// One page whose memo's OnBeforePrint loops for ever.
void addEndlessPage(TfrxReport &Report)
{
    addMemoPage(Report)->SetOnBeforePrint(QStringLiteral("Memo1OnBeforePrint"));
    Report.SetScriptText({"procedure Memo1OnBeforePrint(Sender: TfrxComponent);", "var i: Integer;", "begin",
                          "  while True do i := i + 1;", "end;", "", "begin", "end."});
    Report.PreviewOptions()->SetModal(false);
}

TfrxPreviewForm *previewWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *form = qobject_cast<TfrxPreviewForm *>(widget); form && form->isVisible())
            return form;
    return nullptr;
}

} // namespace

TEST(PreviewCancel, CancelOrClosingStopsAScriptThatNeverEnds)
{
    rudRenderInit();
    TRecordingUserInterface ui;
    // Should the script not stop, the run ends here instead of never.
    fsSetTimeLimit(60000);
    for (const bool closing : {false, true}) {
        SCOPED_TRACE(closing ? "closing the window" : "Cancel");
        TRenderReport report;
        addEndlessPage(report);
        bool began = false;
        report.OnBeginDoc = [&began](TfrxReport *) { began = true; };
        report.ShowReport();
        QPointer<TfrxPreviewForm> form = previewWindow();
        ASSERT_NE(form, nullptr);
        // Pressed while the script runs, once its page is there (a loaded
        // machine may take long to get so far): the preparation began in a
        // timer's tick and is still on the stack.
        QTimer press;
        QObject::connect(&press, &QTimer::timeout, form, [&press, &report, form, closing] {
            if (!form->Preview()->Running() || report.PreviewPages()->Count() < 1)
                return;
            press.stop();
            if (closing)
                form->close();
            else
                form->CancelB->click();
        });
        press.start(50);
        ASSERT_TRUE(QTest::qWaitFor([&] { return began && (!form || !form->Preview()->Running()); }, 90000));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (closing) {
            EXPECT_TRUE(QTest::qWaitFor([&form] { return !form || !form->isVisible(); }, 5000));
        } else {
            ASSERT_NE(form, nullptr);
            EXPECT_TRUE(form->isVisible());
            EXPECT_EQ(report.PreviewPages()->Count(), 1);
            form->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(ui.Messages.empty()) << qPrintable(ui.MessageTexts().join('\n'));
    }
    fsSetTimeLimit(0);
}
