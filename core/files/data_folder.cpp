#include "core/files/data_folder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace korvane::files {

std::filesystem::path dataFolder(const char* xdgDataHome, const char* home)
{
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') return std::filesystem::path(xdgDataHome) / "korvane";
    if (home != nullptr && home[0] != '\0') return std::filesystem::path(home) / ".local" / "share" / "korvane";
    return {};
}

std::filesystem::path dataFolderFromEnvironment()
{
    const char* home = std::getenv("HOME");
    // A session without HOME (a service, a cron job) still has a home folder in the user database.
    if (home == nullptr || home[0] == '\0') {
        if (const passwd* user = ::getpwuid(::getuid())) home = user->pw_dir;
    }
    return dataFolder(std::getenv("XDG_DATA_HOME"), home);
}

} // namespace korvane::files
