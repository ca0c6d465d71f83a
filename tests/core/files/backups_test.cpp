#include "core/files/backups.h"

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <unistd.h>

using namespace korvane;
using namespace std::chrono;
namespace fs = std::filesystem;

namespace {

// 6 December 2026, 20:45:12.123 UTC.
const system_clock::time_point kNow = sys_days { 2026y / December / 6 } + 20h + 45min + 12s + 123ms;

// A backup's name for a time, written out independently of the code under test.
std::string nameAt(system_clock::time_point t, const std::string& tag = "read")
{
    const auto ms = floor<milliseconds>(t);
    const auto day = floor<days>(ms);
    const year_month_day date { day };
    const hh_mm_ss clock { ms - day };
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02u%02u-%02ld%02ld%02ld-%03ld-%s.rdw", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
        static_cast<long>(clock.hours().count()), static_cast<long>(clock.minutes().count()),
        static_cast<long>(clock.seconds().count()), static_cast<long>(clock.subseconds().count()), tag.c_str());
    return text;
}

void touch(const fs::path& path, const std::string& content = "")
{
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::set<std::string> namesIn(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

} // namespace

TEST(Backups, FolderRule)
{
    struct Row {
        const char* xdg;
        const char* home;
        fs::path expected;
    };
    const Row rows[] = {
        { "/data", "/home/ann", "/data/korvane/backups" },
        { "/data/", "/home/ann", "/data/korvane/backups" },
        { nullptr, "/home/ann", "/home/ann/.local/share/korvane/backups" },
        { "", "/home/ann", "/home/ann/.local/share/korvane/backups" },
        { "data", "/home/ann", "/home/ann/.local/share/korvane/backups" }, // relative: ignored
        { "./data", "/home/ann", "/home/ann/.local/share/korvane/backups" },
        { "/data", nullptr, "/data/korvane/backups" },
        { nullptr, nullptr, "" },
        { "", "", "" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.xdg ? row.xdg : "(unset)") + " " + (row.home ? row.home : "(unset)"));
        EXPECT_EQ(files::backupFolder(row.xdg, row.home).lexically_normal(), row.expected.lexically_normal());
    }
}

TEST(Backups, NamesAndContent)
{
    korvane::test::TempDir temp;
    const fs::path folder = temp.path() / "not" / "yet" / "there";
    model::RadioImage image = model::defaultImage(3);
    image.channels[2][5] = 0x42;

    struct Row {
        files::BackupReason reason;
        system_clock::time_point now;
        std::string name;
    };
    const Row rows[] = {
        { files::BackupReason::ReadOut, kNow, "20261206-204512-123-read.rdw" },
        { files::BackupReason::BeforeWrite, kNow, "20261206-204512-123-write.rdw" },
        { files::BackupReason::ReadOut, kNow, "20261206-204512-123-read-2.rdw" },
        { files::BackupReason::ReadOut, kNow + 999us, "20261206-204512-123-read-3.rdw" },
        { files::BackupReason::BeforeWrite, kNow + 877ms, "20261206-204513-000-write.rdw" },
        { files::BackupReason::ReadOut, sys_days { 2027y / January / 1 } + 5ms, "20270101-000000-005-read.rdw" },
    };
    for (const Row& row : rows) {
        const auto saved = files::saveBackup(folder, image, row.reason, row.now);
        ASSERT_TRUE(saved.ok()) << saved.error().text;
        EXPECT_EQ(saved->parent_path(), folder);
        EXPECT_EQ(saved->filename().string(), row.name);
        const auto opened = files::openDataFile(saved->string(), model::defaultImage(0));
        ASSERT_TRUE(opened.ok()) << row.name;
        EXPECT_EQ(opened->image.channels, image.channels);
        EXPECT_EQ(opened->image.modelIndex, 3);
    }
    EXPECT_EQ(namesIn(folder).size(), std::size(rows));
    EXPECT_EQ(nameAt(kNow), "20261206-204512-123-read.rdw");
}

