#pragma once
// The paint engine of the report's PDF writer: turns what QPainter draws
// into a page's content stream in device pixels (the page's matrix maps them
// to points), writing a clip or a colour only when it changes.

#include <QBrush>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QTransform>

#include <vector>

class TfrxPdfWriter;
struct TfrxPdfGlyphRun;

// Writes the drawing of one TfrxPdfWriter into its current page.
class TfrxPdfPaintEngine : public QPaintEngine {
public:
    explicit TfrxPdfPaintEngine(TfrxPdfWriter *Writer);

    // Opens and closes the content of a page.
    void BeginPage();
    void EndPage();

    bool begin(QPaintDevice *Device) override;
    bool end() override;
    void updateState(const QPaintEngineState &State) override;
    void drawPath(const QPainterPath &Path) override;
    using QPaintEngine::drawRects;
    void drawRects(const QRectF *Rects, int Count) override;
    using QPaintEngine::drawLines;
    void drawLines(const QLineF *Lines, int Count) override;
    using QPaintEngine::drawPolygon;
    void drawPolygon(const QPointF *Points, int Count, PolygonDrawMode Mode) override;
    void drawPixmap(const QRectF &Target, const QPixmap &Pixmap, const QRectF &Source) override;
    void drawImage(const QRectF &Target, const QImage &Image, const QRectF &Source,
                   Qt::ImageConversionFlags Flags = Qt::AutoColor) override;
    void drawTextItem(const QPointF &Origin, const QTextItem &Item) override;
    Type type() const override { return QPaintEngine::User; }

private:
    // Brings the written clip to the painter's; closes text where needed.
    void Sync();
    void CloseText();
    // Sets the fill (or Stroke) colour where it differs from the written one.
    void SetColour(const QColor &Colour, bool Stroke = false);
    void SetLineStyle();
    void AppendPath(const QPainterPath &DevicePath);
    // Fills and strokes Path (logical coordinates) with the brush and pen.
    void Paint(const QPainterPath &Path, bool Fill, bool Stroke);
    void FillRaster(const QPainterPath &Path);
    void PlaceImage(int Index, const QRectF &Target, const QTransform &Matrix);
    void DrawRun(const TfrxPdfGlyphRun &Run);
    bool SolidBrush() const;
    bool SolidPen() const;

    TfrxPdfWriter *FWriter;
    QTransform FMatrix;
    QPen FPen;
    QBrush FBrush;
    std::vector<QPainterPath> FClip;
    bool FClipOn = false;
    // What the page's content has set.
    std::vector<QPainterPath> FWritten;
    QRgb FFill = 0, FStroke = 0;
    bool FFillKnown = false, FStrokeKnown = false;
    QByteArray FLine;
    bool FInText = false;
    int FTextFont = -1;
    double FTextSize = 0;
    int FRenderMode = 0;
    bool FMatrixKnown = false;
    double FTm[4] = {1, 0, 0, 1};
    double FLineX = 0, FLineY = 0;
};
