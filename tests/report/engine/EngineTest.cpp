// Preparation of whole reports: the certificate template, the order of a
// run with its final error report in the three silent modes, and reports of
// bands over data (headers, footers, groups, overflow, totals).

#include "EngineTestUtil.h"

#include "base/Errors.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <new>

using namespace enginetest;

TEST(EngineTest, CertificatePreparesToOnePageWithEveryMemoAtItsPlace)
{
    TEngineReport t;
    t.LoadCertificate();
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join("\n").toStdString();
    EXPECT_TRUE(t.Report.Errors().isEmpty());
    ASSERT_EQ(t.Pages()->Count(), 1);
    TfrxReportPage *page = t.Pages()->GetPage(0);
    ASSERT_EQ(page->Objects().size(), 1);
    auto *band = qobject_cast<TfrxNullBand *>(page->Objects()[0]);
    ASSERT_TRUE(band);
    EXPECT_NEAR(band->Width(), 483.77984, 1e-9);
    EXPECT_NEAR(band->Height(), 718.1107, 1e-9);
    EXPECT_EQ(band->Left(), 0);
    EXPECT_EQ(band->Top(), 0);
    // Every memo of the design comes out once, in template order, where it was designed.
    QList<TfrxMemoView *> design;
    for (TfrxComponent *c : t.Report.FindObject("Page1")->Objects())
        if (auto *m = qobject_cast<TfrxMemoView *>(c))
            design.append(m);
    ASSERT_EQ(design.size(), 48);
    ASSERT_EQ(band->Objects().size(), 48);
    for (int i = 0; i < 48; ++i) {
        auto *m = qobject_cast<TfrxMemoView *>(band->Objects()[i]);
        ASSERT_TRUE(m);
        EXPECT_EQ(m->Name(), design[i]->Name());
        EXPECT_NEAR(m->Left(), design[i]->Left(), 1e-6) << m->Name().toStdString();
        EXPECT_NEAR(m->Top(), design[i]->Top(), 1e-6) << m->Name().toStdString();
        EXPECT_NEAR(m->Width(), design[i]->Width(), 1e-6);
        EXPECT_NEAR(m->Height(), design[i]->Height(), 1e-6);
        EXPECT_EQ(m->Text(), design[i]->Text());
    }
}

TEST(EngineTest, DestroyFormsGivesBackTheDesignTexts)
{
    TEngineReport t;
    t.LoadCertificate();
    auto *memo = qobject_cast<TfrxMemoView *>(t.Report.FindObject("Memo5"));
    memo->SetText("[1 + 2] students");
    t.Report.SetScriptText({"begin", "  Memo1.Text := 'changed by the script';", "end."});
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join("\n").toStdString();
    memo = qobject_cast<TfrxMemoView *>(t.Report.FindObject("Memo5"));
    ASSERT_TRUE(memo) << "the reloaded definition has its memos again";
    EXPECT_EQ(memo->Text(), "[1 + 2] students\r\n");
    EXPECT_EQ(qobject_cast<TfrxMemoView *>(t.Report.FindObject("Memo1"))->Text(), "полное оф. наименование ОУ\r\n");
    EXPECT_EQ(t.PrintedTexts(0).value("Memo5"), "3 students");
    EXPECT_EQ(t.PrintedTexts(0).value("Memo1"), "changed by the script");
}

TEST(EngineTest, PageCountThreeGivesThreePagesWithOneCopyEach)
{
    TEngineReport t;
    t.LoadCertificate();
    qobject_cast<TfrxReportPage *>(t.Report.FindObject("Page1"))->SetPageCount(3);
    ASSERT_TRUE(t.Report.PrepareReport());
    ASSERT_EQ(t.Pages()->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        TfrxReportPage *page = t.Pages()->GetPage(i);
        ASSERT_EQ(page->Objects().size(), 1);
        EXPECT_EQ(page->Objects()[0]->Objects().size(), 48) << "page " << i;
    }
}

TEST(EngineTest, PrintIfEmptyOffSkipsAPageWithoutDataBands)
{
    TEngineReport t;
    t.LoadCertificate();
    t.Report.EngineOptions()->SetPrintIfEmpty(false);
    EXPECT_TRUE(t.Report.PrepareReport());
    EXPECT_EQ(t.Pages()->Count(), 0);
}

