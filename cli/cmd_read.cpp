#include "cli/arguments.h"
#include "cli/auto_backup.h"
#include "cli/cli_link_ui.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/exit_codes.h"
#include "cli/link_port.h"
#include "cli/output.h"
#include "cli/port_target.h"
#include "core/link/link_messages.h"
#include "core/link/readout.h"
#include "core/model/defaults.h"
#include "core/model/settings_fields.h"
#include "core/util/steady_clock.h"

namespace korvane::cli {

namespace {

// Showing the image selects every settings list in turn, each choice writing its field back;
// a field that no entry can show leaves its list empty, which the window reports after a read.
bool anySettingWithoutEntry(const model::RadioImage& image)
{
    model::SettingsBlock settings = image.settings;
    bool missing = false;
    for (const model::SettingsList list : model::kRefreshOrder) {
        if (const auto position = model::decodeSetting(list, settings))
            model::encodeSetting(list, settings, *position);
        else
            missing = true;
    }
    return missing;
}

} // namespace

int runRead(const Words& words)
{
    const auto args = parseArguments(words, { { "--port", "-o", "--kind", "--trace" }, {}, {} });
    if (!args) return kExitUsage;
    const auto portText = args->value("--port");
    const auto output = args->value("-o");
    if (!portText || !output || !args->positional.empty())
        return usageError("usage: korvane-cli read --port PORT -o FILE [--kind rdw|rdh|rdhax] [--trace TRACE]"),
               kExitUsage;
    const auto kind = outputKind(*args, *output);
    if (!kind) return kExitUsage;
    const auto target = portTarget(*portText);
    if (!target) return kExitUsage;

    // A fresh start: model 0's defaults. A radio of another model brings its own alignment test
    // channels; one of model 0 keeps model 0's. Either way they are the defaults of its model.
    const model::RadioImage current = model::defaultImage(0);
    util::SteadyClock clock;
    LinkPort port;
    if (!startTrace(port, args->value("--trace"), clock)) return kExitFailed;
    CliLinkUi ui(false, progressWanted());
    const link::ReadOutcome outcome = link::readRadio(current, *target, port.port(), clock, ui);
    const int status = ui.finish(outcome.end);
    if (!outcome.success()) return status;
    saveAutomaticBackup(outcome.image, files::BackupReason::ReadOut);

    if (anySettingWithoutEntry(outcome.image)) printError(link::dataError());
    if (const auto failure = files::saveDataFile(*output, outcome.image, *kind)) {
        printError(*failure);
        return kExitFailed;
    }
    return kExitDone;
}

} // namespace korvane::cli
