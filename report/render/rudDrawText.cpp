#include "report/render/rudDrawText.h"

#include "report/model/rudFont.h"

#include <cmath>

namespace {

const QString russianVowels = QStringLiteral("АЕЁИОУЫЭЮЯ");
const QString russianConsonants = QStringLiteral("БВГДЖЗЙКЛМНПРСТФХЦЧШЩЬЪ");
// Characters that end a word for hyphenation.
const QString wordDelimiters = QStringLiteral(" .,-;");

bool isVowel(QChar c)
{
    return russianVowels.contains(c);
}

bool isConsonant(QChar c)
{
    return russianConsonants.contains(c);
}

struct TNamedColor {
    const char *Name;
    TColor Color;
};

const TNamedColor namedColors[] = {
    {"black", 0x000000},  {"maroon", 0x000080}, {"green", 0x008000}, {"olive", 0x008080},
    {"navy", 0x800000},   {"purple", 0x800080}, {"teal", 0x808000},  {"gray", 0x808080},
    {"silver", 0xC0C0C0}, {"red", 0x0000FF},    {"lime", 0x00FF00},  {"yellow", 0x00FFFF},
    {"blue", 0xFF0000},   {"fuchsia", 0xFF00FF}, {"aqua", 0xFFFF00}, {"white", 0xFFFFFF},
};

} // namespace

void IncArray(int *Arr, int A, int B, int One, int N)
{
    if (N <= 0 || B < A)
        return;
    const int half = std::max(1, (B - A + 1) / 2);
    if (N == 1) {
        Arr[A + half - 1] += One;
        return;
    }
    IncArray(Arr, A, A + half - 1, One, N / 2);
    IncArray(Arr, A + half, B, One, N - N / 2);
}

namespace {

// The hyphenation rule at position s (a break after character s) of an
// upper-case word of n characters, At(k) giving its k-th character (1-based)
// and vowelBefore/vowelAfter telling whether Word[1..s] / Word[s+1..n] hold
// a vowel.
template <typename TAt>
bool hyphenAfter(const TAt &At, int n, int s, bool vowelBefore, bool vowelAfter)
{
    auto at = [&](int k) { return k >= 1 && k <= n ? At(k) : QChar(); };
    bool candidate = false;
    const QChar c = at(s);
    if (isConsonant(c)) {
        const QChar next = at(s + 1);
        candidate = !(isVowel(next) || next == QChar(0x042C) || next == QChar(0x042A));
    } else if (isVowel(c)) {
        candidate = !(at(s + 1) == QChar(0x0419) ||
                      (s < n - 2 && isConsonant(at(s + 1)) && at(s + 1) == at(s + 2) && isVowel(at(s + 3))));
    }
    return candidate && s >= 2 && n - s >= 2 && vowelBefore && vowelAfter;
}

} // namespace

std::vector<int> BreakRussianWord(const QString &Word)
{
    std::vector<int> result;
    const int n = int(Word.size());
    if (n <= 3)
        return result;
    int firstVowel = n + 1, lastVowel = 0;
    for (int k = 1; k <= n; ++k)
        if (isVowel(Word.at(k - 1))) {
            firstVowel = std::min(firstVowel, k);
            lastVowel = k;
        }
    auto at = [&](int k) { return Word.at(k - 1); };
    for (int s = 1; s <= n; ++s)
        if (hyphenAfter(at, n, s, firstVowel <= s, lastVowel > s))
            result.push_back(s);
    return result;
}

TfrxCanvasFont CreateRotatedFont(const TfrxCanvasFont &Font, int Rotation)
{
    TfrxCanvasFont rotated = Font;
    rotated.Escapement = Rotation * 10;
    return rotated;
}

// ---- markup -------------------------------------------------------------

void TfrxHTMLTagsList::SetDefaults(TColor DefColor, int DefSize, TFontStyles DefStyle)
{
    FDefColor = FColor = DefColor;
    FDefSize = FSize = DefSize;
    FDefStyle = FStyle = DefStyle;
    FAddY = 0;
    FDontWRAP = false;
    FPosition = 1;
    FSubStyle = ssNormal;
    FWrapFrom = 0;
    Lines.clear();
}

void TfrxHTMLTagsList::NewLine()
{
    Lines.emplace_back();
    FWrapFrom = 0;
}

