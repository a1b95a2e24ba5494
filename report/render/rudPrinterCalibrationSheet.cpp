#include "report/render/rudPrinterCalibrationSheet.h"

#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudPrintJob.h"

#include <QFont>
#include <QPainter>
#include <QPen>

namespace {

constexpr int paperA5 = 11;

// The sheet as the single page of a print job, drawn in millimetres.
class TSheetSource final : public TfrxPrintPageSource {
public:
    TSheetSource(TfrxReport *Report, const QString &Caption) : FPage(new TfrxReportPage(Report)), FCaption(Caption)
    {
        FPage->SetSizeAndDimensions(paperA5, calibrationSheetWidth, calibrationSheetHeight);
        FPage->UpdateDimensions();
    }
    int Count() override { return 1; }
    TfrxReportPage *Page(int) override { return FPage; }
    void DrawPage(int, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY,
                  int) override
    {
        QPainter *painter = Canvas->Painter();
        if (!painter)
            return;
        painter->save();
        painter->translate(OffsetX, OffsetY);
        // ScaleX, ScaleY are device dots per screen pixel (96 per inch).
        painter->scale(ScaleX * 96 / 25.4, ScaleY * 96 / 25.4);
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(QPen(Qt::black, 0.08, Qt::SolidLine, Qt::FlatCap));
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(2);
        painter->setFont(font);
        for (const TfrxCalibrationMark &mark : rudCalibrationMarks())
            DrawMark(painter, mark);
        QFont title = font;
        title.setPixelSize(3);
        painter->setFont(title);
        painter->drawText(QRectF(10, 40, calibrationSheetWidth - 20, 40), Qt::AlignHCenter | Qt::TextWordWrap,
                          FCaption);
        painter->restore();
    }

private:
    // The zero lines cross at the designed place; the X vernier runs to the
    // right of it, the Y vernier down its left side. Ticks 0, 5 and 10 are
    // long and numbered.
    static void DrawMark(QPainter *Painter, const TfrxCalibrationMark &Mark)
    {
        const double x = Mark.Designed.x(), y = Mark.Designed.y();
        Painter->drawLine(QPointF(x, y - 4), QPointF(x, y + 6));
        Painter->drawLine(QPointF(x - 6, y), QPointF(x + 4, y));
        for (int k = 0; k < calibrationVernierTicks; ++k) {
            const double step = k * calibrationVernierPitch;
            const double length = k % 5 == 0 ? 4 : 2.5;
            Painter->drawLine(QPointF(x + step, y + 1), QPointF(x + step, y + 1 + length));
            Painter->drawLine(QPointF(x - 1, y + step), QPointF(x - 1 - length, y + step));
            if (k % 5 == 0) {
                Painter->drawText(QRectF(x + step - 2, y + 5.2, 4, 2.4), Qt::AlignCenter, QString::number(k));
                Painter->drawText(QRectF(x - 8.4, y + step - 1.2, 3, 2.4), Qt::AlignRight | Qt::AlignVCenter,
                                  QString::number(k));
            }
        }
        Painter->drawText(QRectF(x + 1, y - 3.4, 12, 2.6), Qt::AlignLeft | Qt::AlignVCenter, Mark.Caption);
    }

    TfrxReportPage *FPage; // owned by the report
    QString FCaption;
};

// Least squares of Measured = s * Designed + o over the pairs given.
std::optional<std::pair<double, double>> fitAxis(const QList<std::pair<double, double>> &Pairs)
{
    if (Pairs.isEmpty())
        return std::nullopt;
    double meanD = 0, meanM = 0;
    for (const auto &[designed, measured] : Pairs) {
        meanD += designed;
        meanM += measured;
    }
    meanD /= Pairs.size();
    meanM /= Pairs.size();
    double sdd = 0, sdm = 0;
    for (const auto &[designed, measured] : Pairs) {
        sdd += (designed - meanD) * (designed - meanD);
        sdm += (designed - meanD) * (measured - meanM);
    }
    const double s = sdd > 1e-9 ? sdm / sdd : 1;
    return std::pair{s, meanM - s * meanD};
}

} // namespace

const QList<TfrxCalibrationMark> &rudCalibrationMarks()
{
    static const QList<TfrxCalibrationMark> marks = {
        {QStringLiteral("1 вверху слева"), {20, 20}},  {QStringLiteral("2 вверху справа"), {120, 20}},
        {QStringLiteral("3 в центре"), {70, 105}},     {QStringLiteral("4 внизу слева"), {20, 185}},
        {QStringLiteral("5 внизу справа"), {120, 185}},
    };
    return marks;
}

TfrxPaperCalibration rudCalibrationFromReadings(const QList<TfrxCalibrationReading> &Readings)
{
    QList<std::pair<double, double>> xs, ys;
    const QList<TfrxCalibrationMark> &marks = rudCalibrationMarks();
    for (qsizetype i = 0; i < Readings.size() && i < marks.size(); ++i) {
        if (Readings[i].X)
            xs.append({marks[i].Designed.x(), *Readings[i].X});
        if (Readings[i].Y)
            ys.append({marks[i].Designed.y(), *Readings[i].Y});
    }
    TfrxPaperCalibration result;
    if (const auto fit = fitAxis(xs)) {
        result.ScaleX = 1 / fit->first;
        result.OffsetX = -fit->second / fit->first;
    }
    if (const auto fit = fitAxis(ys)) {
        result.ScaleY = 1 / fit->first;
        result.OffsetY = -fit->second / fit->first;
    }
    return result;
}

bool rudPrintCalibrationSheet(const QString &Queue, const QString &Caption)
{
    TfrxReport report;
    report.ReportOptions()->SetName(QStringLiteral("Калибровка принтера"));
    TfrxPrintOptions *options = report.PrintOptions();
    options->SetPrinter(Queue);
    options->SetShowDialog(false);
    options->SetCopies(1);
    TSheetSource sheet(&report, Caption);
    return rudPrintPages(&report, sheet, {});
}
