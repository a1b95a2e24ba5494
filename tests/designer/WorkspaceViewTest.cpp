// What the design workspace shows and the designer's additions: the page
// drawn by the preview's drawing code, in-place text editing, guides,
// pasted objects under the mouse, the rulers, and the certificate template.

#include "WorkspaceTestSupport.h"

#include "designer/rudRuler.h"
#include "designer/rudRulerScrollArea.h"
#include "report/model/rudGraphic.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>

namespace {

// Pixels in the widget rectangle Rect that are clearly dark.
int darkPixels(const QImage &Image, const QRect &Rect)
{
    int count = 0;
    for (int y = Rect.top(); y <= Rect.bottom(); ++y)
        for (int x = Rect.left(); x <= Rect.right(); ++x)
            if (qGray(Image.pixel(x, y)) < 100)
                ++count;
    return count;
}

// The widget rectangle of an object, less a pixel all round (its outline).
QRect inner(TfrxDesignerWorkspace *Workspace, TfrxComponent *Obj)
{
    const QRectF r = TfrxDesignerWorkspace::AbsRect(Obj);
    const QRectF w(Workspace->ToWidget(r.topLeft()), Workspace->ToWidget(r.bottomRight()));
    return w.toAlignedRect().adjusted(2, 2, -2, -2);
}

} // namespace

TEST_F(WorkspaceTest, TheGrabbedPageShowsTheMemoText)
{
    TfrxMemoView *text = AddMemo("Text", 20 * Mm, 20 * Mm, 60 * Mm, 8 * Mm, QStringLiteral("WWWWWWWW"));
    text->Font()->SetSize(14);
    TfrxMemoView *empty = AddMemo("Empty", 20 * Mm, 40 * Mm, 60 * Mm, 8 * Mm);
    Show();
    Workspace->SetShowGrid(false);
    QImage image = Workspace->grab().toImage();
    image.save(QStringLiteral("/tmp/ws_memo.png"));
    EXPECT_GT(darkPixels(image, inner(Workspace.get(), text)), 40);
    EXPECT_EQ(darkPixels(image, inner(Workspace.get(), empty)), 0);
    // Outside the paper is the workspace colour, the paper is white.
    EXPECT_EQ(image.pixel(2, 2), Workspace->WorkspaceColor().rgb());
    const QPoint paper = Workspace->PaperRect().topLeft().toPoint() + QPoint(5, 5);
    EXPECT_EQ(image.pixel(paper), qRgb(255, 255, 255));

    // At twice the scale the text is twice as tall: about four times the ink.
    const int atOne = darkPixels(image, inner(Workspace.get(), text));
    Workspace->SetScale(2);
    image = Workspace->grab().toImage();
    const int atTwo = darkPixels(image, inner(Workspace.get(), text));
    EXPECT_GT(atTwo, 3 * atOne);
}

TEST_F(WorkspaceTest, SelectionHandlesGridAndBackgroundAreDrawn)
{
    TfrxMemoView *memo = AddMemo("Memo1", 20 * Mm, 20 * Mm, 60 * Mm, 8 * Mm);
    QImage scan(40, 40, QImage::Format_RGB32);
    scan.fill(QColor(255, 0, 0));
    Page->BackPicture()->SetGraphic(TfrxGraphic::FromImage(scan));
    Show();
    Click(At({50 * Mm, 24 * Mm}));
    const QImage image = Workspace->grab().toImage();
    image.save(QStringLiteral("/tmp/ws.png"));
    // A black handle at the top-left corner.
    const QPoint corner = At({memo->Left(), memo->Top()});
    EXPECT_EQ(qGray(image.pixel(corner)), 0);
    // The scan of the blank under the objects, inside the margins.
    const QPoint inside = At({100.5 * Mm, 150.5 * Mm}); // between grid points
    EXPECT_EQ(QColor(image.pixel(inside)).red(), 255);
    EXPECT_LT(QColor(image.pixel(inside)).green(), 100);
    const QPoint margin = Workspace->PaperRect().topLeft().toPoint() + QPoint(5, 5);
    EXPECT_EQ(image.pixel(margin), qRgb(255, 255, 255));
    // Without the background: grid points on white.
    Page->SetBackPictureVisible(false);
    const QImage plain = Workspace->grab().toImage();
    const QPoint gridPoint = At({30 * Mm, 100 * Mm});
    EXPECT_LT(qGray(plain.pixel(gridPoint)), 230);
    EXPECT_EQ(plain.pixel(gridPoint + QPoint(1, 1)), qRgb(255, 255, 255));
}

