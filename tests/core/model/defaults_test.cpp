#include "core/model/defaults.h"
#include "core/model/frequency_codec.h"

#include <gtest/gtest.h>

using namespace korvane::model;

namespace {

Record rec(std::initializer_list<int> bytes)
{
    Record r {};
    int k = 0;
    for (int b : bytes)
        r[k++] = static_cast<std::uint8_t>(b);
    return r;
}

} // namespace

TEST(Defaults, ChannelRecordOfEveryModel)
{
    const Record expected[] = {
        rec({ 0xC0, 0xDA, 0x00, 0, 0, 0xC0, 0xDA, 0x08 }), rec({ 0x60, 0xEA, 0x00, 0, 0, 0x60, 0xEA, 0x08 }),
        rec({ 0x40, 0x00, 0x05, 0, 0, 0x40, 0x00, 0x0D }), rec({ 0x40, 0x19, 0x05, 0, 0, 0x40, 0x19, 0x0D }),
        rec({ 0x00, 0x2C, 0x05, 0, 0, 0x00, 0x2C, 0x0D }), rec({ 0x00, 0xE1, 0x04, 0, 0, 0x00, 0xE1, 0x0C }),
        rec({ 0x80, 0xED, 0x04, 0, 0, 0x80, 0xED, 0x0C }),
    };
    const char* mhz[] = { "140.00000", "150.00000", "410.00000", "450.00000", "480.00000", "360.00000", "380.00000" };
    for (int m = 0; m < 7; ++m) {
        EXPECT_EQ(defaultChannelRecord(m), expected[m]) << m;
        EXPECT_EQ(formatFrequency(expected[m], Side::Receive), mhz[m]);
        EXPECT_EQ(formatFrequency(expected[m], Side::Transmit), mhz[m]);
    }
    EXPECT_EQ(defaultChannelRecord(-1), Record {});
}

TEST(Defaults, AlignmentTableOfEveryModel)
{
    // Receive / transmit of the high end, centre and low end test channels.
    const char* expected[7][3][2] = {
        { { "149.90000", "149.97500" }, { "143.10000", "143.00000" }, { "136.10000", "136.00000" } },
        { { "173.90000", "173.97500" }, { "162.10000", "162.00000" }, { "150.10000", "150.00000" } },
        { { "419.90000", "419.97500" }, { "410.10000", "410.00000" }, { "400.10000", "400.00000" } },
        { { "469.90000", "469.97500" }, { "460.10000", "460.00000" }, { "450.10000", "450.00000" } },
        { { "489.90000", "489.97500" }, { "480.10000", "480.00000" }, { "470.10000", "470.00000" } },
        { { "369.90000", "369.97500" }, { "360.10000", "360.00000" }, { "350.10000", "350.00000" } },
        { { "389.90000", "389.97500" }, { "380.10000", "380.00000" }, { "370.10000", "370.00000" } },
    };
    for (int m = 0; m < 7; ++m) {
        const AlignmentTable table = defaultAlignmentTable(m);
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(formatFrequency(table[r], Side::Receive), expected[m][r][0]) << m << "/" << r;
            EXPECT_EQ(formatFrequency(table[r], Side::Transmit), expected[m][r][1]) << m << "/" << r;
            // Open, transmit allowed, signalling off.
            EXPECT_EQ(table[r][2] & 0xF8, 0x08);
            EXPECT_EQ(table[r][7] & 0xF8, 0x08);
            for (int k : { 3, 4, 8, 9, 10, 11, 12, 13, 14, 15 })
                EXPECT_EQ(table[r][k], 0);
        }
    }
    // Spot-check the raw bytes of one model against the published table.
    const AlignmentTable t2 = defaultAlignmentTable(2);
    EXPECT_EQ(t2[0], rec({ 0x70, 0x06, 0x0D, 0, 0, 0x7C, 0x06, 0x0D }));
    EXPECT_EQ(t2[2], rec({ 0x10, 0xFA, 0x0C, 0, 0, 0x00, 0xFA, 0x0C }));
}

TEST(Defaults, ParameterTableIsTheSameForEveryModel)
{
    const ParameterTable& p = defaultParameterTable();
    EXPECT_EQ(p[0], rec({ 0x21, 0x00, 0x39, 0x00, 0x01, 0x01, 0x02, 0x05, 0x01, 0xE8, 0x02, 0xC9, 0x01 }));
    EXPECT_EQ(p[4], rec({ 0x29, 0x00, 0x46, 0x00, 0x01, 0x01, 0x02, 0x05, 0x01, 0xBA, 0x02, 0x2E, 0x06 }));
    EXPECT_EQ(p[9], rec({ 0x33, 0x00, 0x5D, 0x00, 0x01, 0x01, 0x02, 0x05, 0x01, 0xE1, 0x01, 0xF7, 0x00 }));
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(p[r][0], 0x21 + 2 * r);
}

TEST(Defaults, ResetImageWritesEveryTableButKeepsTheSpareSettings)
{
    for (int m = 0; m < 7; ++m) {
        RadioImage image;
        image.modelIndex = static_cast<std::int16_t>(m);
        image.settings.fill(0xEE);
        for (Record& r : image.channels)
            r.fill(0x77);
        resetImage(image);
        const std::uint8_t settings[13] = { 0xC0, 0x03, 0x00, 0x05, 0x00, 0x00, 0x30, 0x06, 0x00, 0x00, 0x02, 0x05, 0x28 };
        for (int k = 0; k < 13; ++k)
            EXPECT_EQ(image.settings[k], settings[k]) << k;
        for (int k = 13; k < 32; ++k)
            EXPECT_EQ(image.settings[k], 0xEE) << k;
        for (const Record& r : image.channels)
            EXPECT_EQ(r, defaultChannelRecord(m));
        EXPECT_EQ(image.parameters, defaultParameterTable());
        EXPECT_EQ(image.alignment, defaultAlignmentTable(m));
    }
}

TEST(Defaults, NewImageClearsEverythingAndStartsAtModelZero)
{
    RadioImage image = defaultImage(3);
    image.settings.fill(0xEE);
    image.unknownModelCode = 9;
    newImage(image);
    EXPECT_EQ(image, defaultImage(0));
    for (int k = 13; k < 32; ++k)
        EXPECT_EQ(image.settings[k], 0);
    EXPECT_EQ(image.unknownModelCode, -1);
}

TEST(Defaults, AlignmentDefaultsNeedAModel)
{
    RadioImage image = defaultImage(1);
    image.modelIndex = -1;
    loadAlignmentDefaults(image);
    EXPECT_EQ(image.alignment, defaultAlignmentTable(1));
}
