// The designer window on the certificate template: file workflow, caption,
// undo and redo, the question on closing, the clipboard, preview without
// trace, zoom and the settings it keeps.

#include "DesignerServices.h"
#include "base/IniFile.h"
#include "designer/rudDesgn.h"
#include "designer/rudDesgnClipboard.h"
#include "designer/rudDesgnInit.h"
#include "designer/rudDesgnSettings.h"
#include "designer/rudGuidedWorkspace.h"
#include "report/model/rudBand.h"
#include "report/model/rudFrame.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudPreview.h"
#include "report/render/rudPreviewDialogs.h"
#include "report/render/rudPreviewForm.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray fileBytes(const QString &Path)
{
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class DesignerWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        rudDesignerInit();
        ASSERT_TRUE(Dir.isValid());
        Template = Dir.filePath(QStringLiteral("shablon.fr3"));
        ASSERT_TRUE(QFile::copy(sourceDir() + QStringLiteral("/resources/shablon.fr3"), Template));
        QFile::setPermissions(Template, QFile::ReadOwner | QFile::WriteOwner);
    }

    // A designer on the report loaded from File, as the template command
    // opens it; the settings go to a file of the test's folder.
    std::unique_ptr<TfrxDesignerForm> Open(const QString &File)
    {
        Report.LoadFromFile(File);
        Report.SetIniFile(Dir.filePath(QStringLiteral("designer.ini")));
        auto designer = std::make_unique<TfrxDesignerForm>(&Report);
        designer->Init();
        return designer;
    }

    TfrxCustomMemoView *Memo(const QString &Name)
    {
        return qobject_cast<TfrxCustomMemoView *>(Report.FindObject(Name));
    }

    QTemporaryDir Dir;
    QString Template;
    TRecordingUserInterface Ui;
    TDesignerReport Report;
};

} // namespace

