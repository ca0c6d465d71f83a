#pragma once
// Runs korvane-cli in a scratch folder.

#include "support/run_command.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace korvane::test {

class CliTest : public ::testing::Test {
protected:
    CommandResult cli(const std::vector<std::string>& args) { return runCommand(KORVANE_CLI, args, m_outputs.path()); }
    std::string path(const std::string& name) const { return (m_dir / name).string(); }

    TempDir m_dir;
    TempDir m_outputs;
};

} // namespace korvane::test
