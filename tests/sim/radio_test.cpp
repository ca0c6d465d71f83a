// The simulated radio as a program on the other end of the cable meets it: bytes in, bytes out,
// on a clock the test moves, and what the radio then holds.

#include "sim/radio.h"

#include "core/model/defaults.h"
#include "core/model/frequency_form.h"
#include "program_records.h"
#include "radio_driver.h"
#include "sim/read_out_stream.h"

#include <gtest/gtest.h>

#include <optional>

using namespace korvane;
using namespace korvane::sim;
using namespace korvane::sim::test;
using namespace std::chrono_literals;

namespace {

RadioMemory memoryOf(int modelIndex, std::optional<std::uint8_t> code = std::nullopt)
{
    RadioMemory memory = memoryFromImage(model::defaultImage(modelIndex));
    if (code) setModelCode(memory, *code);
    return memory;
}

// Sends every record with the program's 0.1 s pause after it; returns what came back.
Bytes program(RadioDriver& driver, const std::vector<Record12>& records)
{
    Bytes replies;
    for (const Record12& r : records) {
        const Bytes out = driver.send(r, 100ms);
        replies.insert(replies.end(), out.begin(), out.end());
    }
    return replies;
}

Bytes adjust(const model::Record& channel, std::uint8_t value)
{
    Bytes packet { 0x54 };
    packet.insert(packet.end(), channel.begin(), channel.begin() + 10);
    packet.push_back(value);
    return packet;
}

struct Step {
    Bytes in;
    std::chrono::milliseconds wait;
    Bytes out;
};

TEST(Radio, Exchanges)
{
    const Bytes stream0 = readOutStream(memoryOf(0), Generation::Newer);
    const model::Record centre3 = model::defaultAlignmentTable(3)[0];
    struct Row {
        const char* name;
        Generation generation;
        std::uint8_t version;
        RadioMemory memory;
        std::vector<Step> steps;
    };
    const std::vector<Row> rows {
        { "older handshakes", Generation::Older, 9, memoryOf(4),
            { { bytesOf("rEAD"), 0ms, { 0x0E } }, { bytesOf("pROGRAM"), 0ms, { 0x0E } } } },
        { "newer handshake with version", Generation::Newer, 1, memoryOf(6),
            { { bytesOf("rEAD"), 0ms, { 0x05, 0x01 } } } },
        { "a code no model has", Generation::Newer, 5, memoryOf(0, 0xC8),
            { { bytesOf("pROGRAM"), 0ms, { 0xC8, 0x05 } } } },
        { "commands in pieces, go-ahead late", Generation::Newer, 1, memoryOf(0),
            { { bytesOf("OK"), 0ms, {} }, { bytesOf("rE"), 10ms, {} }, { bytesOf("A"), 10ms, {} },
                { bytesOf("D"), 10s, { 0x00, 0x01 } }, { bytesOf("O"), 0ms, {} }, { bytesOf("K"), 0ms, stream0 },
                { bytesOf("OK"), 0ms, {} } } },
        { "stray bytes and half commands", Generation::Older, 1, memoryOf(1),
            { { bytesOf("xyz\r\nrrEAD"), 0ms, { 0x01 } }, { { 0x57, 0x00, 0x00, 0x08 }, 0ms, {} },
                { bytesOf("pROG"), 600ms, {} }, { bytesOf("RAM"), 0ms, {} } } },
        { "a handshake during programming starts over", Generation::Newer, 1, memoryOf(0),
            { { bytesOf("pROGRAM"), 100ms, { 0x00, 0x01 } },
                { { 0x57, 0x00, 0x00, 0x08, 1, 2, 3, 4, 5, 6, 7, 8 }, 0ms, {} },
                { bytesOf("rEAD"), 0ms, { 0x00, 0x01 } } } },
        { "alignment: start, adjust, end", Generation::Newer, 1, memoryOf(3),
            { { bytesOf("tEST0"), 0ms, { 0x03, 0x01, kDefaultAlignmentValue } }, { adjust(centre3, 77), 0ms, {} },
                { bytesOf("END"), 0ms, {} }, { bytesOf("tEST0"), 0ms, { 0x03, 0x01, 77 } },
                { bytesOf("CANCEL"), 0ms, {} }, { bytesOf("tEST0"), 0ms, { 0x03, 0x01, 77 } } } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RadioConfig config;
        config.generation = row.generation;
        config.version = row.version;
        RadioDriver driver(config, row.memory);
        for (const Step& step : row.steps)
            EXPECT_EQ(driver.send(step.in, step.wait), step.out) << std::string(step.in.begin(), step.in.end());
    }
}

// An older radio hears channels in the 5 kHz form and keeps them in the image form; it reads them
// out again exactly as programmed, and settings past the sixteenth are its own.
TEST(Radio, OlderRadioStoresChannelsBackInImageForm)
{
    RadioConfig older;
    older.generation = Generation::Older;
    RadioDriver driver(older, memoryOf(0));
    model::ChannelTable line {};
    // 146.010 MHz: 29202 units of 5 kHz on the line, 58404 units of 2.5 kHz in the image.
    line[0] = { 0x12, 0x72, 0x08, 0, 0, 0x12, 0x72, 0x08, 0, 0, 0x01, 0, 0, 0, 0, 0 };
    // 410.000 MHz in 6.25 kHz units: the step flag sits in bit 1 on the line, in bit 2 in the image.
    line[1] = { 0x40, 0x00, 0x0B, 0, 0, 0x40, 0x00, 0x03, 0, 0, 0, 0, 0, 0, 0, 0 };
    for (int ch = 2; ch < 16; ++ch)
        line[ch] = line[0];
    model::SettingsBlock settings {};
    settings[0] = 0x80;
    settings[15] = 0x42;
    settings[16] = 0x55; // not sent

    EXPECT_EQ(driver.send("pROGRAM", 100ms), (Bytes { 0x00 }));
    const std::vector<Record12> records = programRecords(line, settings, nullptr, 0x00);
    EXPECT_EQ(program(driver, records), (Bytes { 0x4F, 0x4B }));

    model::RadioImage expected = model::defaultImage(0);
    const model::Record rec0 { 0x24, 0xE4, 0x08, 0, 0, 0x24, 0xE4, 0x08, 0, 0, 0x01, 0, 0, 0, 0, 0 };
    expected.channels.fill(rec0);
    expected.channels[1] = { 0x40, 0x00, 0x0D, 0, 0, 0x40, 0x00, 0x05, 0, 0, 0, 0, 0, 0, 0, 0 };
    std::copy_n(settings.begin(), 16, expected.settings.begin());
    EXPECT_EQ(driver.radio().memory().image, expected);
    EXPECT_EQ(driver.radio().exchangesDone(), 1);

    EXPECT_FALSE(driver.send("rEAD").empty());
    const Bytes stream = driver.send("OK");
    for (std::size_t r = 0; r < 32; ++r)
        EXPECT_EQ(Bytes(stream.begin() + static_cast<long>(r) * 12, stream.begin() + static_cast<long>(r) * 12 + 12),
            records[r]);
}

// Records of any length and place are stored where they say, within the tables, once the run ends
// after half a second of quiet.
TEST(Radio, RecordsOfOtherLengthsAndPlaces)
{
    RadioDriver driver(RadioConfig {}, memoryOf(0));
    driver.send("pROGRAM");
    driver.send(Bytes { 0x57, 0x00, 0x38, 0x02, 0xAA, 0xBB }); // channel 3, bytes 8-9
    driver.send(Bytes { 0x57, 0x00, 0x40, 0x00 }); // no data
    driver.send(Bytes { 0x57, 0x02, 0x1A, 0x01, 0xCC }); // spare area: not kept
    driver.send(Bytes { 0x57, 0x02, 0xC0, 0x01, 0xDD }); // beyond the parameter table
    driver.send(Bytes { 0x57, 0x00, 0x0C, 0x08, 1, 2, 3, 4, 5, 6, 7, 8 }); // runs past the record
    driver.send(Bytes { 0x57, 0x05, 0x00, 0x01, 0xEE }); // another area
    driver.send(Bytes { 0x57, 0x02, 0x9E, 0x02, 0x11, 0x22 }); // parameter record 7, bytes 14-15
    const model::RadioImage defaults = model::defaultImage(0);
    EXPECT_EQ(driver.radio().memory().image, defaults); // nothing replaced until the run ends
    driver.wait(499ms);
    EXPECT_TRUE(driver.take().empty());
    driver.wait(1ms);
    EXPECT_EQ(driver.take(), (Bytes { 0x4F, 0x4B }));
    model::RadioImage expected = defaults;
    expected.channels[3][8] = 0xAA;
    expected.channels[3][9] = 0xBB;
    expected.parameters[7][14] = 0x11;
    expected.parameters[7][15] = 0x22;
    EXPECT_EQ(driver.radio().memory().image, expected);
}

} // namespace
