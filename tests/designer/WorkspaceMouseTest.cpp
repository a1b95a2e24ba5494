// The design workspace under the mouse: moving with the grid and its carried
// remainder, Alt, multi-selections, rubber band, groups, size handles,
// band heights, scaling, insertion and the modes a drag leaves behind.

#include "WorkspaceTestSupport.h"

#include "report/model/rudLineView.h"

TEST_F(WorkspaceTest, GridDragMovesWholeStepsAndCarriesTheRest)
{
    TfrxMemoView *memo = AddMemo("Memo1", 10 * Mm, 10 * Mm, 25 * Mm, 5 * Mm);
    Show();
    // Ten pixels to the millimetre, so that pixel travel is exact in tenths.
    Workspace->SetScale(10 / Mm);
    QSignalSpy modified(Workspace.get(), &TfrxDesignerWorkspace::Modified);
    const QPoint start = At({20 * Mm, 12 * Mm});
    Press(start);
    EXPECT_EQ(Workspace->Mode(), dmMove);
    MoveTo(start + QPoint(26, 0)); // 2.6 mm
    EXPECT_NEAR(memo->Left(), 12 * Mm, 1e-9);
    EXPECT_NEAR(memo->Top(), 10 * Mm, 1e-9);
    // 0.5 mm more makes 1.1 mm since the last step: one step more. Without
    // the carried 0.6 mm it would make none.
    MoveTo(start + QPoint(31, 0));
    EXPECT_NEAR(memo->Left(), 13 * Mm, 1e-9);
    // Less than a step down moves nothing down.
    MoveTo(start + QPoint(31, 9));
    EXPECT_NEAR(memo->Top(), 10 * Mm, 1e-9);
    EXPECT_EQ(modified.count(), 0); // nothing is recorded while dragging
    Release(start + QPoint(31, 9));
    EXPECT_EQ(modified.count(), 1);
    EXPECT_EQ(Workspace->Mode(), TfrxDesignMode1::dmNone);
    // Rounded to 8 decimals at the end of the move.
    EXPECT_EQ(memo->Left(), std::round(memo->Left() * 1e8) / 1e8);
    EXPECT_NEAR(memo->Left(), 13 * Mm, 1e-8);
}

TEST_F(WorkspaceTest, AltInvertsGridAlignmentDuringADrag)
{
    TfrxMemoView *memo = AddMemo("Memo1", 10 * Mm, 10 * Mm, 25 * Mm, 5 * Mm);
    Show();
    Workspace->SetScale(10 / Mm);
    const QPoint start = At({20 * Mm, 12 * Mm});
    Press(start);
    MoveTo(start + QPoint(26, 13), Qt::LeftButton, Qt::AltModifier);
    EXPECT_NEAR(memo->Left(), 12.6 * Mm, 1e-9);
    EXPECT_NEAR(memo->Top(), 11.3 * Mm, 1e-9);
    Release(start + QPoint(26, 13), Qt::AltModifier);
    EXPECT_NEAR(memo->Left(), 12.6 * Mm, 1e-8);

    // With alignment off, Alt turns it on.
    Workspace->SetGridAlign(false);
    const QPoint second = At({20 * Mm, 12 * Mm});
    Press(second);
    MoveTo(second + QPoint(26, 0), Qt::LeftButton);
    EXPECT_NEAR(memo->Left(), 15.2 * Mm, 1e-8);
    MoveTo(second + QPoint(52, 0), Qt::LeftButton, Qt::AltModifier);
    EXPECT_NEAR(memo->Left(), 17.2 * Mm, 1e-8);
    Release(second + QPoint(52, 0), Qt::AltModifier);
}

