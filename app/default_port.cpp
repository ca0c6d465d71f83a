// The one place in the window program that names this platform's serial port.

#include "app/port_factory.h"

#include "core/serial/posix_serial_port.h"

namespace korvane::app {

PortFactory defaultPortFactory()
{
    return [] { return std::make_unique<serial::PosixSerialPort>(); };
}

} // namespace korvane::app
