// Drawing of the wrapped lines on a target canvas: device font, WYSIWYG
// spreading of rounding differences, alignment, rotation and runs.

#include "report/render/rudDrawText.h"

#include <cmath>
#include <numbers>

namespace {

// The sine and cosine of a text's turn: most text is not turned, and
// needs no library call for them.
struct TTurn {
    double Sin = 0, Cos = 1;
    explicit TTurn(int Degrees)
    {
        if (Degrees != 0) {
            const double angle = Degrees * std::numbers::pi / 180;
            Sin = std::sin(angle);
            Cos = std::cos(angle);
        }
    }
};

int rnd(double v)
{
    return int(std::nearbyint(v));
}

// Spreads Diff (signed) over Arr[A..B]: single steps when it is smaller
// than the range, else an even share to every entry plus the remainder.
void spread(int *Arr, int A, int B, int Diff)
{
    const int count = B - A + 1;
    if (count <= 0 || Diff == 0)
        return;
    const int one = Diff > 0 ? 1 : -1;
    if (std::abs(Diff) < count) {
        IncArray(Arr, A, B, one, std::abs(Diff));
        return;
    }
    const int share = Diff / count;
    for (int i = A; i <= B; ++i)
        Arr[i] += share;
    IncArray(Arr, A, B, one, std::abs(Diff - share * count));
}

} // namespace

int TfrxDrawText::DeviceFontHeight(TfrxCanvas *Canvas, int Size) const
{
    if (IsPrinter(Canvas))
        return -rnd(Canvas->LogPixelsY() * Size * FPrintScale / 72);
    return -rnd(Size * FScaleY * 96 / 72);
}

void TfrxDrawText::ApplyTag(TfrxCanvas *Canvas, TfrxHTMLTag &Tag)
{
    Tag.Default = true;
    TfrxCanvasFont font = Canvas->Font();
    font.Height = DeviceFontHeight(Canvas, Tag.Size);
    font.Style = Tag.Style;
    font.Color = Tag.Color;
    Canvas->SetFont(font);
}

void TfrxDrawText::DrawText(TfrxCanvas *Canvas, TfrxHAlign HAlign, TfrxVAlign VAlign)
{
    const int n = int(FText.size());
    if (n == 0 || FHTMLTags.Lines.empty())
        return;
    std::lock_guard<std::recursive_mutex> guard(FLock);
    // 1. The device font.
    TfrxCanvasFont font = FDeviceBase;
    font.Height = DeviceFontHeight(Canvas, FFontSize);
    font.Escapement = 0;
    FLastDeviceHeight = font.Height;
    TfrxHTMLTags &firstTags = FHTMLTags.Lines.front();
    if (!firstTags.empty() && !firstTags.front().Default) {
        const TfrxHTMLTag &tag = firstTags.front();
        font.Style = tag.Style;
        font.Color = tag.Color;
        font.Height = DeviceFontHeight(Canvas, tag.Size);
        firstTags.front().Default = true;
    }
    // 2. Rotation for the whole call.
    if (FRotation != 0)
        font = CreateRotatedFont(font, FRotation);
    Canvas->SetFont(font);
    const int deviceHeight = -font.Height;
    // 3. Block height.
    const int h600 = -FLayout.Font().Height;
    int th;
    if (IsPrinter(Canvas)) {
        const double d = 600.0 / Canvas->LogPixelsY() / FPrintScale;
        th = rnd((FLineSpacing * FScaleY * d * n + double(h600) * n) / d);
    } else {
        const double d = 600.0 / 96;
        th = rnd((FLineSpacing * d * n + double(h600) * n) / d * FScaleY);
    }
    // 4. Line advances, forced to the layout's block height.
    std::vector<int> advances(n, rnd(FLineSpacing * FScaleY) + deviceHeight);
    if (FWysiwyg && n > 1) {
        const int diff = th - n * advances[0];
        if (std::abs(diff) < n)
            IncArray(advances.data(), 0, n - 2, diff > 0 ? 1 : -1, std::abs(diff));
        else
            spread(advances.data(), 0, n - 2, diff);
    }
    // 5. Start point and line width.
    const int L = FScaledRect.left(), T = FScaledRect.top();
    const int R = FScaledRect.left() + FScaledRect.width(), B = FScaledRect.top() + FScaledRect.height();
    const TTurn turn(FRotation);
    const double s = std::abs(turn.Sin), c = std::abs(turn.Cos);
    int x = L, y = T, w = R - L, v = B - T;
    const int slantW = c != 0 ? rnd((R - L - s * th) / c) : R - L;
    const int r = FRotation;
    if (r == 0) {
        x = L; y = T; w = R - L; v = B - T;
    } else if (r < 90) {
        w = slantW; x = L; y = T + rnd(s * w); v = th + B - y - rnd(c * th);
    } else if (r == 90) {
        x = L; y = B; w = B - T; v = R - L;
    } else if (r < 180) {
        w = slantW; x = L + rnd(c * w); y = B; v = th + B - T - rnd(c * th + s * w);
    } else if (r == 180) {
        x = R; y = B; w = R - L; v = B - T;
    } else if (r < 270) {
        w = slantW; x = R; y = B - rnd(s * w); v = th + y - T - rnd(c * th);
    } else if (r == 270) {
        x = R; y = T; w = B - T; v = R - L;
    } else {
        w = slantW; x = L + rnd(s * th); y = T; v = th + B - T - rnd(s * w + c * th);
    }
    double vc, vs;
    if (r % 90 == 0) {
        vc = turn.Cos;
        vs = turn.Sin;
    } else if (r < 90 || r > 270) {
        vc = 1; vs = 0;
    } else {
        vc = -1; vs = 0;
    }
    const int free = v - th;
    if (VAlign == vaBottom) {
        y += rnd(vc * free);
        x += rnd(vs * free);
    } else if (VAlign == vaCenter) {
        y += rnd(vc * free / 2.0);
        x += rnd(vs * free / 2.0);
    }
    // 6. The lines.
    const double trueCos = turn.Cos, trueSin = turn.Sin;
    for (int i = 0; i < n; ++i) {
        const int flags = FFlags[i];
        const int indent =
            (flags & 1) && (HAlign == haLeft || HAlign == haBlock) ? rnd(FParagraphGap * FScaleX) : 0;
        TfrxHAlign align = HAlign;
        if (HAlign == haBlock && (flags & 2))
            align = FRTLReading ? haRight : haLeft;
        DrawTextLine(Canvas, FText.at(i), align, i, w - indent, y, x + indent);
        y += rnd(advances[i] * trueCos);
        x += rnd(advances[i] * trueSin);
    }
}

