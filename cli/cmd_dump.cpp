#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/dump_json.h"
#include "cli/exit_codes.h"
#include "cli/open_input.h"
#include "cli/output.h"

#include <iostream>

namespace korvane::cli {

int runDump(const Words& words)
{
    const auto args = parseArguments(words, {});
    if (!args)
        return kExitUsage;
    if (args->positional.size() != 1)
        return usageError("usage: korvane-cli dump FILE"), kExitUsage;
    const auto opened = openInput(args->positional.front());
    if (!opened)
        return kExitFailed;
    std::cout << dumpJson(opened->image, opened->fiveKhzForm);
    return kExitDone;
}

} // namespace korvane::cli
