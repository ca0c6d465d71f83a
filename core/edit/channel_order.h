#pragma once
// Rearranging the channel table: moving channels up or down, inserting and deleting a channel,
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

// Channels `at`..14 move down one place and `at` becomes `fresh`. Refused while channel 16 is
// open, since it would be pushed off the end.
util::Result<model::ChannelTable> insertChannel(const model::ChannelTable& table, int at, const model::Record& fresh);

// Channels after `at` move up one place; channel 16 becomes `fresh` (a closed record).
model::ChannelTable deleteChannel(const model::ChannelTable& table, int at, const model::Record& fresh);

// The open channels in order of receive frequency (equal ones keep their order) from channel 1,
// then the closed ones in their order.
model::ChannelTable sortByReceiveFrequency(const model::ChannelTable& table);

} // namespace korvane::edit
