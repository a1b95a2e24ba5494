// Templates are never lost: saves that cannot be completed leave the old file,
// a report that did not load whole is not saved over its file, texts survive
// any number of resaves, and damaged input is reported instead of hidden.

#include "support/SmallFileSystem.h"
#include "support/TestSupport.h"

#include "report/model/rudClass.h"
#include "report/model/rudXML.h"
#include "report/model/rudXMLSerializer.h"

#include "base/CodePages.h"
#include "base/Errors.h"
#include "base/FormatSettings.h"

#include "ReportBytes.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using modeltest::load;
using modeltest::save;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Adds a page with one memo per text, named Memo<first>, Memo<first + 1>, ...
void fillReport(TfrxReport &report, const QStringList &texts, int first = 1)
{
    auto *page = new TfrxReportPage(&report);
    page->CreateUniqueName();
    for (int i = 0; i < texts.size(); ++i) {
        auto *m = new TfrxMemoView(page);
        m->SetName(QStringLiteral("Memo%1").arg(first + i));
        m->SetText(texts[i]);
    }
}

QString memoText(TfrxReport &report, int number)
{
    auto *m = dynamic_cast<TfrxMemoView *>(report.FindObject(QStringLiteral("Memo%1").arg(number)));
    return m ? m->Text() : QStringLiteral("<missing>");
}

bool contains(const QStringList &errors, const QString &part)
{
    for (const QString &e : errors)
        if (e.contains(part))
            return true;
    return false;
}

// Every text a memo may hold; each must come back exactly after a save.
QStringList awkwardTexts()
{
    const char32_t emoji[] = {0x1F697, 0x1F6A6};
    return {QStringLiteral("a\r\n\r\n\r\n"),
            QStringLiteral("\r\n"),
            QStringLiteral("\r\n\r\n"),
            QStringLiteral("a\rb\nc\r\n\n\r"),
            QStringLiteral("\ttab\t \r\n \t"),
            QString(QChar(0)) + QStringLiteral("\x01\x02\x1b\x1f\x7f control ") + QString(40, u'x') + QChar(0),
            QString::fromUcs4(emoji, 2) + QStringLiteral(" Вираж \"&quot;&amp;&#65;<>\""),
            QStringLiteral("a\u2028b"), // the line separator is a line break as well
            QString()};
}

} // namespace

TEST(SafeTemplate, MemoTextsSurviveTenResavesAndAResaveChangesNothing)
{
    TFormatSettingsScope scope(englishFormatSettings());
    TRecordingUserInterface ui;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texts.fr3"));
    const QStringList texts = awkwardTexts();
    QStringList expected;
    {
        TfrxReport report;
        fillReport(report, texts);
        report.SetScriptText({QStringLiteral("begin"), QString(), QStringLiteral("end."), QString(), QString()});
        for (int i = 0; i < texts.size(); ++i)
            expected << memoText(report, i + 1);
        report.SaveToFile(path);
    }
    // Loading adds the data page; from the first resave on, nothing changes.
    QByteArray first;
    for (int round = 0; round < 10; ++round) {
        TfrxReport report;
        ASSERT_TRUE(report.LoadFromFile(path));
        ASSERT_TRUE(report.Errors().isEmpty()) << report.Errors().join('\n').toStdString();
        for (int i = 0; i < texts.size(); ++i)
            EXPECT_EQ(memoText(report, i + 1), expected[i]) << "memo " << i + 1 << " after " << round + 1 << " loads";
        EXPECT_EQ(report.ScriptText().size(), 5);
        report.SaveToFile(path);
        if (round == 0)
            first = readFile(path);
        EXPECT_EQ(readFile(path), first) << "resave " << round + 1 << " changed the file";
    }
    // "a" and three line breaks is three lines, the way the memo reads it.
    TfrxReport report;
    report.LoadFromFile(path);
    auto *m = dynamic_cast<TfrxMemoView *>(report.FindObject(QStringLiteral("Memo1")));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Memo(), (QStringList{"a", "", ""}));
}

