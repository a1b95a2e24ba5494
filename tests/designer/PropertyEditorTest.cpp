// The property editor framework: which editor a property gets, the lists
// of one and of several objects, and the editors of the basic kinds on
// real report objects.

#include "DesignerTestSupport.h"

#include "base/CodePages.h"
#include "base/FormatSettings.h"
#include "designer/rudDesgnEditors.h"
#include "report/model/rudFill.h"
#include "report/model/rudFrame.h"
#include "report/model/rudReportOptions.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QRegularExpression>
#include <algorithm>

namespace {

class TDummyEditor : public TfrxPropertyEditor {
public:
    using TfrxPropertyEditor::TfrxPropertyEditor;
};

TfrxPropertyEditorClass dummy()
{
    return rudEditorClass<TDummyEditor>();
}

// The editor a memo property gets.
std::unique_ptr<TfrxPropertyEditor> editorOf(QObject *Obj, const QString &Name, TfrxCustomDesigner *Designer)
{
    const TfrxPropInfo *prop = rudFindProp(Obj, Name);
    EXPECT_TRUE(prop) << Name.toStdString();
    return prop ? rudCreatePropertyEditor(Obj, *prop, Designer) : nullptr;
}

} // namespace

TEST(PropertyEditorRegistry, NamedEntriesWinAtOnceTypeEntriesFromTheOldest)
{
    TfrxMemoView memo(nullptr);
    TfrxPropertyEditorCollection editors;
    editors.Register(QStringLiteral("Extended"), nullptr, QString(), dummy());                          // 0
    editors.Register(QStringLiteral("Extended"), nullptr, QString(), dummy());                          // 1
    editors.Register(QStringLiteral("Extended"), &TfrxComponent::staticMetaObject, QStringLiteral("left"), dummy()); // 2
    editors.Register(QStringLiteral("String"), nullptr, QStringLiteral("Left"), dummy());               // 3
    editors.Register(QStringLiteral("Extended"), &TfrxReportPage::staticMetaObject, QStringLiteral("Top"),
                     dummy()); // 4

    // A named entry of an ancestor class is taken, whatever its type.
    EXPECT_EQ(editors.GetPropertyEditor(QStringLiteral("Integer"), &memo, QStringLiteral("Left")), 2);
    // A named entry without class needs the type; the newest fitting one wins.
    EXPECT_EQ(editors.GetPropertyEditor(QStringLiteral("String"), &memo, QStringLiteral("LEFT")), 3);
    // A class the object does not inherit does not count; the oldest type entry does.
    EXPECT_EQ(editors.GetPropertyEditor(QStringLiteral("Extended"), &memo, QStringLiteral("Top")), 0);
    EXPECT_EQ(editors.GetPropertyEditor(QStringLiteral("Boolean"), &memo, QStringLiteral("Top")), -1);
}

TEST(PropertyEditorRegistry, TypesComeFromThePropertyDeclarations)
{
    rudRegisterDesignerEditors();
    TfrxMemoView memo(nullptr);
    const auto type = [&memo](const char *Name) { return rudFindProp(&memo, QLatin1String(Name))->TypeName; };
    EXPECT_EQ(type("Color"), QStringLiteral("TColor"));
    EXPECT_EQ(type("Cursor"), QStringLiteral("TCursor"));
    EXPECT_EQ(type("Rotation"), QStringLiteral("Integer"));
    EXPECT_EQ(type("Left"), QStringLiteral("Extended"));
    EXPECT_EQ(type("HAlign"), QStringLiteral("TfrxHAlign"));
    EXPECT_EQ(type("Restrictions"), QStringLiteral("TfrxRestrictions"));
    EXPECT_EQ(type("Font"), QStringLiteral("TFont"));
    EXPECT_EQ(type("Fill"), QStringLiteral("TfrxCustomFill"));
    EXPECT_EQ(type("Memo"), QStringLiteral("TWideStrings"));
    EXPECT_EQ(type("OnBeforePrint"), QStringLiteral("TfrxNotifyEvent"));
    EXPECT_TRUE(rudIsEventType(type("OnBeforePrint")));
    EXPECT_FALSE(rudIsEventType(type("TagStr")));
    EXPECT_EQ(rudFindProp(memo.Font(), QStringLiteral("Charset"))->TypeName, QStringLiteral("TFontCharset"));
}

