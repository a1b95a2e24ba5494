// A report that inherits from a parent template: the parent's objects come
// into the report as ancestors, its script is prepared first and is the
// scope the report's own script and expressions run in.

#include "EngineServices.h"
#include "EngineTestUtil.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace enginetest;

namespace {

void writeFile(const QString &Path, const QByteArray &Text)
{
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Text);
}

// The parent template, saved by a report built here: a page with a title
// memo whose event and a helper function live in the parent's script.
void writeParent(const QString &Path)
{
    TRecordingUserInterface ui;
    enginetest::TServedReport parent;
    auto *page = new TfrxReportPage(&parent);
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperSize(11);
    auto *title = new TfrxMemoView(page);
    title->SetName(QStringLiteral("Title"));
    title->SetBounds(0, 0, 300, 20);
    title->SetText(QStringLiteral("design text"));
    title->SetOnBeforePrint(QStringLiteral("TitleOnBeforePrint"));
    parent.Variables()->SetVariables(QStringLiteral("Greeting"), QStringLiteral("'hello'"));
    parent.SetScriptText({"function Shout(S: String): String;", "begin", "  Result := UpperCase(S) + '!';", "end;",
                          "", "procedure TitleOnBeforePrint(Sender: TfrxComponent);", "begin",
                          "  Title.Text := Shout(<Greeting>) + ' ' + IntToStr(Round(Title.Top));", "end;", "",
                          "begin", "end."});
    parent.SaveToFile(Path);
}

// The inheriting template as a person would write it: it moves the title,
// adds a memo whose event in the report's own script uses the parent's
// function, and a memo whose expression does.
const char *childTemplate =
    "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n"
    "<TfrxReport ParentReport=\"parent.fr3\" ScriptText.Text=\"procedure OwnOnBeforePrint(Sender: "
    "TfrxComponent);&#13;&#10;begin&#13;&#10;  Own.Text := Shout('own') + ' [Greeting]';&#13;&#10;end;&#13;&#10;"
    "begin&#13;&#10;end.\">\n"
    "  <inherited Name=\"Page1\">\n"
    "    <inherited Name=\"Title\" Top=\"50\"/>\n"
    "    <TfrxMemoView Name=\"Own\" Left=\"0\" Top=\"100\" Width=\"200\" Height=\"20\" "
    "OnBeforePrint=\"OwnOnBeforePrint\" Text=\"design\"/>\n"
    "    <TfrxMemoView Name=\"Expr\" Left=\"0\" Top=\"130\" Width=\"200\" Height=\"20\" "
    "Text=\"[Shout('x')] [Greeting]\"/>\n"
    "  </inherited>\n"
    "</TfrxReport>\n";

// The template the report writes.
QByteArray modelBytes(TfrxReport &Report)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Report.SaveToStream(&buffer);
    return buffer.data();
}

} // namespace

TEST(InheritedReport, TheParentsObjectsAndScriptComeFirst)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeParent(dir.filePath("parent.fr3"));
    writeFile(dir.filePath("child.fr3"), childTemplate);

    TEngineReport t;
    ASSERT_TRUE(t.Report.LoadFromFile(dir.filePath("child.fr3")));
    ASSERT_TRUE(t.Report.Errors().isEmpty()) << t.Report.Errors().join('\n').toStdString();
    ASSERT_NE(t.Report.ParentReportObject(), nullptr);
    TfrxComponent *title = t.Report.FindObject("Title");
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->IsAncestor());
    EXPECT_TRUE(title->Parent()->IsAncestor());
    EXPECT_EQ(title->Top(), 50);
    EXPECT_FALSE(t.Report.FindObject("Own")->IsAncestor());
    EXPECT_EQ(t.Report.Variables()->Variables("Greeting"), QVariant("'hello'"));

    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join('\n').toStdString();
    ASSERT_EQ(t.Pages()->Count(), 1);
    const QMap<QString, QString> texts = t.PrintedTexts(0);
    // The parent's event, registered for the report's own Title, ran with
    // the parent's function; the report's script and expressions used it too.
    EXPECT_EQ(texts.value("Title"), "HELLO! 50");
    EXPECT_EQ(texts.value("Own"), "OWN! hello");
    EXPECT_EQ(texts.value("Expr"), "X! hello");
}

