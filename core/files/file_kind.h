#pragma once
// The three kinds of data file, told apart by their header text. The kind written is the one the
// user chose, whatever extension the name has.

#include <optional>
#include <string_view>

namespace korvane::files {

enum class FileKind { Rdw = 1, Rdh = 2, Rdhax = 3 };

// "rdw", "rdh" or "rdhax", exactly as written in lower case.
std::optional<FileKind> fileKindFromName(std::string_view kindName);
// The kind a name's extension suggests; rdw when it suggests none.
FileKind fileKindForPath(std::string_view path);
// The text item every file of the kind starts with (plain ASCII).
std::string_view headerText(FileKind kind);
// The kind whose header is exactly this text.
std::optional<FileKind> fileKindFromHeader(std::string_view text);

} // namespace korvane::files
