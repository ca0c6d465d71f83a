#include "sim/memory_file.h"

#include "core/model/defaults.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace korvane;
using namespace korvane::sim;

namespace {

class MemoryFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/korvane-sim-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }
    std::string path(std::string_view name) const { return (m_folder / name).string(); }

    std::filesystem::path m_folder;
};

RadioMemory start(const SimOptions& options)
{
    auto memory = startMemory(options);
    if (auto* error = std::get_if<std::string>(&memory)) {
        ADD_FAILURE() << *error;
        return {};
    }
    return std::get<RadioMemory>(memory);
}

} // namespace

TEST_F(MemoryFile, StartsFromAModelsDefaults)
{
    SimOptions options;
    options.model = 4;
    const RadioMemory memory = start(options);
    EXPECT_EQ(memory.image, model::defaultImage(4));
    EXPECT_EQ(memory.modelCode, 14);
    for (std::uint8_t value : memory.alignment)
        EXPECT_EQ(value, kDefaultAlignmentValue);
}

TEST_F(MemoryFile, CodeAndAlignmentValuesFromTheCommandLine)
{
    SimOptions options;
    options.model = 2;
    options.code = 0x0E;
    options.alignmentValues = { { 0, 1 }, { 11, 254 } };
    const RadioMemory memory = start(options);
    EXPECT_EQ(memory.modelCode, 0x0E);
    EXPECT_EQ(memory.image.modelIndex, 4);
    EXPECT_EQ(memory.image.channels, model::defaultImage(2).channels); // the contents stay
    EXPECT_EQ(memory.alignment[0], 1);
    EXPECT_EQ(memory.alignment[11], 254);

    options.code = 200;
    const RadioMemory unknown = start(options);
    EXPECT_EQ(unknown.image.modelIndex, -1);
    EXPECT_EQ(unknown.image.unknownModelCode, 200);
}

TEST_F(MemoryFile, SavesAndStartsFromEveryKind)
{
    for (std::string_view name : { "radio.rdw", "radio.rdhax", "radio.rdh" }) {
        RadioMemory memory = memoryFromImage(model::defaultImage(1));
        memory.image.channels[2][0] = 0x64; // 150.010 MHz: on the 5 kHz grid, so every kind keeps it
        memory.image.settings[7] = 0x09;
        ASSERT_FALSE(saveMemory(path(name), memory)) << name;
        SimOptions options;
        options.file = path(name);
        const RadioMemory reopened = start(options);
        EXPECT_EQ(reopened.image.channels, memory.image.channels) << name;
        EXPECT_EQ(reopened.image.settings, memory.image.settings) << name;
        EXPECT_EQ(reopened.modelCode, 1) << name;
    }
}

TEST_F(MemoryFile, SavesAnUnknownModelCode)
{
    RadioMemory memory = memoryFromImage(model::defaultImage(0));
    setModelCode(memory, 9);
    ASSERT_FALSE(saveMemory(path("unknown.rdw"), memory));
    SimOptions options;
    options.file = path("unknown.rdw");
    EXPECT_EQ(start(options).modelCode, 9);
}

TEST_F(MemoryFile, Failures)
{
    SimOptions options;
    options.file = path("missing.rdw");
    auto memory = startMemory(options);
    ASSERT_TRUE(std::holds_alternative<std::string>(memory));
    EXPECT_EQ(std::get<std::string>(memory).rfind(path("missing.rdw") + ": ", 0), 0u);
    EXPECT_TRUE(saveMemory(path("no/such/folder/x.rdw"), memoryFromImage(model::defaultImage(0))));
}
