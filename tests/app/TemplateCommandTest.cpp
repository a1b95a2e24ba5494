// The template command end to end through the entry window: the designer
// opens on the template file, a memo is deleted through the Edit menu, the
// template is saved and the designer closed; the next print sees the change.

#include "PrintTestSupport.h"

#include "designer/rudDesgn.h"
#include "designer/rudDesgnInit.h"
#include "designer/rudGuidedWorkspace.h"
#include "report/engine/rudPreviewPages.h"
#include "report/render/rudPdfOutput.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QDialog>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// The action of the designer's Edit menu with that object name.
QAction *editMenuAction(TfrxDesignerForm &Designer, const QString &Name)
{
    auto *menu = Designer.menuBar()->findChild<QMenu *>(QStringLiteral("EditMenu"));
    if (!menu)
        return nullptr;
    for (QAction *action : menu->actions())
        if (action->objectName() == Name)
            return action;
    return nullptr;
}

// Deletes the memo Name through the Edit menu, saves with the designer's
// save command and closes the designer.
void deleteMemoAndSave(TfrxDesignerForm &Designer, const QString &Name)
{
    TfrxComponent *memo = Designer.Report()->FindObject(Name);
    EXPECT_NE(memo, nullptr);
    Designer.Selection().Assign({memo});
    Designer.Selection().Notify();
    QAction *remove = editMenuAction(Designer, QStringLiteral("DeleteCmd"));
    EXPECT_NE(remove, nullptr);
    if (remove)
        remove->trigger();
    EXPECT_EQ(Designer.Report()->FindObject(Name), nullptr);
    Designer.Action(QStringLiteral("SaveCmd"))->trigger();
    EXPECT_FALSE(Designer.Modified());
    EXPECT_TRUE(Designer.close());
}

} // namespace

TEST(TemplateCommand, EditsSavesAndTheNextPrintUsesTheTemplate)
{
    rudDesignerInit();
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    TRecordingUserInterface &ui = print.Shown.Ui;
    w.rudReport1->SetIniFile(print.Folder.filePath(QStringLiteral("designer.ini")));

    // First opening: the file's content, Memo_kval among it; deleted and saved.
    QStringList seen;
    ui.DialogAnswers.push_back([&](QObject *Window) {
        auto *designer = qobject_cast<TfrxDesignerForm *>(Window);
        EXPECT_NE(designer, nullptr);
        if (!designer)
            return 0;
        seen << designer->windowTitle();
        deleteMemoAndSave(*designer, QStringLiteral("Memo_kval"));
        return 1;
    });
    w.Button3->click();
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].endsWith(QStringLiteral(" - shablon.fr3")));
    EXPECT_TRUE(ui.SaveDialogs.empty());
    QFile saved(w.TemplatePath());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray content = saved.readAll();
    EXPECT_TRUE(content.contains("Memo13"));
    EXPECT_FALSE(content.contains("Memo_kval"));

    // Second opening: the file as it is now, without the memo.
    bool stillThere = true;
    ui.DialogAnswers.push_back([&](QObject *Window) {
        auto *designer = qobject_cast<TfrxDesignerForm *>(Window);
        stillThere = designer && designer->Report()->FindObject(QStringLiteral("Memo_kval"));
        return 1;
    });
    w.Button3->click();
    EXPECT_FALSE(stillThere);

    // The print command stops at the missing memo, naming it.
    fillCertificate(w);
    const size_t before = ui.Messages.size();
    w.N7->trigger();
    ASSERT_EQ(ui.Messages.size(), before + 1);
    EXPECT_TRUE(ui.Messages.back().Text.contains(QStringLiteral("нет поля Memo_kval")));
    EXPECT_EQ(openPreviewCount(), 0);
}