void TfrxDrawText::DrawTextLine(TfrxCanvas *Canvas, const QString &Line, TfrxHAlign Align, int LineIndex,
                                int Width, int Y, int X)
{
    const int n = int(Line.size());
    if (n == 0)
        return;
    TfrxHTMLTags *tags = LineIndex < int(FHTMLTags.Lines.size()) ? &FHTMLTags.Lines[LineIndex] : nullptr;
    if (tags && int(tags->size()) < n)
        tags = nullptr;
    // Widths on the layout canvas and on the device.
    const int layoutSpacing = rnd(FCharSpacing * 6.25);
    const TFontStyles layoutStyle = FLayout.Font().Style;
    // The line's first character sets the layout style even when drawing
    // has already taken its change (the first line's).
    if (tags)
        FLayout.SetFontStyle((*tags)[0].Style);
    const int lw = FillCharSpacingArray(FLayoutArray, Line, false, layoutSpacing, tags, &FLayout, false) - layoutSpacing;
    FLayout.SetFontStyle(layoutStyle);
    const TfrxCanvasFont deviceFont = Canvas->Font();
    const int deviceSpacing = rnd(FCharSpacing * FScaleX);
    const int dw = FillCharSpacingArray(FTempArray, Line, false, deviceSpacing, tags, Canvas, true) - deviceSpacing;
    Canvas->SetFont(deviceFont);
    int tw;
    if (!FWysiwyg) {
        tw = dw;
    } else if (IsPrinter(Canvas)) {
        const int dpiX = Canvas->LogPixelsX() == 0 ? 96 : Canvas->LogPixelsX();
        tw = rnd(lw * FPrintScale / (600.0 / dpiX));
    } else {
        tw = rnd(lw / 6.25 * FScaleX);
    }
    const TTurn turn(FRotation);
    const double cosA = turn.Cos, sinA = turn.Sin;
    int *adv = FTempArray.data();
    const int free = Width - tw;
    bool justified = false;
    switch (Align) {
    case haRight:
        X += rnd((free + 1) * cosA);
        Y -= rnd((free + 1) * sinA);
        X -= 1;
        if (FRotation == 0 && (deviceFont.Style & (fsBold | fsItalic)))
            X -= 1;
        break;
    case haCenter:
        X += rnd(free / 2.0 * cosA);
        Y -= rnd(free / 2.0 * sinA);
        break;
    case haBlock: {
        int spaces = 0;
        for (QChar ch : Line)
            if (ch.unicode() == 32 || ch.unicode() == 160)
                ++spaces;
        if (spaces > 0) {
            justified = true;
            const int extra = std::abs(Width) - dw;
            const int share = extra / spaces, rest = extra % spaces;
            int seen = 0;
            for (int i = 0; i < n; ++i) {
                const ushort ch = Line.at(i).unicode();
                if (ch != 32 && ch != 160)
                    continue;
                adv[i] += share;
                if (seen < std::abs(rest))
                    adv[i] += rest > 0 ? 1 : -1;
                ++seen;
            }
        }
        break;
    }
    case haLeft:
        break;
    }
    if (!justified)
        spread(adv, 0, n - 1, tw - dw);
    // Runs: one text output per stretch of equal attributes.
    int runStart = 0;
    if (tags && !(*tags)[0].Default)
        ApplyTag(Canvas, (*tags)[0]);
    if (tags && FHTMLTags.AllowTags && FRotation != 0)
        Canvas->SetFont(CreateRotatedFont(Canvas->Font(), FRotation));
    while (runStart < n) {
        int runEnd = runStart + 1;
        while (runEnd < n && !(tags && !(*tags)[runEnd].Default))
            ++runEnd;
        int dy = 0;
        if (tags)
            dy = rnd((*tags)[runStart].AddY * (*tags)[runStart].Size * FScaleY);
        Canvas->TextOut(X + rnd(dy * sinA), Y + rnd(dy * cosA), Line.mid(runStart, runEnd - runStart),
                        FWysiwyg ? adv + runStart : nullptr, FScaledRect, FOptions);
        int sum = 0;
        if (FWysiwyg)
            for (int i = runStart; i < runEnd; ++i)
                sum += adv[i];
        else
            sum = Canvas->TextWidth(Line.mid(runStart, runEnd - runStart));
        if (runEnd < n && tags)
            ApplyTag(Canvas, (*tags)[runEnd]);
        if (FRotation == 0) {
            X += sum;
        } else {
            X += rnd(sum * cosA);
            Y -= rnd(sum * sinA);
        }
        runStart = runEnd;
    }
    Canvas->SetFont(deviceFont);
}
