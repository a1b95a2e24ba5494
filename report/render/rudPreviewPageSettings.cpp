// The preview's "Page Settings" dialog.

#include "report/render/rudPreviewDialogs.h"
#include "report/render/rudPrinter.h"

#include "base/IniFile.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

// The paper code of a size of the page's own; the size box's first entry.
constexpr int customPaper = 256;

} // namespace

bool rudDesignerUsesInches(const QString &IniFile)
{
    // The designer keeps its settings in the "Form5." section; a store
    // written by an older designer has them in "Form.".
    const TIniFile ini(rudSettingsFileName(IniFile));
    const int units = ini.ReadInteger(QStringLiteral("Form.TfrxDesignerForm"), QStringLiteral("Units"), 0);
    return ini.ReadInteger(QStringLiteral("Form5.TfrxDesignerForm"), QStringLiteral("Units"), units) == 1;
}

TfrxPageSettingsForm::TfrxPageSettingsForm(bool InchUnits, QWidget *Parent) : QDialog(Parent), FInches(InchUnits)
{
    setObjectName(QStringLiteral("PageSettingsForm"));
    setWindowTitle(rudGet(400));
    const QString unit = rudResources().Get(InchUnits ? QStringLiteral("uInch") : QStringLiteral("uCm"));
    auto spin = [&](const char *name) {
        auto *box = new QDoubleSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setDecimals(InchUnits ? 2 : 1);
        box->setRange(0, InchUnits ? 200 : 500);
        box->setSuffix(QLatin1Char(' ') + unit);
        return box;
    };

    auto *layout = new QVBoxLayout(this);
    auto *sizeBox = new QGroupBox(rudGet(403), this);
    auto *sizeLayout = new QFormLayout(sizeBox);
    SizeCB = new QComboBox(sizeBox);
    SizeCB->setObjectName(QStringLiteral("SizeCB"));
    // The current printer's papers, a size of the page's own first.
    SizeCB->addItem(rudGet(412), customPaper);
    int w = 0, h = 0;
    for (const TfrxPrinterListEntry &paper : rudPrinters().Printer()->Papers())
        if (paper.Number != customPaper && rudPaperSize(paper.Number, w, h))
            SizeCB->addItem(paper.Name, paper.Number);
    WidthE = spin("WidthE");
    HeightE = spin("HeightE");
    sizeLayout->addRow(SizeCB);
    sizeLayout->addRow(rudGet(401), WidthE);
    sizeLayout->addRow(rudGet(402), HeightE);
    layout->addWidget(sizeBox);

    auto *orientationBox = new QGroupBox(rudGet(404), this);
    auto *orientationLayout = new QHBoxLayout(orientationBox);
    PortraitRB = new QRadioButton(rudGet(410), orientationBox);
    LandscapeRB = new QRadioButton(rudGet(411), orientationBox);
    orientationLayout->addWidget(PortraitRB);
    orientationLayout->addWidget(LandscapeRB);
    layout->addWidget(orientationBox);

    auto *marginsBox = new QGroupBox(rudGet(409), this);
    auto *marginsLayout = new QFormLayout(marginsBox);
    LeftE = spin("LeftE");
    TopE = spin("TopE");
    RightE = spin("RightE");
    BottomE = spin("BottomE");
    marginsLayout->addRow(rudGet(405), LeftE);
    marginsLayout->addRow(rudGet(406), TopE);
    marginsLayout->addRow(rudGet(407), RightE);
    marginsLayout->addRow(rudGet(408), BottomE);
    layout->addWidget(marginsBox);

    CurrentRB = new QRadioButton(rudGet(413), this);
    AllRB = new QRadioButton(rudGet(414), this);
    CurrentRB->setChecked(true);
    layout->addWidget(CurrentRB);
    layout->addWidget(AllRB);

    layout->addWidget(rudOkCancelButtons(this));

    connect(SizeCB, &QComboBox::activated, this, [this] { PaperChanged(); });
    connect(PortraitRB, &QRadioButton::toggled, this, [this] { OrientationChanged(); });
    // Typing a length of its own makes the paper "Other".
    for (QDoubleSpinBox *box : {WidthE, HeightE})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] {
            if (!FUpdating)
                SizeCB->setCurrentIndex(0);
        });
}

double TfrxPageSettingsForm::ToMM(double Value) const { return FInches ? Value * 25.4 : Value * 10; }
double TfrxPageSettingsForm::FromMM(double MM) const { return FInches ? MM / 25.4 : MM / 10; }

void TfrxPageSettingsForm::SetPage(const TfrxReportPage *Page)
{
    FUpdating = true;
    const int index = SizeCB->findData(Page->PaperSize());
    SizeCB->setCurrentIndex(index < 0 ? 0 : index);
    WidthE->setValue(FromMM(Page->PaperWidth()));
    HeightE->setValue(FromMM(Page->PaperHeight()));
    (Page->Orientation() == poLandscape ? LandscapeRB : PortraitRB)->setChecked(true);
    LeftE->setValue(FromMM(Page->LeftMargin()));
    TopE->setValue(FromMM(Page->TopMargin()));
    RightE->setValue(FromMM(Page->RightMargin()));
    BottomE->setValue(FromMM(Page->BottomMargin()));
    FUpdating = false;
}

void TfrxPageSettingsForm::PaperChanged()
{
    int w = 0, h = 0;
    if (!rudPaperSize(SizeCB->currentData().toInt(), w, h))
        return;
    if (LandscapeRB->isChecked())
        std::swap(w, h);
    FUpdating = true;
    WidthE->setValue(FromMM(w / 10.0));
    HeightE->setValue(FromMM(h / 10.0));
    FUpdating = false;
}

void TfrxPageSettingsForm::OrientationChanged()
{
    if (FUpdating)
        return;
    // Turning the sheet swaps its sides, keeping the chosen paper.
    const bool landscape = LandscapeRB->isChecked();
    const double w = WidthE->value(), h = HeightE->value();
    if ((landscape && w < h) || (!landscape && w > h)) {
        FUpdating = true;
        WidthE->setValue(h);
        HeightE->setValue(w);
        FUpdating = false;
    }
}

void TfrxPageSettingsForm::ApplyTo(TfrxReportPage *Page) const
{
    Page->SetOrientation(LandscapeRB->isChecked() ? poLandscape : poPortrait);
    Page->SetPaperWidth(ToMM(WidthE->value()));
    Page->SetPaperHeight(ToMM(HeightE->value()));
    Page->SetPaperSize(SizeCB->currentData().toInt());
    Page->SetLeftMargin(ToMM(LeftE->value()));
    Page->SetTopMargin(ToMM(TopE->value()));
    Page->SetRightMargin(ToMM(RightE->value()));
    Page->SetBottomMargin(ToMM(BottomE->value()));
}

bool TfrxPageSettingsForm::ApplyToAll() const { return AllRB->isChecked(); }
