#include "sim/serve_loop.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace korvane::sim {

namespace {

// Without a watch on the device, a closed port is only seen as a hang-up on the master, which
// a poll reports at once and every time; look again this often instead.
constexpr std::chrono::milliseconds kClosedPortRecheck { 5 };
// With --once, how long the finished exchange waits for the program to take the last bytes and
// close its port (closing the master any sooner would throw away what it has not read).
constexpr std::chrono::seconds kOnceLinger { 3 };

timespec untilDeadline(TimePoint now, TimePoint deadline)
{
    const auto left = std::max(std::chrono::nanoseconds { 0 }, deadline - now);
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    return { static_cast<time_t>(seconds.count()), static_cast<long>((left - seconds).count()) };
}

} // namespace

ServeLoop::ServeLoop(Radio& radio, PtyLine& line, ServeSettings settings)
    : m_radio(radio)
    , m_line(line)
    , m_settings(std::move(settings))
    , m_inbound(m_settings.pace ? kLineBaud : 0)
    , m_outbound(m_settings.pace ? kLineBaud : 0)
    , m_adapter(m_settings.bursts, m_settings.jitter)
{
}

bool ServeLoop::idle() const
{
    return m_outbound.empty() && m_adapter.empty() && m_unwritten.empty() && !m_radio.hasOutput();
}

std::optional<std::string> ServeLoop::run(const volatile std::sig_atomic_t& stop)
{
    std::optional<TimePoint> lingerUntil;
    while (!stop) {
        TimePoint now = Clock::now();
        if (std::vector<std::uint8_t> heard = m_inbound.takeDue(now); !heard.empty()) m_radio.receive(heard, now);
        m_radio.runTimers(now);
        if (m_radio.hasOutput()) {
            Transmission out = m_radio.takeOutput();
            m_outbound.queue(out.bytes, now);
            m_hangUpPending = m_hangUpPending || out.hangUpAfter;
        }
        writeDue(now);
        if (m_hangUpPending && idle()) {
            if (auto error = hangUp(now)) return error;
            continue;
        }
        if (m_settings.once && m_radio.exchangesDone() > 0 && idle()) {
            if (!lingerUntil) lingerUntil = now + kOnceLinger;
            if (!m_portOpen || now >= *lingerUntil) return std::nullopt;
        }

        TimePoint deadline = now + std::chrono::hours { 1 };
        for (const std::optional<TimePoint>& t :
            { m_inbound.nextDue(), m_outbound.nextDue(), m_adapter.nextRelease(), m_radio.nextTimer(), lingerUntil })
            if (t) deadline = std::min(deadline, *t);
        const bool hungUp = wait(now, deadline);
        takeLineNews(hungUp, Clock::now());
    }
    return std::nullopt;
}

// Waits for input, room to write, news of the port, or the deadline. True when the master is
// hung up (nobody holds the port open).
bool ServeLoop::wait(TimePoint now, TimePoint deadline)
{
    sigset_t unblocked;
    sigemptyset(&unblocked);
    pollfd fds[2] {
        { m_line.fd(), static_cast<short>(POLLIN | (m_unwritten.empty() ? 0 : POLLOUT)), 0 },
        { m_line.watchFd(), POLLIN, 0 },
    };
    const nfds_t count = m_line.watching() ? 2 : 1;
    const timespec zero {};
    const timespec timeout = untilDeadline(now, deadline);
    // A stop signal caught here must not be followed by a long wait: back to the caller first.
    if (::ppoll(fds, count, &zero, &unblocked) < 0) return m_masterHungUp;
    const bool hungUp = (fds[0].revents & (POLLHUP | POLLERR)) != 0;
    m_masterHungUp = hungUp;
    if ((fds[0].revents & (POLLIN | POLLOUT)) || (count == 2 && fds[1].revents)) return hungUp;
    if (!hungUp) {
        ::ppoll(fds, count, &timeout, &unblocked);
        return false;
    }
    // A hung-up master would end every poll at once: wait for news of the port instead.
    if (m_line.watching()) {
        ::ppoll(&fds[1], 1, &timeout, &unblocked);
    } else {
        const timespec recheck = untilDeadline(now, std::min(deadline, now + kClosedPortRecheck));
        ::ppoll(nullptr, 0, &recheck, &unblocked);
    }
    return true;
}

