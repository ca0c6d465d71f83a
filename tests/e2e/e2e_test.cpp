// The whole chain where a golden case cannot say it: timing, the trace and a pulled cable.

#include "support/cli_run.h"

#include <thread>

using namespace korvane;
using namespace korvane::test;
using namespace std::chrono_literals;

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

// The cable is pulled in the middle of the records, or of an adjustment: the port fails, and the
// message says so (a dropped read-out is a golden case).
TEST_F(E2eTest, HostileCliCablePulled)
{
    saveFile(path("model0.rdw"), model::defaultImage(0));
    SimRadio sim(folder(), { "--model", "0" });
    CliProcess write(folder(), { "write", "--port", sim.device(), path("model0.rdw") });
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (sim.packetsHeard("record ").size() < 5 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    ASSERT_GE(sim.packetsHeard("record ").size(), 5u);
    sim.stop(SIGKILL); // the cable is pulled
    const CliRun run = write.finish();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(
        run.err, sim.device() + " 端口没有响应，请确保连接正确或机器电源是否打开！\n" + sim.device() + "：连接已断开。\n");
    EXPECT_LT(run.seconds, 3.0);
}

} // namespace
