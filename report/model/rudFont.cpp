#include "report/model/rudFont.h"

#include <cmath>

int rudCharset = 1;

TFont::TFont() : FCharset(rudCharset) {}

TfrxPropDescs TFont::PropDescs()
{
    return {{"Color", clWindowText},
            {"Orientation", 0},
            {"Pitch", int(fpDefault)},
            {"Quality", int(fqDefault)}};
}

void TFont::Changed()
{
    if (OnChange)
        OnChange();
}

void TFont::Assign(const TFont &Source)
{
    if (&Source == this)
        return;
    FName = Source.FName;
    FHeight = Source.FHeight;
    FColor = Source.FColor;
    FCharset = Source.FCharset;
    FOrientation = Source.FOrientation;
    FStyle = Source.FStyle;
    FPitch = Source.FPitch;
    FQuality = Source.FQuality;
    Changed();
}

bool TFont::operator==(const TFont &Other) const
{
    return FName == Other.FName && FHeight == Other.FHeight && FColor == Other.FColor &&
           FCharset == Other.FCharset && FOrientation == Other.FOrientation && FStyle == Other.FStyle &&
           FPitch == Other.FPitch && FQuality == Other.FQuality;
}

void TFont::SetCharset(int Value)
{
    FCharset = Value & 0xFF;
    Changed();
}

void TFont::SetColor(TColor Value)
{
    FColor = Value;
    Changed();
}

void TFont::SetHeight(int Value)
{
    FHeight = Value;
    Changed();
}

void TFont::SetName(const QString &Value)
{
    FName = Value;
    Changed();
}

void TFont::SetOrientation(int Value)
{
    FOrientation = Value;
    Changed();
}

void TFont::SetPitch(TFontPitch Value)
{
    FPitch = Value;
    Changed();
}

// Points and pixels convert at 96 pixels per inch with the classic MulDiv
// rounding (halves away from zero).
int TFont::Size() const
{
    return -int(std::lround(FHeight * 72.0 / 96.0));
}

void TFont::SetSize(int Value)
{
    FHeight = -int(std::lround(Value * 96.0 / 72.0));
    Changed();
}

void TFont::SetStyle(TFontStyles Value)
{
    FStyle = Value;
    Changed();
}

void TFont::SetQuality(TFontQuality Value)
{
    FQuality = Value;
    Changed();
}
