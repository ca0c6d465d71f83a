// Opening data files: the reading modes, the model codes, the shapes a table may take and the
// messages for files that cannot be read.

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "core/model/frequency_form.h"
#include "file_builder.h"
#include "open_messages.h"
#include "sample_images.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace korvane::files {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::FileBuilder;

const std::string kRdw = "RDW41 ORV file. Marrowby ORV Signal & Radio Works Co., Ltd.";
const std::string kRdh = "This is ORV format file (*.rdh)";
const std::string kRdhax = "This is ORV format file (*.rdhax)";

// The image as a file that went through the 5 kHz form brings it back.
model::RadioImage throughFiveKhzForm(model::RadioImage image)
{
    model::to5kHzForm(image.channels);
    model::to5kHzForm(image.alignment);
    model::toImageForm(image.channels);
    model::toImageForm(image.alignment);
    return image;
}

// Tables a file marks as being in the 5 kHz form are converted on the way in.
model::RadioImage fromFiveKhzForm(model::RadioImage image)
{
    model::toImageForm(image.channels);
    model::toImageForm(image.alignment);
    return image;
}

// A file of the image with the model code and flag given, under the rdhax header or, as the older
// tool's rdh files, under the rdh header with a parameter table after the channel table.
Bytes fileWith(const std::string& header, const model::RadioImage& image, std::int16_t code, std::int16_t flag = 1)
{
    return FileBuilder()
        .text(header)
        .table(image.channels)
        .table(image.parameters)
        .block(image.settings)
        .table(image.alignment)
        .integer(code)
        .integer(flag)
        .bytes();
}
Bytes rdhaxFile(const model::RadioImage& image, std::int16_t code, std::int16_t flag = 1)
{
    return fileWith(kRdhax, image, code, flag);
}
Bytes kqv09File(const model::RadioImage& image, std::int16_t code, std::int16_t flag)
{
    return fileWith(kRdh, image, code, flag);
}

const model::RadioImage kCurrent = test::patternedImage(1, 0);
const model::RadioImage kFromFile = test::patternedImage(2, 3);

TEST(DataFileReader, ReadingModes)
{
    model::RadioImage keepsParameters = throughFiveKhzForm(kFromFile);
    keepsParameters.parameters = kCurrent.parameters;
    model::RadioImage kqv09 = kFromFile;
    kqv09.modelIndex = 0; // code 1 in these files is the first model
    model::RadioImage kqv09FiveKhz = fromFiveKhzForm(kqv09);

    struct Row {
        const char* what;
        Bytes bytes;
        const char* name;
        model::RadioImage expected;
        bool fiveKhzForm;
    };
    const std::vector<Row> rows {
        { "rdw", encodeDataFile(kFromFile, FileKind::Rdw), "b.rdw", kFromFile, false },
        { "rdhax", encodeDataFile(kFromFile, FileKind::Rdhax), "b.rdhax", kFromFile, false },
        { "rdh keeps the parameter table", encodeDataFile(kFromFile, FileKind::Rdh), "b.rdh", keepsParameters, true },
        { "kind by header, not by name", encodeDataFile(kFromFile, FileKind::Rdh), "b.rdw", keepsParameters, true },
        { "kind by header, not by name", encodeDataFile(kFromFile, FileKind::Rdw), "b.rdh", kFromFile, false },
        { "kqv09 name", kqv09File(kFromFile, 1, 1), "bkqv09", kqv09, false },
        { "kqv09 name, full path", kqv09File(kFromFile, 1, 1), "/a/b/radio.kqv09", kqv09, false },
        { "kqv09 name, 5 kHz form", kqv09File(kFromFile, 1, 0), "kqv09", kqv09FiveKhz, true },
        { "kqv09 only counts at the end", encodeDataFile(kFromFile, FileKind::Rdh), "kqv09.rdh", keepsParameters,
            true },
        { "kqv09 is case-sensitive", encodeDataFile(kFromFile, FileKind::Rdh), "bKQV09", keepsParameters, true },
        { "kqv09 name on an rdw file", encodeDataFile(kFromFile, FileKind::Rdw), "bkqv09", kFromFile, false },
        { "kqv09 name on an rdhax file", encodeDataFile(kFromFile, FileKind::Rdhax), "bkqv09", kFromFile, false },
        { "rdhax in the 5 kHz form", rdhaxFile(kFromFile, 3, 0), "b", fromFiveKhzForm(kFromFile), true },
        { "any non-zero flag is true", rdhaxFile(kFromFile, 3, 7), "b", kFromFile, false },
        { "any non-zero flag is true", rdhaxFile(kFromFile, 3, -1), "b", kFromFile, false },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.what) + " / " + row.name);
        const auto opened = decodeDataFile(row.bytes, row.name, kCurrent);
        ASSERT_TRUE(opened.ok()) << opened.error().message.text;
        EXPECT_EQ(opened->image, row.expected);
        EXPECT_EQ(opened->fiveKhzForm, row.fiveKhzForm);
    }
}

