#include "core/files/channel_csv_file.h"

#include "core/files/channel_csv.h"
#include "csv_fixtures.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::files;
using namespace korvane::files::test;
using korvane::test::readWholeFile;
using korvane::test::TempDir;

TEST(ChannelCsvFile, SaveThenLoad)
{
    TempDir dir;
    const std::string path = (dir / "channels.csv").string();
    const model::RadioImage image = variedModel0();
    ASSERT_FALSE(saveChannelCsv(path, image).has_value());
    EXPECT_EQ(readWholeFile(path), exportChannelCsv(image));
    const auto table = loadChannelCsv(path, 0, model::defaultImage(0).channels);
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(*table, image.channels);
}

TEST(ChannelCsvFile, Failures)
{
    TempDir dir;
    const auto missing = loadChannelCsv((dir / "missing.csv").string(), 0, model::defaultImage(0).channels);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().text, "无法打开该文件，请检查文件是否存在！");
    EXPECT_EQ(missing.error().title, "文件错误");

    const auto unwritable = saveChannelCsv((dir / "no-such-folder" / "x.csv").string(), variedModel0());
    ASSERT_TRUE(unwritable.has_value());
    EXPECT_EQ(unwritable->text, "保存文件出错");
    EXPECT_EQ(unwritable->title, "文件错误");
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));

    const std::string refused = (dir / "refused.csv").string();
    std::ofstream(refused, std::ios::binary) << "Location,Frequency\n1,1.0\n";
    const auto table = loadChannelCsv(refused, 0, model::defaultImage(0).channels);
    ASSERT_FALSE(table.ok());
    EXPECT_EQ(table.error().title, "CSV错误");
}
