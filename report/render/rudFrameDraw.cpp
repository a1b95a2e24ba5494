// Drawing of a frame: the drop shadow, then the left, right, top and
// bottom lines, each shortened where its neighbour is absent.

#include "report/render/rudViewDraw.h"

#include "report/model/rudFrame.h"

#include <QImage>
#include <QPainter>

namespace {

TfrxPenStyle dashStyle(TfrxFrameStyle Style)
{
    switch (Style) {
    case fsDash: return psDash;
    case fsDot: return psDot;
    case fsDashDot: return psDashDot;
    case fsDashDotDot: return psDashDotDot;
    default: return psSolid;
    }
}

// Dots or squares stamped every 2w pixels where a patterned pen is not
// available; kept for back ends without user dash patterns.
void stampDots(TfrxCanvas *Canvas, TfrxFrameStyle Style, TColor Color, int w, int X1, int Y1, int X2, int Y2)
{
    const int len = std::max(std::abs(X2 - X1), std::abs(Y2 - Y1)) + 1;
    const bool horizontal = std::abs(Y2 - Y1) < std::abs(X2 - X1);
    QImage mask(horizontal ? len : w, horizontal ? w : len, QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    QPainter p(&mask);
    p.setPen(Qt::NoPen);
    p.setBrush(rudColor(Color));
    for (int at = 0; at < len; at += 2 * std::max(w, 1)) {
        const QRect cell = horizontal ? QRect(at, 0, w, w) : QRect(0, at, w, w);
        if (w < 2)
            p.fillRect(cell.topLeft().x(), cell.topLeft().y(), 1, 1, rudColor(Color));
        else if (Style == fsAltDot)
            p.drawEllipse(cell);
        else
            p.drawRect(cell);
    }
    p.end();
    Canvas->DrawImage(QRect(std::min(X1, X2) - w / 2, std::min(Y1, Y2) - w / 2, mask.width(), mask.height()), mask);
}

// One side from (X1, Y1) to (X2, Y2); StartNeighbour/EndNeighbour tell
// whether the lines meeting its ends exist; Outer is the direction (+1 or
// -1) away from the box across the side.
void drawSide(const TfrxFrame *Frame, const TfrxLineValues &Line, TfrxCanvas *Canvas, int X1, int Y1, int X2, int Y2,
              bool StartNeighbour, bool EndNeighbour, int Outer, double ScaleX)
{
    const int w = rudRound(Line.Width * ScaleX);
    const TfrxFrameStyle style = Line.Style;
    const bool vertical = X1 == X2;
    auto along = [&](int &x, int &y, int by) { (vertical ? y : x) += by; };
    if (style == fsSolid || style == fsDouble) {
        if (!StartNeighbour)
            along(X1, Y1, w / 2);
        if (!EndNeighbour)
            along(X2, Y2, -(w / 2));
    }
    switch (style) {
    case fsSolid:
        Canvas->SetPen(Line.Color, w, psSolid, pcSquare);
        Canvas->Line(X1, Y1, X2, Y2);
        break;
    case fsDouble: {
        Canvas->SetPen(Line.Color, w, psSolid, pcSquare);
        for (int side : {Outer, -Outer}) {
            int ax = X1, ay = Y1, bx = X2, by = Y2;
            // The outer line reaches past the corners where a neighbour is,
            // the inner one stops short of them.
            const int grow = side == Outer ? w : -w;
            if (StartNeighbour)
                along(ax, ay, -grow);
            if (EndNeighbour)
                along(bx, by, grow);
            if (vertical) {
                ax += side * w;
                bx += side * w;
            } else {
                ay += side * w;
                by += side * w;
            }
            Canvas->Line(ax, ay, bx, by);
        }
        break;
    }
    case fsDash:
    case fsDot:
    case fsDashDot:
    case fsDashDotDot:
        Canvas->SetPen(Line.Color, 1, dashStyle(style), pcFlat);
        rudDrawBandLine(Canvas, X1, Y1, X2, Y2, w);
        break;
    case fsAltDot:
    case fsSquare:
        if (!Canvas->Painter())
            break;
        if (w <= 1)
            Canvas->SetPenPattern(Line.Color, 1, {1, 1}, pcFlat);
        else if (style == fsSquare)
            Canvas->SetPenPattern(Line.Color, w, {double(w), double(w)}, pcFlat);
        else
            Canvas->SetPenPattern(Line.Color, w, {0, 2.0 * w}, pcRound);
        if (Canvas->Painter()->pen().style() == Qt::CustomDashLine)
            Canvas->Painter()->drawLine(QPointF(X1 + 0.5, Y1 + 0.5), QPointF(X2 + 0.5, Y2 + 0.5));
        else
            stampDots(Canvas, style, Line.Color, w, X1, Y1, X2, Y2);
        break;
    }
    (void)Frame;
}

} // namespace

void rudDrawFrameRecord(const TfrxFrame *Frame, TfrxCanvas *Canvas, int FX, int FY, int FX1, int FY1, double ScaleX,
                        double ScaleY)
{
    const bool shadow = Frame->DropShadow() && Frame->ShadowColor() != clTransparent;
    const TfrxFrameTypes typ = Frame->Typ();
    const bool lines = typ && Frame->Color() != clTransparent && Frame->Width() != 0;
    // Nothing to draw saves no state (a PDF writes each one out).
    if (!Canvas->Painter() || (!shadow && !lines))
        return;
    Canvas->Save();
    if (shadow) {
        Canvas->SetPen(Frame->ShadowColor(), 1, psSolid, pcFlat);
        const int sx = rudRound(Frame->ShadowWidth() * ScaleX);
        const int sy = rudRound(Frame->ShadowWidth() * ScaleY);
        rudDrawBandLine(Canvas, FX1 + sx / 2, FY + sx, FX1 + sx / 2, FY1, sx);
        rudDrawBandLine(Canvas, FX + sy, FY1 + sy / 2, FX1 + sy, FY1 + sy / 2, sy);
    }
    if (!lines) {
        Canvas->Restore();
        return;
    }
    const bool left = typ & ftLeft, right = typ & ftRight, top = typ & ftTop, bottom = typ & ftBottom;
    const bool solidFrame = Frame->Style() == fsSolid;
    auto penWidth = [&](const TfrxLineValues &line) {
        return line.Style == fsSolid || line.Style == fsDouble ? rudRound(line.Width * ScaleX) : 1;
    };
    if (left) {
        const int a = penWidth(Frame->SideValues(ftLeft)) == 2 && !solidFrame ? 1 : 0;
        drawSide(Frame, Frame->SideValues(ftLeft), Canvas, FX, FY - a, FX, FY1, top, bottom, -1, ScaleX);
    }
    if (right)
        drawSide(Frame, Frame->SideValues(ftRight), Canvas, FX1, FY, FX1, FY1, top, bottom, 1, ScaleX);
    if (top)
        drawSide(Frame, Frame->SideValues(ftTop), Canvas, FX, FY, FX1, FY, left, right, -1, ScaleX);
    if (bottom) {
        const int b = penWidth(Frame->SideValues(ftBottom)) == 1 && !solidFrame ? 1 : 0;
        drawSide(Frame, Frame->SideValues(ftBottom), Canvas, FX, FY1, FX1 + b, FY1, left, right, 1, ScaleX);
    }
    Canvas->Restore();
    (void)ScaleY;
}
