#include "core/link/five_khz_rounding.h"

#include "core/model/frequency_form.h"

namespace korvane::link {

std::vector<ChannelSide> sidesOff5kHzGrid(const model::ChannelTable& channels)
{
    std::vector<ChannelSide> sides;
    for (int c = 0; c < model::kChannelCount; ++c) {
        for (model::Side s : { model::Side::Receive, model::Side::Transmit }) {
            if (model::isOff5kHzGrid(channels[static_cast<std::size_t>(c)], static_cast<int>(s)))
                sides.push_back({ c, s });
        }
    }
    return sides;
}

void roundOnto5kHzGrid(model::ChannelTable& channels, std::span<const ChannelSide> sides)
{
    for (const ChannelSide& cs : sides) {
        // Clearing the low bit of an odd count is one 2.5 kHz unit down.
        std::uint8_t& low = channels[static_cast<std::size_t>(cs.channel)][model::sideBase(cs.side)];
        model::setBit(low, 0, false);
    }
}

} // namespace korvane::link