TEST_F(WorkspaceTest, DraggingInsideAMultiSelectionMovesItAll)
{
    TfrxMemoView *a = AddMemo("MemoA", 10 * Mm, 10 * Mm, 20 * Mm, 5 * Mm);
    TfrxMemoView *b = AddMemo("MemoB", 50 * Mm, 30 * Mm, 20 * Mm, 5 * Mm);
    TfrxMemoView *c = AddMemo("MemoC", 50 * Mm, 60 * Mm, 20 * Mm, 5 * Mm);
    Show();
    QSignalSpy selection(&Selection, &TfrxSelectionModel::Changed);
    Click(At({15 * Mm, 12 * Mm}));
    Click(At({55 * Mm, 32 * Mm}), Qt::ShiftModifier);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{a, b}));
    EXPECT_EQ(selection.count(), 2);
    // Pressing on a selected object keeps the whole selection.
    const QPoint start = At({15 * Mm, 12 * Mm});
    Press(start);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{a, b}));
    MoveTo(start + QPoint(qRound(10 * Mm), qRound(5 * Mm)));
    Release(start + QPoint(qRound(10 * Mm), qRound(5 * Mm)));
    EXPECT_NEAR(a->Left(), 20 * Mm, 1e-6);
    EXPECT_NEAR(a->Top(), 15 * Mm, 1e-6);
    EXPECT_NEAR(b->Left(), 60 * Mm, 1e-6);
    EXPECT_NEAR(b->Top(), 35 * Mm, 1e-6);
    EXPECT_NEAR(c->Left(), 50 * Mm, 1e-9);
    EXPECT_EQ(selection.count(), 2);

    // Shift on a selected object takes it out; clicking another object
    // makes it the only one.
    Click(At({25 * Mm, 17 * Mm}), Qt::ShiftModifier);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{b}));
    Click(At({55 * Mm, 62 * Mm}));
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{c}));
    // Shift drags do not move.
    const QPoint shifted = At({55 * Mm, 62 * Mm});
    Press(shifted, Qt::ShiftModifier);
    MoveTo(shifted + QPoint(40, 40), Qt::LeftButton, Qt::ShiftModifier);
    Release(shifted + QPoint(40, 40), Qt::ShiftModifier);
    EXPECT_NEAR(c->Left(), 50 * Mm, 1e-9);
}

TEST_F(WorkspaceTest, RubberBandSelectsWhatItTouches)
{
    Show();
    // A memo whose left edge lies exactly where the band will end.
    const QPointF corner = Workspace->ToPage(QPointF(300, 300));
    TfrxMemoView *touched = AddMemo("Touched", corner.x(), corner.y() - 10, 40, 20);
    TfrxMemoView *apart = AddMemo("Apart", corner.x() + 60, corner.y() - 10, 40, 20);
    Rebuild();
    QSignalSpy selection(&Selection, &TfrxSelectionModel::Changed);
    Press(QPoint(250, 250));
    EXPECT_EQ(Workspace->Mode(), dmSelectionRect);
    MoveTo(QPoint(300, 300));
    Release(QPoint(300, 300));
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{touched}));
    EXPECT_EQ(selection.count(), 1);
    EXPECT_EQ(Workspace->Mode(), TfrxDesignMode1::dmNone);

    // Ctrl starts a band even over an object.
    const QPoint onApart = At({corner.x() + 70, corner.y()});
    Press(onApart, Qt::ControlModifier);
    EXPECT_EQ(Workspace->Mode(), dmSelectionRect);
    MoveTo(onApart + QPoint(-50, 3), Qt::LeftButton, Qt::ControlModifier);
    Release(onApart + QPoint(-50, 3), Qt::ControlModifier);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{touched, apart}));

    // A band over nothing leaves the page selected.
    Drag(QPoint(20, 20), QPoint(30, 30));
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{Page}));
}

TEST_F(WorkspaceTest, GroupedObjectsAreSelectedTogether)
{
    TfrxMemoView *a = AddMemo("MemoA", 10 * Mm, 10 * Mm, 20 * Mm, 5 * Mm);
    TfrxMemoView *b = AddMemo("MemoB", 50 * Mm, 30 * Mm, 20 * Mm, 5 * Mm);
    TfrxMemoView *other = AddMemo("Other", 50 * Mm, 60 * Mm, 20 * Mm, 5 * Mm);
    other->SetGroupIndex(1);
    Show();
    Click(At({15 * Mm, 12 * Mm}));
    Click(At({55 * Mm, 32 * Mm}), Qt::ShiftModifier);
    QSignalSpy modified(Workspace.get(), &TfrxDesignerWorkspace::Modified);
    Workspace->GroupObjects();
    EXPECT_EQ(modified.count(), 1);
    // The smallest number not in use on the page.
    EXPECT_EQ(a->GroupIndex(), 2);
    EXPECT_EQ(b->GroupIndex(), 2);
    Click(At({5 * Mm, 100 * Mm}));
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{Page}));
    Click(At({55 * Mm, 32 * Mm}));
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{b, a}));
    // Shift takes the whole group out again.
    Click(At({15 * Mm, 12 * Mm}), Qt::ShiftModifier);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{Page}));
    Click(At({55 * Mm, 32 * Mm}));
    Workspace->UngroupObjects();
    EXPECT_EQ(a->GroupIndex(), 0);
    EXPECT_EQ(b->GroupIndex(), 0);
    Click(At({5 * Mm, 100 * Mm}));
    Click(At({55 * Mm, 32 * Mm}));
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{b}));
}

