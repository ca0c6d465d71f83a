#include "sim/radio.h"

#include "core/model/defaults.h"
#include "core/model/frequency_form.h"
#include "program_records.h"
#include "radio_driver.h"
#include "sim/read_out_stream.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::sim;
using namespace korvane::sim::test;
using namespace std::chrono_literals;

namespace {

RadioConfig config(Generation generation, std::uint8_t version = 1)
{
    RadioConfig c;
    c.generation = generation;
    c.version = version;
    return c;
}

RadioMemory memoryWithCode(int modelIndex, std::optional<std::uint8_t> code = std::nullopt)
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

} // namespace

TEST(Radio, HandshakeReplies)
{
    struct Row {
        Generation generation;
        int model;
        std::optional<std::uint8_t> code;
        std::uint8_t version;
        Bytes reply;
    };
    const Row rows[] = {
        { Generation::Older, 0, std::nullopt, 1, { 0x00 } },
        { Generation::Older, 3, std::nullopt, 1, { 0x03 } },
        { Generation::Older, 4, std::nullopt, 9, { 0x0E } }, // no version byte, whatever it is
        { Generation::Newer, 4, std::nullopt, 1, { 0x0E, 0x01 } },
        { Generation::Newer, 6, std::nullopt, 1, { 0x05, 0x01 } },
        { Generation::Newer, 0, 0x02, 0x05, { 0x02, 0x05 } },
        { Generation::Newer, 0, 0xC8, 0x00, { 0xC8, 0x00 } },
        { Generation::Older, 0, 0x0F, 1, { 0x0F } },
    };
    for (const Row& row : rows) {
        for (std::string_view command : { "rEAD", "pROGRAM" }) {
            RadioDriver driver(config(row.generation, row.version), memoryWithCode(row.model, row.code));
            EXPECT_EQ(driver.send(command), row.reply) << command << " model " << row.model;
        }
    }
}

TEST(Radio, CommandsArriveInPieces)
{
    RadioDriver driver(config(Generation::Newer), memoryWithCode(2));
    EXPECT_TRUE(driver.send("rE", 10ms).empty());
    EXPECT_TRUE(driver.send("A", 10ms).empty());
    EXPECT_EQ(driver.send("D"), (Bytes { 0x02, 0x01 }));
    EXPECT_TRUE(driver.send("O").empty());
    EXPECT_EQ(driver.send("K").size(), 684u);
}

TEST(Radio, OtherBytesAreIgnoredAndLogged)
{
    RadioDriver driver(config(Generation::Older), memoryWithCode(1));
    EXPECT_EQ(driver.send("xyz\r\nrrEAD"), (Bytes { 0x01 }));
    EXPECT_NE(driver.log().find("not a command: ignored     78 79 7A 0D 0A 72"), std::string::npos) << driver.log();
    // Stray bytes are logged together, when a command comes or the line falls quiet.
    EXPECT_TRUE(driver.send("re", 100ms).empty());
    EXPECT_TRUE(driver.send("ad", 500ms).empty());
    EXPECT_NE(driver.log().find("72 65 61 64"), std::string::npos) << driver.log();
    EXPECT_TRUE(driver.send(Bytes { 0x57, 0x00, 0x00, 0x08 }).empty()); // a record with no programming run

    // A half command waits; after a quiet spell it is given up and logged.
    EXPECT_TRUE(driver.send("pROG").empty());
    driver.wait(600ms);
    EXPECT_NE(driver.log().find("70 52 4F 47"), std::string::npos) << driver.log();
    EXPECT_TRUE(driver.send("RAM").empty());
}

TEST(Radio, ReadOutFollowsTheGoAhead)
{
    for (Generation generation : { Generation::Older, Generation::Newer }) {
        const RadioMemory memory = memoryWithCode(0);
        RadioDriver driver(config(generation), memory);
        EXPECT_TRUE(driver.send("OK").empty()); // not before a handshake
        EXPECT_FALSE(driver.send("rEAD").empty());
        const Bytes stream = driver.send("OK");
        EXPECT_EQ(stream, readOutStream(memory, generation));
        EXPECT_EQ(driver.radio().exchangesDone(), 1);
        EXPECT_TRUE(driver.send("OK").empty()); // one read-out per handshake
    }
}

TEST(Radio, GoAheadMayComeLate)
{
    // The program may show a message box between the handshake and the go-ahead.
    RadioDriver driver(config(Generation::Newer, 5), memoryWithCode(0));
    EXPECT_EQ(driver.send("rEAD", 10s), (Bytes { 0x00, 0x05 }));
    EXPECT_EQ(driver.send("OK").size(), 684u);
}

