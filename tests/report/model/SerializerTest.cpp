// Attribute texts and template documents: what is written, what is read
// back, and how bad input is reported.

#include "support/TestSupport.h"

#include "report/model/rudBand.h"
#include "report/model/rudClass.h"
#include "report/model/rudClassRegistry.h"
#include "report/model/rudLineView.h"
#include "report/model/rudXML.h"

#include "base/CodePages.h"
#include "base/FormatSettings.h"

#include <QBuffer>
#include <QFile>
#include "ReportBytes.h"

#include <gtest/gtest.h>

namespace {

using modeltest::load;
using modeltest::save;

const char *header = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n";

TfrxMemoView *memo(TfrxReport &report, const char *name)
{
    return dynamic_cast<TfrxMemoView *>(report.FindObject(QString::fromLatin1(name)));
}

// Every node's class, name and complete stored values, in tree order.
std::string describe(TfrxComponent *root)
{
    TfrxXMLSerializer serializer(nullptr);
    serializer.SetSerializeDefaultValues(true);
    QStringList result{QString::fromLatin1(root->metaObject()->className()) + serializer.ObjToXML(root)};
    for (TfrxComponent *c : root->AllObjects())
        result.append(QString::fromLatin1(c->metaObject()->className()) + QLatin1Char(' ') + c->Name() +
                      serializer.ObjToXML(c));
    return result.join(QLatin1Char('\n')).toStdString();
}

// The delivered template with a band on its page (a top frame, a data set)
// and a diagonal arrow line in the band: the objects a template holds.
// Nothing when the template does not load without errors.
TfrxMasterData *deliveredTemplateWithBand(TfrxReport &report)
{
    QFile file(sourceDir() + QStringLiteral("/resources/shablon.fr3"));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    load(report, file.readAll());
    auto *page = dynamic_cast<TfrxReportPage *>(report.FindObject(QStringLiteral("Page1")));
    if (!report.Errors().isEmpty() || !page)
        return nullptr;
    auto *band = new TfrxMasterData(page);
    band->SetName(QStringLiteral("Band1"));
    band->SetDataSetName(QStringLiteral("Rows"));
    band->Frame()->SetTyp(TfrxFrameTypes(ftTop));
    auto *line = new TfrxLineView(band);
    line->SetDiagonal(true);
    line->SetArrowEnd(true);
    return band;
}

} // namespace

