#include "core/model/settings_fields.h"

#include "core/model/record_layout.h"
#include "core/util/decimal.h"

#include <vector>

namespace korvane::model {

namespace {

std::vector<std::string> numbered(int first, int last, int step, int scale, std::string_view prefix,
                                  std::string_view suffix)
{
    std::vector<std::string> out;
    for (int v = first; v <= last; v += step)
        out.push_back(std::string(prefix) + util::formatScaled(v, scale, 1, scale) + std::string(suffix));
    return out;
}

std::vector<std::string> timeOutEntries()
{
    std::vector<std::string> out { "关闭" };
    for (int s = 30; s <= 300; s += 30)
        out.push_back(std::to_string(s) + "s");
    return out;
}

const std::array<std::vector<std::string>, 11>& allEntries()
{
    static const std::array<std::vector<std::string>, 11> entries {
        std::vector<std::string> { "关闭监听功能", "暂态无条件监听", "稳态无条件监听", "暂态有条件监听" },
        timeOutEntries(),
        numbered(1, 9, 1, 0, "", ""),
        std::vector<std::string> { "无效", "有效" },
        std::vector<std::string> { "无效", "有效" },
        std::vector<std::string> { "25.0kHz", "12.5kHz" },
        std::vector<std::string> { "关闭扫描功能", "载波控制扫描", "时间控制扫描" },
        [] {
            std::vector<std::string> out { "关闭" };
            for (int ch = 1; ch <= 15; ++ch)
                out.push_back("信道 " + std::to_string(ch));
            return out;
        }(),
        numbered(3, 50, 1, 1, "", "s"),
        std::vector<std::string> { "最近接收呼叫信道", "最近使用信道", "第一扫描信道", "优先信道" },
        numbered(5, 50, 5, 1, "", "s"),
    };
    return entries;
}

// The value of a two-digit BCD byte; nothing when a nibble is not a decimal digit.
std::optional<int> bcdValue(std::uint8_t x)
{
    if ((x >> 4) > 9 || (x & 0x0F) > 9)
        return std::nullopt;
    return (x >> 4) * 10 + (x & 0x0F);
}

std::uint8_t toBcd(int value) { return static_cast<std::uint8_t>((value / 10) * 16 + value % 10); }

int bits(std::uint8_t byte, int shift, int mask) { return (byte >> shift) & mask; }

void putBits(std::uint8_t& byte, int shift, int mask, int value)
{
    byte = static_cast<std::uint8_t>((byte & ~(mask << shift)) | ((value & mask) << shift));
}

std::optional<int> rawPosition(SettingsList list, const SettingsBlock& s)
{
    switch (list) {
    case SettingsList::Monitor:
        return bits(s[0], 6, 0x3);
    case SettingsList::ScanMode:
        return bits(s[0], 4, 0x3);
    case SettingsList::Squelch:
        return bits(s[11], 0, 0xF) - 1;
    case SettingsList::Revert:
        return bits(s[1], 0, 0x7) - 1;
    case SettingsList::Beep:
        return bits(s[12], 5, 0x1);
    case SettingsList::BatterySave:
        return bits(s[12], 3, 0x1);
    case SettingsList::Spacing:
        return bits(s[12], 1, 0x1);
    case SettingsList::TimeOut:
        if (auto v = bcdValue(s[7]))
            return static_cast<int>(util::divRoundHalfEven(*v, 3));
        return std::nullopt;
    case SettingsList::Priority:
        return bcdValue(s[2]);
    case SettingsList::ScanBack:
        if (auto v = bcdValue(s[3]))
            return *v - 3;
        return std::nullopt;
    case SettingsList::Dwell:
        if (auto v = bcdValue(s[6]))
            return static_cast<int>(util::divRoundHalfEven(*v, 5)) - 1;
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::string_view settingsListCaption(SettingsList list)
{
    static constexpr std::array<std::string_view, 11> captions { "监听", "发射限时", "静噪等级", "提示音", "省电功能",
        "信道宽度", "扫描模式", "优先信道", "回扫周期", "恢复信道", "扫描停留时间" };
    return captions[static_cast<std::size_t>(list)];
}

std::string_view settingsFrameCaption(SettingsList list)
{
    return static_cast<int>(list) < static_cast<int>(SettingsList::ScanMode) ? "功能设置" : "扫描参数设置";
}

std::span<const std::string> settingsEntries(SettingsList list) { return allEntries()[static_cast<int>(list)]; }

std::optional<int> decodeSetting(SettingsList list, const SettingsBlock& settings)
{
    const auto p = rawPosition(list, settings);
    if (!p || *p < 0 || *p >= static_cast<int>(settingsEntries(list).size()))
        return std::nullopt;
    return p;
}

std::optional<std::string_view> settingText(SettingsList list, const SettingsBlock& settings)
{
    if (const auto p = decodeSetting(list, settings))
        return settingsEntries(list)[*p];
    return std::nullopt;
}

void encodeSetting(SettingsList list, SettingsBlock& s, int p)
{
    switch (list) {
    case SettingsList::Monitor:
        putBits(s[0], 6, 0x3, p);
        break;
    case SettingsList::ScanMode:
        putBits(s[0], 4, 0x3, p);
        break;
    case SettingsList::Squelch:
        putBits(s[11], 0, 0xF, p + 1);
        break;
    case SettingsList::Revert:
        putBits(s[1], 0, 0x7, p + 1);
        break;
    case SettingsList::Beep:
        putBits(s[12], 5, 0x1, p);
        break;
    case SettingsList::BatterySave:
        putBits(s[12], 3, 0x1, p);
        break;
    case SettingsList::Spacing:
        putBits(s[12], 1, 0x1, p == 1 ? 1 : 0);
        break;
    case SettingsList::TimeOut:
        s[7] = toBcd(p * 3);
        break;
    case SettingsList::Priority:
        s[2] = toBcd(p);
        break;
    case SettingsList::ScanBack:
        s[3] = toBcd(p + 3);
        break;
    case SettingsList::Dwell:
        s[6] = toBcd((p + 1) * 5);
        break;
    }
}

void applyNarrowToAll(ChannelTable& channels)
{
    for (Record& r : channels)
        setBit(r[kFlagsByte], kNarrowBit, true);
}

} // namespace korvane::model
