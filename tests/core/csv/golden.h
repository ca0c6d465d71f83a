#pragma once
// Committed expected files under tests/data/csv. With KORVANE_UPDATE_GOLDEN set in the
// environment a test writes what it produced instead, for review before committing.

#include "support/run_command.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace korvane::files::test {

inline std::string csvDataPath(const std::string& name) { return std::string(KORVANE_TEST_DATA) + "/csv/" + name; }

inline std::string expectedFile(const std::string& name, const std::string& produced)
{
    if (std::getenv("KORVANE_UPDATE_GOLDEN") != nullptr) std::ofstream(csvDataPath(name), std::ios::binary) << produced;
    return korvane::test::readWholeFile(csvDataPath(name));
}

} // namespace korvane::files::test