TEST(Serializer, SaveAndReloadGiveAnEqualTree)
{
    for (const TFormatSettings &settings : {russianFormatSettings(), englishFormatSettings()}) {
        TFormatSettingsScope scope(settings);
        TRecordingUserInterface ui;
        TfrxReport report;
        auto *page = new TfrxReportPage(&report);
        page->SetName(QStringLiteral("Page1"));
        page->SetPaperSize(11);
        page->Font()->SetName(QStringLiteral("Times New Roman"));
        auto *m1 = new TfrxMemoView(page);
        m1->SetName(QStringLiteral("Memo1"));
        m1->SetBounds(3.77952756, 1.0 / 3.0, 468.66172, 15.11811024);
        m1->SetText(QStringLiteral("a \"quoted\" & <angled>\r\nsecond line\r\n\r\nfourth &#34; line"));
        m1->SetHAlign(haCenter);
        m1->Frame()->SetTyp(TfrxFrameTypes(ftLeft | ftBottom));
        m1->Frame()->SetColor(clRed);
        m1->Frame()->LeftLine()->SetColor(clBlack); // differs from the frame's colour
        m1->SetFillType(ftGradient);
        m1->Font()->SetStyle(TFontStyles(fsBold | fsItalic));
        m1->Font()->SetCharset(RUSSIAN_CHARSET);
        auto *m2 = new TfrxMemoView(page);
        m2->SetName(QStringLiteral("Memo2"));
        m2->SetLeft(1e-20);
        m2->SetGapX(2.5);
        m2->SetFlowTo(m1);
        m2->Formats().Add()->SetFormatStr(QStringLiteral("%2.2f"));
        m2->Formats().Add()->SetKind(fkDateTime);
        m2->Highlights().Add()->SetCondition(QStringLiteral("a"));
        m2->Highlights().Add()->SetCondition(QStringLiteral("b <> c"));
        report.ReportOptions()->SetDescription({QStringLiteral("Описание"), QStringLiteral("2")});
        report.ReportOptions()->SetCreateDate(41982.6347830324);
        report.ReportOptions()->SetPassword(QStringLiteral("secret"));
        report.CheckDataPage();

        const QByteArray text = save(report);
        EXPECT_FALSE(text.contains("secret")); // kept scrambled
        TfrxReport copy;
        copy.ReportOptions()->SetHiddenPassword(QStringLiteral("secret")); // given by the host
        load(copy, text.mid(int(strlen(header))));
        EXPECT_TRUE(copy.Errors().isEmpty()) << copy.Errors().join('\n').toStdString();
        EXPECT_EQ(describe(&copy), describe(&report));
        EXPECT_EQ(memo(copy, "Memo1")->Text(), m1->Text());
        EXPECT_EQ(memo(copy, "Memo1")->Top(), 0.333333333333333); // 15 significant digits
        EXPECT_EQ(memo(copy, "Memo2")->FlowTo(), memo(copy, "Memo1"));
        EXPECT_EQ(memo(copy, "Memo2")->Formats().Count(), 2);
        EXPECT_EQ(memo(copy, "Memo2")->Highlights()[1]->Condition(), QStringLiteral("b <> c"));
        EXPECT_EQ(memo(copy, "Memo1")->Frame()->LeftLine()->Color(), clBlack);
        EXPECT_EQ(copy.ReportOptions()->Password(), QStringLiteral("secret"));
        EXPECT_EQ(save(copy), text);
        EXPECT_TRUE(ui.Messages.empty());

        // Without the password the load fails and leaves the report empty.
        TfrxReport locked;
        locked.EngineOptions()->SetNewSilentMode(simSilent);
        load(locked, text.mid(int(strlen(header))));
        EXPECT_EQ(locked.Errors(), QStringList{"Invalid password"});
        EXPECT_TRUE(locked.Objects().isEmpty());
    }
}

TEST(Serializer, DefaultsAreOmittedAndChangedValuesWritten)
{
    TFormatSettingsScope scope(englishFormatSettings());
    TfrxXMLSerializer serializer(nullptr);
    TfrxReportPage page(nullptr);
    auto *m = new TfrxMemoView(&page);
    m->SetName(QStringLiteral("Memo1"));
    EXPECT_EQ(serializer.ObjToXML(m), QStringLiteral(" Left=\"0\" Top=\"0\" Width=\"0\" Height=\"0\" Text=\"\""));
    m->SetGapX(2);
    EXPECT_FALSE(serializer.ObjToXML(m).contains("GapX"));
    m->SetGapX(2.5);
    EXPECT_TRUE(serializer.ObjToXML(m).contains(" GapX=\"2.5\""));
    m->SetRotation(450);
    EXPECT_TRUE(serializer.ObjToXML(m).contains(" Rotation=\"90\""));

    // One highlight: as properties, and only with a condition that is not blank.
    m->Highlight()->SetCondition(QStringLiteral("   "));
    EXPECT_FALSE(serializer.ObjToXML(m).contains("Highlight."));
    m->Highlight()->SetCondition(QStringLiteral("Value = 1"));
    EXPECT_TRUE(serializer.ObjToXML(m).contains(" Highlight.Condition=\"Value = 1\""));
    EXPECT_TRUE(serializer.ObjToXML(m).contains(" Highlight.FillType=\"ftBrush\""));
    m->Highlights().Add();
    EXPECT_FALSE(serializer.ObjToXML(m).contains("Highlight."));
    m->DisplayFormat()->SetKind(fkNumeric);
    EXPECT_TRUE(serializer.ObjToXML(m).contains(" DisplayFormat.Kind=\"fkNumeric\""));

    // A new glass fill's colour differs from the declared default; Blend has none.
    m->SetFillType(ftGlass);
    const QString glass = serializer.ObjToXML(m);
    EXPECT_TRUE(glass.contains(" FillType=\"ftGlass\" Fill.Color=\"8421504\" Fill.Blend=\"0.5\""));

    // ParentFont: no font attributes.
    EXPECT_FALSE(glass.contains("Font."));
    m->Font()->SetHeight(-11);
    EXPECT_TRUE(serializer.ObjToXML(m).contains(" Font.Height=\"-11\""));
    EXPECT_TRUE(serializer.ObjToXML(m).contains(" ParentFont=\"False\""));
}

