#pragma once
// Hexadecimal text from the command line as bytes (the log writes them with util::hexBytes).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::sim {

// "4F4B", "4f 4b" or "" (no bytes); nothing for an odd digit count or a non-hex character.
std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text);

} // namespace korvane::sim
