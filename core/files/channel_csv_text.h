#pragma once
// Small text helpers for reading spreadsheet cells: blanks around a value do not count, and
// words such as column names and modes match whatever their ASCII case.

#include <string>
#include <string_view>

namespace korvane::files {

inline std::string_view trimmedCell(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

inline char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string lowerWord(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = lowerAscii(c);
    return out;
}

inline bool sameWord(std::string_view a, std::string_view b) { return lowerWord(a) == lowerWord(b); }

} // namespace korvane::files