TEST(Serializer, ReadingRulesOfTheTemplate)
{
    TFormatSettingsScope scope(russianFormatSettings());
    TRecordingUserInterface ui;
    TfrxReport report;
    load(report, "<TfrxReport Version=\"4.0\" Name=\"Ignored\">"
                 "<TfrxReportPage Name=\"Page1\" Font.Name=\"Times New Roman\" Font.Height=\"-11\">"
                 "<TfrxMemoView Name=\"Memo1\" Top=\"3,77952756\" Width=\"3.77952756\" Height=\"1 234.5\"/>"
                 "<TfrxMemoView Name=\"Memo2\" Left=\"5\" Memo.Text=\"a&#13;&#10;b\"/>"
                 "<TfrxMemoView Name=\"memo2\" Top=\"7\" HAlign=\"2\" VAlign=\"vacenter\" Frame.LeftLine.Width=\"3\"/>"
                 "<TfrxMemoView Name=\"Memo3\" l=\"1\" t=\"2\" w=\"3\" h=\"4\" x=\"xx\" Unknown.Path=\"1\" Bogus=\"2\"/>"
                 "</TfrxReportPage></TfrxReport>");
    EXPECT_TRUE(report.Errors().isEmpty()) << report.Errors().join('\n').toStdString();
    EXPECT_EQ(report.Version(), QStringLiteral("5.1.1"));
    EXPECT_TRUE(report.Name().isEmpty());
    TfrxMemoView *m1 = memo(report, "Memo1");
    ASSERT_NE(m1, nullptr);
    EXPECT_EQ(m1->Left(), 0);
    EXPECT_EQ(m1->Top(), 3.77952756);
    EXPECT_EQ(m1->Width(), 3.77952756);
    EXPECT_EQ(m1->Height(), 1234.5);
    EXPECT_TRUE(m1->ParentFont());
    EXPECT_EQ(m1->Font()->Name(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(m1->Font()->Height(), -11);
    EXPECT_TRUE(m1->Memo().isEmpty());

    // Two elements with one name are one object, filled twice.
    TfrxMemoView *m2 = memo(report, "Memo2");
    ASSERT_NE(m2, nullptr);
    EXPECT_EQ(report.FindObject(QStringLiteral("Page1"))->Objects().size(), 3);
    EXPECT_EQ(m2->Left(), 5);
    EXPECT_EQ(m2->Top(), 7);
    EXPECT_EQ(m2->Memo(), (QStringList{"a", "b"}));
    EXPECT_EQ(m2->HAlign(), haCenter);
    EXPECT_EQ(m2->VAlign(), vaCenter);
    EXPECT_EQ(m2->Frame()->LeftLine()->Width(), 3);

    TfrxMemoView *m3 = memo(report, "Memo3");
    EXPECT_EQ(m3->Left(), 1);
    EXPECT_EQ(m3->Height(), 4);
    EXPECT_EQ(m3->Memo(), QStringList{"xx"});
    EXPECT_EQ(report.Objects().first()->metaObject()->className(), QByteArray("TfrxDataPage"));
    EXPECT_TRUE(ui.Messages.empty());
}

TEST(Serializer, ErrorsAreCollectedAndTheRestLoads)
{
    TFormatSettingsScope scope(englishFormatSettings());
    TRecordingUserInterface ui;
    TfrxReport report;
    load(report, "<TfrxReport><TfrxReportPage Name=\"Page1\">"
                 "<TfrxFooView Name=\"F1\"><TfrxMemoView Name=\"Hidden\"/></TfrxFooView>"
                 "<TfrxFooView Name=\"F2\"/>"
                 "<TfrxMemoView Name=\"Memo1\" Left=\"abc\" Top=\"4\" HAlign=\"haMiddle\" VAlign=\"7\""
                 " WordWrap=\"2\" Rotation=\"x\" Text=\"kept\"/>"
                 "</TfrxReportPage></TfrxReport>");
    // Each error names the object and the attribute it comes from.
    EXPECT_EQ(report.Errors(), (QStringList{"Cannot find class TfrxFooView",
                                            "Memo1.HAlign: Invalid property value: HAlign=\"haMiddle\"",
                                            "Memo1.Left: 'abc' is not a valid floating point value",
                                            "Memo1.Rotation: 'x' is not a valid integer value",
                                            "Memo1.VAlign: Invalid property value: VAlign=\"7\"",
                                            "Memo1.WordWrap: Invalid property value: WordWrap=\"2\""}));
    EXPECT_EQ(report.FindObject(QStringLiteral("Hidden")), nullptr);
    TfrxMemoView *m = memo(report, "Memo1");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Top(), 4);
    EXPECT_EQ(m->HAlign(), haLeft); // unchanged
    EXPECT_EQ(m->VAlign(), vaTop);
    EXPECT_TRUE(m->WordWrap());
    EXPECT_EQ(m->Memo(), QStringList{"kept"});
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Caption, QStringLiteral("Error"));
    EXPECT_TRUE(ui.Messages[0].Text.startsWith(
        QStringLiteral("The following error(s) have occured:\nCannot find class TfrxFooView\nMemo1.HAlign: ")));
}

