#include "core/files/settings_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace korvane::files;

TEST(SettingsFile, ReadingFollowsTheLineRules)
{
    struct Row {
        const char* text;
        int port;
        const char* password;
    } rows[] = {
        { "COMPORT=3\r\nfilename=x\r\nPASSWORD=Secret\r\n", 3, "Secret" },
        { "comport=2\r\npassword=abc\r\npassword=def\r\n", 2, "abc" },
        { "comport=0\r\nfilename=\r\npassword=p\r\n", 1, "p" },
        { "comport=7\r\n", 1, "" },
        { "comport=abc\r\npassword=p\r\n", 1, "" }, // reading stops at a port that is no number
        { "comport=\r\npassword=p\r\n", 1, "" },
        { "password=only\r\n", 1, "only" },
        { "comport=4\r\npassword=\r\n", 4, "" },
        { "comport=4\r\npassword= spaced \r\n", 4, " spaced " },
        { "comport= 2 \npassword=lf\n", 2, "lf" },
        { "comport=3\rpassword=cr\r", 3, "cr" },
        { "\xEF\xBB\xBF"
          "comport=2\r\nfilename=a\r\npassword=bom\r\n",
            2, "bom" },
        { "port=2\r\npassword=x\r\n", 1, "x" },
        { "comport=2\r\nfilename=a\r\nfilename=b\r\npassword=late\r\n", 2, "" }, // only lines 2 and 3
        { "comport=2\r\npassword=口令\r\n", 2, "口令" },
        { "comport=+2\r\npassword=x\r\n", 1, "" },
        { "", 1, "" },
    };
    for (const Row& row : rows) {
        const StoredSettings s = parseSettings(row.text);
        EXPECT_EQ(s.port, row.port) << row.text;
        EXPECT_EQ(s.password, row.password) << row.text;
    }
}

TEST(SettingsFile, WritesThreeLinesAndReadsThemBack)
{
    EXPECT_EQ(settingsText(2, "/home/a/x.rdw", "pw"), "comport=2\r\nfilename=/home/a/x.rdw\r\npassword=pw\r\n");
    EXPECT_EQ(settingsText(1, "bad\nname", ""), "comport=1\r\nfilename=\r\npassword=\r\n");

    korvane::test::TempDir dir;
    const std::string path = (dir / "korvane.ini").string();
    EXPECT_EQ(readSettingsFile(path).port, 1); // missing file: the defaults
    ASSERT_TRUE(writeSettingsFile(path, 3, "/tmp/a b.rdw", "x=y"));
    EXPECT_EQ(korvane::test::readWholeFile(path), "comport=3\r\nfilename=/tmp/a b.rdw\r\npassword=x=y\r\n");
    const StoredSettings back = readSettingsFile(path);
    EXPECT_EQ(back.port, 3);
    EXPECT_EQ(back.password, "x=y");
    EXPECT_FALSE(writeSettingsFile((dir / "missing/korvane.ini").string(), 1, "", ""));
}
