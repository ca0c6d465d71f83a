#pragma once
// The texts a channel shows in the ten data columns of the channel grid, as the window, the
// command line and the printed report show them.

#include "core/model/radio_image.h"

#include <array>
#include <string>
#include <string_view>

namespace korvane::model {

inline constexpr int kChannelColumns = 10;

std::string_view stepText(bool step625); // "6.25" or "2.50"

// Columns 1..10: receive frequency, step, signalling, transmit frequency, step, signalling,
// scan ("ADD"/"DEL"), busy lock and clock shift ("ON"/"OFF"), bandwidth ("Wide"/"Narrow").
std::array<std::string, kChannelColumns> channelCellTexts(const Record& r);

} // namespace korvane::model