TEST(SafeTemplate, AFullDiskFailsTheSaveAndKeepsTheOldTemplate)
{
    TSmallFileSystem fs(256 * 1024);
    if (!fs.Mounted())
        GTEST_SKIP() << fs.SkipReason().toStdString();
    TFormatSettingsScope scope(englishFormatSettings());
    const QString path = fs.FilePath(QStringLiteral("report.fr3"));
    TfrxReport report;
    fillReport(report, QStringList(200, QStringLiteral("Свидетельство о профессии водителя")));
    report.SaveToFile(path);
    const QByteArray old = readFile(path);
    ASSERT_FALSE(old.isEmpty());
    fs.Fill(4096);
    fillReport(report, QStringList(400, QStringLiteral("more text that no longer fits")), 1000);
    try {
        report.SaveToFile(path);
        FAIL() << "the save on a full disk reported success";
    } catch (const EInOutError &e) {
        EXPECT_TRUE(e.Message().contains(path)) << e.Message().toStdString();
    }
    EXPECT_EQ(readFile(path), old);

    // The XML layer's own save is just as careful.
    TfrxXMLDocument doc;
    doc.LoadFromFile(path);
    for (int i = 0; i < 2000; ++i)
        doc.Root()->Add(QStringLiteral("Filler"))->SetText(QStringLiteral("a=\"%1\"").arg(i));
    EXPECT_THROW(doc.SaveToFile(path), EInOutError);
    EXPECT_EQ(readFile(path), old);
}

TEST(SafeTemplate, DevicesReadOnlyFilesAndFoldersAreNeverReplaced)
{
    TRecordingUserInterface ui;
    TfrxReport report;
    fillReport(report, {QStringLiteral("x")});
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        EXPECT_THROW(report.SaveToFile(QStringLiteral("/dev/full")), EInOutError);
        struct stat st {};
        ASSERT_EQ(::stat("/dev/full", &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
    QTemporaryDir dir;
    const QString locked = dir.filePath(QStringLiteral("locked.fr3"));
    writeFile(locked, "old bytes");
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0444), 0);
    EXPECT_THROW(report.SaveToFile(locked), EInOutError);
    EXPECT_EQ(readFile(locked), "old bytes");
    EXPECT_THROW(report.SaveToFile(dir.path()), EInOutError);

    // Reading a device as a template is refused instead of reading forever.
    EXPECT_THROW(report.LoadFromFile(QStringLiteral("/dev/zero"), true), EInOutError);
    EXPECT_THROW(report.LoadFromFile(dir.path(), false), EInOutError);
    TfrxXMLDocument doc;
    EXPECT_THROW(doc.LoadFromFile(QStringLiteral("/dev/zero")), EInOutError);
}

TEST(SafeTemplate, AReportThatDidNotLoadIsNotSavedOverItsFile)
{
    TRecordingUserInterface ui;
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.fr3"));
    const QByteArray broken = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
                              "<TfrxReport><TfrxReportPage Name=\"Page1\"><TfrxMemoView Name=\"M\"></TfrxReport>\r\n";
    writeFile(bad, broken);
    TfrxReport report;
    report.EngineOptions()->SetNewSilentMode(simSilent);
    report.LoadFromFile(bad);
    EXPECT_FALSE(report.Errors().isEmpty());
    EXPECT_TRUE(report.LoadFailed());
    EXPECT_THROW(report.SaveToFile(bad), EInOutError);
    EXPECT_EQ(readFile(bad), broken);
    // Another file may be written; the user may also choose to overwrite.
    report.SaveToFile(dir.filePath(QStringLiteral("other.fr3")));
    report.AcceptLoadErrors();
    report.SaveToFile(bad);
    EXPECT_NE(readFile(bad), broken);

    // A clean load may be saved back.
    TfrxReport clean;
    clean.LoadFromFile(bad);
    EXPECT_FALSE(clean.LoadFailed());
    EXPECT_NO_THROW(clean.SaveToFile(bad));
}

