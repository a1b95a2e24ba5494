// The workspace rulers: marks in the designer's units and guides dragged
// out of them.

#include "designer/rudRuler.h"

#include "report/model/rudUnits.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

TfrxRuler::TfrxRuler(Qt::Orientation Orientation, QWidget *Parent) : QWidget(Parent), FOrientation(Orientation)
{
    if (FOrientation == Qt::Horizontal)
        setFixedHeight(Thickness);
    else
        setFixedWidth(Thickness);
    setCursor(FOrientation == Qt::Horizontal ? Qt::SplitVCursor : Qt::SplitHCursor);
}

QSize TfrxRuler::sizeHint() const
{
    return FOrientation == Qt::Horizontal ? QSize(100, Thickness) : QSize(Thickness, 100);
}

void TfrxRuler::SetUnits(TfrxDesignerUnits Value)
{
    FUnits = Value;
    update();
}

void TfrxRuler::SetScale(double Value)
{
    FScale = Value > 0 ? Value : 1;
    update();
}

void TfrxRuler::SetOffset(double Value)
{
    if (FOffset == Value)
        return;
    FOffset = Value;
    update();
}

void TfrxRuler::SetSize(double Value)
{
    FSize = Value;
    update();
}

double TfrxRuler::MarkStep() const
{
    switch (FUnits) {
    case duCM:
        return fr01cm;
    case duInches:
        return fr1in / 8.0;
    case duPixels:
        return 10;
    case duChars:
        return FOrientation == Qt::Horizontal ? fr1CharX : fr1CharY;
    }
    return 10;
}

int TfrxRuler::MarksPerNumber() const
{
    return FUnits == duInches ? 8 : 10;
}

void TfrxRuler::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool across = FOrientation == Qt::Horizontal;
    const double length = across ? width() : height();
    painter.fillRect(rect(), palette().color(QPalette::Window));
    // The printable area is white.
    const double a = FOffset, b = FOffset + FSize * FScale;
    const QRectF inside = across ? QRectF(a, 2, b - a, Thickness - 4) : QRectF(2, a, Thickness - 4, b - a);
    painter.fillRect(inside, Qt::white);

    const double step = MarkStep() * FScale;
    const int perNumber = MarksPerNumber();
    // Numbers at least 30 pixels apart; marks at least 3.
    int numberEvery = 1;
    while (step * perNumber * numberEvery < 30)
        numberEvery *= 2;
    const bool minor = step >= 3;
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::WindowText));
    const long first = long(std::floor(-FOffset / step)), last = long(std::ceil((length - FOffset) / step));
    for (long i = first; i <= last; ++i) {
        const double pos = std::round(FOffset + i * step) + 0.5;
        int mark = 0;
        if (i % perNumber == 0) {
            const long count = std::labs(i / perNumber);
            if ((count % numberEvery) == 0) {
                // Pixels are numbered by the hundred, the other units one by one.
                const QString text = QString::number(count * (FUnits == duPixels ? 100 : 1));
                if (across) {
                    painter.drawText(QRectF(pos - 20, 0, 40, Thickness), Qt::AlignCenter, text);
                } else {
                    painter.save();
                    painter.translate(0, pos);
                    painter.rotate(-90);
                    painter.drawText(QRectF(-20, 0, 40, Thickness), Qt::AlignCenter, text);
                    painter.restore();
                }
                continue;
            }
            mark = 8;
        } else if (perNumber % 2 == 0 && i % (perNumber / 2) == 0) {
            mark = 6;
        } else if (minor) {
            mark = 3;
        }
        if (mark == 0)
            continue;
        const double m0 = (Thickness - mark) / 2.0, m1 = m0 + mark;
        if (across)
            painter.drawLine(QPointF(pos, m0), QPointF(pos, m1));
        else
            painter.drawLine(QPointF(m0, pos), QPointF(m1, pos));
    }
}

void TfrxRuler::mousePressEvent(QMouseEvent *Event)
{
    if (Event->button() == Qt::LeftButton)
        FDragging = true;
}

void TfrxRuler::mouseMoveEvent(QMouseEvent *Event)
{
    if (FDragging)
        emit GuideDragged(FOrientation == Qt::Horizontal, Event->globalPosition().toPoint(), false);
}

void TfrxRuler::mouseReleaseEvent(QMouseEvent *Event)
{
    if (Event->button() != Qt::LeftButton || !FDragging)
        return;
    FDragging = false;
    emit GuideDragged(FOrientation == Qt::Horizontal, Event->globalPosition().toPoint(), true);
}
