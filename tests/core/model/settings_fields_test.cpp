#include "core/model/settings_fields.h"

#include "core/model/defaults.h"

#include <gtest/gtest.h>

#include <map>

using namespace korvane::model;

namespace {

const std::map<SettingsList, std::size_t> kSizes {
    { SettingsList::Monitor, 4 }, { SettingsList::TimeOut, 11 }, { SettingsList::Squelch, 9 },
    { SettingsList::Beep, 2 }, { SettingsList::BatterySave, 2 }, { SettingsList::Spacing, 2 },
    { SettingsList::ScanMode, 3 }, { SettingsList::Priority, 16 }, { SettingsList::ScanBack, 48 },
    { SettingsList::Revert, 4 }, { SettingsList::Dwell, 10 },
};

// The byte each list writes, and which of its bits.
struct Field {
    int byte;
    std::uint8_t mask;
};
const std::map<SettingsList, Field> kFields {
    { SettingsList::Monitor, { 0, 0xC0 } }, { SettingsList::TimeOut, { 7, 0xFF } },
    { SettingsList::Squelch, { 11, 0x0F } }, { SettingsList::Beep, { 12, 0x20 } },
    { SettingsList::BatterySave, { 12, 0x08 } }, { SettingsList::Spacing, { 12, 0x02 } },
    { SettingsList::ScanMode, { 0, 0x30 } }, { SettingsList::Priority, { 2, 0xFF } },
    { SettingsList::ScanBack, { 3, 0xFF } }, { SettingsList::Revert, { 1, 0x07 } },
    { SettingsList::Dwell, { 6, 0xFF } },
};

} // namespace

TEST(SettingsFields, EntryTexts)
{
    for (const auto& [list, size] : kSizes)
        EXPECT_EQ(settingsEntries(list).size(), size);
    const auto tot = settingsEntries(SettingsList::TimeOut);
    EXPECT_EQ(tot[0], "关闭");
    EXPECT_EQ(tot[1], "30s");
    EXPECT_EQ(tot[10], "300s");
    EXPECT_EQ(settingsEntries(SettingsList::Squelch)[8], "9");
    EXPECT_EQ(settingsEntries(SettingsList::Priority)[0], "关闭");
    EXPECT_EQ(settingsEntries(SettingsList::Priority)[15], "信道 15");
    EXPECT_EQ(settingsEntries(SettingsList::ScanBack)[0], "0.3s");
    EXPECT_EQ(settingsEntries(SettingsList::ScanBack)[47], "5.0s");
    EXPECT_EQ(settingsEntries(SettingsList::Dwell)[0], "0.5s");
    EXPECT_EQ(settingsEntries(SettingsList::Dwell)[5], "3.0s");
    EXPECT_EQ(settingsEntries(SettingsList::Dwell)[9], "5.0s");
    EXPECT_EQ(settingsEntries(SettingsList::Spacing)[1], "12.5kHz");
    EXPECT_EQ(settingsEntries(SettingsList::Monitor)[2], "稳态无条件监听");
    EXPECT_EQ(settingsEntries(SettingsList::Revert)[3], "优先信道");
    EXPECT_EQ(settingsEntries(SettingsList::ScanMode)[2], "时间控制扫描");
}

TEST(SettingsFields, DefaultBlockShowsTheDocumentedEntries)
{
    const SettingsBlock s = defaultImage(0).settings;
    const std::map<SettingsList, std::string> expected {
        { SettingsList::Monitor, "暂态有条件监听" }, { SettingsList::TimeOut, "60s" }, { SettingsList::Squelch, "5" },
        { SettingsList::Beep, "有效" }, { SettingsList::BatterySave, "有效" }, { SettingsList::Spacing, "25.0kHz" },
        { SettingsList::ScanMode, "关闭扫描功能" }, { SettingsList::Dwell, "3.0s" }, { SettingsList::Priority, "关闭" },
        { SettingsList::ScanBack, "0.5s" }, { SettingsList::Revert, "第一扫描信道" },
    };
    for (const auto& [list, text] : expected)
        EXPECT_EQ(settingText(list, s).value_or("?"), text);
}

