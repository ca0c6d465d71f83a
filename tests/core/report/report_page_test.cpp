// The printed page's texts and rules, placed and sized, for channels of every kind and three line units.

#include "core/report/report_page.h"

#include "support/golden_match.h"

#include <gtest/gtest.h>

using namespace korvane::report;

namespace {

ReportTexts sampleTexts()
{
    ReportTexts t;
    t.band = "136～150MHz"; // no model: the model list shows nothing
    t.settings = { "暂态有条件监听", "60s", "", "有效", "有效", "25.0kHz", "关闭扫描功能", "关闭", "0.5s",
        "第一扫描信道", "3.0s" };
    const char* signalling[]
        = { "OFF", "AB: 1", "CDCSS: 7", "CDCSS: 023", "--CDCSS: 754", "CTCSS: 100.0", "2-Tone: 15" };
    for (std::size_t i = 0; i < t.channels.size(); ++i) {
        const std::string mhz = "14" + std::to_string(i % 10) + ".01250";
        t.channels[i].cells
            = { mhz, "2.50", signalling[i % 7], mhz, "6.25", signalling[(i + 3) % 7], "ADD", "OFF", "ON", "Wide" };
    }
    t.channels[2].closed = t.channels[2].transmitInhibited = true; // a closed channel ignores its transmit box
    t.channels[4].transmitInhibited = t.channels[15].closed = true;
    return t;
}

std::string pageText(const ReportPage& page)
{
    std::ostringstream out;
    for (const PageText& t : page.texts)
        out << t.x << "," << t.y << " " << t.size << (t.emphasis ? "! " : " ") << t.text << "\n";
    for (const PageLine& l : page.lines)
        out << "line " << l.x1 << "," << l.y1 << " " << l.x2 << "," << l.y2 << "\n";
    return out.str();
}

} // namespace

TEST(CoreReport, MatchesTheCommittedPages)
{
    ReportTexts closed = sampleTexts();
    closed.model = "MX-310(1)/MX-310S(1)";
    for (ChannelTexts& c : closed.channels)
        c.closed = true;
    for (const auto& [name, texts, h] : { std::tuple { "180", sampleTexts(), 180 }, { "181", sampleTexts(), 181 },
             { "400", sampleTexts(), 400 }, { "closed", closed, 180 } }) {
        const std::string produced = pageText(reportPage(texts, h));
        EXPECT_TRUE(korvane::test::matchesGolden("report/page_" + std::string(name) + ".txt", produced));
    }
}
