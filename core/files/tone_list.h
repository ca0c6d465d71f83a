#pragma once
// The tone lists beside the program: `qt.dat` offers CTCSS tones and `dqt.dat` CDCSS codes to the
// signalling dialog, one entry per line. Each line is taken whole as the text the list shows;
// nothing checks it until the user confirms a value.

#include "core/util/message.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::files {

enum class ToneList { Ctcss, Cdcss };

// "qt.dat" or "dqt.dat".
std::string_view toneListFileName(ToneList list);

// One entry per line in file order. A line ends at CR LF, LF or a CR alone and only that ending
// is removed: blanks stay, and an empty line is an empty entry. Text after the last line ending
// is one more entry; an empty text has none.
std::vector<std::string> parseToneList(std::string_view text);

// The entries of a list file; nothing when it is missing, not a regular file or unreadable.
std::optional<std::vector<std::string>> readToneList(const std::string& path);

// What the user is told when a list file cannot be read: in Chinese for the tones, in English
// for the codes.
util::Message toneListDamaged(ToneList list);

} // namespace korvane::files
