// The title page: school, town, the booklet's title, series, trainee, the
// training period, programme, qualification, category and protocol. Each
// blank line lies one pixel below the entry control that covers it.

#include "BookletPages.h"

namespace {

// A blank with its small explanatory caption underneath.
void captionUnder(TBookletPen &pen, int x1, int x2, int lineY, const QString &caption)
{
    pen.centred(x1, x2, lineY + 8, caption, TBookletPen::serif(8, false, true));
}

} // namespace

QImage drawLeftPage()
{
    QImage image = blankBookletPage(leftPageWidth, leftPageHeight);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    TBookletPen pen(painter);
    const QFont body = TBookletPen::serif(13);
    const QFont bodyBold = TBookletPen::serif(13, true);

    // School: two lines of its full name, then the town.
    pen.line(16, 673, 47);
    pen.line(16, 673, 77);
    captionUnder(pen, 16, 673, 77,
                 QStringLiteral("(полное официальное наименование организации, осуществляющей "
                                "образовательную деятельность)"));
    pen.line(164, 529, 111);
    captionUnder(pen, 164, 529, 111, QStringLiteral("(наименование населенного пункта)"));

    // The booklet's title.
    pen.centred(0, 698, 150, QStringLiteral("СВИДЕТЕЛЬСТВО"), TBookletPen::serif(26, true));
    pen.centred(0, 698, 176, QStringLiteral("О ПРОФЕССИИ ВОДИТЕЛЯ"), TBookletPen::serif(17, true));

    // Series blank and the form number printed by the maker of the blanks.
    pen.text(76 - TBookletPen::width(QStringLiteral("Серия"), bodyBold), 206,
             QStringLiteral("Серия"), bodyBold);
    pen.line(80, 161, 213);
    pen.text(172, 206, QStringLiteral("№"), bodyBold);
    painter.setFont(TBookletPen::serif(15, true));
    painter.setPen(bookletRed);
    painter.drawText(QPointF(194, 206), QStringLiteral("000000"));

    // Trainee.
    pen.text(16, 232, QStringLiteral("Настоящее свидетельство выдано"), body);
    pen.line(16, 673, 262);
    captionUnder(pen, 16, 673, 262, QStringLiteral("(фамилия, имя, отчество (при наличии))"));

    // Training period: "с" start date "по" end date.
    pen.text(45 - TBookletPen::width(QStringLiteral("с"), body), 291, QStringLiteral("с"), body);
    pen.line(48, 345, 297);
    pen.text(373 - TBookletPen::width(QStringLiteral("по"), body), 291, QStringLiteral("по"), body);
    pen.line(376, 673, 297);

    // Programme; the entry line completes the sentence (typically the category).
    pen.text(16, 314, QStringLiteral("прошел(а) обучение по основной программе профессионального обучения"),
             body);
    pen.text(16, 330, QStringLiteral("«Профессиональная подготовка водителей транспортных средств"), body);
    pen.line(16, 673, 373);
    captionUnder(pen, 16, 673, 373, QStringLiteral("(категории, подкатегории транспортных средств)»"));
    pen.text(16, 396, QStringLiteral("и сдал(а) квалификационный экзамен."), body);

    // Qualification, category, protocol.
    pen.text(16, 418, QStringLiteral("Присвоена квалификация"), body);
    pen.line(244, 673, 424);
    pen.text(16, 445, QStringLiteral("Категория (подкатегория) ТС"), body);
    pen.line(244, 345, 451);
    pen.text(16, 472, QStringLiteral("Протокол квалификационной комиссии №"), body);
    pen.line(328, 438, 478);
    pen.text(16, 501, QStringLiteral("от"), body);
    pen.line(35, 377, 507);
    pen.text(560, 501, QStringLiteral("М.П."), bodyBold);
    return image;
}