TEST_F(WorkspaceTest, ResizingAcrossTheOppositeEdgeTurnsTheObjectOver)
{
    TfrxMemoView *memo = AddMemo("Memo1", 100, 100, 50, 20);
    Show();
    Workspace->SetGridAlign(false);
    Click(At({120, 110}));
    // The right-middle handle.
    Hover(At({150, 110}));
    EXPECT_EQ(Workspace->Mode(), dmSize);
    EXPECT_EQ(Workspace->HandleAt({150, 110}), 5);
    const QPoint handle = At({150, 110});
    Press(handle);
    MoveTo(handle + QPoint(-70, 0)); // 20 units past the left edge
    EXPECT_NEAR(memo->Left(), 80, 1e-9);
    EXPECT_NEAR(memo->Width(), 20, 1e-9);
    // The drag goes on with the left handle.
    MoveTo(handle + QPoint(-80, 0));
    EXPECT_NEAR(memo->Left(), 70, 1e-9);
    EXPECT_NEAR(memo->Width(), 30, 1e-9);
    Release(handle + QPoint(-80, 0));
    EXPECT_EQ(Workspace->Mode(), TfrxDesignMode1::dmNone);

    // The top-left handle dragged past both far edges.
    Hover(At({70, 100}));
    EXPECT_EQ(Workspace->HandleAt({70, 100}), 1);
    const QPoint corner = At({70, 100});
    Press(corner);
    MoveTo(corner + QPoint(40, 30)); // to (110, 130): 10 right of, 10 under the far corner
    EXPECT_NEAR(memo->Left(), 100, 1e-9);
    EXPECT_NEAR(memo->Top(), 120, 1e-9);
    EXPECT_NEAR(memo->Width(), 10, 1e-9);
    EXPECT_NEAR(memo->Height(), 10, 1e-9);
    Release(corner + QPoint(40, 30));
}

TEST_F(WorkspaceTest, RestrictedObjectsKeepTheirPlaceAndSize)
{
    TfrxMemoView *fixed = AddMemo("Fixed", 100, 100, 50, 20);
    fixed->SetRestrictions(rfDontMove | rfDontSize);
    Show();
    Workspace->SetGridAlign(false);
    const QPoint inside = At({120, 110});
    Drag(inside, inside + QPoint(30, 30));
    EXPECT_EQ(fixed->Left(), 100);
    EXPECT_EQ(fixed->Top(), 100);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{fixed}));
    // No size handle is offered.
    Hover(At({150, 110}));
    EXPECT_EQ(Workspace->Mode(), TfrxDesignMode1::dmNone);
}

TEST_F(WorkspaceTest, BandEdgeChangesTheHeightAndTheBandsBelowFollow)
{
    auto *title = new TfrxReportTitle(Page);
    title->SetName("ReportTitle1");
    title->SetBounds(0, 18, 400, 40);
    auto *data = new TfrxMasterData(Page);
    data->SetName("MasterData1");
    data->SetBounds(0, 80, 400, 30);
    TfrxMemoView *memo = AddMemo("Memo1", 10, 5, 60, 20, QString(), data);
    Show();
    Workspace->SetGridAlign(false);
    Workspace->AdjustBands();
    EXPECT_NEAR(data->Top(), 18 + 40 + 4 + 18, 1e-9); // caption, gap, caption
    Hover(At({100, 58}));
    EXPECT_EQ(Workspace->Mode(), dmSizeBand);
    Drag(At({100, 58}), At({100, 78}));
    EXPECT_NEAR(title->Height(), 60, 1e-9);
    EXPECT_NEAR(data->Top(), 18 + 60 + 4 + 18, 1e-9);
    EXPECT_NEAR(memo->AbsTop(), data->Top() + 5, 1e-9);

    // A click on a caption strip selects the band; the band moves only down.
    Click(At({100, 5}));
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{title}));
    // Objects on a band are found before the band.
    Click(At({20, memo->AbsTop() + 5}));
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{memo}));
    // A rubber band never selects bands.
    Drag(At({300, 170}), At({390, 10}), Qt::NoModifier);
    EXPECT_TRUE(Sel().isEmpty() || Sel() == (QList<TfrxComponent *>{Page}));
}

