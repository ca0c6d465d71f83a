// A read-out that goes wrong: every way it can fail ends with its own message, exit status 1 and
// the output file as it was.

#include "e2e_support.h"

#include "core/model/settings_fields.h"

#include <fstream>
#include <memory>

using namespace korvane;
using namespace korvane::e2e;

namespace {

const std::string kUntouched = "not a data file, and it must stay so\n";

struct ReadFailure {
    std::string name;
    std::vector<std::string> sim;
    // Standard error, with the device path in place of "@".
    std::string err;
    bool goAheadSent; // the radio heard "OK"
};

std::string withDevice(std::string text, const std::string& device)
{
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + device.size()))
        text.replace(at, 1, device);
    return text;
}

// Every failure row of the read-out, the radios all at once.
TEST_F(E2eTest, ReadFailuresLeaveTheOutputAlone)
{
    std::vector<ReadFailure> rows {
        { "silent", { "--silent" }, noResponse("@", "@"), false },
        { "answers only a seventh attempt", { "--answer-on", "7" }, noResponse("@", "@"), false },
        { "model code 15", { "--code", "15" }, noResponse("@", "@"), false },
        { "model code 255", { "--code", "255" }, noResponse("@", "@"), false },
        { "older, 419 bytes", { "--older", "--short", "419" }, kReadError, true },
        { "newer, 683 bytes", { "--newer", "--short", "683" }, kReadError, true },
        { "older, noise", { "--older", "--garbage" }, kReadError, true },
        { "newer, noise", { "--newer", "--garbage" }, kReadError, true },
        { "line drops", { "--drop-after", "100" }, noResponse("@", "@：连接已断开。"), true },
    };
    for (int code = 6; code <= 13; ++code)
        rows.push_back({ "model code " + std::to_string(code), { "--code", std::to_string(code) }, kReadError, true });

    std::vector<std::unique_ptr<SimRadio>> sims;
    std::vector<std::unique_ptr<CliProcess>> reads;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const std::string output = path("out" + std::to_string(k) + ".rdw");
        std::ofstream(output, std::ios::binary) << kUntouched;
        sims.push_back(std::make_unique<SimRadio>(folder(), rows[k].sim));
        ASSERT_FALSE(sims.back()->device().empty()) << rows[k].name;
        reads.push_back(std::make_unique<CliProcess>(
            folder(), std::vector<std::string> { "read", "--port", sims.back()->device(), "-o", output }));
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE(rows[k].name);
        const CliRun run = reads[k]->finish();
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, withDevice(rows[k].err, sims[k]->device()));
        EXPECT_EQ(test::readWholeFile(path("out" + std::to_string(k) + ".rdw")), kUntouched);
        EXPECT_EQ(sims[k]->logged("<-", "OK").size(), rows[k].goAheadSent ? 1u : 0u);
    }
}

// A silent radio hears "rEAD" six times, a little over 80 ms apart, about half a second in all.
TEST_F(E2eTest, SilentRadioHearsSixAttempts)
{
    SimRadio sim(folder(), { "--silent" });
    const CliRun run = runCli(folder(), { "read", "--port", sim.device(), "-o", path("x.rdw") });
    EXPECT_EQ(run.exitCode, 1);
    const std::vector<LogLine> attempts = sim.logged("<-", "rEAD");
    ASSERT_EQ(attempts.size(), 6u);
    // The radio notes each attempt when it has woken up to it, so single gaps wander a little.
    for (std::size_t k = 1; k < attempts.size(); ++k) {
        const double gap = attempts[k].seconds - attempts[k - 1].seconds;
        EXPECT_GE(gap, 0.05);
        EXPECT_LT(gap, 0.3);
    }
    EXPECT_GE(attempts.back().seconds - attempts.front().seconds, 0.39);
    EXPECT_GE(run.seconds, 6 * 0.08);
    EXPECT_LT(run.seconds, 2.0);
}

// A radio that answers only the n-th attempt is read all the same, up to the sixth.
TEST_F(E2eTest, LateAnswerStillReads)
{
    for (int n : { 2, 6 }) {
        SCOPED_TRACE(n);
        SimRadio sim(folder(), { "--answer-on", std::to_string(n) });
        const CliRun run = runCli(folder(), { "read", "--port", sim.device(), "-o", path("late.rdw") });
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, kReadComplete);
        EXPECT_EQ(sim.logged("<-", "rEAD").size(), static_cast<std::size_t>(n));
    }
}

// A newer radio of a version this program does not know: the notice, then the read-out goes on
// as for an older radio (model code 2 from the model record).
TEST_F(E2eTest, UnknownVersionReadsAsAnOlderRadio)
{
    SimRadio sim(folder(), { "--model", "2", "--version", "5" });
    const CliRun run = runCli(folder(), { "read", "--port", sim.device(), "-o", path("v.rdw") });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, kVersionMismatch + kReadComplete);
    EXPECT_EQ(run.err, "");
    ASSERT_EQ(sim.logged("->", "handshake reply").size(), 1u);
    EXPECT_TRUE(sim.logged("->", "handshake reply")[0].text.ends_with("02 05"));
    EXPECT_EQ(openFile(path("v.rdw")).modelIndex, 2);
}

// Code 14 is the MX-330 (model index 4), not an unknown code.
TEST_F(E2eTest, ModelCode14ReadsAsModelIndex4)
{
    SimRadio sim(folder(), { "--model", "0", "--code", "14" });
    const CliRun run = runCli(folder(), { "read", "--port", sim.device(), "-o", path("c14.rdw") });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(openFile(path("c14.rdw")).modelIndex, 4);
}

// A settings field no list entry can show: the read succeeds, keeps the radio's data, and says so
// after the success message, as the window does.
TEST_F(E2eTest, SettingWithoutEntryIsReportedAfterTheRead)
{
    model::RadioImage odd = model::defaultImage(1);
    odd.settings[11] &= 0xF0; // squelch level 0: no entry
    ASSERT_FALSE(model::decodeSetting(model::SettingsList::Squelch, odd.settings));
    saveFile(path("odd.rdw"), odd);
    SimRadio sim(folder(), { "--file", path("odd.rdw") });
    const CliRun run = runCli(folder(), { "read", "--port", sim.device(), "-o", path("read.rdw") });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, kReadComplete);
    EXPECT_EQ(run.err, kDataError);
    EXPECT_EQ(openFile(path("read.rdw")).settings[11] & 0x0F, 0);
}

} // namespace
