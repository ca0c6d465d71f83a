#include "core/files/data_folder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace korvane::files {

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
