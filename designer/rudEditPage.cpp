// The page options editor window: paper, orientation, margins, source,
// columns and page switches in the designer's unit.

#include "designer/rudEditPage.h"

#include "base/Errors.h"
#include "base/NumberFormat.h"
#include "base/UserInterface.h"
#include "designer/rudCustomDesigner.h"
#include "designer/rudDesgnSettings.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "report/model/rudSubreport.h"
#include "report/model/rudXMLSerializer.h"
#include "report/render/rudPreviewDialogs.h"
#include "report/render/rudPrinter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Most columns the up-down control offers.
constexpr int maxColumns = 100;

// A sheet of paper drawn upright or turned, with a few text lines on it,
// for the orientation group.
QPixmap sheetPicture(bool Landscape)
{
    const int w = Landscape ? 44 : 32, h = Landscape ? 32 : 44;
    QPixmap pixmap(46, 46);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QRect sheet((46 - w) / 2, (46 - h) / 2, w - 1, h - 1);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(sheet);
    painter.setPen(QColor(0, 0, 128));
    for (int y = sheet.top() + 5; y < sheet.bottom() - 3; y += 4)
        painter.drawLine(sheet.left() + 4, y, sheet.right() - 4, y);
    return pixmap;
}

QCheckBox *checkBox(int TextId, const char *Name, QWidget *Parent)
{
    auto *box = new QCheckBox(rudGet(TextId), Parent);
    box->setObjectName(QLatin1String(Name));
    return box;
}

QComboBox *dropDownList(const char *Name, QWidget *Parent)
{
    auto *box = new QComboBox(Parent);
    box->setObjectName(QLatin1String(Name));
    box->setEditable(false);
    return box;
}

} // namespace

TfrxPageEditorForm::TfrxPageEditorForm(TfrxCustomDesigner *Designer, TfrxReportPage *Page)
    : QDialog(Designer), FDesigner(Designer), FPage(Page)
{
    setObjectName(QStringLiteral("TfrxPageEditorForm"));
    setWindowTitle(rudGet(2700));

    auto *layout = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl1"));
    auto *paperTab = new QWidget(PageControl);
    paperTab->setObjectName(QStringLiteral("TabSheet1"));
    auto *optionsTab = new QWidget(PageControl);
    optionsTab->setObjectName(QStringLiteral("TabSheet3"));
    PageControl->addTab(paperTab, rudGet(2701));
    PageControl->addTab(optionsTab, rudGet(2716));
    layout->addWidget(PageControl);
    BuildPaperTab(paperTab);
    BuildOptionsTab(optionsTab);

    QDialogButtonBox *buttons = rudOkCancelButtons(this);
    OkB = buttons->findChild<QPushButton *>(QStringLiteral("OkB"));
    CancelB = buttons->findChild<QPushButton *>(QStringLiteral("CancelB"));
    layout->addWidget(buttons);

    connect(SizeCB, &QComboBox::activated, this, [this] { Guarded([this] { PaperChanged(); }); });
    connect(LandscapeRB, &QRadioButton::toggled, this, [this] { Guarded([this] { OrientationClick(); }); });
    for (QLineEdit *edit : {WidthE, HeightE})
        connect(edit, &QLineEdit::textChanged, this, [this] { SizeTyped(); });
    connect(UpDown1, &QSpinBox::valueChanged, this,
            [this](int Value) { Guarded([this, Value] { ColumnsChanged(Value); }); });

    FormShow();
}

TfrxPageEditorForm::~TfrxPageEditorForm() = default;

QLineEdit *TfrxPageEditorForm::LengthEdit(const char *Name, QWidget *Parent)
{
    auto *edit = new QLineEdit(Parent);
    edit->setObjectName(QLatin1String(Name));
    return edit;
}

