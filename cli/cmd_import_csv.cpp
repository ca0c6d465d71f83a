#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/output.h"
#include "core/files/channel_csv_file.h"
#include "core/model/defaults.h"
#include "core/model/models.h"

namespace korvane::cli {

// The channels of the spreadsheet in the defaults of the model: the same data file a fresh
// start with that model, the spreadsheet imported and Save would give.
int runImportCsv(const Words& words)
{
    const auto args = parseArguments(words, { { "--model", "-o", "--kind" }, {}, {} });
    if (!args) return kExitUsage;
    const auto modelText = args->value("--model");
    const auto output = args->value("-o");
    if (!modelText || !output || args->positional.size() != 1)
        return usageError("usage: korvane-cli import-csv CSV --model N -o FILE [--kind rdw|rdh|rdhax]"), kExitUsage;
    const auto modelIndex = parseInt(*modelText, 0, model::kModelCount - 1);
    if (!modelIndex) return usageError("--model takes 0 to 6"), kExitUsage;
    const auto kind = outputKind(*args, *output);
    if (!kind) return kExitUsage;
    model::RadioImage image = model::defaultImage(*modelIndex);
    const auto table = files::loadChannelCsv(args->positional.front(), *modelIndex, image.channels);
    if (!table) {
        printError(table.error());
        return kExitFailed;
    }
    image.channels = *table;
    if (const auto failure = files::saveDataFile(*output, image, *kind)) {
        printError(*failure);
        return kExitFailed;
    }
    return kExitDone;
}

} // namespace korvane::cli
