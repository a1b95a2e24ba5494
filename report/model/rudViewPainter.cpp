#include "report/model/rudViewPainter.h"

#include "report/model/rudMemo.h"
#include "report/model/rudServices.h"

namespace {

TfrxViewPainter &painter(const TfrxComponent *view)
{
    return *rudNeedService(rudServicesOf(view).ViewPainter, "object drawing");
}

} // namespace

void TfrxView::Draw(TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY)
{
    painter(this).Draw(this, Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
}

double TfrxCustomMemoView::CalcHeight()
{
    return painter(this).CalcHeight(this);
}

double TfrxCustomMemoView::CalcWidth()
{
    return painter(this).CalcWidth(this);
}

QString TfrxCustomMemoView::GetInBoundsText()
{
    return painter(this).Split(this).InBounds;
}

QString TfrxCustomMemoView::GetOutBoundsText(bool &ParaBreak)
{
    const TfrxMemoSplit split = painter(this).Split(this);
    ParaBreak = split.ParaBreak;
    return split.OutBounds;
}

QString TfrxCustomMemoView::WrapText(bool WrapWords)
{
    return painter(this).WrapText(this, WrapWords);
}

void TfrxCustomMemoView::InitPart()
{
    RunState().PartMemo = Text();
    FFirstParaBreak = false;
    FLastParaBreak = false;
}

double TfrxCustomMemoView::DrawPart()
{
    SetText(Run().PartMemo);
    const TfrxMemoSplit split = painter(this).Split(this);
    RunState().PartMemo = split.OutBounds;
    SetText(split.InBounds);
    FLastParaBreak = split.ParaBreak;
    return split.UnusedSpace != 0 ? split.UnusedSpace : Height();
}
