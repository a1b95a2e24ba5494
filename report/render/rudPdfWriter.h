#pragma once
// The report's own PDF writer: a paint device whose engine writes one text
// command per run of glyphs (Identity-H fonts embedded as TrueType subsets,
// with ToUnicode maps so that text stays selectable), fills, strokes, clips
// and pictures (JPEG passed through, others compressed). The canvas hands it
// its glyph runs directly; everything else arrives through QPainter.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPaintDevice>
#include <QRawFont>
#include <QSizeF>
#include <QString>

#include <memory>
#include <vector>

class TfrxPdfFont;
class TfrxPdfPaintEngine;

// A run of glyphs as the canvas lays it out: glyph numbers of Font, their
// pen positions (logical coordinates, one baseline) and the character each
// stands for.
struct TfrxPdfGlyphRun {
    QRawFont Font;
    const quint32 *Glyphs = nullptr;
    const QPointF *Positions = nullptr;
    const char16_t *Chars = nullptr;
    int Count = 0;
};

// Value as a PDF number with at most Decimals decimals.
void rudPdfNumber(QByteArray &Out, double Value, int Decimals = 3);
// Packs the streams of one document for /FlateDecode. Its zlib state (a
// few hundred kilobytes) is made once and reset for each stream, not made
// and freed per stream or kept per level, which gives the same bytes.
class TfrxPdfDeflater {
public:
    TfrxPdfDeflater();
    ~TfrxPdfDeflater();
    TfrxPdfDeflater(const TfrxPdfDeflater &) = delete;
    TfrxPdfDeflater &operator=(const TfrxPdfDeflater &) = delete;

    // Data compressed (Fast: less tightly) into Out, whose room is reused;
    // false (Out empty) when zlib fails.
    bool Deflate(const QByteArray &Data, bool Fast, QByteArray &Out);

private:
    struct TStreams;
    std::unique_ptr<TStreams> FStreams;
};

// A PDF document being drawn page by page at Dpi device pixels per inch.
class TfrxPdfWriter : public QPaintDevice {
public:
    explicit TfrxPdfWriter(int Dpi);
    ~TfrxPdfWriter() override;
    TfrxPdfWriter(const TfrxPdfWriter &) = delete;
    TfrxPdfWriter &operator=(const TfrxPdfWriter &) = delete;

    void SetTitle(const QString &Value) { FTitle = Value; }
    void SetCreator(const QString &Value) { FCreator = Value; }
    int Dpi() const { return FDpi; }
    // Ends the current sheet (if any) and starts one of Points (width and
    // height in points); drawing before the first call goes nowhere.
    void NewPage(const QSizeF &Points);
    // The run the next glyph run drawn through QPainter stands for (the
    // canvas sets it around its call; nullptr clears it).
    void SetPendingRun(const TfrxPdfGlyphRun *Run) { FPendingRun = Run; }
    const TfrxPdfGlyphRun *PendingRun() const { return FPendingRun; }
    // The JPEG file an image drawn next was decoded from (passed through).
    void SetPendingJpeg(qint64 ImageKey, const QByteArray &Jpeg)
    {
        FPendingJpegKey = ImageKey;
        FPendingJpeg = Jpeg;
    }
    // The family of the first font met that cannot be embedded (no TrueType
    // outlines); empty while every font could be. Such text is not drawn:
    // the caller must write the document another way.
    QString UnembeddableFont() const { return FUnembeddable; }
    // The whole file; the writer is done after it.
    QByteArray Finish();

    QPaintEngine *paintEngine() const override;

    // For the engine: resource names of fonts and images, and the page's
    // content.
    struct TFontUse {
        TfrxPdfFont *Font = nullptr;
        int Index = -1;
    };
    TFontUse FontFor(const QRawFont &Font);
    // The resource index of Image (drawn whole), written on first use.
    int ImageFor(const QImage &Image);
    QByteArray &Content() { return FContent; }
    QSizeF PageSizeInPixels() const { return FPagePixels; }

protected:
    int metric(PaintDeviceMetric Metric) const override;

private:
    int NewObject();
    void BeginObject(int Number);
    void WriteStream(int Number, const QByteArray &Dictionary, const QByteArray &Data, bool Compress,
                     bool Fast = false);
    void EndPage();
    int WriteImage(const QImage &Image, const QByteArray &Jpeg);

    int FDpi;
    QString FTitle, FCreator;
    QByteArray FOut;
    std::vector<qsizetype> FOffsets; // by object number - 1 (0: not written yet)
    QList<int> FPageObjects;
    bool FInPage = false;
    QSizeF FPagePoints, FPagePixels;
    QByteArray FContent;
    QByteArray FPacked; // the last stream packed
    TfrxPdfDeflater FDeflater;
    std::unique_ptr<TfrxPdfPaintEngine> FEngine;
    const TfrxPdfGlyphRun *FPendingRun = nullptr;
    qint64 FPendingJpegKey = 0;
    QByteArray FPendingJpeg;
    QString FUnembeddable;
    // Fonts: each face once, found by raw font (fast) or by its data.
    std::vector<std::unique_ptr<TfrxPdfFont>> FFonts;
    QHash<QByteArray, int> FFontsByKey;
    QList<std::pair<QRawFont, TFontUse>> FRawFonts;
    int FLastRawFont = -1;
    // Images by QImage::cacheKey (a picture repeated on every page is
    // written once), as object numbers; the resource index is the position.
    QHash<qint64, int> FImagesByKey;
    QList<int> FImageObjects;
    QList<QImage> FImagesKept; // keeps cache keys from being reused
};