// An rdw file starts with one item the reader passes over, whatever its type.
TEST(DataFileReader, RdwSkipsOneItemOfAnyType)
{
    const auto rdwWith = [](const Bytes& first) {
        return FileBuilder()
            .text(kRdw)
            .raw(first)
            .table(kFromFile.channels)
            .table(kFromFile.parameters)
            .block(kFromFile.settings)
            .table(kFromFile.alignment)
            .integer(3)
            .integer(1)
            .bytes();
    };
    const Bytes three { 1, 2, 3 };
    const Bytes six { 1, 2, 3, 4, 5, 6 };
    struct Row {
        const char* what;
        Bytes first;
        bool ok;
    };
    const std::vector<Row> rows {
        { "integer", FileBuilder().integer(-5).bytes(), true },
        { "text", FileBuilder().text("anything at all").bytes(), true },
        { "empty text", FileBuilder().text("").bytes(), true },
        { "one-dimensional table", FileBuilder().block(three).bytes(), true },
        { "two-dimensional table", FileBuilder().shaped({ { 2 }, { 3 } }, six).bytes(), true },
        { "empty table", FileBuilder().shaped({ { 0 }, { 5000 } }, {}).bytes(), true },
        { "unknown type", Bytes { 0x03, 0x00, 0x00, 0x00 }, false },
        { "table of three dimensions", FileBuilder().shaped({ { 1 }, { 1 }, { 1 } }, three).bytes(), false },
        { "table of no dimension", FileBuilder().shaped({}, {}).bytes(), false },
        { "table larger than the file", FileBuilder().shaped({ { 0xFFFFFFFF }, { 0xFFFFFFFF } }, {}).bytes(), false },
        { "table just larger than the file", FileBuilder().shaped({ { 2000 } }, {}).bytes(), false },
        { "text longer than the file", Bytes { 0x08, 0x00, 0xFF, 0xFF }, false },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto opened = decodeDataFile(rdwWith(row.first), "b.rdw", kCurrent);
        ASSERT_EQ(opened.ok(), row.ok);
        if (row.ok)
            EXPECT_EQ(opened->image, kFromFile);
        else
            EXPECT_EQ(opened.error().kind, OpenFailure::Read);
    }
}

TEST(DataFileReader, ModelCodes)
{
    struct Row {
        std::int16_t code;
        bool kqv09;
        std::optional<std::int16_t> index; // nothing: the model message
    };
    const std::vector<Row> rows {
        { 0, false, 0 },
        { 1, false, 1 },
        { 2, false, 2 },
        { 3, false, 3 },
        { 14, false, 4 },
        { 4, false, 5 },
        { 5, false, 6 },
        { 6, false, -1 },
        { 10, false, -1 },
        { 13, false, -1 },
        { 15, false, {} },
        { 20, false, {} },
        { -1, false, {} },
        { -32768, false, {} },
        { 32767, false, {} },
        // The older tool's files swap the first two models and carry the index itself.
        { 0, true, 1 },
        { 1, true, 0 },
        { 2, true, 2 },
        { 4, true, 4 },
        { 6, true, 6 },
        { 7, true, -1 },
        { 14, true, -1 },
        { 15, true, {} },
        { -1, true, {} },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "code " << row.code << (row.kqv09 ? " kqv09" : ""));
        const Bytes bytes = row.kqv09 ? kqv09File(kFromFile, row.code, 1) : rdhaxFile(kFromFile, row.code);
        const auto opened = decodeDataFile(bytes, row.kqv09 ? "xkqv09" : "x.rdhax", kCurrent);
        if (!row.index) {
            ASSERT_FALSE(opened.ok());
            EXPECT_EQ(opened.error().kind, OpenFailure::Model);
            EXPECT_EQ(opened.error().message, test::openMessage(OpenFailure::Model));
            continue;
        }
        ASSERT_TRUE(opened.ok());
        EXPECT_EQ(opened->image.modelIndex, *row.index);
        // A code with no model stays with the image so that saving writes it back.
        EXPECT_EQ(opened->image.unknownModelCode, *row.index == -1 ? row.code : -1);
    }
}