void TfrxHTMLTagsList::AddTag()
{
    if (Lines.empty())
        Lines.emplace_back();
    TfrxHTMLTag tag;
    tag.Position = FPosition;
    tag.Size = FSize;
    tag.AddY = FAddY;
    tag.Style = FStyle;
    tag.Color = FColor;
    tag.DontWRAP = FDontWRAP;
    tag.SubType = FSubStyle;
    tag.Small = FSize != FDefSize;
    if (!AllowTags) {
        tag.Default = true;
    } else {
        const TfrxHTMLTag *previous = nullptr;
        TfrxHTMLTags &line = Lines.back();
        if (!line.empty())
            previous = &line.back();
        else
            for (auto it = Lines.rbegin() + 1; it != Lines.rend() && !previous; ++it)
                if (!it->empty())
                    previous = &it->back();
        if (previous)
            tag.Default = previous->Style == tag.Style && previous->Color == tag.Color &&
                          previous->Size == tag.Size && previous->AddY == tag.AddY &&
                          previous->DontWRAP == tag.DontWRAP;
        else
            tag.Default = tag.Style == FDefStyle && tag.Color == FDefColor && tag.Size == FDefSize;
    }
    Lines.back().push_back(tag);
}

bool TfrxHTMLTagsList::ReadColor(const QString &Value, TColor &Color) const
{
    if (Value.size() == 9 && Value.startsWith(QLatin1String("\"#")) && Value.endsWith(QLatin1Char('"'))) {
        bool ok = false;
        const int rgb = Value.mid(2, 6).toInt(&ok, 16);
        if (!ok)
            return false;
        Color = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
        return true;
    }
    for (const TNamedColor &named : namedColors)
        if (Value.compare(QLatin1String(named.Name), Qt::CaseInsensitive) == 0) {
            Color = named.Color;
            return true;
        }
    return false;
}

// Reads the markup form at Line[At] ("<"), applying it; Length is what to remove.
bool TfrxHTMLTagsList::ReadForm(const QString &Line, int At, int &Length)
{
    const int close = int(Line.indexOf(QLatin1Char('>'), At));
    if (close < 0)
        return false;
    const QString form = Line.mid(At, close - At + 1).toLower();
    Length = int(form.size());
    const int defSmall = int(std::nearbyint(FDefSize / 1.5));
    if (form == QLatin1String("<b>")) FStyle |= fsBold;
    else if (form == QLatin1String("<i>")) FStyle |= fsItalic;
    else if (form == QLatin1String("<u>")) FStyle |= fsUnderline;
    else if (form == QLatin1String("</b>")) FStyle &= ~TFontStyles(fsBold);
    else if (form == QLatin1String("</i>")) FStyle &= ~TFontStyles(fsItalic);
    else if (form == QLatin1String("</u>")) FStyle &= ~TFontStyles(fsUnderline);
    else if (form == QLatin1String("<sub>")) { FSize = defSmall; FAddY = 1; FSubStyle = ssSubscript; }
    else if (form == QLatin1String("<sup>")) { FSize = defSmall; FAddY = 0; FSubStyle = ssSuperscript; }
    else if (form == QLatin1String("</sub>") || form == QLatin1String("</sup>")) {
        FSize = FDefSize;
        FAddY = 0;
        FSubStyle = ssNormal;
    }
    else if (form == QLatin1String("<nowrap>")) FDontWRAP = true;
    else if (form == QLatin1String("</nowrap>")) FDontWRAP = false;
    else if (form == QLatin1String("<strike>")) FStyle |= fsStrikeOut;
    else if (form == QLatin1String("</strike>")) FStyle &= ~TFontStyles(fsStrikeOut);
    else if (form == QLatin1String("</font>")) FColor = FDefColor;
    else if (form.startsWith(QLatin1String("<font color="))) {
        TColor color;
        if (!ReadColor(Line.mid(At + 12, close - At - 12), color))
            return false;
        FColor = color;
    } else if (Length == 5 || Length == 6) {
        // Unknown short forms are dropped without effect.
    } else {
        return false;
    }
    return true;
}

