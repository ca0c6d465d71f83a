#include "core/util/decimal.h"

#include <gtest/gtest.h>

using korvane::util::divRoundHalfEven;
using korvane::util::formatScaled;
using korvane::util::parseDecimal;
using korvane::util::ScaledDecimal;

TEST(Decimal, ParsesExactlyWhateverTheForm)
{
    struct Row {
        const char* text;
        int scale;
        std::int64_t value;
        bool inexact;
    };
    const Row rows[] = {
        { "145.01875", 6, 145'018'750, false },
        { "145", 6, 145'000'000, false },
        { "145.", 6, 145'000'000, false },
        { ".5", 6, 500'000, false },
        { "  200  ", 6, 200'000'000, false },
        { "+1.5", 1, 15, false },
        { "-1.5", 1, -15, false },
        { "145.0000001", 6, 145'000'000, true },
        { "145.0000000", 6, 145'000'000, false },
        { "0", 0, 0, false },
    };
    for (const Row& row : rows) {
        const auto parsed = parseDecimal(row.text, row.scale);
        ASSERT_TRUE(parsed) << row.text;
        EXPECT_EQ(parsed->value, row.value) << row.text;
        EXPECT_EQ(parsed->inexact, row.inexact) << row.text;
    }
}

TEST(Decimal, RefusesWhatIsNotANumber)
{
    for (const char* text : { "", " ", ".", "1.2.3", "12a", "a12", "1,5", "1e5", "--1", "+" })
        EXPECT_FALSE(parseDecimal(text, 6)) << text;
}

TEST(Decimal, HugeNumbersSaturateInsteadOfOverflowing)
{
    const auto parsed = parseDecimal("99999999999999999999999999999999", 6);
    ASSERT_TRUE(parsed);
    EXPECT_GT(parsed->value, 1'000'000'000'000'000);
    EXPECT_TRUE(parsed->inexact);
}

TEST(Decimal, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(divRoundHalfEven(58002'5, 10), 58002);
    EXPECT_EQ(divRoundHalfEven(58007'5, 10), 58008);
    EXPECT_EQ(divRoundHalfEven(58001, 2), 29000);
    EXPECT_EQ(divRoundHalfEven(58003, 2), 29002);
    EXPECT_EQ(divRoundHalfEven(7, 3), 2);
    EXPECT_EQ(divRoundHalfEven(8, 3), 3);
    EXPECT_EQ(divRoundHalfEven(-5, 2), -2);
    EXPECT_EQ(divRoundHalfEven(-7, 2), -4);
    // Digits cut off beyond the scale break an exact tie upwards.
    EXPECT_EQ(divRoundHalfEven(ScaledDecimal { 5, true }, 2), 3);
    EXPECT_EQ(divRoundHalfEven(ScaledDecimal { 4, true }, 2), 2);
}

TEST(Decimal, FormatsWithLeadingZerosAndRounding)
{
    EXPECT_EQ(formatScaled(140'000'000, 6, 3, 5), "140.00000");
    EXPECT_EQ(formatScaled(0, 6, 3, 5), "000.00000");
    EXPECT_EQ(formatScaled(1'638'393'750, 6, 3, 5), "1638.39375");
    EXPECT_EQ(formatScaled(145'000'005, 6, 3, 5), "145.00000");
    EXPECT_EQ(formatScaled(145'000'015, 6, 3, 5), "145.00002");
    EXPECT_EQ(formatScaled(670, 1, 2, 1), "67.0");
    EXPECT_EQ(formatScaled(35, 1, 2, 1), "03.5");
    EXPECT_EQ(formatScaled(23, 0, 3, 0), "023");
    EXPECT_EQ(formatScaled(-15, 1, 1, 1), "-1.5");
}
