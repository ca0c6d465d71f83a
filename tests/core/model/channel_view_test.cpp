#include "core/model/channel_view.h"

#include "core/model/defaults.h"

#include <gtest/gtest.h>

using namespace korvane::model;

TEST(ChannelView, DefaultChannelsOfTwoFamilies)
{
    using Texts = std::array<std::string, kChannelColumns>;
    EXPECT_EQ(channelCellTexts(defaultChannelRecord(0)),
              (Texts { "140.00000", "2.50", "OFF", "140.00000", "2.50", "OFF", "ADD", "OFF", "OFF", "Wide" }));
    EXPECT_EQ(channelCellTexts(defaultChannelRecord(2)),
              (Texts { "410.00000", "6.25", "OFF", "410.00000", "6.25", "OFF", "ADD", "OFF", "OFF", "Wide" }));
}

TEST(ChannelView, FlagColumns)
{
    Record r = defaultChannelRecord(0);
    r[10] = 0x17; // DEL, busy lock, clock shift, Narrow
    r[2] |= 0x50;
    r[3] = 0x13;
    const auto texts = channelCellTexts(r);
    EXPECT_EQ(texts[2], "CDCSS: 023");
    EXPECT_EQ(texts[6], "DEL");
    EXPECT_EQ(texts[7], "ON");
    EXPECT_EQ(texts[8], "ON");
    EXPECT_EQ(texts[9], "Narrow");
}
