// The whole chain where a golden case cannot say it: timing, the automatic backups, the trace and
// a pulled cable.

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

bool isBackupName(const std::string& name, const std::string& tag)
{
    // "20261206-204512-123-read.rdw"
    if (name.size() != 20 + tag.size() + 4 || !name.ends_with("-" + tag + ".rdw")) return false;
    for (std::size_t k = 0; k < 19; ++k)
        if ((k == 8 || k == 15) ? name[k] != '-' : (name[k] < '0' || name[k] > '9')) return false;
    return true;
}

// Read and write keep an automatic backup each (the write's the image as opened, always rdw). A
// failed backup is a golden case.
TEST_F(E2eTest, AutomaticBackups)
{
    model::RadioImage image = model::defaultImage(2);
    image.channels[3][11] = 0x2A;
    saveFile(path("in.rdh"), image);
    SimRadio radio(folder(), { "--model", "2" });
    for (const char* operation : { "read", "write" }) {
        SCOPED_TRACE(operation);
        const auto home = folder() / operation;
        const Strings args = operation == std::string("read")
            ? Strings { "read", "--port", radio.device(), "-o", path("r.rdw") }
            : Strings { "write", "--port", radio.device(), path("in.rdh") };
        EXPECT_EQ(runCli(folder(), args, { { "XDG_DATA_HOME", home } }).exitCode, 0);
        const auto backups = home / "korvane" / "backups";
        std::vector<std::filesystem::path> names;
        for (const auto& entry : std::filesystem::directory_iterator(backups))
            names.push_back(entry.path());
        ASSERT_EQ(names.size(), 1u);
        EXPECT_TRUE(isBackupName(names[0].filename().string(), operation)) << names[0];
        EXPECT_EQ(readWholeFile(names[0]),
            operation == std::string("read") ? readWholeFile(path("r.rdw"))
                                             : encoded(openFile(path("in.rdh")), files::FileKind::Rdw));
    }
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
    while (sim.recordsHeard().size() < 5 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    ASSERT_GE(sim.recordsHeard().size(), 5u);
    sim.pullCable();
    const CliRun run = write.finish();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, noResponse(sim.device(), sim.device() + "：连接已断开。"));
    EXPECT_LT(run.seconds, 3.0);
}

} // namespace
