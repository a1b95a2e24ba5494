#include "BookletPages.h"

#include <QFontMetricsF>

QFont TBookletPen::serif(int pixels, bool bold, bool italic)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

qreal TBookletPen::width(const QString &text, const QFont &font)
{
    return QFontMetricsF(font).horizontalAdvance(text);
}

void TBookletPen::line(int x1, int x2, int y, int width)
{
    FPainter.fillRect(x1, y, x2 - x1, width, bookletInk);
}

void TBookletPen::text(qreal x, qreal baseline, const QString &text, const QFont &font)
{
    FPainter.setFont(font);
    FPainter.setPen(bookletInk);
    FPainter.drawText(QPointF(x, baseline), text);
}

void TBookletPen::centred(int x1, int x2, qreal baseline, const QString &s, const QFont &font)
{
    text(x1 + (x2 - x1 - width(s, font)) / 2, baseline, s, font);
}

QFont TBookletPen::justified(int x1, int x2, qreal baseline, const QString &s, QFont font)
{
    // Too long: condense. Too short: widen the word gaps a little, then spread
    // the letters evenly, as printed forms do with a spaced-out line.
    const qreal natural = width(s, font);
    const int gaps = int(s.count(QLatin1Char(' ')));
    const qreal room = x2 - x1;
    if (natural > room) {
        font.setStretch(qMax(70, int(100 * room / natural)));
    } else {
        qreal extra = room - natural;
        if (gaps > 0) {
            const qreal perGap = qMin<qreal>(8, extra / gaps);
            font.setWordSpacing(perGap);
            extra -= perGap * gaps;
        }
        if (extra > 0.5 && s.size() > 1)
            font.setLetterSpacing(QFont::AbsoluteSpacing, extra / s.size());
    }
    text(x2 - width(s, font), baseline, s, font);
    return font;
}

QImage blankBookletPage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(bookletPaper);
    QPainter painter(&image);
    painter.setPen(QColor(200, 194, 176));
    painter.drawRect(0, 0, width - 1, height - 1);
    return image;
}
