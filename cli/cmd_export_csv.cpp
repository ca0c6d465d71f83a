#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/open_input.h"
#include "cli/output.h"
#include "core/files/channel_csv_file.h"

namespace korvane::cli {

int runExportCsv(const Words& words)
{
    const auto args = parseArguments(words, { { "-o" }, {}, {} });
    if (!args) return kExitUsage;
    const auto output = args->value("-o");
    if (!output || args->positional.size() != 1)
        return usageError("usage: korvane-cli export-csv FILE -o OUT.csv"), kExitUsage;
    const auto opened = openInput(args->positional.front());
    if (!opened) return kExitFailed;
    if (const auto failure = files::saveChannelCsv(*output, opened->image)) {
        printError(*failure);
        return kExitFailed;
    }
    return kExitDone;
}

} // namespace korvane::cli
