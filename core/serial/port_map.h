#pragma once
// Port numbers 1..4 ("COM1".."COM4"). KORVANE_COMn names the device of port n outright.
// Otherwise, on a machine that names its serial devices by path, port n is its n-th serial
// device: USB adapters (ttyUSB, then ttyACM, each by number), then built-in ports (ttyS by
// number) that have a UART behind them; on Windows, port n is COMn itself.

#include "core/serial/serial_port.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvane::serial {

inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 4;

// Where the mapping looks. Tests point it at a fake /dev and /sys tree and a fake environment.
struct PortMapSource {
    std::filesystem::path devRoot { "/dev" };
    std::filesystem::path sysRoot { "/sys" };
    // Reads an environment variable; nullopt when unset.
    std::function<std::optional<std::string>(const std::string& name)> getEnv;
};

// The process environment, /dev and /sys.
PortMapSource systemPortMapSource();

// Every serial device of this machine in the order port numbers are given out.
std::vector<std::string> serialDevices(const PortMapSource& source);

// The device behind port n, or nullopt when the number has no device (or is outside 1..4).
std::optional<std::string> deviceForPort(int n, const PortMapSource& source);
// The same without KORVANE_COMn, as this machine's platform gives it: the n-th serial device on
// POSIX, the real port COMn on Windows when it exists.
std::optional<std::string> systemDeviceForPort(int n, const PortMapSource& source);
std::optional<std::string> deviceForPort(int n);

// Whether a device path names something that is there: a node on POSIX, a port on Windows.
bool deviceExists(const std::string& device);
// Where a USB cable shows up once plugged in, for advice: "/dev/ttyUSB0 或 /dev/ttyACM0".
std::string newCableDevices();

// Whether port n exists: it has a device that can be opened, or that another program holds or
// we may not open. The port is opened and closed again, never left open.
bool probePort(int n, SerialPort& port, const PortMapSource& source);
bool probePort(int n);

// The length of the unbroken run of existing ports from port 1 (0..4).
int probePorts(SerialPort& port, const PortMapSource& source);
int probePorts();

} // namespace korvane::serial