TEST(PropertyEditorRegistry, EveryListedPropertyHasAnEditorAndHiddenOnesHaveNone)
{
    rudRegisterDesignerEditors();
    TCertificate cert;
    const std::unique_ptr<TfrxPropertyList> list = rudCreatePropertyList(QList<TfrxComponent *>{cert.Memo(1)},
                                                                         cert.Designer.get());
    ASSERT_TRUE(list);
    const QStringList names = rowNames(*list);
    for (const char *hidden : {"GroupIndex", "DataSetName", "BrushStyle", "URL", "FirstParaBreak", "LastParaBreak"})
        EXPECT_FALSE(names.contains(QLatin1String(hidden))) << hidden;
    for (const char *shown : {"Name", "Left", "Top", "Width", "Height", "Font", "Frame", "Fill", "HAlign", "Memo",
                              "Restrictions", "OnBeforePrint", "Color", "Cursor"})
        EXPECT_TRUE(names.contains(QLatin1String(shown))) << shown;
    // Sorted by name, each once.
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end(), [](const QString &A, const QString &B) {
        return A.compare(B, Qt::CaseInsensitive) < 0;
    });
    EXPECT_EQ(names, sorted);
    EXPECT_EQ(QStringList(names).removeDuplicates(), 0);

    // Sub-objects are expanded into their own published properties.
    const QStringList font = rowNames(*findItem(list.get(), QStringLiteral("Font"))->SubProperty);
    EXPECT_EQ(font, (QStringList{"Charset", "Color", "Name", "Orientation", "Quality", "Size", "Style"}));
    EXPECT_TRUE(findItem(list.get(), QStringLiteral("Frame.LeftLine.Style")));
    EXPECT_EQ(rowNames(*findItem(list.get(), QStringLiteral("Restrictions"))->SubProperty),
              (QStringList{"rfDontModify", "rfDontSize", "rfDontMove", "rfDontDelete", "rfDontEdit"}));

    // The report and the data page hide what the designer keeps to itself.
    const auto reportList = rudCreatePropertyList(QList<TfrxComponent *>{&cert.Report}, cert.Designer.get());
    const QStringList reportNames = rowNames(*reportList);
    for (const char *hidden : {"Name", "IniFile", "ScriptText", "Tag", "DotMatrixReport", "ParentReport"})
        EXPECT_FALSE(reportNames.contains(QLatin1String(hidden))) << hidden;
    EXPECT_FALSE(findItem(reportList.get(), QStringLiteral("EngineOptions.SilentMode")));
    EXPECT_TRUE(findItem(reportList.get(), QStringLiteral("EngineOptions.DoublePass")));
    EXPECT_FALSE(findItem(reportList.get(), QStringLiteral("ReportOptions.CreateDate")));
    const auto pageList = rudCreatePropertyList(QList<TfrxComponent *>{cert.Page}, cert.Designer.get());
    for (const char *hidden : {"Bin", "BinOtherPages", "ColumnWidth", "HGuides", "VGuides"})
        EXPECT_FALSE(findItem(pageList.get(), QLatin1String(hidden))) << hidden;
    EXPECT_FALSE(findItem(pageList.get(), QStringLiteral("Font.Height")));
    auto *data = dynamic_cast<TfrxDataPage *>(cert.Report.FindObject(QStringLiteral("Data")));
    const auto dataList = rudCreatePropertyList(QList<TfrxComponent *>{data}, cert.Designer.get());
    EXPECT_EQ(rowNames(*dataList).filter(QRegularExpression(QStringLiteral("^(Left|Top|Tag|Visible)$"))),
              QStringList());
}

