#pragma once
// Whole-file byte input and output, and the two ways a file is added to. Writing goes through a temporary file in the same folder
// that replaces the target only once it is complete and on disk, so a failed save never leaves
// a half-written or over-long file behind.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane::files {

// The bytes of a regular file; nothing when it is missing, not a regular file or unreadable.
// Reading stops at kMaxReadSize: no data file comes anywhere near it, and a stray huge file
// must not exhaust memory.
inline constexpr std::size_t kMaxReadSize = 16u << 20;
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path);

// False when anything fails; the target then keeps its previous content.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Creates the file empty, failing if the name is taken, so that two programs naming a file in
// the same millisecond never share it. 0, or an errno value (EEXIST: the name is taken).
int createNewFile(const std::string& path);

// Appends, in one write, what `text` gives when told whether the file was new or empty, so that
// the lines of two programs appending at once stay whole. 0, or an errno value.
int appendToFile(const std::string& path, const std::function<std::string(bool empty)>& text);

} // namespace korvane::files
