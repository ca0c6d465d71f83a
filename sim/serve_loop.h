#pragma once
// Carries bytes between the pseudo-terminal and the radio at the line's pace, tells the radio
// when the program opens and closes its port, and drops the line when the radio asks for it.

#include "sim/burst_line.h"
#include "sim/line_pacer.h"
#include "sim/pty_line.h"
#include "sim/radio.h"

#include <csignal>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvane::sim {

struct ServeSettings {
    bool pace = true;
    bool once = false;
    // The radio's bytes reach the program in bursts this far apart, each up to `jitter` late.
    std::chrono::milliseconds bursts { 0 };
    std::chrono::milliseconds jitter { 0 };
    // Told the device after the radio comes back on a new one.
    std::function<void(const std::string&)> announceDevice;
};

class ServeLoop {
public:
    ServeLoop(Radio& radio, PtyLine& line, ServeSettings settings);

    // Serves until `stop` is set (by a signal) or, with `once`, until one exchange is over.
    // An error text when the line fails.
    std::optional<std::string> run(const volatile std::sig_atomic_t& stop);

private:
    bool wait(TimePoint now, TimePoint deadline);
    void takeLineNews(bool hungUp, TimePoint now);
    std::vector<std::uint8_t> readAvailable();
    void writeDue(TimePoint now);
    void setPortOpen(bool open, TimePoint now);
    std::optional<std::string> hangUp(TimePoint now);
    bool idle() const;

    Radio& m_radio;
    PtyLine& m_line;
    ServeSettings m_settings;
    LinePacer m_inbound;
    LinePacer m_outbound;
    BurstLine m_adapter;
    std::deque<std::uint8_t> m_unwritten; // due but refused by a full buffer
    bool m_portOpen = false; // the program holds its port open
    bool m_masterHungUp = true; // as the master last showed it
    bool m_hangUpPending = false;
};

} // namespace korvane::sim
