// Drawing of the view kinds: plain views, lines, shapes and pictures; the
// painter's dispatch.

#include "report/render/rudMemoDraw.h"
#include "report/render/rudViewDraw.h"

#include "report/model/rudLineView.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPictureView.h"
#include "report/model/rudShapeView.h"

#include <QPainter>

#include <cmath>

namespace {

void drawLineView(TfrxCustomLineView *View, const TfrxViewDrawState &S)
{
    TfrxCanvas *canvas = S.Canvas;
    const TfrxFrame *frame = View->Frame();
    if (frame->Color() == clTransparent || !canvas->Painter())
        return;
    int x1 = S.FX, y1 = S.FY, x2 = S.FX1, y2 = S.FY1;
    if (!View->Diagonal()) {
        if (View->Width() == 0)
            x2 = x1;
        else
            y2 = y1;
    }
    const int w = std::max(1, S.FFrameWidth);
    canvas->Save();
    if (frame->Style() == fsSolid || frame->Style() == fsDouble)
        canvas->SetPen(frame->Color(), w, psSolid, pcSquare);
    else
        canvas->SetPen(frame->Color(), 1,
                       frame->Style() == fsDash       ? psDash
                       : frame->Style() == fsDot      ? psDot
                       : frame->Style() == fsDashDot  ? psDashDot
                       : frame->Style() == fsDashDotDot ? psDashDotDot
                                                       : psDot,
                       pcFlat);
    if (x1 == x2 || y1 == y2 || frame->Style() != fsSolid) {
        if (frame->Style() == fsSolid || frame->Style() == fsDouble)
            canvas->Line(x1, y1, x2, y2);
        else
            rudDrawBandLine(canvas, x1, y1, x2, y2, w);
    } else {
        canvas->Painter()->setRenderHint(QPainter::Antialiasing, true);
        canvas->Painter()->drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }
    // Arrow heads: ArrowLength along the line, ArrowWidth to each side.
    auto arrow = [&](int tipX, int tipY, int fromX, int fromY) {
        const double dx = tipX - fromX, dy = tipY - fromY, len = std::hypot(dx, dy);
        if (len == 0)
            return;
        const double ux = dx / len, uy = dy / len;
        const double l = View->ArrowLength() * S.ScaleX, aw = View->ArrowWidth() * S.ScaleX;
        const QPointF base(tipX - ux * l, tipY - uy * l);
        const QPointF a(base.x() - uy * aw, base.y() + ux * aw), b(base.x() + uy * aw, base.y() - ux * aw);
        QPainter *p = canvas->Painter();
        p->setRenderHint(QPainter::Antialiasing, true);
        if (View->ArrowSolid()) {
            p->setBrush(rudColor(frame->Color()));
            p->drawPolygon(QPolygonF{QPointF(tipX, tipY), a, b});
        } else {
            p->drawLine(QPointF(tipX, tipY), a);
            p->drawLine(QPointF(tipX, tipY), b);
        }
    };
    if (View->ArrowEnd())
        arrow(x2, y2, x1, y1);
    if (View->ArrowStart())
        arrow(x1, y1, x2, y2);
    canvas->Restore();
}

void drawShapeView(TfrxShapeView *View, const TfrxViewDrawState &S)
{
    TfrxCanvas *canvas = S.Canvas;
    if (!canvas->Painter())
        return;
    const TfrxFrame *frame = View->Frame();
    canvas->Save();
    canvas->Painter()->setRenderHint(QPainter::Antialiasing, View->Shape() != TfrxShapeView::skRectangle);
    if (frame->Color() == clTransparent)
        canvas->SetNoPen();
    else
        canvas->SetPen(frame->Color(), std::max(1, S.FFrameWidth), psSolid, pcSquare);
    TColor back = clTransparent;
    TBrushStyle style = bsSolid;
    if (const TfrxCustomFill *fill = View->ExistingFill()) {
        if (fill->FillType() == ftBrush) {
            back = static_cast<const TfrxBrushFill *>(fill)->BackColor();
            style = static_cast<const TfrxBrushFill *>(fill)->Style();
        } else if (fill->FillType() == ftGradient) {
            back = static_cast<const TfrxGradientFill *>(fill)->GetColor();
        } else {
            back = static_cast<const TfrxGlassFill *>(fill)->Color();
        }
    }
    canvas->SetBrush(back, style == bsClear ? bsClear : bsSolid);
    const int x = S.FX, y = S.FY, x1 = S.FX1, y1 = S.FY1;
    const int mx = (x + x1) / 2, my = (y + y1) / 2;
    switch (View->Shape()) {
    case TfrxShapeView::skRectangle:
        canvas->Rectangle(x, y, x1 + 1, y1 + 1);
        break;
    case TfrxShapeView::skRoundRectangle: {
        const int side = std::min(S.FDX, S.FDY);
        const int curve = View->Curve() == 0 ? side / 4 : side * View->Curve() / 10;
        canvas->RoundRect(x, y, x1 + 1, y1 + 1, curve, curve);
        break;
    }
    case TfrxShapeView::skEllipse:
        canvas->Ellipse(x, y, x1 + 1, y1 + 1);
        break;
    case TfrxShapeView::skTriangle:
        canvas->Polygon({QPoint(x1, y1), QPoint(x, y1), QPoint(mx, y)});
        break;
    case TfrxShapeView::skDiamond:
        canvas->Polygon({QPoint(mx, y), QPoint(x1, my), QPoint(mx, y1), QPoint(x, my)});
        break;
    case TfrxShapeView::skDiagonal1:
        canvas->Painter()->drawLine(QPointF(x, y1), QPointF(x1, y));
        break;
    case TfrxShapeView::skDiagonal2:
        canvas->Painter()->drawLine(QPointF(x, y), QPointF(x1, y1));
        break;
    }
    canvas->Restore();
}

void drawPictureView(TfrxPictureView *View, const TfrxViewDrawState &S)
{
    rudDrawBackground(View, S);
    const TfrxPicture *picture = View->Picture();
    if (picture && picture->Graphic() && S.Canvas->Painter()) {
        QImage image = picture->Graphic()->Image();
        if (!image.isNull()) {
            if (View->Transparent()) {
                image = image.convertToFormat(QImage::Format_ARGB32);
                const QRgb key = rudColor(View->TransparentColor()).rgb();
                for (int yy = 0; yy < image.height(); ++yy) {
                    QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(yy));
                    for (int xx = 0; xx < image.width(); ++xx)
                        if ((line[xx] | 0xFF000000) == (key | 0xFF000000))
                            line[xx] = 0;
                }
            }
            // A JPEG shown as it is goes into a PDF as its own file.
            const QByteArray jpeg = picture->Graphic()->Kind() == TfrxGraphicKind::Jpeg && !View->Transparent()
                                        ? picture->Graphic()->Bytes()
                                        : QByteArray();
            const QRect box(QPoint(S.FX, S.FY), QPoint(S.FX1 - 1, S.FY1 - 1));
            S.Canvas->Save();
            S.Canvas->IntersectClip(box);
            S.Canvas->Painter()->setRenderHint(QPainter::SmoothPixmapTransform, true);
            if (View->Stretched()) {
                S.Canvas->DrawImage(TfrxPictureView::StretchedImageRect(box, image.size(), View->KeepAspectRatio(),
                                                                        View->Center()),
                                    image, jpeg);
            } else {
                const QPoint origin = TfrxPictureView::UnstretchedImageOrigin(box, image.size(), S.ScaleX, S.ScaleY,
                                                                              View->Center());
                S.Canvas->DrawImage(QRect(origin, QSize(rudRound(image.width() * S.ScaleX),
                                                        rudRound(image.height() * S.ScaleY))),
                                    image, jpeg);
            }
            S.Canvas->Restore();
        }
    }
    rudDrawFrame(View, S);
}

} // namespace

void TfrxViewDrawer::Draw(TfrxView *View, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                          double OffsetY)
{
    if (!View || !Canvas)
        return;
    if (auto *memo = qobject_cast<TfrxCustomMemoView *>(View)) {
        rudDrawMemo(memo, Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
        return;
    }
    const TfrxViewDrawState s = rudBeginDraw(View, Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
    if (auto *line = qobject_cast<TfrxCustomLineView *>(View))
        drawLineView(line, s);
    else if (auto *shape = qobject_cast<TfrxShapeView *>(View))
        drawShapeView(shape, s);
    else if (auto *picture = qobject_cast<TfrxPictureView *>(View))
        drawPictureView(picture, s);
    else
        rudDrawViewBox(View, s);
}

void rudDrawView(TfrxView *View, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY)
{
    TfrxViewDrawer().Draw(View, Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
}