TEST(PropertyEditorList, SeveralObjectsShareTheirCommonPropertiesAndEveryEditorWritesThemAll)
{
    rudRegisterDesignerEditors();
    TCertificate cert;
    TfrxMemoView *m1 = cert.Memo(1);
    TfrxMemoView *m2 = cert.Memo(2);
    EXPECT_FALSE(rudCreatePropertyList(QList<TfrxComponent *>{}, cert.Designer.get()));

    const auto list = rudCreatePropertyList(QList<TfrxComponent *>{m1, m2}, cert.Designer.get());
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->Find(QStringLiteral("Name")));
    EXPECT_FALSE(list->Find(QStringLiteral("Memo"))); // a text of its own per memo
    TfrxPropertyItem *top = list->Find(QStringLiteral("Top"));
    ASSERT_TRUE(top);
    EXPECT_EQ(top->Editor->ObjectCount(), 2);
    top->Editor->SetValue(QStringLiteral("3"));
    EXPECT_DOUBLE_EQ(m1->Top(), 3 * 96 / 2.54);
    EXPECT_DOUBLE_EQ(m2->Top(), 3 * 96 / 2.54);
    EXPECT_FALSE(cert.Designer->InspectorLocked());

    // Sub-rows write the sub-objects of every memo.
    findItem(list.get(), QStringLiteral("Font.Name"))->Editor->SetValue(QStringLiteral("Arial"));
    EXPECT_EQ(m1->Font()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(m2->Font()->Name(), QStringLiteral("Arial"));

    // A set element changes its bit in each object and keeps the others.
    m1->Frame()->SetTyp(ftLeft);
    m2->Frame()->SetTyp(ftRight);
    findItem(list.get(), QStringLiteral("Frame.Typ.ftTop"))->Editor->SetValue(QStringLiteral("true"));
    EXPECT_EQ(m1->Frame()->Typ(), TfrxFrameTypes(ftLeft | ftTop));
    EXPECT_EQ(m2->Frame()->Typ(), TfrxFrameTypes(ftRight | ftTop));

    // Fills of different kinds have different rows: the fill is not common.
    m2->SetFillType(ftGradient);
    const auto mixed = rudCreatePropertyList(QList<TfrxComponent *>{m1, m2}, cert.Designer.get());
    EXPECT_FALSE(mixed->Find(QStringLiteral("Fill")));
    EXPECT_TRUE(mixed->Find(QStringLiteral("FillType")));

    // A memo and its page share only what both publish.
    const auto withPage = rudCreatePropertyList(QList<TfrxComponent *>{m1, cert.Page}, cert.Designer.get());
    EXPECT_TRUE(withPage->Find(QStringLiteral("Font")));
    EXPECT_TRUE(withPage->Find(QStringLiteral("Visible")));
    EXPECT_FALSE(withPage->Find(QStringLiteral("HAlign")));
    EXPECT_FALSE(withPage->Find(QStringLiteral("PaperWidth")));
}

TEST(PropertyEditorBasic, EnumerationsAndSetsByTheirIdentifiers)
{
    rudRegisterDesignerEditors();
    TCertificate cert;
    TfrxMemoView *memo = cert.Memo(1);
    const auto halign = editorOf(memo, QStringLiteral("HAlign"), cert.Designer.get());
    EXPECT_EQ(halign->GetValue(), QStringLiteral("haCenter"));
    EXPECT_EQ(halign->GetAttributes(), paValueList | paSortList | paMultiSelect);
    EXPECT_EQ(halign->ValueList(), (QStringList{"haBlock", "haCenter", "haLeft", "haRight"}));
    halign->SetValue(QStringLiteral("harIGHT"));
    EXPECT_EQ(memo->HAlign(), haRight);
    EXPECT_EQ(errorOf([&] { halign->SetValue(QStringLiteral("haMiddle")); }), QStringLiteral("Invalid property value"));
    EXPECT_EQ(memo->HAlign(), haRight);
    // Editing steps through the list, from the last back to the first.
    EXPECT_TRUE(halign->Edit());
    EXPECT_EQ(memo->HAlign(), haBlock);

    memo->Frame()->SetTyp(TfrxFrameTypes(ftLeft | ftBottom));
    const auto typ = editorOf(memo->Frame(), QStringLiteral("Typ"), cert.Designer.get());
    EXPECT_EQ(typ->GetValue(), QStringLiteral("[ftLeft,ftBottom]"));
    EXPECT_TRUE(typ->GetAttributes() & paReadOnly);
    TfrxSetElementProperty element(cert.Designer.get(), ftBottom, QStringLiteral("ftBottom"));
    element.AddObject(memo->Frame(), rudFindProp(memo->Frame(), QStringLiteral("Typ")));
    EXPECT_EQ(element.GetValue(), QStringLiteral("True"));
    element.SetValue(QStringLiteral("FALSE"));
    EXPECT_EQ(memo->Frame()->Typ(), TfrxFrameTypes(ftLeft));
    EXPECT_EQ(errorOf([&] { element.SetValue(QStringLiteral("yes")); }), QStringLiteral("Invalid property value"));
}