TEST(Radio, NewerRadioIsProgrammedWith56Records)
{
    const RadioMemory before = memoryWithCode(0);
    RadioDriver driver(config(Generation::Newer), before);
    model::RadioImage image = model::defaultImage(1);
    image.channels[3] = { 0x25, 0xE4, 0x08, 0x85, 0x08, 0x25, 0xE4, 0x38, 0x13, 0x00, 0x05, 0x02, 0x03, 0, 0, 0 };
    image.settings[12] = 0x2A;
    image.parameters[9][15] = 0x99;

    EXPECT_EQ(driver.send("pROGRAM", 100ms), (Bytes { 0x00, 0x01 }));
    const std::vector<Record12> records = programRecords(image.channels, image.settings, &image.parameters, 0x01);
    ASSERT_EQ(records.size(), 56u);
    const std::vector<Record12> allButLast(records.begin(), records.end() - 1);
    EXPECT_TRUE(program(driver, allButLast).empty());
    EXPECT_EQ(driver.send(records.back()), (Bytes { 0x4F, 0x4B }));

    const RadioMemory& after = driver.radio().memory();
    EXPECT_EQ(after.image.channels, image.channels);
    EXPECT_EQ(after.image.settings, image.settings);
    EXPECT_EQ(after.image.parameters, image.parameters);
    EXPECT_EQ(after.modelCode, 0x01);
    EXPECT_EQ(after.image.modelIndex, 1);
    EXPECT_EQ(driver.radio().exchangesDone(), 1);

    // What it now holds is what it reads out.
    EXPECT_FALSE(driver.send("rEAD").empty());
    EXPECT_EQ(driver.send("OK"), readOutStream(after, Generation::Newer));
}

TEST(Radio, OlderRadioStoresChannelsBackInImageForm)
{
    RadioDriver driver(config(Generation::Older), memoryWithCode(0));
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
    settings[16] = 0x55; // not sent: stays as the radio had it

    EXPECT_EQ(driver.send("pROGRAM", 100ms), (Bytes { 0x00 }));
    const std::vector<Record12> records = programRecords(line, settings, nullptr, 0x00);
    ASSERT_EQ(records.size(), 35u);
    const Bytes replies = program(driver, records);
    EXPECT_EQ(replies, (Bytes { 0x4F, 0x4B }));

    const RadioMemory& after = driver.radio().memory();
    const model::Record rec0 { 0x24, 0xE4, 0x08, 0, 0, 0x24, 0xE4, 0x08, 0, 0, 0x01, 0, 0, 0, 0, 0 };
    const model::Record rec1 { 0x40, 0x00, 0x0D, 0, 0, 0x40, 0x00, 0x05, 0, 0, 0, 0, 0, 0, 0, 0 };
    EXPECT_EQ(after.image.channels[0], rec0);
    EXPECT_EQ(after.image.channels[1], rec1);
    EXPECT_EQ(after.image.channels[15], rec0);
    EXPECT_EQ(after.image.settings[0], 0x80);
    EXPECT_EQ(after.image.settings[15], 0x42);
    EXPECT_EQ(after.image.settings[16], 0x00);
    EXPECT_EQ(after.image.parameters, model::defaultParameterTable());

    // And it reads them out in the 5 kHz form again, exactly as programmed.
    EXPECT_FALSE(driver.send("rEAD").empty());
    const Bytes stream = driver.send("OK");
    for (int r = 0; r < 32; ++r)
        EXPECT_EQ(Bytes(stream.begin() + r * 12, stream.begin() + r * 12 + 12), records[static_cast<std::size_t>(r)]);
}

TEST(Radio, ProgrammingTakesAModelCodeWithoutModel)
{
    RadioDriver driver(config(Generation::Newer), memoryWithCode(2));
    model::RadioImage image = model::defaultImage(2);
    driver.send("pROGRAM");
    program(driver, programRecords(image.channels, image.settings, &image.parameters, 0x09));
    EXPECT_EQ(driver.radio().memory().modelCode, 0x09);
    EXPECT_EQ(driver.radio().memory().image.modelIndex, -1);
    EXPECT_EQ(driver.radio().memory().image.unknownModelCode, 9);
    EXPECT_EQ(driver.send("rEAD"), (Bytes { 0x09, 0x01 }));
}

TEST(Radio, ProgrammingEndsAfterAQuietLine)
{
    RadioDriver driver(config(Generation::Newer), memoryWithCode(0));
    model::RadioImage image = model::defaultImage(0);
    image.settings[3] = 0x12;
    std::vector<Record12> records = programRecords(image.channels, image.settings, &image.parameters, 0x00);
    records.resize(40);
    driver.send("pROGRAM", 100ms);
    EXPECT_TRUE(program(driver, records).empty());
    driver.wait(300ms);
    EXPECT_TRUE(driver.take().empty());
    driver.wait(100ms); // 0.5 s after the last record
    EXPECT_EQ(driver.take(), (Bytes { 0x4F, 0x4B }));
    EXPECT_EQ(driver.radio().memory().image.settings[3], 0x12);
    EXPECT_NE(driver.log().find("quiet after 40 records"), std::string::npos);
}

TEST(Radio, ProgrammingWaitsForItsFirstRecord)
{
    // The program asks its questions after the handshake; the radio waits as long as it takes.
    RadioDriver driver(config(Generation::Older), memoryWithCode(0));
    model::RadioImage image = model::defaultImage(0);
    driver.send("pROGRAM", 30s);
    model::ChannelTable line = image.channels;
    model::to5kHzForm(line);
    EXPECT_EQ(program(driver, programRecords(line, image.settings, nullptr, 0)), (Bytes { 0x4F, 0x4B }));
    EXPECT_EQ(driver.radio().memory().image.channels, image.channels);
}

