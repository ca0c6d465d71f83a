#pragma once
// The four messages an open can end with, exactly as the user sees them.

#include "core/files/data_file.h"

namespace korvane::files::test {

inline util::Message openMessage(OpenFailure failure)
{
    using util::MessageIcon;
    switch (failure) {
    case OpenFailure::Missing:
        return { "无法打开该文件，请检查文件是否存在！", "文件错误", MessageIcon::Information, {} };
    case OpenFailure::Format:
        return { "文件格式错误！本软件不支持该文件格式！", "打开文件出错", MessageIcon::Exclamation, {} };
    case OpenFailure::Model:
        return { "机型错误！本软件不支持该机型！", "机型错误", MessageIcon::Information, {} };
    case OpenFailure::Read:
        break;
    }
    return { "打开文件时出现错误", "打开文件错误", MessageIcon::Exclamation, {} };
}

} // namespace korvane::files::test