TEST(Serializer, ShortNames)
{
    TFormatSettingsScope scope(englishFormatSettings());
    TfrxReportPage page(nullptr);
    auto *m = new TfrxMemoView(&page);
    TfrxXMLSerializer serializer(nullptr);
    serializer.XMLToObj(QStringLiteral(" l=\"1,5\" u=\"one&#13;&#10;two\""), m);
    EXPECT_EQ(m->Left(), 1.5);
    EXPECT_EQ(m->Memo(), (QStringList{"one", "two"}));
    EXPECT_TRUE(serializer.Errors().isEmpty());
}

TEST(Serializer, ErrorHandlerModesAndBrokenXml)
{
    TRecordingUserInterface ui;
    TfrxReport report;
    report.EngineOptions()->SetNewSilentMode(simSilent);
    load(report, "<TfrxReport><TfrxReportPage Name=\"P\"><TfrxMemoView Name=\"M\"></TfrxReport>");
    EXPECT_EQ(report.Errors(), QStringList{"Invalid file format"});
    EXPECT_TRUE(ui.Messages.empty());
    EXPECT_EQ(report.Objects().first()->metaObject()->className(), QByteArray("TfrxDataPage"));
    EXPECT_EQ(report.EngineOptions()->NewSilentMode(), simSilent); // a run-time option survives the load

    report.EngineOptions()->SetNewSilentMode(simReThrow);
    try {
        load(report, "<TfrxReport><TfrxBadView/></TfrxReport>");
        FAIL();
    } catch (const EGeneralError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("The following error(s) have occured:\nCannot find class TfrxBadView"));
    }
}

