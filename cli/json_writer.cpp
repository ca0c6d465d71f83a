#include "cli/json_writer.h"

#include <cstdio>

namespace korvane::cli {

namespace {

template <class T, class F> std::string joined(std::span<const T> items, F each)
{
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += each(items[i]);
    }
    return out + "]";
}

} // namespace

std::string jsonQuote(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string jsonArray(std::span<const std::uint8_t> bytes)
{
    return joined(bytes, [](std::uint8_t b) { return std::to_string(b); });
}

std::string jsonArray(std::span<const std::string> texts) { return joined(texts, jsonQuote); }

std::string jsonArray(std::span<const bool> flags)
{
    return joined(flags, [](bool b) { return std::string(b ? "true" : "false"); });
}

} // namespace korvane::cli
