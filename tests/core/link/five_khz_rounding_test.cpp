#include "core/link/five_khz_rounding.h"

#include "core/model/defaults.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::link;
using model::Side;

namespace {

void setSide(model::Record& r, Side s, std::uint32_t count, bool step625)
{
    model::setFrequencyCount(r, s, count);
    model::setBit(r[model::flagByte(s)], model::kStepBit, step625);
}

} // namespace

TEST(FiveKhzRounding, FindsAndRoundsOddTwoPointFiveCounts)
{
    model::ChannelTable channels = model::defaultImage(0).channels; // every channel closed
    // 146.0125 MHz in 2.5 kHz units: 58405, an odd count.
    setSide(channels[0], Side::Receive, 58405, false);
    // 146.00625 MHz in 6.25 kHz units (23361, odd) is on its own grid: To5kHzForm handles it.
    setSide(channels[1], Side::Receive, 23361, true);
    // A closed channel's transmit side counts too.
    setSide(channels[15], Side::Transmit, 58407, false);
    ASSERT_FALSE(model::isChannelOpen(channels[15]));

    const auto sides = sidesOff5kHzGrid(channels);
    ASSERT_EQ(sides, (std::vector<ChannelSide> { { 0, Side::Receive }, { 15, Side::Transmit } }));

    const model::ChannelTable before = channels;
    roundOnto5kHzGrid(channels, sides);
    // 146.0100 MHz; only the low bit of the count changes.
    EXPECT_EQ(model::frequencyCount(channels[0], Side::Receive), 58404u);
    EXPECT_EQ(model::frequencyCount(channels[15], Side::Transmit), 58406u);
    for (int c = 0; c < 16; ++c) {
        for (int b = 0; b < 16; ++b) {
            if (!((c == 0 && b == 0) || (c == 15 && b == 5))) {
                EXPECT_EQ(channels[c][b], before[c][b]) << c << "/" << b;
            }
        }
    }
    EXPECT_TRUE(sidesOff5kHzGrid(channels).empty());
}

TEST(FiveKhzRounding, DefaultsNeedNoRounding)
{
    for (int m = 0; m < 7; ++m)
        EXPECT_TRUE(sidesOff5kHzGrid(model::defaultImage(m).channels).empty()) << m;
}