void TfrxHTMLTagsList::ExpandHTMLTags(QString &Line)
{
    QString kept;
    kept.reserve(Line.size());
    int i = 0;
    const int n = int(Line.size());
    while (i < n) {
        int length = 0;
        if (AllowTags && Line.at(i) == QLatin1Char('<') && ReadForm(Line, i, length)) {
            FPosition += length;
            i += length;
            continue;
        }
        AddTag();
        kept.append(Line.at(i));
        ++FPosition;
        ++i;
    }
    if (kept.isEmpty()) {
        kept = QStringLiteral(" ");
        AddTag();
    }
    Line = kept;
}

void TfrxHTMLTagsList::Wrap(int TagsCount, bool AddBreak)
{
    // The last line holds the source line's tags; those before FWrapFrom
    // already went to wrapped lines. Each wrap copies only the tags it
    // keeps, so wrapping a line costs its length, not length x lines.
    if (Lines.empty())
        return;
    TfrxHTMLTags &tail = Lines.back();
    const auto from = tail.begin() + FWrapFrom;
    TagsCount = std::clamp(TagsCount, 0, int(tail.end() - from));
    TfrxHTMLTags kept(from, from + TagsCount);
    FWrapFrom += TagsCount;
    if (AddBreak) {
        if (!kept.empty())
            kept.push_back(kept.back());
    } else if (FWrapFrom < int(tail.size()) && !kept.empty() && tail[size_t(FWrapFrom)].Default) {
        const TfrxHTMLTag &last = kept.back();
        TfrxHTMLTag &first = tail[size_t(FWrapFrom)];
        first.Position = last.Position;
        first.Size = last.Size;
        first.AddY = last.AddY;
        first.Style = last.Style;
        first.Color = last.Color;
        first.Default = last.Default;
        first.Small = last.Small;
        first.SubType = last.SubType;
    }
    Lines.insert(Lines.end() - 1, std::move(kept));
}

const TfrxHTMLTag *TfrxHTMLTagsList::Unwrapped(int Index) const
{
    if (Lines.empty() || Index < 0 || FWrapFrom + Index >= int(Lines.back().size()))
        return nullptr;
    return &Lines.back()[size_t(FWrapFrom + Index)];
}

void TfrxHTMLTagsList::EndWrap()
{
    if (Lines.empty() || FWrapFrom == 0)
        return;
    TfrxHTMLTags &tail = Lines.back();
    tail.erase(tail.begin(), tail.begin() + FWrapFrom);
    tail.shrink_to_fit();
    FWrapFrom = 0;
}

// ---- layout -------------------------------------------------------------

TfrxDrawText::TfrxDrawText() = default;

TfrxDrawText &TfrxDrawText::Instance()
{
    static TfrxDrawText instance;
    return instance;
}

void TfrxDrawText::SetFont(const TFont *Font)
{
    FFontSize = Font->Size();
    TfrxCanvasFont f;
    f.Name = Font->Name();
    f.Height = -int(std::nearbyint(FFontSize * 600.0 / 72));
    f.Style = Font->Style();
    f.Charset = Font->Charset();
    f.Color = Font->Color();
    FLayout.SetFont(f);
    FDeviceBase = f;
}

void TfrxDrawText::SetOptions(bool WordWrap, bool HTMLTags, bool RTLReading, bool WordBreak, bool Clipped,
                              bool Wysiwyg, int Rotation)
{
    FWordWrap = WordWrap;
    FHTMLTags.AllowTags = HTMLTags;
    FRTLReading = RTLReading;
    FWordBreak = WordBreak;
    FWysiwyg = Wysiwyg;
    FRotation = ((Rotation % 360) + 360) % 360;
    FOptions = (RTLReading ? TfrxCanvas::etoRtlReading : 0) | (Clipped ? TfrxCanvas::etoClipped : 0);
}

void TfrxDrawText::SetGaps(double ParagraphGap, double CharSpacing, double LineSpacing)
{
    FParagraphGap = ParagraphGap;
    FCharSpacing = CharSpacing;
    FLineSpacing = LineSpacing;
}

void TfrxDrawText::SetDimensions(double ScaleX, double ScaleY, double PrintScale, const QRect &OriginalRect,
                                 const QRect &ScaledRect)
{
    FScaleX = ScaleX;
    FScaleY = ScaleY;
    FPrintScale = PrintScale;
    FOriginalRect = OriginalRect;
    FScaledRect = ScaledRect;
}

