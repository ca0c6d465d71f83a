// The whole chain where a golden case cannot say it: the timing of the attempts.

#include "support/cli_run.h"

using namespace korvane;
using namespace korvane::test;

namespace {

using E2eTest = ProcessTest;

// A silent radio hears "rEAD" six times, a little over 80 ms apart, about half a second in all.
TEST_F(E2eTest, SilentRadioHearsSixAttempts)
{
    SimRadio sim(folder(), { "--silent" });
    const CliRun run = runCli(folder(), { "read", "--port", sim.device(), "-o", path("x.rdw") });
    EXPECT_EQ(run.exitCode, 1);
    const std::vector<LogLine> attempts = sim.logged("<-", "rEAD");
    ASSERT_EQ(attempts.size(), 6u);
    for (std::size_t k = 1; k < attempts.size(); ++k) {
        EXPECT_GE(attempts[k].seconds - attempts[k - 1].seconds, 0.05);
        EXPECT_LT(attempts[k].seconds - attempts[k - 1].seconds, 0.3);
    }
    EXPECT_GE(attempts.back().seconds - attempts.front().seconds, 0.39);
    EXPECT_LT(run.seconds, 2.0);
}

} // namespace