TEST(Serializer, ComponentStringsAndCustomData)
{
    TFormatSettingsScope scope(englishFormatSettings());
    TfrxReport report;
    auto *page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *m = new TfrxMemoView(page);
    m->SetName(QStringLiteral("Memo1"));
    m->SetLeft(12.5);
    m->SetText(QStringLiteral("hi"));
    TfrxXMLSerializer serializer(nullptr);
    serializer.SetOwner(&report);
    const QString text = serializer.WriteComponentStr(m);
    EXPECT_EQ(text, QStringLiteral("TfrxMemoView Left=\"12.5\" Top=\"0\" Width=\"0\" Height=\"0\" Text=\"hi\""));
    TfrxComponent *back = serializer.ReadComponentStr(page, text);
    ASSERT_NE(dynamic_cast<TfrxMemoView *>(back), nullptr);
    EXPECT_EQ(back->Left(), 12.5);
    EXPECT_EQ(back->Parent(), page);
    EXPECT_EQ(serializer.ReadComponentStr(page, QStringLiteral("TfrxNothing a=\"1\"")), nullptr);

    TfrxMemoView target(nullptr);
    serializer.ReadPersistentStr(&report, &target, QStringLiteral(" FlowTo=\"Memo1\" GapY=\"4\""));
    EXPECT_EQ(target.FlowTo(), m);
    EXPECT_EQ(target.GapY(), 4);

    QString seen;
    report.OnSaveCustomData = [](TfrxXMLItem *item) { item->SetProp(QStringLiteral("Key"), QStringLiteral("v")); };
    const QByteArray saved = save(report);
    EXPECT_TRUE(saved.contains("<RudCustomData Key=\"v\"/>"));
    TfrxReport copy;
    copy.OnGetCustomData = [&seen](TfrxXMLItem *item) { seen = item->Prop(QStringLiteral("Key")); };
    load(copy, saved.mid(int(strlen(header))));
    EXPECT_EQ(seen, QStringLiteral("v"));
    EXPECT_TRUE(copy.Errors().isEmpty());

    // Assign copies values, not the name or the children.
    TfrxMemoView copyOfM(nullptr);
    copyOfM.SetName(QStringLiteral("Other"));
    copyOfM.Assign(m);
    EXPECT_EQ(copyOfM.Name(), QStringLiteral("Other"));
    EXPECT_EQ(copyOfM.Left(), 12.5);
    EXPECT_EQ(copyOfM.Text(), m->Text());
}

// Prepared pages rebuild thousands of objects from their source's attribute
// text read once into a recipe: a recipe and a difference text must make
// what reading the two texts together makes, errors included.
TEST(Serializer, ARecipeMakesWhatTheWholeTextMakes)
{
    TFormatSettingsScope scope(russianFormatSettings());
    TfrxReport report;
    ASSERT_NE(deliveredTemplateWithBand(report), nullptr);

    const QStringList diffs = {QString(), QStringLiteral("l=\"5\" u=\"новый&#13;&#10;текст\""),
                               QStringLiteral("Font.Name=\"Arial\" Frame.Typ=\"15\" Left=\"12,5\""),
                               QStringLiteral("Left=\"вздор\" Font.Nothing=\"1\" Frame.Width=\"\"")};
    TfrxXMLSerializer writer(nullptr);
    int objects = 0;
    for (TfrxComponent *source : report.AllObjects()) {
        if (dynamic_cast<TfrxPage *>(source))
            continue;
        ++objects;
        const QString base = writer.WriteComponentStr(source);
        TfrxObjectRecipe recipe;
        ASSERT_TRUE(TfrxXMLSerializer::MakeRecipe(base, recipe)) << base.toStdString();
        for (const QString &diff : diffs) {
            TfrxReportPage byText(nullptr), byRecipe(nullptr);
            TfrxXMLSerializer textReader(nullptr), recipeReader(nullptr);
            TfrxComponent *expected = textReader.ReadComponentStr(&byText, base + QLatin1Char(' ') + diff, true);
            TfrxComponent *made = recipeReader.ReadComponentRecipe(&byRecipe, recipe, diff);
            EXPECT_EQ(describe(made), describe(expected)) << base.toStdString() << " + " << diff.toStdString();
            EXPECT_EQ(recipeReader.Errors(), textReader.Errors());
        }
    }
    EXPECT_EQ(objects, 50);

    // An unknown class or a damaged text is left to the text reader, which reports it.
    TfrxObjectRecipe recipe;
    for (const char *text : {"TfrxNothing a=\"1\"", "TfrxMemoView Left=\"1", "TfrxMemoView Left=\"1\" =\"2\"",
                             "TfrxMemoView Left=\"1\" Top\"2\"", "TfrxMemoView Le ft=\"1\""})
        EXPECT_FALSE(TfrxXMLSerializer::MakeRecipe(QString::fromUtf8(text), recipe)) << text;
}

