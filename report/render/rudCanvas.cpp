#include "report/render/rudCanvas.h"

#include "report/render/rudPdfWriter.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QHash>
#include <QPaintDevice>
#include <QPainterPath>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <tuple>

int rudRound(double Value)
{
    // Device coordinates stay within +-2^28 pixels: beyond any paper at any
    // resolution, yet far enough from the int range that the sums drawing
    // makes of a few of them cannot overflow (a template may hold 1e300).
    constexpr double limit = double(1 << 28);
    if (std::isnan(Value))
        return 0;
    return int(std::nearbyint(std::clamp(Value, -limit, limit)));
}

QColor rudColor(TColor Color)
{
    if (Color < 0) {
        // The few system colours templates use: window text black, window white.
        switch (Color & 0xFF) {
        case 5: return QColor(255, 255, 255);
        case 15: return QColor(240, 240, 240);
        default: return QColor(0, 0, 0);
        }
    }
    return QColor(Color & 0xFF, (Color >> 8) & 0xFF, (Color >> 16) & 0xFF);
}

namespace {

// What drawing needs of one character: its glyph, its whole-pixel advance
// and the box its ink covers, relative to the origin on the baseline.
struct TGlyphInfo {
    quint32 Glyph = 0;
    int Advance = 0;
    QRectF Ink;
};

// One font at one pixel height and style: its raw font and the glyphs,
// whole-pixel advances and ink boxes of the characters met so far.
struct TMeasuredFont {
    QRawFont Raw;
    int Ascent = 0;
    int Descent = 0;

    const TGlyphInfo &Glyph(char16_t Ch)
    {
        if (Ch < LowLimit) {
            std::unique_ptr<TBlock> &block = Blocks[Ch / BlockSize];
            if (!block)
                block = std::make_unique<TBlock>();
            TSlot &slot = (*block)[Ch % BlockSize];
            if (!slot.Known) {
                slot.Info = Measure(Ch);
                slot.Known = true;
            }
            return slot.Info;
        }
        const auto found = High.constFind(Ch);
        if (found != High.constEnd())
            return *found;
        return *High.insert(Ch, Measure(Ch));
    }

private:
    // The characters below U+0500 (Latin and Cyrillic) are kept in blocks of
    // 128, each made when the first of its characters is met: a text uses a
    // few of them, and one table of all would be cleared for every font.
    struct TSlot {
        TGlyphInfo Info;
        bool Known = false;
    };
    static constexpr char16_t BlockSize = 128, LowLimit = 0x500;
    using TBlock = std::array<TSlot, BlockSize>;
    std::array<std::unique_ptr<TBlock>, LowLimit / BlockSize> Blocks;
    QHash<char16_t, TGlyphInfo> High;

    TGlyphInfo Measure(char16_t Ch) const
    {
        TGlyphInfo info;
        int count = 1;
        const QChar qch(Ch);
        if (!QChar::isSurrogate(Ch)) {
            Raw.glyphIndexesForChars(&qch, 1, &info.Glyph, &count);
            const QList<QPointF> adv = Raw.advancesForGlyphIndexes(QList<quint32>{info.Glyph});
            info.Advance = adv.isEmpty() ? 0 : rudRound(adv.first().x());
            info.Ink = Raw.boundingRect(info.Glyph);
        }
        return info;
    }
};

using TFontKey = std::tuple<QString, int, int>;

// Fonts are shared by every canvas of the thread: layout and drawing ask
// for the same few fonts again and again.
std::map<TFontKey, std::unique_ptr<TMeasuredFont>> &fontTable()
{
    thread_local std::map<TFontKey, std::unique_ptr<TMeasuredFont>> table;
    return table;
}

// Counts the clearings of the table, so that canvases drop fonts they hold.
int &fontTableGeneration()
{
    thread_local int generation = 0;
    return generation;
}

// The font asked of Qt for a raw font. A raw font is one font file and draws
// no character from another (a glyph the font lacks is its .notdef), so
// merging is off: Qt then does not gather the fallback fonts of the family,
// which takes fontconfig a sort of every font installed.
QFont makeQFont(const QString &Name, int PixelSize, TFontStyles Style)
{
    QFont font(Name);
    font.setPixelSize(std::max(1, PixelSize));
    font.setBold(Style & fsBold);
    font.setItalic(Style & fsItalic);
    font.setUnderline(Style & fsUnderline);
    font.setStrikeOut(Style & fsStrikeOut);
    font.setKerning(false);
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferDefault | QFont::NoSubpixelAntialias | QFont::NoFontMerging));
    return font;
}

