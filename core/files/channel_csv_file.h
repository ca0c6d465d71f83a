#pragma once
// Channel spreadsheets on disk: what the window's "导出CSV..." and "导入CSV..." and the command
// line's export-csv and import-csv read and write.
//
// The window: Export saves saveChannelCsv(path, image). Import calls loadChannelCsv(path,
// image.modelIndex, model::defaultImage(image.modelIndex).channels) first, shows a failure in a
// message box with the message's text, title and icon, and changes nothing; only on success
// does it ask before replacing image.channels with the table, then run RefreshFromImage.

#include "core/model/radio_image.h"
#include "core/util/message.h"
#include "core/util/result.h"

#include <optional>
#include <string>

namespace korvane::files {

// Writes exportChannelCsv(image) through a temporary file, so a failure leaves any old file as
// it was; the failure gives "保存文件出错".
std::optional<util::Message> saveChannelCsv(const std::string& path, const model::RadioImage& image);

// Reads the file and imports it as importChannelCsv does; a file that cannot be read gives
// "无法打开该文件，请检查文件是否存在！".
util::Result<model::ChannelTable, util::Message> loadChannelCsv(
    const std::string& path, int modelIndex, const model::ChannelTable& base);

} // namespace korvane::files
