#include "base/NumberFormat.h"

#include "base/Errors.h"
#include "base/FloatDigits_p.h"
#include "base/TextLimits.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

// The thousands separator while a text is assembled in ASCII.
constexpr char ThousandMark = '\x01';

// Converts an ASCII text with '.' and ThousandMark to the settings' characters.
QString localised(const std::string &text, const TFormatSettings &settings)
{
    QString out;
    out.reserve(qsizetype(text.size()));
    for (char c : text) {
        if (c == '.')
            out += settings.DecimalSeparator;
        else if (c == ThousandMark)
            out += settings.ThousandSeparator;
        else
            out += QLatin1Char(c);
    }
    return out;
}

// Drops the minus sign of a text that shows only zeros ("-0.00", "-0E+00").
bool dropMinusOfZero(std::string &text, bool keep)
{
    for (size_t i = keep ? 0 : 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '0' && c != '.' && c != 'E' && c != '+' && c != ThousandMark)
            return false;
    }
    if (!keep)
        text.erase(0, 1);
    return true;
}

// Inserts thousands marks into the integer part of a fixed text.
void groupThousands(std::string &text, bool skipAfterMinus)
{
    size_t point = text.find('.');
    long p = point == std::string::npos ? long(text.size()) : long(point); // 0-based
    p -= 3;
    while (p > 0) {
        if (!skipAfterMinus || text[p - 1] != '-')
            text.insert(size_t(p), 1, ThousandMark);
        p -= 3;
    }
}

// The general format with 15 digits of a finite value whose shortest
// round-trip text has at most 15 digits and is written without exponent
// (10^-5 <= |value| < 10^15): the value then lies nearer to that text than
// half a unit of its 15th digit, so rounding to 15 digits gives the same
// digits, and the exact digit generation is not needed. False otherwise.
bool shortFixedText(double value, std::string &text)
{
    char buffer[40];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    if (ec != std::errc())
        return false;
    const char *p = buffer;
    const bool minus = *p == '-';
    p += minus;
    const char *const e = std::find(p, static_cast<const char *>(end), 'e');
    if (e == end || !std::isdigit(static_cast<unsigned char>(*p)))
        return false;
    std::string digits(1, *p);
    if (p + 1 < e)
        digits.append(p + 2, e); // the digits after the point
    int exponent = 0;
    const char *x = e + 1 + (e[1] == '+');
    if (std::from_chars(x, end, exponent).ec != std::errc())
        return false;
    if (digits.size() > 15 || exponent < -5 || exponent > 14)
        return false;
    text.clear();
    if (minus)
        text += '-';
    if (exponent < 0) {
        text += "0.";
        text.append(size_t(-exponent - 1), '0');
        text += digits;
        return true;
    }
    const size_t whole = size_t(exponent) + 1;
    if (digits.size() <= whole) {
        text += digits;
        text.append(whole - digits.size(), '0');
        return true;
    }
    text.append(digits, 0, whole);
    text += '.';
    text.append(digits, whole, std::string::npos);
    return true;
}

