#pragma once
// Units, colours and cursor numbers of the report objects. Positions and
// sizes are pixels at 96 per inch; millimetres convert with the fixed
// fr01cm, not with 96/25.4, so that stored templates keep their numbers.

using TColor = int;

inline constexpr double fr01cm = 3.77953;    // pixels per millimetre
inline constexpr double fr1cm = 37.7953;     // pixels per centimetre
inline constexpr double fr01in = 9.6;        // pixels per tenth of an inch
inline constexpr int fr1in = 96;             // pixels per inch
inline constexpr double fr1CharX = 9.6;      // width of a character cell
inline constexpr int fr1CharY = 17;          // height of a character cell

inline constexpr TColor clTransparent = 0x1FFFFFFF; // nothing is painted
inline constexpr TColor clBlack = 0;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clRed = 0x0000FF;
// System colours are negative: the high byte marks them, the low byte is the index.
inline constexpr TColor clWindowText = int(0xFF000008);

inline constexpr int crHand = 150;
inline constexpr int crZoom = 151;
inline constexpr int crFormat = 152;
