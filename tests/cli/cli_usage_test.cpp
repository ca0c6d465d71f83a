#include "cli_test_support.h"

using korvane::test::CliTest;

TEST_F(CliTest, UsageErrorsExitWithTwoAndWriteNothing)
{
    const std::vector<std::vector<std::string>> calls = {
        {},
        { "frobnicate" },
        { "new", "-o", path("a.rdw") },
        { "new", "--model", "7", "-o", path("a.rdw") },
        { "new", "--model", "-1", "-o", path("a.rdw") },
        { "new", "--model", "2x", "-o", path("a.rdw") },
        { "new", "--model", "1" },
        { "new", "--model", "1", "-o", path("a.rdw"), "--kind", "rdx" },
        { "new", "--model", "1", "--model", "2", "-o", path("a.rdw") },
        { "new", "--model", "1", "-o", path("a.rdw"), "--bogus" },
        { "new", "--model" },
        { "dump" },
        { "dump", path("a.rdw"), path("b.rdw") },
        { "convert", path("a.rdw") },
        { "read", "--port", "COM1", "-o", path("a.rdw"), "--trace" },
        { "write", "--port", "COM1", path("b.rdw"), "--backup" },
        { "write", "--port", "COM1", path("b.rdw"), "--verify", "--verify" },
        { "write", "--port", "COM1", path("b.rdw"), "--trace", path("t1"), "--trace", path("t2") },
        { "align", "--port", "COM1", path("b.rdw"), "--item", "0", "--ok", "--trace" },
    };
    for (const auto& args : calls) {
        const auto r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "" : args.front());
        EXPECT_NE(r.err.find("korvane-cli"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(path("a.rdw")));
}

TEST_F(CliTest, HelpAndVersion)
{
    const auto help = cli({ "--help" });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("korvane-cli dump    FILE"), std::string::npos);
    for (const char* option : { "--trace TRACE", "--backup OLD", "--verify", "korvane/backups" })
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    const auto version = cli({ "--version" });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("korvane-cli ", 0), 0u);
}
