#include "core/report/report_page.h"

#include "core/model/settings_fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

using korvane::model::SettingsList;
using korvane::report::ChannelTexts;
using korvane::report::PageLine;
using korvane::report::PageText;
using korvane::report::ReportPage;
using korvane::report::reportPage;
using korvane::report::ReportTexts;

namespace korvane::report {

void PrintTo(const PageText& t, std::ostream* os)
{
    *os << "{" << t.x << ", " << t.y << ", " << t.size << (t.emphasis ? ", emphasised, \"" : ", plain, \"") << t.text
        << "\"}";
}

void PrintTo(const PageLine& l, std::ostream* os)
{
    *os << "{" << l.x1 << ", " << l.y1 << " - " << l.x2 << ", " << l.y2 << "}";
}

} // namespace korvane::report

namespace {

// Every channel open, with texts as the window shows them after a read-out.
ReportTexts sampleTexts()
{
    ReportTexts t;
    t.model = "MX-310(1)/MX-310S(1)";
    t.band = "136～150MHz";
    t.settings = { "暂态有条件监听", "60s", "5", "有效", "有效", "25.0kHz", "关闭扫描功能", "关闭", "0.5s",
        "第一扫描信道", "3.0s" };
    for (std::size_t i = 0; i < t.channels.size(); ++i) {
        const std::string mhz = "14" + std::to_string(i % 10) + ".01250";
        t.channels[i].cells = { mhz, "2.50", "CTCSS: 67.0", mhz, "6.25", "CDCSS: 023", "ADD", "OFF", "ON", "Wide" };
    }
    return t;
}

std::vector<PageText> textsAt(const ReportPage& page, int y)
{
    std::vector<PageText> out;
    std::copy_if(
        page.texts.begin(), page.texts.end(), std::back_inserter(out), [y](const PageText& t) { return t.y == y; });
    std::sort(out.begin(), out.end(), [](const PageText& a, const PageText& b) { return a.x < b.x; });
    return out;
}

const PageText* find(const ReportPage& page, const std::string& text)
{
    const auto it
        = std::find_if(page.texts.begin(), page.texts.end(), [&](const PageText& t) { return t.text == text; });
    return it == page.texts.end() ? nullptr : &*it;
}

struct Geometry {
    int h;
    std::array<int, 17> settingsLines; // title .. "信道数据"
    int top, upper, middle, lower, firstRule, firstLine, bottom;
};

// Each settings line adds its step to the rounded line before it, so a half lost on one line is
// not regained on the next; the table rounds each position once from T = 17.5 h.
const Geometry kGeometries[] = {
    { 180, { 1170, 1710, 1980, 2340, 2610, 2880, 3150, 3420, 3690, 3960, 4320, 4590, 4860, 5130, 5400, 5670, 6210 },
        6570, 6660, 6750, 6930, 7200, 7272, 12960 },
    { 181, { 1176, 1719, 1990, 2352, 2624, 2896, 3168, 3440, 3712, 3984, 4346, 4618, 4890, 5162, 5434, 5706, 6249 },
        6607, 6698, 6788, 6969, 7240, 7313, 13032 },
    { 175, { 1138, 1663, 1926, 2276, 2538, 2800, 3062, 3324, 3586, 3848, 4198, 4460, 4722, 4984, 5246, 5508, 6033 },
        6387, 6474, 6562, 6737, 7000, 7070, 12600 },
    { 213, { 1384, 2023, 2342, 2768, 3088, 3408, 3728, 4048, 4368, 4688, 5114, 5434, 5754, 6074, 6394, 6714, 7353 },
        7775, 7882, 7988, 8201, 8520, 8606, 15336 },
    { 15, { 98, 143, 166, 196, 218, 240, 262, 284, 306, 328, 358, 380, 402, 424, 446, 468, 513 }, 547, 554, 562, 577,
        600, 606, 1080 },
    { 1, { 6, 9, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 34, 36, 39 }, 37, 38, 38, 39, 40, 41, 72 },
};

struct SettingsRow {
    int labelX;
    int size;
    const char* label;
    const char* value; // nullptr: a heading without a value
};

const SettingsRow kSettingsRows[] = {
    { 3700, 14, "对讲机参数设置", nullptr },
    { 1400, 9, "机型: ", "MX-310(1)/MX-310S(1)" },
    { 1400, 9, "频率范围: ", "136～150MHz" },
    { 1100, 12, "整机功能设置", nullptr },
    { 1400, 9, "监听功能: ", "暂态有条件监听" },
    { 1400, 9, "发射限时: ", "60s" },
    { 1400, 9, "静噪等级: ", "5" },
    { 1400, 9, "提示音: ", "有效" },
    { 1400, 9, "电池省电: ", "有效" },
    { 1400, 9, "信道间隔: ", "25.0kHz" },
    { 1100, 12, "扫描信息设置", nullptr },
    { 1400, 9, "扫描功能: ", "关闭扫描功能" },
    { 1400, 9, "优先信道: ", "关闭" },
    { 1400, 9, "回扫周期: ", "0.5s" },
    { 1400, 9, "恢复信道: ", "第一扫描信道" },
    { 1400, 9, "扫描停留: ", "3.0s" },
    { 1100, 12, "信道数据", nullptr },
};

} // namespace

