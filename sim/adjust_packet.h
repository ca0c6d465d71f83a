#pragma once
// The packet that carries a new alignment value while an item is under adjustment: a start
// byte, bytes 0-9 of the test channel the radio is to work on, and the value.

#include <cstddef>
#include <cstdint>

namespace korvane::sim {

inline constexpr std::uint8_t kAdjustStart = 0x54; // "T"
inline constexpr std::size_t kTestChannelBytes = 10;
inline constexpr std::size_t kAdjustPacketSize = 1 + kTestChannelBytes + 1;
inline constexpr std::size_t kAdjustValueOffset = kAdjustPacketSize - 1;

} // namespace korvane::sim
