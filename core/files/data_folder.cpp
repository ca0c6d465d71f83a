#include "core/files/data_folder.h"

namespace korvane::files {

std::filesystem::path dataFolder(const char* xdgDataHome, const char* home)
{
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') return std::filesystem::path(xdgDataHome) / "korvane";
    if (home != nullptr && home[0] != '\0') return std::filesystem::path(home) / ".local" / "share" / "korvane";
    return {};
}

} // namespace korvane::files
