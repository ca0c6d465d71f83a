// The whole chain where a golden case cannot say it: the timing of the attempts and the trace.

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

// --trace writes every port call with its time: the open, the bytes each way, the close.
TEST_F(E2eTest, Trace)
{
    saveFile(path("image.rdw"), model::defaultImage(0));
    SimRadio radio(folder(), {});
    const std::string device = radio.device();
    const std::vector<std::pair<Strings, Strings>> rows {
        { { "read", "--port", device, "-o", path("read.rdw"), "--trace", path("t") },
            { ">> 72 45 41 44", ">> 4F 4B" } },
        { { "write", "--port", device, "--trace", path("t"), path("image.rdw") },
            { ">> 70 52 4F 47 52 41 4D", ">> 57 00 00 08" } },
        { { "align", "--port", device, path("image.rdw"), "--item", "2", "--ok", "--trace", path("t") },
            { ">> 74 45 53 54 32", ">> 45 4E 44" } },
    };
    for (const auto& [args, sent] : rows) {
        SCOPED_TRACE(args[0]);
        ASSERT_EQ(runCli(folder(), args).exitCode, 0);
        // "  0.012345 >> 72 45 41 44": times never go back; open first, close last.
        std::istringstream trace(readWholeFile(path("t")));
        std::string all, text;
        for (double last = 0; std::getline(trace, text); last = std::stod(text)) {
            EXPECT_GE(std::stod(text), last) << text;
            all += text.substr(text.find_first_not_of(" .0123456789")) + "\n";
        }
        EXPECT_TRUE(all.starts_with("open " + device + "\n") && all.ends_with("\nclose\n")) << all;
        EXPECT_NE(all.find("\n<< "), std::string::npos);
        for (std::size_t at = 0; const std::string& bytes : sent)
            EXPECT_NE(at = all.find("\n" + bytes, at), std::string::npos) << bytes;
    }
}

} // namespace