TEST_F(DesignerWindow, OpensTheCertificateTemplateAndSavesItStraightBack)
{
    auto designer = Open(Template);
    EXPECT_TRUE(designer->windowTitle().endsWith(QStringLiteral(" - shablon.fr3")));
    EXPECT_EQ(designer->Tabs()->tabText(0), QStringLiteral("Code"));
    ASSERT_GE(designer->Tabs()->count(), 2);
    EXPECT_EQ(designer->Tabs()->currentIndex(), 1);
    ASSERT_NE(designer->Page(), nullptr);
    EXPECT_FALSE(qobject_cast<TfrxDataPage *>(designer->Page()));
    EXPECT_FALSE(designer->Modified());
    EXPECT_FALSE(designer->Action(QStringLiteral("SaveCmd"))->isEnabled());
    EXPECT_EQ(designer->Action(QStringLiteral("SaveCmd"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));

    // A change, then Ctrl+S: written to the same file, no dialog.
    TfrxCustomMemoView *memo = Memo(QStringLiteral("Memo5"));
    ASSERT_NE(memo, nullptr);
    memo->SetLeft(memo->Left() + 10);
    designer->SetModified(true);
    EXPECT_TRUE(designer->Action(QStringLiteral("SaveCmd"))->isEnabled());
    designer->show();
    QApplication::setActiveWindow(designer.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(designer.get()));
    QTest::keyClick(designer.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(Ui.SaveDialogs.empty());
    EXPECT_FALSE(designer->Modified());

    TDesignerReport reread;
    reread.LoadFromFile(Template);
    auto *saved = qobject_cast<TfrxCustomMemoView *>(reread.FindObject(QStringLiteral("Memo5")));
    ASSERT_NE(saved, nullptr);
    EXPECT_NEAR(saved->Left(), memo->Left(), 1e-6);
    EXPECT_EQ(designer->RecentFiles().value(0), QFileInfo(Template).absoluteFilePath());
}

TEST_F(DesignerWindow, AMissingTemplateGivesABlankPageAndSaveAsksForAName)
{
    auto designer = Open(Dir.filePath(QStringLiteral("missing.fr3")));
    ASSERT_NE(designer->Page(), nullptr);
    EXPECT_EQ(designer->Page()->Name(), QStringLiteral("Page1"));
    EXPECT_TRUE(designer->Page()->Objects().isEmpty());
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_TRUE(designer->windowTitle().endsWith(QStringLiteral("Untitled.fr3")));

    const QString chosen = Dir.filePath(QStringLiteral("new"));
    Ui.FileAnswers.push_back(TFileDialogResult{chosen, 1});
    EXPECT_TRUE(designer->Save(false));
    ASSERT_EQ(Ui.SaveDialogs.size(), 1u);
    EXPECT_EQ(Ui.SaveDialogs[0].DefaultExt, QStringLiteral("fr3"));
    EXPECT_EQ(Ui.SaveDialogs[0].Filter, QStringLiteral("Report (*.fr3)|*.fr3"));
    EXPECT_TRUE(Ui.SaveDialogs[0].OverwritePrompt);
    EXPECT_TRUE(QFileInfo::exists(chosen + QStringLiteral(".fr3")));
    EXPECT_TRUE(designer->windowTitle().endsWith(QStringLiteral(" - new.fr3")));

    // A cancelled dialog writes nothing and reports it.
    EXPECT_FALSE(designer->Save(true));
    EXPECT_EQ(Ui.SaveDialogs.size(), 2u);
}

TEST_F(DesignerWindow, UndoAndRedoGoThroughWholeSnapshots)
{
    auto designer = Open(Template);
    QAction *undo = designer->Action(QStringLiteral("UndoCmd"));
    QAction *redo = designer->Action(QStringLiteral("RedoCmd"));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    const double before = Memo(QStringLiteral("Memo13"))->Left();
    Memo(QStringLiteral("Memo13"))->SetLeft(before + 37.8);
    designer->SetModified(true);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    undo->trigger();
    EXPECT_DOUBLE_EQ(Memo(QStringLiteral("Memo13"))->Left(), before);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    EXPECT_TRUE(designer->Action(QStringLiteral("SaveCmd"))->isEnabled());
    EXPECT_NE(designer->Page(), nullptr);

    redo->trigger();
    EXPECT_DOUBLE_EQ(Memo(QStringLiteral("Memo13"))->Left(), before + 37.8);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    // Any new change forgets the redo list; there is no limit on undo.
    for (int i = 0; i < 30; ++i) {
        Memo(QStringLiteral("Memo1"))->SetTop(i);
        designer->SetModified(true);
    }
    EXPECT_EQ(designer->UndoCount(), 32);
    for (int i = 0; i < 31; ++i)
        designer->Undo();
    EXPECT_DOUBLE_EQ(Memo(QStringLiteral("Memo13"))->Left(), before);
    EXPECT_EQ(designer->RedoCount(), 31);
}

TEST_F(DesignerWindow, DeleteAndOrderCommandsWorkOnTheSelection)
{
    auto designer = Open(Template);
    EXPECT_FALSE(designer->Action(QStringLiteral("DeleteCmd"))->isEnabled());
    TfrxCustomMemoView *memo = Memo(QStringLiteral("Memo7"));
    designer->Selection().Assign({memo});
    designer->Selection().Notify();
    EXPECT_TRUE(designer->Action(QStringLiteral("DeleteCmd"))->isEnabled());
    EXPECT_TRUE(designer->Action(QStringLiteral("EditCmd"))->isEnabled());
    EXPECT_EQ(designer->StatusObject(), QStringLiteral("Memo7: ") + memo->Text().left(128));

    TfrxComponent *parent = memo->Parent();
    designer->Action(QStringLiteral("SendToBackCmd"))->trigger();
    EXPECT_EQ(parent->Objects().first(), memo);
    designer->Action(QStringLiteral("BringToFrontCmd"))->trigger();
    EXPECT_EQ(parent->Objects().last(), memo);

    designer->Action(QStringLiteral("DeleteCmd"))->trigger();
    EXPECT_EQ(Report.FindObject(QStringLiteral("Memo7")), nullptr);
    EXPECT_EQ(designer->Selection().Objects(), QList<TfrxComponent *>{designer->Page()});
    designer->Undo();
    EXPECT_NE(Report.FindObject(QStringLiteral("Memo7")), nullptr);

    // An object that may not be deleted stays.
    Memo(QStringLiteral("Memo8"))->SetRestrictions(rfDontDelete);
    designer->Selection().Assign({Memo(QStringLiteral("Memo8"))});
    designer->Delete();
    EXPECT_NE(Report.FindObject(QStringLiteral("Memo8")), nullptr);
}

TEST_F(DesignerWindow, ClosingAfterAChangeAsksToSaveAndCancelKeepsItOpen)
{
    auto designer = Open(Template);
    designer->show();
    Memo(QStringLiteral("Memo2"))->SetTop(5);
    designer->SetModified(true);

    Ui.Answers.push_back(TMsgResult::Cancel);
    EXPECT_FALSE(designer->close());
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, QStringLiteral("Save changes to  shablon.fr3?"));
    EXPECT_EQ(Ui.Messages[0].Buttons, TMsgButtons::YesNoCancel);
    EXPECT_TRUE(designer->isVisible());

    const QByteArray original = fileBytes(Template);
    Ui.Answers.push_back(TMsgResult::No);
    EXPECT_TRUE(designer->close());
    EXPECT_EQ(fileBytes(Template), original);
    EXPECT_TRUE(Report.Modified());
}

TEST_F(DesignerWindow, YesOnClosingSavesAndAFailedSaveKeepsTheWindow)
{
    auto designer = Open(Template);
    designer->show();
    Memo(QStringLiteral("Memo2"))->SetTop(6);
    designer->SetModified(true);
    // A report taken as only partly loaded may not replace its file: the
    // save fails with its message and the window stays open.
    const QByteArray original = fileBytes(Template);
    Report.MarkLoadFailed();
    Ui.Answers.push_back(TMsgResult::Yes);
    EXPECT_FALSE(designer->close());
    EXPECT_TRUE(designer->isVisible());
    EXPECT_EQ(Ui.Messages.size(), 2u);
    EXPECT_EQ(fileBytes(Template), original);

    Report.AcceptLoadErrors();
    Ui.Answers.push_back(TMsgResult::Yes);
    EXPECT_TRUE(designer->close());
    EXPECT_FALSE(Report.Modified());
    TDesignerReport reread;
    reread.LoadFromFile(Template);
    EXPECT_DOUBLE_EQ(qobject_cast<TfrxCustomMemoView *>(reread.FindObject(QStringLiteral("Memo2")))->Top(), 6);
}

TEST_F(DesignerWindow, PastedMemosWhoseNamesExistGetNewUniqueNames)
{
    auto designer = Open(Template);
    designer->Selection().Assign({Memo(QStringLiteral("Memo3")), Memo(QStringLiteral("Memo4"))});
    designer->Selection().Notify();
    designer->Copy();
    const QString text = QApplication::clipboard()->text();
    SCOPED_TRACE(text.left(300).toStdString());
    ASSERT_TRUE(text.startsWith(QStringLiteral("#FR3 clipboard#\n\r<TfrxMemoView Name=\"Memo3\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("/><TfrxMemoView Name=\"Memo4\"")));

    const QString memo3Text = Memo(QStringLiteral("Memo3"))->Text();
    const int before = int(Report.AllObjects().size());
    designer->Paste();
    EXPECT_EQ(int(Report.AllObjects().size()), before + 2);
    ASSERT_EQ(designer->Selection().Objects().size(), 2);
    QStringList names;
    for (TfrxComponent *object : designer->Selection().Objects())
        names << object->Name();
    EXPECT_FALSE(names.contains(QStringLiteral("Memo3")));
    EXPECT_FALSE(names.contains(QStringLiteral("Memo4")));
    EXPECT_EQ(names.removeDuplicates(), 0);
    auto *copy = qobject_cast<TfrxCustomMemoView *>(designer->Selection().Objects().first());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Text(), memo3Text);
    EXPECT_EQ(copy->GroupIndex(), 0);
    EXPECT_TRUE(designer->Modified());

    // Into a report without those names, they are kept.
    TDesignerReport other;
    auto *page = new TfrxReportPage(&other);
    page->SetName(QStringLiteral("Page1"));
    const QList<TfrxComponent *> pasted = rudPasteObjectsText(text, page);
    ASSERT_EQ(pasted.size(), 2);
    EXPECT_EQ(pasted[0]->Name(), QStringLiteral("Memo3"));
    EXPECT_EQ(pasted[1]->Name(), QStringLiteral("Memo4"));
    // Positions stay relative to each other, the set's corner at (0, 0).
    EXPECT_NEAR(std::min(pasted[0]->Left(), pasted[1]->Left()), 0, 1e-9);
    EXPECT_NEAR(pasted[1]->Left() - pasted[0]->Left(),
                Memo(QStringLiteral("Memo4"))->AbsLeft() - Memo(QStringLiteral("Memo3"))->AbsLeft(), 1e-6);
    // Pasted again and again, the copies take the first free numbers in turn.
    auto *taken = new TfrxMemoView(page);
    taken->SetName(QStringLiteral("Memo6"));
    QStringList renamed;
    for (int i = 0; i < 3; ++i)
        for (TfrxComponent *object : rudPasteObjectsText(text, page))
            renamed << object->Name();
    EXPECT_EQ(renamed, (QStringList{"Memo1", "Memo2", "Memo5", "Memo7", "Memo8", "Memo9"}));
}

