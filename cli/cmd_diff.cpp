#include "cli/arguments.h"
#include "cli/auto_backup.h"
#include "cli/cli_link_ui.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/exit_codes.h"
#include "cli/link_port.h"
#include "cli/open_input.h"
#include "cli/output.h"
#include "cli/port_target.h"
#include "core/compare/image_compare.h"
#include "core/link/readout.h"
#include "core/model/defaults.h"
#include "core/util/steady_clock.h"

#include <iostream>
#include <variant>

namespace korvane::cli {

namespace {

constexpr std::string_view kRadioPrefix = "radio:";

// The image named: a data file opened as Open does, or "radio:PORT", what the radio on PORT holds
// now, read as `read` reads it. Else the exit status (its message printed).
std::variant<model::RadioImage, int> compareInput(const std::string& name)
{
    if (!name.starts_with(kRadioPrefix)) {
        const auto opened = openInput(name);
        if (!opened) return kExitUnreadable;
        return opened->image;
    }
    const auto target = portTarget(name.substr(kRadioPrefix.size()));
    if (!target) return kExitUsage;
    util::SteadyClock clock;
    LinkPort port;
    CliLinkUi ui(false, progressWanted());
    const link::ReadOutcome outcome = link::readRadio(model::defaultImage(0), *target, port.port(), clock, ui);
    // Only a failure is told: on success the differences are the whole output.
    if (!outcome.success()) return ui.finish(outcome.end), kExitUnreadable;
    saveAutomaticBackup(outcome.image, files::BackupReason::ReadOut);
    return outcome.image;
}

} // namespace

int runDiff(const Words& words)
{
    const auto args = parseArguments(words, {});
    if (!args) return kExitUsage;
    if (args->positional.size() != 2) return usageError("usage: korvane-cli diff A B"), kExitUsage;
    const auto a = compareInput(args->positional[0]);
    if (const int* status = std::get_if<int>(&a)) return *status;
    const auto b = compareInput(args->positional[1]);
    if (const int* status = std::get_if<int>(&b)) return *status;
    const auto differences = compare::compareImages(std::get<model::RadioImage>(a), std::get<model::RadioImage>(b));
    for (const compare::Difference& difference : differences)
        std::cout << compare::differenceLine(difference) << '\n';
    return differences.empty() ? kExitDone : kExitFailed;
}

} // namespace korvane::cli
