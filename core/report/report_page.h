#pragma once
// The printed channel report as data: every text with its place (twips from the top-left corner
// of the printable area), font size and emphasis, and every ruled line. The line unit h (twips)
// sets all vertical positions; the texts are those the window shows.

#include "core/model/channel_view.h"
#include "core/model/radio_image.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::report {

// The font the whole page asks for, and the size its line unit is measured with.
inline constexpr std::string_view kReportFont = "宋体";
inline constexpr int kLineUnitFontSize = 9;
// Width of the table's rules, in device pixels.
inline constexpr int kRuleWidth = 3;

struct ChannelTexts {
    std::array<std::string, model::kChannelColumns> cells; // grid columns 1..10 as displayed
    bool closed = false; // its "close channel" box is ticked
    bool transmitInhibited = false; // its "transmit inhibited" box is ticked
};

// What the channel view shows. Texts are UTF-8.
struct ReportTexts {
    std::string model; // the model list's entry
    std::string band; // the band label
    std::array<std::string, 11> settings; // the settings lists' entries, indexed by model::SettingsList
    std::array<ChannelTexts, model::kChannelCount> channels;
};

struct PageText {
    int x = 0; // left edge
    int y = 0; // top edge
    int size = 0; // points
    bool emphasis = false; // values print emphasised, labels and headings plain
    std::string text;

    bool operator==(const PageText&) const = default;
};

struct PageLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;

    bool operator==(const PageLine&) const = default;
};

// Texts and lines in the order they are placed.
struct ReportPage {
    std::vector<PageText> texts;
    std::vector<PageLine> lines;
};

// The upper part of the page: title, model and band, function and scan settings, and the
// table's heading.
void printSettingsPage(ReportPage& page, const ReportTexts& texts, int h);
// The ruled channel table with its headings, channel numbers and values.
void printChannelTable(ReportPage& page, const ReportTexts& texts, int h);
// The whole page.
ReportPage reportPage(const ReportTexts& texts, int h);

} // namespace korvane::report
