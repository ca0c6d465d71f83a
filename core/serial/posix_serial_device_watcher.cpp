#include "core/serial/serial_device_watcher.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <unistd.h>

#if defined(__linux__)
#include <sys/inotify.h>
#endif

namespace korvane::serial {

SerialDeviceWatcher::SerialDeviceWatcher(const std::filesystem::path& folder)
{
#if defined(__linux__)
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0) return;
    // A renamed node counts as well: device managers create some nodes under a temporary name.
    constexpr std::uint32_t kEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
    if (::inotify_add_watch(m_fd, folder.c_str(), kEvents) < 0) {
        ::close(m_fd);
        m_fd = -1;
    }
#else
    (void)folder;
#endif
}

SerialDeviceWatcher::~SerialDeviceWatcher()
{
    if (m_fd >= 0) ::close(m_fd);
}

bool SerialDeviceWatcher::takeChanges()
{
    bool changed = false;
#if defined(__linux__)
    if (m_fd < 0) return false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got <= 0) break;
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const std::string_view name(buffer + at + sizeof event, ::strnlen(buffer + at + sizeof event, event.len));
            if (name.starts_with("tty") || (event.mask & IN_Q_OVERFLOW)) changed = true;
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
#endif
    return changed;
}

} // namespace korvane::serial
