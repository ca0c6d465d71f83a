#include "sim/hex_text.h"

#include <gtest/gtest.h>

using namespace korvane::sim;
using Bytes = std::vector<std::uint8_t>;

TEST(HexText, Formats)
{
    EXPECT_EQ(hexBytes(Bytes {}), "");
    EXPECT_EQ(hexBytes(Bytes { 0x72, 0x45, 0x00, 0xFF }), "72 45 00 FF");
}

TEST(HexText, Parses)
{
    EXPECT_EQ(parseHexBytes(""), Bytes {});
    EXPECT_EQ(parseHexBytes("4F4B"), (Bytes { 0x4F, 0x4B }));
    EXPECT_EQ(parseHexBytes("4f 4b"), (Bytes { 0x4F, 0x4B }));
    EXPECT_EQ(parseHexBytes("4F"), (Bytes { 0x4F }));
    EXPECT_FALSE(parseHexBytes("4"));
    EXPECT_FALSE(parseHexBytes("4 F"));
    EXPECT_FALSE(parseHexBytes("OK"));
    EXPECT_FALSE(parseHexBytes("0x4F"));
}

TEST(HexText, RoundTripsEveryByte)
{
    Bytes all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<std::uint8_t>(b));
    EXPECT_EQ(parseHexBytes(hexBytes(all)), all);
}