TEST(DataFileReader, UnknownModelCodeSurvivesSaveAndOpen)
{
    model::RadioImage current = kCurrent;
    current.modelIndex = -1;
    current.unknownModelCode = 11; // left from an earlier file: must not leak into this one
    for (std::int16_t code = 6; code <= 13; ++code) {
        const auto first = decodeDataFile(rdhaxFile(kFromFile, code), "x.rdhax", current);
        ASSERT_TRUE(first.ok());
        for (FileKind kind : { FileKind::Rdw, FileKind::Rdh, FileKind::Rdhax }) {
            const auto again = decodeDataFile(encodeDataFile(first->image, kind), "x", kCurrent);
            ASSERT_TRUE(again.ok());
            EXPECT_EQ(again->image.modelIndex, -1);
            EXPECT_EQ(again->image.unknownModelCode, code);
        }
    }
    const auto known = decodeDataFile(rdhaxFile(kFromFile, 14), "x.rdhax", current);
    ASSERT_TRUE(known.ok());
    EXPECT_EQ(known->image.unknownModelCode, -1);
}

TEST(DataFileReader, BoundPairsInEitherOrder)
{
    for (bool channelsFirst : { true, false })
        for (bool parametersFirst : { true, false })
            for (bool alignmentFirst : { true, false }) {
                const Bytes bytes = FileBuilder()
                                        .text(kRdhax)
                                        .table(kFromFile.channels, channelsFirst)
                                        .table(kFromFile.parameters, parametersFirst)
                                        .block(kFromFile.settings)
                                        .table(kFromFile.alignment, alignmentFirst)
                                        .integer(3)
                                        .integer(1)
                                        .bytes();
                const auto opened = decodeDataFile(bytes, "x.rdhax", kCurrent);
                ASSERT_TRUE(opened.ok());
                EXPECT_EQ(opened->image, kFromFile);
            }
}

