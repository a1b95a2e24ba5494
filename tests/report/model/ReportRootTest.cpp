// The report root: its variables, styles and data set list, clearing, the
// password asked for while loading, the data page every loaded report gets,
// and the per-user settings store.

#include "support/TestSupport.h"

#include "report/model/rudClass.h"
#include "report/model/rudDialogPage.h"
#include "report/model/rudXML.h"

#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/FormatSettings.h"
#include "base/IniFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include "ReportBytes.h"

#include <gtest/gtest.h>

namespace {

using modeltest::load;
using modeltest::save;

const char *header = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n";

QStringList variableNames(const TfrxVariables &variables)
{
    QStringList names;
    for (int i = 0; i < variables.Count(); ++i)
        names << variables.Items(i)->Name();
    return names;
}

// " Cat1", a, b, " Cat2", c, after a leading run x.
void fillVariables(TfrxVariables &v)
{
    v.SetVariables(QStringLiteral("x"), 1);
    v.SetVariables(QStringLiteral(" Cat1"), QVariant());
    v.SetVariables(QStringLiteral("a"), 2);
    v.SetVariables(QStringLiteral("b"), 3);
    v.SetVariables(QStringLiteral(" Cat2"), QVariant());
    v.SetVariables(QStringLiteral("c"), 4);
}

// A report with a page and a memo, saved with the given password.
QByteArray protectedTemplate(const QString &password)
{
    TfrxReport report;
    report.CheckDataPage();
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *memo = new TfrxMemoView(page);
    memo->SetName(QStringLiteral("Memo1"));
    report.ReportOptions()->SetPassword(password);
    return save(report);
}

} // namespace

TEST(ReportVariables, CategoriesAndLists)
{
    TfrxVariables v;
    fillVariables(v);
    EXPECT_EQ(v.GetCategoriesList(), (QStringList{"Cat1", "Cat2"}));
    EXPECT_EQ(v.GetVariablesList(QString()), QStringList{"x"});
    EXPECT_EQ(v.GetVariablesList(QStringLiteral("cat1")), (QStringList{"a", "b"}));
    EXPECT_EQ(v.GetVariablesList(QStringLiteral("Cat2")), QStringList{"c"});
    EXPECT_TRUE(v.GetVariablesList(QStringLiteral("Cat3")).isEmpty());

    // A missing category adds nothing.
    v.AddVariable(QStringLiteral("Cat3"), QStringLiteral("d"), 5);
    EXPECT_EQ(v.Count(), 6);
    EXPECT_EQ(v.IndexOf(QStringLiteral("d")), -1);
    // A new variable goes after the category's last one.
    v.AddVariable(QStringLiteral("CAT1"), QStringLiteral("d"), 5);
    EXPECT_EQ(variableNames(v), (QStringList{"x", " Cat1", "a", "b", "d", " Cat2", "c"}));
    v.AddVariable(QStringLiteral("Cat2"), QStringLiteral("e"), 6);
    EXPECT_EQ(variableNames(v).last(), QStringLiteral("e"));
    // A variable that exists anywhere only gets the value, wherever it is.
    v.AddVariable(QStringLiteral("Cat2"), QStringLiteral("X"), 7);
    EXPECT_EQ(v.Count(), 8);
    EXPECT_EQ(v.Items(0)->Value(), QVariant(7));

    v.DeleteVariable(QStringLiteral("B"));
    EXPECT_EQ(v.GetVariablesList(QStringLiteral("Cat1")), (QStringList{"a", "d"}));
    v.DeleteCategory(QStringLiteral("cat1"));
    EXPECT_EQ(variableNames(v), (QStringList{"x", " Cat2", "c", "e"}));
    v.DeleteCategory(QStringLiteral("Cat2"));
    EXPECT_EQ(variableNames(v), QStringList{"x"});
    v.DeleteCategory(QStringLiteral("none"));
    v.DeleteVariable(QStringLiteral("none"));
    EXPECT_EQ(v.Count(), 1);
}

