#pragma once
// Setting the same fields of many channels at once. A field left empty keeps each channel's own.

#include "core/model/radio_image.h"

#include <array>
#include <optional>
#include <vector>

namespace korvane::edit {

struct BulkChange {
    std::array<std::optional<bool>, 2> step625; // receive, transmit: 6.25 kHz (true) or 2.5 kHz
    // Receive, transmit: a record whose side carries the signalling to copy (kind, code, 2-Tone).
    std::array<std::optional<model::Record>, 2> signalling;
    std::optional<bool> scanAdd;
    std::optional<bool> busyLock;
    std::optional<bool> clockShift;
    std::optional<bool> narrow;
};

// The channel table with the change made to every chosen channel (counted from 0). A new step
// moves each frequency onto it, as the grid's step toggle does. Wide is only taken while the
// radio's channel spacing allows it (`wideAllowed`), as in the grid.
model::ChannelTable applyBulkChange(
    const model::RadioImage& image, const std::vector<int>& chosen, const BulkChange& change, bool wideAllowed);

} // namespace korvane::edit
