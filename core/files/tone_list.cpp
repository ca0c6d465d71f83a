#include "core/files/tone_list.h"

#include "core/files/file_bytes.h"

namespace korvane::files {

std::string_view toneListFileName(ToneList list) { return list == ToneList::Ctcss ? "qt.dat" : "dqt.dat"; }

std::vector<std::string> parseToneList(std::string_view text)
{
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            entries.emplace_back(text.substr(start));
            break;
        }
        entries.emplace_back(text.substr(start, end - start));
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
    }
    return entries;
}

std::optional<std::vector<std::string>> readToneList(const std::string& path)
{
    const auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    return parseToneList(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

util::Message toneListDamaged(ToneList list)
{
    if (list == ToneList::Ctcss)
        return { "数据文件被破坏! 请重新安装 Korvane PC编程软件.", "错误", util::MessageIcon::Exclamation, {} };
    return { "Data file is damaged! Please reinstall Korvane PC编程软件.", "Error", util::MessageIcon::Exclamation,
        {} };
}

} // namespace korvane::files
