// Edit masks: literals kept or not, blank characters, case, escapes, the
// separators of the regional settings.

#include "base/MaskText.h"

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
    EXPECT_EQ(fmt("(999)000-0000;0;_", "555123"), "(555)123-____");
    EXPECT_EQ(fmt("(999)000-0000;0;*", ""), "(***)***-****");
    // "!": a short value fills the last positions.
    EXPECT_EQ(fmt("!999;0;_", "7"), "__7");
    EXPECT_EQ(fmt("999;0;_", "7"), "7__");
}

TEST(MaskText, LiteralsInTheValueAreSkippedWhenKept)
{
    EXPECT_EQ(fmt("(999)000-0000;1;_", "(555)123-4567"), "(555)123-4567");
    EXPECT_EQ(fmt("(999)000-0000", "(555)123-4567"), "(555)123-4567") << "no options: literals kept, blank _";
    EXPECT_EQ(fmt("00-00;1; ", "12-3"), "12-3 ");
}

TEST(MaskText, PositionsRefuseCharactersOfTheWrongKind)
{
    EXPECT_EQ(fmt("000;0;_", "1a3"), "1_3");
    EXPECT_EQ(fmt("LLL;0;_", "a1c"), "a_c");
    EXPECT_EQ(fmt("AAAA;0;_", "a1-Ж"), "a1_Ж");
    EXPECT_EQ(fmt("CCC;0;_", "-+ "), "-+ ");
    EXPECT_EQ(fmt("###;0;_", "-1x"), "-1_");
}

TEST(MaskText, CaseEscapesAndSeparators)
{
    EXPECT_EQ(fmt(">LL<LL<> l;0;_", "abCDeF"), "ABcd e") << "'<>' ends forcing; '_' is not there, ' ' is a literal";
    EXPECT_EQ(fmt("\\0\\;00;0;_", "12"), "0;12");
    EXPECT_EQ(fmt("00/00/0000;0;_", "29022016", russianFormatSettings()), "29.02.2016");
    EXPECT_EQ(fmt("00:00;0;_", "1230"), "12:30");
    EXPECT_EQ(fmt("00_00;0;#", "12"), "12 ##");
    EXPECT_EQ(fmt("", "as is"), "as is");
    EXPECT_EQ(fmt("0\\", "1"), "1") << "a trailing backslash escapes nothing";
}
