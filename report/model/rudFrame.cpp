#include "report/model/rudFrame.h"

namespace {

const TfrxFrameLine *line(const QObject *obj) { return static_cast<const TfrxFrameLine *>(obj); }

bool lineColorStored(const QObject *obj) { return line(obj)->Color() != line(obj)->Frame()->Color(); }
bool lineStyleStored(const QObject *obj) { return line(obj)->Style() != line(obj)->Frame()->Style(); }
bool lineWidthStored(const QObject *obj) { return line(obj)->Width() != line(obj)->Frame()->Width(); }

} // namespace

TfrxFrameLine::TfrxFrameLine(TfrxFrame *AFrame) : FFrame(AFrame) {}

// A line's values have no default of their own: they are written whenever
// they differ from the frame's, so that a black line under a red frame
// survives the round trip.
TfrxPropDescs TfrxFrameLine::PropDescs()
{
    TfrxPropDescs descs{{"Color", {}, &lineColorStored}, {"Style", {}, &lineStyleStored}, {"Width", {}, &lineWidthStored}};
    rudAddTypeName(descs, "TColor", {"Color"});
    return descs;
}

void TfrxFrameLine::Assign(const TfrxFrameLine &Source)
{
    rudAssignProps(this, &Source);
}

bool TfrxFrameLine::operator==(const TfrxFrameLine &Other) const
{
    return rudSameProps(this, &Other);
}

TfrxFrame::TfrxFrame()
    : FLeftLine(std::make_unique<TfrxFrameLine>(this)), FTopLine(std::make_unique<TfrxFrameLine>(this)),
      FRightLine(std::make_unique<TfrxFrameLine>(this)), FBottomLine(std::make_unique<TfrxFrameLine>(this))
{
}

TfrxFrame::~TfrxFrame() = default;

TfrxPropDescs TfrxFrame::PropDescs()
{
    TfrxPropDescs descs{{"Color", 0}, {"DropShadow", false}, {"ShadowColor", 0}, {"ShadowWidth", 4.0},
                        {"Style", int(fsSolid)}, {"Typ", 0}, {"Width", 1.0}};
    rudAddTypeName(descs, "TColor", {"Color", "ShadowColor"});
    return descs;
}

// The frame's own values first (they reset the lines), then the lines.
void TfrxFrame::Assign(const TfrxFrame &Source)
{
    rudAssignProps(this, &Source);
}

bool TfrxFrame::operator==(const TfrxFrame &Other) const
{
    return rudSameProps(this, &Other);
}

void TfrxFrame::SetColor(TColor Value)
{
    FColor = Value;
    for (TfrxFrameLine *l : {LeftLine(), TopLine(), RightLine(), BottomLine()})
        l->SetColor(Value);
}

void TfrxFrame::SetStyle(TfrxFrameStyle Value)
{
    FStyle = Value;
    for (TfrxFrameLine *l : {LeftLine(), TopLine(), RightLine(), BottomLine()})
        l->SetStyle(Value);
}

void TfrxFrame::SetWidth(double Value)
{
    FWidth = Value;
    for (TfrxFrameLine *l : {LeftLine(), TopLine(), RightLine(), BottomLine()})
        l->SetWidth(Value);
}

void TfrxFrame::SetLeftLine(TfrxFrameLine *Value)
{
    if (Value)
        FLeftLine->Assign(*Value);
}

void TfrxFrame::SetTopLine(TfrxFrameLine *Value)
{
    if (Value)
        FTopLine->Assign(*Value);
}

void TfrxFrame::SetRightLine(TfrxFrameLine *Value)
{
    if (Value)
        FRightLine->Assign(*Value);
}

void TfrxFrame::SetBottomLine(TfrxFrameLine *Value)
{
    if (Value)
        FBottomLine->Assign(*Value);
}
