#include "report/render/rudMemoDraw.h"

#include "report/model/rudMemo.h"
#include "report/render/rudDrawText.h"

#include <cmath>

namespace {

// The memo's lines as drawn: in the designer a memo bound to a data field
// shows the field.
QStringList drawnLines(TfrxCustomMemoView *Memo)
{
    if (Memo->IsDesigning() && !Memo->DataField().isEmpty())
        return {QStringLiteral("[") + Memo->DataSetName() + QStringLiteral(".\"") + Memo->DataField() +
                QStringLiteral("\"]")};
    return Memo->Memo();
}

// The memo laid out at scale 1 in its own rectangle (or, for AutoWidth, a
// 10,000 x 10,000 one), under the lock of DrawText.
struct TLayoutAtScale1 {
    TfrxDrawText &Text = TfrxDrawText::Instance();
    explicit TLayoutAtScale1(TfrxCustomMemoView *Memo, bool Wide = false)
    {
        Text.Lock();
        TfrxCanvas canvas;
        rudSetDrawParams(Memo, Text, &canvas, 1, 1, 0, 0);
        if (Wide || Memo->AutoWidth()) {
            Text.SetDimensions(1, 1, 1, QRect(0, 0, 10000, 10000), QRect(0, 0, 10000, 10000));
            Text.SetText(drawnLines(Memo));
        }
    }
    ~TLayoutAtScale1() { Text.Unlock(); }
};

} // namespace

QRect rudMemoTextRect(TfrxCustomMemoView *Memo, const TfrxViewDrawState &S)
{
    const TfrxFrame *frame = Memo->Frame();
    const double fw = frame->Width();
    const TfrxFrameTypes typ = frame->Typ();
    const int left = S.FX + rudRound(Memo->GapX() * S.ScaleX) + (typ & ftLeft ? rudRound((S.ScaleX * fw - 1) / 2) : 0);
    const int top = S.FY + rudRound(Memo->GapY() * S.ScaleY) + (typ & ftTop ? rudRound((S.ScaleY * fw - 1) / 2) : 0);
    const int right = S.FX1 - rudRound(Memo->GapX() * S.ScaleX) - (typ & ftRight ? rudRound(S.ScaleX * fw / 2) : 0) + 1;
    const int bottom =
        S.FY1 - rudRound(Memo->GapY() * S.ScaleY) - (typ & ftBottom ? rudRound(S.ScaleY * fw / 2) : 0) + 1;
    return QRect(left, top, right - left, bottom - top);
}

double rudAdjustCalcHeight(TfrxCustomMemoView *Memo)
{
    const TfrxFrame *frame = Memo->Frame();
    const double fw = frame->Width();
    double result = 2 * Memo->GapY();
    if (frame->Typ() & ftTop)
        result += (fw - 1) / 2;
    if (frame->Typ() & ftBottom)
        result += fw / 2;
    if (frame->DropShadow())
        result += frame->ShadowWidth();
    return result;
}

double rudAdjustCalcWidth(TfrxCustomMemoView *Memo)
{
    const TfrxFrame *frame = Memo->Frame();
    const double fw = frame->Width();
    double result = 2 * Memo->GapX();
    if (frame->Typ() & ftLeft)
        result += (fw - 1) / 2;
    if (frame->Typ() & ftRight)
        result += fw / 2;
    if (frame->DropShadow())
        result += frame->ShadowWidth();
    return result;
}

