#pragma once
// What the radio sends after the go-ahead: its memory as data records. An older radio sends
// 35 records (420 bytes): 32 channel halves in the 5 kHz form, settings bytes 0-15 and the model
// record. A newer radio sends 57 records (684 bytes): 32 channel halves in the image form, all
// 32 settings bytes (the program keeps only the first 16), the 20 halves of the parameter table
// and the model record.

#include "sim/radio_config.h"
#include "sim/radio_memory.h"
#include "sim/wire_record.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvane::sim {

inline constexpr std::size_t kOlderReadOutSize = 420;
inline constexpr std::size_t kNewerReadOutSize = 684;

std::size_t readOutSize(Generation generation);

std::vector<WireRecord> readOutRecords(const RadioMemory& memory, Generation generation);
std::vector<std::uint8_t> readOutStream(const RadioMemory& memory, Generation generation);

// Line noise of the given length that never holds a record start byte.
std::vector<std::uint8_t> garbageStream(std::size_t length);

} // namespace korvane::sim