TEST(SafeTemplate, DamagedTemplatesLoadWhatTheyCanAndSaySo)
{
    TFormatSettingsScope scope(englishFormatSettings());
    TRecordingUserInterface ui;
    TfrxReport report;
    report.EngineOptions()->SetNewSilentMode(simSilent);

    // Ends between two elements: what was read stays, the list says so.
    load(report, "<TfrxReport><TfrxReportPage Name=\"Page1\"><TfrxMemoView Name=\"Memo1\" Text=\"kept\"/>\r\n");
    EXPECT_EQ(memoText(report, 1), QStringLiteral("kept\r\n"));
    EXPECT_TRUE(contains(report.Errors(), QStringLiteral("ends before"))) << report.Errors().join('\n').toStdString();
    EXPECT_TRUE(report.LoadFailed());

    // A stray end tag where the root should begin.
    load(report, "</TfrxReport><TfrxReport><TfrxReportPage Name=\"Page1\"/></TfrxReport>");
    EXPECT_TRUE(contains(report.Errors(), QStringLiteral("no root element")));
    // The root closed before its children.
    load(report, "<TfrxReport></TfrxReport><TfrxReportPage Name=\"Page1\"/>");
    EXPECT_TRUE(contains(report.Errors(), QStringLiteral("after the end of its root")));

    // A missing closing quote: the attributes after it are named as damaged.
    load(report, "<TfrxReport><TfrxReportPage Name=\"Page1\">"
                 "<TfrxMemoView Name=\"Memo1\" Left=\"5 Top=\"4\" Text=\"t\"/></TfrxReportPage></TfrxReport>");
    EXPECT_FALSE(report.Errors().isEmpty());
    EXPECT_TRUE(contains(report.Errors(), QStringLiteral("Memo1"))) << report.Errors().join('\n').toStdString();
    load(report, "<TfrxReport><TfrxReportPage Name=\"Page1\"><TfrxMemoView Name=\"Memo1\" Text=\"open/>"
                 "</TfrxReportPage></TfrxReport>");
    EXPECT_TRUE(contains(report.Errors(), QStringLiteral("no closing quote")));

    // A whole template loads without any of these.
    load(report, "<TfrxReport><TfrxReportPage Name=\"Page1\"/></TfrxReport>\r\n\r\n");
    EXPECT_TRUE(report.Errors().isEmpty()) << report.Errors().join('\n').toStdString();
}

TEST(SafeTemplate, LoadErrorsNameTheObjectAndTheAttribute)
{
    TFormatSettingsScope scope(englishFormatSettings());
    TRecordingUserInterface ui;
    TfrxReport report;
    report.EngineOptions()->SetNewSilentMode(simSilent);
    QByteArray text = "<TfrxReport><TfrxReportPage Name=\"Page1\">";
    for (int i = 1; i <= 5; ++i)
        text += "<TfrxMemoView Name=\"Memo" + QByteArray::number(i) + "\" Tag=\"bad\"/>";
    text += "<TfrxPictureView Name=\"Picture1\" Picture.PropData=\"0444617461\"/>";
    text += "<TfrxPictureView Name=\"Picture2\" Picture.PropData=\"zz\"/>";
    text += "</TfrxReportPage></TfrxReport>";
    load(report, text);
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(report.Errors().contains(QStringLiteral("Memo%1.Tag: 'bad' is not a valid integer value").arg(i)))
            << report.Errors().join('\n').toStdString();
    EXPECT_TRUE(contains(report.Errors(), QStringLiteral("Picture1.Picture.PropData: The picture data is damaged")));
    EXPECT_TRUE(contains(report.Errors(), QStringLiteral("Picture2.Picture.PropData")));
    // The damaged bytes are kept, so a save writes them back as they came.
    report.AcceptLoadErrors();
    EXPECT_TRUE(save(report).contains("Picture.PropData=\"0444617461\""));
}

