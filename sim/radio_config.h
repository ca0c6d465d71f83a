#pragma once
// Which kind of radio the simulator plays and which faults it shows on the line.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace korvane::sim {

// Older radios answer a handshake with one byte and count frequencies in 5 kHz units on the
// line; newer ones add a version byte and send the radio parameter table too.
enum class Generation { Older, Newer };

// One byte of the memory, as programming records address it: the area, then the address inside it
// (for the channel area the channel in the high nibble and the byte in the low one).
struct MemoryByte {
    std::uint8_t area = 0;
    std::uint8_t address = 0;

    friend bool operator==(const MemoryByte&, const MemoryByte&) = default;
};

struct Faults {
    bool silent = false; // never answers a handshake
    bool held = false; // the device is also held open by this process, as by another program
    int answerOn = 1; // answers only the N-th handshake command of an exchange
    std::optional<std::size_t> shortStream {}; // sends only the first N bytes of the read-out
    bool garbage = false; // sends a read-out of the right length without a single record start
    std::optional<std::size_t> dropAfter {}; // hangs up the line after N bytes of the read-out
    std::optional<int> dropDuringProgram {}; // hangs up the line after storing N records of a programming run
    std::optional<MemoryByte> storeWrong {}; // stores this byte with its lowest bit flipped when programmed
    // A glitch of the line: one byte that is no answer, a few ms before the first answer after
    // the port opens, or as the port opens.
    std::optional<std::uint8_t> strayBeforeAnswer {};
    std::optional<std::uint8_t> strayAtOpen {};
    std::chrono::milliseconds lateBy { 0 }; // answers handshake commands this late
    bool lateFirstOnly = false; // only the first answer after the port opens comes late

    friend bool operator==(const Faults&, const Faults&) = default;
};

struct RadioConfig {
    Generation generation = Generation::Newer;
    std::uint8_t version = 1; // second handshake byte of a newer radio
    std::vector<std::uint8_t> completion { 0x4F, 0x4B }; // "OK" after programming
    Faults faults;

    friend bool operator==(const RadioConfig&, const RadioConfig&) = default;
};

} // namespace korvane::sim