TEST(PropertyEditorBasic, NumbersFollowTheRegionalSettings)
{
    rudRegisterDesignerEditors();
    TCertificate cert;
    TfrxMemoView *memo = cert.Memo(1);
    const auto spacing = editorOf(memo, QStringLiteral("LineSpacing"), cert.Designer.get());
    const auto rotation = editorOf(memo, QStringLiteral("Rotation"), cert.Designer.get());
    {
        const TFormatSettingsScope russian(russianFormatSettings());
        spacing->SetValue(QStringLiteral(" 1.5 "));
        EXPECT_EQ(memo->LineSpacing(), 1.5);
        EXPECT_EQ(spacing->GetValue(), QStringLiteral("1,5"));
        spacing->SetValue(QStringLiteral("2,25"));
        EXPECT_EQ(memo->LineSpacing(), 2.25);
    }
    EXPECT_EQ(spacing->GetValue(), QStringLiteral("2.25"));
    EXPECT_EQ(errorOf([&] { spacing->SetValue(QStringLiteral("abc")); }),
              QStringLiteral("'abc' is not a valid floating point value"));
    rotation->SetValue(QStringLiteral("90"));
    EXPECT_EQ(memo->Rotation(), 90);
    EXPECT_EQ(errorOf([&] { rotation->SetValue(QStringLiteral("9x")); }),
              QStringLiteral("'9x' is not a valid integer value"));
}

TEST(PropertyEditorBasic, ColoursCharsetsAndCursorsByIdentifierOrNumber)
{
    rudRegisterDesignerEditors();
    TCertificate cert;
    TfrxMemoView *memo = cert.Memo(1);

    const auto charset = editorOf(memo->Font(), QStringLiteral("Charset"), cert.Designer.get());
    ASSERT_TRUE(dynamic_cast<TfrxFontCharsetProperty *>(charset.get()));
    EXPECT_EQ(charset->GetValue(), QStringLiteral("RUSSIAN_CHARSET"));
    EXPECT_TRUE(charset->ValueList().contains(QStringLiteral("EASTEUROPE_CHARSET")));
    charset->SetValue(QStringLiteral("ansi_charset"));
    EXPECT_EQ(memo->Font()->Charset(), ANSI_CHARSET);
    charset->SetValue(QStringLiteral("238"));
    EXPECT_EQ(charset->GetValue(), QStringLiteral("EASTEUROPE_CHARSET"));
    charset->SetValue(QStringLiteral("7"));
    EXPECT_EQ(charset->GetValue(), QStringLiteral("7"));
    EXPECT_FALSE(errorOf([&] { charset->SetValue(QStringLiteral("LATIN_CHARSET")); }).isEmpty());
    EXPECT_EQ(memo->Font()->Charset(), 7);

    const auto color = editorOf(memo->Frame(), QStringLiteral("Color"), cert.Designer.get());
    ASSERT_TRUE(dynamic_cast<TfrxColorProperty *>(color.get()));
    EXPECT_EQ(color->GetValue(), QStringLiteral("clBlack"));
    color->SetValue(QStringLiteral("$00123456"));
    EXPECT_EQ(memo->Frame()->Color(), 0x123456);
    EXPECT_EQ(color->GetValue(), QStringLiteral("$00123456"));
    color->SetValue(QStringLiteral("clnone"));
    EXPECT_EQ(color->GetValue(), QStringLiteral("clTransparent"));
    color->SetValue(QStringLiteral("clBtnFace"));
    EXPECT_EQ(color->GetValue(), QStringLiteral("clBtnFace"));
    EXPECT_TRUE(color->GetAttributes() & paOwnerDraw);

    // The colour dialog answers with the colour chosen.
    TRecordingUserInterface ui;
    ui.DialogAnswers.push_back([](QObject *Dialog) {
        qobject_cast<QColorDialog *>(Dialog)->setCurrentColor(QColor(1, 2, 3));
        return 1;
    });
    EXPECT_TRUE(color->Edit());
    EXPECT_EQ(memo->Frame()->Color(), 1 | (2 << 8) | (3 << 16));
    EXPECT_FALSE(color->Edit()); // cancelled
    EXPECT_EQ(memo->Frame()->Color(), 1 | (2 << 8) | (3 << 16));

    const auto cursor = editorOf(memo, QStringLiteral("Cursor"), cert.Designer.get());
    cursor->SetValue(QStringLiteral("crHandPoint"));
    EXPECT_EQ(memo->Cursor(), -21);
    EXPECT_EQ(cursor->GetValue(), QStringLiteral("crHandPoint"));
    cursor->SetValue(QStringLiteral("5"));
    EXPECT_EQ(cursor->GetValue(), QStringLiteral("5"));
}

