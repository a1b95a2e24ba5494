#include "app/CalibrationDialog.h"

#include "app/Calibration.h"
#include "app/ErrorBox.h"
#include "app/main.h"

#include "base/Errors.h"
#include "base/UserInterface.h"
#include "report/engine/rudPreviewPages.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudPrinter.h"
#include "report/render/rudPrinterCalibrationSheet.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString mm(double Value) { return QString::number(Value, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')); }

QDoubleSpinBox *spinBox(double Min, double Max, double Step, int Decimals, QWidget *Parent)
{
    auto *box = new QDoubleSpinBox(Parent);
    box->setRange(Min, Max);
    box->setSingleStep(Step);
    box->setDecimals(Decimals);
    return box;
}

// A reading as typed: nothing for an empty field; EConvertError otherwise
// when it is not a number.
std::optional<double> readingOf(const QLineEdit *Edit, const QString &Caption)
{
    const QString text = Edit->text().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("«%1» (%2) — не число миллиметров.").arg(text, Caption));
    return value;
}

} // namespace

TCalibrationDialog::TCalibrationDialog(TfmMain &Window) : QDialog(&Window), FWindow(Window)
{
    setObjectName(QStringLiteral("CalibrationDialog"));
    setWindowTitle(QStringLiteral("Калибровка принтера"));
    auto *rows = new QVBoxLayout(this);

    auto *queueRow = new QFormLayout;
    QueueC = new QComboBox(this);
    QueueC->addItems(rudPrinters().Printers());
    if (rudPrinters().HasPhysicalPrinters())
        QueueC->setCurrentText(rudPrinters().Items(rudPrinters().PrinterIndex())->Name());
    queueRow->addRow(QStringLiteral("Принтер:"), QueueC);
    rows->addLayout(queueRow);

    auto *help = new QLabel(QStringLiteral("Напечатайте лист и приложите линейку к краю бумаги. У каждой метки "
                                           "измерьте расстояние от левого края до вертикальной нулевой линии (X) "
                                           "и от верхнего края до горизонтальной (Y): целые миллиметры — по "
                                           "делению линейки перед нулевой линией, десятые — по номеру штриха "
                                           "шкалы, совпавшего с делением линейки."),
                            this);
    help->setWordWrap(true);
    help->setMinimumWidth(520);
    rows->addWidget(help);
    auto *sheet = new QGroupBox(QStringLiteral("Лист калибровки"), this);
    auto *grid = new QGridLayout(sheet);
    grid->addWidget(new QLabel(QStringLiteral("X, мм"), sheet), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Y, мм"), sheet), 1, 2);
    int row = 2;
    for (const TfrxCalibrationMark &mark : rudCalibrationMarks()) {
        grid->addWidget(new QLabel(QStringLiteral("%1 (по шаблону %2; %3)")
                                       .arg(mark.Caption, mm(mark.Designed.x()), mm(mark.Designed.y())),
                                   sheet),
                        row, 0);
        ReadingX << new QLineEdit(sheet);
        ReadingY << new QLineEdit(sheet);
        grid->addWidget(ReadingX.last(), row, 1);
        grid->addWidget(ReadingY.last(), row, 2);
        ++row;
    }
    SheetB = new QPushButton(QStringLiteral("Напечатать лист"), sheet);
    ComputeB = new QPushButton(QStringLiteral("Рассчитать"), sheet);
    grid->addWidget(SheetB, row, 0);
    grid->addWidget(ComputeB, row, 1, 1, 2);
    rows->addWidget(sheet);

    auto *values = new QGroupBox(QStringLiteral("Поправка принтера"), this);
    auto *form = new QFormLayout(values);
    OffsetXE = spinBox(-calibrationMaxOffset, calibrationMaxOffset, calibrationOffsetStep, 2, values);
    OffsetYE = spinBox(-calibrationMaxOffset, calibrationMaxOffset, calibrationOffsetStep, 2, values);
    ScaleXE = spinBox(calibrationMinScale, calibrationMaxScale, 0.001, 4, values);
    ScaleYE = spinBox(calibrationMinScale, calibrationMaxScale, 0.001, 4, values);
    form->addRow(QStringLiteral("Смещение вправо, мм:"), OffsetXE);
    form->addRow(QStringLiteral("Смещение вниз, мм:"), OffsetYE);
    form->addRow(QStringLiteral("Масштаб по горизонтали:"), ScaleXE);
    form->addRow(QStringLiteral("Масштаб по вертикали:"), ScaleYE);
    TestPageB = new QPushButton(QStringLiteral("Пробная страница"), values);
    form->addRow(TestPageB);
    rows->addWidget(values);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    rows->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto guarded = [this](void (TCalibrationDialog::*Action)()) {
        return [this, Action] {
            try {
                (this->*Action)();
            } catch (const Exception &error) {
                userInterface().MessageBox(error.Message(), windowTitle(), TMsgIcon::Error, TMsgButtons::Ok);
            }
        };
    };
    connect(SheetB, &QPushButton::clicked, this, guarded(&TCalibrationDialog::PrintSheet));
    connect(ComputeB, &QPushButton::clicked, this, guarded(&TCalibrationDialog::Compute));
    connect(TestPageB, &QPushButton::clicked, this, guarded(&TCalibrationDialog::PrintTestPage));
    connect(QueueC, &QComboBox::currentTextChanged, this,
            [this](const QString &Name) { SetValue(printerCalibration(Name)); });
    SetValue(printerCalibration(Queue()));
}

QString TCalibrationDialog::Queue() const { return QueueC->currentText(); }

TfrxPaperCalibration TCalibrationDialog::Value() const
{
    return {OffsetXE->value(), OffsetYE->value(), ScaleXE->value(), ScaleYE->value()};
}

void TCalibrationDialog::SetValue(const TfrxPaperCalibration &Value)
{
    OffsetXE->setValue(Value.OffsetX);
    OffsetYE->setValue(Value.OffsetY);
    ScaleXE->setValue(Value.ScaleX);
    ScaleYE->setValue(Value.ScaleY);
}

void TCalibrationDialog::Compute()
{
    QList<TfrxCalibrationReading> readings;
    const QList<TfrxCalibrationMark> &marks = rudCalibrationMarks();
    for (qsizetype i = 0; i < marks.size(); ++i)
        readings.append({readingOf(ReadingX[i], marks[i].Caption + QStringLiteral(", X")),
                         readingOf(ReadingY[i], marks[i].Caption + QStringLiteral(", Y"))});
    SetValue(checkedCalibration(rudCalibrationFromReadings(readings)));
}

void TCalibrationDialog::PrintSheet()
{
    rudPrintCalibrationSheet(Queue(), QStringLiteral("Калибровка принтера %1").arg(Queue()));
}

void TCalibrationDialog::PrintTestPage()
{
    if (!FWindow.FillReport())
        return;
    TfrxReport *report = FWindow.rudReport1;
    // The blank's scan shows through on plain paper: the page loaded from
    // the template is changed in memory only.
    for (TfrxComponent *object : report->Objects())
        if (auto *page = qobject_cast<TfrxReportPage *>(object))
            page->SetBackPicturePrintable(true);
    if (!report->PrepareReport(true))
        return;
    TfrxPrintOptions *options = report->PrintOptions();
    const TfrxPaperCalibrationSource kept = rudPaperCalibration(report);
    const TfrxPaperCalibration shown = checkedCalibration(Value());
    rudSetPaperCalibration(report, [shown](const QString &) { return shown; });
    options->SetPrinter(Queue());
    options->SetShowDialog(false);
    try {
        report->PreviewPages()->Print();
    } catch (...) {
        rudSetPaperCalibration(report, kept);
        throw;
    }
    rudSetPaperCalibration(report, kept);
}

void runCalibrationDialog(TfmMain &Window)
{
    TCalibrationDialog dialog(Window);
    if (userInterface().ExecDialog(&dialog) != 1)
        return;
    savePrinterCalibration(dialog.Queue(), dialog.Value());
}

void addCalibrationCommand(TfmMain &Window, QMenu *Menu)
{
    QAction *action = Menu->addAction(QStringLiteral("Калибровка принтера..."));
    action->setObjectName(QStringLiteral("CalibrationAction"));
    QObject::connect(action, &QAction::triggered, &Window, [&Window] {
        try {
            runCalibrationDialog(Window);
        } catch (const Exception &error) {
            showException(error);
        }
    });
}