TEST(InheritedReport, SavingWritesTheDifferencesFromTheParent)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeParent(dir.filePath("parent.fr3"));
    writeFile(dir.filePath("child.fr3"), childTemplate);
    TEngineReport t;
    ASSERT_TRUE(t.Report.LoadFromFile(dir.filePath("child.fr3")));
    t.Report.SaveToFile(dir.filePath("resaved.fr3"));
    QFile file(dir.filePath("resaved.fr3"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    EXPECT_TRUE(saved.contains("ParentReport=\"parent.fr3\""));
    EXPECT_TRUE(saved.contains("<inherited Name=\"Title\" Top=\"50\"/>")) << saved.toStdString();
    EXPECT_FALSE(saved.contains("design text"));

    // Loaded again it is the same report, and a second preparation (which
    // reloads the definition after the first) prints the same.
    TEngineReport again;
    ASSERT_TRUE(again.Report.LoadFromFile(dir.filePath("resaved.fr3")));
    EXPECT_TRUE(again.Report.Errors().isEmpty()) << again.Report.Errors().join('\n').toStdString();
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(again.Report.PrepareReport()) << again.Report.Errors().join('\n').toStdString();
        EXPECT_EQ(again.PrintedTexts(0).value("Title"), "HELLO! 50") << run;
        EXPECT_EQ(again.Report.FindObject("Title")->Top(), 50);
    }

    // An object of the report's own that took the name of a parent's object
    // is written whole, not as differences from that object.
    delete again.Report.FindObject("Title");
    auto *own = new TfrxMemoView(again.Report.FindObject("Page1"));
    own->SetName(QStringLiteral("Title"));
    own->SetBounds(0, 0, 300, 20);
    own->SetText(QStringLiteral("design text"));
    const QByteArray withOwn = modelBytes(again.Report);
    EXPECT_TRUE(withOwn.contains("<TfrxMemoView Name=\"Title\" Left=\"0\" Top=\"0\" Width=\"300\" Height=\"20\" "
                                 "Text=\"design text\"/>"))
        << withOwn.toStdString();

    // A plain template loaded into the same report leaves nothing inherited.
    again.LoadCertificate();
    EXPECT_EQ(again.Report.ParentReportObject(), nullptr);
    EXPECT_EQ(again.Report.FindObject("Title"), nullptr);
}

TEST(InheritedReport, AMissingOrSelfInheritingParentIsReported)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeFile(dir.filePath("child.fr3"), childTemplate);
    TEngineReport t;
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    t.Report.LoadFromFile(dir.filePath("child.fr3"));
    ASSERT_FALSE(t.Report.Errors().isEmpty());
    EXPECT_TRUE(t.Report.Errors().first().contains("parent.fr3")) << t.Report.Errors().first().toStdString();
    EXPECT_EQ(t.Report.ParentReportObject(), nullptr);
    // The report's own objects still load.
    EXPECT_EQ(t.Report.FindObject("Title"), nullptr);

    writeFile(dir.filePath("parent.fr3"), "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n"
                                          "<TfrxReport ParentReport=\"parent.fr3\"/>\n");
    t.Report.LoadFromFile(dir.filePath("child.fr3"));
    EXPECT_TRUE(t.Report.Errors().join('\n').contains("inherits from itself"))
        << t.Report.Errors().join('\n').toStdString();

    // Ten distinct reports, each the parent of the one before: no cycle, but
    // deeper than a chain may be.
    for (int i = 0; i < 10; ++i)
        writeFile(dir.filePath(QStringLiteral("chain%1.fr3").arg(i)),
                  i < 9 ? QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n"
                                         "<TfrxReport ParentReport=\"chain%1.fr3\"/>\n")
                              .arg(i + 1)
                              .toUtf8()
                        : QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n<TfrxReport/>\n"));
    t.Report.LoadFromFile(dir.filePath("chain0.fr3"));
    EXPECT_EQ(t.Report.Errors(), QStringList{QStringLiteral("Cannot load the parent report \"chain9.fr3\": the chain "
                                                            "of parent reports is deeper than 8")});
}
