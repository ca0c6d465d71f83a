#include "core/edit/channel_order.h"

#include "core/model/frequency_codec.h"
#include "core/model/record_layout.h"

#include <algorithm>

namespace korvane::edit {

namespace {

util::Message channel16InUse()
{
    return { "信道16正在使用，无法插入信道。请先关闭信道16。", "插入信道", util::MessageIcon::Exclamation, {} };
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

util::Result<model::ChannelTable> insertChannel(const model::ChannelTable& table, int at, const model::Record& fresh)
{
    if (model::isChannelOpen(table.back())) return channel16InUse();
    model::ChannelTable result = table;
    std::copy_backward(table.begin() + at, table.end() - 1, result.end());
    result[static_cast<std::size_t>(at)] = fresh;
    return result;
}

model::ChannelTable deleteChannel(const model::ChannelTable& table, int at, const model::Record& fresh)
{
    model::ChannelTable result = table;
    std::copy(table.begin() + at + 1, table.end(), result.begin() + at);
    result.back() = fresh;
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
