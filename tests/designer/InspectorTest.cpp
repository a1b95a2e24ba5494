// The object inspector on the certificate template with a stand-in
// designer: the object combo, the rows of one and of several memos,
// editing in place with its keys, errors, the tabs, expanding rows, the
// splitters kept in the settings store.

#include "DesignerTestSupport.h"

#include "base/IniFile.h"
#include "designer/rudDesgnEditors.h"
#include "designer/rudInsp.h"
#include "report/model/rudFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QTabBar>
#include <QToolButton>

namespace {

struct TInspectorFixture {
    TInspectorFixture()
    {
        rudRegisterDesignerEditors();
        Inspector = std::make_unique<TfrxObjectInspector>(Cert.Designer.get());
        Inspector->resize(320, 600);
        Inspector->show();
        QApplication::processEvents();
        Inspector->UpdateObjects();
    }
    void Select(const QList<TfrxComponent *> &Objects)
    {
        Cert.Select(Objects);
        Inspector->UpdateSelection();
    }
    void Focus(const QString &Path)
    {
        const int row = Inspector->FindRow(Path);
        ASSERT_GE(row, 0) << Path.toStdString();
        Inspector->SetItemIndex(row);
    }
    // Types Text into the row of Path and presses Enter.
    void Enter(const QString &Path, const QString &Text)
    {
        Focus(Path);
        typeInto(Inspector->EditBox(), Text);
        pressKey(Inspector->EditBox(), Qt::Key_Return);
    }
    QString Focused() const { return Inspector->RowPath(Inspector->ItemIndex()); }
    size_t Changes() const { return Cert.Designer->ModifiedCalls.size(); }

    TCertificate Cert;
    TRecordingUserInterface Ui;
    std::unique_ptr<TfrxObjectInspector> Inspector;
};

} // namespace

TEST(Inspector, NeedsTheDesignerAsOwner)
{
    EXPECT_EQ(errorOf([] { TfrxObjectInspector inspector(nullptr); }),
              QStringLiteral("The Owner of the object inspector should be TfrxCustomDesigner"));
    TInspectorFixture f;
    EXPECT_EQ(f.Inspector->windowTitle(), QStringLiteral("Object Inspector"));
    EXPECT_EQ(f.Inspector->Tabs()->tabText(0), QStringLiteral("Properties"));
    EXPECT_EQ(f.Inspector->Tabs()->tabText(1), QStringLiteral("Events"));
    EXPECT_EQ(f.Inspector->RowCount(), 0);
    EXPECT_EQ(f.Inspector->ItemIndex(), -1);
}

TEST(Inspector, TheComboListsThePageObjectsAndFollowsTheSelection)
{
    TInspectorFixture f;
    QComboBox *combo = f.Inspector->ObjectsCB();
    ASSERT_EQ(combo->count(), f.Cert.Designer->Objects().size());
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Page1: TfrxReportPage"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Memo1: TfrxMemoView"));

    f.Select({f.Cert.Memo(13)});
    EXPECT_EQ(combo->currentText(), QStringLiteral("Memo13: TfrxMemoView"));
    f.Select({f.Cert.Memo(1), f.Cert.Memo(2)});
    EXPECT_EQ(combo->currentIndex(), -1);

    // Choosing an entry selects that object alone and tells the designer.
    const int index = combo->findText(QStringLiteral("Memo5: TfrxMemoView"));
    emit combo->activated(index);
    EXPECT_EQ(f.Cert.Designer->Selection().Objects(), QList<TfrxComponent *>{f.Cert.Memo(5)});
    ASSERT_EQ(f.Cert.Designer->SelectionSenders.size(), 1u);
    EXPECT_EQ(f.Cert.Designer->SelectionSenders.back(), f.Inspector.get());
    EXPECT_EQ(f.Inspector->RowValue(f.Inspector->FindRow(QStringLiteral("Name"))), QStringLiteral("Memo5"));
}

