#pragma once
// The packet that gives the radio a new alignment value: "T", bytes 0..9 of the item's test
// channel (receive frequency and signalling, transmit frequency and signalling) and the value.

#include "core/model/radio_image.h"
#include "core/serial/serial_port.h"

#include <array>
#include <cstdint>

namespace korvane::link {

inline constexpr std::uint8_t kAdjustPacketStart = 0x54;
inline constexpr std::size_t kAdjustPacketSize = 12;
inline constexpr std::size_t kTestChannelBytes = 10;

using AdjustPacket = std::array<std::uint8_t, kAdjustPacketSize>;

// An older radio counts the test channel's frequencies in 5 kHz units like everything else it
// hears; the table itself stays in the image form.
AdjustPacket adjustPacket(const model::AlignmentTable& table, int item, bool fiveKhzForm, std::uint8_t value);

} // namespace korvane::link