TEST_F(DesignerWindow, PreviewLeavesNoTraceAndAScriptErrorShowsInTheCodeTab)
{
    auto designer = Open(Template);
    const QString before = Memo(QStringLiteral("Memo5"))->Text();
    // The preview is a modal window: it is closed once its pages are there.
    int previews = 0;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *form = qobject_cast<TfrxPreviewForm *>(QApplication::activeModalWidget());
        if (!form || form->Preview()->Running() || form->Preview()->PageCount() == 0)
            return;
        ++previews;
        form->close();
    });
    poll.start();
    designer->Preview();
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(Memo(QStringLiteral("Memo5"))->Text(), before);
    EXPECT_FALSE(designer->Modified());
    ASSERT_NE(designer->Page(), nullptr);

    designer->SetTabIndex(0);
    designer->CodeWindow()->setPlainText(QStringLiteral("begin\n  x := ;\nend."));
    designer->SetTabIndex(1);
    designer->Preview();
    poll.stop();
    EXPECT_EQ(previews, 1);
    EXPECT_TRUE(designer->CodeTabShown());
    ASSERT_FALSE(Ui.Messages.empty());
    EXPECT_EQ(designer->CodeWindow()->textCursor().blockNumber(), 1);
}

// A script event of the template that would empty the report while its
// preview is prepared is refused: the designer keeps its objects and the
// edits not yet saved.
TEST_F(DesignerWindow, AScriptThatEmptiesTheReportInThePreviewLeavesTheDesignAlone)
{
    auto designer = Open(Template);
    Memo(QStringLiteral("Memo5"))->SetText(QStringLiteral("edited"));
    designer->SetModified(true);
    Memo(QStringLiteral("Memo5"))->SetOnBeforePrint(QStringLiteral("Memo5OnBeforePrint"));
    designer->SetTabIndex(0);
    designer->CodeWindow()->setPlainText(
        QStringLiteral("procedure Memo5OnBeforePrint(Sender: TfrxComponent);\nbegin\n  Report.Clear;\nend;\n\nbegin\nend."));
    designer->SetTabIndex(1);
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *form = qobject_cast<TfrxPreviewForm *>(QApplication::activeModalWidget());
        if (form && !form->Preview()->Running() && !Ui.Messages.empty())
            form->close();
    });
    poll.start();
    designer->Preview();
    poll.stop();
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_TRUE(Ui.MessageTexts().first().contains("Cannot call TfrxReport.Clear while the report is being prepared"))
        << Ui.MessageTexts().first().toStdString();
    ASSERT_NE(Memo(QStringLiteral("Memo5")), nullptr);
    EXPECT_EQ(Memo(QStringLiteral("Memo5"))->Text().trimmed(), QStringLiteral("edited"));
    EXPECT_NE(designer->Page(), nullptr);
    EXPECT_TRUE(designer->Modified());
}

