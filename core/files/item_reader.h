#pragma once
// Reads data-file items one after another without ever looking past the end of the bytes. Every
// length a file declares is checked against what is left before it is used.

#include "core/model/radio_image.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvane::files {

class ItemReader {
public:
    explicit ItemReader(std::span<const std::uint8_t> bytes)
        : m_bytes(bytes)
    {
    }

    // Each read takes one whole item of the named type and shape, or fails; after a failure the
    // position is unspecified and the file is not worth reading further.
    std::optional<std::string_view> text();
    std::optional<std::int16_t> integer();
    // A two-dimensional table of exactly records.size() records of 16 bytes. Either order of the
    // two bound pairs is accepted: files written elsewhere may list the dimensions the other way.
    bool table(std::span<model::Record> records);
    // A one-dimensional table of exactly bytes.size() bytes.
    bool block(std::span<std::uint8_t> bytes);
    // Passes over one item of any type the format knows.
    bool skip();

    std::size_t offset() const { return m_pos; }

private:
    std::optional<std::span<const std::uint8_t>> take(std::size_t count);
    std::optional<std::uint16_t> u16();
    std::optional<std::uint32_t> u32();
    bool expectTag(std::uint16_t tag);

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

} // namespace korvane::files
