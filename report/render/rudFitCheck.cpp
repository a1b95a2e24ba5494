#include "report/render/rudFitCheck.h"

#include "report/model/rudFont.h"
#include "report/model/rudMemo.h"
#include "report/model/rudReport.h"
#include "report/render/rudDrawText.h"
#include "report/render/rudMemoDraw.h"
#include "report/render/rudViewDraw.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Page units a measure may exceed the memo by: the layout rounds to whole
// pixels.
constexpr double tolerance = 0.5;

// The memo's text laid out as it is drawn: its wrapped lines and their height.
struct TLayout {
    int Lines = 0;
    double LineHeight = 0;
};

TLayout layoutOf(TfrxCustomMemoView *Memo)
{
    TfrxDrawText &text = TfrxDrawText::Instance();
    text.Lock();
    TfrxCanvas canvas;
    rudSetDrawParams(Memo, text, &canvas, 1, 1, 0, 0);
    const TLayout layout{int(text.Lines().size()), text.LineHeight()};
    text.Unlock();
    return layout;
}

// The lines the memo's height holds at its present font; one line always
// shows, even in a memo drawn a little lower than its font.
int linesHeld(TfrxCustomMemoView *Memo, double LineHeight)
{
    if (LineHeight <= 0)
        return 1;
    return std::max(1, int(std::floor((Memo->Height() - rudAdjustCalcHeight(Memo) + tolerance) / LineHeight)));
}

// What is wrong with the memo's text given the lines its place holds.
std::optional<bool> misfit(TfrxCustomMemoView *Memo, int Held)
{
    TfrxViewDrawer drawer;
    if (!Memo->WordWrap() && drawer.CalcWidth(Memo) > Memo->Width() + tolerance)
        return true;
    if (layoutOf(Memo).Lines > Held)
        return false;
    return std::nullopt;
}

bool measured(TfrxCustomMemoView *Memo)
{
    return Memo->Rotation() == 0 && !Memo->AutoWidth() && Memo->Visible() && !Memo->Text().trimmed().isEmpty();
}

} // namespace

bool rudMemoTextFits(TfrxCustomMemoView *Memo)
{
    return !measured(Memo) || !misfit(Memo, linesHeld(Memo, layoutOf(Memo).LineHeight));
}

QList<TfrxMemoMisfit> rudFindMisfits(TfrxReport *Report)
{
    QList<TfrxMemoMisfit> result;
    for (TfrxComponent *object : Report->AllObjects()) {
        auto *memo = qobject_cast<TfrxCustomMemoView *>(object);
        if (!memo || !measured(memo))
            continue;
        if (const std::optional<bool> wide = misfit(memo, linesHeld(memo, layoutOf(memo).LineHeight)))
            result.append({memo, *wide});
    }
    return result;
}

bool rudShrinkToFit(TfrxCustomMemoView *Memo)
{
    if (!measured(Memo))
        return true;
    // The lines the blank gives the value stay as many as at the designed
    // font: a one-line place keeps the value on one line.
    const int held = linesHeld(Memo, layoutOf(Memo).LineHeight);
    TFont *font = Memo->Font();
    while (misfit(Memo, held)) {
        if (font->Size() <= rudMinimumShrunkFontSize)
            return false;
        font->SetSize(font->Size() - 1);
    }
    return true;
}
