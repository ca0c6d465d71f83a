#include "sim/radio.h"

#include "core/model/defaults.h"
#include "program_records.h"
#include "radio_driver.h"
#include "sim/read_out_stream.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace korvane;
using namespace korvane::sim;
using namespace korvane::sim::test;
using namespace std::chrono_literals;

namespace {

RadioConfig withFaults(Faults faults, Generation generation = Generation::Newer)
{
    RadioConfig c;
    c.generation = generation;
    c.faults = faults;
    return c;
}

RadioMemory defaults(int modelIndex = 0) { return memoryFromImage(model::defaultImage(modelIndex)); }

// The program's handshake: up to six attempts, 80 ms apart, until something comes back.
std::pair<int, Bytes> handshake(RadioDriver& driver, std::string_view command)
{
    for (int attempt = 1; attempt <= 6; ++attempt) {
        const Bytes reply = driver.send(command, 80ms);
        if (!reply.empty()) return { attempt, reply };
    }
    return { 0, {} };
}

} // namespace

TEST(RadioFaults, SilentNeverAnswers)
{
    RadioDriver driver(withFaults({ .silent = true }), defaults());
    for (std::string_view command : { "rEAD", "pROGRAM", "tEST0" })
        EXPECT_EQ(handshake(driver, command).first, 0) << command;
    EXPECT_TRUE(driver.send("OK").empty());
    EXPECT_NE(driver.log().find("silent: not answered"), std::string::npos);
}

TEST(RadioFaults, AnswerOnTheNthAttempt)
{
    for (int n : { 1, 2, 6 }) {
        RadioDriver driver(withFaults({ .answerOn = n }), defaults());
        const auto [attempt, reply] = handshake(driver, "rEAD");
        EXPECT_EQ(attempt, n);
        EXPECT_EQ(reply, (Bytes { 0x00, 0x01 }));
        EXPECT_EQ(driver.send("OK").size(), 684u);
        // The next exchange counts its attempts afresh, even straight after the last one.
        EXPECT_EQ(handshake(driver, "pROGRAM").first, n);
    }
}

TEST(RadioFaults, AnswerBeyondSixAttemptsNeverComes)
{
    RadioDriver driver(withFaults({ .answerOn = 7 }), defaults());
    EXPECT_EQ(handshake(driver, "rEAD").first, 0);
    driver.radio().lineClosed(driver.now()); // the program gives up and closes its port
    EXPECT_EQ(handshake(driver, "rEAD").first, 0);
    driver.wait(500ms); // a quiet line ends a run of attempts too
    EXPECT_EQ(handshake(driver, "rEAD").first, 0);
}

TEST(RadioFaults, AttemptsBeforeAQuietSpellDoNotCount)
{
    RadioDriver driver(withFaults({ .answerOn = 3 }), defaults());
    driver.send("rEAD", 80ms);
    driver.send("rEAD", 500ms);
    EXPECT_EQ(handshake(driver, "rEAD").first, 3);
}

TEST(RadioFaults, ShortStream)
{
    for (Generation generation : { Generation::Older, Generation::Newer }) {
        const RadioMemory memory = defaults(3);
        const Bytes full = readOutStream(memory, generation);
        for (std::size_t n :
            { std::size_t { 0 }, std::size_t { 1 }, std::size_t { 419 }, std::size_t { 683 }, std::size_t { 2000 } }) {
            RadioDriver driver(withFaults({ .shortStream = n }, generation), memory);
            driver.send("rEAD");
            const Bytes stream = driver.send("OK");
            const std::size_t expected = std::min(n, full.size());
            EXPECT_EQ(stream, Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(expected)));
            EXPECT_FALSE(driver.hungUp());
            EXPECT_EQ(driver.radio().exchangesDone(), 1);
        }
    }
}

