// The preview window as its user meets it: buttons and their show rules,
// zoom by box, buttons and wheel, keys, page placement.

#include "RenderTestSupport.h"
#include "report/model/rudReport.h"
#include "report/render/rudPreview.h"
#include "report/render/rudPreviewForm.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// A shown preview window over an unprepared report with the given buttons.
struct TShownPreview {
    explicit TShownPreview(TfrxPreviewButtons Buttons = TfrxPreviewButtons(0xFFF))
    {
        Report.PreviewOptions()->SetButtons(Buttons);
        Form.SetReport(&Report);
        Form.Init();
        Form.resize(1000, 700);
        Form.show();
    }
    bool Shown(QWidget *button) const
    {
        for (QAction *action : Form.ToolBar->actions())
            if (Form.ToolBar->widgetForAction(action) == button)
                return action->isVisible();
        return false;
    }
    void TypeZoom(const QString &text)
    {
        Form.ZoomCB->lineEdit()->selectAll();
        QTest::keyClicks(Form.ZoomCB->lineEdit(), text);
        QTest::keyClick(Form.ZoomCB->lineEdit(), Qt::Key_Return);
    }
    TRecordingUserInterface Ui;
    TRenderReport Report;
    TfrxPreviewForm Form;
};

void wheel(QWidget *target, int notches, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent event(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST(Preview, ToolbarCaptionsHintsAndShowRules)
{
    TShownPreview all;
    TfrxPreviewForm &f = all.Form;
    EXPECT_EQ(f.windowTitle(), "Preview");
    {
        // Init asks for a maximized window, as the default options say.
        TRenderReport report;
        TfrxPreviewForm form;
        form.SetReport(&report);
        form.Init();
        EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
    }
    EXPECT_EQ(f.PrintB->toolTip(), "Print");
    EXPECT_EQ(f.ZoomPlusB->toolTip(), "Zoom In");
    EXPECT_EQ(f.ThumbB->toolTip(), "Thumbnails");
    EXPECT_EQ(f.DesignerB->toolTip(), "Edit Page");
    EXPECT_EQ(f.LastB->toolTip(), "Last Page");
    EXPECT_EQ(f.FullScreenBtn->toolTip(), "Full Screen");
    EXPECT_EQ(f.ZoomCB->toolTip(), "Zoom");
    EXPECT_EQ(f.PageE->toolTip(), "Page Number");
    EXPECT_EQ(f.CancelB->text(), "Close");
    EXPECT_FALSE(f.PrintB->icon().isNull());
    EXPECT_EQ(f.ZoomCB->count(), 8);
    EXPECT_EQ(f.ZoomCB->itemText(6), "Page width");
    EXPECT_EQ(f.ZoomCB->itemText(7), "Whole page");
    EXPECT_EQ(f.ZoomCB->currentText(), "100%");
    EXPECT_EQ(f.StatusText(), "Page 1 of 0");
    EXPECT_EQ(f.OfNL->text(), "of 0");
    for (QToolButton *b : {f.PrintB, f.OpenB, f.SaveB, f.FindB, f.ZoomPlusB, f.ZoomMinusB, f.FullScreenBtn,
                           f.OutlineB, f.ThumbB, f.PageSettingsB, f.DesignerB, f.FirstB, f.PriorB, f.NextB,
                           f.LastB, f.CancelB})
        EXPECT_TRUE(all.Shown(b)) << b->objectName().toStdString();
    // The save button's drop-down saves a prepared report.
    ASSERT_FALSE(f.SaveMenu->actions().isEmpty());
    EXPECT_EQ(f.SaveMenu->actions().first()->text(), "Prepared Report...");
    // The right-button menu repeats the buttons with hints, then the outline items.
    QStringList items;
    for (QAction *a : f.RightMenu->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(items.first(), "Print");
    EXPECT_EQ(items.mid(items.size() - 2), (QStringList{"Expand all", "Collapse all"}));
    EXPECT_TRUE(items.contains("Full Screen"));
    EXPECT_FALSE(items.contains("Close"));

    TShownPreview some(pbPrint | pbNavigator | pbNoClose | pbNoFullScreen | pbZoom);
    EXPECT_TRUE(some.Shown(some.Form.PrintB));
    EXPECT_FALSE(some.Shown(some.Form.OpenB));
    EXPECT_FALSE(some.Shown(some.Form.SaveB));
    EXPECT_FALSE(some.Shown(some.Form.FindB));
    EXPECT_TRUE(some.Shown(some.Form.ZoomPlusB));
    EXPECT_FALSE(some.Shown(some.Form.FullScreenBtn));
    EXPECT_FALSE(some.Shown(some.Form.DesignerB));
    EXPECT_TRUE(some.Shown(some.Form.LastB));
    EXPECT_FALSE(some.Shown(some.Form.CancelB));
}

TEST(Preview, ZoomByBoxButtonsAndWheel)
{
    TShownPreview shown;
    TfrxPreviewForm &f = shown.Form;
    TfrxPreview *p = f.Preview();
    shown.TypeZoom(QStringLiteral("75 %"));
    EXPECT_DOUBLE_EQ(p->Zoom(), 0.75);
    EXPECT_EQ(f.ZoomCB->currentText(), "75%");
    shown.TypeZoom(QStringLiteral("10"));
    EXPECT_DOUBLE_EQ(p->Zoom(), 0.25);
    EXPECT_EQ(f.ZoomCB->currentText(), "25%");
    // The zoom-out button never goes below 0.25; the zoom-in adds 0.25.
    f.ZoomMinusB->click();
    EXPECT_DOUBLE_EQ(p->Zoom(), 0.25);
    f.ZoomPlusB->click();
    EXPECT_DOUBLE_EQ(p->Zoom(), 0.5);
    // Ctrl + wheel: 0.1 a notch, not below 0.3 on the way down.
    p->SetZoom(0.35);
    wheel(p->Workspace()->viewport(), -1, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(p->Zoom(), 0.3);
    wheel(p->Workspace()->viewport(), -1, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(p->Zoom(), 0.3);
    wheel(p->Workspace()->viewport(), 2, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(p->Zoom(), 0.5);
    EXPECT_EQ(p->ZoomMode(), zmDefault);
    // Page width: the workspace width less scroll bar and 26, over an A4 width.
    f.ZoomCB->setCurrentIndex(6);
    f.ZoomCBApply();
    EXPECT_EQ(p->ZoomMode(), zmPageWidth);
    const int bar = p->Workspace()->verticalScrollBar()->sizeHint().width();
    EXPECT_NEAR(p->Zoom(), double(p->Workspace()->width() - bar - 26) / 794, 1e-9);
    // Typing into the box gives back the default mode.
    shown.TypeZoom(QStringLiteral("150%"));
    EXPECT_DOUBLE_EQ(p->Zoom(), 1.5);
    EXPECT_EQ(p->ZoomMode(), zmDefault);
}

TEST(Preview, KeysBeforeAnySearchAndWithoutPages)
{
    TShownPreview shown;
    TfrxPreview *p = shown.Form.Preview();
    p->setFocus();
    // F3 before any search shows nothing and changes nothing.
    QTest::keyClick(p->Workspace(), Qt::Key_F3);
    EXPECT_TRUE(shown.Ui.Messages.empty());
    EXPECT_EQ(p->PageNo(), 1);
    // Navigation is clamped to 1 .. count.
    QTest::keyClick(p->Workspace(), Qt::Key_End);
    QTest::keyClick(p->Workspace(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(p->PageNo(), 1);
    // A search that finds nothing says so.
    EXPECT_FALSE(p->FindText(QStringLiteral("x"), true, false));
    EXPECT_EQ(shown.Ui.MessageTexts(), QStringList{"Text not found"});
    // Escape closes the window.
    QTest::keyClick(&shown.Form, Qt::Key_Escape);
    EXPECT_FALSE(shown.Form.isVisible());
}

TEST(Preview, FullScreenHidesBarsAndEscapeComesBack)
{
    TShownPreview shown;
    TfrxPreviewForm &f = shown.Form;
    const Qt::WindowFlags flags = f.windowFlags();
    QTest::keyClick(&f, Qt::Key_F11);
    EXPECT_TRUE(f.IsFullScreen());
    EXPECT_FALSE(f.ToolBar->isVisible());
    EXPECT_FALSE(f.StatusBar->isVisible());
    EXPECT_TRUE(f.FullScreenExitB->isVisible());
    // The window is not re-created on the way (a modal one would leave its loop).
    EXPECT_EQ(f.windowFlags(), flags);
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_FALSE(f.IsFullScreen());
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.ToolBar->isVisible());
    EXPECT_FALSE(f.FullScreenExitB->isVisible());
    EXPECT_EQ(f.windowFlags(), flags);
}

TEST(PreviewPageList, RowsAreCentredAndTheAreaFollowsThem)
{
    TfrxPageList list;
    // Two A5 pages at zoom 1 (559 x 794) side by side need 1128 pixels.
    list.AddPage(QSize(559, 794), 1);
    list.AddPage(QSize(559, 794), 1);
    list.AddPage(QSize(559, 794), 1);
    list.CalcBounds(1200);
    EXPECT_EQ(list.Item(0).OffsetY, 10);
    EXPECT_EQ(list.Item(1).OffsetY, 10);
    EXPECT_EQ(list.Item(1).OffsetX - list.Item(0).OffsetX, 569);
    // Centred: (1200 - 1138 + 10) div 2 + 10.
    EXPECT_EQ(list.Item(0).OffsetX, 46);
    EXPECT_EQ(list.Item(2).OffsetY, 10 + 794 + 10);
    EXPECT_EQ(list.MaxSize().height(), 814 + 794 + 10);
    EXPECT_EQ(list.FindPage(900), 2);
    EXPECT_EQ(list.FindPage(20, 700), 1);
    EXPECT_EQ(list.FindPage(0), 0);
    // A row always takes one page, shifted 10 when it is wider than the client.
    list.CalcBounds(300);
    EXPECT_EQ(list.Item(0).OffsetX, 10);
    EXPECT_EQ(list.Item(1).OffsetY, 814);
    // Zoom rounds the sizes to whole pixels.
    TfrxPageList zoomed;
    zoomed.AddPage(QSize(559, 794), 0.75);
    EXPECT_EQ(zoomed.Item(0).Width, 419);
    EXPECT_EQ(zoomed.Item(0).Height, 596);
    // Outside the list: A4 at the zoom, centred, 10 x zoom from the top.
    EXPECT_EQ(zoomed.GetPageBounds(5, 1000, 0.5), QRect(301, 5, 397, 562));
}
