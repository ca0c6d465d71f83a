#include "sim/read_out_stream.h"

#include "core/model/defaults.h"
#include "core/model/models.h"
#include "program_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace korvane;
using namespace korvane::sim;
using korvane::sim::test::record;
using Bytes = std::vector<std::uint8_t>;

namespace {

void append(Bytes& stream, const Bytes& r) { stream.insert(stream.end(), r.begin(), r.end()); }

} // namespace

TEST(ReadOutStream, OlderRadioSends35RecordsIn5kHzForm)
{
    const RadioMemory memory = memoryFromImage(model::defaultImage(3)); // 450 MHz, 6.25 kHz step
    Bytes expected;
    // 450.000 MHz in 6.25 kHz units keeps its count; the step flag moves from bit 2 to bit 1.
    const std::uint8_t first[8] = { 0x40, 0x19, 0x03, 0x00, 0x00, 0x40, 0x19, 0x0B };
    const std::uint8_t zeros[8] = {};
    for (int ch = 0; ch < 16; ++ch) {
        append(expected, record(0x00, static_cast<std::uint8_t>(ch << 4), first));
        append(expected, record(0x00, static_cast<std::uint8_t>(ch << 4 | 8), zeros));
    }
    const std::uint8_t settings0[8] = { 0xC0, 0x03, 0x00, 0x05, 0x00, 0x00, 0x30, 0x06 };
    const std::uint8_t settings8[8] = { 0x00, 0x00, 0x02, 0x05, 0x28, 0x00, 0x00, 0x00 };
    append(expected, record(0x02, 0x00, settings0));
    append(expected, record(0x02, 0x08, settings8));
    const std::uint8_t model[8] = { 0x03 };
    append(expected, record(0x03, 0xD8, model));

    const Bytes stream = readOutStream(memory, Generation::Older);
    ASSERT_EQ(stream.size(), 420u);
    EXPECT_EQ(stream, expected);
}

TEST(ReadOutStream, OlderRadioHalvesA2_5kHzCount)
{
    // 140.000 MHz is 56000 units of 2.5 kHz and 28000 units of 5 kHz on the line.
    const Bytes stream = readOutStream(memoryFromImage(model::defaultImage(0)), Generation::Older);
    const Bytes channel0(stream.begin() + 4, stream.begin() + 12);
    EXPECT_EQ(channel0, (Bytes { 0x60, 0x6D, 0x00, 0x00, 0x00, 0x60, 0x6D, 0x08 }));
}

TEST(ReadOutStream, NewerRadioSends57RecordsInImageForm)
{
    RadioMemory memory = memoryFromImage(model::defaultImage(4)); // code 14
    memory.image.settings[20] = 0xAB; // beyond byte 15: sent, though the program does not keep it
    memory.image.channels[5][13] = 0x77;
    Bytes expected;
    const std::uint8_t first[8] = { 0x00, 0x2C, 0x05, 0x00, 0x00, 0x00, 0x2C, 0x0D };
    const std::uint8_t zeros[8] = {};
    const std::uint8_t ch5second[8] = { 0, 0, 0, 0, 0, 0x77, 0, 0 };
    for (int ch = 0; ch < 16; ++ch) {
        append(expected, record(0x00, static_cast<std::uint8_t>(ch << 4), first));
        append(expected, record(0x00, static_cast<std::uint8_t>(ch << 4 | 8), ch == 5 ? ch5second : zeros));
    }
    const std::uint8_t settings0[8] = { 0xC0, 0x03, 0x00, 0x05, 0x00, 0x00, 0x30, 0x06 };
    const std::uint8_t settings8[8] = { 0x00, 0x00, 0x02, 0x05, 0x28, 0x00, 0x00, 0x00 };
    const std::uint8_t settings16[8] = { 0, 0, 0, 0, 0xAB, 0, 0, 0 };
    append(expected, record(0x02, 0x00, settings0));
    append(expected, record(0x02, 0x08, settings8));
    append(expected, record(0x02, 0x10, settings16));
    append(expected, record(0x02, 0x18, zeros));
    const model::ParameterTable& parameters = model::defaultParameterTable();
    for (int rec = 0; rec < 10; ++rec) {
        append(expected, record(0x02, static_cast<std::uint8_t>(0x20 + rec * 0x10), parameters[rec].data()));
        append(expected, record(0x02, static_cast<std::uint8_t>(0x28 + rec * 0x10), parameters[rec].data() + 8));
    }
    const std::uint8_t model[8] = { 0x0E };
    append(expected, record(0x03, 0xD8, model));

    const Bytes stream = readOutStream(memory, Generation::Newer);
    ASSERT_EQ(stream.size(), 684u);
    EXPECT_EQ(stream, expected);
    // The first parameter record as it travels.
    EXPECT_EQ(Bytes(stream.begin() + 36 * 12, stream.begin() + 37 * 12),
        (Bytes { 0x57, 0x02, 0x20, 0x08, 0x21, 0x00, 0x39, 0x00, 0x01, 0x01, 0x02, 0x05 }));
}

TEST(ReadOutStream, SizesPerGeneration)
{
    for (int m = 0; m < 7; ++m) {
        const RadioMemory memory = memoryFromImage(model::defaultImage(m));
        EXPECT_EQ(readOutStream(memory, Generation::Older).size(), readOutSize(Generation::Older));
        EXPECT_EQ(readOutStream(memory, Generation::Newer).size(), readOutSize(Generation::Newer));
        EXPECT_EQ(readOutRecords(memory, Generation::Newer).back()[4], model::modelCodeFromIndex(m));
        EXPECT_EQ(readOutRecords(memory, Generation::Older).back()[4], model::modelCodeFromIndex(m));
    }
}

TEST(ReadOutStream, GarbageHoldsNoRecordStart)
{
    for (std::size_t length : { std::size_t { 0 }, std::size_t { 420 }, std::size_t { 684 }, std::size_t { 5000 } }) {
        const Bytes noise = garbageStream(length);
        EXPECT_EQ(noise.size(), length);
        EXPECT_EQ(std::count(noise.begin(), noise.end(), 0x57), 0);
    }
    const Bytes noise = garbageStream(684);
    EXPECT_GT(std::set<std::uint8_t>(noise.begin(), noise.end()).size(), 200u); // noise, not a pattern
}