void TfrxPageEditorForm::BuildPaperTab(QWidget *Tab)
{
    auto *layout = new QGridLayout(Tab);
    // Adds "caption [edit] unit" to a grid row.
    auto addLength = [this](QGridLayout *Grid, int Row, int TextId, QLineEdit *Edit) {
        auto *caption = new QLabel(rudGet(TextId), Edit->parentWidget());
        caption->setBuddy(Edit);
        auto *unit = new QLabel(FDesigner->UnitsName(), Edit->parentWidget());
        unit->setObjectName(QStringLiteral("UnitL%1").arg(UnitLabels.size() + 1));
        UnitLabels << unit;
        Grid->addWidget(caption, Row, 0);
        Grid->addWidget(Edit, Row, 1);
        Grid->addWidget(unit, Row, 2);
    };

    auto *sizeBox = new QGroupBox(rudGet(2704), Tab);
    auto *sizeGrid = new QGridLayout(sizeBox);
    SizeCB = dropDownList("SizeCB", sizeBox);
    WidthE = LengthEdit("WidthE", sizeBox);
    HeightE = LengthEdit("HeightE", sizeBox);
    sizeGrid->addWidget(SizeCB, 0, 0, 1, 3);
    addLength(sizeGrid, 1, 2702, WidthE);
    addLength(sizeGrid, 2, 2703, HeightE);
    layout->addWidget(sizeBox, 0, 0);

    auto *orientationBox = new QGroupBox(rudGet(2705), Tab);
    auto *orientationGrid = new QGridLayout(orientationBox);
    PortraitRB = new QRadioButton(rudGet(2714), orientationBox);
    PortraitRB->setObjectName(QStringLiteral("PortraitRB"));
    LandscapeRB = new QRadioButton(rudGet(2715), orientationBox);
    LandscapeRB->setObjectName(QStringLiteral("LandscapeRB"));
    PortraitImg = new QLabel(orientationBox);
    PortraitImg->setObjectName(QStringLiteral("PortraitImg"));
    PortraitImg->setPixmap(sheetPicture(false));
    LandscapeImg = new QLabel(orientationBox);
    LandscapeImg->setObjectName(QStringLiteral("LandscapeImg"));
    LandscapeImg->setPixmap(sheetPicture(true));
    orientationGrid->addWidget(PortraitRB, 0, 0);
    orientationGrid->addWidget(LandscapeRB, 1, 0);
    // Both pictures share one place; only the checked one is visible.
    orientationGrid->addWidget(PortraitImg, 0, 1, 2, 1);
    orientationGrid->addWidget(LandscapeImg, 0, 1, 2, 1);
    layout->addWidget(orientationBox, 0, 1);

    auto *marginsBox = new QGroupBox(rudGet(2710), Tab);
    auto *marginsGrid = new QGridLayout(marginsBox);
    MarginLeftE = LengthEdit("MarginLeftE", marginsBox);
    MarginTopE = LengthEdit("MarginTopE", marginsBox);
    MarginRightE = LengthEdit("MarginRightE", marginsBox);
    MarginBottomE = LengthEdit("MarginBottomE", marginsBox);
    addLength(marginsGrid, 0, 2706, MarginLeftE);
    addLength(marginsGrid, 1, 2707, MarginTopE);
    addLength(marginsGrid, 2, 2708, MarginRightE);
    addLength(marginsGrid, 3, 2709, MarginBottomE);
    layout->addWidget(marginsBox, 1, 0);

    auto *sourceBox = new QGroupBox(rudGet(2711), Tab);
    auto *sourceGrid = new QGridLayout(sourceBox);
    Tray1CB = dropDownList("Tray1CB", sourceBox);
    Tray2CB = dropDownList("Tray2CB", sourceBox);
    sourceGrid->addWidget(new QLabel(rudGet(2712), sourceBox), 0, 0);
    sourceGrid->addWidget(Tray1CB, 1, 0);
    sourceGrid->addWidget(new QLabel(rudGet(2713), sourceBox), 2, 0);
    sourceGrid->addWidget(Tray2CB, 3, 0);
    layout->addWidget(sourceBox, 1, 1);
}

