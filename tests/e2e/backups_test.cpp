// Backups from the command line: the automatic backup that read and write keep, what a failed
// one does (a line on standard error, nothing else), and write --backup, which saves the radio's
// earlier content before programming it.

#include "e2e_support.h"

#include "core/files/data_file.h"
#include "core/model/defaults.h"

#include <memory>

using namespace korvane;
using namespace korvane::e2e;

namespace {

// The names in a folder, sorted; none when it does not exist.
std::vector<std::string> namesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool isBackupName(const std::string& name, const std::string& tag)
{
    // "20261206-204512-123-read.rdw"
    if (name.size() != 20 + tag.size() + 4 || !name.ends_with("-" + tag + ".rdw")) return false;
    for (std::size_t k = 0; k < 19; ++k) {
        const bool dash = k == 8 || k == 15;
        if (dash ? name[k] != '-' : (name[k] < '0' || name[k] > '9')) return false;
    }
    return true;
}

// Model 2's defaults with channels of their own.
model::RadioImage changedImage()
{
    model::RadioImage image = model::defaultImage(2);
    for (std::size_t c = 0; c < image.channels.size(); ++c)
        image.channels[c][11] = static_cast<std::uint8_t>(c + 1);
    image.settings[2] = 0x07;
    return image;
}

std::string backupFailure(const std::filesystem::path& folder, const std::string& reason)
{
    return "自动备份失败：无法在文件夹“" + folder.string() + "”中保存备份（" + reason + "）。\n";
}

} // namespace

TEST_F(E2eTest, ReadAndWriteKeepBackups)
{
    const std::string input = path("changed.rdh");
    saveFile(input, changedImage());
    const model::RadioImage opened = openFile(input);
    SimRadio readRadio(folder(), { "--model", "4" });
    SimRadio writeRadio(folder(), { "--model", "2", "--older" });
    ASSERT_FALSE(readRadio.device().empty());
    ASSERT_FALSE(writeRadio.device().empty());
    const auto readHome = folder() / "read-home";
    const auto writeHome = folder() / "write-home";

    CliProcess read(
        folder(), { "read", "--port", readRadio.device(), "-o", path("read.rdw") }, { { "XDG_DATA_HOME", readHome } });
    CliProcess write(folder(), { "write", "--port", writeRadio.device(), input }, { { "XDG_DATA_HOME", writeHome } });
    const CliRun r = read.finish();
    const CliRun w = write.finish();

    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto readBackups = namesIn(backupsIn(readHome));
    ASSERT_EQ(readBackups.size(), 1u);
    EXPECT_TRUE(isBackupName(readBackups[0], "read")) << readBackups[0];
    // What was read, exactly as the read saved it.
    EXPECT_EQ(test::readWholeFile(backupsIn(readHome) / readBackups[0]), test::readWholeFile(path("read.rdw")));

    EXPECT_EQ(w.exitCode, 0) << w.err;
    EXPECT_EQ(w.err, "");
    const auto writeBackups = namesIn(backupsIn(writeHome));
    ASSERT_EQ(writeBackups.size(), 1u);
    EXPECT_TRUE(isBackupName(writeBackups[0], "write")) << writeBackups[0];
    // The image as the write opened it, kept as an rdw file whatever the input's kind.
    const auto bytes = files::encodeDataFile(opened, files::FileKind::Rdw);
    EXPECT_EQ(test::readWholeFile(backupsIn(writeHome) / writeBackups[0]), std::string(bytes.begin(), bytes.end()));
}

TEST_F(E2eTest, AFailedBackupIsReportedAndChangesNothing)
{
    // The data folder is a file: no backup folder can be made in it.
    const std::filesystem::path blocked = folder() / "blocked";
    {
        std::ofstream(blocked) << "not a folder";
    }
    saveFile(path("model0.rdw"), model::defaultImage(0));
    SimRadio radio(folder(), {});
    ASSERT_FALSE(radio.device().empty());
    const Env env { { "XDG_DATA_HOME", blocked.string() } };
    const std::string message = backupFailure(backupsIn(blocked), "Not a directory");

    const CliRun r = runCli(folder(), { "read", "--port", radio.device(), "-o", path("read.rdw") }, env);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, kReadComplete);
    EXPECT_EQ(r.err, message);
    EXPECT_TRUE(std::filesystem::exists(path("read.rdw")));

    const CliRun w = runCli(folder(), { "write", "--port", radio.device(), path("model0.rdw") }, env);
    EXPECT_EQ(w.exitCode, 0);
    EXPECT_EQ(w.out, kWriteComplete);
    EXPECT_EQ(w.err, message);
    EXPECT_EQ(radio.recordsHeard().size(), 56u);

    // A failed write keeps its own status.
    SimRadio silent(folder(), { "--silent" });
    const CliRun failed = runCli(folder(), { "write", "--port", silent.device(), path("model0.rdw") }, env);
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.err, message + noResponse(silent.device(), silent.device()));
}

