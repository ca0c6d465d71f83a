#include "cli/arguments.h"
#include "cli/auto_backup.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/fleet_port_ui.h"
#include "cli/open_input.h"
#include "cli/output.h"
#include "cli/port_target.h"
#include "core/fleet/fleet_log.h"
#include "core/fleet/fleet_round.h"
#include "core/serial/system_serial_port.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <memory>
#include <mutex>

namespace korvane::cli {

namespace {

constexpr const char* kUsage
    = "usage: korvane-cli fleet --port PORT[,PORT]... [--yes] [--verify] [--log LOG.csv] [--next] FILE";
constexpr const char* kNextBatch = "请换上下一批对讲机，按回车继续 ...";

// Every port of every --port value ("COM1,/dev/ttyUSB3"), each once.
std::optional<std::vector<link::LinkTarget>> fleetTargets(const std::vector<std::string>& values)
{
    std::vector<link::LinkTarget> targets;
    for (const std::string& value : values) {
        for (std::size_t start = 0;;) {
            const std::size_t comma = value.find(',', start);
            const auto target = portTarget(value.substr(start, comma - start));
            if (!target) return std::nullopt;
            const bool twice = std::any_of(targets.begin(), targets.end(), [&](const link::LinkTarget& t) {
                return t.name == target->name || (t.device && t.device == target->device);
            });
            // Two exchanges on one cable would only garble each other.
            if (twice) return usageError("--port names " + target->name + " twice"), std::nullopt;
            targets.push_back(*target);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    return targets;
}

void report(const fleet::FleetRadioResult& result)
{
    std::cout << result.target.name << ": " << result.outcomeText << '\n';
    for (const std::string& text : result.verifyTexts)
        std::cout << result.target.name << ": " << text << '\n';
    std::cout << std::flush;
}

} // namespace

int runFleet(const Words& words)
{
    const auto args = parseArguments(words, { { "--log" }, { "--yes", "--verify", "--next" }, { "--port" } });
    if (!args) return kExitUsage;
    const auto ports = args->values.find("--port");
    if (ports == args->values.end() || args->positional.size() != 1) return usageError(kUsage), kExitUsage;
    const auto targets = fleetTargets(ports->second);
    if (!targets) return kExitUsage;

    const auto opened = openInput(args->positional.front());
    if (!opened) return kExitFailed;
    const bool verify = args->has("--verify");
    std::mutex output;
    std::vector<std::unique_ptr<FleetPortUi>> uis;
    for (const link::LinkTarget& target : *targets)
        uis.push_back(std::make_unique<FleetPortUi>(target, args->has("--yes"), output));

    int status = kExitDone;
    for (;;) {
        // Every radio of a round gets the same image, so one backup of it serves them all.
        const std::string backup = saveAutomaticBackup(opened->image, files::BackupReason::BeforeWrite).string();
        fleet::FleetRoundHooks hooks;
        hooks.makePort = [](std::size_t) { return serial::makeSystemSerialPort(); };
        hooks.ui = [&](std::size_t index) -> link::LinkUi& { return *uis[index]; };
        hooks.backup = [&](const model::RadioImage&) { return backup; };
        const auto results = fleet::runFleetRound(opened->image, *targets, verify, hooks);

        for (const fleet::FleetRadioResult& result : results) {
            report(result);
            // Every radio programmed (and verified), else 1: a radio left at a question is not done.
            if (!result.programmed()) status = kExitFailed;
        }
        if (const auto log = args->value("--log")) {
            if (const auto failed = fleet::appendFleetLog(*log, results, std::chrono::system_clock::now())) {
                printError(*failed);
                status = kExitFailed;
            }
        }
        if (!args->has("--next")) break;
        std::cout << kNextBatch << '\n' << std::flush;
        std::string line;
        if (!std::getline(std::cin, line)) break;
    }
    return status;
}

} // namespace korvane::cli