std::string generalText(double value, int precision)
{
    if (precision == -1 || precision > 17)
        precision = 17;
    std::string r = scientificText(value, precision);
    while (!r.empty() && r[0] == ' ')
        r.erase(0, 1);
    const size_t dot = r.find('.');
    if (dot == std::string::npos)
        return r; // a special value
    long P = long(dot) + 1;             // 1-based positions, as the layout is described
    long PE = long(r.find('E')) + 1;
    int exponent = 0;
    std::from_chars(r.data() + PE + 1, r.data() + r.size(), exponent);
    if (r[PE] == '-')
        exponent = -exponent;
    auto at = [&r](long pos) -> char & { return r[size_t(pos - 1)]; };
    if (P + exponent < PE && exponent > -6) {
        r.resize(size_t(PE - 1));
        if (exponent >= 0) {
            for (int q = 0; q < exponent; ++q) {
                at(P) = at(P + 1);
                ++P;
            }
            at(P) = '.';
            P = 1;
            if (at(P) == '-')
                ++P;
            while (at(P) == '0' && P < long(r.size()) && at(P + 1) != '.')
                r.erase(size_t(P - 1), 1);
        } else {
            r.insert(size_t(P - 2), size_t(-exponent), '0');
            at(P - exponent) = at(P - exponent - 1);
            at(P) = '.';
            if (exponent != -1)
                at(P - exponent - 1) = '0';
        }
        long q = long(r.size());
        while (q > 0 && at(q) == '0')
            --q;
        if (q > 0 && at(q) == '.')
            --q;
        if (q == 0 || (q == 1 && at(1) == '-'))
            r.assign(1, '0');
        else
            r.resize(size_t(q));
    } else {
        while (at(PE - 1) == '0') {
            r.erase(size_t(PE - 2), 1);
            --PE;
        }
        if (at(PE - 1) == '.') {
            r.erase(size_t(PE - 2), 1);
            --PE;
        }
        if (at(PE + 1) == '+')
            r.erase(size_t(PE), 1);
        else
            ++PE;
        while (PE + 1 <= long(r.size()) && at(PE + 1) == '0')
            r.erase(size_t(PE), 1);
    }
    return r;
}

std::string exponentText(double value, int precision, int digits)
{
    if (precision == -1 || precision > 17)
        precision = 17;
    std::string r = scientificText(value, precision);
    while (!r.empty() && r[0] == ' ')
        r.erase(0, 1);
    const size_t e = r.find('E');
    if (e == std::string::npos)
        return r;
    size_t p = e + 2; // first exponent digit
    digits = std::min(digits, 4);
    long excess = long(r.size() - p) - digits;
    while (excess > 0 && r[p] == '0') {
        r.erase(p, 1);
        if (p >= r.size()) {
            r.erase(p - 2, 2);
            break;
        }
        --excess;
    }
    return r;
}

QString currencyText(double value, int digits, const TFormatSettings &s)
{
    if (digits == -1)
        digits = s.CurrencyDecimals;
    digits = std::clamp(digits, 0, 18);
    std::string r = fixedText(value, digits);
    bool negative = !r.empty() && r[0] == '-';
    if (negative)
        r.erase(0, 1);
    groupThousands(r, false);
    if (r.size() > 1 && negative)
        negative = !dropMinusOfZero(r, true);
    const QString n = localised(r, s);
    const QString &c = s.CurrencyString;
    const QString sp = QStringLiteral(" ");
    if (!negative) {
        switch (s.CurrencyFormat) {
        case 1: return n + c;
        case 2: return c + sp + n;
        case 3: return n + sp + c;
        default: return c + n;
        }
    }
    switch (s.NegCurrFormat) {
    case 1: return QLatin1Char('-') + c + n;
    case 2: return c + QLatin1Char('-') + n;
    case 3: return c + n + QLatin1Char('-');
    case 4: return QLatin1Char('(') + n + c + QLatin1Char(')');
    case 5: return QLatin1Char('-') + n + c;
    case 6: return n + QLatin1Char('-') + c;
    case 7: return n + c + QLatin1Char('-');
    case 8: return QLatin1Char('-') + n + sp + c;
    case 9: return QLatin1Char('-') + c + sp + n;
    case 10: return n + sp + c + QLatin1Char('-');
    case 11: return c + sp + n + QLatin1Char('-');
    case 12: return c + sp + QLatin1Char('-') + n;
    case 13: return n + QLatin1Char('-') + sp + c;
    case 14: return QLatin1Char('(') + c + sp + n + QLatin1Char(')');
    case 15: return QLatin1Char('(') + n + sp + c + QLatin1Char(')');
    default: return QLatin1Char('(') + c + n + QLatin1Char(')');
    }
}

