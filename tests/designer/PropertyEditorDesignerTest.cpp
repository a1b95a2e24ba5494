// The designer's property editors on the certificate template: lengths in
// the designer's unit, paper sizes and names, Booleans, events, the record,
// picture, text and memo windows.

#include "DesignerTestSupport.h"

#include "base/FormatSettings.h"
#include "designer/rudComponentEditors.h"
#include "designer/rudDesgnEditorDialogs.h"
#include "designer/rudDesgnEditors.h"
#include "report/model/rudFill.h"
#include "report/model/rudPicture.h"
#include "report/render/rudPrinter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

std::unique_ptr<TfrxPropertyEditor> editorOf(QObject *Obj, const QString &Name, TfrxCustomDesigner *Designer)
{
    rudRegisterDesignerEditors();
    const TfrxPropInfo *prop = rudFindProp(Obj, Name);
    EXPECT_TRUE(prop) << Name.toStdString();
    return prop ? rudCreatePropertyEditor(Obj, *prop, Designer) : nullptr;
}

} // namespace

TEST(PropertyEditorDesigner, PositionsInCentimetresShowTwoDecimalsUnlessWhole)
{
    TCertificate cert;
    cert.Designer->SetUnits(duCM);
    const auto left1 = editorOf(cert.Memo(1), QStringLiteral("Left"), cert.Designer.get());
    const auto left13 = editorOf(cert.Memo(13), QStringLiteral("Left"), cert.Designer.get());
    ASSERT_TRUE(dynamic_cast<TfrxPositionXProperty *>(left1.get()));
    EXPECT_EQ(left1->GetValue(), QStringLiteral("0.10"));
    EXPECT_EQ(left13->GetValue(), QStringLiteral("9.30"));
    cert.Memo(1)->SetLeft(96);
    EXPECT_EQ(left1->GetValue(), QStringLiteral("2.54"));
    cert.Memo(1)->SetLeft(0);
    EXPECT_EQ(left1->GetValue(), QStringLiteral("0"));
    cert.Memo(1)->SetLeft(192);
    EXPECT_EQ(left1->GetValue(), QStringLiteral("5.08"));
    left1->SetValue(QStringLiteral("2.5"));
    EXPECT_DOUBLE_EQ(cert.Memo(1)->Left(), 2.5 * 96 / 2.54);

    // With a comma as the decimal separator, both separators are read.
    const TFormatSettingsScope russian(russianFormatSettings());
    EXPECT_EQ(left13->GetValue(), QStringLiteral("9,30"));
    left1->SetValue(QStringLiteral("1,25"));
    EXPECT_DOUBLE_EQ(cert.Memo(1)->Left(), 1.25 * 96 / 2.54);
    left1->SetValue(QStringLiteral("1.5"));
    EXPECT_DOUBLE_EQ(cert.Memo(1)->Left(), 1.5 * 96 / 2.54);
    EXPECT_FALSE(errorOf([&] { left1->SetValue(QStringLiteral("one")); }).isEmpty());
    EXPECT_DOUBLE_EQ(cert.Memo(1)->Left(), 1.5 * 96 / 2.54);
}

TEST(PropertyEditorDesigner, PositionsInTheOtherUnits)
{
    TCertificate cert;
    TfrxMemoView *memo = cert.Memo(1);
    memo->SetBounds(96, 34, 48, 17);
    const auto left = editorOf(memo, QStringLiteral("Left"), cert.Designer.get());
    const auto top = editorOf(memo, QStringLiteral("Top"), cert.Designer.get());
    const auto width = editorOf(memo, QStringLiteral("Width"), cert.Designer.get());
    const auto height = editorOf(memo, QStringLiteral("Height"), cert.Designer.get());

    cert.Designer->SetUnits(duInches);
    EXPECT_EQ(left->GetValue(), QStringLiteral("1"));
    EXPECT_EQ(width->GetValue(), QStringLiteral("0.50"));
    top->SetValue(QStringLiteral("0.25"));
    EXPECT_DOUBLE_EQ(memo->Top(), 24);

    cert.Designer->SetUnits(duPixels);
    EXPECT_EQ(left->GetValue(), QStringLiteral("96"));
    EXPECT_EQ(top->GetValue(), QStringLiteral("24"));

    // Characters: 9.6 pixels across, 17 down.
    cert.Designer->SetUnits(duChars);
    EXPECT_EQ(left->GetValue(), QStringLiteral("10"));
    EXPECT_EQ(width->GetValue(), QStringLiteral("5"));
    EXPECT_EQ(height->GetValue(), QStringLiteral("1"));
    left->SetValue(QStringLiteral("3"));
    top->SetValue(QStringLiteral("3"));
    EXPECT_DOUBLE_EQ(memo->Left(), 28.8);
    EXPECT_DOUBLE_EQ(memo->Top(), 51);
}

