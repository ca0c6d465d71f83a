#include "core/edit/channel_order.h"

#include "core/model/frequency_codec.h"
#include "core/model/record_layout.h"

#include <algorithm>

namespace korvane::edit {

namespace {

// "信道16正在使用，..." or, for several, "信道15、16正在使用，...".
util::Message channelsInUse(const std::vector<int>& open)
{
    std::string names;
    for (int c : open)
        names += (names.empty() ? "" : "、") + std::to_string(c + 1);
    return { "信道" + names + "正在使用，无法插入信道。请先关闭信道" + names + "。", "插入信道",
        util::MessageIcon::Exclamation, {} };
}

} // namespace

std::optional<std::vector<int>> moveChannels(model::ChannelTable& table, std::vector<int> chosen, int direction)
{
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    if (chosen.empty()) return std::nullopt;
    const int edge = direction < 0 ? 0 : model::kChannelCount - 1;
    if ((direction < 0 ? chosen.front() : chosen.back()) == edge) return std::nullopt;
    // Walk from the side they move towards, so that a block moves as one.
    if (direction > 0) std::reverse(chosen.begin(), chosen.end());
    for (int& c : chosen) {
        std::swap(table[static_cast<std::size_t>(c)], table[static_cast<std::size_t>(c + direction)]);
        c += direction;
    }
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

util::Result<model::ChannelTable> insertChannels(
    const model::ChannelTable& table, int at, int count, const model::Record& fresh)
{
    count = std::clamp(count, 0, model::kChannelCount - at);
    std::vector<int> pushedOff;
    for (int c = model::kChannelCount - count; c < model::kChannelCount; ++c)
        if (model::isChannelOpen(table[static_cast<std::size_t>(c)])) pushedOff.push_back(c);
    if (!pushedOff.empty()) return channelsInUse(pushedOff);
    model::ChannelTable result = table;
    std::copy_backward(table.begin() + at, table.end() - count, result.end());
    std::fill(result.begin() + at, result.begin() + at + count, fresh);
    return result;
}

model::ChannelTable deleteChannels(
    const model::ChannelTable& table, const std::vector<int>& chosen, const model::Record& fresh)
{
    model::ChannelTable result;
    result.fill(fresh);
    std::size_t kept = 0;
    for (int c = 0; c < model::kChannelCount; ++c)
        if (std::find(chosen.begin(), chosen.end(), c) == chosen.end())
            result[kept++] = table[static_cast<std::size_t>(c)];
    return result;
}

model::ChannelTable sortByReceiveFrequency(const model::ChannelTable& table)
{
    model::ChannelTable result = table;
    const auto closedFrom = std::stable_partition(result.begin(), result.end(), model::isChannelOpen);
    std::stable_sort(result.begin(), closedFrom, [](const model::Record& a, const model::Record& b) {
        return model::frequencyHz(a, model::Side::Receive) < model::frequencyHz(b, model::Side::Receive);
    });
    return result;
}

} // namespace korvane::edit
