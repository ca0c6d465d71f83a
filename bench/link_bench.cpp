// How close a read-out and a programming run come to the least time the protocol allows, against
// the simulated radio at the line's real pace (9600 baud, 11 bits a byte, both ways).
//
// The least time is the protocol's own pauses plus every byte on the line that the next step has
// to wait for: for a read-out the command, the 0.08 s handshake pause, "OK" and the whole stream;
// for programming the command, the 0.08 s handshake pause, the 0.1 s pause before the data, each
// record's 12 bytes and its 0.1 s pause, and the final 0.15 s. The radio's replies travel inside
// those pauses and add nothing.
//
// A pseudo-terminal takes the program's bytes at once, where a real port needs 11/9600 s for
// each; the port used here waits as a real transmitter would, so that the time measured is the
// time at a real radio. The same runs on the bare pseudo-terminal are shown for comparison.

#include "core/link/link_target.h"
#include "core/link/link_ui.h"
#include "core/link/programming.h"
#include "core/link/readout.h"
#include "core/model/defaults.h"
#include "core/serial/posix_serial_port.h"
#include "core/util/steady_clock.h"
#include "line_paced_port.h"
#include "sim_radio_process.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <tuple>
#include <vector>

namespace {

using namespace korvane;
using bench::kByteSeconds;
using bench::LinePacedPort;
using bench::Radio;
using Seconds = std::chrono::duration<double>;

constexpr double kGoal = 1.05;

// Nobody at the keyboard: messages are kept, questions answered Yes, and the moments the
// progress window opens and closes noted (they bound the data phase).
class QuietUi final : public link::LinkUi {
public:
    void showMessage(const util::Message& message) override { last = message.text; }
    bool askYesNo(const util::Message&) override { return true; }
    void progressOpen(const std::string&, const std::string&) override { opened = std::chrono::steady_clock::now(); }
    void progressValue(int) override { }
    void progressClose() override { closed = std::chrono::steady_clock::now(); }

    std::string last;
    std::chrono::steady_clock::time_point opened;
    std::chrono::steady_clock::time_point closed;
};

// A run cut in three by the progress window: up to the data phase (open, handshake, "OK" or the
// pause before the records), the data phase (waiting for the stream, or the records and the
// final pause), and the rest (taking the reply, closing).
struct Phases {
    double before = 0;
    double data = 0;
    double after = 0;
    double total() const { return before + data + after; }
};

Phases phasesOf(std::chrono::steady_clock::time_point start, const QuietUi& ui)
{
    const auto end = std::chrono::steady_clock::now();
    return { Seconds(ui.opened - start).count(), Seconds(ui.closed - ui.opened).count(),
        Seconds(end - ui.closed).count() };
}

// The least time of each phase: "rEAD", 0.08 s, "OK"; the stream; nothing.
Phases readMinimum(bool older)
{
    const double stream = older ? 420 : 684;
    return { (4 + 2) * kByteSeconds + 0.08, stream * kByteSeconds, 0 };
}

// "pROGRAM", 0.08 s, 0.1 s; each record and its 0.1 s, then 0.15 s; nothing.
Phases programMinimum(bool older)
{
    const double records = older ? 35 : 56;
    return { 7 * kByteSeconds + 0.08 + 0.1, records * (12 * kByteSeconds + 0.1) + 0.15, 0 };
}

struct Figures {
    Phases read;
    Phases program;
    bool ok = false;
};

Figures measure(bool older, bool pacedPort, bool bursts = false)
{
    Figures figures;
    std::vector<std::string> args { "--model", "3", older ? "--older" : "--newer" };
    if (bursts) args.insert(args.end(), { "--bursts", "16" });
    Radio radio(args);
    if (radio.device().empty()) return figures;
    const link::LinkTarget target = link::linkTargetForDevice(radio.device());
    serial::PosixSerialPort posix;
    LinePacedPort paced(posix);
    serial::SerialPort& port = pacedPort ? static_cast<serial::SerialPort&>(paced) : posix;
    util::SteadyClock clock;
    QuietUi ui;

    auto start = std::chrono::steady_clock::now();
    const link::ReadOutcome read = link::readRadio(model::defaultImage(0), target, port, clock, ui);
    figures.read = phasesOf(start, ui);
    if (!read.success()) {
        std::fprintf(stderr, "read-out failed: %s\n", ui.last.c_str());
        return figures;
    }
    model::RadioImage image = read.image;
    start = std::chrono::steady_clock::now();
    const link::ProgramOutcome programmed = link::programRadio(image, target, port, clock, ui);
    figures.program = phasesOf(start, ui);
    if (!programmed.success()) {
        std::fprintf(stderr, "programming failed: %s\n", ui.last.c_str());
        return figures;
    }
    figures.ok = true;
    return figures;
}

bool report(const std::string& what, const Phases& measured, const Phases& minimum, bool judged)
{
    const double ratio = measured.total() / minimum.total();
    std::printf("  %-25s %6.3f s  minimum %6.3f s  ratio %.3f%s\n", what.c_str(), measured.total(), minimum.total(),
        ratio, judged ? (ratio <= kGoal ? "" : "  (goal missed)") : "");
    std::printf("  %-25s before data +%.1f ms, data +%.1f ms, after +%.1f ms over the minimum\n", "",
        1000 * (measured.before - minimum.before), 1000 * (measured.data - minimum.data),
        1000 * (measured.after - minimum.after));
    return !judged || ratio <= kGoal;
}

} // namespace

int main()
{
    bool met = true;
    Figures clean[2];
    for (const bool pacedPort : { true, false }) {
        std::printf(pacedPort ? "Port paced like a real 9600-baud transmitter (goal: ratio <= %.2f)\n"
                              : "Bare pseudo-terminal: the program's bytes leave at once (for comparison)\n",
            kGoal);
        for (const bool older : { false, true }) {
            const Figures f = measure(older, pacedPort);
            if (!f.ok) return 1;
            if (pacedPort) clean[older] = f;
            const std::string radio = older ? "older radio" : "newer radio";
            met = report("read-out, " + radio, f.read, readMinimum(older), pacedPort) && met;
            met = report("programming, " + radio, f.program, programMinimum(older), pacedPort) && met;
        }
    }
    // A USB adapter hands the radio's bytes on every 16 ms: against the paced clean line above.
    std::printf("The radio's bytes in 16 ms bursts, as through a USB adapter (against the clean line)\n");
    for (const bool older : { false, true }) {
        const Figures f = measure(older, true, true);
        if (!f.ok) return 1;
        const std::string radio = older ? "older radio" : "newer radio";
        for (const auto& [what, burst, plain] : { std::tuple { "read-out, ", f.read, clean[older].read },
                 std::tuple { "programming, ", f.program, clean[older].program } })
            std::printf("  %-25s %6.3f s  clean line %6.3f s  +%.1f ms  ratio %.3f\n", (what + radio).c_str(),
                burst.total(), plain.total(), 1000 * (burst.total() - plain.total()), burst.total() / plain.total());
    }
    return met ? 0 : 1;
}
