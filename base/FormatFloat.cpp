// FormatFloat: the picture formatter of the classic runtime.

#include "base/NumberFormat.h"

#include "base/FloatDigits_p.h"

#include <cmath>
#include <limits>

namespace {

constexpr int MaxPrecision = 18;

bool isQuote(QChar c) { return c == QLatin1Char('"') || c == QLatin1Char('\''); }

// The sections of a picture, split at ";" outside quotes; at most three.
QStringList pictureSections(const QString &picture)
{
    QStringList sections;
    QString current;
    QChar quote;
    for (QChar c : picture) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (isQuote(c)) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            sections << current;
            current.clear();
            if (sections.size() == 3)
                return sections;
            continue;
        }
        current += c;
    }
    sections << current;
    return sections;
}

// One picture section being written: what the analysis found and the
// running state of the digit output.
class TPictureWriter {
public:
    TPictureWriter(const QString &section, const TFormatSettings &settings)
        : FSection(section), FSettings(settings)
    {
        analyse();
    }

    bool scientific() const { return FScientific; }

    // Rounds the value for this section; false when it is out of the
    // section's reach (the caller then writes the general format).
    bool prepare(double value)
    {
        FZero = value == 0;
        if (FScientific)
            FRec = floatToDecimal(value, FRequested, 9999);
        else
            FRec = floatToDecimal(value, MaxPrecision, FRequested - FDecimalPos + 1);
        FDistToDecimal = FDecimalPos - 1;
        if (FScientific) {
            FPadZeroes = 0;
        } else {
            FPadZeroes = FRec.Exponent - (FDecimalPos - 1);
            if (FPadZeroes >= 0)
                FDistToDecimal = FRec.Exponent;
        }
        FAvailable = -1;
        while (FAvailable < 18 && FRec.Digits[FAvailable + 1] != 0)
            ++FAvailable;
        return FScientific || FRec.Exponent < 18;
    }

    bool negative() const { return FRec.Negative; }

    QString write(bool withMinus)
    {
        FOut.clear();
        if (withMinus)
            FOut += QLatin1Char('-');
        const int length = int(FSection.size());
        QChar quote;
        for (int i = 1; i <= length; ++i) {
            const QChar c = at(i);
            if (isQuote(c)) {
                // a quote of the other kind inside quoted text is dropped
                if (quote.isNull())
                    quote = c;
                else if (c == quote)
                    quote = QChar();
            } else if (!quote.isNull()) {
                FOut += c;
            } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
                copyDigit();
            } else if (c == QLatin1Char('.') || c == QLatin1Char(',')) {
                // written by the digits
            } else if (c == QLatin1Char('e') || c == QLatin1Char('E')) {
                FOut += c;
                if (FScientific) {
                    ++i;
                    if (i <= length && (at(i) == QLatin1Char('+') || at(i) == QLatin1Char('-'))) {
                        FOut += exponentText(at(i), FRec.Exponent - FDecimalPos + 1);
                        while (i < length && at(i + 1) == QLatin1Char('0'))
                            ++i;
                    }
                } else if (i < length) {
                    ++i;
                    FOut += at(i);
                }
            } else {
                FOut += c;
            }
        }
        return FOut;
    }