// Digits of an integer text: optional spaces and sign, then decimal digits
// or "$"/"x"/"0x" and hexadecimal digits, up to the end. Hexadecimal text
// may fill all `bits` (and so wrap to a negative value); decimal text must
// fit the signed range.
bool parseInteger(const QString &text, int bits, qint64 &value)
{
    const QChar *p = text.constData();
    const QChar *end = p + text.size();
    while (p < end && *p == QLatin1Char(' '))
        ++p;
    bool negative = false;
    if (p < end && (*p == QLatin1Char('-') || *p == QLatin1Char('+')))
        negative = *p++ == QLatin1Char('-');
    bool hex = false;
    if (p < end && (*p == QLatin1Char('$') || *p == QLatin1Char('x') || *p == QLatin1Char('X'))) {
        hex = true;
        ++p;
    } else if (end - p >= 2 && p[0] == QLatin1Char('0')
               && (p[1] == QLatin1Char('x') || p[1] == QLatin1Char('X'))) {
        hex = true;
        p += 2;
    }
    if (p == end)
        return false;
    quint64 magnitude = 0;
    const quint64 hexLimit = bits == 64 ? ~quint64(0) : (quint64(1) << bits) - 1;
    const quint64 decLimit = (quint64(1) << (bits - 1)) - (negative ? 0 : 1);
    for (; p < end; ++p) {
        const char16_t c = p->unicode();
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        if (hex) {
            if (magnitude > (hexLimit >> 4))
                return false;
            magnitude = (magnitude << 4) | quint64(digit);
        } else {
            if (magnitude > (decLimit - quint64(digit)) / 10)
                return false;
            magnitude = magnitude * 10 + quint64(digit);
        }
    }
    if (hex && bits == 32)
        magnitude = quint64(qint64(qint32(quint32(magnitude))));
    value = negative ? qint64(0 - magnitude) : qint64(magnitude);
    return true;
}

[[noreturn]] void invalidInteger(const QString &text)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

} // namespace

QString IntToStr(qint64 value) { return QString::number(value); }

QString IntToHex(qint64 value, int digits)
{
    rudCheckTextLength(digits);
    QString hex = QString::number(quint64(value), 16).toUpper();
    if (hex.size() < digits)
        hex.prepend(QString(digits - hex.size(), QLatin1Char('0')));
    return hex;
}

bool TryStrToInt(const QString &text, int &value)
{
    qint64 v = 0;
    if (!parseInteger(text, 32, v))
        return false;
    value = int(v);
    return true;
}

bool TryStrToInt64(const QString &text, qint64 &value) { return parseInteger(text, 64, value); }

int StrToInt(const QString &text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        invalidInteger(text);
    return value;
}

qint64 StrToInt64(const QString &text)
{
    qint64 value = 0;
    if (!TryStrToInt64(text, value))
        invalidInteger(text);
    return value;
}

int StrToIntDef(const QString &text, int fallback)
{
    int value = 0;
    return TryStrToInt(text, value) ? value : fallback;
}

QString FloatToStr(double value) { return FloatToStr(value, FormatSettings()); }

QString FloatToStr(double value, const TFormatSettings &settings)
{
    // A whole number below 10^15 is its digits in the general format (no
    // separator, no exponent, no minus for zero): templates write many such
    // values, and the digit generation costs far more.
    if (std::fabs(value) < 1e15 && std::trunc(value) == value)
        return QString::number(qint64(value));
    std::string text;
    if (shortFixedText(value, text))
        return localised(text, settings);
    return FloatToStrF(value, ffGeneral, 15, 0, settings);
}

QString FloatToStrF(double value, TFloatFormat format, int precision, int digits)
{
    return FloatToStrF(value, format, precision, digits, FormatSettings());
}

QString FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                    const TFormatSettings &settings)
{
    std::string r;
    switch (format) {
    case ffGeneral:
        r = generalText(value, precision);
        break;
    case ffExponent:
        r = exponentText(value, precision, digits);
        break;
    case ffFixed:
        r = fixedText(value, digits == -1 ? 2 : std::clamp(digits, 0, 18));
        break;
    case ffNumber:
        r = fixedText(value, digits == -1 ? 2 : std::clamp(digits, 0, 17));
        groupThousands(r, true);
        break;
    case ffCurrency:
        return currencyText(value, digits, settings);
    }
    if (r.size() > 1 && r[0] == '-')
        dropMinusOfZero(r, false);
    return localised(r, settings);
}

bool TryStrToFloat(const QString &text, double &value)
{
    return TryStrToFloat(text, value, FormatSettings());
}

