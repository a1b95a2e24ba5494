#pragma once
// The text layout engine of memos: lines are broken at a fixed layout
// resolution of 600 dpi so that they break the same on every device, then
// drawn on a target canvas with the device's font forced to the layout's
// proportions.

#include "report/model/rudEnums.h"
#include "report/model/rudUnits.h"
#include "report/render/rudCanvas.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <mutex>
#include <vector>

class TFont;

enum TSubStyle { ssNormal, ssSubscript, ssSuperscript };

// The attributes of one character of a wrapped line.
struct TfrxHTMLTag {
    int Position = 0; // 1-based index of the character in the source text
    int Size = 0;     // points
    int AddY = 0;     // 1: lowered by Size (subscript)
    TFontStyles Style;
    TColor Color = clBlack;
    bool Default = true; // same attributes as the character before it
    bool Small = false;  // Size differs from the default size
    bool DontWRAP = false;
    TSubStyle SubType = ssNormal;
};

// The tags of one wrapped line.
using TfrxHTMLTags = std::vector<TfrxHTMLTag>;

// The tag lines of a layout, parallel to its wrapped lines, and the markup
// state while a source line is scanned.
class TfrxHTMLTagsList {
public:
    bool AllowTags = false;
    std::vector<TfrxHTMLTags> Lines;

    // Starts a layout with the given default attributes.
    void SetDefaults(TColor DefColor, int DefSize, TFontStyles DefStyle);
    // Opens the tag line of the next source line.
    void NewLine();
    // Removes the markup forms from Line (when tags are allowed) and adds a
    // tag for every character left; Position advances over everything.
    void ExpandHTMLTags(QString &Line);
    // Moves the first TagsCount tags not yet wrapped of the last line to a
    // wrapped line of their own before it; with AddBreak a copy of the last
    // kept tag is added for a hyphen.
    void Wrap(int TagsCount, bool AddBreak);
    // Tag Index of the last line counted from its first tag not yet
    // wrapped; nullptr past its end.
    const TfrxHTMLTag *Unwrapped(int Index) const;
    // Drops the wrapped tags from the last line, which keeps the rest.
    void EndWrap();
    // Skips the characters of a line break in the source.
    void SkipPosition(int Count) { FPosition += Count; }
    int DefSize() const { return FDefSize; }

private:
    void AddTag();
    bool ReadForm(const QString &Line, int At, int &Length);
    bool ReadColor(const QString &Value, TColor &Color) const;

    TColor FDefColor = clBlack, FColor = clBlack;
    int FDefSize = 10, FSize = 10;
    TFontStyles FDefStyle, FStyle;
    int FAddY = 0;
    bool FDontWRAP = false;
    int FPosition = 1;
    TSubStyle FSubStyle = ssNormal;
    int FWrapFrom = 0; // tags of the last line already wrapped
};

// The layout and drawing of one memo text at a time. Calling order: Lock,
// SetFont, SetOptions, SetGaps, SetDimensions, SetText, optionally
// SetParaBreaks, then DrawText, a size query or the split queries, Unlock.
class TfrxDrawText {
public:
    TfrxDrawText();

    // The process-wide instance every memo uses, with its lock.
    static TfrxDrawText &Instance();
    void Lock() { FLock.lock(); }
    void Unlock() { FLock.unlock(); }

    // The layout font: Font's name, style, charset and colour at
    // -Round(Size x 600 / 72) pixels.
    void SetFont(const TFont *Font);
    void SetOptions(bool WordWrap, bool HTMLTags, bool RTLReading, bool WordBreak, bool Clipped, bool Wysiwyg,
                    int Rotation);
    void SetGaps(double ParagraphGap, double CharSpacing, double LineSpacing);
    // ScaleX/ScaleY: device pixels per page unit; OriginalRect: the text
    // rectangle in page units at scale 1; ScaledRect: in device pixels
    // (both as QRect(Left, Top, Right - Left, Bottom - Top)).
    void SetDimensions(double ScaleX, double ScaleY, double PrintScale, const QRect &OriginalRect,
                       const QRect &ScaledRect);
    void SetUseDefaultCharset(bool Value) { FUseDefaultCharset = Value; }
    // Wraps Text's lines to the rectangle's width (its height at 90..179
    // and 270..359 degrees).
    void SetText(const QStringList &Text);
    // The text continues a paragraph from the previous part / into the next.
    void SetParaBreaks(bool FirstParaBreak, bool LastParaBreak);

