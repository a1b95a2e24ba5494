// The design workspace's keyboard and commands: moving and sizing by keys,
// walking the objects, deleting with its rules, and the alignment palette.

#include "WorkspaceTestSupport.h"

#include "support/TestSupport.h"

TEST_F(WorkspaceTest, CtrlArrowsMoveByAPixelAndShiftArrowsResizeByAStep)
{
    TfrxMemoView *memo = AddMemo("Memo1", 100, 100, 50, 2.5 * Mm);
    Show();
    Click(At({120, 105}));
    QSignalSpy modified(Workspace.get(), &TfrxDesignerWorkspace::Modified);
    Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(memo->Left(), 99);
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(memo->Top(), 101);
    EXPECT_EQ(modified.count(), 2);
    // Ctrl + Shift: one grid step.
    Key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NEAR(memo->Left(), 99 + Mm, 1e-8);
    // Shift: right and down grow, left and up shrink, never below zero.
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_NEAR(memo->Width(), 50 + Mm, 1e-8);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_NEAR(memo->Height(), 1.5 * Mm, 1e-8);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_NEAR(memo->Height(), 0.5 * Mm, 1e-8);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_NEAR(memo->Height(), 0.5 * Mm, 1e-8);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_NEAR(memo->Height(), 1.5 * Mm, 1e-8);

    // The character grid moves by whole cells.
    Workspace->SetGridType(gtChar);
    Workspace->SetGrid(fr1CharX, fr1CharY);
    const double left = memo->Left();
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_NEAR(memo->Left(), left + fr1CharX, 1e-8);

    // Nothing moves while only the page is selected.
    Click(At({300, 400}));
    Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_NEAR(memo->Left(), left + fr1CharX, 1e-8);
}

TEST_F(WorkspaceTest, ArrowsSelectTheNearestObjectAheadAndStripObjectsWin)
{
    TfrxMemoView *start = AddMemo("Start", 100, 100, 40, 20);
    TfrxMemoView *inStrip = AddMemo("InStrip", 300, 110, 40, 20);
    TfrxMemoView *near = AddMemo("Near", 150, 140, 40, 20); // closer, but below the strip
    TfrxMemoView *below = AddMemo("Below", 100, 300, 40, 20);
    Show();
    Click(At({120, 110}));
    Key(Qt::Key_Right);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{inStrip}));
    Key(Qt::Key_Left);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{start}));
    Key(Qt::Key_Down);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{below}));
    // Without an object in the strip, the nearest one ahead.
    Click(At({310, 115}));
    Key(Qt::Key_Down);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{near}));
}

TEST_F(WorkspaceTest, AltArrowMovesUntilTheNextObjectIsTouched)
{
    TfrxMemoView *memo = AddMemo("Memo1", 100, 100, 40, 20);
    TfrxMemoView *wall = AddMemo("Wall", 250, 90, 10, 80);
    Show();
    Click(At({120, 110}));
    Key(Qt::Key_Right, Qt::AltModifier);
    EXPECT_NEAR(memo->Left() + memo->Width(), wall->Left(), 1e-9);
    // Nothing ahead: it stays.
    Key(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(memo->Top(), 100);
}

TEST_F(WorkspaceTest, TabWalksTheObjectsOfAParent)
{
    auto *band = new TfrxMasterData(Page);
    band->SetName("MasterData1");
    band->SetBounds(0, 20, 400, 60);
    TfrxMemoView *a = AddMemo("MemoA", 10, 5, 40, 20, QString(), band);
    TfrxMemoView *b = AddMemo("MemoB", 100, 5, 40, 20, QString(), band);
    Show();
    Click(At({200, 10})); // the caption strip
    ASSERT_EQ(Sel(), (QList<TfrxComponent *>{band}));
    Key(Qt::Key_Tab);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{a}));
    Key(Qt::Key_Tab);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{b}));
    Key(Qt::Key_Tab);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{a}));
}

TEST_F(WorkspaceTest, EnterAsksForTheEditorAndDeleteDeletes)
{
    auto *band = new TfrxMasterData(Page);
    band->SetName("MasterData1");
    band->SetBounds(0, 200, 400, 60);
    TfrxMemoView *onBand = AddMemo("OnBand", 10, 5, 40, 20, QString(), band);
    TfrxMemoView *keep = AddMemo("Keep", 100, 100, 40, 20);
    keep->SetRestrictions(rfDontDelete);
    TfrxMemoView *gone = AddMemo("Gone", 200, 100, 40, 20);
    Show();
    QSignalSpy edit(Workspace.get(), &TfrxDesignerWorkspace::EditRequested);
    QSignalSpy modified(Workspace.get(), &TfrxDesignerWorkspace::Modified);
    Click(At({120, 110}));
    Key(Qt::Key_Return);
    EXPECT_EQ(edit.count(), 1);

    QPointer<TfrxMemoView> goneWatch(gone), onBandWatch(onBand);
    QPointer<TfrxBand> bandWatch(band);
    Click(At({220, 110}), Qt::ShiftModifier);
    Click(At({200, 190}), Qt::ShiftModifier); // the band's caption
    ASSERT_EQ(Sel().size(), 3);
    Key(Qt::Key_Delete);
    EXPECT_TRUE(goneWatch.isNull());
    EXPECT_TRUE(bandWatch.isNull());
    EXPECT_TRUE(onBandWatch.isNull()); // with its band
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{keep}));
    EXPECT_FALSE(Objects.contains(gone));
    EXPECT_EQ(modified.count(), 1);
    // The one left cannot be deleted: nothing happens.
    Key(Qt::Key_Delete);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{keep}));
    EXPECT_EQ(modified.count(), 1);
}

