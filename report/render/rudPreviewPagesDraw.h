#pragma once
// Drawing of one prepared page of the store.

#include "report/render/rudPageDraw.h"

class TfrxCanvas;
class TfrxPreviewPages;

// What memos of prepared page Index (0-based) are drawn with: the store's
// page count, copy number and print scale.
TfrxPageDrawOptions rudPreparedPageOptions(TfrxPreviewPages *Pages, int Index);

// Draws prepared page Index (0-based) of Pages with its paper's top-left
// corner at (OffsetX, OffsetY), with rudPreparedPageOptions. Nothing when
// there is no such page.
void rudDrawPreparedPage(TfrxPreviewPages *Pages, int Index, TfrxCanvas *Canvas, double ScaleX, double ScaleY,
                         double OffsetX, double OffsetY);
