#include "core/link/alignment_items.h"

namespace korvane::link {

const std::array<AlignmentItem, kAlignmentItemCount>& alignmentItems()
{
    static const std::array<AlignmentItem, kAlignmentItemCount> items { {
        { 0, "txFreq", "发射频率调整", kCentreRecord },
        { 1, "txpower", "发射功率调整", kCentreRecord },
        { 2, "batref", "电池低压报警电平调整", kCentreRecord },
        { 3, "sql9", "静噪电平第9级调整", kCentreRecord },
        { 4, "sql3", "静噪电平第3级调整", kCentreRecord },
        { 5, "qtdevw", "CTCSS 频偏(宽带)调整", kCentreRecord },
        { 6, "qtdevn", "CTCSS 频偏(窄带)调整", kCentreRecord },
        { 7, "dqtdevw", "CDCSS 频偏(宽带)调整", kCentreRecord },
        { 8, "dqtdevn", "CDCSS 频偏(窄带)调整", kCentreRecord },
        { 9, "lowsen", "接收灵敏度(低端)调整", kLowEndRecord },
        { 10, "censen", "接收灵敏度(中心)调整", kCentreRecord },
        { 11, "highsen", "接收灵敏度(高端)调整", kHighEndRecord },
    } };
    return items;
}

std::optional<AlignmentItem> alignmentItem(int index)
{
    if (index < 0 || index >= kAlignmentItemCount) return std::nullopt;
    return alignmentItems()[static_cast<std::size_t>(index)];
}

std::optional<AlignmentItem> alignmentItemForKey(std::string_view key)
{
    for (const AlignmentItem& item : alignmentItems())
        if (item.key == key) return item;
    return std::nullopt;
}

std::string alignmentItemCommand(int index)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string("tEST") + kDigits[index & 0x0F];
}

int testChannelRecord(int index)
{
    const auto item = alignmentItem(index);
    return item ? item->testRecord : kCentreRecord;
}

} // namespace korvane::link
