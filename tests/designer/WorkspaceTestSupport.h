#pragma once
// The design workspace on a real report page, driven by real mouse and key
// events sent to the widget (offscreen), the way the designer window holds
// it: the window's object and selection lists, rebuilt after insertions.

#include "DesignerServices.h"
#include "designer/rudGuidedWorkspace.h"
#include "report/model/rudBand.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudRenderInit.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

// One millimetre in page units.
inline constexpr double Mm = fr01cm;

class WorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rudRenderInit();
        Report = std::make_unique<TDesignerReport>();
        Page = new TfrxReportPage(Report.get());
        Page->SetName(QStringLiteral("Page1"));
        Page->SetPaperSize(11); // A5
        Page->SetLeftMargin(10);
        Page->SetRightMargin(10);
        Page->SetTopMargin(10);
        Page->SetBottomMargin(10);
        Page->UpdateDimensions();
        Workspace = std::make_unique<TDesignerWorkspace>();
        Workspace->SetObjects(&Objects);
        Workspace->SetSelectionModel(&Selection);
        // A 1 mm grid in centimetre units, aligned, at 100 %.
        Workspace->SetUnits(duCM);
        Workspace->SetGridType(gt1cm);
        Workspace->SetGrid(0.1 * fr1cm, 0.1 * fr1cm);
        Workspace->SetGridAlign(true);
    }

    // A memo on Parent (the page when none) at the given bounds, page units.
    TfrxMemoView *AddMemo(const QString &Name, double Left, double Top, double Width, double Height,
                          const QString &Text = QString(), TfrxComponent *Parent = nullptr)
    {
        auto *memo = new TfrxMemoView(Parent ? Parent : Page);
        memo->SetName(Name);
        memo->SetBounds(Left, Top, Width, Height);
        memo->SetText(Text);
        return memo;
    }

    // Shows the page in the workspace, as the window does after loading.
    void Show()
    {
        Rebuild();
        Workspace->SetPage(Page);
        Workspace->show();
    }

    // The window refills its object list after the page's objects changed.
    void Rebuild()
    {
        Objects.clear();
        Objects.append(Page);
        Objects.append(Page->AllObjects());
        Workspace->UpdateView();
    }

    QPoint At(const QPointF &PagePoint) const { return Workspace->ToWidget(PagePoint).toPoint(); }

    // Mouse events at widget points.
    void MoveTo(const QPoint &Pos, Qt::MouseButtons Buttons = Qt::LeftButton,
                Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        QMouseEvent event(QEvent::MouseMove, QPointF(Pos), Workspace->mapToGlobal(QPointF(Pos)), Qt::NoButton,
                          Buttons, Modifiers);
        QApplication::sendEvent(Workspace.get(), &event);
    }
    void Hover(const QPoint &Pos, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        MoveTo(Pos, Qt::NoButton, Modifiers);
    }
    void Press(const QPoint &Pos, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        Hover(Pos, Modifiers);
        QTest::mousePress(Workspace.get(), Qt::LeftButton, Modifiers, Pos);
    }
    void Release(const QPoint &Pos, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        QTest::mouseRelease(Workspace.get(), Qt::LeftButton, Modifiers, Pos);
    }
    void Click(const QPoint &Pos, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        Press(Pos, Modifiers);
        Release(Pos, Modifiers);
    }
    // Press at From, move to To in one step, release there.
    void Drag(const QPoint &From, const QPoint &To, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        Press(From);
        MoveTo(To, Qt::LeftButton, Modifiers);
        Release(To, Modifiers);
    }
    void Key(Qt::Key Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        QTest::keyClick(Workspace.get(), Key, Modifiers);
    }

    QList<TfrxComponent *> Sel() const { return Selection.Objects(); }

    std::unique_ptr<TfrxReport> Report;
    TfrxReportPage *Page = nullptr;
    QList<TfrxComponent *> Objects;
    TfrxSelectionModel Selection;
    std::unique_ptr<TDesignerWorkspace> Workspace;
};
