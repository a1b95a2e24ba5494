#include "report/render/rudRenderRuntime.h"
#include "report/render/rudPrinterCalibrationSheet.h"

#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudCanvas.h"
#include "report/render/rudPrintJob.h"

#include <QFont>
#include <QPainter>
#include <QPen>

#include <cmath>

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
        // ScaleX, ScaleY are device dots per screen pixel (96 per inch).
        const TMm mm{ScaleX * 96 / 25.4, ScaleY * 96 / 25.4, OffsetX, OffsetY};
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(QPen(Qt::black, mm.Y(0.08) - mm.Y(0), Qt::SolidLine, Qt::FlatCap));
        // Fonts by device pixels, as the canvas sets them for the memos.
        QFont font(QStringLiteral("Times New Roman"));
        font.setKerning(false);
        auto setPoints = [&](double Points) {
            font.setPixelSize(std::max(1, int(std::lround(mm.Y(Points * 25.4 / 72) - mm.Y(0)))));
            painter->setFont(font);
        };
        setPoints(6);
        for (const TfrxCalibrationMark &mark : rudCalibrationMarks())
            DrawMark(painter, mm, mark);
        setPoints(10);
        painter->drawText(mm.Rect(10, 40, calibrationSheetWidth - 20, 10), Qt::AlignHCenter | Qt::TextWordWrap,
                          FCaption);
        setPoints(7.5);
        painter->drawText(mm.Rect(20, 52, calibrationSheetWidth - 40, 40), Qt::AlignLeft | Qt::TextWordWrap,
                          QStringLiteral("У каждой метки измерьте линейкой расстояние от левого края листа до "
                                         "вертикальной нулевой линии (X) и от верхнего края до горизонтальной (Y). "
                                         "Целые миллиметры — по делению линейки перед нулевой линией, десятые — "
                                         "по номеру штриха шкалы, который совпал с делением линейки. Введите "
                                         "показания в окне «Калибровка принтера»."));
        painter->restore();
    }

private:
    // Millimetres on the paper to device dots.
    struct TMm {
        double Sx, Sy, Ox, Oy;
        double X(double Mm) const { return Ox + Mm * Sx; }
        double Y(double Mm) const { return Oy + Mm * Sy; }
        QPointF Point(double XMm, double YMm) const { return {X(XMm), Y(YMm)}; }
        QRectF Rect(double XMm, double YMm, double W, double H) const { return {X(XMm), Y(YMm), W * Sx, H * Sy}; }
    };

    // The zero lines cross at the designed place; the X vernier runs to the
    // right of it, the Y vernier down its left side. Ticks 0, 5 and 10 are
    // long and numbered.
    static void DrawMark(QPainter *Painter, const TMm &Mm, const TfrxCalibrationMark &Mark)
    {
        const double x = Mark.Designed.x(), y = Mark.Designed.y();
        Painter->drawLine(Mm.Point(x, y - 4), Mm.Point(x, y + 5));
        Painter->drawLine(Mm.Point(x - 5, y), Mm.Point(x + 4, y));
        for (int k = 0; k < calibrationVernierTicks; ++k) {
            const double step = k * calibrationVernierPitch;
            const double length = k % 5 == 0 ? 4 : 2.5;
            Painter->drawLine(Mm.Point(x + step, y + 1), Mm.Point(x + step, y + 1 + length));
            Painter->drawLine(Mm.Point(x - 1, y + step), Mm.Point(x - 1 - length, y + step));
            if (k % 5 == 0) {
                Painter->drawText(Mm.Rect(x + step - 2, y + 5.2, 4, 2.4), Qt::AlignCenter, QString::number(k));
                Painter->drawText(Mm.Rect(x - 8.4, y + step - 1.2, 3, 2.4), Qt::AlignRight | Qt::AlignVCenter,
                                  QString::number(k));
            }
        }
        Painter->drawText(Mm.Rect(x + 1, y - 3.6, 30, 3), Qt::AlignLeft | Qt::AlignVCenter, Mark.Caption);
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
    report.SetServices(rudSharedStandardServices());
    report.ReportOptions()->SetName(QStringLiteral("Калибровка принтера"));
    TfrxPrintOptions *options = report.PrintOptions();
    options->SetPrinter(Queue);
    options->SetShowDialog(false);
    options->SetCopies(1);
    TSheetSource sheet(&report, Caption);
    return rudPrintPages(&report, sheet, {});
}
