#pragma once
// Drawing of one page with all its objects on a canvas: the common part of
// the prepared pages store's DrawPage, the render command and the designer.

class TfrxCanvas;
class TfrxReportPage;

// What a page is drawn with besides the canvas and the placement.
struct TfrxPageDrawOptions {
    int Index = 0;         // 0-based page number (odd pages mirror margins)
    int TotalPages = 1;    // given to memos
    int CopyNo = 1;        // given to memos
    double PrintScale = 1; // given to memos
    // Output meant for paper on any device (a PDF to be printed): what is
    // drawn follows the printer's rules, as on a printer's canvas.
    bool ForPaper = false;
    // The background picture even where it is not printable, to check the
    // objects' places against a scan of the blank on screen.
    bool AnyBackground = false;
};

// Draws Page with its paper's top-left corner at device point (OffsetX,
// OffsetY): background picture (on paper only when BackPicturePrintable),
// then every visible object of the page in tree order whose Visibility fits
// the output (vsPrint on paper, vsPreview elsewhere) and whose rectangle
// touches the visible part. A printer's canvas is paper.
void rudDrawPage(TfrxReportPage *Page, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                 double OffsetY, const TfrxPageDrawOptions &Options);
