#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/open_input.h"
#include "cli/output.h"

namespace korvane::cli {

int runConvert(const Words& words)
{
    const auto args = parseArguments(words, { { "-o", "--kind" }, {}, {} });
    if (!args)
        return kExitUsage;
    const auto output = args->value("-o");
    if (!output || args->positional.size() != 1)
        return usageError("usage: korvane-cli convert FILE -o OUT [--kind rdw|rdh|rdhax]"), kExitUsage;
    const auto kind = outputKind(*args, *output);
    if (!kind)
        return kExitUsage;
    const auto opened = openInput(args->positional.front());
    if (!opened)
        return kExitFailed;
    if (const auto failure = files::saveDataFile(*output, opened->image, *kind)) {
        printError(*failure);
        return kExitFailed;
    }
    return kExitDone;
}

} // namespace korvane::cli
