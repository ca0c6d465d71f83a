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

// The newer sequence is checked record by record where programming sends it.
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
