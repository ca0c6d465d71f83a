#include "core/files/file_messages.h"

namespace korvane::files {

util::Message fileMissingMessage()
{
    return { "无法打开该文件，请检查文件是否存在！", "文件错误", util::MessageIcon::Information, {} };
}

util::Message saveFailedMessage() { return { "保存文件出错", "文件错误", util::MessageIcon::Exclamation, {} }; }

} // namespace korvane::files
