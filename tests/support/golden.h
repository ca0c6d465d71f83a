#pragma once
// Committed expected files under tests/data. With KORVANE_UPDATE_GOLDEN set in the environment a
// test writes what it produced instead, for review before committing.

#include "core/util/hex.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace korvane::test {

inline std::string dataPath(const std::string& name) { return std::string(KORVANE_TEST_DATA) + "/" + name; }

inline std::string readWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string dataFile(const std::string& name) { return readWholeFile(dataPath(name)); }

// Bytes in hexadecimal, blanks allowed ("01 A2 ff"), or BYTE*N for N of that byte.
inline std::vector<std::uint8_t> bytesOf(std::string text)
{
    std::erase(text, ' ');
    const auto byte = [&](std::size_t at) { return std::uint8_t(std::stoi(text.substr(at, 2), nullptr, 16)); };
    if (const auto star = text.find('*'); star != std::string::npos)
        return std::vector<std::uint8_t>(std::stoul(text.substr(star + 1)), byte(0));
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(byte(i));
    return bytes;
}

// The committed file `name` (under tests/data), or `produced` written there first when updating.
inline std::string expectedFile(const std::string& name, const std::string& produced)
{
    if (std::getenv("KORVANE_UPDATE_GOLDEN") != nullptr) std::ofstream(dataPath(name), std::ios::binary) << produced;
    return dataFile(name);
}

// Why `produced` is not `expected` (empty when equal): the case the first differing line belongs to
// (the "== name" section, else the nearest unindented line) and its lines around the difference.
inline std::string goldenDifference(const std::string& expected, const std::string& produced)
{
    if (expected == produced) return {};
    const auto split = [](const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    };
    const std::vector<std::string> e = split(expected), p = split(produced);
    std::size_t at = 0;
    while (at < e.size() && at < p.size() && e[at] == p[at])
        ++at;
    const bool sections = std::any_of(e.begin(), e.end(), [](const std::string& l) { return l.starts_with("== "); });
    const auto opens = [&](const std::string& l) { return sections ? l.starts_with("== ") : !l.empty() && l[0] != ' '; };
    std::size_t first = std::min(at, e.empty() ? 0 : e.size() - 1);
    while (first > 0 && !opens(e[first]))
        --first;
    // The case's first line, then its lines from five before the difference (marked) to five after.
    const auto excerpt = [&](const std::vector<std::string>& lines) {
        const auto line = [&](std::size_t k) { return (k == at ? "> " : "  ") + lines[k] + "\n"; };
        std::string text = first < lines.size() ? line(first) : "";
        const std::size_t from = std::max(first + 1, at < 5 ? 0 : at - 5);
        if (from > first + 1 && from < lines.size()) text += "  ...\n";
        for (std::size_t k = from; k < lines.size() && k <= at + 5 && (k <= at || !opens(lines[k])); ++k)
            text += line(k);
        return text;
    };
    return "first difference at line " + std::to_string(at + 1)
        + (first < e.size() ? " in the case \"" + e[first] + "\"" : "") + "\nexpected:\n" + excerpt(e)
        + "produced:\n" + excerpt(p);
}

// Bytes as two hexadecimal digits each, separated by spaces.
template <class Range> std::string hex(const Range& bytes)
{
    std::vector<std::uint8_t> octets;
    for (const auto b : bytes)
        octets.push_back(static_cast<std::uint8_t>(b));
    return util::hexBytes(octets);
}

} // namespace korvane::test