void TfrxDrawText::AddLine(const QString &Line)
{
    FText.append(Line);
    FFlags.push_back(0);
}

void TfrxDrawText::SetText(const QStringList &Text)
{
    FText.clear();
    FFlags.clear();
    FPlainText.clear();
    if (Text.isEmpty())
        return;
    const TfrxCanvasFont &font = FLayout.Font();
    const TFontStyles savedStyle = font.Style;
    FHTMLTags.SetDefaults(font.Color, FFontSize, font.Style);
    const bool across = (FRotation >= 90 && FRotation <= 179) || (FRotation >= 270 && FRotation <= 359);
    const int w = across ? FOriginalRect.height() : FOriginalRect.width();
    for (QString line : Text) {
        if (line.isEmpty())
            line = QStringLiteral(" ");
        FPlainText += line + QStringLiteral("\r\n");
        const qsizetype first = FText.size();
        WrapTextLine(line, int(std::nearbyint(w * 6.25)), int(std::nearbyint(FCharSpacing * 6.25)),
                     int(std::nearbyint((w - FParagraphGap) * 6.25)));
        if (FText.size() > first) {
            FFlags[first] |= 1;
            FFlags.back() |= 2;
        }
    }
    FLayout.SetFontStyle(savedStyle);
}

void TfrxDrawText::SetParaBreaks(bool FirstParaBreak, bool LastParaBreak)
{
    if (FFlags.empty())
        return;
    if (FirstParaBreak)
        FFlags.front() &= ~1;
    if (LastParaBreak)
        FFlags.back() &= ~2;
}

int TfrxDrawText::FillCharSpacingArray(std::vector<int> &Arr, const QString &Text, bool Cumulative, int Spacing,
                                       const TfrxHTMLTags *Tags, TfrxCanvas *Canvas, bool Device)
{
    const int n = int(Text.size());
    if (int(Arr.size()) < n + 1)
        Arr.resize(n + 1);
    std::vector<int> &extents = FExtents;
    if (int(extents.size()) < n + 1)
        extents.resize(n + 1);
    const bool withTags = Tags && int(Tags->size()) >= n;
    auto applyTag = [&](const TfrxHTMLTag &tag) {
        Canvas->SetFontStyle(tag.Style);
        if (Device)
            Canvas->SetFontColor(tag.Color);
    };
    if (withTags && n > 0 && !(*Tags)[0].Default)
        applyTag((*Tags)[0]);
    // Advances are per character, so each run of one style is measured on
    // its own: a text with many style changes costs its length once.
    int total = 0;
    for (int from = 0; from < n;) {
        int to = from + 1;
        while (to < n && !(withTags && !(*Tags)[to].Default))
            ++to;
        Canvas->GetTextExtents(Text.mid(from, to - from), extents.data());
        for (int i = from; i < to; ++i) {
            int width = extents[i - from] - (i > from ? extents[i - from - 1] : 0) + Spacing;
            if (withTags && (*Tags)[i].Small)
                width = int(std::nearbyint(width / 1.5));
            Arr[i] = width;
            total += width;
        }
        if (to < n)
            applyTag((*Tags)[to]);
        from = to;
    }
    if (Cumulative)
        for (int i = 1; i < n; ++i)
            Arr[i] += Arr[i - 1];
    return total;
}

void TfrxDrawText::BuildHyphenTables(const QString &Line)
{
    FHyphenTables = false;
    FUpperLine = Line.toUpper();
    const int n = int(Line.size());
    // Positions in the upper-case text must be those of the line.
    if (FUpperLine.size() != n)
        return;
    FWordEnds.assign(size_t(n) + 2, n + 1);
    for (int p = n; p >= 1; --p)
        FWordEnds[size_t(p)] = wordDelimiters.contains(Line.at(p - 1)) ? p : FWordEnds[size_t(p) + 1];
    FVowelCounts.assign(size_t(n) + 1, 0);
    for (int p = 1; p <= n; ++p)
        FVowelCounts[size_t(p)] = FVowelCounts[size_t(p) - 1] + (isVowel(FUpperLine.at(p - 1)) ? 1 : 0);
    FHyphenTables = true;
}

