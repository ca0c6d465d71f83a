#pragma once
// How a data file spells its items: a two-byte type tag, then the item's own fields, all
// little-endian, with nothing between items.

#include <cstddef>
#include <cstdint>

namespace korvane::files {

inline constexpr std::uint16_t kTextItem = 0x0008; // u16 length, then that many bytes
inline constexpr std::uint16_t kIntegerItem = 0x0002; // i16 value
// u16 dimension count, then per dimension a u32 element count and an i32 lower bound, then the
// elements with the first index varying fastest.
inline constexpr std::uint16_t kByteTableItem = 0x2011;

inline constexpr std::size_t kTagSize = 2;
inline constexpr std::size_t kBoundPairSize = 8;

} // namespace korvane::files
