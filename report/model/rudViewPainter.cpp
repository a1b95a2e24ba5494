#include "report/model/rudViewPainter.h"

#include "report/model/rudMemo.h"

#include <cmath>

namespace {
TfrxViewPainter *viewPainter = nullptr;
}

void rudSetViewPainter(TfrxViewPainter *Painter)
{
    viewPainter = Painter;
}

TfrxViewPainter *rudViewPainter()
{
    return viewPainter;
}

void TfrxView::Draw(TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY)
{
    if (viewPainter)
        viewPainter->Draw(this, Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
}

double TfrxCustomMemoView::CalcHeight()
{
    return viewPainter ? viewPainter->CalcHeight(this) : Height();
}

double TfrxCustomMemoView::CalcWidth()
{
    return viewPainter ? viewPainter->CalcWidth(this) : Width();
}

QString TfrxCustomMemoView::GetInBoundsText()
{
    return viewPainter ? viewPainter->Split(this).InBounds : Text();
}

QString TfrxCustomMemoView::GetOutBoundsText(bool &ParaBreak)
{
    ParaBreak = false;
    if (!viewPainter)
        return QString();
    const TfrxMemoSplit split = viewPainter->Split(this);
    ParaBreak = split.ParaBreak;
    return split.OutBounds;
}

QString TfrxCustomMemoView::WrapText(bool WrapWords)
{
    return viewPainter ? viewPainter->WrapText(this, WrapWords) : Text();
}

void TfrxCustomMemoView::InitPart()
{
    FPartMemo = Text();
    FFirstParaBreak = false;
    FLastParaBreak = false;
}

double TfrxCustomMemoView::DrawPart()
{
    SetText(FPartMemo);
    if (!viewPainter) {
        FPartMemo.clear();
        return Height();
    }
    const TfrxMemoSplit split = viewPainter->Split(this);
    FPartMemo = split.OutBounds;
    SetText(split.InBounds);
    FLastParaBreak = split.ParaBreak;
    return split.UnusedSpace != 0 ? split.UnusedSpace : Height();
}
