#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/output.h"
#include "core/model/defaults.h"
#include "core/model/models.h"

namespace korvane::cli {

int runNew(const Words& words)
{
    const auto args = parseArguments(words, { { "--model", "-o", "--kind" }, {}, {} });
    if (!args)
        return kExitUsage;
    const auto modelText = args->value("--model");
    const auto output = args->value("-o");
    if (!modelText || !output || !args->positional.empty())
        return usageError("usage: korvane-cli new --model N -o FILE [--kind rdw|rdh|rdhax]"), kExitUsage;
    const auto modelIndex = parseInt(*modelText, 0, model::kModelCount - 1);
    if (!modelIndex)
        return usageError("--model takes 0 to 6"), kExitUsage;
    const auto kind = outputKind(*args, *output);
    if (!kind)
        return kExitUsage;
    if (const auto failure = files::saveDataFile(*output, model::defaultImage(*modelIndex), *kind)) {
        printError(*failure);
        return kExitFailed;
    }
    return kExitDone;
}

} // namespace korvane::cli