void TfrxPageEditorForm::BuildOptionsTab(QWidget *Tab)
{
    auto *layout = new QVBoxLayout(Tab);

    auto *columnsBox = new QGroupBox(rudGet(2717), Tab);
    auto *grid = new QGridLayout(columnsBox);
    UpDown1 = new QSpinBox(columnsBox);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(0, maxColumns);
    // The number is changed with the arrows only.
    ColumnsNumberE = UpDown1->findChild<QLineEdit *>();
    ColumnsNumberE->setObjectName(QStringLiteral("ColumnsNumberE"));
    ColumnsNumberE->setReadOnly(true);
    ColumnWidthE = LengthEdit("ColumnWidthE", columnsBox);
    ColumnPositionsM = new QPlainTextEdit(columnsBox);
    ColumnPositionsM->setObjectName(QStringLiteral("ColumnPositionsM"));
    ColumnPositionsM->setTabChangesFocus(true);
    grid->addWidget(new QLabel(rudGet(2718), columnsBox), 0, 0);
    grid->addWidget(UpDown1, 0, 1);
    grid->addWidget(new QLabel(rudGet(2719), columnsBox), 1, 0);
    grid->addWidget(ColumnWidthE, 1, 1);
    grid->addWidget(new QLabel(rudGet(2720), columnsBox), 2, 0, Qt::AlignTop);
    grid->addWidget(ColumnPositionsM, 2, 1);
    for (int row : {1, 2}) {
        auto *unit = new QLabel(FDesigner->UnitsName(), columnsBox);
        unit->setObjectName(QStringLiteral("UnitL%1").arg(UnitLabels.size() + 1));
        UnitLabels << unit;
        grid->addWidget(unit, row, 2, Qt::AlignTop);
    }
    layout->addWidget(columnsBox);

    auto *otherBox = new QGroupBox(rudGet(2721), Tab);
    auto *other = new QGridLayout(otherBox);
    PrintOnPrevCB = checkBox(2723, "PrintOnPrevCB", otherBox);
    MirrorMarginsCB = checkBox(2724, "MirrorMarginsCB", otherBox);
    EndlessWidthCB = checkBox(2726, "EndlessWidthCB", otherBox);
    EndlessHeightCB = checkBox(2727, "EndlessHeightCB", otherBox);
    LargeHeightCB = checkBox(2725, "LargeHeightCB", otherBox);
    DuplexCB = dropDownList("DuplexCB", otherBox);
    for (const char *key : {"dupDefault", "dupVert", "dupHorz", "dupSimpl"})
        DuplexCB->addItem(rudResources().Get(QLatin1String(key)));
    other->addWidget(PrintOnPrevCB, 0, 0, 1, 2);
    other->addWidget(MirrorMarginsCB, 1, 0, 1, 2);
    other->addWidget(EndlessWidthCB, 2, 0, 1, 2);
    other->addWidget(EndlessHeightCB, 3, 0, 1, 2);
    other->addWidget(LargeHeightCB, 4, 0, 1, 2);
    other->addWidget(new QLabel(rudGet(2722), otherBox), 5, 0);
    other->addWidget(DuplexCB, 5, 1);
    layout->addWidget(otherBox);
    layout->addStretch();
}

QString TfrxPageEditorForm::ToUnits(double mm, bool Horizontal) const
{
    return FloatToStr(FDesigner->mmToUnits(mm, Horizontal));
}

double TfrxPageEditorForm::ToMM(const QLineEdit *Edit, bool Horizontal) const
{
    return FDesigner->UnitsTomm(rudStrToFloat(Edit->text()), Horizontal);
}

template <class F> void TfrxPageEditorForm::Guarded(F Handler)
{
    try {
        Handler();
    } catch (const EConvertError &e) {
        userInterface().MessageBox(e.Message(), rudResources().Get(QStringLiteral("mbError")), TMsgIcon::Error,
                                   TMsgButtons::Ok);
    }
}

