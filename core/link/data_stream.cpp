#include "core/link/data_stream.h"

#include "core/link/data_record.h"

#include <algorithm>

namespace korvane::link {

util::Result<StreamContents, StreamFault> parseDataStream(
    std::span<const std::uint8_t> stream, model::RadioImage& staging)
{
    StreamContents contents;
    const std::size_t n = stream.size();
    std::size_t i = 0;
    while (i < n) {
        if (stream[i] != kRecordStart) {
            ++i;
            continue;
        }
        if (i + 3 >= n) return StreamFault::HeaderPastEnd;
        const std::uint8_t kind = stream[i + 1];
        const std::uint8_t address = stream[i + 2];
        const std::size_t length = stream[i + 3];
        if (i + 3 + length >= n) return StreamFault::DataPastEnd;
        const std::span<const std::uint8_t> data = stream.subspan(i + 4, length);
        const int area = address >> 4;
        const std::size_t first = address & 0x0F;

        if (kind == kKindChannels && length > 0) {
            if (first + length > model::kRecordSize) return StreamFault::ChannelByte;
            std::copy(data.begin(), data.end(), staging.channels[static_cast<std::size_t>(area)].begin() + first);
        } else if (kind == kKindSettings && area == kSettingsBlockArea && length > 0) {
            if (first + length > model::kSettingsSize) return StreamFault::SettingsByte;
            std::copy(data.begin(), data.end(), staging.settings.begin() + first);
        } else if (kind == kKindSettings && area >= kFirstParameterArea && length > 0) {
            const int record = area - kFirstParameterArea;
            if (record >= model::kParameterRecords) return StreamFault::ParameterRecord;
            if (first + length > model::kRecordSize) return StreamFault::ParameterByte;
            std::copy(data.begin(), data.end(), staging.parameters[static_cast<std::size_t>(record)].begin() + first);
        } else if (kind == kKindModel && address == kModelAddress && length > 0) {
            contents.modelCode = data[0];
        }
        i += 4 + length;
    }
    return contents;
}

} // namespace korvane::link
