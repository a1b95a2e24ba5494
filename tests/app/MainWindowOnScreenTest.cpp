// The entry window on real X servers smaller than its design: a 1024 x 768
// screen, and a 1600 x 1200 screen at scale factor 2 (800 x 600 to the
// window). It fits the screen, the booklet area scrolls, and the controls
// of the two bottom panels are whole, apart and on the screen.

#include "AppTestSupport.h"

#include "support/XvfbScreen.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

QRect globalRect(const QWidget *Widget) { return {Widget->mapToGlobal(QPoint()), Widget->size()}; }

} // namespace

TEST(MainWindowOnScreen, FitsSmallAndScaledScreensWithEveryPanelControlOnIt)
{
    if (!onXvfb()) {
        const struct {
            QSize Screen;
            const char *Scale;
        } screens[] = {{{1024, 768}, ""}, {{1600, 1200}, "2"}};
        for (const auto &screen : screens) {
            const TXvfbRun run = runCurrentTestOnXvfb(screen.Screen, QString::fromLatin1(screen.Scale));
            if (run.Skipped)
                GTEST_SKIP() << run.Reason.toStdString();
            EXPECT_EQ(run.ExitCode, 0) << screen.Screen.width() << 'x' << screen.Screen.height() << " scale "
                                       << screen.Scale << ":\n"
                                       << run.Output.toStdString();
        }
        return;
    }
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    TShownMainWindow shown;
    TfmMain &w = *shown.Window;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(300);
    const QRect available = w.screen()->availableGeometry();
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    EXPECT_EQ(w.devicePixelRatio(), scale);
    ASSERT_LT(available.width(), TfmMain::DesignedClientWidth);

    EXPECT_TRUE(available.contains(w.frameGeometry()))
        << w.frameGeometry().width() << 'x' << w.frameGeometry().height();
    const QRect client = globalRect(w.centralWidget());
    const QList<QWidget *> controls{w.Label4, w.DateTimePicker3, w.Label5, w.Edit_9,
                                    w.Button3, w.Button1,         w.Button2, w.BitBtn2};
    for (QWidget *control : controls) {
        const QRect place = globalRect(control);
        const std::string name = control->objectName().toStdString();
        EXPECT_TRUE(control->isVisible()) << name;
        EXPECT_TRUE(globalRect(control->parentWidget()).contains(place)) << name << " is cut by its panel";
        EXPECT_TRUE(client.contains(place)) << name << " is outside the window";
        EXPECT_TRUE(available.contains(place)) << name << " is off the screen";
        for (QWidget *other : controls)
            EXPECT_TRUE(other == control || !place.intersects(globalRect(other))) << name << " covers "
                                                                                 << other->objectName().toStdString();
    }
    EXPECT_EQ(w.Panel2->geometry().bottom(), w.centralWidget()->height() - 1);

    // The booklet area shows what it can and scrolls to the rest of both pages.
    const QScrollArea &area = *w.ScrollBox1;
    EXPECT_GE(area.viewport()->height(), 200);
    EXPECT_EQ(area.horizontalScrollBar()->maximum(), w.Booklet->width() - area.viewport()->width());
    EXPECT_EQ(area.verticalScrollBar()->maximum(), std::max(0, w.Booklet->height() - area.viewport()->height()));
}
