#include "core/files/channel_csv_file.h"

#include "core/files/channel_csv.h"
#include "core/files/file_bytes.h"
#include "core/files/file_messages.h"

#include <span>
#include <string_view>

namespace korvane::files {

std::optional<util::Message> saveChannelCsv(const std::string& path, const model::RadioImage& image)
{
    const std::string text = exportChannelCsv(image);
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (writeFileAtomically(path, bytes)) return std::nullopt;
    return saveFailedMessage();
}

util::Result<model::ChannelTable, util::Message> loadChannelCsv(
    const std::string& path, int modelIndex, const model::ChannelTable& base)
{
    const auto bytes = readFileBytes(path);
    if (!bytes) return fileMissingMessage();
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    return importChannelCsv(text, modelIndex, base);
}

} // namespace korvane::files
