#include "core/files/backups.h"

#include "core/files/data_file.h"
#include "core/files/data_folder.h"
#include "core/files/file_bytes.h"
#include "core/util/utc_time.h"
#include "core/util/utf8_path.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace korvane::files {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::system_clock;
using Milliseconds = std::chrono::milliseconds;

// Names are "YYYYMMDD-HHMMSS-mmm-read.rdw" or "...-write.rdw", in UTC so that they sort by time
// whatever the time zone and across daylight-saving changes; a second backup in the same
// millisecond gets "-2", "-3", ... before the extension.
constexpr std::string_view kExtension = ".rdw";
constexpr std::string_view kReadTag = "read";
constexpr std::string_view kWriteTag = "write";

struct BackupName {
    Clock::time_point time;
    int counter = 1;
};

std::string_view tagOf(BackupReason reason) { return reason == BackupReason::ReadOut ? kReadTag : kWriteTag; }

std::string stampOf(Clock::time_point now)
{
    const util::UtcTime t = util::utcTimeOf(now);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d-%03d", t.year, t.month, t.day, t.hour, t.minute,
        t.second, t.millisecond);
    return text;
}

std::string nameOf(const std::string& stamp, BackupReason reason, int counter)
{
    std::string name = stamp + "-" + std::string(tagOf(reason));
    if (counter > 1) name += "-" + std::to_string(counter);
    return name + std::string(kExtension);
}

// Exactly `digits` decimal digits, as a number.
std::optional<int> digitsAt(std::string_view text, std::size_t at, std::size_t digits)
{
    if (at + digits > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t k = at; k < at + digits; ++k) {
        if (text[k] < '0' || text[k] > '9') return std::nullopt;
        value = value * 10 + (text[k] - '0');
    }
    return value;
}

// The time and counter of a backup's name; nothing for any other file name.
std::optional<BackupName> parseBackupName(std::string_view name)
{
    if (!name.ends_with(kExtension)) return std::nullopt;
    name.remove_suffix(kExtension.size());
    // "YYYYMMDD-HHMMSS-mmm-" is 20 characters.
    constexpr std::size_t kStampSize = 20;
    if (name.size() <= kStampSize || name[8] != '-' || name[15] != '-' || name[19] != '-') return std::nullopt;
    const auto year = digitsAt(name, 0, 4), month = digitsAt(name, 4, 2), day = digitsAt(name, 6, 2);
    const auto hour = digitsAt(name, 9, 2), minute = digitsAt(name, 11, 2), second = digitsAt(name, 13, 2);
    const auto milli = digitsAt(name, 16, 3);
    if (!year || !month || !day || !hour || !minute || !second || !milli) return std::nullopt;
    if (*hour > 23 || *minute > 59 || *second > 60) return std::nullopt;
    const std::chrono::year_month_day date { std::chrono::year { *year },
        std::chrono::month { static_cast<unsigned>(*month) }, std::chrono::day { static_cast<unsigned>(*day) } };
    if (!date.ok()) return std::nullopt;

    std::string_view rest = name.substr(kStampSize);
    BackupName parsed;
    if (rest.starts_with(kReadTag))
        rest.remove_prefix(kReadTag.size());
    else if (rest.starts_with(kWriteTag))
        rest.remove_prefix(kWriteTag.size());
    else
        return std::nullopt;
    if (!rest.empty()) {
        // "-N" with N from 2 on, without leading zeros.
        if (rest.size() < 2 || rest[0] != '-' || rest[1] == '0') return std::nullopt;
        rest.remove_prefix(1);
        const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), parsed.counter);
        if (ec != std::errc {} || end != rest.data() + rest.size() || parsed.counter < 2) return std::nullopt;
    }
    parsed.time = std::chrono::sys_days { date } + std::chrono::hours { *hour } + std::chrono::minutes { *minute }
        + std::chrono::seconds { *second } + Milliseconds { *milli };
    return parsed;
}

std::string systemReason(int error)
{
    return error != 0 ? std::generic_category().message(error) : std::string("unknown error");
}

// Removes backups older than kBackupMaxAge beyond the newest kBackupsAlwaysKept. A backup that
// cannot be removed stays; that harms nothing.
void prune(const fs::path& folder, Clock::time_point now)
{
    struct Found {
        fs::path path;
        BackupName name;
    };
    std::vector<Found> backups;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const auto parsed = parseBackupName(util::utf8Path(it->path().filename()));
        if (!parsed) continue;
        std::error_code statError;
        if (!it->is_regular_file(statError) || it->is_symlink(statError)) continue;
        backups.push_back({ it->path(), *parsed });
    }
    if (static_cast<int>(backups.size()) <= kBackupsAlwaysKept) return;
    std::sort(backups.begin(), backups.end(), [](const Found& a, const Found& b) {
        if (a.name.time != b.name.time) return a.name.time > b.name.time;
        if (a.name.counter != b.name.counter) return a.name.counter > b.name.counter;
        return a.path > b.path;
    });
    for (std::size_t k = kBackupsAlwaysKept; k < backups.size(); ++k) {
        if (now - backups[k].name.time <= kBackupMaxAge) continue;
        std::error_code ignored;
        fs::remove(backups[k].path, ignored);
    }
}

util::Result<fs::path> save(
    const fs::path& folder, const model::RadioImage& image, BackupReason reason, Clock::time_point now)
{
    if (folder.empty()) return backupFailedMessage(folder, "no home folder is known");
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return backupFailedMessage(folder, ec.message());
    if (!fs::is_directory(folder, ec)) return backupFailedMessage(folder, systemReason(ENOTDIR));

    const std::string stamp = stampOf(now);
    fs::path path;
    bool claimed = false;
    for (int counter = 1; counter <= 1000 && !claimed; ++counter) {
        path = folder / nameOf(stamp, reason, counter);
        const int error = createNewFile(util::utf8Path(path));
        claimed = error == 0;
        if (!claimed && error != EEXIST) return backupFailedMessage(folder, systemReason(error));
    }
    if (!claimed) return backupFailedMessage(folder, systemReason(EEXIST));

    errno = 0;
    if (!writeFileAtomically(util::utf8Path(path), encodeDataFile(image, FileKind::Rdw))) {
        const int error = errno;
        std::error_code ignored;
        fs::remove(path, ignored);
        return backupFailedMessage(folder, systemReason(error));
    }
    prune(folder, now);
    return path;
}

} // namespace

fs::path backupFolder(const char* xdgDataHome, const char* home)
{
    const fs::path data = dataFolder(xdgDataHome, home);
    return data.empty() ? data : data / "backups";
}

fs::path backupFolderFromEnvironment()
{
    const fs::path data = dataFolderFromEnvironment();
    return data.empty() ? data : data / "backups";
}

util::Result<fs::path> saveBackup(
    const fs::path& folder, const model::RadioImage& image, BackupReason reason, Clock::time_point now)
{
    try {
        return save(folder, image, reason, now);
    } catch (const std::exception& e) {
        return backupFailedMessage(folder, e.what());
    }
}

util::Message backupFailedMessage(const fs::path& folder, const std::string& reason)
{
    const std::string where
        = folder.empty() ? std::string("找不到保存备份的文件夹") : "无法在文件夹“" + folder.string() + "”中保存备份";
    return util::Message { "自动备份失败：" + where + "（" + reason + "）。", "自动备份",
        util::MessageIcon::Exclamation, {} };
}

} // namespace korvane::files
