#pragma once
// Drawing of report objects: the device rectangle of a view, its fill, its
// frame with the drop shadow, and the painter the model calls through.

#include "report/model/rudViewPainter.h"
#include "report/render/rudCanvas.h"

class TfrxCustomFill;
class TfrxFrame;
class TfrxView;

// The drawing state of one view, valid while it is drawn: the target, the
// scale and offset, and the object's device rectangle.
struct TfrxViewDrawState {
    TfrxCanvas *Canvas = nullptr;
    double ScaleX = 1, ScaleY = 1, OffsetX = 0, OffsetY = 0;
    int FX = 0, FY = 0;   // device left and top
    int FX1 = 0, FY1 = 0; // device right and bottom (less the drop shadow)
    int FDX = 0, FDY = 0; // FX1 - FX, FY1 - FY
    int FFrameWidth = 0;  // frame width in device pixels
};

// The device rectangle of View at the given scale and offset.
TfrxViewDrawState rudBeginDraw(TfrxView *View, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                               double OffsetY);
// Paints the view's fill under the frame lines that are present.
void rudDrawBackground(TfrxView *View, const TfrxViewDrawState &S);
// Draws the view's frame and drop shadow.
void rudDrawFrame(TfrxView *View, const TfrxViewDrawState &S);
// Background then frame: the drawing of a plain view.
void rudDrawViewBox(TfrxView *View, const TfrxViewDrawState &S);
// A line Width pixels thick made of one-pixel lines with the current pen,
// offset across the line's main direction by -(Width div 2) .. (Width - 1) div 2.
void rudDrawBandLine(TfrxCanvas *Canvas, int X1, int Y1, int X2, int Y2, int Width);
// Paints Fill in the device rectangle (X, Y) - (X1, Y1), right and bottom exclusive.
void rudDrawFill(const TfrxCustomFill *Fill, TfrxCanvas *Canvas, int X, int Y, int X1, int Y1);
// Draws Frame around the device rectangle (FX, FY) - (FX1, FY1).
void rudDrawFrameRecord(const TfrxFrame *Frame, TfrxCanvas *Canvas, int FX, int FY, int FX1, int FY1,
                        double ScaleX, double ScaleY);
// Windows' MulDiv: A x B / C rounded half away from zero.
int rudMulDiv(int A, int B, int C);

// The painter the model calls: draws each kind of view and lays memos out.
class TfrxViewDrawer : public TfrxViewPainter {
public:
    void Draw(TfrxView *View, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
              double OffsetY) override;
    double CalcHeight(TfrxCustomMemoView *Memo) override;
    double CalcWidth(TfrxCustomMemoView *Memo) override;
    TfrxMemoSplit Split(TfrxCustomMemoView *Memo) override;
    QString WrapText(TfrxCustomMemoView *Memo, bool WrapWords) override;
};

// Draws View with this room's painter, whatever report (if any) it belongs
// to: the objects of prepared pages belong to none.
void rudDrawView(TfrxView *View, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY);