TEST(ReportVariables, ValuesByName)
{
    TfrxVariables v;
    EXPECT_TRUE(v.Variables(QStringLiteral("none")).isNull());
    v.SetVariables(QStringLiteral("Итог"), QStringLiteral("'a'"));
    v.SetVariables(QStringLiteral("итог"), QStringLiteral("'b'")); // the same variable, in other case
    EXPECT_EQ(v.Count(), 1);
    EXPECT_EQ(v.Variables(QStringLiteral("ИТОГ")), QVariant(QStringLiteral("'b'")));
    EXPECT_EQ(v.Items(0)->Name(), QStringLiteral("Итог"));
    EXPECT_EQ(v.Items(0)->InheritedName(), QStringLiteral("Итог"));
    EXPECT_TRUE(v.Add()->Value().isNull());
    // The first of two equal names wins.
    v.Items(1)->SetName(QStringLiteral("ИТОГ"));
    v.Items(1)->SetValue(2);
    EXPECT_EQ(v.Variables(QStringLiteral("итог")), QVariant(QStringLiteral("'b'")));
}

TEST(ReportStyles, UniqueNamesAndLookup)
{
    TfrxStyles styles;
    TfrxStyleItem *first = styles.Add();
    first->CreateUniqueName();
    EXPECT_EQ(first->Name(), QStringLiteral("Style1"));
    EXPECT_EQ(first->Color(), clTransparent);
    EXPECT_EQ(first->Font()->Name(), QStringLiteral("Arial"));
    TfrxStyleItem *second = styles.Add();
    second->CreateUniqueName();
    EXPECT_EQ(second->Name(), QStringLiteral("Style2"));
    first->SetName(QStringLiteral("Заголовок"));
    TfrxStyleItem *third = styles.Add();
    third->CreateUniqueName();
    EXPECT_EQ(third->Name(), QStringLiteral("Style1")); // the first free number

    try {
        third->SetName(QStringLiteral("заголовок"));
        FAIL() << "a duplicate name was accepted";
    } catch (const EGeneralError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Duplicate name"));
    }
    EXPECT_EQ(third->Name(), QStringLiteral("Style1"));
    third->SetName(QStringLiteral("STYLE1")); // its own name in other case
    EXPECT_EQ(third->Name(), QStringLiteral("STYLE1"));

    EXPECT_EQ(styles.Find(QStringLiteral("ЗАГОЛОВОК")), first);
    EXPECT_EQ(styles.Find(QStringLiteral("style2")), second);
    EXPECT_EQ(styles.Find(QStringLiteral("Style3")), nullptr);

    TfrxStyleItem loose;
    loose.Assign(*first);
    EXPECT_EQ(loose.Name(), first->Name());
    EXPECT_THROW(third->Assign(*first), EGeneralError);
}