TEST_F(DesignerWindow, ZoomTakesListEntriesAndTypedNumbers)
{
    auto designer = Open(Template);
    designer->ApplyZoomText(QStringLiteral("150%"));
    EXPECT_DOUBLE_EQ(designer->Scale(), 1.5);
    EXPECT_EQ(designer->ZoomBox()->currentText(), QStringLiteral("150%"));
    designer->ApplyZoomText(QStringLiteral(" 2 5 %"));
    EXPECT_DOUBLE_EQ(designer->Scale(), 0.25);
    designer->ApplyZoomText(QString());
    EXPECT_DOUBLE_EQ(designer->Scale(), 0.25);
    designer->SetScale(50);
    EXPECT_DOUBLE_EQ(designer->Scale(), 20);
    designer->SetScale(0);
    EXPECT_DOUBLE_EQ(designer->Scale(), 1);
    designer->ApplyZoomText(QStringLiteral("abc"));
    EXPECT_DOUBLE_EQ(designer->Scale(), 1);
}

TEST_F(DesignerWindow, SettingsAreKeptPerUserAndTheDefaultLayoutServesAFirstRun)
{
    {
        auto designer = Open(Template);
        EXPECT_TRUE(designer->EditAfterInsert()); // the built-in layout's choice
        EXPECT_EQ(designer->Units(), duCM);
        EXPECT_DOUBLE_EQ(designer->GridStepX(), 0.1 * 37.7953);
        designer->SetUnits(duInches);
        designer->SetScale(1.5);
        designer->SetGrid(2, 0.25);
        designer->SetEditAfterInsert(false);
        designer->SaveState();
        EXPECT_EQ(designer->StatusUnits(), QStringLiteral("Inches"));
        // The preview's page settings show lengths in the designer's unit.
        EXPECT_TRUE(rudDesignerUsesInches(Report.IniFile()));
    }
    auto designer = Open(Template);
    EXPECT_EQ(designer->Units(), duInches);
    EXPECT_DOUBLE_EQ(designer->Scale(), 1.5);
    EXPECT_DOUBLE_EQ(designer->Grid(2), 0.25);
    EXPECT_DOUBLE_EQ(designer->GridStepX(), 24);
    EXPECT_FALSE(designer->EditAfterInsert());
    designer->SetUnits(duChars);
    EXPECT_DOUBLE_EQ(designer->GridStepX(), 9.6);
    EXPECT_DOUBLE_EQ(designer->GridStepY(), 17);

    // A zero workspace colour in the store asks for the built-in layout again.
    {
        TIniFile ini(Dir.filePath(QStringLiteral("designer.ini")));
        EXPECT_NE(ini.ReadInteger(QStringLiteral("Form5.TfrxDesignerForm"), QStringLiteral("WorkspaceColor"), 0), 0);
        ini.WriteInteger(QStringLiteral("Form5.TfrxDesignerForm"), QStringLiteral("WorkspaceColor"), 0);
        ini.UpdateFile();
    }
    designer.reset();
    designer = Open(Template);
    EXPECT_TRUE(designer->EditAfterInsert());
}