TEST(ReportPage, WithTheUsualLineUnitThePageSitsWhereDesigned)
{
    const ReportPage page = reportPage(sampleTexts(), 180);
    EXPECT_EQ(page.texts.front(), (PageText { 3700, 1170, 14, false, "对讲机参数设置" }));
    EXPECT_EQ(*find(page, "机型: "), (PageText { 1400, 1710, 9, false, "机型: " }));
    EXPECT_EQ(*find(page, "MX-310(1)/MX-310S(1)"), (PageText { 4000, 1710, 9, true, "MX-310(1)/MX-310S(1)" }));
    EXPECT_EQ(page.lines[0], (PageLine { 900, 6570, 9900, 6570 }));
    EXPECT_EQ(page.lines[1], (PageLine { 900, 12960, 9900, 12960 }));
    EXPECT_EQ(page.lines[4], (PageLine { 900, 7200, 9900, 7200 }));
    EXPECT_EQ(textsAt(page, 7272).front(), (PageText { 1170, 7272, 9, false, "1" }));
    // The last channel's band ends on the bottom edge.
    EXPECT_EQ(page.lines[4 + 15].y1 + 2 * 180, 12960);
}

TEST(ReportPage, SettingsLinesStepFromTheRoundedLineBefore)
{
    for (const Geometry& g : kGeometries) {
        SCOPED_TRACE(g.h);
        std::vector<PageText> expected;
        for (std::size_t i = 0; i < std::size(kSettingsRows); ++i) {
            const SettingsRow& row = kSettingsRows[i];
            expected.push_back({ row.labelX, g.settingsLines[i], row.size, false, row.label });
            if (row.value) expected.push_back({ 4000, g.settingsLines[i], row.size, true, row.value });
        }
        const ReportPage page = reportPage(sampleTexts(), g.h);
        const std::vector<PageText> placed(page.texts.begin(), page.texts.begin() + std::ssize(expected));
        EXPECT_EQ(placed, expected);
    }
}

TEST(ReportPage, TableIsRuledFromTheLineUnit)
{
    const int columnRules[] = { 1500, 2490, 3075, 4215, 5205, 5865, 7005, 7725, 8445, 9165 };
    for (const Geometry& g : kGeometries) {
        SCOPED_TRACE(g.h);
        std::vector<PageLine> expected {
            { 900, g.top, 9900, g.top },
            { 900, g.bottom, 9900, g.bottom },
            { 900, g.top, 900, g.bottom },
            { 9900, g.top, 9900, g.bottom },
        };
        for (int i = 0; i < 16; ++i)
            expected.push_back({ 900, g.firstRule + 2 * g.h * i, 9900, g.firstRule + 2 * g.h * i });
        for (const int x : columnRules)
            expected.push_back({ x, g.top, x, g.bottom });
        EXPECT_EQ(reportPage(sampleTexts(), g.h).lines, expected);
    }
}