TEST(ReportCollections, TemplateRoundTrip)
{
    for (const TFormatSettings &settings : {russianFormatSettings(), englishFormatSettings()}) {
        TFormatSettingsScope scope(settings);
        TRecordingUserInterface ui;
        TfrxReport report;
        report.CheckDataPage();
        auto *customers = new TfrxMemoView(report.Objects().first()); // stands in for a data set
        customers->SetName(QStringLiteral("Customers"));
        TfrxDataSetItem *ds = report.DataSets()->Add();
        ds->SetDataSet(customers);
        ds->SetDataSetName(QStringLiteral("Customers"));
        report.DataSets()->Add()->SetDataSetName(QStringLiteral("Orders"));
        TfrxVariables *v = report.Variables();
        v->SetVariables(QStringLiteral(" Общие"), QVariant());
        v->SetVariables(QStringLiteral("Title"), QStringLiteral("'It''s \"<b>\" & co'\r\nnext"));
        v->SetVariables(QStringLiteral("Rate"), 1.5);
        TfrxStyleItem *style = report.Styles()->Add();
        style->SetName(QStringLiteral("Header"));
        style->SetColor(clRed);
        style->Font()->SetStyle(TFontStyles(fsBold));
        style->Frame()->SetTyp(TfrxFrameTypes(ftTop | ftBottom));
        report.Styles()->Add()->CreateUniqueName();
        auto *page = new TfrxReportPage(&report);
        page->SetName(QStringLiteral("Page1"));

        const QByteArray text = save(report);
        // The collections come first among the report's elements, in this order.
        const qsizetype datasets = text.indexOf("<Datasets>"), variables = text.indexOf("<Variables>"),
                        styles = text.indexOf("<Styles>"), data = text.indexOf("<TfrxDataPage");
        EXPECT_TRUE(datasets > 0 && datasets < variables && variables < styles && styles < data) << text.data();
        EXPECT_TRUE(text.contains("<item DataSet=\"Customers\" DataSetName=\"Customers\"/>")) << text.data();
        EXPECT_TRUE(text.contains("<item DataSetName=\"Orders\"/>"));
        EXPECT_TRUE(text.contains("<item Name=\" Общие\" Value=\"\"/>"));
        EXPECT_TRUE(text.contains(settings.DecimalSeparator == QLatin1Char(',') ? "Value=\"1,5\"" : "Value=\"1.5\""));
        EXPECT_TRUE(text.contains("<item Name=\"Header\" Color=\"255\" Font."));
        EXPECT_TRUE(text.contains("<item Name=\"Style1\" Color=\"536870911\""));
        EXPECT_FALSE(text.contains("InheritedName"));

        TfrxReport copy;
        load(copy, text);
        EXPECT_TRUE(copy.Errors().isEmpty()) << copy.Errors().join('\n').toStdString();
        EXPECT_TRUE(ui.Messages.empty());
        ASSERT_EQ(copy.DataSets()->Count(), 2);
        EXPECT_EQ(copy.DataSets()->Items(0)->DataSet(), copy.FindObject(QStringLiteral("Customers")));
        EXPECT_NE(copy.DataSets()->Items(0)->DataSet(), nullptr);
        EXPECT_EQ(copy.DataSets()->Find(QStringLiteral("orders")), copy.DataSets()->Items(1));
        EXPECT_EQ(copy.DataSets()->Items(1)->DataSet(), nullptr);
        EXPECT_EQ(variableNames(*copy.Variables()), variableNames(*v));
        EXPECT_EQ(copy.Variables()->Variables(QStringLiteral("title")).toString(),
                  QStringLiteral("'It''s \"<b>\" & co'\r\nnext"));
        EXPECT_EQ(copy.Variables()->GetVariablesList(QStringLiteral("Общие")), (QStringList{"Title", "Rate"}));
        ASSERT_EQ(copy.Styles()->Count(), 2);
        TfrxStyleItem *header = copy.Styles()->Find(QStringLiteral("header"));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->Color(), clRed);
        EXPECT_EQ(header->Font()->Style(), TFontStyles(fsBold));
        EXPECT_EQ(header->Frame()->Typ(), TfrxFrameTypes(ftTop | ftBottom));
        EXPECT_EQ(copy.Styles()->Items(1)->Name(), QStringLiteral("Style1"));
        EXPECT_EQ(save(copy), text);
    }
}

TEST(ReportCollections, ReadingCollectionElements)
{
    TRecordingUserInterface ui;
    TfrxReport report;
    report.EngineOptions()->SetNewSilentMode(simSilent);
    load(report, "<TfrxReport><Variables><item Name=\"a\" Value=\"1\"/><item Name=\"b\"/><other Name=\"c\"/>"
                 "</Variables><styles><item Name=\"S\"/><item Name=\"s\" Color=\"255\"/></styles>"
                 "<TfrxReportPage Name=\"Page1\"/></TfrxReport>");
    // A duplicate style name is reported; the rest of the entry and the template load.
    EXPECT_EQ(report.Errors(), QStringList{"TfrxStyleItem.Name: Duplicate name"});
    EXPECT_EQ(variableNames(*report.Variables()), (QStringList{"a", "b"}));
    EXPECT_EQ(report.Variables()->Variables(QStringLiteral("a")), QVariant(QStringLiteral("1")));
    EXPECT_TRUE(report.Variables()->Variables(QStringLiteral("b")).isNull());
    ASSERT_EQ(report.Styles()->Count(), 2);
    EXPECT_EQ(report.Styles()->Items(1)->Name(), QString());
    EXPECT_EQ(report.Styles()->Items(1)->Color(), clRed);
    EXPECT_NE(report.FindObject(QStringLiteral("Page1")), nullptr);

    // A plain serializer knows no collections: the element is an unknown class.
    TfrxReport other;
    other.EngineOptions()->SetNewSilentMode(simSilent);
    TfrxXMLDocument document;
    QByteArray data = QByteArray(header) + "<TfrxReport><Variables/></TfrxReport>";
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    document.LoadFromStream(&buffer);
    TfrxXMLSerializer plain(nullptr);
    plain.ReadRootComponent(&other, document.Root());
    EXPECT_EQ(plain.Errors(), QStringList{"Cannot find class Variables"});
}

