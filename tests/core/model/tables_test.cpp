// Every model's tables and every list's texts, written out whole and compared with a committed
// file: codes, entries, bands, limits, default records, test channels, the parameter table, what a
// reset writes, each settings list with what every byte value shows and what each entry writes,
// and the grid's texts of a few records.

#include "core/model/channel_view.h"
#include "core/model/defaults.h"
#include "core/model/frequency_codec.h"
#include "core/model/models.h"
#include "core/model/settings_fields.h"
#include "support/golden.h"

#include <gtest/gtest.h>

using namespace korvane::model;
using korvane::test::hex;

namespace {

std::string cells(const Record& r)
{
    std::string text;
    for (const std::string& cell : channelCellTexts(r))
        text += cell + " | ";
    return text;
}

std::string tables()
{
    std::ostringstream out;
    for (int m = -1; m <= kModelCount; ++m) {
        out << "model " << m << ": code " << modelCodeFromIndex(m) << ", " << modelEntry(m).value_or("-") << ", "
            << bandText(m).value_or("-") << ", " << entryLimits(m).lowerHz << " to " << entryLimits(m).upperHz << "\n";
        out << "  channel " << hex(defaultChannelRecord(m)) << "\n  cells   " << cells(defaultChannelRecord(m)) << "\n";
        for (const Record& r : defaultAlignmentTable(m))
            out << "  test    " << hex(r) << "  " << formatFrequency(r, Side::Receive) << " / "
                << formatFrequency(r, Side::Transmit) << "\n";
        RadioImage image;
        image.modelIndex = static_cast<std::int16_t>(m);
        image.settings.fill(0xEE);
        for (Record& r : image.channels)
            r.fill(0x77);
        image.unknownModelCode = 9;
        const RadioImage before = image;
        resetImage(image);
        out << "  reset   " << hex(image.settings) << (image.channels == before.channels ? " channels kept" : "")
            << (image.alignment == defaultAlignmentTable(m) ? "" : " alignment differs")
            << (image.parameters == defaultParameterTable() ? "" : " parameters differ") << "\n";
    }
    out << "model index of code:";
    for (int code = -1; code <= 20; ++code)
        out << " " << code << ">" << modelIndexFromCode(code);
    out << "\n";
    for (const Record& r : defaultParameterTable())
        out << "parameters " << hex(r) << "\n";
    RadioImage fresh = defaultImage(3);
    fresh.settings.fill(0xEE);
    fresh.unknownModelCode = 9;
    newImage(fresh);
    out << "new image " << (fresh == defaultImage(0) ? "is model 0's defaults" : "differs") << ", settings "
        << hex(fresh.settings) << "\n";

    const SettingsBlock defaults = defaultImage(0).settings;
    for (int l = 0; l <= static_cast<int>(SettingsList::Dwell); ++l) {
        const auto list = static_cast<SettingsList>(l);
        out << "list " << l << " (" << settingText(list, defaults).value_or("-") << "):";
        for (const std::string& entry : settingsEntries(list))
            out << " " << entry << ";";
        out << "\n  shows:";
        for (int x = 0; x < 256; ++x) {
            SettingsBlock s {};
            s.fill(static_cast<std::uint8_t>(x));
            const auto position = decodeSetting(list, s);
            out << (x % 32 == 0 ? "\n   " : "") << " " << (position ? std::to_string(*position) : "-");
        }
        out << "\n  writes:";
        for (int p = 0; p < static_cast<int>(settingsEntries(list).size()); ++p) {
            for (const int fill : { 0x5A, 0xA5 }) {
                SettingsBlock s {};
                s.fill(static_cast<std::uint8_t>(fill));
                encodeSetting(list, s, p);
                for (std::size_t k = 0; k < s.size(); ++k)
                    if (s[k] != fill) out << " " << p << "@" << k << "=" << hex(std::array { s[k] });
                if (decodeSetting(list, s) != p) out << " " << p << " does not read back";
            }
        }
        out << "\n";
    }
    Record flags = defaultChannelRecord(0);
    flags[10] = 0x17;
    flags[2] |= 0x50;
    flags[3] = 0x13;
    flags[7] = 0x8C;
    flags[12] = 0x2A;
    out << "cells " << cells(flags) << "\n";
    for (const int f : { 0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20 }) {
        Record r = defaultChannelRecord(2);
        r[10] = static_cast<std::uint8_t>(f);
        out << "cells " << f << " " << cells(r) << "\n";
    }
    return out.str();
}

} // namespace

TEST(ModelTables, MatchTheCommittedFile)
{
    EXPECT_EQ(tables(), korvane::test::expectedFile("model/tables.txt", tables()));
}

TEST(ModelTables, NarrowForAllMarksEveryChannel)
{
    ChannelTable channels {};
    channels[2][10] = 0xF0;
    applyNarrowToAll(channels);
    for (const Record& r : channels)
        EXPECT_EQ(r[10] & 0xFE, r == channels[2] ? 0xF0 : 0x00);
    for (const Record& r : channels)
        EXPECT_EQ(r[10] & 1, 1);
}

TEST(ModelTables, AlignmentDefaultsNeedAModel)
{
    RadioImage image = defaultImage(1);
    image.modelIndex = -1;
    loadAlignmentDefaults(image);
    EXPECT_EQ(image.alignment, defaultAlignmentTable(1));
}
