#include "sim/pty_line.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace korvane::sim {

namespace {

std::string systemError(const std::string& what) { return what + ": " + std::strerror(errno); }

std::optional<std::string> linkTarget(const std::string& path)
{
    char target[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
    if (n < 0) return std::nullopt;
    return std::string(target, static_cast<std::size_t>(n));
}

} // namespace

PtyLine::~PtyLine() { hangUp(); }

std::optional<std::string> PtyLine::open(std::optional<std::string> linkPath)
{
    hangUp();
    termios raw {};
    ::cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD | CSTOPB;
    ::cfsetispeed(&raw, B9600);
    ::cfsetospeed(&raw, B9600);
    int slave = -1;
    char name[PATH_MAX] {};
    if (::openpty(&m_master, &slave, name, &raw, nullptr) != 0) return systemError("cannot open a pseudo-terminal");
    // The radio's own end is raw too: no echo, no line editing, no character translation.
    ::tcsetattr(m_master, TCSANOW, &raw);
    // Without a slave of our own open, the master reports a hang-up whenever the program has
    // closed its port, and the slave keeps its raw settings for the program's next open.
    ::close(slave);
    m_watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch >= 0 && ::inotify_add_watch(m_watch, name, IN_OPEN | IN_CLOSE) < 0) {
        ::close(m_watch);
        m_watch = -1;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    m_device = name;
    if (linkPath) m_link = std::move(linkPath);
    return pointLink();
}

std::optional<std::string> PtyLine::pointLink()
{
    if (!m_link) return std::nullopt;
    struct stat st { };
    if (::lstat(m_link->c_str(), &st) == 0 && !S_ISLNK(st.st_mode))
        return *m_link + " exists and is not a symbolic link";
    // A new link takes the old one's place in one step, so the path never dangles in between.
    const std::string temporary = *m_link + ".new" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(m_device.c_str(), temporary.c_str()) != 0) return systemError("cannot make the link " + *m_link);
    if (::rename(temporary.c_str(), m_link->c_str()) != 0) {
        ::unlink(temporary.c_str());
        return systemError("cannot make the link " + *m_link);
    }
    return std::nullopt;
}

void PtyLine::hangUp()
{
    if (m_watch >= 0) ::close(m_watch);
    m_watch = -1;
    if (m_master >= 0) ::close(m_master);
    m_master = -1;
}

std::vector<PortEvent> PtyLine::takePortEvents()
{
    std::vector<PortEvent> events;
    if (m_watch < 0) return events;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_watch, buffer, sizeof buffer);
        if (n <= 0) return events;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & IN_OPEN) events.push_back(PortEvent::Opened);
            if (event->mask & IN_CLOSE) events.push_back(PortEvent::Closed);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

void PtyLine::removeLink()
{
    if (m_link && linkTarget(*m_link) == m_device) ::unlink(m_link->c_str());
}

} // namespace korvane::sim
