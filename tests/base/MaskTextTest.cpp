// Edit masks: literals kept or not, padding, case, escapes, the separators of
// the regional settings, the options fields and the typing rule of positions.

#include "base/MaskText.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

std::string fmt(const char *mask, const char *value, const TFormatSettings &settings = englishFormatSettings())
{
    return FormatMaskText(QString::fromUtf8(mask), QString::fromUtf8(value), settings).toStdString();
}

} // namespace

TEST(MaskText, DataCharactersFillTheMaskWhenLiteralsAreNotKept)
{
    EXPECT_EQ(fmt("!(999)000-0000;0;_", "5551234567"), "(555)123-4567");
    EXPECT_EQ(fmt("(999)000-0000;0;_", "555123"), "(555)123-    ") << "positions left over are spaces";
    EXPECT_EQ(fmt("(999)000-0000;0;*", ""), "(   )   -    ");
    // "!": a short value fills the last positions.
    EXPECT_EQ(fmt("!999;0;_", "7"), "  7");
    EXPECT_EQ(fmt("999;0;_", "7"), "7  ");
    EXPECT_EQ(fmt("99;0;_", "12345"), "12") << "characters beyond the mask are dropped";
}

TEST(MaskText, LiteralsInTheValueAreSkippedWhenKept)
{
    EXPECT_EQ(fmt("(999)000-0000;1;_", "(555)123-4567"), "(555)123-4567");
    EXPECT_EQ(fmt("(999)000-0000", "(555)123-4567"), "(555)123-4567") << "no options: literals kept";
    EXPECT_EQ(fmt("00-00;1; ", "12-3"), "12-3 ");
    // A value without its literals still lands in the data positions.
    EXPECT_EQ(fmt("(999)000-0000;1;_", "5551234567"), "(555)123-4567");
}

TEST(MaskText, CharactersArePlacedAsTheyAreWithTheirCaseForced)
{
    EXPECT_EQ(fmt("000;0;_", "1a3"), "1a3");
    EXPECT_EQ(fmt(">LL<LL<> l;0;_", "abCDeF"), "ABcd e") << "'<>' ends forcing; ' ' is a literal";
    EXPECT_EQ(fmt(">cc;0;_", "жё"), "ЖЁ");
}

TEST(MaskText, EscapesSeparatorsAndSpaces)
{
    EXPECT_EQ(fmt("\\0\\;00;0;_", "12"), "0;12");
    EXPECT_EQ(fmt("00/00/0000;0;_", "29022016", russianFormatSettings()), "29.02.2016");
    EXPECT_EQ(fmt("00/00/0000;0;_", "29022016"), "29/02/2016");
    EXPECT_EQ(fmt("00:00;0;_", "1230"), "12:30");
    EXPECT_EQ(fmt("00_00;0;#", "1234"), "12 34");
    EXPECT_EQ(fmt("", "as is"), "as is");
    EXPECT_EQ(fmt("0\\", "1"), "1") << "a trailing backslash escapes nothing";
}

TEST(MaskText, OptionsAndTypingRules)
{
    const TFormatSettings settings = englishFormatSettings();
    TEditMask mask = parseEditMask(QStringLiteral("!>0l\\A;0;*"), settings);
    EXPECT_TRUE(mask.LeadingBlanks);
    EXPECT_FALSE(mask.SaveLiterals);
    EXPECT_EQ(mask.Blank, QLatin1Char('*'));
    ASSERT_EQ(mask.Slots.size(), 3);
    EXPECT_TRUE(mask.Slots[0].Required);
    EXPECT_FALSE(mask.Slots[1].Required);
    EXPECT_EQ(mask.Slots[1].Case, TMaskCase::Upper);
    EXPECT_EQ(mask.Slots[2].Kind, TMaskSlotKind::Literal);
    EXPECT_EQ(mask.Slots[2].Literal, QLatin1Char('A'));
    mask = parseEditMask(QStringLiteral("0;1;"), settings);
    EXPECT_TRUE(mask.SaveLiterals);
    EXPECT_EQ(mask.Blank, QLatin1Char('_')) << "an empty blank field keeps the default";

    const TEditMask kinds = parseEditMask(QStringLiteral("0#LAC"), settings);
    const struct {
        int Slot;
        char16_t Char;
        bool Accepted;
    } cases[] = {
        {0, u'5', true},  {0, u'x', false}, {0, u'-', false}, {1, u'-', true},  {1, u'+', true},
        {1, u'a', false}, {2, u'Ж', true},  {2, u'1', false}, {3, u'1', true},  {3, u'z', true},
        {3, u'_', false}, {4, u' ', true},  {4, u'%', true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(maskSlotAccepts(kinds.Slots[c.Slot], QChar(c.Char)), c.Accepted)
            << "slot " << c.Slot << " char " << QString(QChar(c.Char)).toStdString();
    TMaskSlot literal;
    literal.Literal = QLatin1Char('-');
    EXPECT_FALSE(maskSlotAccepts(literal, QLatin1Char('-')));
}

TEST(MaskText, AnyMaskAndValueFormatWithoutFailing)
{
    // Random masks over the mask alphabet: the result always has one character
    // per position of the parsed mask.
    const QString alphabet = QStringLiteral("09#LlAaCc<>!\\:/_;x- ");
    QRandomGenerator random(20261209);
    for (int round = 0; round < 3000; ++round) {
        QString mask, value;
        const int n = random.bounded(12);
        for (int i = 0; i < n; ++i)
            mask += alphabet[random.bounded(int(alphabet.size()))];
        const int m = random.bounded(12);
        for (int i = 0; i < m; ++i)
            value += QChar(char16_t(random.bounded(32, 0x450)));
        const QString result = FormatMaskText(mask, value, russianFormatSettings());
        if (mask.isEmpty())
            EXPECT_EQ(result, value);
        else
            EXPECT_EQ(result.size(), parseEditMask(mask, russianFormatSettings()).Slots.size()) << mask.toStdString();
    }
}
