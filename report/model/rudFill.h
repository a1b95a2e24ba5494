#pragma once
// The fills of a visible object: a brush, a two-colour gradient or a glass
// effect. A view owns exactly one.

#include "report/model/rudEnums.h"
#include "report/model/rudPropInfo.h"
#include "report/model/rudUnits.h"

#include <memory>

// Base of the three fills.
class TfrxCustomFill : public TfrxPersistent {
    Q_OBJECT
public:
    // The kind of this fill.
    virtual TfrxFillType FillType() const = 0;
    // Copies Source's values when it is of the same kind.
    void Assign(const TfrxCustomFill &Source);
    // True for a fill of the same kind with equal values.
    bool Equals(const TfrxCustomFill &Other) const;
    // A new fill of the kind with its constructor defaults.
    static std::unique_ptr<TfrxCustomFill> Create(TfrxFillType Kind);
};

// A solid or hatched brush; the back colour clTransparent paints nothing.
class TfrxBrushFill : public TfrxCustomFill {
    Q_OBJECT
    Q_PROPERTY(int BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(int ForeColor READ ForeColor WRITE SetForeColor)
    Q_PROPERTY(rudEnums::TBrushStyle Style READ Style WRITE SetStyle)
public:
    static TfrxPropDescs PropDescs();
    TfrxFillType FillType() const override { return ftBrush; }

    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor Value) { FBackColor = Value; }
    TColor ForeColor() const { return FForeColor; }
    void SetForeColor(TColor Value) { FForeColor = Value; }
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value) { FStyle = Value; }

private:
    TColor FBackColor = clTransparent;
    TColor FForeColor = clBlack;
    TBrushStyle FStyle = bsSolid;
};

// A gradient from StartColor to EndColor.
class TfrxGradientFill : public TfrxCustomFill {
    Q_OBJECT
    Q_PROPERTY(int StartColor READ StartColor WRITE SetStartColor)
    Q_PROPERTY(int EndColor READ EndColor WRITE SetEndColor)
    Q_PROPERTY(rudEnums::TfrxGradientStyle GradientStyle READ GradientStyle WRITE SetGradientStyle)
public:
    static TfrxPropDescs PropDescs();
    TfrxFillType FillType() const override { return ftGradient; }
    // The colour the gradient stands for where one colour is asked: its
    // middle band, start + 127/255 of the way to the end per channel.
    TColor GetColor() const;

    TColor StartColor() const { return FStartColor; }
    void SetStartColor(TColor Value) { FStartColor = Value; }
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor Value) { FEndColor = Value; }
    TfrxGradientStyle GradientStyle() const { return FGradientStyle; }
    void SetGradientStyle(TfrxGradientStyle Value) { FGradientStyle = Value; }

private:
    TColor FStartColor = clWhite;
    TColor FEndColor = clBlack;
    TfrxGradientStyle FGradientStyle = gsHorizontal;
};

// A glass effect: a colour blended towards white, optionally hatched.
class TfrxGlassFill : public TfrxCustomFill {
    Q_OBJECT
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(double Blend READ Blend WRITE SetBlend)
    Q_PROPERTY(bool Hatch READ Hatch WRITE SetHatch)
    Q_PROPERTY(rudEnums::TfrxFillOrientation Orientation READ Orientation WRITE SetOrientation)
public:
    static TfrxPropDescs PropDescs();
    TfrxFillType FillType() const override { return ftGlass; }

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    double Blend() const { return FBlend; }
    void SetBlend(double Value) { FBlend = Value; }
    bool Hatch() const { return FHatch; }
    void SetHatch(bool Value) { FHatch = Value; }
    TfrxFillOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TfrxFillOrientation Value) { FOrientation = Value; }

private:
    TColor FColor = clGray;
    double FBlend = 0.5;
    bool FHatch = false;
    TfrxFillOrientation FOrientation = foHorizontal;
};
