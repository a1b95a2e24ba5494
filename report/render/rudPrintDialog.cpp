#include "report/render/rudPrintDialog.h"

#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "report/render/rudPrinter.h"

#include "base/UserInterface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QString res(const char *Key) { return rudResources().Get(QString::fromLatin1(Key)); }

// Names a control so that tests find it.
template <class T> T *named(T *Control, const char *Name)
{
    Control->setObjectName(QString::fromLatin1(Name));
    return Control;
}

// A small sheet picture: white pages with their numbers, for the collate
// picture and the mode list.
void drawSheet(QPainter &p, const QRectF &r, const QString &Text)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(r);
    if (!Text.isEmpty())
        p.drawText(r, Qt::AlignCenter, Text);
}

QPixmap collatePicture(bool Collated)
{
    QImage image(96, 40, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);
    // Two sets of three pages: 1 2 3 | 1 2 3 collated, 1 1 | 2 2 | 3 3 not.
    const QString order = Collated ? QStringLiteral("123123") : QStringLiteral("112233");
    for (int set = 0; set < 3; ++set)
        for (int k = 0; k < 2; ++k) {
            const int i = set * 2 + k;
            drawSheet(p, QRectF(2 + set * 32 + k * 6, 2 + k * 6, 18, 24), QString(order[Collated ? k * 3 + set : i]));
        }
    return QPixmap::fromImage(image);
}

QIcon modeIcon(TfrxPrintMode Mode)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    switch (Mode) {
    case pmDefault: drawSheet(p, QRectF(3, 1, 10, 14), QString()); break;
    case pmSplit:
        for (int i = 0; i < 4; ++i)
            drawSheet(p, QRectF(1 + (i % 2) * 7, 1 + (i / 2) * 7, 6, 6), QString());
        break;
    case pmJoin:
        drawSheet(p, QRectF(1, 1, 14, 14), QString());
        for (int i = 0; i < 4; ++i)
            p.fillRect(QRectF(3 + (i % 2) * 6, 3 + (i / 2) * 6, 4, 4), Qt::gray);
        break;
    case pmScale:
        drawSheet(p, QRectF(1, 1, 14, 14), QString());
        p.drawLine(QPointF(4, 12), QPointF(12, 4));
        p.drawLine(QPointF(12, 4), QPointF(8, 4));
        p.drawLine(QPointF(12, 4), QPointF(12, 8));
        break;
    }
    return QIcon(QPixmap::fromImage(image));
}

} // namespace

