#include "cli_test_support.h"

#include <fstream>

using korvane::test::CliTest;
using korvane::test::readWholeFile;

namespace {

std::string golden(const std::string& name) { return readWholeFile(std::string(KORVANE_TEST_DATA) + "/cli/" + name); }

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST_F(CliTest, NewWritesEveryModelInEveryKind)
{
    struct Row {
        std::vector<std::string> extra;
        std::string name;
        std::uintmax_t size;
    } rows[] = {
        { {}, "a.rdw", 643 },
        { {}, "a.rdh", 431 },
        { {}, "a.rdhax", 613 },
        { {}, "a.dat", 643 },
        { { "--kind", "rdh" }, "b.rdw", 431 }, // the kind decides, not the name
        { { "--kind", "rdhax" }, "c", 613 },
    };
    for (int model = 0; model < 7; ++model) {
        for (const Row& row : rows) {
            std::vector<std::string> args { "new", "--model", std::to_string(model), "-o", path(row.name) };
            args.insert(args.end(), row.extra.begin(), row.extra.end());
            const auto r = cli(args);
            ASSERT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(r.out + r.err, "");
            EXPECT_EQ(std::filesystem::file_size(path(row.name)), row.size) << row.name;
            const auto dumped = cli({ "dump", path(row.name) });
            ASSERT_EQ(dumped.exitCode, 0) << dumped.err;
            EXPECT_NE(dumped.out.find("\"model_index\": " + std::to_string(model) + ","), std::string::npos);
        }
    }
}

// The whole dump of a fresh model 2 file, and of the same image converted to the rdh kind,
// against files checked by hand.
TEST_F(CliTest, DumpMatchesTheGoldenFiles)
{
    ASSERT_EQ(cli({ "new", "--model", "2", "-o", path("m2.rdw") }).exitCode, 0);
    EXPECT_EQ(cli({ "dump", path("m2.rdw") }).out, golden("dump_model2_rdw.json"));

    ASSERT_EQ(cli({ "convert", path("m2.rdw"), "-o", path("m2.rdh") }).exitCode, 0);
    EXPECT_EQ(std::filesystem::file_size(path("m2.rdh")), 431u);
    EXPECT_EQ(cli({ "dump", path("m2.rdh") }).out, golden("dump_model2_rdh.json"));
}

TEST_F(CliTest, ConvertKeepsTheImage)
{
    ASSERT_EQ(cli({ "new", "--model", "5", "-o", path("m5.rdhax") }).exitCode, 0);
    ASSERT_EQ(cli({ "convert", path("m5.rdhax"), "-o", path("m5.rdw") }).exitCode, 0);
    EXPECT_EQ(cli({ "dump", path("m5.rdhax") }).out, cli({ "dump", path("m5.rdw") }).out);
    ASSERT_EQ(cli({ "convert", path("m5.rdw"), "-o", path("again.rdhax") }).exitCode, 0);
    EXPECT_EQ(readWholeFile(path("again.rdhax")), readWholeFile(path("m5.rdhax")));
}

TEST_F(CliTest, OpenFailuresPrintTheWindowsMessage)
{
    writeBytes(path("abc.rdw"), std::string("\x08\x00\x03\x00" "ABC", 7));
    ASSERT_EQ(cli({ "new", "--model", "0", "-o", path("short.rdw") }).exitCode, 0);
    std::filesystem::resize_file(path("short.rdw"), 300);
    struct Row {
        std::string file;
        std::string message;
    } rows[] = {
        { path("missing.rdw"), "无法打开该文件，请检查文件是否存在！\n" },
        { path("abc.rdw"), "文件格式错误！本软件不支持该文件格式！\n" },
        { path("short.rdw"), "打开文件时出现错误\n" },
    };
    for (const Row& row : rows) {
        for (const std::string command : { "dump", "convert" }) {
            std::vector<std::string> args { command, row.file };
            if (command == "convert")
                args.insert(args.end(), { "-o", path("out.rdw") });
            const auto r = cli(args);
            EXPECT_EQ(r.exitCode, 1) << row.file;
            EXPECT_EQ(r.err, row.message);
            EXPECT_EQ(r.out, "");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(path("out.rdw")));
}

TEST_F(CliTest, SaveFailurePrintsTheMessage)
{
    const auto r = cli({ "new", "--model", "0", "-o", path("no/such/folder/a.rdw") });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "保存文件出错\n");
}

TEST_F(CliTest, UnknownModelCodeDumpsAsNoModelAndSurvivesConvert)
{
    ASSERT_EQ(cli({ "new", "--model", "0", "-o", path("m.rdhax") }).exitCode, 0);
    std::string bytes = readWholeFile(path("m.rdhax"));
    // rdhax ends with the model code item (02 00, code) and the flag item (02 00 01 00).
    ASSERT_EQ(bytes.size(), 613u);
    bytes[607] = 9;
    writeBytes(path("m9.rdhax"), bytes);
    const auto dumped = cli({ "dump", path("m9.rdhax") });
    ASSERT_EQ(dumped.exitCode, 0);
    EXPECT_NE(dumped.out.find("\"model_index\": -1,"), std::string::npos);
    EXPECT_NE(dumped.out.find("\"model\": \"\","), std::string::npos);
    EXPECT_NE(dumped.out.find("\"band\": \"\","), std::string::npos);
    ASSERT_EQ(cli({ "convert", path("m9.rdhax"), "-o", path("back.rdhax") }).exitCode, 0);
    EXPECT_EQ(readWholeFile(path("back.rdhax")), bytes);

    bytes[607] = 20;
    writeBytes(path("m20.rdhax"), bytes);
    const auto refused = cli({ "dump", path("m20.rdhax") });
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "机型错误！本软件不支持该机型！\n");
}
