#pragma once
// One programming run as the radio sees it: the records the program sends land in a working
// copy of the memory, which replaces the memory when the run ends. An older radio's channel
// records arrive in the 5 kHz form and are stored back in the image form.

#include "sim/radio_config.h"
#include "sim/radio_memory.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane::sim {

inline constexpr int kOlderProgramRecords = 35;
inline constexpr int kNewerProgramRecords = 56;

int programRecordCount(Generation generation);

class ProgrammingSession {
public:
    // `storeWrong`: a byte the radio keeps with its lowest bit flipped, in the form it arrives in.
    ProgrammingSession(
        const RadioMemory& memory, Generation generation, std::optional<MemoryByte> storeWrong = std::nullopt);

    // Stores one whole record (start byte, area, address, length, data) and says where it went.
    std::string store(std::span<const std::uint8_t> record);

    int recordCount() const { return m_records; }
    // The program has sent every record it sends to this generation.
    bool complete() const { return m_records >= programRecordCount(m_generation); }

    // The memory as the records left it, frequencies in the image form.
    RadioMemory result() const;

private:
    // Stores the data at the address and says where it went.
    std::string storeData(std::uint8_t area, std::uint8_t address, std::span<const std::uint8_t> data);

    RadioMemory m_working; // channel table in the generation's line form
    Generation m_generation;
    std::optional<MemoryByte> m_storeWrong;
    int m_records = 0;
};

} // namespace korvane::sim
