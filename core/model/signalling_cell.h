#pragma once
// The text of a signalling cell and the choice the signalling dialog works on: parsing a cell
// such as "CTCSS: 88.5" into a kind and a value, and writing a confirmed choice into a record.

#include "core/model/record_layout.h"
#include "core/model/signalling_codec.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::model {

struct SignallingChoice {
    SignallingKind kind = SignallingKind::Off;
    // CTCSS: tenths of hertz (885); CDCSS: the code's digits read in decimal (23 for 023);
    // 2-Tone: the number.
    std::int64_t value = 0;

    friend bool operator==(const SignallingChoice&, const SignallingChoice&) = default;
};

// "OFF", "CTCSS", "CDCSS", "--CDCSS", "2-Tone".
std::string_view kindWord(SignallingKind kind);

// By the first two characters: "2-", "CT", "CD", "OF", "--"; anything else is Off with value 0.
// The number after ": " is read whole (a 2-Tone number above 9 stays itself); no number reads 0.
SignallingChoice parseSignallingCell(std::string_view text);

// The cell text of a choice: "OFF", "CTCSS: 67.0", "CDCSS: 023", "--CDCSS: 754", "2-Tone: 5".
std::string signallingCellText(const SignallingChoice& choice);

// Writes the choice into the side of the record: the kind nibble (the flag byte's low nibble
// stays), and the code bytes (CTCSS, CDCSS) or the 2-Tone byte; Off changes no code. Returns the
// new cell text, or nothing (and the record untouched) for a CDCSS value that is not three octal
// digits.
std::optional<std::string> applySignallingChoice(const SignallingChoice& choice, Record& r, Side s);

} // namespace korvane::model
