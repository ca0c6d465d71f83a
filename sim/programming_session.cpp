#include "sim/programming_session.h"

#include "core/model/frequency_form.h"
#include "sim/wire_record.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace korvane::sim {

namespace {

std::string format(const char* pattern, int a, int b = 0, int c = 0)
{
    char text[96];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

// Copies the data into table[first..], or leaves the table alone when it would run past the end.
bool put(std::span<std::uint8_t> table, int first, std::span<const std::uint8_t> data)
{
    if (first + static_cast<int>(data.size()) > static_cast<int>(table.size())) return false;
    std::copy(data.begin(), data.end(), table.begin() + first);
    return true;
}

std::string bytesText(const char* what, int index, int first, std::size_t count, bool stored)
{
    const int last = first + static_cast<int>(count) - 1;
    std::string text = index >= 0 ? format(what, index) : std::string(what);
    text += count == 0 ? std::string(", no data") : format(", bytes %d-%d", first, last);
    if (!stored) text += ", beyond the table: not kept";
    return text;
}

} // namespace

int programRecordCount(Generation generation)
{
    return generation == Generation::Older ? kOlderProgramRecords : kNewerProgramRecords;
}

ProgrammingSession::ProgrammingSession(
    const RadioMemory& memory, Generation generation, std::optional<MemoryByte> storeWrong)
    : m_working(memory)
    , m_generation(generation)
    , m_storeWrong(storeWrong)
{
    if (m_generation == Generation::Older) model::to5kHzForm(m_working.image.channels);
}

std::string ProgrammingSession::store(std::span<const std::uint8_t> record)
{
    ++m_records;
    if (record.size() < kRecordHeaderSize) return "incomplete record: not kept";
    const std::uint8_t area = record[1];
    const std::uint8_t address = record[2];
    std::vector<std::uint8_t> bytes(record.begin() + kRecordHeaderSize, record.end());
    std::string wrong;
    if (m_storeWrong && m_storeWrong->area == area && m_storeWrong->address >= address
        && m_storeWrong->address - address < static_cast<int>(bytes.size())) {
        bytes[static_cast<std::size_t>(m_storeWrong->address - address)] ^= 0x01;
        wrong = format(" (byte 0x%02X stored wrong)", m_storeWrong->address);
    }
    return storeData(area, address, bytes) + wrong;
}

std::string ProgrammingSession::storeData(std::uint8_t area, std::uint8_t address, std::span<const std::uint8_t> data)
{
    const int high = address >> 4;
    const int first = address & 0x0F;
    model::RadioImage& image = m_working.image;

    if (area == kChannelArea) {
        const bool stored = put(image.channels[high], first, data);
        return bytesText("channel %d", high, first, data.size(), stored);
    }
    if (area == kSettingsArea) {
        if (high == 0) return bytesText("settings", -1, first, data.size(), put(image.settings, first, data));
        if (high == kSpareSettingsNibble) return "spare settings area: not kept";
        const int rec = high - kFirstParameterNibble;
        if (rec >= model::kParameterRecords)
            return format("settings area address 0x%02X: beyond the parameter table, not kept", address);
        return bytesText("parameter record %d", rec, first, data.size(), put(image.parameters[rec], first, data));
    }
    if (area == kModelArea && address == kModelAddress && !data.empty()) {
        setModelCode(m_working, data[0]);
        return format("model code %d", data[0]);
    }
    return format("area 0x%02X address 0x%02X: not kept", area, address);
}

RadioMemory ProgrammingSession::result() const
{
    RadioMemory memory = m_working;
    if (m_generation == Generation::Older) model::toImageForm(memory.image.channels);
    return memory;
}

} // namespace korvane::sim
