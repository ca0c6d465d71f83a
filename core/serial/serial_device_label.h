#pragma once
// What a serial device is, in one line for the port choice: its path and, for a USB adapter, the
// product and maker the adapter reports ("/dev/ttyUSB0  FT232R USB UART (FTDI)").

#include "core/serial/port_map.h"

#include <string>

namespace korvane::serial {

// The label of port n's device, or "未连接" when the number has no device.
std::string portDeviceLabel(int n, const PortMapSource& source);
std::string portDeviceLabel(int n);

// The label of a device path; the path alone when the system says nothing more about it.
std::string deviceLabel(const std::string& path, const PortMapSource& source);

} // namespace korvane::serial
