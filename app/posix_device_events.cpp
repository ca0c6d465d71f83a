#include "app/device_events.h"

namespace korvane::app {

// The core's watcher of the device folder says it all here.
std::unique_ptr<QObject> watchDeviceEvents(std::function<void()>) { return nullptr; }

} // namespace korvane::app
