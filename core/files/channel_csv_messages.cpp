#include "core/files/channel_csv_messages.h"

#include "core/model/radio_image.h"

namespace korvane::files {

namespace {

constexpr std::string_view kTitle = "CSV错误";
constexpr std::size_t kShownBytes = 40;

bool startsCharacter(unsigned char c) { return (c & 0xC0) != 0x80; }

} // namespace

util::Message csvRefusal(int line, std::string_view column, std::string_view reason)
{
    std::string text = "第" + std::to_string(line) + "行";
    if (!column.empty()) text += "，" + std::string(column) + "列";
    text += "：" + std::string(reason);
    return { text, std::string(kTitle), util::MessageIcon::Exclamation, {} };
}

util::Message csvRefusal(int line, const CellRefusal& refusal)
{
    return csvRefusal(line, refusal.column, refusal.reason);
}

util::Message csvNoHeader()
{
    return { "CSV文件中没有标题行（应以Location,Name,Frequency,...开头）", std::string(kTitle),
        util::MessageIcon::Exclamation, {} };
}

CellRefusal channelNumberRefusal(std::string_view cell)
{
    return { "Location", quotedCell(cell) + "不是1至16之间的信道号" };
}

util::Message pastePastLastChannel(int line, int first)
{
    const int fits = model::kChannelCount - first + 1;
    return csvRefusal(line, "",
        "粘贴的行超出了信道" + std::to_string(model::kChannelCount) + "（从信道" + std::to_string(first) + "起只能粘贴"
            + std::to_string(fits) + "行）");
}

std::string quotedCell(std::string_view text)
{
    std::size_t end = text.size();
    bool cut = false;
    if (end > kShownBytes) {
        end = kShownBytes;
        while (end > 0 && !startsCharacter(static_cast<unsigned char>(text[end])))
            --end;
        cut = true;
    }
    std::string shown = "“";
    for (std::size_t i = 0; i < end; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        shown += (c < 0x20 || c == 0x7F) ? '?' : text[i];
    }
    if (cut) shown += "…";
    return shown + "”";
}

} // namespace korvane::files
