#pragma once
// Text files cut into lines: a line ends at "\r\n", "\r" or "\n"; no empty line follows the last end.

#include <string_view>
#include <vector>

namespace korvane::util {

std::vector<std::string_view> textLines(std::string_view text);

} // namespace korvane::util
