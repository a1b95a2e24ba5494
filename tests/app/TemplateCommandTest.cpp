// The template command end to end through the entry window: the designer
// opens on the template file, a memo is deleted through the Edit menu, the
// template is saved and the designer closed; the next print sees the change.

#include "PrintTestSupport.h"

#include "designer/rudDesgn.h"
#include "designer/rudDesgnInit.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
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
        TfrxReport *report = designer->Report();
        TfrxComponent *memo = report->FindObject(QStringLiteral("Memo_kval"));
        EXPECT_NE(memo, nullptr);
        designer->SelectedObjects() = {memo};
        designer->SelectionChanged();
        QAction *remove = editMenuAction(*designer, QStringLiteral("DeleteCmd"));
        EXPECT_NE(remove, nullptr);
        if (remove)
            remove->trigger();
        EXPECT_EQ(report->FindObject(QStringLiteral("Memo_kval")), nullptr);
        designer->Action(QStringLiteral("SaveCmd"))->trigger();
        EXPECT_FALSE(designer->Modified());
        EXPECT_TRUE(designer->close());
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