// Optional spaces and sign, digits with at most one decimal separator (at
// least one digit), an optional exponent with at least one digit, optional
// spaces. The value must lie within the double range; smaller magnitudes
// become zero.
bool TryStrToFloat(const QString &text, double &value, const TFormatSettings &settings)
{
    const QChar *p = text.constData();
    const QChar *end = p + text.size();
    // Most numbers of a template are short whole numbers ("0", "18",
    // "-13"): read exactly without the general conversion.
    {
        const QChar *q = p;
        const bool minus = q < end && *q == QLatin1Char('-');
        q += minus;
        if (q < end && end - q <= 9) {
            long long whole = 0;
            for (; q < end && q->unicode() >= '0' && q->unicode() <= '9'; ++q)
                whole = whole * 10 + (q->unicode() - '0');
            if (q == end) {
                value = minus ? -double(whole) : double(whole);
                return true;
            }
        }
    }
    while (p < end && *p == QLatin1Char(' '))
        ++p;
    while (end > p && end[-1] == QLatin1Char(' '))
        --end;
    std::string ascii;
    ascii.reserve(size_t(end - p));
    if (p < end && (*p == QLatin1Char('-') || *p == QLatin1Char('+')))
        ascii += char(p++->unicode());
    int digits = 0;
    long long scale = 0; // decimal exponent of the first digit, roughly
    bool seenNonZero = false;
    for (; p < end && p->unicode() >= '0' && p->unicode() <= '9'; ++p, ++digits) {
        ascii += char(p->unicode());
        seenNonZero = seenNonZero || *p != QLatin1Char('0');
        if (seenNonZero)
            ++scale;
    }
    if (p < end && *p == settings.DecimalSeparator) {
        ascii += '.';
        for (++p; p < end && p->unicode() >= '0' && p->unicode() <= '9'; ++p, ++digits) {
            ascii += char(p->unicode());
            if (!seenNonZero && *p == QLatin1Char('0'))
                --scale;
            seenNonZero = seenNonZero || *p != QLatin1Char('0');
        }
    }
    if (digits == 0)
        return false;
    long long exponent = 0;
    if (p < end && (*p == QLatin1Char('e') || *p == QLatin1Char('E'))) {
        ascii += 'e';
        ++p;
        bool negative = false;
        if (p < end && (*p == QLatin1Char('-') || *p == QLatin1Char('+'))) {
            negative = *p == QLatin1Char('-');
            ascii += char(p++->unicode());
        }
        int expDigits = 0;
        for (; p < end && p->unicode() >= '0' && p->unicode() <= '9'; ++p, ++expDigits) {
            ascii += char(p->unicode());
            if (exponent < 100000)
                exponent = exponent * 10 + (p->unicode() - '0');
        }
        if (expDigits == 0)
            return false;
        if (negative)
            exponent = -exponent;
    }
    if (p != end)
        return false;
    const char *first = ascii.data() + (ascii[0] == '+');
    double result = 0;
    const auto [ptr, ec] = std::from_chars(first, ascii.data() + ascii.size(), result);
    if (ec == std::errc::result_out_of_range) {
        if (!seenNonZero || scale + exponent <= 0)
            result = ascii[0] == '-' ? -0.0 : 0.0; // below the smallest double
        else
            return false;
    } else if (ec != std::errc() || ptr != ascii.data() + ascii.size() || std::isinf(result)) {
        return false;
    }
    value = result;
    return true;
}

double StrToFloat(const QString &text) { return StrToFloat(text, FormatSettings()); }

double StrToFloat(const QString &text, const TFormatSettings &settings)
{
    double value = 0;
    if (!TryStrToFloat(text, value, settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

double StrToFloatDef(const QString &text, double fallback)
{
    double value = 0;
    return TryStrToFloat(text, value) ? value : fallback;
}

qint64 RoundHalfEven(double value)
{
    if (!(std::fabs(value) < 9223372036854775808.0))
        throw EInvalidOp(QStringLiteral("Invalid floating point operation"));
    return qint64(std::nearbyint(value)); // the default rounding mode: to nearest, ties to even
}