TEST(SafeTemplate, ANestedLoadGivesTheOuterLoadItsSerializerBack)
{
    TFormatSettingsScope scope(englishFormatSettings());
    TRecordingUserInterface ui;
    TfrxReport source;
    fillReport(source, {QStringLiteral("nested")});
    auto *sourceMemo = dynamic_cast<TfrxMemoView *>(source.FindObject(QStringLiteral("Memo1")));

    TfrxReport report;
    TfrxXMLSerializer *outer = nullptr, *after = nullptr;
    bool nestedFailed = false;
    report.OnGetCustomData = [&](TfrxXMLItem *) {
        outer = report.Serializer();
        auto *target = dynamic_cast<TfrxMemoView *>(report.FindObject(QStringLiteral("Early")));
        if (!target)
            return;
        target->Assign(sourceMemo); // a load inside the load
        try {
            QBuffer broken;
            broken.setData("<?xml version=\"1.0\"?><TfrxMemoView Text=\"x\"></Wrong>");
            broken.open(QIODevice::ReadOnly);
            target->LoadFromStream(&broken);
        } catch (const Exception &) {
            nestedFailed = true;
        }
        after = report.Serializer();
    };
    load(report, "<TfrxReport><TfrxReportPage Name=\"Page1\"><TfrxMemoView Name=\"Early\"/>"
                 "<RudCustomData/><TfrxMemoView Name=\"Late\" Text=\"late\"/></TfrxReportPage></TfrxReport>");
    ASSERT_NE(outer, nullptr);
    EXPECT_TRUE(nestedFailed);
    EXPECT_EQ(after, outer);
    EXPECT_EQ(report.Serializer(), nullptr);
    auto *late = dynamic_cast<TfrxMemoView *>(report.FindObject(QStringLiteral("Late")));
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(late->Text(), QStringLiteral("late\r\n"));
}

TEST(SafeTemplate, SameNamedElementsMergeAndReferencesResolveThroughTheIndex)
{
    TFormatSettingsScope scope(englishFormatSettings());
    TRecordingUserInterface ui;
    TfrxReport report;
    report.EngineOptions()->SetNewSilentMode(simSilent);
    load(report, "<TfrxReport><TfrxReportPage Name=\"Page1\">"
                 "<TfrxMemoView Name=\"Memo1\" FlowTo=\"memo3\" Left=\"1\"/>"
                 "<TfrxMemoView Name=\"Memo2\"/>"
                 "<TfrxMemoView Name=\"MEMO1\" Top=\"7\"/>"
                 "<TfrxMemoView Name=\"Memo3\"/>"
                 "</TfrxReportPage></TfrxReport>");
    EXPECT_TRUE(report.Errors().isEmpty()) << report.Errors().join('\n').toStdString();
    auto *m1 = dynamic_cast<TfrxMemoView *>(report.FindObject(QStringLiteral("Memo1")));
    ASSERT_NE(m1, nullptr);
    EXPECT_EQ(m1->Left(), 1);
    EXPECT_EQ(m1->Top(), 7); // the second element filled the same object
    EXPECT_EQ(m1->FlowTo(), report.FindObject(QStringLiteral("Memo3")));
    EXPECT_EQ(report.FindObject(QStringLiteral("Page1"))->Objects().size(), 3);
    EXPECT_EQ(report.NameIndex(), nullptr) << "the index lives only while loading";

    // A name taken by another object is refused during the load as well.
    load(report, "<TfrxReport><TfrxReportPage Name=\"Page1\"><TfrxMemoView Name=\"Page1x\"/>"
                 "<TfrxMemoView Name=\"A\"><TfrxMemoView Name=\"Page1\"/></TfrxMemoView></TfrxReportPage></TfrxReport>");
    EXPECT_EQ(report.FindObject(QStringLiteral("Page1"))->metaObject()->className(), QByteArray("TfrxReportPage"));
}

QString rudreport()
{
    return qEnvironmentVariable("RUD_BINARY_DIR") + QStringLiteral("/rudreport");
}

// Runs rudreport (under locale, when given); returns its exit code.
int run(const QStringList &args, const QString &locale = QString())
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    if (!locale.isEmpty())
        env.insert(QStringLiteral("LC_ALL"), locale);
    p.setProcessEnvironment(env);
    p.start(rudreport(), args);
    EXPECT_TRUE(p.waitForFinished(60000)) << args.join(' ').toStdString();
    return p.exitCode();
}

