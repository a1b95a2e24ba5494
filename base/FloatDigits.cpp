#include "base/FloatDigits_p.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

TDigits extendedDigits(double value)
{
    TDigits d;
    if (std::isnan(value)) {
        d.Special = TDigits::NaN;
        return d;
    }
    d.Negative = std::signbit(value);
    if (std::isinf(value)) {
        d.Special = d.Negative ? TDigits::NegInf : TDigits::PosInf;
        return d;
    }
    const double a = std::fabs(value);
    if (a == 0) {
        d.Exponent = 1;
        return d;
    }
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific,
                                   TDigits::MaxDigits - 1).ptr;
    int n = 0;
    const char *p = buf;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.')
            d.Digits[n++] = static_cast<unsigned char>(*p - '0');
    int x = 0;
    std::from_chars(p + 1 + (p[1] == '+'), end, x);
    d.Exponent = x + 1;
    // An integer keeps the zeros of its integer part, as the converter
    // writes them; a fraction ends at its last significant digit.
    const int keep = (x < TDigits::MaxDigits && std::floor(a) == a) ? x + 1 : 1;
    while (n > keep && d.Digits[n - 1] == 0)
        --n;
    d.Count = n;
    return d;
}

void roundDigits(TDigits &d, int keep)
{
    const int n = d.Count;
    int round = d.Digits[keep];
    if (round == 4 && keep < n - 3 && d.Digits[n - 2] >= 8) {
        int i = n - 2;
        do
            --i;
        while (i != keep && d.Digits[i] == 9);
        if (i == keep)
            round = 9;
    }
    d.Count = keep;
    if (round < 5)
        return;
    for (int i = keep - 1; i >= 0; --i) {
        if (++d.Digits[i] < 10) {
            d.Count = i + 1;
            return;
        }
    }
    d.Digits[0] = 1;
    d.Count = 1;
    ++d.Exponent;
}

const char *specialText(TDigits::TSpecial special)
{
    switch (special) {
    case TDigits::NaN: return "Nan";
    case TDigits::PosInf: return "+Inf";
    case TDigits::NegInf: return "-Inf";
    case TDigits::Finite: break;
    }
    return "";
}

namespace {

void appendScientific(std::string &out, TDigits d, int significant)
{
    if (d.Count > significant)
        roundDigits(d, significant);
    out += d.Negative ? '-' : ' ';
    out += char('0' + (d.Count > 0 ? d.Digits[0] : 0));
    if (significant > 1)
        out += '.';
    for (int j = 1; j < significant; ++j)
        out += char('0' + (j < d.Count ? d.Digits[j] : 0));
    out += 'E';
    const int exponent = d.Count > 0 ? d.Exponent - 1 : 0;
    out += exponent < 0 ? '-' : '+';
    char buf[16];
    const auto end = std::to_chars(buf, buf + sizeof buf, std::abs(exponent)).ptr;
    for (long k = end - buf; k < 4; ++k)
        out += '0';
    out.append(buf, end);
}

} // namespace

std::string scientificText(double value, int significant)
{
    const TDigits d = extendedDigits(value);
    if (d.Special != TDigits::Finite)
        return specialText(d.Special);
    std::string out;
    appendScientific(out, d, std::clamp(significant, 2, int(TDigits::MaxDigits)));
    return out;
}

std::string fixedText(double value, int decimals)
{
    const TDigits original = extendedDigits(value);
    if (original.Special != TDigits::Finite)
        return specialText(original.Special);
    TDigits d = original;
    const int cut = d.Exponent + decimals;
    if (cut < 0)
        d.Count = 0;
    else if (cut < d.Count)
        roundDigits(d, cut);

    int before, beforePad;
    if (d.Exponent <= 0 || d.Count == 0) {
        before = 0;
        beforePad = 1;
    } else if (d.Exponent > d.Count) {
        before = d.Count;
        beforePad = d.Exponent - d.Count;
    } else {
        before = d.Exponent;
        beforePad = 0;
    }
    const int afterPad = std::min(d.Exponent < 0 ? -d.Exponent : 0, decimals);
    const int after = d.Count - before;
    const int tailPad = decimals - after - afterPad;
    const int length = int(d.Negative) + before + beforePad
                       + (decimals > 0 ? afterPad + after + tailPad + 1 : 0);
    std::string out;
    if (length > 255) {
        appendScientific(out, original, 2);
        return out;
    }
    out.reserve(length);
    if (d.Negative)
        out += '-';
    int j = 0;
    for (; j < before; ++j)
        out += char('0' + d.Digits[j]);
    out.append(beforePad, '0');
    if (decimals != 0) {
        out += '.';
        out.append(afterPad, '0');
        for (int k = 0; k < after; ++k, ++j)
            out += char('0' + d.Digits[j]);
        out.append(std::max(tailPad, 0), '0');
    }
    return out;
}

TFloatRec floatToDecimal(double value, int precision, int decimals)
{
    TFloatRec rec;
    const TDigits d = extendedDigits(value);
    if (d.Special != TDigits::Finite) {
        rec.Special = d.Special;
        rec.Negative = d.Special == TDigits::NegInf;
        return rec;
    }
    // The 17-digit scientific text the record is read from.
    constexpr int L = sizeof rec.Digits - 1; // 19 digit places
    const std::string text = scientificText(value, 17);
    rec.Negative = text[0] == '-';
    char *digits = rec.Digits;
    std::memset(digits, '0', L);
    digits[L] = 0;
    digits[0] = text[1];
    const bool nonZero = text[1] != '0';
    const size_t e = text.find('E');
    for (size_t i = 3; i < e; ++i)
        digits[i - 2] = text[i];
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent);
    rec.Exponent = 1 + exponent;

    long long n = (long long)decimals + rec.Exponent < precision ? (long long)decimals + rec.Exponent
                                                                 : precision;
    if (n >= L)
        n = L - 1;
    if (n == 0) {
        if (digits[0] >= '5') {
            digits[0] = '1';
            digits[1] = 0;
            ++rec.Exponent;
        } else {
            digits[0] = 0;
        }
    } else if (n > 0) {
        int i = int(n);
        if (digits[i] >= '5') {
            do {
                digits[i] = 0;
                --i;
                ++digits[i];
            } while (i != 0 && digits[i] > '9');
            if (digits[0] > '9') {
                digits[0] = '1';
                ++rec.Exponent;
            }
        } else {
            digits[i] = '0';
            while (i > -1 && digits[i] == '0')
                digits[i--] = 0;
        }
    } else {
        digits[0] = 0;
    }
    // A value that rounds to nothing is written as a zero; only a true zero
    // also loses its sign.
    if (digits[0] == 0) {
        rec.Exponent = 0;
        rec.Negative = rec.Negative && nonZero;
    }
    return rec;
}
