#include "cli/arguments.h"
#include "cli/cli_link_ui.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/open_input.h"
#include "cli/output.h"
#include "cli/port_target.h"
#include "core/link/posix_serial_port.h"
#include "core/link/programming.h"
#include "core/link/steady_clock.h"

namespace korvane::cli {

int runWrite(const Words& words)
{
    const auto args = parseArguments(words, { { "--port" }, { "--yes" }, {} });
    if (!args) return kExitUsage;
    const auto portText = args->value("--port");
    if (!portText || args->positional.size() != 1)
        return usageError("usage: korvane-cli write --port PORT [--yes] FILE"), kExitUsage;
    const auto target = portTarget(*portText);
    if (!target) return kExitUsage;

    auto opened = openInput(args->positional.front());
    if (!opened) return kExitFailed;
    // Rounding for an older radio changes this copy only: the file stays as it is.
    model::RadioImage image = opened->image;
    CliLinkUi ui(args->has("--yes"), progressWanted());
    link::PosixSerialPort port;
    link::SteadyClock clock;
    const link::ProgramOutcome outcome = link::programRadio(image, *target, port, clock, ui);
    return ui.finish(outcome.end);
}

} // namespace korvane::cli