TEST_F(E2eTest, WriteBackupSavesWhatTheRadioHeld)
{
    // The radio holds model 5's defaults; the file brings model 5 with channels of its own.
    model::RadioImage image = model::defaultImage(5);
    image.channels[7][11] = 0x2A;
    saveFile(path("new.rdw"), image);
    SimRadio radio(folder(), { "--model", "5", "--save", path("radio.rdw") });
    SimRadio older(folder(), { "--model", "5", "--older" });
    ASSERT_FALSE(radio.device().empty());
    ASSERT_FALSE(older.device().empty());

    CliProcess newer(folder(), { "write", "--port", radio.device(), "--backup", path("old.rdhax"), path("new.rdw") });
    CliProcess old(folder(), { "write", "--port", older.device(), "--backup", path("old.rdh"), path("new.rdw") });
    for (CliProcess* process : { &newer, &old }) {
        const CliRun w = process->finish();
        EXPECT_EQ(w.exitCode, 0) << w.err;
        EXPECT_EQ(w.out, kWriteComplete);
        EXPECT_EQ(w.err, "");
    }

    // The backups hold the radios' earlier content, each of the kind its name says.
    const model::RadioImage held = model::defaultImage(5);
    for (const char* name : { "old.rdhax", "old.rdh" }) {
        SCOPED_TRACE(name);
        const bool rdh = files::fileKindForPath(name) == files::FileKind::Rdh;
        EXPECT_EQ(test::readWholeFile(path(name)).size(), rdh ? 431u : 613u);
        const model::RadioImage backup = openFile(path(name));
        EXPECT_EQ(backup.channels, held.channels);
        EXPECT_EQ(backup.modelIndex, 5);
        EXPECT_NE(backup.channels, image.channels);
    }
    // The radio took the new image afterwards.
    radio.stop();
    EXPECT_EQ(openFile(path("radio.rdw")).channels, image.channels);
    // The read came first.
    const auto reads = radio.logged("<-", "rEAD");
    const auto programs = radio.logged("<-", "pROGRAM");
    ASSERT_EQ(reads.size(), 1u);
    ASSERT_EQ(programs.size(), 1u);
    EXPECT_LT(reads[0].seconds, programs[0].seconds);
}

TEST_F(E2eTest, WriteBackupFailureWritesNothing)
{
    saveFile(path("new.rdw"), model::defaultImage(0));
    SimRadio readable(folder(), {});
    SimRadio silent(folder(), { "--silent" });
    ASSERT_FALSE(readable.device().empty());
    ASSERT_FALSE(silent.device().empty());

    // The backup cannot be saved.
    CliProcess unsaved(
        folder(), { "write", "--port", readable.device(), "--backup", path("missing/old.rdw"), path("new.rdw") });
    // The radio cannot be read.
    CliProcess unread(folder(), { "write", "--port", silent.device(), "--backup", path("old.rdw"), path("new.rdw") });
    const CliRun a = unsaved.finish();
    EXPECT_EQ(a.exitCode, 1);
    EXPECT_EQ(a.out, "");
    EXPECT_EQ(a.err, "保存文件出错\n");
    EXPECT_TRUE(readable.recordsHeard().empty());
    EXPECT_TRUE(readable.logged("<-", "pROGRAM").empty());

    const CliRun b = unread.finish();
    EXPECT_EQ(b.exitCode, 1);
    EXPECT_EQ(b.out, "");
    EXPECT_EQ(b.err, noResponse(silent.device(), silent.device()));
    EXPECT_FALSE(std::filesystem::exists(path("old.rdw")));
    EXPECT_TRUE(silent.recordsHeard().empty());
}

TEST_F(E2eTest, WriteBackupOverTheFileToWriteIsRefused)
{
    saveFile(path("new.rdw"), model::defaultImage(3));
    const std::string before = test::readWholeFile(path("new.rdw"));
    SimRadio radio(folder(), {});
    ASSERT_FALSE(radio.device().empty());
    for (const std::string& backup : { path("new.rdw"), (folder() / "." / "new.rdw").string() }) {
        CliProcess write(folder(), { "write", "--port", radio.device(), "--backup", backup, path("new.rdw") });
        const CliRun run = write.finish();
        EXPECT_EQ(run.exitCode, 2) << backup;
        EXPECT_EQ(run.err,
            "korvane-cli: --backup must name another file than the one to write\nTry 'korvane-cli --help'.\n")
            << backup;
    }
    EXPECT_EQ(test::readWholeFile(path("new.rdw")), before);
    EXPECT_TRUE(radio.recordsHeard().empty());
}