TEST_F(WorkspaceTest, AltClickEditsTheMemoTextInPlace)
{
    TfrxMemoView *memo = AddMemo("Memo1", 100, 100, 120, 30, QStringLiteral("old"));
    Show();
    QSignalSpy modified(Workspace.get(), &TfrxDesignerWorkspace::Modified);
    Hover(At({150, 110}), Qt::AltModifier);
    EXPECT_EQ(Workspace->Mode(), dmInplaceEdit);
    Click(At({150, 110}), Qt::AltModifier);
    ASSERT_TRUE(Workspace->InplaceEditing());
    QPlainTextEdit *editor = Workspace->InplaceEditor();
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("old"));
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{memo}));
    editor->setPlainText(QStringLiteral("new\nlines"));
    QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(Workspace->InplaceEditing());
    EXPECT_EQ(memo->Memo(), (QStringList{"new", "lines"}));
    EXPECT_EQ(modified.count(), 1);

    // Escape drops the typing; a resized box resizes the memo.
    Workspace->EditInplace(memo);
    Workspace->InplaceEditor()->setPlainText(QStringLiteral("dropped"));
    QTest::keyClick(Workspace->InplaceEditor(), Qt::Key_Escape);
    EXPECT_EQ(memo->Memo(), (QStringList{"new", "lines"}));
    EXPECT_EQ(modified.count(), 1);
    Workspace->SetScale(2);
    Workspace->EditInplace(memo);
    const int height = Workspace->InplaceEditor()->height();
    Workspace->InplaceEditor()->resize(295, height);
    Workspace->FinishInplaceEdit();
    EXPECT_EQ(memo->Width(), 150);
    EXPECT_EQ(memo->Height(), 30);
    EXPECT_EQ(modified.count(), 2);
}

TEST_F(WorkspaceTest, EdgesSnapToGuidesAndLineUpsShowVirtualGuides)
{
    TfrxMemoView *memo = AddMemo("Memo1", 100, 100, 50, 20);
    TfrxMemoView *other = AddMemo("Other", 300, 200, 50, 20);
    Page->SetVGuides({QStringLiteral("204")});
    Show();
    Workspace->SetGridAlign(false);
    const QPoint start = At({120, 110});
    Press(start);
    // The right edge comes to 200: within 6 units of the guide at 204.
    MoveTo(start + QPoint(50, 0));
    EXPECT_NEAR(memo->Left() + memo->Width(), 204, 1e-9);
    // Down to where the tops line up with the other memo: a virtual guide.
    MoveTo(start + QPoint(50, 100));
    EXPECT_NEAR(memo->Top(), 200, 1e-9);
    EXPECT_EQ(Workspace->VirtualHGuides(), (QList<double>{200, 220}));
    Release(start + QPoint(50, 100));
    EXPECT_TRUE(Workspace->VirtualHGuides().isEmpty());
    Q_UNUSED(other)

    // Guides hidden: no snapping.
    Workspace->SetShowGuides(false);
    const QPoint again = At({memo->Left() + 10, memo->Top() + 5});
    Drag(again, again + QPoint(-3, 0));
    EXPECT_NEAR(memo->Left() + memo->Width(), 201, 1e-9);
}

