#pragma once
// What visible objects need from the drawing room, which lives above this
// one and offers its painter as one of the report's services
// (rudServices.h). An object whose report has no painter raises
// EMissingService when it is drawn or measured.

#include <QString>

class TfrxCanvas;
class TfrxView;
class TfrxCustomMemoView;

// The result of splitting a memo's text at the bottom of its rectangle.
struct TfrxMemoSplit {
    QString InBounds;  // the text that fits, tags removed
    QString OutBounds; // the rest, with tags restoring the first style
    bool ParaBreak = false; // the cut falls inside a paragraph
    double UnusedSpace = 0; // page units left below the last fitting line
};

// Draws views on a canvas and lays memo texts out with real fonts.
class TfrxViewPainter {
public:
    virtual ~TfrxViewPainter() = default;
    // Draws View with page units scaled by ScaleX/ScaleY and the page's margin
    // corner at device point (OffsetX, OffsetY).
    virtual void Draw(TfrxView *View, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                      double OffsetY) = 0;
    // Height of the memo's laid-out text plus gaps and frame, page units.
    virtual double CalcHeight(TfrxCustomMemoView *Memo) = 0;
    // Width of the memo's widest line plus gaps and frame, page units.
    virtual double CalcWidth(TfrxCustomMemoView *Memo) = 0;
    // Splits the memo's text at the bottom of its rectangle.
    virtual TfrxMemoSplit Split(TfrxCustomMemoView *Memo) = 0;
    // The memo's text laid out at scale 1: the wrapped lines joined by CR LF
    // when WrapWords, else the text without tags.
    virtual QString WrapText(TfrxCustomMemoView *Memo, bool WrapWords) = 0;
};
