#pragma once
// The serial port a radio command talks through: this platform's port, behind a tracing port that writes
// every byte to a file when the user asked for a trace (--trace FILE).

#include "core/serial/system_serial_port.h"
#include "core/serial/tracing_serial_port.h"
#include "core/util/clock.h"

#include <fstream>
#include <memory>
#include <optional>
#include <string>

namespace korvane::cli {

class LinkPort {
public:
    LinkPort() = default;
    LinkPort(const LinkPort&) = delete;
    LinkPort& operator=(const LinkPort&) = delete;

    // Starts the trace in `path` (replacing the file), times counted from now on `clock`. False,
    // after saying why on standard error, when the file cannot be written.
    bool traceTo(const std::string& path, util::Clock& clock);

    serial::SerialPort& port();

private:
    std::unique_ptr<serial::SerialPort> m_system = serial::makeSystemSerialPort();
    std::ofstream m_traceFile;
    std::optional<serial::TracingSerialPort> m_tracing;
};

// Starts the trace when the command was given one; false when it could not be started.
bool startTrace(LinkPort& port, const std::optional<std::string>& tracePath, util::Clock& clock);

} // namespace korvane::cli
