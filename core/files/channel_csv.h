#pragma once
// The channel table as a spreadsheet: one row per open channel, in the generic channel layout
// that radio users share (Location, Frequency, Duplex, Offset, Tone, ...), followed by columns
// for what this radio has beyond it, so a table written and read back is the same table.

#include "core/files/channel_csv_messages.h"
#include "core/model/radio_image.h"
#include "core/util/message.h"
#include "core/util/result.h"

#include <array>
#include <string>
#include <string_view>

namespace korvane::files {

// The generic columns, in the order they are written.
inline constexpr std::array<std::string_view, 21> kCsvStandardColumns { "Location", "Name", "Frequency", "Duplex",
    "Offset", "Tone", "rToneFreq", "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep",
    "Skip", "Power", "Comment", "URCALL", "RPT1CALL", "RPT2CALL", "DVCODE" };

// This radio's own columns, written after the generic ones; other tools pass them by.
//   BusyLock, ClockShift  "ON" or "OFF"
//   RxTwoTone, TxTwoTone  the 2-Tone number (0..255) when the side signals by 2-Tone, else empty
//   TxStep                the transmit step ("2.50" or "6.25") when it differs from TStep
//   TxFrequency           the transmit frequency kept by a transmit-inhibited channel (Duplex "off")
//   RawRecord             the channel's 16 bytes as stored, in hexadecimal pairs
inline constexpr std::array<std::string_view, 7> kCsvExtraColumns { "BusyLock", "ClockShift", "RxTwoTone", "TxTwoTone",
    "TxStep", "TxFrequency", "RawRecord" };

// The header line and one line per open channel, in channel order, each ended by "\n".
// Frequencies are written in MHz with six decimals, tones with one, codes with three digits.
std::string exportChannelCsv(const model::RadioImage& image);

// Builds a channel table from a spreadsheet, for a radio of the given model (its entry limits
// apply). Columns are found by their header names in any order (ASCII case ignored); only
// Location and Frequency must be present, a missing column reads as empty cells.
//
// A listed channel starts from its RawRecord when the row has one, else from base's record,
// and every field a column describes is then written over it; a field whose cell says what the
// starting record already holds keeps the record's own bits. A channel the spreadsheet does
// not list is base's record, closed. The command line passes the defaults of the model, so the
// same spreadsheet always gives the same table.
//
// Refused, with a message naming the line and the column: a Location outside 1..16 or given
// twice; a frequency outside the model's entry limits or on neither the 2.5 kHz nor the
// 6.25 kHz grid; a tone that is not 60.0..260.0 Hz with at most one decimal; a code that is not
// three octal digits; an unknown Duplex, Tone, CrossMode, DtcsPolarity, Mode, Skip or ON/OFF
// value; a header without Location or Frequency.
util::Result<model::ChannelTable, util::Message> importChannelCsv(
    std::string_view csvText, int modelIndex, const model::ChannelTable& base);

} // namespace korvane::files
