#pragma once
// Where the program keeps what it writes for the user on its own (backups, the fleet log):
// $XDG_DATA_HOME/korvane, else $HOME/.local/share/korvane. An empty or relative XDG_DATA_HOME
// is ignored; a session without HOME takes the home folder from the user database. On Windows,
// %LOCALAPPDATA%\korvane.

#include <filesystem>

namespace korvane::files {

// Empty when neither gives a folder.
std::filesystem::path dataFolder(const char* xdgDataHome, const char* home);
// This machine's folder for this user (the one platform-specific part).
std::filesystem::path dataFolderFromEnvironment();

} // namespace korvane::files
