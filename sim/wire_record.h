#pragma once
// The data record both sides exchange: a start byte, the memory area, the address inside it, the
// number of data bytes and the data. This radio always sends eight data bytes per record.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace korvane::sim {

inline constexpr std::uint8_t kRecordStart = 0x57; // "W"
inline constexpr std::size_t kRecordHeaderSize = 4; // start, area, address, length
inline constexpr std::size_t kRecordDataSize = 8;
inline constexpr std::size_t kRecordSize = kRecordHeaderSize + kRecordDataSize;

inline constexpr std::uint8_t kChannelArea = 0x00; // address: channel << 4 | first byte
inline constexpr std::uint8_t kSettingsArea = 0x02; // high nibble 0 settings, 1 spare, 2..11 parameters
inline constexpr std::uint8_t kModelArea = 0x03;
inline constexpr std::uint8_t kModelAddress = 0xD8; // first data byte: the model code

inline constexpr int kSpareSettingsNibble = 1;
inline constexpr int kFirstParameterNibble = 2;

using WireRecord = std::array<std::uint8_t, kRecordSize>;

WireRecord makeRecord(std::uint8_t area, std::uint8_t address, std::span<const std::uint8_t, kRecordDataSize> data);

} // namespace korvane::sim