TEST_F(DesignerWindow, SettingsThatCannotBeReadOrWrittenSaySoOnce)
{
    const QString store = Dir.filePath(QStringLiteral("designer.ini"));
    auto writeStore = [&](const QByteArray &Text) {
        QFile::remove(store);
        QFile file(store);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Form5.TfrxDesignerForm]\n" + Text);
    };
    // A damaged number: the built-in value serves, and the window says why.
    writeStore("Scale=1,5x\nGrid1=0,5y\nUnits=1\n");
    {
        auto designer = Open(Template);
        EXPECT_DOUBLE_EQ(designer->Scale(), 1);
        EXPECT_EQ(designer->Units(), duInches);
        ASSERT_EQ(Ui.Messages.size(), 1u) << Ui.MessageTexts().join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(Ui.Messages[0].Text.startsWith(QStringLiteral("Настройки дизайнера не прочитаны")));
        EXPECT_TRUE(Ui.Messages[0].Text.contains(QStringLiteral("Scale")));
    }
    // A store that cannot be written: the window's settings are not kept.
    Ui.Messages.clear();
    writeStore("Scale=1.5\n");
    QFile::setPermissions(store, QFile::ReadOwner);
    {
        auto designer = Open(Template);
        designer->SetScale(2);
        designer->SaveState();
        designer->SaveState();
        ASSERT_EQ(Ui.Messages.size(), 1u) << Ui.MessageTexts().join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(Ui.Messages[0].Text.startsWith(QStringLiteral("Настройки дизайнера не сохранены")));
    }
    QFile::setPermissions(store, QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(DesignerWindow, NewReportAndOpeningABadFile)
{
    auto designer = Open(Template);
    designer->NewReport();
    EXPECT_TRUE(Report.FileName().isEmpty());
    ASSERT_NE(designer->Page(), nullptr);
    EXPECT_EQ(designer->Page()->Name(), QStringLiteral("Page1"));
    for (const char *name : {"ReportTitle1", "MasterData1", "PageFooter1"})
        EXPECT_NE(Report.FindObject(QLatin1String(name)), nullptr) << name;
    auto *pageNumber = qobject_cast<TfrxCustomMemoView *>(Report.FindObject(QStringLiteral("Memo1")));
    ASSERT_NE(pageNumber, nullptr);
    EXPECT_EQ(pageNumber->Text().trimmed(), QStringLiteral("[Page#]"));
    EXPECT_TRUE(qobject_cast<TfrxPageFooter *>(pageNumber->Parent()));
    EXPECT_FALSE(designer->Modified());

    const QString bad = Dir.filePath(QStringLiteral("bad.fr3"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a template");
    file.close();
    EXPECT_FALSE(designer->OpenFile(bad));
    EXPECT_TRUE(Ui.MessageTexts().contains(QStringLiteral("Couldn't load file")));
    ASSERT_NE(designer->Page(), nullptr);
    EXPECT_EQ(designer->Page()->Name(), QStringLiteral("Page1"));
    EXPECT_TRUE(Report.FileName().isEmpty());
    EXPECT_EQ(fileBytes(bad), QByteArray("this is not a template"));
}

TEST_F(DesignerWindow, RestrictionsOfTheSettingsComponentDisableTheirCommands)
{
    TfrxDesigner settings;
    settings.SetRestrictions(drDontSaveReport | drDontPreviewReport | drDontCreateReport);
    auto designer = Open(Template);
    Memo(QStringLiteral("Memo2"))->SetTop(7);
    designer->SetModified(true);
    EXPECT_FALSE(designer->Action(QStringLiteral("SaveCmd"))->isEnabled());
    EXPECT_FALSE(designer->Action(QStringLiteral("SaveAsCmd"))->isEnabled());
    EXPECT_FALSE(designer->Action(QStringLiteral("PreviewCmd"))->isEnabled());
    EXPECT_FALSE(designer->Action(QStringLiteral("NewReportCmd"))->isEnabled());
    EXPECT_TRUE(designer->Action(QStringLiteral("OpenCmd"))->isEnabled());
    EXPECT_FALSE(designer->Save(false));
    // Closing does not ask to save what may not be saved.
    designer->show();
    EXPECT_TRUE(designer->close());
    EXPECT_TRUE(Ui.Messages.empty());
}

TEST_F(DesignerWindow, DesignReportRunsOneDesignerPerReport)
{
    Report.LoadFromFile(Template);
    Report.SetIniFile(Dir.filePath(QStringLiteral("designer.ini")));
    int shown = 0;
    Ui.DialogAnswers.push_back([&](QObject *Window) {
        ++shown;
        auto *designer = qobject_cast<TfrxDesignerForm *>(Window);
        EXPECT_NE(designer, nullptr);
        EXPECT_EQ(TfrxCustomDesigner::DesignerOf(&Report), designer);
        // A second request while it is open does nothing.
        Report.DesignReport(true, false);
        Memo(QStringLiteral("Memo9"))->SetLeft(1);
        designer->SetModified(true);
        return 1;
    });
    Report.DesignReport(true, false);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(TfrxCustomDesigner::DesignerOf(&Report), nullptr);
}

TEST_F(DesignerWindow, AMoveInTheWorkAreaIsUndoneAndRedone)
{
    auto designer = Open(Template);
    designer->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(designer.get()));
    TDesignerWorkspace *workspace = designer->Workspace();
    ASSERT_NE(workspace, nullptr);
    TfrxCustomMemoView *memo = Memo(QStringLiteral("Memo5"));
    const double top = memo->Top();
    const QRectF rect = TfrxDesignerWorkspace::AbsRect(memo);
    const QPoint grab = workspace->ToWidget(rect.center()).toPoint();
    QTest::mousePress(workspace, Qt::LeftButton, Qt::NoModifier, grab);
    for (int dy = 4; dy <= 40; dy += 4)
        QTest::mouseMove(workspace, grab + QPoint(0, dy));
    QTest::mouseRelease(workspace, Qt::LeftButton, Qt::NoModifier, grab + QPoint(0, 40));
    ASSERT_EQ(designer->Selection().Objects(), QList<TfrxComponent *>{memo});
    EXPECT_GT(memo->Top(), top);
    EXPECT_TRUE(designer->Modified());
    EXPECT_TRUE(designer->Action(QStringLiteral("UndoCmd"))->isEnabled());
    // The status bar shows the memo's place in centimetres.
    EXPECT_EQ(designer->StatusPosition().left(designer->StatusPosition().indexOf(QStringLiteral("   "))),
              QString::asprintf("%.2f; %.2f", memo->Left() / 37.7953, memo->Top() / 37.7953));
    const double moved = memo->Top();

    designer->Undo();
    EXPECT_DOUBLE_EQ(Memo(QStringLiteral("Memo5"))->Top(), top);
    designer->Redo();
    EXPECT_DOUBLE_EQ(Memo(QStringLiteral("Memo5"))->Top(), moved);

    // Undo with a memo's text open in place: the old objects go, the edit
    // box lets go of its memo first.
    workspace->EditInplace(Memo(QStringLiteral("Memo5")));
    ASSERT_TRUE(workspace->InplaceEditing());
    designer->Undo();
    EXPECT_FALSE(workspace->InplaceEditing());
    EXPECT_DOUBLE_EQ(Memo(QStringLiteral("Memo5"))->Top(), top);
}

TEST_F(DesignerWindow, DoubleClickOpensTheEditorOfTheObject)
{
    auto designer = Open(Template);
    designer->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(designer.get()));
    TDesignerWorkspace *workspace = designer->Workspace();
    TfrxCustomMemoView *memo = Memo(QStringLiteral("Memo5"));
    QStringList opened;
    Ui.DialogAnswers.push_back([&](QObject *Window) {
        opened << Window->metaObject()->className();
        return 0;
    });
    const QPoint at = workspace->ToWidget(TfrxDesignerWorkspace::AbsRect(memo).center()).toPoint();
    QTest::mouseClick(workspace, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(workspace, Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QStringLiteral("TfrxMemoEditorForm"));
    EXPECT_FALSE(designer->Modified());

    // The page's own editor is the page options window.
    designer->Selection().Assign({designer->Page()});
    Ui.DialogAnswers.push_back([&](QObject *Window) {
        opened << Window->metaObject()->className();
        return 0;
    });
    designer->Action(QStringLiteral("PageSettingsCmd"))->trigger();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1], QStringLiteral("TfrxPageEditorForm"));
}

