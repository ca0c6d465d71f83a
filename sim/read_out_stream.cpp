#include "sim/read_out_stream.h"

#include "core/model/frequency_form.h"

#include <span>

namespace korvane::sim {

namespace {

using Half = std::span<const std::uint8_t, kRecordDataSize>;

Half half(std::span<const std::uint8_t> bytes, std::size_t first)
{
    return Half(bytes.subspan(first, kRecordDataSize));
}

std::uint8_t address(int highNibble, std::size_t firstByte)
{
    return static_cast<std::uint8_t>((highNibble << 4) | static_cast<int>(firstByte));
}

} // namespace

std::size_t readOutSize(Generation generation)
{
    return generation == Generation::Older ? kOlderReadOutSize : kNewerReadOutSize;
}

std::vector<WireRecord> readOutRecords(const RadioMemory& memory, Generation generation)
{
    const bool older = generation == Generation::Older;
    std::vector<WireRecord> records;

    // Older radios count in 5 kHz units on the line; what they hold is kept in the image form.
    model::ChannelTable channels = memory.image.channels;
    if (older) model::to5kHzForm(channels);
    for (int ch = 0; ch < model::kChannelCount; ++ch)
        for (std::size_t first : { std::size_t { 0 }, kRecordDataSize })
            records.push_back(makeRecord(kChannelArea, address(ch, first), half(channels[ch], first)));

    const std::size_t settingsSent = older ? 16 : model::kSettingsSize;
    for (std::size_t first = 0; first < settingsSent; first += kRecordDataSize)
        records.push_back(
            makeRecord(kSettingsArea, static_cast<std::uint8_t>(first), half(memory.image.settings, first)));

    if (!older) {
        for (int rec = 0; rec < model::kParameterRecords; ++rec)
            for (std::size_t first : { std::size_t { 0 }, kRecordDataSize })
                records.push_back(makeRecord(kSettingsArea, address(kFirstParameterNibble + rec, first),
                    half(memory.image.parameters[rec], first)));
    }

    const std::array<std::uint8_t, kRecordDataSize> model { memory.modelCode };
    records.push_back(makeRecord(kModelArea, kModelAddress, model));
    return records;
}

std::vector<std::uint8_t> readOutStream(const RadioMemory& memory, Generation generation)
{
    std::vector<std::uint8_t> stream;
    for (const WireRecord& record : readOutRecords(memory, generation))
        stream.insert(stream.end(), record.begin(), record.end());
    return stream;
}

std::vector<std::uint8_t> garbageStream(std::size_t length)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(length);
    std::uint32_t state = 0x2545F491;
    while (bytes.size() < length) {
        state = state * 1664525u + 1013904223u;
        const auto b = static_cast<std::uint8_t>(state >> 24);
        if (b != kRecordStart) bytes.push_back(b);
    }
    return bytes;
}

} // namespace korvane::sim
