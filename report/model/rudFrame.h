#pragma once
// The frame of a visible object: its four lines and the shadow.

#include "report/model/rudEnums.h"
#include "report/model/rudPropInfo.h"
#include "report/model/rudUnits.h"

#include <array>
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

// The values one side of a frame is drawn with.
struct TfrxLineValues {
    TColor Color;
    TfrxFrameStyle Style;
    double Width;
};

// The frame record a view owns: which sides are drawn, the common line
// values, the shadow, and the four lines. A line is made when it is first
// asked for, from the frame's values, and has them until then: most frames
// never give a line values of its own, and four line objects would be a
// quarter of a view's memory.
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
    // Copies the values and the lines' values without making lines Source
    // has not made.
    void AssignFrom(const TfrxPersistent &Source) override;
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

    // The line objects, made on the first call.
    TfrxFrameLine *LeftLine() const { return Line(Left); }
    TfrxFrameLine *TopLine() const { return Line(Top); }
    TfrxFrameLine *RightLine() const { return Line(Right); }
    TfrxFrameLine *BottomLine() const { return Line(Bottom); }
    // The values of the side Side (one of ftLeft ... ftBottom) without
    // making its line.
    TfrxLineValues SideValues(TfrxFrameType Side) const;
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
    enum TSide { Left, Top, Right, Bottom };
    TfrxFrameLine *Line(TSide Side) const;
    static TSide SideOf(TfrxFrameType Side);
    mutable std::array<std::unique_ptr<TfrxFrameLine>, 4> FLines;
};
