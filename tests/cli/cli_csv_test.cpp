#include "cli_test_support.h"

#include <filesystem>
#include <fstream>

using korvane::test::CliTest;
using korvane::test::readWholeFile;

namespace {

std::string csvData(const std::string& name) { return std::string(KORVANE_TEST_DATA) + "/csv/" + name; }

} // namespace

// The committed fixture data files export to the committed spreadsheets, and those import back
// to the same files byte for byte (their closed channels are the model's defaults).
TEST_F(CliTest, CsvGoldenFilesBothWays)
{
    struct Row {
        std::string name;
        std::string model;
    } rows[] = { { "varied_model0", "0" }, { "varied_model3", "3" } };
    for (const Row& row : rows) {
        const auto exported = cli({ "export-csv", csvData(row.name + ".rdw"), "-o", path(row.name + ".csv") });
        ASSERT_EQ(exported.exitCode, 0) << exported.err;
        EXPECT_EQ(exported.out + exported.err, "");
        EXPECT_EQ(readWholeFile(path(row.name + ".csv")), readWholeFile(csvData(row.name + ".csv")));

        const auto imported
            = cli({ "import-csv", csvData(row.name + ".csv"), "--model", row.model, "-o", path(row.name + ".rdw") });
        ASSERT_EQ(imported.exitCode, 0) << imported.err;
        EXPECT_EQ(imported.out + imported.err, "");
        EXPECT_EQ(readWholeFile(path(row.name + ".rdw")), readWholeFile(csvData(row.name + ".rdw")));
    }
}

// Spreadsheets written by another program (byte order mark, CR LF, quoted names, its own
// steps and powers) and edited by hand (comments, columns moved, leading zeros lost), imported
// and exported again.
TEST_F(CliTest, CsvFromOtherSources)
{
    for (const std::string name : { "other_tool_model1", "hand_edited_model1" }) {
        const auto imported = cli({ "import-csv", csvData(name + ".csv"), "--model", "1", "-o", path(name + ".rdw") });
        ASSERT_EQ(imported.exitCode, 0) << imported.err;
        ASSERT_EQ(cli({ "export-csv", path(name + ".rdw"), "-o", path(name + ".csv") }).exitCode, 0);
        EXPECT_EQ(readWholeFile(path(name + ".csv")), readWholeFile(csvData(name + ".expected.csv"))) << name;
    }
}

