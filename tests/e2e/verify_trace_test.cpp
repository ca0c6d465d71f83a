// write --verify against radios that store what they are sent and radios that keep one byte
// wrong; --trace on read, write and align.

#include "e2e_support.h"

#include "core/model/defaults.h"
#include "core/model/frequency_form.h"

#include <cstdio>
#include <memory>
#include <regex>

using namespace korvane;
using namespace korvane::e2e;

namespace {

const std::string kVerifyPassed = "校验通过：读回的数据与写入的一致。\n";

std::string hex(std::uint8_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

struct VerifyRow {
    std::string name;
    std::vector<std::string> sim;
    int exitCode;
    std::string err;
};

} // namespace

TEST_F(E2eTest, WriteVerify)
{
    model::RadioImage image = model::defaultImage(3);
    image.channels[2][11] = 0x05;
    saveFile(path("image.rdw"), image);
    model::ChannelTable line = image.channels; // as an older radio is sent them
    model::to5kHzForm(line);

    const std::vector<VerifyRow> rows {
        { "newer, stores everything", { "--model", "3" }, 0, "" },
        { "older, stores everything", { "--model", "3", "--older" }, 0, "" },
        { "newer, transmit frequency of channel 3", { "--model", "3", "--store-wrong", "0:0x25" }, 1,
            "校验失败：信道 3 字节 5（发射频率）：写入 " + hex(image.channels[2][5]) + "，读回 "
                + hex(image.channels[2][5] ^ 1) + "\n" },
        { "older, receive frequency of channel 16, in the 5 kHz form",
            { "--model", "3", "--older", "--store-wrong", "0:0xF0" }, 1,
            "校验失败：信道 16 字节 0（接收频率）：写入 " + hex(line[15][0]) + "，读回 " + hex(line[15][0] ^ 1)
                + "\n" },
        { "newer, a settings byte", { "--model", "3", "--store-wrong", "2:0x07" }, 1,
            "校验失败：设置区 字节 7（发射限时）：写入 " + hex(image.settings[7]) + "，读回 "
                + hex(image.settings[7] ^ 1) + "\n" },
        { "newer, a parameter byte", { "--model", "3", "--store-wrong", "2:0xBF" }, 1,
            "校验失败：参数记录 10 字节 15：写入 " + hex(image.parameters[9][15]) + "，读回 "
                + hex(image.parameters[9][15] ^ 1) + "\n" },
        { "older, the model code", { "--model", "3", "--older", "--store-wrong", "3:0xD8" }, 1,
            "校验失败：机型代码：写入 0x03，读回 0x02\n" },
    };
    std::vector<std::unique_ptr<SimRadio>> sims;
    std::vector<std::unique_ptr<CliProcess>> writes;
    for (const VerifyRow& row : rows) {
        sims.push_back(std::make_unique<SimRadio>(folder(), row.sim));
        ASSERT_FALSE(sims.back()->device().empty()) << row.name;
        writes.push_back(std::make_unique<CliProcess>(folder(),
            std::vector<std::string> { "write", "--port", sims.back()->device(), "--verify", path("image.rdw") }));
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const VerifyRow& row = rows[k];
        SCOPED_TRACE(row.name);
        const CliRun w = writes[k]->finish();
        EXPECT_EQ(w.exitCode, row.exitCode);
        EXPECT_EQ(w.out, kWriteComplete + (row.exitCode == 0 ? kVerifyPassed : ""));
        EXPECT_EQ(w.err, row.err);
        // Programmed once, then read back once.
        EXPECT_EQ(sims[k]->logged("<-", "pROGRAM").size(), 1u);
        EXPECT_EQ(sims[k]->logged("<-", "rEAD").size(), 1u);
    }
}

TEST_F(E2eTest, WriteVerifyWhenTheRadioCannotBeReadBack)
{
    // The radio takes the records, but its read-out never comes.
    saveFile(path("image.rdw"), model::defaultImage(0));
    SimRadio radio(folder(), { "--short", "0" });
    ASSERT_FALSE(radio.device().empty());
    const CliRun w = runCli(folder(), { "write", "--port", radio.device(), "--verify", path("image.rdw") });
    EXPECT_EQ(w.exitCode, 1);
    EXPECT_EQ(w.out, kWriteComplete);
    EXPECT_EQ(w.err, kReadError + "校验失败：无法读回对讲机中的数据。\n");
}

TEST_F(E2eTest, Trace)
{
    saveFile(path("image.rdw"), model::defaultImage(0));
    SimRadio radio(folder(), {});
    ASSERT_FALSE(radio.device().empty());
    const std::string device = radio.device();

    struct Row {
        std::string name;
        std::vector<std::string> args;
        std::vector<std::string> sent; // in this order among the lines sent
    };
    const std::vector<Row> rows {
        { "read", { "read", "--port", device, "-o", path("read.rdw"), "--trace", path("read.trace") },
            { ">> 72 45 41 44", ">> 4F 4B" } },
        { "write", { "write", "--port", device, "--trace", path("write.trace"), path("image.rdw") },
            { ">> 70 52 4F 47 52 41 4D", ">> 57 00 00 08" } },
        { "align",
            { "align", "--port", device, path("image.rdw"), "--item", "2", "--ok", "--trace", path("align.trace") },
            { ">> 74 45 53 54 32", ">> 45 4E 44" } },
    };
    const std::regex timed(R"(^ +\d+\.\d{6} (.*)$)");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CliRun run = runCli(folder(), row.args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::istringstream trace(test::readWholeFile(path(row.name + ".trace")));
        std::vector<std::string> lines;
        double last = 0;
        for (std::string text; std::getline(trace, text);) {
            std::smatch match;
            ASSERT_TRUE(std::regex_match(text, match, timed)) << text;
            const double seconds = std::stod(text);
            EXPECT_GE(seconds, last) << text;
            last = seconds;
            lines.push_back(match[1]);
        }
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(lines.front(), "open " + device);
        EXPECT_EQ(lines.back(), "close");
        auto from = lines.begin();
        for (const std::string& sent : row.sent) {
            from = std::find_if(from, lines.end(), [&](const std::string& l) { return l.starts_with(sent); });
            EXPECT_NE(from, lines.end()) << sent;
        }
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("<< "); }));
    }
}

TEST_F(E2eTest, TraceFileThatCannotBeWritten)
{
    saveFile(path("image.rdw"), model::defaultImage(0));
    SimRadio radio(folder(), {});
    ASSERT_FALSE(radio.device().empty());
    const std::string trace = path("missing/folder/trace.txt");
    const std::vector<std::vector<std::string>> commands {
        { "read", "--port", radio.device(), "-o", path("read.rdw"), "--trace", trace },
        { "write", "--port", radio.device(), "--trace", trace, path("image.rdw") },
        { "align", "--port", radio.device(), path("image.rdw"), "--item", "0", "--cancel", "--trace", trace },
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args.front());
        const CliRun run = runCli(folder(), args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "korvane-cli: cannot write the trace file " + trace + ": No such file or directory\n");
    }
    // The radio never heard from the program, and no backup was kept.
    EXPECT_TRUE(radio.logged("<-", "").empty());
    EXPECT_FALSE(std::filesystem::exists(dataHome(folder())));
}