TEST(RadioFaults, GarbageHasTheRightLengthAndNoRecordStart)
{
    for (Generation generation : { Generation::Older, Generation::Newer }) {
        RadioDriver driver(withFaults({ .garbage = true }, generation), defaults());
        EXPECT_FALSE(driver.send("rEAD").empty());
        const Bytes stream = driver.send("OK");
        EXPECT_EQ(stream.size(), generation == Generation::Older ? 420u : 684u);
        EXPECT_EQ(std::count(stream.begin(), stream.end(), 0x57), 0);
    }
    RadioDriver driver(withFaults({ .shortStream = 100, .garbage = true }), defaults());
    driver.send("rEAD");
    EXPECT_EQ(driver.send("OK").size(), 100u);
}

TEST(RadioFaults, DropAfterHangsUpMidStream)
{
    const RadioMemory memory = defaults(2);
    const Bytes full = readOutStream(memory, Generation::Newer);
    RadioDriver driver(withFaults({ .dropAfter = 200 }), memory);
    driver.send("rEAD");
    const Bytes stream = driver.send("OK");
    EXPECT_EQ(stream, Bytes(full.begin(), full.begin() + 200));
    EXPECT_TRUE(driver.hungUp());
    EXPECT_EQ(driver.radio().exchangesDone(), 1);

    // Back on a new line, the radio answers again, and drops again.
    driver.radio().hungUp(driver.now());
    EXPECT_EQ(driver.send("rEAD"), (Bytes { 0x02, 0x01 }));
    EXPECT_EQ(driver.send("OK").size(), 200u);
    EXPECT_NE(driver.log().find("the radio hung up"), std::string::npos);
}

TEST(RadioFaults, DropAfterTheWholeStreamStillHangsUp)
{
    RadioDriver driver(withFaults({ .dropAfter = 420 }, Generation::Older), defaults());
    driver.send("rEAD");
    EXPECT_EQ(driver.send("OK").size(), 420u);
    EXPECT_TRUE(driver.hungUp());
}

TEST(RadioFaults, ShortStreamBeforeTheDropPointNeverDrops)
{
    RadioDriver driver(withFaults({ .shortStream = 50, .dropAfter = 200 }), defaults());
    driver.send("rEAD");
    EXPECT_EQ(driver.send("OK").size(), 50u);
    EXPECT_FALSE(driver.hungUp());
}

TEST(RadioFaults, ReadOutFaultsLeaveProgrammingAlone)
{
    RadioDriver driver(withFaults({ .shortStream = 10, .garbage = true, .dropAfter = 5 }), defaults());
    EXPECT_EQ(driver.send("pROGRAM"), (Bytes { 0x00, 0x01 }));
    Bytes replies;
    for (int r = 0; r < 56; ++r) {
        const Bytes out = driver.send(Bytes { 0x57, 0x03, 0xD8, 0x08, 0x00, 0, 0, 0, 0, 0, 0, 0 }, 100ms);
        replies.insert(replies.end(), out.begin(), out.end());
    }
    EXPECT_FALSE(driver.hungUp());
    EXPECT_EQ(replies, (Bytes { 0x4F, 0x4B }));
    EXPECT_EQ(driver.radio().exchangesDone(), 1);
}

TEST(RadioFaults, StoreWrongKeepsOneByteFlipped)
{
    const RadioMemory before = defaults(3);
    RadioDriver driver(withFaults({ .storeWrong = MemoryByte { 0x00, 0x25 } }), before);
    EXPECT_EQ(driver.send("pROGRAM"), (Bytes { 0x03, 0x01 }));
    Bytes replies;
    for (const Record12& record :
        programRecords(before.image.channels, before.image.settings, &before.image.parameters, 0x03)) {
        const Bytes out = driver.send(record, 100ms);
        replies.insert(replies.end(), out.begin(), out.end());
    }
    EXPECT_EQ(replies, (Bytes { 0x4F, 0x4B }));
    RadioMemory expected = before;
    expected.image.channels[2][5] ^= 0x01;
    EXPECT_EQ(driver.radio().memory(), expected);
    EXPECT_NE(driver.log().find("(byte 0x25 stored wrong)"), std::string::npos);

    // The read-out sends what the radio holds, the wrong byte with it.
    driver.send("rEAD");
    const Bytes stream = driver.send("OK", 3000ms);
    EXPECT_EQ(stream, readOutStream(expected, Generation::Newer));
}
