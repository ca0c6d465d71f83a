#include "sim/programming_session.h"

#include "core/model/defaults.h"
#include "core/model/frequency_form.h"

#include <cstdlib>

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::sim;
using Bytes = std::vector<std::uint8_t>;

TEST(ProgrammingSession, SaysWhereEachRecordWent)
{
    struct Row {
        Bytes record;
        std::string where;
    };
    const Row rows[] = {
        { { 0x57, 0x00, 0x00, 0x08, 0, 0, 0, 0, 0, 0, 0, 0 }, "channel 0, bytes 0-7" },
        { { 0x57, 0x00, 0xF8, 0x08, 0, 0, 0, 0, 0, 0, 0, 0 }, "channel 15, bytes 8-15" },
        { { 0x57, 0x00, 0xF9, 0x08, 0, 0, 0, 0, 0, 0, 0, 0 }, "channel 15, bytes 9-16, beyond the table: not kept" },
        { { 0x57, 0x02, 0x08, 0x08, 0, 0, 0, 0, 0, 0, 0, 0 }, "settings, bytes 8-15" },
        { { 0x57, 0x02, 0x18, 0x08, 0, 0, 0, 0, 0, 0, 0, 0 }, "spare settings area: not kept" },
        { { 0x57, 0x02, 0x20, 0x08, 0, 0, 0, 0, 0, 0, 0, 0 }, "parameter record 0, bytes 0-7" },
        { { 0x57, 0x02, 0xB8, 0x08, 0, 0, 0, 0, 0, 0, 0, 0 }, "parameter record 9, bytes 8-15" },
        { { 0x57, 0x02, 0xC0, 0x08, 0, 0, 0, 0, 0, 0, 0, 0 },
            "settings area address 0xC0: beyond the parameter table, not kept" },
        { { 0x57, 0x03, 0xD8, 0x08, 0x0E, 0, 0, 0, 0, 0, 0, 0 }, "model code 14" },
        { { 0x57, 0x03, 0xD0, 0x08, 0x0E, 0, 0, 0, 0, 0, 0, 0 }, "area 0x03 address 0xD0: not kept" },
        { { 0x57, 0x01, 0x00, 0x00 }, "area 0x01 address 0x00: not kept" },
        { { 0x57, 0x00, 0x10, 0x00 }, "channel 1, no data" },
    };
    ProgrammingSession session(memoryFromImage(model::defaultImage(0)), Generation::Newer);
    for (const Row& row : rows)
        EXPECT_EQ(session.store(row.record), row.where);
    EXPECT_EQ(session.recordCount(), static_cast<int>(std::size(rows)));
}

TEST(ProgrammingSession, CountsByGeneration)
{
    EXPECT_EQ(programRecordCount(Generation::Older), 35);
    EXPECT_EQ(programRecordCount(Generation::Newer), 56);
    for (Generation generation : { Generation::Older, Generation::Newer }) {
        ProgrammingSession session(memoryFromImage(model::defaultImage(0)), generation);
        const Bytes record { 0x57, 0x02, 0x00, 0x08, 0, 0, 0, 0, 0, 0, 0, 0 };
        for (int k = 1; k < programRecordCount(generation); ++k)
            session.store(record);
        EXPECT_FALSE(session.complete());
        session.store(record);
        EXPECT_TRUE(session.complete());
    }
}

TEST(ProgrammingSession, UntouchedChannelsSurviveTheOlderForm)
{
    // Channels on the 5 kHz or 6.25 kHz grid come back from the line form unchanged.
    for (int m = 0; m < 7; ++m) {
        const RadioMemory before = memoryFromImage(model::defaultImage(m));
        ProgrammingSession session(before, Generation::Older);
        EXPECT_EQ(session.result(), before) << m;
    }
}

TEST(ProgrammingSession, StoresOneByteWrong)
{
    struct Row {
        Generation generation;
        MemoryByte wrong;
        Bytes record;
        std::string where;
    };
    const Row rows[] = {
        { Generation::Newer, { 0x00, 0x25 }, { 0x57, 0x00, 0x20, 0x08, 1, 2, 3, 4, 5, 6, 7, 8 },
            "channel 2, bytes 0-7 (byte 0x25 stored wrong)" },
        { Generation::Newer, { 0x00, 0x25 }, { 0x57, 0x00, 0x28, 0x08, 1, 2, 3, 4, 5, 6, 7, 8 },
            "channel 2, bytes 8-15" },
        { Generation::Newer, { 0x02, 0x25 }, { 0x57, 0x00, 0x20, 0x08, 1, 2, 3, 4, 5, 6, 7, 8 },
            "channel 2, bytes 0-7" },
        { Generation::Newer, { 0x02, 0x0F }, { 0x57, 0x02, 0x08, 0x08, 1, 2, 3, 4, 5, 6, 7, 8 },
            "settings, bytes 8-15 (byte 0x0F stored wrong)" },
        { Generation::Newer, { 0x03, 0xD8 }, { 0x57, 0x03, 0xD8, 0x08, 0x0E, 0, 0, 0, 0, 0, 0, 0 },
            "model code 15 (byte 0xD8 stored wrong)" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.where);
        const RadioMemory before = memoryFromImage(model::defaultImage(0));
        ProgrammingSession session(before, row.generation, row.wrong);
        EXPECT_EQ(session.store(row.record), row.where);
    }

    // The channel byte lands flipped; nothing else changes.
    const RadioMemory before = memoryFromImage(model::defaultImage(0));
    ProgrammingSession session(before, Generation::Newer, MemoryByte { 0x00, 0x25 });
    session.store(Bytes { 0x57, 0x00, 0x20, 0x08, 1, 2, 3, 4, 5, 6, 7, 8 });
    RadioMemory expected = before;
    for (std::uint8_t k = 0; k < 8; ++k)
        expected.image.channels[2][k] = static_cast<std::uint8_t>(k + 1);
    expected.image.channels[2][5] = 0x07;
    EXPECT_EQ(session.result(), expected);
}

TEST(ProgrammingSession, OlderRadioStoresTheWrongByteInTheFiveKhzForm)
{
    // Bit 0 of the receive frequency's low byte is one 5 kHz unit on the line, two 2.5 kHz units
    // in the memory.
    const RadioMemory before = memoryFromImage(model::defaultImage(0));
    model::ChannelTable line = before.image.channels;
    model::to5kHzForm(line);
    ProgrammingSession session(before, Generation::Older, MemoryByte { 0x00, 0x00 });
    Bytes record { 0x57, 0x00, 0x00, 0x08 };
    record.insert(record.end(), line[0].begin(), line[0].begin() + 8);
    session.store(record);
    const model::Record stored = session.result().image.channels[0]; // result() is a copy
    const auto count = [](const model::Record& r) { return r[0] | (r[1] << 8) | ((r[2] & 0x03) << 16); };
    EXPECT_EQ(std::abs(count(stored) - count(before.image.channels[0])), 2);
}
