#include "core/files/item_reader.h"

#include "core/files/item_format.h"

#include <algorithm>
#include <array>

namespace korvane::files {

namespace {

struct BoundPair {
    std::uint32_t count;
    std::int32_t lowerBound;
};

} // namespace

std::optional<std::span<const std::uint8_t>> ItemReader::take(std::size_t count)
{
    if (count > m_bytes.size() - m_pos) return std::nullopt;
    const auto piece = m_bytes.subspan(m_pos, count);
    m_pos += count;
    return piece;
}

std::optional<std::uint16_t> ItemReader::u16()
{
    const auto piece = take(2);
    if (!piece) return std::nullopt;
    return static_cast<std::uint16_t>((*piece)[0] | ((*piece)[1] << 8));
}

std::optional<std::uint32_t> ItemReader::u32()
{
    const auto piece = take(4);
    if (!piece) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < 4; ++k)
        value |= static_cast<std::uint32_t>((*piece)[k]) << (8 * k);
    return value;
}

bool ItemReader::expectTag(std::uint16_t tag)
{
    const auto found = u16();
    return found && *found == tag;
}

std::optional<std::string_view> ItemReader::text()
{
    if (!expectTag(kTextItem)) return std::nullopt;
    const auto length = u16();
    if (!length) return std::nullopt;
    const auto piece = take(*length);
    if (!piece) return std::nullopt;
    return std::string_view(reinterpret_cast<const char*>(piece->data()), piece->size());
}

std::optional<std::int16_t> ItemReader::integer()
{
    if (!expectTag(kIntegerItem)) return std::nullopt;
    const auto value = u16();
    if (!value) return std::nullopt;
    return static_cast<std::int16_t>(*value);
}

bool ItemReader::table(std::span<model::Record> records)
{
    if (!expectTag(kByteTableItem)) return false;
    const auto dims = u16();
    if (!dims || *dims != 2) return false;
    std::array<BoundPair, 2> pairs {};
    for (BoundPair& pair : pairs) {
        const auto count = u32();
        const auto lower = u32();
        if (!count || !lower) return false;
        pair = { *count, static_cast<std::int32_t>(*lower) };
    }
    const std::uint32_t recordCount = static_cast<std::uint32_t>(records.size());
    const auto is
        = [](const BoundPair& pair, std::uint32_t count) { return pair.count == count && pair.lowerBound == 0; };
    const bool recordsFirst = is(pairs[0], recordCount) && is(pairs[1], model::kRecordSize);
    const bool bytesFirst = is(pairs[0], model::kRecordSize) && is(pairs[1], recordCount);
    if (!recordsFirst && !bytesFirst) return false;
    const auto data = take(records.size() * model::kRecordSize);
    if (!data) return false;
    // Whichever order the bounds were listed in, the elements run with the record index fastest.
    for (std::size_t k = 0; k < model::kRecordSize; ++k)
        for (std::size_t i = 0; i < records.size(); ++i)
            records[i][k] = (*data)[i + k * records.size()];
    return true;
}

bool ItemReader::block(std::span<std::uint8_t> bytes)
{
    if (!expectTag(kByteTableItem)) return false;
    const auto dims = u16();
    if (!dims || *dims != 1) return false;
    const auto count = u32();
    const auto lower = u32();
    if (!count || !lower || *count != bytes.size() || *lower != 0) return false;
    const auto data = take(bytes.size());
    if (!data) return false;
    std::copy(data->begin(), data->end(), bytes.begin());
    return true;
}

bool ItemReader::skip()
{
    const auto tag = u16();
    if (!tag) return false;
    switch (*tag) {
    case kTextItem: {
        const auto length = u16();
        return length && take(*length);
    }
    case kIntegerItem:
        return take(2).has_value();
    case kByteTableItem: {
        const auto dims = u16();
        if (!dims || (*dims != 1 && *dims != 2)) return false;
        // The element count is a product of 32-bit counts; stop as soon as it exceeds what is left.
        std::size_t elements = 1;
        const std::size_t left = m_bytes.size() - m_pos;
        for (std::uint16_t d = 0; d < *dims; ++d) {
            const auto count = u32();
            if (!count || !u32()) return false;
            if (*count != 0 && elements > left / *count) return false;
            elements *= *count;
        }
        return take(elements).has_value();
    }
    default:
        return false;
    }
}

} // namespace korvane::files
