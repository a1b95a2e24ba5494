// Template files: loading and saving a report through the file system, the
// print template's byte-stable resave, and clearing.

#include "support/TestSupport.h"

#include "report/model/rudClass.h"

#include "base/Errors.h"
#include "base/FormatSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString templatePath()
{
    return sourceDir() + QStringLiteral("/resources/shablon.fr3");
}

} // namespace

TEST(ReportFile, ResaveOfThePrintTemplateIsByteStable)
{
    for (const TFormatSettings &settings : {englishFormatSettings(), russianFormatSettings()}) {
        TFormatSettingsScope scope(settings);
        TRecordingUserInterface ui;
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("first.fr3"));
        const QString second = dir.filePath(QStringLiteral("second.fr3"));
        TfrxReport report;
        EXPECT_TRUE(report.LoadFromFile(templatePath()));
        EXPECT_TRUE(report.Errors().isEmpty());
        EXPECT_EQ(report.FileName(), templatePath());
        report.SaveToFile(first);
        EXPECT_EQ(report.FileName(), templatePath());
        TfrxReport again;
        ASSERT_TRUE(again.LoadFromFile(first));
        again.SaveToFile(second);
        EXPECT_EQ(readFile(first), readFile(second));
        if (settings.DecimalSeparator == QLatin1Char('.'))
            EXPECT_EQ(readFile(first), readFile(templatePath())); // the delivered file is our own output
        else
            EXPECT_TRUE(readFile(first).contains("Left=\"3,77952756\""));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary left behind
        EXPECT_TRUE(ui.Messages.empty());

        // What the print command relies on.
        auto *memo1 = dynamic_cast<TfrxMemoView *>(again.FindObject(QStringLiteral("memo1")));
        ASSERT_NE(memo1, nullptr);
        EXPECT_EQ(memo1->Left(), 3.77952756);
        EXPECT_EQ(memo1->Font()->Charset(), 204);
        EXPECT_EQ(memo1->HAlign(), haCenter);
        auto *page = dynamic_cast<TfrxReportPage *>(again.FindObject(QStringLiteral("Page1")));
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->Objects().size(), 48);
        EXPECT_EQ(page->Width(), 559);
        EXPECT_EQ(page->Height(), 794);
        EXPECT_EQ(again.ScriptText(), (QStringList{"begin", "", "end."}));
        EXPECT_TRUE(again.ReportOptions()->Picture()->HasImage());
    }
}

TEST(ReportFile, MissingFilesAndFailedSaves)
{
    TRecordingUserInterface ui;
    QTemporaryDir dir;
    TfrxReport report;
    new TfrxReportPage(&report);
    EXPECT_FALSE(report.LoadFromFile(dir.filePath(QStringLiteral("none.fr3"))));
    EXPECT_TRUE(report.Objects().isEmpty());
    EXPECT_TRUE(report.FileName().isEmpty());
    EXPECT_TRUE(ui.Messages.empty());
    EXPECT_THROW(report.LoadFromFile(dir.filePath(QStringLiteral("none.fr3")), true), EInOutError);

    // A save that cannot be made raises and leaves the existing file as it was.
    const QString existing = dir.filePath(QStringLiteral("keep.fr3"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    EXPECT_THROW(report.SaveToFile(dir.filePath(QStringLiteral("missing/dir/x.fr3"))), EInOutError);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("adir")));
    EXPECT_THROW(report.SaveToFile(dir.filePath(QStringLiteral("adir"))), EInOutError);
    EXPECT_EQ(readFile(existing), QByteArray("old"));
    report.SaveToFile(existing);
    EXPECT_TRUE(readFile(existing).startsWith("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"));
}

TEST(ReportFile, ClearResetsTheReport)
{
    TfrxReport report;
    auto *page = new TfrxReportPage(&report);
    page->SetPaperSize(11);
    report.SetScriptText({QStringLiteral("x")});
    report.PrintOptions()->SetPrinter(QStringLiteral("Other"));
    report.PrintOptions()->SetSwapPageSize(true);
    report.SetDotMatrixReport(true);
    report.Clear();
    EXPECT_TRUE(report.Objects().isEmpty());
    EXPECT_EQ(report.ScriptText().join(QLatin1String("\r\n")) + QLatin1String("\r\n"),
              QStringLiteral("begin\r\n\r\nend.\r\n"));
    EXPECT_EQ(report.PrintOptions()->Printer(), QStringLiteral("Default"));
    EXPECT_TRUE(report.PrintOptions()->SwapPageSize());
    EXPECT_FALSE(report.DotMatrixReport());
    EXPECT_EQ(report.ScriptLanguage(), QStringLiteral("PascalScript"));
    EXPECT_EQ(report.IniFile(), QStringLiteral("\\Software\\Dodi Varoras"));
}

TEST(ReportFile, PaperSizesKeepThePixelSizeInStep)
{
    TfrxReportPage page(nullptr);
    EXPECT_EQ(page.Width(), 794);
    EXPECT_EQ(page.Height(), 1123);
    page.SetPaperSize(11);
    EXPECT_EQ(page.PaperWidth(), 148);
    EXPECT_EQ(page.Height(), 794);
    page.SetLeftMargin(10);
    page.SetRightMargin(20);
    page.SetTopMargin(30);
    page.SetBottomMargin(40);
    page.SetOrientation(poLandscape);
    EXPECT_EQ(page.PaperWidth(), 210);
    EXPECT_EQ(page.LeftMargin(), 30);
    EXPECT_EQ(page.RightMargin(), 40);
    EXPECT_EQ(page.TopMargin(), 20);
    EXPECT_EQ(page.BottomMargin(), 10);
    page.SetPaperSize(11);
    EXPECT_EQ(page.PaperWidth(), 210);
    page.SetPaperWidth(148.123456789);
    EXPECT_EQ(page.PaperWidth(), 148.12345679);
    EXPECT_EQ(page.PaperSize(), 256);
    page.SetPageCount(0);
    EXPECT_EQ(page.PageCount(), 1);
}
