#pragma once
// The two file messages every kind of file shares: one that cannot be read, one that cannot be
// saved.

#include "core/util/message.h"

namespace korvane::files {

// "无法打开该文件，请检查文件是否存在！" (title "文件错误").
util::Message fileMissingMessage();
// "保存文件出错" (title "文件错误"), for any failure of a save, creating the file included.
util::Message saveFailedMessage();

} // namespace korvane::files
