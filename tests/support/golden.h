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

// Why `produced` is not `expected` (empty when equal): the first line that differs, and the case
// it belongs to: the nearest "== name" line above it, else the nearest line that is not indented
// (a table's entry, a script's step).
inline std::string goldenDifference(const std::string& expected, const std::string& produced)
{
    if (expected == produced) return {};
    std::istringstream e(expected), p(produced);
    std::string want, got, section, entry;
    std::size_t line = 0;
    while (want == got && (e || p)) {
        if (!want.empty() && want[0] != ' ') entry = want;
        want.clear();
        got.clear();
        std::getline(e, want);
        std::getline(p, got);
        if (want.starts_with("== ")) section = want;
        ++line;
    }
    const std::string& within = section.empty() ? entry : section;
    return "first difference at line " + std::to_string(line)
        + (within.empty() ? "" : " in the case \"" + within + "\"") + "\nexpected: " + want + "\nproduced: " + got;
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
