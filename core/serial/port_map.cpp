#include "core/serial/port_map.h"

#include "core/serial/system_serial_port.h"

#include <cstdlib>

namespace korvane::serial {

namespace {

std::optional<std::string> environmentValue(const PortMapSource& source, const std::string& name)
{
    if (source.getEnv) return source.getEnv(name);
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

} // namespace

std::optional<std::string> deviceForPort(int n, const PortMapSource& source)
{
    if (n < kFirstPort || n > kLastPort) return std::nullopt;
    if (auto named = environmentValue(source, "KORVANE_COM" + std::to_string(n)); named && !named->empty())
        return named;
    return systemDeviceForPort(n, source);
}

std::optional<std::string> deviceForPort(int n) { return deviceForPort(n, systemPortMapSource()); }

bool probePort(int n, SerialPort& port, const PortMapSource& source)
{
    const auto device = deviceForPort(n, source);
    if (!device) return false;
    const PortStatus opened = port.open(*device);
    port.close();
    // A port that another program holds, or that we may not open, is still there.
    return opened.ok() || opened.error().kind != PortErrorKind::NoSuchDevice;
}

int probePorts(SerialPort& port, const PortMapSource& source)
{
    int count = 0;
    while (count < kLastPort && probePort(count + 1, port, source))
        ++count;
    return count;
}

bool probePort(int n)
{
    const auto port = makeSystemSerialPort();
    return probePort(n, *port, systemPortMapSource());
}

int probePorts()
{
    const auto port = makeSystemSerialPort();
    return probePorts(*port, systemPortMapSource());
}

} // namespace korvane::serial
