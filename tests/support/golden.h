#pragma once
// Committed expected files under tests/data. With KORVANE_UPDATE_GOLDEN set in the environment a
// test writes what it produced instead, for review before committing.

#include "core/util/hex.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace korvane::test {

inline std::string dataPath(const std::string& name) { return std::string(KORVANE_TEST_DATA) + "/" + name; }

inline std::string dataFile(const std::string& name)
{
    std::ifstream in(dataPath(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The committed file `name` (under tests/data), or `produced` written there first when updating.
inline std::string expectedFile(const std::string& name, const std::string& produced)
{
    if (std::getenv("KORVANE_UPDATE_GOLDEN") != nullptr) std::ofstream(dataPath(name), std::ios::binary) << produced;
    return dataFile(name);
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
