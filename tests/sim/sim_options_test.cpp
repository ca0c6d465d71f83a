#include "sim/sim_options.h"

#include <gtest/gtest.h>

using namespace korvane::sim;

namespace {

std::variant<SimOptions, std::string> parse(std::vector<std::string_view> args) { return parseSimOptions(args); }

SimOptions ok(std::vector<std::string_view> args)
{
    auto parsed = parse(args);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        ADD_FAILURE() << *error;
        return {};
    }
    return std::get<SimOptions>(parsed);
}

std::string error(std::vector<std::string_view> args)
{
    auto parsed = parse(args);
    if (auto* e = std::get_if<std::string>(&parsed)) return *e;
    ADD_FAILURE() << "accepted";
    return {};
}

} // namespace

TEST(SimOptions, EveryOption)
{
    const SimOptions o = ok(
        { "--model", "4", "--older", "--code=0x0F", "--version", "7", "--align-value", "B=255", "--align-value=3=0x10",
            "--link", "/tmp/radio", "--save", "out.rdh", "--log", "-", "--no-pace", "--once", "--silent", "--answer-on",
            "3", "--short", "100", "--garbage", "--drop-after=200", "--completion", "4F", "--store-wrong", "0:0x25" });
    EXPECT_EQ(o.model, 4);
    EXPECT_EQ(o.radio.generation, Generation::Older);
    EXPECT_EQ(o.code, 0x0F);
    EXPECT_EQ(o.radio.version, 7);
    EXPECT_EQ(o.alignmentValues, (std::vector<std::pair<int, std::uint8_t>> { { 11, 255 }, { 3, 16 } }));
    EXPECT_EQ(o.link, "/tmp/radio");
    EXPECT_EQ(o.save, "out.rdh");
    EXPECT_EQ(o.log, "-");
    EXPECT_FALSE(o.pace);
    EXPECT_TRUE(o.once);
    const Faults expected { .silent = true,
        .answerOn = 3,
        .shortStream = 100,
        .garbage = true,
        .dropAfter = 200,
        .storeWrong = MemoryByte { 0x00, 0x25 } };
    EXPECT_EQ(o.radio.faults, expected);
    EXPECT_EQ(o.radio.completion, (std::vector<std::uint8_t> { 0x4F }));
}

TEST(SimOptions, Mistakes)
{
    EXPECT_EQ(error({ "--model", "7" }), "--model takes a number from 0 to 6, not \"7\"");
    EXPECT_EQ(error({ "--model" }), "--model needs a value");
    EXPECT_EQ(error({ "--code", "256" }), "--code takes a number from 0 to 255, not \"256\"");
    EXPECT_EQ(error({ "--answer-on", "0" }), "--answer-on takes a number from 1 to 1000, not \"0\"");
    EXPECT_EQ(error({ "--short", "-1" }), "--short takes a number from 0 to 1000000, not \"-1\"");
    EXPECT_EQ(error({ "--completion", "4" }), "--completion takes hexadecimal bytes such as 4F4B, not \"4\"");
    EXPECT_EQ(error({ "--align-value", "C=1" }),
        "--align-value takes ITEM=VALUE, item 0..11 (or 0..9, A, B), value 0..255, not \"C=1\"");
    EXPECT_EQ(error({ "--model", "1", "--file", "x.rdw" }), "--model and --file cannot be used together");
    EXPECT_EQ(error({ "--older=1" }), "--older takes no value");
    EXPECT_EQ(error({ "--frequency" }), "unknown option \"--frequency\" (see --help)");
    for (std::string_view wrong : { "0x25", "0:", ":5", "0:256", "-1:5", "2:x" })
        EXPECT_EQ(error({ "--store-wrong", wrong }),
            "--store-wrong takes AREA:ADDRESS, each 0..255, such as 0:0x25, not \"" + std::string(wrong) + "\"");
    EXPECT_EQ(ok({ "--store-wrong=3:216" }).radio.faults.storeWrong, (MemoryByte { 0x03, 0xD8 }));
}
