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
#include "core/files/data_file.h"
#include "core/link/programming.h"
#include "core/link/readout.h"
#include "core/link/verify_readback.h"
#include "core/model/defaults.h"
#include "core/util/steady_clock.h"

#include <algorithm>
#include <filesystem>
#include <functional>

namespace korvane::cli {

namespace {

constexpr const char* kUsage
    = "usage: korvane-cli write --port PORT [--yes] [--backup OLD] [--verify] [--trace TRACE] FILE";

// The radio's content as a read-out gives it, saved as `path`, before anything is written. The
// read's success message is not repeated: the file is the result.
int saveRadioContent(
    const std::string& path, const link::LinkTarget& target, serial::SerialPort& port, util::Clock& clock)
{
    CliLinkUi ui(false, progressWanted());
    const link::ReadOutcome outcome = link::readRadio(model::defaultImage(0), target, port, clock, ui);
    if (!outcome.success()) return ui.finish(outcome.end);
    if (const auto failure = files::saveDataFile(path, outcome.image, files::fileKindForPath(path))) {
        printError(*failure);
        return kExitFailed;
    }
    return kExitDone;
}

// Reads the radio back and compares every byte programming sent.
int verifyRadio(const model::RadioImage& written, bool olderRadio, const link::LinkTarget& target,
    serial::SerialPort& port, util::Clock& clock)
{
    CliLinkUi ui(false, progressWanted());
    const link::ReadBackCheck check = link::checkReadBack(
        written, olderRadio ? link::Generation::Older : link::Generation::Newer, target, port, clock, ui);
    // A read-back that worked has nothing to say of its own: the comparison is the result.
    if (check.readEnd != link::LinkEnd::Success) ui.finish(check.readEnd);
    for (const util::Message& finding : check.findings)
        check.passed ? printNotice(finding) : printError(finding);
    return check.passed ? kExitDone : kExitFailed;
}

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) return true;
    return std::filesystem::weakly_canonical(a, error) == std::filesystem::weakly_canonical(b, error);
}

} // namespace

int runWrite(const Words& words)
{
    const auto args = parseArguments(words, { { "--port", "--backup", "--trace" }, { "--yes", "--verify" }, {} });
    if (!args) return kExitUsage;
    const auto portText = args->value("--port");
    if (!portText || args->positional.size() != 1) return usageError(kUsage), kExitUsage;
    const auto target = portTarget(*portText);
    if (!target) return kExitUsage;
    // The radio's old content saved over the file to be written would lose the user's file.
    if (const auto backup = args->value("--backup"); backup && sameFile(*backup, args->positional.front()))
        return usageError("--backup must name another file than the one to write"), kExitUsage;

    auto opened = openInput(args->positional.front());
    if (!opened) return kExitFailed;
    util::SteadyClock clock;
    LinkPort port;
    if (!startTrace(port, args->value("--trace"), clock)) return kExitFailed;
    // The image as opened: for an older radio it may yet be rounded onto the 5 kHz grid.
    saveAutomaticBackup(opened->image, files::BackupReason::BeforeWrite);
    if (const auto backup = args->value("--backup")) {
        if (const int status = saveRadioContent(*backup, *target, port.port(), clock); status != kExitDone)
            return status;
    }

    // Rounding for an older radio changes this copy only: the file stays as it is.
    model::RadioImage image = opened->image;
    CliLinkUi ui(args->has("--yes"), progressWanted());
    const link::ProgramOutcome outcome = link::programRadio(image, *target, port.port(), clock, ui);
    const int status = ui.finish(outcome.end);
    if (!outcome.success() || !args->has("--verify")) return status;
    return verifyRadio(image, outcome.olderRadio, *target, port.port(), clock);
}

} // namespace korvane::cli