// Bytes that arrived and opens and closes of the port, in the order they most likely happened.
void ServeLoop::takeLineNews(bool hungUp, TimePoint now)
{
    std::vector<PortEvent> events = m_line.takePortEvents();
    const std::vector<std::uint8_t> fresh = readAvailable();
    // A program that opens its port and writes at once can do both between the two looks
    // above: its open is then only news after the bytes, though it came before them.
    const std::vector<PortEvent> late = m_line.takePortEvents();
    events.insert(events.end(), late.begin(), late.end());
    if (!m_line.watching()) {
        if (!fresh.empty()) m_inbound.queue(fresh, now);
        setPortOpen(!hungUp, now);
        return;
    }
    // Bytes read now were written before a close seen now ("CANCEL", then the port closes),
    // unless the port has been opened again since: then they open the new session.
    const auto lastClose = std::find(events.rbegin(), events.rend(), PortEvent::Closed);
    const bool reopened = lastClose != events.rend() && lastClose != events.rbegin();
    if (!reopened && !fresh.empty()) m_inbound.queue(fresh, now);
    for (PortEvent event : events)
        setPortOpen(event == PortEvent::Opened, now);
    if (reopened && !fresh.empty()) m_inbound.queue(fresh, now);
}

std::vector<std::uint8_t> ServeLoop::readAvailable()
{
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[512];
    for (;;) {
        const ssize_t n = ::read(m_line.fd(), buffer, sizeof buffer);
        if (n <= 0) return bytes; // EAGAIN: all taken; EIO: the program has closed its port
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
}

void ServeLoop::writeDue(TimePoint now)
{
    std::vector<std::uint8_t> due = m_outbound.takeDue(now);
    if (m_settings.bursts.count() > 0) {
        m_adapter.hold(due, now);
        due = m_adapter.release(now);
    }
    m_unwritten.insert(m_unwritten.end(), due.begin(), due.end());
    while (!m_unwritten.empty()) {
        const std::vector<std::uint8_t> chunk(m_unwritten.begin(), m_unwritten.end());
        const ssize_t n = ::write(m_line.fd(), chunk.data(), chunk.size());
        if (n <= 0) return; // a full buffer waits for POLLOUT; a closed port shows as a hang-up
        m_unwritten.erase(m_unwritten.begin(), m_unwritten.begin() + n);
    }
}

void ServeLoop::setPortOpen(bool open, TimePoint now)
{
    if (open == m_portOpen) return;
    m_portOpen = open;
    if (open) {
        m_radio.lineOpened(now);
        return;
    }
    // What the program wrote before it closed still reaches the radio; then the line is gone
    // and nothing the radio had still to send will arrive anywhere.
    std::vector<std::uint8_t> rest = m_inbound.takeDue(TimePoint::max());
    if (!rest.empty()) m_radio.receive(rest, now);
    m_radio.lineClosed(now);
    m_radio.takeOutput();
    m_outbound.clear();
    m_adapter.clear();
    m_unwritten.clear();
    m_hangUpPending = false;
    // Only the radio's side is thrown away: a program that has already opened the port again
    // may have written its first bytes, and they are the new session's.
    ::tcflush(m_line.fd(), TCOFLUSH);
}

std::optional<std::string> ServeLoop::hangUp(TimePoint now)
{
    m_hangUpPending = false;
    m_line.hangUp();
    m_radio.hungUp(now);
    m_radio.takeOutput();
    m_inbound.clear();
    m_portOpen = false;
    if (m_settings.once) return std::nullopt;
    if (auto error = m_line.open(std::nullopt)) return error;
    if (m_settings.announceDevice) m_settings.announceDevice(m_line.device());
    return std::nullopt;
}

} // namespace korvane::sim