TEST_F(WorkspaceTest, GuidesComeFromTheRulersAndCanBeMovedAndDeleted)
{
    Show();
    QSignalSpy modified(Workspace.get(), &TfrxDesignerWorkspace::Modified);
    const QPoint drop = At({150, 80});
    Workspace->DragGuideFromRuler(true, Workspace->mapToGlobal(drop), false);
    EXPECT_TRUE(Workspace->HGuides().isEmpty());
    Workspace->DragGuideFromRuler(true, Workspace->mapToGlobal(drop), true);
    ASSERT_EQ(Workspace->HGuides().size(), 1);
    EXPECT_NEAR(Workspace->HGuides().first(), Workspace->ToPage(drop).y(), 1e-6);
    EXPECT_EQ(modified.count(), 1);
    // Dropped off the paper, nothing is made.
    Workspace->DragGuideFromRuler(false, Workspace->mapToGlobal(QPoint(2, 2)), true);
    EXPECT_TRUE(Workspace->VGuides().isEmpty());

    // Moved with the mouse (to the grid), then dragged off the paper.
    Hover(drop);
    EXPECT_EQ(Workspace->Mode(), dmMoveGuide);
    Drag(drop, At({150, 100}));
    ASSERT_EQ(Workspace->HGuides().size(), 1);
    EXPECT_NEAR(Workspace->HGuides().first(), std::round(Workspace->ToPage(At({150, 100})).y() / Mm) * Mm, 1e-6);
    EXPECT_EQ(modified.count(), 2);
    Drag(At({150, Workspace->HGuides().first()}), QPoint(2, 2));
    EXPECT_TRUE(Workspace->HGuides().isEmpty());
    EXPECT_EQ(modified.count(), 3);

    Page->SetVGuides({QStringLiteral("10"), QStringLiteral("20")});
    Workspace->DeleteGuides();
    EXPECT_TRUE(Page->VGuides().isEmpty());
    EXPECT_EQ(modified.count(), 4);
}

TEST_F(WorkspaceTest, PastedObjectsFollowTheMouseUntilAClick)
{
    TfrxMemoView *a = AddMemo("MemoA", 0, 0, 50, 20);
    TfrxMemoView *b = AddMemo("MemoB", 60, 30, 50, 20);
    Show();
    Selection.Assign({a, b});
    QSignalSpy modified(Workspace.get(), &TfrxDesignerWorkspace::Modified);
    Workspace->SimulateMove();
    EXPECT_TRUE(Workspace->SimulatingMove());
    // The first move puts the top-left corner under the pointer, on the grid.
    const QPoint p0 = At({40 * Mm, 50 * Mm});
    Hover(p0);
    EXPECT_NEAR(a->Left(), 40 * Mm, 1e-9);
    EXPECT_NEAR(a->Top(), 50 * Mm, 1e-9);
    EXPECT_NEAR(b->Left(), 40 * Mm + 60, 1e-9);
    // Then they move with the pointer by whole grid steps: 19 pixels, 5 mm.
    Hover(p0 + QPoint(19, 0));
    EXPECT_NEAR(a->Left(), 45 * Mm, 1e-9);
    EXPECT_EQ(modified.count(), 0);
    Click(p0 + QPoint(19, 0));
    EXPECT_FALSE(Workspace->SimulatingMove());
    EXPECT_EQ(modified.count(), 1);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{a, b}));
    EXPECT_NEAR(a->Left(), 45 * Mm, 1e-8);

    // Escape while they follow the mouse takes the paste back.
    QPointer<TfrxMemoView> aWatch(a), bWatch(b);
    Workspace->SimulateMove();
    Hover(At({20 * Mm, 20 * Mm}));
    Key(Qt::Key_Escape);
    EXPECT_TRUE(aWatch.isNull());
    EXPECT_TRUE(bWatch.isNull());
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{Page}));
    EXPECT_EQ(modified.count(), 2);
}