// The raw fonts first made of each name and style (bold and italic; the
// lines a font draws are no part of its glyphs).
std::map<std::pair<QString, int>, QRawFont> &rawFontBases()
{
    thread_local std::map<std::pair<QString, int>, QRawFont> bases;
    return bases;
}

// The family each name asked for turned out to be: a template's family that
// is not installed ("Times New Roman") is substituted by the font
// configuration, and its other styles are asked of the family found.
std::map<QString, QString> &foundFamilies()
{
    thread_local std::map<QString, QString> families;
    return families;
}

// The family asked of Qt for Name the first time. A family that is not
// installed but has a stated substitute (rudRenderInit: the Windows
// families templates name) is asked for by its substitute, when that is
// installed: asked for by name, Qt would first have fontconfig sort every
// installed font for fallbacks, and a machine's fontconfig rules could pick
// another family than the one stated.
QString familyToAsk(const QString &Name)
{
    const QStringList substitutes = QFont::substitutes(Name);
    if (substitutes.isEmpty())
        return Name;
    // A family's styles are listed only for a family the database holds.
    auto installed = [](const QString &Family) { return !QFontDatabase::styles(Family).isEmpty(); };
    return installed(Name) || !installed(substitutes.first()) ? Name : substitutes.first();
}

// The raw font of Name and Style at PixelSize. Only the first size asked of
// a name and style is found through fontconfig; the others are made from it
// (QRawFont::setPixelSize), with its file, hinting and synthesis. Each
// search costs a match and a substitution of the font configuration, and a
// print measures the same fonts at the printer's and the PDF's resolutions.
// A substitution (a sort of the installed fonts) is made at most once per
// name.
QRawFont rawFont(const QString &Name, int PixelSize, TFontStyles Style)
{
    const int styles = int(Style & (fsBold | fsItalic));
    auto [base, made] = rawFontBases().try_emplace({Name, styles});
    if (made) {
        auto [family, first] = foundFamilies().try_emplace(Name);
        base->second = QRawFont::fromFont(makeQFont(first ? familyToAsk(Name) : family->second, PixelSize, Style));
        if (first && base->second.isValid())
            family->second = base->second.familyName();
        else if (first)
            foundFamilies().erase(family);
    }
    QRawFont font = base->second;
    font.setPixelSize(std::max(1, PixelSize));
    return font;
}

TMeasuredFont *measuredFont(const QString &Name, int Height, TFontStyles Style)
{
    const TFontKey key{Name, Height, int(Style)};
    auto &table = fontTable();
    auto found = table.find(key);
    if (found != table.end())
        return found->second.get();
    auto entry = std::make_unique<TMeasuredFont>();
    int pixelSize = -Height;
    if (Height > 0) {
        // A positive height is the cell height: find the em that gives it.
        const QRawFont probe = rawFont(Name, 1000, Style);
        const double cell = probe.ascent() + probe.descent();
        pixelSize = cell > 0 ? rudRound(Height * 1000.0 / cell) : Height;
    }
    if (Height == 0)
        pixelSize = 16;
    entry->Raw = rawFont(Name, pixelSize, Style);
    entry->Ascent = rudRound(entry->Raw.ascent());
    entry->Descent = rudRound(entry->Raw.descent());
    if (table.size() > 256) {
        table.clear();
        rawFontBases().clear();
        foundFamilies().clear();
        ++fontTableGeneration();
    }
    return table.emplace(key, std::move(entry)).first->second.get();
}

} // namespace

struct TfrxCanvas::FontCache {
    TMeasuredFont *Current = nullptr;
    int Generation = -1;
};

TfrxCanvas::TfrxCanvas(QPaintDevice *Device, int DpiX, int DpiY) : FCache(std::make_unique<FontCache>())
{
    FDpiX = DpiX > 0 ? DpiX : (Device ? Device->logicalDpiX() : 96);
    FDpiY = DpiY > 0 ? DpiY : (Device ? Device->logicalDpiY() : 96);
    if (Device)
        Begin(Device);
}