TEST_F(WorkspaceTest, TheFrameCornerOfSeveralObjectsScalesThem)
{
    TfrxMemoView *a = AddMemo("MemoA", 100, 100, 50, 20);
    TfrxMemoView *b = AddMemo("MemoB", 150, 120, 50, 20);
    Show();
    Workspace->SetGridAlign(false);
    Click(At({120, 110}));
    Click(At({170, 130}), Qt::ShiftModifier);
    Hover(At({200, 140}));
    EXPECT_EQ(Workspace->Mode(), dmScale);
    Drag(At({200, 140}), At({300, 180}));
    // The frame goes from 100 x 40 to 200 x 80.
    EXPECT_NEAR(a->Left(), 100, 1e-9);
    EXPECT_NEAR(a->Width(), 100, 1e-9);
    EXPECT_NEAR(b->Left(), 200, 1e-9);
    EXPECT_NEAR(b->Top(), 140, 1e-9);
    EXPECT_NEAR(b->Height(), 40, 1e-9);
}

TEST_F(WorkspaceTest, AClickWithTheMemoToolInsertsTheDefaultSize)
{
    Show();
    QList<TfrxInsertion> inserted;
    QObject::connect(Workspace.get(), &TfrxDesignerWorkspace::Insert,
                     [&] { inserted.append(Workspace->Insertion()); });
    Workspace->SetInsertion(&TfrxMemoView::staticMetaObject, 0, 0);
    EXPECT_EQ(Workspace->Mode(), dmInsertObject);
    Click(At({20 * Mm, 30 * Mm}));
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0].ComponentClass, &TfrxMemoView::staticMetaObject);
    EXPECT_NEAR(inserted[0].Width, 2.5 * fr1cm, 1e-9);
    EXPECT_NEAR(inserted[0].Height, 0.5 * fr1cm, 1e-9);
    // At the click, on the grid.
    EXPECT_NEAR(inserted[0].Left, 20 * Mm, 1e-9);
    EXPECT_NEAR(inserted[0].Top, 30 * Mm, 1e-9);
    // The tool is used up.
    EXPECT_EQ(Workspace->Mode(), TfrxDesignMode1::dmNone);
    Click(At({60 * Mm, 60 * Mm}));
    EXPECT_EQ(inserted.size(), 1);

    // A drag up and to the left gives the normalised rectangle.
    Workspace->SetInsertion(&TfrxMemoView::staticMetaObject, 0, 0);
    Drag(At({60 * Mm, 60 * Mm}), At({40 * Mm, 50 * Mm}));
    ASSERT_EQ(inserted.size(), 2);
    EXPECT_NEAR(inserted[1].Left, 40 * Mm, 1e-9);
    EXPECT_NEAR(inserted[1].Top, 50 * Mm, 1e-9);
    EXPECT_NEAR(inserted[1].Width, 20 * Mm, 1e-9);
    EXPECT_NEAR(inserted[1].Height, 10 * Mm, 1e-9);

    // The other units' default sizes.
    EXPECT_EQ(TfrxDesignerWorkspace::DefaultInsertionSize(duInches), QSizeF(96, 19.2));
    EXPECT_EQ(TfrxDesignerWorkspace::DefaultInsertionSize(duPixels), QSizeF(80, 16));
    EXPECT_EQ(TfrxDesignerWorkspace::DefaultInsertionSize(duChars), QSizeF(96, 17));
}

