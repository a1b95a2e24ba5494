#include "report/model/rudStyleItem.h"

TfrxStyleItem::TfrxStyleItem()
    : FFont(std::make_unique<TFont>()), FFrame(std::make_unique<TfrxFrame>()),
      FFill(std::make_unique<TfrxBrushFill>())
{
}

TfrxStyleItem::~TfrxStyleItem() = default;

TfrxPropDescs TfrxStyleItem::PropDescs()
{
    return {{"ApplyFont", true}, {"ApplyFill", true}, {"ApplyFrame", true}, {"FillType", int(ftBrush)}};
}

void TfrxStyleItem::Assign(const TfrxStyleItem &Source)
{
    if (&Source == this)
        return;
    FName = Source.FName;
    FFont->Assign(*Source.FFont);
    FFrame->Assign(*Source.FFrame);
    SetFill(Source.FFill.get());
    FApplyFont = Source.FApplyFont;
    FApplyFill = Source.FApplyFill;
    FApplyFrame = Source.FApplyFrame;
}

TColor TfrxStyleItem::Color() const
{
    if (auto *brush = dynamic_cast<const TfrxBrushFill *>(FFill.get()))
        return brush->BackColor();
    if (auto *gradient = dynamic_cast<const TfrxGradientFill *>(FFill.get()))
        return gradient->StartColor();
    if (auto *glass = dynamic_cast<const TfrxGlassFill *>(FFill.get()))
        return glass->Color();
    return clTransparent;
}

void TfrxStyleItem::SetColor(TColor Value)
{
    if (auto *brush = dynamic_cast<TfrxBrushFill *>(FFill.get()))
        brush->SetBackColor(Value);
}

void TfrxStyleItem::SetFont(TFont *Value)
{
    if (Value)
        FFont->Assign(*Value);
}

void TfrxStyleItem::SetFrame(TfrxFrame *Value)
{
    if (Value)
        FFrame->Assign(*Value);
}

void TfrxStyleItem::SetFillType(TfrxFillType Value)
{
    if (FFill->FillType() != Value)
        FFill = TfrxCustomFill::Create(Value);
}

void TfrxStyleItem::SetFill(TfrxCustomFill *Value)
{
    if (!Value)
        return;
    SetFillType(Value->FillType());
    FFill->Assign(*Value);
}
