#include "core/files/channel_csv.h"

#include "core/files/channel_csv_rows.h"
#include "csv_fixtures.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::files;
using namespace korvane::files::test;

namespace {

constexpr int kTablesPerModel = 200;

model::ChannelTable defaults(int modelIndex) { return model::defaultImage(modelIndex).channels; }

model::ChannelTable roundTrip(const model::ChannelTable& table, int modelIndex, const model::ChannelTable& base)
{
    model::RadioImage image = model::defaultImage(modelIndex);
    image.channels = table;
    const auto back = importChannelCsv(exportChannelCsv(image), modelIndex, base);
    EXPECT_TRUE(back.ok()) << (back.ok() ? "" : back.error().text);
    return back.ok() ? *back : model::ChannelTable {};
}

// The export without its RawRecord column: what another tool that keeps only the named
// columns would write back.
std::string withoutRawRecord(const std::string& csv)
{
    std::string out;
    std::size_t start = 0;
    while (start < csv.size()) {
        const std::size_t end = csv.find('\n', start);
        const std::string line = csv.substr(start, end - start);
        out += line.substr(0, line.rfind(',')) + "\n";
        start = end + 1;
    }
    return out;
}

} // namespace

// Every byte of every channel comes back: open channels from the spreadsheet (RawRecord keeps
// what no column names), closed ones from the defaults, which is what they were.
TEST(ChannelCsvRoundTrip, EveryByteOfRandomTables)
{
    for (int m = 0; m < model::kModelCount; ++m)
        for (std::uint32_t seed = 1; seed <= kTablesPerModel; ++seed) {
            const auto table = randomTable(seed * 7919u + static_cast<std::uint32_t>(m), m, false);
            ASSERT_EQ(roundTrip(table, m, defaults(m)), table) << "model " << m << " seed " << seed;
        }
}

// With only the named columns (no RawRecord), every field the program gives a meaning still
// comes back exactly.
TEST(ChannelCsvRoundTrip, NamedColumnsCarryEveryMeaningfulField)
{
    for (int m = 0; m < model::kModelCount; ++m)
        for (std::uint32_t seed = 1; seed <= kTablesPerModel; ++seed) {
            const auto table = randomTable(seed * 104729u + static_cast<std::uint32_t>(m), m, true);
            model::RadioImage image = model::defaultImage(m);
            image.channels = table;
            const std::string csv = withoutRawRecord(exportChannelCsv(image));
            ASSERT_EQ(csv.find("RawRecord"), std::string::npos);
            const auto back = importChannelCsv(csv, m, defaults(m));
            ASSERT_TRUE(back.ok()) << back.error().text;
            ASSERT_EQ(*back, table) << "model " << m << " seed " << seed << "\n" << csv;
        }
}

TEST(ChannelCsvRoundTrip, Fixtures)
{
    EXPECT_EQ(roundTrip(variedModel0().channels, 0, defaults(0)), variedModel0().channels);
    EXPECT_EQ(roundTrip(variedModel3().channels, 3, defaults(3)), variedModel3().channels);
}

// A closed channel that is not the default keeps its content when the base is the table
// itself (the window could pass its current table).
TEST(ChannelCsvRoundTrip, ClosedChannelsKeptWithTheirOwnBase)
{
    for (std::uint32_t seed = 1; seed <= 50; ++seed) {
        model::ChannelTable table = randomTable(seed, 2, false);
        Lcg g(seed);
        for (Record& r : table)
            if (!model::isChannelOpen(r))
                for (std::size_t k : { 0u, 1u, 3u, 11u, 13u })
                    r[k] = g.byte();
        EXPECT_EQ(roundTrip(table, 2, table), table) << seed;
    }
}

// Exporting what was imported gives the same text again.
TEST(ChannelCsvRoundTrip, TextIsStable)
{
    for (std::uint32_t seed = 1; seed <= 100; ++seed) {
        model::RadioImage image = model::defaultImage(4);
        image.channels = randomTable(seed, 4, false);
        const std::string csv = exportChannelCsv(image);
        const auto back = importChannelCsv(csv, 4, defaults(4));
        ASSERT_TRUE(back.ok());
        image.channels = *back;
        EXPECT_EQ(exportChannelCsv(image), csv);
    }
}