TEST(Inspector, TwoMemosShowTheirCommonPropertiesAndTypingTopMovesBoth)
{
    TInspectorFixture f;
    f.Cert.Designer->SetUnits(duCM);
    TfrxMemoView *m1 = f.Cert.Memo(1);
    TfrxMemoView *m2 = f.Cert.Memo(13);
    f.Select({m1, m2});
    EXPECT_EQ(f.Inspector->FindRow(QStringLiteral("Name")), -1);
    EXPECT_GE(f.Inspector->FindRow(QStringLiteral("HAlign")), 0);
    EXPECT_EQ(f.Inspector->RowValue(f.Inspector->FindRow(QStringLiteral("Left"))), QStringLiteral("0.10"));

    f.Enter(QStringLiteral("Top"), QStringLiteral("2.5"));
    EXPECT_DOUBLE_EQ(m1->Top(), 2.5 * 96 / 2.54);
    EXPECT_DOUBLE_EQ(m2->Top(), 2.5 * 96 / 2.54);
    ASSERT_EQ(f.Changes(), 1u);
    EXPECT_EQ(f.Cert.Designer->ModifiedCalls.back(), std::make_pair(true, static_cast<QObject *>(f.Inspector.get())));
    EXPECT_EQ(f.Focused(), QStringLiteral("Top"));
    EXPECT_EQ(f.Inspector->EditBox()->text(), QStringLiteral("2.50"));
}

TEST(Inspector, ARenameShowsInTheComboAtOnce)
{
    TInspectorFixture f;
    TfrxMemoView *memo = f.Cert.Memo(1);
    f.Select({memo});
    f.Enter(QStringLiteral("Name"), QStringLiteral("SchoolName"));
    EXPECT_EQ(f.Inspector->ObjectsCB()->currentText(), QStringLiteral("SchoolName: TfrxMemoView"));
    EXPECT_EQ(f.Cert.Report.FindObject(QStringLiteral("SchoolName")), memo);
    EXPECT_FALSE(f.Cert.Report.FindObject(QStringLiteral("Memo1")));
    EXPECT_EQ(f.Changes(), 1u);

    // A duplicate name is refused: the message, the old name back, no change.
    f.Enter(QStringLiteral("Name"), QStringLiteral("Memo2"));
    EXPECT_EQ(f.Ui.MessageTexts(), QStringList{QStringLiteral("Duplicate name")});
    EXPECT_EQ(f.Inspector->EditBox()->text(), QStringLiteral("SchoolName"));
    EXPECT_EQ(f.Changes(), 1u);
}

TEST(Inspector, TheFocusStaysOnAPropertyOfTheSameName)
{
    TInspectorFixture f;
    f.Select({f.Cert.Memo(1)});
    f.Focus(QStringLiteral("Top"));
    f.Select({f.Cert.Memo(2)});
    EXPECT_EQ(f.Focused(), QStringLiteral("Top"));
    EXPECT_EQ(f.Inspector->DescriptionName(), QStringLiteral("Top"));

    // The data page shows no Top: the first row is focused, the name kept.
    f.Select({f.Cert.Report.FindObject(QStringLiteral("Data"))});
    EXPECT_EQ(f.Inspector->FindRow(QStringLiteral("Top")), -1);
    EXPECT_EQ(f.Inspector->ItemIndex(), 0);
    EXPECT_EQ(f.Inspector->LastPosition(), QStringLiteral("Top"));
    f.Select({f.Cert.Memo(3)});
    EXPECT_EQ(f.Focused(), QStringLiteral("Top"));

    // No page shown (the code tab): nothing is selected, nothing listed.
    f.Cert.Designer->SetPage(nullptr);
    f.Inspector->UpdateSelection();
    EXPECT_EQ(f.Inspector->RowCount(), 0);
    EXPECT_FALSE(f.Inspector->EditBox()->isVisible());
}

