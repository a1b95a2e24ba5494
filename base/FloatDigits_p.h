#pragma once
// The decimal digits every float text of the runtime is made from. A value
// is first written with 21 significant digits (the precision of the 80-bit
// float the classic runtime computes in, correctly rounded), and those
// digits are then rounded to what a format asks for, halves away from zero.
// Rounding the written digits rather than the binary value is what makes
// 2.25 show as 2.3 with one decimal, and 1.005 as 1.00 with two.

#include <string>

struct TDigits {
    enum TSpecial { Finite, NaN, PosInf, NegInf };
    static constexpr int MaxDigits = 21;
    TSpecial Special = Finite;
    bool Negative = false;   // the sign bit (also of a zero)
    int Count = 0;           // digits held; 0 for a zero
    int Exponent = 0;        // value = 0.D1D2... * 10^Exponent
    unsigned char Digits[MaxDigits + 2] = {}; // digit values 0..9
};

// The 21 significant digits of a value; trailing zeros dropped except those
// of an integer's integer part.
TDigits extendedDigits(double value);

// Keeps `keep` digits (0 <= keep < Count), halves away from zero; a kept
// 4 followed only by nines up to a next-to-last digit of 8 or 9 rounds up,
// as the runtime does to hide the last-digit noise of its conversion.
void roundDigits(TDigits &digits, int keep);

// "Nan", "+Inf", "-Inf".
const char *specialText(TDigits::TSpecial special);

// Scientific text of `significant` (>= 2) digits: "-1.2300E+0004", a
// leading space instead of a plus sign, point as the decimal separator.
std::string scientificText(double value, int significant);
// Fixed text with `decimals` digits after the point: "-12.50", "0.00";
// scientific with two digits when longer than 255 characters.
std::string fixedText(double value, int decimals);

// The classic decimal record of FormatFloat: up to 18 digits (as characters)
// rounded half up from the 17-digit scientific text, to `precision`
// significant digits and `decimals` decimals. A value that rounds to nothing
// has exponent 0 and keeps its sign; a true zero has neither.
struct TFloatRec {
    int Exponent = 0;
    bool Negative = false;
    TDigits::TSpecial Special = TDigits::Finite;
    char Digits[20] = {};    // NUL-terminated
};
TFloatRec floatToDecimal(double value, int precision, int decimals);
