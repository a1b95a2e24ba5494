#include "report/render/rudViewDraw.h"

#include "report/model/rudFill.h"
#include "report/model/rudFrame.h"
#include "report/model/rudView.h"

#include <QPainter>
#include <algorithm>

#include <cmath>
#include <cstdlib>

int rudMulDiv(int A, int B, int C)
{
    if (C == 0)
        return -1;
    return int(std::llround(double(A) * double(B) / double(C)));
}

TfrxViewDrawState rudBeginDraw(TfrxView *View, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                               double OffsetY)
{
    TfrxViewDrawState s;
    s.Canvas = Canvas;
    s.ScaleX = ScaleX;
    s.ScaleY = ScaleY;
    s.OffsetX = OffsetX;
    s.OffsetY = OffsetY;
    const double left = View->AbsLeft(), top = View->AbsTop();
    s.FX = rudRound(OffsetX + ScaleX * left);
    s.FY = rudRound(OffsetY + ScaleY * top);
    s.FX1 = rudRound(OffsetX + ScaleX * (left + View->Width()));
    s.FY1 = rudRound(OffsetY + ScaleY * (top + View->Height()));
    const TfrxFrame *frame = View->Frame();
    if (frame->DropShadow()) {
        s.FX1 -= rudRound(ScaleX * frame->ShadowWidth());
        s.FY1 -= rudRound(ScaleY * frame->ShadowWidth());
    }
    s.FDX = s.FX1 - s.FX;
    s.FDY = s.FY1 - s.FY;
    s.FFrameWidth = rudRound(ScaleX * frame->Width());
    return s;
}

void rudDrawBackground(TfrxView *View, const TfrxViewDrawState &S)
{
    const TfrxFrame *frame = View->Frame();
    const double fw = frame->Width();
    const TfrxFrameTypes typ = frame->Typ();
    const int left = typ & ftLeft ? S.FX - rudRound(fw * S.ScaleX / 2) : S.FX;
    const int top = typ & ftTop ? S.FY - rudRound(fw * S.ScaleY / 2) : S.FY;
    const int right = typ & ftRight ? S.FX1 + rudRound(fw * S.ScaleX / 2) + rudRound(fw * S.ScaleX) % 2 : S.FX1;
    const int bottom = typ & ftBottom ? S.FY1 + rudRound(fw * S.ScaleY / 2) + rudRound(fw * S.ScaleY) % 2 : S.FY1;
    rudDrawFill(View->ExistingFill(), S.Canvas, left, top, right, bottom);
}

void rudDrawFrame(TfrxView *View, const TfrxViewDrawState &S)
{
    rudDrawFrameRecord(View->Frame(), S.Canvas, S.FX, S.FY, S.FX1, S.FY1, S.ScaleX, S.ScaleY);
}

void rudDrawViewBox(TfrxView *View, const TfrxViewDrawState &S)
{
    rudDrawBackground(View, S);
    rudDrawFrame(View, S);
}

void rudDrawBandLine(TfrxCanvas *Canvas, int X1, int Y1, int X2, int Y2, int Width)
{
    QPainter *painter = Canvas->Painter();
    if (!painter || !painter->device())
        return;
    const int w = Width == 0 ? 1 : std::abs(Width);
    const bool horizontal = std::abs(Y2 - Y1) < std::abs(X2 - X1);
    // Only the one-pixel lines that can touch the device are drawn: a frame
    // of absurd width (a template may say 1e300) costs the device's size.
    QRectF visible = painter->worldTransform().inverted().mapRect(
        QRectF(0, 0, painter->device()->width(), painter->device()->height()));
    if (painter->hasClipping())
        visible &= painter->clipBoundingRect();
    const double margin = painter->pen().widthF() + 2;
    const double low = (horizontal ? visible.top() - std::max(Y1, Y2) : visible.left() - std::max(X1, X2)) - margin;
    const double high = (horizontal ? visible.bottom() - std::min(Y1, Y2) : visible.right() - std::min(X1, X2)) + margin;
    const int first = int(std::max<double>(-(w / 2), std::ceil(low)));
    const int last = int(std::min<double>((w - 1) / 2, std::floor(high)));
    for (int i = first; i <= last; ++i) {
        if (horizontal)
            Canvas->Line(X1, Y1 + i, X2, Y2 + i);
        else
            Canvas->Line(X1 + i, Y1, X2 + i, Y2);
    }
}
