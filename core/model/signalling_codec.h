#pragma once
// Signalling inside a channel record: a kind nibble in the side's flag byte, a two-byte code
// (CTCSS as packed decimal tenths of hertz, CDCSS as the 9-bit octal value) or a 2-Tone number.

#include "core/model/record_layout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace korvane::model {

enum class SignallingKind : int { Off = 0, Ctcss = 3, Cdcss = 5, InvertedCdcss = 7, TwoTone = 8 };

using CodeBytes = std::pair<std::uint8_t, std::uint8_t>; // (C0, C1): bytes 5s+3 and 5s+4

// The kind a stored nibble shows as. Bit 0 is ignored for the coded kinds (2 and 3 are both
// CTCSS); nibbles with no kind (1, 9..15) give nothing.
std::optional<SignallingKind> kindOfNibble(int nibble);

// The tone in tenths of hertz (885 for 88.5 Hz).
int ctcssTenths(std::uint8_t c0, std::uint8_t c1);
// "#00.0": 67.0, 123.0.
std::string formatCtcssTenths(std::int64_t tenths);
std::string formatCtcss(std::uint8_t c0, std::uint8_t c1);
// The code as its octal digits read in decimal (23 for code 023).
int cdcssDigits(std::uint8_t c0, std::uint8_t c1);
// "000": 023, 754.
std::string formatCdcssDigits(std::int64_t digits);
std::string formatCdcss(std::uint8_t c0, std::uint8_t c1);
// "OFF", "CTCSS: 88.5", "CDCSS: 023", "--CDCSS: 023", "2-Tone: 5", or "" for a nibble with no kind.
std::string formatSignalling(const Record& r, Side s);

// The decimal digits of tenths read as hexadecimal: 885 gives C0 0x85, C1 0x08.
CodeBytes encodeCtcss(std::int64_t tenths);
// The digits read as an octal number: 23 gives C0 0x13, C1 0x00. Nothing for a value that is not
// three octal digits (a digit 8 or 9, or above 777, or negative).
std::optional<CodeBytes> encodeCdcss(std::int64_t digits);

// Sets the side's kind nibble and, for the coded kinds, the code bytes; for 2-Tone the side's
// 2-Tone byte. Off leaves codes and 2-Tone byte as they were.
void encodeSignalling(Record& r, Side s, SignallingKind kind, CodeBytes code);
void encodeTwoTone(Record& r, Side s, std::uint8_t number);

} // namespace korvane::model
