#include "core/files/channel_csv_tones.h"

#include <gtest/gtest.h>

using namespace korvane::files;

namespace {

using Kind = CsvTone::Kind;

ChannelTones parsed(const ToneCells& cells)
{
    const auto tones = parseToneCells(cells);
    EXPECT_TRUE(tones.ok()) << cells.tone << " " << cells.crossMode << ": " << (tones.ok() ? "" : tones.error().reason);
    return tones.ok() ? *tones : ChannelTones {};
}

} // namespace

// Every pair of sides the record can hold reads back as itself.
TEST(ChannelCsvTones, EveryPairReadsBack)
{
    const std::vector<CsvTone> sides {
        {},
        { Kind::Ctcss, 885, false },
        { Kind::Ctcss, 2541, false },
        { Kind::Dcs, 23, false },
        { Kind::Dcs, 23, true },
        { Kind::Dcs, 754, false },
        { Kind::Dcs, 754, true },
    };
    for (const CsvTone& tx : sides)
        for (const CsvTone& rx : sides) {
            const ChannelTones tones { tx, rx };
            EXPECT_EQ(parsed(toneCells(tones)), tones);
        }
}

TEST(ChannelCsvTones, CellsOfEachMode)
{
    struct Row {
        ChannelTones tones;
        ToneCells cells;
    } rows[] = {
        { {}, { "", "88.5", "88.5", "023", "NN", "023", "Tone->Tone" } },
        { { { Kind::Ctcss, 1000 }, {} }, { "Tone", "100.0", "88.5", "023", "NN", "023", "Tone->Tone" } },
        { { { Kind::Ctcss, 670 }, { Kind::Ctcss, 670 } },
            { "TSQL", "67.0", "67.0", "023", "NN", "023", "Tone->Tone" } },
        { { { Kind::Dcs, 25, true }, { Kind::Dcs, 25, false } },
            { "DTCS", "88.5", "88.5", "025", "RN", "025", "Tone->Tone" } },
        { { { Kind::Ctcss, 670 }, { Kind::Ctcss, 719 } },
            { "Cross", "67.0", "71.9", "023", "NN", "023", "Tone->Tone" } },
        { { { Kind::Dcs, 54, true }, {} }, { "Cross", "88.5", "88.5", "054", "RN", "023", "DTCS->" } },
        { { {}, { Kind::Dcs, 754, true } }, { "Cross", "88.5", "88.5", "023", "NR", "754", "->DTCS" } },
        { { { Kind::Ctcss, 1318 }, { Kind::Dcs, 131 } },
            { "Cross", "131.8", "88.5", "023", "NN", "131", "Tone->DTCS" } },
        { { { Kind::Dcs, 131, true }, { Kind::Ctcss, 1318 } },
            { "Cross", "88.5", "131.8", "131", "RN", "023", "DTCS->Tone" } },
        { { {}, { Kind::Ctcss, 2035 } }, { "Cross", "88.5", "203.5", "023", "NN", "023", "->Tone" } },
        { { { Kind::Dcs, 23 }, { Kind::Dcs, 25, true } },
            { "Cross", "88.5", "88.5", "023", "NR", "025", "DTCS->DTCS" } },
    };
    for (const Row& row : rows)
        EXPECT_EQ(toneCells(row.tones), row.cells) << row.cells.tone << " " << row.cells.crossMode;
}

// As other tools write them: unused cells hold anything, names in any case, blanks around.
TEST(ChannelCsvTones, ReadingIsLenient)
{
    struct Row {
        ToneCells cells;
        ChannelTones tones;
    } rows[] = {
        { { "Tone", " 88.5 ", "xx", "", "", "", "" }, { { Kind::Ctcss, 885 }, {} } },
        { { "tone", "88.50", "", "", "", "", "" }, { { Kind::Ctcss, 885 }, {} } },
        { { "Cross", "100", "", "", "", "", "Tone->" }, { { Kind::Ctcss, 1000 }, {} } },
        { { "TSQL", "67.0", "100.0", "999", "??", "", "" }, { { Kind::Ctcss, 1000 }, { Kind::Ctcss, 1000 } } },
        { { "DTCS", "", "", "23", "", "777", "" }, { { Kind::Dcs, 23 }, { Kind::Dcs, 23 } } },
        { { "DTCS", "", "", "7", "rr", "", "" }, { { Kind::Dcs, 7, true }, { Kind::Dcs, 7, true } } },
        { { "cross", "", "254.1", "", "nr", "", "dtcs->tone" }, {} }, // DtcsCode empty: refused below
        { { "", "abc", "abc", "abc", "abc", "abc", "abc" }, {} },
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        if (i == 6) {
            const auto tones = parseToneCells(rows[i].cells);
            ASSERT_FALSE(tones.ok());
            EXPECT_EQ(tones.error().column, "DtcsCode");
            continue;
        }
        EXPECT_EQ(parsed(rows[i].cells), rows[i].tones) << i;
    }
}

TEST(ChannelCsvTones, ToneLimits)
{
    struct Row {
        std::string tone;
        bool accepted;
    } rows[] = { { "60.0", true }, { "60", true }, { "260.0", true }, { "123.40", true }, { "59.9", false },
        { "260.1", false }, { "88.55", false }, { "-88.5", false }, { "8 8", false }, { "88,5", false } };
    for (const Row& row : rows) {
        const auto tones = parseToneCells({ "Tone", row.tone, "", "", "", "", "" });
        EXPECT_EQ(tones.ok(), row.accepted) << row.tone;
    }
}

TEST(ChannelCsvTones, CodeLimits)
{
    struct Row {
        std::string code;
        bool accepted;
    } rows[] = { { "023", true }, { "7", true }, { "777", true }, { "0023", false }, { "078", false },
        { "99999999999", false }, { "CS-> s S-", false }, { "12345678901234567890", false } };
    for (const Row& row : rows) {
        const auto tones = parseToneCells({ "DTCS", "", "", row.code, "", "", "" });
        EXPECT_EQ(tones.ok(), row.accepted) << row.code;
        if (!tones.ok()) {
            EXPECT_EQ(tones.error().column, "DtcsCode") << row.code;
        }
    }
}