private:
    QChar at(int i) const { return FSection[i - 1]; } // 1-based

    // Counts the digit places, finds the decimal point, the thousands flag,
    // the exponent and the first and last forced ("0") digits.
    void analyse()
    {
        const int length = int(FSection.size());
        int firstZero = std::numeric_limits<int>::max();
        int lastZero = 0;
        QChar quote;
        for (int i = 1; i <= length; ++i) {
            const QChar c = at(i);
            if (isQuote(c)) {
                if (quote.isNull())
                    quote = c;
                else if (c == quote)
                    quote = QChar();
                continue;
            }
            if (!quote.isNull())
                continue;
            switch (c.unicode()) {
            case '.':
                if (FDecimalPos == 0)
                    FDecimalPos = FRequested + 1;
                break;
            case ',':
                FThousands = !FSettings.ThousandSeparator.isNull();
                break;
            case 'e':
            case 'E':
                ++i;
                if (i < length) {
                    FScientific = at(i) == QLatin1Char('+') || at(i) == QLatin1Char('-');
                    if (FScientific)
                        while (i < length && at(i + 1) == QLatin1Char('0')) {
                            ++FExpSize;
                            ++i;
                        }
                    FExpSize = std::min(FExpSize, 4);
                }
                break;
            case '#':
                ++FRequested;
                break;
            case '0':
                if (FRequested < firstZero)
                    firstZero = FRequested + 1;
                ++FRequested;
                lastZero = FRequested + 1;
                break;
            default:
                break;
            }
        }
        if (FDecimalPos == 0)
            FDecimalPos = FRequested + 1;
        FLastDigit = std::min(FDecimalPos - lastZero, 0);
        FFirstDigit = std::max(FDecimalPos - firstZero, 0);
    }

    QString exponentText(QChar sign, int exponent) const
    {
        if (FZero)
            exponent = 0;
        QString digits = QString::number(std::abs(exponent));
        if (digits.size() < FExpSize)
            digits.prepend(QString(FExpSize - digits.size(), QLatin1Char('0')));
        if (exponent < 0)
            return QLatin1Char('-') + digits;
        return sign == QLatin1Char('+') ? QLatin1Char('+') + digits : digits;
    }

    // Writes a digit, with the decimal separator before the first decimal
    // and a thousands separator after each group of the integer part.
    void writeDigit(char digit)
    {
        if (digit == 0)
            return;
        --FDistToDecimal;
        if (FDistToDecimal == -1) {
            FOut += FSettings.DecimalSeparator;
            FOut += QLatin1Char(digit);
        } else {
            FOut += QLatin1Char(digit);
            if (FThousands && FDistToDecimal % 3 == 0 && FDistToDecimal > 1)
                FOut += FSettings.ThousandSeparator;
        }
    }

    // The next digit of the value; a forced zero past its digits, or nothing
    // for an optional place.
    char nextDigit()
    {
        if (FCurrent <= FAvailable)
            return FRec.Digits[FCurrent++];
        if (FDistToDecimal <= FLastDigit) {
            --FDistToDecimal;
            return 0;
        }
        return '0';
    }

    // One digit place of the picture: the first place also writes the
    // value's extra integer digits; places left of the value's first digit
    // write zeros only when forced.
    void copyDigit()
    {
        if (FPadZeroes == 0) {
            writeDigit(nextDigit());
        } else if (FPadZeroes < 0) {
            ++FPadZeroes;
            if (FDistToDecimal <= FFirstDigit)
                writeDigit('0');
            else
                --FDistToDecimal;
        } else {
            while (FPadZeroes > 0) {
                writeDigit(nextDigit());
                --FPadZeroes;
            }
            writeDigit(nextDigit());
        }
    }

    const QString &FSection;
    const TFormatSettings &FSettings;
    bool FThousands = false;
    bool FScientific = false;
    bool FZero = false;
    int FDecimalPos = 0;
    int FFirstDigit = 0;
    int FLastDigit = 0;
    int FRequested = 0;
    int FExpSize = 0;
    TFloatRec FRec;
    int FAvailable = -1;
    int FCurrent = 0;
    int FPadZeroes = 0;
    int FDistToDecimal = 0;
    QString FOut;
};

} // namespace

QString FormatFloat(const QString &picture, double value)
{
    return FormatFloat(picture, value, FormatSettings());
}

// The section follows the sign of the value: positive; negative (without
// its own minus sign); zero. A missing or empty negative or zero section
// falls back to the positive one, which then writes the minus sign itself.
QString FormatFloat(const QString &picture, double value, const TFormatSettings &settings)
{
    if (std::isnan(value) || std::isinf(value))
        return QString::fromLatin1(specialText(extendedDigits(value).Special));
    const QStringList sections = pictureSections(picture);
    int index = value > 0 ? 0 : value < 0 ? 1 : 2;
    if (index >= sections.size() || sections[index].isEmpty())
        index = 0;
    const QString &section = sections[index];
    if (section.isEmpty())
        return FloatToStr(value, settings);
    TPictureWriter writer(section, settings);
    if (!writer.prepare(value))
        return FloatToStr(value, settings);
    return writer.write(writer.negative() && index == 0);
}
