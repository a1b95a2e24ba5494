#include "report/render/rudPdfEngine.h"

#include "report/render/rudPdfFont.h"
#include "report/render/rudPdfWriter.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRawFont>
#include <QTextItem>

#include <algorithm>
#include <cmath>

namespace {

// The slant the font system gives a face it has to make italic.
constexpr double syntheticSlant = 0.3;

void number(QByteArray &Out, double Value, int Decimals = 3)
{
    rudPdfNumber(Out, Value, Decimals);
    Out += ' ';
}

void appendHexGlyph(QByteArray &Out, quint32 Glyph)
{
    static const char digits[] = "0123456789ABCDEF";
    const char hex[4] = {digits[(Glyph >> 12) & 0xF], digits[(Glyph >> 8) & 0xF], digits[(Glyph >> 4) & 0xF],
                         digits[Glyph & 0xF]};
    Out.append(hex, 4);
}

double rounded(double Value, int Decimals)
{
    static const double scales[] = {1, 10, 100, 1000, 10000, 100000};
    const double scale = scales[std::clamp(Decimals, 0, 5)];
    return std::round(Value * scale) / scale;
}

} // namespace

TfrxPdfPaintEngine::TfrxPdfPaintEngine(TfrxPdfWriter *Writer) : QPaintEngine(AllFeatures), FWriter(Writer) {}

bool TfrxPdfPaintEngine::begin(QPaintDevice *)
{
    return true;
}

bool TfrxPdfPaintEngine::end()
{
    return true;
}

void TfrxPdfPaintEngine::BeginPage()
{
    QByteArray &out = FWriter->Content();
    const double scale = 72.0 / FWriter->Dpi();
    number(out, scale, 6);
    out += "0 0 ";
    number(out, -scale, 6);
    out += "0 ";
    number(out, FWriter->PageSizeInPixels().height() * scale, 4);
    out += "cm\nq\n";
    FWritten.clear();
    FFillKnown = FStrokeKnown = false;
    FLine.clear();
    FInText = false;
    FRenderMode = 0;
}

void TfrxPdfPaintEngine::EndPage()
{
    CloseText();
    FWriter->Content() += "Q\n";
}

void TfrxPdfPaintEngine::updateState(const QPaintEngineState &State)
{
    const DirtyFlags flags = State.state();
    if (flags & DirtyTransform)
        FMatrix = State.transform();
    if (flags & DirtyPen)
        FPen = State.pen();
    if (flags & DirtyBrush)
        FBrush = State.brush();
    auto clipTo = [this](const QPainterPath &Path, Qt::ClipOperation Operation) {
        if (Operation == Qt::NoClip) {
            FClip.clear();
            FClipOn = false;
            return;
        }
        if (Operation == Qt::ReplaceClip)
            FClip.clear();
        FClip.push_back(FMatrix.map(Path));
        FClipOn = true;
    };
    if (flags & DirtyClipPath)
        clipTo(State.clipPath(), State.clipOperation());
    if (flags & DirtyClipRegion) {
        QPainterPath path;
        path.addRegion(State.clipRegion());
        clipTo(path, State.clipOperation());
    }
    if (flags & DirtyClipEnabled)
        FClipOn = State.isClipEnabled();
}

void TfrxPdfPaintEngine::Sync()
{
    static const std::vector<QPainterPath> none;
    const std::vector<QPainterPath> &wanted = FClipOn ? FClip : none;
    if (wanted == FWritten)
        return;
    CloseText();
    QByteArray &out = FWriter->Content();
    // A clip that narrows the written one needs no restore of the state.
    const bool narrows = FWritten.size() < wanted.size() && std::equal(FWritten.begin(), FWritten.end(), wanted.begin());
    size_t from = FWritten.size();
    if (!narrows) {
        out += "Q q\n";
        FFillKnown = FStrokeKnown = false;
        FLine.clear();
        FRenderMode = 0;
        from = 0;
    }
    for (size_t i = from; i < wanted.size(); ++i) {
        AppendPath(wanted[i]);
        out += wanted[i].fillRule() == Qt::OddEvenFill ? "W* n\n" : "W n\n";
    }
    FWritten = wanted;
}

void TfrxPdfPaintEngine::CloseText()
{
    if (FInText) {
        FWriter->Content() += "ET\n";
        FInText = false;
    }
}

void TfrxPdfPaintEngine::SetColour(const QColor &Colour, bool Stroke)
{
    const QRgb rgb = Colour.rgb();
    QRgb &written = Stroke ? FStroke : FFill;
    bool &known = Stroke ? FStrokeKnown : FFillKnown;
    if (known && rgb == written)
        return;
    QByteArray &out = FWriter->Content();
    number(out, qRed(rgb) / 255.0);
    number(out, qGreen(rgb) / 255.0);
    number(out, qBlue(rgb) / 255.0);
    out += Stroke ? "RG\n" : "rg\n";
    written = rgb;
    known = true;
}