TEST_F(DesignerWindow, TextAndFrameToolBarsChangeTheSelectedMemos)
{
    auto designer = Open(Template);
    TfrxCustomMemoView *a = Memo(QStringLiteral("Memo3")), *b = Memo(QStringLiteral("Memo4"));
    designer->Selection().Assign({a, b});
    designer->Selection().Notify();
    designer->Action(QStringLiteral("BoldB"))->trigger();
    EXPECT_TRUE(a->Font()->Style().testFlag(fsBold));
    EXPECT_TRUE(b->Font()->Style().testFlag(fsBold));
    designer->Action(QStringLiteral("TextAlignRightB"))->trigger();
    EXPECT_EQ(a->HAlign(), haRight);
    EXPECT_EQ(b->HAlign(), haRight);
    designer->Action(QStringLiteral("FrameAllB"))->trigger();
    EXPECT_EQ(int(a->Frame()->Typ()), ftLeft | ftRight | ftTop | ftBottom);
    designer->Action(QStringLiteral("FrameNoB"))->trigger();
    EXPECT_EQ(int(b->Frame()->Typ()), 0);
    EXPECT_EQ(designer->UndoCount(), 5);
    designer->Undo();
    designer->Undo();
    designer->Undo();
    designer->Undo();
    EXPECT_FALSE(Memo(QStringLiteral("Memo3"))->Font()->Style().testFlag(fsBold));
}

