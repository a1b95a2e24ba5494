// The subject table: subject, number of hours, grade. Row heights are chosen
// so that each hours cell and grade box of the entry window sits inside its
// row, and the three «…» blanks of the category sit where the window shows
// the category.

#include "BookletPages.h"

namespace {

// Column edges, page pixels.
constexpr int colLeft = 6, colHours = 506, colGrade = 582, colRight = 691;
// Left edge of subject text.
constexpr int textLeft = 10;
// Left edges of the category blanks and the transmission blank, page pixels
// (the window's mirrors minus the width of the left page, 698).
constexpr int blank5X = 206, blank5Y = 213;
constexpr int blank6X = 135, blank6Y = 260;
constexpr int blank7X = 440, blank7Y = 289;
constexpr int kppX = 23, kppRight = 247, kppY = 307;
// Width left open for the category between « and ».
constexpr int blankWidth = 40;

// Baseline of text level with a 12 px label whose top is at y.
constexpr qreal baselineAt(int y) { return y + 12; }

struct TRow {
    int Top, Bottom;
};

void grid(TBookletPen &pen, const TRow &row, bool cells)
{
    QPainter &p = pen.painter();
    p.setPen(bookletInk);
    p.drawLine(colLeft, row.Bottom, colRight, row.Bottom);
    p.drawLine(colLeft, row.Top, colLeft, row.Bottom);
    p.drawLine(colRight, row.Top, colRight, row.Bottom);
    if (cells) {
        p.drawLine(colHours, row.Top, colHours, row.Bottom);
        p.drawLine(colGrade, row.Top, colGrade, row.Bottom);
    }
}

// A subject of one or two lines, vertically centred in its row.
void subject(TBookletPen &pen, const TRow &row, const QString &first, const QString &second = {},
             bool bold = false)
{
    const QFont font = TBookletPen::serif(12, bold);
    grid(pen, row, true);
    const qreal middle = (row.Top + row.Bottom) / 2.0;
    if (second.isEmpty()) {
        pen.text(textLeft, middle + 4, first, font);
    } else {
        pen.text(textLeft, middle - 3, first, font);
        pen.text(textLeft, middle + 11, second, font);
    }
}

// A heading row naming a cycle of subjects.
void cycle(TBookletPen &pen, const TRow &row, const QString &name)
{
    grid(pen, row, true);
    pen.text(textLeft, row.Bottom - 4, name, TBookletPen::serif(11, true, true));
}

// "…«" ending at the blank, the open blank, and "»…" after it.
void blank(TBookletPen &pen, int x, int y, const QString &before, const QString &after)
{
    const QFont used = pen.justified(textLeft, x - 2, baselineAt(y), before + QStringLiteral(" «"),
                                     TBookletPen::serif(12));
    QFont plain = used;
    plain.setWordSpacing(0);
    plain.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    plain.setStretch(100);
    pen.text(x + blankWidth, baselineAt(y), QStringLiteral("»") + after, plain);
}

} // namespace

QImage drawRightPage()
{
    QImage image = blankBookletPage(rightPageWidth, rightPageHeight);
    QPainter painter(&image);
    TBookletPen pen(painter);

    // Header.
    const TRow header{4, 38};
    painter.setPen(bookletInk);
    painter.drawLine(colLeft, header.Top, colRight, header.Top);
    grid(pen, header, true);
    const QFont head = TBookletPen::serif(12, true);
    pen.centred(colLeft, colHours, 26, QStringLiteral("Наименование учебных предметов"), head);
    pen.centred(colHours, colGrade, 19, QStringLiteral("Количество"), head);
    pen.centred(colHours, colGrade, 33, QStringLiteral("часов"), head);
    pen.centred(colGrade, colRight, 26, QStringLiteral("Оценка"), head);

    cycle(pen, {38, 52}, QStringLiteral("Базовый цикл"));
    subject(pen, {52, 79}, QStringLiteral("Основы законодательства в сфере дорожного движения"));
    subject(pen, {79, 106}, QStringLiteral("Психофизиологические основы деятельности водителя"));
    subject(pen, {106, 133}, QStringLiteral("Основы управления транспортными средствами"));
    subject(pen, {133, 160}, QStringLiteral("Первая помощь при дорожно-транспортном происшествии"));

    cycle(pen, {160, 178}, QStringLiteral("Специальный цикл"));
    const QFont font = TBookletPen::serif(12);
    grid(pen, {178, 232}, true);
    pen.text(textLeft, baselineAt(blank5Y) - 16,
             QStringLiteral("Устройство и техническое обслуживание транспортных"), font);
    blank(pen, blank5X, blank5Y, QStringLiteral("средств категории (подкатегории)"),
          QStringLiteral(" как объектов управления"));
    grid(pen, {232, 284}, true);
    pen.text(textLeft, baselineAt(blank6Y) - 16,
             QStringLiteral("Основы управления транспортными средствами категории"), font);
    blank(pen, blank6X, blank6Y, QStringLiteral("(подкатегории)"), QString());
    grid(pen, {284, 330}, true);
    blank(pen, blank7X, blank7Y, QStringLiteral("Вождение транспортных средств категории (подкатегории)"),
          QStringLiteral(" с"));
    pen.line(kppX, kppRight, kppY + 19);
    pen.text(kppRight + 5, kppY + 14, QStringLiteral("трансмиссией"), font);

    cycle(pen, {330, 350}, QStringLiteral("Профессиональный цикл"));
    subject(pen, {350, 404}, QStringLiteral("Организация и выполнение грузовых перевозок"),
            QStringLiteral("автомобильным транспортом"));
    subject(pen, {404, 452}, QStringLiteral("Организация и выполнение пассажирских перевозок"),
            QStringLiteral("автомобильным транспортом"));
    subject(pen, {452, 482}, QStringLiteral("Квалификационный экзамен"), QString(), true);

    const TRow total{482, 510};
    grid(pen, total, true);
    const QFont totalFont = TBookletPen::serif(12, true);
    pen.text(colHours - 8 - TBookletPen::width(QStringLiteral("Итого:"), totalFont), 500,
             QStringLiteral("Итого:"), totalFont);
    return image;
}
