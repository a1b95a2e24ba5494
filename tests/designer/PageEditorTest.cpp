// The page options window on the certificate template's A5 page, answered
// through the user-interface seam, with the virtual printer as the printer.

#include "DesignerServices.h"
#include "base/Errors.h"
#include "base/FormatSettings.h"
#include "designer/rudCustomDesigner.h"
#include "designer/rudDesgnSettings.h"
#include "designer/rudEditPage.h"
#include "designer/rudPageMemoEditors.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudSubreport.h"
#include "report/render/rudPrinter.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

// The designer window as the page options see it.
class TStandInDesigner : public TfrxCustomDesigner {
public:
    using TfrxCustomDesigner::TfrxCustomDesigner;
};

// Only the virtual printer, whatever queues the machine has.
class VirtualPrinterOnly {
public:
    VirtualPrinterOnly()
    {
        std::vector<std::unique_ptr<TfrxCustomPrinter>> list;
        list.push_back(std::make_unique<TfrxVirtualPrinter>());
        rudPrinters().SetPrinters(std::move(list), false);
    }
    ~VirtualPrinterOnly() { rudPrinters().FillPrinters(); }
};

QByteArray templateText(TfrxReport &Report)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Report.SaveToStream(&buffer);
    return buffer.data();
}

template <class T> T *control(QObject *Dialog, const char *Name)
{
    T *found = Dialog->findChild<T *>(QString::fromLatin1(Name));
    EXPECT_NE(found, nullptr) << Name;
    return found;
}

QString text(QObject *Dialog, const char *Name) { return control<QLineEdit>(Dialog, Name)->text(); }

void setText(QObject *Dialog, const char *Name, const QString &Value)
{
    control<QLineEdit>(Dialog, Name)->setText(Value);
}

int accept(QObject *Dialog)
{
    auto *dialog = qobject_cast<QDialog *>(Dialog);
    dialog->accept();
    return dialog->result();
}

// The certificate template loaded, its page, and a designer on it.
class PageEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Report.LoadFromFile(sourceDir() + QStringLiteral("/resources/shablon.fr3")));
        Page = qobject_cast<TfrxReportPage *>(Report.FindObject(QStringLiteral("Page1")));
        ASSERT_NE(Page, nullptr);
        Designer.SetPage(Page);
    }

    // Runs the window on the page, answering it with Answer.
    bool Run(std::function<int(QObject *)> Answer)
    {
        Ui.DialogAnswers.push_back(std::move(Answer));
        TfrxPageEditorForm form(&Designer, Page);
        return form.Execute();
    }

    TFormatSettingsScope Settings{englishFormatSettings()};
    VirtualPrinterOnly Printer;
    TRecordingUserInterface Ui;
    TDesignerReport Report;
    TStandInDesigner Designer{&Report};
    TfrxReportPage *Page = nullptr;
};

} // namespace

TEST_F(PageEditor, ShowsTheCertificatePageInTheDesignersUnit)
{
    const QByteArray before = templateText(Report);
    EXPECT_FALSE(Run([](QObject *d) {
        EXPECT_EQ(control<QComboBox>(d, "SizeCB")->currentText(), rudPaperName(11));
        EXPECT_EQ(control<QComboBox>(d, "SizeCB")->itemText(0), "Custom");
        EXPECT_EQ(text(d, "WidthE"), "14.8");
        EXPECT_EQ(text(d, "HeightE"), "21");
        for (const char *margin : {"MarginLeftE", "MarginTopE", "MarginRightE", "MarginBottomE"})
            EXPECT_EQ(text(d, margin), "1") << margin;
        EXPECT_TRUE(control<QRadioButton>(d, "PortraitRB")->isChecked());
        EXPECT_FALSE(control<QLabel>(d, "PortraitImg")->isHidden());
        EXPECT_TRUE(control<QLabel>(d, "LandscapeImg")->isHidden());
        EXPECT_EQ(control<QComboBox>(d, "Tray1CB")->currentText(), "Default");
        EXPECT_EQ(control<QComboBox>(d, "Tray2CB")->currentText(), "Default");
        EXPECT_EQ(text(d, "ColumnsNumberE"), "0");
        EXPECT_TRUE(control<QLineEdit>(d, "ColumnsNumberE")->isReadOnly());
        EXPECT_EQ(control<QComboBox>(d, "DuplexCB")->currentText(), "Default");
        const QList<QLabel *> units = qobject_cast<TfrxPageEditorForm *>(d)->UnitLabels;
        EXPECT_EQ(units.size(), 8);
        for (QLabel *unit : units)
            EXPECT_EQ(unit->text(), "cm");
        // Changes of every kind, then Cancel.
        control<QRadioButton>(d, "LandscapeRB")->setChecked(true);
        setText(d, "MarginLeftE", "2");
        control<QSpinBox>(d, "UpDown1")->setValue(3);
        control<QComboBox>(d, "DuplexCB")->setCurrentIndex(2);
        return 0;
    }));
    EXPECT_EQ(Ui.DialogCaptions, QStringList{"Page Options"});
    EXPECT_EQ(templateText(Report), before);
}

