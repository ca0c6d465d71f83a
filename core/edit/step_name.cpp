#include "core/edit/step_name.h"

#include "core/compare/image_compare.h"
#include "core/model/settings_fields.h"

#include <algorithm>
#include <vector>

namespace korvane::edit {

std::string stepName(const model::RadioImage& before, const model::RadioImage& after)
{
    if (before.modelIndex != after.modelIndex) return "机型";
    for (int k = 0; k < 11; ++k) {
        const auto which = static_cast<model::SettingsList>(k);
        if (model::decodeSetting(which, before.settings) != model::decodeSetting(which, after.settings))
            return std::string(model::settingsListCaption(which));
    }
    // A channel's step is named as the comparison names its first difference ("信道 3 接收频率");
    // bytes no column shows leave just the channel.
    const auto differences = compare::compareImages(before, after);
    std::vector<int> changed;
    for (const compare::Difference& d : differences)
        if (d.channel >= 0 && std::find(changed.begin(), changed.end(), d.channel) == changed.end())
            changed.push_back(d.channel);
    if (changed.size() != 1) return changed.empty() ? "调整数据" : "信道";
    const std::string channel = "信道 " + std::to_string(changed.front() + 1);
    const auto first = std::find_if(
        differences.begin(), differences.end(), [](const compare::Difference& d) { return d.channel >= 0; });
    return first->where.starts_with(channel + ' ') ? first->where : channel;
}

} // namespace korvane::edit
