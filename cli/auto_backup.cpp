#include "cli/auto_backup.h"

#include "cli/output.h"

#include <chrono>

namespace korvane::cli {

void saveAutomaticBackup(const model::RadioImage& image, files::BackupReason reason)
{
    const auto saved
        = files::saveBackup(files::backupFolderFromEnvironment(), image, reason, std::chrono::system_clock::now());
    if (!saved) printError(saved.error());
}

} // namespace korvane::cli
