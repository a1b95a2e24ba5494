// The preview's edit button: the current prepared page opens in the
// designer as a plain page, and a changed page replaces the prepared one;
// "Show template" shows the source pages and leaves them as they were.

#include "DesignerServices.h"
#include "designer/rudDesgn.h"
#include "designer/rudDesgnInit.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudBand.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudPreview.h"
#include "report/render/rudPreviewDialogs.h"
#include "report/render/rudPrinter.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PreviewEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        rudDesignerInit();
        ASSERT_TRUE(Report.LoadFromFile(sourceDir() + QStringLiteral("/resources/shablon.fr3")));
        Report.SetIniFile(Dir.filePath(QStringLiteral("designer.ini")));
        ASSERT_TRUE(Report.PrepareReport());
        Preview.SetReport(&Report);
        Preview.Init();
        ASSERT_EQ(Preview.PageCount(), 1);
    }

    TfrxMemoView *PreparedMemo(const QString &Name)
    {
        TfrxReportPage *page = Report.PreviewPages()->GetPage(0);
        return page ? qobject_cast<TfrxMemoView *>(page->FindObject(Name)) : nullptr;
    }

    QTemporaryDir Dir;
    TRecordingUserInterface Ui;
    TDesignerReport Report;
    TfrxPreview Preview;
};

} // namespace

TEST_F(PreviewEdit, AChangedPageReplacesThePreparedOne)
{
    ASSERT_NE(PreparedMemo(QStringLiteral("Memo13")), nullptr);
    const double absLeft = PreparedMemo(QStringLiteral("Memo13"))->AbsLeft();
    bool plain = false;
    Ui.DialogAnswers.push_back([&](QObject *Window) {
        auto *designer = qobject_cast<TfrxDesignerForm *>(Window);
        if (!designer)
            return 0;
        EXPECT_TRUE(designer->IsPreviewDesigner());
        TfrxReport *copy = designer->Report();
        // No bands in the copy: every object lies on the page at its place.
        plain = true;
        for (TfrxComponent *object : copy->AllObjects())
            plain = plain && !qobject_cast<TfrxBand *>(object);
        auto *memo = qobject_cast<TfrxMemoView *>(copy->FindObject(QStringLiteral("Memo13")));
        EXPECT_NE(memo, nullptr);
        if (!memo)
            return 0;
        EXPECT_NEAR(memo->AbsLeft(), absLeft, 1e-6);
        memo->SetText(QStringLiteral("changed in the preview"));
        designer->SetModified(true);
        // Closing a preview designer asks nothing: the change goes back.
        EXPECT_TRUE(designer->close());
        return 1;
    });
    Preview.Edit();
    EXPECT_TRUE(plain);
    EXPECT_TRUE(Ui.Messages.empty());
    ASSERT_NE(PreparedMemo(QStringLiteral("Memo13")), nullptr);
    EXPECT_EQ(PreparedMemo(QStringLiteral("Memo13"))->Text().trimmed(), QStringLiteral("changed in the preview"));
}

TEST_F(PreviewEdit, AnUnchangedPageStaysAndShowTemplateLeavesTheSourcePages)
{
    const QString before = PreparedMemo(QStringLiteral("Memo13"))->Text();
    Ui.DialogAnswers.push_back([](QObject *Window) {
        auto *designer = qobject_cast<TfrxDesignerForm *>(Window);
        return designer && designer->close() ? 1 : 0;
    });
    Preview.Edit();
    EXPECT_EQ(PreparedMemo(QStringLiteral("Memo13"))->Text(), before);

    auto *pages = dynamic_cast<TfrxPreviewPages *>(Report.PreviewPages());
    ASSERT_NE(pages, nullptr);
    ASSERT_GT(pages->SourcePageCount(), 0);
    const int sourceObjects = int(pages->SourcePage(0)->AllObjects().size());
    int shown = 0;
    Ui.DialogAnswers.push_back([&](QObject *Window) {
        auto *designer = qobject_cast<TfrxDesignerForm *>(Window);
        if (!designer || !designer->Page())
            return 0;
        ++shown;
        // Deleting everything shown must not reach the store.
        for (TfrxComponent *object : QList<TfrxComponent *>(designer->Page()->Objects()))
            delete object;
        designer->SetModified(true);
        designer->close();
        return 1;
    });
    Preview.ShowTemplate();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(int(pages->SourcePage(0)->AllObjects().size()), sourceObjects);
    EXPECT_EQ(PreparedMemo(QStringLiteral("Memo13"))->Text(), before);
}

TEST_F(PreviewEdit, PageSettingsShowTheDesignersUnitAndChangeThePreparedPage)
{
    QString unit;
    Ui.DialogAnswers.push_back([&](QObject *Window) {
        auto *dialog = qobject_cast<TfrxPageSettingsForm *>(Window);
        if (!dialog)
            return 0;
        unit = dialog->LeftE->suffix().trimmed();
        // The size box lists the current printer's papers after its own size.
        const QStringList papers = rudPrinters().Printer()->PaperNames();
        EXPECT_EQ(dialog->SizeCB->count(), papers.size());
        for (int i = 1; i < dialog->SizeCB->count(); ++i)
            EXPECT_EQ(dialog->SizeCB->itemText(i), papers.value(i));
        EXPECT_EQ(dialog->SizeCB->currentData().toInt(), 11); // A5
        EXPECT_DOUBLE_EQ(dialog->LeftE->value(), 1);
        dialog->LeftE->setValue(2);
        return 1;
    });
    Preview.PageSetupDlg();
    EXPECT_EQ(unit, QStringLiteral("cm"));
    EXPECT_DOUBLE_EQ(Report.PreviewPages()->GetPage(0)->LeftMargin(), 20);
}
