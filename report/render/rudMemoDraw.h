#pragma once
// The memo's side of layout and drawing: its text rectangle, the layout
// parameters it hands to TfrxDrawText, its drawing and its underlines.

#include "report/render/rudViewDraw.h"

class TfrxCustomMemoView;
class TfrxDrawText;

// The memo's text rectangle inside its frame and gaps, device pixels, as
// QRect(Left, Top, Right - Left, Bottom - Top) with Right and Bottom exclusive.
QRect rudMemoTextRect(TfrxCustomMemoView *Memo, const TfrxViewDrawState &S);
// Prepares DrawText for Memo at the given scale (call under its lock); an
// AutoWidth memo outside the designer takes its text's width first.
void rudSetDrawParams(TfrxCustomMemoView *Memo, TfrxDrawText &DrawText, TfrxCanvas *Canvas, double ScaleX,
                      double ScaleY, double OffsetX, double OffsetY);
// Draws the memo: background, frame, underlines and text.
void rudDrawMemo(TfrxCustomMemoView *Memo, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                 double OffsetY);
// Space the frame, gaps and shadow add to the text's height / width.
double rudAdjustCalcHeight(TfrxCustomMemoView *Memo);
double rudAdjustCalcWidth(TfrxCustomMemoView *Memo);