TEST(ReportCollections, EntriesOfAnAncestorReport)
{
    TfrxReport ancestor;
    ancestor.Variables()->SetVariables(QStringLiteral("v"), QStringLiteral("1"));
    ancestor.Styles()->Add()->SetName(QStringLiteral("S"));
    TfrxReport report;
    report.Variables()->SetVariables(QStringLiteral("v"), QStringLiteral("2"));
    report.Variables()->SetVariables(QStringLiteral("w"), QStringLiteral("3"));
    report.Styles()->Add()->SetName(QStringLiteral("S"));

    // Entries the ancestor has are written by their name there and their differences.
    TfrxXMLItem root;
    report.WriteNestedProperties(&root, &ancestor);
    ASSERT_EQ(root.Count(), 2);
    TfrxXMLItem *variables = root.Items(0);
    EXPECT_EQ(variables->Name(), QStringLiteral("Variables"));
    EXPECT_EQ(variables->Items(0)->Text(), QStringLiteral(" InheritedName=\"v\" Value=\"2\""));
    EXPECT_EQ(variables->Items(1)->Text(), QStringLiteral(" Name=\"w\" Value=\"3\""));
    EXPECT_EQ(root.Items(1)->Items(0)->Text(), QStringLiteral(" InheritedName=\"S\""));

    // Read into an inherited report they update the entries of that name.
    TfrxReport child;
    child.SetParentReport(QStringLiteral("base.fr3"));
    child.Variables()->SetVariables(QStringLiteral("v"), QStringLiteral("1"));
    child.Styles()->Add()->SetName(QStringLiteral("S"));
    child.DataSets()->Add()->SetDataSetName(QStringLiteral("Old"));
    EXPECT_TRUE(child.ReadNestedProperty(variables));
    EXPECT_EQ(variableNames(*child.Variables()), (QStringList{"v", "w"}));
    EXPECT_EQ(child.Variables()->Variables(QStringLiteral("v")), QVariant(QStringLiteral("2")));
    EXPECT_TRUE(child.ReadNestedProperty(root.Items(1)));
    EXPECT_EQ(child.Styles()->Count(), 1);
    TfrxXMLItem datasets;
    datasets.SetName(QStringLiteral("Datasets"));
    datasets.Add(QStringLiteral("item"))->SetText(QStringLiteral(" DataSetName=\"New\""));
    EXPECT_TRUE(child.ReadNestedProperty(&datasets));
    ASSERT_EQ(child.DataSets()->Count(), 1); // emptied first in an inherited report
    EXPECT_EQ(child.DataSets()->Items(0)->DataSetName(), QStringLiteral("New"));
    TfrxXMLItem unknown;
    unknown.SetName(QStringLiteral("Formats"));
    EXPECT_FALSE(child.ReadNestedProperty(&unknown));
}

