#include "core/serial/port_holders.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace korvane::serial {

std::vector<std::string> deviceHolders(const std::string& device)
{
    std::error_code error;
    const std::filesystem::path wanted = std::filesystem::canonical(device, error);
    std::vector<std::string> found;
    if (error) return found;
    const std::string self = std::to_string(::getpid());
    for (const auto& process : std::filesystem::directory_iterator("/proc", error)) {
        const std::string pid = process.path().filename().string();
        if (pid == self || !std::all_of(pid.begin(), pid.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
        std::error_code denied;
        for (const auto& fd : std::filesystem::directory_iterator(process.path() / "fd", denied)) {
            std::error_code unreadable;
            if (std::filesystem::read_symlink(fd.path(), unreadable) != wanted) continue;
            std::string name;
            std::getline(std::ifstream(process.path() / "comm"), name);
            found.push_back(name + "（进程 " + pid + "）");
            break;
        }
    }
    return found;
}

} // namespace korvane::serial
