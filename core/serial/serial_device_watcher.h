#pragma once
// Tells when a serial device appears in or leaves the device folder, so a list of ports can be
// read again when a cable is plugged in or pulled out. The caller waits on fd() (poll, or a
// socket notifier in the window) and then calls takeChanges(); nothing polls on a timer.

#include <filesystem>

namespace korvane::serial {

class SerialDeviceWatcher {
public:
    // Watches `folder` (the port map's device root); fd() is -1 when it cannot be watched.
    explicit SerialDeviceWatcher(const std::filesystem::path& folder);
    ~SerialDeviceWatcher();
    SerialDeviceWatcher(const SerialDeviceWatcher&) = delete;
    SerialDeviceWatcher& operator=(const SerialDeviceWatcher&) = delete;

    int fd() const { return m_fd; }
    // Reads every waiting notice without blocking: true when a tty node was added or removed.
    bool takeChanges();

private:
    int m_fd = -1;
};

} // namespace korvane::serial