TEST(ReportClear, ResetsTheReportInFull)
{
    TfrxReport report;
    new TfrxReportPage(&report);
    auto *inherited = new TfrxReportPage(&report);
    inherited->SetAncestor(true);
    new TfrxMemoView(inherited);
    report.Variables()->SetVariables(QStringLiteral("v"), 1);
    report.Styles()->Add()->CreateUniqueName();
    report.DataSets()->Add();
    report.SetDataSetName(QStringLiteral("d"));
    report.SetParentReport(QStringLiteral("base.fr3"));
    report.SetScriptLanguage(QStringLiteral("C++Script"));
    report.SetOnStartReport(QStringLiteral("Start"));
    report.EngineOptions()->SetDoublePass(true);
    report.EngineOptions()->SetMaxMemSize(20); // not reset
    report.PreviewOptions()->SetOutlineWidth(10);
    report.PreviewOptions()->SetZoom(2);        // not reset
    report.PrintOptions()->SetCopies(3);
    report.PrintOptions()->SetSplicingLine(1);
    report.ReportOptions()->SetAuthor(QStringLiteral("A"));
    report.ReportOptions()->SetCreateDate(1);
    report.ReportOptions()->SetPassword(QStringLiteral("p"));
    report.ReportOptions()->SetInitString(QStringLiteral("i"));
    report.ReportOptions()->SetHiddenPassword(QStringLiteral("h"));

    const TDateTime before = Now();
    report.Clear();
    EXPECT_EQ(report.Objects(), QList<TfrxComponent *>{inherited}); // cleared, not destroyed
    EXPECT_TRUE(inherited->Objects().isEmpty());
    EXPECT_EQ(report.Variables()->Count(), 0);
    EXPECT_EQ(report.Styles()->Count(), 0);
    EXPECT_EQ(report.DataSets()->Count(), 0);
    EXPECT_TRUE(report.DataSetName().isEmpty());
    EXPECT_TRUE(report.ParentReport().isEmpty());
    EXPECT_EQ(report.ScriptLanguage(), QStringLiteral("PascalScript"));
    EXPECT_TRUE(report.OnStartReport().isEmpty());
    EXPECT_FALSE(report.EngineOptions()->DoublePass());
    EXPECT_EQ(report.EngineOptions()->MaxMemSize(), 20);
    EXPECT_EQ(report.PreviewOptions()->OutlineWidth(), 120);
    EXPECT_EQ(report.PreviewOptions()->Zoom(), 2);
    EXPECT_EQ(report.PrintOptions()->Copies(), 1);
    EXPECT_EQ(report.PrintOptions()->SplicingLine(), 3);
    EXPECT_TRUE(report.ReportOptions()->Author().isEmpty());
    EXPECT_GE(report.ReportOptions()->CreateDate(), before);
    EXPECT_EQ(report.ReportOptions()->LastChange(), report.ReportOptions()->CreateDate());
    EXPECT_TRUE(report.ReportOptions()->Password().isEmpty());
    EXPECT_TRUE(report.ReportOptions()->InitString().isEmpty());
    EXPECT_EQ(report.ReportOptions()->HiddenPassword(), QStringLiteral("h"));
    EXPECT_EQ(report.SysVariables(), (QStringList{"Date", "Time", "Page", "Page#", "TotalPages", "TotalPages#",
                                                  "Line", "Line#", "CopyName#"}));

    // Information-only clearing keeps the description.
    report.ReportOptions()->SetAuthor(QStringLiteral("A"));
    report.ReportOptions()->SetVersionMajor(QStringLiteral("2"));
    report.ReportOptions()->SetName(QStringLiteral("n"));
    report.ReportOptions()->SetInfo(true);
    report.Clear();
    EXPECT_EQ(report.ReportOptions()->Author(), QStringLiteral("A"));
    EXPECT_EQ(report.ReportOptions()->VersionMajor(), QStringLiteral("2"));
    EXPECT_TRUE(report.ReportOptions()->Name().isEmpty());
}

