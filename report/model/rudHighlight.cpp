#include "report/model/rudHighlight.h"

TfrxPropDescs TfrxFormat::PropDescs()
{
    return {{"Kind", int(fkText)}};
}

void TfrxFormat::Assign(const TfrxFormat &Source)
{
    FDecimalSeparator = Source.FDecimalSeparator;
    FThousandSeparator = Source.FThousandSeparator;
    FFormatStr = Source.FFormatStr;
    FKind = Source.FKind;
}

bool TfrxFormat::operator==(const TfrxFormat &Other) const
{
    return FDecimalSeparator == Other.FDecimalSeparator && FThousandSeparator == Other.FThousandSeparator &&
           FFormatStr == Other.FFormatStr && FKind == Other.FKind;
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
    return {{"ApplyFont", true}, {"ApplyFill", true}, {"ApplyFrame", false}, {"Visible", true}};
}

void TfrxHighlight::Assign(const TfrxHighlight &Source)
{
    if (&Source == this)
        return;
    FApplyFont = Source.FApplyFont;
    FApplyFill = Source.FApplyFill;
    FApplyFrame = Source.FApplyFrame;
    FFont->Assign(*Source.FFont);
    SetFill(Source.FFill.get());
    FFrame->Assign(*Source.FFrame);
    FCondition = Source.FCondition;
    FVisible = Source.FVisible;
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
