#pragma once
// The automatic backup of every image the companion reads from a radio or is about to write into
// one, in the same folder the window keeps its backups in. A failed backup is reported and
// otherwise changes nothing: the command goes on and its exit status stays its own.

#include "core/files/backups.h"

namespace korvane::cli {

// The saved file, or an empty path when it could not be saved.
std::filesystem::path saveAutomaticBackup(const model::RadioImage& image, files::BackupReason reason);

} // namespace korvane::cli
