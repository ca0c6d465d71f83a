#pragma once
// What the platform itself says when serial devices come or go, beside the device folder the core
// watches: on Windows, the WM_DEVICECHANGE every top-level window is sent when a port arrives or
// leaves. Each platform has its own file.

#include <QObject>

#include <functional>
#include <memory>

namespace korvane::app {

// Calls `changed` on each such notice while the returned object lives; nullptr where the platform
// has nothing to add.
std::unique_ptr<QObject> watchDeviceEvents(std::function<void()> changed);

} // namespace korvane::app
