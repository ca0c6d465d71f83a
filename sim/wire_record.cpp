#include "sim/wire_record.h"

#include <algorithm>

namespace korvane::sim {

WireRecord makeRecord(std::uint8_t area, std::uint8_t address, std::span<const std::uint8_t, kRecordDataSize> data)
{
    WireRecord record { kRecordStart, area, address, static_cast<std::uint8_t>(kRecordDataSize) };
    std::copy(data.begin(), data.end(), record.begin() + kRecordHeaderSize);
    return record;
}

} // namespace korvane::sim
