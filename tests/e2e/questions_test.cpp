// The two questions before programming: without --yes the question is printed and the write
// stops (exit 3) before any record; with --yes the write goes on. The input file never changes.

#include "e2e_support.h"

#include "core/model/defaults.h"
#include "core/model/frequency_codec.h"

#include <memory>

using namespace korvane;
using namespace korvane::e2e;

namespace {

using model::Side;

// Model 0's defaults with channel `c` (open or closed) received at `hz` in 2.5 kHz units, or in
// 6.25 kHz units when asked.
model::RadioImage imageWith(int c, std::int64_t hz, bool step625 = false, bool open = true)
{
    model::RadioImage image = model::defaultImage(0);
    model::Record& r = image.channels[static_cast<std::size_t>(c)];
    model::setBit(r[static_cast<std::size_t>(model::flagByte(Side::Receive))], model::kStepBit, step625);
    model::setBit(r[static_cast<std::size_t>(model::flagByte(Side::Receive))], model::kOpenBit, open);
    model::encodeFrequency(hz, r, Side::Receive);
    return image;
}

struct Case {
    std::string name;
    std::vector<std::string> sim;
    model::RadioImage image;
    std::string question; // printed without --yes; "" when none is asked
};

std::vector<Case> cases()
{
    return {
        { "2.5 kHz channel, older radio", { "--older" }, imageWith(0, 146'012'500), kRoundingQuestion },
        { "closed 2.5 kHz channel, older radio", { "--older" }, imageWith(5, 146'012'500, false, false),
            kRoundingQuestion },
        { "other model, newer radio", { "--model", "1" }, model::defaultImage(0), kModelQuestion },
        { "other model, older radio", { "--model", "1", "--older" }, model::defaultImage(0), kModelQuestion },
        // The rounding is asked first; No to it ends the write.
        { "both, older radio", { "--model", "1", "--older" }, imageWith(0, 146'012'500), kRoundingQuestion },
        // 146.00625 MHz on the 6.25 kHz step is not off the 5 kHz grid.
        { "6.25 kHz channel, older radio", { "--older" }, imageWith(0, 146'006'250, true), "" },
    };
}

TEST_F(E2eTest, QuestionsAnsweredNoStopBeforeAnyRecord)
{
    std::vector<Case> rows = cases();
    std::erase_if(rows, [](const Case& row) { return row.question.empty(); });
    std::vector<std::unique_ptr<SimRadio>> sims;
    std::vector<std::unique_ptr<CliProcess>> writes;
    std::vector<std::string> inputs;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        inputs.push_back(path("no" + std::to_string(k) + ".rdw"));
        saveFile(inputs.back(), rows[k].image);
        sims.push_back(std::make_unique<SimRadio>(folder(), rows[k].sim));
        writes.push_back(std::make_unique<CliProcess>(
            folder(), std::vector<std::string> { "write", "--port", sims.back()->device(), inputs.back() }));
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE(rows[k].name);
        const std::string before = test::readWholeFile(inputs[k]);
        const CliRun run = writes[k]->finish();
        EXPECT_EQ(run.exitCode, 3);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, rows[k].question);
        EXPECT_EQ(sims[k]->logged("<-", "pROGRAM").size(), 1u);
        EXPECT_TRUE(sims[k]->recordsHeard().empty());
        EXPECT_EQ(test::readWholeFile(inputs[k]), before);
    }
}

TEST_F(E2eTest, QuestionsAnsweredYesWrite)
{
    const std::vector<Case> rows = cases();
    std::vector<std::unique_ptr<SimRadio>> sims;
    std::vector<std::unique_ptr<CliProcess>> writes;
    std::vector<std::string> inputs, saved, before;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        inputs.push_back(path("yes" + std::to_string(k) + ".rdw"));
        saved.push_back(path("radio" + std::to_string(k) + ".rdw"));
        saveFile(inputs.back(), rows[k].image);
        before.push_back(test::readWholeFile(inputs.back()));
        std::vector<std::string> simArgs = rows[k].sim;
        simArgs.insert(simArgs.end(), { "--save", saved.back() });
        sims.push_back(std::make_unique<SimRadio>(folder(), simArgs));
        writes.push_back(std::make_unique<CliProcess>(
            folder(), std::vector<std::string> { "write", "--yes", "--port", sims.back()->device(), inputs.back() }));
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE(rows[k].name);
        const CliRun run = writes[k]->finish();
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, kWriteComplete);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(test::readWholeFile(inputs[k]), before[k]) << "the input file changed";
        // The radio takes the image's model, whatever it was before.
        const model::RadioImage radio = openFile(saved[k]);
        EXPECT_EQ(radio.modelIndex, 0);
        const std::vector<Bytes> records = sims[k]->recordsHeard();
        ASSERT_FALSE(records.empty());
        EXPECT_EQ(records.back()[4], 0);
        if (records.size() == 56) {
            EXPECT_EQ(records[54], records[55]);
        }
    }
    // 146.0125 MHz on the 2.5 kHz step reaches an older radio as 146.0100 MHz, closed or open, and
    // reads back so; the 6.25 kHz channel arrives unchanged.
    for (std::size_t k : { 0u, 4u })
        EXPECT_EQ(model::formatFrequency(openFile(saved[k]).channels[0], Side::Receive), "146.01000");
    EXPECT_EQ(model::formatFrequency(openFile(saved[1]).channels[5], Side::Receive), "146.01000");
    EXPECT_EQ(model::formatFrequency(openFile(saved[5]).channels[0], Side::Receive), "146.00625");
    const CliRun back = runCli(folder(), { "read", "--port", sims[0]->device(), "-o", path("back.rdw") });
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(model::formatFrequency(openFile(path("back.rdw")).channels[0], Side::Receive), "146.01000");
    EXPECT_EQ(model::formatFrequency(openFile(inputs[0]).channels[0], Side::Receive), "146.01250");
}

} // namespace
