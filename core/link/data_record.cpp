#include "core/link/data_record.h"

#include "core/model/frequency_form.h"
#include "core/model/models.h"

#include <algorithm>

namespace korvane::link {

namespace {

std::span<const std::uint8_t, kRecordDataSize> half(const model::Record& r, int which)
{
    return std::span<const std::uint8_t, kRecordDataSize>(r.data() + which * kRecordDataSize, kRecordDataSize);
}

std::uint8_t byte(int value) { return static_cast<std::uint8_t>(value); }

} // namespace

DataRecord makeDataRecord(std::uint8_t kind, std::uint8_t address, std::span<const std::uint8_t, kRecordDataSize> data)
{
    DataRecord record { kRecordStart, kind, address, static_cast<std::uint8_t>(kRecordDataSize) };
    std::copy(data.begin(), data.end(), record.begin() + 4);
    return record;
}

std::optional<std::vector<DataRecord>> programmingRecords(const model::RadioImage& image, Generation g)
{
    const int code = model::modelCodeFromIndex(image.modelIndex);
    if (code < 0) return std::nullopt;

    model::ChannelTable channels = image.channels;
    if (g == Generation::Older) model::to5kHzForm(channels);

    std::vector<DataRecord> records;
    records.reserve(static_cast<std::size_t>(programmingRecordCount(g)));
    // Each channel record travels in two halves, addressed channel * 16 + first byte.
    for (int r = 0; r < 2 * model::kChannelCount; ++r)
        records.push_back(makeDataRecord(kKindChannels, byte(r * 8), half(channels[r / 2], r % 2)));
    // Only settings bytes 0-15 are programmed; the rest belong to the radio.
    const std::span<const std::uint8_t> settings(image.settings);
    records.push_back(makeDataRecord(kKindSettings, 0x00, settings.subspan<0, kRecordDataSize>()));
    records.push_back(makeDataRecord(kKindSettings, 0x08, settings.subspan<kRecordDataSize, kRecordDataSize>()));
    if (g == Generation::Newer) {
        for (int r = 0; r < 2 * model::kParameterRecords; ++r)
            records.push_back(makeDataRecord(kKindSettings, byte((r + 4) * 8), half(image.parameters[r / 2], r % 2)));
    }
    const std::array<std::uint8_t, kRecordDataSize> model { byte(code) };
    const DataRecord modelRecord = makeDataRecord(kKindModel, kModelAddress, model);
    records.push_back(modelRecord);
    // Newer radios take the model record twice.
    if (g == Generation::Newer) records.push_back(modelRecord);
    return records;
}

} // namespace korvane::link
