#include "sim/serve_loop.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace korvane::sim {

namespace {

// While nobody holds the port open the master reports a hang-up at once; look again this often.
constexpr std::chrono::milliseconds kClosedLineRecheck { 5 };
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
{
}

bool ServeLoop::idle() const { return m_outbound.empty() && m_unwritten.empty() && !m_radio.hasOutput(); }

std::optional<std::string> ServeLoop::run(const volatile std::sig_atomic_t& stop)
{
    sigset_t unblocked;
    sigemptyset(&unblocked);
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
            if (!m_lineOpen || now >= *lingerUntil) return std::nullopt;
        }

        TimePoint deadline = now + std::chrono::hours { 1 };
        for (const std::optional<TimePoint>& t :
            { m_inbound.nextDue(), m_outbound.nextDue(), m_radio.nextTimer(), lingerUntil })
            if (t) deadline = std::min(deadline, *t);
        if (!m_lineOpen) deadline = std::min(deadline, now + kClosedLineRecheck);

        pollfd p { m_line.fd(), static_cast<short>(POLLIN | (m_unwritten.empty() ? 0 : POLLOUT)), 0 };
        const timespec timeout = untilDeadline(now, deadline);
        if (m_lineOpen) {
            if (::ppoll(&p, 1, &timeout, &unblocked) < 0 && errno != EINTR)
                return std::string("waiting on the line failed");
        } else {
            // Look, then sleep: a closed line would otherwise wake the poll at once, every time.
            const timespec zero {};
            ::ppoll(&p, 1, &zero, &unblocked);
            if ((p.revents & POLLHUP) && !(p.revents & POLLIN)) ::ppoll(nullptr, 0, &timeout, &unblocked);
        }
        now = Clock::now();
        if (p.revents & POLLIN) readInput(now);
        setLineOpen(!(p.revents & (POLLHUP | POLLERR)), now);
    }
    return std::nullopt;
}

void ServeLoop::readInput(TimePoint now)
{
    std::uint8_t buffer[512];
    for (;;) {
        const ssize_t n = ::read(m_line.fd(), buffer, sizeof buffer);
        if (n <= 0) return; // EAGAIN: all taken; EIO: the program has closed its port
        m_inbound.queue(std::span(buffer, static_cast<std::size_t>(n)), now);
    }
}

void ServeLoop::writeDue(TimePoint now)
{
    std::vector<std::uint8_t> due = m_outbound.takeDue(now);
    m_unwritten.insert(m_unwritten.end(), due.begin(), due.end());
    while (!m_unwritten.empty()) {
        const std::vector<std::uint8_t> chunk(m_unwritten.begin(), m_unwritten.end());
        const ssize_t n = ::write(m_line.fd(), chunk.data(), chunk.size());
        if (n <= 0) return; // a full buffer waits for POLLOUT; a closed line shows as a hang-up
        m_unwritten.erase(m_unwritten.begin(), m_unwritten.begin() + n);
    }
}

void ServeLoop::setLineOpen(bool open, TimePoint now)
{
    if (open == m_lineOpen) return;
    m_lineOpen = open;
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
    m_unwritten.clear();
    m_hangUpPending = false;
    ::tcflush(m_line.fd(), TCIOFLUSH);
}

std::optional<std::string> ServeLoop::hangUp(TimePoint now)
{
    m_hangUpPending = false;
    m_line.hangUp();
    m_radio.hungUp(now);
    m_radio.takeOutput();
    m_inbound.clear();
    m_lineOpen = false;
    if (m_settings.once) return std::nullopt;
    if (auto error = m_line.open(std::nullopt)) return error;
    if (m_settings.announceDevice) m_settings.announceDevice(m_line.device());
    return std::nullopt;
}

} // namespace korvane::sim