TEST(SettingsFields, ChoosingAnEntryWritesItsEncoding)
{
    struct Row {
        SettingsList list;
        int position;
        int byte;
        std::uint8_t value;
    } rows[] = {
        { SettingsList::TimeOut, 10, 7, 0x30 }, { SettingsList::TimeOut, 0, 7, 0x00 },
        { SettingsList::TimeOut, 3, 7, 0x09 }, { SettingsList::Priority, 12, 2, 0x12 },
        { SettingsList::ScanBack, 47, 3, 0x50 }, { SettingsList::ScanBack, 0, 3, 0x03 },
        { SettingsList::Dwell, 9, 6, 0x50 }, { SettingsList::Dwell, 0, 6, 0x05 },
        { SettingsList::Squelch, 8, 11, 0xA9 }, { SettingsList::Monitor, 1, 0, 0x6A },
        { SettingsList::ScanMode, 2, 0, 0xAA }, { SettingsList::Revert, 3, 1, 0xAC },
        { SettingsList::Beep, 0, 12, 0x8A }, { SettingsList::BatterySave, 1, 12, 0xAA },
        { SettingsList::Spacing, 0, 12, 0xA8 },
    };
    for (const Row& row : rows) {
        SettingsBlock s {};
        s.fill(0xAA);
        encodeSetting(row.list, s, row.position);
        EXPECT_EQ(s[row.byte], row.value) << static_cast<int>(row.list) << " @" << row.position;
        for (int k = 0; k < 32; ++k) {
            if (k != row.byte) {
                EXPECT_EQ(s[k], 0xAA);
            }
        }
    }
}

TEST(SettingsFields, EveryPositionRoundTripsAndKeepsTheOtherBits)
{
    for (const auto& [list, size] : kSizes) {
        const Field field = kFields.at(list);
        for (int p = 0; p < static_cast<int>(size); ++p) {
            for (std::uint8_t fillByte : { std::uint8_t { 0x00 }, std::uint8_t { 0xFF } }) {
                SettingsBlock s {};
                s.fill(fillByte);
                encodeSetting(list, s, p);
                EXPECT_EQ(decodeSetting(list, s), p) << static_cast<int>(list);
                EXPECT_EQ(s[field.byte] & ~field.mask & 0xFF, fillByte & ~field.mask & 0xFF);
            }
        }
    }
}

// Over every byte value, a field shows an entry exactly when its decoding lands inside the list;
// otherwise the list shows nothing and the caller leaves the byte as it is.
TEST(SettingsFields, DecodingOfEveryByteValue)
{
    const auto bcd = [](int x) -> int { return ((x >> 4) > 9 || (x & 15) > 9) ? -100 : (x >> 4) * 10 + (x & 15); };
    const auto halfEven = [](int num, int den) {
        const int q = num / den, twice = 2 * (num % den);
        return (twice > den || (twice == den && q % 2)) ? q + 1 : q;
    };
    for (int x = 0; x < 256; ++x) {
        SettingsBlock s {};
        for (auto& [list, field] : kFields)
            s[field.byte] = static_cast<std::uint8_t>(x);
        const auto expect = [&](SettingsList list, int raw) {
            const int size = static_cast<int>(kSizes.at(list));
            const auto got = decodeSetting(list, s);
            if (raw >= 0 && raw < size) {
                EXPECT_EQ(got, raw) << static_cast<int>(list) << " byte " << x;
            } else {
                EXPECT_FALSE(got) << static_cast<int>(list) << " byte " << x;
            }
        };
        expect(SettingsList::Monitor, x >> 6);
        expect(SettingsList::ScanMode, (x >> 4) & 3);
        expect(SettingsList::Squelch, (x & 15) - 1);
        expect(SettingsList::Revert, (x & 7) - 1);
        expect(SettingsList::Beep, (x >> 5) & 1);
        expect(SettingsList::BatterySave, (x >> 3) & 1);
        expect(SettingsList::Spacing, (x >> 1) & 1);
        expect(SettingsList::TimeOut, bcd(x) < 0 ? -1 : halfEven(bcd(x), 3));
        expect(SettingsList::Priority, bcd(x) < 0 ? -1 : bcd(x));
        expect(SettingsList::ScanBack, bcd(x) < 0 ? -1 : bcd(x) - 3);
        expect(SettingsList::Dwell, bcd(x) < 0 ? -1 : halfEven(bcd(x), 5) - 1);
    }
}

TEST(SettingsFields, ValuesBetweenEntriesShowTheNearestEntry)
{
    SettingsBlock s {};
    s[6] = 0x07; // dwell 0.7 s
    s[7] = 0x10; // time-out 100 s
    EXPECT_EQ(settingText(SettingsList::Dwell, s).value_or("?"), "0.5s");
    EXPECT_EQ(settingText(SettingsList::TimeOut, s).value_or("?"), "90s");
    s[6] = 0x02;
    s[7] = 0x1A;
    EXPECT_FALSE(settingText(SettingsList::Dwell, s));
    EXPECT_FALSE(settingText(SettingsList::TimeOut, s));
}

TEST(SettingsFields, NarrowForAllMarksEveryChannel)
{
    ChannelTable channels {};
    channels[2][10] = 0xF0;
    applyNarrowToAll(channels);
    for (const Record& r : channels)
        EXPECT_EQ(r[10] & 1, 1);
    EXPECT_EQ(channels[2][10], 0xF1);
}
