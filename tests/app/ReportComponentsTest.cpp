// The entry window's report and designer settings components: the built-in
// print template the report holds from the start, the designer's values,
// finding both by name and freeing them with the window.

#include "designer/rudDesgnInit.h"
#include "app/main.h"
#include "base/FormatSettings.h"
#include "designer/rudDesgnSettings.h"
#include "report/model/rudClass.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray save(TfrxReport &report)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    report.SaveToStream(&buffer);
    return buffer.data();
}

} // namespace

TEST(ReportComponents, ReportHoldsTheBuiltInTemplateFromCreation)
{
    TRecordingUserInterface ui;
    TFormatSettingsScope settings(englishFormatSettings());
    TfmMain w;
    TfrxReport *report = w.rudReport1;
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->Errors().isEmpty()) << report->Errors().join(u'\n').toStdString();
    EXPECT_TRUE(ui.Messages.empty());
    // Loaded from the program itself, not from a file: the test program's
    // folder holds no template, and the report names no file.
    EXPECT_TRUE(report->FileName().isEmpty());

    ASSERT_EQ(report->Objects().size(), 2);
    auto *data = dynamic_cast<TfrxDataPage *>(report->Objects()[0]);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->Name(), QStringLiteral("Data"));
    EXPECT_TRUE(data->Objects().isEmpty());
    auto *page = dynamic_cast<TfrxReportPage *>(report->Objects()[1]);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Name(), QStringLiteral("Page1"));
    EXPECT_EQ(page->PaperSize(), 11);
    EXPECT_EQ(page->PaperWidth(), 148);
    EXPECT_EQ(page->PaperHeight(), 210);
    ASSERT_EQ(page->Objects().size(), 48);
    for (TfrxComponent *child : page->Objects())
        EXPECT_NE(dynamic_cast<TfrxMemoView *>(child), nullptr) << child->Name().toStdString();
    for (const char *name : {"Memo1", "Memo42", "Memo_kval", "Memo_cat", "Memo_prot", "Memo_day", "Memo_month",
                             "Memo_year"})
        EXPECT_NE(report->FindObject(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(report->ScriptLanguage(), QStringLiteral("PascalScript"));

    // The definition is exactly the delivered template file.
    EXPECT_EQ(save(*report), readFile(sourceDir() + QStringLiteral("/resources/shablon.fr3")));
}

TEST(ReportComponents, DesignerSettingsAsTheWindowWasDesigned)
{
    TRecordingUserInterface ui;
    TfmMain w;
    TfrxDesigner *d = w.rudDesigner1;
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(TfrxDesigner::Current(), d);
    EXPECT_EQ(d->DefaultScriptLanguage(), QStringLiteral("PascalScript"));
    EXPECT_EQ(d->DefaultFont()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(d->DefaultFont()->Height(), -13);
    EXPECT_EQ(d->DefaultFont()->Size(), 10);
    EXPECT_EQ(d->DefaultFont()->Color(), clWindowText);
    EXPECT_EQ(d->DefaultFont()->Style(), TFontStyles());
    EXPECT_EQ(d->DefaultFont()->Charset(), 1);
    for (double margin :
         {d->DefaultLeftMargin(), d->DefaultRightMargin(), d->DefaultTopMargin(), d->DefaultBottomMargin()})
        EXPECT_EQ(margin, 10);
    EXPECT_EQ(d->DefaultPaperSize(), 9);
    EXPECT_EQ(d->DefaultOrientation(), poPortrait);
    EXPECT_EQ(d->GradientStart(), TfrxDesigner::clWindow);
    EXPECT_EQ(d->GradientEnd(), 11982554);
    EXPECT_EQ(d->TemplatesExt(), QStringLiteral("fr3"));
    EXPECT_EQ(d->Restrictions(), TfrxDesignerRestrictions());
    EXPECT_FALSE(d->RTLLanguage());
    EXPECT_FALSE(d->MemoParentFont());
    EXPECT_TRUE(d->CloseQuery());
}

TEST(ReportComponents, FoundByNameAndFreedWithTheWindow)
{
    TRecordingUserInterface ui;
    auto w = std::make_unique<TfmMain>();
    EXPECT_EQ(w->FindComponent(QStringLiteral("RUDREPORT1")), w->rudReport1);
    EXPECT_EQ(w->FindComponent(QStringLiteral("rudDesigner1")), w->rudDesigner1);
    EXPECT_EQ(w->Component<TfrxReport>(QStringLiteral("rudreport1")), w->rudReport1);
    EXPECT_EQ(w->rudReport1->Name(), QStringLiteral("rudReport1"));

    QPointer<TfrxReport> report = w->rudReport1;
    QPointer<TfrxDesigner> designer = w->rudDesigner1;
    w.reset();
    EXPECT_TRUE(report.isNull());
    EXPECT_TRUE(designer.isNull());
    EXPECT_EQ(TfrxDesigner::Current(), nullptr);
}

TEST(ReportComponents, TemplateLoadFailuresStayInsideTheReport)
{
    TRecordingUserInterface ui;
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.fr3"));
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\"?><TfrxReport><TfrxReportPage Name=\"Page1\"><TfrxMemoView Name=");
    }
    TfrxReport report;
    report.SetServices(rudSharedDesignerServices());
    bool loaded = true;
    // Neither a message box nor an exception, whatever the report's error mode.
    for (TfrxSilentMode mode : {simMessageBoxes, simReThrow}) {
        report.EngineOptions()->SetNewSilentMode(mode);
        EXPECT_NO_THROW(loaded = loadTemplateQuietly(&report, broken));
        EXPECT_FALSE(loaded);
        EXPECT_FALSE(report.Errors().isEmpty());
        EXPECT_EQ(report.EngineOptions()->NewSilentMode(), mode); // the report's own mode is back
    }

    EXPECT_NO_THROW(loaded = loadTemplateQuietly(&report, dir.filePath(QStringLiteral("none.fr3"))));
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(report.Objects().isEmpty());
    EXPECT_FALSE(report.Errors().isEmpty());
    EXPECT_TRUE(ui.Messages.empty());

    // The same report loads a good template afterwards.
    EXPECT_TRUE(loadTemplateQuietly(&report, sourceDir() + QStringLiteral("/resources/shablon.fr3")));
    EXPECT_TRUE(report.Errors().isEmpty());
    ASSERT_EQ(report.Objects().size(), 2);
    EXPECT_EQ(report.Objects()[1]->Objects().size(), 48);
}
