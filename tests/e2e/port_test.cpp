// How --port names the radio's port: COM1..COM4 through KORVANE_COMn as the window maps them, or
// a device path, which then stands in the messages where "COM" and the number would.

#include "e2e_support.h"

#include "core/model/defaults.h"

using namespace korvane;
using namespace korvane::e2e;

namespace {

TEST_F(E2eTest, PortNumberMessagesNameTheNumberAndTheDevice)
{
    SimRadio sim(folder(), { "--silent" });
    const CliRun read
        = runCli(folder(), { "read", "--port", "COM1", "-o", path("x.rdw") }, { { "KORVANE_COM1", sim.linkPath() } });
    EXPECT_EQ(read.exitCode, 1);
    EXPECT_EQ(read.out, "");
    EXPECT_EQ(read.err, noResponse("COM1", "COM1 = " + sim.linkPath()));

    saveFile(path("model0.rdw"), model::defaultImage(0));
    // Any letter case names the port; the message keeps "COM" and the number.
    const CliRun write
        = runCli(folder(), { "write", "--port", "com3", path("model0.rdw") }, { { "KORVANE_COM3", sim.device() } });
    EXPECT_EQ(write.exitCode, 1);
    EXPECT_EQ(write.err, noResponse("COM3", "COM3 = " + sim.device()));
    EXPECT_EQ(sim.logged("<-", "rEAD").size(), 6u);
    EXPECT_EQ(sim.logged("<-", "pROGRAM").size(), 6u);
}

TEST_F(E2eTest, MissingDevices)
{
    const CliRun mapped = runCli(
        folder(), { "read", "--port", "COM2", "-o", path("x.rdw") }, { { "KORVANE_COM2", "/nonexistent/ttyX" } });
    EXPECT_EQ(mapped.exitCode, 1);
    EXPECT_EQ(mapped.err, noResponse("COM2", "COM2 = /nonexistent/ttyX：设备不存在。"));

    const CliRun direct = runCli(folder(), { "read", "--port", "/nonexistent/ttyX", "-o", path("x.rdw") });
    EXPECT_EQ(direct.exitCode, 1);
    EXPECT_EQ(direct.err, noResponse("/nonexistent/ttyX", "/nonexistent/ttyX：设备不存在。"));
    EXPECT_FALSE(std::filesystem::exists(path("x.rdw")));
}

TEST_F(E2eTest, ReadByPortNumber)
{
    SimRadio sim(folder(), { "--model", "6" });
    const CliRun run
        = runCli(folder(), { "read", "--port", "COM4", "-o", path("r.rdhax") }, { { "KORVANE_COM4", sim.linkPath() } });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, kReadComplete);
    EXPECT_EQ(run.err, "");
    // The extension chose the kind (613 bytes: rdhax).
    EXPECT_EQ(test::readWholeFile(path("r.rdhax")).size(), 613u);
    EXPECT_EQ(openFile(path("r.rdhax")).modelIndex, 6);
}

TEST_F(E2eTest, KindOptionOverridesTheExtension)
{
    SimRadio sim(folder(), { "--model", "3", "--older" });
    const CliRun run = runCli(folder(), { "read", "--port", sim.device(), "-o", path("r.rdw"), "--kind", "rdh" });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(test::readWholeFile(path("r.rdw")).size(), 431u); // rdh, not rdw (643)
}

// Usage errors: nothing is opened, nothing is written, exit status 2.
TEST_F(E2eTest, UsageErrors)
{
    saveFile(path("in.rdw"), model::defaultImage(0));
    const std::vector<std::vector<std::string>> rows {
        { "read", "-o", path("x.rdw") },
        { "read", "--port", "/dev/null" },
        { "read", "--port", "COM5", "-o", path("x.rdw") },
        { "read", "--port", "COM0", "-o", path("x.rdw") },
        { "read", "--port", "", "-o", path("x.rdw") },
        { "read", "--port", "/dev/null", "-o", path("x.rdw"), "--kind", "txt" },
        { "read", "--port", "/dev/null", "-o", path("x.rdw"), "--yes" },
        { "read", "--port", "/dev/null", "-o", path("x.rdw"), "extra" },
        { "read", "--port", "/dev/null", "--port", "/dev/null", "-o", path("x.rdw") },
        { "write", path("in.rdw") },
        { "write", "--port", "/dev/null" },
        { "write", "--port", "COM9", path("in.rdw") },
        { "write", "--port", "/dev/null", path("in.rdw"), path("in.rdw") },
        { "write", "--port", "/dev/null", "--kind", "rdw", path("in.rdw") },
        { "write", "--port", "/dev/null", "--yes", "--yes", path("in.rdw") },
        { "write", "--port" },
    };
    for (const auto& args : rows) {
        SCOPED_TRACE(args.size() > 1 ? args[0] + " " + args[1] + " " + args.back() : args[0]);
        const CliRun run = runCli(folder(), args);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with("korvane-cli: ")) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(path("x.rdw")));
}

} // namespace
