#include "report/model/rudHighlight.h"

TfrxPropDescs TfrxFormat::PropDescs()
{
    return {{"Kind", int(fkText)}};
}

void TfrxFormat::Assign(const TfrxFormat &Source)
{
    rudAssignProps(this, &Source);
}

bool TfrxFormat::operator==(const TfrxFormat &Other) const
{
    return rudSameProps(this, &Other);
}

TfrxHighlight::TfrxHighlight()
    : FFont(std::make_unique<TFont>()), FFill(std::make_unique<TfrxBrushFill>()),
      FFrame(std::make_unique<TfrxFrame>())
{
    FFont->SetColor(clRed);
}

TfrxHighlight::~TfrxHighlight() = default;

// FillType has no default: it is always written.
TfrxPropDescs TfrxHighlight::PropDescs()
{
    TfrxPropDescs descs{{"ApplyFont", true}, {"ApplyFill", true}, {"ApplyFrame", false}, {"Visible", true}};
    rudAddTypeName(descs, "TColor", {"Color"});
    return descs;
}

void TfrxHighlight::Assign(const TfrxHighlight &Source)
{
    rudAssignProps(this, &Source);
}

void TfrxHighlight::SetFont(TFont *Value)
{
    if (Value)
        FFont->Assign(*Value);
}

TColor TfrxHighlight::Color() const
{
    if (const auto *brush = dynamic_cast<const TfrxBrushFill *>(FFill.get()))
        return brush->BackColor();
    return clTransparent;
}

void TfrxHighlight::SetColor(TColor Value)
{
    if (auto *brush = dynamic_cast<TfrxBrushFill *>(FFill.get()))
        brush->SetBackColor(Value);
}

void TfrxHighlight::SetFillType(TfrxFillType Value)
{
    if (FFill->FillType() != Value)
        FFill = TfrxCustomFill::Create(Value);
}

void TfrxHighlight::SetFill(TfrxCustomFill *Value)
{
    if (!Value)
        return;
    SetFillType(Value->FillType());
    FFill->Assign(*Value);
}

void TfrxHighlight::SetFrame(TfrxFrame *Value)
{
    if (Value)
        FFrame->Assign(*Value);
}
