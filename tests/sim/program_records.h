#pragma once
// The record sequences a program sends when it programs a radio, put together here from the
// record layout alone so the radio's side is checked against an independent build.

#include "core/model/radio_image.h"

#include <array>
#include <cstdint>
#include <vector>

namespace korvane::sim::test {

using Record12 = std::vector<std::uint8_t>;

inline Record12 record(std::uint8_t kind, std::uint8_t address, const std::uint8_t* data)
{
    Record12 r { 0x57, kind, address, 0x08 };
    r.insert(r.end(), data, data + 8);
    return r;
}

// Channels as they travel (image form for a newer radio, 5 kHz form for an older one).
inline std::vector<Record12> programRecords(const model::ChannelTable& channels, const model::SettingsBlock& settings,
    const model::ParameterTable* parameters, std::uint8_t modelCode)
{
    std::vector<Record12> records;
    for (int r = 0; r < 32; ++r)
        records.push_back(record(0x00, static_cast<std::uint8_t>(r * 8), channels[r / 2].data() + (r % 2) * 8));
    records.push_back(record(0x02, 0x00, settings.data()));
    records.push_back(record(0x02, 0x08, settings.data() + 8));
    if (parameters) {
        for (int r = 34; r <= 53; ++r)
            records.push_back(record(
                0x02, static_cast<std::uint8_t>((r - 30) * 8), (*parameters)[(r - 34) / 2].data() + (r % 2) * 8));
    }
    const std::array<std::uint8_t, 8> model { modelCode };
    records.push_back(record(0x03, 0xD8, model.data()));
    if (parameters) records.push_back(records.back());
    return records;
}

} // namespace korvane::sim::test