void TfrxPdfPaintEngine::SetLineStyle()
{
    const double scale = std::sqrt(std::abs(FMatrix.determinant()));
    const double width = FPen.widthF() * (FPen.isCosmetic() ? 1.0 : scale);
    QByteArray line;
    number(line, width, 2);
    line += "w ";
    line += FPen.capStyle() == Qt::RoundCap ? "1 J " : FPen.capStyle() == Qt::SquareCap ? "2 J " : "0 J ";
    line += FPen.joinStyle() == Qt::RoundJoin ? "1 j " : FPen.joinStyle() == Qt::BevelJoin ? "2 j " : "0 j ";
    if (FPen.joinStyle() == Qt::MiterJoin || FPen.joinStyle() == Qt::SvgMiterJoin) {
        number(line, std::max(1.0, 2 * FPen.miterLimit()), 2);
        line += "M ";
    }
    line += '[';
    if (FPen.style() != Qt::SolidLine) {
        // Qt's dashes are in pen widths (a width under one counts as one).
        const double unit = std::max(width, 1.0);
        for (const qreal dash : FPen.dashPattern())
            number(line, dash * unit, 2);
        line += "] ";
        number(line, FPen.dashOffset() * unit, 2);
    } else {
        line += "] 0 ";
    }
    line += "d\n";
    if (line == FLine)
        return;
    FWriter->Content() += line;
    FLine = line;
}