TEST(ReportPassword, StoredScrambledAndAskedForOnLoad)
{
    const QString password = QStringLiteral("s3cr et(1)&<я>");
    const QByteArray text = protectedTemplate(password);
    EXPECT_FALSE(text.contains("s3cr"));

    {   // The right answer loads the report.
        TRecordingUserInterface ui;
        ui.PasswordAnswers.push_back(password);
        TfrxReport report;
        load(report, text);
        EXPECT_EQ(ui.PasswordPrompts, QStringList{"Password"});
        EXPECT_TRUE(ui.Messages.empty());
        EXPECT_TRUE(report.Errors().isEmpty());
        EXPECT_NE(report.FindObject(QStringLiteral("Memo1")), nullptr);
        EXPECT_EQ(report.ReportOptions()->Password(), password);
        EXPECT_EQ(report.ReportOptions()->PrevPassword(), password);
        EXPECT_EQ(save(report), text);
    }
    for (const std::optional<QString> &answer : {std::optional<QString>(), std::optional<QString>("wrong")}) {
        // Cancelling or a wrong text: the error box, and nothing loaded.
        TRecordingUserInterface ui;
        ui.PasswordAnswers.push_back(answer);
        TfrxReport report;
        load(report, text);
        EXPECT_EQ(ui.PasswordPrompts.size(), 1);
        EXPECT_EQ(ui.MessageTexts(), QStringList{"The following error(s) have occured:\nInvalid password"});
        EXPECT_EQ(report.Errors(), QStringList{"Invalid password"});
        EXPECT_TRUE(report.Objects().isEmpty());
        EXPECT_TRUE(report.ReportOptions()->Password().isEmpty());
    }
    {   // A password given by the host is not asked for.
        TRecordingUserInterface ui;
        TfrxReport report;
        report.ReportOptions()->SetHiddenPassword(password);
        load(report, text);
        EXPECT_TRUE(ui.PasswordPrompts.isEmpty());
        EXPECT_NE(report.FindObject(QStringLiteral("Memo1")), nullptr);
    }
    {   // An engine reload is not asked for either.
        TRecordingUserInterface ui;
        TfrxReport report;
        report.SetReloading(true);
        load(report, text);
        EXPECT_TRUE(ui.PasswordPrompts.isEmpty());
        EXPECT_NE(report.FindObject(QStringLiteral("Memo1")), nullptr);
    }
    {   // Raising mode: the error propagates, and the report is empty all the same.
        TRecordingUserInterface ui;
        TfrxReport report;
        report.EngineOptions()->SetNewSilentMode(simReThrow);
        EXPECT_THROW(load(report, text), EGeneralError);
        EXPECT_TRUE(report.Objects().isEmpty());
    }
    {   // The silent interface cancels every prompt.
        TfrxReport report;
        report.EngineOptions()->SetNewSilentMode(simSilent);
        load(report, text);
        EXPECT_TRUE(report.Objects().isEmpty());
    }
}

TEST(ReportDataPage, EveryLoadedReportHasOneFirst)
{
    TRecordingUserInterface ui;
    TfrxReport report;
    load(report, "<TfrxReport><TfrxReportPage Name=\"Page1\"/></TfrxReport>");
    ASSERT_EQ(report.Objects().size(), 2);
    auto *data = dynamic_cast<TfrxDataPage *>(report.Objects().first());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->Name(), QStringLiteral("Data"));
    EXPECT_EQ(data->Width(), 1000);
    EXPECT_EQ(data->Height(), 1000);
    EXPECT_EQ(report.Objects()[1]->Name(), QStringLiteral("Page1"));
    report.CheckDataPage(); // one is enough
    EXPECT_EQ(report.Objects().size(), 2);

    // An object named Data elsewhere: the data page gets a name of its own.
    load(report, "<TfrxReport><TfrxReportPage Name=\"Page1\"><TfrxMemoView Name=\"Data\"/>"
                 "</TfrxReportPage></TfrxReport>");
    ASSERT_EQ(report.Objects().size(), 2);
    data = dynamic_cast<TfrxDataPage *>(report.Objects().first());
    ASSERT_NE(data, nullptr);
    EXPECT_FALSE(data->Name().isEmpty());
    EXPECT_NE(data->Name().toUpper(), QStringLiteral("DATA"));
    EXPECT_EQ(report.FindObject(data->Name()), data);
    EXPECT_TRUE(ui.Messages.empty());
}