TEST(SafeTemplate, RudreportNeverWritesWhatDidNotLoadAndStopsOnDevices)
{
    if (!QFileInfo(rudreport()).isExecutable())
        GTEST_SKIP() << "rudreport is not built";
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.fr3"));
    const QByteArray broken = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n<TfrxReport><x></y>";
    writeFile(bad, broken);
    EXPECT_EQ(run({QStringLiteral("resave"), bad, bad}), 1);
    EXPECT_EQ(readFile(bad), broken);
    const QString other = dir.filePath(QStringLiteral("other.fr3"));
    EXPECT_EQ(run({QStringLiteral("resave"), bad, other}), 1);
    EXPECT_FALSE(QFile::exists(other));

    EXPECT_EQ(run({QStringLiteral("tree"), QStringLiteral("/dev/zero")}), 1);
    EXPECT_EQ(run({QStringLiteral("resave"), sourceDir() + QStringLiteral("/resources/shablon.fr3"), other}), 0);
    EXPECT_EQ(run({QStringLiteral("resave"), other, QStringLiteral("/dev/full")}), 1);
}

// Old templates (version 1.0 header) hold ANSI text, and memo texts in
// UTF-8 from old writers; text that is not valid in a file's encoding is a
// load error, so nothing is ever saved with replacement characters.
TEST(SafeTemplate, TextsOfOldTemplatesAreDecodedAndUnreadableTextFailsTheLoad)
{
    setSystemAnsiCodePage(1251);
    const auto restore = qScopeGuard([] { setSystemAnsiCodePage(0); });
    const QString name = QStringLiteral("Иванов Иван Ильич"), course = QStringLiteral("Водитель категории «B»");
    auto text = [](const QString &line) { return line + QStringLiteral("\r\n"); };
    const QByteArray old = "<?xml version=\"1.0\"?>\r\n<TfrxReport><TfrxReportPage Name=\"Page1\">"
                           "<TfrxMemoView Name=\"Memo1\" Text=\"" + encodeCodePage(name, 1251) + "\"/>"
                           "<TfrxMemoView Name=\"Memo2\" Text=\"" + course.toUtf8() + "\"/>"
                           "</TfrxReportPage></TfrxReport>";
    QTemporaryDir dir;
    const QString oldPath = dir.filePath(QStringLiteral("old.fr3")), newPath = dir.filePath(QStringLiteral("new.fr3"));
    writeFile(oldPath, old);
    {
        TfrxReport report;
        report.LoadFromFile(oldPath);
        EXPECT_TRUE(report.Errors().isEmpty()) << report.Errors().join('\n').toStdString();
        EXPECT_EQ(memoText(report, 1), text(name));
        EXPECT_EQ(memoText(report, 2), text(course));
        report.SaveToFile(newPath);
    }
    if (QFileInfo(rudreport()).isExecutable()) {
        const QString resaved = dir.filePath(QStringLiteral("resaved.fr3"));
        // A Russian desktop's ANSI code page is Windows-1251.
        EXPECT_EQ(run({QStringLiteral("resave"), oldPath, resaved}, QStringLiteral("ru_RU.UTF-8")), 0);
        TfrxReport report;
        report.LoadFromFile(resaved);
        EXPECT_EQ(memoText(report, 1), text(name));
        EXPECT_EQ(memoText(report, 2), text(course));
    }

    // A UTF-8 template whose memo was edited in a Windows-1251 editor.
    QByteArray damaged = readFile(newPath);
    damaged.replace(name.toUtf8(), encodeCodePage(name, 1251));
    writeFile(newPath, damaged);
    TfrxReport report;
    report.EngineOptions()->SetNewSilentMode(simSilent);
    report.LoadFromFile(newPath);
    EXPECT_EQ(report.Errors(), QStringList{QStringLiteral("Memo1.Text: the text is not valid UTF-8")});
    EXPECT_TRUE(report.LoadFailed());
    if (QFileInfo(rudreport()).isExecutable()) {
        EXPECT_EQ(run({QStringLiteral("resave"), newPath, newPath}), 1);
        EXPECT_EQ(readFile(newPath), damaged);
    }
}
