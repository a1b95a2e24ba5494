// Names of the papers of the table, and matching a device's sheet to them.

#include "report/render/rudPrinter.h"

#include "report/model/rudPage.h"

#include <cmath>

namespace {

struct TPaperName {
    int Number;
    const char *Name;
};

// The table holds sizes only; these are the names the virtual printer shows.
const TPaperName paperNames[] = {
    {1, "Letter"}, {2, "Letter Small"}, {3, "Tabloid"}, {4, "Ledger"}, {5, "Legal"}, {6, "Statement"},
    {7, "Executive"}, {8, "A3"}, {9, "A4"}, {10, "A4 Small"}, {11, "A5"}, {12, "B4 (JIS)"}, {13, "B5 (JIS)"},
    {14, "Folio"}, {15, "Quarto"}, {16, "10x14"}, {17, "11x17"}, {18, "Note"}, {19, "Envelope #9"},
    {20, "Envelope #10"}, {21, "Envelope #11"}, {22, "Envelope #12"}, {23, "Envelope #14"},
    {24, "C size sheet"}, {25, "D size sheet"}, {26, "E size sheet"}, {27, "Envelope DL"},
    {28, "Envelope C5"}, {29, "Envelope C3"}, {30, "Envelope C4"}, {31, "Envelope C6"},
    {32, "Envelope C65"}, {33, "Envelope B4"}, {34, "Envelope B5"}, {35, "Envelope B6"},
    {36, "Envelope Italy"}, {37, "Envelope Monarch"}, {38, "6 3/4 Envelope"}, {39, "US Std Fanfold"},
    {40, "German Std Fanfold"}, {41, "German Legal Fanfold"}, {42, "B4 (ISO)"}, {43, "Japanese Postcard"},
    {44, "9x11"}, {45, "10x11"}, {46, "15x11"}, {47, "Envelope Invite"}, {50, "Letter Extra"},
    {51, "Legal Extra"}, {52, "Tabloid Extra"}, {53, "A4 Extra"}, {54, "Letter Transverse"},
    {55, "A4 Transverse"}, {56, "Letter Extra Transverse"}, {57, "Super A"}, {58, "Super B"},
    {59, "Letter Plus"}, {60, "A4 Plus"}, {61, "A5 Transverse"}, {62, "B5 (JIS) Transverse"},
    {63, "A3 Extra"}, {64, "A5 Extra"}, {65, "B5 (ISO) Extra"}, {66, "A2"}, {67, "A3 Transverse"},
    {68, "A3 Extra Transverse"},
};

} // namespace

QString rudPaperName(int APaper)
{
    for (const TPaperName &p : paperNames)
        if (p.Number == APaper)
            return QString::fromLatin1(p.Name);
    return QString();
}

int rudPaperNumberBySize(double AWidth, double AHeight)
{
    // Devices describe sheets in points or inches, so a size seldom matches
    // the table's tenths of a millimetre exactly; the closest entry within
    // 1 mm on both sides wins, the lower number on a tie.
    const double w = std::min(AWidth, AHeight), h = std::max(AWidth, AHeight);
    int best = 0;
    double bestError = 2.0;
    for (const TPaperName &p : paperNames) {
        int tw = 0, th = 0;
        if (!rudPaperSize(p.Number, tw, th))
            continue;
        const double pw = std::min(tw, th) / 10.0, ph = std::max(tw, th) / 10.0;
        const double dw = std::fabs(pw - w), dh = std::fabs(ph - h);
        if (dw <= 1.0 && dh <= 1.0 && dw + dh < bestError) {
            best = p.Number;
            bestError = dw + dh;
        }
    }
    return best;
}
