#pragma once
// The one drawing surface of the report engine: a QPainter with what the
// text layout and the view drawing need (device resolution, fonts by pixel
// height with escapement, per-character advances, text out with advances
// and a clip rectangle, pens with caps and dash patterns, hatch brushes,
// gradients). Screen, printer, PDF and image output use the same class.

#include "report/model/rudEnums.h"
#include "report/model/rudUnits.h"

#include <QFont>
#include <QPainter>
#include <QRawFont>
#include <QRect>
#include <QString>
#include <QVector>

#include <memory>
#include <vector>

// Nearest integer, halves to the even neighbour (the default rounding mode);
// kept within +-2^28 (NaN gives 0), the range of device coordinates.
int rudRound(double Value);
// A colour value as Qt's colour; system colours map to their usual values.
QColor rudColor(TColor Color);

// The font of a canvas, GDI style: a negative Height is the character
// height (em) in pixels, a positive one the cell height; Escapement is in
// tenths of a degree, counter-clockwise.
struct TfrxCanvasFont {
    QString Name = QStringLiteral("Arial");
    int Height = -13;
    TFontStyles Style;
    TColor Color = clBlack;
    int Charset = 1;
    int Escapement = 0;
    bool operator==(const TfrxCanvasFont &) const = default;
};

// One text output kept by a recording canvas (for the preview's find).
struct TfrxTextRecord {
    QString Text;
    QRect Bounds; // device pixels, unrotated cell of the run
    int Order = 0;
};

// Pen line kinds and end caps.
enum TfrxPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psUser };
enum TfrxPenCap { pcFlat, pcSquare, pcRound };

// A drawing surface over a QPainter. Text output options: 4 clips to the
// given rectangle, 128 reads right to left.
class TfrxCanvas {
public:
    enum { etoClipped = 4, etoRtlReading = 128 };

    // Paints on Device (an image, a PDF writer, a printer, a widget) whose
    // resolution is DpiX x DpiY (0: the device's own).
    explicit TfrxCanvas(QPaintDevice *Device, int DpiX = 0, int DpiY = 0);
    // Paints through an active painter the caller owns.
    TfrxCanvas(QPainter *Painter, int DpiX, int DpiY);
    // Measures only, draws nothing (a layout canvas); with Recording on it
    // keeps the text outputs it is given.
    TfrxCanvas();
    virtual ~TfrxCanvas();
    TfrxCanvas(const TfrxCanvas &) = delete;
    TfrxCanvas &operator=(const TfrxCanvas &) = delete;

    // The painter, or nullptr on a measuring canvas.
    QPainter *Painter() const { return FPainter; }
    int LogPixelsX() const { return FDpiX; }
    int LogPixelsY() const { return FDpiY; }
    // True for a printer's canvas (printing rules apply to what is drawn).
    virtual bool IsPrinter() const { return false; }
    // A recording canvas keeps every text output (and is never clipped to
    // a visible part).
    bool IsMetafile() const { return FRecording; }
    void SetRecording(bool Value) { FRecording = Value; }
    const std::vector<TfrxTextRecord> &TextRecords() const { return FRecords; }
    void ClearTextRecords() { FRecords.clear(); }
    // Device pixels that are visible (empty: everything); objects outside
    // it may be skipped.
    QRect VisibleRect() const { return FVisibleRect; }
    void SetVisibleRect(const QRect &Value) { FVisibleRect = Value; }

    // Fonts.
    const TfrxCanvasFont &Font() const { return FFont; }
    void SetFont(const TfrxCanvasFont &Value);
    void SetFontStyle(TFontStyles Value);
    void SetFontColor(TColor Value);
    void SetFontHeight(int Value);
    void SetFontEscapement(int Value);
    // Ascent and em height of the current font, pixels.
    int Ascent();
    // Running extents of Text: Extents[i] is the width of characters 0..i,
    // each advance rounded to whole pixels as a device measures them.
    void GetTextExtents(const QString &Text, int *Extents);
    // Width of Text in whole pixels.
    int TextWidth(const QString &Text);
    // Draws Text with the top-left corner of its first cell at (X, Y),
    // turned by the font's escapement around that point; Advances (one per
    // character, may be null: the font's own) place the characters; Clip
    // (with etoClipped) limits the output.
    void TextOut(int X, int Y, const QString &Text, const int *Advances, const QRect &Clip, int Options);

    // Pens and brushes.
    void SetPen(TColor Color, int Width = 1, TfrxPenStyle Style = psSolid, TfrxPenCap Cap = pcSquare);
    // A user dash pattern in pixels (on, off, ...).
    void SetPenPattern(TColor Color, int Width, const QVector<qreal> &Pattern, TfrxPenCap Cap);
    void SetNoPen();
    // Solid brush, hatch brush (bsHorizontal ... bsDiagCross) or none (bsClear).
    void SetBrush(TColor Color, TBrushStyle Style = bsSolid);
    void SetNoBrush();

    // Shapes (device pixels; rectangles exclude their right and bottom edges
    // as a GDI rectangle does).
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Line(int X1, int Y1, int X2, int Y2);
    void FillRect(const QRect &Rect, TColor Color);
    // Outline with the pen and inside with the brush, (X1, Y1) exclusive.
    void Rectangle(int X, int Y, int X1, int Y1);
    void Ellipse(int X, int Y, int X1, int Y1);
    void RoundRect(int X, int Y, int X1, int Y1, int RX, int RY);
    void Polygon(const QVector<QPoint> &Points);
    // Draws Image into Target; Jpeg (may be empty) is the JPEG file it was
    // decoded from, which a PDF takes as it is.
    void DrawImage(const QRect &Target, const QImage &Image, const QByteArray &Jpeg = QByteArray());

    // Clipping (saved and restored in pairs).
    void Save();
    void Restore();
    void IntersectClip(const QRect &Rect);

protected:
    void Begin(QPaintDevice *Device);

private:
    struct FontCache;
    FontCache &Cache();

    QPainter *FPainter = nullptr;
    std::unique_ptr<QPainter> FOwnPainter;
    int FDpiX = 96, FDpiY = 96;
    bool FRecording = false;
    std::vector<TfrxTextRecord> FRecords;
    QRect FVisibleRect;
    TfrxCanvasFont FFont;
    QPointF FPenPos;
    std::unique_ptr<FontCache> FCache;
    bool FFontDirty = true;
};
