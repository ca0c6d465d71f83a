#pragma once
// Whole-file byte input and output. Writing goes through a temporary file in the same folder
// that replaces the target only once it is complete and on disk, so a failed save never leaves
// a half-written or over-long file behind.

#include <cstdint>
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

} // namespace korvane::files
