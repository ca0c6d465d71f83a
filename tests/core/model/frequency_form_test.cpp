#include "core/model/frequency_form.h"

#include "core/model/frequency_codec.h"

#include <gtest/gtest.h>

using namespace korvane::model;

namespace {

Record withCount(std::uint32_t count, bool step625, std::uint8_t upperBits)
{
    Record r {};
    r[2] = static_cast<std::uint8_t>(upperBits | (step625 ? 0x04 : 0));
    r[7] = r[2];
    setFrequencyCount(r, Side::Receive, count);
    setFrequencyCount(r, Side::Transmit, count);
    return r;
}

} // namespace

TEST(FrequencyForm, OddTwoAndAHalfKilohertzCountsMoveToTheEvenFiveKilohertzNeighbour)
{
    struct Row {
        std::uint32_t count; // 2.5 kHz units
        std::uint32_t half; // 5 kHz units
    } rows[] = { { 58001, 29000 }, { 58003, 29002 }, { 58405, 29202 }, { 58000, 29000 }, { 0, 0 } };
    for (const Row& row : rows) {
        Record r = withCount(row.count, false, 0x38);
        to5kHzForm(std::span(&r, 1));
        EXPECT_EQ(r[0] | (r[1] << 8) | ((r[2] & 1) << 16), static_cast<int>(row.half)) << row.count;
        EXPECT_EQ(r[2] & 0xFE, 0x38) << "flags kept, bits 1-2 clear";
        toImageForm(std::span(&r, 1));
        EXPECT_EQ(frequencyCount(r, Side::Receive), row.half * 2);
        EXPECT_EQ(r[2] & 0xFC, 0x38);
    }
}

TEST(FrequencyForm, ImageFormIsRestoredOnTheFiveAndSixPointTwoFiveKilohertzGrids)
{
    for (std::uint8_t upper : { std::uint8_t { 0x00 }, std::uint8_t { 0xF8 }, std::uint8_t { 0x58 } }) {
        for (std::uint32_t count = 0; count < (1u << 17); ++count) {
            // Even 2.5 kHz counts (the 5 kHz grid) below 2^18, and 6.25 kHz counts below 2^17.
            const Record grid5 = withCount(count * 2 % (1u << 18), false, upper);
            const Record grid625 = withCount(count, true, upper);
            for (const Record& original : { grid5, grid625 }) {
                Record r = original;
                to5kHzForm(std::span(&r, 1));
                toImageForm(std::span(&r, 1));
                ASSERT_EQ(r, original) << count;
            }
        }
    }
}

TEST(FrequencyForm, SixPointTwoFiveKilohertzFieldsOnlyMoveTheStepFlag)
{
    Record r = withCount(0x1ABCD, true, 0x58);
    to5kHzForm(std::span(&r, 1));
    EXPECT_EQ(r[0], 0xCD);
    EXPECT_EQ(r[1], 0xAB);
    EXPECT_EQ(r[2], 0x58 | 0x02 | 0x01);
}

TEST(FrequencyForm, OffGridCheckLooksAtOddTwoAndAHalfKilohertzCountsOnly)
{
    EXPECT_TRUE(isOff5kHzGrid(withCount(58405, false, 0), 0)); // 146.0125 MHz
    EXPECT_FALSE(isOff5kHzGrid(withCount(58404, false, 0), 1));
    EXPECT_FALSE(isOff5kHzGrid(withCount(23361, true, 0), 0)); // 146.00625 MHz
}