TEST_F(WorkspaceTest, RulersFollowTheScaleAndTheScrolling)
{
    auto *workspace = new TDesignerWorkspace;
    workspace->SetObjects(&Objects);
    workspace->SetSelectionModel(&Selection);
    Rebuild();
    TfrxRulerScrollArea area(workspace);
    area.resize(300, 300);
    workspace->SetPage(Page);
    area.show();
    QApplication::processEvents();
    TfrxRuler *ruler = area.HorizontalRuler();
    // Zero of the ruler lies over the printable area's corner.
    const double origin = workspace->mapTo(&area, QPoint(0, 0)).x() + workspace->PageOrigin().x() - ruler->x();
    EXPECT_NEAR(ruler->Offset(), origin, 1e-9);
    EXPECT_NEAR(ruler->PageAt(ruler->Offset() + 10 * Mm), 10 * Mm, 1e-9);
    area.ScrollArea()->horizontalScrollBar()->setValue(40);
    QApplication::processEvents();
    EXPECT_NEAR(ruler->Offset(), origin - 40, 1e-9);
    workspace->SetScale(2);
    QApplication::processEvents();
    EXPECT_EQ(ruler->Scale(), 2);
    EXPECT_EQ(area.VerticalRuler()->Scale(), 2);
    EXPECT_NEAR(ruler->Size(), workspace->PrintableSize().width(), 1e-9);
    area.SetUnits(duInches);
    EXPECT_EQ(ruler->MarkStep(), 12);
    EXPECT_EQ(workspace->Units(), duInches);
    area.grab().save(QStringLiteral("/tmp/ws_area.png"));
}

TEST_F(WorkspaceTest, CtrlWheelZooms)
{
    Show();
    QSignalSpy scale(Workspace.get(), &TfrxDesignerWorkspace::ScaleChanged);
    QWheelEvent wheel(QPointF(50, 50), Workspace->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Workspace.get(), &wheel);
    EXPECT_NEAR(Workspace->Scale(), 1.05, 1e-12);
    ASSERT_EQ(scale.count(), 1);
    const QSize size = Workspace->size();
    EXPECT_EQ(size.width(), int(std::ceil(148 * Mm * 1.05)) + 20);
    Workspace->SetScale(0.31);
    QWheelEvent down(QPointF(50, 50), Workspace->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -240),
                     Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Workspace.get(), &down);
    EXPECT_NEAR(Workspace->Scale(), 0.3, 1e-12);
}

TEST_F(WorkspaceTest, AMemoOfTheCertificateMovesFiveMillimetresDown)
{
    ASSERT_TRUE(Report->LoadFromFile(sourceDir() + QStringLiteral("/resources/shablon.fr3")));
    Page = nullptr;
    for (TfrxComponent *c : Report->Objects())
        if (auto *page = qobject_cast<TfrxReportPage *>(c))
            Page = page;
    ASSERT_NE(Page, nullptr);
    auto *memo5 = qobject_cast<TfrxMemoView *>(Report->FindObject(QStringLiteral("Memo5")));
    ASSERT_NE(memo5, nullptr);
    Show();
    EXPECT_EQ(Objects.size(), 49);
    const double top = memo5->Top(), left = memo5->Left();
    const QPoint start = At({memo5->Left() + 100, memo5->Top() + 7});
    Press(start);
    ASSERT_EQ(Sel(), (QList<TfrxComponent *>{memo5}));
    for (int dy = 1; dy <= 19; ++dy)
        MoveTo(start + QPoint(0, dy));
    Release(start + QPoint(0, 19));
    EXPECT_NEAR(memo5->Top() - top, 18.89765, 1e-6);
    EXPECT_EQ(memo5->Left(), left);
    const QImage image = Workspace->grab().toImage();
    image.save(QStringLiteral("/tmp/ws_certificate.png"));
    EXPECT_GT(darkPixels(image, inner(Workspace.get(), memo5)), 20);
}