TEST(ReportDataPage, DialogComponentsMoveOntoTheNewDataPage)
{
    TfrxReport report;
    auto *page = new TfrxReportPage(&report);
    auto *dialog = new TfrxDialogPage(&report);
    QList<TfrxDialogComponent *> components;
    for (int i = 0; i < 3; ++i) {
        components << new TfrxDialogComponent(dialog);
        components.last()->SetBounds(5, 7, 28, 28);
    }
    auto *memo = new TfrxMemoView(dialog); // a visible object stays on its dialog
    auto *elsewhere = new TfrxDialogComponent(page);
    elsewhere->SetLeft(3);
    report.CheckDataPage();

    auto *data = dynamic_cast<TfrxDataPage *>(report.Objects().first());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(report.Objects().mid(1), (QList<TfrxComponent *>{page, dialog}));
    ASSERT_EQ(data->Objects().size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(data->Objects()[i], components[i]);
        EXPECT_EQ(components[i]->Left(), 60 + 64 * i);
        EXPECT_EQ(components[i]->Top(), 20);
    }
    EXPECT_EQ(dialog->Objects(), QList<TfrxComponent *>{memo});
    EXPECT_EQ(elsewhere->Parent(), page);
    EXPECT_EQ(elsewhere->Left(), 3);

    // With a data page present nothing moves.
    auto *late = new TfrxDialogComponent(dialog);
    report.CheckDataPage();
    EXPECT_EQ(late->Parent(), dialog);
}

TEST(ReportSettings, StoreNamesMapIntoTheConfigurationFolder)
{
    QTemporaryDir config;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString root = config.path() + QLatin1Char('/');

    EXPECT_EQ(rudSettingsFileName(QStringLiteral("\\Software\\Dodi Varoras")), root + QStringLiteral("Dodi Varoras.ini"));
    EXPECT_EQ(rudSettingsFileName(QStringLiteral("\\SOFTWARE\\Firm\\Designer\\")), root + QStringLiteral("Firm/Designer.ini"));
    EXPECT_EQ(rudSettingsFileName(QStringLiteral("\\Software\\..\\..\\etc/passwd")), root + QStringLiteral("__/__/etc/passwd.ini"));
    EXPECT_EQ(rudSettingsFileName(QStringLiteral("\\Software\\C:\\a*b")), root + QStringLiteral("C_/a_b.ini"));
    EXPECT_EQ(rudSettingsFileName(QStringLiteral("\\Software\\")), root + QStringLiteral("Software.ini"));
    EXPECT_EQ(rudSettingsFileName(QString()), root + QStringLiteral("Software.ini"));
    for (const char *key : {"\\Software\\..", "\\Software\\/../x", "\\Software\\a\\..\\..\\.."})
        EXPECT_TRUE(QFileInfo(rudSettingsFileName(QString::fromLatin1(key))).absoluteFilePath().startsWith(root))
            << key;
    const QString plain = config.filePath(QStringLiteral("own.ini"));
    EXPECT_EQ(rudSettingsFileName(plain), plain);

    // The store is a real INI file that keeps what is written.
    TfrxReport report;
    report.SetIniFile(QStringLiteral("\\Software\\Firm\\Designer"));
    {
        std::unique_ptr<TIniFile> ini = report.GetIniFile();
        ini->WriteInteger(QStringLiteral("Form"), QStringLiteral("Left"), 42);
        ini->UpdateFile();
    }
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("Firm/Designer.ini")));
    EXPECT_EQ(report.GetIniFile()->ReadInteger(QStringLiteral("Form"), QStringLiteral("Left"), 0), 42);
    report.SetIniFile(plain);
    {
        std::unique_ptr<TIniFile> ini = report.GetIniFile();
        ini->WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("V"));
        ini->UpdateFile();
    }
    EXPECT_EQ(TIniFile(plain).ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("V"));

    if (wasSet)
        qputenv("XDG_CONFIG_HOME", saved);
    else
        qunsetenv("XDG_CONFIG_HOME");
}