TfrxCanvas::TfrxCanvas(QPainter *Painter, int DpiX, int DpiY)
    : FPainter(Painter), FDpiX(DpiX > 0 ? DpiX : 96), FDpiY(DpiY > 0 ? DpiY : 96),
      FCache(std::make_unique<FontCache>())
{
}

TfrxCanvas::TfrxCanvas() : FCache(std::make_unique<FontCache>()) {}

TfrxCanvas::~TfrxCanvas()
{
    if (FOwnPainter && FOwnPainter->isActive())
        FOwnPainter->end();
}

void TfrxCanvas::Begin(QPaintDevice *Device)
{
    FOwnPainter = std::make_unique<QPainter>(Device);
    FPainter = FOwnPainter.get();
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::TextAntialiasing, true);
}

TfrxCanvas::FontCache &TfrxCanvas::Cache()
{
    if (FFontDirty || !FCache->Current || FCache->Generation != fontTableGeneration()) {
        FCache->Current = measuredFont(FFont.Name, FFont.Height, FFont.Style);
        FCache->Generation = fontTableGeneration();
        FFontDirty = false;
    }
    return *FCache;
}

void TfrxCanvas::SetFont(const TfrxCanvasFont &Value)
{
    if (Value.Name != FFont.Name || Value.Height != FFont.Height || Value.Style != FFont.Style)
        FFontDirty = true;
    FFont = Value;
}

void TfrxCanvas::SetFontStyle(TFontStyles Value)
{
    if (Value != FFont.Style) {
        FFont.Style = Value;
        FFontDirty = true;
    }
}

void TfrxCanvas::SetFontColor(TColor Value)
{
    FFont.Color = Value;
}

void TfrxCanvas::SetFontHeight(int Value)
{
    if (Value != FFont.Height) {
        FFont.Height = Value;
        FFontDirty = true;
    }
}

void TfrxCanvas::SetFontEscapement(int Value)
{
    FFont.Escapement = Value;
}

int TfrxCanvas::Ascent()
{
    return Cache().Current->Ascent;
}

void TfrxCanvas::GetTextExtents(const QString &Text, int *Extents)
{
    TMeasuredFont *font = Cache().Current;
    int sum = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        sum += font->Glyph(Text.at(i).unicode()).Advance;
        Extents[i] = sum;
    }
}

int TfrxCanvas::TextWidth(const QString &Text)
{
    TMeasuredFont *font = Cache().Current;
    int sum = 0;
    for (const QChar ch : Text)
        sum += font->Glyph(ch.unicode()).Advance;
    return sum;
}