TEST(Radio, RecordsOfOtherLengthsAndPlaces)
{
    RadioDriver driver(config(Generation::Newer), memoryWithCode(0));
    driver.send("pROGRAM");
    driver.send(Bytes { 0x57, 0x00, 0x38, 0x02, 0xAA, 0xBB }); // channel 3, bytes 8-9
    driver.send(Bytes { 0x57, 0x00, 0x40, 0x00 }); // no data
    driver.send(Bytes { 0x57, 0x02, 0x1A, 0x01, 0xCC }); // spare area: not kept
    driver.send(Bytes { 0x57, 0x02, 0xC0, 0x01, 0xDD }); // beyond the parameter table
    driver.send(Bytes { 0x57, 0x00, 0x0C, 0x08, 1, 2, 3, 4, 5, 6, 7, 8 }); // runs past the record
    driver.send(Bytes { 0x57, 0x05, 0x00, 0x01, 0xEE }); // another area
    driver.send(Bytes { 0x57, 0x02, 0x9E, 0x02, 0x11, 0x22 }); // parameter record 7, bytes 14-15
    const RadioMemory& held = driver.radio().memory();
    const model::RadioImage defaults = model::defaultImage(0);
    EXPECT_EQ(held.image, defaults); // nothing replaced until the run ends
    driver.wait(500ms);
    EXPECT_EQ(driver.take(), (Bytes { 0x4F, 0x4B }));
    model::RadioImage expected = defaults;
    expected.channels[3][8] = 0xAA;
    expected.channels[3][9] = 0xBB;
    expected.parameters[7][14] = 0x11;
    expected.parameters[7][15] = 0x22;
    EXPECT_EQ(driver.radio().memory().image, expected);
    EXPECT_NE(driver.log().find("beyond the table: not kept"), std::string::npos) << driver.log();
}

TEST(Radio, CompletionReplies)
{
    for (const Bytes& completion : { Bytes { 0x4F, 0x4B }, Bytes { 0x4F }, Bytes { 0x4B, 0x4F }, Bytes {} }) {
        RadioConfig c = config(Generation::Older);
        c.completion = completion;
        RadioDriver driver(c, memoryWithCode(0));
        const model::RadioImage image = model::defaultImage(0);
        model::ChannelTable line = image.channels;
        model::to5kHzForm(line);
        driver.send("pROGRAM");
        EXPECT_EQ(program(driver, programRecords(line, image.settings, nullptr, 0)), completion);
        EXPECT_EQ(driver.radio().exchangesDone(), 1);
    }
}

TEST(Radio, ProgrammedHandlerSeesTheNewMemory)
{
    RadioDriver driver(config(Generation::Newer), memoryWithCode(0));
    std::vector<RadioMemory> seen;
    driver.radio().setProgrammedHandler([&](const RadioMemory& m) { seen.push_back(m); });
    const model::RadioImage image = model::defaultImage(5);
    driver.send("pROGRAM");
    program(driver, programRecords(image.channels, image.settings, &image.parameters, 0x04));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].image.channels, image.channels);
    EXPECT_EQ(seen[0].image.modelIndex, 5);
    EXPECT_EQ(seen[0].image.alignment, image.alignment); // the saved file's test channels follow the band
}

TEST(Radio, ClosedLineEndsTheExchange)
{
    RadioDriver driver(config(Generation::Newer), memoryWithCode(0));
    driver.send("rEAD");
    driver.radio().lineClosed(driver.now());
    EXPECT_TRUE(driver.send("OK").empty());

    // Records stored before the line closed stay stored; no completion reply goes anywhere.
    const model::RadioImage image = model::defaultImage(1);
    driver.send("pROGRAM");
    std::vector<Record12> records = programRecords(image.channels, image.settings, &image.parameters, 0x01);
    records.resize(10);
    program(driver, records);
    driver.radio().lineClosed(driver.now());
    EXPECT_FALSE(driver.radio().hasOutput());
    EXPECT_EQ(driver.radio().memory().image.channels[4], image.channels[4]);
    EXPECT_EQ(driver.radio().memory().modelCode, 0x00);
    EXPECT_EQ(driver.radio().exchangesDone(), 0);
}

TEST(Radio, AHandshakeDuringProgrammingStartsOver)
{
    RadioDriver driver(config(Generation::Newer), memoryWithCode(0));
    const model::RadioImage image = model::defaultImage(1);
    driver.send("pROGRAM");
    std::vector<Record12> records = programRecords(image.channels, image.settings, &image.parameters, 0x01);
    records.resize(3);
    program(driver, records);
    EXPECT_EQ(driver.send("rEAD"), (Bytes { 0x00, 0x01 }));
    EXPECT_EQ(driver.radio().memory().image.channels[1], image.channels[1]);
    EXPECT_EQ(driver.send("OK").size(), 684u);
}