void TfrxPageEditorForm::FormShow()
{
    FUpdating = true;
    TfrxCustomPrinter *printer = rudPrinters().Printer();

    SizeCB->clear();
    SizeCB->addItems(printer->PaperNames());
    // An unknown paper shows the first entry, the custom size.
    SizeCB->setCurrentIndex(printer->PaperIndex(FPage->PaperSize()));

    WidthE->setText(ToUnits(FPage->PaperWidth(), true));
    HeightE->setText(ToUnits(FPage->PaperHeight(), false));
    (FPage->Orientation() == poLandscape ? LandscapeRB : PortraitRB)->setChecked(true);
    MarginLeftE->setText(ToUnits(FPage->LeftMargin(), true));
    MarginTopE->setText(ToUnits(FPage->TopMargin(), false));
    MarginRightE->setText(ToUnits(FPage->RightMargin(), true));
    MarginBottomE->setText(ToUnits(FPage->BottomMargin(), false));

    // An unknown bin shows the first entry, "Default" (bin 7).
    for (QComboBox *box : {Tray1CB, Tray2CB}) {
        box->clear();
        box->addItems(printer->BinNames());
    }
    Tray1CB->setCurrentIndex(printer->BinIndex(FPage->Bin()));
    Tray2CB->setCurrentIndex(printer->BinIndex(FPage->BinOtherPages()));

    UpDown1->setValue(qBound(0, FPage->Columns(), maxColumns));
    ColumnWidthE->setText(ToUnits(FPage->ColumnWidth(), true));
    QStringList positions;
    for (const QString &position : FPage->ColumnPositions()) {
        double mm = 0;
        // A position that is no number is shown as it is stored.
        positions << (TryStrToFloat(position, mm) ? ToUnits(mm, true) : position);
    }
    ColumnPositionsM->setPlainText(positions.join(QLatin1Char('\n')));

    PrintOnPrevCB->setChecked(FPage->PrintOnPreviousPage());
    MirrorMarginsCB->setChecked(FPage->MirrorMargins());
    EndlessWidthCB->setChecked(FPage->EndlessWidth());
    EndlessHeightCB->setChecked(FPage->EndlessHeight());
    LargeHeightCB->setChecked(FPage->LargeDesignHeight());
    DuplexCB->setCurrentIndex(int(FPage->Duplex()));
    UpdateOrientationImages();
    FUpdating = false;
}

void TfrxPageEditorForm::UpdateOrientationImages()
{
    const bool landscape = LandscapeRB->isChecked();
    PortraitImg->setVisible(!landscape);
    LandscapeImg->setVisible(landscape);
}

void TfrxPageEditorForm::OrientationClick()
{
    UpdateOrientationImages();
    PaperChanged();
}

void TfrxPageEditorForm::PaperChanged()
{
    if (FUpdating)
        return;
    TfrxCustomPrinter *printer = rudPrinters().Printer();
    const int paper = printer->PaperNameToNumber(SizeCB->currentText());
    const TPrinterOrientation orientation = LandscapeRB->isChecked() ? poLandscape : poPortrait;
    if (paper == DMPAPER_USER) {
        // The custom sheet is set turned: each pass exchanges the sides,
        // which is how a change of orientation turns a custom size.
        const double width = ToMM(WidthE, true), height = ToMM(HeightE, false);
        printer->SetViewParams(paper, height, width, orientation);
    } else {
        printer->SetViewParams(paper, 0, 0, orientation);
    }
    FUpdating = true;
    WidthE->setText(ToUnits(printer->PaperWidth(), true));
    HeightE->setText(ToUnits(printer->PaperHeight(), false));
    FUpdating = false;
}

void TfrxPageEditorForm::SizeTyped()
{
    if (!FUpdating)
        SizeCB->setCurrentIndex(0);
}

void TfrxPageEditorForm::ColumnsChanged(int Value)
{
    if (FUpdating)
        return;
    const int n = Value == 0 ? 1 : Value;
    const double width = (ToMM(WidthE, true) - ToMM(MarginLeftE, true) - ToMM(MarginRightE, true)) / n;
    FUpdating = true;
    ColumnWidthE->setText(ToUnits(width, true));
    QStringList positions;
    for (int i = 0; i < n; ++i)
        positions << ToUnits(i * width, true);
    ColumnPositionsM->setPlainText(positions.join(QLatin1Char('\n')));
    FUpdating = false;
}