TEST(ReportPage, HeadingsSitOnThreeRows)
{
    struct Heading {
        int x;
        int row; // 0 upper, 1 middle, 2 lower
        const char* text;
    };
    const Heading headings[] = {
        { 990, 1, "信道" },
        { 1560, 0, "接收频率" },
        { 1710, 2, "(MHz)" },
        { 2580, 0, "步进" },
        { 2535, 2, "(kHz)" },
        { 3270, 1, "接收信令" },
        { 4320, 0, "发射频率" },
        { 4440, 2, "(MHz)" },
        { 5310, 0, "步进" },
        { 5310, 2, "(kHz)" },
        { 6150, 1, "发射信令" },
        { 7110, 0, "扫描" },
        { 7050, 2, "选择" },
        { 7890, 0, "繁忙" },
        { 7890, 2, "锁定" },
        { 8550, 0, "时钟" },
        { 8550, 2, "偏移" },
        { 9270, 0, "频率" },
        { 9240, 2, "宽度" },
    };
    for (const Geometry& g : kGeometries) {
        SCOPED_TRACE(g.h);
        const int rows[] = { g.upper, g.middle, g.lower };
        std::vector<PageText> expected;
        for (const Heading& h : headings)
            expected.push_back({ h.x, rows[h.row], 10, false, h.text });
        const ReportPage page = reportPage(sampleTexts(), g.h);
        // The headings follow the settings lines directly.
        const std::vector<PageText> placed(page.texts.begin() + 30, page.texts.begin() + 30 + std::ssize(headings));
        EXPECT_EQ(placed, expected);
    }
}

TEST(ReportPage, EveryOpenChannelPrintsItsWholeRow)
{
    for (const Geometry& g : kGeometries) {
        SCOPED_TRACE(g.h);
        const ReportTexts texts = sampleTexts();
        const ReportPage page = reportPage(texts, g.h);
        EXPECT_EQ(page.texts.size(), 17u + 13u + 19u + 16u + 16u * 10u);
        for (int n = 1; n <= 16; ++n) {
            SCOPED_TRACE(n);
            const int y = g.firstLine + 2 * g.h * (n - 1);
            const auto& c = texts.channels[static_cast<std::size_t>(n - 1)].cells;
            const std::vector<PageText> expected {
                { n < 10 ? 1170 : 1110, y, 9, false, std::to_string(n) },
                { 1560, y, 9, true, c[0] },
                { 2580, y, 9, true, c[1] },
                { 3570 - 40 * 11, y, 8, true, c[2] },
                { 4260, y, 9, true, c[3] },
                { 5340, y, 9, true, c[4] },
                { 6390 - 40 * 10, y, 8, true, c[5] },
                { 7170, y, 9, true, c[6] },
                { 7860, y, 9, true, c[7] },
                { 8580, y, 9, true, c[8] },
                { 9210, y, 9, true, c[9] },
            };
            EXPECT_EQ(textsAt(page, y), expected);
        }
    }
}