TEST(PropertyEditorDesigner, PaperSizesInTheDesignersUnit)
{
    TCertificate cert;
    const auto width = editorOf(cert.Page, QStringLiteral("PaperWidth"), cert.Designer.get());
    const auto height = editorOf(cert.Page, QStringLiteral("PaperHeight"), cert.Designer.get());
    const auto margin = editorOf(cert.Page, QStringLiteral("LeftMargin"), cert.Designer.get());
    ASSERT_TRUE(dynamic_cast<TfrxPaperXProperty *>(width.get()));
    cert.Designer->SetUnits(duPixels);
    EXPECT_EQ(width->GetValue(), QStringLiteral("559.37"));
    cert.Designer->SetUnits(duCM);
    EXPECT_EQ(width->GetValue(), QStringLiteral("14.8"));
    EXPECT_EQ(height->GetValue(), QStringLiteral("21"));
    EXPECT_EQ(margin->GetValue(), QStringLiteral("1"));
    cert.Designer->SetUnits(duInches);
    EXPECT_EQ(width->GetValue(), QStringLiteral("5.83"));
    margin->SetValue(QStringLiteral("0.5"));
    EXPECT_DOUBLE_EQ(cert.Page->LeftMargin(), 12.7);
    cert.Designer->SetUnits(duCM);
    width->SetValue(QStringLiteral("15"));
    EXPECT_DOUBLE_EQ(cert.Page->PaperWidth(), 150);
    cert.Designer->SetUnits(duChars);
    EXPECT_EQ(width->GetValue(), QStringLiteral("59.06"));
    height->SetValue(QStringLiteral("10"));
    EXPECT_NEAR(cert.Page->PaperHeight(), 10 * 17 * 25.4 / 96, 1e-6);
}

TEST(PropertyEditorDesigner, PaperNamesOfThePrinter)
{
    rudPrinters().SetPrinters({}, false); // the virtual printer knows every paper of the table
    TCertificate cert;
    const auto paper = editorOf(cert.Page, QStringLiteral("PaperSize"), cert.Designer.get());
    ASSERT_TRUE(dynamic_cast<TfrxPaperNameProperty *>(paper.get()));
    EXPECT_EQ(paper->GetAttributes(), TfrxPropertyAttributes(paValueList));
    EXPECT_EQ(paper->GetValue(), rudPaperName(11));
    EXPECT_TRUE(paper->ValueList().contains(rudPaperName(9)));
    paper->SetValue(rudPaperName(9));
    EXPECT_EQ(cert.Page->PaperSize(), 9);
    EXPECT_DOUBLE_EQ(cert.Page->PaperWidth(), 210);
    EXPECT_EQ(errorOf([&] { paper->SetValue(QStringLiteral("Napkin")); }), QStringLiteral("Invalid property value"));
    cert.Page->SetPaperWidth(123); // a size of its own
    EXPECT_EQ(paper->GetValue(), QStringLiteral("Custom"));

    const auto sheet = editorOf(cert.Report.PrintOptions(), QStringLiteral("PrintOnSheet"), cert.Designer.get());
    EXPECT_TRUE(dynamic_cast<TfrxPaperNameProperty *>(sheet.get()));
    const auto printer = editorOf(cert.Report.PrintOptions(), QStringLiteral("Printer"), cert.Designer.get());
    EXPECT_EQ(printer->ValueList().first(), QStringLiteral("Default"));
}