QString TfrxDrawText::BreakWord(const QString &Line, int WordStart, int Over)
{
    // 1-based positions, as the wrapping scan counts. The word runs from
    // WordStart to the first delimiter at or after Over.
    if (!FHyphenTables) {
        int end = Over;
        while (end <= Line.size() && !wordDelimiters.contains(Line.at(end - 1)))
            ++end;
        const QString word = Line.mid(WordStart - 1, end - WordStart);
        const int fit = Over - WordStart;
        const std::vector<int> positions = BreakRussianWord(word.toUpper());
        for (auto it = positions.rbegin(); it != positions.rend(); ++it)
            if (*it < fit)
                return word.left(*it);
        return QString();
    }
    // The same rule read from the line's tables: only the positions before
    // Over are looked at, so a long word costs what fits of it, not its length.
    const int end = FWordEnds[size_t(Over)];
    const int n = end - WordStart;
    if (n <= 3)
        return QString();
    const int fit = Over - WordStart;
    auto at = [&](int k) { return FUpperLine.at(WordStart + k - 2); };
    const int vowelsBefore = FVowelCounts[size_t(WordStart) - 1];
    const int vowelsThrough = FVowelCounts[size_t(end) - 1];
    for (int s = std::min(fit - 1, n); s >= 1; --s) {
        const int vowelsToS = FVowelCounts[size_t(WordStart + s) - 1];
        if (hyphenAfter(at, n, s, vowelsToS > vowelsBefore, vowelsThrough > vowelsToS))
            return Line.mid(WordStart - 1, s);
    }
    return QString();
}

void TfrxDrawText::WrapTextLine(QString Line, int Width, int CharSpacing, int FirstWidth)
{
    FHTMLTags.NewLine();
    FHTMLTags.ExpandHTMLTags(Line);
    FHTMLTags.SkipPosition(2);
    const TfrxHTMLTags &tags = FHTMLTags.Lines.back();
    const int n = int(Line.size());
    if (n <= 1 || !FWordWrap) {
        if (!tags.empty() && !tags.front().Default)
            FLayout.SetFontStyle(tags.front().Style);
        AddLine(Line);
        return;
    }
    std::vector<int> &cum = FLayoutArray;
    const int total = FillCharSpacingArray(cum, Line, true, CharSpacing, &FHTMLTags.Lines.back(), &FLayout, false);
    if (total < FirstWidth) {
        AddLine(Line);
        return;
    }
    if (FWordBreak)
        BuildHyphenTables(Line);
    auto at = [&](int i) { return Line.at(i - 1); };
    auto cumAt = [&](int i) { return i >= 1 ? cum[i - 1] : 0; };
    int start = 1, brk = 1, base = 0, limit = FirstWidth;
    int i = 1;
    while (i <= n) {
        if (at(i) == QLatin1Char(' ')) {
            const TfrxHTMLTag *tag = FHTMLTags.Unwrapped(i - start);
            const bool dontWrap = FHTMLTags.AllowTags && tag && tag->DontWRAP;
            if (!dontWrap)
                brk = i;
        }
        if (cumAt(i) - base > limit) {
            if (start == brk) {
                if (i == start) {
                    AddLine(Line.mid(start - 1, 1));
                    FHTMLTags.Wrap(1, false);
                    brk = start;
                } else {
                    const QString part = FWordBreak ? BreakWord(Line, start, i) : QString();
                    if (!part.isEmpty()) {
                        AddLine(part + QLatin1Char('-'));
                        FHTMLTags.Wrap(int(part.size()), true);
                        brk = start + int(part.size()) - 1;
                    } else {
                        AddLine(Line.mid(start - 1, i - start));
                        FHTMLTags.Wrap(i - start, false);
                        brk = i - 1;
                    }
                }
            } else {
                const QString part = FWordBreak ? BreakWord(Line, brk + 1, i) : QString();
                FHTMLTags.Wrap(brk - start + 1 + int(part.size()), !part.isEmpty());
                if (!part.isEmpty()) {
                    AddLine(Line.mid(start - 1, brk - start + 1) + part + QLatin1Char('-'));
                    brk += int(part.size());
                } else {
                    AddLine(Line.mid(start - 1, brk - start));
                }
            }
            base = cumAt(brk);
            start = brk + 1;
            i = start;
            brk = start;
            limit = Width;
            continue;
        }
        ++i;
    }
    if (start <= n)
        AddLine(Line.mid(start - 1));
    FHTMLTags.EndWrap();
}

