#pragma once
// The font record every report component carries.

#include "report/model/rudEnums.h"
#include "report/model/rudPersistent.h"
#include "report/model/rudPropInfo.h"
#include "report/model/rudUnits.h"

#include <QString>
#include <functional>

// The charset given to new fonts (1, DEFAULT_CHARSET, until changed).
extern int rudCharset;

// A font: name, pixel height (negative: character height without internal
// leading, as templates store it), colour, charset, style, pitch, quality and
// orientation, at a fixed 96 pixels per inch. Every change calls OnChange.
class TFont : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(int Charset READ Charset WRITE SetCharset)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Orientation READ Orientation WRITE SetOrientation)
    Q_PROPERTY(rudEnums::TFontPitch Pitch READ Pitch WRITE SetPitch)
    Q_PROPERTY(int Size READ Size WRITE SetSize STORED false)
    Q_PROPERTY(rudEnums::TFontStyles Style READ Style WRITE SetStyle)
    Q_PROPERTY(rudEnums::TFontQuality Quality READ Quality WRITE SetQuality)
public:
    // "Arial", 10 pt, black, charset rudCharset.
    TFont();
    static TfrxPropDescs PropDescs();

    // Copies every field (and calls OnChange once).
    void Assign(const TFont &Source);
    void AssignFrom(const TfrxPersistent &Source) override;
    bool operator==(const TFont &Other) const;

    int Charset() const { return FCharset; }
    void SetCharset(int Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    const QString &Name() const { return FName; }
    void SetName(const QString &Value);
    int Orientation() const { return FOrientation; }
    void SetOrientation(int Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    // Size in points, from the height at 96 pixels per inch.
    int Size() const;
    void SetSize(int Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TFontQuality Quality() const { return FQuality; }
    void SetQuality(TFontQuality Value);
    int PixelsPerInch() const { return 96; }

    // Called after every change of a field.
    std::function<void()> OnChange;

private:
    void Changed();

    QString FName = QStringLiteral("Arial");
    int FHeight = -13;
    TColor FColor = clBlack;
    int FCharset = 1;
    int FOrientation = 0;
    TFontStyles FStyle;
    TFontPitch FPitch = fpDefault;
    TFontQuality FQuality = fqDefault;
};
