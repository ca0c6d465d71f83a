#include "core/model/signalling_codec.h"

#include <gtest/gtest.h>

using namespace korvane::model;

namespace {

Record withSignal(Side s, int nibble, std::uint8_t c0, std::uint8_t c1, std::uint8_t twoTone = 0)
{
    Record r {};
    r[flagByte(s)] = static_cast<std::uint8_t>((nibble << 4) | 0x0D);
    r[codeLowByte(s)] = c0;
    r[codeHighByte(s)] = c1;
    r[twoToneByte(s)] = twoTone;
    return r;
}

} // namespace

TEST(SignallingCodec, TextsOfEveryKind)
{
    struct Row {
        int nibble;
        std::uint8_t c0, c1, twoTone;
        const char* text;
    } rows[] = {
        { 0x0, 0x85, 0x08, 0, "OFF" },
        { 0x3, 0x85, 0x08, 0, "CTCSS: 88.5" },
        { 0x2, 0x85, 0x08, 0, "CTCSS: 88.5" },
        { 0x3, 0x30, 0x12, 0, "CTCSS: 123.0" },
        { 0x3, 0x70, 0x06, 0, "CTCSS: 67.0" },
        { 0x3, 0x30, 0xD2, 0, "CTCSS: 123.0" }, // bits 6-7 of C1 are not the tone
        { 0x5, 0x13, 0x00, 0, "CDCSS: 023" },
        { 0x4, 0xEC, 0x01, 0, "CDCSS: 754" },
        { 0x5, 0xEC, 0xFF, 0, "CDCSS: 754" },
        { 0x7, 0x13, 0x00, 0, "--CDCSS: 023" },
        { 0x6, 0xFF, 0x01, 0, "--CDCSS: 777" },
        { 0x8, 0x00, 0x00, 5, "2-Tone: 5" },
        { 0x8, 0x00, 0x00, 255, "2-Tone: 255" },
        { 0x1, 0x85, 0x08, 0, "" },
        { 0x9, 0x85, 0x08, 0, "" },
        { 0xF, 0x85, 0x08, 0, "" },
    };
    for (const Row& row : rows)
        for (Side s : { Side::Receive, Side::Transmit })
            EXPECT_EQ(formatSignalling(withSignal(s, row.nibble, row.c0, row.c1, row.twoTone), s), row.text);
}

TEST(SignallingCodec, EveryCtcssToneRoundTrips)
{
    for (int tenths = 0; tenths < 4000; ++tenths) {
        const auto [c0, c1] = encodeCtcss(tenths);
        ASSERT_EQ(ctcssTenths(c0, c1), tenths);
    }
    EXPECT_EQ(encodeCtcss(885), (CodeBytes { 0x85, 0x08 }));
    EXPECT_EQ(encodeCtcss(670), (CodeBytes { 0x70, 0x06 }));
    EXPECT_EQ(encodeCtcss(2541), (CodeBytes { 0x41, 0x25 }));
    EXPECT_EQ(formatCtcss(0x70, 0x06), "67.0");
}

TEST(SignallingCodec, EveryCdcssCodeRoundTrips)
{
    for (int value = 0; value < 512; ++value) {
        const auto c0 = static_cast<std::uint8_t>(value & 0xFF);
        const auto c1 = static_cast<std::uint8_t>(value >> 8);
        const auto code = encodeCdcss(cdcssDigits(c0, c1));
        ASSERT_TRUE(code);
        ASSERT_EQ(*code, (CodeBytes { c0, c1 })) << value;
    }
    EXPECT_EQ(encodeCdcss(23), (CodeBytes { 0x13, 0x00 }));
    EXPECT_EQ(encodeCdcss(754), (CodeBytes { 0xEC, 0x01 }));
    EXPECT_EQ(formatCdcss(0xEC, 0x01), "754");
    for (int bad : { 8, 19, 780, 778, 1000, -1 })
        EXPECT_FALSE(encodeCdcss(bad)) << bad;
}

TEST(SignallingCodec, EncodingTouchesOnlyItsBytes)
{
    Record r {};
    r.fill(0xFF);
    encodeSignalling(r, Side::Transmit, SignallingKind::Cdcss, *encodeCdcss(754));
    EXPECT_EQ(r[7], 0x5F);
    EXPECT_EQ(r[8], 0xEC);
    EXPECT_EQ(r[9], 0x01); // the other bits of C1 cleared
    EXPECT_EQ(r[12], 0xFF);

    encodeSignalling(r, Side::Transmit, SignallingKind::Off, {});
    EXPECT_EQ(r[7], 0x0F);
    EXPECT_EQ(r[8], 0xEC); // off keeps the code
    encodeTwoTone(r, Side::Receive, 7);
    EXPECT_EQ(r[2], 0x8F);
    EXPECT_EQ(r[11], 7);
    EXPECT_EQ(r[3], 0xFF);
}
