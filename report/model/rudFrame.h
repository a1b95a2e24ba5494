#pragma once
// The frame of a visible object: its four lines and the shadow.

#include "report/model/rudEnums.h"
#include "report/model/rudPropInfo.h"
#include "report/model/rudUnits.h"

#include <memory>

class TfrxFrame;

// One line of a frame. Its values are written only where they differ from
// the frame's, because setting a frame value sets all four lines.
class TfrxFrameLine : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(rudEnums::TfrxFrameStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
public:
    explicit TfrxFrameLine(TfrxFrame *AFrame);
    static TfrxPropDescs PropDescs();

    void Assign(const TfrxFrameLine &Source);
    bool operator==(const TfrxFrameLine &Other) const;

    TfrxFrame *Frame() const { return FFrame; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TfrxFrameStyle Style() const { return FStyle; }
    void SetStyle(TfrxFrameStyle Value) { FStyle = Value; }
    double Width() const { return FWidth; }
    void SetWidth(double Value) { FWidth = Value; }

private:
    TfrxFrame *FFrame;
    TColor FColor = clBlack;
    TfrxFrameStyle FStyle = fsSolid;
    double FWidth = 1;
};

// The frame record a view owns: which sides are drawn, the common line
// values, the shadow, and the four lines.
class TfrxFrame : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(bool DropShadow READ DropShadow WRITE SetDropShadow)
    Q_PROPERTY(int ShadowColor READ ShadowColor WRITE SetShadowColor)
    Q_PROPERTY(double ShadowWidth READ ShadowWidth WRITE SetShadowWidth)
    Q_PROPERTY(rudEnums::TfrxFrameStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(rudEnums::TfrxFrameTypes Typ READ Typ WRITE SetTyp)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(TfrxFrameLine *LeftLine READ LeftLine WRITE SetLeftLine)
    Q_PROPERTY(TfrxFrameLine *TopLine READ TopLine WRITE SetTopLine)
    Q_PROPERTY(TfrxFrameLine *RightLine READ RightLine WRITE SetRightLine)
    Q_PROPERTY(TfrxFrameLine *BottomLine READ BottomLine WRITE SetBottomLine)
public:
    TfrxFrame();
    ~TfrxFrame() override;
    static TfrxPropDescs PropDescs();

    void Assign(const TfrxFrame &Source);
    bool operator==(const TfrxFrame &Other) const;

    TColor Color() const { return FColor; }
    // Sets the colour of the frame and of all four lines.
    void SetColor(TColor Value);
    bool DropShadow() const { return FDropShadow; }
    void SetDropShadow(bool Value) { FDropShadow = Value; }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor Value) { FShadowColor = Value; }
    double ShadowWidth() const { return FShadowWidth; }
    void SetShadowWidth(double Value) { FShadowWidth = Value; }
    TfrxFrameStyle Style() const { return FStyle; }
    // Sets the style of the frame and of all four lines.
    void SetStyle(TfrxFrameStyle Value);
    TfrxFrameTypes Typ() const { return FTyp; }
    void SetTyp(TfrxFrameTypes Value) { FTyp = Value; }
    double Width() const { return FWidth; }
    // Sets the width of the frame and of all four lines.
    void SetWidth(double Value);

    TfrxFrameLine *LeftLine() const { return FLeftLine.get(); }
    TfrxFrameLine *TopLine() const { return FTopLine.get(); }
    TfrxFrameLine *RightLine() const { return FRightLine.get(); }
    TfrxFrameLine *BottomLine() const { return FBottomLine.get(); }
    // Assigning a line copies into the frame's own line object.
    void SetLeftLine(TfrxFrameLine *Value);
    void SetTopLine(TfrxFrameLine *Value);
    void SetRightLine(TfrxFrameLine *Value);
    void SetBottomLine(TfrxFrameLine *Value);

private:
    TColor FColor = clBlack;
    bool FDropShadow = false;
    TColor FShadowColor = clBlack;
    double FShadowWidth = 4;
    TfrxFrameStyle FStyle = fsSolid;
    TfrxFrameTypes FTyp;
    double FWidth = 1;
    std::unique_ptr<TfrxFrameLine> FLeftLine, FTopLine, FRightLine, FBottomLine;
};
