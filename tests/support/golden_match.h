#pragma once
// A GoogleTest check against a committed file that, when it fails, names the case that broke.

#include "support/golden.h"

#include <gtest/gtest.h>

namespace korvane::test {

// EXPECT_TRUE(matchesGolden("link/operations.txt", produced)): `produced` against the committed file.
inline ::testing::AssertionResult matchesGolden(const std::string& name, const std::string& produced)
{
    const std::string difference = goldenDifference(expectedFile(name, produced), produced);
    if (difference.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << name << ": " << difference;
}

} // namespace korvane::test
