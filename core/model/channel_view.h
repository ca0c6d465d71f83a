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

// What column 1..10 holds, in words: "接收频率", "接收步进", ... "频率宽度".
std::string_view channelColumnName(int column);

// Columns 1..10: receive frequency, step, signalling, transmit frequency, step, signalling,
// scan ("ADD"/"DEL"), busy lock and clock shift ("ON"/"OFF"), bandwidth ("Wide"/"Narrow").
std::array<std::string, kChannelColumns> channelCellTexts(const Record& r);

} // namespace korvane::model