TEST(PropertyEditorBasic, ShortcutsAndModalResultsAsTheirTexts)
{
    EXPECT_EQ(rudShortCutToText(0x4000 | 'S'), QStringLiteral("Ctrl+S"));
    EXPECT_EQ(rudShortCutToText(0x2000 | 0x4000 | 0x74), QStringLiteral("Shift+Ctrl+F5"));
    EXPECT_EQ(rudShortCutToText(0x8000 | 0x08), QStringLiteral("Alt+BkSp"));
    EXPECT_EQ(rudTextToShortCut(QStringLiteral("ctrl+shift+f5")), 0x2000 | 0x4000 | 0x74);
    EXPECT_EQ(rudTextToShortCut(QStringLiteral("Del")), 0x2E);
    EXPECT_EQ(rudTextToShortCut(QStringLiteral("Hyper+X")), 0);
    EXPECT_EQ(rudTextToShortCut(QStringLiteral("Ctrl+")), 0);
    for (int shortcut : {0x4000 | 'A', 0x2000 | 0x2D, 0x70, 0x2000 | 0x8000 | 0x08})
        EXPECT_EQ(rudTextToShortCut(rudShortCutToText(shortcut)), shortcut);
}

TEST(PropertyEditorBasic, ReferencesAndNames)
{
    rudRegisterDesignerEditors();
    TCertificate cert;
    TfrxMemoView *m1 = cert.Memo(1);
    const auto flow = editorOf(m1, QStringLiteral("FlowTo"), cert.Designer.get());
    ASSERT_TRUE(dynamic_cast<TfrxComponentProperty *>(flow.get()));
    const QStringList candidates = flow->ValueList();
    EXPECT_TRUE(candidates.contains(QStringLiteral("Memo2")));
    EXPECT_FALSE(candidates.contains(QStringLiteral("Memo1")));
    EXPECT_FALSE(candidates.contains(QStringLiteral("Page1")));
    flow->SetValue(QStringLiteral("memo2"));
    EXPECT_EQ(m1->FlowTo(), cert.Memo(2));
    EXPECT_EQ(flow->GetValue(), QStringLiteral("Memo2"));
    EXPECT_EQ(errorOf([&] { flow->SetValue(QStringLiteral("Nobody")); }), QStringLiteral("Invalid property value"));
    EXPECT_EQ(errorOf([&] { flow->SetValue(QStringLiteral("Page1")); }), QStringLiteral("Invalid property value"));
    flow->SetValue(QString());
    EXPECT_FALSE(m1->FlowTo());

    const auto name = editorOf(m1, QStringLiteral("Name"), cert.Designer.get());
    EXPECT_EQ(name->GetAttributes(), TfrxPropertyAttributes());
    EXPECT_EQ(errorOf([&] { name->SetValue(QStringLiteral("Memo2")); }), QStringLiteral("Duplicate name"));
    name->SetValue(QStringLiteral("SchoolName"));
    EXPECT_EQ(cert.Report.FindObject(QStringLiteral("SchoolName")), m1);
}

