// Damaged files: every truncation and a range of corruptions of every kind either open or end
// in one of the four open messages, and never change the image the program holds (random damage
// is the fuzz targets' part).

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "file_builder.h"
#include "open_messages.h"
#include "sample_images.h"

#include <gtest/gtest.h>

namespace korvane::files {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Case {
    const char* what;
    Bytes bytes;
    const char* name;
    std::size_t headerSize; // a cut inside the header is a format failure, after it a read failure
};

std::vector<Case> cases()
{
    const model::RadioImage image = test::patternedImage(3, 4);
    model::RadioImage unknown = image;
    unknown.modelIndex = -1;
    unknown.unknownModelCode = 9;
    const Bytes kqv09 = test::FileBuilder()
                            .text("This is ORV format file (*.rdh)")
                            .table(image.channels)
                            .table(image.parameters)
                            .block(image.settings)
                            .table(image.alignment)
                            .integer(1)
                            .integer(0)
                            .bytes();
    return {
        { "rdw", encodeDataFile(image, FileKind::Rdw), "x.rdw", 63 },
        { "rdh", encodeDataFile(image, FileKind::Rdh), "x.rdh", 35 },
        { "rdhax", encodeDataFile(image, FileKind::Rdhax), "x.rdhax", 37 },
        { "rdhax of an unknown model", encodeDataFile(unknown, FileKind::Rdhax), "x.rdhax", 37 },
        { "kqv09", kqv09, "xkqv09", 35 },
    };
}

bool isDocumented(const OpenError& error)
{
    return error.kind != OpenFailure::Missing && error.message == test::openMessage(error.kind);
}

// The image the program holds when the file is opened; compared after every attempt.
const model::RadioImage kCurrent = test::patternedImage(99, 6);

TEST(DataFileSweep, EveryTruncationFails)
{
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(decodeDataFile(c.bytes, c.name, kCurrent).ok());
        const model::RadioImage before = kCurrent;
        for (std::size_t length = 0; length < c.bytes.size(); ++length) {
            const auto opened = decodeDataFile(std::span(c.bytes).first(length), c.name, kCurrent);
            ASSERT_FALSE(opened.ok()) << "cut at " << length;
            const OpenFailure expected = length < c.headerSize ? OpenFailure::Format : OpenFailure::Read;
            EXPECT_EQ(opened.error().kind, expected) << "cut at " << length;
            EXPECT_EQ(opened.error().message, test::openMessage(expected)) << "cut at " << length;
        }
        EXPECT_EQ(kCurrent, before);
    }
}

TEST(DataFileSweep, EveryByteChangedOpensOrFailsWithAMessage)
{
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.what);
        const model::RadioImage before = kCurrent;
        for (std::size_t offset = 0; offset < c.bytes.size(); ++offset)
            for (std::uint8_t change : std::initializer_list<std::uint8_t> { 0xFF, 0x01, 0x80, 0x7F, 0x10 }) {
                Bytes damaged = c.bytes;
                damaged[offset] = static_cast<std::uint8_t>(damaged[offset] ^ change);
                const auto opened = decodeDataFile(damaged, c.name, kCurrent);
                if (!opened.ok()) {
                    EXPECT_TRUE(isDocumented(opened.error())) << "offset " << offset << " xor " << int(change);
                }
                // Inside the header text any change is a format failure.
                if (offset < c.headerSize && offset >= 4) {
                    EXPECT_FALSE(opened.ok()) << "offset " << offset;
                }
            }
        EXPECT_EQ(kCurrent, before);
    }
}

} // namespace
} // namespace korvane::files
