// Painting of the three fills in a device rectangle.

#include "report/render/rudViewDraw.h"

#include "report/model/rudFill.h"

#include <QImage>
#include <QPainter>

#include <cmath>

namespace {

struct TChannels {
    int R, G, B;
};

TChannels channels(TColor c)
{
    return {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF};
}

// Band k of N of a gradient from s by d, each channel kept to its low byte.
TColor bandColor(const TChannels &s, const TChannels &d, int k, int n)
{
    const int r = (s.R + rudMulDiv(k, d.R, n)) & 0xFF;
    const int g = (s.G + rudMulDiv(k, d.G, n)) & 0xFF;
    const int b = (s.B + rudMulDiv(k, d.B, n)) & 0xFF;
    return r | (g << 8) | (b << 16);
}

void drawBrush(const TfrxBrushFill *Fill, TfrxCanvas *Canvas, int X, int Y, int X1, int Y1)
{
    if (Fill->BackColor() != clTransparent)
        Canvas->FillRect(QRect(QPoint(X, Y), QPoint(X1 - 1, Y1 - 1)), Fill->BackColor());
    const TBrushStyle style = Fill->Style();
    if (style >= bsHorizontal && style <= bsDiagCross && Fill->ForeColor() != clTransparent) {
        Canvas->Save();
        Canvas->SetNoPen();
        Canvas->SetBrush(Fill->ForeColor(), style);
        Canvas->Rectangle(X, Y, X1 + 1, Y1 + 1);
        Canvas->Restore();
    }
}

void drawGradient(const TfrxGradientFill *Fill, TfrxCanvas *Canvas, int X, int Y, int X1, int Y1)
{
    const int w = X1 - X, h = Y1 - Y;
    if (w <= 0 || h <= 0)
        return;
    const TChannels s = channels(Fill->StartColor());
    const TChannels e = channels(Fill->EndColor());
    const TChannels d{e.R - s.R, e.G - s.G, e.B - s.B};
    switch (Fill->GradientStyle()) {
    case gsHorizontal:
        for (int k = 0; k < 256; ++k)
            Canvas->FillRect(QRect(QPoint(X + rudMulDiv(k, w, 256), Y), QPoint(X + rudMulDiv(k + 1, w, 256) - 1, Y1 - 1)),
                             bandColor(s, d, k, 255));
        break;
    case gsVertical:
        for (int k = 0; k < 256; ++k)
            Canvas->FillRect(QRect(QPoint(X, Y + rudMulDiv(k, h, 256)), QPoint(X1 - 1, Y + rudMulDiv(k + 1, h, 256) - 1)),
                             bandColor(s, d, k, 255));
        break;
    case gsElliptic: {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(rudColor(Fill->StartColor()));
        {
            QPainter p(&image);
            p.setPen(Qt::NoPen);
            double l = -w / 4.0, t = -h / 4.0, r = w + w / 4.0, b = h + h / 4.0;
            const double sx = (w / 4.0 + w / 2.0) / 155, sy = (h / 4.0 + h / 2.0) / 155;
            for (int k = 0; k < 156; ++k) {
                l += sx;
                t += sy;
                r -= sx;
                b -= sy;
                p.setBrush(rudColor(bandColor(s, d, k, 155)));
                p.drawEllipse(QRect(QPoint(int(l), int(t)), QPoint(int(r) - 1, int(b) - 1)));
            }
        }
        Canvas->DrawImage(QRect(X, Y, w, h), image);
        break;
    }
    case gsRectangle: {
        double l = X, t = Y, r = X + w, b = Y + h;
        const double sx = w / 2.0 / 255, sy = h / 2.0 / 255;
        for (int k = 0; k < 256; ++k) {
            l += sx;
            t += sy;
            r -= sx;
            b -= sy;
            Canvas->FillRect(QRect(QPoint(int(l), int(t)), QPoint(int(r) - 1, int(b) - 1)), bandColor(s, d, k, 255));
        }
        break;
    }
    case gsVertCenter: {
        const int half = h / 2;
        for (int k = 0; k <= half; ++k) {
            const TColor c = bandColor(s, d, k, std::max(half, 1));
            Canvas->FillRect(QRect(X, Y + k, w, 1), c);
            Canvas->FillRect(QRect(X, Y + h - k - 1, w, 1), c);
        }
        break;
    }
    case gsHorizCenter: {
        const int half = w / 2;
        for (int k = 0; k <= half; ++k) {
            const TColor c = bandColor(s, d, k, std::max(half, 1));
            Canvas->FillRect(QRect(X + k, Y, 1, h), c);
            Canvas->FillRect(QRect(X + w - k - 1, Y, 1, h), c);
        }
        break;
    }
    }
}

void drawGlass(const TfrxGlassFill *Fill, TfrxCanvas *Canvas, int X, int Y, int X1, int Y1)
{
    const TColor color = Fill->Color();
    if (color == clTransparent)
        return;
    const TChannels c = channels(color);
    auto lighten = [&](int v) { return std::min(255, v + rudRound((255 - v) * Fill->Blend())); };
    const TColor light = lighten(c.R) | (lighten(c.G) << 8) | (lighten(c.B) << 16);
    Canvas->FillRect(QRect(QPoint(X, Y), QPoint(X1 - 1, Y1 - 1)), color);
    QRect half;
    switch (Fill->Orientation()) {
    case foVertical: half = QRect(QPoint(X, Y), QPoint(X1 - (X1 - X) / 2 - 1, Y1 - 1)); break;
    case foHorizontal: half = QRect(QPoint(X, Y), QPoint(X1 - 1, Y1 - (Y1 - Y) / 2 - 1)); break;
    case foVerticalMirror: half = QRect(QPoint(X + (X1 - X) / 2, Y), QPoint(X1 - 1, Y1 - 1)); break;
    case foHorizontalMirror: half = QRect(QPoint(X, Y + (Y1 - Y) / 2), QPoint(X1 - 1, Y1 - 1)); break;
    }
    Canvas->FillRect(half, light);
    if (Fill->Hatch()) {
        const TChannels l = channels(light);
        const TColor hatch = std::max(0, l.R - 6) | (std::max(0, l.G - 6) << 8) | (std::max(0, l.B - 6) << 16);
        Canvas->Save();
        Canvas->SetNoPen();
        Canvas->SetBrush(hatch, bsBDiagonal);
        Canvas->Rectangle(X, Y, X1 + 1, Y1 + 1);
        Canvas->Restore();
    }
}

} // namespace

void rudDrawFill(const TfrxCustomFill *Fill, TfrxCanvas *Canvas, int X, int Y, int X1, int Y1)
{
    if (!Fill || !Canvas->Painter())
        return;
    switch (Fill->FillType()) {
    case ftBrush: drawBrush(static_cast<const TfrxBrushFill *>(Fill), Canvas, X, Y, X1, Y1); break;
    case ftGradient: drawGradient(static_cast<const TfrxGradientFill *>(Fill), Canvas, X, Y, X1, Y1); break;
    case ftGlass: drawGlass(static_cast<const TfrxGlassFill *>(Fill), Canvas, X, Y, X1, Y1); break;
    }
}
