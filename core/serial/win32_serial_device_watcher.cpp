#include "core/serial/serial_device_watcher.h"

namespace korvane::serial {

// Windows tells the window of ports coming and going with WM_DEVICECHANGE instead; there is no
// folder to watch.
SerialDeviceWatcher::SerialDeviceWatcher(const std::filesystem::path&) { }

SerialDeviceWatcher::~SerialDeviceWatcher() = default;

bool SerialDeviceWatcher::takeChanges() { return false; }

} // namespace korvane::serial
