#pragma once
// Where each field lives in a 16-byte channel record (the alignment test channels use the same
// layout). A side s (0 receive, 1 transmit) keeps its frequency in bytes 5s..5s+2, its flags and
// signalling kind in byte 5s+2, its code in bytes 5s+3..5s+4 and its 2-Tone number in byte 11+s.

#include "core/model/radio_image.h"

#include <cstdint>

namespace korvane::model {

enum class Side { Receive = 0, Transmit = 1 };

inline constexpr int kStepBit = 2; // in the flag byte: count in 6.25 kHz units when set
inline constexpr int kOpenBit = 3; // receive flag byte: channel open; transmit: transmit allowed
inline constexpr int kFlagsByte = 10;
inline constexpr int kNarrowBit = 0;
inline constexpr int kClockShiftBit = 1;
inline constexpr int kBusyLockBit = 2;
inline constexpr int kScanDelBit = 4;

constexpr int sideBase(Side s) { return 5 * static_cast<int>(s); }
constexpr int flagByte(Side s) { return sideBase(s) + 2; }
constexpr int codeLowByte(Side s) { return sideBase(s) + 3; }
constexpr int codeHighByte(Side s) { return sideBase(s) + 4; }
constexpr int twoToneByte(Side s) { return 11 + static_cast<int>(s); }

inline bool testBit(std::uint8_t byte, int bit) { return ((byte >> bit) & 1) != 0; }
inline void setBit(std::uint8_t& byte, int bit, bool on)
{
    byte = static_cast<std::uint8_t>(on ? (byte | (1u << bit)) : (byte & ~(1u << bit)));
}

inline bool isStep625(const Record& r, Side s) { return testBit(r[flagByte(s)], kStepBit); }
inline bool isChannelOpen(const Record& r) { return testBit(r[flagByte(Side::Receive)], kOpenBit); }
inline bool isTransmitAllowed(const Record& r) { return testBit(r[flagByte(Side::Transmit)], kOpenBit); }
inline int signallingNibble(const Record& r, Side s) { return r[flagByte(s)] >> 4; }

// The 18-bit frequency count of a side in image form.
inline std::uint32_t frequencyCount(const Record& r, Side s)
{
    const int b = sideBase(s);
    return r[b] | (r[b + 1] << 8) | ((r[b + 2] & 0x03u) << 16);
}

// Writes the count, keeping the step flag and the other bits of the flag byte.
inline void setFrequencyCount(Record& r, Side s, std::uint32_t count)
{
    const int b = sideBase(s);
    r[b] = static_cast<std::uint8_t>(count & 0xFF);
    r[b + 1] = static_cast<std::uint8_t>((count >> 8) & 0xFF);
    r[b + 2] = static_cast<std::uint8_t>((r[b + 2] & 0xFC) | ((count >> 16) & 0x03));
}

} // namespace korvane::model
