#include "report/render/rudPageNumbers.h"

#include "base/Errors.h"

#include <gtest/gtest.h>

namespace {
QList<int> parse(const QString &Text, int Total)
{
    QList<int> list;
    rudParsePageNumbers(Text, list, Total);
    return list;
}
} // namespace

TEST(PageNumbers, RangesNumbersAndTheirOrder)
{
    EXPECT_EQ(parse("2-", 5), (QList<int>{2, 3, 4, 5}));
    EXPECT_EQ(parse("3,1", 5), (QList<int>{3, 1}));
    EXPECT_TRUE(parse("5-3", 5).isEmpty());
    EXPECT_EQ(parse(" 1 - 3 , 2 ", 5), (QList<int>{1, 2, 3, 2}));
    EXPECT_EQ(parse("1,3,5-12", 7), (QList<int>{1, 3, 5, 6, 7}));
    // An empty text means every page: the list stays empty.
    EXPECT_TRUE(parse("", 5).isEmpty());
    EXPECT_TRUE(parse("   ", 5).isEmpty());
    // Pages that do not exist are left out, and a huge range stays small.
    EXPECT_EQ(parse("0,6,4", 5), (QList<int>{4}));
    EXPECT_EQ(parse("4-2000000000", 5), (QList<int>{4, 5}));
}

TEST(PageNumbers, NonNumericItemFailsWithTheConversionError)
{
    QList<int> list;
    try {
        rudParsePageNumbers("x", list, 5);
        FAIL() << "no error";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), "'x' is not a valid integer value");
    }
    EXPECT_THROW(rudParsePageNumbers("1-y", list, 5), EConvertError);
    EXPECT_THROW(rudParsePageNumbers("1,,2", list, 5), EConvertError);
}