void TfrxPdfPaintEngine::AppendPath(const QPainterPath &DevicePath)
{
    QByteArray &out = FWriter->Content();
    QPointF start;
    bool open = false;
    for (int i = 0; i < DevicePath.elementCount(); ++i) {
        const QPainterPath::Element e = DevicePath.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            if (open && QPointF(DevicePath.elementAt(i - 1)) == start)
                out += "h\n";
            number(out, e.x, 2);
            number(out, e.y, 2);
            out += "m\n";
            start = e;
            open = true;
            break;
        case QPainterPath::LineToElement:
            number(out, e.x, 2);
            number(out, e.y, 2);
            out += "l\n";
            break;
        case QPainterPath::CurveToElement:
            for (int k = 0; k < 3 && i + k < DevicePath.elementCount(); ++k) {
                const QPainterPath::Element c = DevicePath.elementAt(i + k);
                number(out, c.x, 2);
                number(out, c.y, 2);
            }
            out += "c\n";
            i += 2;
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    if (open && DevicePath.elementCount() > 2 && QPointF(DevicePath.elementAt(DevicePath.elementCount() - 1)) == start)
        out += "h\n";
}

bool TfrxPdfPaintEngine::SolidBrush() const
{
    return FBrush.style() == Qt::SolidPattern && FBrush.color().alpha() > 0;
}

bool TfrxPdfPaintEngine::SolidPen() const
{
    return FPen.style() != Qt::NoPen && FPen.brush().style() != Qt::NoBrush && FPen.color().alpha() > 0;
}

void TfrxPdfPaintEngine::Paint(const QPainterPath &Path, bool Fill, bool Stroke)
{
    const bool otherBrush = Fill && FBrush.style() != Qt::NoBrush && !SolidBrush() && FBrush.color().alpha() > 0;
    Fill = Fill && SolidBrush();
    Stroke = Stroke && SolidPen();
    if (!Fill && !Stroke && !otherBrush)
        return;
    Sync();
    CloseText();
    if (otherBrush)
        FillRaster(Path);
    if (!Fill && !Stroke)
        return;
    if (Fill)
        SetColour(FBrush.color());
    if (Stroke) {
        SetColour(FPen.color(), true);
        SetLineStyle();
    }
    AppendPath(FMatrix.map(Path));
    const bool evenOdd = Path.fillRule() == Qt::OddEvenFill;
    QByteArray &out = FWriter->Content();
    if (Fill && Stroke)
        out += evenOdd ? "B*\n" : "B\n";
    else if (Fill)
        out += evenOdd ? "f*\n" : "f\n";
    else
        out += "S\n";
}

void TfrxPdfPaintEngine::FillRaster(const QPainterPath &Path)
{
    // Patterns and gradients are drawn by Qt into a picture of the area,
    // at most a few million pixels.
    const QSizeF page = FWriter->PageSizeInPixels();
    const QRectF area = FMatrix.map(Path).boundingRect() & QRectF(QPointF(0, 0), page);
    if (area.isEmpty())
        return;
    const double step = std::max(1.0, std::sqrt(area.width() * area.height() / 4e6));
    QImage image(std::max(1, int(std::ceil(area.width() / step))), std::max(1, int(std::ceil(area.height() / step))),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        QTransform toImage;
        toImage.scale(1 / step, 1 / step);
        toImage.translate(-area.left(), -area.top());
        painter.setTransform(FMatrix * toImage);
        painter.fillPath(Path, FBrush);
    }
    PlaceImage(FWriter->ImageFor(image), area, QTransform());
}

void TfrxPdfPaintEngine::PlaceImage(int Index, const QRectF &Target, const QTransform &Matrix)
{
    QByteArray &out = FWriter->Content();
    const QPointF corner = Matrix.map(Target.bottomLeft());
    out += "q ";
    number(out, Target.width() * Matrix.m11(), 4);
    number(out, Target.width() * Matrix.m12(), 4);
    number(out, -Target.height() * Matrix.m21(), 4);
    number(out, -Target.height() * Matrix.m22(), 4);
    number(out, corner.x(), 3);
    number(out, corner.y(), 3);
    out += "cm /Im" + QByteArray::number(Index) + " Do Q\n";
}

void TfrxPdfPaintEngine::drawPath(const QPainterPath &Path)
{
    Paint(Path, true, true);
}

void TfrxPdfPaintEngine::drawRects(const QRectF *Rects, int Count)
{
    if (FMatrix.type() > QTransform::TxScale || (FBrush.style() != Qt::NoBrush && !SolidBrush())) {
        QPainterPath path;
        for (int i = 0; i < Count; ++i)
            path.addRect(Rects[i]);
        Paint(path, true, true);
        return;
    }
    const bool fill = SolidBrush(), stroke = SolidPen();
    if (!fill && !stroke)
        return;
    Sync();
    CloseText();
    if (fill)
        SetColour(FBrush.color());
    if (stroke) {
        SetColour(FPen.color(), true);
        SetLineStyle();
    }
    QByteArray &out = FWriter->Content();
    for (int i = 0; i < Count; ++i) {
        const QRectF r = FMatrix.mapRect(Rects[i]);
        number(out, r.x(), 2);
        number(out, r.y(), 2);
        number(out, r.width(), 2);
        number(out, r.height(), 2);
        out += "re\n";
    }
    out += fill && stroke ? "B\n" : fill ? "f\n" : "S\n";
}

void TfrxPdfPaintEngine::drawLines(const QLineF *Lines, int Count)
{
    QPainterPath path;
    for (int i = 0; i < Count; ++i) {
        path.moveTo(Lines[i].p1());
        path.lineTo(Lines[i].p2());
    }
    Paint(path, false, true);
}

void TfrxPdfPaintEngine::drawPolygon(const QPointF *Points, int Count, PolygonDrawMode Mode)
{
    if (Count <= 0)
        return;
    QPainterPath path(Points[0]);
    for (int i = 1; i < Count; ++i)
        path.lineTo(Points[i]);
    if (Mode != PolylineMode)
        path.closeSubpath();
    path.setFillRule(Mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    Paint(path, Mode != PolylineMode, true);
}

void TfrxPdfPaintEngine::drawPixmap(const QRectF &Target, const QPixmap &Pixmap, const QRectF &Source)
{
    drawImage(Target, Pixmap.toImage(), Source);
}

void TfrxPdfPaintEngine::drawImage(const QRectF &Target, const QImage &Image, const QRectF &Source,
                                   Qt::ImageConversionFlags)
{
    if (Image.isNull() || Target.isEmpty())
        return;
    Sync();
    CloseText();
    const bool whole = Source.toAlignedRect() == Image.rect();
    PlaceImage(FWriter->ImageFor(whole ? Image : Image.copy(Source.toAlignedRect())), Target, FMatrix);
}

void TfrxPdfPaintEngine::drawTextItem(const QPointF &Origin, const QTextItem &Item)
{
    if (const TfrxPdfGlyphRun *run = FWriter->PendingRun()) {
        DrawRun(*run);
        return;
    }
    // Text drawn through QPainter directly: laid out with the font's own
    // advances.
    const QString text = Item.text();
    if (text.isEmpty())
        return;
    TfrxPdfGlyphRun run;
    run.Font = QRawFont::fromFont(Item.font());
    const QList<quint32> glyphs = run.Font.glyphIndexesForString(text);
    const QList<QPointF> advances = run.Font.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    QPointF at = Origin;
    for (const QPointF &advance : advances) {
        positions << at;
        at += advance;
    }
    run.Glyphs = glyphs.constData();
    run.Positions = positions.constData();
    run.Chars = glyphs.size() == text.size() ? reinterpret_cast<const char16_t *>(text.utf16()) : nullptr;
    run.Count = int(std::min(glyphs.size(), positions.size()));
    DrawRun(run);
}

void TfrxPdfPaintEngine::DrawRun(const TfrxPdfGlyphRun &Run)
{
    if (Run.Count <= 0 || FPen.style() == Qt::NoPen)
        return;
    const TfrxPdfWriter::TFontUse use = FWriter->FontFor(Run.Font);
    if (!use.Font)
        return;
    Sync();
    QByteArray &out = FWriter->Content();
    const double size = Run.Font.pixelSize();
    // A face the font system makes bold is stroked as thick as it widens
    // the outlines (a 24th of the em).
    const bool bold = Run.Font.weight() >= QFont::Bold && !use.Font->FaceBold() && !use.Font->FixedPitch();
    const bool italic = Run.Font.style() != QFont::StyleNormal && !use.Font->FaceItalic();
    const double slant = italic ? syntheticSlant : 0;
    const double tm[4] = {rounded(FMatrix.m11(), 5), rounded(FMatrix.m12(), 5),
                          rounded(slant * FMatrix.m11() - FMatrix.m21(), 5),
                          rounded(slant * FMatrix.m12() - FMatrix.m22(), 5)};
    const QPointF origin = FMatrix.map(Run.Positions[0]);
    if (!FInText) {
        out += "BT\n";
        FInText = true;
        FMatrixKnown = false;
        FTextFont = -1;
    }
    SetColour(FPen.color());
    const int mode = bold ? 2 : 0;
    if (bold) {
        SetColour(FPen.color(), true);
        number(out, size * std::sqrt(std::abs(FMatrix.determinant())) / 24, 2);
        out += "w\n";
        FLine.clear();
    }
    if (mode != FRenderMode) {
        out += mode ? "2 Tr\n" : "0 Tr\n";
        FRenderMode = mode;
    }
    if (use.Index != FTextFont || size != FTextSize) {
        out += "/F" + QByteArray::number(use.Index) + ' ';
        number(out, size, 3);
        out += "Tf\n";
        FTextFont = use.Index;
        FTextSize = size;
    }
    const double det = tm[0] * tm[3] - tm[1] * tm[2];
    if (FMatrixKnown && std::equal(tm, tm + 4, FTm) && std::abs(det) > 1e-9) {
        // The same matrix: move from the start of the last run.
        const double dx = origin.x() - FLineX, dy = origin.y() - FLineY;
        const double tx = rounded((tm[3] * dx - tm[2] * dy) / det, 3);
        const double ty = rounded((-tm[1] * dx + tm[0] * dy) / det, 3);
        number(out, tx);
        number(out, ty);
        out += "Td\n";
        FLineX += tm[0] * tx + tm[2] * ty;
        FLineY += tm[1] * tx + tm[3] * ty;
    } else {
        for (const double v : tm)
            number(out, v, 5);
        FLineX = rounded(origin.x(), 3);
        FLineY = rounded(origin.y(), 3);
        number(out, FLineX);
        number(out, FLineY);
        out += "Tm\n";
        std::copy(tm, tm + 4, FTm);
        FMatrixKnown = true;
    }
    // Glyphs go at the font's advances; where the layout's place differs by
    // more than a hundredth of a millimetre, an adjustment moves the pen.
    // Text turned by other than right angles keeps every glyph exactly:
    // readers group its letters into words by tiny differences.
    const double unit = size / 1000.0;
    const bool diagonal = std::abs(tm[0] * tm[1]) > 1e-6;
    const double tolerance = diagonal ? 1e-3 : FWriter->Dpi() * 0.01 / 25.4;
    const double x0 = Run.Positions[0].x();
    // The string goes straight into the content; a run that needs
    // adjustments becomes an array once they are known.
    const qsizetype start = out.size();
    out += '<';
    bool adjusted = false;
    double pen = 0;
    for (int i = 0; i < Run.Count; ++i) {
        const quint32 glyph = Run.Glyphs[i];
        const double gap = (Run.Positions[i].x() - x0) - pen;
        if (i > 0 && std::abs(gap) > tolerance && unit > 0) {
            const double shift = rounded(-gap / unit, diagonal ? 3 : 0);
            out += "> ";
            rudPdfNumber(out, shift, 3);
            out += " <";
            pen -= shift * unit;
            adjusted = true;
        }
        appendHexGlyph(out, glyph);
        use.Font->Use(glyph, Run.Chars ? Run.Chars[i] : 0);
        pen += use.Font->Width(glyph) * unit;
    }
    out += '>';
    if (adjusted) {
        out.insert(start, '[');
        out += "] TJ\n";
    } else {
        out += " Tj\n";
    }
}