TEST(PropertyEditorBasic, TheFontDialogGivesEveryObjectTheChosenFont)
{
    rudRegisterDesignerEditors();
    TCertificate cert;
    TfrxMemoView *m1 = cert.Memo(1);
    TfrxMemoView *m2 = cert.Memo(13);
    const auto list = rudCreatePropertyList(QList<TfrxComponent *>{m1, m2}, cert.Designer.get());
    TfrxPropertyEditor *font = findItem(list.get(), QStringLiteral("Font"))->Editor.get();
    EXPECT_TRUE(font->GetAttributes() & paDialog);
    TRecordingUserInterface ui;
    QFont answered;
    ui.DialogAnswers.push_back([](QObject *) { return 1; });
    ui.DialogAnswers.push_back([&](QObject *Dialog) {
        // The dialog offers the installed fonts; the test picks another one
        // with a bold face.
        auto *dialog = qobject_cast<QFontDialog *>(Dialog);
        for (const QString &family : QFontDatabase::families())
            if (family != dialog->currentFont().family() &&
                QFontDatabase::styles(family).contains(QStringLiteral("Bold"))) {
                QFont chosen(family);
                chosen.setPointSize(14);
                chosen.setBold(true);
                dialog->setCurrentFont(chosen);
                break;
            }
        answered = dialog->currentFont();
        return 1;
    });
    // OK on the font as shown keeps a template font the dialog may not list.
    EXPECT_TRUE(font->Edit());
    EXPECT_EQ(m1->Font()->Name(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(m1->Font()->Height(), -11);
    EXPECT_EQ(m1->Font()->Style(), TFontStyles(fsItalic));
    EXPECT_TRUE(font->Edit());
    ASSERT_TRUE(answered.bold());
    for (TfrxMemoView *memo : {m1, m2}) {
        EXPECT_EQ(memo->Font()->Name(), answered.family());
        EXPECT_EQ(memo->Font()->Size(), answered.pointSize());
        EXPECT_EQ(memo->Font()->Style(), TFontStyles(fsBold));
        EXPECT_EQ(memo->Font()->Charset(), RUSSIAN_CHARSET); // not a choice of the dialog
    }
}

namespace {

// A record with a character property (the report objects have none).
class TCharHolder : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(QChar Delimiter READ Delimiter WRITE SetDelimiter)
public:
    QChar Delimiter() const { return FDelimiter; }
    void SetDelimiter(QChar Value) { FDelimiter = Value; }

private:
    QChar FDelimiter = QLatin1Char(';');
};

} // namespace

TEST(PropertyEditorBasic, CharactersAndDatesAsText)
{
    TCharHolder holder;
    const auto delimiter = editorOf(&holder, QStringLiteral("Delimiter"), nullptr);
    ASSERT_TRUE(dynamic_cast<TfrxCharProperty *>(delimiter.get()));
    EXPECT_EQ(delimiter->GetValue(), QStringLiteral(";"));
    delimiter->SetValue(QStringLiteral("#9"));
    EXPECT_EQ(holder.Delimiter(), QLatin1Char('\t'));
    EXPECT_EQ(delimiter->GetValue(), QStringLiteral("#9"));
    delimiter->SetValue(QStringLiteral("Ж"));
    EXPECT_EQ(delimiter->GetValue(), QStringLiteral("Ж"));
    delimiter->SetValue(QString());
    EXPECT_EQ(delimiter->GetValue(), QStringLiteral("#0"));
    EXPECT_EQ(errorOf([&] { delimiter->SetValue(QStringLiteral("ab")); }), QStringLiteral("Invalid property value"));
    EXPECT_EQ(errorOf([&] { delimiter->SetValue(QStringLiteral("#x")); }), QStringLiteral("Invalid property value"));

    const TFormatSettingsScope russian(russianFormatSettings());
    TfrxReportOptions options;
    TfrxDateTimeProperty created(nullptr);
    created.AddObject(&options, rudFindProp(&options, QStringLiteral("CreateDate")));
    created.SetValue(QString());
    EXPECT_EQ(options.CreateDate(), 0);
    EXPECT_EQ(created.GetValue(), QString());
    created.SetValue(QStringLiteral("02.01.2020"));
    EXPECT_EQ(created.GetValue(), QStringLiteral("02.01.2020"));
    EXPECT_FALSE(errorOf([&] { created.SetValue(QStringLiteral("tomorrow")); }).isEmpty());
}

#include "PropertyEditorTest.moc"
