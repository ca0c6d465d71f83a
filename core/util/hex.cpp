#include "core/util/hex.h"

namespace korvane::util {

namespace {

constexpr std::string_view kDigits = "0123456789ABCDEF";

void appendDigits(std::string& text, std::uint8_t byte)
{
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
}

} // namespace

std::string hexByte(std::uint8_t byte)
{
    std::string text = "0x";
    appendDigits(text, byte);
    return text;
}

std::string hexBytes(std::span<const std::uint8_t> bytes, std::string_view separator)
{
    std::string text;
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        if (k > 0) text += separator;
        appendDigits(text, bytes[k]);
    }
    return text;
}

} // namespace korvane::util
