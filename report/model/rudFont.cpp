#include "report/model/rudFont.h"

#include <cmath>

int rudCharset = 1;

TFont::TFont() : FCharset(rudCharset) {}

TfrxPropDescs TFont::PropDescs()
{
    // Templates write a new font's black: the file default is the window text colour.
    TfrxPropDescs descs{{"Color", clWindowText, nullptr, {}, true},
                        {"Orientation", 0},
                        {"Pitch", int(fpDefault)},
                        {"Quality", int(fqDefault)}};
    rudAddTypeName(descs, "TColor", {"Color"});
    rudAddTypeName(descs, "TFontCharset", {"Charset"});
    return descs;
}

void TFont::Changed()
{
    if (OnChange)
        OnChange();
}

void TFont::Assign(const TFont &Source)
{
    AssignFrom(Source);
}

// One change notification for the whole copy.
void TFont::AssignFrom(const TfrxPersistent &Source)
{
    if (&Source == this)
        return;
    // Fonts are copied from parent to child for every object made: a plain
    // font copies its fields directly, far cheaper than through the
    // published properties (which a subclass may add to).
    const auto *font = qobject_cast<const TFont *>(&Source);
    if (font && font->metaObject() == &staticMetaObject && metaObject() == &staticMetaObject) {
        FName = font->FName;
        FHeight = font->FHeight;
        FColor = font->FColor;
        FCharset = font->FCharset;
        FOrientation = font->FOrientation;
        FStyle = font->FStyle;
        FPitch = font->FPitch;
        FQuality = font->FQuality;
        Changed();
        return;
    }
    std::function<void()> onChange = std::move(OnChange);
    OnChange = nullptr;
    rudAssignProps(this, &Source);
    OnChange = std::move(onChange);
    Changed();
}

bool TFont::operator==(const TFont &Other) const
{
    return rudSameProps(this, &Other);
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
