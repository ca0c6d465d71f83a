#pragma once
// The Radio image: the program's whole model of one radio, as fixed-shape byte tables plus the
// model index that says which model and band the tables belong to.

#include <array>
#include <cstdint>

namespace korvane::model {

inline constexpr int kChannelCount = 16;
inline constexpr int kRecordSize = 16;
inline constexpr int kSettingsSize = 32;
inline constexpr int kParameterRecords = 10;
inline constexpr int kAlignmentRecords = 3;

using Record = std::array<std::uint8_t, kRecordSize>;
using ChannelTable = std::array<Record, kChannelCount>;
using ParameterTable = std::array<Record, kParameterRecords>;
using AlignmentTable = std::array<Record, kAlignmentRecords>; // 0 high end, 1 centre, 2 low end
using SettingsBlock = std::array<std::uint8_t, kSettingsSize>;

struct RadioImage {
    ChannelTable channels {};
    SettingsBlock settings {};
    ParameterTable parameters {};
    AlignmentTable alignment {};
    std::int16_t modelIndex = 0; // 0..6, or -1 when a file or radio named a code with no model
    // The model code a data file carried when it has no model (index -1), so that saving the
    // image again writes the same code back and the file still opens.
    std::int16_t unknownModelCode = -1;

    friend bool operator==(const RadioImage&, const RadioImage&) = default;
};

} // namespace korvane::model
