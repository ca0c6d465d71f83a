#pragma once
// Automatic backups: every image read from a radio, and every image about to be written into one,
// is kept as an rdw file in a backup folder, so a radio's earlier content can always be restored.
// Old backups are pruned; files in the folder that are not backups are never touched.

#include "core/model/radio_image.h"
#include "core/util/message.h"
#include "core/util/result.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace korvane::files {

// Backups older than this are removed, except that the newest kBackupsAlwaysKept stay whatever
// their age.
inline constexpr std::chrono::hours kBackupMaxAge { 365 * 24 };
inline constexpr int kBackupsAlwaysKept = 50;

// $XDG_DATA_HOME/korvane/backups, else $HOME/.local/share/korvane/backups; an empty or relative
// XDG_DATA_HOME is ignored. Empty when neither gives a folder.
std::filesystem::path backupFolder(const char* xdgDataHome, const char* home);
std::filesystem::path backupFolderFromEnvironment();

enum class BackupReason { ReadOut, BeforeWrite };

// Saves the image as a timestamped rdw file in `folder` (created with its parents if missing),
// then prunes old backups. The saved file's path, or the message to show; never throws.
util::Result<std::filesystem::path> saveBackup(const std::filesystem::path& folder, const model::RadioImage& image,
    BackupReason reason, std::chrono::system_clock::time_point now);

util::Message backupFailedMessage(const std::filesystem::path& folder, const std::string& reason);

} // namespace korvane::files
