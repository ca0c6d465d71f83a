#include "sim/radio.h"

#include "core/model/defaults.h"
#include "radio_driver.h"

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

RadioMemory memory(int modelIndex, std::uint8_t startValue = kDefaultAlignmentValue)
{
    RadioMemory m = memoryFromImage(model::defaultImage(modelIndex));
    m.alignment.fill(startValue);
    return m;
}

Bytes adjustPacket(const model::Record& channel, std::uint8_t value)
{
    Bytes packet { 0x54 };
    packet.insert(packet.end(), channel.begin(), channel.begin() + 10);
    packet.push_back(value);
    return packet;
}

} // namespace

TEST(RadioAlignment, StartRepliesByGeneration)
{
    struct Row {
        Generation generation;
        int model;
        std::uint8_t version;
        std::string_view command;
        Bytes reply;
    };
    const Row rows[] = {
        { Generation::Older, 0, 1, "tEST0", { 0x00, 0x80 } }, // short form
        { Generation::Older, 4, 1, "tESTB", { 0x0E, 0x80 } },
        { Generation::Newer, 4, 1, "tEST9", { 0x0E, 0x01, 0x80 } }, // long form
        { Generation::Newer, 6, 2, "tESTA", { 0x05, 0x02, 0x80 } },
    };
    for (const Row& row : rows) {
        RadioDriver driver(config(row.generation, row.version), memory(row.model));
        EXPECT_EQ(driver.send(row.command), row.reply) << row.command;
    }
    RadioDriver driver(config(Generation::Newer), memory(0));
    EXPECT_TRUE(driver.send("tESTC").empty()); // no such item
    EXPECT_TRUE(driver.send("tEST").empty());
}

TEST(RadioAlignment, EveryItemKeepsItsOwnValue)
{
    RadioMemory m = memory(1);
    for (int item = 0; item < kAlignmentItems; ++item)
        m.alignment[static_cast<std::size_t>(item)] = static_cast<std::uint8_t>(10 + item);
    RadioDriver driver(config(Generation::Older), m);
    const std::string digits = "0123456789AB";
    for (int item = 0; item < kAlignmentItems; ++item) {
        EXPECT_EQ(driver.send(std::string("tEST") + digits[static_cast<std::size_t>(item)], 200ms),
            (Bytes { 0x01, static_cast<std::uint8_t>(10 + item) }));
        EXPECT_EQ(driver.radio().itemUnderAdjustment(), item);
    }
}

TEST(RadioAlignment, AdjustThenEndKeepsTheValue)
{
    const model::AlignmentTable tests = model::defaultAlignmentTable(0);
    RadioDriver driver(config(Generation::Newer), memory(0, 100));
    EXPECT_EQ(driver.send("tEST5", 200ms), (Bytes { 0x00, 0x01, 100 }));
    // The first packet carries the radio's own value and follows the start reply directly.
    EXPECT_TRUE(driver.send(adjustPacket(tests[1], 100), 250ms).empty());
    // Every later one comes after the item command again.
    EXPECT_EQ(driver.send("tEST5", 200ms), (Bytes { 0x00, 0x01, 100 }));
    driver.send(adjustPacket(tests[1], 101), 250ms);
    EXPECT_EQ(driver.send("tEST5", 200ms), (Bytes { 0x00, 0x01, 101 }));
    driver.send(adjustPacket(tests[1], 0xFF), 250ms);
    EXPECT_EQ(driver.radio().memory().alignment[5], 0xFF);
    EXPECT_EQ(*driver.radio().lastTestChannel(),
        (std::array<std::uint8_t, 10> { 0x98, 0xDF, 0x08, 0, 0, 0x70, 0xDF, 0x08, 0, 0 }));
    EXPECT_TRUE(driver.send("END", 250ms).empty());
    EXPECT_EQ(driver.radio().memory().alignment[5], 0xFF);
    EXPECT_FALSE(driver.radio().itemUnderAdjustment());
    EXPECT_EQ(driver.radio().exchangesDone(), 1);
    EXPECT_EQ(driver.send("tEST5"), (Bytes { 0x00, 0x01, 0xFF }));
}

