#include "cli/console.h"

#include <unistd.h>

namespace korvane::cli {

void prepareConsole() { }

std::vector<std::string> commandWords(int argc, char** argv) { return std::vector<std::string>(argv + 1, argv + argc); }

bool progressWanted() { return ::isatty(STDERR_FILENO) == 1; }

} // namespace korvane::cli
