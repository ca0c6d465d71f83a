#include "core/files/tone_list.h"

#include "core/files/file_bytes.h"
#include "core/util/text_lines.h"

namespace korvane::files {

std::string_view toneListFileName(ToneList list) { return list == ToneList::Ctcss ? "qt.dat" : "dqt.dat"; }

std::vector<std::string> parseToneList(std::string_view text)
{
    std::vector<std::string> entries;
    for (const std::string_view line : util::textLines(text))
        entries.emplace_back(line);
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
