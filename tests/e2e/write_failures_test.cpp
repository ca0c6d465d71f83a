// Programming that goes wrong: every way it can fail ends with its own message and exit status 1,
// and the radio hears no record unless the failure comes after the record phase.

#include "e2e_support.h"

#include "core/model/defaults.h"

#include <memory>

using namespace korvane;
using namespace korvane::e2e;

namespace {

struct WriteFailure {
    std::string name;
    std::vector<std::string> sim;
    int exitCode;
    std::string out;
    std::string err; // "@" stands for the device path
    std::size_t commands; // "pROGRAM" heard this often
    std::size_t records; // records heard
};

std::string withDevice(std::string text, const std::string& device)
{
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + device.size()))
        text.replace(at, 1, device);
    return text;
}

// Every failure row of programming (and a completion that merely begins with "OK"), the radios
// all at once. The completion rows use older radios: 35 records are quicker than 56.
TEST_F(E2eTest, WriteFailures)
{
    const std::string failure = noResponse("@", "@");
    std::vector<WriteFailure> rows {
        { "silent", { "--silent" }, 1, "", failure, 6, 0 },
        { "model code 15", { "--code", "15" }, 1, "", failure, 1, 0 },
        { "model code 255", { "--code", "255" }, 1, "", failure, 1, 0 },
        { "version 2", { "--code", "3", "--version", "2" }, 1, "", kVersionMismatch, 1, 0 },
        { "one-byte completion", { "--older", "--completion", "4F" }, 1, "", failure, 1, 35 },
        { "completion KO", { "--older", "--completion", "4B4F" }, 1, "", kWriteError, 1, 35 },
        { "no completion", { "--older", "--completion", "" }, 1, "", kWriteError, 1, 35 },
        { "completion OK and more", { "--older", "--completion", "4F4B00" }, 0, kWriteComplete, "", 1, 35 },
    };
    for (int code = 6; code <= 13; ++code)
        rows.push_back(
            { "model code " + std::to_string(code), { "--code", std::to_string(code) }, 1, "", failure, 1, 0 });

    saveFile(path("model0.rdw"), model::defaultImage(0));
    std::vector<std::unique_ptr<SimRadio>> sims;
    std::vector<std::unique_ptr<CliProcess>> writes;
    for (const WriteFailure& row : rows) {
        sims.push_back(std::make_unique<SimRadio>(folder(), row.sim));
        ASSERT_FALSE(sims.back()->device().empty()) << row.name;
        writes.push_back(std::make_unique<CliProcess>(
            folder(), std::vector<std::string> { "write", "--port", sims.back()->device(), path("model0.rdw") }));
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE(rows[k].name);
        const CliRun run = writes[k]->finish();
        EXPECT_EQ(run.exitCode, rows[k].exitCode);
        EXPECT_EQ(run.out, rows[k].out);
        EXPECT_EQ(run.err, withDevice(rows[k].err, sims[k]->device()));
        EXPECT_EQ(sims[k]->logged("<-", "pROGRAM").size(), rows[k].commands);
        EXPECT_EQ(sims[k]->recordsHeard().size(), rows[k].records);
    }
}

// The cable is pulled in the middle of the records: the port fails, and the message says so.
TEST_F(E2eTest, LineDroppedWhileProgramming)
{
    saveFile(path("model0.rdw"), model::defaultImage(0));
    SimRadio sim(folder(), { "--model", "0" });
    CliProcess write(folder(), { "write", "--port", sim.device(), path("model0.rdw") });
    const auto deadline = SteadyTime::now() + 5s;
    while (sim.recordsHeard().size() < 5 && SteadyTime::now() < deadline)
        std::this_thread::sleep_for(20ms);
    ASSERT_GE(sim.recordsHeard().size(), 5u);
    sim.pullCable();
    const CliRun run = write.finish();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, noResponse(sim.device(), sim.device() + "：连接已断开。"));
    EXPECT_LT(run.seconds, 3.0);
}

// An image whose model has no model code is refused before the port is even opened.
TEST_F(E2eTest, ImageWithoutModelIsNeverSent)
{
    model::RadioImage image = model::defaultImage(0);
    image.modelIndex = -1;
    image.unknownModelCode = 6;
    saveFile(path("nomodel.rdw"), image);
    ASSERT_EQ(openFile(path("nomodel.rdw")).modelIndex, -1);
    SimRadio sim(folder(), {});
    for (const std::vector<std::string>& answer :
        { std::vector<std::string> {}, std::vector<std::string> { "--yes" } }) {
        std::vector<std::string> args { "write", "--port", sim.device(), path("nomodel.rdw") };
        args.insert(args.end(), answer.begin(), answer.end());
        const CliRun run = runCli(folder(), args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, kNoModel);
    }
    EXPECT_TRUE(sim.logged("<-", "pROGRAM").empty());
}

// A file that cannot be opened stops the write before the radio is disturbed.
TEST_F(E2eTest, UnreadableInputIsNeverSent)
{
    SimRadio sim(folder(), {});
    const CliRun run = runCli(folder(), { "write", "--port", sim.device(), path("missing.rdw") });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(run.err.empty());
    EXPECT_TRUE(sim.logged("<-", "pROGRAM").empty());
}

} // namespace
