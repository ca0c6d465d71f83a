#pragma once
// Which other programs hold a serial device open, so the cable check can name them.

#include <functional>
#include <string>
#include <vector>

namespace korvane::serial {

// The programs (name and process number) holding a device open, other than this one.
using HolderScan = std::function<std::vector<std::string>(const std::string& device)>;
// "minicom（进程 1234）" on Linux (from /proc); Windows cannot say, and gives none.
std::vector<std::string> deviceHolders(const std::string& device);

} // namespace korvane::serial