void TfrxPageEditorForm::ApplyTo(TfrxReportPage *Page)
{
    TfrxCustomPrinter *printer = rudPrinters().Printer();
    Page->SetOrientation(LandscapeRB->isChecked() ? poLandscape : poPortrait);
    const double width = ToMM(WidthE, true);
    const double height = ToMM(HeightE, false);
    Page->SetSizeAndDimensions(printer->PaperNameToNumber(SizeCB->currentText()), width, height);
    Page->SetLeftMargin(ToMM(MarginLeftE, true));
    Page->SetTopMargin(ToMM(MarginTopE, false));
    Page->SetRightMargin(ToMM(MarginRightE, true));
    Page->SetBottomMargin(ToMM(MarginBottomE, false));
    Page->SetBin(printer->BinNameToNumber(Tray1CB->currentText()));
    Page->SetBinOtherPages(printer->BinNameToNumber(Tray2CB->currentText()));

    Page->SetColumns(UpDown1->value());
    Page->SetColumnWidth(ToMM(ColumnWidthE, true));
    QStringList positions;
    for (const QString &line : ColumnPositionsM->toPlainText().split(QLatin1Char('\n'))) {
        // A blank line (such as the one after a final line break) holds no position.
        if (line.trimmed().isEmpty())
            continue;
        positions << FloatToStr(FDesigner->UnitsTomm(rudStrToFloat(line), true));
    }
    Page->SetColumnPositions(positions);

    Page->SetPrintOnPreviousPage(PrintOnPrevCB->isChecked());
    Page->SetMirrorMargins(MirrorMarginsCB->isChecked());
    Page->SetEndlessWidth(EndlessWidthCB->isChecked());
    Page->SetEndlessHeight(EndlessHeightCB->isChecked());
    Page->SetLargeDesignHeight(LargeHeightCB->isChecked());
    Page->SetDuplex(TfrxDuplexMode(qBound(0, DuplexCB->currentIndex(), int(dmSimplex))));
}

bool TfrxPageEditorForm::Execute()
{
    if (userInterface().ExecDialog(this) != QDialog::Accepted)
        return false;
    ApplyTo(FPage);
    // The pages printed by the sub-report objects on this page share its paper.
    QList<TfrxReportPage *> subPages;
    for (TfrxComponent *object : QList<TfrxComponent *>(FPage->AllObjects()))
        if (auto *subreport = qobject_cast<TfrxSubreport *>(object))
            if (TfrxReportPage *page = subreport->Page(); page && page != FPage && !subPages.contains(page))
                subPages << page;
    for (TfrxReportPage *page : subPages)
        ApplyTo(page);
    return true;
}

void TfrxPageEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_F1 && Event->modifiers() == Qt::NoModifier) {
        rudResources().Help(this);
        return;
    }
    QDialog::keyPressEvent(Event);
}

bool rudIsSubreportPage(TfrxReportPage *Page)
{
    TfrxReport *report = Page ? Page->Report() : nullptr;
    if (!report)
        return false;
    for (TfrxComponent *object : QList<TfrxComponent *>(report->AllObjects()))
        if (auto *subreport = qobject_cast<TfrxSubreport *>(object); subreport && subreport->Page() == Page)
            return true;
    return false;
}

bool TfrxPageEditor::HasEditor() const
{
    auto *page = qobject_cast<TfrxReportPage *>(Component());
    return page && Designer() && !rudIsSubreportPage(page) && !Designer()->IsRestricted(drDontChangePageOptions);
}

bool TfrxPageEditor::Edit()
{
    if (!HasEditor())
        return false;
    TfrxPageEditorForm form(Designer(), qobject_cast<TfrxReportPage *>(Component()));
    try {
        return form.Execute();
    } catch (const EConvertError &e) {
        userInterface().MessageBox(e.Message(), rudResources().Get(QStringLiteral("mbError")), TMsgIcon::Error,
                                   TMsgButtons::Ok);
        return true;
    }
}
