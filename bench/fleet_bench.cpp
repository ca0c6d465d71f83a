// Whether radios programmed at the same time take no longer than one alone: n simulated radios
// at the line's real pace (n = 1, 2, 4, 8), programmed in one fleet round, each through a port
// that waits as a real 9600-baud transmitter would. Every radio's exchange is mostly waiting on
// the line, so the round's wall time should stay close to a single radio's.

#include "core/fleet/fleet_round.h"
#include "core/model/defaults.h"
#include "core/serial/posix_serial_port.h"
#include "line_paced_port.h"
#include "sim_radio_process.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace korvane;

constexpr double kGoal = 1.15;
constexpr int kTries = 2; // the faster of two rounds counts: the machine is shared

// Nobody at the keyboard: every question answered Yes, nothing shown.
class QuietUi final : public link::LinkUi {
public:
    void showMessage(const util::Message&) override { }
    bool askYesNo(const util::Message&) override { return true; }
    void progressOpen(const std::string&, const std::string&) override { }
    void progressValue(int) override { }
    void progressClose() override { }
};

// The wall time of one round over n radios, or a negative time when a radio was not programmed.
double roundSeconds(std::size_t n)
{
    std::vector<std::unique_ptr<bench::Radio>> radios;
    std::vector<link::LinkTarget> targets;
    for (std::size_t k = 0; k < n; ++k) {
        radios.push_back(std::make_unique<bench::Radio>(std::vector<std::string> { "--model", "3" }));
        if (radios.back()->device().empty()) return -1;
        targets.push_back(link::linkTargetForDevice(radios.back()->device()));
    }
    std::vector<std::unique_ptr<serial::PosixSerialPort>> lines(n);
    std::vector<QuietUi> uis(n);
    fleet::FleetRoundHooks hooks;
    hooks.makePort = [&](std::size_t index) {
        lines[index] = std::make_unique<serial::PosixSerialPort>();
        return std::make_unique<bench::LinePacedPort>(*lines[index]);
    };
    hooks.ui = [&](std::size_t index) -> link::LinkUi& { return uis[index]; };

    const auto start = std::chrono::steady_clock::now();
    const auto results = fleet::runFleetRound(model::defaultImage(3), targets, false, hooks);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const fleet::FleetRadioResult& result : results) {
        if (!result.programmed()) {
            std::fprintf(stderr, "%s: %s\n", result.target.name.c_str(), result.outcomeText.c_str());
            return -1;
        }
    }
    return seconds;
}

} // namespace

int main()
{
    std::printf("Radios programmed at once, at the line's real pace (goal: ratio to one radio <= %.2f)\n", kGoal);
    std::printf("  %6s  %10s  %6s\n", "radios", "wall time", "ratio");
    double single = 0;
    bool met = true;
    for (const std::size_t n : { 1u, 2u, 4u, 8u }) {
        double best = -1;
        for (int t = 0; t < kTries; ++t) {
            const double seconds = roundSeconds(n);
            if (seconds < 0) return 1;
            best = best < 0 ? seconds : std::min(best, seconds);
        }
        if (n == 1) single = best;
        const double ratio = best / single;
        met = met && ratio <= kGoal;
        std::printf("  %6zu  %8.3f s  %6.3f%s\n", n, best, ratio, ratio <= kGoal ? "" : "  (goal missed)");
    }
    return met ? 0 : 1;
}
