#pragma once
// Bytes as hexadecimal text, in capitals: "0x12" where a message names one byte, "72 45 41 44"
// where a trace or a row shows several.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace korvane::util {

// "0x12"
std::string hexByte(std::uint8_t byte);

// "72 45 41 44"; "72454144" with an empty separator.
std::string hexBytes(std::span<const std::uint8_t> bytes, std::string_view separator = " ");

} // namespace korvane::util