// An installed program's folder cannot be written: the first edit copies the
// shipped template into the user's folder and saves there, the next print
// reads that copy, and the shipped file keeps its bytes.
TEST(TemplateCommand, EditsOfTheShippedTemplateGoToTheUsersCopy)
{
    rudDesignerInit();
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    w.rudReport1->SetIniFile(print.Folder.filePath(QStringLiteral("designer.ini")));
    const QString program = print.Folder.filePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(program));
    w.ShippedTemplate = program + QStringLiteral("/shablon.fr3");
    ASSERT_TRUE(QFile::copy(QStringLiteral(":/template/shablon.fr3"), w.ShippedTemplate));
    QFile shipped(w.ShippedTemplate);
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray shippedBytes = shipped.readAll();
    shipped.close();
    ASSERT_TRUE(QFile::setPermissions(w.ShippedTemplate, QFileDevice::ReadOwner | QFileDevice::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    w.TemplateFolder = print.Folder.filePath(QStringLiteral("data/Quorvel_A5"));

    QString opened;
    print.Shown.Ui.DialogAnswers.push_back([&](QObject *Window) {
        auto *designer = qobject_cast<TfrxDesignerForm *>(Window);
        EXPECT_NE(designer, nullptr);
        if (!designer)
            return 0;
        opened = designer->Report()->FileName();
        deleteMemoAndSave(*designer, QStringLiteral("Memo_kval"));
        return 1;
    });
    w.Button3->click();
    EXPECT_EQ(opened, w.TemplatePath());
    QFile saved(w.TemplatePath());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_FALSE(saved.readAll().contains("Memo_kval"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    EXPECT_EQ(shipped.readAll(), shippedBytes);

    fillCertificate(w);
    w.N7->trigger();
    ASSERT_FALSE(print.Shown.Ui.Messages.empty());
    EXPECT_TRUE(print.Shown.Ui.Messages.back().Text.contains(QStringLiteral("нет поля Memo_kval")));
    EXPECT_TRUE(print.Shown.Ui.Messages.back().Text.contains(w.TemplatePath()));
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(TemplateCommand, AMissingTemplateOpensABlankPageWithoutAMessage)
{
    rudDesignerInit();
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    w.rudReport1->SetIniFile(print.Folder.filePath(QStringLiteral("designer.ini")));
    QFile::remove(w.TemplatePath());
    QString page;
    print.Shown.Ui.DialogAnswers.push_back([&](QObject *Window) {
        auto *designer = qobject_cast<TfrxDesignerForm *>(Window);
        if (designer && designer->Page())
            page = designer->Page()->Name();
        return 1;
    });
    w.Button3->click();
    EXPECT_EQ(page, QStringLiteral("Page1"));
    EXPECT_TRUE(print.Shown.Ui.Messages.empty());
    EXPECT_FALSE(QFile::exists(w.TemplatePath()));
}

TEST(TemplateCommand, TheMenuItemAndCtrlTOpenTheTemplateAsTheButtonDoes)
{
    rudDesignerInit();
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    w.rudReport1->SetIniFile(print.Folder.filePath(QStringLiteral("designer.ini")));
    QStringList opened;
    for (int i = 0; i < 2; ++i)
        print.Shown.Ui.DialogAnswers.push_back([&](QObject *Window) {
            auto *designer = qobject_cast<TfrxDesignerForm *>(Window);
            opened << (designer ? designer->Report()->FileName() : QString());
            return 1;
        });
    w.Edit_5->setFocus();
    QTest::keyClick(w.Edit_5, Qt::Key_T, Qt::ControlModifier);
    w.N11->trigger();
    EXPECT_EQ(opened, QStringList({w.TemplatePath(), w.TemplatePath()}));
    EXPECT_TRUE(w.Edit_5->text().isEmpty());
}

TEST(TemplateCommand, AMemoDraggedInTheDesignerPrintsLowerOnThePaper)
{
    rudDesignerInit();
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    w.rudReport1->SetIniFile(print.Folder.filePath(QStringLiteral("designer.ini")));
    TfrxReport original;
    original.SetServices(rudSharedDesignerServices());
    original.LoadFromFile(w.TemplatePath());
    const double top = original.FindObject(QStringLiteral("Memo5"))->AbsTop();

    // In the designer (centimetres, a 1 mm grid): Memo5 dragged 19 pixels
    // down moves five grid steps, 5 mm; then Ctrl+S and close.
    print.Shown.Ui.DialogAnswers.push_back([&](QObject *Window) {
        auto *designer = qobject_cast<TfrxDesignerForm *>(Window);
        if (!designer)
            return 0;
        designer->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(designer));
        TDesignerWorkspace *workspace = designer->Workspace();
        TfrxComponent *memo5 = designer->Report()->FindObject(QStringLiteral("Memo5"));
        const QPoint at = workspace->ToWidget(TfrxDesignerWorkspace::AbsRect(memo5).center()).toPoint();
        QTest::mousePress(workspace, Qt::LeftButton, Qt::NoModifier, at);
        for (int dy = 1; dy <= 19; ++dy)
            QTest::mouseMove(workspace, at + QPoint(0, dy));
        QTest::mouseRelease(workspace, Qt::LeftButton, Qt::NoModifier, at + QPoint(0, 19));
        designer->Action(QStringLiteral("SaveCmd"))->trigger();
        designer->close();
        return 1;
    });
    w.Button3->click();
    TfrxReport saved;
    saved.SetServices(rudSharedDesignerServices());
    saved.LoadFromFile(w.TemplatePath());
    EXPECT_NEAR(saved.FindObject(QStringLiteral("Memo5"))->AbsTop(), top + 5 * 3.77953, 1e-4);

    // The print path uses the saved template: the prepared memo lies 5 mm
    // lower, and its value lands inside it on the PDF's sheet.
    fillCertificate(w);
    ASSERT_TRUE(w.FillReport());
    ASSERT_TRUE(w.rudReport1->PrepareReport());
    auto *page = w.rudReport1->PreviewPages()->GetPage(0);
    ASSERT_NE(page, nullptr);
    auto *prepared = qobject_cast<TfrxMemoView *>(page->FindObject(QStringLiteral("Memo5")));
    ASSERT_NE(prepared, nullptr);
    EXPECT_NEAR(prepared->AbsTop(), top + 5 * 3.77953, 1e-4);

    const QString pdf = print.Folder.filePath(QStringLiteral("certificate.pdf"));
    rudSaveReportToPdf(w.rudReport1, pdf);
    const double memoTop = page->TopMargin() + prepared->AbsTop() / 3.77953;
    const double memoBottom = memoTop + prepared->Height() / 3.77953;
    const double memoLeft = page->LeftMargin() + prepared->AbsLeft() / 3.77953;
    bool found = false;
    for (const TPdfWord &word : readPdf(pdf).Words) {
        if (word.Text != QStringLiteral("Иванов"))
            continue;
        found = true;
        EXPECT_GE(word.Top, memoTop - 0.5);
        EXPECT_LE(word.Bottom, memoBottom + 0.5);
        EXPECT_GE(word.Left, memoLeft - 0.5);
    }
    EXPECT_TRUE(found);
}

TEST(TemplateCommand, APlaceholderEditedInTheMemoEditorIsStillOverwrittenWhenPrinting)
{
    rudDesignerInit();
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    TRecordingUserInterface &ui = print.Shown.Ui;
    w.rudReport1->SetIniFile(print.Folder.filePath(QStringLiteral("designer.ini")));
    ui.DialogAnswers.push_back([&](QObject *Window) {
        auto *designer = qobject_cast<TfrxDesignerForm *>(Window);
        if (!designer)
            return 0;
        designer->Selection().Assign({designer->Report()->FindObject(QStringLiteral("Memo5"))});
        designer->Selection().Notify();
        // The memo editor: a new placeholder, accepted with Ctrl+Enter.
        ui.DialogAnswers.push_front([](QObject *Editor) {
            auto *edit = Editor->findChild<QPlainTextEdit *>(QStringLiteral("MemoE"));
            if (!edit)
                return 0;
            edit->setPlainText(QStringLiteral("фамилия, имя, отчество"));
            QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
            return qobject_cast<QDialog *>(Editor)->result();
        });
        designer->Action(QStringLiteral("EditCmd"))->trigger();
        designer->Action(QStringLiteral("SaveCmd"))->trigger();
        designer->close();
        return 1;
    });
    w.Button3->click();
    EXPECT_EQ(memoText(w, QStringLiteral("Memo5")).trimmed(), QStringLiteral("фамилия, имя, отчество"));

    fillCertificate(w);
    ASSERT_TRUE(w.FillReport());
    EXPECT_EQ(memoText(w, QStringLiteral("Memo5")), QStringLiteral("Иванов Иван Иванович"));
}
