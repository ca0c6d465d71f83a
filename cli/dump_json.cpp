#include "cli/dump_json.h"

#include "cli/json_writer.h"
#include "core/model/channel_view.h"
#include "core/model/models.h"
#include "core/model/record_layout.h"
#include "core/model/settings_fields.h"

#include <array>
#include <utility>
#include <vector>

namespace korvane::cli {

namespace {

template <std::size_t N> std::string recordRows(const std::array<model::Record, N>& table)
{
    std::string out = "[\n";
    for (std::size_t i = 0; i < N; ++i)
        out += "    " + jsonArray(std::span<const std::uint8_t>(table[i])) + (i + 1 < N ? ",\n" : "\n");
    return out + "  ]";
}

std::string listsObject(const model::RadioImage& image)
{
    using model::SettingsList;
    const std::pair<const char*, SettingsList> lists[] = {
        { "monitor", SettingsList::Monitor }, { "tot", SettingsList::TimeOut },
        { "squelch", SettingsList::Squelch }, { "beep", SettingsList::Beep },
        { "save", SettingsList::BatterySave }, { "spacing", SettingsList::Spacing },
        { "scan", SettingsList::ScanMode }, { "priority", SettingsList::Priority },
        { "scan_back", SettingsList::ScanBack }, { "revert", SettingsList::Revert },
        { "dwell", SettingsList::Dwell },
    };
    std::string out = "{\n";
    out += "    \"model\": " + jsonQuote(model::modelEntry(image.modelIndex).value_or("")) + ",\n";
    out += "    \"band\": " + jsonQuote(model::bandText(image.modelIndex).value_or(""));
    for (const auto& [key, list] : lists)
        out += ",\n    " + jsonQuote(key) + ": " + jsonQuote(model::settingText(list, image.settings).value_or(""));
    return out + "\n  }";
}

} // namespace

std::string dumpJson(const model::RadioImage& image, bool fiveKhzForm)
{
    std::string grid = "[\n";
    std::array<bool, model::kChannelCount> closed {};
    std::array<bool, model::kChannelCount> inhibited {};
    for (int i = 0; i < model::kChannelCount; ++i) {
        const auto texts = model::channelCellTexts(image.channels[i]);
        grid += "    " + jsonArray(std::span<const std::string>(texts)) + (i + 1 < model::kChannelCount ? ",\n" : "\n");
        closed[i] = !model::isChannelOpen(image.channels[i]);
        inhibited[i] = !model::isTransmitAllowed(image.channels[i]);
    }
    grid += "  ]";

    std::string out = "{\n";
    out += "  \"model_index\": " + std::to_string(image.modelIndex) + ",\n";
    out += "  \"five_khz_form\": " + std::string(fiveKhzForm ? "true" : "false") + ",\n";
    out += "  \"channels\": " + recordRows(image.channels) + ",\n";
    out += "  \"settings\": " + jsonArray(std::span<const std::uint8_t>(image.settings)) + ",\n";
    out += "  \"parameters\": " + recordRows(image.parameters) + ",\n";
    out += "  \"alignment\": " + recordRows(image.alignment) + ",\n";
    out += "  \"grid\": " + grid + ",\n";
    out += "  \"closed\": " + jsonArray(std::span<const bool>(closed)) + ",\n";
    out += "  \"tx_inhibited\": " + jsonArray(std::span<const bool>(inhibited)) + ",\n";
    out += "  \"lists\": " + listsObject(image) + "\n";
    return out + "}\n";
}

} // namespace korvane::cli
