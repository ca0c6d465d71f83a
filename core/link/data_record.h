#pragma once
// The 12-byte data record in which the radio's memory travels: 0x57, kind, address, length 8 and
// eight bytes of the addressed table. Programming sends a fixed sequence of them.

#include "core/link/generation.h"
#include "core/model/radio_image.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace korvane::link {

inline constexpr std::uint8_t kRecordStart = 0x57;
inline constexpr std::uint8_t kKindChannels = 0x00;
inline constexpr std::uint8_t kKindSettings = 0x02; // settings block and parameter table
inline constexpr std::uint8_t kKindModel = 0x03;
inline constexpr std::uint8_t kModelAddress = 0xD8;
// Settings-area addresses: high nibble 0 the settings block, 1 a block we never keep, 2..11
// parameter records 0..9; the low nibble is the first byte.
inline constexpr int kSettingsBlockArea = 0;
inline constexpr int kIgnoredArea = 1;
inline constexpr int kFirstParameterArea = 2;

inline constexpr std::size_t kRecordDataSize = 8;
inline constexpr std::size_t kDataRecordSize = 4 + kRecordDataSize;

using DataRecord = std::array<std::uint8_t, kDataRecordSize>;

DataRecord makeDataRecord(std::uint8_t kind, std::uint8_t address, std::span<const std::uint8_t, kRecordDataSize> data);

// The records that program a radio of generation g with the image, in sending order; channel
// frequencies go to older radios in the 5 kHz form. nullopt when the image's model has no model
// code to send.
std::optional<std::vector<DataRecord>> programmingRecords(const model::RadioImage& image, Generation g);

} // namespace korvane::link
