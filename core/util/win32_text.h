#pragma once
// Text at the Win32 boundary: the program keeps UTF-8, Windows wants UTF-16.

#include <string>

namespace korvane::util {

std::wstring wideFromUtf8(const std::string& text);
std::string utf8FromWide(const std::wstring& text);
// The system's own words for a Win32 error code, in UTF-8, without the trailing line end.
std::string win32ErrorText(unsigned long error);

} // namespace korvane::util