TEST_F(WorkspaceTest, AnInheritedObjectStopsTheDeletion)
{
    TRecordingUserInterface ui;
    TfrxMemoView *first = AddMemo("First", 100, 100, 40, 20);
    TfrxMemoView *inherited = AddMemo("Inherited", 200, 100, 40, 20);
    inherited->SetAncestor(true);
    TfrxMemoView *last = AddMemo("Last", 300, 100, 40, 20);
    Show();
    QPointer<TfrxMemoView> firstWatch(first), lastWatch(last);
    Click(At({120, 110}));
    Click(At({220, 110}), Qt::ShiftModifier);
    Click(At({320, 110}), Qt::ShiftModifier);
    Workspace->DeleteObjects();
    EXPECT_TRUE(firstWatch.isNull());
    EXPECT_FALSE(lastWatch.isNull());
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text, QStringLiteral("Could not delete Inherited, it was introduced in the ancestor report"));
    EXPECT_EQ(ui.Messages[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(Sel(), (QList<TfrxComponent *>{inherited, last}));
}

TEST_F(WorkspaceTest, TheAlignmentPaletteFollowsTheFirstSelectedObject)
{
    auto *band = new TfrxMasterData(Page);
    band->SetName("MasterData1");
    band->SetBounds(0, 200, 400, 60);
    TfrxMemoView *ref = AddMemo("Ref", 100, 100, 60, 20);
    TfrxMemoView *other = AddMemo("Other", 10, 5, 20, 10, QString(), band);
    TfrxMemoView *fixed = AddMemo("Fixed", 300, 150, 30, 30);
    fixed->SetRestrictions(rfDontMove | rfDontSize);
    Show();
    Selection.Assign({ref, other, fixed});
    QSignalSpy modified(Workspace.get(), &TfrxDesignerWorkspace::Modified);

    Workspace->AlignLeft();
    EXPECT_EQ(other->Left(), 100);
    EXPECT_EQ(fixed->Left(), 300);
    Workspace->AlignRight();
    EXPECT_EQ(other->Left(), 140);
    Workspace->AlignMiddle();
    EXPECT_EQ(other->Left(), 120);
    Workspace->AlignTop(); // absolute: the band's top counts
    EXPECT_EQ(other->AbsTop(), 100);
    Workspace->AlignBottom();
    EXPECT_EQ(other->AbsTop() + other->Height(), 120);
    Workspace->AlignCenter(); // relative tops, as the palette does it
    EXPECT_EQ(other->Top(), 105);
    Workspace->SameWidth();
    Workspace->SameHeight();
    EXPECT_EQ(other->Width(), 60);
    EXPECT_EQ(other->Height(), 20);
    EXPECT_EQ(fixed->Width(), 30);
    EXPECT_EQ(modified.count(), 8);

    // One object is not enough for the two-object commands.
    Selection.Assign({ref});
    Workspace->AlignLeft();
    EXPECT_EQ(modified.count(), 8);
    // Centring: in its band, or across the printable area off bands.
    Selection.Assign({ref, other});
    Workspace->CenterHorizontallyInBand();
    EXPECT_NEAR(ref->Left(), (Workspace->PrintableSize().width() - 60) / 2, 1e-9);
    EXPECT_EQ(other->Left(), (400 - 60) / 2.0);
    Workspace->CenterVerticallyInBand();
    EXPECT_EQ(other->Top(), 20);
}

TEST_F(WorkspaceTest, SpacingSpreadsTheObjectsBetweenTheOuterOnes)
{
    TfrxMemoView *a = AddMemo("MemoA", 10, 10, 20, 10);
    TfrxMemoView *c = AddMemo("MemoC", 110, 10, 20, 10);
    TfrxMemoView *b = AddMemo("MemoB", 40, 10, 20, 10);
    TfrxMemoView *d = AddMemo("MemoD", 50, 40, 20, 10);
    Show();
    Selection.Assign({c, a, b});
    Workspace->SpaceHorizontally();
    EXPECT_EQ(a->Left(), 10);
    EXPECT_EQ(b->Left(), 60);
    EXPECT_EQ(c->Left(), 110);
    Selection.Assign({a, d, b});
    Workspace->SpaceVertically();
    EXPECT_EQ(a->Top(), 10);
    EXPECT_EQ(b->Top(), 25); // sorted by top: a, b, d
    EXPECT_EQ(d->Top(), 40);
}
