#pragma once
// Reading the radio's read-out: a run of data records (with any stray bytes between them) that
// address the channel table, the settings block, the parameter table and the model.

#include "core/model/radio_image.h"
#include "core/util/result.h"

#include <cstdint>
#include <span>

namespace korvane::link {

// Why a record does not fit.
enum class StreamFault {
    HeaderPastEnd,
    DataPastEnd,
    ChannelByte, // beyond byte 15 of a channel record
    SettingsByte, // beyond byte 31 of the settings block
    ParameterRecord, // beyond parameter record 9
    ParameterByte, // beyond byte 15 of a parameter record
};

struct StreamContents {
    int modelCode = -1; // carried by the last model record; -1 when the stream has none
};

// Stores every record of the stream into `staging` as it goes. On a fault `staging` is partly
// written: pass a copy, never the image the user is editing.
util::Result<StreamContents, StreamFault> parseDataStream(
    std::span<const std::uint8_t> stream, model::RadioImage& staging);

} // namespace korvane::link
