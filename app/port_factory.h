#pragma once
// Where the window gets its serial ports: every exchange with a radio asks for a fresh one. The
// platform's own port is built in one place only, so that another platform swaps it there.

#include "core/serial/serial_port.h"

#include <functional>
#include <memory>

namespace korvane::app {

using PortFactory = std::function<std::unique_ptr<serial::SerialPort>()>;

// This platform's serial port.
PortFactory defaultPortFactory();

} // namespace korvane::app
