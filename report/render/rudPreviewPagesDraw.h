#pragma once
// Drawing of one prepared page of the store.

class TfrxCanvas;
class TfrxPreviewPages;

// Draws prepared page Index (0-based) of Pages with its paper's top-left
// corner at (OffsetX, OffsetY); memos get the store's page count, copy
// number and print scale first. Nothing when there is no such page.
void rudDrawPreparedPage(TfrxPreviewPages *Pages, int Index, TfrxCanvas *Canvas, double ScaleX, double ScaleY,
                         double OffsetX, double OffsetY);