TEST(PropertyEditorDesigner, BooleansToggleAndEventsListTheFittingProcedures)
{
    TCertificate cert;
    TfrxMemoView *memo = cert.Memo(1);
    const auto wrap = editorOf(memo, QStringLiteral("WordWrap"), cert.Designer.get());
    ASSERT_TRUE(dynamic_cast<TfrxBooleanProperty *>(wrap.get()));
    EXPECT_EQ(wrap->GetAttributes(), paValueList | paMultiSelect | paOwnerDraw);
    EXPECT_EQ(wrap->ValueList(), (QStringList{"False", "True"}));
    const bool before = memo->WordWrap();
    EXPECT_TRUE(wrap->Edit());
    EXPECT_EQ(memo->WordWrap(), !before);
    wrap->SetValue(QStringLiteral("true"));
    EXPECT_TRUE(memo->WordWrap());
    EXPECT_EQ(errorOf([&] { wrap->SetValue(QStringLiteral("maybe")); }), QStringLiteral("Invalid property value"));

    cert.Report.SetScriptText({QStringLiteral("procedure Memo1OnBeforePrint(Sender: TfrxComponent);"),
                               QStringLiteral("begin end;"),
                               QStringLiteral("procedure Helper(A, B: Integer); begin end;"),
                               QStringLiteral("PROCEDURE PageStart ( sender : tfrxcomponent ) ;"),
                               QStringLiteral("begin end;"), QStringLiteral("begin end.")});
    const auto event = editorOf(memo, QStringLiteral("OnBeforePrint"), cert.Designer.get());
    ASSERT_TRUE(dynamic_cast<TfrxEventProperty *>(event.get()));
    EXPECT_EQ(event->ValueList(), (QStringList{"Memo1OnBeforePrint", "PageStart"}));
    event->SetValue(QStringLiteral("Memo1OnBeforePrint"));
    EXPECT_EQ(memo->OnBeforePrint(), QStringLiteral("Memo1OnBeforePrint"));
    EXPECT_EQ(errorOf([&] { event->SetValue(QStringLiteral("two words")); }),
              QStringLiteral("Invalid property value"));
    event->SetValue(QString());
    EXPECT_TRUE(memo->OnBeforePrint().isEmpty());
}

TEST(PropertyEditorDesigner, FrameAndFillWindowsWriteEverySelectedObject)
{
    TCertificate cert;
    TfrxMemoView *m1 = cert.Memo(1);
    TfrxMemoView *m2 = cert.Memo(2);
    rudRegisterDesignerEditors();
    const auto list = rudCreatePropertyList(QList<TfrxComponent *>{m1, m2}, cert.Designer.get());
    TfrxPropertyEditor *frame = findItem(list.get(), QStringLiteral("Frame"))->Editor.get();
    ASSERT_TRUE(dynamic_cast<TfrxFrameProperty *>(frame));
    EXPECT_TRUE(frame->GetAttributes() & paDialog);

    TRecordingUserInterface ui;
    ui.DialogAnswers.push_back([](QObject *Dialog) {
        auto *dialog = qobject_cast<QDialog *>(Dialog);
        dialog->findChild<QCheckBox *>(QStringLiteral("ftLeft"))->setChecked(true);
        dialog->findChild<QCheckBox *>(QStringLiteral("ftBottom"))->setChecked(true);
        dialog->findChild<QLineEdit *>(QStringLiteral("Width"))->setText(QStringLiteral("2.5"));
        dialog->findChild<QComboBox *>(QStringLiteral("Style"))->setCurrentText(QStringLiteral("fsDot"));
        return 1;
    });
    EXPECT_TRUE(frame->Edit());
    for (TfrxMemoView *memo : {m1, m2}) {
        EXPECT_EQ(memo->Frame()->Typ(), TfrxFrameTypes(ftLeft | ftBottom));
        EXPECT_EQ(memo->Frame()->Width(), 2.5);
        EXPECT_EQ(memo->Frame()->Style(), fsDot);
    }

    // A cancelled window changes nothing; a wrong value is reported.
    ui.DialogAnswers.push_back([](QObject *) { return 0; });
    EXPECT_FALSE(frame->Edit());
    ui.DialogAnswers.push_back([](QObject *Dialog) {
        Dialog->findChild<QLineEdit *>(QStringLiteral("Width"))->setText(QStringLiteral("wide"));
        return 1;
    });
    EXPECT_FALSE(errorOf([&] { frame->Edit(); }).isEmpty());
    EXPECT_EQ(m1->Frame()->Width(), 2.5);

    // The fill window can change the kind of fill.
    TfrxPropertyEditor *fill = findItem(list.get(), QStringLiteral("Fill"))->Editor.get();
    ui.DialogAnswers.push_back([](QObject *Dialog) {
        auto *kind = Dialog->findChild<QComboBox *>(QStringLiteral("KindCB"));
        EXPECT_EQ(kind->currentText(), QStringLiteral("ftBrush"));
        kind->setCurrentText(QStringLiteral("ftGradient"));
        Dialog->findChild<QComboBox *>(QStringLiteral("StartColor"))->setCurrentText(QStringLiteral("clRed"));
        return 1;
    });
    EXPECT_TRUE(fill->Edit());
    for (TfrxMemoView *memo : {m1, m2}) {
        ASSERT_EQ(memo->FillType(), ftGradient);
        EXPECT_EQ(static_cast<TfrxGradientFill *>(memo->Fill())->StartColor(), clRed);
    }
}