TEST(Backups, Pruning)
{
    const model::RadioImage image = model::defaultImage(0);
    struct Row {
        const char* what;
        int oldCount; // backups 400 days old, one minute apart
        int recentCount; // backups 10 days old, one minute apart
        int oldKept; // of the old ones, how many stay (the newest)
    };
    const Row rows[] = {
        { "all old: the newest 50 stay", 60, 0, 49 },
        { "fewer than 50, all old: all stay", 10, 0, 10 },
        { "recent ones fill the 50 first", 30, 30, 19 },
        { "more than 50 recent: every old one goes", 5, 55, 0 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        korvane::test::TempDir temp;
        const fs::path folder = temp.path();
        std::vector<std::string> old;
        for (int k = 0; k < row.oldCount; ++k) {
            old.push_back(nameAt(kNow - days { 400 } - minutes { row.oldCount - k }, k % 2 ? "read" : "write"));
            touch(folder / old.back());
        }
        std::vector<std::string> recent;
        for (int k = 0; k < row.recentCount; ++k) {
            recent.push_back(nameAt(kNow - days { 10 } - minutes { k }));
            touch(folder / recent.back());
        }
        // Files of the user's own, some of them close to a backup's name, all very old.
        const std::vector<std::string> others { "notes.txt", "radio.rdw", "20200101-000000-000-read.rdh",
            "20200101-000000-000-read-1.rdw", "20200101-000000-000-read-02.rdw", "20200101-000000-000-erase.rdw",
            "20201301-000000-000-read.rdw", "2020101-000000-000-read.rdw", "x20200101-000000-000-read.rdw" };
        for (const std::string& name : others)
            touch(folder / name, "mine");
        fs::create_directory(folder / "20200101-000000-000-write.rdw");

        const auto saved = files::saveBackup(folder, image, files::BackupReason::ReadOut, kNow);
        ASSERT_TRUE(saved.ok()) << saved.error().text;

        std::set<std::string> expected(others.begin(), others.end());
        expected.insert("20200101-000000-000-write.rdw");
        expected.insert(saved->filename().string());
        expected.insert(recent.begin(), recent.end());
        // `old` runs from the oldest to the newest.
        expected.insert(old.end() - row.oldKept, old.end());
        EXPECT_EQ(namesIn(folder), expected);
    }
}

TEST(Backups, AgeComesFromTheName)
{
    // A backup copied yesterday but named 400 days ago is old; one named yesterday is not,
    // whatever its modification time.
    korvane::test::TempDir temp;
    std::vector<std::string> names;
    for (int k = 0; k < 50; ++k) {
        names.push_back(nameAt(kNow - days { 1 } - minutes { k }));
        touch(temp.path() / names.back());
    }
    const std::string old = nameAt(kNow - days { 400 });
    touch(temp.path() / old);
    const std::string aged = nameAt(kNow - days { 365 } + 1s);
    touch(temp.path() / aged);
    fs::last_write_time(temp.path() / aged, fs::file_time_type::clock::now() - days { 3000 });
    ASSERT_TRUE(files::saveBackup(temp.path(), model::defaultImage(0), files::BackupReason::BeforeWrite, kNow).ok());
    const auto left = namesIn(temp.path());
    EXPECT_FALSE(left.contains(old));
    EXPECT_TRUE(left.contains(aged));
    EXPECT_EQ(left.size(), 52u);
}

TEST(Backups, Failures)
{
    korvane::test::TempDir temp;
    const fs::path aFile = temp.path() / "a-file";
    touch(aFile, "mine");
    const fs::path locked = temp.path() / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);

    struct Row {
        const char* what;
        fs::path folder;
        bool needsNonRoot;
    };
    const Row rows[] = {
        { "the folder is a file", aFile, false },
        { "a parent is a file", aFile / "backups", false },
        { "the folder is not writable", locked, true },
        { "a parent is not writable", locked / "backups", true },
        { "the system refuses the folder", "/proc/korvane/backups", false },
        { "the system refuses files in the folder", "/proc/self", false },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.needsNonRoot && ::geteuid() == 0) continue; // root writes anywhere
        util::Result<fs::path> saved = fs::path();
        EXPECT_NO_THROW(
            saved = files::saveBackup(row.folder, model::defaultImage(0), files::BackupReason::ReadOut, kNow));
        ASSERT_FALSE(saved.ok());
        const util::Message& message = saved.error();
        EXPECT_EQ(message.title, "自动备份");
        EXPECT_EQ(message.icon, util::MessageIcon::Exclamation);
        EXPECT_TRUE(message.text.starts_with("自动备份失败：无法在文件夹“" + row.folder.string() + "”中保存备份（"))
            << message.text;
        EXPECT_TRUE(message.text.ends_with("）。")) << message.text;
    }
    EXPECT_EQ(namesIn(temp.path()), (std::set<std::string> { "a-file", "locked" }));
    if (::geteuid() != 0) {
        EXPECT_TRUE(fs::is_empty(locked));
    }
    fs::permissions(locked, fs::perms::owner_all);
}

TEST(Backups, FailureMessage)
{
    const util::Message message = files::backupFailedMessage("/home/ann/backups", "Permission denied");
    EXPECT_EQ(message.text, "自动备份失败：无法在文件夹“/home/ann/backups”中保存备份（Permission denied）。");
    EXPECT_EQ(message.title, "自动备份");
    EXPECT_EQ(message.icon, util::MessageIcon::Exclamation);
    EXPECT_EQ(message.detail, "");
    EXPECT_EQ(files::backupFailedMessage("", "no home folder is known").text,
        "自动备份失败：找不到保存备份的文件夹（no home folder is known）。");
}

TEST(Backups, NoFolderAtAll)
{
    const auto saved = files::saveBackup({}, model::defaultImage(0), files::BackupReason::ReadOut, kNow);
    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(saved.error().text, "自动备份失败：找不到保存备份的文件夹（no home folder is known）。");
}