void TfrxCanvas::TextOut(int X, int Y, const QString &Text, const int *Advances, const QRect &Clip, int Options)
{
    if (Text.isEmpty())
        return;
    TMeasuredFont *font = Cache().Current;
    QList<quint32> glyphs;
    QList<QPointF> positions;
    QVarLengthArray<char16_t, 128> chars;
    glyphs.reserve(Text.size());
    positions.reserve(Text.size());
    const bool turned = FFont.Escapement != 0;
    // Unturned text is placed in device coordinates, so that it needs no
    // transformation of its own; turned text turns around its top-left.
    const QPointF origin = turned ? QPointF(0, font->Ascent) : QPointF(X, Y + font->Ascent);
    QRectF ink;
    int x = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const char16_t ch = Text.at(i).unicode();
        const TGlyphInfo &glyph = font->Glyph(ch);
        if (!QChar::isSurrogate(ch)) {
            glyphs.append(glyph.Glyph);
            positions.append(origin + QPointF(x, 0));
            chars.append(ch);
            if (!glyph.Ink.isEmpty())
                ink |= glyph.Ink.translated(x, 0);
        }
        x += Advances ? Advances[i] : glyph.Advance;
    }
    if (FRecording)
        FRecords.push_back({Text, QRect(X, Y, x, font->Ascent + font->Descent), int(FRecords.size())});
    if (!FPainter)
        return;
    QGlyphRun run;
    run.setRawFont(font->Raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    run.setUnderline(FFont.Style & fsUnderline);
    run.setStrikeOut(FFont.Style & fsStrikeOut);
    if (Options & etoRtlReading)
        run.setRightToLeft(false);
    // The report's PDF writer takes the run as it is (one text command);
    // every other device gets it through QPainter.
    auto draw = [&] {
        auto *pdf = dynamic_cast<TfrxPdfWriter *>(FPainter->device());
        const TfrxPdfGlyphRun pending{font->Raw, glyphs.constData(), positions.constData(), chars.constData(),
                                      int(glyphs.size())};
        if (pdf)
            pdf->SetPendingRun(&pending);
        FPainter->drawGlyphRun(QPointF(0, 0), run);
        if (pdf)
            pdf->SetPendingRun(nullptr);
    };
    if (FFont.Style & (fsUnderline | fsStrikeOut))
        ink |= QRectF(0, -font->Ascent / 2.0, x,
                      font->Ascent / 2.0 + font->Raw.underlinePosition() + font->Raw.lineThickness());
    // A clip the ink lies well inside (a pixel to spare for smoothing)
    // changes nothing, and every clip costs a PDF or a printer a clip path
    // and a saved state: most texts fit their boxes.
    const bool clip = (Options & etoClipped) &&
                      (turned || !QRectF(Clip).adjusted(1, 1, -1, -1).contains(ink.translated(X, Y + font->Ascent)));
    if (!turned && !clip) {
        const QPen pen = FPainter->pen();
        FPainter->setPen(rudColor(FFont.Color));
        draw();
        FPainter->setPen(pen);
        return;
    }
    FPainter->save();
    if (clip)
        FPainter->setClipRect(Clip, FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    FPainter->setPen(rudColor(FFont.Color));
    if (turned) {
        FPainter->translate(X, Y);
        FPainter->rotate(-FFont.Escapement / 10.0);
    }
    draw();
    FPainter->restore();
}

void TfrxCanvas::SetPen(TColor Color, int Width, TfrxPenStyle Style, TfrxPenCap Cap)
{
    if (!FPainter)
        return;
    if (Style == psClear || Color == clTransparent) {
        FPainter->setPen(Qt::NoPen);
        return;
    }
    static const Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine, Qt::DotLine,    Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::NoPen, Qt::CustomDashLine};
    static const Qt::PenCapStyle caps[] = {Qt::FlatCap, Qt::SquareCap, Qt::RoundCap};
    QPen pen(rudColor(Color));
    pen.setWidth(std::max(1, Width));
    pen.setStyle(styles[Style]);
    pen.setCapStyle(caps[Cap]);
    pen.setJoinStyle(Qt::MiterJoin);
    FPainter->setPen(pen);
}

void TfrxCanvas::SetPenPattern(TColor Color, int Width, const QVector<qreal> &Pattern, TfrxPenCap Cap)
{
    if (!FPainter)
        return;
    SetPen(Color, Width, psSolid, Cap);
    QPen pen = FPainter->pen();
    // Qt's pattern is in units of the pen width.
    const double unit = std::max(1, Width);
    QVector<qreal> scaled;
    for (qreal v : Pattern)
        scaled.append(std::max<qreal>(v / unit, 0.0001));
    pen.setDashPattern(scaled);
    FPainter->setPen(pen);
}

void TfrxCanvas::SetNoPen()
{
    if (FPainter)
        FPainter->setPen(Qt::NoPen);
}

void TfrxCanvas::SetBrush(TColor Color, TBrushStyle Style)
{
    if (!FPainter)
        return;
    static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,       Qt::HorPattern,
                                            Qt::VerPattern,   Qt::BDiagPattern,  Qt::FDiagPattern,
                                            Qt::CrossPattern, Qt::DiagCrossPattern};
    if (Color == clTransparent || Style == bsClear)
        FPainter->setBrush(Qt::NoBrush);
    else
        FPainter->setBrush(QBrush(rudColor(Color), styles[Style]));
}

void TfrxCanvas::SetNoBrush()
{
    if (FPainter)
        FPainter->setBrush(Qt::NoBrush);
}

void TfrxCanvas::MoveTo(int X, int Y)
{
    FPenPos = QPointF(X, Y);
}

void TfrxCanvas::LineTo(int X, int Y)
{
    Line(int(FPenPos.x()), int(FPenPos.y()), X, Y);
    FPenPos = QPointF(X, Y);
}

