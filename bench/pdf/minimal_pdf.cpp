// The smallest Qt program that writes the certificate's page as a PDF: the
// 48 strings of the delivered template at their places, A5, Times New Roman,
// drawn with QPainter::drawText into QPdfWriter. The reference for the
// certificate program's --pdf command (bench/pdf/certificate.sh).
//
// Usage: minimal_pdf OUT.pdf

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

struct TString {
    double Left, Top; // pixels at 96 dpi inside the 10 mm margins
    int PixelSize;    // at 96 dpi
    const char *Text;
};

const TString strings[] = {
    {3.78, 18.90, 11, "полное оф. наименование ОУ"},
    {3.78, 37.80, 11, "полное оф. наименование ОУ"},
    {64.25, 60.47, 11, "наименование населенного пункта"},
    {68.03, 120.94, 13, "серия"},
    {22.68, 151.18, 13, "ФИО обучающегося"},
    {56.69, 175.75, 11, "06"},
    {83.15, 175.75, 11, "07_сентября"},
    {181.42, 175.75, 11, "8"},
    {266.46, 175.75, 11, "09"},
    {301.14, 175.75, 11, "10_сентября"},
    {385.51, 175.75, 11, "1"},
    {56.69, 222.99, 11, "категории \"В\""},
    {351.50, 360.94, 11, "013"},
    {351.50, 377.95, 11, "014"},
    {351.50, 394.96, 11, "015"},
    {351.50, 414.24, 11, "016"},
    {351.50, 457.32, 11, "017"},
    {351.50, 487.56, 11, "018"},
    {351.50, 518.17, 11, "019"},
    {351.50, 559.37, 11, "020"},
    {351.50, 589.61, 11, "021"},
    {351.50, 612.28, 11, "022"},
    {351.50, 631.18, 11, "023"},
    {177.64, 646.30, 11, "24"},
    {211.65, 646.30, 11, "25_сентября"},
    {306.14, 646.30, 11, "6"},
    {347.72, 670.87, 11, "ФИО руководителя"},
    {395.85, 360.94, 11, "28_зачтено"},
    {395.85, 377.95, 11, "29_зачтено"},
    {396.85, 394.96, 11, "30_зачтено"},
    {394.85, 413.86, 11, "31_зачтено"},
    {393.85, 457.32, 11, "32_зачтено"},
    {393.85, 487.56, 11, "33_зачтено"},
    {393.85, 518.17, 11, "34_зачтено"},
    {396.85, 559.37, 11, "35_зачтено"},
    {396.85, 589.61, 11, "36_зачтено"},
    {394.85, 612.28, 11, "37_зачтено"},
    {394.85, 631.18, 11, "38_Х"},
    {151.18, 457.32, 11, "C1E"},
    {102.05, 487.56, 11, "40"},
    {294.80, 504.57, 11, "41"},
    {15.12, 515.91, 11, "тип коробки передач"},
    {173.86, 257.01, 11, "присвоена квалификация"},
    {156.85, 272.13, 11, "категория"},
    {230.55, 291.02, 11, "№ протокола"},
    {60.47, 306.14, 11, "06"},
    {109.61, 306.14, 11, "07_сентября"},
    {200.32, 306.14, 11, "5"},
};

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::A5));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    const double scale = 1200 / 96.0, margin = 10 / 25.4 * 96;
    for (const TString &s : strings) {
        QFont font(QStringLiteral("Times New Roman"));
        font.setPixelSize(int(s.PixelSize * scale));
        painter.setFont(font);
        painter.drawText(QPointF((margin + s.Left) * scale, (margin + s.Top + s.PixelSize) * scale),
                         QString::fromUtf8(s.Text));
    }
    return painter.end() ? 0 : 1;
}