TEST(PropertyEditorDesigner, AScanOfTheBlankBecomesThePagesBackPicture)
{
    TCertificate cert;
    QImage scan(40, 30, QImage::Format_RGB32);
    scan.fill(Qt::darkCyan);
    const QString file = cert.Folder.filePath(QStringLiteral("blank.png"));
    ASSERT_TRUE(scan.save(file));
    const QString junk = cert.Folder.filePath(QStringLiteral("junk.png"));
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }

    const auto picture = editorOf(cert.Page, QStringLiteral("BackPicture"), cert.Designer.get());
    ASSERT_TRUE(dynamic_cast<TfrxPictureProperty *>(picture.get()));
    EXPECT_EQ(picture->GetValue(), QStringLiteral("(None)"));
    TRecordingUserInterface ui;
    // A file that is no picture is reported and changes nothing.
    ui.FileAnswers.push_back(TFileDialogResult{junk, 1});
    ui.FileAnswers.push_back(TFileDialogResult{file, 1});
    ui.DialogAnswers.push_back([](QObject *Dialog) {
        auto *load = Dialog->findChild<QPushButton *>(QStringLiteral("LoadB"));
        load->click();
        EXPECT_FALSE(static_cast<TfrxPictureDialog *>(Dialog)->Picture()->HasImage());
        load->click();
        return 1;
    });
    EXPECT_TRUE(picture->Edit());
    EXPECT_EQ(ui.MessageTexts().size(), 1);
    EXPECT_EQ(ui.Messages.at(0).Caption, QStringLiteral("Error"));
    ASSERT_TRUE(cert.Page->BackPicture()->HasImage());
    EXPECT_EQ(cert.Page->BackPicture()->Width(), 40);
    EXPECT_EQ(cert.Page->BackPicture()->Height(), 30);
    EXPECT_EQ(picture->GetValue(), QStringLiteral("(Picture)"));

    // Clearing in the window clears the page's picture.
    ui.DialogAnswers.push_back([](QObject *Dialog) {
        Dialog->findChild<QPushButton *>(QStringLiteral("ClearB"))->click();
        return 1;
    });
    EXPECT_TRUE(picture->Edit());
    EXPECT_FALSE(cert.Page->BackPicture()->HasImage());
}

TEST(PropertyEditorDesigner, StringListsInATextWindow)
{
    TCertificate cert;
    TfrxReportOptions *options = cert.Report.ReportOptions();
    const auto description = editorOf(options, QStringLiteral("Description"), cert.Designer.get());
    ASSERT_TRUE(dynamic_cast<TfrxStringsProperty *>(description.get()));
    EXPECT_EQ(description->GetAttributes(), paDialog | paReadOnly);
    EXPECT_EQ(description->GetValue(), QStringLiteral("(TStrings)"));
    TRecordingUserInterface ui;
    ui.DialogAnswers.push_back([](QObject *Dialog) {
        auto *text = Dialog->findChild<QPlainTextEdit *>(QStringLiteral("TextM"));
        EXPECT_TRUE(text->toPlainText().startsWith(QStringLiteral("Модуль")));
        text->setPlainText(QStringLiteral("first\nsecond"));
        return 1;
    });
    EXPECT_TRUE(description->Edit());
    EXPECT_EQ(options->Description(), (QStringList{"first", "second"}));
}

namespace {

// A memo class of its own, so that the test's memo editor stays its own.
class TTestMemo : public TfrxMemoView {
    Q_OBJECT
public:
    using TfrxMemoView::TfrxMemoView;
};

class TRecordingMemoEditor : public TfrxComponentEditor {
public:
    using TfrxComponentEditor::TfrxComponentEditor;
    bool Edit() override
    {
        static_cast<TfrxMemoView *>(Component())->SetText(QStringLiteral("edited"));
        ++Calls;
        return true;
    }
    static inline int Calls = 0;
};

} // namespace

TEST(PropertyEditorDesigner, TheMemoTextOpensTheMemosOwnEditor)
{
    TCertificate cert;
    auto *memo = new TTestMemo(cert.Page);
    rudRegisterComponentEditor(&TTestMemo::staticMetaObject, [](TfrxComponent *Component, TfrxCustomDesigner *Designer) {
        return std::make_unique<TRecordingMemoEditor>(Component, Designer);
    });
    const auto text = editorOf(memo, QStringLiteral("Memo"), cert.Designer.get());
    ASSERT_TRUE(dynamic_cast<TfrxMemoProperty *>(text.get()));
    EXPECT_TRUE(text->Edit());
    EXPECT_EQ(TRecordingMemoEditor::Calls, 1);
    EXPECT_EQ(memo->Text(), QStringLiteral("edited\r\n"));
}

#include "PropertyEditorDesignerTest.moc"