TEST_F(CliTest, CsvImportKinds)
{
    struct Row {
        std::vector<std::string> extra;
        std::string name;
        std::uintmax_t size;
    } rows[] = {
        { {}, "a.rdw", 643 },
        { {}, "a.rdh", 431 },
        { {}, "a.rdhax", 613 },
        { { "--kind", "rdh" }, "b.rdw", 431 },
    };
    for (const Row& row : rows) {
        std::vector<std::string> args { "import-csv", csvData("varied_model3.csv"), "--model", "3", "-o",
            path(row.name) };
        args.insert(args.end(), row.extra.begin(), row.extra.end());
        const auto r = cli(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(std::filesystem::file_size(path(row.name)), row.size) << row.name;
    }
}

TEST_F(CliTest, CsvExportOfAFreshFileIsTheHeaderAlone)
{
    ASSERT_EQ(cli({ "new", "--model", "4", "-o", path("m4.rdhax") }).exitCode, 0);
    ASSERT_EQ(cli({ "export-csv", path("m4.rdhax"), "-o", path("m4.csv") }).exitCode, 0);
    EXPECT_EQ(readWholeFile(path("m4.csv")),
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,"
        "Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE,BusyLock,ClockShift,RxTwoTone,TxTwoTone,TxStep,"
        "TxFrequency,RawRecord\n");
}

// A refused spreadsheet prints its message, exits with 1 and leaves the output as it was.
TEST_F(CliTest, CsvRefusalWritesNothing)
{
    std::ofstream(path("bad.csv"), std::ios::binary) << "Location,Frequency\r\n1,145.0\r\n2,145.001\r\n";
    const auto fresh = cli({ "import-csv", path("bad.csv"), "--model", "0", "-o", path("out.rdw") });
    EXPECT_EQ(fresh.exitCode, 1);
    EXPECT_EQ(fresh.err, "第3行，Frequency列：频率145.001000MHz不在2.5kHz或6.25kHz的频率栅格上\n");
    EXPECT_EQ(fresh.out, "");
    EXPECT_FALSE(std::filesystem::exists(path("out.rdw")));

    ASSERT_EQ(cli({ "new", "--model", "0", "-o", path("out.rdw") }).exitCode, 0);
    const std::string before = readWholeFile(path("out.rdw"));
    EXPECT_EQ(cli({ "import-csv", path("bad.csv"), "--model", "0", "-o", path("out.rdw") }).exitCode, 1);
    EXPECT_EQ(readWholeFile(path("out.rdw")), before);

    // The same spreadsheet for a model whose band does not hold 145 MHz.
    const auto band = cli({ "import-csv", path("bad.csv"), "--model", "2", "-o", path("uhf.rdw") });
    EXPECT_EQ(band.exitCode, 1);
    EXPECT_EQ(band.err, "第2行，Frequency列：频率145.000000MHz超出本机型的输入范围（380.0MHz至510.0MHz以下）\n");
    EXPECT_FALSE(std::filesystem::exists(path("uhf.rdw")));
}

TEST_F(CliTest, CsvFileFailures)
{
    const auto noCsv = cli({ "import-csv", path("missing.csv"), "--model", "0", "-o", path("a.rdw") });
    EXPECT_EQ(noCsv.exitCode, 1);
    EXPECT_EQ(noCsv.err, "无法打开该文件，请检查文件是否存在！\n");

    const auto noData = cli({ "export-csv", path("missing.rdw"), "-o", path("a.csv") });
    EXPECT_EQ(noData.exitCode, 1);
    EXPECT_EQ(noData.err, "无法打开该文件，请检查文件是否存在！\n");
    EXPECT_FALSE(std::filesystem::exists(path("a.csv")));

    const auto noFolder = cli({ "export-csv", csvData("varied_model0.rdw"), "-o", path("no/such/a.csv") });
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_EQ(noFolder.err, "保存文件出错\n");

    const auto noFolderImport
        = cli({ "import-csv", csvData("varied_model0.csv"), "--model", "0", "-o", path("no/such/a.rdw") });
    EXPECT_EQ(noFolderImport.exitCode, 1);
    EXPECT_EQ(noFolderImport.err, "保存文件出错\n");
}

TEST_F(CliTest, CsvUsageErrors)
{
    const std::string csv = csvData("varied_model0.csv");
    const std::string rdw = csvData("varied_model0.rdw");
    const std::vector<std::vector<std::string>> calls = {
        { "export-csv" },
        { "export-csv", rdw },
        { "export-csv", "-o", path("a.csv") },
        { "export-csv", rdw, rdw, "-o", path("a.csv") },
        { "export-csv", rdw, "-o", path("a.csv"), "--model", "0" },
        { "export-csv", rdw, "-o", path("a.csv"), "-o", path("b.csv") },
        { "import-csv", csv, "-o", path("a.csv") },
        { "import-csv", csv, "--model", "0" },
        { "import-csv", "--model", "0", "-o", path("a.csv") },
        { "import-csv", csv, "--model", "7", "-o", path("a.csv") },
        { "import-csv", csv, "--model", "x", "-o", path("a.csv") },
        { "import-csv", csv, "--model", "0", "-o", path("a.csv"), "--kind", "csv" },
        { "import-csv", csv, "--model", "0", "-o", path("a.csv"), "--yes" },
        { "import-csv", csv, "--model" },
    };
    for (const auto& args : calls) {
        const auto r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.size();
        EXPECT_NE(r.err.find("korvane-cli"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(path("a.csv")));
    EXPECT_FALSE(std::filesystem::exists(path("b.csv")));

    const auto help = cli({ "--help" });
    EXPECT_NE(help.out.find("korvane-cli export-csv FILE -o OUT.csv"), std::string::npos);
    EXPECT_NE(help.out.find("korvane-cli import-csv CSV --model N -o FILE [--kind rdw|rdh|rdhax]"), std::string::npos);
}
