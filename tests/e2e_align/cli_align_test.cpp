// korvane-cli align against the simulated radio: what goes over the line, what the radio keeps,
// and what the user reads.

#include "support/run_command.h"
#include "support/temp_dir.h"
#include "tests/e2e_align/sim_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

using namespace korvane;
using namespace korvane::e2e;
using namespace std::chrono_literals;

namespace {

const std::string kNoResponse = " 端口没有响应，请确保连接正确或机器电源是否打开！";
const std::string kModelMismatch = "要写入的机型与当前连接的机型不符！请先读频！\n";

// Model 3's test channels as the radio hears them in the image form: the centre channel
// 460.10000 / 460.00000 MHz, the high end 469.90000 / 469.97500 MHz and the low end
// 450.10000 / 450.00000 MHz, all on 6.25 kHz steps with signalling off.
const Bytes kCentre { 0x90, 0x1F, 0x0D, 0x00, 0x00, 0x80, 0x1F, 0x0D, 0x00, 0x00 };
const Bytes kHighEnd { 0xB0, 0x25, 0x0D, 0x00, 0x00, 0xBC, 0x25, 0x0D, 0x00, 0x00 };
const Bytes kLowEnd { 0x50, 0x19, 0x0D, 0x00, 0x00, 0x40, 0x19, 0x0D, 0x00, 0x00 };
// The centre channel in the 5 kHz form of older radios: the step flag moves to bit 1.
const Bytes kCentreOlder { 0x90, 0x1F, 0x0B, 0x00, 0x00, 0x80, 0x1F, 0x0B, 0x00, 0x00 };

Bytes packet(const Bytes& channel, std::uint8_t value)
{
    Bytes p { 0x54 };
    p.insert(p.end(), channel.begin(), channel.end());
    p.push_back(value);
    return p;
}

class CliAlign : public ::testing::Test {
protected:
    CliAlign()
    {
        ::unsetenv("KORVANE_COM1");
        const auto made = test::runCommand(KORVANE_CLI, { "new", "--model", "3", "-o", file() }, m_dir.path());
        EXPECT_EQ(made.exitCode, 0) << made.err;
    }
    ~CliAlign() override { ::unsetenv("KORVANE_COM1"); }

    std::string file() const { return (m_dir / "model3.rdw").string(); }
    test::CommandResult align(const std::vector<std::string>& args)
    {
        return test::runCommand(KORVANE_CLI, args, m_dir.path());
    }
    // The radio logs what it heard as it arrives; the last note may follow the command's exit.
    static void waitForNote(const SimProcess& radio, const std::string& note)
    {
        for (int i = 0; i < 100 && !radio.noted(note); ++i)
            std::this_thread::sleep_for(20ms);
    }

    test::TempDir m_dir;
};

} // namespace

TEST_F(CliAlign, OkKeepsTheLastValue)
{
    SimProcess radio(m_dir.path(), { "--model", "3", "--align-value", "5=100" });
    ASSERT_FALSE(radio.device().empty());
    const auto run
        = align({ "align", "--port", radio.device(), file(), "--item", "5", "--set", "101", "--set", "102", "--ok" });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    waitForNote(radio, "the program closed the line");
    const std::vector<Bytes> expected { packet(kCentre, 100), packet(kCentre, 101), packet(kCentre, 102) };
    EXPECT_EQ(radio.packets(), expected);
    // The radio's own value comes back first; every later packet follows a fresh item command.
    const auto heard = radio.heard();
    ASSERT_EQ(heard.size(), 7u);
    for (std::size_t i : { 0u, 2u, 4u })
        EXPECT_TRUE(heard[i].starts_with("tEST5 ")) << heard[i];
    EXPECT_TRUE(heard[6].starts_with("END ")) << heard[6];
    EXPECT_TRUE(radio.noted("item 5 keeps 102"));

    // The radio keeps it: the next start hears 102 and sends it back.
    const auto again = align({ "align", "--port", radio.device(), file(), "--item", "5", "--cancel" });
    EXPECT_EQ(again.exitCode, 0) << again.err;
    waitForNote(radio, "item 5 back to 102");
    EXPECT_EQ(radio.packets().back(), packet(kCentre, 102));
    EXPECT_TRUE(radio.heard().back().starts_with("CANCEL ")) << radio.heard().back();
}

TEST_F(CliAlign, CancelRestoresTheValue)
{
    SimProcess radio(m_dir.path(), { "--model", "3", "--align-value", "A=40" });
    const auto run = align(
        { "align", "--port", radio.device(), file(), "--item", "10", "--set", "0", "--set", "255", "--cancel" });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    waitForNote(radio, "item 10 back to 40");
    EXPECT_TRUE(radio.noted("item 10 back to 40"));
    const std::vector<Bytes> expected { packet(kCentre, 40), packet(kCentre, 0), packet(kCentre, 255) };
    EXPECT_EQ(radio.packets(), expected);
    EXPECT_TRUE(radio.heard().front().starts_with("tESTA ")) << radio.heard().front();
}

