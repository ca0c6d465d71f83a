// korvane-radio-sim: a radio on a pseudo-terminal, for trying and testing the program without one.

#include "sim/memory_file.h"
#include "sim/packet_log.h"
#include "sim/pty_line.h"
#include "sim/radio.h"
#include "sim/serve_loop.h"
#include "sim/sim_options.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

using namespace korvane::sim;

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onStopSignal(int) { g_stop = 1; }

// The signals stay blocked except while the loop waits, so none can slip in between a check of
// the flag and the wait.
void catchStopSignals()
{
    struct sigaction action { };
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigset_t blocked;
    sigemptyset(&blocked);
    for (int sig : { SIGINT, SIGTERM, SIGHUP }) {
        ::sigaction(sig, &action, nullptr);
        sigaddset(&blocked, sig);
    }
    ::sigprocmask(SIG_BLOCK, &blocked, nullptr);
}

void announce(const std::string& device)
{
    std::printf("%s\n", device.c_str());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    auto parsed = parseSimOptions(args);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        std::fprintf(stderr, "korvane-radio-sim: %s\n", error->c_str());
        return 2;
    }
    const SimOptions& options = std::get<SimOptions>(parsed);
    if (options.help) {
        std::fputs(simHelpText().c_str(), stdout);
        return 0;
    }

    auto memory = startMemory(options);
    if (auto* error = std::get_if<std::string>(&memory)) {
        std::fprintf(stderr, "korvane-radio-sim: %s\n", error->c_str());
        return 1;
    }

    std::unique_ptr<std::ofstream> logFile;
    PacketLog log;
    const TimePoint origin = Clock::now();
    if (options.log && *options.log == "-") {
        log = PacketLog(std::cerr, origin);
    } else if (options.log) {
        logFile = std::make_unique<std::ofstream>(*options.log, std::ios::out | std::ios::trunc);
        if (!*logFile) {
            std::fprintf(stderr, "korvane-radio-sim: cannot write the log %s\n", options.log->c_str());
            return 1;
        }
        log = PacketLog(*logFile, origin);
    }

    Radio radio(options.radio, std::get<RadioMemory>(memory), log);
    bool saveFailed = false;
    auto save = [&](const RadioMemory& held) {
        if (!options.save) return;
        if (auto error = saveMemory(*options.save, held)) {
            std::fprintf(stderr, "korvane-radio-sim: %s\n", error->c_str());
            saveFailed = true;
        }
    };
    radio.setProgrammedHandler(save);

    catchStopSignals();
    PtyLine line;
    if (auto error = line.open(options.link)) {
        std::fprintf(stderr, "korvane-radio-sim: %s\n", error->c_str());
        line.removeLink();
        return 1;
    }
    announce(line.device());
    // Another program holding the device, as a probe should find it.
    const int holder = options.radio.faults.held ? ::open(line.device().c_str(), O_RDWR | O_NOCTTY) : -1;

    ServeLoop loop(radio, line, { options.pace, options.once, options.bursts, options.jitter, announce });
    const std::optional<std::string> failure = loop.run(g_stop);
    line.removeLink();
    if (holder >= 0) ::close(holder);
    save(radio.memory());
    if (failure) {
        std::fprintf(stderr, "korvane-radio-sim: %s\n", failure->c_str());
        return 1;
    }
    return saveFailed ? 1 : 0;
}