void rudSetDrawParams(TfrxCustomMemoView *Memo, TfrxDrawText &DrawText, TfrxCanvas *Canvas, double ScaleX,
                      double ScaleY, double OffsetX, double OffsetY)
{
    DrawText.SetUseDefaultCharset(Memo->UseDefaultCharset());
    DrawText.SetFont(Memo->Font());
    DrawText.SetOptions(Memo->WordWrap(), Memo->AllowHTMLTags(), Memo->RTLReading(), Memo->WordBreak(),
                        Memo->Clipped(), Memo->Wysiwyg(), Memo->Rotation());
    DrawText.SetGaps(Memo->ParagraphGap(), Memo->CharSpacing(), Memo->LineSpacing());
    if (Memo->AutoWidth() && !Memo->IsDesigning()) {
        DrawText.SetDimensions(1, 1, 1, QRect(0, 0, 10000, 10000), QRect(0, 0, 10000, 10000));
        DrawText.SetText(drawnLines(Memo));
        const double width = DrawText.CalcWidth() + rudAdjustCalcWidth(Memo);
        const double oldWidth = Memo->Width();
        Memo->SetWidth(width);
        if (Memo->HAlign() == haRight)
            Memo->SetLeft(Memo->Left() + oldWidth - width);
        else if (Memo->HAlign() == haCenter)
            Memo->SetLeft(Memo->Left() + (oldWidth - width) / 2);
        // Neighbours aligned to the memo follow its new width.
        if (TfrxComponent *parent = Memo->Parent())
            parent->AlignChildren();
    }
    const TfrxViewDrawState device = rudBeginDraw(Memo, Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
    const TfrxViewDrawState page = rudBeginDraw(Memo, Canvas, 1, 1, 0, 0);
    const double printScale = Memo->IsPrinting() ? Memo->PrintScale() : 1;
    DrawText.SetDimensions(ScaleX, ScaleY, printScale, rudMemoTextRect(Memo, page), rudMemoTextRect(Memo, device));
    DrawText.SetText(drawnLines(Memo));
    DrawText.SetParaBreaks(Memo->FirstParaBreak(), Memo->LastParaBreak());
}

void rudDrawMemo(TfrxCustomMemoView *Memo, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                 double OffsetY)
{
    // Outside the designer the page-count and copy macros take their values.
    if (!Memo->IsDesigning())
        Memo->ExtractMacros();
    TfrxDrawText &text = TfrxDrawText::Instance();
    text.Lock();
    rudSetDrawParams(Memo, text, Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
    const TfrxViewDrawState s = rudBeginDraw(Memo, Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
    rudDrawViewBox(Memo, s);
    if (Memo->Underlines() && Memo->Rotation() == 0 && Canvas->Painter()) {
        Canvas->Save();
        Canvas->SetPen(Memo->Frame()->Color(), s.FFrameWidth, psSolid, pcSquare);
        const double step = text.LineHeight() * ScaleY;
        double y = step + s.FY + (Memo->GapY() - Memo->LineSpacing() + 1) * ScaleY;
        while (step > 0 && y < s.FY1) {
            Canvas->Line(s.FX, rudRound(y), s.FX1, rudRound(y));
            y += step;
        }
        Canvas->Restore();
    }
    text.DrawText(Canvas, Memo->HAlign(), Memo->VAlign());
    text.Unlock();
}

double TfrxViewDrawer::CalcHeight(TfrxCustomMemoView *Memo)
{
    TLayoutAtScale1 layout(Memo);
    return rudRound(layout.Text.CalcHeight() + rudAdjustCalcHeight(Memo));
}

double TfrxViewDrawer::CalcWidth(TfrxCustomMemoView *Memo)
{
    TLayoutAtScale1 layout(Memo, true);
    return rudRound(layout.Text.CalcWidth() + rudAdjustCalcWidth(Memo));
}

TfrxMemoSplit TfrxViewDrawer::Split(TfrxCustomMemoView *Memo)
{
    TLayoutAtScale1 layout(Memo);
    TfrxMemoSplit split;
    split.OutBounds = layout.Text.GetOutBoundsText(split.ParaBreak);
    split.InBounds = layout.Text.GetInBoundsText();
    split.UnusedSpace = layout.Text.UnusedSpace();
    return split;
}

QString TfrxViewDrawer::WrapText(TfrxCustomMemoView *Memo, bool WrapWords)
{
    TLayoutAtScale1 layout(Memo);
    if (WrapWords)
        return layout.Text.WrappedText();
    return layout.Text.DeleteTags(Memo->Text());
}
