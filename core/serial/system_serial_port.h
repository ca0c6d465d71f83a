#pragma once
// The serial port of the platform the program runs on: termios on POSIX, the communications API
// on Windows. Front ends and port scans get their ports here, so none of them names a platform.

#include "core/serial/serial_port.h"

#include <memory>

namespace korvane::serial {

std::unique_ptr<SerialPort> makeSystemSerialPort();

} // namespace korvane::serial
