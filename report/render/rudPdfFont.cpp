#include "report/render/rudPdfFont.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

quint16 u16(const QByteArray &Data, qsizetype At)
{
    if (At < 0 || At + 2 > Data.size())
        return 0;
    return quint16((uchar(Data[At]) << 8) | uchar(Data[At + 1]));
}

qint16 s16(const QByteArray &Data, qsizetype At)
{
    return qint16(u16(Data, At));
}

quint32 u32(const QByteArray &Data, qsizetype At)
{
    return (quint32(u16(Data, At)) << 16) | u16(Data, At + 2);
}

void put16(QByteArray &Data, qsizetype At, quint16 Value)
{
    Data[At] = char(Value >> 8);
    Data[At + 1] = char(Value);
}

void put32(QByteArray &Data, qsizetype At, quint32 Value)
{
    put16(Data, At, quint16(Value >> 16));
    put16(Data, At + 2, quint16(Value));
}

void append16(QByteArray &Out, quint16 Value)
{
    Out += char(Value >> 8);
    Out += char(Value);
}

void append32(QByteArray &Out, quint32 Value)
{
    append16(Out, quint16(Value >> 16));
    append16(Out, quint16(Value));
}

quint32 checksum(const QByteArray &Data)
{
    quint32 sum = 0;
    for (qsizetype at = 0; at < Data.size(); at += 4) {
        quint32 word = 0;
        for (int k = 0; k < 4; ++k)
            word = (word << 8) | (at + k < Data.size() ? uchar(Data[at + k]) : 0);
        sum += word;
    }
    return sum;
}

void appendHex4(QByteArray &Out, unsigned Value)
{
    static const char digits[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4)
        Out += digits[(Value >> shift) & 0xF];
}

// Calls Part(offset) for each part of the composite glyph at Data[Start,
// End); returns the offset just past the last part, or -1 when the parts
// run past End.
template <class F> qsizetype forEachPart(const QByteArray &Data, qsizetype Start, qsizetype End, F Part)
{
    qsizetype at = Start + 10;
    for (;;) {
        if (at + 4 > End)
            return -1;
        const quint16 flags = u16(Data, at);
        Part(at);
        at += 4 + ((flags & 0x1) ? 4 : 2);
        if (flags & 0x8)
            at += 2;
        else if (flags & 0x40)
            at += 4;
        else if (flags & 0x80)
            at += 8;
        if (!(flags & 0x20))
            return at;
    }
}

// A glyph's outline without its hinting instructions: PDF readers scale
// outlines themselves, and the instructions are much of a subset's size.
QByteArray withoutInstructions(QByteArray Glyph)
{
    if (Glyph.size() < 10)
        return Glyph;
    const qint16 contours = s16(Glyph, 0);
    if (contours >= 0) {
        const qsizetype lengthAt = 10 + 2 * qsizetype(contours);
        if (lengthAt + 2 > Glyph.size())
            return Glyph;
        const qsizetype length = u16(Glyph, lengthAt);
        if (lengthAt + 2 + length > Glyph.size())
            return Glyph;
        Glyph.remove(lengthAt + 2, length);
        put16(Glyph, lengthAt, 0);
        return Glyph;
    }
    // Composite: the instructions follow the last part, flagged on each.
    const QByteArray source = Glyph;
    const qsizetype end = forEachPart(source, 0, source.size(),
                                      [&Glyph](qsizetype At) { put16(Glyph, At, u16(Glyph, At) & ~0x100); });
    if (end < 0)
        return source;
    Glyph.truncate(end);
    return Glyph;
}

} // namespace

