#include "core/files/item_writer.h"

#include "core/files/item_format.h"

#include <algorithm>
#include <limits>

namespace korvane::files {

ItemWriter::ItemWriter(std::size_t expectedSize) { m_bytes.reserve(expectedSize); }

void ItemWriter::text(std::string_view text)
{
    const std::size_t length = std::min<std::size_t>(text.size(), std::numeric_limits<std::uint16_t>::max());
    u16(kTextItem);
    u16(static_cast<std::uint16_t>(length));
    m_bytes.insert(m_bytes.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
}

void ItemWriter::integer(std::int16_t value)
{
    u16(kIntegerItem);
    u16(static_cast<std::uint16_t>(value));
}

void ItemWriter::table(std::span<const model::Record> records)
{
    u16(kByteTableItem);
    u16(2);
    boundPair(records.size());
    boundPair(model::kRecordSize);
    // Stored column by column: byte k of every record, then byte k + 1.
    for (std::size_t k = 0; k < model::kRecordSize; ++k)
        for (const model::Record& record : records)
            m_bytes.push_back(record[k]);
}

void ItemWriter::block(std::span<const std::uint8_t> bytes)
{
    u16(kByteTableItem);
    u16(1);
    boundPair(bytes.size());
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

void ItemWriter::u16(std::uint16_t value)
{
    m_bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ItemWriter::u32(std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        m_bytes.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

void ItemWriter::boundPair(std::size_t count)
{
    u32(static_cast<std::uint32_t>(count));
    u32(0); // lower bound
}

} // namespace korvane::files