TEST_F(PageEditor, OtherUnitsAndRegionalSettings)
{
    Designer.SetUnits(duInches);
    Run([](QObject *d) {
        EXPECT_EQ(text(d, "WidthE").left(6), "5.8267"); // 148 / 25.4
        EXPECT_EQ(control<QLabel>(d, "UnitL1")->text(), "in");
        return 0;
    });

    // With a decimal comma the fields show commas, and either separator is read.
    TFormatSettingsScope russian(russianFormatSettings());
    Designer.SetUnits(duCM);
    EXPECT_TRUE(Run([](QObject *d) {
        EXPECT_EQ(text(d, "WidthE"), "14,8");
        setText(d, "MarginLeftE", "1,5");
        setText(d, "MarginRightE", "0.5");
        return accept(d);
    }));
    EXPECT_DOUBLE_EQ(Page->LeftMargin(), 15);
    EXPECT_DOUBLE_EQ(Page->RightMargin(), 5);
}

TEST_F(PageEditor, OrientationTurnsStandardAndCustomPaper)
{
    // A5 turned shows the printer's landscape A5, and OK applies it.
    EXPECT_TRUE(Run([](QObject *d) {
        control<QRadioButton>(d, "LandscapeRB")->setChecked(true);
        EXPECT_EQ(text(d, "WidthE"), "21");
        EXPECT_EQ(text(d, "HeightE"), "14.8");
        EXPECT_TRUE(control<QLabel>(d, "PortraitImg")->isHidden());
        EXPECT_FALSE(control<QLabel>(d, "LandscapeImg")->isHidden());
        EXPECT_EQ(control<QComboBox>(d, "SizeCB")->currentText(), rudPaperName(11)); // not switched to custom
        return accept(d);
    }));
    EXPECT_EQ(Page->Orientation(), poLandscape);
    EXPECT_EQ(Page->PaperSize(), 11);
    EXPECT_DOUBLE_EQ(Page->PaperWidth(), 210);
    EXPECT_DOUBLE_EQ(Page->PaperHeight(), 148);
    EXPECT_DOUBLE_EQ(Page->Width(), 794);
    EXPECT_DOUBLE_EQ(Page->Height(), 559);

    // Choosing another paper fills in its size for the orientation chosen.
    Run([](QObject *d) {
        auto *sizes = control<QComboBox>(d, "SizeCB");
        sizes->setCurrentText(rudPaperName(9));
        emit sizes->activated(sizes->currentIndex());
        EXPECT_EQ(text(d, "WidthE"), "29.7");
        EXPECT_EQ(text(d, "HeightE"), "21");
        return 0;
    });

    // A custom sheet swaps its sides on every pass.
    EXPECT_TRUE(Run([](QObject *d) {
        control<QRadioButton>(d, "PortraitRB")->setChecked(true);
        setText(d, "WidthE", "10");
        EXPECT_EQ(control<QComboBox>(d, "SizeCB")->currentIndex(), 0); // typing chose the custom size
        setText(d, "HeightE", "20");
        control<QRadioButton>(d, "LandscapeRB")->setChecked(true);
        EXPECT_EQ(text(d, "WidthE"), "20");
        EXPECT_EQ(text(d, "HeightE"), "10");
        control<QRadioButton>(d, "PortraitRB")->setChecked(true);
        EXPECT_EQ(text(d, "WidthE"), "10");
        EXPECT_EQ(text(d, "HeightE"), "20");
        return accept(d);
    }));
    EXPECT_EQ(Page->Orientation(), poPortrait);
    EXPECT_EQ(Page->PaperSize(), 256);
    EXPECT_DOUBLE_EQ(Page->PaperWidth(), 100);
    EXPECT_DOUBLE_EQ(Page->PaperHeight(), 200);
}

