#pragma once
// Appends data-file items to a byte buffer.

#include "core/model/radio_image.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace korvane::files {

class ItemWriter {
public:
    explicit ItemWriter(std::size_t expectedSize = 0);

    // Texts longer than 65535 bytes cannot be spelled; only the fixed headers are ever written.
    void text(std::string_view text);
    void integer(std::int16_t value);
    // A table of 16-byte records as a two-dimensional item: record count first, then 16.
    void table(std::span<const model::Record> records);
    // A plain byte block as a one-dimensional item.
    void block(std::span<const std::uint8_t> bytes);

    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    std::vector<std::uint8_t> take() { return std::move(m_bytes); }

private:
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void boundPair(std::size_t count);

    std::vector<std::uint8_t> m_bytes;
};

} // namespace korvane::files
