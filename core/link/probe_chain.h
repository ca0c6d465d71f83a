#pragma once
// Which link of the chain from the program to the radio is broken: the device exists, it opens,
// no other program holds it, the radio answers the read handshake, the answer is well formed, and
// a whole read-out succeeds (nothing is saved). The checks run in that order and stop at the first
// that fails; each gives one line, and a failure the advice for it.

#include "core/link/clock.h"
#include "core/link/link_target.h"
#include "core/link/serial_port.h"

#include <functional>
#include <string>
#include <vector>

namespace korvane::link {

struct ProbeLine {
    bool passed = false;
    std::string text; // "设备存在：/dev/ttyUSB0"
    std::string advice; // what to do, for a failed check
};

// The programs (name and process number) holding a device open, other than this one.
using HolderScan = std::function<std::vector<std::string>(const std::string& device)>;
// From /proc: "minicom（进程 1234）".
std::vector<std::string> holdersFromProc(const std::string& device);

std::vector<ProbeLine> probeChain(
    const LinkTarget& target, SerialPort& port, Clock& clock, const HolderScan& holders = holdersFromProc);

} // namespace korvane::link