TfrxPdfFont::TfrxPdfFont(const QRawFont &Font) : FFont(Font)
{
    const QByteArray head = Table("head");
    const QByteArray maxp = Table("maxp");
    // TrueType outlines come as a glyph table and its index; the index
    // alone tells, so the glyph table is read only when the subset is made.
    FLoca = Table("loca");
    const bool glyf = !FLoca.isEmpty();
    FHmtx = Table("hmtx");
    const QByteArray hhea = Table("hhea");
    const int glyphs = u16(maxp, 4);
    FLongLoca = s16(head, 50) == 1;
    if (!glyf)
        FCff = Table("CFF ");
    FEmbeddable = head.size() >= 54 && hhea.size() >= 36 && glyphs > 0 &&
                  (!FCff.isEmpty() || (glyf && FLoca.size() >= (glyphs + 1) * (FLongLoca ? 4 : 2)));
    FUnitsPerEm = std::max<int>(16, u16(head, 18));
    FHMetrics = std::clamp<int>(u16(hhea, 34), 1, std::max(1, int(FHmtx.size() / 4)));
    FUsed.assign(std::max(glyphs, 1), false);
    FText.assign(FUsed.size(), 0);
    auto scaled = [this](int Units) { return int(std::lround(Units * 1000.0 / FUnitsPerEm)); };
    FAscent = scaled(s16(hhea, 4));
    FDescent = scaled(s16(hhea, 6));
    for (int k = 0; k < 4; ++k)
        FBox[k] = scaled(s16(head, 36 + 2 * k));
    const QByteArray os2 = Table("OS/2");
    FCapHeight = u16(os2, 0) >= 2 && os2.size() >= 90 ? scaled(s16(os2, 88)) : FAscent;
    const QByteArray post = Table("post");
    FItalicAngle = post.size() >= 8 ? qint32(u32(post, 4)) / 65536.0 : 0;
    const quint16 macStyle = u16(head, 44);
    const quint16 selection = u16(os2, 62);
    // The font system makes a face bold or italic itself unless its style
    // bits say it is (those of OS/2 where the face has that table), and
    // never makes a fixed-pitch face bold: the same rules here.
    FBold = os2.size() >= 64 ? (selection & 0x20) : (macStyle & 1);
    FItalic = os2.size() >= 64 ? (selection & 0x201) : (macStyle & 2);
    FFixedPitch = u32(post, 12) != 0;
    QString name = Font.familyName();
    const QString style = Font.styleName();
    if (!style.isEmpty() && style != QLatin1String("Regular") && style != QLatin1String("Book"))
        name += QLatin1Char('-') + style;
    for (const QChar ch : name)
        if (ch.isLetterOrNumber() && ch.unicode() < 128)
            FName += ch;
        else if (ch == QLatin1Char('-'))
            FName += ch;
    if (FName.isEmpty())
        FName = QStringLiteral("Font");
}

QByteArray TfrxPdfFont::Table(const char *Tag) const
{
    return FFont.fontTable(Tag);
}

int TfrxPdfFont::Width(quint32 Glyph) const
{
    const int index = int(std::min<quint32>(Glyph, quint32(FHMetrics - 1)));
    return int(std::lround(u16(FHmtx, index * 4) * 1000.0 / FUnitsPerEm));
}

std::vector<bool> TfrxPdfFont::UsedWithComponents(const QByteArray &Glyf) const
{
    std::vector<bool> used = FUsed;
    used[0] = true; // the missing-glyph shape
    const qsizetype count = qsizetype(used.size());
    auto offset = [this](qsizetype Glyph) {
        return FLongLoca ? qsizetype(u32(FLoca, Glyph * 4)) : qsizetype(u16(FLoca, Glyph * 2)) * 2;
    };
    // Components may be composite themselves: follow them to the end.
    std::vector<qsizetype> pending;
    for (qsizetype g = 0; g < count; ++g)
        if (used[size_t(g)])
            pending.push_back(g);
    while (!pending.empty()) {
        const qsizetype g = pending.back();
        pending.pop_back();
        const qsizetype start = offset(g), end = offset(g + 1);
        if (end - start < 10 || end > Glyf.size() || s16(Glyf, start) >= 0)
            continue;
        forEachPart(Glyf, start, end, [&](qsizetype At) {
            const quint16 component = u16(Glyf, At + 2);
            if (component < count && !used[component]) {
                used[component] = true;
                pending.push_back(component);
            }
        });
    }
    return used;
}

