#include "core/model/frequency_codec.h"

#include "core/util/decimal.h"

#include <gtest/gtest.h>

using namespace korvane::model;

TEST(FrequencyCodec, WorkedExamples)
{
    EXPECT_EQ(formatFrequency(0xC0, 0xDA, 0x00), "140.00000");
    EXPECT_EQ(formatFrequency(0x40, 0x00, 0x05), "410.00000"); // 65600 steps of 6.25 kHz
    EXPECT_EQ(formatFrequency(0x00, 0x00, 0x00), "000.00000");
    EXPECT_EQ(formatFrequency(0x00, 0x00, 0xF8), "000.00000"); // upper flag bits are not the count
    EXPECT_EQ(formatFrequency(0xFF, 0xFF, 0x07), "1638.39375"); // the largest count
}

TEST(FrequencyCodec, EveryCountFormatsAndReencodesToItself)
{
    for (bool step625 : { false, true }) {
        for (std::uint32_t count = 0; count < (1u << 18); ++count) {
            Record r {};
            r[5] = 0xAA;
            r[7] = static_cast<std::uint8_t>(0xF8 | (step625 ? 0x04 : 0));
            setFrequencyCount(r, Side::Transmit, count);
            const std::string text = formatFrequency(r, Side::Transmit);
            Record back = r;
            setFrequencyCount(back, Side::Transmit, 0);
            const auto hz = korvane::util::parseDecimal(text, 6);
            ASSERT_TRUE(hz);
            encodeFrequency(hz->value, back, Side::Transmit);
            ASSERT_EQ(back, r) << count << " " << text;
        }
    }
}

TEST(FrequencyCodec, EncodeKeepsTheStepFlagAndTheUpperBits)
{
    Record r {};
    r[2] = 0x3C; // CTCSS, open, 6.25 kHz step, count bits clear
    encodeFrequency(410'000'000, r, Side::Receive);
    EXPECT_EQ(r[0], 0x40);
    EXPECT_EQ(r[1], 0x00);
    EXPECT_EQ(r[2], 0x3D);
    encodeFrequency(145'003'125, r, Side::Receive); // 23200.5 steps: halves to even
    EXPECT_EQ(frequencyCount(r, Side::Receive), 23200u);
}