TEST_F(CliAlign, EndsOfTheBandUseTheirOwnTestChannels)
{
    struct Row {
        const char* item;
        const char* command;
        Bytes channel;
    };
    const Row rows[] = { { "11", "tESTB ", kHighEnd }, { "9", "tEST9 ", kLowEnd }, { "0", "tEST0 ", kCentre } };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.item);
        test::TempDir folder;
        SimProcess radio(folder.path(), { "--model", "3" });
        const auto run = align({ "align", "--port", radio.device(), file(), "--item", row.item, "--ok" });
        EXPECT_EQ(run.exitCode, 0) << run.err;
        waitForNote(radio, "the program closed the line");
        EXPECT_EQ(radio.packets(), std::vector<Bytes> { packet(row.channel, 128) });
        EXPECT_TRUE(radio.heard().front().starts_with(row.command)) << radio.heard().front();
    }
}

TEST_F(CliAlign, OlderRadioHearsTheFiveKhzForm)
{
    SimProcess radio(m_dir.path(), { "--model", "3", "--older", "--align-value", "1=7" });
    const auto run = align({ "align", "--port", radio.device(), file(), "--item", "1", "--set", "8", "--ok" });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    waitForNote(radio, "item 1 keeps 8");
    EXPECT_EQ(radio.packets(), (std::vector<Bytes> { packet(kCentreOlder, 7), packet(kCentreOlder, 8) }));
}

TEST_F(CliAlign, AnotherModelIsToldAndCancelled)
{
    SimProcess radio(m_dir.path(), { "--model", "2" });
    const auto run = align({ "align", "--port", radio.device(), file(), "--item", "3", "--set", "9", "--ok" });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, kModelMismatch);
    EXPECT_EQ(run.out, "");
    waitForNote(radio, "the program closed the line");
    const auto heard = radio.heard();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_TRUE(heard[0].starts_with("tEST3 ")) << heard[0];
    EXPECT_TRUE(heard[1].starts_with("CANCEL ")) << heard[1];
    EXPECT_TRUE(radio.packets().empty());
}

TEST_F(CliAlign, SilentRadioIsTriedSixTimes)
{
    SimProcess radio(m_dir.path(), { "--model", "3", "--silent" });
    ::setenv("KORVANE_COM1", radio.device().c_str(), 1);
    const auto run = align({ "align", "--port", "COM1", file(), "--item", "2", "--ok" });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "COM1" + kNoResponse + "\nCOM1 = " + radio.device() + "\n");
    int commands = 0;
    for (const std::string& text : radio.heard())
        commands += text.starts_with("tEST2 ") ? 1 : 0;
    EXPECT_EQ(commands, 6);
}

TEST_F(CliAlign, UnknownVersionIsNoAnswer)
{
    SimProcess radio(m_dir.path(), { "--model", "3", "--version", "2" });
    const auto run = align({ "align", "--port", radio.device(), file(), "--item", "4", "--ok" });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.starts_with(radio.device() + kNoResponse)) << run.err;
    EXPECT_TRUE(radio.packets().empty());
}

TEST_F(CliAlign, UsageErrors)
{
    const std::vector<std::vector<std::string>> rows {
        { "align", "--port", "/dev/null", file(), "--item", "5" }, // neither --ok nor --cancel
        { "align", "--port", "/dev/null", file(), "--item", "5", "--ok", "--cancel" },
        { "align", "--port", "/dev/null", file(), "--item", "12", "--ok" },
        { "align", "--port", "/dev/null", file(), "--item", "-1", "--ok" },
        { "align", "--port", "/dev/null", file(), "--item", "5", "--set", "256", "--ok" },
        { "align", "--port", "/dev/null", file(), "--item", "5", "--set", "x", "--ok" },
        { "align", file(), "--item", "5", "--ok" },
        { "align", "--port", "/dev/null", "--item", "5", "--ok" },
        { "align", "--port", "/dev/null", file(), "--ok" },
        { "align", "--port", "COM5", file(), "--item", "5", "--ok" },
        { "align", "--port", "/dev/null", file(), "--item", "5", "--ok", "--ok" },
    };
    for (const auto& args : rows) {
        SCOPED_TRACE(testing::PrintToString(args));
        const auto run = align(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("korvane-cli"), std::string::npos);
    }
}

TEST_F(CliAlign, FileThatCannotBeOpenedFails)
{
    const auto run = align({ "align", "--port", "/dev/null", (m_dir / "missing.rdw").string(), "--item", "5", "--ok" });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.empty());
}
