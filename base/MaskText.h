#pragma once
// Edit masks: the picture a masked edit field shows and the text it keeps.
//
// A mask has up to three fields separated by ";": the picture, a "0" when the
// literal characters are not part of the kept text (any other value, or no
// field at all, keeps them), and the blank character shown for an empty
// position (default "_"). Picture characters:
//   0  digit, required          9  digit, optional
//   #  digit or sign, optional  L  letter, required     l  letter, optional
//   A  letter or digit, required                        a  letter or digit, optional
//   C  any character, required  c  any character, optional
//   >  upper-case what follows  <  lower-case what follows  <> neither
//   !  (first) a short text fills the last positions instead of the first
//   \  the next character is a literal
//   :  the time separator       /  the date separator   _  a space
// Every other character is a literal.

#include "base/FormatSettings.h"

#include <QList>
#include <QString>

// The kind of one position of a parsed mask.
enum class TMaskSlotKind { Literal, Digit, DigitOrSign, Letter, AlphaNum, AnyChar };

// The letter case a position forces on its character.
enum class TMaskCase { Keep, Upper, Lower };

// One position of a parsed mask.
struct TMaskSlot {
    TMaskSlotKind Kind = TMaskSlotKind::Literal;
    QChar Literal;            // the character of a literal position
    bool Required = false;
    TMaskCase Case = TMaskCase::Keep;
};

// A mask taken apart into its positions and options.
struct TEditMask {
    QList<TMaskSlot> Slots;
    bool SaveLiterals = true;
    bool LeadingBlanks = false; // "!": a short value fills the last positions
    QChar Blank = QLatin1Char('_');
};

// Parses a mask; separators ":" and "/" come from the settings.
TEditMask parseEditMask(const QString &mask, const TFormatSettings &settings);

// Whether a data position takes the character (an edit field's typing rule).
bool maskSlotAccepts(const TMaskSlot &slot, QChar c);

// The text a masked field holds for value: literals at their places, value
// characters in the data positions (case forced as the mask says), a space
// where the value has run out. Characters are placed as they are, not
// checked against their positions, so formatting never loses data. When the
// mask keeps literals, value is read as a text that holds them at their
// places (a matching character there is skipped); otherwise value holds the
// data characters only. The blank character is what an edit field shows for
// an empty position; the formatted text has spaces there. An empty mask
// gives value unchanged.
QString FormatMaskText(const QString &editMask, const QString &value);
QString FormatMaskText(const QString &editMask, const QString &value, const TFormatSettings &settings);
