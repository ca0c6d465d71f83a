#pragma once
// Bytes as hexadecimal text, for the log and the command line.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::sim {

// "72 45 41 44"
std::string hexBytes(std::span<const std::uint8_t> bytes);

// "4F4B", "4f 4b" or "" (no bytes); nothing for an odd digit count or a non-hex character.
std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text);

} // namespace korvane::sim