QByteArray TfrxPdfFont::SubsetFile() const
{
    if (IsCff())
        return FCff;
    const QByteArray source = Table("glyf");
    const std::vector<bool> used = UsedWithComponents(source);
    const qsizetype count = qsizetype(used.size());
    auto offset = [this](qsizetype Glyph) {
        return FLongLoca ? qsizetype(u32(FLoca, Glyph * 4)) : qsizetype(u16(FLoca, Glyph * 2)) * 2;
    };
    // Glyph numbers stay as they are: unused glyphs become empty, and their
    // metrics zero, which compresses to almost nothing.
    QByteArray glyf, loca;
    loca.reserve((count + 1) * 4);
    for (qsizetype g = 0; g < count; ++g) {
        append32(loca, quint32(glyf.size()));
        if (!used[size_t(g)])
            continue;
        const qsizetype start = offset(g), end = std::min(offset(g + 1), source.size());
        if (end > start) {
            glyf += withoutInstructions(source.mid(start, end - start));
            while (glyf.size() % 4)
                glyf += '\0';
        }
    }
    append32(loca, quint32(glyf.size()));
    QByteArray hmtx = FHmtx;
    for (qsizetype g = 0; g < count; ++g) {
        if (used[size_t(g)])
            continue;
        const qsizetype at = g < FHMetrics ? g * 4 : FHMetrics * 4 + (g - FHMetrics) * 2;
        const qsizetype width = g < FHMetrics ? 4 : 2;
        if (at + width <= hmtx.size())
            hmtx.replace(at, width, QByteArray(width, '\0'));
    }
    QByteArray head = Table("head");
    put32(head, 8, 0);
    put16(head, 50, 1);
    std::map<QByteArray, QByteArray> tables{{"head", head},      {"hhea", Table("hhea")}, {"maxp", Table("maxp")},
                                            {"hmtx", hmtx},      {"loca", loca},          {"glyf", glyf}};
    const int n = int(tables.size());
    int power = 1, log = 0;
    while (power * 2 <= n) {
        power *= 2;
        ++log;
    }
    QByteArray out;
    append32(out, 0x00010000);
    append16(out, quint16(n));
    append16(out, quint16(power * 16));
    append16(out, quint16(log));
    append16(out, quint16(n * 16 - power * 16));
    qsizetype at = 12 + 16 * n;
    qsizetype headAt = 0;
    for (const auto &[tag, data] : tables) {
        out += tag;
        append32(out, checksum(data));
        append32(out, quint32(at));
        append32(out, quint32(data.size()));
        if (tag == "head")
            headAt = at;
        at += (data.size() + 3) / 4 * 4;
    }
    for (const auto &[tag, data] : tables) {
        out += data;
        while (out.size() % 4)
            out += '\0';
    }
    put32(out, headAt + 8, 0xB1B0AFBAu - checksum(out));
    return out;
}

QByteArray TfrxPdfFont::SubsetTag() const
{
    QCryptographicHash hash(QCryptographicHash::Md5);
    hash.addData(FName.toUtf8());
    for (size_t g = 0; g < FUsed.size(); ++g)
        if (FUsed[g])
            hash.addData(QByteArrayView(reinterpret_cast<const char *>(&g), sizeof g));
    const QByteArray digest = hash.result();
    QByteArray tag;
    for (int k = 0; k < 6; ++k)
        tag += char('A' + uchar(digest[k]) % 26);
    return tag;
}

QByteArray TfrxPdfFont::WidthsArray() const
{
    QByteArray out = "[";
    size_t g = 0;
    while (g < FUsed.size()) {
        if (!FUsed[g]) {
            ++g;
            continue;
        }
        out += QByteArray::number(qulonglong(g)) + " [";
        for (bool first = true; g < FUsed.size() && FUsed[g]; ++g, first = false) {
            if (!first)
                out += ' ';
            out += QByteArray::number(Width(quint32(g)));
        }
        out += "]\n";
    }
    out += ']';
    return out;
}

QByteArray TfrxPdfFont::ToUnicodeCMap() const
{
    std::vector<std::pair<quint32, char32_t>> pairs;
    for (size_t g = 0; g < FText.size(); ++g)
        if (FUsed[g] && FText[g])
            pairs.emplace_back(quint32(g), FText[g]);
    QByteArray out = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                     "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    for (size_t at = 0; at < pairs.size(); at += 100) {
        const size_t end = std::min(pairs.size(), at + 100);
        out += QByteArray::number(qulonglong(end - at)) + " beginbfchar\n";
        for (size_t k = at; k < end; ++k) {
            out += '<';
            appendHex4(out, pairs[k].first);
            out += "> <";
            const char32_t ch = pairs[k].second;
            if (ch > 0xFFFF) {
                appendHex4(out, 0xD800 + ((ch - 0x10000) >> 10));
                appendHex4(out, 0xDC00 + ((ch - 0x10000) & 0x3FF));
            } else {
                appendHex4(out, ch);
            }
            out += ">\n";
        }
        out += "endbfchar\n";
    }
    out += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return out;
}

QByteArray TfrxPdfFont::DescriptorEntries() const
{
    QByteArray out = "/Flags " + QByteArray::number(FItalic ? 4 + 64 : 4);
    out += " /FontBBox [" + QByteArray::number(FBox[0]) + ' ' + QByteArray::number(FBox[1]) + ' ' +
           QByteArray::number(FBox[2]) + ' ' + QByteArray::number(FBox[3]) + ']';
    out += " /ItalicAngle " + QByteArray::number(FItalicAngle, 'f', 2);
    out += " /Ascent " + QByteArray::number(FAscent) + " /Descent " + QByteArray::number(FDescent);
    out += " /CapHeight " + QByteArray::number(FCapHeight) + " /StemV 80";
    return out;
}