    // Draws the wrapped lines on Canvas.
    void DrawText(TfrxCanvas *Canvas, TfrxHAlign HAlign, TfrxVAlign VAlign);

    // Sizes in page units.
    double TextHeight() const;
    double LineHeight() const;
    double CalcHeight() const;
    double CalcWidth();
    double UnusedSpace() const;
    // Splitting at the bottom of the rectangle: the text that does not fit
    // (cut off the source text), then the source text that is left.
    QString GetOutBoundsText(bool &ParaBreak);
    QString GetInBoundsText() const { return FPlainText; }
    // Text with the markup removed.
    QString DeleteTags(const QString &Txt);
    // The wrapped lines joined by CR LF.
    QString WrappedText() const;
    // The wrapped lines and their paragraph flags (bit 0 begins, bit 1 ends).
    const QStringList &Lines() const { return FText; }
    const std::vector<int> &LineFlags() const { return FFlags; }
    const std::vector<TfrxHTMLTags> &TagLines() const { return FHTMLTags.Lines; }
    // The layout font's pixel height (negative).
    int LayoutFontHeight() const { return FLayout.Font().Height; }
    int FontSize() const { return FFontSize; }
    // The device font height the last DrawText used.
    int LastDeviceFontHeight() const { return FLastDeviceHeight; }

    static bool IsPrinter(TfrxCanvas *Canvas) { return Canvas && Canvas->IsPrinter(); }

    int DefPPI() const { return 600; }
    int ScrPPI() const { return 96; }

private:
    void WrapTextLine(QString Line, int Width, int CharSpacing, int FirstWidth);
    void AddLine(const QString &Line);
    // The longest start of the word at Line[WordStart..] (1-based) that
    // ends at an allowed hyphenation point before Over; empty when none.
    QString BreakWord(const QString &Line, int WordStart, int Over);
    // Tables BreakWord reads for Line: its upper-case text, word ends and
    // vowel counts (left unbuilt when upper-casing changes its length).
    void BuildHyphenTables(const QString &Line);
    // Widths of Text's characters on Canvas in the tags' styles plus
    // Spacing each; running sums when Cumulative; returns the total.
    int FillCharSpacingArray(std::vector<int> &Arr, const QString &Text, bool Cumulative, int Spacing,
                             const TfrxHTMLTags *Tags, TfrxCanvas *Canvas, bool Device);
    int DeviceFontHeight(TfrxCanvas *Canvas, int Size) const;
    // Gives the canvas font the tag's size, style and colour (once: the tag
    // is marked Default).
    void ApplyTag(TfrxCanvas *Canvas, TfrxHTMLTag &Tag);
    void DrawTextLine(TfrxCanvas *Canvas, const QString &Line, TfrxHAlign Align, int LineIndex, int Width, int Y,
                      int X);

    std::recursive_mutex FLock;
    TfrxCanvas FLayout;
    // Advances and extents of the line measured, grown to the longest line
    // met (FillCharSpacingArray).
    std::vector<int> FTempArray;
    std::vector<int> FLayoutArray;
    std::vector<int> FExtents;
    int FFontSize = 10;
    TfrxHTMLTagsList FHTMLTags;
    double FCharSpacing = 0;
    double FLineSpacing = 0;
    int FOptions = 0;
    QRect FOriginalRect;
    double FParagraphGap = 0;
    QString FPlainText;
    double FPrintScale = 1;
    int FRotation = 0;
    bool FRTLReading = false;
    QRect FScaledRect;
    double FScaleX = 1, FScaleY = 1;
    QStringList FText;
    std::vector<int> FFlags;
    bool FWordBreak = false, FWordWrap = true, FWysiwyg = true, FUseDefaultCharset = false;
    int FLastDeviceHeight = 0;
    TfrxCanvasFont FDeviceBase;
    // Hyphenation tables of the line being wrapped (1-based positions):
    // the first delimiter at or after each position, and the number of
    // vowels up to each position.
    bool FHyphenTables = false;
    QString FUpperLine;
    std::vector<int> FWordEnds;
    std::vector<int> FVowelCounts;
};

// Spreads N increments of One over Arr[A..B], halving the range each time.
void IncArray(int *Arr, int A, int B, int One, int N);
// The hyphenation points of an upper-case Russian word: after which
// characters (1-based) it may be broken.
std::vector<int> BreakRussianWord(const QString &Word);
// Font turned by Rotation degrees (escapement in tenths of a degree).
TfrxCanvasFont CreateRotatedFont(const TfrxCanvasFont &Font, int Rotation);
