#include "core/compare/byte_difference.h"

namespace korvane::compare {

namespace {

std::string recordAndByte(std::string_view record, const ByteDifference& d)
{
    return std::string(record) + " " + std::to_string(d.record + 1) + " 字节 " + std::to_string(d.byte);
}

} // namespace

void compareBytes(std::vector<ByteDifference>& out, ByteArea area, int record, std::span<const std::uint8_t> ours,
    std::span<const std::uint8_t> theirs, int first)
{
    for (std::size_t b = 0; b < ours.size(); ++b)
        if (ours[b] != theirs[b]) out.push_back({ area, record, first + static_cast<int>(b), ours[b], theirs[b] });
}

std::string tablePlace(const ByteDifference& d)
{
    switch (d.area) {
    case ByteArea::Channel:
        return recordAndByte("信道表 记录", d);
    case ByteArea::Settings:
        return "设置表 字节 " + std::to_string(d.byte);
    case ByteArea::Parameter:
        return recordAndByte("参数表 记录", d);
    case ByteArea::Alignment:
        return recordAndByte("调整频率表 记录", d);
    case ByteArea::Model:
        break;
    }
    return std::string(fieldName(d.area, d.byte));
}

std::string fieldPlace(const ByteDifference& d)
{
    std::string where;
    switch (d.area) {
    case ByteArea::Channel:
        where = recordAndByte("信道", d);
        break;
    case ByteArea::Settings:
        where = "设置区 字节 " + std::to_string(d.byte);
        break;
    case ByteArea::Parameter:
        where = recordAndByte("参数记录", d);
        break;
    case ByteArea::Alignment:
        where = tablePlace(d);
        break;
    case ByteArea::Model:
        return std::string(fieldName(d.area, d.byte));
    }
    const std::string_view field = fieldName(d.area, d.byte);
    return field.empty() ? where : where + "（" + std::string(field) + "）";
}

} // namespace korvane::compare
