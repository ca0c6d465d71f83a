#include "sim/command_reader.h"

#include <gtest/gtest.h>

using namespace korvane::sim;

namespace {

struct Fed {
    std::vector<Command> commands;
    std::vector<std::uint8_t> ignored;
};

Fed feed(std::string_view bytes)
{
    CommandReader reader;
    Fed fed;
    for (char c : bytes)
        if (auto command = reader.feed(static_cast<std::uint8_t>(c))) fed.commands.push_back(*command);
    reader.abandon();
    fed.ignored = reader.takeIgnored();
    return fed;
}

std::vector<std::uint8_t> bytes(std::string_view text) { return { text.begin(), text.end() }; }

} // namespace

TEST(CommandReader, Recognises)
{
    struct Row {
        std::string_view input;
        std::vector<Command> commands;
        std::string_view ignored;
    };
    const Row rows[] = {
        { "rEAD", { { CommandKind::Read } }, "" },
        { "pROGRAM", { { CommandKind::Program } }, "" },
        { "OK", { { CommandKind::GoAhead } }, "" },
        { "END", { { CommandKind::End } }, "" },
        { "CANCEL", { { CommandKind::Cancel } }, "" },
        { "tEST0", { { CommandKind::Test, 0 } }, "" },
        { "tEST9", { { CommandKind::Test, 9 } }, "" },
        { "tESTA", { { CommandKind::Test, 10 } }, "" },
        { "tESTB", { { CommandKind::Test, 11 } }, "" },
        { "tESTC", {}, "tESTC" },
        { "tESTa", {}, "tESTa" },
        { "READ", {}, "READ" },
        { "read", {}, "read" },
        { "rEADOK", { { CommandKind::Read }, { CommandKind::GoAhead } }, "" },
        { "xxrEAD", { { CommandKind::Read } }, "xx" },
        { "rErEAD", { { CommandKind::Read } }, "rE" },
        { "pROGrEAD", { { CommandKind::Read } }, "pROG" },
        { "CANCENDEL", { { CommandKind::End } }, "CANCEL" },
        { "rEA", {}, "rEA" },
        { "\r\n", {}, "\r\n" },
    };
    for (const Row& row : rows) {
        const Fed fed = feed(row.input);
        EXPECT_EQ(fed.commands, row.commands) << row.input;
        EXPECT_EQ(fed.ignored, bytes(row.ignored)) << row.input;
    }
}

TEST(CommandReader, PendingAndContinues)
{
    CommandReader reader;
    EXPECT_FALSE(reader.pending());
    EXPECT_FALSE(reader.continues('r'));
    reader.feed('t');
    reader.feed('E');
    reader.feed('S');
    EXPECT_TRUE(reader.pending());
    EXPECT_TRUE(reader.continues('T'));
    EXPECT_FALSE(reader.continues('X'));
    reader.feed('T');
    EXPECT_TRUE(reader.continues('B'));
    EXPECT_EQ(reader.feed('B'), (Command { CommandKind::Test, 11 }));
    EXPECT_FALSE(reader.pending());
}

TEST(CommandReader, CommandText)
{
    EXPECT_EQ(commandText({ CommandKind::Read }), "rEAD");
    EXPECT_EQ(commandText({ CommandKind::Program }), "pROGRAM");
    EXPECT_EQ(commandText({ CommandKind::GoAhead }), "OK");
    EXPECT_EQ(commandText({ CommandKind::Test, 10 }), "tESTA");
    EXPECT_EQ(commandText({ CommandKind::End }), "END");
    EXPECT_EQ(commandText({ CommandKind::Cancel }), "CANCEL");
}