TfrxPrintDialog::TfrxPrintDialog(TfrxReport *AReport, int ACurrentPage, QWidget *AParent)
    : QDialog(AParent), FReport(AReport), FCurrentPage(ACurrentPage),
      FOldPrinterIndex(rudPrinters().PrinterIndex())
{
    setWindowTitle(res("200"));

    // Printer
    auto *printerBox = new QGroupBox(res("201"), this);
    FPrinterCB = named(new QComboBox(printerBox), "PrinterCB");
    const TfrxImageList &images = rudResources().GetPreviewButtonImages();
    const QIcon printerIcon = images.Count() ? QIcon(QPixmap::fromImage(images.Image(0))) : QIcon();
    for (const QString &name : rudPrinters().Printers())
        FPrinterCB->addItem(printerIcon, name);
    FPrinterCB->setCurrentIndex(rudPrinters().PrinterIndex());
    FWhereL = named(new QLabel(printerBox), "WhereL");
    auto *propButton = named(new QPushButton(res("209"), printerBox), "PropButton");
    FFileCB = named(new QCheckBox(res("210"), printerBox), "FileCB");
    auto *printerGrid = new QGridLayout(printerBox);
    printerGrid->addWidget(FPrinterCB, 0, 0, 1, 2);
    printerGrid->addWidget(propButton, 0, 2);
    printerGrid->addWidget(new QLabel(res("208"), printerBox), 1, 0);
    printerGrid->addWidget(FWhereL, 1, 1);
    printerGrid->addWidget(FFileCB, 1, 2);
    printerGrid->setColumnStretch(1, 1);

    // Pages
    auto *pagesBox = new QGroupBox(res("202"), this);
    FAllRB = named(new QRadioButton(res("3"), pagesBox), "AllRB");
    FCurPageRB = named(new QRadioButton(res("4"), pagesBox), "CurPageRB");
    FPageNumbersRB = named(new QRadioButton(res("5"), pagesBox), "PageNumbersRB");
    FPageNumbersE = named(new QLineEdit(pagesBox), "PageNumbersE");
    auto *hint = new QLabel(res("9"), pagesBox);
    hint->setWordWrap(true);
    auto *pagesGrid = new QGridLayout(pagesBox);
    pagesGrid->addWidget(FAllRB, 0, 0, 1, 2);
    pagesGrid->addWidget(FCurPageRB, 1, 0, 1, 2);
    pagesGrid->addWidget(FPageNumbersRB, 2, 0);
    pagesGrid->addWidget(FPageNumbersE, 2, 1);
    pagesGrid->addWidget(hint, 3, 0, 1, 2);
    FCurPageRB->setEnabled(FCurrentPage > 0);

    // Copies
    auto *copiesBox = new QGroupBox(res("205"), this);
    FCopiesE = named(new QSpinBox(copiesBox), "CopiesE");
    FCopiesE->setRange(1, 1000);
    FCollateCB = named(new QCheckBox(res("204"), copiesBox), "CollateCB");
    FCollateImage = named(new QLabel(copiesBox), "CollateImage");
    auto *copiesGrid = new QGridLayout(copiesBox);
    copiesGrid->addWidget(new QLabel(res("203"), copiesBox), 0, 0);
    copiesGrid->addWidget(FCopiesE, 0, 1);
    copiesGrid->addWidget(FCollateImage, 1, 0);
    copiesGrid->addWidget(FCollateCB, 1, 1);

    // Print mode
    auto *modeBox = new QGroupBox(res("213"), this);
    FPrintModeCB = named(new QComboBox(modeBox), "PrintModeCB");
    FPrintModeCB->addItem(modeIcon(pmDefault), res("pmDefault"));
    FPrintModeCB->addItem(modeIcon(pmSplit), res("pmSplit"));
    FPrintModeCB->addItem(modeIcon(pmJoin), res("pmJoin"));
    FPrintModeCB->addItem(modeIcon(pmScale), res("pmScale"));
    FSheetCB = named(new QComboBox(modeBox), "SheetCB");
    auto *modeGrid = new QGridLayout(modeBox);
    modeGrid->addWidget(FPrintModeCB, 0, 0, 1, 2);
    modeGrid->addWidget(new QLabel(res("214"), modeBox), 1, 0);
    modeGrid->addWidget(FSheetCB, 1, 1);

    // Other
    auto *otherBox = new QGroupBox(res("207"), this);
    FPrintPagesCB = named(new QComboBox(otherBox), "PrintPagesCB");
    FPrintPagesCB->addItems({res("ppAll"), res("ppOdd"), res("ppEven")});
    FOrderCB = named(new QComboBox(otherBox), "OrderCB");
    FOrderCB->addItems({res("poDirect"), res("poReverse")});
    FDuplexCB = named(new QComboBox(otherBox), "DuplexCB");
    FDuplexCB->addItems({res("dupDefault"), res("dupVert"), res("dupHorz"), res("dupSimpl")});
    auto *otherGrid = new QGridLayout(otherBox);
    otherGrid->addWidget(new QLabel(res("206"), otherBox), 0, 0);
    otherGrid->addWidget(FPrintPagesCB, 0, 1);
    otherGrid->addWidget(new QLabel(res("211"), otherBox), 1, 0);
    otherGrid->addWidget(FOrderCB, 1, 1);
    otherGrid->addWidget(new QLabel(res("216"), otherBox), 2, 0);
    otherGrid->addWidget(FDuplexCB, 2, 1);

    auto *okB = named(new QPushButton(res("1"), this), "OkB");
    auto *cancelB = named(new QPushButton(res("2"), this), "CancelB");
    okB->setDefault(true);

    auto *grid = new QGridLayout;
    grid->addWidget(printerBox, 0, 0, 1, 2);
    grid->addWidget(pagesBox, 1, 0);
    grid->addWidget(copiesBox, 1, 1);
    grid->addWidget(modeBox, 2, 0);
    grid->addWidget(otherBox, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okB);
    buttons->addWidget(cancelB);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    // What the options say.
    const TfrxPrintOptions *options = FReport->PrintOptions();
    FCopiesE->setValue(std::clamp(options->Copies(), 1, 1000));
    FCollateCB->setChecked(options->Collate());
    FPageNumbersE->setText(options->PageNumbers());
    (options->PageNumbers().isEmpty() ? FAllRB : FPageNumbersRB)->setChecked(true);
    FPrintPagesCB->setCurrentIndex(int(options->PrintPages()));
    FOrderCB->setCurrentIndex(options->Reverse() ? 1 : 0);
    FPrintModeCB->setCurrentIndex(int(options->PrintMode()));
    FDuplexCB->setCurrentIndex(std::clamp(options->Duplex(), 0, 3));
    FillSheets();
    if (options->PrintMode() != pmDefault) {
        const int sheet = options->PrintOnSheet() != 0 ? options->PrintOnSheet() : 9;
        const int at = FSheetCB->findText(rudPrinters().Printer()->Papers()[rudPrinters().Printer()->PaperIndex(sheet)].Name);
        FSheetCB->setCurrentIndex(at > 0 ? at : 0);
    }
    FSheetCB->setEnabled(options->PrintMode() != pmDefault);
    FWhereL->setText(rudPrinters().Printer()->Port());
    UpdateCollateImage();

    connect(FPrinterCB, &QComboBox::currentIndexChanged, this, &TfrxPrintDialog::PrinterChanged);
    connect(FPrintModeCB, &QComboBox::currentIndexChanged, this, &TfrxPrintDialog::ModeChanged);
    connect(FCollateCB, &QCheckBox::toggled, this, &TfrxPrintDialog::UpdateCollateImage);
    connect(FPageNumbersE, &QLineEdit::textEdited, this, [this] { FPageNumbersRB->setChecked(true); });
    connect(propButton, &QPushButton::clicked, this, [this] {
        TfrxCustomPrinter *printer = rudPrinters().Printer();
        if (printer->PropertiesDlg() && printer->DialogDuplex() > 0) {
            // Platform duplex 1 simplex, 2 vertical, 3 horizontal.
            const int shown[] = {0, 3, 1, 2};
            FDuplexCB->setCurrentIndex(shown[printer->DialogDuplex()]);
        }
    });
    connect(okB, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelB, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrxPrintDialog::FillSheets()
{
    const QString chosen = FSheetCB->currentText();
    FSheetCB->clear();
    FSheetCB->addItem(rudResources().Get(QStringLiteral("prDefault")));
    for (const TfrxPrinterListEntry &paper : rudPrinters().Printer()->Papers())
        if (paper.Number != DMPAPER_USER)
            FSheetCB->addItem(paper.Name);
    const int at = FSheetCB->findText(chosen);
    FSheetCB->setCurrentIndex(at > 0 ? at : 0);
}

void TfrxPrintDialog::PrinterChanged(int Index)
{
    rudPrinters().SetPrinterIndex(Index);
    FWhereL->setText(rudPrinters().Printer()->Port());
    FillSheets();
}

void TfrxPrintDialog::ModeChanged(int Index)
{
    FSheetCB->setEnabled(Index != int(pmDefault));
    if (Index != int(pmDefault) && FSheetCB->currentIndex() <= 0) {
        const int at = FSheetCB->findText(rudPrinters().Printer()->Papers()[rudPrinters().Printer()->PaperIndex(9)].Name);
        if (at > 0)
            FSheetCB->setCurrentIndex(at);
    }
}

void TfrxPrintDialog::UpdateCollateImage() { FCollateImage->setPixmap(collatePicture(FCollateCB->isChecked())); }

bool TfrxPrintDialog::Execute()
{
    if (userInterface().ExecDialog(this) == QDialog::Accepted)
        return true;
    rudPrinters().SetPrinterIndex(FOldPrinterIndex);
    return false;
}

bool TfrxPrintDialog::AskFileName()
{
    TFileDialogOptions options;
    options.Title = res("507");
    options.Filter = res("510");
    options.DefaultExt = QStringLiteral("prn");
    const std::optional<TFileDialogResult> answer = userInterface().SaveFile(options);
    if (!answer)
        return false;
    const QFileInfo info(answer->FileName);
    FFileName = info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".prn");
    return true;
}

void TfrxPrintDialog::StoreOptions()
{
    TfrxPrintOptions *options = FReport->PrintOptions();
    options->SetCopies(FCopiesE->value());
    options->SetCollate(FCollateCB->isChecked());
    if (FAllRB->isChecked())
        options->SetPageNumbers(QString());
    else if (FCurPageRB->isChecked())
        options->SetPageNumbers(QString::number(FCurrentPage));
    else
        options->SetPageNumbers(FPageNumbersE->text());
    options->SetPrintPages(TfrxPrintPages(FPrintPagesCB->currentIndex()));
    options->SetDuplex(FDuplexCB->currentIndex());
    options->SetReverse(FOrderCB->currentIndex() == 1);
    options->SetPrintMode(TfrxPrintMode(FPrintModeCB->currentIndex()));
    options->SetPrintOnSheet(rudPrinters().Printer()->PaperNameToNumber(FSheetCB->currentText()));
    options->SetPrnOutFileName(FFileCB->isChecked() ? FFileName : QString());
}

void TfrxPrintDialog::done(int Result)
{
    if (Result == QDialog::Accepted) {
        if (FFileCB->isChecked() && !AskFileName())
            Result = QDialog::Rejected;
        else
            StoreOptions();
    }
    if (Result != QDialog::Accepted)
        rudPrinters().SetPrinterIndex(FOldPrinterIndex);
    QDialog::done(Result);
}

void TfrxPrintDialog::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_F1) {
        rudResources().Help(this);
        return;
    }
    QDialog::keyPressEvent(Event);
}
