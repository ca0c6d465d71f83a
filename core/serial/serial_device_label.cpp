#include "core/serial/serial_device_label.h"

namespace korvane::serial {

std::string portDeviceLabel(int n, const PortMapSource& source)
{
    const auto device = deviceForPort(n, source);
    return device ? deviceLabel(*device, source) : "未连接";
}

std::string portDeviceLabel(int n) { return portDeviceLabel(n, systemPortMapSource()); }

} // namespace korvane::serial
