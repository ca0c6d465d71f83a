#pragma once
// The spreadsheet's seven tone columns (Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity,
// RxDtcsCode, CrossMode) and what they say about the two sides of a channel. The left of a
// cross mode is the transmit side, the right the receive side; the polarity letters are
// transmit then receive, N normal and R inverted.

#include "core/files/channel_csv_messages.h"
#include "core/util/result.h"

#include <string>
#include <utility>

namespace korvane::files {

// What one side sends or listens for, as far as the tone columns can say it.
struct CsvTone {
    enum class Kind { None, Ctcss, Dcs };
    Kind kind = Kind::None;
    // CTCSS: the tone in tenths of hertz (885); DCS: the code's octal digits read in decimal
    // (23 for code 023).
    int value = 0;
    bool inverted = false; // DCS only

    friend bool operator==(const CsvTone&, const CsvTone&) = default;
};

struct ToneCells {
    std::string tone;
    std::string rToneFreq;
    std::string cToneFreq;
    std::string dtcsCode;
    std::string dtcsPolarity;
    std::string rxDtcsCode;
    std::string crossMode;

    friend bool operator==(const ToneCells&, const ToneCells&) = default;
};

struct ChannelTones {
    CsvTone transmit;
    CsvTone receive;

    friend bool operator==(const ChannelTones&, const ChannelTones&) = default;
};

// Tones accepted on the way in: 60.0 to 260.0 Hz with at most one decimal.
inline constexpr int kLowestToneTenths = 600;
inline constexpr int kHighestToneTenths = 2600;

// The cells that describe the pair. Cells the mode does not use get the values other tools
// write there (88.5, 023, NN, Tone->Tone).
ToneCells toneCells(const ChannelTones& tones);

// Reads the cells the mode uses (blanks around a value are ignored); cells it does not use are
// not looked at.
util::Result<ChannelTones, CellRefusal> parseToneCells(const ToneCells& cells);

} // namespace korvane::files
