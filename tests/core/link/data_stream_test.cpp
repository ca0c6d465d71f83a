#include "core/link/data_stream.h"

#include "tests/core/link/test_streams.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>

using namespace korvane;
using namespace korvane::link;
using korvane::link::fakes::append;
using korvane::link::fakes::rec;

namespace {

Bytes cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        append(all, p);
    return all;
}

const Bytes kEight { 1, 2, 3, 4, 5, 6, 7, 8 };

Bytes rec8(std::uint8_t kind, std::uint8_t address)
{
    Bytes r { 0x57, kind, address, 8 };
    append(r, kEight);
    return r;
}

} // namespace

TEST(DataStream, StoresWhatRecordsAddress)
{
    struct Row {
        std::string name;
        Bytes stream;
        int modelCode;
        // Applied to an all-zero image: what the stream should leave.
        std::function<void(model::RadioImage&)> expect;
    };
    const std::vector<Row> rows {
        { "empty stream", {}, -1, [](model::RadioImage&) {} },
        { "no record start at all", Bytes(420, 0x11), -1, [](model::RadioImage&) {} },
        { "channel 0 bytes 8-15 from address 0x08", rec8(0x00, 0x08), -1,
            [](model::RadioImage& i) { std::copy(kEight.begin(), kEight.end(), i.channels[0].begin() + 8); } },
        { "channel 15 bytes 8-15 from address 0xF8", rec8(0x00, 0xF8), -1,
            [](model::RadioImage& i) { std::copy(kEight.begin(), kEight.end(), i.channels[15].begin() + 8); } },
        { "stray bytes between records skipped one at a time",
            cat({ { 0x00, 0x56, 0xFF }, rec(0x00, 0x13, { 9 }), { 0x58 }, rec(0x00, 0x14, { 7 }) }), -1,
            [](model::RadioImage& i) {
                i.channels[1][3] = 9;
                i.channels[1][4] = 7;
            } },
        { "a record of length 0 stores nothing", cat({ rec(0x00, 0x20, {}), rec(0x02, 0xC0, {}), rec(0x03, 0xD8, {}) }),
            -1, [](model::RadioImage&) {} },
        { "settings block bytes 0-7", rec8(0x02, 0x00), -1,
            [](model::RadioImage& i) { std::copy(kEight.begin(), kEight.end(), i.settings.begin()); } },
        { "settings up to byte 31", rec(0x02, 0x0F, { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17 }), -1,
            [](model::RadioImage& i) {
                for (int b = 15; b < 32; ++b)
                    i.settings[b] = static_cast<std::uint8_t>(b - 14);
            } },
        { "settings area 0x10 and 0x18 skipped", cat({ rec8(0x02, 0x10), rec8(0x02, 0x18) }), -1,
            [](model::RadioImage&) {} },
        { "parameter record 0", rec8(0x02, 0x20), -1,
            [](model::RadioImage& i) { std::copy(kEight.begin(), kEight.end(), i.parameters[0].begin()); } },
        { "parameter record 9 bytes 8-15", rec8(0x02, 0xB8), -1,
            [](model::RadioImage& i) { std::copy(kEight.begin(), kEight.end(), i.parameters[9].begin() + 8); } },
        { "other kinds skipped with their data",
            cat({ rec(0x05, 0x00, { 0x57, 0x00, 0x00, 0x01 }), rec(0x01, 0xD8, { 3 }) }), -1,
            [](model::RadioImage&) {} },
        { "model record", rec8(0x03, 0xD8), 1, [](model::RadioImage&) {} },
        { "the last model record counts, taken once",
            cat({ rec(0x03, 0xD8, { 3 }), rec(0x03, 0xD8, { 14 }), rec(0x03, 0x00, { 2 }) }), 14,
            [](model::RadioImage&) {} },
        { "a code without model is still carried", rec(0x03, 0xD8, { 6 }), 6, [](model::RadioImage&) {} },
    };
    for (const Row& row : rows) {
        model::RadioImage image {};
        model::RadioImage want {};
        row.expect(want);
        const auto parsed = parseDataStream(row.stream, image);
        ASSERT_TRUE(parsed) << row.name;
        EXPECT_EQ(parsed->modelCode, row.modelCode) << row.name;
        EXPECT_EQ(image, want) << row.name;
    }
}

TEST(DataStream, RecordsThatDoNotFit)
{
    struct Row {
        std::string name;
        Bytes stream;
        StreamFault fault;
    };
    const std::vector<Row> rows {
        { "record start in the last byte", { 0x00, 0x57 }, StreamFault::HeaderPastEnd },
        { "header cut short", cat({ rec8(0x00, 0x00), { 0x57, 0x00, 0x00 } }), StreamFault::HeaderPastEnd },
        { "data cut short", { 0x57, 0x00, 0x00, 0x08, 1, 2, 3, 4, 5, 6, 7 }, StreamFault::DataPastEnd },
        { "skipped kind cut short", { 0x57, 0x05, 0x00, 0x08, 1, 2 }, StreamFault::DataPastEnd },
        { "channel byte beyond 15", rec8(0x00, 0x09), StreamFault::ChannelByte },
        { "settings byte beyond 31", rec(0x02, 0x0F, { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18 }),
            StreamFault::SettingsByte },
        { "parameter record 10", rec8(0x02, 0xC0), StreamFault::ParameterRecord },
        { "parameter record 13", rec8(0x02, 0xF0), StreamFault::ParameterRecord },
        { "parameter byte beyond 15", rec8(0x02, 0x29), StreamFault::ParameterByte },
    };
    for (const Row& row : rows) {
        model::RadioImage image {};
        const auto parsed = parseDataStream(row.stream, image);
        ASSERT_FALSE(parsed) << row.name;
        EXPECT_EQ(parsed.error(), row.fault) << row.name;
    }
}
