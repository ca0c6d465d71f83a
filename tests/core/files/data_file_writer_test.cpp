// What each kind of data file looks like on disk, byte for byte.

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "core/model/frequency_form.h"
#include "file_builder.h"
#include "sample_images.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace korvane::files {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFixture(const std::string& name)
{
    std::ifstream in(std::string(KORVANE_TEST_DATA) + "/files/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes slice(const Bytes& bytes, std::size_t offset, std::size_t count)
{
    if (offset > bytes.size()) return {};
    count = std::min(count, bytes.size() - offset);
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
        bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

// Golden files of the default image of the first model, checked by eye against the layout once.
TEST(DataFileWriter, DefaultImageMatchesGoldenFile)
{
    struct Row {
        FileKind kind;
        const char* fixture;
        std::size_t size;
    };
    for (const Row& row : { Row { FileKind::Rdw, "default_model0.rdw", 643 },
             Row { FileKind::Rdh, "default_model0.rdh", 431 }, Row { FileKind::Rdhax, "default_model0.rdhax", 613 } }) {
        SCOPED_TRACE(row.fixture);
        const Bytes written = encodeDataFile(model::defaultImage(0), row.kind);
        EXPECT_EQ(written.size(), row.size);
        EXPECT_EQ(written, readFixture(row.fixture));
    }
}

// Every kind spelled out item by item, independently of the writer: the header text, rdw's extra
// item, the tables (rdh's in the 5 kHz form and without the parameter table), the model code and
// the flag that says whether the tables are in the image form.
TEST(DataFileWriter, EveryItemOfEveryKind)
{
    const model::RadioImage image = test::patternedImage(7, 4); // model index 4 has code 14
    model::ChannelTable channels5k = image.channels;
    model::AlignmentTable alignment5k = image.alignment;
    model::to5kHzForm(channels5k);
    model::to5kHzForm(alignment5k);
    using test::FileBuilder;
    const Bytes rdw = FileBuilder()
                          .text("RDW41 ORV file. Marrowby ORV Signal & Radio Works Co., Ltd.")
                          .integer(1)
                          .table(image.channels)
                          .table(image.parameters)
                          .block(image.settings)
                          .table(image.alignment)
                          .integer(14)
                          .integer(1)
                          .bytes();
    const Bytes rdh = FileBuilder()
                          .text("This is ORV format file (*.rdh)")
                          .table(channels5k)
                          .block(image.settings)
                          .table(alignment5k)
                          .integer(14)
                          .integer(0)
                          .bytes();
    const Bytes rdhax = FileBuilder()
                            .text("This is ORV format file (*.rdhax)")
                            .table(image.channels)
                            .table(image.parameters)
                            .block(image.settings)
                            .table(image.alignment)
                            .integer(14)
                            .integer(1)
                            .bytes();
    EXPECT_EQ(encodeDataFile(image, FileKind::Rdw), rdw);
    EXPECT_EQ(encodeDataFile(image, FileKind::Rdh), rdh);
    EXPECT_EQ(encodeDataFile(image, FileKind::Rdhax), rdhax);
    // The bound pairs of a table, written record count first.
    EXPECT_EQ(
        slice(rdhax, 313, 20), (Bytes { 0x11, 0x20, 0x02, 0x00, 10, 0, 0, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0 }));
}

TEST(DataFileWriter, ModelCodeWritten)
{
    struct Row {
        std::int16_t modelIndex;
        std::int16_t unknownModelCode;
        std::int16_t written;
    };
    // Index -1 writes the code the file came with, or -1 when the image never had one.
    for (const Row& row : { Row { 0, -1, 0 }, Row { 3, -1, 3 }, Row { 4, -1, 14 }, Row { 5, -1, 4 }, Row { 6, -1, 5 },
             Row { -1, 9, 9 }, Row { -1, 13, 13 }, Row { -1, -1, -1 } }) {
        model::RadioImage image = model::defaultImage(0);
        image.modelIndex = row.modelIndex;
        image.unknownModelCode = row.unknownModelCode;
        for (FileKind kind : { FileKind::Rdw, FileKind::Rdh, FileKind::Rdhax }) {
            const Bytes written = encodeDataFile(image, kind);
            const Bytes expected { 0x02, 0x00, static_cast<std::uint8_t>(row.written & 0xFF),
                static_cast<std::uint8_t>((row.written >> 8) & 0xFF) };
            EXPECT_EQ(slice(written, written.size() - 8, 4), expected)
                << "index " << row.modelIndex << " kind " << static_cast<int>(kind);
        }
    }
}

// 146.0125 MHz is an odd count of 2.5 kHz units (58405); older radios count in 5 kHz units and
// the half rounds to the even neighbour, 29202 (146.0100 MHz). The image keeps 146.0125 MHz.
TEST(DataFileWriter, RdhRoundsOddChannelsToTheEvenFiveKhzNeighbour)
{
    model::RadioImage image = model::defaultImage(0);
    image.channels[0][0] = 0x25; // 58405 = 0xE425
    image.channels[0][1] = 0xE4;
    image.channels[0][2] = 0x00;
    const model::RadioImage before = image;

    const Bytes written = encodeDataFile(image, FileKind::Rdh);
    EXPECT_EQ(image, before);
    // Channel data starts at 55; byte k of record 0 is at 55 + 16k.
    EXPECT_EQ(written[55], 0x12); // 29202 = 0x7212
    EXPECT_EQ(written[55 + 16], 0x72);
    EXPECT_EQ(written[55 + 32], 0x00);

    const auto opened = decodeDataFile(written, "radio.rdh", image);
    ASSERT_TRUE(opened.ok());
    EXPECT_TRUE(opened->fiveKhzForm);
    const model::Record& r = opened->image.channels[0];
    EXPECT_EQ(r[0] | (r[1] << 8) | ((r[2] & 3) << 16), 58404); // 146.0100 MHz
    EXPECT_EQ(r[2], 0x00);
}

} // namespace
} // namespace korvane::files
