#include "core/link/data_record.h"

#include "core/model/defaults.h"
#include "core/model/frequency_form.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::link;

namespace {

// Every byte of the image different, so a record taken from the wrong place shows.
model::RadioImage patternImage(int modelIndex)
{
    model::RadioImage image = model::defaultImage(modelIndex);
    for (int c = 0; c < 16; ++c)
        for (int b = 0; b < 16; ++b)
            image.channels[c][b] = static_cast<std::uint8_t>(c * 16 + b);
    for (int b = 0; b < 32; ++b)
        image.settings[b] = static_cast<std::uint8_t>(0xA0 + b);
    for (int p = 0; p < 10; ++p)
        for (int b = 0; b < 16; ++b)
            image.parameters[p][b] = static_cast<std::uint8_t>(0x30 + p * 16 + b);
    return image;
}

DataRecord expected(std::uint8_t kind, std::uint8_t address, const std::uint8_t* data)
{
    DataRecord r { 0x57, kind, address, 0x08 };
    std::copy(data, data + 8, r.begin() + 4);
    return r;
}

} // namespace

TEST(DataRecord, MakesTwelveBytes)
{
    const std::array<std::uint8_t, 8> data { 1, 2, 3, 4, 5, 6, 7, 8 };
    EXPECT_EQ(makeDataRecord(0x02, 0x28, data), (DataRecord { 0x57, 0x02, 0x28, 0x08, 1, 2, 3, 4, 5, 6, 7, 8 }));
}

TEST(DataRecord, NewerSequenceEveryRecord)
{
    // Frequencies are left alone for a newer radio, so any bytes will do as channels.
    const model::RadioImage image = patternImage(3);
    const auto records = programmingRecords(image, Generation::Newer);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 56u);
    for (int r = 0; r < 56; ++r) {
        DataRecord want {};
        if (r < 32)
            want = expected(0x00, static_cast<std::uint8_t>(r * 8), image.channels[r / 2].data() + (r % 2) * 8);
        else if (r < 34)
            want = expected(0x02, static_cast<std::uint8_t>((r - 32) * 8), image.settings.data() + (r - 32) * 8);
        else if (r < 54)
            want = expected(
                0x02, static_cast<std::uint8_t>((r - 30) * 8), image.parameters[(r - 34) / 2].data() + (r % 2) * 8);
        else
            want = DataRecord { 0x57, 0x03, 0xD8, 0x08, 0x03, 0, 0, 0, 0, 0, 0, 0 };
        EXPECT_EQ((*records)[r], want) << "record " << r;
    }
    // A few records spelled out.
    EXPECT_EQ((*records)[1], (DataRecord { 0x57, 0x00, 0x08, 0x08, 8, 9, 10, 11, 12, 13, 14, 15 }));
    EXPECT_EQ((*records)[31], (DataRecord { 0x57, 0x00, 0xF8, 0x08, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF }));
    EXPECT_EQ((*records)[33], (DataRecord { 0x57, 0x02, 0x08, 0x08, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF }));
    EXPECT_EQ((*records)[34], (DataRecord { 0x57, 0x02, 0x20, 0x08, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37 }));
    EXPECT_EQ((*records)[53][2], 0xB8);
    EXPECT_EQ((*records)[55], (*records)[54]);
}

TEST(DataRecord, OlderSequenceUsesFiveKilohertzForm)
{
    model::RadioImage image = patternImage(2);
    // Channel 0: 140.000 MHz receive in 2.5 kHz units (56000), 410.000 MHz transmit in 6.25 kHz
    // units (65600), channel open. Older radios get 28000 and the step flag moved to bit 1.
    image.channels[0] = { 0xC0, 0xDA, 0x08, 0x00, 0x00, 0x40, 0x00, 0x0D, 0x00, 0x00, 0x01, 0, 0, 0x33, 0x44, 0x55 };
    const model::RadioImage before = image;
    const auto records = programmingRecords(image, Generation::Older);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 35u);
    EXPECT_EQ(image, before) << "the image itself stays in image form";
    EXPECT_EQ((*records)[0], (DataRecord { 0x57, 0x00, 0x00, 0x08, 0x60, 0x6D, 0x08, 0x00, 0x00, 0x40, 0x00, 0x0B }));
    EXPECT_EQ((*records)[1], (DataRecord { 0x57, 0x00, 0x08, 0x08, 0x00, 0x00, 0x01, 0, 0, 0x33, 0x44, 0x55 }));
    model::ChannelTable converted = image.channels;
    model::to5kHzForm(converted);
    for (int r = 0; r < 32; ++r)
        EXPECT_EQ(
            (*records)[r], expected(0x00, static_cast<std::uint8_t>(r * 8), converted[r / 2].data() + (r % 2) * 8))
            << "record " << r;
    EXPECT_EQ((*records)[32], expected(0x02, 0x00, image.settings.data()));
    EXPECT_EQ((*records)[33], expected(0x02, 0x08, image.settings.data() + 8));
    EXPECT_EQ((*records)[34], (DataRecord { 0x57, 0x03, 0xD8, 0x08, 0x02, 0, 0, 0, 0, 0, 0, 0 }));
}

TEST(DataRecord, ModelRecordCarriesTheModelCode)
{
    struct Row {
        int index;
        std::uint8_t code;
    };
    for (const Row row :
        { Row { 0, 0 }, Row { 1, 1 }, Row { 2, 2 }, Row { 3, 3 }, Row { 4, 14 }, Row { 5, 4 }, Row { 6, 5 } }) {
        model::RadioImage image = model::defaultImage(row.index);
        for (Generation g : { Generation::Older, Generation::Newer }) {
            const auto records = programmingRecords(image, g);
            ASSERT_TRUE(records);
            EXPECT_EQ(records->back()[4], row.code) << "model index " << row.index;
            EXPECT_EQ(records->size() * 12, g == Generation::Older ? 420u : 672u);
        }
    }
}

TEST(DataRecord, NoRecordsForAnImageWithoutModel)
{
    model::RadioImage image = model::defaultImage(0);
    image.modelIndex = -1;
    image.unknownModelCode = 9;
    EXPECT_FALSE(programmingRecords(image, Generation::Newer));
    EXPECT_FALSE(programmingRecords(image, Generation::Older));
}