void TfrxCanvas::Line(int X1, int Y1, int X2, int Y2)
{
    if (!FPainter || FPainter->pen().style() == Qt::NoPen)
        return;
    const QPen pen = FPainter->pen();
    // A one-pixel line leaves out its last pixel, as a device's line does.
    if (pen.width() <= 1 && pen.style() == Qt::SolidLine && pen.capStyle() != Qt::SquareCap) {
        if (X1 == X2 && Y1 == Y2)
            return;
        if (Y1 == Y2) {
            const int from = X2 > X1 ? X1 : X2 + 1, to = X2 > X1 ? X2 - 1 : X1;
            FPainter->fillRect(QRect(QPoint(from, Y1), QPoint(to, Y1)), pen.color());
            return;
        }
        if (X1 == X2) {
            const int from = Y2 > Y1 ? Y1 : Y2 + 1, to = Y2 > Y1 ? Y2 - 1 : Y1;
            FPainter->fillRect(QRect(QPoint(X1, from), QPoint(X1, to)), pen.color());
            return;
        }
    }
    // A solid square-capped line along an axis covers whole pixels: w pixels
    // across at offsets -(w div 2) .. (w - 1) div 2, both ends included.
    if (pen.style() == Qt::SolidLine && pen.capStyle() == Qt::SquareCap && (X1 == X2 || Y1 == Y2)) {
        const int w = std::max(1, pen.width());
        const int lo = w / 2, hi = (w - 1) / 2;
        const QRect r = QRect(QPoint(std::min(X1, X2) - lo, std::min(Y1, Y2) - lo),
                              QPoint(std::max(X1, X2) + hi, std::max(Y1, Y2) + hi));
        FPainter->fillRect(r, pen.color());
        return;
    }
    FPainter->drawLine(QPointF(X1 + 0.5, Y1 + 0.5), QPointF(X2 + 0.5, Y2 + 0.5));
}

void TfrxCanvas::FillRect(const QRect &Rect, TColor Color)
{
    if (FPainter && Color != clTransparent && Rect.isValid())
        FPainter->fillRect(Rect, rudColor(Color));
}

void TfrxCanvas::Rectangle(int X, int Y, int X1, int Y1)
{
    if (!FPainter)
        return;
    if (FPainter->brush().style() != Qt::NoBrush)
        FPainter->fillRect(QRect(QPoint(X, Y), QPoint(X1 - 1, Y1 - 1)), FPainter->brush());
    if (FPainter->pen().style() != Qt::NoPen) {
        FPainter->save();
        FPainter->setBrush(Qt::NoBrush);
        FPainter->drawRect(QRectF(X + 0.5, Y + 0.5, X1 - X - 1, Y1 - Y - 1));
        FPainter->restore();
    }
}

void TfrxCanvas::Ellipse(int X, int Y, int X1, int Y1)
{
    if (FPainter)
        FPainter->drawEllipse(QRectF(X + 0.5, Y + 0.5, X1 - X - 1, Y1 - Y - 1));
}

void TfrxCanvas::RoundRect(int X, int Y, int X1, int Y1, int RX, int RY)
{
    if (FPainter)
        FPainter->drawRoundedRect(QRectF(X + 0.5, Y + 0.5, X1 - X - 1, Y1 - Y - 1), RX / 2.0, RY / 2.0);
}

void TfrxCanvas::Polygon(const QVector<QPoint> &Points)
{
    if (!FPainter)
        return;
    QPolygonF polygon;
    for (const QPoint &p : Points)
        polygon << QPointF(p.x() + 0.5, p.y() + 0.5);
    FPainter->drawPolygon(polygon);
}

void TfrxCanvas::DrawImage(const QRect &Target, const QImage &Image, const QByteArray &Jpeg)
{
    if (!FPainter || Image.isNull())
        return;
    auto *pdf = Jpeg.isEmpty() ? nullptr : dynamic_cast<TfrxPdfWriter *>(FPainter->device());
    if (pdf)
        pdf->SetPendingJpeg(Image.cacheKey(), Jpeg);
    FPainter->drawImage(Target, Image);
    if (pdf)
        pdf->SetPendingJpeg(0, QByteArray());
}

void TfrxCanvas::Save()
{
    if (FPainter)
        FPainter->save();
}

void TfrxCanvas::Restore()
{
    if (FPainter)
        FPainter->restore();
}

void TfrxCanvas::IntersectClip(const QRect &Rect)
{
    if (FPainter)
        FPainter->setClipRect(Rect, FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}
