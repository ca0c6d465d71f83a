// Saving replaces a file only when the new one is complete; failures leave the old file as it was.

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "sample_images.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>

namespace korvane::files {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

const util::Message kSaveFailed { "保存文件出错", "文件错误", util::MessageIcon::Exclamation, {} };

Bytes readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeAll(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> folderEntries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const model::RadioImage kImage = test::patternedImage(5, 1);

TEST(DataFileSave, WritesExactlyTheEncodedBytes)
{
    korvane::test::TempDir folder;
    for (FileKind kind : { FileKind::Rdw, FileKind::Rdh, FileKind::Rdhax }) {
        const std::string path = folder.file("radio.rdw"); // the kind, not the name, decides
        writeAll(path, Bytes(5000, 0xAB)); // a longer old file must not leave its tail behind
        EXPECT_EQ(saveDataFile(path, kImage, kind), std::nullopt);
        EXPECT_EQ(readAll(path), encodeDataFile(kImage, kind));
        EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string> { "radio.rdw" }); // no temporary left
    }
}

TEST(DataFileSave, SavedFileOpensAsTheImage)
{
    korvane::test::TempDir folder;
    const std::string path = folder.file("radio.rdhax");
    ASSERT_EQ(saveDataFile(path, kImage, FileKind::Rdhax), std::nullopt);
    const auto opened = openDataFile(path, model::defaultImage(0));
    ASSERT_TRUE(opened.ok());
    EXPECT_EQ(opened->image, kImage);
}

TEST(DataFileSave, OpenUsesTheBareNameForTheOlderRdhFiles)
{
    korvane::test::TempDir folder;
    fs::create_directory(folder.path() / "kqv09");
    // The folder's name does not make an ordinary rdh file look like one of the older tool's.
    const std::string path = folder.file("kqv09/radio.rdh");
    ASSERT_EQ(saveDataFile(path, kImage, FileKind::Rdh), std::nullopt);
    EXPECT_TRUE(openDataFile(path, model::defaultImage(0)).ok());
    // The same bytes under a name ending in kqv09 are read with a parameter table, and fail.
    const std::string renamed = folder.file("radio.kqv09");
    fs::rename(path, renamed);
    const auto opened = openDataFile(renamed, model::defaultImage(0));
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(opened.error().kind, OpenFailure::Read);
}

TEST(DataFileSave, FailuresReportAndKeepTheOldFile)
{
    korvane::test::TempDir folder;
    const std::string regular = folder.file("plain.txt");
    writeAll(regular, Bytes { 1, 2, 3 });
    fs::create_directory(folder.path() / "sub");
    for (const std::string& path : { folder.file("missing/radio.rdw"), folder.file("plain.txt/radio.rdw"),
             folder.file("sub"), folder.file("sub/"), std::string() }) {
        SCOPED_TRACE(path);
        EXPECT_EQ(saveDataFile(path, kImage, FileKind::Rdw), kSaveFailed);
    }
    EXPECT_EQ(readAll(regular), (Bytes { 1, 2, 3 }));
    EXPECT_TRUE(fs::is_directory(folder.path() / "sub"));
    EXPECT_TRUE(fs::is_empty(folder.path() / "sub"));
    EXPECT_EQ(folderEntries(folder.path()), (std::vector<std::string> { "plain.txt", "sub" }));
}

// A write that fails half-way (here: the file-size limit of the process) must not touch the
// file being replaced.
TEST(DataFileSave, FailedWriteKeepsTheOldFile)
{
    korvane::test::TempDir folder;
    const std::string path = folder.file("radio.rdw");
    const Bytes old(100, 0x5A);
    writeAll(path, old);

    struct rlimit saved { };
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 200;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto result = saveDataFile(path, kImage, FileKind::Rdw);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, kSaveFailed);
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string> { "radio.rdw" });
}

TEST(DataFileSave, ThroughASymbolicLinkAndKeepingPermissions)
{
    korvane::test::TempDir folder;
    const std::string target = folder.file("real.rdw");
    writeAll(target, Bytes(10, 0));
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(target, folder.path() / "link.rdw");

    ASSERT_EQ(saveDataFile(folder.file("link.rdw"), kImage, FileKind::Rdw), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.rdw"));
    EXPECT_EQ(readAll(target), encodeDataFile(kImage, FileKind::Rdw));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(DataFileSave, SavingDoesNotChangeTheImage)
{
    korvane::test::TempDir folder;
    model::RadioImage image = kImage;
    image.channels[3][0] = 0x25; // 146.0125 MHz: an odd count of 2.5 kHz units
    image.channels[3][1] = 0xE4;
    image.channels[3][2] = 0x00;
    const model::RadioImage before = image;
    ASSERT_EQ(saveDataFile(folder.file("a.rdh"), image, FileKind::Rdh), std::nullopt);
    EXPECT_EQ(image, before);
}

} // namespace
} // namespace korvane::files