TEST(EngineTest, ScriptCompileErrorPreparesNoPage)
{
    TEngineReport t;
    t.LoadCertificate();
    t.Report.SetScriptText({"begin", "  x := ;", "end."});
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    EXPECT_FALSE(t.Report.PrepareReport());
    EXPECT_EQ(t.Pages()->Count(), 0);
    ASSERT_EQ(t.Report.Errors().size(), 1);
    EXPECT_TRUE(t.Report.Errors()[0].startsWith("Script error at 2:")) << t.Report.Errors()[0].toStdString();
    EXPECT_TRUE(t.UI.Messages.empty()) << "silent mode shows nothing";
}

TEST(EngineTest, BrokenExpressionStopsWithTheMemoNameInOneMessageBox)
{
    TEngineReport t;
    t.LoadCertificate();
    qobject_cast<TfrxMemoView *>(t.Report.FindObject("Memo5"))->SetText("Иванов [бывш. Петров]");
    EXPECT_FALSE(t.Report.PrepareReport());
    ASSERT_EQ(t.UI.Messages.size(), 1u);
    const auto &m = t.UI.Messages[0];
    EXPECT_EQ(m.Caption, "Error");
    EXPECT_EQ(m.Icon, TMsgIcon::Error);
    EXPECT_TRUE(m.Text.startsWith("The following error(s) have occured:\nMemo5: Error in expression 'бывш. Петров': "))
        << m.Text.toStdString();
    EXPECT_EQ(m.Text.count('\n'), 1) << "one error line";
    EXPECT_EQ(t.Pages()->Count(), 1) << "the page prepared up to the failure stays";
    // The definition is back as designed.
    EXPECT_EQ(qobject_cast<TfrxMemoView *>(t.Report.FindObject("Memo5"))->Text(), "Иванов [бывш. Петров]\r\n");
}

TEST(EngineTest, HugeTextsAndExhaustedMemoryEndThePreparationWithAnError)
{
    TEngineReport t;
    auto load = [&t] {
        t.LoadCertificate();
        t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    };
    load();
    // A format width of 2^31 characters in a memo.
    qobject_cast<TfrxMemoView *>(t.Report.FindObject("Memo5"))->SetText("[Format('%2147483647d', [1])]");
    EXPECT_FALSE(t.Report.PrepareReport());
    EXPECT_EQ(t.Report.Errors(),
              QStringList{"Memo5: Format '%2147483647d' asks for a text longer than the 67108864 characters allowed"});

    // A script doubling a text 40 times.
    load();
    t.Report.SetScriptText({"var s: String; i: Integer;", "begin", "  s := 'x';", "  for i := 1 to 40 do s := s + s;",
                            "end."});
    EXPECT_FALSE(t.Report.PrepareReport());
    ASSERT_EQ(t.Report.Errors().size(), 1);
    EXPECT_TRUE(t.Report.Errors()[0].contains(
        "Out of memory: a text of 134217728 characters is longer than the 67108864 allowed"))
        << t.Report.Errors()[0].toStdString();

    // Memory running out anywhere in the preparation.
    load();
    t.Report.OnBeginDoc = [](TfrxReport *) { throw std::bad_alloc(); };
    EXPECT_FALSE(t.Report.PrepareReport());
    EXPECT_EQ(t.Report.Errors(), QStringList{"Out of memory"});
}

TEST(EngineTest, ReThrowModeRaisesTheFinalText)
{
    TEngineReport t;
    t.LoadCertificate();
    qobject_cast<TfrxMemoView *>(t.Report.FindObject("Memo5"))->SetText("[1 +]");
    t.Report.EngineOptions()->SetNewSilentMode(simReThrow);
    try {
        t.Report.PrepareReport();
        FAIL() << "no exception";
    } catch (const EGeneralError &e) {
        EXPECT_TRUE(e.Message().startsWith("The following error(s) have occured:\nMemo5: Error in expression '1 +'"));
    }
    EXPECT_TRUE(t.UI.Messages.empty());
}

TEST(EngineTest, MissingDataSetIsReportedBeforeAnythingRuns)
{
    TEngineReport t;
    t.LoadCertificate();
    t.Report.DataSets()->Add()->SetDataSetName("Trainees");
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    EXPECT_FALSE(t.Report.PrepareReport());
    EXPECT_EQ(t.Report.Errors(), QStringList{"Dataset \"Trainees\" does not exist"});
    EXPECT_EQ(t.Pages()->Count(), 0);
}