TEST_F(DesignerWindow, PagesAreAddedDeletedAndSelectedAllWithinABand)
{
    auto designer = Open(Template);
    EXPECT_FALSE(designer->Action(QStringLiteral("DeletePageCmd"))->isEnabled());
    designer->NewPage();
    EXPECT_EQ(designer->Tabs()->count(), 3);
    EXPECT_EQ(designer->Tabs()->currentIndex(), 2);
    EXPECT_TRUE(designer->Action(QStringLiteral("DeletePageCmd"))->isEnabled());
    const QString added = designer->Page()->Name();
    designer->Action(QStringLiteral("DeletePageCmd"))->trigger();
    EXPECT_EQ(designer->Tabs()->count(), 2);
    EXPECT_EQ(Report.FindObject(added), nullptr);
    EXPECT_TRUE(designer->Modified());

    designer->SelectAll();
    EXPECT_EQ(designer->Selection().Objects().size(), designer->Page()->Objects().size());

    // On the code tab, Select All selects the script's text.
    designer->SetTabIndex(0);
    designer->SelectAll();
    EXPECT_EQ(designer->CodeWindow()->textCursor().selectedText().size(),
              designer->CodeWindow()->toPlainText().size());
}

TEST_F(DesignerWindow, TheOptionsDialogSetsUnitsAndGrid)
{
    auto designer = Open(Template);
    Ui.DialogAnswers.push_back([](QObject *Window) {
        auto *dialog = qobject_cast<QDialog *>(Window);
        dialog->findChild<QComboBox *>(QStringLiteral("UnitsCB"))->setCurrentIndex(duPixels);
        dialog->findChild<QLineEdit *>(QStringLiteral("Grid3E"))->setText(QStringLiteral("8"));
        dialog->findChild<QCheckBox *>(QStringLiteral("AlignGridCB"))->setChecked(false);
        return 1;
    });
    designer->Options();
    EXPECT_EQ(designer->Units(), duPixels);
    EXPECT_DOUBLE_EQ(designer->Grid(3), 8);
    EXPECT_DOUBLE_EQ(designer->GridStepX(), 8);
    EXPECT_FALSE(designer->GridAlign());
    EXPECT_EQ(designer->StatusUnits(), QStringLiteral("Pixels"));
}

TEST_F(DesignerWindow, ClosingWithTheFocusInTheZoomBoxReachesNoFreedWindow)
{
    Report.LoadFromFile(Template);
    Report.SetIniFile(Dir.filePath(QStringLiteral("designer.ini")));
    {
        TfrxDesignerForm designer(&Report);
        designer.Init();
        designer.setWindowState(Qt::WindowNoState);
        designer.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&designer));
        designer.NewReport();
        QApplication::processEvents();
        // The zoom box holds the focus and reports its text when it loses
        // it, which happens while the window is being destroyed.
    }
    QApplication::processEvents();
}
