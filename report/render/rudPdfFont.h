#pragma once
// A TrueType font as the PDF writer embeds it: the glyphs a document uses
// (composite glyphs' parts included, hinting left out) in a subset that
// keeps the font's own glyph numbers, with their widths and the text each
// glyph stands for.

#include <QByteArray>
#include <QRawFont>
#include <QString>

#include <vector>

// One font face of a PDF document, shown through glyph numbers (Identity-H).
class TfrxPdfFont {
public:
    // Reads the tables of Font; IsEmbeddable() tells whether it has TrueType
    // outlines the writer can subset.
    explicit TfrxPdfFont(const QRawFont &Font);

    // False for faces with neither TrueType nor CFF outlines (bitmaps).
    bool IsEmbeddable() const { return FEmbeddable; }
    // True for CFF outlines, which go in whole (not as a subset).
    bool IsCff() const { return !FCff.isEmpty(); }
    QString Name() const { return FName; }
    // True when the face itself is bold or italic (not made so by the font
    // system from its regular face).
    bool FaceBold() const { return FBold; }
    bool FaceItalic() const { return FItalic; }
    bool FixedPitch() const { return FFixedPitch; }
    int GlyphCount() const { return int(FUsed.size()); }
    // Advance of Glyph in thousandths of the em, as the PDF's widths give it.
    int Width(quint32 Glyph) const;
    // Marks Glyph as used, standing for the character Ch (0: not known).
    void Use(quint32 Glyph, char32_t Ch)
    {
        if (Glyph >= FUsed.size())
            return;
        FUsed[Glyph] = true;
        if (Ch && !FText[Glyph])
            FText[Glyph] = Ch;
    }

    // The subset as a TrueType file, or the whole CFF table.
    QByteArray SubsetFile() const;
    // The subset's tag (six capital letters, the same for the same glyphs).
    QByteArray SubsetTag() const;
    // "/W" array entries of the used glyphs.
    QByteArray WidthsArray() const;
    // The ToUnicode CMap of the used glyphs.
    QByteArray ToUnicodeCMap() const;
    // Font descriptor entries (flags, box, ascent, descent, angle, stems),
    // without the font name and file.
    QByteArray DescriptorEntries() const;

private:
    QByteArray Table(const char *Tag) const;
    // The used glyphs and the parts of the composite ones among them; Glyf
    // is the font's glyph table.
    std::vector<bool> UsedWithComponents(const QByteArray &Glyf) const;

    QRawFont FFont;
    bool FEmbeddable = false;
    bool FBold = false, FItalic = false, FFixedPitch = false;
    QString FName;
    int FUnitsPerEm = 1000;
    QByteArray FHmtx;
    int FHMetrics = 0;
    std::vector<bool> FUsed;
    std::vector<char32_t> FText;
    // The glyph table, the largest, is read when the subset is made, not
    // kept from the first use of the font to the end of the document.
    QByteArray FLoca, FCff;
    bool FLongLoca = false;
    int FAscent = 0, FDescent = 0, FCapHeight = 0;
    int FBox[4] = {0, 0, 0, 0};
    double FItalicAngle = 0;
};