// Each row replaces the parameter table, the settings block or the alignment table of an
// otherwise good rdhax file; every such shape is a reading failure.
TEST(DataFileReader, OtherShapesAreRefused)
{
    const Bytes parameterData = FileBuilder::columnMajor(kFromFile.parameters);
    const Bytes alignmentData = FileBuilder::columnMajor(kFromFile.alignment);
    const Bytes settingsData(kFromFile.settings.begin(), kFromFile.settings.end());
    const auto item = [](std::initializer_list<test::Bound> bounds, const Bytes& data) {
        return FileBuilder().shaped(bounds, data).bytes();
    };
    enum Slot { Parameters, Settings, Alignment };
    struct Row {
        const char* what;
        Slot slot;
        Bytes replacement;
    };
    const std::vector<Row> rows {
        { "one dimension of 160", Parameters, item({ { 160 } }, parameterData) },
        { "9 records", Parameters, item({ { 9 }, { 16 } }, Bytes(parameterData.begin(), parameterData.end() - 16)) },
        { "11 records", Parameters, item({ { 11 }, { 16 } }, parameterData) },
        { "15 bytes per record", Parameters, item({ { 10 }, { 15 } }, parameterData) },
        { "three dimensions", Parameters, item({ { 10 }, { 16 }, { 1 } }, parameterData) },
        { "lower bound 1", Parameters, item({ { 10, 1 }, { 16 } }, parameterData) },
        { "lower bound 1 on the second pair", Parameters, item({ { 10 }, { 16, 1 } }, parameterData) },
        { "lower bound -1", Parameters, item({ { 16, -1 }, { 10 } }, parameterData) },
        { "huge counts", Parameters, item({ { 0xFFFFFFFF }, { 0xFFFFFFFF } }, parameterData) },
        { "text instead", Parameters, FileBuilder().text("x").bytes() },
        { "integer instead", Parameters, FileBuilder().integer(0).bytes() },
        { "settings of 31", Settings, item({ { 31 } }, Bytes(settingsData.begin(), settingsData.end() - 1)) },
        { "settings of 33", Settings, item({ { 33 } }, settingsData) },
        { "settings in two dimensions", Settings, item({ { 2 }, { 16 } }, settingsData) },
        { "settings with lower bound 1", Settings, item({ { 32, 1 } }, settingsData) },
        { "alignment of 16 records", Alignment, item({ { 16 }, { 16 } }, alignmentData) },
        { "alignment 3 by 3", Alignment, item({ { 3 }, { 3 } }, alignmentData) },
        { "alignment with lower bound 3", Alignment, item({ { 3, 3 }, { 16 } }, alignmentData) },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FileBuilder file;
        file.text(kRdhax).table(kFromFile.channels);
        if (row.slot == Parameters)
            file.raw(row.replacement);
        else
            file.table(kFromFile.parameters);
        if (row.slot == Settings)
            file.raw(row.replacement);
        else
            file.block(kFromFile.settings);
        if (row.slot == Alignment)
            file.raw(row.replacement);
        else
            file.table(kFromFile.alignment);
        file.integer(3).integer(1);
        const auto opened = decodeDataFile(file.bytes(), "x.rdhax", kCurrent);
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(opened.error().kind, OpenFailure::Read);
        EXPECT_EQ(opened.error().message, test::openMessage(OpenFailure::Read));
    }
}

