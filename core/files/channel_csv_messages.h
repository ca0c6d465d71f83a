#pragma once
// Why a channel spreadsheet is refused, in the words the user sees: the line, the column and
// what is wrong with the cell. The window shows the text in a message box titled "CSV错误".

#include "core/util/message.h"

#include <string>
#include <string_view>

namespace korvane::files {

// What is wrong with one cell of a row; the row's line is added when the message is built.
struct CellRefusal {
    std::string column;
    std::string reason;

    friend bool operator==(const CellRefusal&, const CellRefusal&) = default;
};

// "第3行，Frequency列：..." or, with no column, "第3行：...".
util::Message csvRefusal(int line, std::string_view column, std::string_view reason);
util::Message csvRefusal(int line, const CellRefusal& refusal);
util::Message csvNoHeader();
// A Location cell that names no channel 1..16.
CellRefusal channelNumberRefusal(std::string_view cell);
// Pasted rows that run past channel 16: the first one that does not fit is on `line`, and the
// paste began at channel `first` (from 1).
util::Message pastePastLastChannel(int line, int first);

// A cell's text as a message quotes it: at most 40 bytes (cut where a character starts) and
// control characters shown as '?'.
std::string quotedCell(std::string_view text);

} // namespace korvane::files
