#pragma once
// Assembles data-file bytes item by item, independently of the program's writer, so tests can
// spell files of any shape, including shapes the program never writes.

#include "core/model/radio_image.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace korvane::files::test {

struct Bound {
    std::uint32_t count;
    std::int32_t lowerBound = 0;
};

class FileBuilder {
public:
    FileBuilder& raw(std::initializer_list<std::uint8_t> bytes)
    {
        m_bytes.insert(m_bytes.end(), bytes);
        return *this;
    }
    FileBuilder& raw(std::span<const std::uint8_t> bytes)
    {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    FileBuilder& u16(std::uint16_t v) { return raw({ std::uint8_t(v), std::uint8_t(v >> 8) }); }
    FileBuilder& u32(std::uint32_t v)
    {
        return raw({ std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24) });
    }
    FileBuilder& text(std::string_view s)
    {
        u16(0x0008).u16(static_cast<std::uint16_t>(s.size()));
        m_bytes.insert(m_bytes.end(), s.begin(), s.end());
        return *this;
    }
    FileBuilder& integer(std::int16_t v) { return u16(0x0002).u16(static_cast<std::uint16_t>(v)); }
    // A byte-table item with whatever bounds and data the test wants.
    FileBuilder& shaped(std::initializer_list<Bound> bounds, std::span<const std::uint8_t> data)
    {
        u16(0x2011).u16(static_cast<std::uint16_t>(bounds.size()));
        for (const Bound& b : bounds)
            u32(b.count).u32(static_cast<std::uint32_t>(b.lowerBound));
        return raw(data);
    }
    // Records stored with the record index fastest, bound pairs in the order asked for.
    FileBuilder& table(std::span<const model::Record> records, bool recordsFirst = true)
    {
        const auto r = static_cast<std::uint32_t>(records.size());
        return recordsFirst ? shaped({ { r }, { 16 } }, columnMajor(records))
                            : shaped({ { 16 }, { r } }, columnMajor(records));
    }
    FileBuilder& block(std::span<const std::uint8_t> bytes)
    {
        return shaped({ { static_cast<std::uint32_t>(bytes.size()) } }, bytes);
    }

    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

    static std::vector<std::uint8_t> columnMajor(std::span<const model::Record> records)
    {
        std::vector<std::uint8_t> data(records.size() * 16);
        for (std::size_t i = 0; i < records.size(); ++i)
            for (std::size_t k = 0; k < 16; ++k)
                data[i + k * records.size()] = records[i][k];
        return data;
    }

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace korvane::files::test
