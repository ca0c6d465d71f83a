#pragma once
// Just enough JSON for the companion's output: quoted strings and one-line arrays.

#include <span>
#include <string>
#include <string_view>

namespace korvane::cli {

// A JSON string literal; UTF-8 passes through, quotes, backslashes and control characters are escaped.
std::string jsonQuote(std::string_view text);

std::string jsonArray(std::span<const std::uint8_t> bytes);
std::string jsonArray(std::span<const std::string> texts);
std::string jsonArray(std::span<const bool> flags);

} // namespace korvane::cli