// Assign reads back only the values that differ from the target's. Onto a
// new object and onto one that held another object's values, it must end
// where reading every value of the source ends.
TEST(Serializer, AssignEndsWhereReadingEveryValueEnds)
{
    TFormatSettingsScope scope(russianFormatSettings());
    TfrxReport report;
    TfrxMasterData *band = deliveredTemplateWithBand(report);
    ASSERT_NE(band, nullptr);
    band->SetFillType(ftGradient);
    auto *flowing = new TfrxMemoView(band);
    flowing->SetName(QStringLiteral("Flowing"));
    flowing->SetFlowTo(memo(report, "Memo1"));
    flowing->SetParentFont(false);
    flowing->Font()->SetName(QStringLiteral("Arial"));
    flowing->SetFillType(ftGlass);

    const auto assignEveryValue = [](TfrxComponent *Target, TfrxComponent *Source) {
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        Source->SaveToStream(&buffer, false, true, false);
        buffer.seek(0);
        Target->LoadFromStream(&buffer);
        Target->SetParentFontFlag(Source->ParentFont());
    };
    QList<TfrxComponent *> sources;
    for (TfrxComponent *c : report.AllObjects())
        if (!dynamic_cast<TfrxPage *>(c))
            sources.append(c);
    ASSERT_EQ(sources.size(), 51);
    TfrxReportPage holder(nullptr);
    for (qsizetype i = 0; i < sources.size(); ++i) {
        TfrxComponent *source = sources[i];
        const TfrxClassEntry entry = rudFindClass(QString::fromLatin1(source->metaObject()->className()));
        std::unique_ptr<TfrxComponent> expected(entry.Create(&holder)), copy(entry.Create(&holder));
        assignEveryValue(expected.get(), source);
        copy->Assign(source);
        EXPECT_EQ(describe(copy.get()), describe(expected.get())) << source->Name().toStdString();
        // The previous object of the class (the last one for the first) was there first.
        for (qsizetype k = 1; k <= sources.size(); ++k) {
            TfrxComponent *other = sources[(i + sources.size() - k) % sources.size()];
            if (other->metaObject() != source->metaObject())
                continue;
            std::unique_ptr<TfrxComponent> used(entry.Create(&holder));
            used->Assign(other);
            used->Assign(source);
            EXPECT_EQ(describe(used.get()), describe(expected.get()))
                << other->Name().toStdString() << " then " << source->Name().toStdString();
            break;
        }
    }
}

TEST(Serializer, MutatedTemplatesNeverCrash)
{
    QFile file(sourceDir() + QStringLiteral("/resources/shablon.fr3"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    TRecordingUserInterface ui;
    quint32 seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    const char alphabet[] = "<>/\"= ,.&#;x0123456789abcTfrxMemoViewLeftFont.Name";
    for (int round = 0; round < 150; ++round) {
        QByteArray data = original.left(int(next() % 6000) + 200);
        for (int k = 0, n = int(next() % 12) + 1; k < n; ++k) {
            const int pos = int(next() % quint32(data.size()));
            switch (next() % 3) {
            case 0:
                data[pos] = alphabet[next() % (sizeof(alphabet) - 1)];
                break;
            case 1:
                data.remove(pos, int(next() % 40));
                break;
            default:
                data.insert(pos, data.mid(int(next() % quint32(data.size())), int(next() % 80)));
                break;
            }
        }
        TfrxReport report;
        report.EngineOptions()->SetNewSilentMode(simSilent);
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        report.LoadFromStream(&buffer);
        save(report);
    }
}
