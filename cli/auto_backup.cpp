#include "cli/auto_backup.h"

#include "cli/output.h"

#include <chrono>

namespace korvane::cli {

std::filesystem::path saveAutomaticBackup(const model::RadioImage& image, files::BackupReason reason)
{
    const auto saved
        = files::saveBackup(files::backupFolderFromEnvironment(), image, reason, std::chrono::system_clock::now());
    if (!saved) printError(saved.error());
    return saved ? *saved : std::filesystem::path();
}

} // namespace korvane::cli
