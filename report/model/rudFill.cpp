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

void TfrxCustomFill::Assign(const TfrxCustomFill &Source)
{
    if (Source.FillType() == FillType())
        rudAssignProps(this, &Source);
}

bool TfrxCustomFill::Equals(const TfrxCustomFill &Other) const
{
    return rudSameProps(this, &Other);
}

TfrxPropDescs TfrxBrushFill::PropDescs()
{
    TfrxPropDescs descs{{"BackColor", clTransparent}, {"ForeColor", 0}, {"Style", int(bsSolid)}};
    rudAddTypeName(descs, "TColor", {"BackColor", "ForeColor"});
    return descs;
}

// GradientStyle has no default: it is always written.
TfrxPropDescs TfrxGradientFill::PropDescs()
{
    TfrxPropDescs descs{{"StartColor", clWhite}, {"EndColor", 0}};
    rudAddTypeName(descs, "TColor", {"StartColor", "EndColor"});
    return descs;
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
    // A new glass fill's grey differs from the file default, so it is always written.
    TfrxPropDescs descs{{"Color", clWhite, nullptr, {}, true}, {"Hatch", false}, {"Orientation", int(foHorizontal)}};
    rudAddTypeName(descs, "TColor", {"Color"});
    return descs;
}

