// Edit masks: parsing and formatting a value through a mask.

#include "base/MaskText.h"

bool maskSlotAccepts(const TMaskSlot &slot, QChar c)
{
    switch (slot.Kind) {
    case TMaskSlotKind::Digit: return c.isDigit();
    case TMaskSlotKind::DigitOrSign: return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-');
    case TMaskSlotKind::Letter: return c.isLetter();
    case TMaskSlotKind::AlphaNum: return c.isLetterOrNumber();
    case TMaskSlotKind::AnyChar: return true;
    case TMaskSlotKind::Literal: return false;
    }
    return false;
}

namespace {

QChar applyCase(QChar c, TMaskCase mode)
{
    switch (mode) {
    case TMaskCase::Upper: return c.toUpper();
    case TMaskCase::Lower: return c.toLower();
    case TMaskCase::Keep: break;
    }
    return c;
}

} // namespace

TEditMask parseEditMask(const QString &mask, const TFormatSettings &settings)
{
    TEditMask result;
    TMaskCase mode = TMaskCase::Keep;
    qsizetype i = 0;
    if (mask.startsWith(QLatin1Char('!'))) {
        result.LeadingBlanks = true;
        i = 1;
    }
    auto literal = [&](QChar c) {
        TMaskSlot slot;
        slot.Literal = c;
        result.Slots.append(slot);
    };
    auto data = [&](TMaskSlotKind kind, bool required) {
        TMaskSlot slot;
        slot.Kind = kind;
        slot.Required = required;
        slot.Case = mode;
        result.Slots.append(slot);
    };
    for (; i < mask.size(); ++i) {
        const QChar c = mask[i];
        switch (c.unicode()) {
        case ';': {
            // The options: "save literals" and the blank character.
            const QStringList fields = mask.mid(i + 1).split(QLatin1Char(';'));
            result.SaveLiterals = fields[0].trimmed() != QLatin1String("0");
            if (fields.size() > 1 && !fields[1].isEmpty())
                result.Blank = fields[1][0];
            return result;
        }
        case '\\':
            if (i + 1 < mask.size())
                literal(mask[++i]);
            break;
        case '>': mode = TMaskCase::Upper; break;
        case '<':
            if (i + 1 < mask.size() && mask[i + 1] == QLatin1Char('>')) {
                mode = TMaskCase::Keep;
                ++i;
            } else {
                mode = TMaskCase::Lower;
            }
            break;
        case '0': data(TMaskSlotKind::Digit, true); break;
        case '9': data(TMaskSlotKind::Digit, false); break;
        case '#': data(TMaskSlotKind::DigitOrSign, false); break;
        case 'L': data(TMaskSlotKind::Letter, true); break;
        case 'l': data(TMaskSlotKind::Letter, false); break;
        case 'A': data(TMaskSlotKind::AlphaNum, true); break;
        case 'a': data(TMaskSlotKind::AlphaNum, false); break;
        case 'C': data(TMaskSlotKind::AnyChar, true); break;
        case 'c': data(TMaskSlotKind::AnyChar, false); break;
        case ':': literal(settings.TimeSeparator); break;
        case '/': literal(settings.DateSeparator); break;
        case '_': literal(QLatin1Char(' ')); break;
        default: literal(c); break;
        }
    }
    return result;
}

QString FormatMaskText(const QString &editMask, const QString &value)
{
    return FormatMaskText(editMask, value, FormatSettings());
}

QString FormatMaskText(const QString &editMask, const QString &value, const TFormatSettings &settings)
{
    if (editMask.isEmpty())
        return value;
    const TEditMask mask = parseEditMask(editMask, settings);
    QString input = value;
    if (mask.LeadingBlanks && !mask.SaveLiterals) {
        // A short value fills the last data positions.
        qsizetype dataSlots = 0;
        for (const TMaskSlot &slot : mask.Slots)
            if (slot.Kind != TMaskSlotKind::Literal)
                ++dataSlots;
        if (input.size() < dataSlots)
            input.prepend(QString(dataSlots - input.size(), QChar()));
    }
    QString result;
    result.reserve(mask.Slots.size());
    qsizetype at = 0;
    for (const TMaskSlot &slot : mask.Slots) {
        if (slot.Kind == TMaskSlotKind::Literal) {
            result += slot.Literal;
            if (mask.SaveLiterals && at < input.size() && input[at] == slot.Literal)
                ++at;
            continue;
        }
        const QChar c = at < input.size() ? input[at++] : QChar();
        result += c.isNull() ? QChar(QLatin1Char(' ')) : applyCase(c, slot.Case);
    }
    return result;
}
