#pragma once
// Channels on the clipboard, in two forms at once: tab-separated text in the channel spreadsheet's
// columns (a spreadsheet pastes it as rows, and rows copied from a spreadsheet paste back), and a
// private form that keeps every record byte for byte, closed channels included.
//
// Pasting writes the channels into consecutive channels from the first chosen one. A paste that
// would run past channel 16 is refused whole with a message that says so, a row the spreadsheet
// import would refuse with the import's message, and nothing changes.

#include "core/model/radio_image.h"
#include "core/util/result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::edit {

// The clipboard type of the private form.
inline constexpr std::string_view kChannelsMimeType = "application/x-korvane-channels";

struct CopiedChannels {
    std::string text; // header line, then one line per open channel chosen
    std::string records; // the private form: a first line, then 32 hex digits per channel
};

// `chosen` counts channels from 0; they are copied in channel order.
CopiedChannels copyChannels(const model::RadioImage& image, std::vector<int> chosen);

// The records of the private form, or nothing when the text is not one.
std::optional<std::vector<model::Record>> parseCopiedRecords(std::string_view records);

// The channel table with `records` written from channel `first` on: open ones as the spreadsheet
// import takes them, closed ones as they are.
util::Result<model::ChannelTable> pasteRecords(
    const model::RadioImage& image, int first, const std::vector<model::Record>& records);

// The channel table with the rows of spreadsheet text (tab-separated, or comma-separated when it
// has no tab; with or without the header line, which needs no Location column; without one the
// columns are in the export's order) written from channel `first` on. Their Location cells do not
// count: row k goes to first + k.
util::Result<model::ChannelTable> pasteText(const model::RadioImage& image, int first, std::string_view text);

} // namespace korvane::edit
