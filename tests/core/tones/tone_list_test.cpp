#include "core/files/tone_list.h"

#include "core/util/decimal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace korvane::files;
using Entries = std::vector<std::string>;

namespace {

std::string shippedList(ToneList list)
{
    return std::string(KORVANE_SOURCE_DIR) + "/data/" + std::string(toneListFileName(list));
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), {} };
}

} // namespace

TEST(ToneList, SplitsLinesAtEveryKindOfEnding)
{
    struct Row {
        std::string_view text;
        Entries entries;
    } rows[] = {
        { "", {} },
        { "67.0", { "67.0" } },
        { "67.0\r\n", { "67.0" } },
        { "67.0\r\n69.3\r\n", { "67.0", "69.3" } },
        { "67.0\r69.3\r", { "67.0", "69.3" } },
        { "67.0\n69.3\n", { "67.0", "69.3" } },
        { "67.0\r\n69.3", { "67.0", "69.3" } },
        { "67.0\r\r\n69.3", { "67.0", "", "69.3" } },
        { "67.0\n\r69.3", { "67.0", "", "69.3" } },
        { "\r\n", { "" } },
        { "\r\n\r\n023\r\n", { "", "", "023" } },
    };
    for (const Row& row : rows)
        EXPECT_EQ(parseToneList(row.text), row.entries) << testing::PrintToString(std::string(row.text));
}

TEST(ToneList, TakesEachLineWhole)
{
    EXPECT_EQ(parseToneList(" 67.0 \r\n\t023\r\nabc def\r\n"), (Entries { " 67.0 ", "\t023", "abc def" }));
    EXPECT_EQ(parseToneList("023\r\n 8 9 \r\n"), (Entries { "023", " 8 9 " }));
}

// The shipped lists: the standard tones in tenths of a hertz and the standard octal codes, each
// ascending and written as the list shows it, one CR LF line each.
TEST(ToneList, ShippedLists)
{
    struct Row {
        ToneList list;
        std::size_t size;
        const char *first, *last;
    } rows[] = { { ToneList::Ctcss, 50, "67.0", "254.1" }, { ToneList::Cdcss, 104, "023", "754" } };
    for (const Row& row : rows) {
        const std::string path = shippedList(row.list);
        const auto entries = readToneList(path);
        ASSERT_TRUE(entries);
        ASSERT_EQ(entries->size(), row.size);
        EXPECT_EQ(entries->front(), row.first);
        EXPECT_EQ(entries->back(), row.last);
        std::string previous, expected;
        for (const std::string& entry : *entries) {
            if (row.list == ToneList::Ctcss) {
                const auto tenths = korvane::util::parseDecimal(entry, 1);
                ASSERT_TRUE(tenths && !tenths->inexact) << entry;
                EXPECT_EQ(entry, korvane::util::formatScaled(tenths->value, 1, 2, 1));
                EXPECT_GT(tenths->value, previous.empty() ? 0 : korvane::util::parseDecimal(previous, 1)->value);
            } else {
                EXPECT_EQ(entry.size(), 3u) << entry;
                EXPECT_EQ(entry.find_first_not_of("01234567"), std::string::npos) << entry;
                EXPECT_GT(entry, previous);
            }
            previous = entry;
            expected += entry + "\r\n";
        }
        EXPECT_EQ(fileText(path), expected);
    }
}

TEST(ToneList, MissingOrUnreadableFilesGiveNothing)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "korvane_tone_list_test";
    std::filesystem::create_directories(folder / "qt.dat"); // a folder where the file should be
    EXPECT_FALSE(readToneList((folder / "qt.dat").string()));
    EXPECT_FALSE(readToneList((folder / "missing.dat").string()));
    std::ofstream(folder / "empty.dat", std::ios::binary).flush();
    const auto empty = readToneList((folder / "empty.dat").string());
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    std::filesystem::remove_all(folder);
}

TEST(ToneList, DamagedFileMessages)
{
    EXPECT_EQ(toneListFileName(ToneList::Ctcss), "qt.dat");
    EXPECT_EQ(toneListFileName(ToneList::Cdcss), "dqt.dat");
    const auto tones = toneListDamaged(ToneList::Ctcss);
    EXPECT_EQ(tones.text, "数据文件被破坏! 请重新安装 Korvane PC编程软件.");
    EXPECT_EQ(tones.title, "错误");
    EXPECT_EQ(tones.icon, korvane::util::MessageIcon::Exclamation);
    const auto codes = toneListDamaged(ToneList::Cdcss);
    EXPECT_EQ(codes.text, "Data file is damaged! Please reinstall Korvane PC编程软件.");
    EXPECT_EQ(codes.title, "Error");
    EXPECT_EQ(codes.icon, korvane::util::MessageIcon::Exclamation);
}
