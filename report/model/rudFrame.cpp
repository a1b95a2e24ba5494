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

TfrxFrame::TfrxFrame() = default;

TfrxFrame::~TfrxFrame() = default;

TfrxPropDescs TfrxFrame::PropDescs()
{
    TfrxPropDescs descs{{"Color", 0}, {"DropShadow", false}, {"ShadowColor", 0}, {"ShadowWidth", 4.0},
                        {"Style", int(fsSolid)}, {"Typ", 0}, {"Width", 1.0}};
    rudAddTypeName(descs, "TColor", {"Color", "ShadowColor"});
    return descs;
}

void TfrxFrame::Assign(const TfrxFrame &Source)
{
    AssignFrom(Source);
}

void TfrxFrame::AssignFrom(const TfrxPersistent &Source)
{
    const auto *source = qobject_cast<const TfrxFrame *>(&Source);
    if (!source || source == this)
        return;
    FColor = source->FColor;
    FDropShadow = source->FDropShadow;
    FShadowColor = source->FShadowColor;
    FShadowWidth = source->FShadowWidth;
    FStyle = source->FStyle;
    FTyp = source->FTyp;
    FWidth = source->FWidth;
    // A line Source never made has Source's frame values; one made here is
    // kept (it may be in use) and given them.
    for (size_t i = 0; i < FLines.size(); ++i) {
        if (source->FLines[i]) {
            Line(TSide(i))->Assign(*source->FLines[i]);
        } else if (FLines[i]) {
            FLines[i]->SetColor(FColor);
            FLines[i]->SetStyle(FStyle);
            FLines[i]->SetWidth(FWidth);
        }
    }
}

bool TfrxFrame::operator==(const TfrxFrame &Other) const
{
    if (FColor != Other.FColor || FDropShadow != Other.FDropShadow || FShadowColor != Other.FShadowColor ||
        FShadowWidth != Other.FShadowWidth || FStyle != Other.FStyle || FTyp != Other.FTyp || FWidth != Other.FWidth)
        return false;
    for (const TfrxFrameType side : {ftLeft, ftTop, ftRight, ftBottom}) {
        const TfrxLineValues a = SideValues(side), b = Other.SideValues(side);
        if (a.Color != b.Color || a.Style != b.Style || a.Width != b.Width)
            return false;
    }
    return true;
}

void TfrxFrame::SetColor(TColor Value)
{
    FColor = Value;
    for (const auto &line : FLines)
        if (line)
            line->SetColor(Value);
}

void TfrxFrame::SetStyle(TfrxFrameStyle Value)
{
    FStyle = Value;
    for (const auto &line : FLines)
        if (line)
            line->SetStyle(Value);
}

void TfrxFrame::SetWidth(double Value)
{
    FWidth = Value;
    for (const auto &line : FLines)
        if (line)
            line->SetWidth(Value);
}

void TfrxFrame::SetLeftLine(TfrxFrameLine *Value)
{
    if (Value)
        Line(Left)->Assign(*Value);
}

void TfrxFrame::SetTopLine(TfrxFrameLine *Value)
{
    if (Value)
        Line(Top)->Assign(*Value);
}

void TfrxFrame::SetRightLine(TfrxFrameLine *Value)
{
    if (Value)
        Line(Right)->Assign(*Value);
}

void TfrxFrame::SetBottomLine(TfrxFrameLine *Value)
{
    if (Value)
        Line(Bottom)->Assign(*Value);
}

TfrxFrameLine *TfrxFrame::Line(TSide Side) const
{
    std::unique_ptr<TfrxFrameLine> &line = FLines[Side];
    if (!line) {
        line = std::make_unique<TfrxFrameLine>(const_cast<TfrxFrame *>(this));
        line->SetColor(FColor);
        line->SetStyle(FStyle);
        line->SetWidth(FWidth);
    }
    return line.get();
}

TfrxFrame::TSide TfrxFrame::SideOf(TfrxFrameType Side)
{
    switch (Side) {
    case ftLeft: return Left;
    case ftTop: return Top;
    case ftRight: return Right;
    case ftBottom: return Bottom;
    }
    return Left;
}

TfrxLineValues TfrxFrame::SideValues(TfrxFrameType Side) const
{
    if (const TfrxFrameLine *line = FLines[SideOf(Side)].get())
        return {line->Color(), line->Style(), line->Width()};
    return {FColor, FStyle, FWidth};
}