TEST(RadioAlignment, CancelRestoresTheValueItStartedWith)
{
    const model::AlignmentTable tests = model::defaultAlignmentTable(2);
    RadioDriver driver(config(Generation::Older), memory(2, 77));
    driver.send("tESTB", 200ms);
    driver.send(adjustPacket(tests[0], 77), 250ms);
    for (std::uint8_t value : { std::uint8_t { 78 }, std::uint8_t { 83 }, std::uint8_t { 0 } }) {
        driver.send("tESTB", 200ms);
        driver.send(adjustPacket(tests[0], value), 250ms);
    }
    EXPECT_EQ(driver.radio().memory().alignment[11], 0);
    driver.send("CANCEL", 250ms);
    EXPECT_EQ(driver.radio().memory().alignment[11], 77);
    EXPECT_EQ(driver.radio().exchangesDone(), 1);
}

TEST(RadioAlignment, AnotherItemWithoutEndDropsTheOpenChange)
{
    const model::AlignmentTable tests = model::defaultAlignmentTable(0);
    RadioDriver driver(config(Generation::Newer), memory(0, 50));
    driver.send("tEST1", 200ms);
    driver.send(adjustPacket(tests[1], 60), 250ms);
    EXPECT_EQ(driver.send("tEST2", 200ms), (Bytes { 0x00, 0x01, 50 }));
    EXPECT_EQ(driver.radio().memory().alignment[1], 50);
    EXPECT_EQ(driver.radio().itemUnderAdjustment(), 2);
    driver.send(adjustPacket(tests[1], 61), 250ms);
    driver.send("END", 250ms);
    EXPECT_EQ(driver.radio().memory().alignment[2], 61);
}

TEST(RadioAlignment, PacketsAndEndsOutsideAnItemAreIgnored)
{
    const model::AlignmentTable tests = model::defaultAlignmentTable(0);
    RadioDriver driver(config(Generation::Newer), memory(0));
    const RadioMemory before = driver.radio().memory();
    EXPECT_TRUE(driver.send(adjustPacket(tests[1], 3)).empty());
    EXPECT_TRUE(driver.send("END").empty());
    EXPECT_TRUE(driver.send("CANCEL").empty());
    EXPECT_EQ(driver.radio().memory(), before);
    EXPECT_EQ(driver.radio().exchangesDone(), 0);
}

TEST(RadioAlignment, ModelMismatchCancel)
{
    // The program sends "CANCEL" right after a start reply of the wrong model, with no packet.
    RadioDriver driver(config(Generation::Newer), memory(3, 90));
    EXPECT_EQ(driver.send("tEST0"), (Bytes { 0x03, 0x01, 90 }));
    EXPECT_TRUE(driver.send("CANCEL").empty());
    EXPECT_EQ(driver.radio().memory().alignment[0], 90);
}

TEST(RadioAlignment, ClosedLineDropsTheOpenChange)
{
    const model::AlignmentTable tests = model::defaultAlignmentTable(0);
    RadioDriver driver(config(Generation::Newer), memory(0, 20));
    driver.send("tEST7", 200ms);
    driver.send(adjustPacket(tests[1], 21), 250ms);
    driver.radio().lineClosed(driver.now());
    EXPECT_EQ(driver.radio().memory().alignment[7], 20);
}

TEST(RadioAlignment, AnswerOnCountsStartsOnly)
{
    RadioConfig c = config(Generation::Newer);
    c.faults.answerOn = 2;
    const model::AlignmentTable tests = model::defaultAlignmentTable(0);
    RadioDriver driver(c, memory(0));
    EXPECT_TRUE(driver.send("tEST4", 200ms).empty());
    EXPECT_EQ(driver.send("tEST4", 200ms).size(), 3u);
    driver.send(adjustPacket(tests[1], 1), 250ms);
    EXPECT_EQ(driver.send("tEST4", 200ms).size(), 3u); // the repeat inside the adjustment
}

TEST(RadioAlignment, PacketBytesMayLookLikeCommands)
{
    model::Record channel {};
    for (std::size_t k = 0; k < 10; ++k)
        channel[k] = static_cast<std::uint8_t>("rEADOKpROG"[k]);
    RadioDriver driver(config(Generation::Newer), memory(0));
    driver.send("tEST3");
    EXPECT_TRUE(driver.send(adjustPacket(channel, 0x57)).empty());
    EXPECT_EQ(driver.radio().memory().alignment[3], 0x57);
}
