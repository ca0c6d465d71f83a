#pragma once
// Older radios cannot hold a frequency between two 5 kHz channels. Before programming one, every
// side counted in 2.5 kHz units on an odd count is moved one unit down onto the 5 kHz grid, with
// the user's consent; open and closed channels alike.

#include "core/model/radio_image.h"
#include "core/model/record_layout.h"

#include <span>
#include <vector>

namespace korvane::link {

struct ChannelSide {
    int channel = 0; // 0..15
    model::Side side = model::Side::Receive;

    friend bool operator==(const ChannelSide&, const ChannelSide&) = default;
};

// In channel order, receive before transmit.
std::vector<ChannelSide> sidesOff5kHzGrid(const model::ChannelTable& channels);
void roundOnto5kHzGrid(model::ChannelTable& channels, std::span<const ChannelSide> sides);

} // namespace korvane::link
