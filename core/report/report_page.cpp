#include "core/report/report_page.h"

#include "core/model/settings_fields.h"
#include "core/util/decimal.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace korvane::report {

namespace {

using model::SettingsList;

// Places texts with the current size and emphasis, as a printer keeps its current font.
class Placer {
public:
    explicit Placer(ReportPage& page)
        : m_page(page)
    {
    }

    void font(int size, bool emphasis)
    {
        m_size = size;
        m_emphasis = emphasis;
    }

    // One text with its top-left corner at (x, y). An empty text leaves no mark.
    void prnt1(int x, int y, std::string_view text)
    {
        if (!text.empty()) m_page.texts.push_back({ x, y, m_size, m_emphasis, std::string(text) });
    }

private:
    ReportPage& m_page;
    int m_size = kLineUnitFontSize;
    bool m_emphasis = false;
};

// base + (tenths / 10) h, rounded to a whole twip with halves to even. Working in tenths of h
// keeps 1.5 h or 22.9 h exact until the one rounding.
int plusTenthsOfH(int base, int tenths, int h)
{
    const std::int64_t num = std::int64_t { base } * 10 + std::int64_t { tenths } * h;
    return static_cast<int>(util::divRoundHalfEven(num, 10));
}

int characters(std::string_view utf8)
{
    int n = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

// Upper part of the page. Each line's y is its predecessor's plus a step, rounded as it is
// computed, so the rounding of one line carries into the next.
enum class Value { None, Model, Band, Setting };

struct SettingsLine {
    int stepTenths; // from the previous line (the first: from the top), in tenths of h
    int size;
    int labelX;
    std::string_view label;
    Value value;
    SettingsList list = SettingsList::Monitor;
};

constexpr int kValueX = 4000;

constexpr SettingsLine kSettingsLines[] = {
    { 65, 14, 3700, "对讲机参数设置", Value::None },
    { 30, 9, 1400, "机型: ", Value::Model },
    { 15, 9, 1400, "频率范围: ", Value::Band },
    { 20, 12, 1100, "整机功能设置", Value::None },
    { 15, 9, 1400, "监听功能: ", Value::Setting, SettingsList::Monitor },
    { 15, 9, 1400, "发射限时: ", Value::Setting, SettingsList::TimeOut },
    { 15, 9, 1400, "静噪等级: ", Value::Setting, SettingsList::Squelch },
    { 15, 9, 1400, "提示音: ", Value::Setting, SettingsList::Beep },
    { 15, 9, 1400, "电池省电: ", Value::Setting, SettingsList::BatterySave },
    { 15, 9, 1400, "信道间隔: ", Value::Setting, SettingsList::Spacing },
    { 20, 12, 1100, "扫描信息设置", Value::None },
    { 15, 9, 1400, "扫描功能: ", Value::Setting, SettingsList::ScanMode },
    { 15, 9, 1400, "优先信道: ", Value::Setting, SettingsList::Priority },
    { 15, 9, 1400, "回扫周期: ", Value::Setting, SettingsList::ScanBack },
    { 15, 9, 1400, "恢复信道: ", Value::Setting, SettingsList::Revert },
    { 15, 9, 1400, "扫描停留: ", Value::Setting, SettingsList::Dwell },
    { 30, 12, 1100, "信道数据", Value::None },
};

std::optional<std::string_view> valueOf(const SettingsLine& line, const ReportTexts& texts)
{
    switch (line.value) {
    case Value::Model:
        return texts.model;
    case Value::Band:
        return texts.band;
    case Value::Setting:
        return texts.settings[static_cast<std::size_t>(line.list)];
    case Value::None:
        break;
    }
    return std::nullopt;
}

// The ruled table: its left and right edges and the rules between its columns.
constexpr int kTableLeft = 900;
constexpr int kTableRight = 9900;
constexpr int kColumnRules[] = { 1500, 2490, 3075, 4215, 5205, 5865, 7005, 7725, 8445, 9165 };

enum class HeadingRow { Upper, Middle, Lower };

struct Heading {
    int x;
    HeadingRow row;
    std::string_view text;
};

constexpr Heading kHeadings[] = {
    { 990, HeadingRow::Middle, "信道" },
    { 1560, HeadingRow::Upper, "接收频率" },
    { 1710, HeadingRow::Lower, "(MHz)" },
    { 2580, HeadingRow::Upper, "步进" },
    { 2535, HeadingRow::Lower, "(kHz)" },
    { 3270, HeadingRow::Middle, "接收信令" },
    { 4320, HeadingRow::Upper, "发射频率" },
    { 4440, HeadingRow::Lower, "(MHz)" },
    { 5310, HeadingRow::Upper, "步进" },
    { 5310, HeadingRow::Lower, "(kHz)" },
    { 6150, HeadingRow::Middle, "发射信令" },
    { 7110, HeadingRow::Upper, "扫描" },
    { 7050, HeadingRow::Lower, "选择" },
    { 7890, HeadingRow::Upper, "繁忙" },
    { 7890, HeadingRow::Lower, "锁定" },
    { 8550, HeadingRow::Upper, "时钟" },
    { 8550, HeadingRow::Lower, "偏移" },
    { 9270, HeadingRow::Upper, "频率" },
    { 9240, HeadingRow::Lower, "宽度" },
};

constexpr int kHeadingSize = 10;
constexpr int kTableSize = 9;
constexpr int kSignallingSize = 8;

// The fixed columns start where a reference text ("999.99999", "9.99", "DEL", "OFF", "Narrow")
// is centred at 120 twips per character; signalling texts are centred on their own length at
// 80 twips per character, and channel numbers at 120.
constexpr int kNumberCentre = 1230;
constexpr int kReceiveSignallingCentre = 3570;
constexpr int kTransmitSignallingCentre = 6390;

struct ValueCell {
    int column; // grid column, 1..10
    int x;
};

constexpr ValueCell kReceiveCells[] = { { 1, 1560 }, { 2, 2580 } };
constexpr ValueCell kTransmitCells[] = { { 4, 4260 }, { 5, 5340 } };
constexpr ValueCell kFlagCells[] = { { 7, 7170 }, { 8, 7860 }, { 9, 8580 }, { 10, 9210 } };

const std::string& cell(const ChannelTexts& channel, int column)
{
    return channel.cells[static_cast<std::size_t>(column - 1)];
}

} // namespace

void printSettingsPage(ReportPage& page, const ReportTexts& texts, int h)
{
    Placer placer(page);
    int y = 0;
    for (const SettingsLine& line : kSettingsLines) {
        y = plusTenthsOfH(y, line.stepTenths, h);
        placer.font(line.size, false);
        placer.prnt1(line.labelX, y, line.label);
        if (const auto value = valueOf(line, texts)) {
            placer.font(line.size, true);
            placer.prnt1(kValueX, y, *value);
        }
    }
    printChannelTable(page, texts, h);
}

void printChannelTable(ReportPage& page, const ReportTexts& texts, int h)
{
    const int t = plusTenthsOfH(0, 175, h);
    const int top = plusTenthsOfH(t, 190, h);
    const int bottom = plusTenthsOfH(t, 545, h);
    const int firstRule = plusTenthsOfH(t, 225, h);

    page.lines.push_back({ kTableLeft, top, kTableRight, top });
    page.lines.push_back({ kTableLeft, bottom, kTableRight, bottom });
    page.lines.push_back({ kTableLeft, top, kTableLeft, bottom });
    page.lines.push_back({ kTableRight, top, kTableRight, bottom });
    for (int i = 0; i < model::kChannelCount; ++i) {
        const int y = firstRule + 2 * h * i;
        page.lines.push_back({ kTableLeft, y, kTableRight, y });
    }
    for (const int x : kColumnRules)
        page.lines.push_back({ x, top, x, bottom });

    Placer placer(page);
    const int rowY[] = { plusTenthsOfH(t, 195, h), plusTenthsOfH(t, 200, h), plusTenthsOfH(t, 210, h) };
    placer.font(kHeadingSize, false);
    for (const Heading& heading : kHeadings)
        placer.prnt1(heading.x, rowY[static_cast<int>(heading.row)], heading.text);

    const int firstLine = plusTenthsOfH(t, 229, h);
    const auto lineOf = [&](int n) { return firstLine + 2 * h * (n - 1); };
    placer.font(kTableSize, false);
    for (int n = 1; n <= model::kChannelCount; ++n) {
        const std::string number = std::to_string(n);
        placer.prnt1(kNumberCentre - 60 * static_cast<int>(number.size()), lineOf(n), number);
    }

    for (int n = 1; n <= model::kChannelCount; ++n) {
        const ChannelTexts& channel = texts.channels[static_cast<std::size_t>(n - 1)];
        if (channel.closed) continue;
        const int y = lineOf(n);
        placer.font(kTableSize, true);
        for (const ValueCell& c : kReceiveCells)
            placer.prnt1(c.x, y, cell(channel, c.column));
        placer.font(kSignallingSize, true);
        placer.prnt1(kReceiveSignallingCentre - 40 * characters(cell(channel, 3)), y, cell(channel, 3));
        if (!channel.transmitInhibited) {
            placer.font(kTableSize, true);
            for (const ValueCell& c : kTransmitCells)
                placer.prnt1(c.x, y, cell(channel, c.column));
            placer.font(kSignallingSize, true);
            placer.prnt1(kTransmitSignallingCentre - 40 * characters(cell(channel, 6)), y, cell(channel, 6));
        }
        placer.font(kTableSize, true);
        for (const ValueCell& c : kFlagCells)
            placer.prnt1(c.x, y, cell(channel, c.column));
    }
}

ReportPage reportPage(const ReportTexts& texts, int h)
{
    ReportPage page;
    printSettingsPage(page, texts, h);
    return page;
}

} // namespace korvane::report