TEST(ReportPage, SignallingTextsAreCentredOnTheirLength)
{
    struct Row {
        const char* text;
        int receiveX;
        int transmitX;
    };
    const Row rows[] = {
        { "OFF", 3450, 6270 },
        { "AB: 1", 3370, 6190 },
        { "CDCSS: 7", 3250, 6070 },
        { "CDCSS: 023", 3170, 5990 },
        { "--CDCSS: 754", 3090, 5910 },
        { "CTCSS: 100.0", 3090, 5910 },
        { "2-Tone: 15", 3170, 5990 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        ReportTexts texts = sampleTexts();
        texts.channels[0].cells[2] = row.text;
        texts.channels[0].cells[5] = row.text;
        const auto line = textsAt(reportPage(texts, 180), 7272);
        ASSERT_EQ(line.size(), 11u);
        EXPECT_EQ(line[3], (PageText { row.receiveX, 7272, 8, true, row.text }));
        EXPECT_EQ(line[6], (PageText { row.transmitX, 7272, 8, true, row.text }));
    }
}

TEST(ReportPage, ChannelNumbersAreCentredOnTheirDigits)
{
    const ReportPage page = reportPage(sampleTexts(), 180);
    EXPECT_EQ(textsAt(page, 7272 + 8 * 360).front(), (PageText { 1170, 7272 + 8 * 360, 9, false, "9" }));
    EXPECT_EQ(textsAt(page, 7272 + 9 * 360).front(), (PageText { 1110, 7272 + 9 * 360, 9, false, "10" }));
    EXPECT_EQ(textsAt(page, 7272 + 15 * 360).front(), (PageText { 1110, 7272 + 15 * 360, 9, false, "16" }));
}

TEST(ReportPage, ClosedChannelPrintsOnlyItsNumber)
{
    ReportTexts texts = sampleTexts();
    texts.channels[2].closed = true;
    texts.channels[2].transmitInhibited = true; // a closed channel ignores its transmit box
    texts.channels[15].closed = true;
    const ReportPage page = reportPage(texts, 180);
    EXPECT_EQ(textsAt(page, 7272 + 2 * 360), (std::vector<PageText> { { 1170, 7272 + 2 * 360, 9, false, "3" } }));
    EXPECT_EQ(textsAt(page, 7272 + 15 * 360), (std::vector<PageText> { { 1110, 7272 + 15 * 360, 9, false, "16" } }));
    EXPECT_EQ(textsAt(page, 7272 + 3 * 360).size(), 11u);
    // The table itself stays whole.
    EXPECT_EQ(page.lines.size(), 30u);
}

TEST(ReportPage, TransmitInhibitedChannelLeavesItsTransmitColumnsEmpty)
{
    ReportTexts texts = sampleTexts();
    texts.channels[4].transmitInhibited = true;
    const int y = 7272 + 4 * 360;
    const auto& c = texts.channels[4].cells;
    const std::vector<PageText> expected {
        { 1170, y, 9, false, "5" },
        { 1560, y, 9, true, c[0] },
        { 2580, y, 9, true, c[1] },
        { 3130, y, 8, true, c[2] },
        { 7170, y, 9, true, c[6] },
        { 7860, y, 9, true, c[7] },
        { 8580, y, 9, true, c[8] },
        { 9210, y, 9, true, c[9] },
    };
    EXPECT_EQ(textsAt(reportPage(texts, 180), y), expected);
}

TEST(ReportPage, AllClosedPrintsHeadingsNumbersAndRulesOnly)
{
    ReportTexts texts = sampleTexts();
    for (ChannelTexts& c : texts.channels)
        c.closed = true;
    const ReportPage page = reportPage(texts, 180);
    EXPECT_EQ(page.texts.size(), 17u + 13u + 19u + 16u);
    EXPECT_EQ(page.lines.size(), 30u);
}

TEST(ReportPage, EmptyTextsLeaveNoMark)
{
    ReportTexts texts = sampleTexts();
    texts.model.clear(); // a model code with no model leaves the list without a selection
    texts.settings[static_cast<std::size_t>(SettingsList::Squelch)].clear();
    const ReportPage page = reportPage(texts, 180);
    EXPECT_EQ(textsAt(page, 1710), (std::vector<PageText> { { 1400, 1710, 9, false, "机型: " } }));
    EXPECT_EQ(page.texts.size(), 17u + 11u + 19u + 16u + 16u * 10u);
}

TEST(ReportPage, LargeLineUnitStillGivesOnePageOfTheSameShape)
{
    const ReportPage page = reportPage(sampleTexts(), 400);
    EXPECT_EQ(page.texts.size(), 17u + 13u + 19u + 16u + 16u * 10u);
    EXPECT_EQ(page.lines.size(), 30u);
    EXPECT_EQ(page.lines[1].y1, 7000 + 21800); // 17.5 h + 54.5 h
}
