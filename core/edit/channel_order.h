#pragma once
// Rearranging the channel table: moving channels up or down, inserting and deleting channels,
// and sorting the open channels by receive frequency. Channel numbers here count from 0.

#include "core/model/radio_image.h"
#include "core/util/result.h"

#include <optional>
#include <vector>

namespace korvane::edit {

// Moves the chosen channels one place up (direction -1) or down (+1), each past its neighbour,
// keeping their order. Returns where they are now, or nothing (and no change) when one of them
// is already first or last.
std::optional<std::vector<int>> moveChannels(model::ChannelTable& table, std::vector<int> chosen, int direction);

// `count` channels `fresh` go in at `at`, the channels from there moving down. Refused while a
// channel that would be pushed off the end is open.
util::Result<model::ChannelTable> insertChannels(
    const model::ChannelTable& table, int at, int count, const model::Record& fresh);

// The chosen channels go; the ones after them move up, and the channels freed at the end become
// `fresh` (a closed record).
model::ChannelTable deleteChannels(
    const model::ChannelTable& table, const std::vector<int>& chosen, const model::Record& fresh);

// The open channels in order of receive frequency (equal ones keep their order) from channel 1,
// then the closed ones in their order.
model::ChannelTable sortByReceiveFrequency(const model::ChannelTable& table);

} // namespace korvane::edit