TEST(Inspector, EscapeRestoresTheTextAndChangesNothing)
{
    TInspectorFixture f;
    TfrxMemoView *memo = f.Cert.Memo(1);
    const double left = memo->Left();
    f.Select({memo});
    f.Focus(QStringLiteral("Left"));
    QLineEdit *edit = f.Inspector->EditBox();
    EXPECT_EQ(edit->text(), QStringLiteral("0.10"));
    typeInto(edit, QStringLiteral("7"));
    EXPECT_EQ(edit->text(), QStringLiteral("7"));
    pressKey(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->text(), QStringLiteral("0.10"));
    // Nothing is pending: leaving the row applies nothing.
    pressKey(edit, Qt::Key_Down);
    f.Inspector->CommitEdit();
    EXPECT_EQ(memo->Left(), left);
    EXPECT_EQ(f.Changes(), 0u);
}

TEST(Inspector, ARejectedValueShowsTheMessageAndKeepsTheOldValue)
{
    TInspectorFixture f;
    TfrxMemoView *memo = f.Cert.Memo(1);
    f.Select({memo});
    f.Enter(QStringLiteral("HAlign"), QStringLiteral("haNowhere"));
    ASSERT_EQ(f.Ui.Messages.size(), 1u);
    EXPECT_EQ(f.Ui.Messages[0].Text, QStringLiteral("Invalid property value"));
    EXPECT_EQ(f.Ui.Messages[0].Caption, QStringLiteral("Error"));
    EXPECT_EQ(f.Ui.Messages[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(f.Inspector->EditBox()->text(), QStringLiteral("haCenter"));
    EXPECT_EQ(memo->HAlign(), haCenter);

    const double left = memo->Left();
    f.Enter(QStringLiteral("Left"), QStringLiteral("abc"));
    EXPECT_EQ(f.Ui.MessageTexts().last(), QStringLiteral("'abc' is not a valid floating point value"));
    EXPECT_EQ(memo->Left(), left);
    EXPECT_EQ(f.Changes(), 0u);
}

TEST(Inspector, MovingTheFocusAppliesAPendingValue)
{
    TInspectorFixture f;
    TfrxMemoView *memo = f.Cert.Memo(1);
    f.Select({memo});
    f.Focus(QStringLiteral("Height"));
    const int row = f.Inspector->ItemIndex();
    typeInto(f.Inspector->EditBox(), QStringLiteral("1"));
    pressKey(f.Inspector->EditBox(), Qt::Key_Down);
    EXPECT_DOUBLE_EQ(memo->Height(), 96 / 2.54);
    EXPECT_EQ(f.Inspector->ItemIndex(), row + 1);
    EXPECT_EQ(f.Changes(), 1u);

    pressKey(f.Inspector->EditBox(), Qt::Key_Up);
    EXPECT_EQ(f.Inspector->ItemIndex(), row);
    f.Inspector->SetItemIndex(0);
    pressKey(f.Inspector->EditBox(), Qt::Key_Up);
    EXPECT_EQ(f.Inspector->ItemIndex(), 0);
    pressKey(f.Inspector->EditBox(), Qt::Key_PageDown);
    EXPECT_GT(f.Inspector->ItemIndex(), 1);
    f.Inspector->SetItemIndex(1000);
    EXPECT_EQ(f.Inspector->ItemIndex(), f.Inspector->RowCount() - 1);

    // What Save and Preview do first.
    f.Focus(QStringLiteral("Width"));
    typeInto(f.Inspector->EditBox(), QStringLiteral("5"));
    f.Inspector->CommitEdit();
    EXPECT_DOUBLE_EQ(memo->Width(), 5 * 96 / 2.54);
}

TEST(Inspector, EventsHaveATabOfTheirOwn)
{
    TInspectorFixture f;
    f.Select({f.Cert.Memo(1)});
    for (int i = 0; i < f.Inspector->RowCount(); ++i)
        EXPECT_FALSE(f.Inspector->RowName(i).startsWith(QStringLiteral("On"))) << f.Inspector->RowName(i).toStdString();
    f.Inspector->SetTabIndex(1);
    ASSERT_GT(f.Inspector->RowCount(), 0);
    for (int i = 0; i < f.Inspector->RowCount(); ++i)
        EXPECT_TRUE(f.Inspector->RowName(i).startsWith(QStringLiteral("On"))) << f.Inspector->RowName(i).toStdString();
    EXPECT_GE(f.Inspector->FindRow(QStringLiteral("OnBeforePrint")), 0);
    f.Inspector->SetTabIndex(0);
    EXPECT_GE(f.Inspector->FindRow(QStringLiteral("Left")), 0);
}

TEST(Inspector, SubObjectsExpandIntoIndentedRows)
{
    TInspectorFixture f;
    f.Select({f.Cert.Memo(1)});
    const int font = f.Inspector->FindRow(QStringLiteral("Font"));
    ASSERT_GE(font, 0);
    EXPECT_TRUE(f.Inspector->RowHasSubProperties(font));
    EXPECT_EQ(f.Inspector->FindRow(QStringLiteral("Font.Charset")), -1);
    f.Inspector->ToggleRow(font);
    const int charset = f.Inspector->FindRow(QStringLiteral("Font.Charset"));
    ASSERT_EQ(charset, font + 1);
    EXPECT_EQ(f.Inspector->RowValue(charset), QStringLiteral("RUSSIAN_CHARSET"));
    EXPECT_EQ(f.Inspector->RowLevel(charset), 1);
    EXPECT_EQ(f.Inspector->FindRow(QStringLiteral("Font.Height")), -1);

    // The expanded row stays expanded for the next object.
    f.Select({f.Cert.Memo(2)});
    f.Focus(QStringLiteral("Font.Charset"));
    EXPECT_EQ(f.Inspector->RowValue(f.Inspector->ItemIndex()), QStringLiteral("RUSSIAN_CHARSET"));

    // Folding a row with the focus inside gives the focus to that row.
    f.Inspector->ToggleRow(f.Inspector->FindRow(QStringLiteral("Font")));
    EXPECT_EQ(f.Focused(), QStringLiteral("Font"));
    EXPECT_EQ(f.Inspector->FindRow(QStringLiteral("Font.Charset")), -1);
}

TEST(Inspector, DescriptionsOfTheFocusedProperty)
{
    TInspectorFixture f;
    f.Select({f.Cert.Memo(1)});
    f.Focus(QStringLiteral("Left"));
    EXPECT_EQ(f.Inspector->DescriptionName(), QStringLiteral("Left"));
    EXPECT_EQ(f.Inspector->DescriptionText(), QStringLiteral("Left coordinate of the object"));
    f.Focus(QStringLiteral("Color"));
    EXPECT_EQ(f.Inspector->DescriptionText(), QStringLiteral("Color of the object"));
    f.Inspector->ToggleRow(f.Inspector->FindRow(QStringLiteral("Frame")));
    f.Focus(QStringLiteral("Frame.Color"));
    EXPECT_EQ(f.Inspector->DescriptionText(), QStringLiteral("The color of the frame"));
}

TEST(Inspector, ListsDialogsAndCheckBoxes)
{
    TInspectorFixture f;
    TfrxMemoView *memo = f.Cert.Memo(1);
    f.Select({memo});

    // The drop-down list of an enumeration, with the value selected.
    f.Focus(QStringLiteral("HAlign"));
    EXPECT_TRUE(f.Inspector->DropDownButton()->isVisible());
    EXPECT_FALSE(f.Inspector->DialogButton()->isVisible());
    f.Inspector->ShowValueList();
    QListWidget *list = f.Inspector->ValueListBox();
    ASSERT_TRUE(list && list->isVisible());
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("haCenter"));
    f.Inspector->ChooseValue(3);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(memo->HAlign(), haRight);
    EXPECT_EQ(f.Changes(), 1u);

    // Enter on a property with a dialog opens it.
    f.Focus(QStringLiteral("Frame"));
    EXPECT_TRUE(f.Inspector->DialogButton()->isVisible());
    EXPECT_TRUE(f.Inspector->EditBox()->isReadOnly());
    f.Ui.DialogAnswers.push_back([](QObject *Dialog) {
        Dialog->findChild<QCheckBox *>(QStringLiteral("ftTop"))->setChecked(true);
        return 1;
    });
    pressKey(f.Inspector->EditBox(), Qt::Key_Return);
    EXPECT_EQ(f.Ui.DialogCaptions, QStringList{QStringLiteral("Frame")});
    EXPECT_TRUE(memo->Frame()->Typ() & ftTop);
    EXPECT_EQ(f.Changes(), 2u);
    pressKey(f.Inspector->EditBox(), Qt::Key_Return); // cancelled this time
    EXPECT_EQ(f.Changes(), 2u);

    // A click just right of the splitter toggles a Boolean.
    const int row = f.Inspector->FindRow(QStringLiteral("WordWrap"));
    ASSERT_GE(row, 0);
    const bool wrap = memo->WordWrap();
    const QPointF at(f.Inspector->SplitPos() + 6, row * f.Inspector->RowHeight() + f.Inspector->RowHeight() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, f.Inspector->Grid()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.Inspector->Grid(), &press);
    EXPECT_EQ(memo->WordWrap(), !wrap);
    EXPECT_EQ(f.Focused(), QStringLiteral("WordWrap"));
    EXPECT_EQ(f.Changes(), 3u);
}

TEST(Inspector, ValuesChangedElsewhereAreShownUnlessUpdatesAreOff)
{
    TInspectorFixture f;
    TfrxMemoView *memo = f.Cert.Memo(1);
    f.Select({memo});
    f.Focus(QStringLiteral("Left"));
    memo->SetLeft(96);
    f.Cert.Designer->DisableInspectorUpdate();
    f.Inspector->UpdateProperties();
    EXPECT_EQ(f.Inspector->EditBox()->text(), QStringLiteral("0.10"));
    f.Cert.Designer->EnableInspectorUpdate();
    f.Inspector->UpdateProperties();
    EXPECT_EQ(f.Inspector->EditBox()->text(), QStringLiteral("2.54"));
}

TEST(Inspector, SplittersAreKeptInTheSettingsStore)
{
    TCertificate cert;
    {
        TIniFile ini(cert.Report.IniFile());
        ini.WriteInteger(QStringLiteral("Form5.TfrxObjectInspector"), QStringLiteral("SplitPos"), 1000);
        ini.WriteInteger(QStringLiteral("Form5.TfrxObjectInspector"), QStringLiteral("Split1Pos"), 5);
        ini.UpdateFile();
    }
    {
        TfrxObjectInspector inspector(cert.Designer.get());
        inspector.resize(300, 500);
        inspector.show();
        QApplication::processEvents();
        const int width = inspector.Grid()->width();
        EXPECT_EQ(inspector.SplitPos(), width / 2); // beyond the width - 10
        EXPECT_EQ(inspector.Split1Pos(), 65);
        inspector.SetSplitPos(5); // kept more than 30 pixels from the edge
        EXPECT_EQ(inspector.SplitPos(), 31);
        inspector.SetSplitPos(120);
        inspector.SetSplit1Pos(80);
        inspector.SaveSettings();
    }
    TIniFile ini(cert.Report.IniFile());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Form5.TfrxObjectInspector"), QStringLiteral("SplitPos"), 0), 120);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Form5.TfrxObjectInspector"), QStringLiteral("Split1Pos"), 0), 80);
    TfrxObjectInspector again(cert.Designer.get());
    again.resize(300, 500);
    again.show();
    QApplication::processEvents();
    EXPECT_EQ(again.SplitPos(), 120);
    EXPECT_EQ(again.Split1Pos(), 80);
}