TEST_F(WorkspaceTest, TheLineToolStaysArmedAndDrawsStraightLines)
{
    Show();
    QList<TfrxInsertion> inserted;
    QObject::connect(Workspace.get(), &TfrxDesignerWorkspace::Insert,
                     [&] { inserted.append(Workspace->Insertion()); });
    Workspace->SetInsertion(&TfrxLineView::staticMetaObject, 0, 0);
    EXPECT_EQ(Workspace->Mode(), dmInsertLine);
    Click(At({20 * Mm, 30 * Mm}));
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_NEAR(inserted[0].Width, 2.5 * fr1cm, 1e-9);
    EXPECT_EQ(inserted[0].Height, 0);
    EXPECT_EQ(Workspace->Mode(), dmInsertLine);
    // A mostly vertical drag upwards gives a vertical line from its top.
    Drag(At({40 * Mm, 60 * Mm}), At({41 * Mm, 40 * Mm}));
    ASSERT_EQ(inserted.size(), 2);
    EXPECT_EQ(inserted[1].Width, 0);
    EXPECT_NEAR(inserted[1].Top, 40 * Mm, 1e-9);
    EXPECT_NEAR(inserted[1].Height, 20 * Mm, 1e-9);
    // A diagonal line keeps its direction.
    Workspace->SetInsertion(&TfrxLineView::staticMetaObject, 0, 0, TfrxInsertion::DiagonalLine);
    Drag(At({40 * Mm, 60 * Mm}), At({30 * Mm, 40 * Mm}));
    ASSERT_EQ(inserted.size(), 3);
    EXPECT_NEAR(inserted[2].Left, 40 * Mm, 1e-9);
    EXPECT_NEAR(inserted[2].Width, -10 * Mm, 1e-9);
    EXPECT_NEAR(inserted[2].Height, -20 * Mm, 1e-9);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Workspace->Mode(), TfrxDesignMode1::dmNone);
}

TEST_F(WorkspaceTest, LinesAreHitNearThem)
{
    auto *across = new TfrxLineView(Page);
    across->SetBounds(100, 100, 80, 0);
    auto *slant = new TfrxLineView(Page);
    slant->SetDiagonal(true);
    slant->SetBounds(100, 200, 100, 100);
    Show();
    EXPECT_EQ(Workspace->ObjectAt({140, 103}), across);
    EXPECT_EQ(Workspace->ObjectAt({140, 106}), nullptr);
    EXPECT_EQ(Workspace->ObjectAt({150, 253}), slant);
    EXPECT_EQ(Workspace->ObjectAt({180, 220}), nullptr); // inside the box, far from the line
    Click(At({150, 250}));
    EXPECT_EQ(Workspace->HandleAt({200, 300}), 10);
    EXPECT_EQ(Workspace->HandleAt({100, 200}), 9);
}

TEST_F(WorkspaceTest, DoubleClickAndRightClickGoToTheWindow)
{
    TfrxMemoView *memo = AddMemo("Memo1", 100, 100, 50, 20);
    Show();
    QSignalSpy edit(Workspace.get(), &TfrxDesignerWorkspace::EditRequested);
    QSignalSpy popup(Workspace.get(), &TfrxDesignerWorkspace::ContextPopup);
    const QPoint inside = At({120, 110});
    Click(inside);
    QTest::mouseDClick(Workspace.get(), Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_EQ(edit.count(), 1);
    EXPECT_EQ(Workspace->Mode(), TfrxDesignMode1::dmNone);
    Click(At({300, 300}));
    QTest::mouseClick(Workspace.get(), Qt::RightButton, Qt::NoModifier, inside);
    ASSERT_EQ(popup.count(), 1);
    EXPECT_EQ(popup[0][0].toPoint(), Workspace->mapToGlobal(inside));
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{memo}));
}

TEST_F(WorkspaceTest, StatusGetsThePositionAfterEachStep)
{
    TfrxMemoView *memo = AddMemo("Memo1", 100, 100, 50, 20);
    Show();
    Workspace->SetGridAlign(false);
    QSignalSpy position(Workspace.get(), &TfrxDesignerWorkspace::NotifyPosition);
    const QPoint inside = At({120, 110});
    Press(inside);
    MoveTo(inside + QPoint(10, 5));
    ASSERT_FALSE(position.isEmpty());
    EXPECT_EQ(position.last()[0].toRectF(), QRectF(memo->Left(), memo->Top(), 50, 20));
    EXPECT_NEAR(memo->Left(), 110, 1e-9);
    Release(inside + QPoint(10, 5));
}
