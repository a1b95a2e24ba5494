// The preview window on a real X server, where window sizes and full screen
// go through the window system as on a desktop: the window keeps its size
// while it is shown, and full screen returns to the window as it was,
// leaving the window it was opened from usable.

#include "RenderTestSupport.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudPreview.h"
#include "report/render/rudPreviewForm.h"
#include "support/TestSupport.h"
#include "support/XvfbScreen.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A report of Count A5 pages, a memo on each, with the certificate
// program's preview options (modal, maximized).
void addPages(TfrxReport &Report, int Count)
{
    for (int i = 1; i <= Count; ++i) {
        auto *page = new TfrxReportPage(&Report);
        page->SetName(QStringLiteral("Page%1").arg(i));
        page->SetPaperSize(11);
        auto *memo = new TfrxMemoView(page);
        memo->SetName(QStringLiteral("Memo%1").arg(i));
        memo->SetBounds(40, 40, 300, 20);
        memo->SetText(QStringLiteral("Page %1").arg(i));
    }
    Report.PreviewOptions()->SetModal(true);
    Report.PreviewOptions()->SetMaximized(true);
}

QRect globalRect(const QWidget *Widget) { return {Widget->mapToGlobal(QPoint()), Widget->size()}; }

// Presses a key as the window system delivers it: a window that a modal
// window blocks gets nothing.
void press(QWidget *Window, Qt::Key Key)
{
    QTest::keyClick(Window->windowHandle(), Key);
}

} // namespace

TEST(PreviewOnScreen, KeepsItsSizeAndFullScreenReturnsToTheWindowAsItWas)
{
    if (!onXvfb()) {
        const TXvfbRun run = runCurrentTestOnXvfb(QSize(1280, 1024));
        if (run.Skipped)
            GTEST_SKIP() << run.Reason.toStdString();
        EXPECT_EQ(run.ExitCode, 0) << run.Output.toStdString();
        return;
    }
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    TRecordingUserInterface ui;

    // The window the preview is opened from; Escape closes it, as it ends
    // the certificate program.
    QWidget entry;
    auto *field = new QLineEdit(&entry);
    (new QVBoxLayout(&entry))->addWidget(field);
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), &entry), &QShortcut::activated, &entry,
                     &QWidget::close);
    entry.resize(400, 100);
    entry.show();
    entry.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&entry));
    field->setFocus();

    TRenderReport report;
    addPages(report, 3);
    // The steps run one after the other from the preview's own modal loop,
    // each returning to it before the next (as a user's key presses do).
    QPointer<TfrxPreviewForm> form;
    TfrxPreview *preview = nullptr;
    QRect screen, before;
    TfrxPreviewView view;
    auto fullScreen = [&](const char *how) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return form && form->geometry() == screen; }, 5000)) << how;
        if (!form)
            return;
        EXPECT_TRUE(form->isVisible()) << how;
        EXPECT_EQ(QApplication::activeModalWidget(), form.data()) << how;
        EXPECT_FALSE(form->ToolBar->isVisible()) << how;
        EXPECT_FALSE(form->StatusBar->isVisible()) << how;
        EXPECT_EQ(globalRect(preview), screen) << how;
    };
    auto asBefore = [&](const char *how) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return form && form->geometry() == before; }, 5000)) << how;
        if (!form)
            return;
        EXPECT_TRUE(form->isVisible()) << how;
        EXPECT_TRUE(form->ToolBar->isVisible()) << how;
        EXPECT_TRUE(form->StatusBar->isVisible()) << how;
        const TfrxPreviewView now = preview->View();
        EXPECT_EQ(now.Zoom, view.Zoom) << how;
        EXPECT_EQ(now.PageNo, 2) << how;
        EXPECT_EQ(now.Scroll, view.Scroll) << how;
        EXPECT_EQ(form->StatusText(), QStringLiteral("Page 2 of 3")) << how;
    };
    const std::vector<std::function<void()>> steps{
        [&] {
            // Shown for 10 seconds, the window keeps its size, inside the screen.
            preview = qobject_cast<TfrxPreview *>(report.Preview());
            form = preview ? qobject_cast<TfrxPreviewForm *>(preview->window()) : nullptr;
            ASSERT_TRUE(form);
            ASSERT_TRUE(QTest::qWaitFor([&] { return !preview->Running() && preview->PageCount() == 3; }, 20000));
            screen = form->screen()->geometry();
            const QRect shown = form->frameGeometry();
            EXPECT_TRUE(screen.contains(shown)) << shown.width() << 'x' << shown.height();
            for (int second = 1; second <= 10; ++second) {
                QTest::qWait(1000);
                EXPECT_EQ(form->frameGeometry().width(), shown.width()) << "after " << second << " s";
                EXPECT_EQ(form->frameGeometry().height(), shown.height()) << "after " << second << " s";
            }
            // Full screen by F11 from page 2 at 150 %, scrolled sideways.
            preview->SetZoom(1.5);
            preview->SetPageNo(2);
            preview->Workspace()->horizontalScrollBar()->setValue(30);
            before = form->geometry();
            view = preview->View();
            press(form, Qt::Key_F11);
        },
        [&] {
            fullScreen("F11");
            if (form)
                press(form, Qt::Key_Escape);
        },
        [&] {
            asBefore("Escape");
            if (form)
                QTest::mouseClick(form->FullScreenBtn, Qt::LeftButton);
        },
        [&] {
            fullScreen("the full-screen button");
            // The toolbar is hidden: the button's stand-in in the corner brings the window back.
            if (form && form->FullScreenExitB->isVisible())
                QTest::mouseClick(form->FullScreenExitB, Qt::LeftButton);
            else
                ADD_FAILURE() << "no full-screen button in full screen";
        },
        [&] {
            asBefore("the full-screen button in full screen");
            // Escape outside full screen closes the preview, and only the preview.
            if (form)
                press(form, Qt::Key_Escape);
        },
    };
    bool done = false;
    std::function<void(size_t)> run = [&](size_t step) {
        if (step < steps.size()) {
            steps[step]();
            QTimer::singleShot(200, &entry, [&run, step] { run(step + 1); });
            return;
        }
        EXPECT_FALSE(form && form->isVisible()) << "Escape left the preview open";
        if (form && form->isVisible())
            form->close();
        done = true;
    };
    QTimer::singleShot(0, &entry, [&] { run(0); });
    report.ShowReport();
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 60000));

    // The window it was opened from is still there and takes typing again.
    EXPECT_TRUE(entry.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    field->setFocus();
    QTest::keyClick(entry.windowHandle(), Qt::Key_A);
    QTest::qWait(100);
    EXPECT_EQ(field->text(), QStringLiteral("a"));
}
