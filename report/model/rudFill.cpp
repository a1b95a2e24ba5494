#include "report/model/rudFill.h"

#include <cmath>

std::unique_ptr<TfrxCustomFill> TfrxCustomFill::Create(TfrxFillType Kind)
{
    switch (Kind) {
    case ftGradient:
        return std::make_unique<TfrxGradientFill>();
    case ftGlass:
        return std::make_unique<TfrxGlassFill>();
    case ftBrush:
        break;
    }
    return std::make_unique<TfrxBrushFill>();
}

TfrxPropDescs TfrxBrushFill::PropDescs()
{
    return {{"BackColor", clTransparent}, {"ForeColor", 0}, {"Style", int(bsSolid)}};
}

void TfrxBrushFill::Assign(const TfrxCustomFill &Source)
{
    if (const auto *s = dynamic_cast<const TfrxBrushFill *>(&Source)) {
        FBackColor = s->FBackColor;
        FForeColor = s->FForeColor;
        FStyle = s->FStyle;
    }
}

bool TfrxBrushFill::Equals(const TfrxCustomFill &Other) const
{
    const auto *o = dynamic_cast<const TfrxBrushFill *>(&Other);
    return o && FBackColor == o->FBackColor && FForeColor == o->FForeColor && FStyle == o->FStyle;
}

// GradientStyle has no default: it is always written.
TfrxPropDescs TfrxGradientFill::PropDescs()
{
    return {{"StartColor", clWhite}, {"EndColor", 0}};
}

void TfrxGradientFill::Assign(const TfrxCustomFill &Source)
{
    if (const auto *s = dynamic_cast<const TfrxGradientFill *>(&Source)) {
        FStartColor = s->FStartColor;
        FEndColor = s->FEndColor;
        FGradientStyle = s->FGradientStyle;
    }
}

bool TfrxGradientFill::Equals(const TfrxCustomFill &Other) const
{
    const auto *o = dynamic_cast<const TfrxGradientFill *>(&Other);
    return o && FStartColor == o->FStartColor && FEndColor == o->FEndColor && FGradientStyle == o->FGradientStyle;
}

TColor TfrxGradientFill::GetColor() const
{
    int result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = (FStartColor >> shift) & 0xFF;
        const int b = (FEndColor >> shift) & 0xFF;
        // start + MulDiv(127, end - start, 255), rounded half away from zero
        const double step = 127.0 * (b - a) / 255;
        result |= ((a + int(step < 0 ? std::ceil(step - 0.5) : std::floor(step + 0.5))) & 0xFF) << shift;
    }
    return result;
}

// The declared colour default differs from the constructor's grey on
// purpose: a new glass fill's colour is always written.
TfrxPropDescs TfrxGlassFill::PropDescs()
{
    return {{"Color", clWhite}, {"Hatch", false}, {"Orientation", int(foHorizontal)}};
}

void TfrxGlassFill::Assign(const TfrxCustomFill &Source)
{
    if (const auto *s = dynamic_cast<const TfrxGlassFill *>(&Source)) {
        FColor = s->FColor;
        FBlend = s->FBlend;
        FHatch = s->FHatch;
        FOrientation = s->FOrientation;
    }
}

bool TfrxGlassFill::Equals(const TfrxCustomFill &Other) const
{
    const auto *o = dynamic_cast<const TfrxGlassFill *>(&Other);
    return o && FColor == o->FColor && FBlend == o->FBlend && FHatch == o->FHatch && FOrientation == o->FOrientation;
}