TEST(DataFileReader, FailuresAfterTheHeader)
{
    const Bytes good = encodeDataFile(kFromFile, FileKind::Rdhax);
    struct Row {
        const char* what;
        Bytes bytes;
        const char* name;
    };
    const std::vector<Row> rows {
        { "header only", FileBuilder().text(kRdhax).bytes(), "x" },
        { "no flag", Bytes(good.begin(), good.end() - 4), "x" },
        { "flag cut short", Bytes(good.begin(), good.end() - 1), "x" },
        { "model code as text", FileBuilder().raw(Bytes(good.begin(), good.end() - 8)).text("ab").integer(1).bytes(),
            "x" },
        { "flag as a table", FileBuilder().raw(Bytes(good.begin(), good.end() - 4)).block(Bytes { 1 }).bytes(), "x" },
        { "rdh file read as kqv09", encodeDataFile(kFromFile, FileKind::Rdh), "xkqv09" },
        { "rdw without its extra item", FileBuilder().text(kRdw).raw(Bytes(good.begin() + 37, good.end())).bytes(),
            "x" },
        // A bad model code does not matter when the file fails to read at all.
        { "bad code, no flag", FileBuilder().raw(Bytes(good.begin(), good.end() - 8)).integer(99).bytes(), "x" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto opened = decodeDataFile(row.bytes, row.name, kCurrent);
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(opened.error().kind, OpenFailure::Read);
        EXPECT_EQ(opened.error().message, test::openMessage(OpenFailure::Read));
    }
}

TEST(DataFileReader, HeaderMustBeOneOfTheThree)
{
    const Bytes good = encodeDataFile(kFromFile, FileKind::Rdh);
    const Bytes afterHeader(good.begin() + 35, good.end());
    struct Row {
        const char* what;
        Bytes bytes;
    };
    const std::vector<Row> rows {
        { "ABC", Bytes { 0x08, 0x00, 0x03, 0x00, 0x41, 0x42, 0x43 } },
        { "empty file", Bytes {} },
        { "one byte", Bytes { 0x08 } },
        { "tag only", Bytes { 0x08, 0x00 } },
        { "three bytes", Bytes { 0x08, 0x00, 0x1F } },
        { "text cut short", Bytes(good.begin(), good.begin() + 20) },
        { "length beyond the file", Bytes { 0x08, 0x00, 0xFF, 0xFF, 0x41 } },
        { "integer first", FileBuilder().integer(1).raw(good).bytes() },
        { "table first", FileBuilder().block(Bytes { 1, 2 }).raw(good).bytes() },
        { "one character short", FileBuilder().text(kRdh.substr(0, 30)).raw(afterHeader).bytes() },
        { "one blank more", FileBuilder().text(kRdh + " ").raw(afterHeader).bytes() },
        { "other case", FileBuilder().text("THIS IS ORV FORMAT FILE (*.RDH)").raw(afterHeader).bytes() },
        { "empty text", FileBuilder().text("").raw(afterHeader).bytes() },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto opened = decodeDataFile(row.bytes, "x.rdh", kCurrent);
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(opened.error().kind, OpenFailure::Format);
        EXPECT_EQ(opened.error().message, test::openMessage(OpenFailure::Format));
    }
}

TEST(DataFileReader, TrailingBytesAreIgnored)
{
    const std::vector<Bytes> tails { Bytes { 0 }, Bytes(1000, 0xFF), FileBuilder().integer(5).text("more").bytes(),
        FileBuilder().text(kRdw).bytes() };
    for (FileKind kind : { FileKind::Rdw, FileKind::Rdh, FileKind::Rdhax }) {
        const Bytes bytes = encodeDataFile(kFromFile, kind);
        const auto plain = decodeDataFile(bytes, "x", kCurrent);
        ASSERT_TRUE(plain.ok());
        for (const Bytes& tail : tails) {
            Bytes longer = bytes;
            longer.insert(longer.end(), tail.begin(), tail.end());
            const auto opened = decodeDataFile(longer, "x", kCurrent);
            ASSERT_TRUE(opened.ok());
            EXPECT_EQ(opened->image, plain->image);
            EXPECT_EQ(opened->fiveKhzForm, plain->fiveKhzForm);
        }
    }
}

TEST(DataFileReader, GoldenFilesOpenAsTheDefaultImage)
{
    for (const char* name : { "default_model0.rdw", "default_model0.rdh", "default_model0.rdhax" }) {
        SCOPED_TRACE(name);
        const auto opened = openDataFile(std::string(KORVANE_TEST_DATA) + "/files/" + name, kCurrent);
        ASSERT_TRUE(opened.ok());
        model::RadioImage expected = model::defaultImage(0);
        if (std::string_view(name).ends_with(".rdh")) expected.parameters = kCurrent.parameters;
        EXPECT_EQ(opened->image, expected);
    }
}

// Files written by rdw and rdhax carry every table unchanged, for every model and any bytes.
TEST(DataFileReader, RoundTripKeepsEveryByte)
{
    for (std::uint32_t seed = 10; seed < 40; ++seed) {
        const auto index = static_cast<std::int16_t>(static_cast<int>(seed % 8) - 1);
        model::RadioImage image = test::patternedImage(seed, index);
        image.unknownModelCode = index == -1 ? static_cast<std::int16_t>(6 + seed % 8) : std::int16_t { -1 };
        for (FileKind kind : { FileKind::Rdw, FileKind::Rdhax }) {
            const auto opened = decodeDataFile(encodeDataFile(image, kind), "x", kCurrent);
            ASSERT_TRUE(opened.ok());
            EXPECT_EQ(opened->image, image) << "seed " << seed;
            EXPECT_FALSE(opened->fiveKhzForm);
        }
    }
}

TEST(DataFileReader, OpenReportsMissingFiles)
{
    for (const char* path : { "/nonexistent/korvane/file.rdw", "", "/", KORVANE_TEST_DATA }) {
        SCOPED_TRACE(path);
        const auto opened = openDataFile(path, kCurrent);
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(opened.error().kind, OpenFailure::Missing);
        EXPECT_EQ(opened.error().message, test::openMessage(OpenFailure::Missing));
    }
}

} // namespace
} // namespace korvane::files
