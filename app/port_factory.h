#pragma once
// Where the window gets its serial ports: every exchange with a radio asks for a fresh one. By
// default that is the platform's own port, which the core picks; tests may hand in another.

#include "core/serial/serial_port.h"
#include "core/serial/system_serial_port.h"

#include <functional>
#include <memory>

namespace korvane::app {

using PortFactory = std::function<std::unique_ptr<serial::SerialPort>()>;

inline PortFactory defaultPortFactory()
{
    return [] { return serial::makeSystemSerialPort(); };
}

} // namespace korvane::app