QString TfrxDrawText::WrappedText() const
{
    return FText.join(QStringLiteral("\r\n"));
}

QString TfrxDrawText::DeleteTags(const QString &Txt)
{
    TfrxHTMLTagsList list;
    list.AllowTags = true;
    list.SetDefaults(clBlack, 10, {});
    QString copy = Txt;
    list.ExpandHTMLTags(copy);
    return Txt.isEmpty() ? QString() : copy;
}

// ---- sizes --------------------------------------------------------------

double TfrxDrawText::TextHeight() const
{
    return -FLayout.Font().Height / 6.25;
}

double TfrxDrawText::LineHeight() const
{
    return TextHeight() + FLineSpacing;
}

double TfrxDrawText::CalcHeight() const
{
    if (FText.isEmpty())
        return 0;
    double h = LineHeight() * FText.size();
    if (FLineSpacing < 0)
        h -= FLineSpacing;
    return h;
}

double TfrxDrawText::CalcWidth()
{
    if (FText.isEmpty())
        return 0;
    const TFontStyles saved = FLayout.Font().Style;
    int widest = 0;
    for (qsizetype i = 0; i < FText.size(); ++i) {
        const QString &line = FText.at(i);
        int width;
        if (FHTMLTags.AllowTags && i < qsizetype(FHTMLTags.Lines.size()))
            width = FillCharSpacingArray(FTempArray, line, false, 0, &FHTMLTags.Lines[i], &FLayout, false);
        else
            width = FLayout.TextWidth(line);
        width += int(std::nearbyint(line.size() * FCharSpacing * 6.25));
        if (FFlags[i] & 1)
            width += int(std::nearbyint(FParagraphGap * 6.25));
        widest = std::max(widest, width);
    }
    FLayout.SetFontStyle(saved);
    return widest / 6.25;
}

double TfrxDrawText::UnusedSpace() const
{
    const double lineHeight = LineHeight();
    if (lineHeight <= 0)
        return 0;
    const double height = FOriginalRect.height();
    // Only lines that exist use space: the rest is left below the last one.
    const int fit = std::min<int>(int(std::trunc((height + 1) / lineHeight)), int(FText.size()));
    if (fit == 0)
        return 0;
    const double rest = height + 1 - lineHeight * fit;
    return rest == 0 ? 0.0001 : rest;
}

QString TfrxDrawText::GetOutBoundsText(bool &ParaBreak)
{
    ParaBreak = false;
    const double lineHeight = LineHeight();
    const double height = FOriginalRect.height();
    int fit = lineHeight > 0 ? int(std::trunc((height + 1) / lineHeight)) : int(FText.size());
    fit = std::clamp(fit, 0, int(FText.size()));
    if (fit >= int(FHTMLTags.Lines.size()))
        return QString();
    const TfrxHTMLTags &firstOut = FHTMLTags.Lines[fit];
    if (firstOut.empty())
        return QString();
    ParaBreak = fit > 0 && !(FFlags[fit - 1] & 2);
    while (FText.size() > fit) {
        FText.removeLast();
        FFlags.pop_back();
    }
    const int from = firstOut.front().Position - 1;
    QString out = FPlainText.mid(from);
    FPlainText.truncate(from);
    if (ParaBreak && out.startsWith(QLatin1Char(' ')))
        out.remove(0, 1);
    if (FWordBreak) {
        const QString wrapped = WrappedText().trimmed();
        if (wrapped.endsWith(QLatin1Char('-')))
            FPlainText += QLatin1Char('-');
    }
    if (FHTMLTags.AllowTags) {
        const TfrxHTMLTag &tag = firstOut.front();
        if (tag.Style & fsBold)
            out.prepend(QStringLiteral("<b>"));
        if (tag.Style & fsItalic)
            out.prepend(QStringLiteral("<i>"));
        if (tag.Style & fsUnderline)
            out.prepend(QStringLiteral("<u>"));
        const int rgb = ((tag.Color & 0xFF) << 16) | (tag.Color & 0xFF00) | ((tag.Color >> 16) & 0xFF);
        out.prepend(QStringLiteral("<font color=\"#") + QString::number(rgb, 16).rightJustified(6, QLatin1Char('0')).toUpper() +
                    QStringLiteral("\">"));
    }
    return out;
}
