#pragma once
// Which link of the chain from the program to the radio is broken: the device exists, it opens,
// no other program holds it, the radio answers the read handshake, the answer is well formed, and
// a whole read-out succeeds (nothing is saved). The checks run in that order and stop at the first
// that fails; each gives one line, and a failure the advice for it.

#include "core/link/link_target.h"
#include "core/serial/port_holders.h"
#include "core/serial/serial_port.h"
#include "core/util/clock.h"

#include <functional>
#include <string>
#include <vector>

namespace korvane::probe {

struct ProbeLine {
    bool passed = false;
    std::string text; // "设备存在：/dev/ttyUSB0"
    std::string advice; // what to do, for a failed check
};

std::vector<ProbeLine> probeChain(const link::LinkTarget& target, serial::SerialPort& port, util::Clock& clock,
    const serial::HolderScan& holders = serial::deviceHolders);

} // namespace korvane::probe
