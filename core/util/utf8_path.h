#pragma once
// File names travel through the program as UTF-8 text; these turn them into paths and back
// without the system's narrow code page, so Chinese file and folder names work on Windows too.

#include <filesystem>
#include <string>

namespace korvane::util {

inline std::filesystem::path pathFromUtf8(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8Path(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace korvane::util