TEST_F(PageEditor, ColumnsSourcesAndSwitches)
{
    Page->SetBin(12345); // unknown to the printer
    EXPECT_TRUE(Run([](QObject *d) {
        EXPECT_EQ(control<QComboBox>(d, "Tray1CB")->currentIndex(), 0);
        control<QSpinBox>(d, "UpDown1")->setValue(2);
        EXPECT_EQ(text(d, "ColumnsNumberE"), "2");
        EXPECT_EQ(text(d, "ColumnWidthE"), "6.4");
        EXPECT_EQ(control<QPlainTextEdit>(d, "ColumnPositionsM")->toPlainText(), "0\n6.4");
        control<QPlainTextEdit>(d, "ColumnPositionsM")->setPlainText("0\n7\n");
        control<QComboBox>(d, "DuplexCB")->setCurrentIndex(int(dmHorizontal));
        for (const char *name : {"PrintOnPrevCB", "MirrorMarginsCB", "EndlessWidthCB", "EndlessHeightCB",
                                 "LargeHeightCB"})
            control<QCheckBox>(d, name)->setChecked(true);
        return accept(d);
    }));
    EXPECT_EQ(Page->Columns(), 2);
    EXPECT_DOUBLE_EQ(Page->ColumnWidth(), 64);
    EXPECT_EQ(Page->ColumnPositions(), (QStringList{"0", "70"}));
    EXPECT_EQ(Page->Bin(), 7);
    EXPECT_EQ(Page->BinOtherPages(), 7);
    EXPECT_EQ(Page->Duplex(), dmHorizontal);
    EXPECT_TRUE(Page->PrintOnPreviousPage() && Page->MirrorMargins() && Page->EndlessWidth() &&
                Page->EndlessHeight() && Page->LargeDesignHeight());

    // Reopened, the columns show in the unit; no columns counts as one.
    Run([](QObject *d) {
        EXPECT_EQ(text(d, "ColumnsNumberE"), "2");
        EXPECT_EQ(control<QPlainTextEdit>(d, "ColumnPositionsM")->toPlainText(), "0\n7");
        control<QSpinBox>(d, "UpDown1")->setValue(0);
        EXPECT_EQ(text(d, "ColumnWidthE"), "12.8");
        EXPECT_EQ(control<QPlainTextEdit>(d, "ColumnPositionsM")->toPlainText(), "0");
        return 0;
    });
}

TEST_F(PageEditor, ANonNumberStopsApplyingAtItsField)
{
    EXPECT_THROW(Run([](QObject *d) {
                     setText(d, "MarginLeftE", "2");
                     setText(d, "MarginTopE", "abc");
                     setText(d, "MarginRightE", "3");
                     control<QSpinBox>(d, "UpDown1")->setValue(2);
                     return accept(d);
                 }),
                 EConvertError);
    EXPECT_DOUBLE_EQ(Page->LeftMargin(), 20);
    EXPECT_DOUBLE_EQ(Page->TopMargin(), 10);
    EXPECT_DOUBLE_EQ(Page->RightMargin(), 10);
    EXPECT_EQ(Page->Columns(), 0);

    // Through the component editor the error is shown, and the page counts as changed.
    Ui.DialogAnswers.push_back([](QObject *d) {
        setText(d, "MarginBottomE", "1 cm");
        return accept(d);
    });
    TfrxPageEditor editor(Page, &Designer);
    EXPECT_TRUE(editor.Edit());
    EXPECT_EQ(Ui.MessageTexts(), QStringList{"'1cm' is not a valid floating point value"});
    EXPECT_EQ(Ui.Messages.back().Caption, "Error");

    // A bad width met while turning the sheet is shown too, not thrown.
    Ui.Messages.clear();
    Run([](QObject *d) {
        control<QComboBox>(d, "SizeCB")->setCurrentIndex(0);
        setText(d, "WidthE", "x");
        control<QRadioButton>(d, "LandscapeRB")->setChecked(true);
        return 0;
    });
    EXPECT_EQ(Ui.MessageTexts(), QStringList{"'x' is not a valid floating point value"});
}

TEST_F(PageEditor, SubreportPagesFollowAndHaveNoEditorOfTheirOwn)
{
    auto *inner = new TfrxReportPage(&Report);
    inner->SetName(QStringLiteral("Page2"));
    auto *subreport = new TfrxSubreport(Page);
    subreport->SetName(QStringLiteral("Subreport1"));
    subreport->SetPage(inner);

    EXPECT_TRUE(Run([](QObject *d) {
        setText(d, "MarginTopE", "2.5");
        return accept(d);
    }));
    EXPECT_DOUBLE_EQ(Page->TopMargin(), 25);
    EXPECT_DOUBLE_EQ(inner->TopMargin(), 25);
    EXPECT_EQ(inner->PaperSize(), 11);
    EXPECT_DOUBLE_EQ(inner->PaperWidth(), 148);

    rudRegisterPageMemoEditors();
    rudRegisterPageMemoEditors();
    EXPECT_NE(dynamic_cast<TfrxPageEditor *>(rudComponentEditorFor(Page, &Designer).get()), nullptr);
    EXPECT_EQ(rudComponentEditorFor(inner, &Designer), nullptr);
    TfrxComponent *dataPage = Report.FindObject(QStringLiteral("Data"));
    ASSERT_NE(dataPage, nullptr);
    EXPECT_EQ(rudComponentEditorFor(dataPage, &Designer), nullptr);

    // Forbidden page options: no window, no change.
    TfrxDesigner settings;
    settings.SetRestrictions(drDontChangePageOptions);
    auto editor = rudComponentEditorFor(Page, &Designer);
    EXPECT_FALSE(editor->HasEditor());
    EXPECT_FALSE(editor->Edit());
    EXPECT_EQ(Ui.DialogCaptions.size(), 1);
}
